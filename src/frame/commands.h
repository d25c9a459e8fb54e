// Entry points of the commands that the dispatch table routes to other
// subsystems. Each one is filled by the issue that owns its command; until
// then it tells the operator that the command is not available yet.
#pragma once

#include <string>

// Warning "The %s command is not available yet." over the given window.
void cmd_not_available(int parent_id, const std::string& name);

// Main window commands, by dispatch id.
void cmd_boot();            // 2
void cmd_copy_open();       // 5
void cmd_reset_open();      // 7
void cmd_set_open();        // 12, 52
void cmd_show_open();       // 13, 51
void cmd_udf_open();        // 15
void cmd_site_open();       // 16
void cmd_snmp_info_open();  // 17
void cmd_status(int id);    // 18, 19, 20, 81, 84, 85, 87, 88
void cmd_save_mrx_list();   // 22
void cmd_open_mrx_list();   // 23
void cmd_add_mrx();         // 28, 31
void cmd_delete_mrx();      // 32
void cmd_query_mrx();       // 33
void cmd_setup_basic();     // 71
void cmd_new_discovery();   // 79
void cmd_internal_modems(); // 80
void cmd_edit_cfg_file();   // 82
// A window's own command (Apply, Discover, Set, ...) by its id.
void cmd_window_action(int id);
// The Show and Set windows' commands; 1 when id is one of theirs.
int ops_window_action(int id);
// The script and Compare windows' commands; 1 when id is one of theirs.
int scripts_window_action(int id);
// The Boot, Reset, Broadcast and Internal Modems windows' controls; 1 when
// id is one of theirs.
int control_window_action(int id);
// The Copy window's commands; 1 when id is one of them.
int copy_window_action(int id);
// The status windows' commands; 1 when id is one of theirs.
int status_cmd_action(int id);
void status_cmd_window_closed(int form);
// A window was closed by its Close id (frees what it built).
void cmd_window_closed(int form);
void copy_window_closed(int form);
// An object of the Set window's rows table (UI_SET_ROWS) acted.
void cmd_set_row_action(int id);
// List double-click and selection change on lists other than the function list.
void cmd_list_action(int list_id, int pos, int reason);
void cmd_list_selection(int list_id);
// Start-up discovery with the command-line address, mask and time-out.
void cmd_startup_discovery(const std::string& naddr, const std::string& mask, int timeout);
// A new user-defined group of that name (the user groups window);
// returns the group command's result code.
int cmd_udf_new_group(const std::string& name);
// The device information window for the device at list position pos.
void cmd_show_mrx_info(int pos);
void cmd_hide_mrx_info();
// Basic-mode actions other than help and close.
void cmd_basic_action(int id);
