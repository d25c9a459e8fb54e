// The status commands: the main window's menu entries and the controls of
// the status windows, which read their window into a StatusWindowView.
#include "frame/commands.h"
#include "frame/status_window.h"
#include "frame/window_readers.h"
#include "ops/status.h"
#include "ui/ui.h"

namespace {

int window_of(int id) {
    return (id - W_STS_BASE) / W_STS_STRIDE;
}

int object_of(int id) {
    return (id - W_STS_BASE) % W_STS_STRIDE;
}

} // namespace

StatusWindowView read_status_window(int w) {
    StatusWindowView v;
    if (w < 0 || w >= STATUS_WINDOWS)
        return v;
    v.input = ui_get_text(status_obj(w, SO_INPUT));
    v.auto_on = ui_get_toggle(status_obj(w, SO_AUTO_TB));
    v.auto_secs = ui_get_text(status_obj(w, SO_AUTO_SECS));
    if (status_member(SM_MP).window == w) {
        std::vector<int> sel = ui_list_selected_pos(status_obj(w, SO_X1));
        v.list_row = sel.empty() ? 0 : sel[0];
    } else {
        v.x1 = ui_get_toggle(status_obj(w, SO_X1));
        v.x2 = ui_get_toggle(status_obj(w, SO_X2));
        v.x3 = ui_get_toggle(status_obj(w, SO_X3));
    }
    return v;
}

int cmd_status(int id) {
    status_menu_command(id);
    return 1;
}

int cmd_status_update(int id) {
    int member = status_member_of_update(id);
    if (member >= 0)
        status_update(member, read_status_window(status_member(member).window));
    return 1;
}

int cmd_status_auto(int id) {
    status_auto_toggled(window_of(id), read_status_window(window_of(id)));
    return 1;
}

int cmd_status_option(int id) {
    status_option_toggled(window_of(id), object_of(id), ui_get_toggle(id));
    return 1;
}

int cmd_status_details(int id) {
    status_mp_details(read_status_window(window_of(id)).list_row);
    return 1;
}

int (*status_control_command(int id))(int) {
    if (status_member_of_update(id) >= 0)
        return cmd_status_update;
    if (object_of(id) == SO_AUTO_TB)
        return cmd_status_auto;
    if (window_of(id) == status_member(SM_MP).window && object_of(id) == SO_X2)
        return cmd_status_details;
    return cmd_status_option;
}
