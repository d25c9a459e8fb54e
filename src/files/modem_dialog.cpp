// The Edit Modem dialog's commands: each returns what the dialog and its
// window show afterwards (modem_view.h); the frame renders it.
#include "files/modem_dialog.h"

#include "files/edit_conf.h"
#include "files/modem_info.h"
#include "ui/progress.h"

namespace {

int dlg_parent = W_MAIN_WINDOW;

std::string reason_text() {
    return "Configuration file cannot be edited,\n" + mdm_info.edit_reason + "\n";
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

// An outcome over the dialog's window; close: the dialog goes.
MdmOutcome dialog_outcome(bool close = false) {
    MdmOutcome mo;
    mo.parent = dlg_parent;
    if (close)
        mo.dialog.show = MdmDialogShow::close;
    return mo;
}

void warn(MdmOutcome* mo, const std::string& text, Result result = Result::failed) {
    mo->outcome.warnings.push_back(text);
    mo->outcome.result = result;
}

// The window's current modem name: the async menu's choice, else the name
// the window was loaded with.
std::string current_option(const MdmDialogRequest& req) {
    if (mdm_info.window != MW_ASYNC || mdm_info.opt_menu_id == 0)
        return mdm_info.org_mdm_typ_prm;
    return req.menu_choice;
}

void after_change(MdmOutcome* mo, const MdmDialogRequest& req, bool changed) {
    mo->dialog.show = MdmDialogShow::close;
    if (mdm_info.window == MW_ASYNC)
        mo->menu = current_option(req);
    else if (changed)
        mdm_info.port_form_edited = 1;
}

MdmOutcome apply_ok(const MdmDialogRequest& req) {
    MdmOutcome mo = dialog_outcome();
    const std::string name = typed_name(req);
    const MdmTexts texts = typed_texts(req);
    bool dial = mdm_info.window == MW_BASIC_DIAL;
    ModemDef* cfg = chk_mdm_list(mdm_info.cfg_list, name);
    ModemDef* inc = chk_mdm_list(mdm_info.db_list, name);
    bool changed = false;
    if (req.defaults) {
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
        warn(&mo, "A valid modem name was not specified, no changes were made.", Result::refused);
    } else {
        ModemDef d = crt_mdm_node_def(dial, name);
        chk_upd_mdm_strs(&d, texts);
        mdm_info.cfg_list.push_back(d);
        changed = true;
    }
    if (changed)
        mdm_info.cfg_fil_upd_flag = 1;
    after_change(&mo, req, changed);
    return mo;
}

MdmOutcome remove_confirmed(const MdmDialogRequest& req) {
    MdmOutcome mo = dialog_outcome();
    const std::string name = typed_name(req);
    ModemDef* cfg = chk_mdm_list(mdm_info.cfg_list, name);
    bool inc = chk_mdm_list(mdm_info.db_list, name) != nullptr;
    if (!cfg && !inc) {
        warn(&mo, "An existing modem name must be specified.", Result::refused);
        return mo;
    }
    if (!cfg) {
        warn(&mo,
             "The modem definition exists only in an include file and is therefore\nconsidered a "
             "default - it cannot be removed.",
             Result::refused);
        return mo;
    }
    del_mdm_node(mdm_info.cfg_list, name);
    if (inc)
        mo.outcome.warnings.push_back("The modem definition will be removed from the Morix "
                                      "configuration file,\nbut an include file entry (default) "
                                      "still exists.");
    mdm_info.cfg_fil_upd_flag = 1;
    std::string cur = current_option(req);
    if (cur == name)
        mdm_info.port_form_edited = 1;
    mo.dialog.show = MdmDialogShow::close;
    if (mdm_info.window == MW_ASYNC && mdm_info.opt_menu_id != 0)
        mo.menu = cur == name ? MDM_UNDEFINED : cur;
    return mo;
}

// The refusal of a dialog that was opened although editing is not allowed.
MdmOutcome not_saved() {
    MdmOutcome mo = dialog_outcome(true);
    warn(&mo, reason_text() + "The changes have not been saved.", Result::refused);
    return mo;
}

} // namespace

int mdm_cfg_allow_edit(int) {
    mdm_info.edit_reason.clear();
    mdm_info.edit_allowed = edit_conf_allowed_noquery(&mdm_info.edit_reason);
    return mdm_info.edit_allowed;
}

MdmOutcome mdm_edit_open(const MdmEditOpen& open, Asker& asker) {
    dlg_parent = open.parent;
    MdmOutcome mo = dialog_outcome();
    auto declined = [&mo]() {
        mo.outcome.result = Result::cancelled;
        return mo;
    };
    if (mdm_cfg_allow_edit(open.parent) != EDIT_ALLOWED) {
        if (!asker.ask({"Confirmation", reason_text() +
                                            "The changes will not be saved.\n\nDo you want to "
                                            "continue?"}))
            return declined();
    } else if (open.cfg_typed != open.cfg_applied) {
        if (!asker.ask({"Confirmation",
                        "You changed the configuration file name from\n<" + open.cfg_applied +
                            "> to <" + open.cfg_typed +
                            "> in the General window\nand did not press 'Apply'.\nIf you make "
                            "changes in the Edit Modem window\nand press 'OK', your changes will "
                            "be made in\nthe <" +
                            open.cfg_applied + "> file.\n\nDo you want to continue?"}))
            return declined();
    }
    std::string name = open.name;
    if (name == MDM_UNDEFINED || name == " ") {
        name.clear();
        mo.outcome.warnings.push_back("A default modem definition will be used.");
    }
    MdmDialogView& v = mo.dialog;
    v.show = MdmDialogShow::open;
    v.name = name;
    v.name_read_only = mdm_info.window == MW_BASIC_DIAL;
    v.defaults = false;
    v.texts_read_only = false;
    const ModemDef* d = chk_mdm_list(mdm_info.cfg_list, name);
    if (!d)
        d = chk_mdm_list(mdm_info.db_list, name);
    v.texts = d ? mdm_edit_texts(*d) : mdm_edit_texts(crt_mdm_node_def(false, name));
    return mo;
}

int mdm_edit_act(const MdmEditOpen& open) {
    set_question_parent(open.parent);
    MdmOutcome mo = mdm_edit_open(open, front_end_asker());
    set_question_parent(W_MAIN_WINDOW);
    mdm_render(mo);
    return mo.dialog.show == MdmDialogShow::open ? 1 : 0;
}

MdmOutcome mdm_rvrt_defs(const MdmDialogRequest& req) {
    MdmOutcome mo = dialog_outcome();
    if (!req.defaults) {
        mo.dialog.texts_read_only = false;
        return mo;
    }
    std::string name = typed_name(req);
    const ModemDef* inc = chk_mdm_list(mdm_info.db_list, name);
    if (!inc) {
        warn(&mo, "There are no defaults for this modem.", Result::refused);
        mo.dialog.defaults = false;
        return mo;
    }
    mo.dialog.texts = mdm_edit_texts(*inc);
    if (chk_mdm_list(mdm_info.cfg_list, name)) {
        mo.dialog.texts_read_only = true;
    } else {
        warn(&mo, "The displayed string values are the defaults.", Result::refused);
        mo.dialog.defaults = false;
    }
    return mo;
}

MdmOutcome mdm_edit_ok(const MdmDialogRequest& req) {
    if (mdm_info.edit_allowed != EDIT_ALLOWED)
        return not_saved();
    return apply_ok(req);
}

MdmOutcome mdm_remove(const MdmDialogRequest& req, Asker& asker) {
    MdmOutcome mo = dialog_outcome();
    if (typed_name(req).empty()) {
        warn(&mo, "You must enter a modem name.", Result::refused);
        return mo;
    }
    if (!asker.ask({"Confirmation", "The modem will be removed from the Morix's configuration "
                                    "file.\n\nDo you want to continue?"})) {
        mo.outcome.result = Result::cancelled;
        return mo;
    }
    if (mdm_info.edit_allowed != EDIT_ALLOWED)
        return not_saved();
    return remove_confirmed(req);
}

MdmOutcome mdm_dialog_cancel() {
    return dialog_outcome(true);
}

int mdm_dialog_parent() {
    return dlg_parent;
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
