// Internal modems, configuration file editing and basic mode: commands of
// the main window.
#include "basic/basic_page.h"
#include "basic/int_mdms.h"
#include "files/edit_conf.h"
#include "frame/basic_window.h"
#include "frame/commands.h"
#include "frame/int_mdms_window.h"
#include "frame/modem_window.h"
#include "ui/ui.h"

void cmd_not_available(int parent_id, const std::string& name) {
    display_warn(parent_id, "The " + name + " command is not available yet.");
}

int cmd_internal_modems(int) {
    process_int_mdms();
    return 1;
}

int cmd_edit_cfg_file(int) {
    edit_conf_window();
    return 1;
}

int cmd_setup_basic(int) {
    process_setup_basic();
    return 1;
}
