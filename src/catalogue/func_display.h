// What the function catalogue gives the windows' lists and labels: the
// names a list of functions or parameters shows, sorted; the text of the
// Copy and Compare windows' action-help label; the hotspot help of a
// basic-mode control. The frame fills the windows from them
// (frame/func_lists.h).
#pragma once

#include "ui/widget_ids.h"

#include <string>
#include <vector>

struct HotspotEntry;

// List state of the main function list.
extern int param_sel_flag; // 0 functions shown, 1 parameters shown
extern int fnc_sel_ind;    // function group shown
extern int main_prm_lst_w; // id of the radio choice in force

// The names of a group's functions, each at its alphabetical place; an id
// without a function gives nothing, an id listed twice its name twice.
std::vector<std::string> mgmt_func_names(int group);
// The parameters offered for a port type code (neither internal nor
// read-only, port class fitting the code), sorted the same way.
std::vector<std::string> mgmt_prm_names(int port_type);
// The action-help label's text for the names selected in the main list:
// the first, ", ..." after it when there are more, "<nothing selected>"
// when there are none.
std::string act_hlp_text(const std::vector<std::string>& selected);

// The help of a hotspot that has a text area to show it in, or null.
const HotspotEntry* hotspot_help(int number);
// The help text area of a basic-mode window, or 0 when it has none.
int hotspot_area(int form);
