// Validation and sending of the Set window's values, and the set funnel
// that the Set window and script execution share.
#include "catalogue/mib_catalogue.h"
#include "devices/allow_sets.h"
#include "devices/long_op.h"
#include "devices/mrx_select.h"
#include "devices/text_buf.h"
#include "ops/change.h"
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

constexpr const char* MSG_NOT_ALLOWED = MSG_SETS_NOT_ALLOWED;

// The row's value for a Set, or the reason it is refused ("" when valid).
std::string row_value(const std::vector<SetRow>& rows, const SetRequest& req, int i,
                      std::string* value) {
    const SetRow& row = rows[i];
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
bool validate_rows(const std::vector<SetRow>& rows, const SetRequest& req, std::string* msg) {
    bool ok = true;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        if (!req.marked(i))
            continue;
        std::string value;
        std::string reason = row_value(rows, req, i, &value);
        if (reason.empty())
            continue;
        if (ok)
            text_set_buf("\nSet will not be executed due to the following errors:\n", msg, 1);
        ok = false;
        const MibVarEntry* e = mib_var(rows[i].mib_index);
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
    return set_values_proc(set_wlist, req, W_SET_MSG, W_SET_FORM, SR_SAY_COMPLETE | SR_REREAD);
}

int set_values_proc(const std::vector<SetRow>& wlist, const SetRequest& req, int output, int parent,
                    int report) {
    std::string msg;
    if (!check_main_sel(parent, SEL_REACHABLE))
        return SET_NOT_DONE;
    if (!validate_rows(wlist, req, &msg)) {
        write_otp_msg(output, msg, 0, 1);
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
    for (int i = 0; i < static_cast<int>(wlist.size()); ++i) {
        if (!req.marked(i) || !set_row_taken(wlist[i], have_ports, set_port_sel_ind, &warn, parent))
            continue;
        std::string value;
        row_value(wlist, req, i, &value);
        const MibVarEntry* e = mib_var(wlist[i].mib_index);
        text_set_buf("\t" + e->name, &msg, 1);
        for (MorixRecord* r : recs) {
            const DevicePorts& d = sp.of(r);
            if (r->allow_set == 1 && build_prm(r, d.all, static_cast<int>(d.ports.size()), d.ports,
                                               set_port_sel_ind, wlist[i].mib_index, value))
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
        write_otp_msg(output, msg, 0, 1);
    } else if (rows > 0) {
        write_otp_msg(output, msg, 0, 1);
        msg.clear();
        int error = 0, cancelled = 0;
        process_set_req(output, parent, report, warned, nonexistent, &error, &cancelled);
        result = cancelled ? SET_CANCELLED : error ? SET_ERRORS : SET_DONE;
    } else {
        text_set_buf("No valid parameters were marked. No set performed.", &msg, 1);
        write_otp_msg(output, msg, 0, 1);
    }
    if (rows == 0)
        free_host_info_list(0);
    if (nonexistent)
        display_warn(parent, MSG_NONEXISTENT_PORTS);
    return result;
}

namespace {

// The follow-up of values undo cannot write back: asked over parent, and
// on OK the refused devices are sent their plan again, accepting it.
void ask_no_undo(ChangeOutcome* co, int parent, const std::string& label) {
    std::string lines;
    ChangePlan again;
    again.label = label;
    again.accept_no_undo = true;
    for (DeviceChange& d : co->devices)
        if (d.no_undo) {
            lines += d.safe.refusal + "\n";
            again.devices.push_back(d.rec);
        }
    if (again.devices.empty() || g_accept_no_undo == 0)
        return;
    if (g_accept_no_undo < 0 &&
        ask_user(parent, "Question", "OK", "Cancel", 0,
                 lines + "\nSet these values anyway? Undo Last Change will not restore them.") !=
            ASK_OK)
        return;
    for (MorixRecord* r : again.devices)
        r->status = SR_OK;
    ChangeOutcome more = run_change(again, nullptr);
    for (DeviceChange& d : co->devices)
        for (const DeviceChange& m : more.devices)
            if (m.rec == d.rec)
                d = m;
    co->cancelled = co->cancelled || more.cancelled;
    finish_change_outcome(co);
}

} // namespace

ChangeOutcome send_change(ChangePlan plan, int parent, const char* cancel_title) {
    LongOperation op(parent, cancel_title, "", LO_CONFIRM | LO_FOLLOW_SNMP);
    std::vector<MorixRecord*> sendable;
    for (MorixRecord* r : plan.devices)
        if (r->allow_set == 1 && r->prm_list)
            sendable.push_back(r);
    if (sendable.size() == 1)
        op.progress(plan.label, sendable[0]->name);
    ChangeOutcome co;
    if (!op.cancelled(0)) {
        co = run_change(plan, nullptr);
        ask_no_undo(&co, parent, plan.label);
    } else {
        co.cancelled = true;
        for (MorixRecord* r : plan.devices) {
            co.devices.emplace_back();
            co.devices.back().rec = r;
        }
    }
    std::vector<MorixRecord*> unsent;
    for (const DeviceChange& d : co.devices)
        if (!d.sent && !d.refused && d.rec->prm_list)
            unsent.push_back(d.rec);
    op.unserved(unsent);
    co.cancelled = op.close() || co.cancelled;
    return co;
}

void ask_change_reset(const ChangeOutcome& co, int parent, bool timeout_text, int output) {
    bool due = false;
    for (const DeviceChange& d : co.devices)
        due = due || d.reset_mask != 0;
    if (!due || co.cancelled || co.outcome.result != Result::done || !does_user_want_reset(parent))
        return;
    std::string failed;
    std::vector<std::string> notes;
    std::string report;
    bool ok = run_change_reset(co, &failed, &notes, &report);
    if (output != 0 && !report.empty())
        write_otp_msg(output, "\n" + report, 0, 1);
    for (const std::string& n : notes)
        display_warn(parent, n);
    if (!ok && timeout_text)
        display_reset_timeout_warning(parent, failed);
    else if (!ok)
        display_reset_warning(parent, failed);
}

void process_set_req_res(const DeviceChange& d, int output, int parent, int* error, int cancelled) {
    std::string text;
    bool dev_error = change_report_lines(d, cancelled, &text);
    if (!text.empty())
        write_otp_msg(output, text, 0, 1);
    if (dev_error)
        *error = 1;
    bool set_error = d.rec->status != SR_OK;
    for (const ParamNode* n = d.rec->prm_list; n; n = n->next)
        set_error = set_error || n->status != NS_OK;
    if (!cancelled && set_error)
        display_warn(parent, "<" + d.rec->name +
                                 "> There was an error setting one or more parameters.\nThis "
                                 "may be due to a timeout.\nCheck message box for details.");
}

int process_set_req(int output, int parent, int redisplay, int warned, int nonexistent, int* error,
                    int* cancelled) {
    *error = 0;
    std::string msg;
    // Every selected, reachable device is in the plan; those that refuse
    // Sets are named after the others.
    ChangePlan plan;
    for (int p = 0; p < MAX_MRX_SLOTS && host_info_list[p]; ++p) {
        MorixRecord* r = host_info_list[p];
        if (r->selected && r->reachable && (r->prm_list || r->status != 0 || !r->allow_set))
            plan.devices.push_back(r);
    }
    ChangeOutcome co = send_change(plan, parent, "Cancel Set");
    *cancelled = co.cancelled;
    for (const DeviceChange& d : co.devices) {
        if (d.rec->allow_set != 1 && g_may_change) {
            text_set_buf("<" + d.rec->name + ">  " + MSG_NOT_ALLOWED, &msg, 1);
            *error = 1;
            continue;
        }
        process_set_req_res(d, output, parent, error, *cancelled);
    }
    // A cancel stops the whole operation: said once, not per device.
    if (*cancelled)
        text_set_buf("Operation cancelled.", &msg, 1);
    if (co.outcome.result == Result::refused) {
        display_warn(parent, MSG_NO_ACCESS);
        *error = 1;
    }
    free_host_info_list(0);
    if (redisplay & SR_SAY_COMPLETE) {
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
        for (const DeviceChange& d : co.devices) {
            if (d.rec->allow_set != 1)
                continue;
            std::string& to = d.sent ? sent : not_sent;
            to += (to.empty() ? "" : ", ") + d.rec->name;
        }
        if (!sent.empty())
            text_set_buf("Values may have been set on: " + sent, &msg, 1);
        if (!not_sent.empty())
            text_set_buf("Nothing was sent to: " + not_sent, &msg, 1);
    }
    if (!msg.empty())
        write_otp_msg(output, msg, 1, 1);
    if ((redisplay & SR_REREAD) && !*cancelled)
        get_set_cur_val(set_in_force, warned, nonexistent, 0);
    if (!*error)
        ask_change_reset(co, parent, false, output);
    return *error ? 1 : 0;
}
