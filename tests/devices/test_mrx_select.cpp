// The selection check on device lists built in memory.
#include <gtest/gtest.h>

#include "catalogue/func_display.h"
#include "devices/mrx_list.h"
#include "devices/mrx_select.h"
#include "frame/dispatch.h"
#include "frame/settings_window.h"
#include "snmp_access/product_types.h"
#include "ui/window_state.h"
#include "ui_headless/ui_headless.h"

namespace {

class SelectCheck : public testing::Test {
  protected:
    void SetUp() override {
        hl_reset();
        free_host_info_list(host_info_list);
        ui_list_set_policy(W_MRX_LIST, LSP_EXTENDED);
    }
    void TearDown() override { free_host_info_list(host_info_list); }
    // Adds devices in list order; reachable[i] says whether device i is.
    void make_list(const std::vector<int>& reachable) {
        for (size_t i = 0; i < reachable.size(); ++i) {
            MorixRecordPtr r = new_host_node();
            r->name = "mrx" + std::to_string(i);
            r->reachable = reachable[i];
            r->product_type = reachable[i] ? 12 : PT_NOT_REACHABLE;
            ui_list_add_item(W_MRX_LIST, mrx_row_text(r.get()), 0);
            ASSERT_EQ(host_info_list.insert(r, static_cast<int>(i)), 0);
        }
    }
    std::vector<std::string> warnings() { return hl_texts("warn"); }
};

TEST_F(SelectCheck, OneDeviceIsSelectedForModesZeroAndOne) {
    make_list({0});
    EXPECT_EQ(check_main_sel(W_MAIN_WINDOW, SEL_ANY), 1);
    EXPECT_TRUE(is_selected(host_info_list[0]));
    EXPECT_TRUE(warnings().empty());
}

TEST_F(SelectCheck, TheOnlyReachableDeviceIsSelectedForShow) {
    make_list({0, 1});
    ui_list_select_pos(W_FUNC_LIST, 1, false);
    ui_list_add_item(W_FUNC_LIST, "General_Parameters", 0);
    ui_list_select_pos(W_FUNC_LIST, 1, false);
    EXPECT_EQ(check_main_sel(W_MAIN_WINDOW, SEL_SHOW_SET), 1);
    EXPECT_FALSE(is_selected(host_info_list[0]));
    EXPECT_TRUE(is_selected(host_info_list[1]));
}

TEST_F(SelectCheck, RefusalsAndTheirMessages) {
    make_list({1, 1, 0});
    EXPECT_EQ(check_main_sel(W_MAIN_WINDOW, SEL_ANY), 0);
    EXPECT_EQ(check_main_sel(W_MAIN_WINDOW, SEL_REACHABLE), 0);
    ui_list_select_pos(W_MRX_LIST, 3, false);
    EXPECT_EQ(check_main_sel(W_MAIN_WINDOW, SEL_FIRST), 0);
    ui_list_select_pos(W_MRX_LIST, 1, false);
    ui_list_select_pos(W_MRX_LIST, 2, false);
    EXPECT_EQ(check_main_sel(W_MAIN_WINDOW, SEL_SCRIPT), 0);
    EXPECT_EQ(warnings(),
              (std::vector<std::string>{"You must select a Morix.",
                                        "You must select a reachable Morix from the list.",
                                        "You must select a reachable Morix from the list.",
                                        "You must select one reachable Morix only."}));
}

TEST_F(SelectCheck, WarningsLetTheCommandGoOn) {
    make_list({1, 1, 0});
    for (int p : {1, 2, 3})
        ui_list_select_pos(W_MRX_LIST, p, false);
    EXPECT_EQ(check_main_sel(W_MAIN_WINDOW, SEL_FIRST), 1);
    EXPECT_EQ(warnings(),
              (std::vector<std::string>{
                  "You selected more than one reachable Morix. This\ncommand will use only the "
                  "first selected Morix in the list.",
                  "This command will not use Morixes that are marked as unreachable."}));
    EXPECT_TRUE(is_selected(host_info_list[2]));
}

// The verdict as data: each selected device with whether the command
// serves it; the session's selection follows, and forgets a record that
// leaves the list.
TEST_F(SelectCheck, TheVerdictListsEverySelectedDevice) {
    make_list({0, 1, 1});
    const DeviceState U = DeviceState::unreachable, D = DeviceState::done;
    struct Case {
        std::vector<int> rows;
        int mode;
        bool go;
        std::vector<DeviceState> states;
    };
    const Case cases[] = {
        {{1}, SEL_REACHABLE, false, {U}},
        {{1, 3}, SEL_REACHABLE, true, {U, D}},
        {{}, SEL_ANY, false, {}},
        {{2, 3}, SEL_SCRIPT, false, {D, D}},
    };
    for (const Case& c : cases) {
        ui_list_deselect_all(W_MRX_LIST);
        for (int row : c.rows)
            ui_list_select_pos(W_MRX_LIST, row, false);
        SelectionVerdict v = check_selection(session(), main_selection(), c.mode);
        EXPECT_EQ(v.go, c.go) << c.rows.size();
        std::vector<DeviceState> states;
        for (const DeviceOutcome& d : v.devices)
            states.push_back(d.state);
        EXPECT_EQ(states, c.states) << c.rows.size();
        EXPECT_EQ(session().selection().size(), c.rows.size());
    }
    MorixRecord* last = host_info_list[2];
    EXPECT_TRUE(is_selected(last));
    MorixRecordPtr gone = host_info_list.take(2);
    EXPECT_FALSE(is_selected(last));
}

TEST_F(SelectCheck, ParameterChoiceForShowAndScripts) {
    make_list({1});
    param_sel_flag = 1;
    EXPECT_EQ(check_main_sel(W_MAIN_WINDOW, SEL_SHOW_SET), 0);
    param_sel_flag = 0;
    EXPECT_EQ(check_main_sel(W_MAIN_WINDOW, SEL_SHOW_SET), 0);
    EXPECT_EQ(check_main_sel(W_MAIN_WINDOW, SEL_SCRIPT), 1); // a script of everything
    EXPECT_EQ(check_main_sel(W_MAIN_WINDOW, SEL_SCRIPT, true), 0);
    EXPECT_EQ(warnings(), (std::vector<std::string>{"You must select at least one parameter.",
                                                    "You must select a parameter group.",
                                                    "You must select a parameter group."}));
}

TEST_F(SelectCheck, RefusedSetsWarning) {
    make_list({1, 1});
    host_info_list[0]->allow_set = 0;
    host_info_list[1]->allow_set = 1;
    ui_list_select_pos(W_MRX_LIST, 1, false);
    ui_list_select_pos(W_MRX_LIST, 2, false);
    check_main_sel(W_MAIN_WINDOW, SEL_REACHABLE);
    EXPECT_EQ(check_sel_set_mrxs(W_MAIN_WINDOW, "Not set.", 0), 1);
    EXPECT_EQ(warnings().back(), "mrx0\n\nNot set.");
    host_info_list[1]->allow_set = 0;
    EXPECT_EQ(check_sel_set_mrxs(W_MAIN_WINDOW, "Not set.", 0), 0);
    EXPECT_EQ(warnings().back(), "mrx0, mrx1");
    EXPECT_EQ(check_sel_set_mrxs(W_MAIN_WINDOW, "Not set.", 1), 1);
    host_info_list[0]->allow_set = host_info_list[1]->allow_set = 1;
    size_t before = warnings().size();
    EXPECT_EQ(check_sel_set_mrxs(W_MAIN_WINDOW, "Not set.", 1), 0);
    EXPECT_EQ(warnings().size(), before);
}

TEST_F(SelectCheck, MenuEntriesFollowWhatTheSelectedDevicesHave) {
    make_list({1, 1});
    // An access server with internal modems; a PRI device with modems.
    host_info_list[0]->platform = 2;
    host_info_list[0]->modem_count = 8;
    host_info_list[1]->platform = 4;
    host_info_list[1]->modem_count = 12;
    host_info_list[1]->wan_count = 1;
    struct Case {
        std::vector<int> rows;
        std::vector<int> on, off;
    };
    const Case cases[] = {
        {{1}, {80, 88, 87}, {84, 81, 85}},
        {{2}, {80, 88, 81, 85}, {84, 87}},
        {{1, 2}, {80, 88}, {84, 81, 85, 87}},
    };
    for (const Case& c : cases) {
        ui_list_deselect_all(W_MRX_LIST);
        for (int row : c.rows)
            ui_list_select_pos(W_MRX_LIST, row, false);
        disable_main_menu_opt();
        for (int id : c.on)
            EXPECT_TRUE(is_sens(id)) << id << " rows " << c.rows.size();
        for (int id : c.off)
            EXPECT_FALSE(is_sens(id)) << id << " rows " << c.rows.size();
    }
    ui_list_deselect_all(W_MRX_LIST);
    check_main_sel(W_MAIN_WINDOW, SEL_MARK_ONLY);
    EXPECT_EQ(set_mrx_lst(), 0);
    ui_list_select_pos(W_MRX_LIST, 2, false);
    check_main_sel(W_MAIN_WINDOW, SEL_MARK_ONLY);
    EXPECT_EQ(set_mrx_lst(), 1);
    EXPECT_EQ(port_mrx_map.mrx_index[0], 1);
    EXPECT_EQ(port_mrx_map.mrx_index[1], -1);
}

} // namespace
