#include "events/trap_kinds.h"

const char* generic_trap_name(int generic) {
    static const char* const names[] = {
        "coldStart",       "warmStart",         "linkDown", "linkUp", "authenticationFailure",
        "egpNeighborLoss", "enterpriseSpecific"};
    return generic >= 0 && generic <= 6 ? names[generic] : "unknown";
}

std::string morix_trap_name(const std::string& enterprise, int specific) {
    if (enterprise != MORIX_TRAP_ENTERPRISE)
        return "";
    switch (specific) {
    case TRAP_CALL_BEGIN:
        return "callBegin";
    case TRAP_CALL_END:
        return "callEnd";
    case TRAP_UNEXPECTED_DISCONNECT:
        return "unexpectedDisconnect";
    case TRAP_WAN_THRESHOLD:
        return "wanThreshold";
    default:
        return "";
    }
}
