// What makes a simulated device look alive: Counter objects that advance
// with the device's up time at a steady rate, the T1 module's own up time,
// and sensible starting values of the state variables (flow states,
// channel status, LEDs, line status, processes, buffers, memory) that a
// profile's "set" lines may override.
#pragma once

#include <string>

#include "sim_device.h"

// The profile keyword "counter_rate": "counter_rate N" sets the rate of
// every counter of the device (per second of up time), "counter_rate NAME
// N" the rate of one variable. Returns 1 when handled, 0 for another
// keyword, -1 for a bad line. Also "clock_step TICKS": up time advances by
// TICKS hundredths of a second per request instead of with the wall clock.
int parse_live_keyword(const std::string& key, const std::string& rest, SimProfile* p);

// The rate of a counter of this device: its own, the device's, or the
// default of the product type (5 + product type).
long counter_rate_of(const SimProfile& p, const std::string& name);

// The value an object answers now: a Counter is its starting value plus
// rate × whole seconds of up time (modulo 2^32, as a Counter32 wraps);
// mrxt1UpTime is the up time; everything else its stored value.
long live_value(const SimDevice& dev, const ViewEntry& e, long uptime_ticks);

// Starting values of the state variables (before the profile's sets).
void apply_state_defaults(const SimProfile& p, DeviceView* view);
