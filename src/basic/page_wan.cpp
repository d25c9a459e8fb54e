// WAN module list and WAN edit: the modules of the selected devices, and the
// settings of the chosen modules with the telco protocol deciding which
// fields apply.
#include <cstdio>
#include <sstream>

#include "basic/basic_page.h"
#include "catalogue/mib_catalogue.h"
#include "snmp_access/morix_record.h"
#include "snmp_access/session.h"
#include "ui/diag.h"

namespace {

enum {
    WE_SWITCH,
    WE_FDL,
    WE_BUILDOUT,
    WE_LINE_TYPE,
    WE_CODING,
    WE_DNIS,
    WE_SIGPROTO,
    WE_RING,
    WE_ANI
};

// The module column: the switch type, or what the module type says.
std::string module_text(const MorixRecord* r, int k) {
    int type = k < static_cast<int>(r->wan_module_type.size()) ? r->wan_module_type[k] : 0;
    int id = -1;
    std::string name;
    if (get_check_mib_var("mrxt1PRIModuleType", &id) &&
        !cvt_enum_num_str(id, std::to_string(type), &name))
        return "Unknown";
    if (name == "T1_Channelized")
        return name;
    std::string sw;
    if (!get_prm_val(r, "mrxt1SwitchType", r->wan_if_index[k], "", &sw, nullptr) || sw.empty())
        return "unknown";
    return sw;
}

int wan_read(BasicPage& p) {
    wan_chosen.clear();
    for (int d : basic_devices())
        for (int k = 0; k < session().devices()[d]->wan_count &&
                        k < static_cast<int>(session().devices()[d]->wan_if_index.size());
             ++k)
            wan_chosen.push_back({d, k});
    get_values_from_mrx(*p.vars, 0);
    p.view.rows.clear();
    p.view.chosen.clear();
    for (const WanChoice& c : wan_chosen) {
        const MorixRecord* r = session().devices()[c.mrx_pos];
        char row[128];
        std::snprintf(row, sizeof row, "%-25.25s%-30d%-45.45s", r->name.c_str(), c.module + 1,
                      module_text(r, c.module).c_str());
        p.view.rows.push_back(row);
    }
    free_basic_chains();
    wan_chosen.clear();
    return 1;
}

const char* const isdn_switches[] = {
    "5ESS(T1_ISDN)", "DMS-100(T1_ISDN)",      "4ESS(T1_ISDN)",     "NI-2(T1_ISDN)",     "Japan_NTT",
    "ETS1(E1_ISDN)", "ETS1(w/o_CRC4)E1_ISDN", "Australia(E1_PRI)", "Singapore(E1_ISDN)"};

} // namespace

// 3 all chosen modules ISDN, 2 none, 1 a mix, 0 no module chosen.
int determine_protocol() {
    int isdn = 0, other = 0;
    for (const std::string& row : wan_chosen_rows()) {
        std::istringstream in(row);
        std::string name, module, sw;
        in >> name >> module >> sw;
        bool is_isdn = false;
        for (const char* s : isdn_switches)
            is_isdn |= sw == s;
        (is_isdn ? isdn : other)++;
    }
    if (isdn + other == 0) {
        diag_printf("There was an error determining the Telco Protocol\n");
        return 0;
    }
    return other == 0 ? 3 : isdn == 0 ? 2 : 1;
}

namespace {

void wan_edit_populated(BasicPage& p) {
    int proto = determine_protocol();
    for (size_t i = 0; i < p.fields.size(); ++i) {
        bool line = i <= WE_CODING;
        gray_out_widget(p.fields[i].widget, proto > 0 && (line || proto == 2));
    }
    if (proto == 2)
        check_sigproto_validity(p.saved[WE_SIGPROTO].number);
}

int wan_edit_check(BasicPage& p) {
    if (p.saved[WE_SWITCH].changed)
        page_warn("The Morixes you selected need to be rebooted for changes to take effect.");
    return 0;
}

} // namespace

BasicPage page_wan = {"wan",
                      "Wan Module Edit",
                      CAT_WAN,
                      BW_PG_WAN,
                      BW_SETUP_FORM,
                      19,
                      "stdWanMod1.wh",
                      EF_WAN,
                      &wan_module_vars,
                      {},
                      PS_DEVICE,
                      0,
                      {wan_read}};

BasicPage page_wan_edit = {
    "wan-edit",
    "Wan Module Edit",
    0,
    BW_WAN_EDIT_FORM,
    BW_WAN_EDIT_FORM,
    622,
    "stdWanMod2.wh",
    EF_WAN_EDIT,
    &wan_edit_conf_vars,
    {{"switch-type", "Switch Type", BW_PG_WAN_EDIT_SWITCH_TYPE_F, FK_OPTION},
     {"fdl", "FDL", BW_PG_WAN_EDIT_FDL_F, FK_OPTION},
     {"line-buildout", "Line Buildout", BW_PG_WAN_EDIT_LINE_BUILDOUT_F, FK_OPTION},
     {"line-type", "Line Type", BW_PG_WAN_EDIT_LINE_TYPE_F, FK_OPTION},
     {"line-coding", "Line Coding", BW_PG_WAN_EDIT_LINE_CODING_F, FK_OPTION},
     {"dnis", "DNIS Provisioning", BW_WAN_DNIS, FK_TEXT, 0, 7,
      "DNIS Provisioning must be an integer between 0 and 7.", FF_RANGE_ONLY},
     {"signalling", "Signalling Protocol", BW_WAN_SIGPROTO, FK_OPTION},
     {"ring", "Ring", BW_PG_WAN_EDIT_RING_F, FK_OPTION},
     {"ani", "ANI Provisioning", BW_WAN_ANI, FK_TEXT, 0, 255,
      "ANI Provisioning must be an integer between 0 and 255.", FF_RANGE_ONLY}},
    PS_WAN,
    0,
    {nullptr, wan_edit_populated, wan_edit_check}};
