#include "cli/cli_json.h"

#include <cstdio>

bool cli_json = false;

namespace {

// Length of the well-formed UTF-8 sequence at text[i], or 0. Overlong
// forms, UTF-16 surrogates (U+D800..U+DFFF) and code points above U+10FFFF
// are not well formed: the second byte's range rules them out.
size_t utf8_length(const std::string& text, size_t i) {
    auto byte = [&text, i](size_t k) { return static_cast<unsigned char>(text[i + k]); };
    unsigned char c = byte(0), low = 0x80, high = 0xBF;
    size_t n = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        low = c == 0xE0 ? 0xA0 : 0x80;  // below: overlong
        high = c == 0xED ? 0x9F : 0xBF; // above: a surrogate
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        low = c == 0xF0 ? 0x90 : 0x80;  // below: overlong
        high = c == 0xF4 ? 0x8F : 0xBF; // above: past U+10FFFF
    }
    if (n == 0 || i + n > text.size() || byte(1) < low || byte(1) > high)
        return 0;
    for (size_t k = 2; k < n; ++k)
        if ((byte(k) & 0xC0) != 0x80)
            return 0;
    return n;
}

} // namespace

// Device texts are bytes: a valid UTF-8 sequence is kept, any other byte
// above 0x7f is written as the character of that number.
std::string json_quote(const std::string& text) {
    std::string q = "\"";
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            size_t n = utf8_length(text, i);
            if (n > 0) {
                q.append(text, i, n);
                i += n - 1;
                continue;
            }
        }
        switch (c) {
        case '"':
            q += "\\\"";
            break;
        case '\\':
            q += "\\\\";
            break;
        case '\n':
            q += "\\n";
            break;
        case '\t':
            q += "\\t";
            break;
        case '\r':
            q += "\\r";
            break;
        default:
            if (c < 0x20 || c >= 0x80) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                q += buf;
            } else {
                q += static_cast<char>(c);
            }
        }
    }
    return q + "\"";
}

void JsonWriter::member(const std::string& key) {
    if (open_.empty())
        return;
    if (!first_.back())
        out_ += ",";
    first_.back() = false;
    if (open_.back() == '}')
        out_ += json_quote(key) + ":";
    if (open_.size() == 1 && open_.back() == '}')
        top_keys_.push_back(key);
}

bool JsonWriter::has_member(const std::string& key) const {
    for (const std::string& k : top_keys_)
        if (k == key)
            return true;
    return false;
}

JsonWriter& JsonWriter::begin_object(const std::string& key) {
    member(key);
    out_ += "{";
    open_.push_back('}');
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::begin_array(const std::string& key) {
    member(key);
    out_ += "[";
    open_.push_back(']');
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::end_object() {
    return end_array();
}

JsonWriter& JsonWriter::end_array() {
    if (!open_.empty()) {
        out_ += open_.back();
        open_.pop_back();
        first_.pop_back();
    }
    return *this;
}

JsonWriter& JsonWriter::str(const std::string& key, const std::string& value) {
    member(key);
    out_ += json_quote(value);
    return *this;
}

JsonWriter& JsonWriter::num(const std::string& key, long value) {
    member(key);
    out_ += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::boolean(const std::string& key, bool value) {
    member(key);
    out_ += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::null(const std::string& key) {
    member(key);
    out_ += "null";
    return *this;
}

std::string JsonWriter::text() {
    while (!open_.empty())
        end_array();
    return out_.empty() ? "{}\n" : out_ + "\n";
}

JsonWriter& cli_json_doc() {
    static JsonWriter doc;
    return doc;
}

void cli_json_flush() {
    if (!cli_json)
        return;
    std::string t = cli_json_doc().text();
    std::fwrite(t.data(), 1, t.size(), stdout);
    std::fflush(stdout);
}
