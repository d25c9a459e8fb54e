// Reset: whole-device and subsystem resets (mrxcReset codes),
// and the port, modem and PRI module resets of chosen ports.
#include <algorithm>

#include "catalogue/mib_catalogue.h"
#include "devices/allow_sets.h"
#include "devices/long_op.h"
#include "ops/control.h"
#include "ops/reset_mask.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/port_resolve.h"
#include "snmp_access/snmp_engine.h"
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

// Product types without the internal modem reset.
constexpr int PROD_MODELT = 19, PROD_MODELU = 20;

// The window's choices: toggle id, reset code, port type of a port reset.
struct ResetChoice {
    int id;
    int code;
    int port_type;
};
const ResetChoice reset_choices[] = {{W_RST_MORIX_TB, 1, 0},
                                     {W_RST_ASYNC_PORTS_TB, RESET_PORT, PT_ASY},
                                     {W_RST_PRINTER_PORTS_TB, RESET_PORT, PT_PTR},
                                     {W_RST_INTERNAL_MODEMS_TB, RESET_MODEM, 0},
                                     {W_RST_PRI_MODULE_TB, RESET_PRI, 0},
                                     {W_RST_SECURITY_TB, 3, 0},
                                     {W_RST_NAME_SERVERS_TB, 4, 0},
                                     {W_RST_ALL_SYNC_PORTS_TB, 9, 0},
                                     {W_RST_GATEWAYS_TB, 14, 0},
                                     {W_RST_ETHERNET_TB, 13, 0},
                                     {W_RST_SNMP_TB, 5, 0},
                                     {W_RST_LAT_TB, 12, 0},
                                     {W_RST_DIAL_OUT_TB, 11, 0},
                                     {W_RST_MACROS_TB, 2, 0},
                                     {W_RST_ALL_PRINTER_PORTS_TB, 6, 0},
                                     {W_RST_ALL_ASYNC_PORTS_TB, 7, 0},
                                     {W_RST_ROTARIES_TB, 8, 0},
                                     {W_RST_EXTERNAL_MODEMS_TB, 10, 0},
                                     {W_RST_SERVICES_TB, 15, 0},
                                     {W_RST_WAN_INTERFACES_TB, 16, 0},
                                     {W_RST_APPLETALK_TB, 17, 0},
                                     {W_RST_ALL_INTERNAL_MODEMS_TB, 18, 0},
                                     {W_RST_PRI_SESSIONS_TB, 19, 0}};

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

// A typed PRI module number is a WAN module number on every device with
// modules (resolve_ports); a caller's number is the interface index itself.
int pri_instance(const MorixRecord* rec, int number, int typed, int* instance) {
    if (!typed) {
        *instance = number;
        return RIE_OK;
    }
    DevicePorts d = resolve_ports(*rec, PT_DS1INF, 0, {number}, PortPurpose::reset);
    if (d.ports.empty())
        return RIE_WAN_MODULE;
    *instance = d.ports[0];
    return RIE_OK;
}

// Adds the reset nodes of every number to each settable device; false
// (after the warning) when a number cannot be used, before anything is sent.
bool add_special_nodes(const std::vector<MorixRecord*>& devs, int code, int port_type,
                       const std::vector<int>& numbers, int typed, Outcome* o,
                       std::vector<MorixRecord*>* failed) {
    int id = 0;
    if (!get_check_mib_var(special_var(code), &id)) {
        o->warnings.push_back(MSG_NO_REFS);
        return false;
    }
    for (MorixRecord* r : devs) {
        if (!r->allow_set)
            continue;
        // Typed numbers name the device's ports, modems or WAN modules; a
        // device that lacks one of them is left out, named in the warning.
        DevicePorts d = resolve_ports(*r, port_type, 0, numbers, PortPurpose::reset);
        if (typed && !d.refusal.empty()) {
            o->warnings.push_back(d.refusal);
            free_prm_list(r);
            failed->push_back(r);
            continue;
        }
        bool usable = true;
        for (int number : numbers) {
            int inst = 0;
            int err = reset_instance(r, code, port_type, number, typed, &inst);
            if (err == RIE_NOT_AVAILABLE) {
                o->warnings.push_back("This feature is not available");
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

Outcome refused(Result result, const std::string& warning) {
    Outcome o;
    o.result = result;
    o.warnings.push_back(warning);
    return o;
}

void free_chains(const std::vector<MorixRecord*>& devs) {
    for (MorixRecord* r : devs)
        free_prm_list(r);
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

int reset_option_action(int id, bool set) {
    int code = 0, port_type = 0;
    if (!reset_choice(id, &code, &port_type))
        return 0;
    if (set) {
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

Outcome reset_request_code(const ResetRequest& req, int* code, std::vector<int>* ports) {
    ports->clear();
    *code = req.code;
    if (!special_var(req.code))
        return Outcome();
    int all = 0, count = 0;
    *ports = parse_port_list(req.ports, &all, &count);
    if (req.code == RESET_MODEM && all) {
        *code = 18; // every modem: the device-wide modem reset
        return Outcome();
    }
    if (all)
        return refused(Result::refused, MSG_NO_ALL);
    if (ports->empty())
        return refused(Result::refused, MSG_NO_PORTS);
    return Outcome();
}

Outcome process_reset(const ResetRequest& req, Asker& asker) {
    std::vector<int> ports;
    int code = 0;
    Outcome check = reset_request_code(req, &code, &ports);
    if (check.result != Result::done)
        return check;
    if (!asker.ask(control_question(
            "The reset option you selected will take place for the following Morixes:",
            req.devices))) {
        Outcome o;
        o.result = Result::cancelled;
        o.devices = declined_outcomes(req.devices, "the reset");
        return o;
    }
    return reset_send(req.devices, code, req.port_type, ports, true, W_RST_FORM);
}

int reset_proc(int code, int parent, const std::vector<int>& port_list) {
    if (g_reset_runner)
        return g_reset_runner(code, port_list, parent, "") ? 1 : 0;
    // No front end to show what became of it: the reset is sent all the same.
    Outcome o = reset_send(selected_reachable(), code, reset_port_type, port_list, false, parent);
    return o.result == Result::done ? 1 : 0;
}

Outcome reset_send(const std::vector<MorixRecord*>& devs, int code, int port_type,
                   const std::vector<int>& ports, bool typed, int dialog_parent) {
    settable_many(devs);
    Outcome o;
    std::vector<MorixRecord*> failed;
    bool skipped = false;
    for (MorixRecord* r : devs) {
        free_prm_list(r);
        skipped = skipped || !r->allow_set;
    }
    if (special_var(code)) {
        if (ports.empty())
            return refused(Result::refused, MSG_NO_PORTS);
        int type = special_port_type(code, port_type);
        if (!add_special_nodes(devs, code, type, ports, typed, &o, &failed)) {
            free_chains(devs);
            o.result = Result::failed;
            return o;
        }
    } else {
        int id = 0;
        if (!get_check_mib_var("mrxcReset", &id))
            return refused(Result::failed, MSG_NO_REFS);
        for (MorixRecord* r : devs)
            if (r->allow_set)
                add_prm_node(r, id, 0, 0, 0, "", std::to_string(code).c_str(), 0);
    }
    LongOperation op(dialog_parent, "Cancel Reset", "", LO_BUSY | LO_CONFIRM | LO_FOLLOW_SNMP);
    for (MorixRecord* r : op.serve(devs, SNMP_OP_SET, "Resetting"))
        if (!control_sent_ok(r))
            failed.push_back(r);
    bool cancelled = op.close();
    free_chains(devs);
    op.idle();
    for (MorixRecord* r : devs)
        if (!r->allow_set)
            o.warnings.push_back(refuses_sets_warning(r));
    if (!failed.empty()) {
        std::string names;
        for (MorixRecord* r : failed)
            names += r->name + ", ";
        names.resize(names.size() - 2);
        o.warnings.push_back("The reset failed for the following Morixes:\n\n" + names);
    }
    std::string done;
    for (MorixRecord* r : devs)
        if (!cancelled && r->allow_set &&
            std::find(failed.begin(), failed.end(), r) == failed.end())
            done += "\n" + r->name;
    if (!done.empty())
        o.report = "The reset operation was successful for: " + done;
    o.devices = control_outcomes(devs, failed, cancelled, "the reset");
    o.result = failed.empty() && !skipped && !cancelled ? Result::done
               : cancelled                              ? Result::cancelled
                                                        : Result::failed;
    return o;
}
