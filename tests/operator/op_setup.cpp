// The Setup window driven as an operator: opened at its natural size the
// first time, a field changed and applied on the pages that hold plain
// fields (read back from the device), every other page, its continuation
// windows and the modem editor opened.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <memory>

#include "frame/gui_run.h"
#include "operator/operator.h"

namespace {

bool g_ready = false;
std::unique_ptr<SimProcess> g_sim;

const char* const A = "127.0.84.1";
const char* const J = "<127.0.84.1> : ModelJ";
const char* const LH = "127.0.84.9";

const char* const ANY = "Setup: *";

// Opens the Setup window unless one of its pages is on screen.
Step ensure_setup() {
    auto opener = std::make_shared<Step>(click(MAIN, "Setup..."));
    auto clicked = std::make_shared<bool>(false);
    return check("the Setup window is open", [=]() -> std::string {
        for (const std::string& t : window_titles())
            if (t.rfind("Setup: ", 0) == 0 && t.find("(continued)") == std::string::npos)
                return "";
        if (!*clicked && opener->act().empty())
            *clicked = true;
        return "opening it";
    });
}

// Runs first: the window's first opening is the one that matters.
TEST(OpSetup, FirstOpeningAndOneApplyPerPage) {
    NEED_PROGRAM();
    const char* G = "Setup: General";
    EXPECT_EQ(
        run_scenario("setup_general",
                     {select_item(MAIN, "mrx_list", J), click(MAIN, "Setup..."), wait_window(G),
                      expect_natural_size(G), type_into(G, "Time Zone (minutes):", "60"),
                      click(G, "Apply"), answer_if_asked("Reset Parameters", "Cancel"),
                      answer_if_asked("Message", "OK"), device_has(A, "mrxTimeZone", "60")}),
        "");
    struct Page {
        const char *category, *field, *value, *var;
    };
    const Page pages[] = {{"IP", "Subnet Mask:", "255.255.0.0", "mrxSubnetMask"},
                          {"AppleTalk", "Zone:", "oplab", "mrxAppleTalkZone"},
                          {"LAT", "Server Name:", "opsrv", "mrxServerName"},
                          {"Snmp Traps", "Call End Threshold:", "7", "callEndTrapThresh"}};
    for (const Page& p : pages) {
        std::string title = std::string("Setup: ") + p.category;
        EXPECT_EQ(
            run_scenario(std::string("setup_") + p.category,
                         {ensure_setup(), toggle(ANY, p.category, true), wait_window(title),
                          expect_natural_size(title), type_into(title, p.field, p.value),
                          click(title, "Apply"), answer_if_asked("Reset Parameters", "Cancel"),
                          answer_if_asked("Message", "OK"), device_has(A, p.var, p.value)}),
            "")
            << p.category;
    }
}

TEST(OpSetup, EveryOtherPageOpens) {
    NEED_PROGRAM();
    for (const char* category :
         {"IPX", "Remote Address", "PPP Dial Access", "Basic Dial Access", "General"}) {
        std::string title = std::string("Setup: ") + category;
        EXPECT_EQ(run_scenario(std::string("setup_") + category,
                               {ensure_setup(), toggle(ANY, category, true), wait_window(title),
                                expect_natural_size(title)}),
                  "")
            << category;
    }
    const char* at = "Setup: General";
    const char* C = "Setup: General (continued)";
    EXPECT_EQ(
        run_scenario("setup_general_continued",
                     {ensure_setup(), toggle(ANY, "General", true), wait_window(at),
                      click(at, "More..."), wait_window(C), expect_natural_size(C),
                      type_into(C, "Time Server:", "127.0.84.9"), click(C, "OK"), wait_closed(C),
                      click(at, "Apply"), answer_if_asked("Reset Parameters", "Cancel"),
                      answer_if_asked("Message", "OK"),
                      device_has(A, "mrxTimeServerAddr", "127.0.84.9")}),
        "");
}

TEST(OpSetup, AsyncPortsAndTheModemEditor) {
    NEED_PROGRAM();
    const char* P = "Setup: Async Ports Edit";
    EXPECT_EQ(
        run_scenario("setup_async_modem",
                     {ensure_setup(), toggle(ANY, "Async Ports Edit", true), wait_window(P),
                      type_into(P, "Ports (e.g. 1-4,7 or all):", "1-4"), click(P, "Read Ports"),
                      click(P, "Edit Modem..."), wait_window("Edit Modem"),
                      wait_text("Edit Modem", "Modem Name", "demo_v90"),
                      click("Edit Modem", "Cancel"), wait_closed("Edit Modem"),
                      click(P, "Add Async Port..."), wait_window("Setup: Async Ports (continued)"),
                      click("Setup: Async Ports (continued)", "Close"),
                      answer_if_asked("Question", "OK"), click(P, "Close"),
                      answer_if_asked("Question", "OK"), wait_closed(P)}),
        "");
}

// The WAN module page of a device that has one, and its edit window.
TEST(OpSetup, WanModuleEdit) {
    NEED_PROGRAM();
    const char* W = "Setup: Wan Module Edit";
    EXPECT_EQ(run_scenario("setup_wan",
                           {select_item(MAIN, "mrx_list", "<127.0.84.2> : ModelQ"), ensure_setup(),
                            toggle(ANY, "Wan Module Edit", true), wait_window(W),
                            select_item(W, "pg_wan_list", "127.0.84.2"), click(W, "Edit..."),
                            check("the edit window is open",
                                  []() -> std::string {
                                      int n = 0;
                                      for (const std::string& t : window_titles())
                                          n += t == "Setup: Wan Module Edit";
                                      return n == 2 ? "" : "it is not";
                                  })}),
              "");
}

} // namespace

int main(int argc, char** argv) {
    const char* b = std::getenv("MM_BUILD_DIR");
    std::string build = b != nullptr ? b : ".";
    // The load host serves a copy of the demonstration configuration file.
    std::string root = build + "/op_setup_root";
    mkdir(root.c_str(), 0755);
    for (const char* f : {"morix.cfg", "modems.inc"}) {
        std::ifstream in(sim_profile("../loadhost/") + f);
        std::ofstream(root + "/" + f) << in.rdbuf();
    }
    GuiTestRun run;
    run.sim.load_host = LH;
    run.sim.root = root;
    run.sim.devices = {{sim_profile("modelj.prof"), A}, {sim_profile("modelq.prof"), "127.0.84.2"}};
    run.sim.sets = {std::string(A) + ":mrxPrefLoadAddr=" + LH, std::string(A) + ":bootHost=" + LH};
    for (int port = 1; port <= 4; ++port)
        run.sim.sets.push_back(std::string(A) + ":mrxpModemVar." + std::to_string(port) +
                               "=demo_v90");
    run.first = A;
    run.added = {"127.0.84.2"};
    run.click_to_type = true;
    run.privileged = true;
    run.skip_status = 77;
    run_gui_tests(argc, argv, run, &g_ready, &g_sim);
}
