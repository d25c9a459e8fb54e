// What a front end (the windowed program or the command line) needs of the
// program beneath the UI services: its start-up and the command dispatcher
// by widget id. Declared here so that a front end reaches the commands only
// by widget id; the frame implements them.
#pragma once

#include <string>
#include <vector>

// Sets mm_dir from GUI_MM_DIR or the default directory, putting the default
// into the environment. Returns the warning to show later ("" when none).
std::string resolve_mm_dir();
// Reads the MIB catalogue, the hotspot help and the function catalogue,
// fills the main function list, empties the device and discovery lists and
// sets the SNMP defaults. Returns 0 or -4.
int gui_init();

// Login name of the process owner, at most 8 characters.
std::string mm_login_name();
// 1 when the users list at path holds login (read in pieces of at most 8
// characters, white space removed), 0 when not, -1 when it cannot be opened.
int user_in_list(const std::string& path, const std::string& login);

// Runs the command of a widget id, as the control with that id would.
// Returns 1 for a known id, 0 otherwise.
int dispatch_main(int id);
// The ids of the commands of the window whose form is form, in the order
// of its row.
std::vector<int> window_command_ids(int form);
// Selection change in a list, as the list reports it.
void list_selection_main(int list_id);
// OK of the group-name prompt (id 259); returns 1 when the prompt closes.
int prompt_name_ok(const std::string& typed);
