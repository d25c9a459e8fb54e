// Reachability probe: one Get of sysObjectID.0 to many devices at once, so
// that a list of unreachable addresses costs one time-out per batch instead
// of one per address. Identification then runs in order as before, skipping
// the devices that stayed silent.
#pragma once

#include <string>
#include <vector>

// Requests in flight at once: one batch covers a whole device list (63
// records), and the sockets stay well below the descriptor limit of
// select().
constexpr int MAX_PROBES_IN_FLIGHT = 64;

enum ProbeResult {
    PROBE_ANSWERED = 0, // any answer came back
    PROBE_SILENT = 4,   // no answer within time-out and retries
    PROBE_OTHER = -1,   // not probed (name refused, no session): identify as usual
    PROBE_CANCELLED = 17
};

struct ProbeTarget {
    std::string name, community;
    int timeout = 0; // microseconds
    int retries = 0;
};

// Probes every target (at most MAX_PROBES_IN_FLIGHT are waited for at a
// time) and returns one ProbeResult per target, in order. The cancel dialog
// is polled (with percent) at least every 100 ms; after a cancel the
// targets not yet answered are PROBE_CANCELLED.
std::vector<int> probe_reachable(const std::vector<ProbeTarget>& targets, int percent);
