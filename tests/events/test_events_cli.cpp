// mm_cli events as an operator runs it: Net-SNMP's snmptrap and the
// simulator send, the verb prints each event (JSON Lines with --json) and
// keeps it in the log that --log reads back.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>

#include "support/netns.h"
#include "support/sim_process.h"
#include "support/test_dirs.h"

namespace {

const std::string A = "127.0.57.2", C = "127.0.57.3", D = "127.0.57.4", E = "127.0.57.5",
                  F = "127.0.57.6";
const std::string ENT = "1.3.6.1.4.1.32473.2.20";

// One line per JSON line of text: the python expression evaluated on it (d).
std::vector<std::string> json_lines(const std::string& text, const std::string& expr) {
    TempDir tmp;
    write_file(tmp.file("lines"), text);
    ProgramResult r = run_program(
        {"python3", "-c",
         "import json,sys\nfor l in open(sys.argv[1]):\n    d = json.loads(l)\n    print(" + expr +
             ")\n",
         tmp.file("lines")},
        20000);
    std::vector<std::string> out;
    for (size_t pos = 0; r.status == 0 && pos < r.out.size();) {
        size_t nl = r.out.find('\n', pos);
        out.push_back(r.out.substr(pos, nl - pos));
        pos = nl + 1;
    }
    return out;
}

class EventsCli : public testing::Test {
  protected:
    void SetUp() override {
        REQUIRE_NETNS();
        copy_staged_install(install_.path());
    }
    // mm_cli events started and listening.
    std::unique_ptr<Process> listen(const std::vector<std::string>& args) {
        ProcessLaunch s;
        s.argv = {cli_binary()};
        s.argv.insert(s.argv.end(), args.begin(), args.end());
        s.env = {"GUI_MM_DIR=" + install_.path()};
        s.ready_text = "receiving traps on port";
        s.ready_stream = READY_STDERR;
        auto p = std::make_unique<Process>(s);
        EXPECT_TRUE(p->ready()) << p->err();
        return p;
    }
    int snmptrap(int port, const std::string& community, int generic, int specific,
                 const std::vector<std::string>& vars = {}) {
        std::vector<std::string> argv = {"snmptrap",
                                         "-v",
                                         "1",
                                         "-c",
                                         community,
                                         "127.0.0.1:" + std::to_string(port),
                                         ENT,
                                         A,
                                         std::to_string(generic),
                                         std::to_string(specific),
                                         "4200"};
        argv.insert(argv.end(), vars.begin(), vars.end());
        return run_program(
                   argv, 20000,
                   {"MIBS=", "SNMPCONFPATH=" + conf_.path(), "SNMP_PERSISTENT_DIR=" + conf_.path()})
            .status;
    }
    ProgramResult cli(const std::vector<std::string>& args) {
        return run_cli(args, install_.path());
    }
    TempDir install_, conf_;
};

TEST_F(EventsCli, SnmptrapEachGenericTypeCatalogueVariablesWrongCommunityAndTheLog) {
    SimOptions o;
    o.devices.push_back({sim_profile("modelj.prof"), A});
    SimProcess sim(o);
    ASSERT_TRUE(sim.ready()) << sim.error();
    auto rx = listen({"-mrx", A, "events", "--port", "16251", "--count", "8", "--json"});
    for (int g = 0; g <= 5; ++g)
        ASSERT_EQ(snmptrap(16251, "vantor", g, 0), 0);
    ASSERT_EQ(snmptrap(16251, "vantor", 6, 1,
                       {"1.3.6.1.4.1.32473.2.5.2.1.27.3", "s", "ann", "1.3.6.1.4.1.32473.2.20.1.0",
                        "i", "1"}),
              0);
    ASSERT_EQ(snmptrap(16251, "guess", 4, 0), 0);
    ASSERT_EQ(rx->wait(30000), 0) << rx->err();
    std::vector<std::string> got =
        json_lines(rx->out(), "d['generic_name'], d['device'], d['community_ok'], d['agent_addr'],"
                              " d['enterprise'], d['uptime'], [(v['name'], v['instance'],"
                              " v['value'], v['enum_name']) for v in d['vars']]");
    const char* names[] = {"coldStart",
                           "warmStart",
                           "linkDown",
                           "linkUp",
                           "authenticationFailure",
                           "egpNeighborLoss",
                           "enterpriseSpecific",
                           "authenticationFailure"};
    ASSERT_EQ(got.size(), 8u) << rx->out();
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(got[i].rfind(std::string(names[i]) + " " + A + " " +
                                   (i < 7 ? "True " : "False ") + A + " " + ENT + " 4200",
                               0),
                  0u)
            << got[i];
    }
    EXPECT_TRUE(has(got[6], "[('mrxpCurrentUserName', '3', 'ann', None), ('callBeginTrapObj', "
                            "'0', '1', 'enabled')]"))
        << got[6];
    // The log keeps them; --log prints them as lines of text.
    ProgramResult log = cli({"events", "--log", "--count", "2"});
    EXPECT_EQ(log.status, 0) << log.err;
    EXPECT_TRUE(has(log.out, " callBegin uptime 0:00:42 mrxpCurrentUserName.3=ann")) << log.out;
    EXPECT_TRUE(has(log.out, " authenticationFailure [wrong community] ")) << log.out;
    EXPECT_EQ(std::count(log.out.begin(), log.out.end(), '\n'), 2);
}

TEST_F(EventsCli, ThousandSimulatorTrapsFromEightDevicesArriveInOrder) {
    auto rx = listen({"events", "--port", "16252", "--count", "1008", "--json"});
    SimOptions o;
    for (int i = 0; i < 8; ++i) {
        std::string addr = "127.0.57." + std::to_string(10 + i);
        o.devices.push_back({sim_profile("modelj.prof"), addr});
        o.sets.push_back(addr + ":mrxSnmpTrapHost1=127.0.0.1");
        o.faults.push_back(addr + ":trap_port=16252,trap_burst=125");
    }
    SimProcess sim(o);
    ASSERT_TRUE(sim.ready()) << sim.error();
    ASSERT_EQ(rx->wait(60000), 0) << rx->err();
    std::vector<std::string> got = json_lines(
        rx->out(), "d['source'], d['generic_name'], d['specific'], ','.join(v['value'] for v in "
                   "d['vars'] if v['name'] == 'charPortSessionNumber')");
    ASSERT_EQ(got.size(), 1008u);
    std::map<std::string, int> next; // per device: the session number expected next
    for (const std::string& line : got) {
        std::string source = line.substr(0, line.find(' '));
        auto it = next.find(source);
        if (it == next.end()) {
            EXPECT_EQ(line, source + " coldStart 0 ");
            next[source] = 1;
            continue;
        }
        EXPECT_EQ(line, source + " enterpriseSpecific 1 " + std::to_string(it->second++));
    }
    EXPECT_EQ(next.size(), 8u);
    EXPECT_TRUE(has(rx->err(), "1008 events, 1008 datagrams, 0 malformed")) << rx->err();
}

TEST_F(EventsCli, SimulatorCallsDisconnectsAndWanThresholdsNameTheirPorts) {
    SimOptions o;
    o.devices = {{sim_profile("modelj.prof"), C}, {sim_profile("modelq.prof"), D}};
    for (const std::string& a : {C, D})
        o.sets.push_back(a + ":mrxSnmpTrapHost2=127.0.0.1");
    o.sets.push_back(C + ":callBeginTrapObj=enabled");
    o.sets.push_back(C + ":mrxSnmpTrapCommunity=vantor"); // D keeps "public"
    o.sets.push_back(D + ":unexpectDisconnectTrapThresh=2");
    o.faults = {C + ":trap_port=16253,calls=1", D + ":trap_port=16253,calls=1,disconnects",
                D + ":wan_errors=20"};
    SimProcess sim(o);
    ASSERT_TRUE(sim.ready()) << sim.error();
    auto rx = listen({"-mrx", C + "," + D, "events", "--port", "16253", "--count", "24"});
    ASSERT_EQ(rx->wait(60000), 0) << rx->err();
    std::string out = rx->out();
    EXPECT_TRUE(has(out, " " + C + " callBegin uptime ")) << out;
    EXPECT_TRUE(has(out, " " + C + " callEnd uptime ")) << out;
    EXPECT_TRUE(has(out, " " + D + " unexpectedDisconnect [wrong")) << out;
    EXPECT_TRUE(has(out, "unexpectDisconnectTrapThresh.0=2")) << out;
    EXPECT_TRUE(has(out, " mrxt1CurrentBpv.2[port 2]=20 wanBpvThreshold.0=10")) << out;
    EXPECT_TRUE(has(out, "[port 1]=")) << out;
    EXPECT_FALSE(has(out, " " + D + " callBegin")) << out; // not enabled there
    EXPECT_FALSE(has(out, C + " callBegin [wrong community")) << out;
    EXPECT_TRUE(has(out, D + " wanThreshold [wrong community 'public'] ")) << out;
}

TEST_F(EventsCli, SendTrapsHereKeepsAnUndoScriptAndTheDeviceSendsHere) {
    SimOptions o;
    o.devices = {{sim_profile("modelj.prof"), E}, {sim_profile("modelj.prof"), F}};
    o.sets = {E + ":callBeginTrapObj=enabled", F + ":mrxAllowSets=2"};
    o.faults = {E + ":trap_port=16256,calls=1"};
    SimProcess sim(o);
    ASSERT_TRUE(sim.ready()) << sim.error();
    ProgramResult r = cli({"-mrx", E + "," + F, "send-traps-here", "--host", "2"});
    EXPECT_EQ(r.status, 1); // F refuses Sets
    EXPECT_TRUE(has(r.out, E + ": mrxSnmpTrapHost2 = 127.0.0.1, mrxSnmpTrapCommunity = vantor"))
        << r.out << r.err;
    EXPECT_TRUE(has(r.err, "<" + F + ">  Could not set any parameters.")) << r.err;
    int undo = 0;
    for (const auto& f :
         std::filesystem::directory_iterator(install_.file("data/mrx_scripts/undo")))
        undo += f.path().filename().string().rfind(E + "_", 0) == 0 ? 1 : 0;
    EXPECT_EQ(undo, 1);
    auto rx = listen({"-mrx", E, "events", "--port", "16256", "--count", "1"});
    ASSERT_EQ(rx->wait(30000), 0) << rx->err();
    EXPECT_TRUE(has(rx->out(), " " + E + " callBegin uptime ")) << rx->out();
    EXPECT_FALSE(has(rx->out(), "wrong community")) << rx->out();
}

TEST_F(EventsCli, PortInUseTimeoutAndUsage) {
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(16254);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ProgramResult busy = cli({"events", "--port", "16254", "--timeout", "1"});
    close(fd);
    EXPECT_EQ(busy.status, 1);
    EXPECT_TRUE(has(busy.err, "The trap port 16254 is in use by another program")) << busy.err;
    ProgramResult quiet = cli({"events", "--port", "16255", "--timeout", "1"});
    EXPECT_EQ(quiet.status, 1);
    EXPECT_EQ(quiet.out, "");
    EXPECT_TRUE(has(quiet.err, "0 events, 0 datagrams")) << quiet.err;
    for (const char* bad : {"0", "65536", "x"})
        EXPECT_EQ(cli({"events", "--port", bad}).status, 2) << bad;
    EXPECT_EQ(cli({"events", "--log"}).status, 1); // nothing kept yet
}

} // namespace
