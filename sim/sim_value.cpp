// Values and object identifiers of the simulator: text conversions and the
// ordered look-ups of a device view.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "catalogue/mib_catalogue.h"
#include "sim_view.h"

namespace {

constexpr size_t MAX_STRING = 1024;
constexpr size_t SIM_MAX_OID = 128;

bool to_long(const std::string& text, long lo, long hi, long* out) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0])))
        return false;
    errno = 0;
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < lo || v > hi)
        return false;
    *out = v;
    return true;
}

bool to_ip(const std::string& text, std::string* bytes) {
    unsigned part[4];
    char tail;
    if (std::sscanf(text.c_str(), "%u.%u.%u.%u%c", &part[0], &part[1], &part[2], &part[3], &tail) !=
            4 ||
        !std::isdigit(static_cast<unsigned char>(text[0])))
        return false;
    bytes->clear();
    for (unsigned p : part) {
        if (p > 255)
            return false;
        bytes->push_back(static_cast<char>(p));
    }
    return true;
}

bool enum_value(int enum_id, const std::string& text, long* out) {
    if (enum_id < 0 || enum_id >= MAX_MIB_ENUMS)
        return false;
    for (const EnumEntry& e : mib_enum_list[enum_id]) {
        if (e.text == text) {
            *out = e.value;
            return true;
        }
    }
    return false;
}

} // namespace

SimValue zero_value(u_char type) {
    SimValue v;
    v.type = type;
    if (type == ASN_IPADDRESS)
        v.bytes.assign(4, '\0');
    if (type == ASN_OBJECT_ID)
        v.objid = {0, 0};
    return v;
}

int parse_oid_text(const std::string& text, OidVec* out) {
    out->clear();
    size_t i = !text.empty() && text[0] == '.' ? 1 : 0;
    if (i >= text.size())
        return -1;
    while (i <= text.size()) {
        size_t j = text.find('.', i);
        std::string part = text.substr(i, j == std::string::npos ? std::string::npos : j - i);
        if (part.empty() || part.size() > 10 ||
            part.find_first_not_of("0123456789") != std::string::npos)
            return -1;
        unsigned long v = std::strtoul(part.c_str(), nullptr, 10);
        if (v > 4294967295UL || out->size() >= SIM_MAX_OID)
            return -1;
        out->push_back(v);
        if (j == std::string::npos)
            break;
        i = j + 1;
    }
    return 0;
}

std::string oid_to_text(const oid* name, size_t len) {
    std::string out;
    for (size_t i = 0; i < len; i++) {
        if (i)
            out += '.';
        out += std::to_string(name[i]);
    }
    return out;
}

int value_from_text(u_char type, int enum_id, const std::string& text, SimValue* out) {
    SimValue v = zero_value(type);
    bool ok = true;
    switch (type) {
    case ASN_INTEGER:
        ok = to_long(text, -2147483648L, 2147483647L, &v.num) || enum_value(enum_id, text, &v.num);
        break;
    case ASN_COUNTER:
    case ASN_GAUGE:
    case ASN_TIMETICKS:
        ok = to_long(text, 0, 4294967295L, &v.num);
        break;
    case ASN_IPADDRESS:
        ok = to_ip(text, &v.bytes);
        break;
    case ASN_OBJECT_ID:
        ok = parse_oid_text(text, &v.objid) == 0 && v.objid.size() >= 2;
        break;
    case ASN_OCTET_STR:
        if (text.compare(0, 4, "hex:") == 0)
            ok = parse_hex_bytes(text.size() == 4 ? "-" : text.substr(4), &v.bytes) == 0;
        else
            v.bytes = text;
        ok = ok && v.bytes.size() <= MAX_STRING;
        break;
    default:
        break;
    }
    if (!ok)
        return -1;
    *out = v;
    return 0;
}

std::string value_to_text(const SimValue& v) {
    switch (v.type) {
    case ASN_INTEGER:
    case ASN_COUNTER:
    case ASN_GAUGE:
    case ASN_TIMETICKS:
        return std::to_string(v.num);
    case ASN_IPADDRESS: {
        std::string out;
        for (size_t i = 0; i < v.bytes.size(); i++)
            out += (i ? "." : "") + std::to_string(static_cast<unsigned char>(v.bytes[i]));
        return out;
    }
    case ASN_OBJECT_ID:
        return oid_to_text(v.objid.data(), v.objid.size());
    case ASN_OCTET_STR:
        return v.bytes;
    default:
        return "NULL";
    }
}

namespace {
bool name_less(const ViewEntry& e, const OidVec& key) {
    return e.name < key;
}
} // namespace

ViewEntry* DeviceView::find(const oid* name, size_t len) {
    OidVec key(name, name + len);
    auto it = std::lower_bound(entries.begin(), entries.end(), key, name_less);
    return it != entries.end() && it->name == key ? &*it : nullptr;
}

ViewEntry* DeviceView::next(const oid* name, size_t len) {
    OidVec key(name, name + len);
    auto it = std::upper_bound(entries.begin(), entries.end(), key,
                               [](const OidVec& k, const ViewEntry& e) { return k < e.name; });
    return it != entries.end() ? &*it : nullptr;
}
