// Status members of the WAN modules: PRI channels, T1 internal CSU and PRI
// internal CSU.
#include <algorithm>
#include <cstdlib>

#include "catalogue/mib_catalogue.h"
#include "ops/status.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/port_resolve.h"
#include "ui/progress.h"

namespace {

// ---- PRI channels -----------------------------------------------------------

const std::vector<const char*> mrx_psts_wan_vars = {"actcallDeviceType", "mrxt1ChanNumber",
                                                    "actcallCalledNumber", "actcallCallingNumber",
                                                    "actcallUsername"};
constexpr int MAX_CHAN_ENTRIES = 32, MAX_CHANS = 31;
const char* const pri_head_fmt = "  %-24s %-24s %-24s %-24s %s\n";
const char* const pri_line_fmt = "  %-24s %-24s %-24s %-24s %s\n";
// Port type words by number; padded so that the port numbers line up.
const char* const port_words[] = {"<Undefined>", "asy ", "sync", "ta  ", "mp  ", "<Undefined>"};

const std::vector<const char*>& pri_vars(const StatusCtx& c) {
    return c.rec->platform == 5 ? mrx_psts_wan_vars : *c.m->vars;
}

std::string pri_inst(const StatusCtx& c, const char* var, int ch, int* inst) {
    int id = 0;
    std::string text;
    *inst = 0;
    if (get_check_mib_var(var, &id))
        cvt_port_inst(c.rec, id, PT_DS0CHAN, ch, inst, &text);
    return text;
}

struct ChanLine {
    int chan;
    int port_type;
    std::string cols[4]; // port, called, calling, user
};

// ---- internal CSU -------------------------------------------------------------

struct CsuCounter {
    const char* cur;
    const char* intv;
    const char* tot;
};
#define CSU_T1(x)                                                                                  \
    { "mrxt1Current" x, "mrxt1Interval" x, "mrxt1Total" x }
#define CSU_DS1(x)                                                                                 \
    { "dsx1Current" x, "dsx1Interval" x, "dsx1Total" x }
const CsuCounter t1_counters[] = {CSU_T1("Oof"),   CSU_T1("Bpv"),  CSU_T1("Crc"),   CSU_T1("Cs"),
                                  CSU_T1("Rnac"),  CSU_DS1("ESs"), CSU_DS1("SESs"), CSU_DS1("UASs"),
                                  CSU_DS1("CSSs"), CSU_DS1("BESs")};
const CsuCounter pri_counters[] = {
    CSU_T1("Oof"),   CSU_T1("Bpv"),   CSU_T1("Crc"),   CSU_T1("Cs"),    CSU_DS1("PCVs"),
    CSU_DS1("LCVs"), CSU_T1("Rnac"),  CSU_DS1("ESs"),  CSU_DS1("SESs"), CSU_DS1("UASs"),
    CSU_DS1("CSSs"), CSU_DS1("BESs"), CSU_DS1("LESs"), CSU_DS1("DMs"),  CSU_DS1("SEFSs")};

// One table: its format, heading lines, and the counters of its columns.
struct CsuTable {
    const char* fmt;
    std::vector<std::vector<const char*>> heads;
    int first, count; // counters of the columns after the interval label
};
const CsuTable t1_tables[] = {
    {"%-10.10s %-14.14s %-12.12s %-7.7s %-12.12s %-11.11s %-9.9s %-12.12s %-12.12s %-14.14s "
     "%-12.12s\n",
     {{"Interval", "Out of Frame", "BiPolar", "CRC", "Controlled", "Rec. Net.", "Error",
       "Sev. Err.", "Unavailable", "Cntrl. Slip", "Bursty Err."},
      {"Number", "Errors", "Violations", "Errors", "Slips", "Alarms", "Seconds", "Seconds",
       "Seconds", "Seconds", "Seconds"},
      {"--------", "------------", "----------", "------", "----------", "---------", "-------",
       "---------", "-----------", "-----------", "-----------"}},
     0,
     10}};
const CsuTable pri_tables[] = {
    {"%-12.12s %-16.16s %-14.14s %-10.10s %-14.14s %-13.13s %-14.14s\n",
     {{"Interval", "Out of Frame", "BiPolar", "CRC", "Controlled", "Path Code", "Line Code"},
      {"Number", "Errors", "Violations", "Errors", "Slips", "Violations", "Violations"},
      {"--------", "------------", "----------", "------", "----------", "----------",
       "----------"}},
     0,
     6},
    {"%-10s %-12.12s %-9.9s %-10.10s %-13.13s %-13.13s %-13.13s %-14.14s %-11.11s %-10.10s\n",
     {{"Interval", "Rec. Net.", "Error", "Sev. Err.", "Unavailable", "Cntrl. Slip", "Bursty Err.",
       "Line Err.", "Degraded", "Framing"},
      {"Number", "Alarms", "Seconds", "Seconds", "Seconds", "Seconds", "Seconds", "Seconds",
       "Minutes", "Seconds"},
      {"--------", "---------", "-------", "---------", "-----------", "-----------", "-----------",
       "---------", "--------", "-------"}},
     6,
     9}};

bool is_t1(const StatusCtx& c) {
    return c.m == &status_member(SM_T1);
}

const CsuCounter* counters(const StatusCtx& c, int* n) {
    *n = is_t1(c) ? 10 : 15;
    return is_t1(c) ? t1_counters : pri_counters;
}

// The interface of the chosen WAN module (sts_build_csu keeps it in extra).
int ds1_if(const StatusCtx& c) {
    if (!c.extra.empty())
        return c.extra[0];
    return c.rec->wan_if_index.empty() ? 0 : c.rec->wan_if_index[0];
}

std::string tf(bool b) {
    return b ? "True" : "False";
}
std::string on_off(bool b) {
    return b ? "On" : "Off";
}

// Byte n of a value the engine printed in hexadecimal (pairs of digits,
// blanks and line ends between groups ignored), or -1 when the text holds
// fewer bytes or other characters.
int led_byte(const std::string& text, size_t n) {
    std::string digits;
    for (char ch : text) {
        if (isxdigit(static_cast<unsigned char>(ch)))
            digits += ch;
        else if (ch != ' ' && ch != '\n')
            return -1;
    }
    if (digits.size() % 2 != 0 || digits.size() < 2 * (n + 1))
        return -1;
    return static_cast<int>(std::strtol(digits.substr(2 * n, 2).c_str(), nullptr, 16));
}

void line_status_fields(StatusCtx& c) {
    std::string ls = status_raw(c, "dsx1LineStatus", ds1_if(c));
    bool ok = !ls.empty() && check_str_digits(ls) && ls.size() < 10;
    long v = ok ? std::atol(ls.c_str()) : 0;
    const std::pair<const char*, long> bits[] = {
        {"Blue History", 0x08}, {"Red History", 0x20}, {"Yellow History", 0x02}};
    for (const auto& b : bits)
        c.fields.emplace_back(b.first, ok ? tf(v & b.second) : "ERROR");
}

void csu_info(StatusCtx& c) {
    int inf = ds1_if(c);
    if (is_t1(c)) {
        int led = led_byte(status_val(c, "mrxModuleLeds", inf, "", ""), 17);
        line_status_fields(c);
        const std::pair<const char*, int> lamps[] = {
            {"Blue", 0x08}, {"Red", 0x10}, {"Yellow", 0x20}};
        for (const auto& l : lamps)
            c.fields.emplace_back(l.first, led < 0 ? "ERROR" : on_off(led & l.second));
        std::string bypass = status_raw(c, "mrxt1EngineBypass", inf);
        c.fields.emplace_back("Engine Bypass", bypass.empty() ? "ERROR" : tf(bypass == "1"));
        c.fields.emplace_back("Sync", led < 0 ? "ERROR" : tf(led & 0x01));
        c.fields.emplace_back("DII Sync", led < 0 ? "ERROR" : tf(led & 0x02));
        c.fields.emplace_back("Signal Loss", led < 0 ? "ERROR" : tf(led & 0x40));
        display_prm_val(c, "Loopback Mode", "dsx1LoopbackConfig", inf);
        std::string up = status_raw(c, "mrxt1UpTime", inf);
        c.fields.emplace_back("Uptime", up.empty() || !check_str_digits(up)
                                            ? "ERROR"
                                            : cvt_timeticks(status_counter(up)));
        display_prm_val(c, "Unit ID", "mrxt1UnitId", inf);
        display_prm_val(c, "Serial Number", "mrxt1UnitSerialNumber", inf);
        display_prm_val(c, "Circuit ID", "dsx1CircuitIdentifier", inf);
        return;
    }
    int led = led_byte(status_val(c, "mrxModelQLEDs", inf, "", ""), 2);
    line_status_fields(c);
    const std::pair<const char*, int> lamps[] = {{"Blue", 0x01}, {"Red", 0x02}, {"Yellow", 0x04}};
    for (const auto& l : lamps)
        c.fields.emplace_back(l.first, led < 0 ? "ERROR" : on_off(led & l.second));
    c.fields.emplace_back("Sync", led < 0 ? "ERROR" : tf(led & 0x08));
    display_prm_val(c, "Loopback Mode", "dsx1LoopbackConfig", inf);
    display_prm_val(c, "Unit ID", "mrxt1UnitId", inf);
    display_prm_val(c, "Circuit ID", "dsx1CircuitIdentifier", inf);
}

// The counter of period row r (interval number, or 0 for current/total).
std::string csu_value(const StatusCtx& c, const CsuCounter& k, int interval) {
    int inf = ds1_if(c);
    if (c.in.period == 0)
        return status_val(c, k.intv, -1, std::to_string(inf) + "." + std::to_string(interval));
    return status_val(c, c.in.period == 1 ? k.cur : k.tot, inf);
}

} // namespace

int sts_build_pri(StatusCtx& c) {
    int max_chan = c.rec->wan_chan_count.empty() ? 0 : c.rec->wan_chan_count[0];
    int all = 0, count = 0;
    std::vector<int> list = parse_port_list(c.in.list, &all, &count);
    std::vector<int> kept;
    bool bad = false;
    if (all) {
        for (int ch = 1; ch <= max_chan && ch <= MAX_CHANS; ++ch)
            kept.push_back(ch);
    } else {
        for (size_t i = 0; i < list.size() && i < MAX_CHAN_ENTRIES; ++i) {
            if (list[i] >= 1 && list[i] <= max_chan && kept.size() < MAX_CHANS)
                kept.push_back(list[i]);
            else
                bad = true;
        }
    }
    if (bad)
        c.warnings.push_back("You specified one or more non-existent channel numbers for the "
                             "selected\nMorix(es). The current operation will not use those "
                             "channel numbers.");
    if (kept.empty()) {
        if (!bad && !c.in.opening)
            c.warnings.push_back("You must enter one or more channel numbers.");
        return -1;
    }
    for (int ch : kept) {
        if (front_end_progress().cancelled())
            return -1;
        if (get_chan_status(c.rec, ch) == 1)
            c.ports.push_back(ch);
    }
    if (c.ports.empty()) {
        c.warnings.push_back("All the the specified channels are unused.");
        return -1;
    }
    if (c.ports.size() < kept.size())
        c.warnings.push_back("Some of the specified channels are unused.");
    for (int ch : c.ports)
        for (const char* v : pri_vars(c)) {
            int inst = 0;
            std::string text = pri_inst(c, v, ch, &inst);
            status_add(c, v, inst, text);
        }
    return 0;
}

void sts_layout_pri(StatusCtx& c) {
    const std::vector<const char*>& vars = pri_vars(c);
    std::vector<ChanLine> lines;
    std::string bad;
    for (int ch : c.ports) {
        std::string v[5];
        bool ok = true;
        for (int k = 0; k < 5; ++k) {
            int inst = 0;
            std::string text = pri_inst(c, vars[k], ch, &inst);
            v[k] =
                k < 2 ? status_raw(c, vars[k], inst, text) : status_val(c, vars[k], inst, text, "");
            ok = ok && !v[k].empty();
        }
        if (!ok)
            bad += std::to_string(ch) + ", ";
        int type = check_str_digits(v[0]) && v[0].size() < 3 ? std::atoi(v[0].c_str()) : 0;
        int port = check_str_digits(v[1]) && v[1].size() < 9 ? std::atoi(v[1].c_str()) : 0;
        const char* word = port_words[type >= 0 && type <= 5 ? type : 5];
        lines.push_back({ch, type, {std::string(word) + std::to_string(port), v[2], v[3], v[4]}});
    }
    if (c.in.sort && lines.size() > 1)
        std::stable_sort(lines.begin(), lines.end(), [](const ChanLine& a, const ChanLine& b) {
            return a.cols[3] < b.cols[3];
        });
    const char* const heads[] = {"Async Channels", "Sync Channels"};
    for (int area = 1; area <= 2; ++area) {
        c.tables += std::string(area == 2 ? "\n" : "") + heads[area - 1] + "\n";
        c.tables += status_row(pri_head_fmt,
                               {"Channel", "Port", "Called Number", "Calling Number", "User"});
        for (const ChanLine& l : lines)
            if (l.port_type == area)
                c.tables += status_row(pri_line_fmt, {std::to_string(l.chan), l.cols[0], l.cols[1],
                                                      l.cols[2], l.cols[3]});
    }
    if (!bad.empty())
        c.warnings.push_back("Unable to get some of the status data for channel(s):\n" +
                             bad.substr(0, bad.size() - 2));
}

int sts_build_csu(StatusCtx& c) {
    if (is_t1(c) && c.rec->platform == 5) {
        c.warnings.push_back("The selected Morix/es do not support this command");
        return -1;
    }
    if (c.rec->wan_count == 0 || c.rec->wan_if_index.empty()) {
        c.warnings.push_back("The Morix you selected has no DS1 port(s) or is a  PRI device.");
        return -1;
    }
    // One WAN module, numbered as every command numbers them.
    DevicePorts module = resolve_port_text(
        *c.rec, PT_DS1INF, c.in.module.empty() ? "1" : c.in.module, PortPurpose::status);
    if (!module.refusal.empty() || module.ports.size() != 1) {
        c.warnings.push_back(!module.refusal.empty()
                                 ? module.refusal
                                 : "<" + c.rec->name + ">  Enter one WAN module number.");
        return -1;
    }
    c.extra.assign(1, module.ports[0]);
    if (c.in.period == 0) {
        int all = 0, count = 0;
        std::vector<int> list = parse_port_list(c.in.list, &all, &count);
        DevicePorts d = resolve_ports(*c.rec, PT_DS1INT, 0, list, PortPurpose::status);
        c.ports = d.ports;
        if (all || c.ports.empty()) {
            c.warnings.push_back("You must enter one or more valid interval numbers:\n(1 - 96).");
            return -1;
        }
        if (!d.refusal.empty())
            c.warnings.push_back(d.refusal);
    } else {
        c.ports.push_back(0);
    }
    int inf = ds1_if(c);
    for (const char* v : *c.m->vars)
        status_add(c, v, inf);
    int n = 0;
    const CsuCounter* k = counters(c, &n);
    for (int row : c.ports)
        for (int i = 0; i < n; ++i) {
            if (c.in.period == 0)
                status_add(c, k[i].intv, -1, std::to_string(inf) + "." + std::to_string(row));
            else
                status_add(c, c.in.period == 1 ? k[i].cur : k[i].tot, inf);
        }
    return 0;
}

void sts_layout_csu(StatusCtx& c) {
    csu_info(c);
    int n = 0;
    const CsuCounter* k = counters(c, &n);
    bool t1 = is_t1(c);
    int tables = t1 ? 1 : 2;
    for (int t = 0; t < tables; ++t) {
        const CsuTable& tab = t1 ? t1_tables[t] : pri_tables[t];
        if (t > 0)
            c.tables += "\n";
        for (const auto& h : tab.heads)
            c.tables += status_row(tab.fmt, std::vector<std::string>(h.begin(), h.end()));
        for (int row : c.ports) {
            std::vector<std::string> cols = {c.in.period == 0   ? std::to_string(row)
                                             : c.in.period == 1 ? "Current"
                                                                : "Total"};
            for (int i = tab.first; i < tab.first + tab.count && i < n; ++i)
                cols.push_back(csu_value(c, k[i], row));
            c.tables += status_row(tab.fmt, cols);
        }
    }
}
