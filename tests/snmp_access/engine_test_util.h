// Catalogue and records shared by the request engine tests.
#pragma once

#include <cstdlib>

#include "snmp_access/snmp_engine.h"
#include "snmp_test_util.h"
#include "support/netns.h"
#include "ui/app_globals.h"

enum EngineVar {
    V_SYS_DESCR = 10,
    V_SYS_OBJECT_ID,
    V_SYS_UP_TIME,
    V_SYS_CONTACT,
    V_SYS_NAME,
    V_SYS_LOCATION,
    V_IF_INDEX,
    V_BOGUS,
    V_NET_ADDR,
    V_IF_DESCR
};

inline void put_engine_catalogue() {
    put_var({V_SYS_DESCR, "sysDescr", "1.3.6.1.2.1.1.1", 2});
    put_var({V_SYS_OBJECT_ID, "sysObjectID", "1.3.6.1.2.1.1.2", 1});
    put_var({V_SYS_UP_TIME, "sysUpTime", "1.3.6.1.2.1.1.3", 8});
    put_var({V_SYS_CONTACT, "sysContact", "1.3.6.1.2.1.1.4", 2});
    put_var({V_SYS_NAME, "sysName", "1.3.6.1.2.1.1.5", 2});
    put_var({V_SYS_LOCATION, "sysLocation", "1.3.6.1.2.1.1.6", 2});
    put_var({V_IF_INDEX, "ifIndex", "1.3.6.1.2.1.2.2.1.1", 3});
    put_var({V_BOGUS, "bogus", "1.3.6.1.4.1.32473.99.1", 3});
    put_var({V_NET_ADDR, "netAddr", "1.3.6.1.2.1.1.6", 4});
    put_var({V_IF_DESCR, "ifDescr", "1.3.6.1.2.1.2.2.1.2", 2});
}

inline void set_peer(MorixRecord* rec, const std::string& name, const std::string& community,
                     int timeout_ms = 500, int retries = 1) {
    rec->name = name;
    rec->community = community;
    rec->timeout = timeout_ms * 1000;
    rec->retries = retries;
}

inline void add_vars(MorixRecord* rec, const std::vector<std::pair<int, int>>& id_inst,
                     const char* value = "") {
    for (const auto& [id, inst] : id_inst)
        add_prm_node(rec, id, 0, 0, inst, "", value, 0);
}

inline std::vector<const ParamNode*> node_list(const MorixRecord* rec) {
    std::vector<const ParamNode*> v;
    for (const ParamNode* n = rec->prm_list; n; n = n->next)
        v.push_back(n);
    return v;
}

// The fixture of every engine test: a clean catalogue, device list and UI,
// and one record to send.
class EngineTest : public SnmpAccessTest {
  protected:
    long sent_since(long before) const { return g_snmp_requests_sent - before; }
    RecordHolder r;
};
