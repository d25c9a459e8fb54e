// The status windows in the windowed program under a private X server: each
// window once with the real interface description and a screenshot, and
// the automatic refresh on the toolkit's timers.
// gtest first: the X headers define macros that clash with its names.
#include <gtest/gtest.h>

#include <Xm/Xm.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "../frame/gui_harness.h"
#include "../frame/gui_run.h"
#include "frame/motif_internal.h"
#include "frame/startup.h"
#include "ops/status.h"
#include "support/sim_process.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

bool g_ready = false;
std::unique_ptr<SimProcess> g_sim;
const char* const PRI_DEV = "127.0.64.1";
const char* const MP_DEV = "127.0.64.2";

// Closes the warning box (its OK), so that each screenshot shows one window.
void close_warning() {
    if (widgets[W_WARNING_BOX] == nullptr)
        return;
    XmAnyCallbackStruct cbs = {};
    cbs.reason = XmCR_OK;
    XtCallCallbacks(widgets[W_WARNING_BOX], XmNokCallback, &cbs);
    pump(100);
}

void select_device(const std::string& name) {
    ui_list_deselect_all(W_MRX_LIST);
    for (int p = 0; p < MAX_MRX_SLOTS && host_info_list[p]; ++p)
        if (host_info_list[p]->name == name)
            ui_list_select_pos(W_MRX_LIST, p + 1, false);
}

struct GuiCase {
    int member;
    int menu_id; // 0: open the form and press Update
    const char* device;
    const char* input;
    const char* expect; // a piece of the text area
};

TEST(StatusGui, EveryWindowOnceWithAScreenshot) {
    REQUIRE_GUI(g_ready);
    const GuiCase cases[] = {
        {SM_MRX, 18, PRI_DEV, "", "Procs (act/most/max): 23/31/64"},
        {SM_ASY, 19, PRI_DEV, "1-6", "alice"},
        {SM_ITF, 20, PRI_DEV, "", "ds1-wan1"},
        {SM_IMDM, 88, PRI_DEV, "", "Consec. Failures"},
        {SM_PRI, 81, PRI_DEV, "all", "carol"},
        {SM_T1, 85, PRI_DEV, "", "Circuit ID: CKT-77A"},
        {SM_PRI_CSU, 0, PRI_DEV, "", "Path Code"},
        {SM_DVS, 84, MP_DEV, "", ""},
        {SM_MP, 87, MP_DEV, "", "ep-erin-07"},
    };
    for (const GuiCase& c : cases) {
        const StatusMember& m = status_member(c.member);
        SCOPED_TRACE(m.key);
        select_device(c.device);
        ui_set_text(status_obj(m.window, SO_INPUT), c.input);
        if (c.menu_id != 0) {
            press(c.menu_id);
        } else {
            gui_manage_top_form(m.form);
            ui_set_toggle(status_obj(m.window, SO_X1), true, false);
            press(m.update_id);
        }
        pump(400);
        ASSERT_TRUE(ui_is_managed(m.form));
        if (c.member == SM_MP) {
            ui_list_select_pos(status_obj(m.window, SO_X1), 1, false);
            press(status_obj(m.window, SO_X2));
            pump(300);
        }
        std::string text = ui_get_text(status_obj(m.window, SO_TEXT));
        if (*c.expect)
            EXPECT_NE(text.find(c.expect), std::string::npos) << text;
        else
            EXPECT_EQ(text, "");
        if (c.member != SM_DVS)
            close_warning(); // the refusal stays in the picture
        EXPECT_TRUE(screenshot(std::string("status_") + m.key));
        close_warning();
        gui_unmanage_top_form(m.form);
        pump(100);
    }
}

TEST(StatusGui, AutomaticRefreshOnTheToolkitTimer) {
    REQUIRE_GUI(g_ready);
    select_device(PRI_DEV);
    press(18);
    pump(300);
    int text = status_obj(0, SO_TEXT);
    ui_set_text(status_obj(0, SO_AUTO_SECS), "1");
    set_toggle_notify(status_obj(0, SO_AUTO_TB), true);
    ui_set_text(text, "");
    pump(1600);
    EXPECT_NE(ui_get_text(text).find("System Up Time"), std::string::npos);
    press(289); // Close
    pump(100);
    ui_set_text(text, "");
    pump(1600);
    EXPECT_EQ(ui_get_text(text), "") << "a closed window is not refreshed";
}

} // namespace

int main(int argc, char** argv) {
    GuiTestRun run;
    run.sim.devices = {{sim_profile("stat_pri.prof"), PRI_DEV},
                       {sim_profile("stat_mp.prof"), MP_DEV}};
    run.first = "127.0.64.1";
    run.added = {MP_DEV};
    run.window_manager = false;
    run_gui_tests(argc, argv, run, &g_ready, &g_sim);
}
