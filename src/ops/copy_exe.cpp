// Copying: one Get on the source, then per destination the settable test,
// one Set of the source's values on the destination ports, its report and
// its reset mask; the automatic reset of the destinations at the end.
#include <algorithm>

#include "catalogue/mib_catalogue.h"
#include "devices/allow_sets.h"
#include "devices/long_op.h"
#include "devices/text_buf.h"
#include "ops/change.h"
#include "ops/copy.h"
#include "ops/reset_mask.h"
#include "ops/set_window.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/port_resolve.h"
#include "snmp_access/session.h"
#include "snmp_access/snmp_engine.h"
#include "ui/app_globals.h"
#include "ui/progress.h"
#include "ui/widget_ids.h"

namespace {

constexpr const char* MSG_LIST_UPDATED =
    "\nThe main Morix list may have been updated. You must\nredisplay the current command "
    "window to update Morix Lists.\n";
constexpr const char* MSG_NOT_ALLOWED = MSG_SETS_NOT_ALLOWED;

std::string label_of(const ParamNode* n) {
    const MibVarEntry* e = mib_var(n->mib_index);
    return e ? e->name : std::string();
}

struct CopyState {
    bool error = false;
    bool listed = false;  // the parameters were listed (first destination)
    ChangeOutcome change; // the Sets of every destination
    Outcome* out = nullptr;
    // A line of the report (with its line end when new_line is 1).
    void say(const std::string& text, int new_line = 1) {
        text_set_buf(text, &out->report, new_line);
    }
};

// What goes to the output window, kept until the destination's turn.
struct Line {
    std::string text;
    int new_line;
};

// One destination: its record, the lines before its Set, and its Set.
struct Dest {
    std::string name;
    int p = -1;
    MorixRecord* rec = nullptr;
    std::vector<Line> before;
    const DeviceChange* change = nullptr; // its part of the change, once sent
    DeviceOutcome result;                 // what the copy did on it
};

// Builds the source's good values on one destination; lists them once.
void build_dst(const CopyRequest& req, const MorixRecord& src, Dest* d, CopyState* st) {
    std::string list;
    // The "Copy To" ports as this destination reads them.
    DevicePorts to =
        resolve_ports(*d->rec, req.port_type, req.dst_all, req.dst_ports, PortPurpose::copy);
    if (!to.refusal.empty())
        d->before.push_back({to.refusal, 1});
    for (const ParamNode* n = src.prm_list; n; n = n->next) {
        if (n->status == NS_OK) {
            if (build_prm(d->rec, to.all, static_cast<int>(to.ports.size()), to.ports, n->port_type,
                          n->mib_index, n->value) == PORT_NOT_FOUND)
                g_cpy_bad_ports = 1;
            if (!st->listed)
                list += "\t" + label_of(n) + "\n";
            continue;
        }
        if (n->status != NS_NO_SUCH_NAME)
            st->error = true;
        if (!st->listed && (n->status != NS_NO_SUCH_NAME || req.code == CPY_MAIN))
            list += "\t" + label_of(n) +
                    " : Could not get value. Parameter will not be used in copy.\n";
    }
    st->listed = true;
    if (!list.empty())
        d->before.push_back({list, 0});
}

// Every destination's settable test (side by side) and nodes; the lines
// each will report before its Set.
std::vector<Dest> prepare_dsts(const CopyRequest& req, const MorixRecord& src, CopyState* st) {
    std::vector<Dest> dsts;
    std::vector<MorixRecord*> asked;
    for (const std::string& name : req.dst_names) {
        dsts.emplace_back();
        Dest& d = dsts.back();
        d.name = name;
        d.result = {name, DeviceState::done, ""};
        d.p = session().devices().position(name);
        if (d.p < 0 || !session().devices()[d.p]->reachable) {
            d.before.push_back({MSG_LIST_UPDATED, 1});
            d.result = {name, DeviceState::unreachable,
                        name + " is no longer a reachable Morix of the list; nothing was copied"};
            st->error = true;
            continue;
        }
        d.rec = session().devices()[d.p];
        if (std::find(asked.begin(), asked.end(), d.rec) != asked.end()) {
            d.rec = nullptr; // one device, one Set
            continue;
        }
        free_prm_list(d.rec);
        asked.push_back(d.rec);
    }
    settable_many(asked);
    for (Dest& d : dsts) {
        if (!d.rec)
            continue;
        if (!d.rec->allow_set) {
            std::string why = "<" + d.name + ">  " + MSG_NOT_ALLOWED;
            d.before.push_back({why, 1});
            d.result = {d.name, DeviceState::refused, why};
            st->error = true;
            d.rec = nullptr;
            continue;
        }
        build_dst(req, src, &d, st);
        if (d.rec->prm_list)
            d.before.push_back({"\nPerforming copy for: " + d.name, 1});
    }
    return dsts;
}

// One destination's report after the Sets: its lines, the Set's report
// and, when a value was not set, the warning naming it.
void report_dst(Dest& d, bool cancelled, CopyState* st) {
    for (const Line& l : d.before)
        st->say(l.text, l.new_line);
    if (!d.rec)
        return;
    if (d.change) {
        std::string text;
        if (change_report_lines(*d.change, cancelled, &text))
            st->error = true;
        st->say(text, 0);
        bool set_error = d.rec->status != SR_OK;
        for (const ParamNode* n = d.rec->prm_list; n; n = n->next)
            set_error = set_error || n->status != NS_OK;
        if (!cancelled && set_error)
            st->out->warnings.push_back(
                "<" + d.rec->name +
                "> There was an error setting one or more parameters.\nThis may be due to a "
                "timeout.\nCheck message box for details.");
    }
    free_prm_list(d.rec);
}

// Sends every destination its values side by side through the change
// pipeline and reports them in order; after a cancel, destinations not
// begun report nothing.
void copy_all(const CopyRequest& req, const MorixRecord& src, LongOperation& op, CopyState* st) {
    if (front_end_progress().cancelled())
        return;
    std::vector<Dest> dsts = prepare_dsts(req, src, st);
    ChangePlan plan;
    plan.label = "Copying to";
    for (const Dest& d : dsts)
        if (d.rec && d.rec->prm_list)
            plan.devices.push_back(d.rec);
    if (plan.devices.size() == 1)
        op.progress("Copying to", plan.devices[0]->name);
    if (!front_end_progress().cancelled() && !plan.devices.empty())
        st->change = run_change(plan, nullptr);
    if (st->change.outcome.result == Result::refused)
        st->out->warnings.push_back(MSG_NO_ACCESS);
    bool cancelled = front_end_progress().cancelled();
    for (Dest& d : dsts) {
        for (const DeviceChange& c : st->change.devices)
            if (d.rec && c.rec == d.rec)
                d.change = &c;
        for (const DeviceOutcome& o : st->change.outcome.devices)
            if (d.rec && o.device == d.rec->name)
                d.result = o;
        if (d.rec && !d.change)
            d.result = {d.name, cancelled ? DeviceState::cancelled : DeviceState::not_sent,
                        "<" + d.name + ">  Nothing was sent."};
        st->out->devices.push_back(d.result);
        if (cancelled && d.change && !d.change->sent) {
            free_prm_list(d.rec);
            continue;
        }
        report_dst(d, cancelled, st);
    }
    // A cancel stops the whole copy: said once, after the destinations.
    if (cancelled)
        st->say("Operation cancelled.");
}

// Reads the source; false when the copy cannot go on.
bool read_source(MorixRecord* src, int* cancelled, CopyState* st) {
    st->say("Getting copy values from " + src->name + "...");
    LongOperation op(W_CPY_FORM, "Cancel Copy", "", LO_FOLLOW_SNMP);
    op.progress("Getting values for", src->name);
    mm_snmp(src, SNMP_OP_GET);
    *cancelled = op.close();
    if (*cancelled) {
        st->say("Operation cancelled.");
        return false;
    }
    if (src->status != SR_OK) {
        st->say("Could not get values for: " + src->name + "\n");
        st->error = true;
        return false;
    }
    st->say("Getting copy values complete.");
    st->say("");
    return true;
}

// Every destination of a copy that stopped before the Sets, with why.
void nothing_copied(const CopyRequest& req, bool cancelled, const std::string& source,
                    Outcome* out) {
    for (const std::string& name : req.dst_names)
        out->devices.push_back(
            {name, cancelled ? DeviceState::cancelled : DeviceState::not_sent,
             cancelled ? "cancelled before anything was copied to " + name
                       : "the values of " + source + " could not be read; nothing was copied"});
}

} // namespace

CopyOutcome copy_exe(const CopyRequest& req) {
    MorixRecord* src = session().devices()[req.src_index];
    CopyOutcome result;
    LongOperation op;
    op.busy();
    CopyState st;
    st.out = &result.outcome;
    int cancelled = 0;
    if (read_source(src, &cancelled, &st)) {
        // The source may be a destination too: its values stay in a copy.
        MorixRecordPtr values = new_host_node();
        cpy_host_node(values.get(), src);
        free_prm_list(src);
        st.say("Copying the following parameters...");
        op.open(W_CPY_FORM, "Cancel Copy", "", LO_CONFIRM | LO_FOLLOW_SNMP);
        copy_all(req, *values, op, &st);
        cancelled = op.close();
        // The resets of the destinations that took their values, even when
        // another one failed.
        st.change.cancelled = st.change.cancelled || cancelled;
        st.change.outcome.result = Result::done;
        result.change = st.change;
    } else {
        nothing_copied(req, cancelled != 0, src->name, &result.outcome);
    }
    if (!cancelled)
        result.closing = st.error ? "\nCopy complete with errors.\n" : "\nCopy complete.\n";
    result.outcome.result = cancelled  ? Result::cancelled
                            : st.error ? Result::failed
                                       : Result::done;
    return result;
}

Outcome copy_reset(const CopyOutcome& copy, Asker& asker) {
    Outcome out;
    bool due = false;
    for (const DeviceChange& d : copy.change.devices)
        due = due || d.reset_mask != 0;
    if (!due || copy.change.cancelled || copy.outcome.result == Result::cancelled)
        return out;
    if (g_confirm_auto_reset != 0 && !asker.ask(reset_question()))
        return out;
    std::string failed, report;
    if (!run_change_reset(copy.change, &failed, &out.warnings, &report)) {
        out.result = Result::failed;
        out.warnings.push_back(reset_warning_text(failed, false));
    }
    if (!report.empty())
        out.report = "\n" + report;
    return out;
}

Outcome copy_with_reset(const CopyRequest& req, Asker& asker) {
    CopyOutcome copy = copy_build(req);
    Outcome out = copy.outcome;
    Outcome reset = copy_reset(copy, asker);
    out.report += reset.report + copy.closing;
    out.warnings.insert(out.warnings.end(), reset.warnings.begin(), reset.warnings.end());
    if (out.result == Result::done && reset.result != Result::done)
        out.result = reset.result;
    return out;
}
