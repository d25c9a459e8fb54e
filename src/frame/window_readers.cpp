// The frame reads the windows for the commands below it: the main window's
// lists, whether a window is open, and the controls of basic-mode pages.
#include "frame/window_readers.h"

#include "catalogue/func_display.h"
#include "frame/modem_window.h"
#include "ops/status.h"
#include "ui/ui.h"
#include "ui/window_state.h"

namespace {

MainSelection read_main_selection() {
    MainSelection s;
    s.rows = ui_list_count(W_MRX_LIST);
    s.devices = ui_list_selected_pos(W_MRX_LIST);
    s.params = ui_list_selected_items(W_FUNC_LIST);
    s.params_listed = param_sel_flag != 0;
    return s;
}

bool read_window_open(int form, int table) {
    return ui_is_managed(form, table);
}

std::string read_page(int id, int what) {
    switch (what) {
    case PR_OPTION:
        return ui_get_option(id, UI_BASIC);
    case PR_TOGGLE:
        return ui_get_toggle(id, UI_BASIC) ? "1" : "0";
    case PR_LABEL:
        return get_widget_label(id, UI_BASIC);
    case PR_SENSITIVE:
        return is_sens(id, UI_BASIC) ? "1" : "0";
    case PR_MANAGED:
        return ui_is_managed(id, UI_BASIC) ? "1" : "0";
    default:
        return ui_get_text(id, UI_BASIC);
    }
}

PageListState read_page_list(int id, int table) {
    PageListState s;
    s.count = ui_list_count(id, table);
    s.positions = ui_list_selected_pos(id, table);
    s.rows = ui_list_selected_items(id, table);
    return s;
}

} // namespace

void register_window_readers() {
    window_readers.main_selection = read_main_selection;
    window_readers.window_open = read_window_open;
    window_readers.page_read = read_page;
    window_readers.page_list = read_page_list;
    register_modem_window();
}
