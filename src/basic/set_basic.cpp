#include "basic/set_basic.h"

#include "catalogue/mib_catalogue.h"
#include "devices/long_op.h"
#include "devices/text_buf.h"
#include "ops/reset_mask.h"
#include "ops/undo.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"
#include "ui/ui.h"

namespace {

constexpr const char* MSG_NOT_SETTABLE =
    "Parameter cannot be set: it does not exist or is read only.";

struct NodeReason {
    int status;
    const char* text;
};
constexpr NodeReason node_reasons[] = {{NS_NO_SUCH_NAME, MSG_NOT_SETTABLE},
                                       {NS_READ_ONLY, "Parameter is read only."},
                                       {NS_BAD_VALUE, "Parameter cannot be set to this value."}};

std::string var_name(const ParamNode* n) {
    const MibVarEntry* e = mib_var(n->mib_index);
    return e ? e->name : std::string();
}

// "<name> " or "<name (asy port 3)> " for a node's messages.
std::string node_place(const MorixRecord* rec, const ParamNode* n) {
    if (n->port_type == 0)
        return "<" + rec->name + "> ";
    std::string kind;
    cvt_port_opt_str(n->port_type, &kind);
    return "<" + rec->name + " (" + kind + " port " + std::to_string(n->port_num) + ")> ";
}

// Every node refused as not settable: one line for the device.
bool all_refused(const MorixRecord* rec) {
    if (!rec->prm_list)
        return false;
    for (const ParamNode* n = rec->prm_list; n; n = n->next)
        if (n->status != NS_NO_SUCH_NAME && n->status != NS_READ_ONLY)
            return false;
    return true;
}

} // namespace

int check_morix_set(int index, int window) {
    if (index < 0 || index >= MAX_MRX_SLOTS || !host_info_list[index])
        return 0;
    const MorixRecord* r = host_info_list[index];
    std::string text;
    if (!r->reachable)
        text += "\nCould not set any parameters. Morix is not connected.";
    if (!r->allow_set)
        text += "\nCould not set any parameters.\nThe value of the allow_snmp_sets parameter is "
                "false. Morix ignored.";
    if (text.empty())
        return 1;
    display_warn(window, r->name + ":" + text);
    return 0;
}

void process_set_req_res_basic(MorixRecord* rec, int window, int* error, int cancelled) {
    bool failed = false;
    if (cancelled && rec->status == SR_CANCELLED) {
        failed = true; // not reached before the cancel: nothing was sent
    } else if (rec->status != SR_OK) {
        display_warn(window, std::string("Some values may have been set for: ") + rec->name);
        failed = true;
    } else if (all_refused(rec)) {
        display_warn(window, "<" + rec->name + "> " +
                                 (rec->allow_set ? MSG_NOT_SETTABLE
                                                 : "Could not set any parameters.\nCheck the "
                                                   "value of the allow_snmp_sets parameter."));
        failed = true;
    } else {
        for (const ParamNode* n = rec->prm_list; n; n = n->next) {
            if (n->status == NS_OK)
                continue;
            failed = true;
            if (n->status == NS_NOT_DONE) {
                display_warn(window, "The operation was cancelled on the " + var_name(n) +
                                         " parameter for Morix " + rec->name + "\n");
                break;
            }
            const char* reason = nullptr;
            for (const NodeReason& s : node_reasons)
                if (s.status == n->status)
                    reason = s.text;
            if (reason)
                display_warn(window, node_place(rec, n) + var_name(n) + " : " + reason);
            else
                display_warn(window, "Invalid internal error code. Software error.");
        }
    }
    if (failed)
        *error = 1;
}

void process_set_req_basic(const std::vector<int>& devices, int window, int* error, int* cancel) {
    *error = 0;
    LongOperation op(window, "Cancel Set", "", LO_CONFIRM | LO_FOLLOW_SNMP);
    size_t done = 0;
    std::vector<SafeSet> safe(devices.size());
    for (; done < devices.size(); ++done) {
        if (op.cancelled(static_cast<int>(100 * done / devices.size())))
            break;
        MorixRecord* r = host_info_list[devices[done]];
        op.progress("Setting values for", r->name);
        safe_set_send(r, &safe[done]);
    }
    // Devices not reached before the cancel were never sent anything.
    op.unserved(list_records(devices, done));
    *cancel = op.close();
    for (size_t i = 0; i < devices.size(); ++i) {
        process_set_req_res_basic(host_info_list[devices[i]], window, error, *cancel);
        // The basic windows report by warnings only: a device whose values
        // did not all take (or that was not sent) gets one, naming its undo
        // script; a clean Apply stays quiet (Undo Last Change finds the script).
        std::string lines;
        if (safe_set_report(host_info_list[devices[i]], safe[i], &lines)) {
            *error = 1;
            display_warn(window, lines.substr(0, lines.size() - 1));
        }
    }
    if (*cancel)
        display_warn(window, "Operation cancelled.");
    else if (*error)
        display_warn(window, "There was an error setting one or more parameters.\nThis may be "
                             "due to a timeout.");
    if (!*error && !*cancel && build_sel_mrx_reset_mask() && does_user_want_reset(window)) {
        std::string failed;
        if (!do_sel_mrx_auto_reset(&failed))
            display_reset_timeout_warning(window, failed);
    }
    for (int d : devices)
        free_prm_list(host_info_list[d]);
}
