// Commands of subsystems that are not built yet: each says so. The issue
// that owns a command replaces its function here with the real entry point.
#include "frame/commands.h"

#include "basic/basic_page.h"

#include "frame/commands_devices.h"
#include "frame/commands_groups.h"
#include "frame/dispatch.h"
#include "ui/ui.h"

void cmd_not_available(int parent_id, const std::string& name) {
    display_warn(parent_id, "The " + name + " command is not available yet.");
}

void cmd_setup_basic() {
    process_setup_basic();
}

void cmd_window_action(int id) {
    if (device_window_action(id) || ops_window_action(id) || groups_window_action(id) ||
        scripts_window_action(id) || control_window_action(id) || copy_window_action(id) ||
        status_cmd_action(id))
        return;
    const WindowAction* a = find_window_action(id);
    int parent = a != nullptr ? a->form : W_MAIN_WINDOW;
    cmd_not_available(parent, "requested");
}

void cmd_basic_action(int id) {
    if (!basic_dispatch(id))
        cmd_not_available(W_MAIN_WINDOW, "basic-mode");
}
