// The simulator against Debian's Net-SNMP command-line tools over real UDP
// (inside the test's private network namespace).
#include <gtest/gtest.h>

#include <sstream>

#include "sim_test_util.h"
#include "support/sim_process.h"
#include "support/test_dirs.h"

namespace {

const std::string DEV = "127.0.4.2";
const std::string DEV_SMALL = "127.0.4.3";  // answers tooBig above 484 bytes
const std::string DEV_LOCKED = "127.0.4.4"; // mrxAllowSets = 2
const std::string E = "1.3.6.1.4.1.32473";

class SimTools : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        load_test_catalogue();
        tmp = new TempDir();
        SimOptions o;
        o.devices = {{sim_profile("modelj.prof"), DEV},
                     {sim_profile("modelg.prof"), DEV_SMALL},
                     {sim_profile("modelg.prof"), DEV_LOCKED}};
        o.control_log = tmp->file("control.log");
        o.sets = {DEV_SMALL + ":sysContact=" + std::string(200, 'c'),
                  DEV_LOCKED + ":mrxAllowSets=2"};
        sim = new SimProcess(o);
    }
    static void TearDownTestSuite() {
        delete sim;
        delete tmp;
    }
    void SetUp() override { ASSERT_TRUE(sim->ready()) << sim->error(); }

    // Runs an SNMP tool with numeric output, one try, one second.
    ProgramResult tool(const std::string& name, std::vector<std::string> args,
                       const std::string& community = "vantor") {
        std::vector<std::string> argv = {name, "-v1", "-c", community, "-On", "-t", "1", "-r", "0"};
        argv.insert(argv.end(), args.begin(), args.end());
        return run_program(argv, 20000,
                           {"MIBS=", "SNMP_PERSISTENT_DIR=" + tmp->path(), "HOME=" + tmp->path()});
    }

    static std::vector<std::string> lines(const std::string& text) {
        std::vector<std::string> out;
        std::istringstream in(text);
        std::string l;
        while (std::getline(in, l))
            out.push_back(l);
        return out;
    }

    static TempDir* tmp;
    static SimProcess* sim;
};

TempDir* SimTools::tmp = nullptr;
SimProcess* SimTools::sim = nullptr;

TEST_F(SimTools, GetShowsTheProfileValues) {
    ProgramResult r =
        tool("snmpget", {DEV, "1.3.6.1.2.1.1.1.0", "1.3.6.1.2.1.1.2.0", cat_oid("swRevMinor")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("STRING: \"Morix ModelJ remote access server, release 14.1\""),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("OID: ." + E + ".1.3.10"), std::string::npos);
    EXPECT_NE(r.out.find("." + cat_oid("swRevMinor") + " = INTEGER: 1"), std::string::npos);
}

TEST_F(SimTools, WalkIsStrictlyIncreasingAndEnds) {
    ProgramResult r = tool("snmpwalk", {"-Cc", DEV, "1.3.6.1"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> ls = lines(r.out);
    ASSERT_GT(ls.size(), 1000u);
    std::vector<unsigned long> prev;
    std::string last;
    size_t checked = 0;
    for (const std::string& l : ls) {
        if (l.empty() || l[0] != '.')
            continue; // continuation of a multi-line string
        std::vector<unsigned long> cur;
        std::istringstream in(l.substr(1, l.find(' ') - 1));
        std::string part;
        while (std::getline(in, part, '.'))
            cur.push_back(std::stoul(part));
        ASSERT_LT(prev, cur) << l;
        prev = cur;
        last = l.substr(0, l.find(' '));
        checked++;
    }
    EXPECT_GT(checked, 1000u);
    // snmpgetnext past the last object: noSuchName
    ProgramResult n = tool("snmpgetnext", {DEV, last});
    EXPECT_NE(n.err.find("noSuchName"), std::string::npos) << n.out << n.err;
}

TEST_F(SimTools, GetNextCrossesFromTheSystemGroupToInterfaces) {
    ProgramResult r = tool("snmpgetnext", {DEV, "1.3.6.1.2.1.1.7.0", "1.3.6.1.2.1.4.22"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find(".1.3.6.1.2.1.2.1.0 = INTEGER:"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(".1.3.6.1.2.1.4.22.1.1.1.127.0.0.1 = INTEGER: 1"), std::string::npos)
        << r.out;
}

TEST_F(SimTools, SetThenGetSeesTheNewValueAndControlSetsAreLogged) {
    ProgramResult r =
        tool("snmpset", {DEV, "1.3.6.1.2.1.1.6.0", "s", "row 9", cat_oid("mrxcReset"), "i", "13"});
    ASSERT_EQ(r.status, 0) << r.err;
    r = tool("snmpget", {DEV, "1.3.6.1.2.1.1.6.0", cat_oid("mrxcReset")});
    EXPECT_NE(r.out.find("STRING: \"row 9\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("INTEGER: 13"), std::string::npos) << r.out;
    EXPECT_NE(read_file(tmp->file("control.log")).find(DEV + " mrxcReset 0 13\n"),
              std::string::npos);
}

TEST_F(SimTools, RefusedSetsNameTheirVariable) {
    ProgramResult r =
        tool("snmpset", {DEV, "1.3.6.1.2.1.1.6.0", "s", "x", cat_oid("swRevMajor"), "i", "3"});
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("readOnly"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Failed object: ." + cat_oid("swRevMajor")), std::string::npos) << r.err;
    r = tool("snmpset", {DEV, cat_oid("mrxcReset"), "i", "20"});
    EXPECT_NE(r.err.find("badValue"), std::string::npos) << r.err;
    r = tool("snmpset", {DEV, cat_oid("mrxcReset"), "s", "13"});
    EXPECT_NE(r.err.find("badValue"), std::string::npos) << r.err;
    r = tool("snmpset", {DEV_LOCKED, "1.3.6.1.2.1.1.6.0", "s", "x"});
    EXPECT_NE(r.err.find("readOnly"), std::string::npos) << r.err;
}

TEST_F(SimTools, BogusObjectGivesNoSuchNameAtItsIndex) {
    ProgramResult r = tool("snmpget", {DEV, "1.3.6.1.2.1.1.1.0", "1.3.6.1.2.1.1.42.0"});
    EXPECT_NE(r.err.find("noSuchName"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Failed object: .1.3.6.1.2.1.1.42.0"), std::string::npos) << r.err;
}

TEST_F(SimTools, TooBigAtTheConfiguredSize) {
    // modelg.prof allows 1472 bytes; three 200-byte contacts fit
    ProgramResult r =
        tool("snmpget", {DEV_SMALL, "1.3.6.1.2.1.1.4.0", "1.3.6.1.2.1.1.4.0", "1.3.6.1.2.1.1.4.0"});
    EXPECT_EQ(r.status, 0) << r.err;
    std::vector<std::string> args = {DEV_SMALL};
    for (int i = 0; i < 8; i++)
        args.push_back("1.3.6.1.2.1.1.4.0");
    r = tool("snmpget", args);
    EXPECT_NE(r.err.find("tooBig"), std::string::npos) << r.out << r.err;
}

TEST_F(SimTools, WrongCommunityTimesOut) {
    ProgramResult r = tool("snmpget", {DEV, "1.3.6.1.2.1.1.1.0"}, "public");
    EXPECT_NE(r.status, 0);
    EXPECT_NE((r.out + r.err).find("Timeout"), std::string::npos) << r.out << r.err;
}

} // namespace
