// Decoding of SNMPv1 traps with the SNMP library's parser and naming of
// their variables through the catalogue.
#include <arpa/inet.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "catalogue/mib_catalogue.h"
#include "events/trap_event.h"
#include "events/trap_kinds.h"
#include "snmp_access/morix_record.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/session.h"
#include "snmp_access/snmp_engine.h"
#include "snmp_access/snmp_values.h"
#include "ui/app_globals.h"

namespace {

struct PduFree {
    void operator()(netsnmp_pdu* p) const {
        if (p)
            snmp_free_pdu(p);
    }
};

// A version 1 session that only serves the parser.
netsnmp_session* v1_parse_session() {
    static netsnmp_session session;
    static bool ready = false;
    if (!ready) {
        mm_snmp_init();
        snmp_sess_init(&session);
        session.version = SNMP_VERSION_1;
        session.rcvMsgMaxSize = EVENT_MAX_DATAGRAM;
        ready = true;
    }
    return &session;
}

// Control bytes would break a line of text; the value keeps its length.
std::string printable(std::string text, size_t max) {
    if (text.size() > max)
        text.resize(max);
    for (char& c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x7f)
            c = '?';
    }
    return text;
}

// The catalogue variable whose identifier is the longest prefix of name:
// its id and the length of that prefix, or -1.
int catalogue_prefix(const oid* name, size_t len, size_t* prefix_len) {
    std::string dotted = sprint_objid(name, len);
    for (size_t n = len; n > 0; --n) {
        int id = -1;
        if (get_check_mib_var(dotted, &id) && mib_var(id) && mib_var(id)->oid_num == dotted) {
            *prefix_len = n;
            return id;
        }
        size_t dot = dotted.rfind('.');
        if (dot == std::string::npos)
            break;
        dotted.resize(dot);
    }
    return -1;
}

TrapVar name_var(const netsnmp_variable_list* v) {
    TrapVar t;
    t.oid = sprint_objid(v->name, v->name_length);
    t.value = printable(sprint_by_type(v), EVENT_MAX_VALUE);
    size_t prefix = 0;
    int id = catalogue_prefix(v->name, v->name_length, &prefix);
    if (id < 0) {
        t.name = t.oid;
        return t;
    }
    const MibVarEntry* e = mib_var(id);
    t.name = e->name;
    t.instance = sprint_objid(v->name + prefix, v->name_length - prefix);
    if (e->enum_id >= 0 && v->type == ASN_INTEGER)
        cvt_enum_num_str(id, t.value, &t.enum_name);
    return t;
}

// The port that a one-number instance names on this device: candidates from
// the instance rules, each confirmed by the rule itself (cvt_port_inst).
int port_of_instance(const MorixRecord* rec, int id, const std::string& instance) {
    const MibVarEntry* e = mib_var(id);
    if (!e || e->port_class == 0 || instance.empty() ||
        instance.find_first_not_of("0123456789") != std::string::npos || instance.size() > 7)
        return 0;
    int inst = std::atoi(instance.c_str());
    const int types[] = {PT_ASY, PT_SYN, PT_PTR, PT_EN, PT_DS1INF, PT_CHANNELS, PT_IMDM};
    const int offsets[] = {0, 1, rec->asy_ports, rec->asy_ports + 1};
    for (int pt : types) {
        if (!check_port_type(id, pt))
            continue;
        for (int off : offsets) {
            int port = inst - off, got = 0;
            std::string text;
            if (port >= 1 && cvt_port_inst(rec, id, pt, port, &got, &text) && got == inst)
                return port;
        }
    }
    return 0;
}

const MorixRecord* record_at(const in_addr& a) {
    for (const MorixRecord* r : session().devices()) {
        if (!r)
            break;
        if (r->addr.sin_addr.s_addr == a.s_addr)
            return r;
    }
    return nullptr;
}

} // namespace

TrapDecode decode_trap(const unsigned char* data, size_t len, TrapEvent* ev) {
    if (len == 0 || len > EVENT_MAX_DATAGRAM)
        return TrapDecode::malformed;
    std::unique_ptr<netsnmp_pdu, PduFree> pdu(
        static_cast<netsnmp_pdu*>(std::calloc(1, sizeof(netsnmp_pdu))));
    if (!pdu)
        return TrapDecode::malformed;
    // The parser works on a copy it may change.
    std::string copy(reinterpret_cast<const char*>(data), len);
    if (snmp_parse(nullptr, v1_parse_session(), pdu.get(), reinterpret_cast<u_char*>(copy.data()),
                   len) != 0)
        return TrapDecode::malformed;
    if (pdu->version != SNMP_VERSION_1 || pdu->command != SNMP_MSG_TRAP)
        return TrapDecode::not_trap;
    ev->community = printable(
        std::string(reinterpret_cast<const char*>(pdu->community), pdu->community_len), 64);
    ev->enterprise = sprint_objid(pdu->enterprise, pdu->enterprise_length);
    char addr[20];
    std::snprintf(addr, sizeof addr, "%u.%u.%u.%u", pdu->agent_addr[0], pdu->agent_addr[1],
                  pdu->agent_addr[2], pdu->agent_addr[3]);
    ev->agent_addr = addr;
    ev->generic = static_cast<int>(pdu->trap_type);
    ev->specific = static_cast<int>(pdu->specific_type);
    ev->uptime = pdu->time & 0xffffffffUL;
    ev->vars.clear();
    ev->vars_cut = 0;
    for (netsnmp_variable_list* v = pdu->variables; v; v = v->next_variable) {
        if (ev->vars.size() >= EVENT_MAX_VARS)
            ++ev->vars_cut;
        else
            ev->vars.push_back(name_var(v));
    }
    return TrapDecode::ok;
}

void name_trap_source(const sockaddr_in& from, TrapEvent* ev) {
    const MorixRecord* rec = record_at(from.sin_addr);
    in_addr agent{};
    if (!rec && inet_pton(AF_INET, ev->agent_addr.c_str(), &agent) == 1)
        rec = record_at(agent);
    ev->device = rec ? rec->name : "";
    ev->community_ok =
        ev->community == (rec ? rec->community : session().snmp_defaults().community);
    for (TrapVar& v : ev->vars) {
        int id = -1;
        if (rec && !v.instance.empty() && get_check_mib_var(v.name, &id))
            v.port = port_of_instance(rec, id, v.instance);
    }
}

std::string event_kind(const TrapEvent& ev) {
    if (ev.generic != GT_ENTERPRISE_SPECIFIC)
        return generic_trap_name(ev.generic);
    std::string name = morix_trap_name(ev.enterprise, ev.specific);
    return name.empty() ? "enterpriseSpecific/" + std::to_string(ev.specific) : name;
}

std::string event_time_text(int64_t time_ms) {
    time_t secs = static_cast<time_t>(time_ms / 1000);
    struct tm tm {};
    gmtime_r(&secs, &tm);
    char buf[96]; // room for any int in every field: no truncation
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                  static_cast<int>(time_ms % 1000));
    return buf;
}

std::string event_text_line(const TrapEvent& ev) {
    std::string line = event_time_text(ev.time_ms) + " " + ev.source + " " +
                       (ev.device.empty() ? "-" : ev.device) + " " + event_kind(ev);
    if (!ev.community_ok)
        line += ev.community.empty() ? " [wrong community]"
                                     : " [wrong community '" + ev.community + "']";
    line += " uptime " + cvt_timeticks(ev.uptime);
    for (const TrapVar& v : ev.vars) {
        line += " " + v.name + (v.instance.empty() ? "" : "." + v.instance);
        if (v.port > 0)
            line += "[port " + std::to_string(v.port) + "]";
        line += "=" + (v.enum_name.empty() ? v.value : v.enum_name);
    }
    if (ev.vars_cut > 0)
        line += " (+" + std::to_string(ev.vars_cut) + " variables not kept)";
    return line;
}
