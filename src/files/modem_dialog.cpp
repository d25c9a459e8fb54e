// The Edit Modem dialog.
#include "files/modem_dialog.h"

#include "files/edit_conf.h"
#include "files/modem_info.h"
#include "ui/ui.h"
#include "ui/window_state.h"

namespace {

constexpr int text_ids[3] = {W_MDM_CONNECT_TF, W_MDM_DIALIN_TF, W_MDM_DIALOUT_TF};
int dlg_parent = W_MAIN_WINDOW;

std::string reason_text() {
    return "Configuration file cannot be edited,\n" + mdm_info.edit_reason + "\n";
}

void show_texts(const MdmTexts& t) {
    for (int i = 0; i < 3; ++i)
        ui_set_text(text_ids[i], t[i]);
}

void set_texts_read_only(bool ro) {
    for (int id : text_ids)
        ui_set_read_only(id, ro);
}

MdmTexts typed_texts(const MdmDialogRequest& req) {
    MdmTexts t;
    for (int i = 0; i < 3; ++i)
        t[i] = req.texts[i].substr(0, MDM_VALUE_MAX);
    return t;
}

std::string typed_name(const MdmDialogRequest& req) {
    std::string n;
    for (char c : req.name)
        if (c != ' ' && c != '\t' && c != '\n')
            n += c;
    return n;
}

void close_dialog() {
    ui_unmanage(W_MDM_DIALOG);
}

std::string current_option() {
    if (mdm_info.window != MW_ASYNC || mdm_info.opt_menu_id == 0)
        return mdm_info.org_mdm_typ_prm;
    return page_read(mdm_info.opt_menu_id, PR_OPTION);
}

void after_change(bool changed) {
    close_dialog();
    if (mdm_info.window == MW_ASYNC)
        dsp_mdm_opt(current_option());
    else if (changed)
        mdm_info.port_form_edited = 1;
}

void apply_ok(const std::string& name, const MdmTexts& texts, bool defaults) {
    bool dial = mdm_info.window == MW_BASIC_DIAL;
    ModemDef* cfg = chk_mdm_list(mdm_info.cfg_list, name);
    ModemDef* inc = chk_mdm_list(mdm_info.db_list, name);
    bool changed = false;
    if (defaults) {
        changed = del_mdm_node(mdm_info.cfg_list, name) != 0;
    } else if (cfg) {
        changed = chk_upd_mdm_strs(cfg, texts) != 0;
    } else if (inc) {
        if (chk_mdm_strs(*inc, texts)) {
            ModemDef copy = *inc;
            copy.comment.clear();
            chk_upd_mdm_strs(&copy, texts);
            mdm_info.cfg_list.push_back(copy);
            changed = true;
        }
    } else if (name.empty() || name == MDM_UNDEFINED) {
        display_warn(dlg_parent, "A valid modem name was not specified, no changes were made.");
    } else {
        ModemDef d = crt_mdm_node_def(dial, name);
        chk_upd_mdm_strs(&d, texts);
        mdm_info.cfg_list.push_back(d);
        changed = true;
    }
    if (changed)
        mdm_info.cfg_fil_upd_flag = 1;
    after_change(changed);
}

void remove_confirmed(const std::string& name) {
    ModemDef* cfg = chk_mdm_list(mdm_info.cfg_list, name);
    bool inc = chk_mdm_list(mdm_info.db_list, name) != nullptr;
    if (!cfg && !inc) {
        display_warn(dlg_parent, "An existing modem name must be specified.");
        return;
    }
    if (!cfg) {
        display_warn(dlg_parent, "The modem definition exists only in an include file and is "
                                 "therefore\nconsidered a default - it cannot be removed.");
        return;
    }
    del_mdm_node(mdm_info.cfg_list, name);
    if (inc)
        display_warn(dlg_parent, "The modem definition will be removed from the Morix "
                                 "configuration file,\nbut an include file entry (default) still "
                                 "exists.");
    mdm_info.cfg_fil_upd_flag = 1;
    std::string cur = current_option();
    if (cur == name)
        mdm_info.port_form_edited = 1;
    close_dialog();
    dsp_mdm_opt(cur == name ? MDM_UNDEFINED : cur);
}

} // namespace

int mdm_cfg_allow_edit(int) {
    mdm_info.edit_reason.clear();
    mdm_info.edit_allowed = edit_conf_allowed_noquery(&mdm_info.edit_reason);
    return mdm_info.edit_allowed;
}

int mdm_edit_act(const MdmEditOpen& open) {
    dlg_parent = open.parent;
    if (mdm_cfg_allow_edit(open.parent) != EDIT_ALLOWED) {
        if (ask_user(open.parent, "Confirmation", "OK", "Cancel", 0,
                     reason_text() +
                         "The changes will not be saved.\n\nDo you want to continue?") != ASK_OK)
            return 0;
    } else if (open.cfg_typed != open.cfg_applied) {
        if (ask_user(open.parent, "Confirmation", "OK", "Cancel", 0,
                     "You changed the configuration file name from\n<" + open.cfg_applied +
                         "> to <" + open.cfg_typed +
                         "> in the General window\nand did not press 'Apply'.\nIf you make "
                         "changes in the Edit Modem window\nand press 'OK', your changes will be "
                         "made in\nthe <" +
                         open.cfg_applied + "> file.\n\nDo you want to continue?") != ASK_OK)
            return 0;
    }
    ui_fetch_dialog("edit_modem_dialog", W_MDM_DIALOG);
    std::string name = open.name;
    if (name == MDM_UNDEFINED || name == " ") {
        name.clear();
        display_warn(open.parent, "A default modem definition will be used.");
    }
    ui_set_text(W_MDM_NAME_TF, name);
    ui_set_read_only(W_MDM_NAME_TF, mdm_info.window == MW_BASIC_DIAL);
    ui_set_toggle(W_MDM_DEFS_TB, false, false);
    set_texts_read_only(false);
    const ModemDef* d = chk_mdm_list(mdm_info.cfg_list, name);
    if (!d)
        d = chk_mdm_list(mdm_info.db_list, name);
    show_texts(d ? mdm_edit_texts(*d) : mdm_edit_texts(crt_mdm_node_def(false, name)));
    ui_manage(W_MDM_DIALOG);
    return 1;
}

void mdm_rvrt_defs_act(const MdmDialogRequest& req) {
    if (!req.defaults) {
        set_texts_read_only(false);
        return;
    }
    std::string name = typed_name(req);
    const ModemDef* inc = chk_mdm_list(mdm_info.db_list, name);
    if (!inc) {
        display_warn(dlg_parent, "There are no defaults for this modem.");
        ui_set_toggle(W_MDM_DEFS_TB, false, false);
        return;
    }
    show_texts(mdm_edit_texts(*inc));
    if (chk_mdm_list(mdm_info.cfg_list, name)) {
        set_texts_read_only(true);
    } else {
        display_warn(dlg_parent, "The displayed string values are the defaults.");
        ui_set_toggle(W_MDM_DEFS_TB, false, false);
    }
}

void mdm_edit_ok(const MdmDialogRequest& req) {
    if (mdm_info.edit_allowed != EDIT_ALLOWED) {
        close_dialog();
        display_warn(dlg_parent, reason_text() + "The changes have not been saved.");
        return;
    }
    apply_ok(typed_name(req), typed_texts(req), req.defaults);
}

void mdm_remove_act(const MdmDialogRequest& req) {
    std::string name = typed_name(req);
    if (name.empty()) {
        display_warn(dlg_parent, "You must enter a modem name.");
        return;
    }
    if (ask_user(dlg_parent, "Confirmation", "OK", "Cancel", 0,
                 "The modem will be removed from the Morix's configuration file.\n\nDo you want "
                 "to continue?") != ASK_OK)
        return;
    if (mdm_info.edit_allowed != EDIT_ALLOWED) {
        close_dialog();
        display_warn(dlg_parent, reason_text() + "The changes have not been saved.");
        return;
    }
    remove_confirmed(name);
}

void mdm_dialog_cancel() {
    close_dialog();
}

int mdm_dialog_id(int i) {
    return i >= 0 && i < 3 ? text_ids[i] : 0;
}

int mdm_put_values(const std::string& name,
                   const std::vector<std::pair<int, std::string>>& values) {
    ModemDef* cfg = chk_mdm_list(mdm_info.cfg_list, name);
    const ModemDef* inc = chk_mdm_list(mdm_info.db_list, name);
    ModemDef d = cfg ? *cfg : inc ? *inc : crt_mdm_node_def(false, name);
    if (!cfg && inc)
        d.comment.clear();
    for (const auto& v : values)
        if (v.first > KW_TYPE_OF_MODEM && v.first < KW_END)
            d.values[v.first] = v.second.substr(0, MDM_VALUE_MAX);
    const ModemDef* was = cfg ? cfg : inc;
    if (was && was->values == d.values)
        return 0;
    if (cfg)
        *cfg = d;
    else
        mdm_info.cfg_list.push_back(d);
    mdm_info.cfg_fil_upd_flag = 1;
    return 1;
}
