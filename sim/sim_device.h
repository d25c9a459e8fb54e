// One simulated device (its profile, object view and fault state) and the
// SNMP v1 agent and discovery responder that answer for it.
#pragma once

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "sim_profile.h"
#include "sim_view.h"

struct SimDevice {
    SimProfile profile;
    std::string address; // dotted, 127.x.y.z
    DeviceView view;
    FaultSettings faults;
    std::mt19937 rng;
    std::chrono::steady_clock::time_point start;
    ViewEntry* allow_sets_entry = nullptr; // mrxAllowSets when the catalogue has it
    long requests = 0;
    // With the boot_silence fault: no answers until then (a reboot).
    std::chrono::steady_clock::time_point silent_until;
    // Trap state (sim_traps.cpp): the second of up time last looked at, the
    // call in progress (async port, 0 none; its start second), calls so far
    // and unexpected disconnects not yet reported.
    long trap_second = 0;
    int call_port = 0;
    long call_start = 0;
    long calls = 0;
    long cut_calls = 0;
};

// Where recorded control Sets go (null: nowhere).
struct ControlLog {
    FILE* file = nullptr;
    FILE* requests = nullptr; // every request taken, one line each (null: none)
};

// Prepares a device: view, faults (profile faults, then the extra words),
// random generator. Returns 0, or -1 with a message.
int init_sim_device(SimDevice* dev, const SimProfile& profile, const std::string& address,
                    const std::vector<std::string>& extra_faults, std::string* error);

// Answers one SNMP datagram. Replies (in sending order; a stray reply with
// a wrong request id comes first when that fault is on) are appended to
// *replies; nothing is appended for a datagram that gets no answer.
void handle_snmp_datagram(SimDevice* dev, const unsigned char* data, size_t len, ControlLog* log,
                          std::vector<std::string>* replies);

// Answers a discovery request: a reply when the datagram is a well-formed
// 22-byte request, else nothing.
void handle_discovery(const SimDevice& dev, const unsigned char* data, size_t len,
                      std::vector<std::string>* replies);

// True when a datagram is a well-formed discovery request.
bool is_discovery_request(const unsigned char* data, size_t len);
// Spoils a noError answer resp to req as the tamper mode says.
void tamper_answer(int mode, const netsnmp_pdu* req, netsnmp_pdu* resp);
// Discovery flood reply i to request: it names 127.200.(i / 250).(i % 250 + 1).
std::string flood_reply(const unsigned char* request, int i);

// True when the drop fault says this datagram is to be lost.
bool drop_datagram(FaultSettings* faults, std::mt19937* rng);
// True while a device is rebooting (boot_silence fault) or the drop fault
// loses the datagram.
bool device_ignores(SimDevice* dev);

// Encodes a PDU as the device's agent does; false when the library refuses.
bool encode_sim_pdu(netsnmp_pdu* pdu, std::string* out);
// Up time of the device in hundredths of a second.
long sim_uptime_ticks(const SimDevice& dev);

// Sets up the Net-SNMP library for encoding and decoding only (no MIBs,
// no configuration files, no persistent state, no logging).
void init_sim_snmp();

// The variables whose Sets are recorded in the control log.
bool is_control_variable(const std::string& name);
