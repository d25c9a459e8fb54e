// Boot, reset, broadcast, internal modems, the Edit Modem dialog and the
// configuration file editing behind the dispatch ids.
#include "basic/int_mdms.h"
#include "basic/modem_hooks.h"
#include "devices/mrx_select.h"
#include "devices/text_buf.h"
#include "files/edit_conf.h"
#include "files/modem_dialog.h"
#include "frame/commands.h"
#include "ops/control.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

// The Reset window's request: the option chosen, its port type and the
// numbers typed.
ResetRequest reset_window_request() {
    ResetRequest req;
    req.code = reset_ind;
    req.port_type = reset_port_type;
    req.ports = ui_get_text(W_RST_PORT_TF);
    return req;
}

// Reset: the numbers checked, then the operator's confirmation sends it.
void process_reset() {
    if (!check_main_sel(W_RST_FORM_ID, SEL_REACHABLE))
        return;
    std::vector<int> ports;
    if (reset_request_code(reset_window_request(), W_RST_FORM_ID, &ports) < 0)
        return;
    build_mrx_conf("The reset option you selected will take place for the following Morixes:",
                   W_RST_FORM_ID, [] { reset_exec(reset_window_request(), W_RST_FORM_ID); });
}

} // namespace

void cmd_boot() {
    open_boot_dialog();
}

void cmd_reset_open() {
    gui_manage_top_form(W_RST_FORM_ID);
}

void cmd_internal_modems() {
    process_int_mdms();
}

void cmd_edit_cfg_file() {
    edit_conf();
}

int control_window_action(int id) {
    if (boot_option_action(id) || reset_option_action(id) || bcast_option_action(id) ||
        int_mdms_action(id))
        return 1;
    if (modem_dialog_action(id)) {
        modem_dialog_done(); // the modem pages show what the dialog changed
        return 1;
    }
    switch (id) {
    case W_BOOT_APPLY:
        process_boot();
        return 1;
    case W_RST_APPLY:
        process_reset();
        return 1;
    case W_RST_PORT_TF:
        return 1;
    case W_BCAST_APPLY: {
        BcastRequest req;
        req.option = bcast_ind;
        req.text = ui_get_text(W_BCAST_TEXT);
        bcast_exec(req);
        return 1;
    }
    default:
        return 0;
    }
}
