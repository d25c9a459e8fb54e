#include "snmp_access/morix_record.h"

std::array<MorixRecord*, MAX_MRX_SLOTS> host_info_list{};
std::array<MorixRecord*, MAX_MRX_SLOTS> host_disc_list{};

void free_prm_list(MorixRecord* rec) {
    if (!rec)
        return;
    ParamNode* n = rec->prm_list;
    while (n) {
        ParamNode* next = n->next;
        delete n;
        n = next;
    }
    rec->prm_list = nullptr;
    rec->prm_count = 0;
}

void free_host_node(MorixRecord* rec) {
    if (!rec)
        return;
    free_prm_list(rec);
    delete rec;
}

void free_host_info_list(std::array<MorixRecord*, MAX_MRX_SLOTS>& list) {
    for (MorixRecord*& r : list) {
        free_host_node(r);
        r = nullptr;
    }
}
