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

// Toggle of the Create Script window that asks for the selected parameters.

// Returns 1 when the command may go on, 0 when not; messages appear over
// the window parent_id.
int check_main_sel(int parent_id, int mode);
