// One received trap as an event: who sent it, what it says, each variable
// named through the catalogue. Decoding uses the SNMP library's own parser;
// every count and length a sender controls is bounded here.
#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <string>
#include <vector>

// Bounds of one event against hostile senders.
constexpr size_t EVENT_MAX_VARS = 32;       // variable bindings kept per trap
constexpr size_t EVENT_MAX_VALUE = 256;     // bytes of a value text kept
constexpr size_t EVENT_MAX_DATAGRAM = 8192; // larger datagrams are not decoded

struct TrapVar {
    std::string name;      // catalogue name; the dotted identifier when unknown
    std::string oid;       // dotted identifier as received
    std::string instance;  // what follows the catalogue identifier ("" when unknown)
    int port = 0;          // the port the instance names on a known device, 0 none
    std::string value;     // value text (the program's value formats)
    std::string enum_name; // enumeration name of the value, "" when none
};

struct TrapEvent {
    int64_t time_ms = 0;    // received, milliseconds since 1970 (UTC)
    std::string source;     // sender's address
    std::string device;     // the device's name in the list, "" when unknown
    std::string agent_addr; // the agent address the trap carries
    std::string community;
    bool community_ok = false; // equals the device's community (the default one when unknown)
    std::string enterprise;    // dotted
    int generic = 0;
    int specific = 0;
    unsigned long uptime = 0; // the device's time ticks
    std::vector<TrapVar> vars;
    int vars_cut = 0; // bindings beyond EVENT_MAX_VARS, not kept
};

enum class TrapDecode {
    ok,
    malformed, // the library could not parse it, or it was too long
    not_trap   // a message, but not an SNMPv1 trap
};

// Decodes one datagram into *ev (time and source are left to the caller).
TrapDecode decode_trap(const unsigned char* data, size_t len, TrapEvent* ev);

// Fills device, community_ok and each variable's port from the device list:
// the device whose address is the sender's (else the agent address).
void name_trap_source(const sockaddr_in& from, TrapEvent* ev);

// What kind of trap: the generic name, or for enterprise traps the family's
// trap name or "enterpriseSpecific/N".
std::string event_kind(const TrapEvent& ev);

// "2026-12-07T16:55:00.123Z".
std::string event_time_text(int64_t time_ms);

// One line of text (no line end): time, source, device, kind, community
// flag, uptime and the variables as NAME.INSTANCE[port P]=VALUE.
std::string event_text_line(const TrapEvent& ev);
