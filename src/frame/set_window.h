// The Set window: one row per variable (name toggle, text field or option
// menu, "Dsp Diffs" button), the devices' current values in those rows and
// the differences window. Its Apply is the Set command (ops/set_cmd.h).
#pragma once

#include <string>
#include <vector>

#include "ops/set_cmd.h"
#include "ui/widget_ids.h"

// Set window objects.

extern std::vector<SetRow> set_wlist;

extern int set_port_sel_ind;
extern int g_done_show_values;

// Port type codes offered by the window's option menu, with their labels.
std::string set_port_type_label(int code);
int set_port_type_code(const std::string& label);

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

// Clears the differences text, blanks every input, hides every "Dsp Diffs".
void reset_values_differ();
// Opens the differences window at the variable's section.
void val_dif_proc(int row);

// "Show Values" (all_rows 1) and the re-read after a set (0).
void get_set_cur_val(const SetRequest& req, int warned, int quiet_ports, int all_rows);
