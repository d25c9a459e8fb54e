#include "snmp_access/morix_record.h"

#include "snmp_access/product_types.h"

#include <algorithm>

#include "catalogue/mib_catalogue.h"
#include "snmp_access/session.h"
#include "snmp_access/snmp_engine.h"
#include "ui/app_globals.h"

DeviceList host_info_list;
DeviceList host_disc_list;
const int& mrx_lst_cnt = host_info_list.count_ref();
std::array<std::string, MAX_MORIX_SELECT> morix_select;

namespace {

void reset_device_lists() {
    host_info_list.clear();
    host_disc_list.clear();
    for (std::string& s : morix_select)
        s.clear();
}

const bool device_lists_registered = add_state_reset(reset_device_lists);

// Links n at the end of the chain in constant time through the kept tail;
// a chain whose head changed behind the record's back is walked once.
void append_node(MorixRecord* rec, ParamNode* n) {
    ParamNode* tail =
        rec->prm_list && rec->prm_list == rec->prm_tail_head ? rec->prm_tail : rec->prm_list;
    if (!tail) {
        rec->prm_list = n;
    } else {
        while (tail->next)
            tail = tail->next;
        tail->next = n;
    }
    rec->prm_tail = n;
    rec->prm_tail_head = rec->prm_list;
}

} // namespace

int add_prm_node(MorixRecord* rec, int mib_index, int port_type, int port_num, int instance,
                 const char* inst_str, const char* value, int status) {
    if (!rec || !inst_str || !value)
        return -5;
    auto* n = new ParamNode();
    n->inst_str = inst_str;
    n->has_value = true;
    // Two double quotes stand for an empty value (scripts and Set rows).
    n->value = (std::string(value) == "\"\"") ? std::string() : std::string(value);
    n->seq = rec->prm_count;
    n->mib_index = mib_index;
    n->port_type = port_type;
    n->port_num = port_num;
    n->instance = instance;
    n->status = status;
    append_node(rec, n);
    rec->prm_count++;
    return 0;
}

int get_prm_val(const MorixRecord* rec, const std::string& var_name, int instance,
                const std::string& inst_str, std::string* value_out, std::string* raw_out) {
    if (value_out)
        value_out->clear();
    int id = 0;
    if (!rec || !value_out || !get_check_mib_var(var_name, &id))
        return 0;
    const ParamNode* n = rec->prm_list;
    for (; n; n = n->next) {
        if (n->mib_index != id)
            continue;
        if (n->instance != -1 ? n->instance == instance : n->inst_str == inst_str)
            break;
    }
    if (!n || n->status != 0)
        return 0;
    if (n->has_value)
        *value_out = n->value;
    if (!value_out->empty() && raw_out)
        *raw_out = *value_out;
    const MibVarEntry* e = mib_var(id);
    if (e && e->enum_id != -1) {
        std::string text;
        if (!cvt_enum_num_str(id, *value_out, &text)) {
            value_out->clear();
            return 0;
        }
        *value_out = text;
    }
    return 1;
}

std::optional<std::string> get_mrx_prm_val_str(MorixRecord* rec, const std::string& var_name) {
    int id = 0;
    if (!rec || var_name.empty() || !get_check_mib_var(var_name, &id))
        return std::nullopt;
    free_prm_list(rec);
    add_prm_node(rec, id, 0, 0, 0, "", "", 0);
    mm_snmp(rec, SNMP_OP_GET);
    std::optional<std::string> result;
    std::string value;
    if (rec->status == 0 && get_prm_val(rec, var_name, 0, "", &value, nullptr))
        result = value;
    free_prm_list(rec);
    return result;
}

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
    rec->prm_tail = nullptr;
    rec->prm_tail_head = nullptr;
    rec->prm_count = 0;
    rec->status = 0;
}

MorixRecord::~MorixRecord() {
    free_prm_list(this);
}

MorixRecordPtr new_host_node() {
    return std::make_unique<MorixRecord>();
}

void free_host_node(MorixRecord* rec) {
    delete rec;
}

void free_host_info_list(DeviceList& list) {
    list.clear();
}

MorixRecord* DeviceList::operator[](int index) const {
    return index >= 0 && index < MAX_MRX_SLOTS ? slots_[index].get() : nullptr;
}

int DeviceList::insert(MorixRecordPtr& rec, int index) {
    if (!rec || count_ >= MAX_MRX_RECORDS || index < 0 || index > count_)
        return -1;
    for (int i = count_; i > index; --i)
        slots_[i] = std::move(slots_[i - 1]);
    slots_[index] = std::move(rec);
    ++count_;
    return 0;
}

MorixRecordPtr DeviceList::take(int index) {
    if (index < 0 || index >= MAX_MRX_SLOTS || !slots_[index])
        return nullptr;
    MorixRecordPtr rec = std::move(slots_[index]);
    left(rec.get());
    for (int i = index; i + 1 < MAX_MRX_SLOTS; ++i)
        slots_[i] = std::move(slots_[i + 1]);
    --count_;
    return rec;
}

void DeviceList::put(int slot, MorixRecordPtr rec) {
    if (slot < 0 || slot >= MAX_MRX_SLOTS)
        return;
    count_ += (rec ? 1 : 0) - (slots_[slot] ? 1 : 0);
    left(slots_[slot].get());
    slots_[slot] = std::move(rec);
}

void DeviceList::clear() {
    for (auto& s : slots_) {
        left(s.get());
        s.reset();
    }
    count_ = 0;
}

void DeviceList::left(const MorixRecord* rec) const {
    if (rec && on_leave_)
        on_leave_(rec);
}

MorixRecord* DeviceList::find(const std::string& name) const {
    int p = position(name);
    return p < 0 ? nullptr : slots_[p].get();
}

int DeviceList::position(const std::string& name) const {
    for (int p = 0; p < MAX_MRX_SLOTS && slots_[p]; ++p)
        if (slots_[p]->name == name)
            return p;
    return -1;
}

MorixRecord* find_record(const std::string& name) {
    return host_info_list.find(name);
}

int free_host_info_list(int value) {
    for (MorixRecord* r : host_info_list) {
        if (!r)
            break;
        if (session().is_selected(r) && r->reachable)
            free_prm_list(r);
    }
    return value;
}

std::vector<MorixRecord*> selected_reachable() {
    return session().selected_reachable();
}

bool is_selected(const MorixRecord* rec) {
    return session().is_selected(rec);
}

int get_host_node_pos(const MorixRecord* rec) {
    if (!rec)
        return mrx_lst_cnt;
    int pri = get_prod_type_pri(rec->product_type);
    int i = 0;
    while (i < mrx_lst_cnt && host_info_list[i] &&
           get_prod_type_pri(host_info_list[i]->product_type) < pri)
        ++i;
    while (i < mrx_lst_cnt && host_info_list[i] &&
           get_prod_type_pri(host_info_list[i]->product_type) == pri &&
           host_info_list[i]->name < rec->name)
        ++i;
    return i;
}

namespace {

// Gives dst a node-by-node copy of src's chain.
void copy_prm_chain(MorixRecord* dst, const MorixRecord* src) {
    int status = dst->status;
    free_prm_list(dst);
    dst->status = status;
    ParamNode** tail = &dst->prm_list;
    for (const ParamNode* n = src->prm_list; n; n = n->next) {
        auto* copy = new ParamNode(*n);
        copy->next = nullptr;
        *tail = copy;
        tail = &copy->next;
        dst->prm_tail = copy;
    }
    dst->prm_tail_head = dst->prm_list;
    dst->prm_count = src->prm_count;
}

} // namespace

void cpy_host_node(MorixRecord* dst, const MorixRecord* src) {
    if (!dst || !src)
        return;
    dst->name = src->name;
    dst->has_info = src->has_info;
    dst->info = src->info;
    dst->community = src->community;
    dst->timeout = src->timeout;
    dst->retries = src->retries;
    dst->status = src->status;
    dst->reachable = src->reachable;
    dst->asy_ports = src->asy_ports;
    dst->syn_ports = src->syn_ports;
    dst->para_ports = src->para_ports;
    dst->enet_ports = src->enet_ports;
    dst->modem_count = src->modem_count;
    dst->wan_count = src->wan_count;
    dst->prm_count = src->prm_count;
    dst->allow_set = src->allow_set;
    dst->max_vars = src->max_vars;
    dst->product_type = src->product_type;
    // The WAN arrays hold wan_count elements (wan_if_index at least one).
    size_t n = src->wan_count > 0 ? static_cast<size_t>(src->wan_count) : 0;
    auto copy_n = [n](const std::vector<int>& from, size_t min_size) {
        std::vector<int> to(std::max(n, min_size), 0);
        for (size_t i = 0; i < to.size() && i < from.size(); ++i)
            to[i] = from[i];
        return to;
    };
    dst->wan_if_index = copy_n(src->wan_if_index, 1);
    dst->wan_chan_count = copy_n(src->wan_chan_count, 0);
    dst->wan_module_type = copy_n(src->wan_module_type, 0);
    copy_prm_chain(dst, src);
}

void set_morix_select(int slot, const std::string& name) {
    if (slot < 0 || slot >= MAX_MORIX_SELECT)
        return;
    morix_select[slot] = name.substr(0, MORIX_SELECT_NAME_MAX);
}

int get_valid_morix(const MorixRecord* rec) {
    if (!rec)
        return -1;
    for (const std::string& s : morix_select) {
        if (s.empty())
            return -1;
        if (s == rec->name)
            return 0;
    }
    return 0;
}
