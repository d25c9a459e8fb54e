// The Set window: one row per variable (name toggle, text field or option
// menu, "Dsp Diffs" button), the devices' current values in those rows, the
// differences window, validation, and the set funnel shared with scripts.
#pragma once

#include "ui/widget_ids.h"

#include <string>
#include <vector>

#include "ops/change.h"
#include "ops/set_cmd.h"
#include "ops/show.h"
#include "snmp_access/morix_record.h"

// Set window objects.

extern std::vector<SetRow> set_wlist;

extern int set_port_sel_ind;
extern int g_done_show_values;

// Port type codes offered by the window's option menu, with their labels.
std::string set_port_type_label(int code);
int set_port_type_code(const std::string& label);

// Opens (or rebuilds) the window for the current selection.
// Opens the Set window on the chosen parameters after the selection
// check; 1 when it opened, 0 when the check refused.
int process_set();
// Builds the row of one catalogue variable at the end of set_wlist.
void create_set_widgets(int mib_index);
// Frees the rows and empties the work area.
void free_set_widgets();
// Toggle of a row changed: its input becomes editable (and focused) when
// marked, read-only when not.
void sensitize_cb(int row, bool marked);
// Action of an object of the rows table by its id.
void set_row_action(int id, bool marked);
// The port type option menu changed.
void set_port_type_changed(const std::string& label);
// A change of the selection or the device list makes shown values stale.
void mark_set_values_outdated();

// The port list as typed, and the ports each device takes from it
// (resolve_ports for port_type); refusals receives each device's refusal.
struct SetPorts {
    int all = 0;
    std::vector<int> ports;
    std::vector<std::pair<const MorixRecord*, DevicePorts>> per_device;
    const DevicePorts& of(const MorixRecord* r) const;
};
SetPorts set_ports_of(const std::string& text, const std::vector<MorixRecord*>& devices,
                      int port_type, PortPurpose purpose, std::vector<std::string>* refusals);

// "Show Values" (all_rows 1) and the re-read after a set (0).
void get_set_cur_val(const SetRequest& req, int warned, int quiet_ports, int all_rows);
// The row of a catalogue variable (its choices when enumerated).
SetRow set_row_of(int mib_index);
// Clears the differences text, blanks every input, hides every "Dsp Diffs".
void reset_values_differ();
// Opens the differences window at the variable's section.
void val_dif_proc(int row);

// The windows' side of the change pipeline: run_change in a cancel dialog
// titled cancel_title over parent, and the question about values undo
// cannot write back, asked through asker (on OK those devices are sent
// theirs, accepting it).
ChangeOutcome send_change(ChangePlan plan, int parent, const char* cancel_title, Asker& asker);
// The same with the question box over parent.
ChangeOutcome send_change(ChangePlan plan, int parent, const char* cancel_title);
// The reset follow-up asked over parent and its lines written into output
// (when not 0), failures warned over parent.
void ask_change_reset(const ChangeOutcome& co, int parent, bool timeout_text, int output = 0);
// The window's warning about a device whose Set answered with an error.
std::string set_error_warning(const std::string& device);
// The report of one device into output; sets *error on any failure.
void process_set_req_res(const DeviceChange& d, int output, int parent, int* error, int cancelled);

// Which rows an action takes: a port variable needs ports, and its port
// class must fit the port type. Each warning at most once per action (in
// warnings).
struct RowTakeState {
    int warned_no_ports = 0;
    int warned_mismatch = 0;
};
bool set_row_taken(const SetRow& row, bool have_ports, int port_type, RowTakeState* warn,
                   std::vector<std::string>* warnings);
