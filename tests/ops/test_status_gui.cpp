// The status windows in the windowed program under a private X server: the
// automatic refresh on the toolkit's timers (tests/operator/op_status.cpp
// drives every window as an operator).
// gtest first: the X headers define macros that clash with its names.
#include <gtest/gtest.h>

#include <Xm/Xm.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "../frame/gui_harness.h"
#include "../frame/gui_run.h"
#include "frame/startup.h"
#include "motif/motif_internal.h"
#include "ops/status.h"
#include "support/sim_process.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

bool g_ready = false;
std::unique_ptr<SimProcess> g_sim;
const char* const PRI_DEV = "127.0.64.1";
const char* const MP_DEV = "127.0.64.2";

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
