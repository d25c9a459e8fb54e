#include "frame/device_list_window.h"
#include "snmp_access/session.h"

#include <algorithm>

#include "devices/mrx_list.h"
#include "devices/mrx_select.h"
#include "snmp_access/morix_record.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"
#include "ui/window_state.h"

void delete_morix() {
    std::vector<int> picked = main_selection().devices;
    std::vector<int> rows = rows_of_selection(picked, mrx_lst_cnt);
    if (rows.empty()) {
        display_warn(W_MAIN_WINDOW, k_select_a_morix);
        return;
    }
    std::vector<MorixRecord*> devices;
    for (int p : rows)
        if (p >= 1 && p <= mrx_lst_cnt)
            devices.push_back(session().devices()[p - 1]);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // From the last row up, so that each position still names its row.
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        if (*it >= 1 && *it <= mrx_lst_cnt)
            ui_list_delete_pos(W_MRX_LIST, *it);
    int first = rows.front();
    delete_devices(devices);
    int current = first > mrx_lst_cnt ? mrx_lst_cnt : first;
    if (current >= 1)
        ui_list_select_pos(W_MRX_LIST, current, false);
}
