// The traps of the device family: their enterprise and specific numbers,
// shared by the receiver (which names them) and the simulator (which sends
// them), so both ends use one definition.
#pragma once

#include <string>

// The enterprise of the device family's own traps (the traps arc of the
// catalogue, beside the thresholds that govern them).
constexpr const char* MORIX_TRAP_ENTERPRISE = "1.3.6.1.4.1.32473.2.20";

// Specific trap numbers under MORIX_TRAP_ENTERPRISE.
enum MorixTrap {
    TRAP_CALL_BEGIN = 1,            // a call began on a port
    TRAP_CALL_END = 2,              // a call ended (at least callEndTrapThresh seconds long)
    TRAP_UNEXPECTED_DISCONNECT = 3, // unexpectDisconnectTrapThresh calls were cut
    TRAP_WAN_THRESHOLD = 10         // a WAN error counter passed its threshold
};

// Generic trap numbers of SNMPv1.
enum GenericTrap {
    GT_COLD_START = 0,
    GT_WARM_START = 1,
    GT_LINK_DOWN = 2,
    GT_LINK_UP = 3,
    GT_AUTH_FAILURE = 4,
    GT_EGP_NEIGHBOR_LOSS = 5,
    GT_ENTERPRISE_SPECIFIC = 6
};

// "coldStart" ... "enterpriseSpecific"; "unknown" outside 0..6.
const char* generic_trap_name(int generic);
// The name of one of the family's traps ("callBegin", ...), or "" when the
// enterprise is not the family's or the number is not one of its traps.
std::string morix_trap_name(const std::string& enterprise, int specific);
