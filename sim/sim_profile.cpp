#include "sim_profile.h"
#include "sim_live.h"

#include <arpa/inet.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

// Splits off the first white-space separated word of text; the rest keeps
// its inner blanks but loses the blanks before it.
std::string take_word(std::string* text) {
    size_t b = text->find_first_not_of(" \t");
    if (b == std::string::npos) {
        text->clear();
        return "";
    }
    size_t e = text->find_first_of(" \t", b);
    std::string word = text->substr(b, e == std::string::npos ? std::string::npos : e - b);
    size_t r = e == std::string::npos ? std::string::npos : text->find_first_not_of(" \t", e);
    *text = r == std::string::npos ? "" : text->substr(r);
    return word;
}

std::string trim_right(std::string s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.pop_back();
    return s;
}

// Strict decimal integer within [lo, hi].
bool to_int(const std::string& s, long lo, long hi, long* out) {
    if (s.empty())
        return false;
    char* end = nullptr;
    long v = std::strtol(s.c_str(), &end, 10);
    if (*end != '\0' || v < lo || v > hi)
        return false;
    *out = v;
    return true;
}

// Reads the given number of integer words from rest into out.
bool ints(std::string* rest, int count, long lo, long hi, std::vector<long>* out) {
    out->clear();
    for (int i = 0; i < count; i++) {
        long v = 0;
        if (!to_int(take_word(rest), lo, hi, &v))
            return false;
        out->push_back(v);
    }
    return true;
}

bool parse_interface(std::string rest, IfRow* row) {
    std::vector<long> n;
    long idx = 0;
    if (!to_int(take_word(&rest), 1, 2147483647, &idx))
        return false;
    row->index = static_cast<int>(idx);
    row->descr = take_word(&rest);
    if (row->descr.empty() || !ints(&rest, 3, 0, 4294967295L, &n))
        return false;
    row->type = static_cast<int>(n[0]);
    row->mtu = static_cast<int>(n[1]);
    row->speed = n[2];
    std::string phys = take_word(&rest);
    return parse_hex_bytes(phys.empty() ? "-" : phys, &row->phys) == 0 && rest.empty();
}

bool parse_arp(std::string rest, ArpRow* row) {
    long idx = 0;
    if (!to_int(take_word(&rest), 1, 2147483647, &idx))
        return false;
    row->if_index = static_cast<int>(idx);
    row->net_addr = take_word(&rest);
    unsigned a, b, c, d;
    char tail;
    if (std::sscanf(row->net_addr.c_str(), "%u.%u.%u.%u%c", &a, &b, &c, &d, &tail) != 4 ||
        a > 255 || b > 255 || c > 255 || d > 255)
        return false;
    if (parse_hex_bytes(take_word(&rest), &row->phys) != 0)
        return false;
    long type = 3;
    std::string t = take_word(&rest);
    if (!t.empty() && !to_int(t, 1, 4, &type))
        return false;
    row->type = static_cast<int>(type);
    return rest.empty();
}

bool parse_module(std::string rest, WanModule* m) {
    std::vector<long> n;
    if (!ints(&rest, 3, 0, 65535, &n) || n[0] < 1)
        return false;
    m->if_index = static_cast<int>(n[0]);
    m->module_type = static_cast<int>(n[1]);
    m->channels = static_cast<int>(n[2]);
    m->firmware = trim_right(rest);
    return true;
}

bool parse_set(std::string rest, int line_no, SetLine* s) {
    std::string target = take_word(&rest);
    if (target.empty())
        return false;
    size_t dot = target.find('.');
    s->name = target.substr(0, dot);
    s->instance = dot == std::string::npos ? "" : target.substr(dot + 1);
    s->value = trim_right(rest);
    s->line = line_no;
    if (s->value == "\"\"")
        s->value.clear();
    return !s->name.empty() && (dot == std::string::npos || !s->instance.empty());
}

// Handles keywords that take a count or a small record. Returns 1 when the
// keyword was handled, 0 when unknown, -1 on a bad line.
int parse_structure(const std::string& key, std::string rest, int line_no, SimProfile* p) {
    std::vector<long> n;
    if (key == "ports") {
        if (!ints(&rest, 3, 0, 1024, &n) || !rest.empty())
            return -1;
        p->asy_ports = static_cast<int>(n[0]);
        p->syn_ports = static_cast<int>(n[1]);
        p->ptr_ports = static_cast<int>(n[2]);
        return 1;
    }
    if (key == "module") {
        WanModule m;
        if (!parse_module(rest, &m) || p->modules.size() >= 8)
            return -1;
        p->modules.push_back(m);
        return 1;
    }
    if (key == "modems") {
        long count = 0;
        if (!to_int(take_word(&rest), 0, 256, &count) || rest.empty() ||
            p->modems.size() + count > 256)
            return -1;
        for (long i = 0; i < count; i++)
            p->modems.push_back(trim_right(rest));
        return 1;
    }
    if (key == "interface") {
        IfRow row;
        if (!parse_interface(rest, &row))
            return -1;
        p->interfaces.push_back(row);
        return 1;
    }
    if (key == "arp") {
        ArpRow row;
        if (!parse_arp(rest, &row))
            return -1;
        p->arp.push_back(row);
        return 1;
    }
    if (key == "set") {
        SetLine s;
        if (!parse_set(rest, line_no, &s))
            return -1;
        p->sets.push_back(s);
        return 1;
    }
    return 0;
}

// Handles the single-value keywords. Same results as parse_structure.
int parse_scalar(const std::string& key, const std::string& rest, SimProfile* p) {
    std::string r = rest;
    std::vector<long> n;
    long v = 0;
    if (key == "product_type")
        return to_int(rest, 0, 255, &v) ? (p->product_type = static_cast<int>(v), 1) : -1;
    if (key == "allow_sets")
        return to_int(rest, 1, 2, &v) ? (p->allow_sets = static_cast<int>(v), 1) : -1;
    if (key == "device_objects")
        return to_int(rest, 0, 1, &v) ? (p->device_objects = v == 1, 1) : -1;
    if (key == "max_msg")
        return to_int(rest, 100, 65507, &v) ? (p->max_msg = static_cast<int>(v), 1) : -1;
    if (key == "release") {
        if (!ints(&r, 2, 0, 255, &n) || !r.empty())
            return -1;
        p->rel_major = static_cast<int>(n[0]);
        p->rel_minor = static_cast<int>(n[1]);
        return 1;
    }
    std::string* text = key == "sys_object_id"  ? &p->sys_object_id
                        : key == "sys_descr"    ? &p->sys_descr
                        : key == "sys_name"     ? &p->sys_name
                        : key == "sys_contact"  ? &p->sys_contact
                        : key == "sys_location" ? &p->sys_location
                        : key == "community"    ? &p->community
                                                : nullptr;
    if (!text)
        return 0;
    if (rest.empty() && key != "sys_contact" && key != "sys_location")
        return -1;
    if (key == "sys_object_id" &&
        (rest.find_first_not_of("0123456789.") != std::string::npos || rest.find('.') == 0))
        return -1;
    *text = rest;
    return 1;
}

int parse_fault_line(std::string rest, FaultSettings* f, std::string* error) {
    std::string key = take_word(&rest);
    std::string value = trim_right(rest);
    return apply_fault_word(value.empty() ? key : key + "=" + value, f, error);
}

} // namespace

int parse_hex_bytes(const std::string& text, std::string* bytes) {
    bytes->clear();
    if (text == "-")
        return 0;
    std::string digits;
    for (char c : text) {
        if (c == ':' || c == '-' || c == '.')
            continue;
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return -1;
        digits += c;
    }
    if (digits.empty() || digits.size() % 2 != 0 || digits.size() > 128)
        return -1;
    for (size_t i = 0; i < digits.size(); i += 2)
        bytes->push_back(static_cast<char>(std::strtol(digits.substr(i, 2).c_str(), nullptr, 16)));
    return 0;
}

namespace {

// A dotted loopback address (127.x.y.z).
bool loopback_address(const std::string& text) {
    in_addr a{};
    return inet_pton(AF_INET, text.c_str(), &a) == 1 && (ntohl(a.s_addr) >> 24) == 127;
}

} // namespace

int apply_fault_word(const std::string& word, FaultSettings* f, std::string* error) {
    size_t eq = word.find('=');
    std::string key = word.substr(0, eq);
    std::string value = eq == std::string::npos ? "" : word.substr(eq + 1);
    long v = 0;
    bool ok = true;
    if (key == "drop")
        ok = to_int(value, 0, 100, &v) && (f->drop_pct = static_cast<int>(v), true);
    else if (key == "seed")
        ok = to_int(value, 0, 2147483647, &v) && (f->seed = static_cast<unsigned>(v), true);
    else if (key == "delay")
        ok = to_int(value, 0, 60000, &v) && (f->delay_ms = static_cast<int>(v), true);
    else if (key == "max_vars")
        ok = to_int(value, 1, 10000, &v) && (f->max_vars = static_cast<int>(v), true);
    else if (key == "uptime")
        ok = to_int(value, 0, 40000000, &v) && (f->uptime_s = static_cast<int>(v), true);
    else if (key == "boot_silence")
        ok = to_int(value, 1, 600000, &v) && (f->boot_silence_ms = static_cast<int>(v), true);
    else if (key == "abort_block")
        ok = to_int(value, 0, 65535, &v) && (f->abort_block = static_cast<int>(v), true);
    else if (key == "abort_code")
        ok = to_int(value, 0, 65535, &v) && (f->abort_code = static_cast<int>(v), true);
    else if (key == "block")
        ok = to_int(value, 1, 512, &v) && (f->block = static_cast<int>(v), true);
    else if (key == "tamper")
        ok = (f->tamper = tamper_mode_of(value)) >= 0;
    else if (key == "dsc_flood")
        ok = to_int(value, 1, 65000, &v) && (f->dsc_flood = static_cast<int>(v), true);
    else if (key == "generr")
        ok = !value.empty() && (f->generr.push_back(value), true);
    else if (key == "set_ignore")
        ok = !value.empty() && (f->set_ignore.push_back(value), true);
    else if (key == "reply_from")
        ok = loopback_address(value) && (f->reply_from = value, true);
    else if (key == "set_refuse")
        ok = !value.empty() && (f->set_refuse.push_back(value), true);
    else if (key == "file_change")
        ok = !value.empty() && (f->file_change.push_back(value), true);
    else if (key == "store_damaged" && value.empty())
        f->store_damaged = true;
    else if (key == "toobig_index" && value.empty())
        f->toobig_index = true;
    else if (key == "other_port" && value.empty())
        f->other_port = true;
    else if (key == "stray" && value.empty())
        f->stray = true;
    else if (key == "reject_mode2" && value.empty())
        f->reject_mode2 = true;
    else if (key == "eof_zero" && value.empty())
        f->eof_zero = true;
    else if (key == "endless" && value.empty())
        f->endless = true;
    else if (key == "after_close" && value.empty())
        f->after_close = true;
    else if (key == "silent_close" && value.empty())
        f->silent_close = true;
    else if (key == "trap_port")
        ok = to_int(value, 1, 65535, &v) && (f->trap_port = static_cast<int>(v), true);
    else if (key == "calls")
        ok = to_int(value, 1, 86400, &v) && (f->calls = static_cast<int>(v), true);
    else if (key == "disconnects" && value.empty())
        f->disconnects = true;
    else if (key == "wan_errors")
        ok = to_int(value, 1, 1000000, &v) && (f->wan_errors = static_cast<int>(v), true);
    else if (key == "trap_burst")
        ok = to_int(value, 1, 100000, &v) && (f->trap_burst = static_cast<int>(v), true);
    else if (key == "write_abort")
        ok = to_int(value, 0, 65535, &v) && (f->write_abort = static_cast<int>(v), true);
    else
        ok = false;
    if (!ok)
        *error = "bad fault setting '" + word + "'";
    return ok ? 0 : -1;
}

int read_sim_profile(const std::string& path, SimProfile* p, std::string* error) {
    std::ifstream in(path);
    if (!in) {
        *error = path + ": cannot open";
        return -1;
    }
    *p = SimProfile();
    p->path = path;
    std::string line;
    int line_no = 0;
    while (std::getline(in, line) && line_no < 100000) {
        line_no++;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::string rest = line;
        std::string key = take_word(&rest);
        if (key.empty() || key[0] == '#')
            continue;
        std::string fault_error;
        int r = key == "fault" ? (parse_fault_line(rest, &p->faults, &fault_error) == 0 ? 1 : -1)
                               : parse_structure(key, rest, line_no, p);
        if (r == 0)
            r = parse_live_keyword(key, trim_right(rest), p);
        if (r == 0)
            r = parse_scalar(key, trim_right(rest), p);
        if (r != 1) {
            std::ostringstream m;
            m << path << ":" << line_no << ": "
              << (r == 0 ? "unknown keyword '" + key + "'" : "bad line: " + line);
            *error = m.str();
            return -1;
        }
    }
    return 0;
}
