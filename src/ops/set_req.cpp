// Validation and sending of the Set window's values, and the set funnel
// that the Set window and script execution share.
#include "catalogue/mib_catalogue.h"
#include "devices/allow_sets.h"
#include "devices/long_op.h"
#include "devices/mrx_select.h"
#include "devices/text_buf.h"
#include "ops/reset_mask.h"
#include "ops/set_window.h"
#include "ops/show.h"
#include "ops/undo.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"
#include "snmp_access/snmp_values.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

constexpr const char* MSG_NOT_ALLOWED =
    "Could not set any parameters.\nThe value of the allow_snmp_sets parameter is false. "
    "Morix ignored.";

// Reasons of the node statuses a device may answer a Set with.
struct StatusReason {
    int status;
    const char* reason;
};
constexpr StatusReason set_reasons[] = {
    {NS_NO_SUCH_NAME, "Parameter cannot be set: it does not exist or is read only."},
    {NS_READ_ONLY, "Parameter is read only."},
    {NS_BAD_VALUE, "Parameter cannot be set to this value."}};

std::string node_name(const ParamNode* n) {
    const MibVarEntry* e = mib_var(n->mib_index);
    return e ? e->name : std::string();
}

// The row's value for a Set, or the reason it is refused ("" when valid).
std::string row_value(const SetRequest& req, int i, std::string* value) {
    const SetRow& row = set_wlist[i];
    const MibVarEntry* e = mib_var(row.mib_index);
    const SetRowInput in = i < static_cast<int>(req.rows.size()) ? req.rows[i] : SetRowInput{};
    if (row.enumerated) {
        const std::string& label = in.option;
        for (const SetChoice& c : row.choices)
            if (!label.empty() && c.name == label) {
                *value = std::to_string(c.value);
                return "";
            }
        return "Invalid Selection";
    }
    *value = in.text;
    // A number must fit its type: a larger one would wrap on the device.
    if (e && check_set_number(e->data_type, *value) != NC_OK)
        return "Invalid Integer Format";
    if (e && e->data_type == MDT_IP_ADDR) {
        std::string ip = *value;
        if (!check_ip_addr_fmt(&ip))
            return "Invalid IP Address Format";
    }
    if (e && is_number_data_type(e->data_type))
        remove_trail_blanks(value);
    return "";
}

// Checks every marked row; false (and the refusal text) on any error.
bool validate_rows(const SetRequest& req, std::string* msg) {
    bool ok = true;
    for (int i = 0; i < static_cast<int>(set_wlist.size()); ++i) {
        if (!req.marked(i))
            continue;
        std::string value;
        std::string reason = row_value(req, i, &value);
        if (reason.empty())
            continue;
        if (ok)
            text_set_buf("\nSet will not be executed due to the following errors:\n", msg, 1);
        ok = false;
        const MibVarEntry* e = mib_var(set_wlist[i].mib_index);
        text_set_buf("\t" + (e ? e->name : std::string()) + " : " + reason, msg, 1);
    }
    if (!ok)
        text_set_buf("\nSet was not executed.\n", msg, 1);
    return ok;
}

} // namespace

namespace {
// The Set window's request of the Set in progress: the values are read
// back from its marked rows afterwards.
SetRequest set_in_force;
} // namespace

int read_set_val_proc(const SetRequest& req) {
    set_in_force = req;
    std::string msg;
    if (!check_main_sel(W_SET_FORM, SEL_REACHABLE))
        return SET_NOT_DONE;
    if (!validate_rows(req, &msg)) {
        write_otp_msg(W_SET_MSG, msg, 0, 1);
        return SET_NOT_DONE;
    }
    int result = SET_NOT_DONE;
    LongOperation busy;
    busy.busy();
    SetPorts sp = set_window_ports(req.ports, 1);
    will_sel_mrx_allow_set();
    text_set_buf("\n\n***** Set Operation *****", &msg, 1);
    text_set_buf("Setting the following parameters...", &msg, 1);
    RowTakeState warn;
    bool have_ports = sp.all != 0 || !sp.ports.empty();
    int rows = 0, nonexistent = 0;
    std::vector<MorixRecord*> recs = selected_reachable();
    for (int i = 0; i < static_cast<int>(set_wlist.size()); ++i) {
        if (!req.marked(i) ||
            !set_row_taken(set_wlist[i], have_ports, set_port_sel_ind, &warn, W_SET_FORM))
            continue;
        std::string value;
        row_value(req, i, &value);
        const MibVarEntry* e = mib_var(set_wlist[i].mib_index);
        text_set_buf("\t" + e->name, &msg, 1);
        for (MorixRecord* r : recs) {
            const DevicePorts& d = sp.of(r);
            if (r->allow_set == 1 && build_prm(r, d.all, static_cast<int>(d.ports.size()), d.ports,
                                               set_port_sel_ind, set_wlist[i].mib_index, value))
                nonexistent = 1;
        }
        ++rows;
    }
    text_set_buf("", &msg, 1);
    int warned = warn.warned_no_ports || warn.warned_mismatch ? 1 : 0;
    // Rows whose ports exist on no device build nothing: that is not a Set.
    bool built = false, any_allowed = false;
    for (MorixRecord* r : recs) {
        built = built || r->prm_list != nullptr;
        any_allowed = any_allowed || r->allow_set == 1;
    }
    if (rows > 0 && any_allowed && !built) {
        text_set_buf("None of the given ports exists on the selected Morixes. No set performed.",
                     &msg, 1);
        rows = 0;
        write_otp_msg(W_SET_MSG, msg, 0, 1);
    } else if (rows > 0) {
        write_otp_msg(W_SET_MSG, msg, 0, 1);
        msg.clear();
        int error = 0, cancelled = 0;
        process_set_req(W_SET_MSG, W_SET_FORM, 1, warned, nonexistent, &error, &cancelled);
        result = cancelled ? SET_CANCELLED : error ? SET_ERRORS : SET_DONE;
    } else {
        text_set_buf("No valid parameters were marked. No set performed.", &msg, 1);
        write_otp_msg(W_SET_MSG, msg, 0, 1);
    }
    if (rows == 0)
        free_host_info_list(0);
    if (nonexistent)
        display_warn(W_SET_FORM, MSG_NONEXISTENT_PORTS);
    return result;
}

void process_set_req_res(MorixRecord* rec, int output, int parent, int* error, int cancelled) {
    std::string text;
    bool dev_error = false;
    if (rec->status == SR_CANCELLED) {
        // Never sent: nothing may have changed on it.
        dev_error = true;
    } else if (rec->status != 0) {
        text_set_buf("Some values may have been set for: " + rec->name, &text, 1);
        dev_error = true;
    } else {
        bool all_missing = true;
        for (const ParamNode* n = rec->prm_list; n; n = n->next)
            all_missing = all_missing && n->status == NS_NO_SUCH_NAME;
        if (all_missing) {
            text_set_buf("<" + rec->name +
                             ">  Could not set any parameters.\nCheck the value of the "
                             "allow_snmp_sets parameter.",
                         &text, 1);
            dev_error = true;
        }
        for (const ParamNode* n = rec->prm_list; n && !all_missing; n = n->next) {
            if (n->status == NS_OK)
                continue;
            dev_error = true;
            if (n->status == NS_NOT_DONE) {
                text_set_buf("The operation was cancelled on the " + node_name(n) +
                                 " parameter for Morix " + rec->name + "\n",
                             &text, 1);
                break;
            }
            const char* reason = nullptr;
            for (const StatusReason& s : set_reasons)
                if (s.status == n->status)
                    reason = s.reason;
            if (!reason) {
                text_set_buf("Invalid internal error code. Software error.", &text, 1);
                continue;
            }
            std::string where = "<" + rec->name + ">";
            if (n->port_type != 0) {
                std::string k;
                cvt_port_opt_str(n->port_type, &k);
                where = "<" + rec->name + " (" + k + " port " + std::to_string(n->port_num) + ")>";
            }
            text_set_buf(where + " " + node_name(n) + " : " + reason, &text, 1);
        }
    }
    if (cancelled)
        text_set_buf("Operation cancelled.", &text, 1);
    if (!text.empty())
        write_otp_msg(output, text, 0, 1);
    if (dev_error)
        *error = 1;
    if (!cancelled && dev_error)
        display_warn(parent, "<" + rec->name +
                                 "> There was an error setting one or more parameters.\nThis "
                                 "may be due to a timeout.\nCheck message box for details.");
}

int process_set_req(int output, int parent, int redisplay, int warned, int nonexistent, int* error,
                    int* cancelled) {
    *error = 0;
    std::string msg;
    LongOperation op(parent, "Cancel Set", "", LO_CONFIRM | LO_FOLLOW_SNMP);
    // The devices that take Sets are sent theirs side by side; at[p] is the
    // place of list slot p among them (-1: not sent).
    std::vector<MorixRecord*> allowed;
    std::vector<int> at(MAX_MRX_SLOTS, -1);
    for (int p = 0; p < MAX_MRX_SLOTS && host_info_list[p]; ++p) {
        MorixRecord* r = host_info_list[p];
        if (!r->selected || !r->reachable)
            continue;
        if (r->allow_set) {
            at[p] = static_cast<int>(allowed.size());
            allowed.push_back(r);
        } else {
            text_set_buf("<" + r->name + ">  " + MSG_NOT_ALLOWED, &msg, 1);
            *error = 1;
        }
    }
    if (allowed.size() == 1)
        op.progress("Setting values for", allowed[0]->name);
    std::vector<SafeSet> safe_of(allowed.size());
    std::vector<char> began(allowed.size(), 0);
    if (!op.cancelled(0))
        began = safe_set_send_many(allowed, "Setting values for", &safe_of);
    std::vector<MorixRecord*> unsent;
    for (size_t i = 0; i < allowed.size(); ++i) {
        if (!began[i] && allowed[i]->prm_list)
            unsent.push_back(allowed[i]);
    }
    op.unserved(unsent);
    *cancelled = op.close();
    for (int p = 0; p < MAX_MRX_SLOTS && host_info_list[p]; ++p) {
        MorixRecord* r = host_info_list[p];
        if (!r->selected || !r->reachable || (!r->prm_list && r->status == 0))
            continue;
        process_set_req_res(r, output, parent, error, *cancelled);
        std::string lines;
        if (safe_set_report(r, at[p] >= 0 ? safe_of[at[p]] : SafeSet{}, &lines))
            *error = 1;
        if (!lines.empty())
            write_otp_msg(output, lines, 0, 1);
    }
    bool reset_due = false;
    if (!*error)
        reset_due = build_sel_mrx_reset_mask() && !*cancelled;
    free_host_info_list(0);
    if (redisplay) {
        if (!*cancelled) {
            text_set_buf(" ", &msg, 1);
            text_set_buf(*error ? "Set complete with errors." : "Set complete.", &msg, 1);
        } else {
            text_set_buf("Some values may have been updated.\nPress 'Show Values' to verify the "
                         "current values.",
                         &msg, 1);
        }
    }
    // After a cancel, which devices were sent their values and which not.
    if (*cancelled) {
        std::string sent, not_sent;
        for (int p = 0; p < MAX_MRX_SLOTS && host_info_list[p]; ++p) {
            MorixRecord* r = host_info_list[p];
            if (!r->selected || !r->reachable || !r->allow_set)
                continue;
            std::string& to = at[p] >= 0 && began[at[p]] ? sent : not_sent;
            to += (to.empty() ? "" : ", ") + r->name;
        }
        if (!sent.empty())
            text_set_buf("Values may have been set on: " + sent, &msg, 1);
        if (!not_sent.empty())
            text_set_buf("Nothing was sent to: " + not_sent, &msg, 1);
    }
    if (!msg.empty())
        write_otp_msg(output, msg, 1, 1);
    if (redisplay && !*cancelled)
        get_set_cur_val(set_in_force, warned, nonexistent, 0);
    if (reset_due && does_user_want_reset(parent)) {
        std::string failed, report;
        if (!do_sel_mrx_auto_reset(&failed, &report))
            display_reset_warning(parent, failed);
        if (!report.empty())
            write_otp_msg(output, "\n" + report, 0, 1);
    }
    return *error ? 1 : 0;
}
