// The main window's status commands.
#include "frame/commands.h"
#include "ops/status.h"
#include "ui/ui.h"

int cmd_status(int id) {
    status_menu_command(id);
    return 1;
}
