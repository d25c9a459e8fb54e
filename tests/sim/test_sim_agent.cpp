// The simulator's SNMP agent, driven in-process with encoded messages.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>

#include "catalogue/mib_catalogue.h"
#include "ui/app_globals.h"
#include "sim_device.h"
#include "sim_test_util.h"
#include "support/sim_process.h"
#include "support/test_dirs.h"

namespace {

const std::string E = "1.3.6.1.4.1.32473";
const std::string OID_SYS_DESCR = "1.3.6.1.2.1.1.1.0";
const std::string OID_SYS_NAME = "1.3.6.1.2.1.1.5.0";
std::string OID_MRXC_RESET;
std::string OID_SW_REV_MAJOR;

void load_catalogue() {
    ASSERT_TRUE(load_test_catalogue()) << sim_catalogue_dir();
    init_sim_snmp();
    OID_MRXC_RESET = cat_oid("mrxcReset");
    OID_SW_REV_MAJOR = cat_oid("swRevMajor");
}

class SimAgent : public ::testing::Test {
  protected:
    void SetUp() override { load_catalogue(); }

    void start(const std::string& profile_name, std::vector<std::string> faults = {},
               std::vector<SetLine> sets = {}) {
        SimProfile p;
        std::string err;
        ASSERT_EQ(read_sim_profile(sim_profile(profile_name), &p, &err), 0) << err;
        for (auto& s : sets)
            p.sets.push_back(s);
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

TEST_F(SimAgent, GetAnswersProfileAndDerivedValues) {
    start("modelj.prof");
    TestResponse r = ask(SNMP_MSG_GET, {{OID_SYS_DESCR},
                                        {"1.3.6.1.2.1.1.2.0"},
                                        {OID_SW_REV_MAJOR},
                                        {cat_oid("totalPorts")},
                                        {cat_oid("mrxInetAddr")},
                                        {cat_oid("totalmodems")},
                                        {cat_oid("mdmIdSoftwareRev", "8")}});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.errstat, 0);
    ASSERT_EQ(r.values.size(), 7u);
    EXPECT_EQ(r.values[0], "Morix ModelJ remote access server, release 14.1");
    EXPECT_EQ(r.values[1], E + ".1.3.10");
    EXPECT_EQ(r.values[2], "14");
    EXPECT_EQ(r.values[3], "32");        // totalPorts
    EXPECT_EQ(r.values[4], "127.0.9.9"); // mrxInetAddr is the device's own address
    EXPECT_EQ(r.values[5], "8");         // totalmodems
    EXPECT_EQ(r.values[6], "V34-2.1");   // mdmIdSoftwareRev of modem 8
    EXPECT_EQ(r.reqid, 4242);
}

TEST_F(SimAgent, GetNextWalksTheWholeViewInStrictOrderAndEnds) {
    start("modelq.prof");
    std::string at = "0.0";
    std::vector<OidVec> seen;
    for (size_t i = 0; i < dev.view.entries.size() + 2; i++) {
        TestResponse r = ask(SNMP_MSG_GETNEXT, {{at}});
        ASSERT_TRUE(r.ok);
        if (r.errstat != 0) {
            EXPECT_EQ(r.errstat, SNMP_ERR_NOSUCHNAME);
            EXPECT_EQ(r.errindex, 1);
            EXPECT_EQ(r.names[0], at); // v1 error answers carry the request's variables
            break;
        }
        OidVec name;
        ASSERT_EQ(parse_oid_text(r.names[0], &name), 0);
        if (!seen.empty()) {
            ASSERT_LT(seen.back(), name) << r.names[0];
        }
        seen.push_back(name);
        at = r.names[0];
    }
    EXPECT_EQ(seen.size(), dev.view.entries.size());
    // system group first, interfaces, then the ARP table before the enterprise arc
    EXPECT_EQ(oid_to_text(seen[0].data(), seen[0].size()), OID_SYS_DESCR);
}

TEST_F(SimAgent, UnknownObjectGivesNoSuchNameAtItsIndex) {
    start("modelj.prof");
    TestResponse r = ask(SNMP_MSG_GET, {{OID_SYS_DESCR}, {"1.3.6.1.2.1.1.99.0"}, {OID_SYS_NAME}});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.errstat, SNMP_ERR_NOSUCHNAME);
    EXPECT_EQ(r.errindex, 2);
    ASSERT_EQ(r.values.size(), 3u);
    EXPECT_EQ(r.types[0], ASN_NULL); // unchanged request variables
}

TEST_F(SimAgent, SetChangesStateOnlyWhenEveryVariableIsGood) {
    start("modelj.prof");
    TestResponse r =
        ask(SNMP_MSG_SET, {{OID_SYS_NAME, 's', "edge-1"}, {OID_SW_REV_MAJOR, 'i', "15"}});
    EXPECT_EQ(r.errstat, SNMP_ERR_READONLY);
    EXPECT_EQ(r.errindex, 2);
    EXPECT_EQ(ask(SNMP_MSG_GET, {{OID_SYS_NAME}}).values[0], "mrx-127.0.9.9");
    r = ask(SNMP_MSG_SET,
            {{OID_SYS_NAME, 's', "edge-1"}, {cat_oid("defaultDomain"), 's', "corp.example"}});
    EXPECT_EQ(r.errstat, 0);
    r = ask(SNMP_MSG_GET, {{OID_SYS_NAME}, {cat_oid("defaultDomain")}});
    EXPECT_EQ(r.values[0], "edge-1");
    EXPECT_EQ(r.values[1], "corp.example");
}

TEST_F(SimAgent, SetValidatesTypeEnumerationAndExistence) {
    start("modelj.prof");
    EXPECT_EQ(ask(SNMP_MSG_SET, {{OID_MRXC_RESET, 's', "13"}}).errstat, SNMP_ERR_BADVALUE);
    TestResponse r = ask(SNMP_MSG_SET, {{OID_SYS_NAME, 's', "x"}, {OID_MRXC_RESET, 'i', "20"}});
    EXPECT_EQ(r.errstat, SNMP_ERR_BADVALUE);
    EXPECT_EQ(r.errindex, 2);
    EXPECT_EQ(ask(SNMP_MSG_SET, {{OID_MRXC_RESET, 'i', "19"}}).errstat, 0);
    r = ask(SNMP_MSG_SET, {{E + ".2.4.99.0", 'i', "1"}});
    EXPECT_EQ(r.errstat, SNMP_ERR_NOSUCHNAME);
    EXPECT_EQ(r.errindex, 1);
    // ifAdminStatus takes 1..3 only
    EXPECT_EQ(ask(SNMP_MSG_SET, {{"1.3.6.1.2.1.2.2.1.7.1", 'i', "4"}}).errstat, SNMP_ERR_BADVALUE);
    EXPECT_EQ(ask(SNMP_MSG_SET, {{"1.3.6.1.2.1.2.2.1.7.1", 'i', "2"}}).errstat, 0);
}

TEST_F(SimAgent, AllowSetsTwoRefusesEverySet) {
    start("modelj.prof", {}, {{"mrxAllowSets", "", "2", 0}});
    TestResponse r = ask(SNMP_MSG_SET, {{OID_SYS_NAME, 's', "x"}, {OID_MRXC_RESET, 'i', "13"}});
    EXPECT_EQ(r.errstat, SNMP_ERR_READONLY);
    EXPECT_EQ(r.errindex, 1);
    EXPECT_EQ(ask(SNMP_MSG_GET, {{cat_oid("mrxAllowSets")}}).values[0], "2");
    EXPECT_EQ(ask(SNMP_MSG_GET, {{OID_SYS_NAME}}).values[0], "mrx-127.0.9.9");
}

TEST_F(SimAgent, ControlSetsAreRecordedWithInstanceAndValue) {
    start("modelg.prof");
    TempDir tmp;
    log.file = std::fopen(tmp.file("control.log").c_str(), "w");
    ASSERT_NE(log.file, nullptr);
    EXPECT_EQ(ask(SNMP_MSG_SET, {{OID_MRXC_RESET, 'i', "7"}, {OID_SYS_NAME, 's', "n"}}).errstat, 0);
    EXPECT_EQ(ask(SNMP_MSG_SET, {{cat_oid("charPortReset", "3"), 'i', "2"}}).errstat, 0);
    EXPECT_EQ(ask(SNMP_MSG_SET, {{cat_oid("mrxcBoot"), 'i', "1"}}).errstat, 0);
    // a refused Set is not recorded
    EXPECT_NE(ask(SNMP_MSG_SET, {{cat_oid("mrxcBcast"), 'i', "9"}}).errstat, 0);
    std::fclose(log.file);
    log.file = nullptr;
    EXPECT_EQ(read_file(tmp.file("control.log")),
              "127.0.9.9 mrxcReset 0 7\n127.0.9.9 charPortReset 3 2\n127.0.9.9 mrxcBoot 0 1\n");
}

TEST_F(SimAgent, TooBigAboveTheMaximumMessageSize) {
    start("modelj.prof", {}, {{"sysContact", "", std::string(300, 'c'), 0}});
    dev.profile.max_msg = 484;
    std::vector<TestVar> vars(3, TestVar("1.3.6.1.2.1.1.4.0"));
    TestResponse r = ask(SNMP_MSG_GET, vars);
    EXPECT_EQ(r.errstat, SNMP_ERR_TOOBIG);
    EXPECT_EQ(r.errindex, 0); // as agents commonly send it
    dev.faults.toobig_index = true;
    r = ask(SNMP_MSG_GET, vars);
    EXPECT_EQ(r.errstat, SNMP_ERR_TOOBIG);
    EXPECT_EQ(r.errindex, 2); // the first variable fits, the second does not
    vars.erase(vars.begin() + 1, vars.end());
    EXPECT_EQ(ask(SNMP_MSG_GET, vars).errstat, 0);
}

TEST_F(SimAgent, MaxVarsFaultAnswersLargerRequestsWithTooBig) {
    start("modelj.prof", {"max_vars=2", "toobig_index"});
    std::vector<TestVar> vars = {{OID_SYS_DESCR}, {OID_SYS_NAME}, {OID_SW_REV_MAJOR}};
    TestResponse r = ask(SNMP_MSG_GET, vars);
    EXPECT_EQ(r.errstat, SNMP_ERR_TOOBIG);
    EXPECT_EQ(r.errindex, 3);
    vars.pop_back();
    EXPECT_EQ(ask(SNMP_MSG_GET, vars).errstat, 0);
}

TEST_F(SimAgent, GenErrFaultOnANamedVariable) {
    start("modelj.prof", {"generr=sysName"});
    TestResponse r = ask(SNMP_MSG_GET, {{OID_SYS_DESCR}, {OID_SYS_NAME}});
    EXPECT_EQ(r.errstat, SNMP_ERR_GENERR);
    EXPECT_EQ(r.errindex, 2);
}

TEST_F(SimAgent, BootSilenceFaultLeavesTheBootUnansweredAndTheDeviceMute) {
    start("modelj.prof", {"boot_silence=60000"});
    EXPECT_EQ(ask(SNMP_MSG_SET, {{OID_SYS_NAME, 's', "n"}}).errstat, 0);
    EXPECT_TRUE(exchange(encode_request(SNMP_MSG_SET, {{cat_oid("mrxcBoot"), 'i', "1"}})).empty());
    EXPECT_TRUE(exchange(encode_request(SNMP_MSG_GET, {{OID_SYS_NAME}})).empty());
    EXPECT_TRUE(device_ignores(&dev));
}

TEST_F(SimAgent, WrongCommunityAndOtherVersionsGetNoAnswer) {
    start("modelj.prof");
    EXPECT_TRUE(exchange(encode_request(SNMP_MSG_GET, {{OID_SYS_DESCR}}, 1, "public")).empty());
    EXPECT_TRUE(
        exchange(encode_request(SNMP_MSG_GET, {{OID_SYS_DESCR}}, 1, "vantor", SNMP_VERSION_2c))
            .empty());
    EXPECT_EQ(exchange(encode_request(SNMP_MSG_GET, {{OID_SYS_DESCR}}, 1, "vantor")).size(), 1u);
}

TEST_F(SimAgent, StrayFaultSendsAWrongRequestIdFirst) {
    start("modelj.prof", {"stray"});
    std::vector<std::string> r = exchange(encode_request(SNMP_MSG_GET, {{OID_SYS_DESCR}}, 777));
    ASSERT_EQ(r.size(), 2u);
    EXPECT_NE(decode_response(r[0]).reqid, 777);
    EXPECT_EQ(decode_response(r[1]).reqid, 777);
}

TEST_F(SimAgent, TruncatedAndRandomDatagramsAreIgnored) {
    start("modelj.prof");
    std::string good =
        encode_request(SNMP_MSG_SET, {{OID_SYS_NAME, 's', "abc"}, {OID_MRXC_RESET, 'i', "3"}});
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
