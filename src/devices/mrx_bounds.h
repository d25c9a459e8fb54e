// The largest counts a Morix device can report, checked before any of them
// sizes an array or a loop. Taken from the product family's real sizes (the
// shipped catalogue and the simulator's device profiles), with headroom:
//
// | variable        | largest seen | bound | why                                    |
// |-----------------|--------------|-------|----------------------------------------|
// | totalPorts      | 64           | 128   | async port p is interface p + 1, below |
// |                 |              |       | the WAN interfaces (index 200)         |
// | totalSyncPorts  | 2            | 8     | sync interfaces follow the async ones  |
// | mrxpParaPorts   | 1            | 4     | one printer port per unit              |
// | mrxt1Total      | 2            | 8     | two WAN module slots; eight modules    |
// |                 |              |       | is the most the simulator can hold     |
// | mrxt1TotChan    | 30           | 31    | time slots of an E1 (T1: 24)           |
// | totalmodems     | 24           | 128   | at most one modem per async port       |
// | mrxt1WanIfIndex | 3            | 1 to 65535 | interface indexes are 16-bit here |
#pragma once

#include <string>

struct CountBound {
    const char* name; // catalogue name of the variable
    int min;
    int max;
};

constexpr CountBound MRX_COUNT_BOUNDS[] = {{"totalPorts", 0, 128},       {"totalSyncPorts", 0, 8},
                                           {"mrxpParaPorts", 0, 4},      {"mrxt1Total", 0, 8},
                                           {"mrxt1TotChan", 0, 31},      {"totalmodems", 0, 128},
                                           {"mrxt1WanIfIndex", 1, 65535}};

// The bound of a variable, or null when it has none.
const CountBound* mrx_count_bound(const std::string& name);

// Checks a value text of a bounded variable: it must be a decimal number
// within the bound. Returns "" when it is, else the operator's text naming
// the variable and the value. *value receives the number when it fits.
std::string check_mrx_count(const std::string& name, const std::string& text, int* value);
