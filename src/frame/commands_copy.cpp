// The Copy window: opened from the main window, its Copy reads the window
// into a CopyInput.
#include "catalogue/func_display.h"
#include "frame/commands.h"
#include "ops/copy.h"
#include "ui/ui.h"

namespace {

// The Copy window's input: the chosen rows (a single device is chosen on
// both sides), kind, port type, port fields and the main list's choice.
CopyInput copy_window_input() {
    if (ui_list_count(W_CPY_FROM_LIST) == 1) {
        ui_list_select_pos(W_CPY_FROM_LIST, 1, false);
        ui_list_select_pos(W_CPY_TO_LIST, 1, false);
    }
    CopyInput in;
    in.from = ui_list_selected_items(W_CPY_FROM_LIST);
    in.to = ui_list_selected_items(W_CPY_TO_LIST);
    in.code = cpy_ind;
    in.port_type = cpy_port_sel_ind;
    in.from_ports = ui_get_text(W_CPY_FROM_PORT_TF);
    in.to_ports = ui_get_text(W_CPY_TO_PORT_TF);
    in.param_sel = param_sel_flag;
    in.items = ui_list_selected_items(W_FUNC_LIST);
    return in;
}

} // namespace

int cmd_copy_open(int) {
    open_cpy_window();
    return 1;
}

int cmd_copy(int) {
    process_copy(copy_window_input());
    return 1;
}
