// Boot, reset, broadcast, internal modems, configuration file editing and
// basic mode: the commands of the main window and of the control windows.
#include "basic/basic_page.h"
#include "basic/int_mdms.h"
#include "devices/mrx_select.h"
#include "devices/text_buf.h"
#include "files/edit_conf.h"
#include "frame/basic_window.h"
#include "frame/commands.h"
#include "frame/int_mdms_window.h"
#include "ops/control.h"
#include "ui/ui.h"

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

} // namespace

void cmd_not_available(int parent_id, const std::string& name) {
    display_warn(parent_id, "The " + name + " command is not available yet.");
}

int cmd_boot(int) {
    open_boot_dialog();
    return 1;
}

int cmd_internal_modems(int) {
    process_int_mdms();
    return 1;
}

int cmd_edit_cfg_file(int) {
    edit_conf();
    return 1;
}

int cmd_setup_basic(int) {
    process_setup_basic();
    return 1;
}

// Reset: the numbers checked, then the operator's confirmation sends it.
int cmd_reset(int) {
    if (!check_main_sel(W_RST_FORM, SEL_REACHABLE))
        return 1;
    std::vector<int> ports;
    if (reset_request_code(reset_window_request(), W_RST_FORM, &ports) < 0)
        return 1;
    build_mrx_conf("The reset option you selected will take place for the following Morixes:",
                   W_RST_FORM, [] { reset_exec(reset_window_request(), W_RST_FORM); });
    return 1;
}

int cmd_bcast(int) {
    BcastRequest req;
    req.option = bcast_ind;
    req.text = ui_get_text(W_BCAST_TEXT);
    bcast_exec(req);
    return 1;
}
