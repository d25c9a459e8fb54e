#include "devices/mrx_list_file.h"
#include "devices/long_op.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "catalogue/line_budget.h"
#include "catalogue/line_scan.h"
#include "catalogue/mib_catalogue.h"
#include "devices/ident_memory.h"
#include "devices/mrx_connect.h"
#include "devices/mrx_list.h"
#include "snmp_access/snmp_engine.h"
#include "ui/app_globals.h"
#include "ui/overwrite.h"
#include "ui/widget_ids.h"

namespace {

const char* const k_no_file = "You did not specify a list file.";

std::string list_line(const MorixRecord* r) {
    return r->name + " | " + r->community + " | " + std::to_string(r->timeout / 1000000) + " | " +
           std::to_string(r->retries) + "\n";
}

// Parsed data line of a list file.
struct ListLine {
    std::string name, community;
    int timeout = 0, retries = 0;
    long line_no = 0; // in the file, counting from 1
};

bool parse_list_line(const std::string& line, ListLine* out) {
    static const std::vector<ScanField> pattern = {SF_WORD, SF_SKIP, SF_WORD, SF_SKIP,
                                                   SF_INT,  SF_SKIP, SF_INT};
    std::vector<ScanValue> v;
    if (scan_fields(line, pattern, &v) != 4)
        return false;
    // A time-out must fit the record's microseconds; retries are bounded
    // like the settings dialog's, so one line cannot hold a load for ever.
    if (v[2].num < 0 || v[2].num > MAX_TIMEOUT_SECS || v[3].num < 0 || v[3].num > MAX_RETRIES)
        return false;
    *out = ListLine{v[0].text, v[1].text, v[2].num, v[3].num, 0};
    return true;
}

// Notes of devices already listed, a new line before every fifth.
std::string dupl_message(const std::vector<std::string>& notes) {
    std::string s = "Some of the discovered Morixes are already in the list:\n";
    for (size_t k = 0; k < notes.size(); ++k) {
        if (k > 0)
            s += k % 4 == 0 ? ",\n" : ", ";
        s += notes[k];
    }
    return s;
}

// Lines that repeat a device of the file, the first ones named: each
// device is loaded (and later served) once.
std::string twice_message(const std::string& path, const std::vector<std::string>& twice) {
    constexpr size_t shown = 20;
    std::string s = path + ":";
    for (size_t k = 0; k < twice.size() && k < shown; ++k)
        s += "\n" + twice[k];
    if (twice.size() > shown)
        s += "\n... and " + std::to_string(twice.size() - shown) + " more";
    return s + "\nEach Morix is loaded once.";
}

// A record for a line of the file.
MorixRecordPtr line_record(const ListLine& l) {
    MorixRecordPtr rec = new_host_node();
    rec->name = l.name;
    rec->community = l.community;
    rec->timeout = l.timeout * 1000000;
    rec->retries = l.retries;
    return rec;
}

// Lists one identified device of the file, or says in warnings that it
// was not added. Returns false when the list is full (it is not added).
bool load_one(MorixRecordPtr rec, const IdentItem& it, std::vector<std::string>* warnings) {
    if (mrx_lst_cnt >= MAX_MRX_RECORDS)
        return false;
    int code = it.code;
    if (code == CR_OK || code == CR_NOT_REACHABLE) {
        rec->reachable = code == CR_OK;
        rec->has_info = code == CR_OK;
        rec->info = code == CR_OK ? it.info : "";
        insert_mrx_record(std::move(rec));
        return true;
    }
    if (code == CR_UNKNOWN_HOST || code == CR_NOT_MORIX || code == CR_NOT_SUPPORTED) {
        for (std::string& w : not_added(code, rec->name, it.summary, true))
            warnings->push_back(std::move(w));
    } else if (code != CR_CANCELLED) {
        warnings->push_back("Invalid query Morix code, software error.");
    }
    return true;
}

// Lines of a list file waiting to be loaded: identified together, then
// listed in file order.
struct LoadBatch {
    Progress* progress = nullptr;
    int expected = 0;
    int loaded = 0;
    bool replace = false;
    bool full = false;
    const MorixRecord* first_dupl = nullptr;
    std::vector<std::string> notes;
    std::vector<std::string> warnings; // devices not added, in file order
    std::vector<ListLine> lines;
    // Lines naming a device an earlier line of the file named (by name or
    // address), and the records the file's lines named so far.
    std::vector<std::string> twice;
    std::vector<const MorixRecord*> named_here;

    void note_twice(const ListLine& l, const std::string& as_name) {
        twice.push_back(l.name + (as_name.empty() ? "" : " (as " + as_name + ")") +
                        " listed twice, line " + std::to_string(l.line_no));
    }
    bool named_before(const MorixRecord* r) const {
        return std::find(named_here.begin(), named_here.end(), r) != named_here.end();
    }

    // Lines to gather before probing: no more than the list can still take.
    size_t size() const {
        return static_cast<size_t>(
            std::max(1, std::min(MM_SNMP_IN_FLIGHT, MAX_MRX_RECORDS - mrx_lst_cnt)));
    }
    // Loads the gathered lines; false when the list became full.
    bool flush() {
        if (mrx_lst_cnt >= MAX_MRX_RECORDS && !lines.empty()) {
            full = true; // nothing more is asked of any device
            lines.clear();
            return false;
        }
        // Lines already listed are not asked; the others are identified
        // together, then listed (or counted as duplicates) in file order, as
        // one after the other. A device the cancel left unfinished is not
        // added.
        std::vector<MorixRecordPtr> recs(lines.size());
        std::vector<IdentItem> items;
        std::vector<int> item_of(lines.size(), -1);
        for (size_t i = 0; i < lines.size(); ++i) {
            std::string as_name;
            if (find_mrx_dupl(lines[i].name, &as_name) >= 0)
                continue;
            recs[i] = line_record(lines[i]);
            item_of[i] = static_cast<int>(items.size());
            items.push_back(IdentItem{});
            items.back().rec = recs[i].get();
        }
        connect_morix_many(items, "Loading", g_ident_use >= IDENT_LOADS);
        for (size_t i = 0; i < lines.size() && !full; ++i) {
            progress->step(loaded, expected, lines[i].name);
            std::string as_name;
            int dupl = find_mrx_dupl(lines[i].name, &as_name);
            if (dupl < 0 && item_of[i] < 0)
                continue; // listed before the load, gone since: not asked
            if (dupl >= 0 && named_before(host_info_list[dupl])) {
                note_twice(lines[i], as_name); // served once, whatever its names
                continue;
            }
            if (dupl >= 0) {
                const std::string& n = lines[i].name;
                notes.push_back(as_name.empty() ? n : n + " (as " + as_name + ")");
                named_here.push_back(host_info_list[dupl]);
                if (!first_dupl)
                    first_dupl = host_info_list[dupl];
                continue;
            }
            const MorixRecord* rec = recs[i].get();
            int code = items[item_of[i]].code;
            if (!load_one(std::move(recs[i]), items[item_of[i]], &warnings))
                full = true;
            else
                ++loaded;
            if (!full && (code == CR_OK || code == CR_NOT_REACHABLE))
                named_here.push_back(rec); // listed now
        }
        lines.clear();
        return !full;
    }
};

Outcome refused_outcome(const std::string& why) {
    Outcome out;
    out.result = Result::failed;
    out.warnings.push_back(why);
    return out;
}

} // namespace

std::string version_header(int kind) {
    const char* format = kind == DFK_SCRIPT ? "Parameter Name | Port Type | Port Number | Value"
                         : kind == DFK_MRX_LIST
                             ? "Morix Name | Community String | Timeout | Retries"
                             : nullptr;
    if (!format)
        return "";
    return std::string("#\n# DB_VERSION: V1.0\n# FORMAT: ") + format + "\n";
}

int check_version_header(std::FILE* f, int kind) {
    std::string want = version_header(kind);
    if (want.empty()) {
        std::fprintf(stderr, "Unrecognized data file type %d\n", kind);
        return 0;
    }
    std::string got(want.size(), '\0');
    size_t n = std::fread(&got[0], 1, want.size(), f);
    return n == want.size() && got == want ? 1 : 0;
}

Outcome save_device_list(const std::string& path, const DeviceList& records) {
    if (path.empty())
        return refused_outcome(k_no_file);
    const std::string unable = std::string("Unable to save list to a file: ") + "\n\n" + path;
    int fd = open_regular_for_write(path, O_NOFOLLOW, 0600);
    FilePtr f(fd >= 0 ? fdopen(fd, "w") : nullptr);
    if (!f) {
        if (fd >= 0)
            close(fd);
        return refused_outcome(unable);
    }
    fchmod(fileno(f.get()), 0600);
    std::string text = version_header(DFK_MRX_LIST) + "#\n";
    for (const MorixRecord* r : records) {
        if (!r)
            break;
        text += list_line(r);
    }
    bool ok = std::fwrite(text.data(), 1, text.size(), f.get()) == text.size();
    ok = std::fclose(f.release()) == 0 && ok;
    return ok ? Outcome() : refused_outcome(unable);
}

Outcome save_list_file(const std::string& typed, const DeviceList& records, Asker& asker) {
    std::string path;
    std::string blanks = blanks_removed_warning(typed, &path);
    Outcome out;
    if (!path.empty() && !may_overwrite(asker, 3, path))
        out.result = Result::cancelled;
    else
        out = save_device_list(path, records);
    if (!blanks.empty())
        out.warnings.insert(out.warnings.begin(), blanks);
    return out;
}

std::string load_progress_text(int expected, int loaded) {
    std::string s = "Creating Morix list. Please be patient.\n\n";
    if (expected >= 1)
        s += "Number to load: " + std::to_string(expected) + "\n";
    return s + "Number loaded:  " + std::to_string(loaded);
}

ListOutcome load_device_list(const LoadListRequest& req, Progress& progress) {
    const std::string& path = req.path;
    ListOutcome refused;
    refused.list = device_list_view();
    struct stat st;
    if (path.empty() || stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        refused.outcome = refused_outcome(k_no_file);
        return refused;
    }
    FilePtr f = open_file(path, "r");
    if (!f) {
        refused.outcome =
            refused_outcome(std::string("Unable to load list from a file: ") + "\n\n" + path);
        return refused;
    }
    if (!check_version_header(f.get(), DFK_MRX_LIST)) {
        refused.outcome = refused_outcome(path + " is not a Morix Manager Morix list.");
        return refused;
    }
    if (req.replace) {
        free_host_info_list(host_info_list);
        mrx_list_changed();
    }
    LongOperation op(W_MAIN_WINDOW, "Cancel Load Morix", "", LO_FOLLOW_SNMP);
    progress.begin("Creating Morix List", req.expected);
    LoadBatch batch;
    batch.progress = &progress;
    batch.expected = req.expected;
    batch.replace = req.replace;
    std::string line;
    clear_cancel_request();
    auto stopped = [&progress] { return cancel_requested() || progress.cancelled(); };
    LineBudget budget(path);
    long line_no = 3; // the header's lines
    bool line_start = true;
    while (!stopped() && read_piece(f.get(), 255, &line) && budget.take(line)) {
        line_no += line_start ? 1 : 0;
        line_start = !line.empty() && line.back() == '\n';
        std::string squeezed;
        remove_blanks(line, &squeezed);
        if (squeezed.empty() || line[0] == '#')
            continue;
        ListLine l;
        if (!parse_list_line(line, &l)) {
            budget.invalid(line);
            continue;
        }
        l.line_no = line_no;
        batch.lines.push_back(l);
        if (batch.lines.size() >= batch.size() && !batch.flush())
            break;
    }
    if (!batch.full && !stopped())
        batch.flush();
    bool cancelled = op.close() || cancel_requested();
    ListOutcome out;
    out.list = device_list_view();
    out.list.emptied = req.replace;
    out.list.from_top = true;
    out.outcome.result = cancelled ? Result::cancelled : Result::done;
    std::vector<std::string>& warnings = out.outcome.warnings;
    warnings = std::move(batch.warnings);
    if (batch.full)
        warnings.push_back("The Morix list is full (" + std::to_string(MAX_MRX_RECORDS) +
                           " Morixes).\nThe remaining Morixes of " + path + " were not loaded.");
    if (!batch.twice.empty())
        warnings.push_back(twice_message(path, batch.twice));
    if (!batch.notes.empty()) {
        warnings.push_back(dupl_message(batch.notes));
        for (int i = 0; i < mrx_lst_cnt; ++i)
            if (host_info_list[i] == batch.first_dupl)
                out.list.shown = i + 1;
    }
    return out;
}
