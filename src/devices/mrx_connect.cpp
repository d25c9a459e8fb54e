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

// What the device told in stage 1.
struct Stage1 {
    std::string oid, descr;
    bool has_major = false, has_minor = false;
    int major = 0, minor = -1;
};

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

int count_of(const IdentAnswers& a, const char* name) {
    return a.has(name) ? std::atoi(a.get(name).c_str()) : 0;
}

int wan_instance(const MorixRecord* rec, const char* v) {
    bool wan = !std::strcmp(v, "mrxt1UnitId") || !std::strcmp(v, "mrxt1PRIModuleType");
    int wan_inst = rec->product_type == 16 || rec->product_type == 18 ? 2 : 0;
    return !std::strcmp(v, "ifPhysAddress") ? 1 : wan ? wan_inst : 0;
}

// Firmware revisions of the internal modems: the request, then the groups
// of modems by revision from the answer.
bool imdm_request(MorixRecord* rec) {
    rec->modem_revs.fill("");
    rec->modem_rev_ports.fill("");
    if (rec->modem_count < 1)
        return false;
    const char* var = rec->platform == 4 ? "mrxpModemFirmware" : "mdmIdSoftwareRev";
    int id = 0;
    if (!get_check_mib_var(var, &id))
        return false;
    free_prm_list(rec);
    build_prm(rec, 1, 0, {}, PT_IMDM, id, "");
    return true;
}

void imdm_take(MorixRecord* rec) {
    std::vector<std::string> revs(rec->modem_count, "<Undefined>");
    for (const ParamNode* n = rec->prm_list; n; n = n->next)
        if (n->status == 0 && n->has_value && n->port_num >= 1 && n->port_num <= rec->modem_count)
            revs[n->port_num - 1] = n->value;
    group_modem_revs(revs, &rec->modem_revs, &rec->modem_rev_ports);
    free_prm_list(rec);
}

// Identification of one record as steps between calls of the request
// engine: each step reads the answers of the call before and builds the
// chain of the next one, so that the engine can serve many records at once
// while each record's own steps keep their order. Every step returns the
// next operation (a Get), or 0 when identification has ended (result).
class IdentJob {
  public:
    IdentJob(MorixRecord* rec, const std::string& alt, std::string* product, std::string* summary,
             std::string* info)
        : rec_(rec), alt_(alt), first_community_(rec->community), product_(product),
          summary_(summary), info_(info) {}
    int start() { return stage1_send(); }
    int next() { return (this->*step_)(); }
    int result() const { return result_; }

  private:
    using Step = int (IdentJob::*)();
    int get(Step after) {
        step_ = after;
        return SNMP_OP_GET;
    }
    int stage1_send();
    int after_stage1();
    int stage2_send();
    int after_stage2();
    int stage3_begin();
    int stage3_send();
    int after_stage3();
    int index_begin(Step then);
    int index_next();
    int after_index();
    int fill_record();
    int info_begin();
    int info_next();
    int after_info();
    int identified();
    int after_settable();
    int modems_send();
    int after_modems();
    int done();
    int end(int code);
    int fail(int code, bool with_descr);
    int out_of_range(const std::string& bad);

    MorixRecord* rec_;
    std::string alt_, first_community_;
    std::string *product_, *summary_, *info_;
    Step step_ = nullptr;
    Step index_then_ = nullptr;
    int result_ = CR_CANCELLED;
    bool alt_tried_ = false, compression_ = false, index_done_ = false, modules_ = false;
    int k_ = 0; // module of the WAN index or detail query
    Stage1 s1_;
    IdentAnswers a_;
    WanDisplay wan_;
    std::string bad_;
};

int IdentJob::end(int code) {
    result_ = code;
    step_ = nullptr;
    return 0;
}

// The record keeps the community that answered, unless identification
// fails later on.
int IdentJob::fail(int code, bool with_descr) {
    rec_->community = first_community_;
    if (with_descr && summary_)
        *summary_ = s1_.descr;
    free_prm_list(rec_);
    return end(code);
}

// A count beyond the family's sizes is refused before it sizes anything;
// the second message names the variable and the value.
int IdentJob::out_of_range(const std::string& bad) {
    rec_->wan_count = 0;
    rec_->wan_if_index.assign(1, 1);
    rec_->wan_chan_count.clear();
    rec_->wan_module_type.clear();
    rec_->modem_count = 0;
    fail(CR_NOT_SUPPORTED, true);
    if (summary_)
        *summary_ += "\n" + bad;
    return 0;
}

// Stage 1, sent again with the alternate community when the first fails.
int IdentJob::stage1_send() {
    free_prm_list(rec_);
    for (const char* v : k_stage1_vars)
        add_var(rec_, v, 0);
    return get(&IdentJob::after_stage1);
}

int IdentJob::after_stage1() {
    int result = -1;
    if (g_cancel_process) {
        result = CR_CANCELLED;
    } else if (rec_->status == 6) {
        result = CR_UNKNOWN_HOST;
    } else if (rec_->status != 0 && !alt_.empty() && !alt_tried_ && rec_->community != alt_) {
        alt_tried_ = true;
        rec_->community = alt_;
        return stage1_send();
    } else if (rec_->status != 0) {
        rec_->product_type = PT_NOT_REACHABLE;
        result = CR_NOT_REACHABLE;
    }
    if (result >= 0) {
        if (alt_tried_)
            rec_->community = first_community_;
        free_prm_list(rec_);
        return end(result);
    }
    node_value(rec_, "sysObjectID", 0, &s1_.oid);
    node_value(rec_, "sysDescr", 0, &s1_.descr);
    std::string v;
    if ((s1_.has_major = node_value(rec_, "swRevMajor", 0, &v)))
        s1_.major = std::atoi(v.c_str());
    if ((s1_.has_minor = node_value(rec_, "swRevMinor", 0, &v)))
        s1_.minor = std::atoi(v.c_str());
    if (!set_product(rec_, s1_.oid, &compression_))
        return fail(CR_NOT_MORIX, true);
    // A release that cannot be read is not the supported one.
    bool release_ok = s1_.has_major && s1_.major == 14 && s1_.has_minor && s1_.minor == 1;
    if (check_comm_srv(rec_) || (!release_ok && !rrr_flag))
        return fail(CR_NOT_SUPPORTED, true);
    return stage2_send();
}

int IdentJob::stage2_send() {
    free_prm_list(rec_);
    for (const char* v : k_stage2_vars)
        add_var(rec_, v, wan_instance(rec_, v));
    return get(&IdentJob::after_stage2);
}

int IdentJob::after_stage2() {
    if (g_cancel_process)
        return fail(CR_CANCELLED, false);
    if (rec_->status == 6)
        return fail(CR_UNKNOWN_HOST, false);
    if (rec_->status != 0) {
        rec_->product_type = PT_NOT_REACHABLE;
        return fail(CR_NOT_REACHABLE, false);
    }
    for (const char* v : k_stage2_vars) {
        std::string value;
        if (node_value(rec_, v, wan_instance(rec_, v), &value))
            a_.values[v] = value;
    }
    for (const char* v : k_stage2_required)
        if (!a_.has(v))
            return fail(CR_NOT_SUPPORTED, true);
    std::string bad = check_counts(a_);
    if (!bad.empty())
        return out_of_range(bad);
    return stage3_begin();
}

// Stage 3: firmware revisions and types of the WAN modules, after the
// module interface indexes when the modules need them.
int IdentJob::stage3_begin() {
    free_prm_list(rec_);
    index_done_ = false;
    modules_ = rec_->platform == 4 || (rec_->platform == 5 && has_var("mrxt1PRIModuleType"));
    if (!modules_)
        return stage3_send();
    rec_->wan_count = std::atoi(a_.get("mrxt1Total").c_str());
    index_done_ = true;
    return index_begin(&IdentJob::stage3_send);
}

int IdentJob::stage3_send() {
    if (!bad_.empty()) {
        if (g_cancel_process)
            return fail(CR_CANCELLED, false);
        return out_of_range(bad_);
    }
    if (modules_ && rec_->wan_count > 0) {
        add_var(rec_, "mrxt1UnitId", rec_->wan_if_index[0]);
        // A second module's index exists only when there are two.
        if (rec_->platform == 5 && rec_->wan_count > 1)
            add_var(rec_, "mrxt1UnitId", rec_->wan_if_index[1]);
        for (int k = 0; k < rec_->wan_count; ++k)
            add_var(rec_, "mrxt1PRIModuleType", rec_->wan_if_index[k]);
    } else if (!modules_ && rec_->platform == 3) {
        add_var(rec_, "mrxt1UnitId", 2);
    }
    return get(&IdentJob::after_stage3);
}

int IdentJob::after_stage3() {
    if (rec_->platform == 3) {
        node_value(rec_, "mrxt1UnitId", 2, &wan_.fw_rev[0]);
        wan_.wan_type[0] = "Channelized T1";
    } else if (modules_) {
        for (int k = 0; k < 2 && k < rec_->wan_count; ++k) {
            node_value(rec_, "mrxt1PRIModuleType", rec_->wan_if_index[k], &wan_.wan_type[k]);
            node_value(rec_, "mrxt1UnitId", rec_->wan_if_index[k], &wan_.fw_rev[k]);
        }
    }
    free_prm_list(rec_);
    if (g_cancel_process)
        return fail(CR_CANCELLED, false);
    return fill_record();
}

// WAN index query: mrxt1WanIfIndex of each module alone, then on with
// then (bad_ names a value outside its bound).
int IdentJob::index_begin(Step then) {
    index_then_ = then;
    rec_->wan_if_index.assign(rec_->wan_count > 0 ? rec_->wan_count : 1, 1);
    k_ = has_var("mrxt1WanIfIndex") ? 0 : rec_->wan_count;
    return index_next();
}

int IdentJob::index_next() {
    if (k_ < rec_->wan_count) {
        ++k_;
        free_prm_list(rec_);
        add_var(rec_, "mrxt1WanIfIndex", k_);
        return get(&IdentJob::after_index);
    }
    if (rec_->product_type != 19 && rec_->product_type != 20 && rec_->platform != 4)
        rec_->wan_if_index[0] = 2;
    return (this->*index_then_)();
}

int IdentJob::after_index() {
    std::string v;
    if (rec_->status == 0 && node_value(rec_, "mrxt1WanIfIndex", k_, &v) && !v.empty())
        bad_ = check_mrx_count("mrxt1WanIfIndex", v, &rec_->wan_if_index[k_ - 1]);
    free_prm_list(rec_);
    if (!bad_.empty())
        return (this->*index_then_)();
    return index_next();
}

// Fills the record from the answers; the WAN queries follow when the
// device has modules.
int IdentJob::fill_record() {
    rec_->addr = sockaddr_in{};
    rec_->addr.sin_family = AF_INET;
    inet_pton(AF_INET, a_.get("mrxInetAddr").c_str(), &rec_->addr.sin_addr);
    rec_->asy_ports = count_of(a_, "totalPorts");
    rec_->syn_ports = count_of(a_, "totalSyncPorts");
    rec_->para_ports = count_of(a_, "mrxpParaPorts");
    rec_->enet_ports = 1;
    rec_->csu_text = "Not Found";
    if (a_.has("totalmodems"))
        rec_->modem_count = count_of(a_, "totalmodems");
    rec_->has_config_server = a_.has("mrxConfigServer");
    rec_->config_server = a_.get("mrxConfigServer");
    rec_->has_mac_addr = a_.has("macAddress");
    rec_->mac_addr = a_.get("macAddress");
    if (!a_.has("mrxt1Total") || a_.get("mrxt1Total").empty()) {
        rec_->wan_count = 0;
        rec_->wan_if_index.assign(1, 1);
        rec_->wan_chan_count.clear();
        rec_->wan_module_type.clear();
        return identified();
    }
    int total = count_of(a_, "mrxt1Total");
    // The module indexes were read already when stage 3 needed them.
    if (!index_done_ || rec_->wan_count != total) {
        rec_->wan_count = total;
        return index_begin(&IdentJob::info_begin);
    }
    return info_begin();
}

// WAN detail query: channel count and module type of each module.
int IdentJob::info_begin() {
    if (!bad_.empty())
        return out_of_range(bad_);
    rec_->wan_chan_count.assign(rec_->wan_count > 0 ? rec_->wan_count : 0, 0);
    rec_->wan_module_type.assign(rec_->wan_count > 0 ? rec_->wan_count : 0, 0);
    k_ = has_var("mrxt1TotChan") && has_var("mrxt1PRIModuleType") ? 0 : rec_->wan_count;
    return info_next();
}

int IdentJob::info_next() {
    if (k_ >= rec_->wan_count)
        return identified();
    int idx = rec_->wan_if_index[k_];
    free_prm_list(rec_);
    add_var(rec_, "mrxt1TotChan", idx);
    add_var(rec_, "mrxt1PRIModuleType", idx);
    return get(&IdentJob::after_info);
}

int IdentJob::after_info() {
    int idx = rec_->wan_if_index[k_];
    std::string chans;
    if (rec_->status == 0 && node_value(rec_, "mrxt1TotChan", idx, &chans)) {
        bad_ = check_mrx_count("mrxt1TotChan", chans, &rec_->wan_chan_count[k_]);
        int raw_type = 0;
        int id = 0;
        get_check_mib_var("mrxt1PRIModuleType", &id);
        for (const ParamNode* n = rec_->prm_list; n; n = n->next)
            if (n->mib_index == id && n->status == 0 && n->has_value)
                raw_type = std::atoi(n->value.c_str());
        rec_->wan_module_type[k_] = rec_->platform == 3 ? 8 : raw_type;
    }
    free_prm_list(rec_);
    if (!bad_.empty())
        return out_of_range(bad_);
    ++k_;
    return info_next();
}

// The device is identified: the texts, then whether it allows sets and the
// firmware of its internal modems.
int IdentJob::identified() {
    if (summary_)
        *summary_ = build_mrx_summary(a_);
    if (info_)
        *info_ = build_mrx_info(a_, wan_, compression_, rec_->modem_count, rec_->platform);
    if (product_)
        *product_ = prod_type_str(rec_->product_type);
    if (!settable_request(rec_))
        return modems_send();
    return get(&IdentJob::after_settable);
}

int IdentJob::after_settable() {
    settable_take(rec_);
    return modems_send();
}

int IdentJob::modems_send() {
    if (!imdm_request(rec_))
        return done();
    return get(&IdentJob::after_modems);
}

int IdentJob::after_modems() {
    imdm_take(rec_);
    return done();
}

int IdentJob::done() {
    free_prm_list(rec_);
    return end(CR_OK);
}

// Runs the identification of every item, one task per item.
int run_jobs(std::vector<IdentItem>& items, const std::string& label) {
    std::vector<std::unique_ptr<IdentJob>> jobs;
    std::vector<SnmpTask> tasks;
    for (IdentItem& it : items) {
        it.code = CR_CANCELLED;
        jobs.push_back(std::make_unique<IdentJob>(it.rec, it.alt_community, &it.product,
                                                  &it.summary, &it.info));
        IdentJob* job = jobs.back().get();
        SnmpTask t;
        t.rec = it.rec;
        t.op = job->start();
        t.then = [job](MorixRecord*) { return job->next(); };
        tasks.push_back(std::move(t));
    }
    int cancelled = mm_snmp_many(tasks, label);
    for (size_t i = 0; i < items.size(); ++i)
        items[i].code = jobs[i]->result();
    return cancelled;
}

} // namespace

int connect_morix(MorixRecord* rec, std::string* product_name, std::string* summary,
                  std::string* info, const std::string& alt_community) {
    std::vector<IdentItem> one(1);
    one[0].rec = rec;
    one[0].alt_community = alt_community;
    run_jobs(one, "");
    if (product_name && one[0].code == CR_OK)
        *product_name = one[0].product;
    if (summary && !one[0].summary.empty())
        *summary = one[0].summary;
    if (info && one[0].code == CR_OK)
        *info = one[0].info;
    return one[0].code;
}

int connect_morix_many(std::vector<IdentItem>& items, const std::string& label) {
    return run_jobs(items, label);
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
