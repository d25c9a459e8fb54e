// Every change path of mm_cli against the simulator, for an operator not in
// the users list, an undo folder that cannot be written, a value the device
// refuses and an ordinary change: what reached the device (request log),
// what the undo journal holds, what the next undo restores, and the exit
// status.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "support/netns.h"
#include "support/sim_process.h"
#include "support/test_dirs.h"

namespace {

namespace fs = std::filesystem;
const std::string A = "127.0.64.1", R = "127.0.64.2", S = "127.0.64.3", L = "127.0.64.4";

class CliChange : public testing::Test {
  protected:
    void SetUp() override {
        REQUIRE_NETNS();
        copy_staged_install(dir.path());
        SimOptions o;
        for (const std::string& a : {A, R, S, L})
            o.devices.push_back({sim_profile("modelj.prof"), a});
        o.faults = {
            R + ":set_refuse=mrxDialoutRetries,set_refuse=mrxTimeZone,set_ignore=sysContact",
            L + ":delay=400"};
        o.sets = {S + ":mrxDialoutRetries=7", S + ":sysLocation=" + std::string(250, 'x')};
        o.request_log = dir.file("requests.log");
        sim = std::make_unique<SimProcess>(o);
        ASSERT_TRUE(sim->ready()) << sim->error();
        write_file(dir.file("x.scr"),
                   "#\n# DB_VERSION: V1.0\n# FORMAT: Parameter Name | Port Type "
                   "| Port Number | Value\n#\nmrxDialoutRetries | none | 0 | 7\n");
    }
    // Runs mm_cli; "D" stands for dev, "S,D" for the copy source and dev.
    ProgramResult cli(std::vector<std::string> args, const std::string& dev = A) {
        for (std::string& a : args)
            a = a == "D" ? dev : a == "S,D" ? S + "," + dev : a == "X" ? dir.file("x.scr") : a;
        return run_cli(args, dir.path());
    }
    // Sets dev was sent since the last call.
    int sets_to(const std::string& dev) {
        std::ifstream in(dir.file("requests.log"));
        std::string line;
        int n = 0;
        size_t i = 0;
        for (; std::getline(in, line); ++i)
            if (i >= seen[dev] && line.rfind(dev + " S ", 0) == 0)
                ++n;
        seen[dev] = i;
        return n;
    }
    std::vector<std::string> journal(const std::string& dev) {
        std::vector<std::string> out;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(undo, ec))
            if (e.path().filename().string().rfind(dev + "_", 0) == 0)
                out.push_back(e.path().string());
        std::sort(out.begin(), out.end());
        return out;
    }
    TempDir dir;
    std::string undo = dir.file("data/mrx_scripts/undo");
    std::unique_ptr<SimProcess> sim;
    std::map<std::string, size_t> seen;
};

TEST_F(CliChange, EveryPathSendsKeepsAndUndoesOnlyWhatReachedTheDevice) {
    const struct {
        const char* name;
        std::vector<std::string> change, read;
    } paths[] = {
        {"set",
         {"-mrx", "D", "-y", "set", "mrxDialoutRetries=7"},
         {"-mrx", "D", "show", "-v", "mrxDialoutRetries"}},
        {"script exec",
         {"-mrx", "D", "-y", "script", "exec", "X"},
         {"-mrx", "D", "show", "-v", "mrxDialoutRetries"}},
        {"copy",
         {"-mrx", "S,D", "-y", "copy", "--from", S, "--to", "D", "-v", "mrxDialoutRetries"},
         {"-mrx", "D", "show", "-v", "mrxDialoutRetries"}},
        {"basic page",
         {"-mrx", "D", "-y", "page", "general", "time-zone=30"},
         {"-mrx", "D", "page", "general"}},
    };
    fs::create_directories(undo);
    for (const auto& p : paths) {
        SCOPED_TRACE(p.name);
        sets_to(A), sets_to(R);
        const std::string before = cli(p.read).out;
        size_t kept = journal(A).size();
        // Not in the users list: refused before anything is sent.
        const std::string users = read_file(dir.file("bin/users.list"));
        write_file(dir.file("bin/users.list"), "somebody\n");
        ProgramResult r = cli(p.change);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(has(r.err, "the users.list file.")) << r.err;
        EXPECT_EQ(sets_to(A), 0);
        write_file(dir.file("bin/users.list"), users);
        // No undo folder can be made: nothing is sent.
        fs::rename(undo, undo + ".kept");
        write_file(undo, "");
        r = cli(p.change);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(sets_to(A), 0);
        EXPECT_TRUE(has(r.out + r.err, "Nothing was set: the undo script could not be written"))
            << r.out << r.err;
        fs::remove(undo);
        fs::rename(undo + ".kept", undo);
        // The device refuses the value: sent, but nothing it took to undo.
        r = cli(p.change, R);
        EXPECT_EQ(r.status, 1) << r.out;
        EXPECT_GT(sets_to(R), 0);
        EXPECT_TRUE(journal(R).empty());
        // Ordinary: one journal entry, and the next undo restores the value.
        r = cli(p.change);
        EXPECT_EQ(r.status, 0) << r.out << r.err;
        EXPECT_GT(sets_to(A), 0);
        ASSERT_EQ(journal(A).size(), kept + 1);
        EXPECT_NE(cli(p.read).out, before);
        r = cli({"-mrx", "D", "-y", "undo"});
        EXPECT_EQ(r.status, 0) << r.out << r.err;
        EXPECT_EQ(cli(p.read).out, before);
    }
    // The refusals left nothing to undo on R.
    ProgramResult r = cli({"-mrx", "D", "-y", "undo"}, R);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.out, "<" + R + ">  No undo script.")) << r.out;
}

// Every failure of a change is said on standard error naming the device
// and the variable, never in window wording; --json lists each device
// with its result and keeps the text run's status.
TEST_F(CliChange, FailuresOfAChangeNameDeviceAndVariable) {
    const struct {
        std::vector<std::string> args;
        std::string dev;
        int status;
        std::string err, result;
    } cases[] = {
        {{"set", "mrxDialoutRetries=4294967297"},
         A,
         1,
         "<" + A +
             "> mrxDialoutRetries : Invalid Integer Format: mrxDialoutRetries takes "
             "-2147483648 to 2147483647, not 4294967297",
         "refused"},
        {{"set", "mrxDialoutRetries=3"},
         R,
         1,
         "<" + R + "> mrxDialoutRetries : Parameter cannot be set to this value.",
         "refused"},
        {{"set", "sysContact=new"}, R, 1, "<" + R + "> Verify: sysContact reads ", "unread"},
        {{"script", "exec", "X"}, R, 1, "<" + R + "> mrxDialoutRetries : Parameter", "refused"},
        {{"undo"}, S, 1, "<" + S + ">  No undo script.", "refused"},
        {{"send-traps-here", "--address", "127.0.0.1"}, A, 0, "", "done"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"-mrx", "D", "-y"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        ProgramResult r = cli(args, c.dev);
        SCOPED_TRACE(c.args[0] + " " + c.args.back());
        EXPECT_EQ(r.status, c.status) << r.out << r.err;
        EXPECT_TRUE(has(r.err, c.err)) << r.err;
        EXPECT_FALSE(has(r.out + r.err, "Show Values") || has(r.out + r.err, "message box"));
        args.push_back("--json");
        r = cli(args, c.dev);
        auto doc = parse_json(r.out);
        EXPECT_EQ(doc["status"], std::to_string(c.status)) << r.out;
        EXPECT_EQ(doc["devices.0.device"] + doc["devices.0.result"],
                  "\"" + c.dev + "\"\"" + c.result + "\"")
            << r.out;
    }
    // The trap settings' reset follow-up is answered with -y.
    auto doc = parse_json(cli({"-mrx", "D", "-y", "--json", "send-traps-here"}).out);
    EXPECT_EQ(doc["questions.0.kind"] + doc["reset"], "\"reset\"\"done\"");
}

// Ctrl-C while a device is slow to answer its Set: said on standard error,
// a failure status, and the one document lists every device, the one left
// unserved as cancelled.
TEST_F(CliChange, CtrlCDuringASlowSetIsSaidAndEveryDeviceListed) {
    ProcessLaunch launch;
    launch.argv = {cli_binary(), "-mrx", A + "," + L,      "-t", "20", "-r", "0", "-y",
                   "--json",     "set",  "sysContact=late"};
    launch.env = {"GUI_MM_DIR=" + dir.path()};
    Process cli_run(launch);
    // Waits (bounded) until the slow device has taken its Set request.
    for (int i = 0; i < 3000 && !has(read_file(dir.file("requests.log")), L + " S "); ++i)
        ASSERT_EQ(cli_run.wait(10), -2) << cli_run.err();
    ASSERT_EQ(kill(cli_run.pid(), SIGINT), 0);
    EXPECT_EQ(cli_run.wait(30000), 1);
    EXPECT_TRUE(
        has(cli_run.err(), "mm_cli set: interrupted (Ctrl-C); the operation was cancelled."))
        << cli_run.err();
    auto doc = parse_json(cli_run.out());
    EXPECT_EQ(doc["devices.0.device"] + doc["devices.1.device"], "\"" + A + "\"\"" + L + "\"");
    EXPECT_EQ(doc["devices.1.result"], "\"cancelled\"") << cli_run.out();
    EXPECT_EQ(doc["status"], "1");
}

// An internal modem's state cannot be written back by a script: the change
// is sent without a stray message, its journal entry names what it leaves
// out, and the undo after it says so and fails.
TEST_F(CliChange, ModemStateIsKeptAsLeftOutAndItsUndoFails) {
    ProgramResult r = cli({"-mrx", "D", "-y", "modems", "set", "busy", A + ":1"});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_FALSE(has(r.out, "Some values may have been set"));
    EXPECT_GT(sets_to(A), 0);
    ASSERT_EQ(journal(A).size(), 1u);
    EXPECT_TRUE(has(read_file(journal(A)[0]), "# Left out: ")) << read_file(journal(A)[0]);
    r = cli({"-mrx", "D", "-y", "undo"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.out, "cannot be undone: ")) << r.out;
}

// An old value too long for a script line: nothing is sent unless the
// operator accepts it; then the journal names it, and its undo fails.
TEST_F(CliChange, ValueUndoCannotWriteBackIsSentOnlyWhenAccepted) {
    const std::vector<std::string> change = {"-mrx", "D", "-y", "set", "sysLocation=short"};
    ProgramResult r = cli(change, S);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(sets_to(S), 0);
    EXPECT_TRUE(has(r.out, "undo could not write back the current value of sysLocation")) << r.out;
    r = cli({"-mrx", "D", "-y", "--accept-no-undo", "set", "sysLocation=short"}, S);
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_GT(sets_to(S), 0);
    ASSERT_EQ(journal(S).size(), 1u);
    EXPECT_TRUE(has(read_file(journal(S)[0]),
                    "# Left out: sysLocation: its value cannot be written back\n"));
    r = cli({"-mrx", "D", "-y", "undo"}, S);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.out, "cannot be undone: sysLocation")) << r.out;
}

// The automatic reset after a WAN-interface change resets the WAN module of
// each device exactly as reset code 97 does for it, never an async port.
TEST(CliWanReset, ResetsTheModuleAsCode97Does) {
    REQUIRE_NETNS();
    TempDir dir;
    copy_staged_install(dir.path());
    const std::string Q = "127.0.64.11", T = "127.0.64.12", U = "127.0.64.13";
    SimOptions o;
    o.devices = {{sim_profile("modelq.prof"), Q},
                 {sim_profile("modelt.prof"), T},
                 {sim_profile("modelu.prof"), U}};
    o.control_log = dir.file("control.log");
    SimProcess sim(o);
    ASSERT_TRUE(sim.ready()) << sim.error();
    auto resets = [&] {
        std::vector<std::string> lines;
        std::ifstream in(o.control_log);
        for (std::string l; std::getline(in, l);)
            lines.push_back(l);
        std::sort(lines.begin(), lines.end());
        std::ofstream(o.control_log, std::ios::trunc);
        return lines;
    };
    const std::string all = Q + "," + T + "," + U;
    ProgramResult r = run_cli({"-mrx", all, "-y", "reset", "97", "-P", "1"}, dir.path());
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> by_code = resets();
    ASSERT_EQ(by_code.size(), 3u);
    r = run_cli({"-mrx", all, "-y", "page", "wan-edit",
                 "--modules=" + Q + ":1," + T + ":1," + U + ":1", "line-buildout=-7.5dB"},
                dir.path());
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(resets(), by_code) << r.out << r.err;
}

} // namespace
