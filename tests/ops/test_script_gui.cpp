// The script and Compare windows in the windowed program under a private
// X server with the real interface description: the compare kinds and
// their device sides and one compare of two simulated devices (scripts and
// their port dialogs: tests/operator/op_control.cpp). Screenshots go to
// build/frame_screens.
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
