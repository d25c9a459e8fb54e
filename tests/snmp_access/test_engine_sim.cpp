// What the device simulator adds to the request engine's tests, over real
// UDP with the shipped catalogue: chunking and progress, splitting for
// devices that answer tooBig with an index, one session across splits,
// cancel between chunks, port tables, Set, lost datagrams and stray replies.
#include <dirent.h>
#include <gmock/gmock.h>

#include "engine_test_util.h"
#include "snmp_access/port_inst.h"
#include "support/sim_process.h"
#include "support/test_dirs.h"
#include "ui/app_globals.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

constexpr const char* DEV = "127.0.52.1";        // plain ModelJ
constexpr const char* DEV_INDEX = "127.0.52.3";  // at most 3 variables, tooBig with index
constexpr const char* DEV_LOSSY = "127.0.52.4";  // drops 30 % of the datagrams
constexpr const char* DEV_GENERR = "127.0.52.5"; // genErr for hwRev
constexpr const char* DEV_WAN = "127.0.52.6";    // ModelR, one channelized T1 module
constexpr const char* DEV_STRAY = "127.0.52.7";  // a reply with a wrong request id first
// Devices 127.0.52.10 and up: at most 3 variables (tooBig with index), stray
// replies, and 15 % of the datagrams dropped, each with its own seed.
constexpr int SPLIT_LOSSY_COUNT = 24;
std::string split_lossy(int k) {
    return "127.0.52." + std::to_string(10 + k);
}

SimProcess* g_sim = nullptr;

class EngineSim : public EngineTest {
  protected:
    static void SetUpTestSuite() {
        if (!in_private_netns())
            return;
        SimOptions o;
        for (const char* a : {DEV, DEV_INDEX, DEV_LOSSY, DEV_GENERR})
            o.devices.push_back({sim_profile("modelj.prof"), a});
        o.devices.push_back({sim_profile("modelr.prof"), DEV_WAN});
        o.devices.push_back({sim_profile("modelj.prof"), DEV_STRAY});
        o.faults = {std::string(DEV_INDEX) + ":max_vars=3,toobig_index",
                    std::string(DEV_LOSSY) + ":drop=30,seed=7",
                    std::string(DEV_GENERR) + ":generr=hwRev", std::string(DEV_STRAY) + ":stray"};
        for (int k = 0; k < SPLIT_LOSSY_COUNT; ++k) {
            o.devices.push_back({sim_profile("modelj.prof"), split_lossy(k)});
            o.faults.push_back(split_lossy(k) + ":max_vars=3,toobig_index,stray,drop=15,seed=" +
                               std::to_string(k + 1));
        }
        g_sim = new SimProcess(o);
    }
    static void TearDownTestSuite() {
        delete g_sim;
        g_sim = nullptr;
    }
    void SetUp() override {
        EngineTest::SetUp();
        REQUIRE_NETNS();
        ASSERT_TRUE(g_sim && g_sim->ready()) << (g_sim ? g_sim->error() : "");
        mm_dir = source_install_dir();
        ASSERT_EQ(read_mib_info("data/gui_mm_data"), 0);
        set_peer(r.rec, DEV, "vantor", 500, 1);
        r->asy_ports = 32;
    }
    int id(const std::string& name) {
        int i = -1;
        EXPECT_EQ(get_check_mib_var(name, &i), 1) << name;
        return i;
    }
    // n scalar nodes cycling through a few system variables.
    void add_scalars(int n) {
        const int ids[] = {id("sysDescr"), id("hwRev"), id("romRev"), id("sysName")};
        for (int i = 0; i < n; ++i)
            add_prm_node(r.rec, ids[i % 4], 0, 0, 0, "", "", 0);
    }
    void expect_all_served() {
        for (const ParamNode* n : node_list(r.rec)) {
            EXPECT_EQ(n->status, 0) << n->seq;
            EXPECT_TRUE(n->has_value && !n->value.empty()) << n->seq;
        }
    }
};

TEST_F(EngineSim, ChunksOfThirtyTwoAndProgress) {
    add_scalars(33);
    long before = g_snmp_requests_sent;
    mm_snmp(r.rec, SNMP_OP_GET);
    EXPECT_EQ(r->status, 0);
    EXPECT_EQ(sent_since(before), 2);
    EXPECT_EQ(hl_cancel_percents(), (std::vector<int>{0, 50}));
    expect_all_served();
    EXPECT_EQ(node_list(r.rec)[1]->value, "ModelJ-HW-C");

    free_prm_list(r.rec);
    hl_reset();
    add_scalars(32);
    before = g_snmp_requests_sent;
    mm_snmp(r.rec, SNMP_OP_GET);
    EXPECT_EQ(sent_since(before), 1);
    EXPECT_EQ(hl_cancel_percents(), std::vector<int>{0});

    free_prm_list(r.rec);
    r->status = 3;
    before = g_snmp_requests_sent;
    mm_snmp(r.rec, SNMP_OP_GET);
    EXPECT_EQ(sent_since(before), 0);
    EXPECT_EQ(r->status, 3);
}

TEST_F(EngineSim, GenErrMarksTheNodeMinusOne) {
    set_peer(r.rec, DEV_GENERR, "vantor");
    add_scalars(4);
    mm_snmp(r.rec, SNMP_OP_GET);
    EXPECT_EQ(r->status, 0);
    std::vector<const ParamNode*> n = node_list(r.rec);
    EXPECT_EQ(n[1]->status, NS_OTHER_ERROR);
    EXPECT_EQ(n[2]->status, 0);
    EXPECT_EQ(n[2]->value, "R2.3");
}

TEST_F(EngineSim, TooBigWithIndexSplitsWhereTheDeviceSays) {
    set_peer(r.rec, DEV_INDEX, "vantor");
    add_scalars(10);
    long before = g_snmp_requests_sent;
    CaptureStdout();
    mm_snmp(r.rec, SNMP_OP_GET);
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(r->status, 0);
    // 10 (tooBig at 4), 0-2, 3-9 (tooBig at 4), 3-5, 6-9 (tooBig at 4), 6-8, 9.
    EXPECT_EQ(sent_since(before), 7);
    expect_all_served();
}

TEST_F(EngineSim, CancelBetweenChunksMarksTheRest) {
    add_scalars(70);
    hl_cancel_at(2); // the call after the first chunk
    mm_snmp(r.rec, SNMP_OP_GET);
    EXPECT_EQ(r->status, 0);
    std::vector<const ParamNode*> n = node_list(r.rec);
    EXPECT_EQ(n[31]->status, 0);
    EXPECT_FALSE(n[31]->value.empty());
    EXPECT_EQ(n[32]->status, NS_NOT_DONE);
    EXPECT_EQ(n[69]->status, NS_NOT_DONE);
    EXPECT_EQ(hl_cancel_percents(), (std::vector<int>{0, 33}));
}

TEST_F(EngineSim, GetNextWalksATableAndPassesItsEnd) {
    int inst[64];
    int count = 0;
    EXPECT_EQ(get_port_mib_var_nxt(r.rec, "mrxpMode", inst, 64, &count), 32);
    EXPECT_EQ(inst[0], 1);
    EXPECT_EQ(inst[31], 32);
    EXPECT_EQ(get_port_mib_var_nxt(r.rec, "mrxpMode", inst, 5, &count), 5);
    EXPECT_EQ(count, 5);
    // GetNext of the last row returns the next column: written all the same.
    const MibVarEntry* e = mib_var(id("mrxpMode"));
    add_prm_node(r.rec, id("mrxpMode"), 1, 32, 32, "", "", 0);
    mm_snmp(r.rec, SNMP_OP_GETNEXT);
    ASSERT_EQ(r->status, 0);
    const ParamNode* n = r->prm_list;
    EXPECT_EQ(n->status, 0);
    EXPECT_TRUE(n->has_next_oid);
    EXPECT_EQ(n->next_oid.rfind(e->oid_num + ".", 0), std::string::npos) << n->next_oid;
    EXPECT_GT(n->next_oid, e->oid_num + ".32");
    EXPECT_TRUE(n->has_value);
}

TEST_F(EngineSim, SetsAndReadOnly) {
    add_prm_node(r.rec, id("sysLocation"), 0, 0, 0, "", "\"\"", 0);
    add_prm_node(r.rec, id("sysDescr"), 0, 0, 0, "", "renamed", 0);
    add_prm_node(r.rec, id("sysContact"), 0, 0, 0, "", "night shift", 0);
    mm_snmp(r.rec, SNMP_OP_SET);
    EXPECT_EQ(r->status, 0);
    std::vector<const ParamNode*> n = node_list(r.rec);
    EXPECT_EQ(n[0]->status, 0);
    EXPECT_EQ(n[1]->status, NS_READ_ONLY);
    EXPECT_EQ(n[2]->status, 0);
    free_prm_list(r.rec);
    EXPECT_EQ(*get_mrx_prm_val_str(r.rec, "sysLocation"), "");
    EXPECT_EQ(*get_mrx_prm_val_str(r.rec, "sysContact"), "night shift");
    EXPECT_EQ(*get_mrx_prm_val_str(r.rec, "sysDescr"),
              "Morix ModelJ remote access server, release 14.1");
}

TEST_F(EngineSim, LostDatagramsAreServedWithinRetries) {
    set_peer(r.rec, DEV_LOSSY, "vantor", 150, 6);
    add_scalars(100);
    mm_snmp(r.rec, SNMP_OP_GET);
    EXPECT_EQ(r->status, 0);
    expect_all_served();
}

TEST_F(EngineSim, StrayRepliesAreIgnored) {
    set_peer(r.rec, DEV_STRAY, "vantor", 300, 0);
    add_scalars(40);
    mm_snmp(r.rec, SNMP_OP_GET);
    EXPECT_EQ(r->status, 0);
    expect_all_served();
    EXPECT_EQ(node_list(r.rec)[1]->value, "ModelJ-HW-C");
}

int open_fds() {
    int n = 0;
    if (DIR* d = opendir("/proc/self/fd")) {
        while (readdir(d))
            ++n;
        closedir(d);
    }
    return n;
}

// One library session serves a whole call: the tooBig splits, a split part
// that times out, and the one-variable pass after it. Answers that arrive
// for earlier requests (stray copies) must not be taken for later ones, and
// the session is closed when the call ends, however it ends.
TEST_F(EngineSim, OneSessionAcrossSplitsTimeOutsAndTheOneVariablePass) {
    // Values that every simulated ModelJ shares.
    const int ids[] = {id("sysDescr"), id("hwRev"), id("romRev"), id("imageName"), id("bootHost")};
    for (int i = 0; i < 10; ++i)
        add_prm_node(r.rec, ids[i % 5], 0, 0, 0, "", "", 0);
    mm_snmp(r.rec, SNMP_OP_GET);
    ASSERT_EQ(r->status, 0);
    std::vector<std::string> want;
    for (const ParamNode* n : node_list(r.rec))
        want.push_back(n->value);
    int recovered = 0, timed_out = 0;
    for (int k = 0; k < SPLIT_LOSSY_COUNT; ++k) {
        RecordHolder d;
        set_peer(d.rec, split_lossy(k), "vantor", 100, 0);
        for (int i = 0; i < 10; ++i)
            add_prm_node(d.rec, node_list(r.rec)[i]->mib_index, 0, 0, 0, "", "", 0);
        long sessions = g_snmp_sessions_opened;
        int fds = open_fds();
        CaptureStdout();
        mm_snmp(d.rec, SNMP_OP_GET);
        bool one_var_pass =
            GetCapturedStdout().find("Submitting one variable") != std::string::npos;
        EXPECT_EQ(g_snmp_sessions_opened - sessions, 1) << k;
        EXPECT_EQ(open_fds(), fds) << k;
        if (d->status == SR_TIMEOUT) {
            ++timed_out;
            continue;
        }
        ASSERT_EQ(d->status, 0) << k;
        recovered += one_var_pass;
        std::vector<const ParamNode*> got = node_list(d.rec);
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(got[i]->status, 0) << k << " " << i;
            EXPECT_EQ(got[i]->value, want[i]) << k << " " << i;
        }
    }
    // The seeds give both endings.
    EXPECT_GT(recovered, 0);
    EXPECT_GT(timed_out, 0);
}

TEST_F(EngineSim, WanChannelStatus) {
    set_peer(r.rec, DEV_WAN, "vantor");
    r->platform = 3;
    r->wan_count = 1;
    r->wan_if_index = {2};
    r->wan_chan_count = {24};
    int first = get_chan_status(r.rec, 1);
    EXPECT_GE(first, 1);
    EXPECT_LE(first, 5);
    EXPECT_GE(get_chan_status(r.rec, 24), 1); // the last channel of the module
    EXPECT_EQ(get_chan_status(r.rec, 25), 0); // no such channel
    EXPECT_EQ(r->prm_count, 0);
    clear_mib_info();
    EXPECT_EQ(get_chan_status(r.rec, 1), 0); // the catalogue lacks the variable
}

TEST_F(EngineSim, ExpandedPortVariablesReadBack) {
    std::vector<int> ports = {1, 32, 33};
    EXPECT_EQ(build_prm(r.rec, 0, 3, ports, PT_ASY, id("mrxpMode"), ""), PORT_NOT_FOUND);
    EXPECT_EQ(build_prm(r.rec, 1, 0, {}, PT_ASY, id("mrxpType"), ""), 0);
    EXPECT_EQ(r->prm_count, 2 + 32);
    mm_snmp(r.rec, SNMP_OP_GET);
    EXPECT_EQ(r->status, 0);
    expect_all_served();
    std::string v, raw;
    EXPECT_EQ(get_prm_val(r.rec, "mrxpMode", 32, "", &v, &raw), 1);
    EXPECT_FALSE(v.empty());
    EXPECT_NE(v, raw); // an enumeration text, not the number
}

} // namespace
