// Checks of the request engine on what it sends to and takes from a peer:
// the peer address it builds itself, and the answers it accepts before any
// value reaches a parameter node.
#pragma once

#include <netinet/in.h>

#include <string>
#include <vector>

#include "snmp_access/snmp_values.h"

#include <net-snmp/library/snmpIPBaseDomain.h>
#include <net-snmp/library/snmpUDPDomain.h>

constexpr int MM_SNMP_PORT = 161;

// The peer of a record name: a dotted IPv4 address, or a host name
// (letters, digits, '-', '_' and dots) resolved to its first IPv4 address;
// UDP port 161 always. Anything else (a port suffix, a transport prefix, an
// IPv6 form) and a name that does not resolve give false.
bool mm_snmp_peer_addr(const std::string& name, sockaddr_in* out);

// Opens a library session (SNMP v1) to the peer built from name, with the
// community, time-out (microseconds) and retries given. Null when the name
// is refused or does not resolve (*result 6) or the session cannot be made
// (*result -3).
netsnmp_session* mm_snmp_open_peer(const std::string& name, const std::string& community,
                                   int timeout, int retries, int* result);
// The same as a session of the library's single-session interface (kept out
// of the library's list of open sessions); closed with snmp_sess_close.
void* mm_snmp_open_peer_sess(const std::string& name, const std::string& community, int timeout,
                             int retries, int* result);

// True when an answer of ASN type asn_type may carry a value of a variable
// of catalogue data type data_type. Numbers (codes 3, 6, 7, 8) accept any of
// INTEGER, Counter, Gauge and TimeTicks, since callers read them as decimal
// text; code 1 only OBJECT IDENTIFIER; code 2 OCTET STRING or Opaque; codes
// 4 and 5 only IpAddress; any other code (sent as NULL) every type.
bool answer_type_fits(int data_type, int asn_type);

// One variable of a request as sent: its identifier, and the catalogue
// identifier and data type it belongs to (data type 0 for an identifier
// without a catalogue entry).
struct SentVar {
    std::vector<oid> name;
    std::vector<oid> base; // catalogue identifier without instance
    int data_type = 0;
};

// Checks a noError answer against the request: as many variables as sent;
// Get and Set: each answer names the identifier sent at its position;
// GetNext: each answer's identifier is greater than the one sent. Get:
// each value's type fits the catalogue data type; GetNext: it must fit when
// the answer stays within the variable's catalogue identifier (past it the
// answer belongs to another variable and ends the caller's walk).
bool answer_matches(const netsnmp_pdu* resp, const std::vector<SentVar>& sent, int op);
