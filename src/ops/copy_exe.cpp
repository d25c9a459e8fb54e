// Copying: one Get on the source, then per destination the settable test,
// one Set of the source's values on the destination ports, its report and
// its reset mask; the automatic reset of the destinations at the end.
#include "catalogue/mib_catalogue.h"
#include "devices/allow_sets.h"
#include "devices/long_op.h"
#include "ops/copy.h"
#include "ops/reset_mask.h"
#include "ops/set_window.h"
#include "ops/undo.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

constexpr const char* MSG_LIST_UPDATED =
    "\nThe main Morix list may have been updated. You must\nredisplay the current command "
    "window to update Morix Lists.\n";
constexpr const char* MSG_NOT_ALLOWED =
    "Could not set any parameters.\nThe value of the allow_snmp_sets parameter is false. "
    "Morix ignored.";

void out(const std::string& text) {
    write_otp_msg(W_CPY_TEXT, text, 1, 1);
}

std::string label_of(const ParamNode* n) {
    const MibVarEntry* e = mib_var(n->mib_index);
    return e ? e->name : std::string();
}

struct CopyState {
    bool error = false;
    bool listed = false; // the parameters were listed (first destination)
    bool reset_needed = false;
};

// Builds the source's good values on one destination; lists them once.
void build_dst(const CopyRequest& req, const MorixRecord& src, MorixRecord* dst, CopyState* st) {
    std::string list;
    for (const ParamNode* n = src.prm_list; n; n = n->next) {
        if (n->status == NS_OK) {
            if (build_prm(dst, req.dst_all, req.dst_count, req.dst_ports, n->port_type,
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
        write_otp_msg(W_CPY_TEXT, list, 0, 1);
}

// One destination: settable test, nodes, Set, report, reset mask.
void copy_one(const CopyRequest& req, const MorixRecord& src, const std::string& name,
              CopyState* st) {
    int p = host_info_list.position(name);
    if (p < 0 || !host_info_list[p]->reachable) {
        out(MSG_LIST_UPDATED);
        st->error = true;
        return;
    }
    MorixRecord* dst = host_info_list[p];
    free_prm_list(dst);
    if (!are_parameters_settable(dst)) {
        out("<" + name + ">  " + MSG_NOT_ALLOWED);
        st->error = true;
        return;
    }
    reset_cancel_dialog("Copying to", name);
    build_dst(req, src, dst, st);
    if (dst->prm_list) {
        out("\nPerforming copy for: " + name);
        SafeSet safe;
        safe_set_send(dst, &safe);
        int error = 0;
        process_set_req_res(dst, W_CPY_TEXT, W_CPY_FORM, &error, g_cancel_process);
        std::string lines;
        error = safe_set_report(dst, safe, &lines) || error;
        if (!lines.empty())
            write_otp_msg(W_CPY_TEXT, lines, 0, 1);
        st->error = st->error || error;
        // Only a Set the device answered tells which values it took.
        if (dst->status == SR_OK) {
            g_auto_reset_mask[p] = build_reset_mask(dst, &g_input_port[p]);
            st->reset_needed = st->reset_needed || g_auto_reset_mask[p] != 0;
        }
    }
    free_prm_list(dst);
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
        clear_reset_masks();
        out("Copying the following parameters...");
        op.open(W_CPY_FORM, "Cancel Copy", "", LO_CONFIRM | LO_FOLLOW_SNMP);
        for (const std::string& name : req.dst_names) {
            if (g_cancel_process)
                break;
            copy_one(req, *values, name, &st);
        }
        cancelled = op.close();
        if (st.reset_needed && !cancelled && does_user_want_reset(W_CPY_FORM)) {
            std::string failed;
            if (!do_cpy_mrx_auto_reset(req.dst_names, W_CPY_TEXT, &failed))
                display_reset_warning(W_CPY_FORM, failed);
        }
    }
    if (!cancelled)
        out(st.error ? "\nCopy complete with errors." : "\nCopy complete.");
    ui_manage(W_CPY_TEXT);
    if (cancelled)
        return COPY_CANCELLED;
    return st.error ? COPY_ERRORS : COPY_DONE;
}
