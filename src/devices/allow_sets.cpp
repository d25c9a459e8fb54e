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

int will_sel_mrx_allow_set() {
    // The selected reachable devices are asked side by side.
    std::vector<SnmpTask> tasks;
    for (MorixRecord* r : host_info_list) {
        if (!r)
            break;
        if (!r->selected || !r->reachable)
            continue;
        if (!settable_request(r)) {
            for (SnmpTask& t : tasks)
                free_prm_list(t.rec);
            return 0;
        }
        tasks.emplace_back();
        tasks.back().rec = r;
        tasks.back().op = SNMP_OP_GET;
    }
    mm_snmp_many(tasks, "");
    int all = 1;
    for (SnmpTask& t : tasks) {
        settable_take(t.rec);
        all = all && t.rec->allow_set;
    }
    return all;
}
