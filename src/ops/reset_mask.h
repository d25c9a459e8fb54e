// Reset masks: which resets the parameters that were really set need, the
// operator's question, and the automatic reset of each device. Also the
// marking of devices left incomplete by a cancel.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "snmp_access/morix_record.h"
#include "ui/outcome.h"

constexpr int MAX_RESET_PORTS = 128; // port numbers one slot keeps
constexpr int RESET_PORT_SLOTS = 7;  // by port type code; slot 0 unused

struct ResetPortSlot {
    int32_t all_ports = 0;
    int32_t count = 0;
    int32_t overflow = 0; // more distinct ports came than the slot holds
    std::array<uint32_t, MAX_RESET_PORTS> ports{};
};
using ResetPorts = std::array<ResetPortSlot, RESET_PORT_SLOTS>;

// One mask and one set of port slots per device-list position.
extern std::array<uint32_t, MAX_MRX_SLOTS> g_auto_reset_mask;
extern std::array<ResetPorts, MAX_MRX_SLOTS> g_input_port;

void clear_reset_masks();
void clear_input_ports(ResetPorts* ports);
// Adds a port to the slot of its type (1..6) unless already there. A port
// beyond the slot's capacity is refused: the slot is marked overflowed, and
// check_all_ports_set then resets that port type as a whole.
void save_port_to_be_reset(ResetPorts* ports, int port_type, int port);
// Sets the all-ports flag of each type whose saved ports cover the device.
void check_all_ports_set(const MorixRecord* rec, ResetPorts* ports);
// The mask of one device from its chain (nodes with status 0).
uint32_t build_reset_mask(MorixRecord* rec, ResetPorts* ports);
// 1 when the confirmation is off or the operator pressed "Reset".
int does_user_want_reset(int parent);
// The automatic resets of recs side by side (their masks and ports from
// g_auto_reset_mask and g_input_port): failed names joined by ", ", and a
// line in notes (may be null) for each change no reset applies to. A
// WAN-interface change resets its WAN module. 1 when all succeeded. report
// (when given) gets one line per device reset: its name and the ports or
// reset codes sent.
int auto_reset_list(const std::vector<MorixRecord*>& recs, std::string* failed_names,
                    std::vector<std::string>* notes, std::string* report = nullptr);
// The question before the automatic reset.
extern const char* const MSG_RESET_Q;
// The warning naming the devices a reset failed on (with the advice to
// raise the time-out when timeout_text).
std::string reset_warning_text(const std::string& names, bool timeout_text);
// The automatic reset's question ("Reset" or "Cancel").
Question reset_question();

// The reset of other windows, registered by the front end: sends reset
// code with the port list (empty for none) to the selected reachable
// devices and shows what became of it over parent, failed_text too when it
// failed (unless empty); 1 on success.
extern std::function<int(int code, const std::vector<int>& ports, int parent,
                         const std::string& failed_text)>
    g_reset_runner;
// The reset question of the basic-mode windows: on OK runs the codes (ended
// by the vector's end or a -1) through g_reset_runner, stopping after code 1.
// Returns 1 when the operator chose OK.
int confirm_reset_q(int parent, const std::vector<int>& codes);
