// mm_cli run as a program: usage, the show report on standard output,
// warnings on standard error, exit statuses, and -y for the reset question.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "support/netns.h"
#include "support/sim_process.h"
#include "support/test_dirs.h"

namespace {

const std::string A = "127.0.62.1", B = "127.0.62.2";
const std::string STARS(72, '*');

TEST(Cli, UsageErrorsAndHelp) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* err_part;
    };
    const Case cases[] = {
        {{"--help"}, 0, ""},
        {{"show", "--help"}, 0, ""},
        {{}, 2, "no verb given"},
        {{"frobnicate"}, 2, "unknown verb"},
        {{"-t", "0", "show", "-v", "sysName"}, 2, "-t needs"},
        {{"-fsmax", "0", "get-file", "h", "/bfs/a", "b"}, 2, "-fsmax needs a number of bytes"},
        {{"show", "-p", "asy"}, 2, "give either -v or -f"},
        {{"show", "-p", "lpt", "-v", "a"}, 2, "unknown port type"},
        {{"set", "-P", "1"}, 2, "NAME=VALUE"},
        {{"boot", "9"}, 2, "OPTION is 1..7"},
        {{"boot", "bootNow", "--time", "+5"}, 2, "--time is not used by boot option bootNow"},
        {{"reset", "42"}, 2, "CODE is 1..19"},
        {{"reset", "99", "-p", "syn"}, 2, "-p asy or -p ptr"},
        {{"bcast", "1"}, 2, "one MESSAGE"},
        {{"modems", "set", "idle", "a:1"}, 2, "STATE is available or busy"},
        {{"copy", "--to", "b"}, 2, "give --from and --to"},
        {{"copy", "--from", "a", "--to", "b", "--code", "9"}, 2, "--code takes a number"},
        {{"modem"}, 2, "expected list, set NAME"},
        {{"modem", "defaults", "sixteen_chars_xx"}, 2, "NAME has 1 to 15 characters"},
        {{"edit-config", "--reset", "async,boot"}, 2, "unknown reset 'boot'"},
    };
    for (const Case& c : cases) {
        ProgramResult r = run_cli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.size();
        EXPECT_NE(r.err.find(c.err_part), std::string::npos) << r.err;
    }
    ProgramResult help = run_cli({"--help"});
    EXPECT_NE(help.out.find("  show [-d]"), std::string::npos);
    EXPECT_NE(help.out.find("  set [-p TYPE]"), std::string::npos);
}

TEST(Cli, ShowReportWarningsAndResetAnswers) {
    REQUIRE_NETNS();
    TempDir tmp;
    SimOptions o;
    o.devices = {{sim_profile("modelj.prof"), A}, {sim_profile("modelj.prof"), B}};
    o.sets = {B + ":sysContact=night"};
    o.control_log = tmp.file("control.log");
    SimProcess sim(o);
    ASSERT_TRUE(sim.ready()) << sim.error();

    ProgramResult r =
        run_cli({"-mrx", A + "," + B, "-t", "1", "show", "-v", "sysContact", "-P", "1"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    auto dev = [](const std::string& a, const std::string& v) {
        return "\n\n" + STARS + "\n\nMORIX : " + a + "\n\n\nsysContact : " + v + "\n";
    };
    EXPECT_EQ(r.out, dev(A, "network operations") + dev(B, "night") + "\n\n" + STARS + "\n\n");

    // The reset question: Cancel without -y, Reset with it.
    r = run_cli({"-mrx", A, "set", "mrxDialoutRetries=4"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Set complete.\n"), std::string::npos);
    EXPECT_EQ(read_file(o.control_log), "");
    r = run_cli({"-mrx", A, "-y", "set", "mrxDialoutRetries=5", "mrxDialoutEnable=disabled"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(read_file(o.control_log), A + " mrxcReset 0 11\n");
    r = run_cli({"-mrx", A, "show", "-v", "mrxDialoutRetries,mrxDialoutEnable"});
    EXPECT_NE(r.out.find("mrxDialoutRetries : 5\nmrxDialoutEnable : disabled\n"), std::string::npos)
        << r.out;

    // Copy: nothing without the confirmation, then the value reaches B.
    r = run_cli({"-mrx", A + "," + B, "copy", "--from", A, "--to", B, "-v", "mrxDialoutRetries"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("not confirmed (give -y)"), std::string::npos) << r.err;
    r = run_cli(
        {"-mrx", A + "," + B, "-y", "copy", "--from", A, "--to", B, "-v", "mrxDialoutRetries"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Performing copy for: " + B + "\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nCopy complete.\n"), std::string::npos) << r.out;
    r = run_cli({"-mrx", B, "show", "-v", "mrxDialoutRetries"});
    EXPECT_NE(r.out.find("mrxDialoutRetries : 5\n"), std::string::npos) << r.out;

    // Undo: shown but not run without -y; with it B holds its old value.
    for (bool yes : {false, true}) {
        r = run_cli(yes ? std::vector<std::string>{"-mrx", B, "-y", "undo"}
                        : std::vector<std::string>{"-mrx", B, "undo"});
        EXPECT_EQ(r.status, yes ? 0 : 1) << r.err;
        EXPECT_NE(r.out.find("mrxDialoutRetries | none | 0 | 3\n"), std::string::npos) << r.out;
        r = run_cli({"-mrx", B, "show", "-v", "mrxDialoutRetries"});
        EXPECT_NE(r.out.find(yes ? "mrxDialoutRetries : 3\n" : "mrxDialoutRetries : 5\n"),
                  std::string::npos)
            << r.out;
    }
}

// get-file and put-file against the simulator's load host: the byte count
// on success, the code and its explanation with status 1 on failure, and no
// progress line when the output is not a terminal.
TEST(Cli, FileVerbsCopyThroughTheLoadHost) {
    REQUIRE_NETNS();
    TempDir tmp, root;
    write_file(root.file("conf"), std::string(600, 'x'));
    SimOptions o;
    o.load_host = "127.0.62.20";
    o.root = root.path();
    SimProcess sim(o);
    ASSERT_TRUE(sim.ready()) << sim.error();

    ProgramResult r = run_cli({"get-file", o.load_host, "/bfs/conf", tmp.file("got")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "600 bytes copied\n");
    EXPECT_EQ(read_file(tmp.file("got")), std::string(600, 'x'));

    write_file(tmp.file("up"), "modem\n");
    r = run_cli({"put-file", "-t", "2", tmp.file("up"), o.load_host, "/bfs/new"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(read_file(root.file("new")), "modem\n");

    r = run_cli({"get-file", o.load_host, "config", tmp.file("no")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.rfind("-302: ", 0), 0u) << r.out;
    EXPECT_EQ(run_cli({"get-file", o.load_host, "/bfs/conf"}).status, 2);
}

// An interface count that no device can mean is said, and the interfaces
// that exist are still shown.
TEST(Cli, AnImpossibleInterfaceCountIsSaid) {
    REQUIRE_NETNS();
    SimOptions o;
    o.devices = {{sim_profile("modelj.prof"), "127.0.62.30"}};
    o.sets = {"127.0.62.30:ifNumber=2147483647"};
    SimProcess sim(o);
    ASSERT_TRUE(sim.ready()) << sim.error();
    ProgramResult r = run_cli({"-mrx", "127.0.62.30", "status", "itf"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("The interface count (ifNumber) of 127.0.62.30 is 2147483647: only the "
                         "first 1024 interfaces are shown."),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.out.find("\nen1 "), std::string::npos) << r.out;
}

} // namespace

// site-default and group on a copy of the staged tree: the files change as
// the windows change them, questions need -y, and a new group is at once
// usable by show -f.
TEST(Cli, SiteDefaultAndGroupVerbs) {
    TempDir dir;
    copy_staged_install(dir.path());
    const std::string cat = dir.path() + "/data/gui_mm_data/";
    const std::string func_before = read_file(cat + "mib_func.dat");
    const std::string d = dir.path();

    ProgramResult r = run_cli({"site-default", "EnableRadiusAcct", "enabled"}, d);
    EXPECT_EQ(r.status, 0) << r.err;
    r = run_cli({"site-default", "EnableRadiusAcct"}, d);
    EXPECT_EQ(r.out, "EnableRadiusAcct: default disabled, site default enabled\n");
    EXPECT_EQ(run_cli({"site-default", "EnableRadiusAcct", "bogus"}, d).status, 1);
    EXPECT_EQ(run_cli({"site-default", "EnableRadiusAcct", "--remove"}, d).status, 0);
    EXPECT_EQ(run_cli({"site-default", "nosuch", "1"}, d).status, 2);

    r = run_cli({"group", "create", "Night", "sysContact", "sysLocation"}, d);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(run_cli({"group", "list"}, d).out, "Night\n");
    EXPECT_EQ(run_cli({"group", "show", "Night"}, d).out, "sysContact\nsysLocation\n");
    r = run_cli({"group", "create", "Night", "sysName"}, d);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("This parameter group already exists."), std::string::npos);
    EXPECT_EQ(run_cli({"group", "create", "X", "nosuch"}, d).status, 2);
    // Without -y the question is answered No and nothing changes.
    EXPECT_EQ(run_cli({"group", "modify", "Night", "sysName"}, d).status, 1);
    EXPECT_EQ(run_cli({"group", "show", "Night"}, d).out, "sysContact\nsysLocation\n");
    EXPECT_EQ(run_cli({"-y", "group", "modify", "Night", "sysContact"}, d).status, 0);

    if (in_private_netns()) {
        SimOptions o;
        o.devices = {{sim_profile("modelj.prof"), A}};
        SimProcess sim(o);
        ASSERT_TRUE(sim.ready()) << sim.error();
        r = run_cli({"-mrx", A, "-t", "1", "show", "-f", "Night"}, d);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find("sysContact : network operations\n"), std::string::npos) << r.out;
    }

    EXPECT_EQ(run_cli({"group", "delete", "Night"}, d).status, 1);
    EXPECT_EQ(run_cli({"-y", "group", "delete", "Night"}, d).status, 0);
    EXPECT_EQ(run_cli({"group", "list"}, d).out, "");
    EXPECT_EQ(read_file(cat + "mib_func.dat"), func_before);
}
