#include "frame/gui_init.h"
#include "frame/window_readers.h"
#include "snmp_access/session.h"

#include "catalogue/func_catalogue.h"
#include "catalogue/func_display.h"
#include "catalogue/mib_catalogue.h"
#include "frame/control_windows.h"
#include "frame/func_lists.h"
#include "ops/control.h"
#include "snmp_access/morix_record.h"
#include "ui/app_globals.h"
#include "ui/diag.h"
#include "ui/ui.h"

namespace {

void dump_text(std::FILE* out, const char* label, const std::string& value) {
    std::fprintf(out, "  %s : \t%s\n", label, value.c_str());
}

void dump_num(std::FILE* out, const char* label, int value) {
    std::fprintf(out, "  %s : \t%d\n", label, value);
}

} // namespace

void dump_mib_catalogue(std::FILE* out) {
    std::fprintf(out, "\n\n");
    for (int id = 0; id < MAX_MIB_VARS; ++id) {
        const MibVarEntry* e = mib_var(id);
        if (!e)
            continue;
        std::fprintf(out, "\n%s %d\n", "MIB_VAR_ID", id);
        dump_text(out, "Morix Parameter", e->name);
        dump_text(out, "OID String", e->oid_str);
        dump_text(out, "OID Number", e->oid_num);
        dump_num(out, "Data Type", e->data_type);
        dump_num(out, "Write Type", e->write_type);
        dump_num(out, "Port Type", e->port_class);
        dump_num(out, "Instance Type", e->inst_type);
        dump_num(out, "Enumeration Id", e->enum_id);
        dump_text(out, "Morix Manager Default Value", e->def_val);
        dump_text(out, "Site Default Value", e->site_def_val);
        dump_num(out, "Internal Code", e->internal_code);
        dump_num(out, "Reset Map Index", e->reset_map_idx);
    }
    for (int en = 0; en < MAX_MIB_ENUMS; ++en) {
        if (mib_enum_list[en].empty())
            continue;
        std::fprintf(out, "\n\n");
        for (const EnumEntry& e : mib_enum_list[en])
            std::fprintf(out, "Enum Var %d:  Value(%d),  String(%s)\n", en, e.value,
                         e.text.c_str());
    }
    std::fflush(out);
}

int gui_init() {
    register_window_readers();
    if (read_mib_info("data/gui_mm_data") != 0)
        return -4;
    if (read_hotspot_info("data/help") != 0)
        return -4;
    if (debug_flag)
        dump_mib_catalogue(diag_stream());
    if (read_func_info("data/gui_mm_data") != 0) {
        diag_printf("\n\n%s\n\n", "Unable to read parameter group information from data file.");
        return -4;
    }
    display_mgmt_func_main(FG_STANDARD);
    ui_list_deselect_all(W_FUNC_LIST);
    main_prm_lst_w = W_CHOICE_STD_GROUPS;
    ui_set_toggle(W_AUTO_RESET_TB, g_confirm_auto_reset != 0, false);
    free_host_info_list(session().devices());
    free_host_info_list(host_disc_list);
    session().snmp_defaults().timeout_secs = 3;
    session().snmp_defaults().retries = 2;
    session().snmp_defaults().community = "vantor";
    register_reset_command();
    return 0;
}
