// Many records served at once by the request engine, against the device
// simulator: the requests each device receives, cancel part-way, a silent
// device among answering ones, and the request size remembered after
// tooBig.
#include <map>
#include <sstream>

#include "engine_test_util.h"
#include "support/sim_process.h"
#include "support/test_dirs.h"
#include "ui/app_globals.h"

namespace {

constexpr int FLEET = 63;                     // 127.0.70.1-63: at most 7 variables a request
constexpr int STAGGERED = 8;                  // 127.0.71.1-8: replies 40 ms x n late
const char* const SILENT = "127.0.72.1";      // nobody answers
const char* const SMALL_INDEX = "127.0.72.2"; // 5 variables, tooBig with index
const char* const SMALL_BARE = "127.0.72.3";  // 5 variables, tooBig without index

std::string fleet(int i) {
    return "127.0.70." + std::to_string(i + 1);
}
std::string staggered(int i) {
    return "127.0.71." + std::to_string(i + 1);
}

// The fleet in one simulator (63 devices at most), the others in a second.
SimProcess* g_sim = nullptr;
SimProcess* g_sim2 = nullptr;
TempDir* g_tmp = nullptr;

class EngineMany : public EngineTest {
  protected:
    static void SetUpTestSuite() {
        if (!in_private_netns())
            return;
        g_tmp = new TempDir();
        SimOptions o;
        o.request_log = g_tmp->file("requests.log");
        for (int i = 0; i < FLEET; ++i) {
            o.devices.push_back({sim_profile("modelj.prof"), fleet(i)});
            o.faults.push_back(fleet(i) + ":max_vars=7,toobig_index");
        }
        g_sim = new SimProcess(o);
        SimOptions o2;
        for (int i = 0; i < STAGGERED; ++i) {
            o2.devices.push_back({sim_profile("modelj.prof"), staggered(i)});
            o2.faults.push_back(staggered(i) + ":delay=" + std::to_string(100 * (i + 1)));
        }
        o2.devices.push_back({sim_profile("modelj.prof"), SMALL_INDEX});
        o2.devices.push_back({sim_profile("modelj.prof"), SMALL_BARE});
        o2.faults.push_back(std::string(SMALL_INDEX) + ":max_vars=5,toobig_index");
        o2.faults.push_back(std::string(SMALL_BARE) + ":max_vars=5");
        g_sim2 = new SimProcess(o2);
    }
    static void TearDownTestSuite() {
        delete g_sim;
        delete g_sim2;
        delete g_tmp;
        g_sim = nullptr;
        g_sim2 = nullptr;
        g_tmp = nullptr;
    }
    void SetUp() override {
        EngineTest::SetUp();
        REQUIRE_NETNS();
        ASSERT_TRUE(g_sim && g_sim->ready()) << (g_sim ? g_sim->error() : "");
        ASSERT_TRUE(g_sim2->ready()) << g_sim2->error();
        mm_dir = source_install_dir();
        ASSERT_EQ(read_mib_info("data/gui_mm_data"), 0);
    }
    void TearDown() override {
        recs.clear();
        EngineTest::TearDown();
    }
    // A record per address with n scalars, cycling through names; node 20
    // (when there is one) asks for an instance the device lacks.
    std::vector<SnmpTask> tasks_for(const std::vector<std::string>& addrs, int n,
                                    std::vector<const char*> names = {"sysDescr", "hwRev", "romRev",
                                                                      "sysName"}) {
        std::vector<SnmpTask> tasks;
        for (const std::string& a : addrs) {
            recs.push_back(std::make_unique<RecordHolder>());
            MorixRecord* r = recs.back()->rec;
            set_peer(r, a, "vantor", 1000, 1);
            for (int i = 0; i < n; ++i) {
                int id = 0;
                get_check_mib_var(names[i % names.size()], &id);
                add_prm_node(r, id, 0, 0, i == 20 ? 99 : 0, "", "", 0);
            }
            tasks.emplace_back();
            tasks.back().rec = r;
        }
        return tasks;
    }
    // Lines of the simulator's request log from line `from` on, by device.
    static std::map<std::string, std::vector<std::string>> requests(size_t from,
                                                                    std::vector<std::string>* all) {
        std::istringstream in(read_file(g_tmp->file("requests.log")));
        std::map<std::string, std::vector<std::string>> by_dev;
        std::string line;
        for (size_t k = 0; std::getline(in, line); ++k) {
            if (k < from)
                continue;
            all->push_back(line);
            by_dev[line.substr(0, line.find(' '))].push_back(line);
        }
        return by_dev;
    }
    std::vector<std::unique_ptr<RecordHolder>> recs;
};

TEST_F(EngineMany, EachDeviceGetsTheRequestsOfAOneDeviceRun) {
    std::vector<std::string> addrs;
    for (int i = 0; i < FLEET; ++i)
        addrs.push_back(fleet(i));
    std::vector<std::string> lines;
    requests(0, &lines);
    size_t mark = lines.size();
    for (SnmpTask& t : tasks_for(addrs, 40))
        mm_snmp(t.rec, SNMP_OP_GET);
    std::vector<std::string> one_lines;
    auto one = requests(mark, &one_lines);
    mark += one_lines.size();
    std::vector<SnmpTask> tasks = tasks_for(addrs, 40);
    EXPECT_EQ(mm_snmp_many(tasks, "Getting values"), 0);
    std::vector<std::string> many_lines;
    auto many = requests(mark, &many_lines);
    ASSERT_EQ(many.size(), static_cast<size_t>(FLEET));
    // Split points, the stripped variable and the order: all the same.
    for (const std::string& a : addrs) {
        EXPECT_EQ(many[a], one[a]) << a;
        EXPECT_GT(many[a].size(), 40u / 7) << a;
    }
    // The devices were served side by side: one after the other, the log
    // would change device FLEET - 1 times.
    int changes = 0;
    for (size_t k = 1; k < many_lines.size(); ++k)
        changes += many_lines[k].substr(0, many_lines[k].find(' ')) !=
                   many_lines[k - 1].substr(0, many_lines[k - 1].find(' '));
    EXPECT_GT(changes, 2 * FLEET);
    for (const SnmpTask& t : tasks) {
        EXPECT_TRUE(t.finished);
        EXPECT_EQ(t.rec->status, 0);
        EXPECT_EQ(node_list(t.rec)[20]->status, NS_NO_SUCH_NAME);
        EXPECT_EQ(node_list(t.rec)[39]->status, 0);
    }
    EXPECT_EQ(hl_cancel_percents().back(), 100);
}

// The dialog is asked before the first request, per device finished and
// every 100 ms: the fifth time falls after the first device (100 ms) and
// before the last (800 ms). Reads in flight end at once, marked not done;
// Sets in flight finish their chunk.
TEST_F(EngineMany, CancelAfterSomeDevicesMarksExactlyTheUnfinished) {
    std::vector<std::string> addrs;
    for (int i = 0; i < STAGGERED; ++i)
        addrs.push_back(staggered(i));
    for (int op : {SNMP_OP_GET, SNMP_OP_SET}) {
        std::vector<SnmpTask> tasks = tasks_for(addrs, 10, {"sysContact"});
        for (SnmpTask& t : tasks) {
            t.op = op;
            for (ParamNode* n = t.rec->prm_list; n; n = n->next) {
                n->value = "night";
                n->has_value = true;
            }
        }
        hl_reset();
        g_cancel_process = 0;
        hl_cancel_at(5);
        EXPECT_EQ(mm_snmp_many(tasks, "Getting values"), 1);
        int done = 0;
        for (int i = 0; i < STAGGERED; ++i) {
            const SnmpTask& t = tasks[i];
            EXPECT_TRUE(t.started);
            if (i > 0 && t.finished) { // they end in order of their delays
                EXPECT_TRUE(tasks[i - 1].finished) << i;
            }
            done += t.finished;
            EXPECT_EQ(t.rec->status, 0);
            bool served = t.finished || op == SNMP_OP_SET;
            for (const ParamNode* n : node_list(t.rec))
                EXPECT_EQ(n->status, served ? NS_OK : NS_NOT_DONE) << op << " " << i;
        }
        EXPECT_GE(done, 1) << op;
        EXPECT_LT(done, STAGGERED) << op;
        EXPECT_EQ(hl_cancel_label(), "Getting values: " + std::to_string(done) +
                                         " of 8 done, last Morix " + staggered(done - 1));
        recs.clear();
    }
}

TEST_F(EngineMany, ASilentDeviceHoldsUpNoOther) {
    std::vector<std::string> addrs = {SILENT};
    for (int i = 0; i < 10; ++i)
        addrs.push_back(fleet(i));
    std::vector<SnmpTask> tasks = tasks_for(addrs, 5);
    // Three Gets in a row per device: every answering device has ended all
    // three before the silent device's first one timed out.
    int seq = 0;
    std::map<const MorixRecord*, std::vector<int>> ended;
    for (SnmpTask& t : tasks)
        t.then = [&, calls = 1](MorixRecord* r) mutable {
            ended[r].push_back(++seq);
            return calls++ < 3 ? SNMP_OP_GET : 0;
        };
    mm_snmp_many(tasks, "Getting values");
    EXPECT_EQ(tasks[0].rec->status, SR_TIMEOUT);
    ASSERT_EQ(ended[tasks[0].rec].size(), 3u);
    for (size_t i = 1; i < tasks.size(); ++i) {
        EXPECT_EQ(tasks[i].rec->status, 0) << i;
        ASSERT_EQ(ended[tasks[i].rec].size(), 3u) << i;
        EXPECT_LT(ended[tasks[i].rec][2], ended[tasks[0].rec][0]) << i;
    }
}

TEST_F(EngineMany, RequestSizeRememberedAfterTooBig) {
    struct Case {
        const char* addr;
        int learned;     // variables per request remembered after the first call
        long next_calls; // requests of each later call of 32 variables
    };
    for (const Case& c : {Case{SMALL_INDEX, 5, 7}, Case{SMALL_BARE, 1, 32}}) {
        RecordHolder r;
        set_peer(r.rec, c.addr, "vantor", 1000, 1);
        int id = 0;
        get_check_mib_var("sysName", &id);
        for (int round = 0; round < 3; ++round) {
            for (int i = 0; i < 32; ++i)
                add_prm_node(r.rec, id, 0, 0, 0, "", "", 0);
            long before = g_snmp_requests_sent;
            testing::internal::CaptureStdout();
            mm_snmp(r.rec, SNMP_OP_GET);
            testing::internal::GetCapturedStdout();
            EXPECT_EQ(r->status, 0) << c.addr;
            EXPECT_EQ(r->max_vars, c.learned) << c.addr;
            if (round > 0) {
                EXPECT_EQ(sent_since(before), c.next_calls) << c.addr;
            }
            for (const ParamNode* n : node_list(r.rec))
                EXPECT_EQ(n->value, "mrx-" + std::string(c.addr)) << c.addr;
            free_prm_list(r.rec);
        }
    }
}

} // namespace
