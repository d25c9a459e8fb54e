// The device list and discovery commands behind the main window's ids.
#include "frame/commands_devices.h"

#include "catalogue/mib_catalogue.h"
#include "devices/discovery.h"
#include "devices/mrx_list.h"
#include "devices/mrx_list_file.h"
#include "frame/commands.h"
#include "frame/commands_groups.h"
#include "frame/dispatch.h"
#include "frame/help.h"
#include "ops/set_window.h"
#include "snmp_access/morix_record.h"
#include "ui/app_globals.h"
#include "ui/ui.h"

void cmd_add_mrx() {
    add_morix();
}
void cmd_delete_mrx() {
    delete_morix();
    mark_set_values_outdated();
}

void cmd_query_mrx() {
    // The name field is cleaned like Add cleans it; the community field is
    // the community to try when a device does not answer to its own.
    std::string name, alt;
    remove_blanks(ui_get_text(W_MRX_NAME_TF), &name);
    ui_set_text(W_MRX_NAME_TF, name);
    remove_blanks(ui_get_text(W_COMM_TF), &alt);
    query_morix(alt);
    mark_set_values_outdated();
}

void cmd_snmp_info_open() {
    if (get_snmp_info_vals(0))
        gui_manage_top_form(W_SNMP_FORM_ID);
}

void cmd_save_mrx_list() {
    if (mrx_lst_cnt == 0) {
        display_warn(W_MAIN_WINDOW, "There are no Morixes to save.");
        return;
    }
    ui_file_selection(
        W_MAIN_WINDOW, "Save Morix List Selection", mm_path("data/mrx_lists"),
        [](const std::string& typed) {
            return save_mrx_list_proc(W_MAIN_WINDOW, typed, host_info_list);
        },
        fil_sel_help_text(22));
}

void cmd_open_mrx_list() {
    ui_file_selection(
        W_MAIN_WINDOW, "Open Morix List Selection", mm_path("data/mrx_lists"),
        [](const std::string& typed) { return load_mrx_list_proc(W_MAIN_WINDOW, typed); },
        fil_sel_help_text(23));
}

void cmd_show_mrx_info(int pos) {
    ui_fetch_dialog("mrx_info_box", W_MRX_INFO_BOX);
    display_mrx_info(pos - 1);
}

void cmd_hide_mrx_info() {
    ui_unmanage(W_MRX_INFO_BOX);
}

void cmd_list_selection(int list_id) {
    if (list_id == W_MRX_LIST) {
        disable_main_menu_opt();
        mark_set_values_outdated();
    } else {
        groups_list_selection(list_id);
    }
}

void cmd_new_discovery() {
    ui_fetch_dialog("dsc_prompt_dialog", W_DSC_PROMPT);
    discover_new_proc();
}

void cmd_startup_discovery(const std::string& naddr, const std::string& mask, int timeout) {
    discover_morixes_new(naddr, mask, timeout, 1);
}

int device_window_action(int id) {
    switch (id) {
    case 532:
        set_snmp_info_vals();
        return 1;
    case 533: // Get: the selected devices' settings
        get_snmp_info_vals(0);
        return 1;
    case 534: // Get Defaults: the program's defaults
        get_snmp_info_vals(1);
        return 1;
    default:
        return dsc_window_action(id);
    }
}
