#include "catalogue/func_display.h"

#include <vector>

#include "catalogue/func_catalogue.h"
#include "catalogue/mib_catalogue.h"

int param_sel_flag = 0;
int fnc_sel_ind = 0;
int main_prm_lst_w = W_CHOICE_STD_GROUPS;

namespace {

std::vector<std::string> sorted(const std::vector<std::string>& names) {
    std::vector<std::string> items;
    items.reserve(names.size());
    for (const std::string& n : names)
        items.insert(items.begin() + get_alpha_pos(items, n), n);
    return items;
}

} // namespace

std::vector<std::string> mgmt_func_names(int group) {
    std::vector<std::string> names;
    if (group >= 0 && group < MAX_FUNC_GROUPS) {
        for (int fid : mib_grp_list[group]) {
            int idx = find_func_by_id(fid);
            if (idx >= 0)
                names.push_back(mib_func_list[idx]->name);
        }
    }
    return sorted(names);
}

std::vector<std::string> mgmt_prm_names(int port_type) {
    std::vector<std::string> names;
    for (int id = 0; id < MAX_MIB_VARS; ++id) {
        const MibVarEntry* e = mib_var(id);
        if (!e || e->internal_code == MIC_INTERNAL || e->write_type == MWT_READ_ONLY)
            continue;
        if (prm_fits_port_type(e->port_class, port_type))
            names.push_back(e->name);
    }
    return sorted(names);
}

std::string act_hlp_text(const std::vector<std::string>& selected) {
    if (selected.empty())
        return "<nothing selected>";
    return selected[0] + (selected.size() > 1 ? ", ..." : "");
}

const HotspotEntry* hotspot_help(int number) {
    if (number < 0 || number >= MAX_HOTSPOTS)
        return nullptr;
    const HotspotEntry& e = hotspot_data_list[number];
    return e.present && e.target != 0 ? &e : nullptr;
}

int hotspot_area(int form) {
    static const int forms[][2] = {{BW_SETUP_FORM, BW_HOTSPOT_SETUP},
                                   {BW_GEN_CONT_FORM, BW_GEN_CONT_HOTSPOT},
                                   {BW_ADD_FORM, BW_A_APORT_HOTSPOT}};
    for (const auto& f : forms)
        if (f[0] == form)
            return f[1];
    return 0;
}
