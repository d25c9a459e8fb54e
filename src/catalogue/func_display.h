// Filling lists from the function catalogue through the UI services, the
// action-help labels of the Copy and Compare windows, and hotspot help.
#pragma once

#include "ui/widget_ids.h"

#include <string>
#include <vector>

// Main window list and choice ids used here.
// Action-help labels of the Compare and Copy windows.

// List state of the main function list.
extern int param_sel_flag; // 0 functions shown, 1 parameters shown
extern int fnc_sel_ind;    // function group shown
extern int main_prm_lst_w; // id of the radio choice in force
// Set by the Compare window when it compares devices with each other, and
// by the Copy window when it was opened for a copy.
extern int g_cmp_dev_mode;
extern int g_cpy_copy_mode;

// Fill a list with the functions of a group / the parameters of a port
// type, sorted; display_mgmt_func gives the names as listed.
std::vector<std::string> display_mgmt_func(int list_id, int group);
void display_mgmt_prm(int list_id, int port_type);
std::vector<std::string> display_mgmt_func_main(int group);
void display_mgmt_prm_main(int port_type);
void update_act_hlp_label(int window);

// Hotspot help of the basic-mode windows.
extern int last_hotspot;
void set_hotspot(int number);
void clear_hotspot(int form);
