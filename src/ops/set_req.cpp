// The Set command: validation of the rows, the chains built on each device
// and the report of the change pipeline's outcome, shared by the Set
// window, mm_cli set, script execution and Undo Last Change.
#include "catalogue/mib_catalogue.h"
#include "devices/allow_sets.h"
#include "devices/long_op.h"
#include "devices/text_buf.h"
#include "ops/change.h"
#include "ops/reset_mask.h"
#include "ops/set_cmd.h"
#include "ops/set_window.h"
#include "ops/show.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"
#include "snmp_access/snmp_values.h"
#include "ui/app_globals.h"
#include "ui/progress.h"
#include "ui/widget_ids.h"

namespace {

// The row's value for a Set, or the reason it is refused ("" when valid).
std::string row_value(const SetCommand& cmd, int i, std::string* value) {
    const SetRow& row = cmd.rows[i];
    const MibVarEntry* e = mib_var(row.mib_index);
    const SetRowInput in =
        i < static_cast<int>(cmd.input.rows.size()) ? cmd.input.rows[i] : SetRowInput{};
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
    if (e) {
        std::string refusal = number_refusal(e->data_type, e->name, *value);
        if (!refusal.empty())
            return refusal;
    }
    if (e && e->data_type == MDT_IP_ADDR) {
        std::string ip = *value;
        if (!check_ip_addr_fmt(&ip))
            return "Invalid IP Address Format";
    }
    if (e && is_number_data_type(e->data_type))
        remove_trail_blanks(value);
    return "";
}

// Checks every marked row: the report's refusal text and one line per
// refused value ("NAME : REASON"); false on any error.
bool validate_rows(const SetCommand& cmd, std::string* msg, std::vector<std::string>* refused) {
    for (int i = 0; i < static_cast<int>(cmd.rows.size()); ++i) {
        if (!cmd.input.marked(i))
            continue;
        std::string value;
        std::string reason = row_value(cmd, i, &value);
        if (reason.empty())
            continue;
        if (refused->empty())
            text_set_buf("\nSet will not be executed due to the following errors:\n", msg, 1);
        const MibVarEntry* e = mib_var(cmd.rows[i].mib_index);
        refused->push_back((e ? e->name : std::string()) + " : " + reason);
        text_set_buf("\t" + refused->back(), msg, 1);
    }
    if (!refused->empty())
        text_set_buf("\nSet was not executed.\n", msg, 1);
    return refused->empty();
}

// Every device of the Set refused with the same reason lines (each names it).
void refuse_all(const std::vector<MorixRecord*>& devices, const std::vector<std::string>& lines,
                Outcome* o) {
    o->result = Result::refused;
    for (const MorixRecord* r : devices) {
        std::string reason;
        for (const std::string& l : lines)
            reason += (reason.empty() ? "<" : "\n<") + r->name + "> " + l;
        o->devices.push_back({r->name, DeviceState::refused, reason});
    }
}

// The follow-up of values undo cannot write back: asked through asker,
// and on OK the refused devices are sent their plan again, accepting it.
void ask_no_undo(ChangeOutcome* co, Asker& asker, const std::string& label) {
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
    Question q;
    q.title = "Question";
    q.text = lines + "\nSet these values anyway? Undo Last Change will not restore them.";
    if (g_accept_no_undo < 0 && !asker.ask(q))
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

SetOutcome run_set(const SetCommand& cmd, Asker& asker) {
    SetOutcome so;
    Outcome& o = so.outcome;
    std::vector<std::string> refused;
    if (!validate_rows(cmd, &o.report, &refused)) {
        refuse_all(cmd.devices, refused, &o);
        return so;
    }
    LongOperation busy;
    busy.busy();
    SetPorts sp =
        set_ports_of(cmd.input.ports, cmd.devices, cmd.port_type, PortPurpose::write, &o.warnings);
    settable_many(cmd.devices);
    std::string msg;
    text_set_buf("\n\n***** Set Operation *****", &msg, 1);
    text_set_buf("Setting the following parameters...", &msg, 1);
    RowTakeState warn;
    bool have_ports = sp.all != 0 || !sp.ports.empty();
    int rows = 0;
    for (int i = 0; i < static_cast<int>(cmd.rows.size()); ++i) {
        const SetRow& row = cmd.rows[i];
        if (!cmd.input.marked(i) ||
            !set_row_taken(row, have_ports, cmd.port_type, &warn, &o.warnings))
            continue;
        std::string value;
        row_value(cmd, i, &value);
        text_set_buf("\t" + mib_var(row.mib_index)->name, &msg, 1);
        for (MorixRecord* r : cmd.devices) {
            const DevicePorts& d = sp.of(r);
            if (r->allow_set == 1 && build_prm(r, d.all, static_cast<int>(d.ports.size()), d.ports,
                                               cmd.port_type, row.mib_index, value))
                so.nonexistent = true;
        }
        ++rows;
    }
    text_set_buf("", &msg, 1);
    so.rows_warned = warn.warned_no_ports || warn.warned_mismatch;
    // Rows whose ports exist on no device build nothing: that is not a Set.
    bool built = false, any_allowed = false;
    for (MorixRecord* r : cmd.devices) {
        built = built || r->prm_list != nullptr;
        any_allowed = any_allowed || r->allow_set == 1;
    }
    const char* nothing = nullptr;
    if (rows > 0 && any_allowed && !built)
        nothing = "None of the given ports exists on the selected Morixes. No set performed.";
    else if (rows == 0)
        nothing = "No valid parameters were marked. No set performed.";
    if (nothing) {
        text_set_buf(nothing, &msg, 1);
        o.report += msg;
        free_host_info_list(0);
        refuse_all(cmd.devices, {nothing}, &o);
    } else {
        o.report += msg;
        send_set_chains(cmd.devices, cmd, asker, &so);
    }
    if (so.nonexistent)
        o.warnings.push_back(MSG_NONEXISTENT_PORTS);
    // A row or port left out with a warning was asked and not done.
    if (!o.warnings.empty() && o.result == Result::done)
        o.result = Result::failed;
    return so;
}

void send_set_chains(const std::vector<MorixRecord*>& devices, const SetCommand& how, Asker& asker,
                     SetOutcome* so) {
    Outcome& o = so->outcome;
    // Every device that was sent something, failed or refuses Sets is in
    // the plan; those that refuse Sets are named after the others.
    ChangePlan plan;
    for (MorixRecord* r : devices)
        if (r->prm_list || r->status != 0 || !r->allow_set)
            plan.devices.push_back(r);
    ChangeOutcome co = send_change(plan, how.parent, "Cancel Set", asker);
    so->sent = true;
    bool error = false;
    std::string msg;
    for (const DeviceChange& d : co.devices) {
        if (d.rec->allow_set != 1 && g_may_change) {
            text_set_buf("<" + d.rec->name + ">  " + MSG_SETS_NOT_ALLOWED, &msg, 1);
            error = true;
            continue;
        }
        error = change_report_lines(d, co.cancelled, &o.report) || error;
        bool set_error = d.rec->status != SR_OK;
        for (const ParamNode* n = d.rec->prm_list; n; n = n->next)
            set_error = set_error || n->status != NS_OK;
        if (!co.cancelled && set_error)
            so->set_errors.push_back(d.rec->name);
    }
    // A cancel stops the whole operation: said once, not per device.
    if (co.cancelled)
        text_set_buf("Operation cancelled.", &msg, 1);
    if (co.outcome.result == Result::refused) {
        o.warnings.push_back(MSG_NO_ACCESS);
        error = true;
    }
    free_host_info_list(0);
    if (how.say_complete) {
        if (!co.cancelled) {
            text_set_buf(" ", &msg, 1);
            text_set_buf(error ? "Set complete with errors." : "Set complete.", &msg, 1);
        } else {
            text_set_buf(how.show_values_hint ? "Some values may have been updated.\nPress 'Show "
                                                "Values' to verify the current values."
                                              : "Some values may have been updated.",
                         &msg, 1);
        }
    }
    // After a cancel, which devices were sent their values and which not.
    if (co.cancelled) {
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
        o.report += msg + "\n";
    // Every device asked for is listed; one the rows built nothing for was
    // asked nothing.
    for (MorixRecord* r : devices) {
        const DeviceOutcome* found = nullptr;
        for (const DeviceOutcome& d : co.outcome.devices)
            found = d.device == r->name ? &d : found;
        o.devices.push_back(found ? *found : DeviceOutcome{r->name, DeviceState::done, ""});
    }
    o.result = co.cancelled                                 ? Result::cancelled
               : co.outcome.result == Result::refused       ? Result::refused
               : error || co.outcome.result != Result::done ? Result::failed
                                                            : Result::done;
    for (const FollowUp& f : co.outcome.follow_ups)
        if (f.kind != FOLLOW_RESET || !error)
            o.follow_ups.push_back(f);
    so->change = std::move(co);
}

ChangeOutcome send_change(ChangePlan plan, int parent, const char* cancel_title, Asker& asker) {
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
        ask_no_undo(&co, asker, plan.label);
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
    bool cancelled = op.close() || co.cancelled;
    if (cancelled != co.cancelled) {
        co.cancelled = cancelled;
        finish_change_outcome(&co);
    }
    return co;
}

ChangeOutcome send_change(ChangePlan plan, int parent, const char* cancel_title) {
    set_question_parent(parent);
    ChangeOutcome co = send_change(std::move(plan), parent, cancel_title, front_end_asker());
    set_question_parent(W_MAIN_WINDOW);
    return co;
}

Outcome change_reset_follow_up(const ChangeOutcome& co, Asker& asker, bool timeout_text) {
    Outcome out;
    bool due = false;
    for (const DeviceChange& d : co.devices)
        due = due || d.reset_mask != 0;
    if (!due || co.cancelled || co.outcome.result != Result::done)
        return out;
    Question q;
    q.title = "Reset Parameters";
    q.text = MSG_RESET_Q;
    q.ok_label = "Reset";
    if (g_confirm_auto_reset != 0 && !asker.ask(q)) {
        out.result = Result::cancelled;
        return out;
    }
    std::string failed;
    std::vector<std::string> notes;
    bool ok = run_change_reset(co, &failed, &notes, &out.report);
    out.warnings = notes;
    if (!ok) {
        out.result = Result::failed;
        out.warnings.push_back(reset_warning_text(failed, timeout_text));
    }
    return out;
}
