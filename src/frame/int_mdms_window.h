// The internal modems window: its list of modem states, and Apply of the
// chosen state to the chosen modems.
#pragma once

#include <vector>

// Opens the window; 1 when it opened with its list.
int process_int_mdms();
// Rebuilds the list; a refresh of a list of the same length selects the
// same rows again (selected: the rows selected before).
int process_upd_int_mdms(int first_time, int report = 1, const std::vector<int>& selected = {});
// Sets the modems of the selected rows of the list to the chosen state. An
// ImdmResult.
int process_apply_int_mdms(const std::vector<int>& selected);
// Update of the dialog (selected: the list's selected rows).
void int_mdms_update(const std::vector<int>& selected);
