#include "sim_traps.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "events/trap_kinds.h"

namespace {

// Seconds of up time looked at in one tick at most (a stalled loop does
// not send an hour of traps at once).
constexpr long MAX_SECONDS_PER_TICK = 60;

struct PduFree {
    void operator()(netsnmp_pdu* p) const {
        if (p)
            snmp_free_pdu(p);
    }
};
using PduPtr = std::unique_ptr<netsnmp_pdu, PduFree>;

const ViewEntry* scalar(const SimDevice& dev, const char* label) {
    for (const ViewEntry& e : dev.view.entries)
        if (e.label == label)
            return &e;
    return nullptr;
}

long scalar_num(const SimDevice& dev, const char* label, long fallback) {
    const ViewEntry* e = scalar(dev, label);
    return e ? e->value.num : fallback;
}

// The entry of an async port variable for port p (1-based): instances grow
// with the port number, so it is the p-th entry of that name.
const ViewEntry* port_entry(const SimDevice& dev, const char* label, int p) {
    int seen = 0;
    for (const ViewEntry& e : dev.view.entries)
        if (e.label == label && ++seen == p)
            return &e;
    return nullptr;
}

// The trap hosts the device holds: loopback addresses only, so that a
// simulated device never sends off the machine.
std::vector<sockaddr_in> trap_hosts(const SimDevice& dev) {
    std::vector<sockaddr_in> hosts;
    for (const char* name : {"mrxSnmpTrapHost1", "mrxSnmpTrapHost2"}) {
        const ViewEntry* e = scalar(dev, name);
        if (!e || e->value.bytes.size() != 4 || e->value.bytes[0] != 127)
            continue;
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(dev.faults.trap_port));
        std::memcpy(&a.sin_addr, e->value.bytes.data(), 4);
        hosts.push_back(a);
    }
    return hosts;
}

void add_var(netsnmp_pdu* pdu, const ViewEntry* e, const SimValue& v) {
    if (!e)
        return;
    if (v.type == ASN_OCTET_STR || v.type == ASN_IPADDRESS)
        snmp_pdu_add_variable(pdu, e->name.data(), e->name.size(), v.type, v.bytes.data(),
                              v.bytes.size());
    else
        snmp_pdu_add_variable(pdu, e->name.data(), e->name.size(), v.type, &v.num, sizeof v.num);
}

SimValue number(u_char type, long n) {
    SimValue v;
    v.type = type;
    v.num = n;
    return v;
}

SimValue text(const std::string& s) {
    SimValue v;
    v.type = ASN_OCTET_STR;
    v.bytes = s;
    return v;
}

PduPtr new_trap(const SimDevice& dev, int generic, int specific) {
    PduPtr pdu(snmp_pdu_create(SNMP_MSG_TRAP));
    pdu->version = SNMP_VERSION_1;
    const ViewEntry* c = scalar(dev, "mrxSnmpTrapCommunity");
    std::string community = c ? c->value.bytes : "public";
    pdu->community = static_cast<u_char*>(std::malloc(community.size() + 1));
    std::memcpy(pdu->community, community.c_str(), community.size() + 1);
    pdu->community_len = community.size();
    OidVec ent;
    const ViewEntry* id = scalar(dev, "sysObjectID");
    if (generic != GT_ENTERPRISE_SPECIFIC && id && !id->value.objid.empty())
        ent = id->value.objid;
    else
        parse_oid_text(MORIX_TRAP_ENTERPRISE, &ent);
    pdu->enterprise = static_cast<oid*>(std::malloc(ent.size() * sizeof(oid)));
    std::memcpy(pdu->enterprise, ent.data(), ent.size() * sizeof(oid));
    pdu->enterprise_length = ent.size();
    inet_pton(AF_INET, dev.address.c_str(), pdu->agent_addr);
    pdu->trap_type = generic;
    pdu->specific_type = specific;
    pdu->time = static_cast<u_long>(sim_uptime_ticks(dev));
    return pdu;
}

void send_to_hosts(const SimDevice& dev, netsnmp_pdu* pdu, int delay_ms,
                   std::vector<TrapDatagram>* out) {
    std::string bytes;
    if (!encode_sim_pdu(pdu, &bytes))
        return;
    for (const sockaddr_in& to : trap_hosts(dev))
        out->push_back({to, bytes, delay_ms});
}

// A call trap about async port p: its session number and user.
void call_trap(const SimDevice& dev, int specific, int p, long session, int delay_ms,
               std::vector<TrapDatagram>* out) {
    PduPtr pdu = new_trap(dev, GT_ENTERPRISE_SPECIFIC, specific);
    add_var(pdu.get(), port_entry(dev, "charPortSessionNumber", p), number(ASN_GAUGE, session));
    add_var(pdu.get(), port_entry(dev, "mrxpCurrentUserName", p),
            text("user" + std::to_string(session)));
    if (specific == TRAP_UNEXPECTED_DISCONNECT) {
        const ViewEntry* t = scalar(dev, "unexpectDisconnectTrapThresh");
        add_var(pdu.get(), t, number(ASN_INTEGER, t ? t->value.num : 0));
    }
    send_to_hosts(dev, pdu.get(), delay_ms, out);
}

// Second s of the call model: the call in progress ends, the next begins
// on the next async port.
void call_second(SimDevice* dev, long s, std::vector<TrapDatagram>* out) {
    int ports = dev->profile.asy_ports;
    if (dev->faults.calls <= 0 || ports <= 0 || s % dev->faults.calls != 0)
        return;
    if (dev->call_port > 0) {
        if (dev->faults.disconnects) {
            if (++dev->cut_calls >= scalar_num(*dev, "unexpectDisconnectTrapThresh", 1)) {
                call_trap(*dev, TRAP_UNEXPECTED_DISCONNECT, dev->call_port, dev->calls, 0, out);
                dev->cut_calls = 0;
            }
        } else if (s - dev->call_start >= scalar_num(*dev, "callEndTrapThresh", 1)) {
            call_trap(*dev, TRAP_CALL_END, dev->call_port, dev->calls, 0, out);
        }
    }
    dev->call_port = static_cast<int>(dev->calls % ports) + 1;
    dev->call_start = s;
    ++dev->calls;
    if (scalar_num(*dev, "callBeginTrapObj", 0) == 1)
        call_trap(*dev, TRAP_CALL_BEGIN, dev->call_port, dev->calls, 0, out);
}

// Second s of the WAN line: wan_errors bipolar violations; a trap when
// they reach the threshold.
void wan_second(const SimDevice& dev, std::vector<TrapDatagram>* out) {
    const ViewEntry* bpv = scalar(dev, "mrxt1CurrentBpv");
    long threshold = scalar_num(dev, "wanBpvThreshold", 10);
    if (dev.faults.wan_errors <= 0 || !bpv || dev.faults.wan_errors < threshold)
        return;
    PduPtr pdu = new_trap(dev, GT_ENTERPRISE_SPECIFIC, TRAP_WAN_THRESHOLD);
    add_var(pdu.get(), bpv, number(ASN_GAUGE, dev.faults.wan_errors));
    add_var(pdu.get(), scalar(dev, "wanBpvThreshold"), number(ASN_INTEGER, threshold));
    send_to_hosts(dev, pdu.get(), 0, out);
}

} // namespace

void start_traps(SimDevice* dev, std::vector<TrapDatagram>* out) {
    PduPtr cold = new_trap(*dev, GT_COLD_START, 0);
    send_to_hosts(*dev, cold.get(), 0, out);
    int ports = dev->profile.asy_ports > 0 ? dev->profile.asy_ports : 1;
    for (int i = 1; i <= dev->faults.trap_burst; ++i)
        call_trap(*dev, TRAP_CALL_BEGIN, (i - 1) % ports + 1, i, i, out);
}

void tick_traps(SimDevice* dev, std::vector<TrapDatagram>* out) {
    long now = sim_uptime_ticks(*dev) / 100;
    if (now <= dev->trap_second)
        return;
    long from = std::max(dev->trap_second + 1, now - MAX_SECONDS_PER_TICK + 1);
    for (long s = from; s <= now; ++s) {
        call_second(dev, s, out);
        wan_second(*dev, out);
    }
    dev->trap_second = now;
}
