// The Show and Set windows behind the dispatch ids.
#include "catalogue/func_display.h"
#include "devices/mrx_select.h"
#include "frame/commands.h"
#include "frame/dispatch.h"
#include "ops/set_window.h"
#include "ops/show.h"
#include "ops/status.h"
#include "ui/ui.h"

void cmd_set_open() {
    process_set();
}

void cmd_show_open() {
    open_show_window();
}

void cmd_set_row_action(int id) {
    set_row_action(id);
}

void cmd_window_closed(int form) {
    copy_window_closed(form);
    status_cmd_window_closed(form);
    if (form == W_SET_FORM_ID) {
        free_set_widgets();
        ui_unmanage(W_SET_VD_DIALOG);
    }
}

namespace {

// The Show window's request: the parameters or function chosen in the main
// list, the port type and ports, the detail toggle.
ShowRequest show_window_request() {
    ShowRequest req;
    req.items = ui_list_selected_items(W_MAIN_FUNC_LIST);
    req.param_sel = param_sel_flag;
    req.port_type = show_port_sel_ind;
    req.ports = ui_get_text(W_SHOW_PORT_TF);
    req.detailed = ui_get_toggle(W_DETAIL_TB);
    req.parent = W_SHOW_FORM_ID;
    req.output = W_SHOW_TEXT;
    return req;
}

} // namespace

int ops_window_action(int id) {
    int port_type = show_toggle_port_type(id);
    if (port_type >= 0) {
        if (ui_get_toggle(id))
            show_port_sel_ind = port_type;
        return 1;
    }
    switch (id) {
    case W_SHOW_APPLY:
        if (check_main_sel(W_SHOW_FORM_ID, SEL_SHOW_SET))
            process_show(show_window_request());
        return 1;
    case W_SET_APPLY:
        read_set_val_proc();
        return 1;
    case W_SET_SHOW_VALUES:
        if (check_main_sel(W_SET_FORM_ID, SEL_REACHABLE)) {
            reset_values_differ();
            get_set_cur_val(0, 0, 1);
        }
        return 1;
    case W_SET_PORT_OM:
        set_port_type_changed();
        return 1;
    case W_SET_PORT_TF:
    case 171:
        return 1;
    default:
        return 0;
    }
}
