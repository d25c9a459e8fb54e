#include "ops/compare.h"

#include <map>
#include <unordered_set>
#include <utility>

#include "catalogue/func_catalogue.h"
#include "catalogue/func_display.h"
#include "catalogue/line_scan.h"
#include "catalogue/mib_catalogue.h"
#include "devices/long_op.h"
#include "devices/text_buf.h"
#include "ops/script_file.h"
#include "ops/show.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/port_resolve.h"
#include "snmp_access/snmp_engine.h"
#include "ui/overwrite.h"
#include "ui/progress.h"
#include "ui/widget_ids.h"

std::vector<CmpDiff> g_cmp_diffs;

namespace {

constexpr const char* MSG_ONE_PORT = "You must specify one port for each Morix.";
constexpr const char* MSG_LIST_UPDATED =
    "The main Morix list may have been updated. You must\nredisplay the current command window "
    "to update Morix Lists.";
constexpr const char* MSG_NO_DIFF = "No differences.";
constexpr size_t CMP_LEFT_OUT_SHOWN = 200; // entries named under "Left out"
constexpr const char* MSG_N_DIFF = "Number of differences: ";

// Codes 2..7: the port classes taken, the writability mode and port type.
struct CmpCode {
    int code;
    std::vector<int> classes;
    int port_type;
};
const CmpCode cmp_codes[] = {{2, {0}, 0},    {3, {1, 4, 5}, 1}, {4, {2, 4}, 2},
                             {5, {3, 5}, 3}, {6, {6}, 4},       {7, {9}, 5}};

std::string kw_of(int pt) {
    std::string k;
    cvt_port_opt_str(pt, &k);
    return k;
}

// The value as the report and a script show it.
std::string shown_value(const ParamNode* n) {
    if (n->status != NS_OK)
        return "Parameter does not exist.";
    const MibVarEntry* e = mib_var(n->mib_index);
    if (e && e->enum_id != -1) {
        std::string name;
        return cvt_enum_num_str(n->mib_index, n->value, &name) ? name : n->value;
    }
    return n->value.empty() ? "\"\"" : n->value;
}

std::string port_label(const ParamNode* n) {
    return "(" + kw_of(n->port_type) + " port " + std::to_string(n->port_num) + ")";
}

void add_diff(const ParamNode* first, const ParamNode* second) {
    CmpDiff d;
    const ParamNode* where = second ? second : first;
    d.mib_index = where->mib_index;
    d.port_type = where->port_type;
    d.port = where->port_num;
    d.first_has = first && first->status == NS_OK;
    if (d.first_has)
        d.value = shown_value(first);
    g_cmp_diffs.push_back(d);
}

// Builds one side's chain; true when a requested port was not usable.
// The port type whose ports a comparison reads.
int compared_port_type(const CmpRequest& req) {
    for (const CmpCode& c : cmp_codes)
        if (c.code == req.code && req.code != 1)
            return c.port_type;
    return req.port_type;
}

// One side's ports as that device reads them; a refusal names it.
DevicePorts side_ports(const MorixRecord& r, const CmpRequest& req, const std::vector<int>& ports,
                       int all, Outcome* o) {
    DevicePorts d = resolve_ports(r, compared_port_type(req), all, ports, PortPurpose::read);
    if (!d.refusal.empty())
        o->warnings.push_back(d.refusal);
    return d;
}

bool build_side(MorixRecord* r, const CmpRequest& req, int func, const std::vector<int>& ports,
                int all) {
    int count = static_cast<int>(ports.size());
    if (req.code == 1)
        return (req.param_sel
                    ? build_prm_list_sng(req.items, all, count, ports, req.port_type, r)
                    : build_mgmt_func_sng(func, all, count, ports, req.port_type, r)) != 0;
    bool bad = false;
    for (const CmpCode& c : cmp_codes) {
        if (c.code != req.code)
            continue;
        for (int id = 0; id < MAX_MIB_VARS; ++id) {
            const MibVarEntry* e = mib_var(id);
            if (!e || e->internal_code == MIC_INTERNAL)
                continue;
            bool in = false;
            for (int k : c.classes)
                in = in || k == e->port_class;
            if (in && check_mib_var_write(id, c.port_type) &&
                build_prm(r, all, count, ports, c.port_type, id, "") != 0)
                bad = true;
        }
    }
    return bad;
}

// Pairs the nodes of two chains by variable and its n-th occurrence, so
// that a port one device lacks never shifts the pairing of the others.
int walk_pairs(MorixRecord* a, MorixRecord* b, const std::string& n1, const std::string& n2,
               int code, LongOperation& op, std::string* buf) {
    std::map<std::pair<int, int>, const ParamNode*> second;
    std::map<int, int> seen;
    for (const ParamNode* n = b->prm_list; n; n = n->next)
        second[{n->mib_index, seen[n->mib_index]++}] = n;
    seen.clear();
    std::vector<std::pair<const ParamNode*, const ParamNode*>> pairs;
    for (const ParamNode* n = a->prm_list; n; n = n->next) {
        auto it = second.find({n->mib_index, seen[n->mib_index]++});
        pairs.emplace_back(n, it == second.end() ? nullptr : it->second);
        if (it != second.end())
            second.erase(it);
    }
    for (const auto& rest : second)
        pairs.emplace_back(nullptr, rest.second);
    int diffs = 0;
    for (size_t i = 0; i < pairs.size(); ++i) {
        if (op.cancelled(static_cast<int>(i * 100 / pairs.size())))
            return -1;
        const ParamNode *x = pairs[i].first, *y = pairs[i].second;
        int sx = x ? x->status : NS_NO_SUCH_NAME, sy = y ? y->status : NS_NO_SUCH_NAME;
        if (sx != NS_OK || sy != NS_OK) {
            if (sx == NS_NO_SUCH_NAME && sy == NS_NO_SUCH_NAME && code != 1)
                continue;
        } else if (shown_value(x) == shown_value(y)) {
            continue;
        }
        ++diffs;
        const ParamNode* any = x ? x : y;
        const MibVarEntry* e = mib_var(any->mib_index);
        text_set_buf("\n*** " + (e ? e->name : std::string()) + " ***", buf, 1);
        for (auto side : {std::make_pair(x, n1), std::make_pair(y, n2)}) {
            const ParamNode* n = side.first;
            std::string v = n ? shown_value(n) : "Parameter does not exist.";
            const ParamNode* lab = n ? n : any;
            text_set_buf(lab->port_type != 0 ? side.second + " " + port_label(lab) + " : " + v
                                             : side.second + " : " + v,
                         buf, 1);
        }
        add_diff(x, y);
    }
    return diffs;
}

void end_count(int diffs, const char* lead, std::string* buf) {
    if (diffs > 0)
        text_set_buf(std::string(lead) + MSG_N_DIFF + std::to_string(diffs), buf, 1);
    else
        text_set_buf(std::string(lead) + MSG_NO_DIFF, buf, 1);
}

} // namespace

CmpOutcome compare_mrx_mrx(const CmpRequest& req) {
    g_cmp_diffs.clear();
    CmpOutcome out;
    Outcome* o = &out.outcome;
    int all1 = 0, all2 = 0, c1 = 0, c2 = 0;
    std::vector<int> p1, p2;
    if (!req.ports1.empty())
        p1 = parse_port_list(req.ports1, &all1, &c1);
    if (!req.ports2.empty())
        p2 = parse_port_list(req.ports2, &all2, &c2);
    auto one_port = [&] { return !all1 && !all2 && p1.size() == 1 && p2.size() == 1; };
    int func = -1;
    if (req.code >= 3 && !one_port()) {
        o->warnings.push_back(MSG_ONE_PORT);
        return out;
    }
    if (req.code == 1) {
        int rq = check_rqr_port(req.items, req.param_sel, req.port_type, &func);
        // The operator learns which port parameters the port type leaves out.
        tell_rqr_port(rq, &o->warnings);
        if (rq == PRQ_NO_FUNC || rq == PRQ_NO_PRM)
            return out;
        if ((rq == PRQ_ALL_MATCH || rq == PRQ_SOME_MATCH) && !one_port()) {
            o->warnings.push_back(MSG_ONE_PORT);
            p1.clear(), p2.clear(), all1 = all2 = 0;
        } else if (rq != PRQ_ALL_MATCH && rq != PRQ_SOME_MATCH) {
            p1.clear(), p2.clear(), all1 = all2 = 0; // no port parameter takes part
        }
    }
    std::string buf;
    text_set_buf("Comparing " + req.mrx1 + " and " + req.mrx2 + "...", &buf, 1);
    text_set_buf("", &buf, 1);
    MorixRecord* a = find_record(req.mrx1);
    MorixRecord* b = find_record(req.mrx2);
    if (!a || !b) {
        text_set_buf("\n" + std::string(MSG_LIST_UPDATED) + "\n", &buf, 1);
        o->report = buf;
        return out;
    }
    MorixRecord copy;
    if (a == b) { // the second side reads into a record of its own
        free_prm_list(a);
        cpy_host_node(&copy, a);
        b = &copy;
    }
    free_prm_list(a);
    free_prm_list(b);
    DevicePorts d1 = side_ports(*a, req, p1, all1, o);
    DevicePorts d2 = side_ports(*b, req, p2, all2, o);
    bool bad = build_side(a, req, func, d1.ports, d1.all);
    bad = build_side(b, req, func, d2.ports, d2.all) || bad;
    LongOperation op(req.parent, "Cancel Compare", "", LO_FOLLOW_SNMP);
    // Two devices are read side by side; one device compared with itself
    // is read twice in turn (one request at a time per device).
    std::vector<MorixRecord*> served;
    if (b == &copy) {
        for (MorixRecord* r : {a, b})
            if (!front_end_progress().cancelled())
                for (MorixRecord* s : op.serve({r}, SNMP_OP_GET, "Getting values for"))
                    served.push_back(s);
    } else {
        served = op.serve({a, b}, SNMP_OP_GET, "Getting values for");
    }
    std::string failed;
    for (MorixRecord* r : served)
        if (r->status != SR_OK && r->status != SR_CANCELLED &&
            failed.find("\n" + r->name + "\n") == std::string::npos)
            failed += "\n" + r->name + "\n";
    int diffs = -1;
    bool stopped = front_end_progress().cancelled();
    if (!stopped && !failed.empty()) {
        for (MorixRecord* r : {a, b})
            if (r->status != SR_OK && (r == a || b != &copy || a->status == SR_OK)) {
                text_set_buf("Could not get values for: " + r->name, &buf, 1);
                o->devices.push_back(
                    {r->name, DeviceState::unreachable, "Could not get values for: " + r->name});
            }
    } else if (!stopped) {
        op.progress("Comparing Morixes", "");
        diffs = walk_pairs(a, b, req.mrx1, req.mrx2, req.code, op, &buf);
        if (diffs >= 0)
            end_count(diffs, "\n", &buf);
    }
    bool cancelled = op.close();
    if (cancelled) {
        text_set_buf("Operation cancelled.", &buf, 1);
        g_cmp_diffs.clear();
        diffs = -1;
    }
    free_prm_list(a);
    free_prm_list(b);
    o->report = buf;
    if (bad && !cancelled)
        o->warnings.push_back(MSG_NONEXISTENT_PORTS);
    out.diffs = diffs;
    return out;
}

CmpOutcome compare_mrx_fil(const CmpRequest& req) {
    g_cmp_diffs.clear();
    CmpOutcome out;
    Outcome* o = &out.outcome;
    std::string buf;
    std::string base = base_name(req.file1);
    text_set_buf("", &buf, 1);
    text_set_buf("Comparing " + req.mrx1 + " and " + base + "...", &buf, 1);
    MorixRecord* r = find_record(req.mrx1);
    if (!r) {
        text_set_buf("\n" + std::string(MSG_LIST_UPDATED) + "\n", &buf, 1);
        o->report = buf;
        return out;
    }
    int all = 0, count = 0;
    std::vector<int> ports;
    if (!req.ports1.empty())
        ports = parse_port_list(req.ports1, &all, &count);
    ScriptFile f;
    if (int rc = read_script(req.file1, &f); rc != SCR_OK) {
        out.diffs = rc;
        return out;
    }
    free_prm_list(r);
    // First pass: each line remembers the node it built (none when its port
    // does not exist), so the second pass pairs every line with its own node.
    std::vector<int> node_of(f.lines.size(), -1);
    std::vector<bool> used(f.lines.size(), false);
    bool bad = false, warned_type = false, warned_wild = false;
    for (size_t i = 0; i < f.lines.size(); ++i) {
        const ScriptLine& l = f.lines[i];
        const MibVarEntry* e = mib_var(l.mib_index);
        if (l.fields < 4 || l.port == -2) {
            report_invalid_line(req.file1, l.raw);
            continue;
        }
        if (!e) {
            text_set_buf("Parameter " + l.name + " does not exist. It will not be used.", &buf, 1);
            continue;
        }
        int pt = e->port_class == 0 ? 0 : l.port_type;
        std::vector<int> one = {l.port};
        if (e->port_class != 0 && l.port == SCR_WILDCARD) {
            if (l.port_type != req.port_type) {
                if (!warned_type)
                    o->warnings.push_back("The port type you selected does not match one or more "
                                          "port parameters\nspecified in the main window. For "
                                          "example, if you selected a parameter group\nthat "
                                          "includes asynchronous port parameters, you should not "
                                          "use the Enet Port(s)\ntype here.\n\nThe current "
                                          "operation will process matching port parameters as "
                                          "well as\nnon-port parameters. It will not use those "
                                          "port parameters that do not match.");
                warned_type = true;
                continue;
            }
            if (all || ports.size() != 1) {
                if (!warned_wild)
                    o->warnings.push_back("The script contains at least one wildcarded port entry "
                                          "and no port number was specified.\nThe current "
                                          "operation will not process parameters with wildcarded "
                                          "port entries.");
                warned_wild = true;
                continue;
            }
            pt = req.port_type;
            one = ports;
        }
        if (pt < 0 || (pt != 0 && !check_port_type(l.mib_index, pt)))
            continue;
        if (pt != 0) // the line's port as this device reads it
            one = resolve_ports(*r, pt, 0, one, PortPurpose::read).ports;
        int before = r->prm_count;
        if (one.empty() || build_prm(r, 0, 1, one, pt, l.mib_index, "") != 0)
            bad = true;
        used[i] = true;
        if (r->prm_count > before)
            node_of[i] = before;
    }
    LongOperation op(req.parent, "Cancel Compare", "", LO_FOLLOW_SNMP);
    op.progress("Getting values for", r->name);
    mm_snmp(r, SNMP_OP_GET);
    bool cancelled = op.close() || r->status == SR_CANCELLED;
    int diffs = -1;
    if (cancelled) {
        text_set_buf("Operation cancelled.", &buf, 1);
    } else if (r->status != SR_OK) {
        text_set_buf("Could not get values from " + r->name + ". Compare aborted .", &buf, 1);
        o->devices.push_back({r->name, DeviceState::unreachable,
                              "Could not get values from " + r->name + "; nothing was compared"});
    } else {
        std::vector<const ParamNode*> nodes;
        for (const ParamNode* n = r->prm_list; n; n = n->next)
            nodes.push_back(n);
        diffs = 0;
        for (size_t i = 0; i < f.lines.size(); ++i) {
            if (!used[i])
                continue;
            const ScriptLine& l = f.lines[i];
            const ParamNode* n = node_of[i] >= 0 && node_of[i] < static_cast<int>(nodes.size())
                                     ? nodes[node_of[i]]
                                     : nullptr;
            std::string script_v = l.value.empty() ? "\"\"" : l.value;
            std::string dev_v = n ? shown_value(n) : "Parameter does not exist.";
            if (n && n->status == NS_OK && dev_v == script_v)
                continue;
            ++diffs;
            const MibVarEntry* e = mib_var(l.mib_index);
            std::string head = "\n*** " + e->name;
            if (e->port_class != 0)
                head +=
                    " (" + l.port_kw + " port " + std::to_string(n ? n->port_num : l.port) + ")";
            text_set_buf(head + " ***", &buf, 1);
            text_set_buf(r->name + " : " + dev_v, &buf, 1);
            text_set_buf(base + " : " + script_v, &buf, 1);
            if (n) {
                add_diff(n, n);
            } else {
                CmpDiff d;
                d.mib_index = l.mib_index;
                g_cmp_diffs.push_back(d);
            }
        }
        end_count(diffs, "\n", &buf);
    }
    free_prm_list(r);
    o->report = buf;
    if (bad && !cancelled)
        o->warnings.push_back(MSG_NONEXISTENT_PORTS);
    out.diffs = diffs;
    return out;
}

namespace {

std::string entry_port(const SortEntry& e) {
    return "(" + kw_of(e.port_type) + " port " + script_port_text(e.port) + ")";
}

void report_missing(const SortEntry& e, const std::string& in, const std::string& not_in,
                    std::string* buf) {
    const MibVarEntry* m = mib_var(e.mib_index);
    std::string where = m && m->port_class != 0 ? " " + entry_port(e) : "";
    text_set_buf("", buf, 1);
    text_set_buf("Entry " + e.name + where + " in " + in + ", not in " + not_in, buf, 1);
}

// -1, 0 or 1 in the sort order of sort_script.
int entry_cmp(const SortEntry& a, const SortEntry& b) {
    if (a.name != b.name)
        return a.name < b.name ? -1 : 1;
    if (a.port_type != b.port_type)
        return a.port_type < b.port_type ? -1 : 1;
    if (a.port != b.port)
        return a.port < b.port ? -1 : 1;
    return 0;
}

void add_entry_diff(const SortEntry* first, const SortEntry& where) {
    CmpDiff d;
    d.mib_index = where.mib_index;
    d.port_type = where.port_type;
    d.port = where.port;
    d.first_has = first != nullptr;
    if (first)
        d.value = first->value;
    g_cmp_diffs.push_back(d);
}

} // namespace

static CmpOutcome not_a_script(const std::string& path, CmpOutcome out) {
    out.outcome.warnings.push_back(path + " is not a Morix Manager script.");
    out.diffs = -1;
    return out;
}

CmpOutcome compare_fil_fil(const std::string& path1, const std::string& path2, int parent) {
    g_cmp_diffs.clear();
    CmpOutcome out;
    std::string buf, b1 = base_name(path1), b2 = base_name(path2);
    text_set_buf("", &buf, 1);
    text_set_buf("Comparing " + b1 + " and " + b2 + "...", &buf, 1);
    for (const std::string* p : {&path1, &path2}) {
        ScriptFile f;
        if (int rc = read_script(*p, &f); rc != SCR_OK) {
            out.diffs = rc;
            return rc == SCR_BAD_HEADER ? not_a_script(*p, out) : out;
        }
    }
    std::string unknown;
    auto s1 = sort_script(path1, &unknown);
    auto s2 = sort_script(path2, &unknown);
    if (!s1 || !s2) {
        out.diffs = -4;
        return out;
    }
    text_set_buf(unknown, &buf, 0);
    LongOperation op(parent, "Cancel Compare", "Comparing scripts", 0);
    size_t i = 0, j = 0, total = s1->size() + s2->size();
    int diffs = 0, cancelled = 0;
    while (i < s1->size() || j < s2->size()) {
        if ((i + j) % 512 == 0 && op.cancelled(static_cast<int>((i + j) * 100 / (total + 1)))) {
            cancelled = 1;
            break;
        }
        int c = i >= s1->size() ? 1 : j >= s2->size() ? -1 : entry_cmp((*s1)[i], (*s2)[j]);
        if (c < 0) {
            report_missing((*s1)[i], b1, b2, &buf);
            add_entry_diff(&(*s1)[i], (*s1)[i]);
            ++i, ++diffs;
        } else if (c > 0) {
            report_missing((*s2)[j], b2, b1, &buf);
            add_entry_diff(nullptr, (*s2)[j]);
            ++j, ++diffs;
        } else {
            const SortEntry &x = (*s1)[i], &y = (*s2)[j];
            if (x.value != y.value) {
                const MibVarEntry* m = mib_var(x.mib_index);
                std::string where = m && m->port_class != 0 ? " " + entry_port(x) : "";
                text_set_buf("\n*** " + x.name + where + " ***", &buf, 1);
                text_set_buf(b1 + ": " + x.value, &buf, 1);
                text_set_buf(b2 + ": " + y.value, &buf, 1);
                add_entry_diff(&x, y);
                ++diffs;
            }
            ++i, ++j;
        }
    }
    cancelled = op.close() || cancelled;
    if (cancelled) {
        text_set_buf("Operation cancelled.", &buf, 1);
        g_cmp_diffs.clear();
    } else {
        end_count(diffs, "\n\n", &buf);
    }
    out.outcome.report = buf;
    out.diffs = cancelled ? -1 : diffs;
    return out;
}

CmpOutcome process_compare(const CmpRequest& req) {
    CmpOutcome out;
    auto refuse = [&](const std::string& text) {
        out.outcome.warnings.push_back(text);
        out.outcome.result = Result::refused;
        return out;
    };
    switch (req.kind) {
    case CMP_MRX_MRX:
        if (req.mrx1.empty() || req.mrx2.empty())
            return refuse("You must select a Morix.");
        if (req.code == 1 && req.items.empty())
            return refuse(req.param_sel ? "You must select at least one parameter."
                                        : "You must select a parameter group.");
        out = compare_mrx_mrx(req);
        break;
    case CMP_MRX_FIL:
        if (req.mrx1.empty())
            return refuse("You must select a Morix.");
        if (req.file1.empty())
            return refuse(MSG_NO_SCRIPT);
        out = compare_mrx_fil(req);
        break;
    case CMP_FIL_FIL:
        if (req.file1.empty() || req.file2.empty())
            return refuse(MSG_NO_SCRIPT);
        if (req.file1 == req.file2)
            return refuse("Cannot compare same script file.");
        out = compare_fil_fil(req.file1, req.file2, req.parent);
        break;
    default:
        return refuse("Invalid compare indicator. Software error.");
    }
    if (out.diffs == SCR_NO_FILE) {
        out.outcome.warnings.push_back(MSG_CANNOT_OPEN);
        out.diffs = -1;
    } else if (out.diffs == SCR_BAD_HEADER) {
        out = not_a_script(req.file1, out);
    }
    out.outcome.result = out.diffs < 0 ? Result::failed : Result::done;
    return out;
}

CmpSaveOutcome save_cmp_diff_script(const std::string& typed, Asker& asker) {
    CmpSaveOutcome out;
    Outcome& o = out.outcome;
    auto refuse = [&](const std::string& why) {
        o.warnings.push_back(why);
        o.result = Result::refused;
        return out;
    };
    if (g_cmp_diffs.empty())
        return refuse("There are no differences to save.");
    // The name is taken as every other path name is, and an existing file is
    // replaced only when the operator says so.
    std::string path;
    std::string blanks = blanks_removed_warning(typed, &path);
    if (!blanks.empty())
        o.warnings.push_back(blanks);
    if (path.empty())
        return refuse(MSG_NO_SCRIPT);
    if (!may_overwrite(asker, 2, path)) {
        out.kept = true;
        o.result = Result::cancelled;
        return out;
    }
    std::string content = script_header(), msg, left;
    int lines = 0;
    // Each entry left out is named once, and the list is bounded.
    std::unordered_set<std::string> left_names;
    long left_more = 0;
    for (const CmpDiff& d : g_cmp_diffs) {
        const MibVarEntry* e = mib_var(d.mib_index);
        if (!e)
            continue;
        std::string kw = kw_of(d.port_type);
        std::string where =
            e->name +
            (e->port_class != 0 ? " (" + kw + " port " + script_port_text(d.port) + ")" : "");
        // Internal and not transferable variables, read-only ones and
        // entries the first side does not hold cannot be scripted.
        bool ok = d.first_has && e->internal_code == MIC_ORDINARY &&
                  check_mib_var_write(d.mib_index, d.port_type);
        auto line = ok ? format_script_line(e->name, kw,
                                            script_port_text(e->port_class ? d.port : 0), d.value)
                       : std::nullopt;
        if (!line) {
            if (!left_names.insert(where).second)
                continue; // named already
            if (left_names.size() <= CMP_LEFT_OUT_SHOWN)
                left += "\t" + where + "\n";
            else
                ++left_more;
            continue;
        }
        content += *line + "\n";
        ++lines;
    }
    if (replace_file_safely(path, content) != 0) {
        o.warnings.push_back("Could not write the script file " + path + ".");
        o.result = Result::failed;
        return out;
    }
    text_set_buf("Differences script " + base_name(path) + " written: " + std::to_string(lines) +
                     " line(s).",
                 &msg, 1);
    if (left_more > 0)
        left += "\t... and " + std::to_string(left_more) + " more entries\n";
    if (!left.empty())
        text_set_buf("Left out (cannot be scripted):\n" + left, &msg, 0);
    o.report = msg;
    return out;
}
