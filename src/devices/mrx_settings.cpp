// SNMP settings of devices and defaults, menu entries by product type, the basic-mode map of
// selected devices and the refused-sets warning.
#include <cstdlib>

#include "catalogue/mib_catalogue.h"
#include "devices/mrx_list.h"
#include "devices/mrx_select.h"
#include "snmp_access/product_types.h"
#include "ui/app_globals.h"
#include "ui/outcome.h"

namespace {

// Reads a number field; an empty one takes the default, given back in
// filled. False when the text is not a number in range.
bool read_number_field(const std::string& typed, int def, int low, int high, int* out,
                       std::string* filled) {
    std::string text;
    remove_blanks(typed, &text);
    if (text.empty()) {
        *filled = std::to_string(def);
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

Result refuse(Outcome& outcome, const std::string& warning) {
    outcome.result = Result::refused;
    outcome.warnings.push_back(warning);
    return outcome.result;
}

} // namespace

SnmpSettingsView snmp_default_settings() {
    SnmpSettingsView v;
    v.timeout = std::to_string(mm_snmp_def_to);
    v.retries = std::to_string(mm_snmp_def_rty);
    v.community = mm_snmp_def_comm;
    return v;
}

SnmpSettingsView snmp_settings_of(const std::vector<MorixRecord*>& devices) {
    SnmpSettingsView v;
    if (devices.empty()) {
        v.outcome.result = Result::refused;
        return v;
    }
    const MorixRecord* first = devices.front();
    bool same_tr = true, same_comm = true;
    for (const MorixRecord* r : devices) {
        same_tr = same_tr && r->timeout == first->timeout && r->retries == first->retries;
        same_comm = same_comm && r->community == first->community;
    }
    if (same_tr) {
        v.timeout = std::to_string(first->timeout / 1000000);
        v.retries = std::to_string(first->retries);
    }
    if (same_comm)
        v.community = first->community;
    if (!same_tr || !same_comm)
        v.outcome.warnings.push_back("One or more SNMP values were different for the selected "
                                     "Morixes.\nThose values will not be displayed.");
    return v;
}

SnmpSettingsOutcome change_snmp_settings(const SnmpSettingsRequest& req) {
    SnmpSettingsOutcome out;
    if (!req.update_defaults && !req.update_selected) {
        refuse(out.outcome, "You must select one or both update options.");
        return out;
    }
    int timeout = 0, retries = 0;
    if (!read_number_field(req.timeout, mm_snmp_def_to, 0, MAX_TIMEOUT_SECS, &timeout,
                           &out.timeout_filled)) {
        refuse(out.outcome, "The time-out must be a number of seconds from 0 to " +
                                std::to_string(MAX_TIMEOUT_SECS) + ".");
        return out;
    }
    if (!read_number_field(req.retries, mm_snmp_def_rty, 0, 100, &retries, &out.retries_filled)) {
        refuse(out.outcome, "The retries must be a number from 0 to 100.");
        return out;
    }
    std::string comm;
    remove_blanks(req.community, &comm);
    if (comm.empty())
        comm = mm_snmp_def_comm;
    if (req.update_defaults) {
        if (timeout > 0)
            mm_snmp_def_to = timeout;
        mm_snmp_def_rty = retries;
        mm_snmp_def_comm = comm;
    }
    if (req.update_selected) {
        for (MorixRecord* r : req.devices) {
            r->timeout = timeout * 1000000;
            r->retries = retries;
            r->community = comm;
            out.outcome.devices.push_back(DeviceOutcome{r->name, DeviceState::done, ""});
        }
    }
    return out;
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

std::vector<MenuEntryState> product_menu_states(const std::vector<MorixRecord*>& devices) {
    // An entry stays available while every device has what its command
    // needs.
    std::vector<MenuEntryState> states;
    for (const ProductMenuEntry& e : k_product_menu) {
        bool all_have = true;
        for (const MorixRecord* r : devices)
            all_have = all_have && device_has(r, e.need);
        states.push_back(MenuEntryState{e.id, all_have});
    }
    return states;
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

RefusedSets refused_sets(const std::vector<MorixRecord*>& devices, const std::string& message,
                         int force) {
    RefusedSets out;
    std::string names;
    bool any_allows = false;
    for (const MorixRecord* r : devices) {
        if (r->allow_set) {
            any_allows = true;
            continue;
        }
        names += (names.empty() ? "" : ", ") + r->name;
    }
    if (names.empty())
        return out;
    if (!message.empty() && (force || any_allows)) {
        names += "\n\n" + message;
        out.go = 1;
    }
    out.warning = names;
    return out;
}
