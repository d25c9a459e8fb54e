// The selection check every device command runs first: takes the devices
// selected in the main window into the session, selects the obvious row by
// itself, and refuses or warns according to what the command needs.
#pragma once

#include "snmp_access/session.h"
#include "ui/selection_verdict.h"
#include "ui/widget_ids.h"

struct MainSelection;

// Modes of check_main_sel.
enum SelMode {
    SEL_MARK_ONLY = 0, // no requirement
    SEL_ANY = 1,       // at least one device
    SEL_SHOW_SET = 2,  // a reachable device and a parameter choice
    SEL_FIRST = 3,     // reachable devices; only the first is used
    SEL_REACHABLE = 4, // at least one reachable device
    SEL_SCRIPT = 5     // exactly one reachable device
};

// Why a selected device is passed over: it is marked as unreachable.
constexpr const char* MSG_NOT_SERVED = "not reachable; nothing was done";

// The check on the rows and parameters chosen (main window's lists): the
// selected records become the session's selection; the verdict says
// whether the command may go on, and what to tell the operator.
// script_params: a script of the selected parameters is asked for
// (SEL_SCRIPT needs parameters then).
SelectionVerdict check_selection(Session& s, const MainSelection& chosen, int mode,
                                 bool script_params = false);

// check_selection on the main window's lists (main_selection) and the
// program's session, its verdict shown over the window parent_id (see
// set_selection_shower). Returns 1 when the command may go on, 0 when not.
int check_main_sel(int parent_id, int mode, bool script_params = false);
