// SNMP settings dialog, menu entries by product type, the basic-mode map of
// selected devices and the refused-sets warning.
#include <cstdlib>

#include "catalogue/mib_catalogue.h"
#include "devices/mrx_list.h"
#include "devices/mrx_select.h"
#include "snmp_access/product_types.h"
#include "ui/app_globals.h"
#include "ui/outcome.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

// Reads a number field; an empty one is refilled with the default. False
// when the text is not a number in range.
bool read_number_field(int id, const std::string& typed, int def, int low, int high, int* out) {
    std::string text;
    remove_blanks(typed, &text);
    if (text.empty()) {
        ui_set_text(id, std::to_string(def));
        *out = def;
        return true;
    }
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || v < low || v > high)
        return false;
    *out = static_cast<int>(v);
    return true;
}

} // namespace

int get_snmp_info_vals(int mode) {
    if (mode == 1) {
        ui_set_text(W_SNMP_TIMEOUT_TF, std::to_string(mm_snmp_def_to));
        ui_set_text(W_SNMP_RETRIES_TF, std::to_string(mm_snmp_def_rty));
        ui_set_text(W_SNMP_COMM_TF, mm_snmp_def_comm);
        return 1;
    }
    if (!check_main_sel(W_MAIN_WINDOW, SEL_ANY))
        return 0;
    ui_set_text(W_SNMP_TIMEOUT_TF, "");
    ui_set_text(W_SNMP_RETRIES_TF, "");
    ui_set_text(W_SNMP_COMM_TF, "");
    const MorixRecord* first = nullptr;
    bool same_tr = true, same_comm = true;
    for (int i = 0; i < mrx_lst_cnt; ++i) {
        const MorixRecord* r = host_info_list[i];
        if (!is_selected(r))
            continue;
        if (!first) {
            first = r;
            continue;
        }
        same_tr = same_tr && r->timeout == first->timeout && r->retries == first->retries;
        same_comm = same_comm && r->community == first->community;
    }
    if (!first)
        return 0;
    if (same_tr) {
        ui_set_text(W_SNMP_TIMEOUT_TF, std::to_string(first->timeout / 1000000));
        ui_set_text(W_SNMP_RETRIES_TF, std::to_string(first->retries));
    }
    if (same_comm)
        ui_set_text(W_SNMP_COMM_TF, first->community);
    if (!same_tr || !same_comm)
        display_warn(W_SNMP_FORM, "One or more SNMP values were different for the selected "
                                  "Morixes.\nThose values will not be displayed.");
    return 1;
}

Result set_snmp_info_vals(const SnmpSettingsRequest& req) {
    bool upd_def = req.update_defaults;
    bool upd_sel = req.update_selected;
    if (!upd_def && !upd_sel) {
        display_warn(W_SNMP_FORM, "You must select one or both update options.");
        return Result::refused;
    }
    if (upd_sel && !check_main_sel(W_SNMP_FORM, SEL_ANY))
        return Result::refused;
    int timeout = 0, retries = 0;
    if (!read_number_field(W_SNMP_TIMEOUT_TF, req.timeout, mm_snmp_def_to, 0, MAX_TIMEOUT_SECS,
                           &timeout)) {
        display_warn(W_SNMP_FORM, "The time-out must be a number of seconds from 0 to " +
                                      std::to_string(MAX_TIMEOUT_SECS) + ".");
        return Result::refused;
    }
    if (!read_number_field(W_SNMP_RETRIES_TF, req.retries, mm_snmp_def_rty, 0, 100, &retries)) {
        display_warn(W_SNMP_FORM, "The retries must be a number from 0 to 100.");
        return Result::refused;
    }
    std::string comm;
    remove_blanks(req.community, &comm);
    if (comm.empty())
        comm = mm_snmp_def_comm;
    if (upd_def) {
        if (timeout > 0)
            mm_snmp_def_to = timeout;
        mm_snmp_def_rty = retries;
        mm_snmp_def_comm = comm;
    }
    if (upd_sel) {
        for (int i = 0; i < mrx_lst_cnt; ++i) {
            MorixRecord* r = host_info_list[i];
            if (!is_selected(r))
                continue;
            r->timeout = timeout * 1000000;
            r->retries = retries;
            r->community = comm;
        }
    }
    ui_set_toggle(W_SNMP_UPD_DEF_TB, false, false);
    ui_set_toggle(W_SNMP_UPD_SEL_TB, false, false);
    return Result::done;
}

namespace {

// What a device must have for a product-specific command of the main menu.
enum MenuNeed {
    NEED_COMM_SERVER,
    NEED_PRI_MODULE,
    NEED_WAN_MODULE,
    NEED_INTERNAL_MODEMS,
    NEED_MULTILINK
};

struct ProductMenuEntry {
    int id;
    MenuNeed need;
};

// DVS status, PRI channels status, internal CSU status, internal modems,
// modem calls status and multilink status.
const ProductMenuEntry k_product_menu[] = {{84, NEED_COMM_SERVER},     {81, NEED_PRI_MODULE},
                                           {85, NEED_WAN_MODULE},      {80, NEED_INTERNAL_MODEMS},
                                           {88, NEED_INTERNAL_MODEMS}, {87, NEED_MULTILINK}};

bool device_has(const MorixRecord* r, MenuNeed need) {
    switch (need) {
    case NEED_COMM_SERVER: // the dial-up tunnels of the DVS status
        return check_comm_srv(r) != 0;
    case NEED_PRI_MODULE:
        return (r->platform == 4 || r->platform == 5) && r->wan_count > 0;
    case NEED_WAN_MODULE: // the internal CSU of a T1 or PRI module
        return r->wan_count > 0;
    case NEED_INTERNAL_MODEMS:
        return r->modem_count > 0;
    case NEED_MULTILINK: // the access servers and channelized T1 devices
        return r->platform == 2 || r->platform == 3;
    }
    return false;
}

} // namespace

void disable_main_menu_opt() {
    // Runs on every selection change: marks the selection without the
    // warning an empty selection would give.
    check_main_sel(W_MAIN_WINDOW, SEL_MARK_ONLY);
    // An entry stays available while every selected device has what its
    // command needs.
    for (const ProductMenuEntry& e : k_product_menu) {
        bool all_have = true;
        for (int i = 0; i < mrx_lst_cnt && all_have; ++i) {
            const MorixRecord* r = host_info_list[i];
            if (is_selected(r) && r->reachable)
                all_have = device_has(r, e.need);
        }
        ui_set_sensitive(e.id, all_have);
    }
}

int set_mrx_lst() {
    port_mrx_map.count = port_mrx_map.port_total = port_mrx_map.ported_count = 0;
    for (int i = 0; i < MAX_MRX_SLOTS; ++i) {
        port_mrx_map.mrx_index[i] = port_mrx_map.ported_index[i] = -1;
        port_mrx_map.port_count[i] = 0;
    }
    for (int i = 0; i < mrx_lst_cnt; ++i) {
        const MorixRecord* r = host_info_list[i];
        if (is_selected(r) && r->reachable)
            port_mrx_map.mrx_index[port_mrx_map.count++] = i;
    }
    return port_mrx_map.count;
}

int check_sel_set_mrxs(int dialog_id, const std::string& message, int force) {
    std::string names;
    bool any_allows = false;
    for (int i = 0; i < mrx_lst_cnt; ++i) {
        const MorixRecord* r = host_info_list[i];
        if (!is_selected(r) || !r->reachable)
            continue;
        if (r->allow_set) {
            any_allows = true;
            continue;
        }
        names += (names.empty() ? "" : ", ") + r->name;
    }
    if (names.empty())
        return 0;
    int result = 0;
    if (!message.empty() && (force || any_allows)) {
        names += "\n\n" + message;
        result = 1;
    }
    display_warn(dialog_id, names);
    return result;
}
