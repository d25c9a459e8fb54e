// The one reading of an operator's port text. Every command that takes ports
// from the operator (Show, Show Values, Set, port and module resets, copy,
// scripts, status windows, the WAN pages, mm_cli) turns the text into each
// device's ports here, so that one text names the same ports of a device in
// every command.
//
// The rule: a number names a port of the chosen type that the device has,
// counted from 1. For the WAN interface type the number is a WAN module
// number on every device on which identification found WAN modules (module
// n is the n-th interface index identification read); the port handed on is
// that module's interface index. "all" is every port of the type the device
// has. A number the device does not have is refused for that device, with a
// reason that names the device; it is never handed on as a raw index.
#pragma once

#include <string>
#include <vector>

#include "snmp_access/morix_record.h"

// What the ports are wanted for; it words the refusal.
enum class PortPurpose { read, write, reset, copy, script, status, page };

// The ports one device takes from an operator's port list.
struct DevicePorts {
    // 1: the command expands the device's ports of the type itself (WAN
    // channels, intervals and channels, whose instances depend on the
    // device's modules); ports is then empty.
    int all = 0;
    // Port numbers the parameter builders take: WAN interface ports as the
    // modules' interface indexes, every other type as typed.
    std::vector<int> ports;
    // Numbers of the list the device does not have (left out of ports).
    std::vector<int> refused;
    // Empty, or "<device>  why" when numbers were refused or the device has
    // no port of the type.
    std::string refusal;
};

// WAN modules identification found on the device with their interface
// indexes (0 when it found none).
int wan_modules(const MorixRecord& rec);
// Ports of the type a device has, numbered from 1 (WAN interfaces: its
// modules; channels of the WAN channel type: those of its first module).
int port_count(const MorixRecord& rec, int port_type);
// True when the device reads numbers of port_type as WAN module numbers.
bool takes_module_numbers(const MorixRecord& rec, int port_type);

// The device's ports named by a parsed list (all = 1 for the keyword).
DevicePorts resolve_ports(const MorixRecord& rec, int port_type, int all,
                          const std::vector<int>& numbers, PortPurpose purpose);
// The same from the text as typed ("1-4,7", "all").
DevicePorts resolve_port_text(const MorixRecord& rec, int port_type, const std::string& text,
                              PortPurpose purpose);
// One WAN module (1..wan_modules) as its interface index, or 0.
int module_if_index(const MorixRecord& rec, int module);

// The number an operator gives for a port the builders numbered: the
// module number of a WAN interface index (0 when no module has it), every
// other port as it is.
int operator_port_number(const MorixRecord& rec, int port_type, int port);

// The sentence help texts and refusals use for which devices take WAN
// module numbers.
extern const char* const MODULE_NUMBER_RULE;
