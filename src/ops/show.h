// The Show command: reads the chosen variables from every selected,
// reachable device and prints them into an output area, plus the builders
// that turn a selection of catalogue names into parameter chains.
#pragma once

#include "ui/widget_ids.h"

#include <functional>
#include <string>
#include <vector>

#include "snmp_access/morix_record.h"
#include "snmp_access/port_resolve.h"
#include "ui/outcome.h"

// Port type code chosen for Show (main window selector, Show window toggles).
extern int show_port_sel_ind;

// Show window objects.

// What a Show asks for.
struct ShowRequest {
    std::vector<std::string> items; // catalogue labels (param_sel 1) or one function name (0)
    int param_sel = 1;
    int port_type = 1;
    std::string ports;                 // port list as typed
    bool detailed = false;             // the detailed report
    int parent = 0;                    // window over which the cancel dialog opens
    std::vector<MorixRecord*> devices; // the devices to read, in list order
};

// The Show window's port type toggles and the port type code each selects.
struct PortTypeChoice {
    int toggle_id; // Show window toggle
    int code;      // port type code
    const char* label;
};
const std::vector<PortTypeChoice>& port_type_choices();
// Port type code of a Show window toggle id, or -1.
int show_toggle_port_type(int toggle_id);

// The banner the Show window's output area opens with.
extern const char* const SHOW_BANNER;

// The Show command (after the selection check): port conversion and check,
// chain building, the fetch under the "Cancel Show" dialog. The outcome's
// report is the Show window's text, its devices those of the request with
// what was read of each. done: every device answered; failed: a device
// could not be read; cancelled: the operator cancelled; refused: the chosen
// parameters or function are not in the catalogue (a warning says so).
Outcome process_show(const ShowRequest& req);
// What a Show read of one device (its status and nodes), as a result.
DeviceOutcome show_device_outcome(const MorixRecord& r);
// Reads the chains of the selected, reachable devices with one Get each, all
// devices at once (mm_snmp_all), the open cancel dialog counting the
// devices done. After a cancel, devices not started get status 17 and those
// in flight their unserved nodes 17. Returns the end of the list (the
// position from which a caller would mark devices incomplete).
int get_sel_mrx_values();
// Called with each device of the report, before its chain is freed, when
// set (mm_cli --json reads the values, port types and statuses there).
extern std::function<void(const MorixRecord&)> show_device_listener;
// The report of the devices (their chains freed as they are written).
std::string format_show_output(const std::vector<MorixRecord*>& devices, int detailed);

// Nodes (Get, empty value) for each catalogue name of labels on one device.
// 0 or PORT_NOT_FOUND.
int build_prm_list_sng(const std::vector<std::string>& labels, int all_ports, int port_count,
                       const std::vector<int>& ports, int port_type, MorixRecord* rec);

// Warning after a command that was given ports a device does not have.
extern const char* const MSG_NONEXISTENT_PORTS;
