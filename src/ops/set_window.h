// The Set window: one row per variable (name toggle, text field or option
// menu, "Dsp Diffs" button), the devices' current values in those rows, the
// differences window, validation, and the set funnel shared with scripts.
#pragma once

#include "ui/widget_ids.h"

#include <string>
#include <vector>

#include "ops/change.h"
#include "ops/show.h"
#include "snmp_access/morix_record.h"

// Set window objects.

struct SetChoice {
    int value;
    std::string name;
};

// One row of the window; its objects are in the rows table (UI_SET_ROWS)
// at set_row_id(row, part).
struct SetRow {
    int mib_index = 0;
    bool enumerated = false;
    std::vector<SetChoice> choices;
    bool vd_shown = false; // "Dsp Diffs" is shown
};
extern std::vector<SetRow> set_wlist;

// The Set window as the operator left it: the ports typed and, per row of
// set_wlist (in order), whether it is marked and its input (the option
// menu's choice of an enumerated row, the text of another). Rows past the
// end of rows count as not marked.
struct SetRowInput {
    bool marked = false;
    std::string option;
    std::string text;
};
struct SetRequest {
    std::string ports;
    std::vector<SetRowInput> rows;
    bool marked(int row) const {
        return row >= 0 && row < static_cast<int>(rows.size()) && rows[row].marked;
    }
};
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

// The Set window's port list as typed, and the ports each selected,
// reachable device takes from it (resolve_ports; with warn, each device's
// refusal is warned about).
struct SetPorts {
    int all = 0;
    std::vector<int> ports;
    std::vector<std::pair<const MorixRecord*, DevicePorts>> per_device;
    const DevicePorts& of(const MorixRecord* r) const;
};
SetPorts set_window_ports(const std::string& text, int warn,
                          PortPurpose purpose = PortPurpose::write);

// "Show Values" (all_rows 1) and the re-read after a set (0).
void get_set_cur_val(const SetRequest& req, int warned, int quiet_ports, int all_rows);
// Result of the Set window's Apply.
enum SetResult {
    SET_DONE = 0,      // every marked value was set
    SET_ERRORS = 1,    // set with errors
    SET_CANCELLED = 2, // the operator cancelled
    SET_NOT_DONE = 3   // nothing was set (no valid row, no port, refused)
};
// Apply of the Set window: the marked rows set on the selected devices. A
// SetResult.
int read_set_val_proc(const SetRequest& req);
// The row of a catalogue variable (its choices when enumerated).
SetRow set_row_of(int mib_index);
// What the set commands report besides each device's lines.
enum SetReport {
    SR_SAY_COMPLETE = 1, // "Set complete." (or the cancel note) at the end
    SR_REREAD = 2        // the Set window's rows read again afterwards
};
// The Set of the marked rows of wlist (the Set window's, or rows made by
// set_row_of) on the selected devices at the ports of req, with the port
// type set_port_sel_ind: validated, built, sent through the change
// pipeline and reported into output over parent (report: SetReport bits).
// A SetResult.
int set_values_proc(const std::vector<SetRow>& wlist, const SetRequest& req, int output, int parent,
                    int report);
// Clears the differences text, blanks every input, hides every "Dsp Diffs".
void reset_values_differ();
// Opens the differences window at the variable's section.
void val_dif_proc(int row);

// The windows' side of the change pipeline: run_change in a cancel dialog
// titled cancel_title over parent, and the question about values undo
// cannot write back (on OK those devices are sent theirs, accepting it).
ChangeOutcome send_change(ChangePlan plan, int parent, const char* cancel_title);
// The reset follow-up of a change that needs one: the question (unless it
// is turned off) and the resets; failures warned over parent (with the
// time-out advice when timeout_text).
// output (when not 0) gets the lines of the resets sent.
void ask_change_reset(const ChangeOutcome& co, int parent, bool timeout_text, int output = 0);

// Sends the chains built for the selected devices through the change
// pipeline, reports into output (a message or output area of window
// parent), ends with "Set complete." and re-reads the Set window's rows by
// the SetReport bits of redisplay, and offers the automatic reset. devices,
// when given, replaces the selected devices.
int process_set_req(int output, int parent, int redisplay, int warned, int nonexistent, int* error,
                    int* cancelled, const std::vector<MorixRecord*>* devices = nullptr);
// The report of one device; sets *error on any failure.
void process_set_req_res(const DeviceChange& d, int output, int parent, int* error, int cancelled);

// Which rows an action takes: a port variable needs ports, and its port
// class must fit the window's port type. Warns at most once per action.
struct RowTakeState {
    int warned_no_ports = 0;
    int warned_mismatch = 0;
};
bool set_row_taken(const SetRow& row, bool have_ports, int port_type, RowTakeState* warn,
                   int parent);
