#include "devices/ident_memory.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "catalogue/file_replace.h"
#include "catalogue/mib_catalogue.h"
#include "ui/app_globals.h"

int g_ident_use = IDENT_FRESH;

namespace {

IdentClock g_clock = nullptr;

const char* const k_version = "mm_ident";
const int k_format = 1;

// The catalogue decides what identification asks and how answers read, so
// the file is only good for the catalogue it was made with.
std::string catalogue_print() {
    unsigned long long h = 1469598103934665603ULL;
    auto mix = [&h](const std::string& s) {
        for (unsigned char c : s + '\n')
            h = (h ^ c) * 1099511628211ULL;
    };
    for (int id = 0; id < MAX_MIB_VARS; ++id)
        if (const MibVarEntry* e = mib_var(id))
            mix(std::to_string(id) + e->name + "|" + e->oid_num + "|" +
                std::to_string(e->data_type) + "|" + std::to_string(e->enum_id));
    for (int id = 0; id < MAX_MIB_ENUMS; ++id)
        for (const EnumEntry& en : mib_enum_list[id])
            mix(std::to_string(id) + ":" + std::to_string(en.value) + "=" + en.text);
    char buf[24];
    std::snprintf(buf, sizeof buf, "%016llx", h);
    return buf;
}

// ---- tokens: percent-encoded, "%" alone for the empty text ------------------

std::string enc(const std::string& s) {
    if (s.empty())
        return "%";
    std::string out;
    for (unsigned char c : s) {
        if (c <= 0x20 || c >= 0x7f || c == '%') {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

bool dec(const std::string& t, std::string* out) {
    out->clear();
    if (t == "%")
        return true;
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i] != '%') {
            *out += t[i];
        } else {
            if (i + 2 >= t.size() || !std::isxdigit(static_cast<unsigned char>(t[i + 1])) ||
                !std::isxdigit(static_cast<unsigned char>(t[i + 2])))
                return false;
            *out += static_cast<char>(std::strtol(t.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        }
    }
    return out->size() <= IDENT_MAX_TEXT;
}

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < line.size()) {
        size_t j = line.find(' ', i);
        if (j == std::string::npos)
            j = line.size();
        out.push_back(line.substr(i, j - i));
        i = j + 1;
    }
    return out;
}

bool to_long(const std::string& t, long long lo, long long hi, long long* v) {
    if (t.empty() || t.size() > 12 || t.find_first_not_of("-0123456789") != std::string::npos)
        return false;
    char* end = nullptr;
    *v = std::strtoll(t.c_str(), &end, 10);
    return *end == '\0' && *v >= lo && *v <= hi;
}

bool to_int(const std::string& t, int lo, int hi, int* v) {
    long long x = 0;
    if (!to_long(t, lo, hi, &x))
        return false;
    *v = static_cast<int>(x);
    return true;
}

bool to_time(const std::string& t, double* v) {
    if (t.empty() || t.size() > 20 || t.find_first_not_of("0123456789.") != std::string::npos)
        return false;
    char* end = nullptr;
    *v = std::strtod(t.c_str(), &end);
    return *end == '\0' && std::isfinite(*v) && *v <= 1e11;
}

std::string time_text(double t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f", t);
    return buf;
}

std::string ints(const char* kind, const std::vector<int>& v) {
    std::string s = kind;
    for (int x : v)
        s += " " + std::to_string(x);
    return s + "\n";
}

// One entry's block as it is read, and what has been seen of it.
struct Block {
    IdentEntry e;
    std::vector<std::string> seen;
    bool once(const std::string& kind) {
        if (std::find(seen.begin(), seen.end(), kind) != seen.end())
            return false;
        seen.push_back(kind);
        return true;
    }
};

bool read_ints(const std::vector<std::string>& f, int lo, int hi, std::vector<int>* out) {
    if (f.size() > 9)
        return false;
    out->clear();
    for (size_t i = 1; i < f.size(); ++i) {
        int v = 0;
        if (!to_int(f[i], lo, hi, &v))
            return false;
        out->push_back(v);
    }
    return true;
}

bool read_pair(const std::vector<std::string>& f, std::map<std::string, std::string>* into,
               size_t max) {
    std::string name, value;
    if (f.size() != 3 || !dec(f[1], &name) || !dec(f[2], &value) || name.empty() ||
        name.size() > 64 || into->count(name) || into->size() >= max)
        return false;
    (*into)[name] = value;
    return true;
}

bool read_time(const std::vector<std::string>& f, IdentEntry* e) {
    long long up = 0;
    IdentSample& s = e->sample;
    return f.size() == 5 && to_time(f[1], &e->identified) && to_time(f[2], &s.sent) &&
           to_time(f[3], &s.received) && to_long(f[4], 0, 4294967295LL, &up) &&
           (s.uptime = up, s.sent <= s.received && e->identified <= s.received);
}

bool read_release(const std::string& t, bool* has, int* v) {
    *has = t != "-";
    return !*has || to_int(t, -1000000, 1000000, v);
}

bool read_stage1(const std::vector<std::string>& f, IdentFacts* x) {
    return f.size() == 5 && dec(f[1], &x->oid) && x->oid.size() <= 256 &&
           x->oid.find_first_not_of("0123456789.") == std::string::npos && dec(f[2], &x->descr) &&
           read_release(f[3], &x->has_major, &x->major) &&
           read_release(f[4], &x->has_minor, &x->minor);
}

bool read_wan(const std::vector<std::string>& f, IdentFacts* x) {
    if (f.size() != 6 || !to_int(f[1], 0, 8, &x->wan_count))
        return false;
    for (int k = 0; k < 4; ++k)
        if (!dec(f[k + 2], &x->wan_text[k]))
            return false;
    return true;
}

bool read_modems(const std::vector<std::string>& f, IdentFacts* x, int* groups) {
    if (f.size() != 3 || *groups >= MAX_MDM_REVS)
        return false;
    bool ok = dec(f[1], &x->modem_revs[*groups]) && dec(f[2], &x->modem_rev_ports[*groups]);
    ++*groups;
    return ok;
}

bool read_device(const std::vector<std::string>& f, IdentEntry* e) {
    in_addr a{};
    return f.size() == 4 && dec(f[1], &e->address) &&
           inet_pton(AF_INET, e->address.c_str(), &a) == 1 && to_int(f[2], 1, 65535, &e->port) &&
           dec(f[3], &e->community) && !e->community.empty() && e->community.size() <= 255;
}

// A line inside a block; false when it does not fit the format.
bool read_line(const std::vector<std::string>& f, Block* b, int* groups) {
    const std::string& k = f[0];
    IdentFacts& x = b->e.facts;
    if (k == "answer")
        return read_pair(f, &x.answers, 32);
    if (k == "modems")
        return read_modems(f, &x, groups);
    if (!b->once(k))
        return false;
    if (k == "time")
        return read_time(f, &b->e);
    if (k == "stage1")
        return read_stage1(f, &x);
    if (k == "wan")
        return read_wan(f, &x);
    if (k == "index")
        return read_ints(f, 1, 65535, &x.wan_if_index);
    if (k == "chan")
        return read_ints(f, 0, 31, &x.wan_chan_count);
    if (k == "module")
        return read_ints(f, 0, 65535, &x.wan_module_type);
    if (k == "flags")
        return f.size() == 3 && to_int(f[1], 0, 128, &x.modem_count) &&
               to_int(f[2], 0, 1, &x.allow_set);
    return false;
}

bool complete(const Block& b) {
    for (const char* k : {"time", "stage1", "wan", "flags"})
        if (std::find(b.seen.begin(), b.seen.end(), k) == b.seen.end())
            return false;
    return true;
}

void print_note(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
}

} // namespace

const std::vector<std::string>& ident_check_vars() {
    static const std::vector<std::string> vars = {
        "sysObjectID",   "sysUpTime",       "mrxInetAddr", "mrxSubnetMask", "mrxBcastAddr",
        "defaultDomain", "mrxConfigServer", "macAddress",  "mrxAllowSets"};
    return vars;
}

std::map<std::string, std::string> ident_expected_values(const IdentFacts& facts) {
    std::map<std::string, std::string> v;
    for (const std::string& name : ident_check_vars()) {
        auto it = facts.answers.find(name);
        if (it != facts.answers.end())
            v[name] = it->second;
    }
    int id = 0;
    if (get_check_mib_var("mrxAllowSets", &id))
        v["mrxAllowSets"] = facts.allow_set ? "1" : "2";
    return v;
}

bool ident_still_holds(const IdentEntry& entry, const std::string& oid, const IdentSample& now) {
    if (oid != entry.facts.oid || now.values != ident_expected_values(entry.facts) ||
        now.uptime < 0 || entry.sample.uptime < 0 ||
        now.received - entry.identified > IDENT_MAX_AGE)
        return false;
    // The device's uptime was read somewhere inside each request's window;
    // without a restart it grew by the wall time between the two readings,
    // give or take the clocks' drift and one tick at each end.
    double shortest = now.sent - entry.sample.received;
    double longest = now.received - entry.sample.sent;
    if (longest < 0)
        return false; // the wall clock went back
    double grown = (now.uptime - entry.sample.uptime) / 100.0;
    return grown >= shortest * (1 - IDENT_CLOCK_DRIFT) - 0.02 &&
           grown <= longest * (1 + IDENT_CLOCK_DRIFT) + 0.02;
}

void set_ident_clock(IdentClock clock) {
    g_clock = clock;
}

double ident_now() {
    if (g_clock)
        return g_clock();
    auto t = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(t).count();
}

std::string encode_ident_file(const std::vector<IdentEntry>& entries) {
    std::string s = "# Morix Manager: remembered identifications (rewritten by the program)\n";
    s += std::string(k_version) + " " + std::to_string(k_format) + " " + catalogue_print() + "\n";
    for (const IdentEntry& e : entries) {
        const IdentFacts& x = e.facts;
        s += "device " + enc(e.address) + " " + std::to_string(e.port) + " " + enc(e.community) +
             "\n";
        s += "time " + time_text(e.identified) + " " + time_text(e.sample.sent) + " " +
             time_text(e.sample.received) + " " + std::to_string(e.sample.uptime) + "\n";
        s += "stage1 " + enc(x.oid) + " " + enc(x.descr) + " " +
             (x.has_major ? std::to_string(x.major) : "-") + " " +
             (x.has_minor ? std::to_string(x.minor) : "-") + "\n";
        for (const auto& a : x.answers)
            s += "answer " + enc(a.first) + " " + enc(a.second) + "\n";
        s += "wan " + std::to_string(x.wan_count);
        for (const std::string& t : x.wan_text)
            s += " " + enc(t);
        s += "\n" + ints("index", x.wan_if_index) + ints("chan", x.wan_chan_count) +
             ints("module", x.wan_module_type);
        s += "flags " + std::to_string(x.modem_count) + " " + std::to_string(x.allow_set) + "\n";
        for (int g = 0; g < MAX_MDM_REVS; ++g)
            if (!x.modem_revs[g].empty() || !x.modem_rev_ports[g].empty())
                s += "modems " + enc(x.modem_revs[g]) + " " + enc(x.modem_rev_ports[g]) + "\n";
        s += "end\n";
    }
    return s;
}

bool decode_ident_file(const std::string& text, std::vector<IdentEntry>* entries,
                       std::string* reason) {
    entries->clear();
    if (text.empty())
        return true; // created, never written: nothing remembered
    Block b;
    bool open = false;
    bool header = false;
    int groups = 0;
    int number = 0;
    size_t pos = 0;
    auto fail = [&](const std::string& why) {
        *reason = "line " + std::to_string(number) + ": " + why;
        entries->clear();
        return false;
    };
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        if (nl == std::string::npos)
            return fail("not ended by a new line");
        std::string line = text.substr(pos, nl - pos);
        pos = nl + 1;
        ++number;
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> f = split(line);
        if (!header) {
            if (f.size() != 3 || f[0] != k_version || f[1] != std::to_string(k_format))
                return fail("not a remembered identification file of this version");
            if (f[2] != catalogue_print())
                return fail("made with another catalogue");
            header = true;
        } else if (!open) {
            if (f[0] != "device" || !read_device(f, &b.e))
                return fail("a device line was expected");
            if (static_cast<int>(entries->size()) >= IDENT_MAX_ENTRIES)
                return fail("more than " + std::to_string(IDENT_MAX_ENTRIES) + " devices");
            open = true;
        } else if (f[0] == "end" && f.size() == 1) {
            if (!complete(b))
                return fail("a device without all its lines");
            entries->push_back(b.e);
            b = Block{};
            groups = 0;
            open = false;
        } else if (!read_line(f, &b, &groups)) {
            return fail("'" + f[0].substr(0, 16) + "' does not fit the format");
        }
    }
    if (!header || open)
        return fail(header ? "the last device is not ended" : "no version line");
    return true;
}

IdentMemory::IdentMemory(const std::string& path) : path_(path) {
    int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT)
            note_ = "cannot be read";
    } else {
        struct stat st {};
        std::string text;
        if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
            note_ = "is not a regular file";
        else if (st.st_size > IDENT_FILE_MAX_BYTES)
            note_ = "is larger than " + std::to_string(IDENT_FILE_MAX_BYTES) + " bytes";
        else {
            text.resize(static_cast<size_t>(st.st_size));
            ssize_t n = read(fd, &text[0], text.size());
            if (n != st.st_size)
                note_ = "cannot be read";
        }
        close(fd);
        if (note_.empty())
            decode_ident_file(text, &entries_, &note_);
    }
    if (!note_.empty()) {
        print_note("mm: remembered identifications in " + path + " ignored (" + note_ +
                   "); the devices are identified afresh.");
        changed_ = true; // replaced by a sound file at the next write
        entries_.clear();
    }
}

std::string IdentMemory::default_path() {
    return mm_path("data/gui_mm_data", "mrx_ident.dat");
}

const IdentEntry* IdentMemory::find(const std::string& address, int port,
                                    const std::string& community) const {
    for (const IdentEntry& e : entries_)
        if (e.address == address && e.port == port && e.community == community)
            return &e;
    return nullptr;
}

void IdentMemory::store(const IdentEntry& entry) {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [&](const IdentEntry& e) {
                                      return e.address == entry.address && e.port == entry.port &&
                                             e.community == entry.community;
                                  }),
                   entries_.end());
    if (static_cast<int>(entries_.size()) >= IDENT_MAX_ENTRIES) {
        auto oldest = std::min_element(entries_.begin(), entries_.end(),
                                       [](const IdentEntry& a, const IdentEntry& b) {
                                           return a.sample.received < b.sample.received;
                                       });
        entries_.erase(oldest);
    }
    entries_.push_back(entry);
    changed_ = true;
}

void IdentMemory::forget(const std::string& address, int port) {
    size_t before = entries_.size();
    entries_.erase(
        std::remove_if(entries_.begin(), entries_.end(),
                       [&](const IdentEntry& e) { return e.address == address && e.port == port; }),
        entries_.end());
    changed_ = changed_ || entries_.size() != before;
}

bool IdentMemory::save() {
    if (!changed_)
        return true;
    // Communities are kept here, so the file is the owner's alone: a link or
    // anything else planted at its name goes, and a new file starts 0600
    // (the replacement keeps the mode of the file it replaces).
    struct stat st {};
    if (lstat(path_.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        unlink(path_.c_str());
    int fd = open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0)
        close(fd);
    ReplaceFailure fail;
    if (replace_file_safely({path_, "mrx_ident.tmp", encode_ident_file(entries_)}, &fail) !=
        FR_OK) {
        print_note("mm: remembered identifications could not be written to " + path_ + ": " +
                   fail.reason);
        return false;
    }
    changed_ = false;
    return true;
}
