// The simulator over real UDP on loopback: discovery, the load host's file
// service, faults, 63 devices in one process, request rate and bad input.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <set>

#include "sim_test_util.h"
#include "support/sim_process.h"
#include "support/test_dirs.h"

namespace {

using Clock = std::chrono::steady_clock;
const std::string E = "1.3.6.1.4.1.32473";
std::string inet_addr_oid() {
    return cat_oid("mrxInetAddr");
}

std::string addr_of(const std::string& reply) {
    if (reply.size() < 22)
        return "";
    auto b = [&](int i) { return std::to_string(static_cast<unsigned char>(reply[i])); };
    return b(18) + "." + b(19) + "." + b(20) + "." + b(21);
}

// The Net-SNMP library, set up once: no MIBs, no configuration files and no
// persistent state (its folder is a temporary one).
class SnmpLibrary : public ::testing::Environment {
  public:
    void SetUp() override {
        setenv("MIBS", "", 1);
        setenv("SNMP_PERSISTENT_DIR", tmp_.path().c_str(), 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
        init_snmp("mm_sim_test");
    }

  private:
    TempDir tmp_;
};
::testing::Environment* const snmp_library = ::testing::AddGlobalTestEnvironment(new SnmpLibrary);

double seconds_since(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

TEST(SimNet, DiscoveryAnswersUnicastAndBroadcastFromEachDevice) {
    SimOptions o;
    o.devices = {{sim_profile("modelj.prof"), "127.0.5.2"},
                 {sim_profile("modelt.prof"), "127.0.5.3"}};
    SimProcess sim(o);
    ASSERT_TRUE(sim.ready()) << sim.error();
    TestUdp c("127.0.5.200", true);
    std::string reply;
    sockaddr_in from{};
    ASSERT_TRUE(c.send_to("127.0.5.3", 121, discovery_request()));
    ASSERT_TRUE(c.recv(&reply, 2000, &from));
    EXPECT_EQ(addr_of(reply), "127.0.5.3");
    EXPECT_GE(reply.size(), 22u);
    EXPECT_EQ(reply.substr(0, 4), discovery_request().substr(0, 4));
    EXPECT_EQ(ntohs(from.sin_port), 121);
    // broadcast: every device answers from its own address
    ASSERT_TRUE(c.send_to("127.255.255.255", 121, discovery_request()));
    std::set<std::string> seen;
    for (int i = 0; i < 200 && c.recv(&reply, 700, &from); i++) { // other simulators may answer too
        char src[32];
        inet_ntop(AF_INET, &from.sin_addr, src, sizeof src);
        if (addr_of(reply).rfind("127.0.5.", 0) == 0) {
            EXPECT_EQ(addr_of(reply), src);
            seen.insert(addr_of(reply));
        }
    }
    EXPECT_EQ(seen, (std::set<std::string>{"127.0.5.2", "127.0.5.3"}));
    // malformed requests are ignored
    std::string bad = discovery_request();
    bad[12] = 5;
    for (const std::string& m : {bad, discovery_request().substr(0, 21), discovery_request() + "x"})
        ASSERT_TRUE(c.send_to("127.0.5.2", 121, m));
    EXPECT_FALSE(c.recv(&reply, 300));
}

TEST(SimNet, FileServiceOverUdpWithOtherPortAndStrayReplies) {
    TempDir root;
    write_file(root.file("mrx.cfg"), std::string(700, 'q'));
    SimOptions o;
    o.load_host = "127.0.5.10";
    o.root = root.path();
    o.faults = {"127.0.5.10:other_port,stray"};
    SimProcess sim(o);
    ASSERT_TRUE(sim.ready()) << sim.error();
    TestUdp c("127.0.5.201");
    ASSERT_TRUE(c.send_to("127.0.5.10", 121, fs_call(0, 0, fs_open_args(2, "mrx.cfg"))));
    std::string r;
    sockaddr_in from{};
    ASSERT_TRUE(c.recv(&r, 2000, &from));
    EXPECT_NE(r.substr(0, 4), std::string(4, '\0')); // the stray one: another id
    ASSERT_TRUE(c.recv(&r, 2000, &from));
    EXPECT_EQ(r.substr(0, 4), std::string(4, '\0'));
    EXPECT_EQ(fs_get16(r, 4), 0x21u);
    EXPECT_EQ(fs_get16(r, 6), 2u);
    int port = ntohs(from.sin_port);
    EXPECT_NE(port, 121);
    // the next call goes to where the reply came from
    ASSERT_TRUE(c.send_to("127.0.5.10", port, fs_call(1, 1, fs_u16s({1}))));
    ASSERT_TRUE(c.recv(&r, 2000));
    ASSERT_TRUE(c.recv(&r, 2000));
    EXPECT_EQ(fs_get16(r, 0) * 65536 + fs_get16(r, 2), 1u);
    EXPECT_EQ(fs_get16(r, 10), 700u - 512u);
}

TEST(SimNet, DropAndDelayFaults) {
    SimOptions o;
    o.devices = {{sim_profile("modelg.prof"), "127.0.5.20"},
                 {sim_profile("modelg.prof"), "127.0.5.21"}};
    o.faults = {"127.0.5.20:drop=100", "127.0.5.21:delay=300"};
    SimProcess sim(o);
    ASSERT_TRUE(sim.ready()) << sim.error();
    TestUdp c("127.0.5.202");
    std::string get = encode_request(SNMP_MSG_GET, {{inet_addr_oid()}});
    std::string r;
    ASSERT_TRUE(c.send_to("127.0.5.20", 161, get));
    EXPECT_FALSE(c.recv(&r, 500));
    auto t = Clock::now();
    ASSERT_TRUE(c.send_to("127.0.5.21", 161, get));
    ASSERT_TRUE(c.recv(&r, 3000));
    EXPECT_GE(seconds_since(t), 0.29);
    EXPECT_EQ(decode_response(r).values.at(0), "127.0.5.21");
}

TEST(SimNet, DropShareIsDeterministicForASeed) {
    auto answered = [](const std::string& addr) {
        SimOptions o;
        o.devices = {{sim_profile("modelg.prof"), addr}};
        o.faults = {addr + ":drop=50,seed=7"};
        SimProcess sim(o);
        EXPECT_TRUE(sim.ready()) << sim.error();
        TestUdp c("127.0.5.203");
        std::string pattern, r;
        for (int i = 0; i < 20; i++) {
            c.send_to(addr, 161, encode_request(SNMP_MSG_GET, {{inet_addr_oid()}}, 100 + i));
            pattern += c.recv(&r, 150) ? '1' : '0';
        }
        return pattern;
    };
    std::string a = answered("127.0.5.30");
    EXPECT_EQ(a, answered("127.0.5.31"));
    EXPECT_NE(a.find('0'), std::string::npos);
    EXPECT_NE(a.find('1'), std::string::npos);
}

TEST(SimNet, SixtyThreeDevicesStartAndAnswerConcurrently) {
    SimOptions one;
    one.devices = {{sim_profile("modelu.prof"), "127.0.6.100"}};
    double t1 = 0;
    {
        SimProcess sim(one);
        ASSERT_TRUE(sim.ready()) << sim.error();
        t1 = sim.startup_seconds();
    }
    const char* names[] = {"modelg.prof", "modelj.prof", "modeln.prof", "modelq.prof",
                           "modelu.prof"};
    SimOptions o;
    for (int i = 1; i <= 63; i++)
        o.devices.push_back({sim_profile(names[i % 5]), "127.0.6." + std::to_string(i)});
    SimProcess sim(o);
    ASSERT_TRUE(sim.ready()) << sim.error();
    std::printf("mrxsim start-up to ready: 1 device %.3f s, 63 devices %.3f s\n", t1,
                sim.startup_seconds());
    RecordProperty("startup_1_device_ms", static_cast<int>(t1 * 1000));
    RecordProperty("startup_63_devices_ms", static_cast<int>(sim.startup_seconds() * 1000));
    TestUdp c("127.0.6.200");
    for (int i = 1; i <= 63; i++)
        c.send_to("127.0.6." + std::to_string(i), 161,
                  encode_request(SNMP_MSG_GET, {{inet_addr_oid()}}, i));
    std::set<std::string> answered;
    std::string r;
    sockaddr_in from{};
    for (int i = 0; i < 63 && c.recv(&r, 3000, &from); i++) {
        TestResponse d = decode_response(r);
        char src[32];
        inet_ntop(AF_INET, &from.sin_addr, src, sizeof src);
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.values.at(0), src);
        EXPECT_EQ("127.0.6." + std::to_string(d.reqid), src);
        answered.insert(src);
    }
    EXPECT_EQ(answered.size(), 63u);
}

TEST(SimNet, RequestsPerSecondOfOneDevice) {
    SimOptions o;
    o.devices = {{sim_profile("modelj.prof"), "127.0.5.40"}};
    SimProcess sim(o);
    ASSERT_TRUE(sim.ready()) << sim.error();
    netsnmp_session s;
    snmp_sess_init(&s);
    std::string peer = "127.0.5.40", comm = "vantor";
    s.peername = &peer[0];
    s.version = SNMP_VERSION_1;
    s.community = reinterpret_cast<u_char*>(&comm[0]);
    s.community_len = comm.size();
    s.timeout = 1000000;
    s.retries = 0;
    netsnmp_session* ss = snmp_open(&s);
    ASSERT_NE(ss, nullptr);
    oid name[MAX_OID_LEN];
    size_t len = MAX_OID_LEN;
    ASSERT_TRUE(snmp_parse_oid("1.3.6.1.2.1.1.1.0", name, &len));
    int done = 0, failed = 0;
    auto t = Clock::now();
    while (seconds_since(t) < 1.5 && done + failed < 200000) {
        netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GET);
        snmp_add_null_var(pdu, name, len);
        netsnmp_pdu* resp = nullptr;
        if (snmp_synch_response(ss, pdu, &resp) == STAT_SUCCESS && resp && resp->errstat == 0)
            done++;
        else
            failed++;
        if (resp)
            snmp_free_pdu(resp);
    }
    double rate = done / seconds_since(t);
    snmp_close(ss);
    std::printf("one simulated device answered %.0f Get requests per second (%d in the loop)\n",
                rate, done);
    RecordProperty("requests_per_second", static_cast<int>(rate));
    EXPECT_EQ(failed, 0);
    EXPECT_GT(done, 0);
}

TEST(SimNet, BadDatagramsOnEveryPortNeverStopIt) {
    TempDir root;
    write_file(root.file("f"), "data");
    SimOptions o;
    o.devices = {{sim_profile("modelt.prof"), "127.0.5.50"}};
    o.load_host = "127.0.5.51";
    o.root = root.path();
    SimProcess sim(o);
    ASSERT_TRUE(sim.ready()) << sim.error();
    TestUdp c("127.0.5.204", true);
    std::vector<std::string> seeds = {
        encode_request(SNMP_MSG_SET,
                       {{"1.3.6.1.2.1.1.5.0", 's', "n"}, {cat_oid("mrxcReset"), 'i', "1"}}),
        encode_request(SNMP_MSG_GETNEXT, {{"1.3.6"}}),
        discovery_request(),
        fs_call(0, 0, fs_open_args(2, "f")),
        fs_call(1, 1, fs_u16s({0})),
        fs_call(2, 2, fs_u16s({0, 4}) + "abcd")};
    std::mt19937 rng(5);
    const char* targets[][2] = {{"127.0.5.50", "161"},
                                {"127.0.5.50", "121"},
                                {"127.0.5.51", "121"},
                                {"127.255.255.255", "121"}};
    for (int i = 0; i < 4000; i++) {
        std::string m = seeds[rng() % seeds.size()];
        int kind = i % 4;
        if (kind == 0)
            m = m.substr(0, rng() % (m.size() + 1));
        else if (kind == 1)
            m[rng() % m.size()] = static_cast<char>(rng());
        else if (kind == 2)
            m = std::string(rng() % 1500, static_cast<char>(rng()));
        else
            m += std::string(rng() % 3000, '\x30');
        const char* const* t = targets[rng() % 4];
        c.send_to(t[0], std::stoi(t[1]), m);
    }
    c.send_to("127.0.5.50", 121, std::string(65000, 'x')); // oversized
    std::string r;
    int drained = 0;
    while (drained < 10000 && c.recv(&r, 200))
        drained++;
    ASSERT_TRUE(sim.running());
    ASSERT_TRUE(c.send_to("127.0.5.50", 161, encode_request(SNMP_MSG_GET, {{inet_addr_oid()}}, 9)));
    ASSERT_TRUE(c.recv(&r, 2000));
    EXPECT_EQ(decode_response(r).values.at(0), "127.0.5.50");
    EXPECT_EQ(sim.stop(), 0); // and it still stops cleanly on SIGTERM
}

} // namespace

namespace {

TEST(SimNet, CommandLineAndBindFailuresEndWithAStatusAndAMessage) {
    std::string j = sim_profile("modelj.prof");
    ProgramResult r = run_program({sim_binary()}, 5000);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("usage"), std::string::npos);
    r = run_program({sim_binary(), "--profile", j, "--addr", "127.0.5.60", "--profile", j, "--addr",
                     "127.0.5.60", "--catalogue", sim_catalogue_dir()},
                    5000);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("given twice"), std::string::npos) << r.err;
    r = run_program(
        {sim_binary(), "--profile", j, "--addr", "10.0.0.1", "--catalogue", sim_catalogue_dir()},
        5000);
    EXPECT_EQ(r.status, 2); // only loopback addresses
    SimOptions o;
    o.devices = {{j, "127.0.5.61"}};
    SimProcess first(o);
    ASSERT_TRUE(first.ready()) << first.error();
    SimProcess second(o);
    EXPECT_FALSE(second.ready());
    EXPECT_NE(second.error().find("cannot bind 127.0.5.61:161"), std::string::npos)
        << second.error();
}

} // namespace
