// Command dispatch on the headless services: modes, the function list
// choices, window actions, list double-clicks and the text filters.
#include <gtest/gtest.h>

#include "catalogue/func_catalogue.h"
#include "catalogue/func_display.h"
#include "catalogue/mib_catalogue.h"
#include "devices/text_buf.h"
#include "frame/device_list_window.h"
#include "frame/dispatch.h"
#include "frame/func_lists.h"
#include "frame/startup.h"
#include "ops/show.h"
#include "snmp_access/morix_record.h"
#include "snmp_access/session.h"
#include "support/test_dirs.h"
#include "ui/app_globals.h"
#include "ui_headless/ui_headless.h"

namespace {

const int customized_cmds[] = {4, 5, 9, 10, 11, 12, 13, 15, 16};

class Dispatch : public ::testing::Test {
  protected:
    void SetUp() override {
        hl_reset();
        g_user_privileged = 1;
        g_customized_mode = 0;
    }
};

} // namespace

TEST_F(Dispatch, UnknownIdDoesNothing) {
    EXPECT_EQ(dispatch_main(999), 0);
    EXPECT_EQ(dispatch_main(6), 0);
    EXPECT_TRUE(hl_events().empty());
}

TEST_F(Dispatch, CustomizedModeEnablesItsCommands) {
    hl_widget(W_CUSTOMIZE_TB).toggle = true;
    EXPECT_EQ(dispatch_main(W_CUSTOMIZE_TB), 1);
    EXPECT_TRUE(ui_is_managed(W_CUSTOM_AREA));
    for (int id : customized_cmds)
        EXPECT_TRUE(is_sens(id)) << id;
    EXPECT_FALSE(is_sens(W_SETUP_BTN));
    EXPECT_FALSE(is_sens(W_BASIC_CMD));
    EXPECT_EQ(hl_texts("layout"), std::vector<std::string>{"customized"});
}

TEST_F(Dispatch, UnprivilegedUserKeepsRestrictedCommands) {
    g_user_privileged = 0;
    for (int id : {5, 10, 12})
        ui_set_sensitive(id, false);
    enter_customized_mode();
    EXPECT_FALSE(is_sens(5));
    EXPECT_FALSE(is_sens(10));
    EXPECT_FALSE(is_sens(12));
    EXPECT_TRUE(is_sens(13));
    EXPECT_TRUE(is_sens(4));
}

TEST_F(Dispatch, SetupModeAsksWhenWindowsAreOpen) {
    enter_customized_mode();
    gui_manage_top_form(W_SHOW_FORM);
    hl_widget(W_CUSTOMIZE_TB).toggle = false;
    hl_queue_answer(ASK_CANCEL);
    dispatch_main(W_CUSTOMIZE_TB);
    ASSERT_EQ(hl_texts("ask").size(), 1u);
    EXPECT_EQ(hl_texts("ask")[0],
              "You selected Setup mode. All the currently displayed\nCustomized "
              "mode windows will be closed.\n\nDo you want to continue?");
    EXPECT_TRUE(ui_get_toggle(W_CUSTOMIZE_TB));
    EXPECT_TRUE(ui_is_managed(W_SHOW_FORM));
    EXPECT_TRUE(ui_is_managed(W_CUSTOM_AREA));
    EXPECT_TRUE(is_sens(13));

    hl_widget(W_CUSTOMIZE_TB).toggle = false;
    hl_queue_answer(ASK_OK);
    dispatch_main(W_CUSTOMIZE_TB);
    EXPECT_FALSE(ui_is_managed(W_SHOW_FORM));
    EXPECT_FALSE(ui_is_managed(W_CUSTOM_AREA));
    for (int id : customized_cmds)
        EXPECT_FALSE(is_sens(id)) << id;
    EXPECT_TRUE(is_sens(W_SETUP_BTN));
}

TEST_F(Dispatch, SetupModeWithoutOpenWindowsDoesNotAsk) {
    enter_customized_mode();
    EXPECT_EQ(enter_setup_mode(), 1);
    EXPECT_TRUE(hl_texts("ask").empty());
}

TEST_F(Dispatch, WindowActions) {
    gui_manage_top_form(W_SHOW_FORM);
    ui_set_text(W_SHOW_TEXT, "report");
    EXPECT_EQ(dispatch_main(W_SHOW_CLEAR_PB), 1); // Clear
    EXPECT_EQ(ui_get_text(W_SHOW_TEXT), "");
}

TEST_F(Dispatch, ConfirmAutoResetToggle) {
    hl_widget(W_AUTO_RESET_TB).toggle = false;
    dispatch_main(W_AUTO_RESET_TB);
    EXPECT_EQ(g_confirm_auto_reset, 0);
    hl_widget(W_AUTO_RESET_TB).toggle = true;
    dispatch_main(W_AUTO_RESET_TB);
    EXPECT_EQ(g_confirm_auto_reset, 1);
}

TEST_F(Dispatch, ExitAndLaterCommands) {
    dispatch_main(W_EXIT_PB);
    EXPECT_EQ(hl_events().back().kind, "exit");
    // Boot (2) reaches its command, which first checks the selection.
    dispatch_main(W_BOOT_PB);
    EXPECT_EQ(hl_warning_box(), "You must select a reachable Morix from the list.");
    hl_close_warning_box();
    // Add (31) reaches the device list command.
    ui_set_text(W_MRX_NAME_TF, " ");
    dispatch_main(W_ADD_PB);
    EXPECT_EQ(hl_texts("warn").back(), "You must enter a Morix name or an IP address.");
}

TEST_F(Dispatch, FunctionListChoices) {
    StagedInstall inst;
    ASSERT_EQ(read_mib_info("data/gui_mm_data"), 0);
    ASSERT_EQ(read_func_info("data/gui_mm_data"), 0);
    display_mgmt_func_main(FG_STANDARD);
    main_prm_lst_w = W_CHOICE_STD_GROUPS;
    hl_widget(W_ASY_PRM_TB).toggle = true;
    dispatch_main(W_FUNC_MODE);
    EXPECT_EQ(param_sel_flag, 1);
    EXPECT_EQ(main_prm_lst_w, W_ASY_PRM_TB);
    EXPECT_EQ(ui_list_get_policy(W_FUNC_LIST), LSP_EXTENDED);
    // The same choice again does not redraw the list.
    ui_list_add_item(W_FUNC_LIST, "marker", 0);
    set_mgmt_mode_lst(W_ASY_PRM_TB);
    EXPECT_EQ(ui_list_items(W_FUNC_LIST).back(), "marker");
    set_mgmt_mode_lst(W_CHOICE_STD_GROUPS);
    EXPECT_EQ(param_sel_flag, 0);
    EXPECT_EQ(fnc_sel_ind, FG_STANDARD);
    EXPECT_EQ(ui_list_get_policy(W_FUNC_LIST), LSP_SINGLE);
    EXPECT_EQ(choice_port_type(W_DS0_PRM_TB), 8);
    EXPECT_EQ(choice_port_type(W_DS1_PRM_TB), 5);
    EXPECT_EQ(choice_port_type(W_CHN_PRM_TB), 6);
    EXPECT_EQ(choice_port_type(99), -3);
    set_mgmt_mode_lst(99); // not a choice: nothing changes
    EXPECT_EQ(main_prm_lst_w, W_CHOICE_STD_GROUPS);
}

TEST_F(Dispatch, ListDoubleClicks) {
    EXPECT_EQ(list_action_main(W_MRX_LIST, 1, "x", 0), 1);
    EXPECT_EQ(hl_warning_box(), "You must select a reachable Morix from the list.");
    EXPECT_EQ(list_action_main(999, 1, "x", 0), 0);
    ui_list_add_item(W_UDF_WORK, "a", 0);
    list_action_main(W_UDF_GROUP_LIST, 1, "g", 23);
    EXPECT_EQ(ui_list_count(W_UDF_WORK), 0);
}

TEST_F(Dispatch, GroupNamePromptStripsBlanks) {
    prompt_name_ok("my group");
    EXPECT_EQ(ui_get_text(W_NAME_PROMPT_TEXT), "mygroup");
    ASSERT_FALSE(hl_texts("warn").empty());
    EXPECT_EQ(hl_texts("warn")[0], "Blanks found and removed:\n'my group' ->\n'mygroup'\n");
}

TEST(TextFilters, Rules) {
    EXPECT_EQ(filter_insertion(2, 0, " a"), 0);
    EXPECT_EQ(filter_insertion(2, 3, "\t"), 0);
    EXPECT_EQ(filter_insertion(2, 0, "a b"), 1);
    EXPECT_EQ(filter_insertion(3, 0, "7"), 1);
    EXPECT_EQ(filter_insertion(3, 0, "x"), 0);
    EXPECT_EQ(filter_insertion(3, 0, "12a"), 0); // a paste cannot bring a letter
    EXPECT_EQ(filter_insertion(4, 0, "-"), 1);
    EXPECT_EQ(filter_insertion(4, 0, "+5"), 1);
    EXPECT_EQ(filter_insertion(4, 3, "-"), 0);
    EXPECT_EQ(filter_insertion(5, 0, "."), 0);
    EXPECT_EQ(filter_insertion(5, 2, "."), 1);
    EXPECT_EQ(filter_insertion(5, 0, "1.2"), 1);
    EXPECT_EQ(filter_insertion(3, 0, ""), 1); // deletions pass
}

TEST(TextFilters, PrmLimits) {
    EXPECT_EQ(verify_prm_insertion(5, 23, "1"), 1);
    EXPECT_EQ(verify_prm_insertion(5, 24, "1"), 0);
    EXPECT_EQ(verify_prm_insertion(3, 998, "1"), 1);
    EXPECT_EQ(verify_prm_insertion(3, 999, "1"), 0);
    EXPECT_EQ(verify_prm_insertion(-3, 0, "x"), 1);
}

TEST(MrxConf, NamesOfSelectedReachableDevicesWrapAt60) {
    hl_reset();
    free_host_info_list(host_info_list);
    std::vector<MorixRecord*> chosen;
    for (int i = 0; i < 12; ++i) {
        MorixRecordPtr r = new_host_node();
        r->name = "device-" + std::to_string(i);
        r->reachable = i != 5;
        if (i != 3)
            chosen.push_back(r.get());
        host_info_list.insert(r, i);
    }
    session().select(chosen);
    std::string text =
        mrx_conf_question("The selected boot option will take place:", selected_reachable()).text;
    EXPECT_EQ(
        text.rfind("The selected boot option will take place:\n\n    device-0, device-1, ", 0), 0u);
    EXPECT_EQ(text.find("device-3"), std::string::npos);
    EXPECT_EQ(text.find("device-5"), std::string::npos);
    EXPECT_NE(text.find("\n    device-"), std::string::npos); // a wrapped line
    EXPECT_EQ(text.substr(text.size() - 26), "\n\nDo you want to continue?");
    std::string names = mrx_conf_names();
    size_t start = 0;
    while (start < names.size()) {
        size_t end = names.find('\n', start);
        if (end == std::string::npos)
            end = names.size();
        EXPECT_LE(end - start, 80u);
        start = end + 1;
    }
    free_host_info_list(host_info_list);
    EXPECT_EQ(mrx_conf_names(), "    ");
}

// Only the rows that differ are rewritten, so the others keep their
// selection; the view's own choices follow.
TEST(DeviceListRenderer, RewritesOnlyTheRowsThatDiffer) {
    hl_reset();
    ui_list_set_policy(W_MRX_LIST, LSP_EXTENDED);
    for (const char* row : {"<a> : ModelG", "<b> : ModelG", "<c> : ModelG", "<d> : ModelL"})
        ui_list_add_item(W_MRX_LIST, row, 0);
    ui_list_select_pos(W_MRX_LIST, 2, false);
    ListOutcome out;
    out.list.rows = {"<x> : ModelL", "<a> : ModelG", "<b> : ModelG", "<c> : NOT REACHABLE"};
    out.list.selected = {4};
    out.list.shown = 4;
    out.name_field = "x";
    render_device_list(out, W_MAIN_WINDOW);
    EXPECT_EQ(ui_list_items(W_MRX_LIST), out.list.rows);
    EXPECT_EQ(ui_list_selected_pos(W_MRX_LIST), (std::vector<int>{3, 4}));
    EXPECT_EQ(hl_widget(W_MRX_LIST).bottom_pos, 4);
    EXPECT_EQ(ui_get_text(W_MRX_NAME_TF), "x");
    out.list.emptied = true; // a replaced list keeps no selection
    out.list.selected.clear();
    render_device_list(out, W_MAIN_WINDOW);
    EXPECT_EQ(ui_list_items(W_MRX_LIST), out.list.rows);
    EXPECT_TRUE(ui_list_selected_pos(W_MRX_LIST).empty());
}
