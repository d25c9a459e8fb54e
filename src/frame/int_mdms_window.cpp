// The internal modems window: the rows the modem command read, shown in its
// list, and the outcome of each read and Apply in the window's box.
#include "frame/int_mdms_window.h"

#include "basic/int_mdms.h"
#include "devices/allow_sets.h"
#include "devices/mrx_select.h"
#include "frame/render.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

int parent_window() {
    return ui_is_managed(W_IMDM_DIALOG) ? static_cast<int>(W_IMDM_DIALOG)
                                        : static_cast<int>(W_MAIN_WINDOW);
}

} // namespace

int process_upd_int_mdms(int first_time, int report, const std::vector<int>& selected) {
    size_t before = int_mdms_rows.size();
    Outcome o;
    int ok = process_get_int_mdms_vals(report, &o);
    render_outcome(o, OutputArea{parent_window()});
    ui_list_delete_all(W_IMDM_LIST);
    for (const std::string& row : int_mdms_row_texts())
        ui_list_add_item(W_IMDM_LIST, row, 0);
    if (!first_time && before == int_mdms_rows.size() && !selected.empty()) {
        for (int pos : selected)
            ui_list_select_pos(W_IMDM_LIST, pos, false);
        ui_list_set_top_pos(W_IMDM_LIST, selected.front());
    }
    return ok;
}

int process_int_mdms() {
    if (!check_main_sel(W_MAIN_WINDOW, SEL_REACHABLE))
        return 0;
    ui_fetch_dialog("int_mdms_dialog", W_IMDM_DIALOG);
    ui_list_set_policy(W_IMDM_LIST, LSP_EXTENDED);
    if (!process_upd_int_mdms(1))
        return 0;
    int_mdms_stat = 1;
    ui_set_toggle(W_IMDM_AVAIL_TB, true, false);
    ui_set_toggle(W_IMDM_BUSY_TB, false, false);
    ui_manage(W_IMDM_DIALOG);
    if (!will_sel_mrx_allow_set())
        display_warn(W_IMDM_DIALOG, "Morix(es) not settable. Morix parameters will not be set.");
    return 1;
}

int process_apply_int_mdms(const std::vector<int>& sel) {
    if (sel.empty()) {
        display_warn(W_IMDM_DIALOG, "You must select a list item.");
        return IMDM_NOT_CHOSEN;
    }
    Outcome o;
    int result = set_int_mdms(sel, int_mdms_stat, &o);
    render_outcome(o, OutputArea{W_IMDM_DIALOG});
    process_upd_int_mdms(0, 0, sel);
    return result;
}

void int_mdms_update(const std::vector<int>& selected) {
    if (check_main_sel(W_IMDM_DIALOG, SEL_REACHABLE))
        process_upd_int_mdms(0, 1, selected);
}
