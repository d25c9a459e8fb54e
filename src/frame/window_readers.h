// The frame's readers of the windows' shared state (ui/window_state.h).
#pragma once

// Registers the readers; start-up and the test programs call it.
void register_window_readers();

struct StatusWindowView;
// A status window (window index w) as the operator left it.
StatusWindowView read_status_window(int w);
