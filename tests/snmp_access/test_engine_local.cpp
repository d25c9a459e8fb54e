// Request engine paths that need no answering peer: empty lists, cancel
// before the first request, the debug dump, unknown hosts and time-outs.
#include <arpa/inet.h>

#include "engine_test_util.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

class EngineLocal : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        put_engine_catalogue();
        set_peer(r.rec, "127.0.53.1", "vantor", 100, 0);
        debug_flag = 0;
    }
    void TearDown() override {
        debug_flag = 0;
        EngineTest::TearDown();
    }
};

TEST_F(EngineLocal, EmptyListSendsNothingAndKeepsStatus) {
    r->status = 4;
    long sent = g_snmp_requests_sent;
    mm_snmp(r.rec, SNMP_OP_GET);
    EXPECT_EQ(r->status, 4);
    EXPECT_EQ(g_snmp_requests_sent, sent);
    EXPECT_EQ(hl_is_cancelled_calls(), 0);
}

TEST_F(EngineLocal, CancelBeforeTheFirstChunkMarksEveryNode) {
    add_vars(r.rec, {{V_SYS_DESCR, 0}, {V_SYS_NAME, 0}, {V_SYS_CONTACT, 0}});
    r->status = 9;
    hl_cancel_at(1);
    long sent = g_snmp_requests_sent;
    mm_snmp(r.rec, SNMP_OP_GET);
    EXPECT_EQ(r->status, 0);
    EXPECT_EQ(g_snmp_requests_sent, sent);
    for (const ParamNode* n : node_list(r.rec))
        EXPECT_EQ(n->status, NS_NOT_DONE);
    EXPECT_EQ(hl_cancel_percents(), std::vector<int>{0});
}

TEST_F(EngineLocal, SetParametersIncompleteFromANode) {
    add_vars(r.rec, {{V_SYS_DESCR, 0}, {V_SYS_NAME, 0}, {V_SYS_CONTACT, 0}});
    EXPECT_EQ(set_parameters_incomplete(r->prm_list->next), 1);
    std::vector<const ParamNode*> n = node_list(r.rec);
    EXPECT_EQ(n[0]->status, 0);
    EXPECT_EQ(n[1]->status, 17);
    EXPECT_EQ(n[2]->status, 17);
    EXPECT_EQ(set_parameters_incomplete(nullptr), 1);
}

TEST_F(EngineLocal, DebugDumpOfRecordAndNodes) {
    debug_flag = 1;
    r->name = "box";
    inet_pton(AF_INET, "10.1.2.3", &r->addr.sin_addr);
    r->community = "pub";
    r->timeout = 3000000;
    r->retries = 2;
    r->asy_ports = 16;
    r->wan_count = 1;
    r->wan_if_index = {7};
    r->product_type = 19;
    r->allow_set = 1;
    add_prm_node(r.rec, V_SYS_DESCR, 0, 0, 0, "", "", 0);
    add_prm_node(r.rec, V_IF_INDEX, 8, 3, -1, "7.3", "v", 0);
    r->prm_list->next->has_next_oid = true;
    r->prm_list->next->next_oid = "1.3.6.1.2.1.2.2.1.1.8";
    hl_cancel_at(1);
    CaptureStdout();
    mm_snmp(r.rec, SNMP_OP_GETNEXT);
    std::string out = GetCapturedStdout();
    // The record's settings, then every variable with its status and value.
    for (const char* line :
         {"\n\n*** box (GetNext) ***\n  IP Address : \t10.1.2.3\n  Community : \tpub\n",
          "  T1 IfIndex : \t7\n  Total Vars : \t2\n  Product Type : \t19\n",
          "\nVAR_NUMBER 1\n  Variable : \tsysDescr\n  OID Number : \t1.3.6.1.2.1.1.1\n",
          "  Instance : \t7.3\n  Next OID : \t1.3.6.1.2.1.2.2.1.1.8\n  Error Code : \t17\n"
          "  Value : \tv\n"})
        EXPECT_NE(out.find(line), std::string::npos) << line;
    free_prm_list(r.rec);
    add_prm_node(r.rec, V_SYS_DESCR, 0, 0, 0, "", "", 0);
    hl_cancel_at(1);
    CaptureStdout();
    mm_snmp(r.rec, 7);
    EXPECT_EQ(GetCapturedStdout().substr(0, 22), "\n\n*** box (ERROR) ***\n");
}

TEST_F(EngineLocal, UnknownHostAndEmptyName) {
    REQUIRE_NETNS();
    add_vars(r.rec, {{V_SYS_DESCR, 0}});
    r->name = "no-such-device.invalid";
    mm_snmp(r.rec, SNMP_OP_GET);
    EXPECT_EQ(r->status, SR_UNKNOWN_HOST);
    r->name = "";
    r->status = 0;
    mm_snmp(r.rec, SNMP_OP_GET);
    EXPECT_EQ(r->status, SR_UNKNOWN_HOST);
}

TEST_F(EngineLocal, TimeOutWhenNobodyAnswers) {
    REQUIRE_NETNS();
    add_vars(r.rec, {{V_SYS_DESCR, 0}, {V_SYS_NAME, 0}});
    long sent = g_snmp_requests_sent;
    mm_snmp(r.rec, SNMP_OP_GET);
    EXPECT_EQ(r->status, SR_TIMEOUT);
    EXPECT_EQ(g_snmp_requests_sent - sent, 1);
    // Nodes of a failed chunk are not written.
    EXPECT_EQ(r->prm_list->value, "");
    EXPECT_EQ(r->prm_list->status, 0);
}

TEST_F(EngineLocal, DataTypeFourIsABadValueAndIsNotSent) {
    REQUIRE_NETNS();
    add_vars(r.rec, {{V_NET_ADDR, 0}}, "10.1.1.1");
    long sent = g_snmp_requests_sent;
    mm_snmp(r.rec, SNMP_OP_SET);
    EXPECT_EQ(r->status, 0);
    EXPECT_EQ(r->prm_list->status, NS_BAD_VALUE);
    EXPECT_EQ(g_snmp_requests_sent, sent);
}

TEST_F(EngineLocal, MalformedInstanceTextIsRefusedWithoutSending) {
    REQUIRE_NETNS();
    add_prm_node(r.rec, V_SYS_DESCR, 0, 0, -1, "a.b", "", 0);
    long sent = g_snmp_requests_sent;
    mm_snmp(r.rec, SNMP_OP_GET);
    EXPECT_EQ(r->status, 0);
    EXPECT_EQ(r->prm_list->status, NS_OTHER_ERROR);
    EXPECT_FALSE(r->prm_list->has_value);
    EXPECT_EQ(g_snmp_requests_sent, sent);
}

} // namespace
