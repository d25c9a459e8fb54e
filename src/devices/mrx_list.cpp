#include "devices/mrx_list.h"
#include "devices/long_op.h"

#include <algorithm>
#include <arpa/inet.h>
#include <netdb.h>

#include <cstdlib>

#include "catalogue/mib_catalogue.h"
#include "devices/ident_memory.h"
#include "devices/mrx_connect.h"
#include "devices/mrx_select.h"
#include "snmp_access/product_types.h"
#include "ui/app_globals.h"
#include "ui/outcome.h"
#include "ui/widget_ids.h"

PortSelection port_mrx_map;

namespace {

std::vector<std::function<void()>>& mrx_list_listeners() {
    static std::vector<std::function<void()>> listeners;
    return listeners;
}

const char* const k_in_list = "The Morix you entered is already in the list.";
const char* const k_in_list_as = "The Morix you entered is already in the list as: ";

std::string list_full(const std::string& name) {
    return "The Morix list is full (" + std::to_string(MAX_MRX_RECORDS) + " Morixes).\n" + name +
           " was not added to the list.";
}

// How a typed name matches a listed record: by the record's name, by its
// address in dotted form, or, when neither, by one of the addresses the
// name resolves to (resolved once, on first need).
struct DuplMatch {
    bool by_name = false;
    bool by_addr = false;
};

class NameMatcher {
  public:
    explicit NameMatcher(const std::string& text) : text_(text) {}
    DuplMatch match(const MorixRecord* r) {
        DuplMatch m;
        std::string dotted = mrx_dotted_addr(r);
        m.by_name = r->name == text_;
        m.by_addr = !dotted.empty() && dotted == text_;
        if (m.by_name || m.by_addr)
            return m;
        if (!resolved_) {
            addrs_ = resolve_dotted(text_);
            resolved_ = true;
        }
        for (const std::string& a : addrs_)
            m.by_addr = m.by_addr || (!dotted.empty() && a == dotted) || a == r->name;
        return m;
    }

  private:
    std::string text_;
    bool resolved_ = false;
    std::vector<std::string> addrs_;
};

// Duplicate test of Add: both messages can appear for one record, whose
// row is then shown.
bool add_is_duplicate(const std::string& text, ListOutcome* out) {
    NameMatcher matcher(text);
    for (int i = 0; i < mrx_lst_cnt; ++i) {
        const MorixRecord* r = host_info_list[i];
        DuplMatch m = matcher.match(r);
        if (m.by_name)
            out->outcome.warnings.push_back(k_in_list);
        if (m.by_addr)
            out->outcome.warnings.push_back(k_in_list_as + r->name);
        if (m.by_name || m.by_addr) {
            out->list.shown = i + 1;
            return true;
        }
    }
    return false;
}

// Community field without blanks; an empty one takes the default, which
// is written back.
std::string community_field(const std::string& typed, ListOutcome* out) {
    std::string comm;
    remove_blanks(typed, &comm);
    if (comm.empty()) {
        comm = mm_snmp_def_comm;
        out->community_field = comm;
    }
    return comm;
}

// Sets the record from an identification that reached the device (0) or
// not (11).
void take_connect_result(MorixRecord* rec, int code, const std::string& info) {
    if (code == 0) {
        rec->reachable = 1;
        rec->info = info;
        rec->has_info = true;
    } else {
        rec->reachable = 0;
        rec->info.clear();
        rec->has_info = false;
        remove_mrx_info(rec->name);
    }
}

} // namespace

std::string mrx_dotted_addr(const MorixRecord* rec) {
    if (!rec || rec->addr.sin_family != AF_INET || rec->addr.sin_addr.s_addr == 0)
        return "";
    char buf[INET_ADDRSTRLEN] = "";
    inet_ntop(AF_INET, &rec->addr.sin_addr, buf, sizeof buf);
    return buf;
}

std::vector<std::string> resolve_dotted(const std::string& name) {
    std::vector<std::string> out;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* res = nullptr;
    if (name.empty() || getaddrinfo(name.c_str(), nullptr, &hints, &res) != 0)
        return out;
    for (addrinfo* p = res; p; p = p->ai_next) {
        char buf[INET_ADDRSTRLEN] = "";
        inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(p->ai_addr)->sin_addr, buf, sizeof buf);
        out.push_back(buf);
    }
    freeaddrinfo(res);
    return out;
}

int find_mrx_dupl(const std::string& text, std::string* as_note) {
    NameMatcher matcher(text);
    for (int i = 0; i < mrx_lst_cnt; ++i) {
        DuplMatch m = matcher.match(host_info_list[i]);
        if (m.by_name || m.by_addr) {
            *as_note = m.by_name ? std::string() : host_info_list[i]->name;
            return i;
        }
    }
    return -1;
}

int insert_mrx_record(MorixRecordPtr rec) {
    int pos = get_host_node_pos(rec.get());
    if (mrx_lst_cnt >= MAX_MRX_RECORDS || host_info_list.insert(rec, pos) != 0)
        return -1; // rec frees the record
    mrx_list_changed();
    return pos;
}

DeviceListView device_list_view() {
    DeviceListView view;
    for (int i = 0; i < mrx_lst_cnt; ++i)
        view.rows.push_back(mrx_row_text(host_info_list[i]));
    return view;
}

void add_mrx_list_listener(std::function<void()> listener) {
    mrx_list_listeners().push_back(std::move(listener));
}

void mrx_list_changed() {
    for (const auto& l : mrx_list_listeners())
        l();
}

namespace {
std::vector<RefusedDevice> refused;
} // namespace

const std::vector<RefusedDevice>& refused_devices() {
    return refused;
}

std::vector<std::string> not_added(int code, const std::string& name, const std::string& descr,
                                   bool one_warning) {
    refused.push_back(RefusedDevice{name, code, descr});
    std::string text;
    if (code == CR_UNKNOWN_HOST)
        text = name + " is an unknown device.\nIt was not added to the list.";
    else if (code == CR_NOT_MORIX)
        text = name + " is not a Morix.\nIt was not added to the list.";
    else
        text = name + " is not a supported Morix.\nIt was not added to the list.";
    if (one_warning && !descr.empty())
        text += "\n" + descr;
    std::vector<std::string> texts{text};
    if (!one_warning && !descr.empty())
        texts.push_back(descr);
    return texts;
}

namespace {

// Whether text names or addresses a device of the list (no warning).
bool in_list(const std::string& text) {
    NameMatcher matcher(text);
    for (int i = 0; i < mrx_lst_cnt; ++i) {
        DuplMatch m = matcher.match(host_info_list[i]);
        if (m.by_name || m.by_addr)
            return true;
    }
    return false;
}

// The outcome with its result and the list as it now stands (the row to
// show kept).
ListOutcome with_list(ListOutcome& out, Result result) {
    int shown = out.list.shown;
    out.outcome.result = result;
    out.list = device_list_view();
    out.list.shown = shown;
    return out;
}

// Add's steps for one request; pre, when given, holds the record and the
// result of its identification done beforehand (side by side with others).
ListOutcome add_one(const AddMorixRequest& req, MorixRecordPtr* pre_rec, const IdentItem* pre) {
    ListOutcome out;
    std::vector<std::string>& warnings = out.outcome.warnings;
    std::string name;
    std::string blanks = blanks_removed_warning(req.name, &name);
    if (!blanks.empty())
        warnings.push_back(blanks);
    out.name_field = name;
    if (name.empty()) {
        warnings.push_back("You must enter a Morix name or an IP address.");
        return with_list(out, Result::refused);
    }
    if (add_is_duplicate(name, &out))
        return with_list(out, Result::refused);
    if (mrx_lst_cnt >= MAX_MRX_RECORDS) {
        warnings.push_back(list_full(name));
        return with_list(out, Result::refused);
    }
    MorixRecordPtr rec;
    std::string product, summary, info;
    int code = CR_CANCELLED;
    std::string community = community_field(req.community, &out);
    if (pre && (*pre_rec)->name == name) {
        rec = std::move(*pre_rec);
        code = pre->code;
        summary = pre->summary;
        info = pre->info;
    } else {
        rec = new_host_node();
        rec->name = name;
        rec->community = community;
        rec->timeout = mm_snmp_def_to * 1000000;
        rec->retries = mm_snmp_def_rty;
        clear_cancel_request();
        code = connect_morix(rec.get(), &product, &summary, &info, "");
    }
    if (code == CR_OK || code == CR_NOT_REACHABLE) {
        take_connect_result(rec.get(), code, info);
        int pos = insert_mrx_record(std::move(rec));
        if (pos < 0) {
            warnings.push_back(list_full(name));
            return with_list(out, Result::refused);
        }
        out.list.shown = pos + 1;
        return with_list(out, code == CR_OK ? Result::done : Result::failed);
    }
    if (code == CR_UNKNOWN_HOST || code == CR_NOT_MORIX || code == CR_NOT_SUPPORTED)
        for (std::string& w : not_added(code, name, summary, false))
            warnings.push_back(std::move(w));
    else if (code != CR_CANCELLED)
        warnings.push_back("Invalid query Morix code, software error.");
    return with_list(out, code == CR_CANCELLED ? Result::cancelled : Result::failed);
}

} // namespace

ListOutcome add_morix(const AddMorixRequest& req) {
    if (g_ident_use == IDENT_LOADS_AND_ADDS)
        return add_morixes({req}).front();
    return add_one(req, nullptr, nullptr);
}

std::vector<ListOutcome> add_morixes(const std::vector<AddMorixRequest>& reqs) {
    // The devices that Add would identify are identified first, side by
    // side; each request then takes Add's steps in order, so that the
    // warnings and the list are those of adding them one after the other.
    std::vector<MorixRecordPtr> recs;
    std::vector<IdentItem> items;
    std::vector<int> item_of(reqs.size(), -1);
    std::vector<std::string> seen;
    for (size_t i = 0; i < reqs.size(); ++i) {
        std::string name, community;
        remove_blanks(reqs[i].name, &name);
        remove_blanks(reqs[i].community, &community);
        if (name.empty() || in_list(name) ||
            std::find(seen.begin(), seen.end(), name) != seen.end() ||
            mrx_lst_cnt + static_cast<int>(items.size()) >= MAX_MRX_RECORDS)
            continue;
        seen.push_back(name);
        recs.push_back(new_host_node());
        MorixRecord* rec = recs.back().get();
        rec->name = name;
        rec->community = community.empty() ? mm_snmp_def_comm : community;
        rec->timeout = mm_snmp_def_to * 1000000;
        rec->retries = mm_snmp_def_rty;
        items.emplace_back();
        items.back().rec = rec;
        item_of[i] = static_cast<int>(items.size()) - 1;
    }
    // Devices added by name may use what was remembered of them.
    bool remembered = g_ident_use == IDENT_LOADS_AND_ADDS;
    bool together = items.size() > 1 || remembered;
    if (together) {
        clear_cancel_request();
        connect_morix_many(items, "Adding", remembered);
    }
    std::vector<ListOutcome> codes;
    for (size_t i = 0; i < reqs.size(); ++i) {
        int k = together ? item_of[i] : -1;
        codes.push_back(k >= 0 ? add_one(reqs[i], &recs[k], &items[k])
                               : add_one(reqs[i], nullptr, nullptr));
    }
    return codes;
}

namespace {

// Takes the new identification of the record at index into the list;
// returns 1 when the record left the list, 0 otherwise. Changed product
// types are collected in moved; why a record left, in warnings.
int query_take(int index, const IdentItem& it, int old_type, std::vector<MorixRecord*>* moved,
               std::vector<std::string>* warnings) {
    MorixRecord* rec = host_info_list[index];
    int code = it.code;
    if (code == CR_OK || code == CR_NOT_REACHABLE) {
        take_connect_result(rec, code, it.info);
        if (rec->product_type != old_type)
            moved->push_back(rec);
        return 0;
    }
    if (code == CR_UNKNOWN_HOST || code == CR_NOT_MORIX || code == CR_NOT_SUPPORTED) {
        for (std::string& w : not_added(code, rec->name, it.summary, false))
            warnings->push_back(std::move(w));
        host_info_list.take(index);
        return 1;
    }
    if (code != CR_CANCELLED)
        warnings->push_back("Invalid query Morix code, software error.");
    return 0;
}

int index_of(const MorixRecord* rec) {
    for (int i = 0; i < mrx_lst_cnt; ++i)
        if (host_info_list[i] == rec)
            return i;
    return -1;
}

// Moves records whose product type changed to their sorted places; returns
// the last place one moved to (-1 when none moved).
int resort_moved(const std::vector<MorixRecord*>& moved) {
    int last = -1;
    for (MorixRecord* rec : moved) {
        int from = index_of(rec);
        if (from < 0)
            continue;
        MorixRecordPtr owned = host_info_list.take(from);
        int to = get_host_node_pos(rec);
        host_info_list.insert(owned, to); // a slot was just freed: cannot fail
        last = to;
    }
    return last;
}

} // namespace

const char* const k_select_a_morix = "You must select a Morix.";

std::vector<int> rows_of_selection(const std::vector<int>& selected, int listed) {
    if (listed == 1 && selected.empty())
        return {1};
    return selected;
}

ListOutcome query_morixes(const QueryRequest& req) {
    ListOutcome out;
    // The queried records stay selected unless they leave the list.
    std::vector<MorixRecord*> chosen;
    for (MorixRecord* rec : req.devices)
        if (index_of(rec) >= 0 && std::find(chosen.begin(), chosen.end(), rec) == chosen.end())
            chosen.push_back(rec);
    LongOperation op(W_MAIN_WINDOW, "Cancel Query", "", LO_FOLLOW_SNMP);
    // Every device is identified again side by side; the answers are then
    // taken into the list in list order.
    std::vector<IdentItem> items;
    std::vector<int> old_types;
    for (MorixRecord* rec : chosen) {
        free_prm_list(rec);
        items.emplace_back();
        items.back().rec = rec;
        items.back().alt_community = req.alt_community;
        old_types.push_back(rec->product_type);
    }
    if (items.size() == 1)
        op.progress("Querying", items[0].rec->name);
    if (!items.empty() && !cancel_requested())
        connect_morix_many(items, "Querying");
    std::vector<MorixRecord*> moved;
    for (size_t i = 0; i < items.size(); ++i) {
        int index = index_of(items[i].rec);
        if (index >= 0 &&
            query_take(index, items[i], old_types[i], &moved, &out.outcome.warnings) == 1)
            chosen.erase(std::find(chosen.begin(), chosen.end(), items[i].rec));
    }
    out.outcome.result = op.close() ? Result::cancelled : Result::done;
    int last_moved = mrx_lst_cnt > 1 ? resort_moved(moved) : -1;
    out.list = device_list_view();
    int last_chosen = -1;
    for (MorixRecord* rec : chosen) {
        int index = index_of(rec);
        out.list.selected.push_back(index + 1);
        last_chosen = std::max(last_chosen, index);
        out.outcome.devices.push_back(
            DeviceOutcome{rec->name, rec->reachable ? DeviceState::done : DeviceState::unreachable,
                          rec->reachable ? "" : rec->name + ": not reachable"});
    }
    int target = last_chosen >= 0 ? last_chosen : last_moved;
    if (mrx_lst_cnt > 1 && target >= 0)
        out.list.shown = target + 1;
    mrx_list_changed();
    return out;
}

namespace {
// Told of a device that left the list or stopped answering.
std::function<void(const std::string&)> device_gone_hook;
} // namespace

void set_device_gone_hook(std::function<void(const std::string&)> hook) {
    device_gone_hook = std::move(hook);
}

DeviceInfoText device_info_text(const MorixRecord& rec) {
    DeviceInfoText t;
    t.label = rec.name + " : \n\n";
    if (rec.has_info && rec.info.size() < 1025)
        t.label += rec.info;
    for (int g = 0; g < MAX_MDM_REVS && rec.modem_count >= 1; ++g) {
        if (rec.modem_rev_ports[g].empty() || rec.modem_revs[g].empty())
            break;
        char line[128];
        std::snprintf(line, sizeof line, "%-26s %s\n", rec.modem_rev_ports[g].c_str(),
                      rec.modem_revs[g].c_str());
        t.modems += line;
    }
    return t;
}

void remove_mrx_info(const std::string& name) {
    if (device_gone_hook)
        device_gone_hook(name);
}

Outcome delete_devices(const std::vector<MorixRecord*>& devices) {
    Outcome out;
    for (MorixRecord* rec : devices) {
        int index = index_of(rec);
        if (index < 0)
            continue;
        out.devices.push_back(DeviceOutcome{rec->name, DeviceState::done, ""});
        remove_mrx_info(rec->name);
        host_info_list.take(index);
    }
    mrx_list_changed();
    return out;
}
