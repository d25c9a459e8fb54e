// The simulator's SNMP agent, driven in-process with encoded messages: one
// smoke test of Get, GetNext and Set, the fault switches the command tests
// rely on, and bad requests.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "sim_device.h"
#include "sim_test_util.h"
#include "support/test_dirs.h"

namespace {

const std::string OID_SYS_DESCR = "1.3.6.1.2.1.1.1.0";
const std::string OID_SYS_NAME = "1.3.6.1.2.1.1.5.0";

class SimAgent : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(load_test_catalogue()) << sim_catalogue_dir();
        init_sim_snmp();
    }

    void start(const std::string& profile_name, std::vector<std::string> faults = {},
               std::vector<SetLine> sets = {}) {
        SimProfile p;
        std::string err;
        ASSERT_EQ(read_sim_profile(sim_profile(profile_name), &p, &err), 0) << err;
        p.sets.insert(p.sets.end(), sets.begin(), sets.end());
        ASSERT_EQ(init_sim_device(&dev, p, "127.0.9.9", faults, &err), 0) << err;
    }

    std::vector<std::string> exchange(const std::string& request) {
        std::vector<std::string> replies;
        handle_snmp_datagram(&dev, reinterpret_cast<const unsigned char*>(request.data()),
                             request.size(), &log, &replies);
        return replies;
    }

    TestResponse ask(int command, const std::vector<TestVar>& vars) {
        std::vector<std::string> r = exchange(encode_request(command, vars));
        EXPECT_EQ(r.size(), 1u);
        return r.empty() ? TestResponse() : decode_response(r.back());
    }

    SimDevice dev;
    ControlLog log;
};

TEST_F(SimAgent, GetGetNextAndSetAnswerFromTheProfileAndRecordControlSets) {
    start("modelj.prof");
    TestResponse r =
        ask(SNMP_MSG_GET,
            {{OID_SYS_DESCR}, {cat_oid("mrxInetAddr")}, {cat_oid("mdmIdSoftwareRev", "8")}});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.reqid, 4242);
    EXPECT_EQ(r.values, (std::vector<std::string>{"Morix ModelJ remote access server, release 14.1",
                                                  "127.0.9.9", "V34-2.1"}));
    // GetNext walks the whole view in strictly increasing order, then ends
    // with noSuchName carrying the request's variable.
    std::string at = "0.0";
    OidVec prev;
    size_t seen = 0;
    for (size_t i = 0; i < dev.view.entries.size() + 2; i++) {
        r = ask(SNMP_MSG_GETNEXT, {{at}});
        if (r.errstat != 0) {
            EXPECT_EQ(r.errstat, SNMP_ERR_NOSUCHNAME);
            EXPECT_EQ(r.names.at(0), at);
            break;
        }
        OidVec name;
        ASSERT_EQ(parse_oid_text(r.names[0], &name), 0);
        ASSERT_LT(prev, name) << r.names[0];
        prev = name;
        at = r.names[0];
        seen++;
    }
    EXPECT_EQ(seen, dev.view.entries.size());
    // Control Sets are recorded with instance and value; refused ones not.
    TempDir tmp;
    log.file = std::fopen(tmp.file("control.log").c_str(), "w");
    ASSERT_NE(log.file, nullptr);
    EXPECT_EQ(
        ask(SNMP_MSG_SET, {{cat_oid("mrxcReset"), 'i', "7"}, {OID_SYS_NAME, 's', "n"}}).errstat, 0);
    EXPECT_EQ(ask(SNMP_MSG_SET, {{cat_oid("charPortReset", "3"), 'i', "2"}}).errstat, 0);
    EXPECT_NE(ask(SNMP_MSG_SET, {{cat_oid("mrxcBcast"), 'i', "9"}}).errstat, 0);
    std::fclose(log.file);
    log.file = nullptr;
    EXPECT_EQ(read_file(tmp.file("control.log")),
              "127.0.9.9 mrxcReset 0 7\n127.0.9.9 charPortReset 3 2\n");
    EXPECT_EQ(ask(SNMP_MSG_GET, {{OID_SYS_NAME}}).values.at(0), "n");
}

// A refused Set changes nothing and names the first bad variable.
TEST_F(SimAgent, BadSetsAreRefusedAtTheirIndexAndChangeNothing) {
    start("modelj.prof");
    const std::string E = "1.3.6.1.4.1.32473";
    struct Case {
        std::vector<TestVar> vars;
        long errstat, errindex;
    } cases[] = {
        {{{OID_SYS_NAME, 's', "x"}, {cat_oid("swRevMajor"), 'i', "15"}}, SNMP_ERR_READONLY, 2},
        {{{OID_SYS_NAME, 's', "x"}, {cat_oid("mrxcReset"), 'i', "20"}}, SNMP_ERR_BADVALUE, 2},
        {{{cat_oid("mrxcReset"), 's', "13"}}, SNMP_ERR_BADVALUE, 1},
        {{{E + ".2.4.99.0", 'i', "1"}}, SNMP_ERR_NOSUCHNAME, 1},
        {{{"1.3.6.1.2.1.2.2.1.7.1", 'i', "4"}}, SNMP_ERR_BADVALUE, 1},
    };
    for (const Case& c : cases) {
        TestResponse r = ask(SNMP_MSG_SET, c.vars);
        EXPECT_EQ(r.errstat, c.errstat) << c.vars[0].oid;
        EXPECT_EQ(r.errindex, c.errindex) << c.vars[0].oid;
    }
    EXPECT_EQ(ask(SNMP_MSG_GET, {{OID_SYS_NAME}}).values.at(0), "mrx-127.0.9.9");
    TestResponse r = ask(SNMP_MSG_GET, {{OID_SYS_DESCR}, {"1.3.6.1.2.1.1.99.0"}});
    EXPECT_EQ(r.errstat, SNMP_ERR_NOSUCHNAME);
    EXPECT_EQ(r.errindex, 2);
    EXPECT_EQ(r.types.at(0), ASN_NULL); // error answers carry the request's variables
}

// The switches the engine and command tests use to provoke a device.
TEST_F(SimAgent, FaultSwitchesShapeTheAnswers) {
    std::vector<TestVar> three = {{OID_SYS_DESCR}, {OID_SYS_NAME}, {"1.3.6.1.2.1.1.4.0"}};
    struct Case {
        std::vector<std::string> faults;
        int max_msg; // 0: the profile's
        long errstat, errindex;
    } cases[] = {
        {{"max_vars=2"}, 0, SNMP_ERR_TOOBIG, 0}, // index 0, as agents commonly send it
        {{"max_vars=2", "toobig_index"}, 0, SNMP_ERR_TOOBIG, 3},
        {{"generr=sysName"}, 0, SNMP_ERR_GENERR, 2},
        {{}, 300, SNMP_ERR_TOOBIG, 0},
        {{"toobig_index"}, 300, SNMP_ERR_TOOBIG, 3}, // the first two fit
        {{"max_vars=3"}, 0, 0, 0},
    };
    for (const Case& c : cases) {
        start("modelj.prof", c.faults, {{"sysContact", "", std::string(300, 'c'), 0}});
        if (c.max_msg)
            dev.profile.max_msg = c.max_msg;
        TestResponse r = ask(SNMP_MSG_GET, three);
        EXPECT_EQ(r.errstat, c.errstat) << testing::PrintToString(c.faults);
        EXPECT_EQ(r.errindex, c.errindex) << testing::PrintToString(c.faults);
    }
    start("modelj.prof", {}, {{"mrxAllowSets", "", "2", 0}});
    EXPECT_EQ(ask(SNMP_MSG_SET, {{OID_SYS_NAME, 's', "x"}}).errstat, SNMP_ERR_READONLY);
    start("modelj.prof", {"stray"});
    std::vector<std::string> r = exchange(encode_request(SNMP_MSG_GET, {{OID_SYS_DESCR}}, 777));
    ASSERT_EQ(r.size(), 2u);
    EXPECT_NE(decode_response(r[0]).reqid, 777);
    EXPECT_EQ(decode_response(r[1]).reqid, 777);
    start("modelj.prof", {"boot_silence=60000"});
    EXPECT_TRUE(exchange(encode_request(SNMP_MSG_SET, {{cat_oid("mrxcBoot"), 'i', "1"}})).empty());
    EXPECT_TRUE(exchange(encode_request(SNMP_MSG_GET, {{OID_SYS_NAME}})).empty());
    EXPECT_TRUE(device_ignores(&dev));
}

TEST_F(SimAgent, ForeignCommunitiesVersionsAndBrokenDatagramsGetNoAnswer) {
    start("modelj.prof");
    EXPECT_TRUE(exchange(encode_request(SNMP_MSG_GET, {{OID_SYS_DESCR}}, 1, "public")).empty());
    EXPECT_TRUE(
        exchange(encode_request(SNMP_MSG_GET, {{OID_SYS_DESCR}}, 1, "vantor", SNMP_VERSION_2c))
            .empty());
    std::string good = encode_request(
        SNMP_MSG_SET, {{OID_SYS_NAME, 's', "abc"}, {cat_oid("mrxcReset"), 'i', "3"}});
    for (size_t n = 0; n < good.size(); n++)
        EXPECT_TRUE(exchange(good.substr(0, n)).empty()) << n;
    std::mt19937 rng(11);
    for (int i = 0; i < 3000; i++) {
        std::string m = good;
        for (int k = 0; k < 1 + i % 4; k++)
            m[rng() % m.size()] = static_cast<char>(rng());
        for (const std::string& reply : exchange(m))
            EXPECT_TRUE(decode_response(reply).ok);
    }
    EXPECT_EQ(ask(SNMP_MSG_GET, {{OID_SYS_DESCR}}).errstat, 0);
}

} // namespace
