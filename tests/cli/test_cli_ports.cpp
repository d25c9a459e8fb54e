// mm_cli against mrxsim: one port text names the same ports of a device in
// every verb. For each verb and port text, the WAN interface instances that
// reached each simulated model (from the simulator's request log) and the
// refusals that name the devices lacking a number.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "support/netns.h"
#include "support/sim_process.h"
#include "support/test_dirs.h"

namespace {

const std::string SWITCH_OID = "1.3.6.1.4.1.32473.2.9.3.1.5"; // mrxt1SwitchType
const std::string RESET_OID = "1.3.6.1.4.1.32473.2.9.3.1.4";  // mrxt1ResetPRI
const std::string LINE_OID = "1.3.6.1.2.1.10.18.6.1.10";      // dsx1LineStatus

// Every simulated model with WAN modules, and one without. The modules'
// interface indexes are what the profiles give them.
struct Model {
    const char* profile;
    std::string addr;
    int modules; // 0, 1 or 2 (interfaces 2 and 3)
    const char* status_member;
};
const Model MODELS[] = {
    {"modeln.prof", "127.0.62.101", 1, "t1"},     {"modelp.prof", "127.0.62.102", 1, "t1"},
    {"modelq.prof", "127.0.62.103", 1, "pricsu"}, {"modelr.prof", "127.0.62.104", 1, "t1"},
    {"models.prof", "127.0.62.105", 1, "pricsu"}, {"modelt.prof", "127.0.62.106", 2, "pricsu"},
    {"modelu.prof", "127.0.62.107", 2, "pricsu"}, {"modelj.prof", "127.0.62.108", 0, "t1"},
};
const std::string COPY_SOURCE = "127.0.62.110"; // a second ModelU

// The port texts and the interfaces each kind of device takes from them
// (empty: every number refused, the device named).
struct Text {
    const char* text;
    std::vector<int> one_module, two_modules;
    bool one_refused, two_refused; // a number of the text is refused
};
const Text TEXTS[] = {
    {"1", {2}, {2}, false, false},      // the first module
    {"2", {}, {3}, true, false},        // the last of two; one past the last of one
    {"3", {}, {}, true, true},          // one past the last of two
    {"all", {2}, {2, 3}, false, false}, // every module
    {"0", {}, {}, true, true},          // never a module
    {"1-2", {2}, {2, 3}, true, false},  // a list
};

// A switch type other than the five before it and the simulator's own
// values (the page sends changed fields only).
std::string fresh_switch_type() {
    static const char* const types[] = {
        "DMS-100(T1_ISDN)", "4ESS(T1_ISDN)",         "Japan_NTT",
        "ETS1(E1_ISDN)",    "ETS1(w/o_CRC4)E1_ISDN", "Australia(E1_PRI)"};
    static size_t next = 0;
    return types[next++ % 6];
}

// The text as a verb reads it that leaves out a device lacking a number.
Text refused_sends_nothing(const Model& m, Text t) {
    if (m.modules == 1 ? t.one_refused : t.two_refused)
        t.one_module.clear(), t.two_modules.clear();
    return t;
}

class CliPorts : public testing::Test {
  protected:
    void SetUp() override {
        REQUIRE_NETNS();
        copy_staged_install(dir.path());
        SimOptions o;
        for (const Model& m : MODELS)
            o.devices.push_back({sim_profile(m.profile), m.addr});
        o.devices.push_back({sim_profile("modelu.prof"), COPY_SOURCE});
        o.request_log = dir.file("requests.log");
        sim = std::make_unique<SimProcess>(o);
        ASSERT_TRUE(sim->ready()) << sim->error();
    }
    // Runs mm_cli; the instances of oid that op requests carried since,
    // per device address.
    ProgramResult cli(const std::vector<std::string>& args, const std::string& oid, char op,
                      std::map<std::string, std::vector<int>>* seen) {
        size_t skip = log_lines().size();
        ProgramResult r = run_cli(args, dir.path());
        std::vector<std::string> lines = log_lines();
        for (size_t n = skip; n < lines.size(); ++n) {
            std::istringstream in(lines[n]);
            std::string addr, kind, word;
            in >> addr >> kind;
            while (kind.size() == 1 && kind[0] == op && in >> word) {
                std::string name = word.substr(0, word.find('='));
                if (name.rfind(oid + ".", 0) == 0)
                    (*seen)[addr].push_back(std::stoi(name.substr(oid.size() + 1)));
            }
        }
        return r;
    }
    std::vector<std::string> log_lines() {
        std::vector<std::string> lines;
        std::ifstream in(dir.file("requests.log"));
        for (std::string l; std::getline(in, l);)
            lines.push_back(l);
        return lines;
    }
    // Checks one device's instances and refusal against the table.
    void expect(const Model& m, const Text& t, const std::map<std::string, std::vector<int>>& seen,
                const ProgramResult& r, const std::string& verb) {
        std::vector<int> want = m.modules == 0   ? std::vector<int>{}
                                : m.modules == 1 ? t.one_module
                                                 : t.two_modules;
        bool refused = m.modules == 0 || (m.modules == 1 ? t.one_refused : t.two_refused);
        auto at = seen.find(m.addr);
        std::vector<int> got = at == seen.end() ? std::vector<int>{} : at->second;
        std::sort(got.begin(), got.end());
        got.erase(std::unique(got.begin(), got.end()), got.end());
        std::string where = verb + " -P " + t.text + " on " + m.profile;
        EXPECT_EQ(got, want) << where << "\n" << r.out << r.err;
        std::string named = "<" + m.addr + ">  ";
        std::string why = m.modules == 0 ? "This Morix has no WAN modules"
                                         : "The WAN Module number entered is incorrect";
        EXPECT_EQ(has(r.out + r.err, named + why), refused) << where << "\n" << r.out << r.err;
    }
    std::vector<std::string> with_all(std::vector<std::string> args) {
        std::string all;
        for (const Model& m : MODELS)
            all += (all.empty() ? "" : ",") + m.addr;
        args.insert(args.begin(), {"-mrx", all, "-t", "2"});
        return args;
    }
    TempDir dir;
    std::unique_ptr<SimProcess> sim;
};

// Show, set, copy and reset over every model at once: each device reads the
// same text for itself.
TEST_F(CliPorts, EveryModelReadsTheSameTextInEveryVerb) {
    for (const Text& t : TEXTS) {
        struct Verb {
            const char* name;
            std::vector<std::string> args;
            const std::string& oid;
            char op;
        };
        const Verb verbs[] = {
            {"show",
             {"show", "-p", "ds1inf", "-P", t.text, "-v", "mrxt1SwitchType"},
             SWITCH_OID,
             'G'},
            {"set",
             {"-y", "set", "-p", "ds1inf", "-P", t.text, "mrxt1SwitchType=NI-2(T1_ISDN)"},
             SWITCH_OID,
             'S'},
            {"reset 97", {"-y", "reset", "97", "-P", t.text}, RESET_OID, 'S'},
        };
        for (const Verb& v : verbs) {
            std::map<std::string, std::vector<int>> seen;
            ProgramResult r = cli(with_all(v.args), v.oid, v.op, &seen);
            if (v.name == std::string("reset 97") && t.text == std::string("all")) {
                // A module reset names its modules: "all" is refused for all.
                EXPECT_TRUE(seen.empty()) << r.err;
                EXPECT_TRUE(has(r.err, "enter their\nnumbers instead of \"all\"")) << r.err;
                continue;
            }
            EXPECT_EQ(r.status, 1) << v.name << " " << t.text; // the ModelJ is always refused
            for (const Model& m : MODELS) // a reset leaves out a device it refuses
                expect(m, v.op == 'S' && v.oid == RESET_OID ? refused_sends_nothing(m, t) : t, seen,
                       r, v.name);
        }
        // Copy: module 1 of a ModelU onto the text's modules of every model.
        std::map<std::string, std::vector<int>> seen;
        std::string names;
        for (const Model& m : MODELS)
            names += (names.empty() ? "" : ",") + m.addr;
        ProgramResult r = cli({"-mrx", COPY_SOURCE + "," + names, "-t", "2", "-y", "copy", "--from",
                               COPY_SOURCE, "--to", names, "-p", "ds1inf", "--from-port", "1",
                               "--to-ports", t.text, "-v", "mrxt1SwitchType"},
                              SWITCH_OID, 'S', &seen);
        for (const Model& m : MODELS)
            expect(m, t, seen, r, "copy");
    }
}

// Script creation and execution, the WAN edit page and the T1/PRI status
// work on one device at a time: each model on its own.
TEST_F(CliPorts, OneDeviceVerbsReadTheSameText) {
    for (const Model& m : MODELS) {
        for (const Text& t : TEXTS) {
            std::map<std::string, std::vector<int>> read, written, page, status;
            std::string file = dir.file("ports.scr");
            std::filesystem::remove(file);
            ProgramResult r = cli({"-mrx", m.addr, "-y", "script", "create", file, "-v",
                                   "mrxt1SwitchType", "--ports", std::string("ds1inf=") + t.text},
                                  SWITCH_OID, 'G', &read);
            ProgramResult st = cli({"-mrx", m.addr, "status", m.status_member, "-P", t.text},
                                   LINE_OID, 'G', &status);
            if (m.modules == 0) { // both windows first say there is no WAN port at all
                for (const ProgramResult* x : {&r, &st})
                    EXPECT_TRUE(has(x->out + x->err, "has no DS1 port(s)")) << x->err;
                EXPECT_TRUE(read.empty() && status.empty()) << t.text;
            } else {
                expect(m, t, read, r, "script create");
            }
            // The file names modules as the operator did: executing it
            // writes the interfaces that were read.
            if (std::filesystem::exists(file)) {
                r = cli({"-mrx", m.addr, "-y", "script", "exec", file}, SWITCH_OID, 'S', &written);
                EXPECT_EQ(written, read) << m.profile << " " << t.text << r.out << r.err;
            }
            // The page and the status window refuse a module the device
            // lacks before they send anything; status shows one module.
            Text none = refused_sends_nothing(m, t);
            r = cli({"-mrx", m.addr, "-y", "page", "wan-edit", "--modules=" + m.addr + ":" + t.text,
                     "switch-type=" + fresh_switch_type()},
                    SWITCH_OID, 'S', &page);
            expect(m, none, page, r, "page wan-edit");
            if (m.modules == 0)
                continue;
            if (m.modules == 2 && t.two_modules.size() > 1 && !t.two_refused) {
                EXPECT_TRUE(status.empty()) << m.profile << " " << t.text;
                EXPECT_TRUE(has(st.err, "Enter one WAN module number")) << st.err;
                continue;
            }
            expect(m, none, status, st, std::string("status ") + m.status_member);
        }
    }
}

// A mixed selection: "-P 2" is module 2 of the ModelU, refused on the
// ModelQ (one module) and the ModelJ (none), each named; "-P 1" is module 1
// of both WAN models.
TEST_F(CliPorts, MixedSelectionNamesEachDeviceItsOwnWay) {
    const Model &q = MODELS[2], &u = MODELS[6], &j = MODELS[7];
    std::string three = q.addr + "," + u.addr + "," + j.addr;
    std::map<std::string, std::vector<int>> seen;
    ProgramResult r = cli(
        {"-mrx", three, "-y", "set", "-p", "ds1inf", "-P", "2", "mrxt1SwitchType=NI-2(T1_ISDN)"},
        SWITCH_OID, 'S', &seen);
    EXPECT_EQ(seen, (std::map<std::string, std::vector<int>>{{u.addr, {3}}})) << r.err;
    EXPECT_TRUE(has(r.err, "<" + q.addr +
                               ">  The WAN Module number entered is incorrect: 2 "
                               "(this Morix has WAN modules 1-1; nothing is set on them)."))
        << r.err;
    EXPECT_TRUE(has(r.err, "<" + j.addr +
                               ">  This Morix has no WAN modules; nothing is set on "
                               "them."))
        << r.err;
    EXPECT_FALSE(has(r.err, "allow_snmp_sets")) << r.err;
    seen.clear();
    r = cli({"-mrx", three, "show", "-p", "ds1inf", "-P", "1", "-v", "mrxt1SwitchType"}, SWITCH_OID,
            'G', &seen);
    EXPECT_EQ(seen, (std::map<std::string, std::vector<int>>{{q.addr, {2}}, {u.addr, {2}}}));
}

} // namespace
