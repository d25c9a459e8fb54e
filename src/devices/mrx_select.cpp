#include "devices/mrx_select.h"

#include <algorithm>

#include "snmp_access/morix_record.h"
#include "ui/window_state.h"

namespace {

bool row_selected(const std::vector<int>& rows, int row) {
    return std::find(rows.begin(), rows.end(), row) != rows.end();
}

// The row whose choice is obvious, or 0: the only row (modes up to
// SEL_ANY) or the only reachable device (the others).
int obvious_row(const DeviceList& list, int mode, int rows) {
    if (mode <= SEL_ANY)
        return rows == 1 ? 1 : 0;
    int reachable = 0, last = 0;
    for (int i = 0; i < rows; ++i) {
        if (list[i] && list[i]->reachable) {
            ++reachable;
            last = i + 1;
        }
    }
    return reachable == 1 ? last : 0;
}

SelectionVerdict refuse(SelectionVerdict v, const std::string& why) {
    v.go = false;
    v.refusal = why;
    return v;
}

} // namespace

SelectionVerdict check_selection(Session& s, const MainSelection& chosen, int mode,
                                 bool script_params) {
    SelectionVerdict v;
    const DeviceList& list = s.devices();
    int rows = std::min(chosen.rows, list.count());
    std::vector<int> picked = chosen.devices;
    int obvious = obvious_row(list, mode, rows);
    if (obvious > 0 && !row_selected(picked, obvious)) {
        v.rows_selected.push_back(obvious);
        picked.insert(std::upper_bound(picked.begin(), picked.end(), obvious), obvious);
    }
    std::vector<MorixRecord*> selection;
    int sel_reachable = 0;
    for (int p : picked) {
        if (p < 1 || p > rows || !list[p - 1])
            continue;
        MorixRecord* r = list[p - 1];
        selection.push_back(r);
        if (r->reachable) {
            ++sel_reachable;
            v.devices.push_back({r->name, DeviceState::done, ""});
        } else {
            v.devices.push_back({r->name, DeviceState::unreachable, MSG_NOT_SERVED});
        }
    }
    s.select(selection);
    v.go = true;
    if (mode == SEL_MARK_ONLY)
        return v;
    if (selection.empty() && mode == SEL_ANY)
        return refuse(v, "You must select a Morix.");
    if (mode == SEL_ANY)
        return v;
    if (sel_reachable == 0)
        return refuse(v, "You must select a reachable Morix from the list.");
    if (mode == SEL_SCRIPT && sel_reachable >= 2)
        return refuse(v, "You must select one reachable Morix only.");
    if (mode == SEL_FIRST && sel_reachable >= 2)
        v.warnings.push_back("You selected more than one reachable Morix. This\ncommand will "
                             "use only the first selected Morix in the list.");
    if (static_cast<int>(selection.size()) > sel_reachable)
        v.warnings.push_back("This command will not use Morixes that are marked as unreachable.");
    bool need_prm = mode == SEL_SHOW_SET || (mode == SEL_SCRIPT && script_params);
    if (need_prm && chosen.params.empty())
        return refuse(v, chosen.params_listed ? "You must select at least one parameter."
                                              : "You must select a parameter group.");
    return v;
}

int check_main_sel(int parent_id, int mode, bool script_params) {
    SelectionVerdict v = check_selection(session(), main_selection(), mode, script_params);
    show_selection_verdict(parent_id, v);
    return v.go ? 1 : 0;
}
