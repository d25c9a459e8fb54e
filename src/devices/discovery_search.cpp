// Search-device discovery: reads the search device's IP-to-media table
// with GetNext, identifies every address found there and keeps the Morix
// devices in host_disc_list.
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "catalogue/mib_catalogue.h"
#include "devices/discovery.h"
#include "devices/long_op.h"
#include "devices/mrx_connect.h"
#include "devices/mrx_probe.h"
#include "snmp_access/product_types.h"
#include "snmp_access/snmp_engine.h"
#include "ui/app_globals.h"

namespace {

const char* const k_table_var = "ipNetToMediaNetAddress";
// The window's output as written here since it was last emptied: the
// running count of addresses rewrites its end.
std::string dsc_output;
DscWindowSink window_sink;

void out(const std::string& text) {
    dsc_output += text;
    if (window_sink.output)
        window_sink.output(text, false);
}

// The whole output becomes dsc_output again (after its end was rewritten).
void out_rewritten() {
    if (window_sink.output)
        window_sink.output(dsc_output, true);
}

// A number field of the window; empty takes the default, a value too large
// for the record is cut: both are given back in *shown for the window.
int number_field(const std::string& typed, int def, int max, std::string* shown) {
    std::string text;
    remove_blanks(typed, &text);
    if (text.empty()) {
        *shown = std::to_string(def);
        return def;
    }
    long v = std::strtol(text.c_str(), nullptr, 10);
    if (v < 0)
        v = 0;
    if (v > max) {
        v = max;
        *shown = std::to_string(v);
    }
    return static_cast<int>(v);
}

// One GetNext of the table column after the instance text tail.
const ParamNode* get_next_row(MorixRecord* rec, int id, const std::string& tail) {
    free_prm_list(rec);
    add_prm_node(rec, id, 0, 0, -1, tail.c_str(), "", 0);
    mm_snmp(rec, SNMP_OP_GETNEXT);
    return rec->prm_list;
}

bool in_column(const ParamNode* n, const std::string& prefix) {
    return n && n->status == NS_OK && n->has_next_oid &&
           n->next_oid.compare(0, prefix.size(), prefix) == 0 && n->next_oid.size() > prefix.size();
}

// Marks "@" written for addresses whose result is not shown in full: a
// run starts on a new line and breaks after every 80th mark.
struct MarkRun {
    int count = 0;
    void mark() {
        out(count % DSC_MARKS_PER_LINE == 0 ? "\n@" : "@");
        ++count;
    }
    // Ends a run before a full line.
    void end() {
        if (count > 0)
            out("\n");
        count = 0;
    }
};

// The output line of one identification result.
std::string result_line(int code, const std::string& name) {
    std::string head = "\n<" + name + "> : ";
    switch (code) {
    case CR_OK:
        return head;
    case CR_NOT_MORIX:
        return head + "Not a Morix." + ", ";
    case CR_NOT_SUPPORTED:
        return head + "Invalid Morix (unsupported software revision)" + ", ";
    case CR_NOT_REACHABLE:
        return head + "Not reachable.";
    case CR_CANCELLED:
        return "";
    default:
        return head + "Invalid query Morix code, software error." + ", ";
    }
}

// Keeps an identified record in the next free slot; false when the table
// is full (the caller frees it).
bool keep_dsc_record(MorixRecordPtr& rec, const std::string& info) {
    int slot = dsc_mrx_count();
    if (slot >= MAX_MRX_SLOTS)
        return false;
    free_prm_list(rec.get());
    rec->reachable = 1;
    rec->info = info;
    rec->has_info = true;
    if (window_sink.row)
        window_sink.row(mrx_row_text(rec.get()));
    host_disc_list.put(slot, std::move(rec));
    return true;
}

// A record for an address to identify.
MorixRecordPtr dsc_record(const std::string& name, int timeout, int retries) {
    MorixRecordPtr rec = new_host_node();
    rec->name = name;
    rec->community = mm_snmp_def_comm;
    rec->timeout = timeout * 1000000;
    rec->retries = retries;
    return rec;
}

// Reports one identified address and keeps a Morix. Returns the
// identification code; *not_kept counts identified devices the full table
// could not hold.
int report_one(MorixRecordPtr rec, const IdentItem& it, bool verbose, MarkRun* marks,
               int* not_kept) {
    int code = it.code;
    std::string line = result_line(code, rec->name);
    if (code == CR_OK && !keep_dsc_record(rec, it.info))
        ++*not_kept;
    bool full = verbose || (code != CR_NOT_MORIX && code != CR_NOT_REACHABLE);
    if (!full) {
        marks->mark();
        return code;
    }
    marks->end();
    if (code != CR_NOT_REACHABLE && code != CR_CANCELLED)
        line += it.summary;
    out(line + "\n");
    return code;
}

// Identifies the addresses of a batch side by side (those the probe found
// silent are not asked) and reports them in order. Returns 1 on a cancel.
int identify_batch(const std::vector<std::string>& names, const std::vector<int>& probes,
                   int timeout, int retries, bool verbose, MarkRun* marks, int* not_kept) {
    std::vector<MorixRecordPtr> recs;
    std::vector<IdentItem> items(names.size()), asked;
    std::vector<int> asked_of(names.size(), -1);
    for (size_t i = 0; i < names.size(); ++i) {
        recs.push_back(dsc_record(names[i], timeout, retries));
        items[i].rec = recs.back().get();
        if (probes[i] == PROBE_SILENT) {
            items[i].code =
                connect_morix_probed(items[i].rec, PROBE_SILENT, nullptr, nullptr, nullptr);
            continue;
        }
        asked_of[i] = static_cast<int>(asked.size());
        asked.push_back(items[i]);
    }
    if (!asked.empty() && !cancel_requested())
        connect_morix_many(asked, "Identifying");
    for (size_t i = 0; i < names.size(); ++i) {
        if (asked_of[i] >= 0)
            items[i] = asked[asked_of[i]];
        int code = report_one(std::move(recs[i]), items[i], verbose, marks, not_kept);
        if (code == CR_CANCELLED || cancel_requested())
            return 1;
    }
    return 0;
}

} // namespace

int dsc_mrx_count() {
    int n = 0;
    while (n < MAX_MRX_SLOTS && host_disc_list[n])
        ++n;
    return n;
}

void free_dsc_mrx_lst() {
    free_host_info_list(host_disc_list);
    if (window_sink.clear_rows)
        window_sink.clear_rows();
}

int dsc_collect_addrs(MorixRecord* search, std::vector<std::string>* addrs) {
    int id = 0;
    if (!get_check_mib_var(k_table_var, &id))
        return -1;
    const std::string prefix = mib_var(id)->oid_num + ".";
    const ParamNode* n = get_next_row(search, id, "");
    if (search->status != 0 || !n || n->status != 0) {
        out("\nUnable to connect to device, " + search->name + "\n");
        return -1;
    }
    out("\nDiscovering Morixes, please wait...\n");
    out("\n\nNumber of devices to query: ");
    const std::string before = dsc_output;
    LongOperation op(W_DSC_FORM, "Cancel Query Discover",
                     "Querying 'Search Device' for list of possible Morixes.", LO_NO_SCALE);
    int cancelled = 0;
    while (in_column(n, prefix) && !(cancelled = op.cancelled(0))) {
        if (static_cast<int>(addrs->size()) >= MAX_DSC_ADDRS) {
            out("\n" + std::string("The search device lists more than ") +
                std::to_string(MAX_DSC_ADDRS) +
                " addresses.\nThe discovery operation will "
                "continue with the first " +
                std::to_string(MAX_DSC_ADDRS) + " addresses.\n");
            break;
        }
        // An address no device can have (0.0.0.0, broadcast, multicast) is
        // passed over.
        if (dsc_addr_usable(n->value, "", ""))
            addrs->push_back(n->value);
        dsc_output = before + std::to_string(addrs->size());
        out_rewritten();
        n = get_next_row(search, id, n->next_oid.substr(prefix.size()));
        if ((cancelled = cancel_requested() ? 1 : 0) != 0)
            break;
        // The end of the agent's view (noSuchName) ends the table normally.
        bool end_of_view = search->status == 0 && n && n->status == NS_NO_SUCH_NAME;
        if (!end_of_view && (search->status != 0 || !n || !n->has_next_oid)) {
            out("\n" +
                std::string("Unable to obtain a complete address list from the search "
                            "device.\nThis may be due to a timeout. The discovery "
                            "operation will continue with the partial address list.") +
                "\n");
            break;
        }
    }
    op.close();
    free_prm_list(search);
    out("\n");
    return cancelled ? CR_CANCELLED : 0;
}

int dsc_identify_addrs(const std::vector<std::string>& addrs, int timeout, int retries,
                       bool verbose) {
    LongOperation op(W_DSC_FORM, "Cancel Discover", "Percentage of devices queried:", 0);
    MarkRun marks;
    int not_kept = 0, cancelled = 0;
    const size_t total = addrs.size();
    // Addresses go in batches: all of a batch are probed at once, then
    // identified side by side and reported in order, so an unreachable
    // address costs its batch one time-out, not one each.
    for (size_t first = 0; first < total && !cancelled; first += MAX_PROBES_IN_FLIGHT) {
        size_t end = std::min(total, first + MAX_PROBES_IN_FLIGHT);
        std::vector<std::string> names;
        std::vector<ProbeTarget> targets;
        for (size_t i = first; i < end; ++i) {
            names.push_back(dsc_host_name(addrs[i]));
            targets.push_back(
                ProbeTarget{names.back(), mm_snmp_def_comm, timeout * 1000000, retries});
        }
        int pct = static_cast<int>(static_cast<double>(first) / static_cast<double>(total) * 100.0);
        std::vector<int> probes = probe_reachable(targets, pct);
        cancelled = identify_batch(names, probes, timeout, retries, verbose, &marks, &not_kept);
        double done = static_cast<double>(end) / static_cast<double>(total) * 100.0;
        cancelled = cancelled || op.cancelled(static_cast<int>(done)) ? 1 : 0;
    }
    op.close();
    if (not_kept > 0)
        out("\n\n" + std::to_string(not_kept) +
            " identified Morix(es) could not be kept: the list " + "of discovered Morixes holds " +
            std::to_string(MAX_MRX_SLOTS) + ".");
    return cancelled;
}

const std::string& dsc_output_text() {
    return dsc_output;
}

void set_dsc_window_sink(const DscWindowSink& sink) {
    window_sink = sink;
}

void dsc_output_clear() {
    dsc_output.clear();
    out_rewritten();
}

namespace {

// The search itself, once the fields are read: a DscSearchResult.
int search_through(const std::string& dev, int timeout, int retries, bool verbose);

} // namespace

DscSearchOutcome discover_morixes(const DiscoverRequest& req) {
    DscSearchOutcome res;
    dsc_output_clear();
    free_dsc_mrx_lst();
    std::string blanks = blanks_removed_warning(req.device, &res.device);
    if (!blanks.empty())
        res.outcome.warnings.push_back(blanks);
    if (res.device.empty()) {
        res.outcome.result = Result::refused;
        res.outcome.warnings.push_back("You must enter a search device.");
        return res;
    }
    int timeout = number_field(req.timeout, mm_snmp_def_to, MAX_TIMEOUT_SECS, &res.timeout);
    int retries = number_field(req.retries, mm_snmp_def_rty, INT_MAX, &res.retries);
    res.result = search_through(res.device, timeout, retries, req.verbose);
    res.outcome.result = res.result == DSC_FOUND || res.result == DSC_NONE ? Result::done
                         : res.result == DSC_CANCELLED                     ? Result::cancelled
                                                                           : Result::failed;
    return res;
}

namespace {

int search_through(const std::string& dev, int timeout, int retries, bool verbose) {
    int id = 0;
    if (!get_check_mib_var(k_table_var, &id))
        return DSC_UNREAD;
    MorixRecord search;
    search.name = dev;
    search.community = mm_snmp_def_comm;
    search.timeout = timeout * 1000000;
    search.retries = retries;
    std::vector<std::string> addrs;
    int rc = dsc_collect_addrs(&search, &addrs);
    free_prm_list(&search);
    if (rc == -1)
        return DSC_UNREAD;
    if (rc == CR_CANCELLED) {
        out("\nOperation cancelled.");
        return DSC_CANCELLED;
    }
    int cancelled = dsc_identify_addrs(addrs, timeout, retries, verbose);
    if (cancelled)
        out("\n\nOperation cancelled.");
    out("\n\n\n*** End of discovery ***\n\n"
        "Press 'Copy to List' to change the main Morix List to the discovered Morixes.\n"
        "Press 'Save List...' to save the list of discovered Morixes in a file.\n");
    if (cancelled)
        return DSC_CANCELLED;
    return dsc_mrx_count() > 0 ? DSC_FOUND : DSC_NONE;
}

} // namespace
