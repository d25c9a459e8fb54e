// The status displays behind the dispatch: the main-window status commands,
// the status windows' own controls, and closing them.
#include "frame/commands.h"
#include "ops/status.h"
#include "ui/ui.h"

void cmd_status(int id) {
    status_menu_command(id);
}

int status_cmd_action(int id) {
    return status_window_action(id);
}

void status_cmd_window_closed(int form) {
    status_window_closed(form);
}
