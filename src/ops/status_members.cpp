// Status members on the device itself: device status, async and sync port
// status, interface status, modem calls.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "catalogue/mib_catalogue.h"
#include "ops/show.h"
#include "ops/status.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/port_resolve.h"
#include "snmp_access/snmp_engine.h"
#include "ui/progress.h"

namespace {

// ---- device status -----------------------------------------------------------

std::string joined(const StatusCtx& c, const std::vector<const char*>& vars) {
    std::string out;
    for (size_t i = 0; i < vars.size(); ++i)
        out += (i ? "/" : "") + status_val(c, vars[i], 0);
    return out;
}

// ---- async and sync ports ------------------------------------------------------

struct PortLayout {
    int port_type;
    int first_port_var; // index in the variable table of the first port variable
    const char* head_fmt;
    const char* line_fmt;
    std::vector<std::vector<const char*>> heads;
    std::vector<const char*> total_labels;
    int error_cols; // the columns after these show "n/a" when unreadable
};

const PortLayout asy_layout = {
    PT_ASY,
    5,
    "%-8.8s %-12.12s %-12.12s %-12.12s %-12.12s %-12.12s %-12.12s %-12.12s %-14.14s %-12.12s\n",
    "%-8s %-12.12s %-12.12s %-12.12s %-12.12s %-12.12s %-12.12s %-12.12s %-14.14s %-12.12s\n",
    {{"Port", "In Flow", "Out Flow", "In", "Out", "Session", "Oper", "Current", "Login", "Port"},
     {"Number", "State", "State", "Chars", "Chars", "Number", "Status", "User", "Time", "Proto"},
     {"------", "-----", "-----", "-----", "-----", "------", "------", "----", "----", "-----"}},
    {"Input Chars", "Output Chars", "Parity Errors", "Overrun Errors", "Framing Errors"},
    6};

const PortLayout syn_layout = {
    PT_SYN,
    5,
    "%-8.8s %-12.12s %-12.12s %-12.12s\n",
    "%-8s %-12.12s %-12.12s %-12.12s\n",
    {{"Port", "Frame", "Underrun", "Overrun"},
     {"Number", "Errors", "Errors", "Errors"},
     {"------", "------", "--------", "-------"}},
    {"Input Chars", "Output Chars", "Underrun Errors", "Overrun Errors", "Framing Errors"},
    3};

const PortLayout& port_layout(const StatusCtx& c) {
    return c.m == &status_member(SM_SYN) ? syn_layout : asy_layout;
}

void port_table(StatusCtx& c, const PortLayout& l) {
    const std::vector<const char*>& vars = *c.m->vars;
    int count = get_num_ports(c.rec, l.port_type);
    for (const auto& h : l.heads)
        c.tables += status_row(l.head_fmt, std::vector<std::string>(h.begin(), h.end()));
    std::vector<int> lines;
    if (c.all)
        for (int p = 1; p <= count; ++p)
            lines.push_back(p);
    else
        for (int p : c.ports)
            if (p >= 1 && p <= count)
                lines.push_back(p);
    for (int p : lines) {
        std::vector<std::string> cols = {std::to_string(p)};
        for (size_t v = l.first_port_var; v < vars.size(); ++v) {
            int id = 0, inst = 0;
            std::string inst_text;
            bool have = get_check_mib_var(vars[v], &id) &&
                        cvt_port_inst(c.rec, id, l.port_type, p, &inst, &inst_text);
            int col = static_cast<int>(v) - l.first_port_var;
            std::string fallback = col < l.error_cols ? "ERROR" : "n/a";
            cols.push_back(have ? status_val(c, vars[v], inst, inst_text, fallback) : fallback);
        }
        c.tables += status_row(l.line_fmt, cols);
    }
}

// ---- interfaces ------------------------------------------------------------------

constexpr int MAX_ITF = 1024; // interfaces one device may report

// The interface tables after their name column, which is as wide as the
// longest name needs (at least 8 and 12 characters): names are never cut.
const char* const itf_fmt1 = "%-20.20s %-8.8s %-12.12s %-10.10s %-12.12s\n";
const char* const itf_fmt2 = "%-12.12s %-12.12s %-12.12s %-12.12s %-12.12s %-12.12s %-12.12s\n";

std::string padded(const std::string& s, size_t width) {
    return s.size() >= width ? s + " " : s + std::string(width - s.size() + 1, ' ');
}

// ---- modem calls -------------------------------------------------------------------

const char* const imdm_head_fmt = "  %-15s %-13s %-16s %-12s %-20s %-18s %s\n";
const char* const imdm_line_fmt = "  %-15d %-13lu %-16lu %-12lu %-20lu %-18lu %lu\n";

} // namespace

int sts_build_mrx(StatusCtx& c) {
    for (const char* v : *c.m->vars)
        status_add(c, v, 0);
    return 0;
}

void sts_layout_mrx(StatusCtx& c) {
    std::string ticks = status_raw(c, "sysUpTime", 0);
    c.fields.emplace_back("System Up Time", ticks.empty() || !check_str_digits(ticks)
                                                ? "ERROR"
                                                : cvt_timeticks(status_counter(ticks)));
    display_prm_val(c, "CPU % Utilization", "cpuUtilization", 0);
    c.fields.emplace_back("Procs (act/most/max)",
                          joined(c, {"activeProcs", "mostProcs", "maxProcs"}));
    c.fields.emplace_back("Rescheds (min/tot)", joined(c, {"cpuIRescheds", "cpuTRescheds"}));
    c.fields.emplace_back("Switches (min/tot)", joined(c, {"contextISwtchs", "contextTSwtchs"}));
    c.fields.emplace_back("Activates (min/tot)", joined(c, {"cpuIActivates", "cpuTActivates"}));
    const char* const labels[] = {"Mbufs Total",  "Mbufs Free",  "Mbufs Min Free",  "Mbufs Denied",
                                  "Memory Total", "Memory Free", "Memory Min Free", "Memory Avail"};
    for (int i = 0; i < 8; ++i)
        display_prm_val(c, labels[i], (*c.m->vars)[11 + i], 0);
}

int sts_build_ports(StatusCtx& c) {
    const PortLayout& l = port_layout(c);
    int count = 0;
    std::vector<int> typed = parse_port_list(c.in.list, &c.all, &count);
    bool none = typed.empty() && !c.all;
    // The device's own ports of the list; the others are refused, naming it.
    DevicePorts d = resolve_ports(*c.rec, l.port_type, c.all, typed, PortPurpose::status);
    c.all = d.all;
    c.ports = d.ports;
    count = static_cast<int>(c.ports.size());
    bool missing = false;
    const std::vector<const char*>& vars = *c.m->vars;
    for (size_t v = 0; v < vars.size(); ++v) {
        int id = 0;
        if (!get_check_mib_var(vars[v], &id))
            continue;
        if (static_cast<int>(v) < l.first_port_var) {
            status_add(c, vars[v], 0);
            continue;
        }
        if (none)
            continue;
        if (build_prm(c.rec, c.all, count, c.ports, l.port_type, id, "") != 0)
            missing = true;
    }
    // A window that just opened has had no chance to be given ports.
    if (none && !c.in.opening)
        c.warnings.push_back(MSG_STS_NO_PORTS);
    if (!none && !d.refusal.empty())
        c.warnings.push_back(d.refusal);
    else if (missing)
        c.warnings.push_back(MSG_NONEXISTENT_PORTS);
    return 0;
}

void sts_layout_ports(StatusCtx& c) {
    const PortLayout& l = port_layout(c);
    c.fields.emplace_back("Num Ports", std::to_string(get_num_ports(c.rec, l.port_type)));
    for (int i = 0; i < 5; ++i)
        display_prm_val(c, l.total_labels[i], (*c.m->vars)[i], 0);
    if (!c.ports.empty() || c.all)
        port_table(c, l);
}

int sts_build_itf(StatusCtx& c) {
    // ifNumber first: it sizes the request, so it is checked before use.
    status_add(c, "ifNumber", 0);
    mm_snmp(c.rec, SNMP_OP_GET);
    std::string n = c.rec->status == 0 ? status_raw(c, "ifNumber", 0) : "";
    int status = c.rec->status;
    free_prm_list(c.rec);
    c.rec->status = status;
    if (status != 0 || front_end_progress().cancelled())
        return status != 0 ? (c.warnings.push_back(MSG_STS_FAILED + c.rec->name), -1) : 0;
    // A count the device cannot mean is said, not shown as an empty table.
    bool number = !n.empty() && check_str_digits(n);
    long count = !number ? 0 : n.size() > 6 ? MAX_ITF + 1L : std::atol(n.c_str());
    if (!number)
        c.warnings.push_back("The interface count (ifNumber) of " + c.rec->name + " is not a " +
                             "number: no interfaces are shown.");
    else if (count > MAX_ITF)
        c.warnings.push_back("The interface count (ifNumber) of " + c.rec->name + " is " + n +
                             ": only the first " + std::to_string(MAX_ITF) +
                             " interfaces are shown.");
    count = std::min<long>(count, MAX_ITF);
    // The indexes need not run 1..ifNumber (WAN interfaces sit higher):
    // they are walked, at most ifNumber of them.
    std::vector<int> found(static_cast<size_t>(count));
    int got = 0;
    if (count > 0)
        get_port_mib_var_nxt(c.rec, "ifIndex", found.data(), static_cast<int>(count), &got);
    for (int k = 0; k < got; ++k) {
        int i = found[static_cast<size_t>(k)];
        c.extra.push_back(i);
        for (const char* v : *c.m->vars)
            status_add(c, v, i);
    }
    return 0;
}

void sts_layout_itf(StatusCtx& c) {
    std::vector<std::pair<int, std::string>> names;
    size_t w1 = 8, w2 = 12;
    for (int i : c.extra) {
        std::string name = status_val(c, "ifDescr", i);
        if (name == "lo0")
            continue;
        if (name == "en0")
            name = "en1";
        w1 = std::max(w1, name.size());
        w2 = std::max(w2, name.size() + 6);
        names.emplace_back(i, name);
    }
    auto row1 = [&](const std::string& first, const std::vector<std::string>& rest) {
        return padded(first, w1) + status_row(itf_fmt1, rest);
    };
    auto row2 = [&](const std::string& first, const std::vector<std::string>& rest) {
        return padded(first, w2) + status_row(itf_fmt2, rest);
    };
    std::string t1, t2;
    t1 += row1("Intf", {"", "", "", "Oper", "Last"});
    t1 += row1("Name", {"Type", "MTU", "Speed", "Status", "Change"});
    t1 += row1("----", {"----", "---", "-----", "------", "------"});
    t2 += row2("", {"", "Ucast", "NUcast", "", "", "Unknown", "Queue"});
    t2 +=
        row2("Intf Name", {"Octets", "Pkts", "Pkts", "Discards", "Errors", "Protocols", "Length"});
    t2 +=
        row2("---------", {"------", "----", "----", "--------", "------", "---------", "------"});
    for (const auto& [i, name] : names) {
        auto v = [&, i = i](const char* var) { return status_val(c, var, i); };
        t1 += row1(name,
                   {v("ifType"), v("ifMtu"), v("ifSpeed"), v("ifOperStatus"), v("ifLastChange")});
        t2 +=
            row2(name + " (in)", {v("ifInOctets"), v("ifInUcastPkts"), v("ifInNUcastPkts"),
                                  v("ifInDiscards"), v("ifInErrors"), v("ifInUnknownProtos"), ""});
        t2 += row2(name + " (out)", {v("ifOutOctets"), v("ifOutUcastPkts"), v("ifOutNUcastPkts"),
                                     v("ifOutDiscards"), v("ifOutErrors"), "", v("ifOutQLen")});
    }
    c.tables = t1 + "\n" + t2;
}

int sts_build_imdm(StatusCtx& c) {
    std::vector<int> modems;
    for (int p = 1; p <= c.rec->modem_count; ++p)
        modems.push_back(p);
    for (const char* v : *c.m->vars) {
        int id = 0;
        if (get_check_mib_var(v, &id) && !modems.empty())
            build_prm(c.rec, 0, static_cast<int>(modems.size()), modems, PT_IMDM, id, "");
    }
    return 0;
}

void sts_layout_imdm(StatusCtx& c) {
    c.tables = status_row(imdm_head_fmt, {"Modem", "Total Calls", "Total Failures", "Ring",
                                          "Off Hook", "DCD", "Consec. Failures"});
    bool unreadable = false;
    for (int p = 1; p <= c.rec->modem_count; ++p) {
        unsigned long v[6] = {};
        for (int k = 0; k < 6; ++k) {
            const char* var = (*c.m->vars)[k];
            int id = 0, inst = 0;
            std::string inst_text, raw;
            if (get_check_mib_var(var, &id) &&
                cvt_port_inst(c.rec, id, PT_IMDM, p, &inst, &inst_text))
                raw = status_raw(c, var, inst, inst_text);
            if (raw.empty())
                unreadable = true;
            v[k] = status_counter(raw);
        }
        char buf[256];
        std::snprintf(buf, sizeof buf, imdm_line_fmt, p, v[0], v[1], v[2], v[3], v[4], v[5]);
        c.tables += buf;
    }
    if (unreadable)
        c.warnings.push_back("Could not get parameter values. This may be due to a timeout.");
}
