// The windows the function catalogue fills: the main window's function list
// and its two presentations, the other lists of functions or parameters,
// the action-help labels of the Copy and Compare windows, and the hotspot
// help of the basic-mode windows. The names and texts come from the
// catalogue (catalogue/func_display.h).
#pragma once

#include <string>
#include <vector>

// Set by the Compare window when it compares devices with each other, and
// by the Copy window when it copies the main window's choice: only then
// does the window's label follow the main list.
extern int g_cmp_dev_mode;
extern int g_cpy_copy_mode;

// Fill a list with the functions of a group / the parameters of a port
// type, sorted; display_mgmt_func gives the names as listed.
std::vector<std::string> display_mgmt_func(int list_id, int group);
void display_mgmt_prm(int list_id, int port_type);
// The main function list switched to functions / parameters: the list
// state, the selection policy, the rows, and the open windows' labels.
std::vector<std::string> display_mgmt_func_main(int group);
void display_mgmt_prm_main(int port_type);
// The Compare (W_CMP_FORM) or Copy (W_CPY_FORM) window's label from the
// main list's selection, when that window uses it.
void update_act_hlp_label(int window);

// The hotspot whose help is shown, -1 for none.
extern int last_hotspot;
// The pointer or the keyboard reached a basic-mode control: its help shows
// in its text area, or the help shown before is emptied.
void set_hotspot(int number);
// A basic-mode window is shown afresh: its help text area is emptied.
void clear_hotspot(int form);
