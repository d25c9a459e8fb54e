// The main window's status commands.
#include "frame/commands.h"
#include "ops/status.h"
#include "ui/ui.h"

int cmd_status(int id) {
    if (!status_menu_command(id))
        cmd_not_available(W_MAIN_WINDOW, "PPP status");
    return 1;
}
