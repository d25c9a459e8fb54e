#include "frame/modem_window.h"

#include "basic/modem_hooks.h"
#include "devices/mrx_select.h"
#include "files/edit_conf.h"
#include "files/modem_dialog.h"
#include "files/modem_info.h"
#include "frame/render.h"
#include "snmp_access/morix_record.h"
#include "ui/progress.h"
#include "ui/ui.h"
#include "ui/window_state.h"

namespace {

constexpr int text_ids[3] = {W_MDM_CONNECT_TF, W_MDM_DIALIN_TF, W_MDM_DIALOUT_TF};

void render_dialog(const MdmDialogView& v) {
    if (v.show == MdmDialogShow::open)
        ui_fetch_dialog("edit_modem_dialog", W_MDM_DIALOG);
    if (v.name) {
        ui_set_text(W_MDM_NAME_TF, *v.name);
        ui_set_read_only(W_MDM_NAME_TF, v.name_read_only);
    }
    if (v.defaults)
        ui_set_toggle(W_MDM_DEFS_TB, *v.defaults, false);
    for (int i = 0; i < 3; ++i) {
        if (v.texts_read_only)
            ui_set_read_only(text_ids[i], *v.texts_read_only);
        if (v.texts)
            ui_set_text(text_ids[i], (*v.texts)[i]);
    }
    if (v.show == MdmDialogShow::open)
        ui_manage(W_MDM_DIALOG);
    else if (v.show == MdmDialogShow::close)
        ui_unmanage(W_MDM_DIALOG);
}

// The async port window's modem menu, rebuilt with current chosen.
void render_menu(const std::string& current) {
    if (mdm_info.window != MW_ASYNC || mdm_info.opt_menu_id == 0)
        return;
    std::string chosen;
    std::vector<std::string> entries = mdm_opt_entries(current, &chosen);
    ui_set_option_items(mdm_info.opt_menu_id, entries, UI_BASIC);
    set_option_menu_top_button(mdm_info.opt_menu_id, chosen, UI_BASIC);
}

void busy(bool on) {
    set_app_cursor(on ? CURSOR_BUSY : CURSOR_NORMAL);
}

MdmDialogRequest modem_dialog_request() {
    MdmDialogRequest req;
    req.name = ui_get_text(W_MDM_NAME_TF);
    for (int i = 0; i < 3; ++i)
        req.texts[i] = ui_get_text(text_ids[i]);
    req.defaults = ui_get_toggle(W_MDM_DEFS_TB);
    if (mdm_info.window == MW_ASYNC && mdm_info.opt_menu_id != 0)
        req.menu_choice = page_read(mdm_info.opt_menu_id, PR_OPTION);
    return req;
}

} // namespace

void render_modem(const MdmOutcome& mo) {
    // An upload that failed after its window closed still tells the operator.
    int parent = mo.parent != 0 ? mo.parent : W_MAIN_WINDOW;
    render_outcome(mo.outcome, OutputArea{parent, 0});
    render_dialog(mo.dialog);
    if (mo.menu)
        render_menu(*mo.menu);
}

int edit_conf_window() {
    if (!check_main_sel(W_MAIN_WINDOW, SEL_REACHABLE))
        return 0;
    EditConfRequest req;
    req.devices = selected_reachable();
    req.editing = [](bool on, const std::string& file) {
        if (on)
            display_work(W_MAIN_WINDOW, "Edit Configuration: " + file,
                         "Editing the configuration file: " + file);
        else
            remove_work();
    };
    set_question_parent(W_MAIN_WINDOW);
    EditConfOutcome eo = run_edit_conf(req, front_end_asker());
    const OutputArea main_box{W_MAIN_WINDOW, 0};
    render_outcome(eo.outcome, main_box);
    if (eo.upload_declined)
        ui_unmanage(W_MRX_INFO_BOX);
    for (const FollowUp& f : eo.outcome.follow_ups) {
        if (f.kind != EDIT_CONF_RESET_FOLLOW_UP)
            continue;
        std::vector<std::string> names(edit_conf_reset_names,
                                       edit_conf_reset_names + EC_RESET_COUNT);
        int mask = -1;
        if (display_box_ruled(W_MAIN_WINDOW, "Edit Configuration Reset", f.question, names, "",
                              edit_conf_reset_val, &mask) != ASK_OK)
            mask = 0;
        render_outcome(edit_conf_resets(mask), main_box);
    }
    return eo.outcome.result == Result::done ? 1 : 0;
}

void register_modem_window() {
    mdm_front_end.render = render_modem;
    mdm_front_end.busy = busy;
}

// The modem pages show what the dialog changed after each control.
int modem_dialog_field(int) {
    modem_dialog_done();
    return 1;
}
int modem_dialog_ok(int) {
    render_modem(mdm_edit_ok(modem_dialog_request()));
    return modem_dialog_field(0);
}
int modem_dialog_remove(int) {
    MdmDialogRequest req = modem_dialog_request();
    set_question_parent(mdm_dialog_parent());
    MdmOutcome mo = mdm_remove(req, front_end_asker());
    set_question_parent(W_MAIN_WINDOW);
    render_modem(mo);
    return modem_dialog_field(0);
}
int modem_dialog_defaults(int) {
    render_modem(mdm_rvrt_defs(modem_dialog_request()));
    return modem_dialog_field(0);
}
int modem_dialog_cancel(int) {
    render_modem(mdm_dialog_cancel());
    return modem_dialog_field(0);
}
