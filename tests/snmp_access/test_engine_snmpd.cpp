// What a foreign agent (Debian's snmpd) adds to the request engine's tests:
// its own system values, several rejected variables named last first, a
// table walk past its end, tooBig from a small maximum message size, a
// message too large to build, and an empty string Set.
#include <gmock/gmock.h>

#include "engine_test_util.h"
#include "snmp_access/port_inst.h"
#include "support/snmpd_peer.h"

using testing::HasSubstr;
using testing::StartsWith;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

SnmpdPeer* g_peer = nullptr;       // ordinary agent
SnmpdPeer* g_small_peer = nullptr; // answers tooBig above 484 bytes
std::string g_start_error;

class EngineSnmpd : public EngineTest {
  protected:
    static void SetUpTestSuite() {
        if (!in_private_netns())
            return;
        g_peer = new SnmpdPeer("127.0.51.1");
        g_small_peer = new SnmpdPeer("127.0.51.2", "[snmp] sendMessageMaxSize 484");
        if (!g_peer->start(&g_start_error))
            return;
        g_small_peer->start(&g_start_error);
    }
    static void TearDownTestSuite() {
        delete g_peer;
        delete g_small_peer;
        g_peer = g_small_peer = nullptr;
    }
    void SetUp() override {
        EngineTest::SetUp();
        REQUIRE_NETNS();
        ASSERT_TRUE(g_start_error.empty()) << g_start_error;
        put_engine_catalogue();
        set_peer(r.rec, g_peer->address(), "vantor");
    }
};

TEST_F(EngineSnmpd, GetsSystemVariables) {
    add_vars(r.rec, {{V_SYS_DESCR, 0}, {V_SYS_OBJECT_ID, 0}, {V_SYS_UP_TIME, 0}, {V_SYS_NAME, 0}});
    mm_snmp(r.rec, SNMP_OP_GET);
    ASSERT_EQ(r->status, 0);
    std::vector<const ParamNode*> n = node_list(r.rec);
    EXPECT_EQ(n[0]->value, PEER_SYS_DESCR);
    EXPECT_THAT(n[1]->value, StartsWith("1.3.6.1.4.1.8072."));
    EXPECT_EQ(check_str_digits(n[2]->value), 1) << n[2]->value;
    EXPECT_EQ(n[3]->value, "testpeer");
    for (const ParamNode* p : n) {
        EXPECT_EQ(p->status, 0);
        EXPECT_FALSE(p->has_next_oid);
    }
    std::optional<std::string> d = get_mrx_prm_val_str(r.rec, "sysDescr");
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(*d, PEER_SYS_DESCR);
    EXPECT_EQ(r->prm_count, 0);
    EXPECT_FALSE(get_mrx_prm_val_str(r.rec, "noSuchName").has_value());
}

// The agent names the last bad variable first; each one must be marked
// where it stands and the answers must land on their own nodes.
TEST_F(EngineSnmpd, SeveralRejectedVariablesAreMarkedWhereTheyStand) {
    add_vars(r.rec, {{V_SYS_DESCR, 0},
                     {V_BOGUS, 1},
                     {V_SYS_NAME, 0},
                     {V_BOGUS, 2},
                     {V_SYS_OBJECT_ID, 0},
                     {V_BOGUS, 3}});
    long before = g_snmp_requests_sent;
    mm_snmp(r.rec, SNMP_OP_GET);
    EXPECT_EQ(r->status, 0);
    EXPECT_EQ(sent_since(before), 4);
    std::vector<const ParamNode*> n = node_list(r.rec);
    const int want[] = {0, 5, 0, 5, 0, 5};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(n[i]->status, want[i]) << i;
    EXPECT_EQ(n[0]->value, PEER_SYS_DESCR);
    EXPECT_EQ(n[2]->value, "testpeer");
    EXPECT_THAT(n[4]->value, StartsWith("1.3.6.1.4.1.8072."));
}

TEST_F(EngineSnmpd, GetNextWalksInterfacesAndPassesTheEnd) {
    int inst[8];
    int count = -1;
    EXPECT_EQ(get_port_mib_var_nxt(r.rec, "ifIndex", inst, 8, &count), 1); // only lo here
    EXPECT_EQ(count, 1);
    EXPECT_EQ(inst[0], 1);
    EXPECT_EQ(r->prm_count, 0);
    // Past the end of the column the agent returns the next column; the
    // identifier is still written so the caller can see the end.
    add_prm_node(r.rec, V_IF_INDEX, 0, 0, 1, "", "", 0);
    mm_snmp(r.rec, SNMP_OP_GETNEXT);
    ASSERT_EQ(r->status, 0);
    EXPECT_EQ(r->prm_list->next_oid, "1.3.6.1.2.1.2.2.1.2.1");
    EXPECT_EQ(r->prm_list->value, "lo");
    // Walk ifDescr by hand, as the commands do.
    free_prm_list(r.rec);
    std::vector<std::string> descrs;
    std::string tail;
    for (int i = 0; i < 10; ++i) {
        add_prm_node(r.rec, V_IF_DESCR, 0, 0, -1, tail.c_str(), "", 0);
        mm_snmp(r.rec, SNMP_OP_GETNEXT);
        const ParamNode* p = r->prm_list;
        if (r->status || p->status || p->next_oid.rfind("1.3.6.1.2.1.2.2.1.2.", 0) != 0)
            break;
        descrs.push_back(p->value);
        tail = p->next_oid.substr(20);
        free_prm_list(r.rec);
    }
    free_prm_list(r.rec);
    // Other test programs may add interfaces to the shared namespace while
    // this runs, so the walk is checked for its start and its end only.
    ASSERT_FALSE(descrs.empty());
    EXPECT_EQ(descrs[0], "lo");
    EXPECT_LT(descrs.size(), 10u);
}

TEST_F(EngineSnmpd, TooBigAnswersAreServedOneVariableAtATime) {
    set_peer(r.rec, g_small_peer->address(), "vantor");
    for (int i = 0; i < 20; ++i)
        add_vars(r.rec, {{V_SYS_DESCR, 0}});
    add_vars(r.rec, {{V_BOGUS, 0}});
    long before = g_snmp_requests_sent;
    CaptureStdout();
    mm_snmp(r.rec, SNMP_OP_GET);
    std::string out = GetCapturedStdout();
    EXPECT_EQ(r->status, 0);
    EXPECT_EQ(out, "\n\nSplitting the packet wasn't enough.\nSubmitting one variable at a "
                   "time.\n\n");
    // The agent first rejects the bad variable, then answers tooBig without
    // naming a variable; the one-variable pass then serves all 21.
    EXPECT_EQ(sent_since(before), 2 + 21);
    std::vector<const ParamNode*> n = node_list(r.rec);
    EXPECT_EQ(n[19]->value, PEER_SYS_DESCR);
    EXPECT_EQ(n[20]->status, NS_NO_SUCH_NAME);
}

TEST_F(EngineSnmpd, SetEmptyOctetStringThenReadItBack) {
    set_peer(r.rec, g_peer->address(), "private");
    add_vars(r.rec, {{V_SYS_LOCATION, 0}}, "lab 7");
    mm_snmp(r.rec, SNMP_OP_SET);
    ASSERT_EQ(r->status, 0);
    EXPECT_EQ(r->prm_list->status, 0);
    EXPECT_EQ(*get_mrx_prm_val_str(r.rec, "sysLocation"), "lab 7");
    add_vars(r.rec, {{V_SYS_LOCATION, 0}}, "\"\"");
    mm_snmp(r.rec, SNMP_OP_SET);
    ASSERT_EQ(r->status, 0);
    EXPECT_EQ(r->prm_list->status, 0);
    EXPECT_EQ(r->prm_list->value, ""); // a Set leaves the value text alone
    EXPECT_EQ(*get_mrx_prm_val_str(r.rec, "sysLocation"), "");
}

// A request too large to be encoded is halved; when the halves are still
// too large the chunk ends with 1 and the one-variable pass serves it.
TEST_F(EngineSnmpd, MessageTooLargeToBuildIsHalved) {
    set_peer(r.rec, g_peer->address(), "private");
    for (size_t len : {3000u, 5000u}) {
        free_prm_list(r.rec);
        const std::string big(len, 'x');
        for (int i = 0; i < 32; ++i)
            add_vars(r.rec, {{V_SYS_CONTACT, 0}}, big.c_str());
        long before = g_snmp_requests_sent;
        CaptureStdout();
        mm_snmp(r.rec, SNMP_OP_SET);
        std::string out = GetCapturedStdout();
        EXPECT_EQ(r->status, 0);
        if (len == 3000) {
            EXPECT_EQ(out, "");
            // The whole, then each half, stripped one rejected variable at a time.
            EXPECT_EQ(g_snmp_requests_sent - before, 1 + 16 + 16);
        } else {
            EXPECT_THAT(out, HasSubstr("Splitting the packet wasn't enough."));
            EXPECT_EQ(g_snmp_requests_sent - before, 1 + 1 + 32);
        }
        // The agent refuses a contact this long; every node carries its answer.
        for (const ParamNode* p : node_list(r.rec))
            EXPECT_EQ(p->status, NS_BAD_VALUE) << len;
    }
}

} // namespace
