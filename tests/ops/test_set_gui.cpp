// The Set window in the windowed program under a private X server: rows
// built from the catalogue, Show Values against two simulated devices that
// disagree on one variable, "Dsp Diffs" and the differences window.
// gtest first: the X headers define macros that clash with its names.
#include <gtest/gtest.h>

#include <Xm/Text.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "../frame/gui_harness.h"
#include "../frame/gui_run.h"
#include "catalogue/func_display.h"
#include "frame/motif_internal.h"
#include "frame/startup.h"
#include "ops/set_window.h"
#include "support/sim_process.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

bool g_ready = false;
std::unique_ptr<SimProcess> g_sim;

TEST(SetGui, RowsShowValuesAndDifferences) {
    REQUIRE_GUI(g_ready);
    for (int p = 1; p <= ui_list_count(W_MRX_LIST); ++p)
        ui_list_select_pos(W_MRX_LIST, p, false);
    ui_list_set_policy(W_MAIN_FUNC_LIST, LSP_EXTENDED);
    ui_list_delete_all(W_MAIN_FUNC_LIST);
    for (const char* n : {"sysContact", "sysLocation", "mrxNameServer1Type", "RadiusPort"})
        ui_list_add_item(W_MAIN_FUNC_LIST, n, 0);
    for (int p = 1; p <= 4; ++p)
        ui_list_select_pos(W_MAIN_FUNC_LIST, p, false);
    param_sel_flag = 1;
    press(12);
    pump(300);
    ASSERT_TRUE(ui_is_managed(W_SET_FORM_ID));
    ASSERT_EQ(set_wlist.size(), 4u);
    Widget tf = set_row_widget(set_row_id(0, SRP_TEXT));
    ASSERT_NE(tf, nullptr);
    EXPECT_FALSE(XmTextFieldGetEditable(tf)); // read-only until marked
    short columns = 0;
    XtVaGetValues(tf, XmNcolumns, &columns, nullptr);
    EXPECT_EQ(columns, 15);
    XmToggleButtonSetState(set_row_widget(set_row_id(3, SRP_TOGGLE)), True, True);
    EXPECT_TRUE(XmTextFieldGetEditable(set_row_widget(set_row_id(3, SRP_TEXT))));

    press(W_SET_SHOW_VALUES);
    pump(300);
    char* loc = XmTextFieldGetString(set_row_widget(set_row_id(1, SRP_TEXT)));
    EXPECT_STREQ(loc, "rack 4, loopback lab");
    XtFree(loc);
    Widget vd = set_row_widget(set_row_id(0, SRP_VD_PB));
    ASSERT_NE(vd, nullptr);
    EXPECT_TRUE(XtIsManaged(vd));
    EXPECT_FALSE(XtIsManaged(set_row_widget(set_row_id(1, SRP_VD_PB))));
    EXPECT_FALSE(ui_get_option(set_row_id(2, SRP_OPTION), UI_SET_ROWS).empty());
    screenshot("set_window_values");

    XmPushButtonCallbackStruct cbs = {};
    cbs.reason = XmCR_ACTIVATE;
    XtCallCallbacks(vd, XmNactivateCallback, &cbs);
    pump(300);
    ASSERT_TRUE(ui_is_managed(W_SET_VD_DIALOG));
    std::string diffs = ui_get_text(W_SET_VD_TEXT);
    size_t header = diffs.find("**** sysContact ****");
    ASSERT_NE(header, std::string::npos) << diffs;
    EXPECT_EQ(static_cast<size_t>(XmTextGetTopCharacter(widgets[W_SET_VD_TEXT])), header);
    screenshot("set_window_differences");
    press(W_SET_CLOSE);
    pump(100);
    EXPECT_FALSE(ui_is_managed(W_SET_VD_DIALOG));
    EXPECT_EQ(set_wlist.size(), 0u);
}

} // namespace

int main(int argc, char** argv) {
    GuiTestRun run;
    run.sim.devices = {{sim_profile("modelj.prof"), "127.0.63.1"},
                       {sim_profile("modelj.prof"), "127.0.63.2"}};
    run.sim.sets = {"127.0.63.2:sysContact=night shift"};
    run.first = "127.0.63.1";
    run.added = {"127.0.63.2"};
    run_gui_tests(argc, argv, run, &g_ready, &g_sim);
}
