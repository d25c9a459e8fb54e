#include "sim_view.h"
#include "sim_live.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "catalogue/mib_catalogue.h"
#include "snmp_access/product_types.h"

namespace {

// MIB-II objects served from the profile rather than the catalogue.
const char* const SYSTEM_PREFIX = "1.3.6.1.2.1.1";
const char* const IF_PREFIX = "1.3.6.1.2.1.2";
const char* const ARP_PREFIX = "1.3.6.1.2.1.4.22";
const char* const IF_ENTRY = "1.3.6.1.2.1.2.2.1";
const char* const ARP_ENTRY = "1.3.6.1.2.1.4.22.1";

bool under(const std::string& oid_text, const char* prefix) {
    std::string p(prefix);
    return oid_text == p || oid_text.compare(0, p.size() + 1, p + ".") == 0;
}

ViewEntry make_entry(const std::string& base, const std::string& instance,
                     const std::string& label) {
    ViewEntry e;
    parse_oid_text(base + "." + instance, &e.name);
    e.label = label;
    e.instance = instance;
    return e;
}

void add_builtin(std::vector<ViewEntry>* out, const std::string& base, const std::string& inst,
                 const char* label, u_char type, const std::string& text, bool writable = false) {
    ViewEntry e = make_entry(base, inst, label);
    e.writable = writable;
    e.builtin = BK_PLAIN;
    if (value_from_text(type, -1, text, &e.value) != 0)
        e.value = zero_value(type);
    out->push_back(e);
}

std::string default_mac(const std::string& address) {
    unsigned a = 0, b = 0, c = 0, d = 0;
    std::sscanf(address.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d);
    char buf[40];
    std::snprintf(buf, sizeof buf, "hex:08:00:2b:%02x:%02x:%02x", b & 255, c & 255, d & 255);
    return buf;
}

std::string hex_of(const std::string& bytes) {
    std::string out = "hex:";
    char buf[4];
    for (unsigned char c : bytes) {
        std::snprintf(buf, sizeof buf, "%02x", c);
        out += buf;
    }
    return out;
}

void add_system_group(const SimProfile& p, const DeviceFacts& f, std::vector<ViewEntry>* out) {
    std::string sys_oid = p.sys_object_id.empty() ? std::string(SIM_ENTERPRISE) + ".1.3." +
                                                        std::to_string(p.product_type)
                                                  : p.sys_object_id;
    std::string s(SYSTEM_PREFIX);
    add_builtin(out, s + ".1", "0", "sysDescr", ASN_OCTET_STR, p.sys_descr);
    add_builtin(out, s + ".2", "0", "sysObjectID", ASN_OBJECT_ID, sys_oid);
    add_builtin(out, s + ".3", "0", "sysUpTime", ASN_TIMETICKS, "0");
    out->back().builtin = BK_UPTIME;
    add_builtin(out, s + ".4", "0", "sysContact", ASN_OCTET_STR, p.sys_contact, true);
    add_builtin(out, s + ".5", "0", "sysName", ASN_OCTET_STR,
                p.sys_name.empty() ? "mrx-" + f.address : p.sys_name, true);
    add_builtin(out, s + ".6", "0", "sysLocation", ASN_OCTET_STR, p.sys_location, true);
    add_builtin(out, s + ".7", "0", "sysServices", ASN_INTEGER, "72");
}

// Interface rows: en0 at index 1, async port p at p + 1, sync port p after
// the async ports, lo0 last; a profile "interface" line replaces the row of
// its index or adds one.
std::vector<IfRow> interface_rows(const SimProfile& p, const DeviceFacts& f) {
    std::vector<IfRow> rows;
    IfRow en{1, "en0", 6, 1500, 10000000, ""};
    parse_hex_bytes(default_mac(f.address).substr(4), &en.phys);
    rows.push_back(en);
    for (int i = 1; i <= p.asy_ports; i++)
        rows.push_back({i + 1, "asy" + std::to_string(i), 33, 1500, 115200, ""});
    for (int i = 1; i <= p.syn_ports; i++)
        rows.push_back({p.asy_ports + i + 1, "syn" + std::to_string(i), 22, 1500, 2048000, ""});
    rows.push_back({p.asy_ports + p.syn_ports + 2, "lo0", 24, 1536, 0, ""});
    for (const IfRow& r : p.interfaces) {
        auto same = std::find_if(rows.begin(), rows.end(),
                                 [&](const IfRow& x) { return x.index == r.index; });
        if (same != rows.end())
            *same = r;
        else
            rows.push_back(r);
    }
    std::sort(rows.begin(), rows.end(),
              [](const IfRow& a, const IfRow& b) { return a.index < b.index; });
    return rows;
}

void add_interfaces(const SimProfile& p, const DeviceFacts& f, std::vector<ViewEntry>* out) {
    std::vector<IfRow> rows = interface_rows(p, f);
    add_builtin(out, std::string(IF_PREFIX) + ".1", "0", "ifNumber", ASN_INTEGER,
                std::to_string(rows.size()));
    static const char* const names[] = {
        "ifIndex",       "ifDescr",        "ifType",          "ifMtu",         "ifSpeed",
        "ifPhysAddress", "ifAdminStatus",  "ifOperStatus",    "ifLastChange",  "ifInOctets",
        "ifInUcastPkts", "ifInNUcastPkts", "ifInDiscards",    "ifInErrors",    "ifInUnknownProtos",
        "ifOutOctets",   "ifOutUcastPkts", "ifOutNUcastPkts", "ifOutDiscards", "ifOutErrors",
        "ifOutQLen",     "ifSpecific"};
    for (const IfRow& r : rows) {
        std::string inst = std::to_string(r.index);
        auto col = [&](int c) { return std::string(IF_ENTRY) + "." + std::to_string(c); };
        add_builtin(out, col(1), inst, names[0], ASN_INTEGER, inst);
        add_builtin(out, col(2), inst, names[1], ASN_OCTET_STR, r.descr);
        add_builtin(out, col(3), inst, names[2], ASN_INTEGER, std::to_string(r.type));
        add_builtin(out, col(4), inst, names[3], ASN_INTEGER, std::to_string(r.mtu));
        add_builtin(out, col(5), inst, names[4], ASN_GAUGE, std::to_string(r.speed));
        add_builtin(out, col(6), inst, names[5], ASN_OCTET_STR, hex_of(r.phys));
        add_builtin(out, col(7), inst, names[6], ASN_INTEGER, "1", true);
        out->back().enum_lo = 1;
        out->back().enum_hi = 3;
        add_builtin(out, col(8), inst, names[7], ASN_INTEGER, "1");
        add_builtin(out, col(9), inst, names[8], ASN_TIMETICKS, "0");
        for (int c = 10; c <= 20; c++)
            add_builtin(out, col(c), inst, names[c - 1], ASN_COUNTER, "0");
        add_builtin(out, col(21), inst, names[20], ASN_GAUGE, "0");
        add_builtin(out, col(22), inst, names[21], ASN_OBJECT_ID, "0.0");
    }
}

void add_arp_table(const SimProfile& p, std::vector<ViewEntry>* out) {
    for (const ArpRow& r : p.arp) {
        std::string inst = std::to_string(r.if_index) + "." + r.net_addr;
        auto col = [&](int c) { return std::string(ARP_ENTRY) + "." + std::to_string(c); };
        add_builtin(out, col(1), inst, "ipNetToMediaIfIndex", ASN_INTEGER,
                    std::to_string(r.if_index));
        add_builtin(out, col(2), inst, "ipNetToMediaPhysAddress", ASN_OCTET_STR, hex_of(r.phys));
        add_builtin(out, col(3), inst, "ipNetToMediaNetAddress", ASN_IPADDRESS, r.net_addr);
        add_builtin(out, col(4), inst, "ipNetToMediaType", ASN_INTEGER, std::to_string(r.type));
    }
}

// ---- catalogue variables ---------------------------------------------------

struct InstanceShape {
    std::string inst;
    int port_code = 0;
    std::string value; // derived value text; empty with has_value false
    bool has_value = false;
};

int ports_of(const SimProfile& p, int code) {
    switch (code) {
    case 1:
        return p.asy_ports;
    case 2:
        return p.syn_ports;
    case 3:
        return p.ptr_ports;
    case 4:
        return 1;
    case 5:
        return static_cast<int>(p.modules.size());
    case 8: {
        int platform = platform_of_product(p.product_type);
        if (p.modules.empty())
            return 0;
        if (platform == 5) { // channels numbered on through all modules
            int sum = 0;
            for (const WanModule& m : p.modules)
                sum += m.channels;
            return sum;
        }
        return platform == 4 ? p.modules[0].channels : 24;
    }
    case 9:
        return 96;
    case 10:
        return static_cast<int>(p.modems.size());
    default:
        return 0;
    }
}

// Port type codes whose ports make the instances of a catalogue port class.
// Class 10 ("channels") is also what the internal modems are built on; class
// 0 with a port instance type is served on every countable port kind.
std::vector<int> class_codes(int port_class) {
    static const std::vector<std::vector<int>> table = {
        {1, 2, 3, 4, 5, 10}, {1}, {2}, {3}, {1, 2}, {1, 3}, {1, 2, 4}, {8}, {9}, {5}, {10}};
    if (port_class < 0 || port_class >= static_cast<int>(table.size()))
        return {};
    return table[port_class];
}

// Instance number of port p of code t for instance types 1 to 6; 0 when none.
long port_instance(int inst_type, int t, int p, int asy) {
    switch (inst_type) {
    case 1:
        return p;
    case 2:
        return asy + p;
    case 3:
        return p + 1;
    case 4:
        return asy + p + 1;
    case 5:
        return t == 1 ? p : asy + p;
    case 6:
        return t == 1 ? p + 1 : t == 2 ? asy + p + 1 : t == 4 ? p : 0;
    default:
        return 0;
    }
}

std::vector<InstanceShape> generic_instances(const MibVarEntry& e, const SimProfile& p) {
    std::vector<InstanceShape> out;
    if (e.inst_type == 0)
        return {{"0", 0, "", false}};
    if (e.inst_type == 7 || e.inst_type == 8) {
        for (const WanModule& m : p.modules) {
            int count = e.port_class == 8 ? 96 : m.channels;
            for (int i = 1; i <= count; i++)
                out.push_back({std::to_string(m.if_index) + "." + std::to_string(i),
                               e.port_class == 8 ? 9 : 8, "", false});
        }
        return out;
    }
    if (e.inst_type == 9) {
        for (const WanModule& m : p.modules)
            out.push_back({std::to_string(m.if_index), 5, "", false});
        return out;
    }
    std::vector<long> seen;
    for (int t : class_codes(e.port_class)) {
        for (int port = 1; port <= ports_of(p, t); port++) {
            long inst = port_instance(e.inst_type, t, port, p.asy_ports);
            if (inst <= 0 || std::find(seen.begin(), seen.end(), inst) != seen.end())
                continue;
            seen.push_back(inst);
            out.push_back({std::to_string(inst), t, "", false});
        }
    }
    return out;
}

// Variables whose instances or values follow from the profile's structure.
// Returns true when the variable has its own instance list.
bool derived_instances(const std::string& name, const SimProfile& p,
                       std::vector<InstanceShape>* out) {
    int k = 0;
    if (name == "mrxt1WanIfIndex") {
        for (const WanModule& m : p.modules)
            out->push_back({std::to_string(++k), 5, std::to_string(m.if_index), true});
        return true;
    }
    if (name == "mrxt1TotChan" || name == "mrxt1PRIModuleType" || name == "mrxt1UnitId") {
        for (const WanModule& m : p.modules) {
            std::string v = name == "mrxt1TotChan"         ? std::to_string(m.channels)
                            : name == "mrxt1PRIModuleType" ? std::to_string(m.module_type)
                                                           : m.firmware;
            out->push_back({std::to_string(m.if_index), 5, v, true});
        }
        return true;
    }
    if (name == "mdmIdSoftwareRev" || name == "mrxpModemFirmware") {
        for (const std::string& rev : p.modems)
            out->push_back({std::to_string(++k), 10, rev, true});
        return true;
    }
    if (name == "mrxpModemStatus" || name == "mdmStatState" || name == "mdmCtlState") {
        // A modem pool at work: most modems wait for calls, every fourth one
        // carries a call. mrxpModemStatus: 1 available, 2 busy; mdmStatState:
        // 2 available, 3 busy; mdmCtlState (the operator's control): 1.
        for (size_t m = 1; m <= p.modems.size(); ++m) {
            bool busy = m % 4 == 0;
            int v = name == "mrxpModemStatus" ? (busy ? 2 : 1)
                    : name == "mdmStatState"  ? (busy ? 3 : 2)
                                              : 1;
            out->push_back({std::to_string(m), 10, std::to_string(v), true});
        }
        return true;
    }
    return false;
}

// Scalar values that follow from the profile and the device address.
bool derived_scalar(const std::string& name, const SimProfile& p, const DeviceFacts& f,
                    std::string* value) {
    struct Item {
        const char* name;
        std::string value;
    };
    const Item items[] = {
        {"swRevMajor", std::to_string(p.rel_major)},
        {"swRevMinor", std::to_string(p.rel_minor)},
        {"totalPorts", std::to_string(p.asy_ports)},
        {"totalSyncPorts", std::to_string(p.syn_ports)},
        {"mrxpParaPorts", std::to_string(p.ptr_ports)},
        {"mrxt1Total", std::to_string(p.modules.size())},
        {"mrxt1TotChan", p.modules.empty() ? "0" : std::to_string(p.modules[0].channels)},
        {"totalmodems", std::to_string(p.modems.size())},
        {"mrxInetAddr", f.address},
        {"mrxAllowSets", std::to_string(p.allow_sets)},
        {"macAddress", default_mac(f.address)},
        {"mrxSubnetMask", "255.0.0.0"},
        {"mrxBcastAddr", "127.255.255.255"},
    };
    for (const Item& it : items) {
        if (name == it.name) {
            *value = it.value;
            return true;
        }
    }
    return false;
}

// Starting value of a catalogue variable: its default when that fits the
// type, else the first enumeration value, else zero or empty.
SimValue default_value(const MibVarEntry& e) {
    SimValue v;
    u_char type = catalogue_asn_type(e.data_type);
    // The catalogue writes "" for the empty text and n/a for no default.
    std::string text = e.def_val == "\"\"" ? "" : e.def_val;
    if (text != "n/a" && value_from_text(type, e.enum_id, text, &v) == 0)
        return v;
    v = zero_value(type);
    if (type == ASN_INTEGER && e.enum_id >= 0 && !mib_enum_list[e.enum_id].empty())
        v.num = mib_enum_list[e.enum_id][0].value;
    return v;
}

// Writability by the catalogue's rule for the port type the instance was
// built for (port class 8 and unknown classes are never writable).
bool catalogue_writable(int id, int port_code) {
    const MibVarEntry& e = *mib_data_list[id];
    if (e.write_type == 0 || e.port_class == 8 || e.port_class < 0 || e.port_class > 10)
        return false;
    return check_mib_var_write(id, port_code) == 1;
}

void add_catalogue_variable(int id, const SimProfile& p, const DeviceFacts& f,
                            std::vector<ViewEntry>* out) {
    const MibVarEntry& e = *mib_data_list[id];
    if (under(e.oid_num, SYSTEM_PREFIX) || under(e.oid_num, IF_PREFIX) ||
        under(e.oid_num, ARP_PREFIX) || (!p.device_objects && under(e.oid_num, SIM_ENTERPRISE)))
        return;
    OidVec base;
    if (parse_oid_text(e.oid_num, &base) != 0 || base.size() < 2)
        return;
    std::vector<InstanceShape> shapes;
    if (!derived_instances(e.name, p, &shapes))
        shapes = generic_instances(e, p);
    std::string scalar;
    bool has_scalar = derived_scalar(e.name, p, f, &scalar);
    SimValue def = default_value(e);
    u_char type = catalogue_asn_type(e.data_type);
    for (const InstanceShape& s : shapes) {
        ViewEntry v = make_entry(e.oid_num, s.inst, e.name);
        v.cat_id = id;
        v.port_code = s.port_code;
        v.writable = catalogue_writable(id, s.port_code);
        v.value = def;
        const std::string* text = s.has_value ? &s.value : has_scalar ? &scalar : nullptr;
        SimValue derived;
        if (text && value_from_text(type, e.enum_id, *text, &derived) == 0)
            v.value = derived;
        out->push_back(v);
    }
}

// Applies one profile "set" line; creates the instance of a catalogue
// variable when it names one that the rules did not build.
int apply_set_line(const SetLine& s, DeviceView* view, std::string* error) {
    int hits = 0;
    std::string where = "line " + std::to_string(s.line) + ": ";
    for (ViewEntry& e : view->entries) {
        if (e.label != s.name || (!s.instance.empty() && e.instance != s.instance))
            continue;
        int enum_id = e.cat_id >= 0 ? mib_data_list[e.cat_id]->enum_id : -1;
        if (value_from_text(e.value.type, enum_id, s.value, &e.value) != 0) {
            *error = where + "value '" + s.value + "' does not fit " + s.name;
            return -1;
        }
        hits++;
    }
    if (hits > 0)
        return 0;
    int id = -1;
    if (s.instance.empty() || !get_check_mib_var(s.name, &id) ||
        mib_data_list[id]->name != s.name) {
        *error = where + "no object " + s.name + (s.instance.empty() ? "" : "." + s.instance);
        return -1;
    }
    const MibVarEntry& c = *mib_data_list[id];
    ViewEntry e = make_entry(c.oid_num, s.instance, c.name);
    if (e.name.size() < 2) {
        *error = where + "bad instance " + s.instance;
        return -1;
    }
    e.cat_id = id;
    e.writable = catalogue_writable(id, 0);
    if (value_from_text(catalogue_asn_type(c.data_type), c.enum_id, s.value, &e.value) != 0) {
        *error = where + "value '" + s.value + "' does not fit " + s.name;
        return -1;
    }
    auto pos =
        std::lower_bound(view->entries.begin(), view->entries.end(), e,
                         [](const ViewEntry& a, const ViewEntry& b) { return a.name < b.name; });
    view->entries.insert(pos, e);
    return 0;
}

} // namespace

u_char catalogue_asn_type(int data_type) {
    switch (data_type) {
    case 1:
        return ASN_OBJECT_ID;
    case 2:
        return ASN_OCTET_STR;
    case 3:
        return ASN_INTEGER;
    case 4:
    case 5:
        return ASN_IPADDRESS;
    case 6:
        return ASN_COUNTER;
    case 7:
        return ASN_GAUGE;
    case 8:
        return ASN_TIMETICKS;
    default:
        return ASN_NULL;
    }
}

int build_device_view(const SimProfile& p, const DeviceFacts& f, DeviceView* view,
                      std::string* error) {
    std::vector<ViewEntry>& out = view->entries;
    out.clear();
    add_system_group(p, f, &out);
    add_interfaces(p, f, &out);
    add_arp_table(p, &out);
    for (int id = 0; id < MAX_MIB_VARS; id++) {
        if (mib_data_list[id])
            add_catalogue_variable(id, p, f, &out);
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const ViewEntry& a, const ViewEntry& b) { return a.name < b.name; });
    out.erase(std::unique(out.begin(), out.end(),
                          [](const ViewEntry& a, const ViewEntry& b) { return a.name == b.name; }),
              out.end());
    apply_state_defaults(p, view);
    for (const SetLine& s : p.sets) {
        if (apply_set_line(s, view, error) != 0) {
            *error = p.path + ": " + *error;
            return -1;
        }
    }
    return 0;
}
