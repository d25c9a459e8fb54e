// Boot, reset and broadcast: the device-control commands of the Boot
// dialog, the Reset window and the Broadcast window.
#pragma once

#include "ui/widget_ids.h"

#include <array>
#include <string>
#include <vector>

#include "snmp_access/morix_record.h"
#include "snmp_access/port_inst.h"
#include "ui/outcome.h"

// The commands on the selected devices return a Result: done when every
// device took it, failed when a device failed or refuses sets or the
// operator cancelled, refused when the request itself was refused (the
// warning says why).

// ---- Boot dialog -------------------------------------------------------------
// Toggles of boot options 1..7 at W_BOOT_OPT_FIRST + option - 1.
constexpr int W_BOOT_OPT_FIRST = W_BOOT_D_BOOT_NOW_TB;
constexpr int BOOT_OPTIONS = 7;
constexpr int BOOT_FIELDS = 6; // the six fields above, in boot_set_vars order

extern int boot_ind;
// Whether boot option (1..7) lets the operator edit field f (0..5, in
// boot_set_vars order); the other fields are insensitive and not sent.
bool boot_field_enabled(int option, int f);
// The dialog's field f (0..5).
int boot_field_id(int f);
constexpr int BF_TIME = 4; // the boot time field
// What Boot takes from the dialog: its six fields as typed, in
// boot_set_vars order (the option is boot_ind).
struct BootRequest {
    std::array<std::string, BOOT_FIELDS> fields;
};
// A boot option toggle changed to set: the option becomes current and the
// fields follow it. 1 when id is a boot option toggle.
int boot_option_action(int id, bool set);
void get_boot_vals(int first_time);
// Boot: the request checked, then the operator's confirmation runs
// boot_proc. A Result (refused also while the question waits).
Result process_boot(const BootRequest& req, std::vector<DeviceOutcome>* devices = nullptr);
// Sets the boot values, then the boot option, on the selected devices.
Result boot_proc(const BootRequest& req, std::vector<DeviceOutcome>* devices = nullptr);
// Opens the Boot dialog for the selected devices: done, or refused
// when the selection has no reachable device.
Result open_boot_dialog();
// Whether the dialog opened last offers the option (the flash options only
// when every device can boot from flash).
bool boot_option_offered(int option);

// ---- Reset window ------------------------------------------------------------
constexpr int RESET_PRI = 97, RESET_MODEM = 98, RESET_PORT = 99;

extern int reset_ind;
extern int reset_port_type; // port type of a port reset (asy or ptr)
// The reset option and port type of a reset window toggle; false when id
// is not one.
bool reset_choice(int id, int* code, int* port_type);
// A reset window toggle changed to set: its option becomes current. 1 when
// id is one.
int reset_option_action(int id, bool set);

// Why a reset number cannot be turned into an instance.
enum ResetInstError { RIE_OK = 0, RIE_NOT_AVAILABLE = 1, RIE_WAN_MODULE = 2, RIE_NO_PORT = 3 };
// The instance of the reset node for a number: typed 1 when the number was
// typed in the reset window (a PRI module number is a WAN module number on
// every device with modules, see resolve_ports), 0 when a caller gave the
// instance-level number.
int reset_instance(const MorixRecord* rec, int code, int port_type, int number, int typed,
                   int* instance);

// A reset as the Reset window (or mm_cli) asks for it.
struct ResetRequest {
    int code = 1;           // reset option: mrxcReset code, RESET_PORT, RESET_MODEM, RESET_PRI
    int port_type = PT_ASY; // port type of a port reset (asy or ptr)
    std::string ports;      // port, modem or PRI module numbers as typed
};
// The code to send for a request (every modem: the device-wide modem
// reset) and its numbers; -1 after a warning over parent when the numbers
// do not suit the option.
int reset_request_code(const ResetRequest& req, int parent, std::vector<int>* ports);
// Sends the request to the selected reachable devices (the numbers typed,
// read by each device as resolve_ports reads them).
Result reset_exec(const ResetRequest& req, int parent,
                  std::vector<DeviceOutcome>* devices = nullptr);
// Sends reset code with ports to the selected reachable devices; typed as
// for reset_instance.
Result reset_send(int code, int port_type, const std::vector<int>& ports, bool typed, int parent,
                  std::vector<DeviceOutcome>* devices = nullptr);
// reset_send with instance-level numbers and the window's port type: 1 on
// full success, 0 when any device failed, was skipped or the reset stopped.
int reset_proc(int code, int parent, const std::vector<int>& port_list);
// Makes reset_proc what the reset question of other windows runs
// (g_reset_runner); called once at start-up.
void register_reset_command();

// ---- Broadcast window --------------------------------------------------------
constexpr int W_BCAST_OPT_FIRST = W_BCAST_ALL_PORTS_TB; // options 1..3
extern int bcast_ind;
// A broadcast option toggle changed to set. 1 when id is one.
int bcast_option_action(int id, bool set);
// A broadcast as the Broadcast window (or mm_cli) asks for it.
struct BcastRequest {
    int option = 1;   // 1 all ports, 2 active ports, 3 console
    std::string text; // the message
};
// Sends the message, then the broadcast, to the selected reachable devices
// that allow sets. devices, when given, receives what became of each.
Result bcast_exec(const BcastRequest& req, std::vector<DeviceOutcome>* devices = nullptr);

// True when the device answered the last request without any error.
bool control_sent_ok(const MorixRecord* rec);
// The warning for a device that refuses sets.
void warn_refuses_sets(int parent, const MorixRecord* rec);
// What became of each device of a command that sent devs a change (what
// names it, as in "the reset"): refused when it does not allow Sets,
// cancelled after a cancel, not sent when it did not take it, else done.
std::vector<DeviceOutcome> control_outcomes(const std::vector<MorixRecord*>& devs,
                                            const std::vector<MorixRecord*>& failed, bool cancelled,
                                            const std::string& what);
