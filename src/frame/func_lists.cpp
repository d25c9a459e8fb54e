#include "frame/func_lists.h"

#include "catalogue/func_catalogue.h"
#include "catalogue/func_display.h"
#include "ui/ui.h"
#include "ui/window_state.h"

int g_cmp_dev_mode = 0;
int g_cpy_copy_mode = 0;
int last_hotspot = -1;

namespace {

std::vector<std::string> fill(int list_id, const std::vector<std::string>& items) {
    ui_list_delete_all(list_id);
    for (const std::string& n : items)
        ui_list_add_item(list_id, n, 0);
    return items;
}

void refresh_act_hlp_labels() {
    if (window_open(W_CPY_FORM))
        update_act_hlp_label(W_CPY_FORM);
    if (window_open(W_CMP_FORM))
        update_act_hlp_label(W_CMP_FORM);
}

} // namespace

std::vector<std::string> display_mgmt_func(int list_id, int group) {
    return fill(list_id, mgmt_func_names(group));
}

void display_mgmt_prm(int list_id, int port_type) {
    fill(list_id, mgmt_prm_names(port_type));
}

std::vector<std::string> display_mgmt_func_main(int group) {
    param_sel_flag = 0;
    fnc_sel_ind = group;
    ui_list_set_policy(W_FUNC_LIST, LSP_SINGLE);
    std::vector<std::string> items = display_mgmt_func(W_FUNC_LIST, group);
    refresh_act_hlp_labels();
    return items;
}

void display_mgmt_prm_main(int port_type) {
    param_sel_flag = 1;
    ui_list_set_policy(W_FUNC_LIST, LSP_EXTENDED);
    display_mgmt_prm(W_FUNC_LIST, port_type);
    refresh_act_hlp_labels();
}

void update_act_hlp_label(int window) {
    std::string text = act_hlp_text(main_selection().params);
    if (window == W_CMP_FORM && g_cmp_dev_mode)
        set_widget_label(W_CMP_ACT_HLP_LBL, text);
    else if (window == W_CPY_FORM && g_cpy_copy_mode)
        set_widget_label(W_CPY_ACT_HLP_LBL, text);
}

void set_hotspot(int number) {
    if (number == last_hotspot)
        return;
    if (const HotspotEntry* e = hotspot_help(number)) {
        ui_set_text(e->target, e->text, UI_BASIC);
    } else if (const HotspotEntry* shown = hotspot_help(last_hotspot)) {
        ui_set_text(shown->target, "", UI_BASIC);
    }
    last_hotspot = number;
}

void clear_hotspot(int form) {
    if (int area = hotspot_area(form))
        ui_set_text(area, "", UI_BASIC);
}
