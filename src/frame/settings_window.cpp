#include "frame/settings_window.h"

#include "devices/mrx_select.h"
#include "frame/render.h"
#include "snmp_access/morix_record.h"
#include "snmp_access/session.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

void show_settings(const SnmpSettingsView& v) {
    ui_set_text(W_SNMP_TIMEOUT_TF, v.timeout);
    ui_set_text(W_SNMP_RETRIES_TF, v.retries);
    ui_set_text(W_SNMP_COMM_TF, v.community);
}

} // namespace

int get_snmp_info_vals(int mode) {
    if (mode == 1) {
        show_settings(snmp_default_settings());
        return 1;
    }
    if (!check_main_sel(W_MAIN_WINDOW, SEL_ANY))
        return 0;
    SnmpSettingsView v = snmp_settings_of(session().selection());
    show_settings(v);
    if (v.outcome.result != Result::done)
        return 0;
    render_outcome(v.outcome, OutputArea{W_SNMP_FORM, 0});
    return 1;
}

Result set_snmp_info_vals(SnmpSettingsRequest req) {
    if (req.update_selected) {
        if (!check_main_sel(W_SNMP_FORM, SEL_ANY))
            return Result::refused;
        req.devices = session().selection();
    }
    SnmpSettingsOutcome out = change_snmp_settings(req);
    if (!out.timeout_filled.empty())
        ui_set_text(W_SNMP_TIMEOUT_TF, out.timeout_filled);
    if (!out.retries_filled.empty())
        ui_set_text(W_SNMP_RETRIES_TF, out.retries_filled);
    render_outcome(out.outcome, OutputArea{W_SNMP_FORM, 0});
    if (out.outcome.result == Result::done) {
        ui_set_toggle(W_SNMP_UPD_DEF_TB, false, false);
        ui_set_toggle(W_SNMP_UPD_SEL_TB, false, false);
    }
    return out.outcome.result;
}

void disable_main_menu_opt() {
    // Runs on every selection change: marks the selection without the
    // warning an empty selection would give.
    check_main_sel(W_MAIN_WINDOW, SEL_MARK_ONLY);
    for (const MenuEntryState& e : product_menu_states(selected_reachable()))
        ui_set_sensitive(e.id, e.available);
}

int check_sel_set_mrxs(int dialog_id, const std::string& message, int force) {
    RefusedSets r = refused_sets(selected_reachable(), message, force);
    if (!r.warning.empty())
        display_warn(dialog_id, r.warning);
    return r.go;
}
