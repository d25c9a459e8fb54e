// Boot, reset and broadcast: the device-control commands of the Boot
// dialog, the Reset window, the Broadcast window and mm_cli.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "snmp_access/morix_record.h"
#include "snmp_access/port_inst.h"
#include "ui/outcome.h"
#include "ui/widget_ids.h"

// Each command serves the devices its request lists (the front end has run
// the selection check and passes the selected reachable ones) and returns
// what happened: the warnings, a report of the devices that took it, and
// the result of each device. Nothing here writes a window.

// ---- Boot --------------------------------------------------------------------
constexpr int BOOT_OPTIONS = 7;
constexpr int BOOT_FIELDS = 6; // load, dump, gateway, image, time, message
constexpr int BOOT_ADDRESSES = 3;
constexpr int BF_IMAGE = 3, BF_TIME = 4, BF_MESSAGE = 5;

// The boot option the Boot dialog shows (1..7).
extern int boot_ind;
// Whether boot option (1..7) lets the operator edit field f (0..5, in
// boot_set_vars order); the other fields are not sent.
bool boot_field_enabled(int option, int f);
// Options 5 and 6 need flash memory and a load over the network.
bool is_flash_option(int option);

// What the devices hold of the boot parameters: a value common to every
// device, or "" when one lacks it or they differ.
struct BootValues {
    std::array<std::string, BOOT_ADDRESSES> addresses; // load, dump, gateway
    std::string image;                                 // the image name
    bool flash = false;                                // every device can boot from flash
};
struct BootRead {
    Outcome outcome; // a warning when a value was missing or differed
    BootValues values;
};
// Reads the boot parameters of devs side by side.
BootRead read_boot_values(const std::vector<MorixRecord*>& devs);

// A boot as the Boot dialog (or mm_cli) asks for it.
struct BootRequest {
    std::vector<MorixRecord*> devices;
    int option = 1;                              // 1..7
    std::array<std::string, BOOT_FIELDS> fields; // as typed
    // The addresses as they were shown: only a changed address is sent.
    std::array<std::string, BOOT_ADDRESSES> shown;
};
struct BootOutcome {
    Outcome outcome;      // report: the devices that took the boot
    int cancelled_in = 0; // 1: while the parameters were set (nothing booted), 2: while booting
    bool refreshed = false;
    BootValues values; // the parameters read again after the first pass
};
// Checks the request, asks the confirmation through asker, sets the boot
// parameters, then the boot option. A cancel in the booting pass is left
// to the front end to word (cancelled_in 2, no warning).
BootOutcome process_boot(const BootRequest& req, Asker& asker);

// ---- Reset -------------------------------------------------------------------
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
    std::vector<MorixRecord*> devices;
    int code = 1;           // reset option: mrxcReset code, RESET_PORT, RESET_MODEM, RESET_PRI
    int port_type = PT_ASY; // port type of a port reset (asy or ptr)
    std::string ports;      // port, modem or PRI module numbers as typed
};
// The code to send for a request (every modem: the device-wide modem
// reset) and its numbers; refused, with the warning, when the numbers do
// not suit the option.
Outcome reset_request_code(const ResetRequest& req, int* code, std::vector<int>* ports);
// Checks the request, asks the confirmation through asker, then sends it
// (the numbers as typed, read by each device as resolve_ports reads them).
// The report names the devices that took it.
Outcome process_reset(const ResetRequest& req, Asker& asker);
// Sends reset code with ports to devs; typed as for reset_instance. The
// cancel dialog opens over dialog_parent.
Outcome reset_send(const std::vector<MorixRecord*>& devs, int code, int port_type,
                   const std::vector<int>& ports, bool typed, int dialog_parent);
// The reset of other commands (modem pages, the configuration file): sends
// code with instance-level numbers to the selected reachable devices
// through the runner the front end registered (g_reset_runner), which
// shows what became of it over parent (without one, nothing is shown). 1
// on full success.
int reset_proc(int code, int parent, const std::vector<int>& port_list);

// ---- Broadcast ---------------------------------------------------------------
// The broadcast option the Broadcast window shows (1..3).
extern int bcast_ind;
// A broadcast as the Broadcast window (or mm_cli) asks for it.
struct BcastRequest {
    std::vector<MorixRecord*> devices;
    int option = 1;   // 1 all ports, 2 active ports, 3 console
    std::string text; // the message
};
// Sends the message, then the broadcast, to the devices that allow sets.
// The report names the devices that took it.
Outcome process_bcast(const BcastRequest& req);

// The confirmation question of a command on devs: text, the device names
// (wrapped after every 60 characters) and "Do you want to continue?".
Question control_question(const std::string& text, const std::vector<MorixRecord*>& devs);

// True when the device answered the last request without any error.
bool control_sent_ok(const MorixRecord* rec);
// The warning for a device that refuses sets.
std::string refuses_sets_warning(const MorixRecord* rec);
// What became of each device of a command that sent devs a change (what
// names it, as in "the reset"): refused when it does not allow Sets,
// cancelled after a cancel, not sent when it did not take it, else done.
// Every device of devs after the operator declined the command.
std::vector<DeviceOutcome> declined_outcomes(const std::vector<MorixRecord*>& devs,
                                             const std::string& what);
std::vector<DeviceOutcome> control_outcomes(const std::vector<MorixRecord*>& devs,
                                            const std::vector<MorixRecord*>& failed, bool cancelled,
                                            const std::string& what);
