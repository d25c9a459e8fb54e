// Entry points of the site-default and user-group commands.
#pragma once

// Runs the command of a Site Parameters or User Defined Parameter Groups
// window id; 0 when the id is not one of them.
int groups_window_action(int id);
// Selection change in a list of those windows.
void groups_list_selection(int list_id);
