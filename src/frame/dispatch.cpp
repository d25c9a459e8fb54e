#include "frame/dispatch.h"
#include "ops/show.h"

#include <cctype>

#include "catalogue/func_catalogue.h"
#include "catalogue/func_display.h"
#include "ops/script_windows.h"
#include "ui/app_globals.h"
#include "frame/commands.h"
#include "frame/help.h"
#include "frame/save_text.h"
#include "frame/startup.h"
#include "ui/ui.h"

int g_customized_mode = 0;

namespace {

// Commands of Customized mode; Setup mode makes them insensitive.
const int customized_cmds[] = {4, 5, 9, 10, 11, 12, 13, 15, 16};
// Forms of the windows that belong to Customized mode.
const int customized_forms[] = {W_SHOW_FORM_ID, W_SET_FORM_ID, W_CMP_FORM_ID,
                                W_UDF_FORM_ID,  W_CRT_FORM_ID, W_VIEW_FORM_ID,
                                W_EXE_FORM_ID,  W_CPY_FORM_ID, W_SITE_FORM_ID};

// Choices of the function list and what they show: group 0 and 1 for the
// first two, then port type codes.
struct ListChoice {
    int id;
    int port_type; // -1 standard groups, -2 user groups
};
const ListChoice list_choices[] = {{46, -1}, {47, -2}, {48, 0},  {59, 1}, {61, 3},
                                   {62, 4},  {730, 8}, {731, 5}, {83, 6}};

const int port_type_codes[] = {0, 1, 2, 3, 4, 5, 8};

void window_action(const WindowAction& a) {
    switch (a.kind) {
    case WA_HELP:
        display_win_help(a.id, UI_MAIN);
        break;
    case WA_SAVE:
        save_output_action(a.form, a.id, a.text);
        break;
    case WA_CLEAR:
        ui_set_text(a.text, "");
        break;
    case WA_CLOSE:
        cmd_window_closed(a.form);
        gui_unmanage_top_form(a.form);
        break;
    default:
        cmd_window_action(a.id);
        break;
    }
}

void open_window(int form) {
    gui_manage_top_form(form);
}

// The script folder changes while the program runs (Create Script, Compare's
// saved differences): the file list is read again each time the window opens.
constexpr int W_VIEW_FSB = 401, W_EXE_FSB = 411;
void open_script_window(int form, int file_box) {
    gui_manage_top_form(form);
    ui_rescan_files(file_box);
}

// Main-window commands: the id and what it runs.
struct MainCommand {
    int id;
    void (*run)();
};

const MainCommand main_commands[] = {
    {2, cmd_boot},
    {3, [] { open_window(W_BCAST_FORM_ID); }},
    {4, open_cmp_window},
    {5, cmd_copy_open},
    {7, cmd_reset_open},
    {9, [] { open_window(W_CRT_FORM_ID); }},
    {10, [] { open_script_window(W_EXE_FORM_ID, W_EXE_FSB); }},
    {11, [] { open_script_window(W_VIEW_FORM_ID, W_VIEW_FSB); }},
    {12, cmd_set_open},
    {52, cmd_set_open},
    {13, cmd_show_open},
    {51, cmd_show_open},
    {14, process_exit},
    {15, cmd_udf_open},
    {16, cmd_site_open},
    {17, cmd_snmp_info_open},
    {22, cmd_save_mrx_list},
    {23, cmd_open_mrx_list},
    {24, [] { open_window(W_DISC_FORM_ID); }},
    {25, display_about},
    {28, cmd_add_mrx},
    {31, cmd_add_mrx},
    {32, cmd_delete_mrx},
    {33, cmd_query_mrx},
    {W_SETUP_BTN, cmd_setup_basic},
    {W_BASIC_CMD, cmd_setup_basic},
    {79, cmd_new_discovery},
    {80, cmd_internal_modems},
    {82, cmd_edit_cfg_file},
};

// Status displays and window help take their id along.
const int status_ids[] = {18, 19, 20, 81, 84, 85, 87, 88};

int dispatch_main_window(int id) {
    for (const MainCommand& c : main_commands) {
        if (c.id == id) {
            c.run();
            return 1;
        }
    }
    for (int s : status_ids) {
        if (s == id) {
            cmd_status(id);
            return 1;
        }
    }
    if (id == 26 || id == 56) {
        display_win_help(id, UI_MAIN);
        return 1;
    }
    return 0;
}

int dispatch_main_controls(int id) {
    switch (id) {
    case W_FUNC_MODE:
        for (const ListChoice& c : list_choices)
            if (ui_get_toggle(c.id))
                set_mgmt_mode_lst(c.id);
        return 1;
    case W_AUTO_RESET_TB:
        g_confirm_auto_reset = ui_get_toggle(W_AUTO_RESET_TB) ? 1 : 0;
        return 1;
    case W_CUSTOMIZE_TB:
        if (ui_get_toggle(W_CUSTOMIZE_TB))
            enter_customized_mode();
        else
            enter_setup_mode();
        return 1;
    default:
        break;
    }
    if (id >= W_PORT_TYPE_FIRST && id <= W_PORT_TYPE_LAST) {
        show_port_sel_ind = port_type_codes[id - W_PORT_TYPE_FIRST];
        return 1;
    }
    return 0;
}

} // namespace

int dispatch_main(int id) {
    if (dispatch_main_window(id) || dispatch_main_controls(id))
        return 1;
    const WindowAction* a = find_window_action(id);
    if (a == nullptr)
        return 0;
    window_action(*a);
    return 1;
}

// ---- function list mode -------------------------------------------------

int choice_port_type(int choice_id) {
    for (const ListChoice& c : list_choices)
        if (c.id == choice_id)
            return c.port_type;
    return -3;
}

void set_mgmt_mode_lst(int choice_id) {
    int kind = choice_port_type(choice_id);
    if (kind == -3)
        return;
    if (kind < 0) {
        int group = kind == -1 ? FG_STANDARD : FG_USER_DEFINED;
        if (param_sel_flag != 0 || fnc_sel_ind != group)
            display_mgmt_func_main(group);
    } else if (main_prm_lst_w != choice_id || param_sel_flag == 0) {
        display_mgmt_prm_main(kind);
    }
    main_prm_lst_w = choice_id;
}

// ---- Setup and Customized mode -----------------------------------------

void enter_customized_mode() {
    if (g_customized_mode && ui_is_managed(W_CUSTOM_AREA))
        return;
    for (int id : customized_cmds)
        ui_set_sensitive(id, g_user_privileged || !is_restricted_id(id));
    ui_set_sensitive(W_SETUP_BTN, false);
    ui_set_sensitive(W_BASIC_CMD, false);
    layout_main_window(1);
    ui_manage(W_CUSTOM_AREA);
    g_customized_mode = 1;
}

int enter_setup_mode() {
    bool open = false;
    for (int form : customized_forms)
        open = open || ui_is_managed(form);
    if (open &&
        ask_user(W_MAIN_WINDOW, "Confirmation", "OK", "Cancel", 1,
                 "You selected Setup mode. All the currently displayed\nCustomized mode windows "
                 "will be closed.\n\nDo you want to continue?") != ASK_OK) {
        ui_set_toggle(W_CUSTOMIZE_TB, true, false);
        return 0;
    }
    for (int form : customized_forms)
        if (ui_is_managed(form))
            gui_unmanage_top_form(form);
    ui_unmanage(W_CUSTOM_AREA);
    g_customized_mode = 0;
    layout_main_window(0);
    for (int id : customized_cmds)
        ui_set_sensitive(id, false);
    ui_set_sensitive(W_SETUP_BTN, true);
    ui_set_sensitive(W_BASIC_CMD, true);
    return 1;
}

// ---- text filters ---------------------------------------------------------

int filter_insertion(int rule, int pos, const std::string& text, int limit) {
    if (text.empty())
        return 1;
    unsigned char first = static_cast<unsigned char>(text[0]);
    switch (rule) {
    case 1:
        return pos < limit ? 1 : 0;
    case 2:
        return std::isspace(first) ? 0 : 1;
    default:
        break;
    }
    // Rules 3 to 5 look at every inserted character, so that a pasted text
    // cannot bring in what typing could not.
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        int at = pos + static_cast<int>(i);
        bool ok = std::isdigit(c) != 0;
        if (rule == 4)
            ok = ok || ((c == '+' || c == '-') && at == 0);
        else if (rule == 5)
            ok = ok || (c == '.' && at != 0);
        if (!ok)
            return 0;
    }
    return 1;
}

int verify_prm_insertion(int rule, int pos, const std::string& text) {
    if (rule < 0)
        return 1;
    if (!filter_insertion(rule, pos, text))
        return 0;
    return filter_insertion(1, pos, text, rule == 5 ? 24 : 999);
}
