// The Copy window from the main window.
#include "frame/commands.h"
#include "ops/copy.h"

int cmd_copy_open(int) {
    open_cpy_window();
    return 1;
}
