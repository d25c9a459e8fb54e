#include "ui/selection_verdict.h"

#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

SelectionShower current_shower = nullptr;

} // namespace

void set_selection_shower(SelectionShower shower) {
    current_shower = shower;
}

void show_selection_verdict(int parent, const SelectionVerdict& verdict) {
    (current_shower ? current_shower : show_selection_default)(parent, verdict);
}

void show_selection_default(int parent, const SelectionVerdict& verdict) {
    for (int row : verdict.rows_selected)
        ui_list_select_pos(W_MRX_LIST, row, false);
    for (const std::string& w : verdict.warnings)
        display_warn(parent, w);
    if (!verdict.go && !verdict.refusal.empty())
        display_warn(parent, verdict.refusal);
}
