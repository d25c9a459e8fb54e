#include "catalogue/func_display.h"

#include <vector>

#include "catalogue/func_catalogue.h"
#include "catalogue/mib_catalogue.h"
#include "ui/ui.h"
#include "ui/window_state.h"

int param_sel_flag = 0;
int fnc_sel_ind = 0;
int main_prm_lst_w = W_CHOICE_STD_GROUPS;
int g_cmp_dev_mode = 0;
int g_cpy_copy_mode = 0;
int last_hotspot = -1;

namespace {

// Fills list_id with names, each inserted at its alphabetical place.
std::vector<std::string> fill_sorted(int list_id, const std::vector<std::string>& names) {
    std::vector<std::string> items;
    items.reserve(names.size());
    for (const std::string& n : names)
        items.insert(items.begin() + get_alpha_pos(items, n), n);
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
    std::vector<std::string> names;
    if (group >= 0 && group < MAX_FUNC_GROUPS) {
        for (int fid : mib_grp_list[group]) {
            int idx = find_func_by_id(fid);
            if (idx >= 0)
                names.push_back(mib_func_list[idx]->name);
        }
    }
    return fill_sorted(list_id, names);
}

void display_mgmt_prm(int list_id, int port_type) {
    std::vector<std::string> names;
    for (int id = 0; id < MAX_MIB_VARS; ++id) {
        const MibVarEntry* e = mib_var(id);
        if (!e || e->internal_code == MIC_INTERNAL || e->write_type == MWT_READ_ONLY)
            continue;
        if (prm_fits_port_type(e->port_class, port_type))
            names.push_back(e->name);
    }
    fill_sorted(list_id, names);
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
    std::vector<std::string> sel = main_selection().params;
    std::string text = "<nothing selected>";
    if (!sel.empty())
        text = sel[0] + (sel.size() > 1 ? ", ..." : "");
    if (window == W_CMP_FORM && g_cmp_dev_mode)
        set_widget_label(W_CMP_ACT_HLP_LBL, text);
    else if (window == W_CPY_FORM && g_cpy_copy_mode)
        set_widget_label(W_CPY_ACT_HLP_LBL, text);
}

void set_hotspot(int number) {
    if (number == last_hotspot)
        return;
    if (number >= 0 && number < MAX_HOTSPOTS && hotspot_data_list[number].present &&
        hotspot_data_list[number].target != 0) {
        const HotspotEntry& e = hotspot_data_list[number];
        ui_set_text(e.target, e.text, UI_BASIC);
        last_hotspot = number;
        return;
    }
    if (last_hotspot >= 0 && hotspot_data_list[last_hotspot].present &&
        hotspot_data_list[last_hotspot].target != 0)
        ui_set_text(hotspot_data_list[last_hotspot].target, "", UI_BASIC);
    last_hotspot = number;
}

void clear_hotspot(int form) {
    static const int forms[][2] = {{BW_SETUP_FORM, BW_HOTSPOT_SETUP},
                                   {BW_GEN_CONT_FORM, BW_GEN_CONT_HOTSPOT},
                                   {BW_ADD_FORM, BW_A_APORT_HOTSPOT}};

    for (const auto& f : forms) {
        if (f[0] == form) {
            ui_set_text(f[1], "", UI_BASIC);
            return;
        }
    }
}
