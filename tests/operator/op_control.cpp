// The Control menu and the scripts driven as an operator: Boot, Reset and
// Broadcast with harmless options, internal modems, editing the
// configuration file with an editor, scripts created, viewed and executed,
// and the cancel dialog on a device that does not answer. Read back from
// the simulator's control log, the devices and the load host's files.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

#include "frame/gui_run.h"
#include "operator/operator.h"

namespace {

bool g_ready = false;
std::unique_ptr<SimProcess> g_sim;
std::string g_install, g_log, g_root, g_silent_list;

const char* const J = "<127.0.82.1> : ModelJ";
const char* const T = "<127.0.82.2> : ModelT";
const char* const J4 = "<127.0.82.4> : ModelJ";
const char* const LH = "127.0.82.9";

Steps only(const std::string& row) {
    return {select_item(MAIN, "mrx_list", row)};
}

TEST(OpControl, BootResetBroadcast) {
    NEED_PROGRAM();
    EXPECT_EQ(
        run_scenario("boot", only(J) + Steps{menu("Control>Boot..."), wait_window("Boot"),
                                             toggle("Boot", "Cancel Timed Boot", true),
                                             key_in("Boot", "Return"), answer("Confirmation", "OK"),
                                             answer("Boot Message", "OK"),
                                             file_has(g_log, "127.0.82.1 mrxcBoot"),
                                             key_in("Boot", "Escape"), wait_closed("Boot")}),
        "");
    EXPECT_EQ(
        run_scenario("reset", only(J) + Steps{menu("Control>Reset..."), wait_window("Reset"),
                                              toggle("Reset", "Name Servers", true),
                                              click("Reset", "Reset"), answer("Confirmation", "OK"),
                                              file_has(g_log, "127.0.82.1 mrxcReset"),
                                              click("Reset", "Close"), wait_closed("Reset")}),
        "");
    const char* B = "Broadcast";
    EXPECT_EQ(
        run_scenario("broadcast", only(J) + Steps{menu("Control>Broadcast..."), wait_window(B),
                                                  type_into(B, "bcast_text", "lunch at noon"),
                                                  toggle(B, "Console", true), click(B, "Apply"),
                                                  file_has(g_log, "127.0.82.1 mrxcBcast"),
                                                  click(B, "Close"), wait_closed(B)}),
        "");
}

TEST(OpControl, InternalModemsBusyOut) {
    NEED_PROGRAM();
    const char* W = "Internal Modems";
    EXPECT_EQ(run_scenario("internal_modems",
                           only(T) + Steps{menu("Control>Internal Modems..."), wait_window(W),
                                           select_item(W, "int_mdms_d_panes0_list", "127.0.82.2 1"),
                                           toggle(W, "Busy", true), click(W, "Apply"),
                                           device_has("127.0.82.2", "mdmStatState.1", "3"),
                                           click(W, "Close"), wait_closed(W)}),
              "");
}

TEST(OpControl, EditConfigurationWithAnEditor) {
    NEED_PROGRAM();
    const char* E = "Edit Configuration";
    EXPECT_EQ(
        run_scenario("edit_configuration",
                     only(J) + Steps{menu("Control>Edit Configuration File..."), answer(E, "Yes"),
                                     answer("Edit Configuration Reset", "Cancel"),
                                     answer("Warning Message", "OK"),
                                     file_has(g_root + "/morix.cfg", "# edited by op")}),
        "");
}

TEST(OpControl, ScriptsCreateViewExecute) {
    NEED_PROGRAM();
    std::string script = g_install + "/data/mrx_scripts/op_idle.scr";
    const char* C = "Create Script";
    EXPECT_EQ(run_scenario("script_create",
                           only(J) + Steps{toggle(MAIN, "Customize", true),
                                           toggle(MAIN, "Morix Parameters", true),
                                           select_item(MAIN, "func_list", "mrxDialoutIdleTimer"),
                                           menu("Commands>Scripts>Create Script..."),
                                           wait_window(C), toggle(C, "Selected Parameters", true),
                                           click(C, "Create"), wait_window("Script File Selection"),
                                           type_into("Script File Selection", "Selection", script),
                                           click("Script File Selection", "OK"),
                                           file_has(script, "mrxDialoutIdleTimer"),
                                           wait_text(C, "scr_crt_text", "creation complete."),
                                           click(C, "Close"), wait_closed(C)}),
              "");
    // A script of port parameters asks for its ports when made and when run.
    std::string ports = g_install + "/data/mrx_scripts/op_ports.scr";
    const char* CP = "Script Creation Ports";
    EXPECT_EQ(run_scenario(
                  "script_create_ports",
                  only(J) + Steps{menu("Commands>Scripts>Create Script..."), wait_window(C),
                                  toggle(C, "Async Port Parameters", true), click(C, "Create"),
                                  wait_window(CP), type_into(CP, "Async Ports (asy):", "2"),
                                  toggle(CP, "Wildcard Ports", true), click(CP, "OK"),
                                  wait_window("Script File Selection"),
                                  type_into("Script File Selection", "Selection", ports),
                                  click("Script File Selection", "OK"), file_has(ports, "mrxpMode"),
                                  wait_text(C, "scr_crt_text", "creation complete"),
                                  click(C, "Close"), wait_closed(C)}),
              "");
    const char* V = "View Script";
    EXPECT_EQ(run_scenario("script_view",
                           {menu("Commands>Scripts>View Script..."), wait_window(V),
                            select_item(V, "Scripts", script), click(V, "View"),
                            wait_text("(op_idle.scr)", "scr_view_text", "mrxDialoutIdleTimer"),
                            click("(op_idle.scr)", "Close"), wait_closed("(op_idle.scr)")}),
              "");
    const char* X = "Execute Script";
    EXPECT_EQ(
        run_scenario("script_execute",
                     only(J4) +
                         Steps{menu("Commands>Scripts>Execute Script..."), wait_window(X),
                               select_item(X, "Scripts", script), click(X, "Execute"),
                               answer("Confirmation", "OK"),
                               device_has("127.0.82.4", "mrxDialoutIdleTimer", "55"),
                               answer_if_asked("Reset Parameters", "Cancel"),
                               select_item(X, "Scripts", ports), click(X, "Execute"),
                               wait_window("Script Execution Ports"),
                               type_into("Script Execution Ports", "Async Ports (asy):", "3"),
                               click("Script Execution Ports", "OK"), answer("Confirmation", "OK"),
                               answer_if_asked("Reset Parameters", "Cancel"),
                               wait_text(X, "scr_exe_text", "complete"),
                               device_has("127.0.82.4", "mrxpMode.3", "ppp"), click(X, "Close"),
                               wait_closed(X)}),
        "");
}

// Runs last: the list it opens replaces the device list.
TEST(OpControl, CancelDialogOnASilentDevice) {
    NEED_PROGRAM();
    const char* F = "Open Morix List Selection";
    const char* C = "Cancel Load Morix";
    EXPECT_EQ(
        run_scenario("cancel_silent",
                     {menu("File>Open Morix List..."), wait_window(F),
                      type_into(F, "Selection", g_silent_list), click(F, "OK"), wait_window(C),
                      // The answering device is done first.
                      wait_text(C, "cancel_lbl", "1 of 2 done"), click(C, "Cancel"),
                      // Cancelled at once, not after the device's time-outs.
                      wait_closed(C, 2500),
                      check("the answering device is listed",
                            []() -> std::string {
                                std::string all;
                                for (const std::string& row : list_items(MAIN, "mrx_list"))
                                    if (row == J)
                                        return "";
                                    else
                                        all += " \"" + row + "\"";
                                return "the list holds" + all;
                            })}),
        "");
}

} // namespace

int main(int argc, char** argv) {
    const char* b = std::getenv("MM_BUILD_DIR");
    std::string build = b != nullptr ? b : ".";
    g_log = build + "/op_control.log";
    std::remove(g_log.c_str());
    g_root = build + "/op_control_root";
    mkdir(g_root.c_str(), 0755);
    std::ofstream(g_root + "/morix.cfg") << "%gateway\nnet 127.0.0.0 gateway 127.0.0.1\n";
    // The editor the operator uses: appends a line to the file it is given.
    std::string editor = build + "/op_editor.sh";
    std::ofstream(editor) << "#!/bin/sh\nfor f; do :; done\necho '# edited by op' >> \"$f\"\n";
    chmod(editor.c_str(), 0755);
    g_silent_list = build + "/op_silent.lst";
    std::ofstream(g_silent_list)
        << "#\n# DB_VERSION: V1.0\n# FORMAT: Morix Name | Community String | "
           "Timeout | Retries\n#\n127.0.82.1 | vantor | 3 | 2\n"
           "127.0.82.3 | vantor | 3 | 2\n";
    GuiTestRun run;
    run.sim.devices = {{sim_profile("modelj.prof"), "127.0.82.1"},
                       {sim_profile("modelt.prof"), "127.0.82.2"},
                       {sim_profile("modelj.prof"), "127.0.82.3"},
                       {sim_profile("modelj.prof"), "127.0.82.4"}};
    run.sim.load_host = LH;
    run.sim.root = g_root;
    run.sim.control_log = g_log;
    run.sim.sets = {"127.0.82.1:mrxDialoutIdleTimer=55", "127.0.82.1:mrxpMode.2=ppp",
                    "127.0.82.1:mrxPrefLoadAddr=127.0.82.9", "127.0.82.1:bootHost=127.0.82.9",
                    "127.0.82.1:mrxConfigFile=morix.cfg"};
    // The third device answers nothing.
    run.sim.faults = {"127.0.82.3:drop=100"};
    run.env = {"WINEDITOR=" + editor};
    run.first = "127.0.82.1";
    run.added = {"127.0.82.2", "127.0.82.4"};
    run.click_to_type = true;
    run.privileged = true;
    run.skip_status = 77;
    run_gui_tests(argc, argv, run, &g_ready, &g_sim, &g_install);
}
