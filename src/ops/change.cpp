// The change pipeline: access -> undo read -> Sets -> undo entry ->
// read-back -> reset masks -> outcome.
#include "ops/change.h"
#include "snmp_access/session.h"

#include <ctime>

#include "catalogue/mib_catalogue.h"
#include "devices/mrx_list.h"
#include "ops/control.h"
#include "ops/script_file.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"
#include "ui/progress.h"

namespace {

// The undo read of one device: the line of each node of its chain, in order.
struct UndoRead {
    MorixRecordPtr got;
    std::vector<UndoLine> lines;
};

// The caller's progress, or the front end's (the cancel dialog in gui_mm,
// SIGINT in mm_cli) when it names none.
bool cancelled_now(Progress* progress) {
    return progress ? progress->cancelled() : front_end_progress().cancelled();
}

// True when the device may hold the new value of n: it accepted it, or its
// answer was lost (a time-out) and it did not refuse the value.
bool may_hold(const MorixRecord* rec, const ParamNode* n) {
    if (n->status == NS_OK)
        return true;
    return rec->status != SR_OK && n->status != NS_NO_SUCH_NAME && n->status != NS_READ_ONLY &&
           n->status != NS_BAD_VALUE;
}

// Refuses the device's Set: nothing is sent to it.
void refuse(DeviceChange* d, const std::string& line) {
    d->refused = true;
    d->safe.refused = true;
    d->safe.refusal = line;
    d->rec->status = SR_CANCELLED;
}

// Checks the old values read: a device whose chain holds a value undo
// cannot write back is refused unless the plan accepts it.
bool check_undo_read(const ChangePlan& plan, DeviceChange* d, UndoRead* u, std::string* reason) {
    MorixRecord* rec = d->rec;
    if (u->got->status != SR_OK) {
        refuse(d, "<" + rec->name +
                      ">  Nothing was set: the current values could not be read for the "
                      "undo script.");
        return false;
    }
    std::string lost;
    for (const ParamNode* n = u->got->prm_list; n; n = n->next) {
        u->lines.push_back(undo_line(n));
        const UndoLine& l = u->lines.back();
        if (l.line.empty() && !l.unread)
            lost += (lost.empty() ? "" : ", ") + node_where(n);
    }
    if (!lost.empty() && !plan.accept_no_undo) {
        d->no_undo = true;
        refuse(d, "<" + rec->name + ">  Nothing was set: undo could not write back the " +
                      "current value of " + lost + ".");
        return false;
    }
    if (undo_dir_ready(reason) != 0) {
        refuse(d, "<" + rec->name + ">  Nothing was set: the undo script could not be " +
                      "written (" + *reason + ").");
        return false;
    }
    return true;
}

// The undo entry of a device that was sent its Set: the old values of the
// nodes it may hold, and a comment for each one undo cannot write back.
void keep_undo_entry(DeviceChange* d, const UndoRead& u) {
    MorixRecord* rec = d->rec;
    char when[64] = "";
    time_t t = std::chrono::system_clock::to_time_t(undo_clock());
    struct tm tm {};
    if (gmtime_r(&t, &tm))
        std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S UTC", &tm);
    std::string content = script_header();
    content +=
        "# Undo script of " + rec->name + ": the values it held before a change (" + when + ").\n";
    size_t i = 0, kept = 0;
    for (const ParamNode* n = rec->prm_list; n && i < u.lines.size(); n = n->next, ++i) {
        if (!may_hold(rec, n))
            continue;
        ++kept;
        if (!u.lines[i].line.empty()) {
            content += u.lines[i].line + "\n";
            continue;
        }
        d->safe.left_out.push_back(node_where(n) + u.lines[i].left_out);
        content += UNDO_LEFT_OUT + d->safe.left_out.back() + "\n";
    }
    if (kept == 0)
        return; // the device took nothing: the newest change it holds is older
    std::string reason;
    if (write_undo_script(rec->name, content, UNDO_KEEP, &d->safe.undo_path, &reason) != 0)
        d->safe.left_out.push_back("every value: the undo script could not be written (" + reason +
                                   ")");
}

// The outcome record of one device.
DeviceOutcome device_outcome(const DeviceChange& d, bool cancelled) {
    DeviceOutcome o;
    o.device = d.rec->name;
    if (d.refused) {
        o.state = DeviceState::refused;
        o.reason = d.safe.refusal;
    } else if (!d.sent) {
        o.state = cancelled ? DeviceState::cancelled : DeviceState::not_sent;
        o.reason = "<" + d.rec->name + ">  Nothing was sent.";
    } else if (d.rec->status != SR_OK) {
        o.state = d.rec->status == SR_CANCELLED ? DeviceState::cancelled : DeviceState::unreachable;
        o.reason = "Some values may have been set for: " + d.rec->name;
    } else if (!d.accepted) {
        o.state = DeviceState::refused;
        o.reason = change_device_reason(d);
        if (o.reason.empty())
            o.reason = "<" + d.rec->name + "> The device refused one or more values.";
    } else if (!d.verified && cancelled && d.safe.not_taken.empty()) {
        // The cancel came before the read-back: what it holds is not known.
        o.state = DeviceState::cancelled;
        o.reason = "<" + d.rec->name + ">  The values were sent; the read-back was cancelled.";
    } else if (!d.verified) {
        o.state = DeviceState::unread;
        o.reason = change_device_reason(d);
        if (o.reason.empty())
            o.reason = "<" + d.rec->name + "> Not every value reads back as set.";
    }
    return o;
}

} // namespace

void finish_change_outcome(ChangeOutcome* co) {
    Outcome& o = co->outcome;
    o = Outcome{};
    bool all_done = true, reset = false;
    for (const DeviceChange& d : co->devices) {
        o.devices.push_back(device_outcome(d, co->cancelled));
        all_done = all_done && o.devices.back().state == DeviceState::done;
        reset = reset || d.reset_mask != 0;
        if (d.no_undo)
            o.follow_ups.push_back({FOLLOW_NO_UNDO, d.safe.refusal});
    }
    if (co->cancelled)
        o.result = Result::cancelled;
    else if (!all_done)
        o.result = Result::failed;
    if (reset && all_done && !co->cancelled)
        o.follow_ups.push_back({FOLLOW_RESET, "The Morixes you selected need to be reset for "
                                              "changes to take effect.\n\nDo you want to reset "
                                              "now?"});
}

bool ChangeOutcome::any_sent() const {
    for (const DeviceChange& d : devices)
        if (d.sent)
            return true;
    return false;
}

ChangeOutcome run_change(const ChangePlan& plan, Progress* progress) {
    ChangeOutcome co;
    size_t n = plan.devices.size();
    co.devices.resize(n);
    for (size_t i = 0; i < n; ++i)
        co.devices[i].rec = plan.devices[i];
    // Access: the users list, then each device's allow_snmp_sets.
    if (!g_may_change) {
        for (DeviceChange& d : co.devices)
            refuse(&d, "<" + d.rec->name + ">  " + MSG_NO_ACCESS);
        co.outcome.result = Result::refused;
        co.outcome.warnings.push_back(MSG_NO_ACCESS);
        for (const DeviceChange& d : co.devices)
            co.outcome.devices.push_back(device_outcome(d, false));
        return co;
    }
    // What the Sets will overwrite, read from every device at once.
    std::vector<UndoRead> undo(n);
    std::vector<MorixRecord*> reads(n, nullptr);
    for (size_t i = 0; i < n; ++i) {
        DeviceChange& d = co.devices[i];
        if (d.rec->allow_set != 1) {
            refuse(&d, "<" + d.rec->name + ">  " + MSG_SETS_NOT_ALLOWED);
        } else if (d.rec->prm_list) {
            undo[i].got = set_read_copy(d.rec, false);
            reads[i] = undo[i].got.get();
        }
    }
    if (progress)
        progress->step(0, 3, "Reading current values");
    std::vector<char> read = mm_snmp_all(reads, SNMP_OP_GET, "Reading current values");
    // The Sets of the devices whose old values are kept.
    std::vector<MorixRecord*> sets(n, nullptr);
    std::string reason;
    for (size_t i = 0; i < n; ++i) {
        DeviceChange& d = co.devices[i];
        if (!reads[i])
            continue;
        if (read[i] && !cancelled_now(progress) && check_undo_read(plan, &d, &undo[i], &reason))
            sets[i] = d.rec;
        else
            d.rec->status = SR_CANCELLED; // never sent
    }
    if (progress)
        progress->step(1, 3, plan.label);
    std::vector<char> began = mm_snmp_all(sets, SNMP_OP_SET, plan.label);
    for (size_t i = 0; i < n; ++i) {
        DeviceChange& d = co.devices[i];
        // A Set begun may have reached the device even when a cancel
        // stopped it part way: its undo entry is kept.
        d.sent = sets[i] && began[i];
        if (d.sent)
            keep_undo_entry(&d, undo[i]);
        d.accepted = d.sent && control_sent_ok(d.rec);
    }
    co.cancelled = cancelled_now(progress);
    // The accepted values read back from every device the Set reached.
    std::vector<MorixRecordPtr> back(n);
    std::vector<MorixRecord*> backs(n, nullptr);
    for (size_t i = 0; i < n && !co.cancelled; ++i)
        if (co.devices[i].sent && co.devices[i].rec->status == SR_OK) {
            back[i] = set_read_copy(co.devices[i].rec, true);
            backs[i] = back[i]->prm_list ? back[i].get() : nullptr;
        }
    if (progress && !co.cancelled)
        progress->step(2, 3, "Reading back values");
    if (!co.cancelled)
        mm_snmp_all(backs, SNMP_OP_GET, "Reading back values");
    co.cancelled = cancelled_now(progress);
    for (size_t i = 0; i < n; ++i) {
        DeviceChange& d = co.devices[i];
        if (backs[i] && !co.cancelled)
            compare_back(d.rec, backs[i], &d.safe);
        d.verified = d.accepted && backs[i] && !co.cancelled && d.safe.not_taken.empty();
        // Only a Set the device answered tells which values it took.
        if (d.sent && d.rec->status == SR_OK)
            d.reset_mask = change_reset_mask(d.rec, &d.reset_ports);
    }
    finish_change_outcome(&co);
    return co;
}

bool run_change_reset(const ChangeOutcome& co, std::string* failed_names,
                      std::vector<std::string>* notes, std::string* report) {
    clear_reset_masks();
    std::vector<MorixRecord*> recs;
    for (const DeviceChange& d : co.devices) {
        int p = session().devices().position(d.rec->name);
        if (d.reset_mask == 0 || p < 0 || session().devices()[p] != d.rec)
            continue;
        g_auto_reset_mask[p] = d.reset_mask;
        g_input_port[p] = d.reset_ports;
        recs.push_back(d.rec);
    }
    return auto_reset_list(recs, failed_names, notes, report) != 0;
}

uint32_t change_reset_mask(MorixRecord* rec, ResetPorts* ports) {
    return build_reset_mask(rec, ports);
}
