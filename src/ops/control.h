// Boot, reset and broadcast: the device-control commands of the Boot
// dialog, the Reset window and the Broadcast window.
#pragma once

#include "ui/widget_ids.h"

#include <string>
#include <vector>

#include "snmp_access/morix_record.h"

// ---- Boot dialog -------------------------------------------------------------
// Toggles of boot options 1..7 at W_BOOT_OPT_FIRST + option - 1.
constexpr int W_BOOT_OPT_FIRST = W_BOOT_D_BOOT_NOW_TB;
constexpr int BOOT_OPTIONS = 7;
constexpr int BOOT_FIELDS = 6; // the six fields above, in boot_set_vars order

extern int boot_ind;
// Whether boot option (1..7) lets the operator edit field f (0..5, in
// boot_set_vars order); the other fields are insensitive and not sent.
bool boot_field_enabled(int option, int f);
// A boot option toggle changed: the option becomes current and the
// fields follow it. 1 when id is a boot option toggle.
int boot_option_action(int id);
void get_boot_vals(int first_time);
void process_boot();
void boot_proc();
// Opens the Boot dialog for the selected devices.
void open_boot_dialog();

// ---- Reset window ------------------------------------------------------------
constexpr int RESET_PRI = 97, RESET_MODEM = 98, RESET_PORT = 99;

extern int reset_ind;
extern int reset_port_type; // port type of a port reset (asy or ptr)
// The reset option and port type of a reset window toggle; false when id
// is not one.
bool reset_choice(int id, int* code, int* port_type);
int reset_option_action(int id);

// Why a reset number cannot be turned into an instance.
enum ResetInstError { RIE_OK = 0, RIE_NOT_AVAILABLE = 1, RIE_WAN_MODULE = 2, RIE_NO_PORT = 3 };
// The instance of the reset node for a number: typed 1 when the number was
// typed in the reset window (a WAN module number on devices that have
// several), 0 when a caller gave the instance-level number.
int reset_instance(const MorixRecord* rec, int code, int port_type, int number, int typed,
                   int* instance);
void process_reset();
// Performs reset code on the selected devices; ports are read from the
// window when parent is the reset window, else taken from port_list.
// 1 on full success, 0 when any device failed, was skipped or the reset
// stopped.
int reset_proc(int code, int parent, const std::vector<int>& port_list);
// Makes reset_proc what the reset question of other windows runs
// (g_reset_runner); called once at start-up.
void register_reset_command();

// ---- Broadcast window --------------------------------------------------------
constexpr int W_BCAST_OPT_FIRST = W_BCAST_ALL_PORTS_TB; // options 1..3
extern int bcast_ind;
int bcast_option_action(int id);
void process_bcast();

// True when the device answered the last request without any error.
bool control_sent_ok(const MorixRecord* rec);
// The warning for a device that refuses sets.
void warn_refuses_sets(int parent, const MorixRecord* rec);
