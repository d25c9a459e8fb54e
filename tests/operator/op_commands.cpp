// The Commands menu driven as an operator: Show for a parameter and for a
// group of every port type, Set (an untouched menu row is not sent, a
// changed one is, the reset question on top while the work dialog is up),
// Compare and its saved differences, Copy, user-defined groups, and Undo
// Last Change. The
// outcome is read back from the devices and the files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "frame/gui_run.h"
#include "operator/operator.h"
#include "operator/operator_x.h"

#include <Xm/Xm.h>

namespace {

bool g_ready = false;
std::unique_ptr<SimProcess> g_sim;
std::string g_install;
std::string g_log;

const char* const A = "127.0.81.1";
const char* const J1 = "<127.0.81.1> : ModelJ";
const char* const J2 = "<127.0.81.2> : ModelJ";
const char* const Q = "<127.0.81.3> : ModelQ";

// The main window in Customize mode with the devices and parameters (or
// one group when groups is set) selected.
Steps pick(const std::vector<std::string>& rows, const std::vector<std::string>& params,
           bool groups = false) {
    Steps s = {toggle(MAIN, "Customize", true),
               toggle(MAIN, groups ? "Standard Parameter Groups" : "Morix Parameters", true)};
    for (size_t i = 0; i < rows.size(); ++i)
        s.push_back(select_item(MAIN, "mrx_list", rows[i], i > 0));
    for (size_t i = 0; i < params.size(); ++i)
        s.push_back(select_item(MAIN, "func_list", params[i], i > 0));
    return s;
}

TEST(OpCommands, ShowParameterAndEveryPortType) {
    NEED_PROGRAM();
    const char* W = "Show";
    std::string contact = snmp_get(A, "sysContact");
    ASSERT_FALSE(contact.empty());
    EXPECT_EQ(run_scenario("show_parameter",
                           pick({J1}, {"sysContact"}) + Steps{menu("Commands>Show..."),
                                                              wait_window(W), click(W, "Apply"),
                                                              wait_text(W, "show_text", contact),
                                                              click(W, "Close"), wait_closed(W)}),
              "");
    struct Kind {
        const char *type, *row, *group, *ports, *variable;
    };
    const Kind kinds[] = {{"Async", J1, "Async_Port_Timers", "1-3", "mrxpCliInactivity"},
                          {"Sync", J1, "Sync_Port_Params", "1", "mrxSyncMode"},
                          {"Printer", J1, "Printer_Port_Params", "1", "mrxPtrType"},
                          {"Ethernet", J1, "Ethernet_Parameters", "1", "interfaceEthernetMedia"},
                          {"WAN Interface", Q, "WAN_Interface_Params", "1", "mrxt1SwitchType"},
                          {"WAN Channel", Q, "WAN_Channel_Params", "1", "mrxt1ChanSigProto"},
                          {"WAN Interval", Q, "WAN_Interval_Counters", "1", "mrxt1IntervalOof"}};
    for (const Kind& k : kinds) {
        Steps s = pick({k.row}, {k.group}, true) +
                  Steps{menu("Commands>Show..."), wait_window(W),
                        toggle(W, k.type, true),  type_into(W, "Ports:", k.ports),
                        click(W, "Apply"),        wait_text(W, "show_text", k.variable),
                        click(W, "Close"),        wait_closed(W)};
        EXPECT_EQ(run_scenario(std::string("show_") + k.group, s), "") << k.type;
    }
}

// The window made 200 pixels taller (through the window manager): its
// rows area grows with it.
Step rows_grow(const std::string& window) {
    auto before = std::make_shared<int>(-1);
    return check("the rows grow with the window", [=]() -> std::string {
        Widget shell = shell_titled(window);
        Widget rows = find_control(shell, "set_work_sw");
        Dimension h = 0, sw = 0, sh = 0;
        XtVaGetValues(rows, XmNheight, &h, nullptr);
        if (*before < 0) {
            *before = h;
            XtVaGetValues(shell, XmNwidth, &sw, XmNheight, &sh, nullptr);
            XResizeWindow(XtDisplay(shell), XtWindow(shell), sw, sh + 200);
        }
        return h > *before + 50 ? "" : "the rows area did not grow";
    });
}

TEST(OpCommands, SetSendsOnlyWhatWasChosen) {
    NEED_PROGRAM();
    const char* W = "Set";
    // Both rows marked, only the number typed: nothing is sent, the blank
    // menu row is named; with the menu row unmarked the number is sent.
    EXPECT_EQ(
        run_scenario(
            "set_untouched_menu",
            pick({J1}, {"mrxDialoutEnable", "mrxDialoutRetries"}) +
                Steps{menu("Commands>Set..."), wait_window(W), toggle(W, "mrxDialoutEnable", true),
                      toggle(W, "mrxDialoutRetries", true), type_into(W, "mrxDialoutRetries", "5"),
                      click(W, "Set"), wait_text(W, "set_text", "mrxDialoutEnable : Invalid"),
                      device_has(A, "mrxDialoutEnable", "enabled"),
                      device_has(A, "mrxDialoutRetries", "3"), toggle(W, "mrxDialoutEnable", false),
                      click(W, "Set"), answer("Reset Parameters", "Cancel"),
                      device_has(A, "mrxDialoutRetries", "5"),
                      device_has(A, "mrxDialoutEnable", "enabled"), click(W, "Close"),
                      wait_closed(W)}),
        "");
    // A changed menu row is sent; the reset question, asked while the work
    // dialog is up, is on top with the focus; the reset reaches the device.
    EXPECT_EQ(run_scenario("set_reset_question",
                           pick({J1}, {"mrxDialoutEnable", "mrxDialoutRetries"}) +
                               Steps{menu("Commands>Set..."), wait_window(W),
                                     toggle(W, "mrxDialoutEnable", true),
                                     choose(W, "mrxDialoutEnable", "disabled"), click(W, "Set"),
                                     pause(2500), answer("Reset Parameters", "Reset"),
                                     device_has(A, "mrxDialoutEnable", "disabled"),
                                     file_has(g_log, std::string(A) + " mrxcReset"),
                                     wait_text(W, "set_text", std::string("Reset ") + A + ":"),
                                     rows_grow(W), click(W, "Close"), wait_closed(W)}),
              "");
}

TEST(OpCommands, SetShowsWhereValuesDiffer) {
    NEED_PROGRAM();
    const char* W = "Set";
    const char* D = "Values Differ";
    EXPECT_EQ(run_scenario("set_values_differ",
                           pick({J1, J2}, {"sysContact"}) +
                               Steps{menu("Commands>Set..."), wait_window(W),
                                     click(W, "Show Values"), click(W, "Dsp Diffs"), wait_window(D),
                                     wait_text(D, "set_vd_text", "night shift"), click(D, "Close"),
                                     wait_closed(D), click(W, "Close"), wait_closed(W)}),
              "");
    // An empty value is an empty field: two quotes there would be what the
    // next Set sends.
    EXPECT_EQ(
        run_scenario("set_empty_value",
                     pick({J1}, {"mrxPassword"}) +
                         Steps{menu("Commands>Set..."), wait_window(W), click(W, "Show Values"),
                               wait_text(W, "set_text", "\tmrxPassword\n\nShow values complete."),
                               check("the empty value is an empty field",
                                     [W] {
                                         std::string t = text_of(W, "mrxPassword");
                                         return t.empty() ? "" : "it shows " + t;
                                     }),
                               click(W, "Close"), wait_closed(W)}),
        "");
}

TEST(OpCommands, CompareAndSaveDifferences) {
    NEED_PROGRAM();
    const char* W = "Compare";
    std::string file = g_install + "/data/mrx_scripts/op_compare.txt";
    EXPECT_EQ(
        run_scenario("compare",
                     pick({J1}, {"sysContact"}) +
                         Steps{menu("Commands>Compare..."), wait_window(W),
                               toggle(W, "Morix with Morix", true),
                               toggle(W, "Main Window Choice", true),
                               select_item(W, "cmp_panes0_list", "127.0.81.1"),
                               select_item(W, "cmp_panes1_list", "127.0.81.2"), click(W, "Compare"),
                               answer("Differences", "Save"), wait_window("Script File Selection"),
                               type_into("Script File Selection", "Selection", file),
                               click("Script File Selection", "OK"), file_has(file, "sysContact"),
                               click(W, "Close"), wait_closed(W)}),
        "");
}

// The label under the kind toggles reads text (polled).
Step label_reads(const std::string& window, const std::string& name, const std::string& text) {
    return check(name + " reads " + text, [=]() -> std::string {
        Widget shell = shell_titled(window);
        Widget l = shell != nullptr ? find_control(shell, name) : nullptr;
        std::string now = l != nullptr ? label_of(l) : "(no label)";
        return now == text ? "" : "it reads " + now;
    });
}

// The parameter label of Compare and Copy names what the command will read:
// the main window's parameter when the window uses it, also when the window
// opens already set so and the main window's choice changed while it was
// closed, or changes while it is open (Copy leaves the main list in sight;
// Compare covers it); every parameter of a kind once that kind is chosen.
TEST(OpCommands, CompareAndCopyLabelTheParametersTheyUse) {
    NEED_PROGRAM();
    struct Row {
        const char *window, *label;
        bool main_list_in_sight;
    };
    for (const Row& r : {Row{"Compare", "cmp_lbl205", false}, Row{"Copy", "cpy_lbl458", true}}) {
        const char* W = r.window;
        const std::string open = std::string("Commands>") + W + "...";
        Steps s =
            pick({J1}, {"sysContact"}) + Steps{menu(open),
                                               wait_window(W),
                                               toggle(W, "Main Window Choice", true),
                                               label_reads(W, r.label, "sysContact"),
                                               toggle(W, "Morix", true),
                                               label_reads(W, r.label, "<all Morix parameters>"),
                                               toggle(W, "Main Window Choice", true),
                                               click(W, "Close"),
                                               wait_closed(W),
                                               select_item(MAIN, "func_list", "sysLocation"),
                                               menu(open),
                                               wait_window(W),
                                               label_reads(W, r.label, "sysLocation")};
        // The click raises the main window; the menu brings the window back.
        if (r.main_list_in_sight)
            s = s + Steps{select_item(MAIN, "func_list", "sysName"),
                          label_reads(W, r.label, "sysName"), menu(open)};
        s = s + Steps{toggle(W, "Morix", true), label_reads(W, r.label, "<all Morix parameters>"),
                      click(W, "Close"), wait_closed(W)};
        EXPECT_EQ(run_scenario(std::string("label_") + W, s), "") << W;
    }
}

// At every tick while the cancel dialog of a long operation is up, it is
// the top window, above the window that started it (itself above the main
// window), and its Cancel button can be clicked.
Step cancel_stays_on_top(const std::string& owner) {
    auto clickable = std::make_shared<int>(0);
    auto why = std::make_shared<std::string>("it never came");
    return check(
        "the cancel dialog stays on top with Cancel clickable",
        [=]() -> std::string {
            Widget d = shell_titled("Cancel Copy");
            if (d == nullptr)
                return *clickable > 0 ? "" : *why;
            std::vector<std::string> t = window_titles();
            auto at = [&](const std::string& x) { return std::find(t.begin(), t.end(), x); };
            if (t.back() != "Cancel Copy" || at(owner) > at("Cancel Copy") || at(MAIN) > at(owner))
                return "!stacked wrongly: top is " + t.back() + ", " + owner + " at " +
                       std::to_string(at(owner) - t.begin()) + ", main at " +
                       std::to_string(at(MAIN) - t.begin());
            *why = why_not_clickable(find_control(d, "Cancel"));
            *clickable += why->empty() ? 1 : 0;
            return "watching";
        },
        30000);
}

TEST(OpCommands, CopyToASlowDeviceKeepsCancelOnTop) {
    NEED_PROGRAM();
    const char* W = "Copy";
    Steps start = {menu("Commands>Copy..."),
                   wait_window(W),
                   select_item(W, "Copy From", "127.0.81.2"),
                   select_item(W, "Copy From", "127.0.81.1"),
                   select_item(W, "Copy To", "127.0.81.4"),
                   toggle(W, "Main Window Choice", true),
                   click(W, "Copy"),
                   answer("Confirmation", "OK")};
    EXPECT_EQ(
        run_scenario("copy_slow",
                     pick({J1}, {"mrxDialoutIdleTimer"}) + start +
                         Steps{cancel_stays_on_top(W),
                               device_has("127.0.81.4", "mrxDialoutIdleTimer", "77"),
                               answer("Reset Parameters", "Reset"),
                               wait_text(W, "cpy_text", "Reset 127.0.81.4: "),
                               wait_text(W, "cpy_text", "Copy complete.")} +
                         Steps{click(W, "Copy"), answer("Confirmation", "OK"),
                               click("Cancel Copy", "Cancel"), answer("Confirm Cancel?", "Cancel"),
                               wait_closed("Cancel Copy"), click(W, "Close"), wait_closed(W)},
                     120000),
        "");
}

// A Set on two devices, one of them slow, cancelled while it works: the
// output says once that the operation was cancelled.
TEST(OpCommands, CancelledSetSaysSoOnce) {
    NEED_PROGRAM();
    const char* W = "Set";
    Steps s = pick({J1, "<127.0.81.4> : ModelJ"}, {"mrxDialoutRetries"}) +
              Steps{menu("Commands>Set..."),
                    wait_window(W),
                    toggle(W, "mrxDialoutRetries", true),
                    type_into(W, "mrxDialoutRetries", "4"),
                    click(W, "Set"),
                    click("Cancel Set", "Cancel"),
                    answer_if_asked("Confirm Cancel?", "Cancel"),
                    wait_text(W, "set_text", "Some values may have been updated."),
                    check("the cancel is reported once",
                          [W]() -> std::string {
                              std::string t = text_of(W, "set_text");
                              size_t first = t.find("Operation cancelled.");
                              if (first == std::string::npos)
                                  return "it is not reported: " + t;
                              return t.find("Operation cancelled.", first + 1) == std::string::npos
                                         ? ""
                                         : "!it is reported more than once: " + t;
                          }),
                    click(W, "Close"),
                    wait_closed(W)};
    EXPECT_EQ(run_scenario("set_cancelled", s, 60000), "");
}

TEST(OpCommands, UserGroupsNewModifyDelete) {
    NEED_PROGRAM();
    const char* W = "User Defined Parameter Groups";
    std::string groups = g_install + "/data/gui_mm_data/mib_func.dat";
    EXPECT_EQ(run_scenario("user_groups", {menu("Commands>User Defined Groups..."),
                                           wait_window(W),
                                           toggle(W, "Morix", true),
                                           select_item(W, "Parameters", "mrxDialoutRetries"),
                                           click(W, "Add"),
                                           click(W, "New Group..."),
                                           wait_window("New Parameter Group"),
                                           type_into("New Parameter Group", "Text", "op_group"),
                                           click("New Parameter Group", "OK"),
                                           wait_closed("New Parameter Group"),
                                           file_has(groups, "op_group"),
                                           select_item(W, "Groups", "op_group"),
                                           select_item(W, "Parameters", "mrxDialoutIdleTimer"),
                                           click(W, "Add"),
                                           click(W, "Modify"),
                                           answer("User Defined Group Change", "Yes"),
                                           select_item(W, "Groups", "op_group"),
                                           click(W, "Delete"),
                                           answer("User Defined Group Change", "Yes"),
                                           file_has(groups, "op_group", false),
                                           click(W, "Close"),
                                           wait_closed(W)}),
              "");
}

// A Set, then Commands -> Undo Last Change: the undo script is shown in
// the main window, asked for, and the device holds its old value again.
TEST(OpCommands, UndoLastChange) {
    NEED_PROGRAM();
    const char* W = "Set";
    std::string before = snmp_get(A, "mrxDialoutRetries");
    ASSERT_FALSE(before.empty());
    std::string changed = before == "6" ? "7" : "6";
    EXPECT_EQ(
        run_scenario(
            "undo_last_change",
            pick({J1}, {"mrxDialoutRetries"}) +
                Steps{menu("Commands>Set..."), wait_window(W), toggle(W, "mrxDialoutRetries", true),
                      type_into(W, "mrxDialoutRetries", changed), click(W, "Set"),
                      answer("Reset Parameters", "Cancel"),
                      wait_text(W, "set_text", "Undo script: "),
                      device_has(A, "mrxDialoutRetries", changed), click(W, "Close"),
                      wait_closed(W), menu("Commands>Undo Last Change..."),
                      wait_text(MAIN, "main_output", "mrxDialoutRetries | none | 0 | " + before),
                      answer("Question", "OK"), answer("Reset Parameters", "Cancel"),
                      wait_text(MAIN, "main_output", "Undo complete."),
                      device_has(A, "mrxDialoutRetries", before)}),
        "");
}

} // namespace

int main(int argc, char** argv) {
    const char* build = std::getenv("MM_BUILD_DIR");
    g_log = std::string(build != nullptr ? build : ".") + "/op_commands_control.log";
    std::remove(g_log.c_str());
    GuiTestRun run;
    run.sim.devices = {{sim_profile("modelj.prof"), "127.0.81.1"},
                       {sim_profile("modelj.prof"), "127.0.81.2"},
                       {sim_profile("modelq.prof"), "127.0.81.3"},
                       {sim_profile("modelj.prof"), "127.0.81.4"}};
    run.sim.faults = {"127.0.81.4:delay=600"};
    run.sim.sets = {"127.0.81.2:sysContact=night shift", "127.0.81.1:mrxDialoutIdleTimer=77"};
    run.sim.control_log = g_log;
    run.first = "127.0.81.1";
    run.added = {"127.0.81.2", "127.0.81.3", "127.0.81.4"};
    run.click_to_type = true;
    run.privileged = true;
    run.skip_status = 77;
    run_gui_tests(argc, argv, run, &g_ready, &g_sim, &g_install);
}
