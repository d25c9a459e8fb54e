// Boot, reset, broadcast, internal modems, the Edit Modem dialog and the
// configuration file editing behind the dispatch ids.
#include "basic/int_mdms.h"
#include "basic/modem_hooks.h"
#include "files/edit_conf.h"
#include "files/modem_dialog.h"
#include "frame/commands.h"
#include "ops/control.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

void cmd_boot() {
    open_boot_dialog();
}

void cmd_reset_open() {
    gui_manage_top_form(W_RST_FORM);
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
    case W_BCAST_APPLY:
        process_bcast();
        return 1;
    default:
        return 0;
    }
}
