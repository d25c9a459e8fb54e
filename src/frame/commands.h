// The commands that the registry's rows run (registry_rows*.cpp): each
// takes the id of the control that ran it and returns 1 when it handled
// it. Commands that are one call of a lower layer are named in the rows
// directly; these are the ones with work of their own in the frame.
#pragma once

#include <string>

// Warning "The %s command is not available yet." over the given window.
void cmd_not_available(int parent_id, const std::string& name);

// Main window (dispatch.cpp, commands_*.cpp).
int cmd_exit(int id);
int cmd_about(int id);
int cmd_func_mode(int id);
int cmd_auto_reset(int id);
int cmd_customize(int id);
int cmd_port_type(int id);
int cmd_open_mrx_list(int id);
int cmd_save_mrx_list(int id);
int cmd_add_mrx(int id);
int cmd_delete_mrx(int id);
int cmd_query_mrx(int id);
int cmd_new_discovery(int id);
int cmd_snmp_info_open(int id);
int cmd_show_open(int id);
int cmd_set_open(int id);
int cmd_cmp_open(int id);
int cmd_copy_open(int id);
int cmd_udf_open(int id);
// Undo Last Change: its report goes to the main window's output area.
int cmd_undo(int id);
int cmd_site_open(int id);
int cmd_boot(int id);
int cmd_internal_modems(int id);
int cmd_edit_cfg_file(int id);
int cmd_setup_basic(int id);
int cmd_status(int id);
// Status windows: Update, the automatic refresh toggle, a window's own
// toggles, the multilink Details; status_control_command gives the one of a
// control of a status window.
int cmd_status_update(int id);
int cmd_status_auto(int id);
int cmd_status_option(int id);
int cmd_status_details(int id);
int (*status_control_command(int id))(int);

// Reset, Broadcast and Copy windows: their command reads the window into
// a request.
int cmd_reset(int id);
int cmd_bcast(int id);
int cmd_copy(int id);
int cmd_copy_choice(int id);

// Search-device window and network discovery prompt.
int cmd_discover(int id);
int cmd_dsc_copy_to_list(int id);
int cmd_dsc_save_list(int id);
int cmd_dsc_close(int id);
int cmd_dsc_prompt_ok(int id);
int cmd_dsc_prompt_cancel(int id);
int cmd_dsc_prompt_help(int id);

// User groups and site parameters windows.
int cmd_udf_choice(int id);
int cmd_udf_add(int id);
int cmd_udf_remove(int id);
int cmd_udf_view(int id);
int cmd_udf_delete(int id);
int cmd_udf_modify(int id);
int cmd_udf_new(int id);
int cmd_udf_close(int id);
int cmd_site_choice(int id);
int cmd_site_modify(int id);
// The parameter selected in the site window's list changed.
void cmd_site_selection();

// SNMP Information window.
int cmd_snmp_set(int id);
int cmd_snmp_get(int id);
// Show and Set windows.
int cmd_show_port_type(int id);
int cmd_show_apply(int id);
int cmd_set_show_values(int id);
int cmd_set_port_type(int id);
int cmd_set_apply(int id);
// Compare and script windows and their port dialogs.
int cmd_cmp_kind(int id);
int cmd_cmp_choice(int id);
int cmd_compare(int id);
int cmd_script_view(int id);
int cmd_script_create(int id);
int cmd_script_create_ports(int id);
int cmd_script_execute(int id);
int cmd_script_execute_ports(int id);
int cmd_port_dialog_cancel(int id);

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
// The Events window: open (starts the receiver), filter, Send Traps Here.
int cmd_events_open(int id);
int cmd_events_filter(int id);
int cmd_events_send_here(int id);
