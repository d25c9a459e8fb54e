// List double-click and selection handling, the group-name prompt, and
// the basic-mode dispatch of the frame.
#include "basic/basic_page.h"
#include "catalogue/func_display.h"
#include "catalogue/mib_catalogue.h"
#include "frame/commands.h"
#include "frame/dispatch.h"
#include "frame/help.h"
#include "snmp_access/morix_record.h"
#include "ui/ui.h"

namespace {
constexpr int CR_SINGLE_SELECT = 23; // the toolkit's single-select reason
constexpr int W_UDF_GROUP_LIST = 251, W_UDF_PRM_LIST = 252, W_UDF_GROUP_PRMS = 254,
              W_SITE_PRM_LIST = 608;

void show_prm_help_by_name(const std::string& name) {
    int id = 0;
    if (get_check_mib_var(name, &id) == 1)
        display_prm_help(id);
}
} // namespace

int list_action_main(int list_id, int pos, const std::string& item, int reason) {
    switch (list_id) {
    case W_MRX_LIST: {
        const MorixRecord* r = pos >= 1 && pos <= MAX_MRX_SLOTS ? host_info_list[pos - 1] : nullptr;
        if (r == nullptr || !r->reachable) {
            display_warn(W_MAIN_WINDOW, "You must select a reachable Morix from the list.");
            cmd_hide_mrx_info();
        } else {
            cmd_show_mrx_info(pos);
        }
        return 1;
    }
    case W_MAIN_FUNC_LIST:
        if (param_sel_flag)
            show_prm_help_by_name(item);
        else
            display_fnc_help(item, fnc_sel_ind == 0);
        return 1;
    case W_UDF_GROUP_LIST:
        if (reason == CR_SINGLE_SELECT)
            ui_list_delete_all(W_UDF_GROUP_PRMS);
        else
            cmd_list_action(list_id, pos, reason);
        return 1;
    case W_UDF_PRM_LIST:
    case W_UDF_GROUP_PRMS:
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
    if (list_id == W_MAIN_FUNC_LIST) {
        if (ui_is_managed(W_CPY_FORM_ID))
            update_act_hlp_label(W_CPY_FORM_ID);
        if (ui_is_managed(W_CMP_FORM_ID))
            update_act_hlp_label(W_CMP_FORM_ID);
        return;
    }
    if (list_id == W_MRX_LIST || list_id == W_SITE_PRM_LIST)
        cmd_list_selection(list_id);
}

int prompt_name_ok(const std::string& typed) {
    std::string name;
    remove_blanks_warn(W_UDF_FORM_ID, typed, &name);
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
    display_warn(W_UDF_FORM_ID, msg);
    return 0;
}

namespace {
// Basic-mode forms and their help ids and close buttons.
struct BasicWindow {
    int form;
    int help_id;
    int close_id;
};
// The setup window, General continued and WAN edit close through the
// basic-mode pages (their close asks about unapplied changes).
const BasicWindow basic_windows[] = {
    {0, 17, -1}, {300, 802, -1}, {181, 803, 182}, {620, 622, -1}, {0, 19, -1}};
} // namespace

void dispatch_basic(int id) {
    for (const BasicWindow& b : basic_windows) {
        if (id == b.help_id) {
            display_win_help(basic_help_id(id), UI_BASIC);
            return;
        }
        if (id == b.close_id) {
            ui_unmanage(b.form, UI_BASIC);
            return;
        }
    }
    cmd_basic_action(id);
}

void set_commands_available(bool available) {
    const int ids[] = {W_MENU_BAR, 31, 32, 33, W_CUSTOMIZE_TB};
    for (int id : ids)
        ui_set_sensitive(id, available);
}
