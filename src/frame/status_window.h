// The status windows: what the operator left in one (for Update and the
// automatic refresh), and the window side of the status displays: opening,
// Update, the automatic refresh, the option toggles and the renderer of a
// status outcome.
#pragma once

#include <string>

#include "ops/status.h"

// A status window as the operator left it (window index w: the objects
// status_obj(w, ...)).
struct StatusWindowView {
    std::string input;                       // SO_INPUT
    bool auto_on = false;                    // SO_AUTO_TB
    std::string auto_secs;                   // SO_AUTO_SECS
    bool x1 = false, x2 = false, x3 = false; // SO_X1..SO_X3 toggles
    int list_row = 0;                        // mp: first selected row of the SO_X1 list, 0 none
};

// The member's inputs from its window.
StatusInput status_window_input(int member, const StatusWindowView& v);
// Shows a status outcome in its member's window: the title, the text (the
// report; emptied when nothing was laid out and clear is set), the
// multilink list, then the warnings over the window.
void render_status(const StatusOutcome& out, bool clear = true);
// Selection check, then the member on the first selected reachable device,
// rendered into its window.
void process_status(int member, const StatusInput& in);
// Update of a status window: the member the window shows (async or sync
// by its Sync toggle) with the window's inputs.
void status_update(int member, const StatusWindowView& v);
// The automatic refresh toggle of window w changed.
void status_auto_toggled(int w, const StatusWindowView& v);
// A toggle of window w's own (object obj, SO_X1..SO_X3) changed to set.
void status_option_toggled(int w, int obj, bool set);
// Opens a member's window and fetches.
void open_status_window(int member, StatusWindowView v);
// The window of form was closed: its automatic refresh stops.
void status_window_closed(int form);
// A main-window status command (a member's menu id): 1 when handled.
int status_menu_command(int id);
// The multilink window's Details for the chosen row.
void status_mp_details(int row);
// Automatic refresh of a window: timer tick handling.
void status_auto_tick(int window);
