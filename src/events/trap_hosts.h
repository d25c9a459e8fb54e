// "Send traps here": points the devices' traps at this station by setting
// mrxSnmpTrapHost1 (or 2) and mrxSnmpTrapCommunity, with the undo script
// and the read-back of every change of configuration.
#pragma once

#include <string>
#include <vector>

#include "snmp_access/morix_record.h"
#include "ui/outcome.h"

struct ChangeOutcome;

struct TrapHostsRequest {
    int slot = 1;          // mrxSnmpTrapHost1 or mrxSnmpTrapHost2
    std::string address;   // this station as the devices reach it; "": found per device
    std::string community; // the traps' community; "": each device's own
};

// Sets the trap host and community on each device (devices that refuse
// Sets, or whose route back cannot be found, are sent nothing). The report
// has one line per device and the undo and read-back lines.
// change (when given) receives the pipeline's outcome, on which the
// reset follow-up is answered.
Outcome send_traps_here(const TrapHostsRequest& req, const std::vector<MorixRecord*>& devices,
                        ChangeOutcome* change = nullptr);

// The address of this station on the route to a device (the source address
// a datagram to it would carry); "" when there is no route.
std::string station_address_towards(const sockaddr_in& device);
