// Copying: one Get on the source, then per destination the settable test,
// one Set of the source's values on the destination ports, its report and
// its reset mask; the automatic reset of the destinations at the end.
#include <algorithm>

#include "catalogue/mib_catalogue.h"
#include "devices/allow_sets.h"
#include "devices/long_op.h"
#include "ops/change.h"
#include "ops/copy.h"
#include "ops/reset_mask.h"
#include "ops/set_window.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/port_resolve.h"
#include "snmp_access/snmp_engine.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

constexpr const char* MSG_LIST_UPDATED =
    "\nThe main Morix list may have been updated. You must\nredisplay the current command "
    "window to update Morix Lists.\n";
constexpr const char* MSG_NOT_ALLOWED = MSG_SETS_NOT_ALLOWED;

void out(const std::string& text) {
    write_otp_msg(W_CPY_TEXT, text, 1, 1);
}

std::string label_of(const ParamNode* n) {
    const MibVarEntry* e = mib_var(n->mib_index);
    return e ? e->name : std::string();
}

struct CopyState {
    bool error = false;
    bool listed = false;  // the parameters were listed (first destination)
    ChangeOutcome change; // the Sets of every destination
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
        d.p = host_info_list.position(name);
        if (d.p < 0 || !host_info_list[d.p]->reachable) {
            d.before.push_back({MSG_LIST_UPDATED, 1});
            st->error = true;
            continue;
        }
        d.rec = host_info_list[d.p];
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
            d.before.push_back({"<" + d.name + ">  " + MSG_NOT_ALLOWED, 1});
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

// One destination's report after the Sets: its lines and the Set's result.
void report_dst(Dest& d, CopyState* st) {
    for (const Line& l : d.before)
        write_otp_msg(W_CPY_TEXT, l.text, l.new_line, 1);
    if (!d.rec)
        return;
    if (d.change) {
        int error = 0;
        process_set_req_res(*d.change, W_CPY_TEXT, W_CPY_FORM, &error, g_cancel_process);
        st->error = st->error || error;
    }
    free_prm_list(d.rec);
}

// Sends every destination its values side by side through the change
// pipeline and reports them in order; after a cancel, destinations not
// begun report nothing.
void copy_all(const CopyRequest& req, const MorixRecord& src, CopyState* st) {
    if (g_cancel_process)
        return;
    std::vector<Dest> dsts = prepare_dsts(req, src, st);
    ChangePlan plan;
    plan.label = "Copying to";
    for (const Dest& d : dsts)
        if (d.rec && d.rec->prm_list)
            plan.devices.push_back(d.rec);
    if (plan.devices.size() == 1)
        reset_cancel_dialog("Copying to", plan.devices[0]->name);
    if (!g_cancel_process && !plan.devices.empty())
        st->change = run_change(plan, nullptr);
    if (st->change.outcome.result == Result::refused)
        display_warn(W_CPY_FORM, MSG_NO_ACCESS);
    for (Dest& d : dsts) {
        for (const DeviceChange& c : st->change.devices)
            if (d.rec && c.rec == d.rec)
                d.change = &c;
        if (g_cancel_process && d.change && !d.change->sent) {
            free_prm_list(d.rec);
            continue;
        }
        report_dst(d, st);
    }
}

// Reads the source; false when the copy cannot go on.
bool read_source(MorixRecord* src, int* cancelled, CopyState* st) {
    out("Getting copy values from " + src->name + "...");
    LongOperation op(W_CPY_FORM, "Cancel Copy", "", LO_FOLLOW_SNMP);
    op.progress("Getting values for", src->name);
    mm_snmp(src, SNMP_OP_GET);
    *cancelled = op.close();
    if (*cancelled) {
        out("Operation cancelled.");
        return false;
    }
    if (src->status != SR_OK) {
        out("Could not get values for: " + src->name + "\n");
        st->error = true;
        return false;
    }
    out("Getting copy values complete.");
    out("");
    return true;
}

} // namespace

int copy_exe(const CopyRequest& req) {
    MorixRecord* src = host_info_list[req.src_index];
    ui_unmanage(W_CPY_TEXT);
    LongOperation op;
    op.busy();
    CopyState st;
    int cancelled = 0;
    if (read_source(src, &cancelled, &st)) {
        // The source may be a destination too: its values stay in a copy.
        MorixRecordPtr values = new_host_node();
        cpy_host_node(values.get(), src);
        free_prm_list(src);
        out("Copying the following parameters...");
        op.open(W_CPY_FORM, "Cancel Copy", "", LO_CONFIRM | LO_FOLLOW_SNMP);
        copy_all(req, *values, &st);
        cancelled = op.close();
        // The resets of the destinations that took their values, even when
        // another one failed.
        st.change.cancelled = st.change.cancelled || cancelled;
        st.change.outcome.result = Result::done;
        if (!cancelled)
            ask_change_reset(st.change, W_CPY_FORM, false, W_CPY_TEXT);
    }
    if (!cancelled)
        out(st.error ? "\nCopy complete with errors." : "\nCopy complete.");
    ui_manage(W_CPY_TEXT);
    if (cancelled)
        return COPY_CANCELLED;
    return st.error ? COPY_ERRORS : COPY_DONE;
}
