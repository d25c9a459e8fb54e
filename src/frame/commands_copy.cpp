// The Copy window behind the dispatch ids.
#include "catalogue/func_display.h"
#include "frame/commands.h"
#include "ops/copy.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

void cmd_copy_open() {
    open_cpy_window();
}

int copy_window_action(int id) {
    if (cpy_choice_action(id))
        return 1;
    if (id == W_CPY_APPLY) {
        process_copy();
        return 1;
    }
    return 0;
}

void copy_window_closed(int form) {
    if (form == W_CPY_FORM)
        g_cpy_copy_mode = 0;
}
