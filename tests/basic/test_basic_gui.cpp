// The setup window in the windowed program under a private X server, with
// the real interface description: every page opened and read from two
// simulated devices, IP edited and applied, General continued and WAN edit
// opened; a screenshot of each (build/frame_screens/basic_*.png).
// gtest first: the X headers define macros that clash with its names.
#include <gtest/gtest.h>

#include <Xm/List.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>

#include <cstdlib>
#include <memory>

#include "../frame/gui_harness.h"
#include "../frame/gui_run.h"
#include "basic/basic_page.h"
#include "frame/motif_internal.h"
#include "frame/startup.h"
#include "snmp_access/morix_record.h"
#include "support/sim_process.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

bool g_ready = false;
std::unique_ptr<SimProcess> g_sim;
const char* const A = "127.0.42.1";
const char* const B = "127.0.42.2";

void press_basic(int id) {
    XmPushButtonCallbackStruct cbs = {};
    cbs.reason = XmCR_ACTIVATE;
    XtCallCallbacks(widgets_basic[id], XmNactivateCallback, &cbs);
    pump(300);
}

std::string text_of(int id) {
    char* t = XmTextFieldGetString(widgets_basic[id]);
    std::string s = t;
    XtFree(t);
    return s;
}

TEST(BasicGui, EveryPageOpensReadsAndIpApplies) {
    REQUIRE_GUI(g_ready);
    for (int p = 1; p <= ui_list_count(W_MRX_LIST); ++p)
        ui_list_select_pos(W_MRX_LIST, p, false);
    press(W_SETUP_BTN);
    pump(500);
    ASSERT_TRUE(ui_is_managed(BW_SETUP_FORM, UI_BASIC));
    for (BasicPage* p : basic_pages()) {
        if (!p->category)
            continue;
        XmToggleButtonSetState(widgets_basic[p->category], True, True);
        pump(500);
        EXPECT_TRUE(ui_is_managed(p->form, UI_BASIC)) << p->name;
        EXPECT_EQ(current_page(), p);
        screenshot(std::string("basic_") + p->name);
    }
    // General's values were read: the image name both devices share.
    EXPECT_EQ(text_of(36), "morix.img");

    XmToggleButtonSetState(widgets_basic[CAT_IP], True, True);
    pump(300);
    XmTextFieldSetString(widgets_basic[51], const_cast<char*>("255.255.0.0"));
    answer_later(800, ASK_CANCEL); // no reset now
    press_basic(BW_SETUP_APPLY);
    for (int i = 0; host_info_list[i]; ++i)
        EXPECT_EQ(get_mrx_prm_val_str(host_info_list[i], "mrxSubnetMask").value_or(""),
                  "255.255.0.0");

    XmToggleButtonSetState(widgets_basic[CAT_GENERAL], True, True);
    pump(300);
    press_basic(BW_GEN_MORE);
    EXPECT_TRUE(ui_is_managed(BW_GEN_CONT_FORM, UI_BASIC));
    screenshot("basic_general-cont");
    press_basic(BW_GEN_CONT_CANCEL);
    EXPECT_FALSE(ui_is_managed(BW_GEN_CONT_FORM, UI_BASIC));

    XmToggleButtonSetState(widgets_basic[CAT_WAN], True, True);
    pump(300);
    ASSERT_GE(ui_list_count(BW_WAN_LIST, UI_BASIC), 2);
    XmListSelectPos(widgets_basic[BW_WAN_LIST], 1, False);
    press_basic(BW_WAN_EDIT_PB);
    EXPECT_TRUE(ui_is_managed(BW_WAN_EDIT_FORM, UI_BASIC));
    screenshot("basic_wan-edit");
    press_basic(BW_WAN_EDIT_CLOSE);
    press_basic(BW_SETUP_CLOSE); // nothing pending: no question
    EXPECT_FALSE(ui_is_managed(BW_SETUP_FORM, UI_BASIC));
}

} // namespace

int main(int argc, char** argv) {
    GuiTestRun run;
    run.sim.devices = {{sim_profile("modelj.prof"), A}, {sim_profile("modelt.prof"), B}};
    run.first = A;
    run.added = {B};
    run.window_manager = false;
    run_gui_tests(argc, argv, run, &g_ready, &g_sim);
}
