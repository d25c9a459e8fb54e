// The source chain of a copy, by copy code: the main window's choice
// (code 1) or every copyable catalogue variable of one kind (codes 2..7).
#include "catalogue/func_catalogue.h"
#include "catalogue/func_display.h"
#include "catalogue/mib_catalogue.h"
#include "devices/text_buf.h"
#include "ops/copy.h"
#include "ops/show.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/port_resolve.h"
#include "snmp_access/session.h"
#include "snmp_access/snmp_engine.h"
#include "ui/widget_ids.h"

namespace {

constexpr const char* MSG_NOT_COPYABLE = "Parameter cannot be copied.";
constexpr const char* MSG_NO_VALID = "No valid parameters were specified. Copy not performed.";

// Codes 2..7: the port classes taken and the writability mode (also the
// port type the nodes are built for).
struct CopyKindRow {
    int code;
    std::vector<int> port_classes;
    int mode;
};
const CopyKindRow kind_rows[] = {{CPY_MRX, {0}, PT_NONE},   {CPY_ASY, {1, 4, 5}, PT_ASY},
                                 {CPY_SYN, {2, 4}, PT_SYN}, {CPY_PTR, {3, 5}, PT_PTR},
                                 {CPY_ETH, {6}, PT_EN},     {CPY_DS1, {9}, PT_DS1INF}};

bool has_class(const CopyKindRow& row, int port_class) {
    for (int c : row.port_classes)
        if (c == port_class)
            return true;
    return false;
}

// Every catalogue variable of the row, in index order, on the source.
void copy_kind_proc(const CopyRequest& req, const CopyKindRow& row, MorixRecord* src) {
    for (int id = 0; id < MAX_MIB_VARS; ++id) {
        const MibVarEntry* e = mib_var(id);
        if (!e || e->internal_code == MIC_INTERNAL || e->internal_code == MIC_NOT_TRANSFERABLE ||
            !has_class(row, e->port_class) || !check_mib_var_write(id, row.mode) ||
            (row.mode != PT_NONE && req.src_port < 1))
            continue;
        int r = row.mode == PT_NONE ? build_prm(src, 0, 0, {}, PT_NONE, id, "")
                                    : build_prm(src, 0, 1, {req.src_port}, row.mode, id, "");
        if (r == PORT_NOT_FOUND)
            g_cpy_bad_ports = 1;
    }
}

// The catalogue ids of the main window's choice; false (after the warning)
// when the function cannot be found again.
bool main_choice_ids(const CopyRequest& req, std::vector<int>* ids,
                     std::vector<std::string>* warnings) {
    const std::vector<std::string>& items = req.items;
    if (req.param_sel) {
        for (const std::string& label : items) {
            int id = 0;
            if (get_check_mib_var(label, &id))
                ids->push_back(id);
        }
        return true;
    }
    // Group members may have changed since the list was drawn.
    if (read_func_info("data/gui_mm_data") != 0) {
        warnings->push_back("Unable to read parameter group information from data file.");
        return false;
    }
    int f = items.empty() ? -1 : find_func_by_name(items[0]);
    if (f < 0 || !mib_func_list[f]) {
        warnings->push_back("Could not find internal references to a parameter group or "
                            "parameter. Software error.");
        return false;
    }
    *ids = mib_func_list[f]->var_list;
    return true;
}

// Code 1. Returns false when nothing may be built at all.
bool copy_main_proc(const CopyRequest& req, MorixRecord* src, std::string* out,
                    std::vector<std::string>* warnings) {
    int func = -1, all = 0, count = 0;
    int rqr = check_rqr_port(req.items, req.param_sel, req.port_type, &func);
    process_rqr_port(rqr, req.src_port_text, &all, &count, 0, warnings);
    if (rqr == PRQ_NO_FUNC || rqr == PRQ_NO_PRM)
        return false;
    bool ports_ok = true;
    if (rqr == PRQ_ALL_MATCH || rqr == PRQ_SOME_MATCH) {
        if (req.src_all != 0 || req.src_count != 1) {
            warnings->push_back("You must enter one port for the 'Copy From' Morix.\nIf you do "
                                "not enter a port number, this operation will not process port "
                                "related parameters.");
            ports_ok = false;
        } else if (req.dst_all == 0 && req.dst_count == 0) {
            warnings->push_back("You did not enter any port numbers for the 'Copy To' Morix.\n"
                                "This operation will not process port related parameters.");
            ports_ok = false;
        }
    }
    std::vector<int> ids;
    if (!main_choice_ids(req, &ids, warnings))
        return false;
    std::string kw;
    cvt_port_opt_str(req.port_type, &kw);
    for (int id : ids) {
        const MibVarEntry* e = mib_var(id);
        if (!e || e->internal_code == MIC_INTERNAL)
            continue;
        bool port_var = e->port_class != 0;
        if (e->internal_code == MIC_NOT_TRANSFERABLE) {
            text_set_buf(e->name + " : " + MSG_NOT_COPYABLE, out, 1);
            continue;
        }
        if (!check_port_type(id, req.port_type) || (port_var && (!ports_ok || req.src_port < 1)))
            continue;
        if (!check_mib_var_write(id, req.port_type)) {
            text_set_buf(port_var ? e->name + " (" + kw + ") : " + MSG_NOT_COPYABLE
                                  : e->name + " : " + MSG_NOT_COPYABLE,
                         out, 1);
            continue;
        }
        int r = port_var ? build_prm(src, 0, 1, {req.src_port}, req.port_type, id, "")
                         : build_prm(src, 0, 0, {}, PT_NONE, id, "");
        if (r == PORT_NOT_FOUND)
            g_cpy_bad_ports = 1;
    }
    return true;
}

} // namespace

CopyOutcome copy_build(const CopyRequest& req) {
    CopyOutcome result;
    Outcome& o = result.outcome;
    o.result = Result::refused;
    if (req.src_index < 0 || req.src_index >= MAX_MRX_SLOTS ||
        !session().devices()[req.src_index] ||
        session().devices()[req.src_index]->name != req.src_name) {
        o.report = "\nThe main Morix list may have been updated. You must\nredisplay the current "
                   "command window to update Morix Lists.\n\n";
        return result;
    }
    MorixRecord* src = session().devices()[req.src_index];
    free_prm_list(src);
    if (req.code == CPY_CHN) {
        o.report = "Channel parameters are not copied: nothing was copied to the selected "
                   "Morixes.\n";
        return result;
    }
    // The "Copy From" port as the source device reads it; a port it does not
    // have is refused, naming it, and no port variable is read.
    CopyRequest from = req;
    if (req.code != CPY_MRX && req.src_all == 0 && req.src_count == 1) {
        DevicePorts s = resolve_ports(*src, req.port_type, 0, {req.src_port}, PortPurpose::copy);
        from.src_port = s.ports.empty() ? 0 : s.ports[0];
        if (!s.refusal.empty())
            o.warnings.push_back(s.refusal);
    }
    std::string out;
    bool go = true;
    if (req.code == CPY_MAIN) {
        go = copy_main_proc(from, src, &out, &o.warnings);
    } else {
        for (const CopyKindRow& row : kind_rows)
            if (row.code == req.code)
                copy_kind_proc(from, row, src);
    }
    if (go && !src->prm_list)
        text_set_buf(std::string(req.code == CPY_MAIN ? "\n" : "") + MSG_NO_VALID, &out, 1);
    if (go && src->prm_list) {
        std::vector<std::string> before = o.warnings;
        result = copy_exe(req);
        result.outcome.report = out + result.outcome.report;
        before.insert(before.end(), result.outcome.warnings.begin(), result.outcome.warnings.end());
        result.outcome.warnings = before;
    } else {
        o.report = out;
    }
    free_prm_list(src);
    if (g_cpy_bad_ports)
        result.outcome.warnings.push_back(MSG_NONEXISTENT_PORTS);
    return result;
}
