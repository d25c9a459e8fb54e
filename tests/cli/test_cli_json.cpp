// mm_cli's device list verbs (list, info, discover) and its --json
// documents, run as a program against mrxsim; every document is parsed
// (python3's json module) and its status is the exit status of the same
// run without --json.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "support/netns.h"
#include "support/sim_process.h"
#include "support/test_dirs.h"

namespace {

const std::string A = "127.0.88.1", B = "127.0.88.2", S = "127.0.88.3", Q = "127.0.88.9";

class CliJson : public testing::Test {
  protected:
    void SetUp() override {
        REQUIRE_NETNS();
        // The search device's IP-to-media table lists A, B and a silent Q.
        std::string prof;
        for (const std::string& line :
             {"arp 1 " + A + " 02:00:00:00:00:01 3", "arp 1 " + B + " 02:00:00:00:00:02 3",
              "arp 1 " + Q + " 02:00:00:00:00:09 3"})
            prof += line + "\n";
        std::string base = read_file(sim_profile("modelg.prof"));
        std::string kept;
        for (size_t pos = 0; pos < base.size();) {
            size_t nl = base.find('\n', pos);
            std::string line = base.substr(pos, nl - pos);
            if (line.rfind("arp", 0) != 0)
                kept += line + "\n";
            pos = nl == std::string::npos ? base.size() : nl + 1;
        }
        write_file(tmp.file("search.prof"), kept + prof);
        SimOptions o;
        o.devices = {{sim_profile("modelj.prof"), A},
                     {sim_profile("modelt.prof"), B},
                     {tmp.file("search.prof"), S}};
        o.faults = {B + ":set_refuse=mrxTimeZone"};
        sim = std::make_unique<SimProcess>(o);
        ASSERT_TRUE(sim->ready()) << sim->error();
    }
    TempDir tmp;
    std::unique_ptr<SimProcess> sim;
};

TEST_F(CliJson, ListInfoAndDiscoverBuildTheDeviceList) {
    const std::string quick[] = {"-t", "1", "-r", "0"};
    // Blanks in a name are removed and said, which makes the run a failure.
    ProgramResult r = run_cli({"-mrx", A + ", " + B, "list", "-o", tmp.file("two.lst")});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_TRUE(has(r.err, "Blanks found and removed:\n' " + B + "' ->\n'" + B + "'\n")) << r.err;
    EXPECT_EQ(r.out.rfind("NAME ", 0), 0u) << r.out;
    EXPECT_TRUE(has(r.out, "\n" + A + std::string(24 - A.size() + 1, ' ') + A)) << r.out;
    EXPECT_TRUE(has(r.out, "ModelT               14.1       48")) << r.out;
    EXPECT_EQ(read_file(tmp.file("two.lst")),
              "#\n# DB_VERSION: V1.0\n# FORMAT: Morix Name | Community String | Timeout | "
              "Retries\n#\n" +
                  A + " | vantor | 3 | 2\n" + B + " | vantor | 3 | 2\n");

    // The saved list loads back; a silent device is listed as such.
    r = run_cli({"-l", tmp.file("two.lst"), "-mrx", Q, quick[0], quick[1], quick[2], quick[3],
                 "--json", "list"});
    EXPECT_EQ(r.status, 1) << r.err;
    auto doc = parse_json(r.out);
    EXPECT_EQ(doc["devices.0.product"], "\"ModelJ\"") << r.out;
    EXPECT_EQ(doc["devices.0.timeout"], "1");
    EXPECT_EQ(doc["devices.1.wan_modules"], "2");
    EXPECT_EQ(doc["devices.1.internal_modems"], "24");
    EXPECT_EQ(doc["devices.2.name"], "\"" + Q + "\"");
    EXPECT_EQ(doc["devices.2.result_text"], "\"NOT REACHABLE\"");
    EXPECT_EQ(doc["complete"], "false");

    r = run_cli({"-mrx", B, "info", B});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind(B + " : \n\nMorix ModelT", 0), 0u) << r.out;
    EXPECT_TRUE(has(r.out, "\nInternal Modems F/W Rev:  \n1-24 ")) << r.out;
    doc = parse_json(run_cli({"-mrx", B, "info", B, "--json"}).out);
    EXPECT_EQ(doc["modem_revisions.0.modems"], "\"1-24\"");
    EXPECT_EQ(doc["fields.0.label"], "\"H/W Rev\"");
    EXPECT_EQ(run_cli({"-mrx", B, "info", A}).status, 1);

    // The discovery datagram goes to A alone (a host mask), never to a
    // broadcast address other test programs' simulators hear.
    r = run_cli(
        {"discover", "-dn", A, "-ds", "255.255.255.254", "-dt", "1", "-o", tmp.file("found.lst")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(has(r.out, "\n" + A + " ")) << r.out;
    EXPECT_TRUE(has(read_file(tmp.file("found.lst")), "\n" + A + " | vantor | 3 | 2\n"));
    r = run_cli({"discover", "-dn", "127.0.88.20", "-ds", "255.255.255.254", "-dt", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.err, "No valid Morixes were discovered.")) << r.err;

    r = run_cli({quick[0], quick[1], quick[2], quick[3], "--json", "discover", "--search", S});
    EXPECT_EQ(r.status, 0) << r.err;
    doc = parse_json(r.out);
    EXPECT_EQ(doc["devices.0.name"] + doc["devices.1.name"], "\"" + A + "\"\"" + B + "\"");
    EXPECT_EQ(doc.count("devices.2.name"), 0u);
    r = run_cli({quick[0], quick[1], quick[2], quick[3], "discover", "--search", Q});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.out, "Unable to connect to device, " + Q)) << r.out;
}

// The same run with --json: another report altogether, the same status,
// and the document carries it.
TEST_F(CliJson, EveryDocumentParsesAndKeepsTheTextRunsStatus) {
    write_file(tmp.file("a.scr"), "#\n# DB_VERSION: V1.0\n# FORMAT: Parameter Name | Port Type | "
                                  "Port Number | Value\n#\nmrxpMode | asy | * | slip\n"
                                  "nosuch | none | 0 | 1\n");
    write_file(tmp.file("b.scr"), read_file(tmp.file("a.scr")));
    const std::string two = A + "," + B;
    const std::vector<std::pair<int, std::vector<std::string>>> runs = {
        {0, {"-mrx", two, "show", "-p", "asy", "-P", "2", "-v", "mrxpMode,sysContact"}},
        {1, {"-mrx", A + "," + Q, "-t", "1", "-r", "0", "show", "-v", "sysName"}},
        {0, {"-mrx", A, "status", "asy", "-P", "1"}},
        {1, {"-mrx", Q, "-t", "1", "-r", "0", "status", "mrx"}},
        {1, {"-mrx", two, "compare", "--mrx", A, B, "-v", "sysContact,sysName"}},
        {0, {"-mrx", A, "compare", "--files", tmp.file("a.scr"), tmp.file("b.scr")}},
        {0, {"script", "view", tmp.file("a.scr")}},
        {1, {"script", "view", tmp.file("none.scr")}},
        {0, {"-mrx", A, "page", "ip"}},
        {2, {"-mrx", A, "page", "ip", "nosuch=1"}},
        {0, {"-mrx", A, "list"}},
        {1, {"list"}},
        {0, {"site-default", "sysContact"}},
        {0, {"group", "list"}},
        {1, {"-mrx", A, "set", "mrxDialoutRetries=x"}},
    };
    for (const auto& [status, args] : runs) {
        ProgramResult text = run_cli(args);
        EXPECT_EQ(text.status, status) << text.err;
        std::vector<std::string> json_args = args;
        json_args.push_back("--json");
        ProgramResult json = run_cli(json_args);
        EXPECT_EQ(json.status, text.status) << json.out << json.err;
        auto doc = parse_json(json.out);
        EXPECT_EQ(doc["status"], std::to_string(text.status)) << json.out;
        EXPECT_FALSE(doc["verb"].empty());
        if (doc["verb"] == "\"show\"" && text.status == 0) {
            EXPECT_EQ(doc["devices.1.device"], "\"" + B + "\"");
            EXPECT_EQ(doc["devices.1.values.0.port_type"], "\"asy\"") << json.out;
            EXPECT_EQ(doc["devices.1.values.0.port"], "2");
            EXPECT_EQ(doc["devices.1.values.0.enum_name"], "\"cli\"");
            EXPECT_EQ(doc["devices.1.values.1.port"], "null");
            EXPECT_EQ(doc["devices.1.values.1.value"], "\"network operations\"");
        }
        if (doc["verb"] == "\"script\"" && text.status == 0) {
            EXPECT_EQ(doc["lines.0.all_ports"], "true");
            EXPECT_EQ(doc["lines.0.enum_name"], "\"slip\"");
            EXPECT_EQ(doc["lines.1.problem"], "\"Unknown Parameter Name\"");
        }
    }
}

// The terminal's contract, verb by verb: standard output holds the report
// or one JSON document ("json": it parses) and nothing else ("*": any
// report); every failure is named on standard error with its device or
// file; a file kept because the overwrite was not confirmed has a status
// of its own; a usage error shows one usage line, never the whole usage.
TEST_F(CliJson, TheTerminalContract) {
    // Bytes that are not UTF-8: a surrogate, an overlong form, a code
    // point above U+10FFFF; then a line that does not parse.
    const std::string bytes = "\xed\xa0\x80\xc0\xaf\xf4\x90\x80\x80";
    const std::string head = "#\n# DB_VERSION: V1.0\n# FORMAT: Parameter Name | Port Type | "
                             "Port Number | Value\n#\n";
    write_file(tmp.file("odd.scr"), head + "sysContact | none | 0 | " + bytes + "\nbroken\n");
    write_file(tmp.file("odd2.scr"), head + "sysName | none | 0 | x\n");
    write_file(tmp.file("keep"), "kept\n");
    const std::vector<std::string> quick = {"-mrx", A + "," + Q, "-t", "1", "-r", "0"};
    auto with = [](std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out, err;
        std::string listed = ""; // a device the JSON document lists as not done
    };
    const Case cases[] = {
        {with(quick, {"show", "-v", "sysName"}), 1, "MORIX : " + A,
         "show: " + Q + ": not reachable"},
        {with(quick, {"--json", "show", "-v", "sysName"}), 1, "json", "show: " + Q + ": not"},
        {with(quick, {"list"}), 1, "NAME", "mm_cli list: " + Q + ": NOT REACHABLE.\n"},
        {{"-mrx", A, "list", "-o", tmp.file("keep")}, 3, "NAME", "keep exists; it was not over"},
        {{"-mrx", A, "list", "-o", tmp.file("no/dir/x")}, 1, "NAME", "save list to a file: \n\n/"},
        // script create: a kept file, a silent device, nothing chosen, the
        // ports question declined, a variable that cannot be scripted
        {{"-mrx", A, "script", "create", tmp.file("keep"), "-v", "sysName"}, 3, "", "not overwr"},
        {{"--json", "-mrx", Q, "-t", "1", "-r", "0", "script", "create", tmp.file("q"), "-v",
          "sysContact"},
         1,
         "json",
         "script: " + Q + ": not reachable",
         Q},
        {{"--json", "-mrx", A, "script", "create", tmp.file("n")},
         1,
         "json",
         "You must select at least one parameter.",
         A},
        {{"-mrx", A, "script", "create", tmp.file("p"), "--category", "device,asy"},
         1,
         "",
         "Not confirmed (answer with -y): no script was written."},
        {{"-mrx", A, "-y", "script", "create", tmp.file("e"), "-v", "sysContact,sysName"},
         1,
         "sysName : Parameter cannot be scripted.\n\nScript creation complete with errors.",
         "script create: " + A + ": sysName : Parameter cannot be scripted.\n"},
        {{"--json", "compare", "--files", tmp.file("odd.scr"), tmp.file("odd2.scr")},
         1,
         "json",
         "Invalid " + tmp.file("odd.scr") + " data line: "},
        {{"--json", "script", "view", tmp.file("odd.scr")}, 0, "json", ""},
        {with(quick, {"page", "lat"}), 1, "Groups: ", "mm_cli page: " + Q + ": not reachable."},
        {with(quick, {"--json", "page", "lat"}), 1, "json", "page: " + Q + ": not reachable"},
        {{"-mrx", A + "," + B, "-y", "page", "general", "time-zone=30"},
         1,
         "Time Zone (minutes): \n", // read again: the devices now differ
         "<" + B + "> mrxTimeZone : "},
        {{"-mrx", B, "page", "wan-edit", "--modules=" + B + ":7"}, 1, "", B},
        {{"show", "-p", "asy"}, 2, "", "\nusage: mm_cli [OPTIONS] show [-d]"},
        {{"frobnicate"}, 2, "", "Run 'mm_cli --help'"},
        // The control commands serve A and name the silent Q; the catalogue
        // commands refuse a request and change nothing.
        {with(quick, {"-y", "reset", "4"}), 1, "successful for: \n" + A + "\n",
         "reset: " + Q + " is not reachable"},
        {with(quick, {"-y", "--json", "bcast", "console", "hi"}), 1, "json",
         "bcast: " + Q + " is not reachable"},
        {with(quick, {"-y", "--json", "boot", "cancelBoot"}), 1, "json",
         "boot: " + Q + " is not reachable"},
        {with(quick, {"boot", "shutdown"}), 1, "",
         "the boot was not confirmed; nothing was sent to " + A},
        {{"--json", "site-default", "mrxDialoutRetries", "V"},
         1,
         "json",
         "mrxDialoutRetries : Invalid Integer Format"},
        {{"--json", "group", "create", "General_Parameters", "sysName"},
         1,
         "json",
         "matches a pre-defined parameter group"},
        // the device silent, and with it the file service it names
        {with(quick, {"--json", "modem", "list"}), 1, "json", "modem: " + Q + ": not reach", Q},
        {{"--json", "-mrx", Q, "-t", "1", "-r", "0", "-y", "modem", "remove", "v34"},
         1,
         "json",
         "modem: " + Q + ": not reach",
         Q},
        {with(quick, {"--json", "modems"}), 1, "json", "modems: " + Q + ": not reachable", Q},
        {with(quick, {"--json", "-y", "edit-config"}), 1, "json", "edit-config: " + Q, Q},
        {{"--json", "get-file", "-t", "1", Q, "/bfs/x", tmp.file("got")},
         1,
         "json",
         "get-file: " + Q + ": -3",
         Q},
        {{"--json", "put-file", "-t", "1", tmp.file("keep"), Q, "/bfs/x"},
         1,
         "json",
         "put-file: " + Q + ": -3",
         Q},
        {{"-t", "0", "set", "sysName=x"}, 2, "", "\nusage: mm_cli [OPTIONS] set "},
        {with(quick, {"--json", "copy", "--from", A, "--to", Q}), 1, "json", "copy: " + Q + " is"},
        {with(quick, {"copy", "--from", A, "--to", A}), 1, "", "copy: the copy was not confirmed"},
        {with(quick, {"--json", "status", "asy"}), 1, "json", "enter one or more port numbers"},
        {with(quick, {"compare", "--mrx", A, Q}), 1, "Comparing",
         "compare: Could not get values for: " + Q},
    };
    for (const Case& c : cases) {
        ProgramResult r = run_cli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[c.args.size() - 2] << r.err;
        if (c.out == "json") {
            auto doc = parse_json(r.out);
            EXPECT_FALSE(doc.empty()) << r.out;
            std::string state;
            for (int i = 0; i < 4; ++i)
                if (doc["devices." + std::to_string(i) + ".device"] == "\"" + c.listed + "\"")
                    state = doc["devices." + std::to_string(i) + ".result"];
            EXPECT_TRUE(c.listed.empty() || (!state.empty() && state != "\"done\""))
                << c.listed << " " << r.out;
        } else if (c.out != "*") {
            EXPECT_TRUE(c.out.empty() ? r.out.empty() : has(r.out, c.out)) << r.out;
        }
        EXPECT_TRUE(has(r.err, c.err)) << r.err;
        EXPECT_LT(std::count(r.err.begin(), r.err.end(), '\n'), 8) << r.err;
    }
    EXPECT_EQ(read_file(tmp.file("keep")), "kept\n");
    auto doc = parse_json(run_cli(with(quick, {"--json", "show", "-v", "sysName"})).out);
    EXPECT_EQ(doc["devices.1.device"] + doc["devices.1.result"], "\"" + Q + "\"\"unreachable\"");
    doc = parse_json(run_cli(with(quick, {"-y", "--json", "bcast", "1", "hi"})).out);
    EXPECT_EQ(doc["devices.0.result"] + doc["devices.1.device"] + doc["devices.1.result"],
              "\"done\"\"" + Q + "\"\"unreachable\"");
    EXPECT_EQ(doc["report"], "\"The broadcast operation was successful for: \\n" + A + "\\n\"");
    doc = parse_json(run_cli(with(quick, {"--json", "copy", "--from", A, "--to", Q})).out);
    EXPECT_EQ(doc["devices.0.device"] + doc["devices.0.result"], "\"" + Q + "\"\"unreachable\"");
    doc = parse_json(
        run_cli({"-mrx", A + "," + B, "-y", "--json", "page", "general", "time-zone=30"}).out);
    EXPECT_EQ(doc["result"], "\"failed\"");
    EXPECT_EQ(doc["devices.0.result"] + doc["devices.1.device"], "\"done\"\"" + B + "\"");
    EXPECT_NE(doc["devices.1.result"], "\"done\"");
    doc = parse_json(run_cli({"-mrx", A, "-y", "--json", "script", "create", tmp.file("e"), "-v",
                              "sysContact,sysName"})
                         .out);
    EXPECT_EQ(doc["result"] + doc["written"] + doc["errors.0"],
              "\"failed\"true\"sysName : Parameter cannot be scripted.\"");
    EXPECT_EQ(read_file(tmp.file("e")).find("sysName"), std::string::npos);
    EXPECT_NE(read_file(tmp.file("e")).find("\nsysContact | none | 0 | "), std::string::npos);
    doc = parse_json(run_cli({"--json", "script", "view", tmp.file("odd.scr")}).out);
    EXPECT_EQ(doc["lines.0.value"], "\"\\u00ed\\u00a0\\u0080\\u00c0\\u00af\\u00f4\\u0090\\u0080"
                                    "\\u0080\"");
}

// Every device asked for is unreachable: each verb that serves devices
// refuses, and names every device with its state on standard error and in
// the document (in list order: R sorts before Q).
TEST_F(CliJson, UnreachableDevicesAreNamedByEveryVerb) {
    const std::string R = "127.0.88.8";
    const std::vector<std::vector<std::string>> verbs = {
        {"show", "-v", "sysName"}, {"--json", "show", "-v", "sysName"},
        {"--json", "reset", "1"},  {"--json", "boot", "bootNow"},
        {"set", "sysContact=x"},   {"--json", "status", "mrx"},
    };
    for (const std::vector<std::string>& v : verbs) {
        std::vector<std::string> args = {"-y", "-mrx", Q + "," + R, "-t", "1", "-r", "0"};
        args.insert(args.end(), v.begin(), v.end());
        ProgramResult r = run_cli(args);
        const std::string verb = v[0] == "--json" ? v[1] : v[0];
        EXPECT_EQ(r.status, 1) << verb << r.err;
        for (const std::string& d : {Q, R})
            EXPECT_TRUE(has(r.err, "mm_cli " + verb + ": " + d + ": not reachable")) << r.err;
        if (v[0] != "--json")
            continue;
        auto doc = parse_json(r.out);
        EXPECT_EQ(doc["devices.0.device"] + doc["devices.0.result"] + doc["devices.1.device"] +
                      doc["devices.1.result"],
                  "\"" + R + "\"\"unreachable\"\"" + Q + "\"\"unreachable\"")
            << r.out;
    }
}

// A command that serves the reachable devices lists the silent ones too,
// whichever verb printed it: the guarantee is the printer's, not each verb's.
TEST_F(CliJson, ServedRunsListTheSilentDevicesAskedFor) {
    const std::vector<std::vector<std::string>> verbs = {
        {"set", "sysContact=x"}, {"undo"}, {"page", "ip"}, {"send-traps-here"}, {"modems"}};
    for (const std::vector<std::string>& v : verbs) {
        std::vector<std::string> args = {"-y", "--json", "-mrx", A + "," + Q, "-t", "1", "-r", "0"};
        args.insert(args.end(), v.begin(), v.end());
        ProgramResult r = run_cli(args);
        EXPECT_EQ(r.status, 1) << v[0] << r.err;
        EXPECT_TRUE(has(r.err, "mm_cli " + v[0] + ": " + Q + ": not reachable")) << v[0] << r.err;
        auto doc = parse_json(r.out);
        std::string listed;
        for (int i = 0; i < 3; ++i)
            if (doc["devices." + std::to_string(i) + ".device"] == "\"" + Q + "\"")
                listed = doc["devices." + std::to_string(i) + ".result"];
        EXPECT_EQ(listed, "\"unreachable\"") << v[0] << r.out;
    }
}

// Completion names come from the installed catalogue and pages.
// The exit status comes from the commands' result codes, never from their
// words: the same runs with the program's sentences reworded (MM_REWORD, a
// seam of the headless services) end with the same status.
TEST_F(CliJson, RewordedMessagesLeaveTheStatus) {
    struct Case {
        std::vector<std::string> args;
        std::string from, to;
        int status;
    };
    const Case cases[] = {
        {{"-mrx", A, "-y", "set", "sysContact=reworded"}, "Set complete.", "Set failed.", 0},
        {{"-mrx", A, "-y", "set", "mrxDialoutRetries=4294967297"},
         "Invalid Integer Format",
         "Set complete.",
         1},
        {{"-mrx", A, "show", "-v", "sysContact"}, "sysContact", "Operation cancelled.", 0},
    };
    for (const Case& c : cases) {
        ProgramResult plain = run_cli(c.args);
        ProgramResult other = run_cli(c.args, "", {"MM_REWORD=" + c.from + "=>" + c.to});
        EXPECT_EQ(plain.status, c.status) << c.args.back() << plain.out << plain.err;
        EXPECT_EQ(other.status, plain.status) << c.args.back() << other.out << other.err;
        EXPECT_TRUE(has(plain.out + plain.err, c.from)) << c.args.back();
        EXPECT_TRUE(has(other.out + other.err, c.to)) << c.args.back() << other.out << other.err;
    }
}

TEST(CliCompletion, CompletesVariablesAndPageFields) {
    const char* install = std::getenv("MM_SOURCE_INSTALL");
    const std::string src = std::string(install ? install : "install") + "/..";
    auto complete = [&](const std::string& words, int cword) {
        return run_program({"bash", "-c",
                            "source " + src + "/src/cli/mm_cli.bash; COMP_WORDS=(" + words +
                                "); COMP_CWORD=" + std::to_string(cword) +
                                "; _mm_cli; echo \"${COMPREPLY[*]}\""},
                           20000, {"GUI_MM_DIR=" + staged_install_dir()})
            .out;
    };
    const std::string m = staged_install_dir() + "/../src/cli/mm_cli";
    EXPECT_EQ(complete(m + " show -v sysCon", 3), "sysContact\n");
    EXPECT_EQ(complete(m + " show -v sysName,sysCon", 3), "sysName,sysContact\n");
    EXPECT_EQ(complete(m + " page ip rip-rec", 3), "rip-receive=\n");
    EXPECT_EQ(complete(m + " disc", 1), "discover\n");
}

} // namespace
