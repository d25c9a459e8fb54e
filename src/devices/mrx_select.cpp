#include "devices/mrx_select.h"

#include "catalogue/func_display.h"
#include "snmp_access/morix_record.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"
#include "ui/window_state.h"

namespace {

bool row_selected(const MainSelection& sel, int row) {
    for (int p : sel.devices)
        if (p == row)
            return true;
    return false;
}

// Selects the row whose choice is obvious (without the list's callback),
// in the list and in sel.
void select_row(MainSelection* sel, int row) {
    ui_list_select_pos(W_MRX_LIST, row, false);
    auto at = sel->devices.begin();
    while (at != sel->devices.end() && *at < row)
        ++at;
    sel->devices.insert(at, row);
}

void auto_select(MainSelection* sel, int mode, int rows) {
    if (mode <= SEL_ANY) {
        if (rows == 1 && !row_selected(*sel, 1))
            select_row(sel, 1);
        return;
    }
    int reachable = 0, last = 0;
    for (int i = 0; i < rows; ++i) {
        if (host_info_list[i] && host_info_list[i]->reachable) {
            ++reachable;
            last = i + 1;
        }
    }
    if (reachable == 1 && !row_selected(*sel, last))
        select_row(sel, last);
}

} // namespace

int check_main_sel(int parent_id, int mode, bool script_params) {
    for (MorixRecord* r : host_info_list)
        if (r)
            r->selected = 0;
    MainSelection sel = main_selection();
    int rows = sel.rows < mrx_lst_cnt ? sel.rows : mrx_lst_cnt;
    auto_select(&sel, mode, rows);
    int selected = 0, sel_reachable = 0;
    bool any_unreachable = false;
    for (int p : sel.devices) {
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
    bool need_prm = mode == SEL_SHOW_SET || (mode == SEL_SCRIPT && script_params);
    if (need_prm && sel.params.empty()) {
        display_warn(parent_id, param_sel_flag ? "You must select at least one parameter."
                                               : "You must select a parameter group.");
        return 0;
    }
    return 1;
}
