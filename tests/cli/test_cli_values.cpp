// mm_cli against mrxsim: values land where the operator meant. Numbers out
// of their type's range never reach a device on any path, WAN module
// numbers apply per device and only to WAN interfaces, scripts read back
// what they hold, and every verb's status tells whether all was done.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "support/netns.h"
#include "support/sim_process.h"
#include "support/test_dirs.h"

namespace {

const std::string A = "127.0.87.1", B = "127.0.87.2", Q = "127.0.87.3";

// A private copy of the staged installation (site defaults are rewritten).
class CliValues : public testing::Test {
  protected:
    void SetUp() override {
        REQUIRE_NETNS();
        copy_staged_install(dir.path());
    }
    void start(const std::vector<SimDeviceSetup>& devices, const std::vector<std::string>& sets) {
        SimOptions o;
        o.devices = devices;
        o.sets = sets;
        o.control_log = dir.file("control.log");
        sim = std::make_unique<SimProcess>(o);
        ASSERT_TRUE(sim->ready()) << sim->error();
    }
    ProgramResult cli(const std::vector<std::string>& args) { return run_cli(args, dir.path()); }
    std::string script(const std::string& name, const std::string& body) {
        write_file(dir.file(name), "#\n# DB_VERSION: V1.0\n# FORMAT: Parameter Name | Port Type | "
                                   "Port Number | Value\n#\n" +
                                       body);
        return dir.file(name);
    }
    TempDir dir;
    std::unique_ptr<SimProcess> sim;
};

// Every path that sends a typed or file value refuses a number beyond its
// type's range before anything is sent; nothing wraps into a small value.
TEST_F(CliValues, OutOfRangeNumbersAreRefusedOnEveryPath) {
    start({{sim_profile("modelj.prof"), A}}, {});
    const std::string before = cli({"-mrx", A, "show", "-v", "mrxDialoutRetries"}).out;
    struct Path {
        const char* name;
        std::vector<std::string> args; // "V" stands for the value
        const char* refusal;           // in standard output or error
    };
    const Path paths[] = {
        {"set", {"-mrx", A, "-y", "set", "mrxDialoutRetries=V"}, "Invalid Integer Format"},
        {"script", {"-mrx", A, "-y", "script", "exec", "SCRIPT"}, "Invalid Integer Format"},
        {"site default", {"site-default", "mrxDialoutRetries", "V"}, "Invalid Integer Format"},
        {"basic page", {"-mrx", A, "-y", "page", "general", "time-zone=V"}, "must lie between"},
    };
    for (const char* value : {"4294967297", "2147483648", "99999999999999", "-2147483649"}) {
        std::string file =
            script("range.scr", std::string("mrxDialoutRetries | none | 0 | ") + value + "\n");
        for (const Path& p : paths) {
            std::vector<std::string> args = p.args;
            for (std::string& a : args) {
                if (a == "SCRIPT")
                    a = file;
                size_t v = a.find('V');
                if (v != std::string::npos && (v == 0 || a[v - 1] == '='))
                    a.replace(v, 1, value);
            }
            ProgramResult r = cli(args);
            EXPECT_EQ(r.status, 1) << p.name << " " << value;
            EXPECT_TRUE(has(r.out + r.err, p.refusal)) << p.name << " " << value << r.out << r.err;
        }
    }
    EXPECT_EQ(cli({"-mrx", A, "show", "-v", "mrxDialoutRetries"}).out, before);
    EXPECT_TRUE(has(cli({"site-default", "mrxDialoutRetries"}).out, "no site default"));
    EXPECT_EQ(read_file(dir.file("control.log")), "");
}

// A WAN module number means something only for the WAN interface port
// type: async port 1 stays port 1 on a ModelQ and on a ModelJ beside it.
TEST_F(CliValues, WanModuleNumbersApplyPerDeviceToWanInterfacesOnly) {
    start({{sim_profile("modelj.prof"), A}, {sim_profile("modelq.prof"), Q}}, {});
    const std::string both = A + "," + Q;
    ProgramResult r =
        cli({"-mrx", both, "set", "-p", "asy", "-P", "1", "mrxpNetRemoteAddr=10.9.9.9"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(has(r.err, "WAN Module")) << r.err;
    r = cli({"-mrx", both, "show", "-p", "asy", "-P", "1-2", "-v", "mrxpNetRemoteAddr"});
    for (const std::string& dev : {A, Q}) {
        size_t at = r.out.find("MORIX : " + dev);
        ASSERT_NE(at, std::string::npos) << r.out;
        std::string part = r.out.substr(at, 200);
        EXPECT_TRUE(has(part, "(asy port 1) : 10.9.9.9")) << part;
        EXPECT_FALSE(has(part, "(asy port 2) : 10.9.9.9")) << part;
    }
    // Ranges and "all" are port lists again on a WAN device.
    r = cli({"-mrx", Q, "show", "-p", "asy", "-P", "all", "-v", "mrxpNetRemoteAddr"});
    EXPECT_EQ(r.status, 0) << r.err;
}

// Hostile script lines and files: an indented comment, a NUL byte, a
// missing header, leading blanks of a value, a fifo as the file name, and
// a saved comparison over an existing script.
TEST_F(CliValues, ScriptsAndComparisonsKeepWhatTheyHold) {
    start({{sim_profile("modelj.prof"), A}, {sim_profile("modelj.prof"), B}},
          {A + ":sysContact=   three blanks first"});
    ProgramResult r = cli({"-mrx", A, "-y", "script", "exec",
                           script("indent.scr", "   # an indented note\nsysLocation | none | 0 | "
                                                "lab\n")});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    r = cli({"-mrx", A, "-y", "script", "exec",
             script("nul.scr",
                    std::string("sysName | none | 0 | a") + '\0' + "b\nnoSuch | none | 0 | 1\n")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.out, "Invalid script file line.")) << r.out;
    EXPECT_TRUE(has(r.out, "Unknown Parameter Name")) << r.out;

    const std::string own = dir.file("own.scr");
    r = cli({"-mrx", A, "-y", "script", "create", own, "-v", "sysContact"});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    r = cli({"-mrx", A, "compare", "--mrx-file", A, own});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_TRUE(has(r.out, "No differences.")) << r.out;

    write_file(dir.file("nohdr.scr"), "sysContact | none | 0 | x\n");
    r = cli({"-mrx", A, "compare", "--mrx-file", A, dir.file("nohdr.scr")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.err, dir.file("nohdr.scr") + " is not a Morix Manager script.")) << r.err;

    ASSERT_EQ(mkfifo(dir.file("fifo.scr").c_str(), 0600), 0);
    r = cli({"-mrx", A, "-y", "script", "create", dir.file("fifo.scr"), "-v", "sysContact"});
    EXPECT_EQ(r.status, 1);
    struct stat st;
    ASSERT_EQ(stat(dir.file("fifo.scr").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    // The saved differences ask before replacing a script; one kept has a
    // status of its own.
    write_file(dir.file("keep.scr"), "mine\n");
    const std::vector<std::string> cmp = {"compare", "--mrx",      A,    B,
                                          "-v",      "sysContact", "-o", dir.file("keep.scr")};
    std::vector<std::string> args = {"-mrx", A + "," + B};
    args.insert(args.end(), cmp.begin(), cmp.end());
    r = cli(args);
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(has(r.err, "compare: " + dir.file("keep.scr") + " exists; it was not")) << r.err;
    EXPECT_EQ(read_file(dir.file("keep.scr")), "mine\n");
    args.insert(args.begin() + 2, "-y");
    r = cli(args);
    EXPECT_TRUE(has(read_file(dir.file("keep.scr")), "sysContact | none | 0 |    three blanks"))
        << read_file(dir.file("keep.scr"));

    // Code 1 tells which port parameters the port type leaves out.
    r = cli({"-mrx", A + "," + B, "compare", "--mrx", A, B, "--code", "1", "-p", "en", "-v",
             "sysContact,mrxpMode"});
    EXPECT_TRUE(has(r.err, "The port type you selected does not match")) << r.err;
}

// Status 0 only when everything asked was done; otherwise a message on
// standard error for what was not.
TEST_F(CliValues, StatusTellsWhetherEverythingWasDone) {
    start({{sim_profile("modelj.prof"), A}, {sim_profile("modelj.prof"), B}}, {});
    const std::string both = A + "," + B;
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* err_part;
        const char* out_part;
    };
    const Case cases[] = {
        {{"-mrx", both, "-y", "page", "remote-address", "first=10.1.1.1"},
         1,
         "cannot be changed",
         ""},
        {{"-mrx", A, "show", "-v", "nosuchvar,sysName"},
         1,
         "no parameter 'nosuchvar'",
         "sysName : "},
        {{"-mrx", A, "-y", "set", "-P", "0,33,99", "mrxpNetRemoteAddr=10.1.1.1"},
         1,
         "",
         "No set performed."},
        {{"-mrx", A, "script", "exec", script("x.scr", "sysLocation | none | 0 | lab\n")},
         1,
         "Not confirmed (answer with -y)",
         ""},
        {{"-mrx", A, "-y", "boot", "timedBoot", "--time", "12:60"}, 1, "Boot time is invalid", ""},
    };
    for (const Case& c : cases) {
        ProgramResult r = cli(c.args);
        std::string what = c.args[c.args.size() > 3 ? 3 : 0];
        EXPECT_EQ(r.status, c.status) << what << "\n" << r.out << r.err;
        EXPECT_TRUE(has(r.err, c.err_part)) << what << "\n" << r.err;
        EXPECT_TRUE(has(r.out, c.out_part)) << what << "\n" << r.out;
    }
    EXPECT_FALSE(
        has(cli({"-mrx", A, "-y", "set", "-P", "0,33,99", "mrxpNetRemoteAddr=1.1.1.1"}).out,
            "Set complete."));
}

} // namespace
