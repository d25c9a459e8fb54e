// The selection check every device command runs first: marks the selected
// records, selects the obvious row by itself, and refuses or warns according
// to what the command needs.
#pragma once

#include "ui/widget_ids.h"

// Modes of check_main_sel.
enum SelMode {
    SEL_MARK_ONLY = 0, // no requirement
    SEL_ANY = 1,       // at least one device
    SEL_SHOW_SET = 2,  // a reachable device and a parameter choice
    SEL_FIRST = 3,     // reachable devices; only the first is used
    SEL_REACHABLE = 4, // at least one reachable device
    SEL_SCRIPT = 5     // exactly one reachable device
};

// Returns 1 when the command may go on, 0 when not; messages appear over
// the window parent_id. The devices and parameters are those the main
// window's lists hold (main_selection); script_params: a script of the
// selected parameters is asked for (SEL_SCRIPT needs parameters then).
int check_main_sel(int parent_id, int mode, bool script_params = false);
