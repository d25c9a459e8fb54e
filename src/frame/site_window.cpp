// The Site Parameters window: the parameter list of a port-type choice, the
// selected variable with its catalogue default, an editor of its site
// default (a text field, or a menu of an enumeration's values), Modify and
// Remove.
#include "catalogue/mib_catalogue.h"
#include "frame/commands.h"
#include "frame/func_lists.h"
#include "frame/render.h"
#include "ops/site_prm.h"
#include "ui/ui.h"

namespace {

const int site_choice_ids[] = {W_SITE_PRM_MORIX_TB,         W_SITE_PRM_ASYNC_TB,
                               W_SITE_PRM_SYNC_TB,          W_SITE_PRM_PRINTER_TB,
                               W_SITE_PRM_ETHERNET_TB,      W_SITE_PRM_CHANNELS_TB,
                               W_SITE_PRM_WAN_INTERFACE_TB, W_SITE_PRM_WAN_CHANNEL_TB};

int cur_choice = W_SITE_PRM_MORIX_TB;
int site_sel_id = -1; // catalogue id of the variable being edited, -1 none

bool is_enumerated(const MibVarEntry* e) {
    return e->enum_id >= 0 && e->enum_id < MAX_MIB_ENUMS;
}

// Takes the value editor away and shows that nothing is selected.
void clear_value_area() {
    ui_set_text(W_SITE_DEF_VAL_TF, "");
    ui_unmanage(W_SITE_DEF_VAL_TF);
    ui_set_option_items(W_SITE_DEF_VAL_OM, {});
    ui_unmanage(W_SITE_DEF_VAL_OM);
    site_sel_id = -1;
    set_widget_label(W_SITE_NAME_LBL, "<nothing selected>");
    set_widget_label(W_SITE_CAT_DEF_LBL, "");
    ui_set_sensitive(W_SITE_MODIFY, false);
    ui_set_sensitive(W_SITE_REMOVE, false);
}

void build_editor(int id) {
    const MibVarEntry* e = mib_var(id);
    if (!is_enumerated(e)) {
        ui_set_text(W_SITE_DEF_VAL_TF, e->has_site_def ? e->site_def_val : "");
        ui_manage(W_SITE_DEF_VAL_TF);
        set_focus(W_SITE_DEF_VAL_TF);
        return;
    }
    // Shown first, so that the menu takes the size of its new buttons.
    ui_manage(W_SITE_DEF_VAL_OM);
    std::vector<std::string> labels;
    for (const EnumEntry& en : mib_enum_list[e->enum_id])
        labels.push_back(en.text);
    ui_set_option_items(W_SITE_DEF_VAL_OM, labels);
    std::string name;
    if (e->has_site_def && cvt_enum_num_str(id, e->site_def_val, &name) == 1)
        set_option_menu_top_button(W_SITE_DEF_VAL_OM, name);
    else
        set_om_blank(W_SITE_DEF_VAL_OM);
    set_focus(W_SITE_DEF_VAL_OM);
}

// Opens the window with the parameter list of the port-type choice
// choice_id (another id keeps the choice in force).
void open_site_window(int choice_id) {
    set_app_cursor(CURSOR_BUSY);
    if (site_choice_code(choice_id) >= 0)
        cur_choice = choice_id;
    display_mgmt_prm(W_SITE_PRM_LIST, site_choice_code(cur_choice));
    clear_value_area();
    gui_manage_top_form(W_SITE_FORM);
    set_app_cursor(CURSOR_NORMAL);
}

} // namespace

int cmd_site_open(int) {
    int choice = 0;
    for (int id : site_choice_ids)
        if (ui_get_toggle(id))
            choice = id;
    open_site_window(choice);
    return 1;
}

int cmd_site_choice(int id) {
    // The radio box reports the choice that was left as well.
    if (id != cur_choice && ui_get_toggle(id) && site_choice_code(id) >= 0)
        open_site_window(id);
    return 1;
}

// Modify or Remove of the selected parameter's default; the editor's
// option menu or text field as the operator left it.
int cmd_site_modify(int id) {
    SiteRequest req;
    req.id = site_sel_id;
    req.remove = id == W_SITE_REMOVE;
    const MibVarEntry* e = site_sel_id < 0 ? nullptr : mib_var(site_sel_id);
    if (e && !req.remove)
        req.value =
            is_enumerated(e) ? ui_get_option(W_SITE_DEF_VAL_OM) : ui_get_text(W_SITE_DEF_VAL_TF);
    Outcome o = site_default_exec(req);
    render_outcome(o, OutputArea{W_SITE_FORM});
    if (o.result != Result::done)
        return 1;
    ui_list_deselect_all(W_SITE_PRM_LIST);
    clear_value_area();
    set_focus(W_SITE_PRM_LIST);
    return 1;
}

// The selection of the list changed: the variable and its editor.
void cmd_site_selection() {
    std::vector<std::string> sel = ui_list_selected_items(W_SITE_PRM_LIST);
    clear_value_area();
    if (sel.empty())
        return;
    set_widget_label(W_SITE_NAME_LBL, sel[0]);
    int id = 0;
    if (get_check_mib_var(sel[0], &id) != 1)
        return;
    set_widget_label(W_SITE_CAT_DEF_LBL, mib_var(id)->def_val);
    build_editor(id);
    site_sel_id = id;
    ui_set_sensitive(W_SITE_MODIFY, true);
    ui_set_sensitive(W_SITE_REMOVE, true);
}
