// List double-click and selection handling, the group-name prompt, and
// the basic-mode dispatch of the frame.
#include "basic/basic_page.h"
#include "catalogue/func_display.h"
#include "catalogue/mib_catalogue.h"
#include "frame/basic_window.h"
#include "frame/commands.h"
#include "frame/dispatch.h"
#include "frame/func_lists.h"
#include "frame/help.h"
#include "frame/registry.h"
#include "frame/render.h"
#include "snmp_access/morix_record.h"
#include "snmp_access/session.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {
constexpr int CR_SINGLE_SELECT = 23; // the toolkit's single-select reason

void show_prm_help_by_name(const std::string& name) {
    int id = 0;
    if (get_check_mib_var(name, &id) == 1)
        display_prm_help(id);
}
} // namespace

int list_action_main(int list_id, int pos, const std::string& item, int reason) {
    switch (list_id) {
    case W_MRX_LIST: {
        const MorixRecord* r =
            pos >= 1 && pos <= MAX_MRX_SLOTS ? session().devices()[pos - 1] : nullptr;
        if (r == nullptr || !r->reachable) {
            display_warn(W_MAIN_WINDOW, "You must select a reachable Morix from the list.");
            cmd_hide_mrx_info();
        } else {
            cmd_show_mrx_info(pos);
        }
        return 1;
    }
    case W_FUNC_LIST:
        if (param_sel_flag)
            show_prm_help_by_name(item);
        else
            display_fnc_help(item, fnc_sel_ind == 0);
        return 1;
    case W_UDF_GROUP_LIST:
        if (reason == CR_SINGLE_SELECT)
            ui_list_delete_all(W_UDF_WORK);
        else
            cmd_list_action(list_id, pos, reason);
        return 1;
    case W_UDF_PRM_LIST:
    case W_UDF_WORK:
    case W_SITE_PRM_LIST:
        show_prm_help_by_name(item);
        if (list_id == W_SITE_PRM_LIST)
            cmd_list_action(list_id, pos, reason);
        return 1;
    default:
        return 0;
    }
}

void list_selection_main(int list_id) {
    if (list_id == W_FUNC_LIST) {
        if (ui_is_managed(W_CPY_FORM))
            update_act_hlp_label(W_CPY_FORM);
        if (ui_is_managed(W_CMP_FORM))
            update_act_hlp_label(W_CMP_FORM);
        return;
    }
    if (list_id == W_MRX_LIST || list_id == W_SITE_PRM_LIST)
        cmd_list_selection(list_id);
}

int prompt_name_ok(const std::string& typed) {
    std::string name;
    remove_blanks_warn(W_UDF_FORM, typed, &name);
    ui_set_text(W_NAME_PROMPT_TEXT, name);
    int result = cmd_udf_new_group(name);
    const char* msg = nullptr;
    switch (result) {
    case -4:
        msg = "Could not open file.";
        break;
    case -7:
        msg = "Could not find internal references to a parameter group or parameter. Software "
              "error.";
        break;
    case -8:
        msg = "Unable to read parameter group information from data file.";
        break;
    case -9:
        msg = "You have too many user-defined parameter groups.\nIf you want to add another "
              "group, you must delete an existing group.";
        break;
    case -10:
        msg = "A group name must contain at least one alphanumeric character.";
        break;
    case -11:
        return 0;
    default:
        return 1;
    }
    display_warn(W_UDF_FORM, msg);
    return 0;
}

void dispatch_basic(int id) {
    for (const BasicWindowRow& b : basic_window_rows()) {
        if (id == b.help.id) {
            display_win_help(basic_help_id(id), UI_BASIC);
            return;
        }
        if (id == b.close_id) {
            ui_unmanage(b.form, UI_BASIC);
            return;
        }
    }
    if (!basic_dispatch(id))
        cmd_not_available(W_MAIN_WINDOW, "basic-mode");
}

void set_commands_available(bool available) {
    const int ids[] = {W_MENU_BAR, W_ADD_PB, W_DELETE_PB, W_QUERY_PB, W_CUSTOMIZE_TB};
    for (int id : ids)
        ui_set_sensitive(id, available);
}

void show_params_used(int form, int chosen_toggle, bool main_choice) {
    bool copy = form == W_CPY_FORM;
    (copy ? g_cpy_copy_mode : g_cmp_dev_mode) = main_choice ? 1 : 0;
    if (main_choice) {
        update_act_hlp_label(form);
        return;
    }
    // Another choice: the command reads every parameter of that kind, and
    // none of the main window's.
    std::string kind = chosen_toggle != 0 ? get_widget_label(chosen_toggle) : "";
    set_widget_label(copy ? W_CPY_ACT_HLP_LBL : W_CMP_ACT_HLP_LBL,
                     kind.empty() ? "<the script's parameters>" : "<all " + kind + " parameters>");
}
