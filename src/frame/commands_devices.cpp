// The device list and discovery commands behind the main window's ids.
#include "catalogue/mib_catalogue.h"
#include "devices/discovery.h"
#include "devices/mrx_list.h"
#include "devices/mrx_list_file.h"
#include "frame/commands.h"
#include "frame/device_info_window.h"
#include "frame/device_list_window.h"
#include "frame/discover_window.h"
#include "frame/help.h"
#include "frame/render.h"
#include "frame/set_window.h"
#include "frame/settings_window.h"
#include "ops/site_prm.h"
#include "snmp_access/morix_record.h"
#include "snmp_access/session.h"
#include "ui/app_globals.h"
#include "ui/ui.h"

int cmd_add_mrx(int) {
    AddMorixRequest req;
    remove_blanks_warn(W_MAIN_WINDOW, ui_get_text(W_MRX_NAME_TF), &req.name);
    req.community = ui_get_text(W_COMM_TF);
    add_morix(req);
    return 1;
}

int cmd_delete_mrx(int) {
    delete_morix();
    mark_set_values_outdated();
    return 1;
}

int cmd_query_mrx(int) {
    // The name field is cleaned like Add cleans it; the community field is
    // the community to try when a device does not answer to its own.
    std::string name, alt;
    remove_blanks(ui_get_text(W_MRX_NAME_TF), &name);
    ui_set_text(W_MRX_NAME_TF, name);
    remove_blanks(ui_get_text(W_COMM_TF), &alt);
    query_morix(alt);
    mark_set_values_outdated();
    return 1;
}

int cmd_snmp_info_open(int) {
    if (get_snmp_info_vals(0))
        gui_manage_top_form(W_SNMP_FORM);
    return 1;
}

int cmd_snmp_set(int) {
    SnmpSettingsRequest req;
    req.update_defaults = ui_get_toggle(W_SNMP_UPD_DEF_TB);
    req.update_selected = ui_get_toggle(W_SNMP_UPD_SEL_TB);
    req.timeout = ui_get_text(W_SNMP_TIMEOUT_TF);
    req.retries = ui_get_text(W_SNMP_RETRIES_TF);
    req.community = ui_get_text(W_SNMP_COMM_TF);
    set_snmp_info_vals(req);
    return 1;
}

// Get reads the selected devices' settings, Get Defaults the program's.
int cmd_snmp_get(int id) {
    get_snmp_info_vals(id == W_SNMP_GET_PB ? 0 : 1);
    return 1;
}

int cmd_save_mrx_list(int id) {
    if (mrx_lst_cnt == 0) {
        display_warn(W_MAIN_WINDOW, "There are no Morixes to save.");
        return 1;
    }
    ui_file_selection(
        W_MAIN_WINDOW, "Save Morix List Selection", mm_path("data/mrx_lists"),
        [](const std::string& typed) {
            std::string path;
            remove_blanks_warn(W_MAIN_WINDOW, typed, &path);
            return save_mrx_list_proc(W_MAIN_WINDOW, path, session().devices());
        },
        fil_sel_help_text(id));
    return 1;
}

int cmd_open_mrx_list(int id) {
    ui_file_selection(
        W_MAIN_WINDOW, "Open Morix List Selection", mm_path("data/mrx_lists"),
        [](const std::string& typed) {
            // The typed name without blanks (said so), the list replaced.
            std::string path;
            remove_blanks_warn(W_MAIN_WINDOW, typed, &path);
            Outcome loaded = load_device_list(path, true, 0);
            render_outcome(loaded, OutputArea{W_MAIN_WINDOW, 0});
            return loaded.result == Result::failed ? 0 : 1;
        },
        fil_sel_help_text(id));
    return 1;
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
    } else if (list_id == W_SITE_PRM_LIST) {
        cmd_site_selection();
    }
}

int cmd_new_discovery(int) {
    ui_fetch_dialog("dsc_prompt_dialog", W_DSC_PROMPT);
    discover_new_proc();
    return 1;
}

void cmd_startup_discovery(const std::string& naddr, const std::string& mask, int timeout) {
    discover_morixes_new(naddr, mask, timeout, 1);
}
