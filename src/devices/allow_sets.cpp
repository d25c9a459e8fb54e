#include "devices/allow_sets.h"

#include <cstdio>

#include "catalogue/mib_catalogue.h"
#include "snmp_access/snmp_engine.h"

bool settable_request(MorixRecord* rec) {
    int id = 0;
    if (!get_check_mib_var("mrxAllowSets", &id)) {
        std::fprintf(stderr, "Could not get mib_var_id");
        return false;
    }
    free_prm_list(rec);
    add_prm_node(rec, id, 0, 0, 0, "", "", 0);
    return true;
}

void settable_take(MorixRecord* rec) {
    // Any failure leaves the device presumed settable.
    std::string value;
    bool got = rec->status == 0 && get_prm_val(rec, "mrxAllowSets", 0, "", &value, nullptr);
    rec->allow_set = got && value == "2" ? 0 : 1;
    free_prm_list(rec);
}

int are_parameters_settable(MorixRecord* rec) {
    if (!settable_request(rec))
        return 0;
    mm_snmp(rec, SNMP_OP_GET);
    settable_take(rec);
    return rec->allow_set;
}

void settable_many(const std::vector<MorixRecord*>& recs) {
    for (MorixRecord* r : recs) {
        if (!settable_request(r)) { // no such variable: none is taken as settable
            for (MorixRecord* x : recs) {
                free_prm_list(x);
                x->allow_set = 0;
            }
            return;
        }
    }
    mm_snmp_all(recs, SNMP_OP_GET, "");
    for (MorixRecord* r : recs)
        settable_take(r);
}

int will_sel_mrx_allow_set() {
    // The selected reachable devices are asked side by side.
    std::vector<MorixRecord*> recs;
    for (MorixRecord* r : host_info_list) {
        if (!r)
            break;
        if (is_selected(r) && r->reachable)
            recs.push_back(r);
    }
    int id = 0;
    if (!get_check_mib_var("mrxAllowSets", &id))
        return 0;
    settable_many(recs);
    int all = 1;
    for (MorixRecord* r : recs)
        all = all && r->allow_set;
    return all;
}
