// The simulator over real UDP on loopback: discovery replies, the load
// host's file service, the network faults, and bad input on every port.
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

// Discovery through the simulator, by broadcast and by many devices, is
// exercised by the discovery tests; here: the reply layout and bad requests.
TEST(SimNet, DiscoveryRepliesFromTheDeviceAndIgnoresMalformedRequests) {
    SimOptions o;
    o.devices = {{sim_profile("modelj.prof"), "127.0.5.2"}};
    SimProcess sim(o);
    ASSERT_TRUE(sim.ready()) << sim.error();
    TestUdp c("127.0.5.200");
    std::string reply;
    sockaddr_in from{};
    ASSERT_TRUE(c.send_to("127.0.5.2", 121, discovery_request()));
    ASSERT_TRUE(c.recv(&reply, 2000, &from));
    EXPECT_EQ(addr_of(reply), "127.0.5.2");
    EXPECT_EQ(reply.substr(0, 4), discovery_request().substr(0, 4));
    EXPECT_EQ(ntohs(from.sin_port), 121);
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

TEST(SimNet, DropDelayAndSeededDropFaults) {
    SimOptions o;
    const char* addrs[] = {"127.0.5.20", "127.0.5.21", "127.0.5.30", "127.0.5.31"};
    for (const char* a : addrs)
        o.devices.push_back({sim_profile("modelg.prof"), a});
    o.faults = {"127.0.5.20:drop=100", "127.0.5.21:delay=300", "127.0.5.30:drop=50,seed=7",
                "127.0.5.31:drop=50,seed=7"};
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
    // the same seed drops the same datagrams
    std::string pattern[2];
    for (int d = 0; d < 2; d++) {
        for (int i = 0; i < 20; i++) {
            c.send_to(addrs[2 + d], 161,
                      encode_request(SNMP_MSG_GET, {{inet_addr_oid()}}, 100 + i));
            pattern[d] += c.recv(&r, 150) ? '1' : '0';
        }
    }
    EXPECT_EQ(pattern[0], pattern[1]);
    EXPECT_NE(pattern[0].find('0'), std::string::npos);
    EXPECT_NE(pattern[0].find('1'), std::string::npos);
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
    // On a loaded machine answers to the flood may still arrive; the one
    // that counts is the answer to request 9.
    TestResponse answer;
    for (int i = 0; i < 10000 && !(answer.ok && answer.reqid == 9); ++i) {
        ASSERT_TRUE(c.recv(&r, 2000));
        answer = decode_response(r);
    }
    ASSERT_EQ(answer.values.size(), 1u);
    EXPECT_EQ(answer.values[0], "127.0.5.50");
    EXPECT_EQ(sim.stop(), 0); // and it still stops cleanly on SIGTERM
}

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
