#include "events/event_json.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "events/trap_kinds.h"

namespace {

std::string quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", u);
            out += buf;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string quote_or_null(const std::string& s) {
    return s.empty() ? "null" : quote(s);
}

std::string var_json(const TrapVar& v) {
    return "{\"name\":" + quote(v.name) + ",\"oid\":" + quote(v.oid) +
           ",\"instance\":" + quote(v.instance) + ",\"value\":" + quote(v.value) +
           ",\"enum_name\":" + quote_or_null(v.enum_name) + "}";
}

// A reader of the JSON that event_to_json writes: objects, arrays, strings
// (with \" \\ \uXXXX below 0x80), integers, true, false, null.
class Reader {
  public:
    explicit Reader(const std::string& s) : s_(s) {}
    bool ok() const { return ok_; }
    bool at_end() {
        blanks();
        return i_ == s_.size();
    }
    bool take(char c) {
        blanks();
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }
    void expect(char c) {
        if (!take(c))
            ok_ = false;
    }
    std::string string() {
        std::string out;
        if (!take('"')) {
            ok_ = false;
            return out;
        }
        while (ok_ && i_ < s_.size() && s_[i_] != '"') {
            char c = s_[i_++];
            if (c != '\\') {
                out += c;
                continue;
            }
            if (i_ >= s_.size())
                break;
            char e = s_[i_++];
            if (e == 'u' && i_ + 4 <= s_.size()) {
                long u = std::strtol(s_.substr(i_, 4).c_str(), nullptr, 16);
                out += static_cast<char>(u < 0x80 ? u : '?');
                i_ += 4;
            } else {
                out += e == 'n' ? '\n' : e == 't' ? '\t' : e;
            }
        }
        if (i_ >= s_.size())
            ok_ = false;
        ++i_;
        return out;
    }
    // A string, or "" for null.
    std::string string_or_null() {
        blanks();
        if (s_.compare(i_, 4, "null") == 0) {
            i_ += 4;
            return "";
        }
        return string();
    }
    long long number() {
        blanks();
        char* end = nullptr;
        long long v = std::strtoll(s_.c_str() + i_, &end, 10);
        if (end == s_.c_str() + i_)
            ok_ = false;
        i_ = static_cast<size_t>(end - s_.c_str());
        return v;
    }
    bool boolean() {
        blanks();
        if (s_.compare(i_, 4, "true") == 0) {
            i_ += 4;
            return true;
        }
        if (s_.compare(i_, 5, "false") != 0)
            ok_ = false;
        i_ += 5;
        return false;
    }
    // Passes over one value of any kind (bounded nesting).
    void skip(int depth = 0) {
        blanks();
        if (depth > 8 || i_ >= s_.size()) {
            ok_ = false;
            return;
        }
        char c = s_[i_];
        if (c == '"') {
            string();
        } else if (c == '{' || c == '[') {
            char close = c == '{' ? '}' : ']';
            ++i_;
            while (ok_ && !take(close)) {
                if (c == '{') {
                    string();
                    expect(':');
                }
                skip(depth + 1);
                take(',');
                if (i_ >= s_.size())
                    ok_ = false;
            }
        } else if (c == 't' || c == 'f') {
            boolean();
        } else if (c == 'n') {
            string_or_null();
        } else {
            number();
        }
    }

  private:
    void blanks() {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t'))
            ++i_;
    }
    const std::string& s_;
    size_t i_ = 0;
    bool ok_ = true;
};

// Reads "{"key": value, ...}", handing each key to member.
template <class F> void read_object(Reader& r, F member) {
    r.expect('{');
    if (r.take('}'))
        return;
    while (r.ok()) {
        std::string key = r.string();
        r.expect(':');
        member(key);
        if (r.take('}'))
            return;
        r.expect(',');
    }
}

TrapVar read_var(Reader& r) {
    TrapVar v;
    read_object(r, [&](const std::string& key) {
        if (key == "name")
            v.name = r.string();
        else if (key == "oid")
            v.oid = r.string();
        else if (key == "instance")
            v.instance = r.string();
        else if (key == "value")
            v.value = r.string();
        else if (key == "enum_name")
            v.enum_name = r.string_or_null();
        else
            r.skip();
    });
    return v;
}

// "2026-12-07T16:55:00.123Z" back to milliseconds; 0 when malformed.
int64_t time_from_text(const std::string& t) {
    struct tm tm {};
    int ms = 0;
    if (std::sscanf(t.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d.%3dZ", &tm.tm_year, &tm.tm_mon, &tm.tm_mday,
                    &tm.tm_hour, &tm.tm_min, &tm.tm_sec, &ms) != 7)
        return 0;
    tm.tm_year -= 1900;
    tm.tm_mon -= 1;
    return static_cast<int64_t>(timegm(&tm)) * 1000 + ms;
}

} // namespace

std::string event_to_json(const TrapEvent& ev) {
    std::string out =
        "{\"time\":" + quote(event_time_text(ev.time_ms)) + ",\"source\":" + quote(ev.source) +
        ",\"device\":" + quote_or_null(ev.device) + ",\"agent_addr\":" + quote(ev.agent_addr) +
        ",\"community_ok\":" + (ev.community_ok ? "true" : "false") +
        ",\"enterprise\":" + quote(ev.enterprise) + ",\"generic\":" + std::to_string(ev.generic) +
        ",\"generic_name\":" + quote(generic_trap_name(ev.generic)) +
        ",\"specific\":" + std::to_string(ev.specific) +
        ",\"uptime\":" + std::to_string(ev.uptime) + ",\"vars\":[";
    for (size_t i = 0; i < ev.vars.size(); ++i)
        out += (i ? "," : "") + var_json(ev.vars[i]);
    return out + "]}";
}

bool event_from_json(const std::string& line, TrapEvent* ev) {
    Reader r(line);
    *ev = TrapEvent();
    read_object(r, [&](const std::string& key) {
        if (key == "time")
            ev->time_ms = time_from_text(r.string());
        else if (key == "source")
            ev->source = r.string();
        else if (key == "device")
            ev->device = r.string_or_null();
        else if (key == "agent_addr")
            ev->agent_addr = r.string();
        else if (key == "community_ok")
            ev->community_ok = r.boolean();
        else if (key == "enterprise")
            ev->enterprise = r.string();
        else if (key == "generic")
            ev->generic = static_cast<int>(r.number());
        else if (key == "specific")
            ev->specific = static_cast<int>(r.number());
        else if (key == "uptime")
            ev->uptime = static_cast<unsigned long>(r.number());
        else if (key == "vars") {
            r.expect('[');
            while (r.ok() && !r.take(']')) {
                if (ev->vars.size() < EVENT_MAX_VARS)
                    ev->vars.push_back(read_var(r));
                else
                    r.skip();
                r.take(',');
            }
        } else
            r.skip();
    });
    return r.ok() && r.at_end();
}
