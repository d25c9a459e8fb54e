#include "events/trap_encode.h"

#include <arpa/inet.h>

#include <cstdlib>
#include <cstring>

#include "snmp_access/snmp_engine.h"
#include "snmp_access/snmp_values.h"

namespace {

std::string encode(netsnmp_pdu* pdu) {
    netsnmp_session s;
    snmp_sess_init(&s);
    s.version = SNMP_VERSION_1;
    s.sndMsgMaxSize = 65507;
    size_t pkt_len = 70000, offset = 0;
    u_char* pkt = static_cast<u_char*>(std::malloc(pkt_len));
    std::string out;
    if (snmp_build(&pkt, &pkt_len, &offset, &s, pdu) == 0)
        out.assign(reinterpret_cast<char*>(pkt + pkt_len - offset), offset);
    std::free(pkt);
    snmp_free_pdu(pdu);
    return out;
}

} // namespace

std::string encode_get(const std::string& community) {
    mm_snmp_init();
    netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GET);
    pdu->version = SNMP_VERSION_1;
    pdu->community = reinterpret_cast<u_char*>(strdup(community.c_str()));
    pdu->community_len = community.size();
    oid name[] = {1, 3, 6, 1, 2, 1, 1, 3, 0};
    snmp_add_null_var(pdu, name, 9);
    return encode(pdu);
}

std::string encode_trap(const std::string& community, const std::string& enterprise, int generic,
                        int specific, const std::vector<TestVar>& vars, const std::string& agent) {
    mm_snmp_init();
    netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_TRAP);
    pdu->version = SNMP_VERSION_1;
    pdu->community = reinterpret_cast<u_char*>(strdup(community.c_str()));
    pdu->community_len = community.size();
    oid name[128];
    size_t len = 0;
    parse_dotted_oid(enterprise, name, 128, &len);
    pdu->enterprise = static_cast<oid*>(std::malloc(len * sizeof(oid)));
    std::memcpy(pdu->enterprise, name, len * sizeof(oid));
    pdu->enterprise_length = len;
    inet_pton(AF_INET, agent.c_str(), pdu->agent_addr);
    pdu->trap_type = generic;
    pdu->specific_type = specific;
    pdu->time = 4200;
    for (const TestVar& v : vars) {
        parse_dotted_oid(v.oid, name, 128, &len);
        snmp_add_var(pdu, name, len, v.type, v.value.c_str());
    }
    return encode(pdu);
}
