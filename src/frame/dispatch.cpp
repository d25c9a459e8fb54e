#include "frame/dispatch.h"

#include <algorithm>
#include <cctype>

#include "catalogue/func_catalogue.h"
#include "catalogue/func_display.h"
#include "frame/commands.h"
#include "frame/func_lists.h"
#include "frame/help.h"
#include "frame/registry.h"
#include "frame/save_text.h"
#include "frame/script_windows.h"
#include "frame/startup.h"
#include "ops/show.h"
#include "ui/app_globals.h"
#include "ui/ui.h"

int g_customized_mode = 0;

namespace {

// Commands of Customized mode; Setup mode makes them insensitive.
const int customized_cmds[] = {W_COMPARE_PB, W_COPY_PB, W_SCR_CRT_PB, W_SCR_EXE_PB, W_SCR_VIEW_PB,
                               W_SET_PB,     W_SHOW_PB, W_UDF_PB,     W_SITE_PB,    W_UNDO_PB};
// Forms of the windows that belong to Customized mode.
const int customized_forms[] = {W_SHOW_FORM, W_SET_FORM, W_CMP_FORM, W_UDF_FORM, W_CRT_FORM,
                                W_VIEW_FORM, W_EXE_FORM, W_CPY_FORM, W_SITE_FORM};

// Choices of the function list and what they show: group 0 and 1 for the
// first two, then port type codes.
struct ListChoice {
    int id;
    int port_type; // -1 standard groups, -2 user groups
};
const ListChoice list_choices[] = {
    {W_CHOICE_STD_GROUPS, -1}, {W_USR_GRP_TB, -2}, {W_MRX_PRM_TB, 0},
    {W_ASY_PRM_TB, 1},         {W_PTR_PRM_TB, 3},  {W_EN_PRM_TB, 4},
    {W_DS0_PRM_TB, 8},         {W_DS1_PRM_TB, 5},  {W_CHN_PRM_TB, 6}};

// Port type selector entries of the main window, W_PT_MRX_PB to
// W_PT_DS0_PB, choose the port type codes 0, 1, 2, 3, 4, 5 and 8.
constexpr int W_PORT_TYPE_FIRST = W_PT_MRX_PB;
constexpr int W_PORT_TYPE_LAST = W_PT_DS0_PB;
const int port_type_codes[] = {0, 1, 2, 3, 4, 5, 8};

} // namespace

int cmd_exit(int) {
    process_exit();
    return 1;
}

int cmd_about(int) {
    display_about();
    return 1;
}

int cmd_func_mode(int) {
    for (const ListChoice& c : list_choices)
        if (ui_get_toggle(c.id))
            set_mgmt_mode_lst(c.id);
    return 1;
}

int cmd_auto_reset(int) {
    g_confirm_auto_reset = ui_get_toggle(W_AUTO_RESET_TB) ? 1 : 0;
    return 1;
}

int cmd_customize(int) {
    if (ui_get_toggle(W_CUSTOMIZE_TB))
        enter_customized_mode();
    else
        enter_setup_mode();
    return 1;
}

int cmd_port_type(int id) {
    if (id >= W_PORT_TYPE_FIRST && id <= W_PORT_TYPE_LAST)
        show_port_sel_ind = port_type_codes[id - W_PORT_TYPE_FIRST];
    return 1;
}

int dispatch_main(int id) {
    const WindowRow* w = window_of_id(id);
    if (w == nullptr)
        return 0;
    if (const CommandRow* c = command_of(*w, id)) {
        if (c->run != nullptr && !c->run(id))
            cmd_not_available(w->form, "requested");
    } else if (id == w->clear_id) {
        ui_set_text(w->text, "");
    } else if (id == w->close_id) {
        if (w->closed != nullptr)
            w->closed(w->form);
        gui_unmanage_top_form(w->form);
    } else if (std::find(w->saves.begin(), w->saves.end(), id) != w->saves.end()) {
        save_output_action(w->form, id, w->text);
    } else {
        display_win_help(id, UI_MAIN);
    }
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
