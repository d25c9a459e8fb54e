#include "devices/mrx_connect.h"

#include <arpa/inet.h>

#include <cstdlib>
#include <cstring>

#include "catalogue/mib_catalogue.h"
#include "devices/allow_sets.h"
#include "devices/mrx_bounds.h"
#include "devices/mrx_list.h"
#include "devices/mrx_probe.h"
#include "devices/mrx_texts.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/product_types.h"
#include "snmp_access/snmp_engine.h"
#include "ui/app_globals.h"
#include "ui/ui.h"

namespace {

const char* const k_stage1_vars[] = {"sysObjectID", "sysDescr", "swRevMajor", "swRevMinor"};
const char* const k_stage2_vars[] = {"sysDescr",
                                     "hwType",
                                     "compressionCardHwRev",
                                     "hwRev",
                                     "romRev",
                                     "totalPorts",
                                     "totalSyncPorts",
                                     "mrxpParaPorts",
                                     "mrxInetAddr",
                                     "ifPhysAddress",
                                     "bootHost",
                                     "imageName",
                                     "mrxSubnetMask",
                                     "mrxBcastAddr",
                                     "defaultDomain",
                                     "swOptions",
                                     "mrxt1Total",
                                     "macAddress",
                                     "totalmodems",
                                     "mrxt1TotChan",
                                     "mrxt1UnitId",
                                     "mrxt1PRIModuleType",
                                     "mrxConfigServer",
                                     "mdmId56kProprietaryCode",
                                     "mrxModulesDisabled"};
const char* const k_stage2_required[] = {"sysDescr", "hwType", "mrxInetAddr", "totalPorts"};

bool has_var(const char* name) {
    int id = 0;
    return get_check_mib_var(name, &id) == 1;
}

// Adds a variable with a numeric instance; a name the catalogue lacks is
// left out of the request.
void add_var(MorixRecord* rec, const char* name, int instance) {
    int id = 0;
    if (get_check_mib_var(name, &id))
        add_prm_node(rec, id, 0, 0, instance, "", "", 0);
}

// The value of a node that came back with status 0; false otherwise.
bool node_value(const MorixRecord* rec, const char* name, int instance, std::string* out) {
    return get_prm_val(rec, name, instance, "", out, nullptr) == 1;
}

// Runs one Get of everything in the chain.
void get_all(MorixRecord* rec) {
    mm_snmp(rec, SNMP_OP_GET);
}

// What the device told in stage 1.
struct Stage1 {
    std::string oid, descr;
    bool has_major = false, has_minor = false;
    int major = 0, minor = -1;
};

// Stage 1 with the community switch; returns -1 to go on, else a result.
int run_stage1(MorixRecord* rec, const std::string& alt, Stage1* s1) {
    bool alt_tried = false;
    const std::string first = rec->community;
    for (;;) {
        free_prm_list(rec);
        for (const char* v : k_stage1_vars)
            add_var(rec, v, 0);
        get_all(rec);
        int result = -1;
        if (g_cancel_process)
            result = CR_CANCELLED;
        else if (rec->status == 0)
            break;
        else if (rec->status == 6)
            result = CR_UNKNOWN_HOST;
        else if (!alt.empty() && !alt_tried && rec->community != alt) {
            alt_tried = true;
            rec->community = alt;
            continue;
        } else {
            rec->product_type = PT_NOT_REACHABLE;
            result = CR_NOT_REACHABLE;
        }
        if (alt_tried)
            rec->community = first;
        free_prm_list(rec);
        return result;
    }
    node_value(rec, "sysObjectID", 0, &s1->oid);
    node_value(rec, "sysDescr", 0, &s1->descr);
    std::string v;
    if ((s1->has_major = node_value(rec, "swRevMajor", 0, &v)))
        s1->major = std::atoi(v.c_str());
    if ((s1->has_minor = node_value(rec, "swRevMinor", 0, &v)))
        s1->minor = std::atoi(v.c_str());
    return -1;
}

// Product type and platform from sysObjectID; false for a foreign device.
bool set_product(MorixRecord* rec, const std::string& oid, bool* compression) {
    const std::string e = MRX_ENTERPRISE_OID;
    const std::string prefix = e + ".1.3.";
    *compression = false;
    rec->product_type = 0;
    rec->platform = 1;
    if (oid.compare(0, prefix.size(), prefix) == 0) {
        const char* tail = oid.c_str() + prefix.size();
        char* end = nullptr;
        long n = std::strtol(tail, &end, 10);
        if (end != tail && (*end == '\0' || *end == '.') && n >= 1 && n <= 22) {
            rec->product_type = static_cast<int>(n);
            rec->platform = platform_of_product(static_cast<int>(n));
            *compression = n == 19 || n == 20;
        }
        return true;
    }
    return oid == e + ".1.1" || oid == e + ".1.10";
}

// Stage 2; returns -1 to go on, else a result.
int run_stage2(MorixRecord* rec, IdentAnswers* a) {
    free_prm_list(rec);
    int wan_inst = rec->product_type == 16 || rec->product_type == 18 ? 2 : 0;
    for (const char* v : k_stage2_vars) {
        bool wan = !std::strcmp(v, "mrxt1UnitId") || !std::strcmp(v, "mrxt1PRIModuleType");
        add_var(rec, v, !std::strcmp(v, "ifPhysAddress") ? 1 : wan ? wan_inst : 0);
    }
    get_all(rec);
    if (g_cancel_process)
        return CR_CANCELLED;
    if (rec->status == 6)
        return CR_UNKNOWN_HOST;
    if (rec->status != 0) {
        rec->product_type = PT_NOT_REACHABLE;
        return CR_NOT_REACHABLE;
    }
    for (const char* v : k_stage2_vars) {
        bool wan = !std::strcmp(v, "mrxt1UnitId") || !std::strcmp(v, "mrxt1PRIModuleType");
        std::string value;
        if (node_value(rec, v, !std::strcmp(v, "ifPhysAddress") ? 1 : wan ? wan_inst : 0, &value))
            a->values[v] = value;
    }
    for (const char* v : k_stage2_required)
        if (!a->has(v))
            return CR_NOT_SUPPORTED;
    return -1;
}

// The first count of the answers outside its bound, as the operator's text;
// "" when every count fits.
std::string check_counts(const IdentAnswers& a) {
    for (const CountBound& b : MRX_COUNT_BOUNDS) {
        if (!a.has(b.name))
            continue;
        std::string bad = check_mrx_count(b.name, a.get(b.name), nullptr);
        if (!bad.empty())
            return bad;
    }
    return "";
}

// Stage 3: firmware revisions and types of the WAN modules.
WanDisplay run_stage3(MorixRecord* rec, const IdentAnswers& a, bool* index_done, std::string* bad) {
    WanDisplay wan;
    free_prm_list(rec);
    *index_done = false;
    bool modules = rec->platform == 4 || (rec->platform == 5 && has_var("mrxt1PRIModuleType"));
    if (modules) {
        rec->wan_count = std::atoi(a.get("mrxt1Total").c_str());
        *bad = get_ds1_index(rec);
        *index_done = true;
        if (!bad->empty())
            return wan;
        if (rec->wan_count > 0) {
            add_var(rec, "mrxt1UnitId", rec->wan_if_index[0]);
            // A second module's index exists only when there are two.
            if (rec->platform == 5 && rec->wan_count > 1)
                add_var(rec, "mrxt1UnitId", rec->wan_if_index[1]);
            for (int k = 0; k < rec->wan_count; ++k)
                add_var(rec, "mrxt1PRIModuleType", rec->wan_if_index[k]);
        }
    } else if (rec->platform == 3) {
        add_var(rec, "mrxt1UnitId", 2);
    }
    get_all(rec);
    if (rec->platform == 3) {
        node_value(rec, "mrxt1UnitId", 2, &wan.fw_rev[0]);
        wan.wan_type[0] = "Channelized T1";
    } else if (modules) {
        for (int k = 0; k < 2 && k < rec->wan_count; ++k) {
            node_value(rec, "mrxt1PRIModuleType", rec->wan_if_index[k], &wan.wan_type[k]);
            node_value(rec, "mrxt1UnitId", rec->wan_if_index[k], &wan.fw_rev[k]);
        }
    }
    free_prm_list(rec);
    return wan;
}

int count_of(const IdentAnswers& a, const char* name) {
    return a.has(name) ? std::atoi(a.get(name).c_str()) : 0;
}

// Fills the record from the answers (the last step of identification).
std::string fill_record(MorixRecord* rec, const IdentAnswers& a, bool index_done) {
    std::string bad;
    rec->addr = sockaddr_in{};
    rec->addr.sin_family = AF_INET;
    inet_pton(AF_INET, a.get("mrxInetAddr").c_str(), &rec->addr.sin_addr);
    rec->asy_ports = count_of(a, "totalPorts");
    rec->syn_ports = count_of(a, "totalSyncPorts");
    rec->para_ports = count_of(a, "mrxpParaPorts");
    rec->enet_ports = 1;
    if (a.has("mrxt1Total") && !a.get("mrxt1Total").empty()) {
        int total = count_of(a, "mrxt1Total");
        // The module indexes were read already when stage 3 needed them.
        if (!index_done || rec->wan_count != total) {
            rec->wan_count = total;
            bad = get_ds1_index(rec);
        }
        if (bad.empty())
            bad = get_ds1_info(rec);
    } else {
        rec->wan_count = 0;
        rec->wan_if_index.assign(1, 1);
        rec->wan_chan_count.clear();
        rec->wan_module_type.clear();
    }
    rec->csu_text = "Not Found";
    if (a.has("totalmodems"))
        rec->modem_count = count_of(a, "totalmodems");
    rec->has_config_server = a.has("mrxConfigServer");
    rec->config_server = a.get("mrxConfigServer");
    rec->has_mac_addr = a.has("macAddress");
    rec->mac_addr = a.get("macAddress");
    return bad;
}

} // namespace

int connect_morix(MorixRecord* rec, std::string* product_name, std::string* summary,
                  std::string* info, const std::string& alt_community) {
    const std::string first_community = rec->community;
    Stage1 s1;
    int result = run_stage1(rec, alt_community, &s1);
    if (result >= 0)
        return result;
    // The record keeps the community that answered, unless identification
    // fails later on.
    auto fail = [&](int code, bool with_descr) {
        rec->community = first_community;
        if (with_descr && summary)
            *summary = s1.descr;
        free_prm_list(rec);
        return code;
    };
    bool compression = false;
    if (!set_product(rec, s1.oid, &compression))
        return fail(CR_NOT_MORIX, true);
    // A release that cannot be read is not the supported one.
    bool release_ok = s1.has_major && s1.major == 14 && s1.has_minor && s1.minor == 1;
    if (check_comm_srv(rec) || (!release_ok && !rrr_flag))
        return fail(CR_NOT_SUPPORTED, true);
    IdentAnswers a;
    result = run_stage2(rec, &a);
    if (result >= 0)
        return fail(result, result == CR_NOT_SUPPORTED);
    // A count beyond the family's sizes is refused before it sizes anything;
    // the second message names the variable and the value.
    auto out_of_range = [&](const std::string& bad) {
        rec->wan_count = 0;
        rec->wan_if_index.assign(1, 1);
        rec->wan_chan_count.clear();
        rec->wan_module_type.clear();
        rec->modem_count = 0;
        int code = fail(CR_NOT_SUPPORTED, true);
        if (summary)
            *summary += "\n" + bad;
        return code;
    };
    std::string bad = check_counts(a);
    if (!bad.empty())
        return out_of_range(bad);
    bool index_done = false;
    WanDisplay wan = run_stage3(rec, a, &index_done, &bad);
    if (g_cancel_process)
        return fail(CR_CANCELLED, false);
    if (bad.empty())
        bad = fill_record(rec, a, index_done);
    if (!bad.empty())
        return out_of_range(bad);
    if (summary)
        *summary = build_mrx_summary(a);
    if (info)
        *info = build_mrx_info(a, wan, compression, rec->modem_count, rec->platform);
    if (product_name)
        *product_name = prod_type_str(rec->product_type);
    are_parameters_settable(rec);
    get_imdm_revs(rec);
    free_prm_list(rec);
    return CR_OK;
}

int connect_morix_probed(MorixRecord* rec, int probe, std::string* product_name,
                         std::string* summary, std::string* info) {
    if (probe != PROBE_SILENT)
        return connect_morix(rec, product_name, summary, info, "");
    free_prm_list(rec);
    rec->status = SR_TIMEOUT;
    rec->product_type = PT_NOT_REACHABLE;
    return CR_NOT_REACHABLE;
}

std::string get_ds1_index(MorixRecord* rec) {
    std::string bad;
    rec->wan_if_index.assign(rec->wan_count > 0 ? rec->wan_count : 1, 1);
    if (has_var("mrxt1WanIfIndex")) {
        for (int k = 1; k <= rec->wan_count; ++k) {
            free_prm_list(rec);
            add_var(rec, "mrxt1WanIfIndex", k);
            get_all(rec);
            std::string v;
            if (rec->status == 0 && node_value(rec, "mrxt1WanIfIndex", k, &v) && !v.empty())
                bad = check_mrx_count("mrxt1WanIfIndex", v, &rec->wan_if_index[k - 1]);
            free_prm_list(rec);
            if (!bad.empty())
                return bad;
        }
    }
    if (rec->product_type != 19 && rec->product_type != 20 && rec->platform != 4)
        rec->wan_if_index[0] = 2;
    return bad;
}

std::string get_ds1_info(MorixRecord* rec) {
    std::string bad;
    rec->wan_chan_count.assign(rec->wan_count > 0 ? rec->wan_count : 0, 0);
    rec->wan_module_type.assign(rec->wan_count > 0 ? rec->wan_count : 0, 0);
    if (!has_var("mrxt1TotChan") || !has_var("mrxt1PRIModuleType"))
        return bad;
    for (int k = 0; k < rec->wan_count; ++k) {
        int idx = rec->wan_if_index[k];
        free_prm_list(rec);
        add_var(rec, "mrxt1TotChan", idx);
        add_var(rec, "mrxt1PRIModuleType", idx);
        get_all(rec);
        std::string chans, type;
        if (rec->status == 0 && node_value(rec, "mrxt1TotChan", idx, &chans)) {
            bad = check_mrx_count("mrxt1TotChan", chans, &rec->wan_chan_count[k]);
            int raw_type = 0;
            int id = 0;
            get_check_mib_var("mrxt1PRIModuleType", &id);
            for (const ParamNode* n = rec->prm_list; n; n = n->next)
                if (n->mib_index == id && n->status == 0 && n->has_value)
                    raw_type = std::atoi(n->value.c_str());
            rec->wan_module_type[k] = rec->platform == 3 ? 8 : raw_type;
        }
        free_prm_list(rec);
        if (!bad.empty())
            return bad;
    }
    return bad;
}

void get_imdm_revs(MorixRecord* rec) {
    rec->modem_revs.fill("");
    rec->modem_rev_ports.fill("");
    if (rec->modem_count < 1)
        return;
    const char* var = rec->platform == 4 ? "mrxpModemFirmware" : "mdmIdSoftwareRev";
    int id = 0;
    if (!get_check_mib_var(var, &id))
        return;
    free_prm_list(rec);
    build_prm(rec, 1, 0, {}, PT_IMDM, id, "");
    get_all(rec);
    std::vector<std::string> revs(rec->modem_count, "<Undefined>");
    for (const ParamNode* n = rec->prm_list; n; n = n->next)
        if (n->status == 0 && n->has_value && n->port_num >= 1 && n->port_num <= rec->modem_count)
            revs[n->port_num - 1] = n->value;
    group_modem_revs(revs, &rec->modem_revs, &rec->modem_rev_ports);
    free_prm_list(rec);
}

int check_conf_serv(const MorixRecord* rec, std::string* message) {
    int result = -1;
    if (rec) {
        result = 9;
        if (rec->config_server == rec->name) {
            result = 0;
        } else {
            // A dotted name is compared as it is; a host name by the
            // addresses it resolves to.
            in_addr probe{};
            if (inet_pton(AF_INET, rec->name.c_str(), &probe) != 1)
                for (const std::string& dotted : resolve_dotted(rec->name))
                    if (rec->config_server == dotted)
                        result = 0;
        }
    }
    if (result != 9 && message) {
        std::string server = rec && !rec->config_server.empty() ? rec->config_server : "unknown";
        *message = "the file server <" + server + "> is " +
                   (result == 0 ? "\none of the selected Morixes" : "not found") + ".";
    }
    return result;
}
