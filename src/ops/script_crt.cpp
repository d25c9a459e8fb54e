#include "ops/script_crt.h"

#include <algorithm>
#include <set>

#include "catalogue/func_catalogue.h"
#include "catalogue/func_display.h"
#include "catalogue/mib_catalogue.h"
#include "devices/long_op.h"
#include "devices/text_buf.h"
#include "ops/script_file.h"
#include "ops/show.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/port_resolve.h"
#include "snmp_access/snmp_engine.h"
#include "ui/overwrite.h"

namespace {

struct KindInfo {
    int port_type;
    const char* keyword;
};
constexpr KindInfo kind_info[SK_COUNT] = {
    {PT_NONE, "none"}, {PT_ASY, "asy"},         {PT_SYN, "syn"},      {PT_PTR, "ptr"},
    {PT_EN, "en"},     {PT_DS0CHAN, "ds0chan"}, {PT_DS1INF, "ds1inf"}};

constexpr unsigned bit(int k) {
    return 1u << k;
}

// Kinds a variable of a port class marks, by write type (index 0..7; write
// type 1 marks every kind of the class).
struct MarkRow {
    int port_class;
    unsigned by_write[6];
};
constexpr unsigned D = bit(SK_DEVICE), A = bit(SK_ASY), S = bit(SK_SYN), P = bit(SK_PTR),
                   E = bit(SK_EN), C = bit(SK_DS0CHAN), W = bit(SK_DS1INF);
constexpr MarkRow mark_rows[] = {
    {0, {0, D, 0, 0, 0, 0}},         {1, {0, A, A, 0, 0, 0}},     {2, {0, S, 0, S, 0, 0}},
    {3, {0, P, 0, 0, P, 0}},         {4, {0, A | S, A, S, 0, 0}}, {5, {0, A | P, A, 0, P, 0}},
    {6, {0, A | S | E, A, S, 0, E}}, {7, {0, C, 0, 0, 0, 0}},     {9, {0, W, 0, 0, 0, 0}}};
// Write types 6 and 7 (channels and DS1 only) also mark their kind.
unsigned marked_kinds(const MibVarEntry* e) {
    if (e->port_class == 7 && e->write_type == 6)
        return C;
    if (e->port_class == 9 && e->write_type == 7)
        return W;
    for (const MarkRow& r : mark_rows)
        if (r.port_class == e->port_class)
            return e->write_type >= 0 && e->write_type < 6 ? r.by_write[e->write_type] : 0;
    print_invalid_data_indicator();
    return 0;
}

// Kinds of a port class (the port types build_scr_crt_prm reads it for).
unsigned class_kinds(int port_class) {
    switch (port_class) {
    case 0:
        return D;
    case 1:
        return A;
    case 2:
        return S;
    case 3:
        return P;
    case 4:
        return A | S;
    case 5:
        return A | P;
    case 6:
        return A | S | E;
    case 7:
        return C;
    case 9:
        return W;
    default:
        return 0;
    }
}

// Port classes of each category.
bool in_category(int cat, int port_class) {
    switch (cat) {
    case SC_DEVICE:
        return port_class == 0;
    case SC_ASY:
        return port_class == 1 || port_class == 4 || port_class == 5;
    case SC_PTR:
        return port_class == 3 || port_class == 5;
    case SC_EN:
        return port_class == 6;
    case SC_CHANNELS:
        return port_class == 7;
    case SC_DS1:
        return port_class == 9;
    default:
        return false;
    }
}
constexpr int category_kind[SC_COUNT] = {SK_DEVICE, SK_ASY, SK_PTR, SK_EN, SK_DS0CHAN, SK_DS1INF};

constexpr const char* MSG_NOT_IN_MIB =
    "One or more parameters in the selected user-defined group cannot be found\nin the current "
    "MIB. Check your data files.";
constexpr const char* MSG_NOT_CREATED =
    "No script was created. If you selected an existing\nscript, the contents were not changed.";
constexpr const char* MSG_CANNOT_SCRIPT = "Parameter cannot be scripted.";

// Catalogue indexes of the chosen variables, or of the chosen function's.
std::vector<int> chosen_vars(const std::vector<std::string>& params, int param_sel,
                             int func_index) {
    std::vector<int> ids;
    if (!param_sel) {
        if (func_index >= 0 && func_index < MAX_MIB_FUNCS && mib_func_list[func_index])
            ids = mib_func_list[func_index]->var_list;
        return ids;
    }
    for (const std::string& label : params) {
        int id = 0;
        if (get_check_mib_var(label, &id))
            ids.push_back(id);
    }
    return ids;
}

struct CrtRun {
    ScrCrtState* st;
    std::string* msg;
    std::vector<std::string>* errors;
    bool error = false;
    bool nonexistent = false;
    std::set<std::string> refusals{}; // each told once
};

// A line of the report that marks the script as made with errors.
void error_line(CrtRun* run, const std::string& text) {
    text_set_buf(text, run->msg, 1);
    run->errors->push_back(text);
    run->error = true;
}

// GET nodes of one variable for every needed kind of its port class.
void build_scr_crt_prm(CrtRun* run, int id, bool report) {
    const MibVarEntry* e = mib_var(id);
    unsigned kinds = class_kinds(e->port_class);
    for (int k = 0; k < SK_COUNT; ++k) {
        if (!(kinds & bit(k)) || !run->st->kinds[k])
            continue;
        const ScrPorts& p = run->st->ports[k];
        int pt = kind_info[k].port_type;
        if (check_mib_var_write(id, pt)) {
            if (k == SK_DEVICE || p.given()) {
                DevicePorts d{p.all, p.ports, {}, ""};
                if (k != SK_DEVICE)
                    d = resolve_ports(*run->st->rec, pt, p.all, p.ports, PortPurpose::script);
                if (!d.refusal.empty() && run->refusals.insert(d.refusal).second)
                    text_set_buf(d.refusal, run->msg, 1);
                if (build_prm(run->st->rec, d.all, static_cast<int>(d.ports.size()), d.ports, pt,
                              id, "") != 0 ||
                    !d.refusal.empty())
                    run->nonexistent = true;
            }
        } else if (report && (k == SK_DEVICE || p.given())) {
            std::string where =
                k == SK_DEVICE ? e->name : e->name + " (" + kind_info[k].keyword + ")";
            error_line(run, where + " : " + MSG_CANNOT_SCRIPT);
        }
    }
}

// The text of one node's report, "" when it is written as a line; an
// error the device reported names the device and its error status.
std::string node_problem(const ParamNode* n, bool selected_mode, const std::string& device) {
    switch (n->status) {
    case NS_OK:
        return "";
    case NS_NO_SUCH_NAME:
        return selected_mode ? "Parameter does not exist." : "-";
    case NS_READ_ONLY:
        return "Invalid internal error code. Software error. - Parameter is read only.";
    case NS_BAD_VALUE:
        return "Invalid internal error code. Software error. - Parameter cannot be set to this "
               "value.";
    case NS_NOT_DONE:
        return "Operation cancelled.";
    default:
        return "Invalid internal error code. Software error. - <" + device +
               "> reported error status " + std::to_string(n->status) + ".";
    }
}

// The header and one line per answered node; false when no line was made.
bool write_scr_crt(CrtRun* run, std::string* content) {
    *content = script_header();
    int lines = 0;
    for (const ParamNode* n = run->st->rec->prm_list; n; n = n->next) {
        const MibVarEntry* e = mib_var(n->mib_index);
        std::string kw;
        cvt_port_opt_str(n->port_type, &kw);
        // A script names ports as the operator does (WAN modules by number).
        int port = operator_port_number(*run->st->rec, n->port_type, n->port_num);
        std::string where = n->port_type != 0
                                ? e->name + " (" + kw + " port " + std::to_string(port) + ")"
                                : e->name;
        std::string problem = node_problem(n, run->st->opt.selected, run->st->rec->name);
        if (problem == "-") // a missing variable of a whole category: left out
            continue;
        if (problem.empty()) {
            std::string value = n->value;
            if (e->enum_id != -1)
                cvt_enum_num_str(n->mib_index, n->value, &value);
            bool wild = run->st->opt.wildcard && e->port_class != 0;
            auto line = format_script_line(
                e->name, kw, wild ? "*" : std::to_string(n->port_type ? port : 0), value);
            if (line) {
                *content += *line + "\n";
                ++lines;
                continue;
            }
            // A value too long for a script line is refused, never cut.
            problem = "Value is too long for a script line. Parameter not written.";
        }
        error_line(run, where + " : " + problem);
        text_set_buf("", run->msg, 1);
        if (n->status == NS_NOT_DONE)
            break;
    }
    return lines > 0;
}

} // namespace

int scr_kind_port_type(int kind) {
    return kind >= 0 && kind < SK_COUNT ? kind_info[kind].port_type : -1;
}
const char* scr_kind_keyword(int kind) {
    return kind >= 0 && kind < SK_COUNT ? kind_info[kind].keyword : "";
}
int scr_kind_of_port_type(int port_type) {
    for (int k = 0; k < SK_COUNT; ++k)
        if (kind_info[k].port_type == port_type)
            return k;
    return -1;
}

ScrPortSet parse_scr_ports(const std::array<std::string, SK_COUNT>& texts) {
    ScrPortSet out{};
    for (int k = 0; k < SK_COUNT; ++k) {
        std::string t;
        remove_blanks(texts[k], &t);
        if (t.empty())
            continue;
        int count = 0;
        out[k].ports = parse_port_list(t, &out[k].all, &count);
    }
    return out;
}

int mark_prm_flags(const std::vector<std::string>& params, int param_sel, ScrKinds* kinds,
                   int* func_index, std::string* why) {
    kinds->fill(false);
    std::vector<int> ids;
    if (param_sel) {
        for (const std::string& label : params) {
            int id = 0;
            if (!get_check_mib_var(label, &id)) {
                *why = MSG_NOT_IN_MIB;
                return -7;
            }
            ids.push_back(id);
        }
    } else {
        *func_index = params.empty() ? -1 : find_func_by_name(params[0]);
        if (*func_index < 0) {
            *why = MSG_NOT_IN_MIB;
            return -6;
        }
        ids = chosen_vars(params, param_sel, *func_index);
    }
    unsigned marked = 0;
    for (int id : ids)
        if (const MibVarEntry* e = mib_var(id))
            marked |= marked_kinds(e);
    for (int k = 0; k < SK_COUNT; ++k)
        (*kinds)[k] = (marked & bit(k)) != 0;
    if (!marked) {
        *why = MSG_NOT_IN_MIB;
        return -6;
    }
    return 0;
}

namespace {

// A step that ends creation: the device is listed as not read, with why.
ScriptCrtOutcome& stop(ScriptCrtOutcome& out, const MorixRecord* rec, DeviceState state,
                       const std::string& why) {
    out.proceed = false;
    if (rec)
        out.outcome.devices.push_back({rec->name, state, rec->name + ": " + why});
    return out;
}

ScriptCrtOutcome refusal(const MorixRecord* rec, std::vector<std::string> warnings) {
    ScriptCrtOutcome out;
    out.outcome.result = Result::refused;
    out.outcome.warnings = std::move(warnings);
    return stop(out, rec, DeviceState::not_sent, "nothing was read; no script was written");
}

// A step passed: its warnings are kept for the steps after it.
ScriptCrtOutcome passed(std::vector<std::string> warnings) {
    ScriptCrtOutcome out;
    out.outcome.result = Result::done;
    out.outcome.warnings = std::move(warnings);
    out.proceed = true;
    return out;
}

// Earlier steps' report and warnings before those of the step after them.
ScriptCrtOutcome after(const ScriptCrtOutcome& earlier, ScriptCrtOutcome later) {
    later.outcome.report = earlier.outcome.report + later.outcome.report;
    std::vector<std::string> w = earlier.outcome.warnings;
    w.insert(w.end(), later.outcome.warnings.begin(), later.outcome.warnings.end());
    later.outcome.warnings = std::move(w);
    return later;
}

} // namespace

ScriptCrtOutcome plan_script_create(const ScriptCrtRequest& req, ScrCrtState* st) {
    *st = ScrCrtState{};
    st->opt = req.opt;
    st->params = req.params;
    st->param_sel = req.param_sel;
    st->parent = req.parent;
    const ScrCrtOptions& opt = req.opt;
    MorixRecord* rec = req.devices.empty() ? nullptr : req.devices.front();
    if (opt.selected) {
        std::string why;
        if (mark_prm_flags(req.params, req.param_sel, &st->kinds, &st->func_index, &why) != 0)
            return refusal(rec, {why});
    }
    if (opt.all)
        st->kinds.fill(true);
    for (int c = 0; c < SC_COUNT; ++c)
        if (opt.category[c])
            st->kinds[category_kind[c]] = true;
    bool any = false;
    for (bool k : st->kinds)
        any = any || k;
    if (!any)
        return refusal(rec, {"You must select at least one parameter."});
    if (!rec)
        return refusal(rec, {});
    st->rec = rec;
    // Kinds the device lacks are dropped, each named (async ports only when
    // asked for).
    struct Drop {
        int kind;
        int port_type;
        int category; // -1: dropped silently
        const char* text;
    };
    const Drop drops[] = {
        {SK_ASY, PT_ASY, SC_ASY, "The Morix you selected has no async ports."},
        {SK_SYN, PT_SYN, -1, ""},
        {SK_PTR, PT_PTR, SC_PTR, "The Morix you selected has no printer port(s)."},
        {SK_EN, PT_EN, SC_EN, "The Morix you selected has no ethernet port(s)."},
        {SK_DS0CHAN, PT_DS0CHAN, SC_CHANNELS,
         "The Morix you selected has no DS1 port(s) or is a  PRI device."},
        {SK_DS1INF, PT_DS1INF, SC_DS1,
         "The Morix you selected has no DS1 port(s) or is a  PRI device."}};
    std::vector<std::string> warnings;
    for (const Drop& d : drops) {
        if (!st->kinds[d.kind] || get_num_ports(rec, d.port_type) > 0)
            continue;
        st->kinds[d.kind] = false;
        // Async is named only when asked for; the other kinds whenever the
        // choice needed them (the all-parameters choice included).
        bool asked =
            d.category >= 0 && (d.kind != SK_ASY || opt.category[d.category] || opt.selected);
        if (asked && std::find(warnings.begin(), warnings.end(), d.text) == warnings.end())
            warnings.push_back(d.text);
    }
    for (int k = SK_ASY; k < SK_COUNT; ++k)
        st->port_dialog = st->port_dialog || st->kinds[k];
    if (!st->port_dialog && !st->kinds[SK_DEVICE]) {
        if (opt.selected)
            warnings.push_back("The selected Morix does not have the selected parameter(s).");
        return refusal(rec, warnings);
    }
    return passed(warnings);
}

ScriptCrtOutcome script_create_ports(ScrCrtState* st,
                                     const std::array<std::string, SK_COUNT>& texts, Asker& asker) {
    std::array<std::string, SK_COUNT> t = texts;
    t[SK_EN] = st->kinds[SK_EN] ? "1" : "";         // fixed fields
    t[SK_DS1INF] = st->kinds[SK_DS1INF] ? "1" : ""; // WAN module 1
    if (!texts[SK_DS1INF].empty() && st->kinds[SK_DS1INF])
        t[SK_DS1INF] = texts[SK_DS1INF];
    if (!texts[SK_EN].empty() && st->kinds[SK_EN])
        t[SK_EN] = texts[SK_EN];
    st->ports = parse_scr_ports(t);
    bool any = false;
    for (int k = SK_ASY; k < SK_COUNT; ++k) {
        if (!st->kinds[k])
            st->ports[k] = ScrPorts{};
        if (st->opt.wildcard && (st->ports[k].all || st->ports[k].ports.size() > 1))
            return refusal(st->rec, {"You can enter only one port per type when\nyou select port "
                                     "wildcarding."});
        any = any || st->ports[k].given();
    }
    if (!any && !st->kinds[SK_DEVICE])
        return refusal(st->rec, {"You must enter one or more port numbers to create this script."});
    bool ask = !any;
    for (int k : {SK_ASY, SK_SYN, SK_PTR, SK_EN})
        ask = ask || (st->opt.all && st->kinds[k] && !st->ports[k].given());
    for (int c = SC_ASY; c < SC_COUNT; ++c) {
        int k = category_kind[c];
        ask = ask || (st->opt.category[c] && st->kinds[k] && !st->ports[k].given());
    }
    Question q;
    q.title = "Question";
    q.text = "You selected a script option that requires port numbers.\nIf you do not enter at "
             "least one port number this operation\nwill not process port related "
             "parameters.\n\nDo you want to continue?";
    if (!ask || asker.ask(q))
        return passed({});
    ScriptCrtOutcome out;
    out.outcome.result = Result::cancelled;
    out.declined = true;
    return stop(out, st->rec, DeviceState::cancelled, "not confirmed; no script was written");
}

ScriptCrtOutcome create_script_file(ScrCrtState* st, const std::string& typed, Asker& asker) {
    ScriptCrtOutcome out;
    Outcome& o = out.outcome;
    std::string blanks = blanks_removed_warning(typed, &out.path);
    if (!blanks.empty())
        o.warnings.push_back(blanks);
    if (out.path.empty())
        return after(out, refusal(st->rec, {MSG_NO_SCRIPT}));
    if (!may_overwrite(asker, 2, out.path)) {
        out.kept = true;
        o.result = Result::cancelled;
        return stop(out, st->rec, DeviceState::not_sent,
                    out.path + " exists and was kept; nothing was read");
    }
    out.proceed = true; // the file selection's work is done, whatever follows
    std::string& msg = o.report;
    text_set_buf("Creating script...", &msg, 1);
    text_set_buf("", &msg, 1);
    CrtRun run{st, &msg, &out.errors};
    MorixRecord* rec = st->rec;
    free_prm_list(rec);
    if (st->opt.selected) {
        for (int id : chosen_vars(st->params, st->param_sel, st->func_index)) {
            const MibVarEntry* e = mib_var(id);
            if (!e)
                continue;
            if (e->internal_code == MIC_NOT_TRANSFERABLE)
                error_line(&run, e->name + " : " + MSG_CANNOT_SCRIPT);
            else
                build_scr_crt_prm(&run, id, true);
        }
    }
    // Every catalogue variable of a chosen category, each once even when two
    // chosen categories hold it.
    for (int id = 0; id < MAX_MIB_VARS; ++id) {
        const MibVarEntry* e = mib_var(id);
        if (!e || e->internal_code != MIC_ORDINARY)
            continue;
        bool taken = st->opt.all && class_kinds(e->port_class) != 0;
        for (int c = 0; c < SC_COUNT && !taken; ++c)
            taken = st->opt.category[c] && in_category(c, e->port_class);
        if (taken)
            build_scr_crt_prm(&run, id, false);
    }
    bool cancelled = false;
    DeviceOutcome dev{rec->name, DeviceState::done, ""};
    auto not_made = [&](DeviceState state, const std::string& why) {
        text_set_buf(why, &msg, 1);
        text_set_buf(MSG_NOT_CREATED, &msg, 1);
        dev.state = state;
        dev.reason = rec->name + ": " + why;
    };
    if (!rec->prm_list) {
        not_made(DeviceState::not_sent, "No valid parameters were specified.");
    } else {
        LongOperation op(st->parent, "Cancel Script Create", "", LO_FOLLOW_SNMP);
        op.progress("Creating script for " + rec->name, "");
        mm_snmp(rec, SNMP_OP_GET);
        int rc = rec->status;
        cancelled = op.close() || rc == SR_CANCELLED;
        std::string content;
        if (cancelled) {
            text_set_buf("Operation cancelled.", &msg, 1);
            dev.state = DeviceState::cancelled;
            dev.reason = rec->name + ": the read was cancelled; no script was written";
        } else if (rc != SR_OK) {
            run.error = true;
            not_made(DeviceState::unread,
                     "Could not get parameter values. This may be due to a timeout.");
        } else if (!write_scr_crt(&run, &content)) {
            not_made(DeviceState::unread, "No valid parameters were specified.");
        } else if (replace_file_safely(out.path, content) != 0) {
            text_set_buf("Could not write the script file " + out.path + ".", &msg, 1);
            out.errors.push_back("Could not write the script file " + out.path + ".");
            text_set_buf(MSG_NOT_CREATED, &msg, 1);
            run.error = true;
        } else {
            out.written = true;
        }
    }
    free_prm_list(rec);
    if (!cancelled) {
        text_set_buf("", &msg, 1);
        if (out.written)
            text_set_buf(run.error ? "Script creation complete with errors."
                                   : "Script creation complete.",
                         &msg, 1);
    }
    if (run.nonexistent && !cancelled)
        o.warnings.push_back(MSG_NONEXISTENT_PORTS);
    o.devices.push_back(dev);
    // Ports asked for that the device lacks leave the script short of them.
    o.result = cancelled                                       ? Result::cancelled
               : out.written && !run.error && !run.nonexistent ? Result::done
                                                               : Result::failed;
    return out;
}

ScriptCrtOutcome run_script_create(const ScriptCrtRequest& req, Asker& asker) {
    ScrCrtState st;
    ScriptCrtOutcome done = plan_script_create(req, &st);
    if (done.proceed && st.port_dialog)
        done = after(done, script_create_ports(&st, req.ports, asker));
    if (done.proceed)
        done = after(done, create_script_file(&st, req.file, asker));
    // Whatever was said on the way (kinds the device lacks, blanks taken
    // from the name) leaves the script short of what was asked.
    if (done.outcome.result == Result::done && !done.outcome.warnings.empty())
        done.outcome.result = Result::failed;
    return done;
}
