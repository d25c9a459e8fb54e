#include "snmp_access/snmp_checks.h"

#include <arpa/inet.h>
#include <netdb.h>

#include <cctype>

#include "snmp_access/snmp_engine.h"

namespace {

bool is_host_name(const std::string& name) {
    if (name.empty() || name.size() > 253 || name[0] == '-' || name[0] == '.')
        return false;
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '.')
            return false;
    return true;
}

bool is_number_type(int asn_type) {
    return asn_type == ASN_INTEGER || asn_type == ASN_COUNTER || asn_type == ASN_GAUGE ||
           asn_type == ASN_TIMETICKS;
}

bool has_prefix(const netsnmp_variable_list* v, const std::vector<oid>& base) {
    return !base.empty() && v->name_length > base.size() &&
           snmp_oid_compare(v->name, base.size(), base.data(), base.size()) == 0;
}

} // namespace

bool mm_snmp_peer_addr(const std::string& name, sockaddr_in* out) {
    *out = sockaddr_in{};
    out->sin_family = AF_INET;
    out->sin_port = htons(MM_SNMP_PORT);
    if (inet_pton(AF_INET, name.c_str(), &out->sin_addr) == 1)
        return true;
    if (!is_host_name(name))
        return false;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* res = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &res) != 0 || !res)
        return false;
    out->sin_addr = reinterpret_cast<const sockaddr_in*>(res->ai_addr)->sin_addr;
    freeaddrinfo(res);
    return true;
}

bool answer_type_fits(int data_type, int asn_type) {
    switch (data_type) {
    case 1:
        return asn_type == ASN_OBJECT_ID;
    case 2:
        return asn_type == ASN_OCTET_STR || asn_type == ASN_OPAQUE;
    case 3:
    case 6:
    case 7:
    case 8:
        return is_number_type(asn_type);
    case 4:
    case 5:
        return asn_type == ASN_IPADDRESS;
    default:
        return true;
    }
}

bool answer_matches(const netsnmp_pdu* resp, const std::vector<SentVar>& sent, int op) {
    const netsnmp_variable_list* v = resp->variables;
    for (const SentVar& s : sent) {
        if (!v)
            return false; // fewer answers than variables sent
        int cmp = snmp_oid_compare(v->name, v->name_length, s.name.data(), s.name.size());
        if (op == SNMP_OP_GETNEXT) {
            if (cmp <= 0)
                return false;
            if (has_prefix(v, s.base) && !answer_type_fits(s.data_type, v->type))
                return false;
        } else {
            if (cmp != 0)
                return false;
            if (op == SNMP_OP_GET && !answer_type_fits(s.data_type, v->type))
                return false;
        }
        v = v->next_variable;
    }
    return v == nullptr; // more answers than variables sent
}

namespace {

// The library session and transport of a peer, built by us: UDP to the
// resolved IPv4 address, port 161. Null (and *result set) when the name is
// refused or the transport cannot be made.
netsnmp_transport* peer_transport(const std::string& name, const std::string& community,
                                  int timeout, int retries, netsnmp_session* s, int* result) {
    snmp_sess_init(s);
    s->version = SNMP_VERSION_1;
    s->community = reinterpret_cast<u_char*>(const_cast<char*>(community.c_str()));
    s->community_len = community.size();
    s->retries = retries;
    s->timeout = timeout;
    // The peer is built here, never parsed by the library from the name.
    netsnmp_ep ep{};
    if (!mm_snmp_peer_addr(name, &ep.a.sin)) {
        *result = SR_UNKNOWN_HOST;
        return nullptr;
    }
    netsnmp_transport* t = netsnmp_udp_transport(&ep, 0);
    if (!t)
        *result = SR_NO_SESSION;
    return t;
}

} // namespace

netsnmp_session* mm_snmp_open_peer(const std::string& name, const std::string& community,
                                   int timeout, int retries, int* result) {
    netsnmp_session s;
    netsnmp_transport* t = peer_transport(name, community, timeout, retries, &s, result);
    if (!t)
        return nullptr;
    snmp_errno = 0;
    netsnmp_session* ss = snmp_add(&s, t, nullptr, nullptr);
    if (!ss)
        *result = SR_NO_SESSION;
    return ss;
}

void* mm_snmp_open_peer_sess(const std::string& name, const std::string& community, int timeout,
                             int retries, int* result) {
    netsnmp_session s;
    netsnmp_transport* t = peer_transport(name, community, timeout, retries, &s, result);
    if (!t)
        return nullptr;
    snmp_errno = 0;
    void* sess = snmp_sess_add(&s, t, nullptr, nullptr);
    if (!sess)
        *result = SR_NO_SESSION;
    return sess;
}
