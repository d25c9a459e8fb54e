#include "devices/mrx_connect.h"
#include "devices/long_op.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "catalogue/mib_catalogue.h"
#include "devices/allow_sets.h"
#include "devices/ident_memory.h"
#include "devices/mrx_bounds.h"
#include "devices/mrx_list.h"
#include "devices/mrx_probe.h"
#include "devices/mrx_texts.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/product_types.h"
#include "snmp_access/snmp_checks.h"
#include "snmp_access/snmp_engine.h"
#include "ui/app_globals.h"

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

bool wan_arrays_fit(const IdentFacts& f, int total) {
    auto within = [](const std::vector<int>& v, int lo, int hi) {
        return std::all_of(v.begin(), v.end(), [=](int x) { return x >= lo && x <= hi; });
    };
    return f.wan_count == total &&
           f.wan_if_index.size() == static_cast<size_t>(std::max(1, total)) &&
           f.wan_chan_count.size() == static_cast<size_t>(total) &&
           f.wan_module_type.size() == static_cast<size_t>(total) &&
           within(f.wan_if_index, 1, 65535) && within(f.wan_chan_count, 0, 31);
}

// Fills a record from remembered facts through identification's own rules
// (product, support, required answers, bounds); CR_OK, or -1 when the
// facts would not give an identified device.
int restore_facts(MorixRecord* rec, const IdentFacts& f, std::string* product, std::string* summary,
                  std::string* info) {
    bool compression = false;
    if (!set_product(rec, f.oid, &compression))
        return -1;
    bool release_ok = f.has_major && f.major == 14 && f.has_minor && f.minor == 1;
    IdentAnswers a{f.answers};
    bool known = std::all_of(f.answers.begin(), f.answers.end(), [](const auto& kv) {
        return std::find_if(std::begin(k_stage2_vars), std::end(k_stage2_vars), [&](const char* v) {
                   return kv.first == v;
               }) != std::end(k_stage2_vars);
    });
    bool required = std::all_of(std::begin(k_stage2_required), std::end(k_stage2_required),
                                [&](const char* v) { return a.has(v); });
    bool has_total = a.has("mrxt1Total") && !a.get("mrxt1Total").empty();
    int total = has_total ? count_of(a, "mrxt1Total") : 0;
    bool modems_ok = a.has("totalmodems") ? f.modem_count == count_of(a, "totalmodems") : true;
    if (check_comm_srv(rec) || (!release_ok && !rrr_flag) || !known || !required ||
        !check_counts(a).empty() || !modems_ok || (has_total && !wan_arrays_fit(f, total)))
        return -1;
    rec->addr = sockaddr_in{};
    rec->addr.sin_family = AF_INET;
    inet_pton(AF_INET, a.get("mrxInetAddr").c_str(), &rec->addr.sin_addr);
    rec->asy_ports = count_of(a, "totalPorts");
    rec->syn_ports = count_of(a, "totalSyncPorts");
    rec->para_ports = count_of(a, "mrxpParaPorts");
    rec->enet_ports = 1;
    rec->csu_text = "Not Found";
    rec->modem_count = f.modem_count;
    rec->has_config_server = a.has("mrxConfigServer");
    rec->config_server = a.get("mrxConfigServer");
    rec->has_mac_addr = a.has("macAddress");
    rec->mac_addr = a.get("macAddress");
    rec->wan_count = has_total ? total : 0;
    rec->wan_if_index = has_total ? f.wan_if_index : std::vector<int>(1, 1);
    rec->wan_chan_count = has_total ? f.wan_chan_count : std::vector<int>();
    rec->wan_module_type = has_total ? f.wan_module_type : std::vector<int>();
    rec->allow_set = f.allow_set;
    rec->modem_revs = f.modem_revs;
    rec->modem_rev_ports = f.modem_rev_ports;
    WanDisplay wan{{f.wan_text[0], f.wan_text[1]}, {f.wan_text[2], f.wan_text[3]}};
    if (summary)
        *summary = build_mrx_summary(a);
    if (info)
        *info = build_mrx_info(a, wan, compression, rec->modem_count, rec->platform);
    if (product)
        *product = prod_type_str(rec->product_type);
    free_prm_list(rec);
    return CR_OK;
}

// What the file keeps of an identification after it ended.
enum MemoryOutcome { MEM_NONE, MEM_STORE, MEM_FORGET };

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
    // With an entry, the check request goes first and a remembered
    // identification that still holds is used; with remember, a fresh
    // success is followed by the check request whose answer is remembered.
    void use_memory(const IdentEntry* entry, bool remember) {
        entry_ = entry;
        remember_ = remember;
    }
    int start() {
        return entry_ ? check_send(entry_->facts, &IdentJob::after_check) : stage1_send();
    }
    int next() { return (this->*step_)(); }
    int result() const { return result_; }
    int memory() const { return memory_; }
    bool held() const { return held_; }
    const IdentFacts& facts() const { return facts_; }
    const IdentSample& sample() const { return sample_; }

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
    int check_send(const IdentFacts& f, Step after);
    std::string read_check();
    int after_check();
    int after_sample();
    void capture();
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
    const IdentEntry* entry_ = nullptr;
    bool remember_ = false;
    int memory_ = MEM_NONE;
    bool held_ = false; // the remembered identification was used
    IdentSample sample_;
    IdentFacts facts_;
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
    if (cancel_requested()) {
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
    if (cancel_requested())
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
        if (cancel_requested())
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
    if (cancel_requested())
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
    if (!remember_)
        return end(CR_OK);
    capture();
    return check_send(facts_, &IdentJob::after_sample);
}

// The facts of a fresh success, as the record and the answers hold them.
void IdentJob::capture() {
    IdentFacts& f = facts_;
    f.oid = s1_.oid;
    f.descr = s1_.descr;
    f.has_major = s1_.has_major;
    f.has_minor = s1_.has_minor;
    f.major = s1_.major;
    f.minor = s1_.minor;
    f.answers = a_.values;
    f.wan_text = {wan_.fw_rev[0], wan_.fw_rev[1], wan_.wan_type[0], wan_.wan_type[1]};
    f.wan_count = rec_->wan_count;
    f.wan_if_index = rec_->wan_if_index;
    f.wan_chan_count = rec_->wan_chan_count;
    f.wan_module_type = rec_->wan_module_type;
    f.modem_count = rec_->modem_count;
    f.allow_set = rec_->allow_set;
    f.modem_revs = rec_->modem_revs;
    f.modem_rev_ports = rec_->modem_rev_ports;
}

// The check request: one Get of scalars, timed by the wall clock.
int IdentJob::check_send(const IdentFacts& f, Step after) {
    free_prm_list(rec_);
    // Only what the device answered before, so that no variable is refused
    // and the request stays one.
    for (const std::string& v : ident_check_vars())
        if (v == "sysObjectID" || v == "sysUpTime" || v == "mrxAllowSets" || f.answers.count(v))
            add_var(rec_, v.c_str(), 0);
    sample_ = IdentSample{};
    sample_.sent = ident_now();
    return get(after);
}

// Reads the answer to the check request into sample_; returns the
// sysObjectID ("" when the request failed).
std::string IdentJob::read_check() {
    sample_.received = ident_now();
    std::string oid, v;
    if (rec_->status != 0)
        return oid;
    node_value(rec_, "sysObjectID", 0, &oid);
    if (node_value(rec_, "sysUpTime", 0, &v) && !v.empty() &&
        v.find_first_not_of("0123456789") == std::string::npos && v.size() <= 10)
        sample_.uptime = std::atoll(v.c_str());
    for (const std::string& name : ident_check_vars()) {
        if (name == "sysObjectID" || name == "sysUpTime")
            continue;
        bool got = node_value(rec_, name.c_str(), 0, &v);
        if (name == "mrxAllowSets" && has_var("mrxAllowSets"))
            sample_.values[name] = got && v == "2" ? "2" : "1"; // as the settable test reads it
        else if (got)
            sample_.values[name] = v;
    }
    return oid;
}

// Before a remembered identification: it is used when it still holds; a
// device that stayed silent is not reachable, as stage 1 would find;
// anything else identifies afresh.
int IdentJob::after_check() {
    std::string oid = read_check();
    if (cancel_requested())
        return fail(CR_CANCELLED, false);
    if (rec_->status == SR_TIMEOUT) {
        rec_->product_type = PT_NOT_REACHABLE;
        return fail(CR_NOT_REACHABLE, false);
    }
    if (rec_->status == 0 && ident_still_holds(*entry_, oid, sample_) &&
        restore_facts(rec_, entry_->facts, product_, summary_, info_) == CR_OK) {
        facts_ = entry_->facts;
        memory_ = MEM_STORE;
        held_ = true;
        return end(CR_OK);
    }
    memory_ = MEM_FORGET;
    return stage1_send();
}

// After a fresh success: remembered when the check's answer agrees with
// what identification read.
int IdentJob::after_sample() {
    std::string oid = read_check();
    bool agrees = rec_->status == 0 && oid == facts_.oid && sample_.uptime >= 0 &&
                  sample_.values == ident_expected_values(facts_);
    free_prm_list(rec_);
    memory_ = agrees ? MEM_STORE : MEM_FORGET;
    return end(CR_OK);
}

// The address of a record's name, "" when it does not resolve.
std::string device_address(const MorixRecord* rec) {
    sockaddr_in sin{};
    char buf[INET_ADDRSTRLEN] = "";
    if (!mm_snmp_peer_addr(rec->name, &sin) || !inet_ntop(AF_INET, &sin.sin_addr, buf, sizeof buf))
        return "";
    return buf;
}

// Takes what the jobs learnt into the file: entries that held or were
// made, forgotten ones, and (without remembered use) every device asked.
void keep_memory(IdentMemory* memory, const std::vector<std::unique_ptr<IdentJob>>& jobs,
                 const std::vector<IdentItem>& items, const std::vector<std::string>& addrs,
                 bool remembered) {
    for (size_t i = 0; i < items.size(); ++i) {
        if (addrs[i].empty())
            continue;
        const IdentJob& job = *jobs[i];
        if (!remembered || job.memory() == MEM_FORGET) {
            memory->forget(addrs[i], MM_SNMP_PORT);
        } else if (job.memory() == MEM_STORE && job.result() == CR_OK) {
            IdentEntry e;
            e.address = addrs[i];
            e.port = MM_SNMP_PORT;
            e.community = items[i].rec->community;
            const IdentEntry* old = memory->find(e.address, e.port, e.community);
            e.identified = job.held() && old ? old->identified : job.sample().sent;
            e.sample = job.sample();
            e.sample.values.clear();
            e.facts = job.facts();
            memory->store(e);
        }
    }
    memory->save();
}

// Runs the identification of every item, one task per item; remembered:
// what the file holds is checked and used, and fresh successes remembered.
int run_jobs(std::vector<IdentItem>& items, const std::string& label, bool remembered) {
    IdentMemory memory(IdentMemory::default_path());
    std::vector<std::string> addrs(items.size());
    std::vector<std::unique_ptr<IdentJob>> jobs;
    std::vector<SnmpTask> tasks;
    for (size_t i = 0; i < items.size(); ++i) {
        IdentItem& it = items[i];
        it.code = CR_CANCELLED;
        jobs.push_back(std::make_unique<IdentJob>(it.rec, it.alt_community, &it.product,
                                                  &it.summary, &it.info));
        IdentJob* job = jobs.back().get();
        if (remembered || !memory.empty())
            addrs[i] = device_address(it.rec);
        if (remembered && !addrs[i].empty())
            job->use_memory(memory.find(addrs[i], MM_SNMP_PORT, it.rec->community), true);
        SnmpTask t;
        t.rec = it.rec;
        t.op = job->start();
        t.then = [job](MorixRecord*) { return job->next(); };
        tasks.push_back(std::move(t));
    }
    int cancelled = mm_snmp_many(tasks, label);
    for (size_t i = 0; i < items.size(); ++i)
        items[i].code = jobs[i]->result();
    keep_memory(&memory, jobs, items, addrs, remembered);
    return cancelled;
}

} // namespace

int connect_morix(MorixRecord* rec, std::string* product_name, std::string* summary,
                  std::string* info, const std::string& alt_community) {
    std::vector<IdentItem> one(1);
    one[0].rec = rec;
    one[0].alt_community = alt_community;
    run_jobs(one, "", false);
    if (product_name && one[0].code == CR_OK)
        *product_name = one[0].product;
    if (summary && !one[0].summary.empty())
        *summary = one[0].summary;
    if (info && one[0].code == CR_OK)
        *info = one[0].info;
    return one[0].code;
}

int connect_morix_many(std::vector<IdentItem>& items, const std::string& label, bool remembered) {
    return run_jobs(items, label, remembered);
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
