// The Reset window: whole-device and subsystem resets (mrxcReset codes),
// and the port, modem and PRI module resets of chosen ports.
#include <algorithm>

#include "catalogue/mib_catalogue.h"
#include "devices/allow_sets.h"
#include "devices/mrx_select.h"
#include "devices/text_buf.h"
#include "ops/control.h"
#include "ops/reset_mask.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

int reset_ind = 1;
int reset_port_type = PT_ASY;

namespace {

constexpr const char* MSG_NO_PORTS = "You must enter one or more port numbers.";
constexpr const char* MSG_NO_ALL =
    "A port or PRI module reset resets the ports you name: enter their\nnumbers instead of "
    "\"all\".\n\nYou must enter one or more port numbers.";
constexpr const char* MSG_NO_REFS =
    "Could not find internal references to a parameter group or parameter. Software error.";

// Product type numbers whose WAN modules decide the PRI reset instance.
constexpr int PROD_MODELN = 14, PROD_MODELP = 15, PROD_MODELQ = 16, PROD_MODELR = 17,
              PROD_MODELS = 18, PROD_MODELT = 19, PROD_MODELU = 20;

// The window's choices: toggle id, reset code, port type of a port reset.
struct ResetChoice {
    int id;
    int code;
    int port_type;
};
const ResetChoice reset_choices[] = {{502, 1, 0},
                                     {503, RESET_PORT, PT_ASY},
                                     {504, RESET_PORT, PT_PTR},
                                     {505, RESET_MODEM, 0},
                                     {506, RESET_PRI, 0},
                                     {507, 3, 0},
                                     {508, 4, 0},
                                     {509, 9, 0},
                                     {510, 14, 0},
                                     {511, 13, 0},
                                     {512, 5, 0},
                                     {513, 12, 0},
                                     {514, 11, 0},
                                     {519, 2, 0},
                                     {520, 6, 0},
                                     {521, 7, 0},
                                     {522, 8, 0},
                                     {523, 10, 0},
                                     {524, 15, 0},
                                     {525, 16, 0},
                                     {526, 17, 0},
                                     {527, 18, 0},
                                     {528, 19, 0}};

// The variable, port type and node value of the special codes.
struct SpecialReset {
    int code;
    const char* var;
};
const SpecialReset special_resets[] = {
    {RESET_PRI, "mrxt1ResetPRI"}, {RESET_MODEM, "mrxpModemReset"}, {RESET_PORT, "charPortReset"}};

const char* special_var(int code) {
    for (const SpecialReset& s : special_resets)
        if (s.code == code)
            return s.var;
    return nullptr;
}

int special_port_type(int code, int port_type) {
    return code == RESET_PRI ? PT_DS1INF : code == RESET_MODEM ? PT_IMDM : port_type;
}

bool one_of(int v, std::initializer_list<int> set) {
    for (int s : set)
        if (v == s)
            return true;
    return false;
}

int pri_instance(const MorixRecord* rec, int number, int typed, int* instance) {
    int t = rec->product_type;
    if (typed && one_of(t, {PROD_MODELT, PROD_MODELU})) {
        int n = std::min(rec->wan_count, static_cast<int>(rec->wan_if_index.size()));
        if (number < 1 || number > n)
            return RIE_WAN_MODULE;
        *instance = rec->wan_if_index[number - 1];
        return RIE_OK;
    }
    if (typed && one_of(t, {PROD_MODELQ, PROD_MODELS})) {
        if (number != 1)
            return RIE_WAN_MODULE;
        *instance = 2;
        return RIE_OK;
    }
    *instance = number; // ModelN, P, R and callers: the interface index itself
    return RIE_OK;
}

// Adds the reset nodes of every number to each settable device; false
// (after the warning) when a number cannot be used, before anything is sent.
bool add_special_nodes(const std::vector<MorixRecord*>& devs, int code, int port_type,
                       const std::vector<int>& numbers, int typed, int parent,
                       std::vector<MorixRecord*>* failed) {
    int id = 0;
    if (!get_check_mib_var(special_var(code), &id)) {
        display_warn(parent, MSG_NO_REFS);
        return false;
    }
    for (MorixRecord* r : devs) {
        if (!r->allow_set)
            continue;
        bool usable = true;
        for (int number : numbers) {
            int inst = 0;
            int err = reset_instance(r, code, port_type, number, typed, &inst);
            if (err == RIE_NOT_AVAILABLE || err == RIE_WAN_MODULE) {
                display_warn(parent, err == RIE_NOT_AVAILABLE
                                         ? "This feature is not available"
                                         : "The WAN Module number entered is incorrect");
                return false;
            }
            if (err == RIE_NO_PORT)
                usable = false;
            else
                add_prm_node(r, id, port_type, number, inst, "", "2", 0);
        }
        if (!usable) { // a port the device does not have: nothing is sent to it
            free_prm_list(r);
            failed->push_back(r);
        }
    }
    return true;
}

// The port numbers of the window's text, or an empty list after a warning.
std::vector<int> window_ports(int parent) {
    int all = 0, count = 0;
    std::vector<int> ports = parse_port_list(ui_get_text(W_RST_PORT_TF), &all, &count);
    if (all) {
        display_warn(parent, MSG_NO_ALL);
        return {};
    }
    if (ports.empty())
        display_warn(parent, MSG_NO_PORTS);
    return ports;
}

int run_reset(int code, const std::vector<int>& ports, int parent) {
    return reset_proc(code, parent, ports);
}

} // namespace

bool reset_choice(int id, int* code, int* port_type) {
    for (const ResetChoice& c : reset_choices)
        if (c.id == id) {
            *code = c.code;
            *port_type = c.port_type;
            return true;
        }
    return false;
}

int reset_option_action(int id) {
    int code = 0, port_type = 0;
    if (!reset_choice(id, &code, &port_type))
        return 0;
    if (ui_get_toggle(id)) {
        reset_ind = code;
        if (code == RESET_PORT)
            reset_port_type = port_type;
    }
    return 1;
}

int reset_instance(const MorixRecord* rec, int code, int port_type, int number, int typed,
                   int* instance) {
    if (code == RESET_PRI)
        return pri_instance(rec, number, typed, instance);
    if (code == RESET_MODEM) {
        if (one_of(rec->product_type, {PROD_MODELT, PROD_MODELU}))
            return RIE_NOT_AVAILABLE;
        *instance = number;
        return RIE_OK;
    }
    int id = 0;
    std::string text;
    if (!get_check_mib_var("charPortReset", &id) ||
        !cvt_port_inst(rec, id, port_type, number, instance, &text) || *instance < 0)
        return RIE_NO_PORT;
    return RIE_OK;
}

void process_reset() {
    if (!check_main_sel(W_RST_FORM_ID, SEL_REACHABLE))
        return;
    int code = reset_ind;
    if (special_var(code)) {
        int all = 0, count = 0;
        std::vector<int> ports = parse_port_list(ui_get_text(W_RST_PORT_TF), &all, &count);
        if (code == RESET_MODEM && all) {
            code = 18; // every modem: the device-wide modem reset
        } else if (all) {
            display_warn(W_RST_FORM_ID, MSG_NO_ALL);
            return;
        } else if (ports.empty()) {
            display_warn(W_RST_FORM_ID, MSG_NO_PORTS);
            return;
        }
    }
    build_mrx_conf("The reset option you selected will take place for the following Morixes:",
                   W_RST_FORM_ID, [code] { reset_proc(code, W_RST_FORM_ID, {}); });
}

int reset_proc(int code, int parent, const std::vector<int>& port_list) {
    will_sel_mrx_allow_set();
    std::vector<MorixRecord*> devs = sel_reachable(), failed;
    bool skipped = false;
    for (MorixRecord* r : devs) {
        free_prm_list(r);
        skipped = skipped || !r->allow_set;
    }
    if (special_var(code)) {
        bool typed = parent == W_RST_FORM_ID;
        std::vector<int> ports = typed ? window_ports(parent) : port_list;
        if (ports.empty()) {
            if (!typed)
                display_warn(parent, MSG_NO_PORTS);
            return 0;
        }
        int port_type = special_port_type(code, reset_port_type);
        if (!add_special_nodes(devs, code, port_type, ports, typed, parent, &failed)) {
            free_host_info_list(0);
            return 0;
        }
    } else {
        int id = 0;
        if (!get_check_mib_var("mrxcReset", &id)) {
            display_warn(parent, MSG_NO_REFS);
            return 0;
        }
        for (MorixRecord* r : devs)
            if (r->allow_set)
                add_prm_node(r, id, 0, 0, 0, "", std::to_string(code).c_str(), 0);
    }
    set_app_cursor(CURSOR_BUSY);
    pop_cancel_dialog(1, parent, "Cancel Reset", "", 1, 1, 1, 0);
    int position = 0;
    for (; position < MAX_MRX_SLOTS && host_info_list[position]; ++position) {
        MorixRecord* r = host_info_list[position];
        if (!r->selected || !r->reachable || !r->prm_list)
            continue;
        if (is_cancelled(100 * position / mrx_lst_cnt))
            break;
        reset_cancel_dialog("Resetting", r->name);
        mm_snmp(r, SNMP_OP_SET);
        if (!control_sent_ok(r))
            failed.push_back(r);
    }
    int cancelled = pop_cancel_dialog_down();
    if (cancelled)
        set_sel_morixes_incomplete(position);
    free_host_info_list(0);
    set_app_cursor(CURSOR_NORMAL);
    for (MorixRecord* r : devs)
        if (!r->allow_set)
            warn_refuses_sets(parent, r);
    if (!failed.empty()) {
        std::string names;
        for (MorixRecord* r : failed)
            names += r->name + ", ";
        names.resize(names.size() - 2);
        display_warn(parent, "The reset failed for the following Morixes:\n\n" + names);
    }
    // The Reset window says what was done, as Boot does.
    std::string done;
    for (MorixRecord* r : devs)
        if (parent == W_RST_FORM_ID && !cancelled && r->allow_set &&
            std::find(failed.begin(), failed.end(), r) == failed.end())
            done += "\n" + r->name;
    if (!done.empty())
        display_msg(parent, "The reset operation was successful for: " + done);
    return failed.empty() && !skipped && !cancelled ? 1 : 0;
}

void register_reset_command() {
    g_reset_runner = run_reset;
}
