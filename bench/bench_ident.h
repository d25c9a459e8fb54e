// Identification and chain-building figures of the request engine
// benchmark: devices identified from a list file against the loopback round
// trip of a plain UDP ping-pong, and the cost of appending nodes.
#pragma once

#include <string>

// Mean wall seconds of one UDP round trip between this process and an echo
// child on loopback (rounds exchanges after a warm-up); -1 on failure.
double udp_round_trip(int rounds);

// Identification of devices listed in a list file (address, community
// vantor, time-out 2 s, 1 retry), loaded through the device list load.
struct IdentFigures {
    int devices = 0;
    int listed = 0;    // records in the device list afterwards
    int reachable = 0; // of them identified
    long requests = 0; // PDUs sent
    double wall = 0;   // seconds
};
// Writes the list file for addresses addr(0..devices-1) into dir.
std::string write_ident_list(const std::string& dir, int devices, std::string (*addr)(int));
IdentFigures identify_list(const std::string& list_path, int devices);

// Wall seconds of appending n scalar nodes to an empty chain (freed after).
double chain_build_seconds(int n);
