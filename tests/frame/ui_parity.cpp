// Every service of ui.h by address. This file is linked into one test
// program with the headless services and into one with the Motif services:
// a service missing from either implementation fails that link.
#include <gtest/gtest.h>

#include "ui/ui.h"

namespace {

using Fn = void (*)();
#define UI_FN(f) reinterpret_cast<Fn>(&f)

const Fn ui_services[] = {
    UI_FN(display_warn),
    UI_FN(redisplay_warn),
    UI_FN(warning_with),
    UI_FN(answer_pending),
    UI_FN(display_msg),
    UI_FN(ask_user),
    UI_FN(vask_user),
    UI_FN(gui_display_question),
    UI_FN(check_if_overwrite),
    UI_FN(set_app_cursor),
    UI_FN(set_app_cursor_no_dly),
    UI_FN(display_work),
    UI_FN(update_work),
    UI_FN(remove_work),
    UI_FN(pop_cancel_dialog),
    UI_FN(is_cancelled),
    UI_FN(reset_cancel_dialog),
    UI_FN(pop_cancel_dialog_down),
    UI_FN(update_cancel_scale),
    UI_FN(process_pending_events),
    UI_FN(clear_event_queue),
    UI_FN(gui_manage_top_form),
    UI_FN(gui_unmanage_top_form),
    UI_FN(expose_dialog),
    UI_FN(ui_manage),
    UI_FN(ui_unmanage),
    UI_FN(ui_is_managed),
    UI_FN(ui_exists),
    UI_FN(set_dialog_title),
    UI_FN(set_focus),
    UI_FN(ui_get_text),
    UI_FN(ui_set_text),
    UI_FN(write_otp_msg),
    UI_FN(get_widget_label),
    UI_FN(set_widget_label),
    UI_FN(ui_list_items),
    UI_FN(ui_list_count),
    UI_FN(ui_list_add_item),
    UI_FN(ui_list_delete_pos),
    UI_FN(ui_list_delete_all),
    UI_FN(ui_list_replace_pos),
    UI_FN(ui_list_selected_pos),
    UI_FN(ui_list_selected_items),
    UI_FN(ui_list_select_pos),
    UI_FN(ui_list_deselect_pos),
    UI_FN(ui_list_deselect_all),
    UI_FN(ui_list_set_top_pos),
    UI_FN(ui_list_set_bottom_pos),
    UI_FN(ui_list_set_policy),
    UI_FN(ui_list_get_policy),
    UI_FN(ui_get_toggle),
    UI_FN(ui_set_toggle),
    UI_FN(ui_get_option),
    UI_FN(set_option_menu_top_button),
    UI_FN(set_om_blank),
    UI_FN(ui_set_option_items),
    UI_FN(ui_set_sensitive),
    UI_FN(is_sens),
    UI_FN(process_exit),
    UI_FN(layout_main_window),
    UI_FN(display_msg_box),
    UI_FN(display_item_help),
    UI_FN(ui_text_show_position),
    UI_FN(ui_file_selection),
    UI_FN(pop_delay_dialog),
    UI_FN(write_otp_msg_redisp),
    UI_FN(display_box),
    UI_FN(display_box_ruled),
    UI_FN(display_prompt),
    UI_FN(ui_fetch_dialog),
    UI_FN(ui_rescan_files),
    UI_FN(ui_build_set_rows),
    UI_FN(ui_free_set_rows),
    UI_FN(ui_set_read_only),
    UI_FN(ui_add_timer),
    UI_FN(ui_remove_timer),
    UI_FN(ui_bell),
};

} // namespace

// Counts the declarations of ui.h so that a service added there without an
// entry above is noticed.
int count_ui_declarations(const std::string& header_path);

TEST(UiParity, EveryServiceIsImplementedAndListed) {
    for (Fn f : ui_services)
        EXPECT_NE(f, nullptr);
    const char* src = std::getenv("MM_SOURCE_DIR");
    ASSERT_NE(src, nullptr);
    EXPECT_EQ(count_ui_declarations(std::string(src) + "/src/ui/ui.h"),
              static_cast<int>(sizeof ui_services / sizeof ui_services[0]));
}
