#include "devices/allow_sets.h"

#include <cstdio>
#include <optional>

#include "catalogue/mib_catalogue.h"
#include "snmp_access/snmp_engine.h"

int are_parameters_settable(MorixRecord* rec) {
    int id = 0;
    if (!get_check_mib_var("mrxAllowSets", &id)) {
        std::fprintf(stderr, "Could not get mib_var_id");
        return 0;
    }
    // Any failure leaves the device presumed settable.
    std::optional<std::string> value = get_mrx_prm_val_str(rec, "mrxAllowSets");
    rec->allow_set = value && *value == "2" ? 0 : 1;
    return rec->allow_set;
}

int will_sel_mrx_allow_set() {
    int all = 1;
    for (MorixRecord* r : host_info_list) {
        if (!r)
            break;
        if (r->selected && r->reachable && !are_parameters_settable(r))
            all = 0;
    }
    return all;
}
