// Port and channel slots of the port pages, reading and setting page
// variables on them, and the consecutive remote addresses.
#include "basic/port_pages.h"
#include "snmp_access/session.h"

#include <cstdio>
#include <cstdlib>

#include "catalogue/mib_catalogue.h"
#include "devices/long_op.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"
#include "ui/app_globals.h"

namespace {

constexpr const char* ZERO_ADDR = "0.0.0.0";
constexpr int MAX_SLOTS = 127; // ports or channels one device may give

void add_node(MorixRecord* r, int id, const PortSlot& s, const std::string& value) {
    if (add_prm_node(r, id, s.port_type, s.port, s.instance, s.inst.c_str(), value.c_str(), 0))
        s_error("Could not add a parameter node, no memory .");
}

std::string two_part(int a, int b) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d.%d", a, b);
    return buf;
}

int var_index(const std::string& name) {
    int id = -1;
    return get_check_mib_var(name, &id) ? id : -1;
}

} // namespace

int scope_fits(const MorixRecord* r, bool chan) {
    if (chan)
        return (r->platform == 4 || r->platform == 5) && r->wan_count > 0;
    return (r->platform == 2 || r->platform == 3) && r->asy_ports > 0;
}

int port_scope_count(const MorixRecord* r, bool chan) {
    if (!chan)
        return std::min(r->asy_ports, MAX_SLOTS);
    int n = 0;
    int modules = r->platform == 5 ? r->wan_count : std::min(r->wan_count, 1);
    for (int k = 0; k < modules && k < static_cast<int>(r->wan_chan_count.size()); ++k)
        n += r->wan_chan_count[k];
    return std::min(n, MAX_SLOTS);
}

std::vector<PortSlot> port_slots(const MorixRecord* r, int id, bool chan,
                                 const std::vector<int>& ports) {
    std::vector<PortSlot> out;
    const MibVarEntry* e = mib_var(id);
    if (!e)
        return out;
    if (e->port_class == 0)
        return {{0, 0, 0, ""}};
    if (!chan) {
        for (int p : ports) {
            PortSlot s{PT_ASY, p, 0, ""};
            if (p >= 1 && p <= r->asy_ports &&
                cvt_port_inst(r, id, PT_ASY, p, &s.instance, &s.inst))
                out.push_back(s);
        }
        return out;
    }
    bool two = e->inst_type == 7 || e->inst_type == 8;
    int modules = r->platform == 5 ? r->wan_count : std::min(r->wan_count, 1);
    int running = 0;
    for (int k = 0; k < modules && k < static_cast<int>(r->wan_chan_count.size()) &&
                    k < static_cast<int>(r->wan_if_index.size());
         ++k)
        for (int ch = 1; ch <= r->wan_chan_count[k] && running < MAX_SLOTS; ++ch) {
            ++running;
            if (two)
                out.push_back({PT_DS0CHAN, ch, -1, two_part(r->wan_if_index[k], ch)});
            else
                out.push_back({PT_DS0CHAN, running, running, ""});
        }
    return out;
}

int read_port_vars(const std::vector<std::string>& vars, bool chan, const std::vector<int>& ports) {
    LongOperation op(page_dialog_parent(), "Cancel Show Values", "",
                     LO_BUSY | LO_CONFIRM | LO_FOLLOW_SNMP);
    std::vector<int> devs = basic_devices();
    int answered = 0;
    std::string msg;
    std::vector<MorixRecord*> asked;
    for (int p : devs) {
        MorixRecord* r = session().devices()[p];
        free_prm_list(r);
        if (!r->reachable || r->status == SR_TIMEOUT || r->status == SR_UNKNOWN_HOST)
            continue;
        for (const std::string& name : vars) {
            int id = var_index(name);
            for (const PortSlot& s :
                 id < 0 ? std::vector<PortSlot>{} : port_slots(r, id, chan, ports))
                add_node(r, id, s, "");
        }
        asked.push_back(r);
    }
    for (MorixRecord* r : op.serve(asked, SNMP_OP_GET, "Getting values for")) {
        if (r->status == SR_OK) {
            answered = 1;
            continue;
        }
        msg += r->name + ":\nCould not get parameter values. This may be due to a timeout.\n";
        if (Outcome* o = page_run_outcome())
            o->devices.push_back({r->name, DeviceState::unreachable,
                                  r->name + ": could not get parameter values (no answer)"});
    }
    op.close();
    op.idle();
    if (!msg.empty())
        page_warn(msg);
    return answered;
}

std::string slot_value(const MorixRecord* r, const std::string& name, const PortSlot& s) {
    std::string text, raw;
    if (get_prm_val(r, name, s.instance, s.inst, &text, &raw) != 1)
        return "";
    return text;
}

void common_port_value(const std::string& name, bool chan, const std::vector<int>& ports,
                       std::string* text, int* number) {
    int id = var_index(name);
    bool have = false;
    std::string common, raw_common;
    *text = "";
    *number = 0;
    for (int d : basic_devices()) {
        const MorixRecord* r = session().devices()[d];
        if (id < 0 || !r->reachable || r->status != SR_OK)
            continue;
        for (const PortSlot& s : port_slots(r, id, chan, ports)) {
            std::string t, raw;
            if (get_prm_val(r, name, s.instance, s.inst, &t, &raw) != 1)
                t = raw = "ERROR";
            if (have && t != common)
                return;
            if (!have)
                raw_common = raw.empty() ? t : raw;
            have = true;
            common = t;
        }
    }
    if (!have)
        return;
    *text = common.empty() ? set_to_blank : common;
    *number = std::atoi(raw_common.c_str());
}

int set_port_param(const std::string& name, const std::string& value, int pos, bool chan,
                   const std::vector<int>& ports) {
    int id = var_index(name);
    if (id < 0)
        return -1;
    MorixRecord* r = session().devices()[pos];
    for (const PortSlot& s : port_slots(r, id, chan, ports))
        add_node(r, id, s, value);
    return 0;
}

bool addr_number(const std::string& text, unsigned long* out) {
    unsigned a, b, c, d;
    char tail;
    if (std::sscanf(text.c_str(), "%u.%u.%u.%u%c", &a, &b, &c, &d, &tail) != 4 || a > 255 ||
        b > 255 || c > 255 || d > 255)
        return false;
    *out = (static_cast<unsigned long>(a) << 24) | (b << 16) | (c << 8) | d;
    return true;
}

std::string addr_text(unsigned long n) {
    char buf[20];
    std::snprintf(buf, sizeof buf, "%lu.%lu.%lu.%lu", (n >> 24) & 255, (n >> 16) & 255,
                  (n >> 8) & 255, n & 255);
    return buf;
}

int check_remote_addr_for_overlap(const std::string& first, int ports) {
    unsigned a, b, c, d;
    if (std::sscanf(first.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d) != 4)
        return 0; // no fourth part: the address check speaks for it
    return d + static_cast<unsigned>(ports) > 255 ? -1 : 0;
}

int set_individual_port_params(const std::string& name, const std::string& first, int pos,
                               bool chan, int same) {
    int id = var_index(name);
    if (id < 0)
        return -1;
    MorixRecord* r = session().devices()[pos];
    std::vector<int> all;
    for (int p = 1; p <= port_scope_count(r, chan); ++p)
        all.push_back(p);
    unsigned long n = 0;
    bool walk = !same && first != ZERO_ADDR && addr_number(first, &n);
    std::string value = first;
    for (const PortSlot& s : port_slots(r, id, chan, all)) {
        add_node(r, id, s, value);
        if (walk)
            value = addr_text(++n & 0xffffffffUL);
    }
    return 0;
}

void walk_rem_addrs(const std::vector<std::string>& addr, const std::vector<std::string>& mask,
                    WalkResult* out) {
    size_t n = std::min(addr.size(), mask.size());
    if (n == 1) { // one port: its own values
        out->first = out->last = addr[0];
        out->mask = mask[0];
    }
    for (size_t p = 0; p + 1 < n; ++p) {
        const std::string &a = addr[p], &b = addr[p + 1];
        unsigned long na = 0, nb = 0;
        bool consecutive = (a == ZERO_ADDR && b == ZERO_ADDR) ||
                           (a != ZERO_ADDR && b != ZERO_ADDR && addr_number(a, &na) &&
                            addr_number(b, &nb) && nb == na + 1);
        if (mask[p + 1] != mask[p])
            out->masks_differ = true;
        if (p == 0) {
            out->first = a;
            out->mask = mask[0];
        }
        if (p + 2 == n)
            out->last = b;
        if (!consecutive) {
            out->not_consecutive = true;
            return;
        }
    }
}

void read_rem_addrs(RemAddrSaved* saved, bool ppp_only, std::string* first, std::string* mask,
                    std::string* last) {
    saved->addr.clear();
    saved->mask.clear();
    for (int d : basic_devices()) { // the last device decides the mode
        const MorixRecord* r = session().devices()[d];
        if (r->platform == 4 || r->platform == 5)
            saved->chan = true;
        else if (!ppp_only && (r->platform == 2 || r->platform == 3))
            saved->chan = false;
    }
    const VarTable& vars = saved->chan ? rem_addr_conf_chan_vars : rem_addr_conf_port_vars;
    std::vector<int> all(MAX_SLOTS);
    for (int p = 0; p < MAX_SLOTS; ++p)
        all[p] = p + 1;
    read_port_vars(vars, saved->chan, all);
    WalkResult shown;
    bool any = false, not_consecutive = false, masks_differ = false;
    for (int d : basic_devices()) {
        const MorixRecord* r = session().devices()[d];
        if (!scope_fits(r, saved->chan) || !r->reachable || r->status == SR_TIMEOUT ||
            r->status == SR_UNKNOWN_HOST)
            continue;
        std::vector<std::string>& a = saved->addr[d];
        std::vector<std::string>& m = saved->mask[d];
        int ida = var_index(vars[0]), idm = var_index(vars[1]);
        for (const PortSlot& s : port_slots(r, ida, saved->chan, all)) {
            std::string v = slot_value(r, vars[0], s);
            a.push_back(v.empty() ? ZERO_ADDR : v);
        }
        for (const PortSlot& s : port_slots(r, idm, saved->chan, all)) {
            std::string v = slot_value(r, vars[1], s);
            m.push_back(v.empty() ? ZERO_ADDR : v);
        }
        WalkResult w;
        walk_rem_addrs(a, m, &w);
        not_consecutive |= w.not_consecutive;
        masks_differ |= w.masks_differ;
        shown = w;
        any = true;
        if (not_consecutive)
            break;
    }
    *first = any && !not_consecutive ? shown.first : "";
    *last = any && !not_consecutive ? shown.last : "";
    *mask = any && !masks_differ ? shown.mask : "";
}
