#include "devices/mrx_select.h"

#include "catalogue/func_display.h"
#include "snmp_access/morix_record.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

int list_rows() {
    int rows = ui_list_count(W_MRX_LIST);
    return rows < mrx_lst_cnt ? rows : mrx_lst_cnt;
}

bool row_selected(int row) {
    for (int p : ui_list_selected_pos(W_MRX_LIST))
        if (p == row)
            return true;
    return false;
}

// Selects the row whose choice is obvious (without the list's callback).
void auto_select(int mode, int rows) {
    if (mode <= SEL_ANY) {
        if (rows == 1 && !row_selected(1))
            ui_list_select_pos(W_MRX_LIST, 1, false);
        return;
    }
    int reachable = 0, last = 0;
    for (int i = 0; i < rows; ++i) {
        if (host_info_list[i] && host_info_list[i]->reachable) {
            ++reachable;
            last = i + 1;
        }
    }
    if (reachable == 1 && !row_selected(last))
        ui_list_select_pos(W_MRX_LIST, last, false);
}

} // namespace

int check_main_sel(int parent_id, int mode) {
    for (MorixRecord* r : host_info_list)
        if (r)
            r->selected = 0;
    int rows = list_rows();
    auto_select(mode, rows);
    int selected = 0, sel_reachable = 0;
    bool any_unreachable = false;
    for (int p : ui_list_selected_pos(W_MRX_LIST)) {
        if (p < 1 || p > rows || !host_info_list[p - 1])
            continue;
        MorixRecord* r = host_info_list[p - 1];
        r->selected = 1;
        ++selected;
        if (r->reachable)
            ++sel_reachable;
        else
            any_unreachable = true;
    }
    if (mode == SEL_MARK_ONLY)
        return 1;
    if (selected == 0 && mode == SEL_ANY) {
        display_warn(parent_id, "You must select a Morix.");
        return 0;
    }
    if (mode == SEL_ANY)
        return 1;
    if (sel_reachable == 0) {
        display_warn(parent_id, "You must select a reachable Morix from the list.");
        return 0;
    }
    if (mode == SEL_SCRIPT && sel_reachable >= 2) {
        display_warn(parent_id, "You must select one reachable Morix only.");
        return 0;
    }
    if (mode == SEL_FIRST && sel_reachable >= 2)
        display_warn(parent_id, "You selected more than one reachable Morix. This\ncommand will "
                                "use only the first selected Morix in the list.");
    if (any_unreachable)
        display_warn(parent_id,
                     "This command will not use Morixes that are marked as unreachable.");
    bool need_prm = mode == SEL_SHOW_SET || (mode == SEL_SCRIPT && ui_get_toggle(W_SCR_SEL_PRM_TB));
    if (need_prm && ui_list_selected_pos(W_FUNC_LIST).empty()) {
        display_warn(parent_id, param_sel_flag ? "You must select at least one parameter."
                                               : "You must select a parameter group.");
        return 0;
    }
    return 1;
}
