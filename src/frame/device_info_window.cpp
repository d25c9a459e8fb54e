#include "frame/device_info_window.h"
#include "snmp_access/session.h"

#include "devices/mrx_list.h"
#include "devices/mrx_select.h"
#include "snmp_access/morix_record.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"
#include "ui/window_state.h"

namespace {

// The window's label as last set.
std::string shown_info_label;

// Closes the window when it shows the device that is gone.
void close_if_showing(const std::string& name) {
    if (window_open(W_MRX_INFO_BOX) && shown_info_label.find(name) != std::string::npos)
        ui_unmanage(W_MRX_INFO_BOX);
}

} // namespace

void display_mrx_info(int index) {
    if (index < 0 || index >= session().devices().count())
        return;
    set_device_gone_hook(close_if_showing);
    const MorixRecord& rec = *session().devices()[index];
    DeviceInfoText shown = device_info_text(rec);
    set_widget_label(W_MRX_INFO_LABEL, shown.label);
    shown_info_label = shown.label;
    if (rec.modem_count >= 1) {
        ui_set_text(W_MRX_INFO_MDM_TEXT, shown.modems);
        ui_manage(W_MRX_INFO_MDM_TEXT);
    } else {
        ui_unmanage(W_MRX_INFO_MDM_TEXT);
    }
    ui_manage(W_MRX_INFO_BOX);
}

void view_morix() {
    if (!check_main_sel(W_MAIN_WINDOW, SEL_FIRST)) {
        ui_unmanage(W_MRX_INFO_BOX);
        return;
    }
    std::vector<MorixRecord*> devices = selected_reachable();
    for (int i = 0; i < session().devices().count(); ++i) {
        if (!devices.empty() && session().devices()[i] == devices.front()) {
            display_mrx_info(i);
            return;
        }
    }
}
