// The traps a simulated device sends to the trap hosts it holds
// (mrxSnmpTrapHost1 and 2, with mrxSnmpTrapCommunity): coldStart when it
// starts, call begin and end from its call model above the thresholds,
// unexpected disconnects and WAN threshold traps on its fault words
// (sim/README.md, "Traps").
#pragma once

#include <netinet/in.h>

#include <string>
#include <vector>

#include "sim_device.h"

struct TrapDatagram {
    sockaddr_in to{};
    std::string data;
    int delay_ms = 0; // leaves this much after now
};

// The traps of the start: coldStart, then the trap_burst storm.
void start_traps(SimDevice* dev, std::vector<TrapDatagram>* out);
// The traps of the seconds of up time since the last call (calls,
// disconnects, WAN errors); called at least once a second.
void tick_traps(SimDevice* dev, std::vector<TrapDatagram>* out);
