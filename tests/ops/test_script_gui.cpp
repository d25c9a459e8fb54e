// The script and Compare windows in the windowed program under a private
// X server with the real interface description: the compare kinds and
// their device sides, one compare of two simulated devices, one script
// created through the creation port dialog and executed through the
// execution port dialog. Screenshots go to build/frame_screens.
// gtest first: the X headers define macros that clash with its names.
#include <gtest/gtest.h>

#include <Xm/FileSB.h>
#include <Xm/MessageB.h>
#include <Xm/TextF.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "../frame/gui_harness.h"
#include "../frame/gui_run.h"
#include "frame/dispatch.h"
#include "frame/motif_internal.h"
#include "frame/startup.h"
#include "ops/script_windows.h"
#include "support/sim_process.h"
#include "ui/program.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

const char* const A = "127.0.65.1";
const char* const B = "127.0.65.2";
bool g_ready = false;
std::string g_install;
std::unique_ptr<SimProcess> g_sim;

void select_main_devices(const std::vector<int>& positions) {
    ui_list_deselect_all(W_MRX_LIST);
    for (int p : positions)
        ui_list_select_pos(W_MRX_LIST, p, false);
}

// Presses the OK button of a message box (the box's own OK path).
void press_ok(int box) {
    XmPushButtonCallbackStruct cbs = {};
    cbs.reason = XmCR_ACTIVATE;
    XtCallCallbacks(XmMessageBoxGetChild(widgets[box], XmDIALOG_OK_BUTTON), XmNactivateCallback,
                    &cbs);
}

std::string read_file(const std::string& path) {
    std::ifstream f(path);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

TEST(ScriptGui, CompareKindsSwitchSidesAndTwoDevicesDiffer) {
    REQUIRE_GUI(g_ready);
    dispatch_main(4);
    pump(200);
    ASSERT_TRUE(ui_is_managed(W_CMP_FORM_ID));
    for (int side = 0; side < 2; ++side) {
        EXPECT_EQ(ui_list_items(W_CMP_LIST[side]), (std::vector<std::string>{A, B}));
        EXPECT_EQ(get_widget_label(W_CMP_TITLE[side]), "Morix List");
        EXPECT_TRUE(ui_is_managed(W_CMP_DEV[side]));
        EXPECT_FALSE(ui_is_managed(W_CMP_FSB[side]));
    }
    ui_list_select_pos(W_CMP_LIST[0], 1, false);
    ui_list_select_pos(W_CMP_LIST[1], 2, false);
    screenshot("cmp_form_two_devices");
    answer_later(1500, 2); // do not save the differences
    press(220);
    pump(300);
    std::string out = ui_get_text(225);
    EXPECT_NE(out.find(std::string("Comparing ") + A + " and " + B + "..."), std::string::npos);
    // sysName and the address differ between any two devices.
    EXPECT_NE(out.find(std::string("\n*** sysContact ***\n") + A + " : network operations\n" + B +
                       " : night shift\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("Number of differences: 3"), std::string::npos) << out;
    screenshot("cmp_form_compared");

    // The async port parameters of port 1 on both sides (code 3).
    set_toggle_notify(231, true);
    ui_set_text(W_CMP_PORT_TF[0], "1");
    ui_set_text(W_CMP_PORT_TF[1], "1");
    ui_set_text(225, "");
    answer_later(1500, 2);
    press(220);
    pump(300);
    out = ui_get_text(225);
    EXPECT_NE(out.find(std::string("\n*** mrxpMode ***\n") + A + " (asy port 1) : cli\n" + B +
                       " (asy port 1) : slip\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("Number of differences: 1"), std::string::npos) << out;
    set_toggle_notify(230, true);

    // Device with script, then script with script: titles, parts, ports.
    const struct {
        int tb;
        bool dev[2];
    } kinds[] = {{203, {true, false}}, {204, {false, false}}, {202, {true, true}}};
    for (const auto& k : kinds) {
        set_toggle_notify(k.tb, true);
        pump(150);
        for (int side = 0; side < 2; ++side) {
            EXPECT_EQ(get_widget_label(W_CMP_TITLE[side]),
                      k.dev[side] ? "Morix List" : "Script List")
                << k.tb;
            EXPECT_EQ(ui_is_managed(W_CMP_DEV[side]), k.dev[side]) << k.tb;
            EXPECT_EQ(ui_is_managed(W_CMP_FSB[side]), !k.dev[side]) << k.tb;
            EXPECT_EQ(is_sens(W_CMP_PORT_ROW[side]), k.dev[side]) << k.tb;
        }
        if (k.tb == 203)
            screenshot("cmp_form_device_script");
        if (k.tb == 204)
            screenshot("cmp_form_two_scripts");
    }
    gui_unmanage_top_form(W_CMP_FORM_ID);
}

TEST(ScriptGui, CreateAndExecuteThroughThePortDialogs) {
    REQUIRE_GUI(g_ready);
    select_main_devices({1});
    dispatch_main(9);
    pump(200);
    ASSERT_TRUE(ui_is_managed(W_CRT_FORM_ID));
    set_toggle_notify(355, true); // async port parameters
    press(359);
    pump(200);
    ASSERT_TRUE(ui_is_managed(W_SCR_CRT_PRT.slot));
    const int asy = W_SCR_CRT_PRT.first_field, en = asy + 3, ds1inf = asy + 5;
    EXPECT_TRUE(is_sens(asy));
    EXPECT_FALSE(is_sens(en));
    EXPECT_FALSE(is_sens(ds1inf));
    EXPECT_FALSE(ui_get_toggle(W_SCR_CRT_WILD_TB));
    // Two ports with wildcarding are refused; the dialog stays open.
    ui_set_text(asy, "1,2");
    set_toggle_notify(W_SCR_CRT_WILD_TB, true);
    press(W_SCR_CRT_PRT.ok);
    pump(200);
    ASSERT_TRUE(ui_is_managed(W_WARNING_BOX));
    press_ok(W_WARNING_BOX);
    pump(100);
    EXPECT_FALSE(ui_is_managed(W_WARNING_BOX));
    EXPECT_TRUE(ui_is_managed(W_SCR_CRT_PRT.slot));
    ui_set_text(asy, "1");
    screenshot("scr_crt_port_dialog");
    press(W_SCR_CRT_PRT.ok);
    pump(200);
    EXPECT_FALSE(ui_is_managed(W_SCR_CRT_PRT.slot));
    Widget box = widgets[W_FILE_SEL_BOX];
    ASSERT_TRUE(box != nullptr && XtIsManaged(box));
    screenshot("scr_crt_file_selection");
    std::string path = g_install + "/data/mrx_scripts/asy_wild.scr";
    Widget text = XmFileSelectionBoxGetChild(box, XmDIALOG_TEXT);
    XmTextFieldSetString(text, const_cast<char*>(path.c_str()));
    XtCallActionProc(text, "activate", nullptr, nullptr, 0);
    pump(500);
    EXPECT_NE(ui_get_text(362).find("Script creation complete"), std::string::npos)
        << ui_get_text(362);
    std::string script = read_file(path);
    EXPECT_NE(script.find(" | asy | * | "), std::string::npos) << script;
    EXPECT_EQ(script.find(" | asy | 1 | "), std::string::npos);
    screenshot("scr_crt_created");
    gui_unmanage_top_form(W_CRT_FORM_ID);

    // The wildcarded async lines ask for ports on execution.
    select_main_devices({2});
    dispatch_main(10);
    pump(200);
    ASSERT_TRUE(ui_is_managed(W_EXE_FORM_ID));
    ui_set_text(411, path);
    press(413);
    pump(200);
    ASSERT_TRUE(ui_is_managed(W_SCR_EXE_PRT.slot));
    const int exe_asy = W_SCR_EXE_PRT.first_field;
    EXPECT_TRUE(is_sens(exe_asy));
    EXPECT_FALSE(is_sens(exe_asy + 4)); // ds0chan: not in the script
    ui_set_text(exe_asy, "2");
    screenshot("scr_exe_port_dialog");
    press(W_SCR_EXE_PRT.ok);
    pump(200);
    ASSERT_TRUE(XtIsManaged(widgets[W_QUESTION_BOX]));
    screenshot("scr_exe_confirmation");
    answer_later(1500, 2); // no automatic reset
    press_ok(W_QUESTION_BOX);
    pump(300);
    EXPECT_TRUE(widgets[W_QUESTION_BOX] == nullptr || !XtIsManaged(widgets[W_QUESTION_BOX]));
    std::string out = ui_get_text(417);
    EXPECT_NE(out.find("Executing script..."), std::string::npos) << out;
    EXPECT_NE(out.find("Script execution complete"), std::string::npos) << out;
    screenshot("scr_exe_executed");
    gui_unmanage_top_form(W_EXE_FORM_ID);
}

} // namespace

int main(int argc, char** argv) {
    GuiTestRun run;
    run.sim.devices = {{sim_profile("modelj.prof"), A}, {sim_profile("modelj.prof"), B}};
    run.sim.sets = {std::string(B) + ":sysContact=night shift",
                    std::string(B) + ":mrxpMode.1=slip"};
    run.first = "127.0.65.1";
    run.added = {B};
    run.privileged = true;
    run_gui_tests(argc, argv, run, &g_ready, &g_sim, &g_install);
}
