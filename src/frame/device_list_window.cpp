#include "frame/device_list_window.h"

#include <algorithm>
#include <vector>

#include "devices/mrx_select.h"
#include "frame/render.h"
#include "snmp_access/morix_record.h"
#include "snmp_access/session.h"
#include "ui/app_globals.h"
#include "ui/progress.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"
#include "ui/window_state.h"

namespace {

// Rewrites the list's rows into rows, deleting and adding only the rows
// outside a longest common run of the old and the new rows.
void sync_rows(const std::vector<std::string>& rows) {
    std::vector<std::string> old = ui_list_items(W_MRX_LIST);
    size_t n = old.size(), m = rows.size();
    std::vector<std::vector<int>> common(n + 1, std::vector<int>(m + 1, 0));
    for (size_t i = n; i-- > 0;)
        for (size_t j = m; j-- > 0;)
            common[i][j] = old[i] == rows[j] ? common[i + 1][j + 1] + 1
                                             : std::max(common[i + 1][j], common[i][j + 1]);
    size_t i = 0, j = 0;
    int pos = 1;
    while (i < n || j < m) {
        if (i < n && j < m && old[i] == rows[j]) {
            ++i, ++j, ++pos;
        } else if (i < n && (j == m || common[i + 1][j] >= common[i][j + 1])) {
            ui_list_delete_pos(W_MRX_LIST, pos);
            ++i;
        } else {
            ui_list_add_item(W_MRX_LIST, rows[j], pos);
            ++j, ++pos;
        }
    }
}

// The records of the selected rows (or of the only row), in list order;
// says "You must select a Morix." when there are none.
std::vector<MorixRecord*> picked_devices() {
    std::vector<int> rows =
        rows_of_selection(main_selection().devices, session().devices().count());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::vector<MorixRecord*> devices;
    for (int p : rows)
        if (p >= 1 && p <= session().devices().count())
            devices.push_back(session().devices()[p - 1]);
    if (devices.empty())
        display_warn(W_MAIN_WINDOW, k_select_a_morix);
    return devices;
}

} // namespace

WorkDialogProgress::~WorkDialogProgress() {
    remove_work();
}

void WorkDialogProgress::begin(const std::string& what, int) {
    title_ = what;
}

void WorkDialogProgress::step(int done, int total, const std::string&) {
    update_work(parent_, title_, load_progress_text(total, done), 0);
}

bool WorkDialogProgress::cancelled() {
    return front_end_display().cancel_requested();
}

void render_device_list(const ListOutcome& out, int parent) {
    if (out.name_field)
        ui_set_text(W_MRX_NAME_TF, *out.name_field);
    if (out.community_field)
        ui_set_text(W_COMM_TF, *out.community_field);
    const DeviceListView& view = out.list;
    if (view.emptied)
        ui_list_delete_all(W_MRX_LIST);
    sync_rows(view.rows);
    for (int row : view.selected)
        ui_list_select_pos(W_MRX_LIST, row, false);
    int count = static_cast<int>(view.rows.size());
    if (view.from_top && count > 0)
        ui_list_set_top_pos(W_MRX_LIST, 1);
    if (view.shown >= 1 && view.shown <= count) {
        ui_list_set_bottom_pos(W_MRX_LIST, view.shown);
        set_focus(W_MRX_LIST);
    }
    render_outcome(out.outcome, OutputArea{parent, 0});
}

void add_to_device_list(const AddMorixRequest& req) {
    set_app_cursor(CURSOR_BUSY);
    ListOutcome out = add_morix(req);
    set_app_cursor(CURSOR_NORMAL);
    render_device_list(out, W_MAIN_WINDOW);
}

void query_device_list(const std::string& alt_community) {
    std::vector<MorixRecord*> devices = picked_devices();
    if (!devices.empty())
        render_device_list(query_morixes({devices, alt_community}), W_MAIN_WINDOW);
}

void delete_morix() {
    std::vector<int> rows = main_selection().devices;
    std::vector<MorixRecord*> devices = picked_devices();
    if (devices.empty())
        return;
    // The row at the first deleted position (or the new last row) is
    // selected.
    int first = rows.empty() ? 1 : *std::min_element(rows.begin(), rows.end());
    delete_devices(devices);
    ListOutcome out;
    out.list = device_list_view();
    int current = std::min(first, session().devices().count());
    if (current >= 1)
        out.list.selected.push_back(current);
    render_device_list(out, W_MAIN_WINDOW);
}

ListOutcome load_into_device_list(const LoadListRequest& req, int parent) {
    ListOutcome out;
    {
        WorkDialogProgress progress(parent);
        out = load_device_list(req, progress);
    }
    render_device_list(out, parent);
    return out;
}
