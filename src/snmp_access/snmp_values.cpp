#include "snmp_access/snmp_values.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>

long mm_atol(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    uint32_t v = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        v = v * 10u + static_cast<uint32_t>(text[i] - '0');
    if (negative)
        v = 0u - v;
    return static_cast<long>(static_cast<int32_t>(v));
}

bool is_number_data_type(int data_type) {
    return data_type == 3 || (data_type >= 6 && data_type <= 8);
}

int check_set_number(int data_type, const std::string& text) {
    if (!is_number_data_type(data_type))
        return NC_OK;
    bool is_signed = data_type == 3;
    size_t i = 0, end = text.size();
    while (i < end && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    while (end > i && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i == end)
        return NC_NOT_NUMBER;
    // Digits beyond the largest bound only saturate the magnitude.
    uint64_t v = 0;
    for (; i < end; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return NC_NOT_NUMBER;
        v = std::min<uint64_t>(v * 10 + static_cast<uint64_t>(text[i] - '0'), 1ull << 40);
    }
    uint64_t limit =
        is_signed ? (negative ? 2147483648ull : 2147483647ull) : (negative ? 0ull : 4294967295ull);
    return v <= limit ? NC_OK : NC_OUT_OF_RANGE;
}

std::string number_refusal(int data_type, const std::string& name, const std::string& text) {
    int check = check_set_number(data_type, text);
    if (check == NC_OK)
        return "";
    if (check == NC_NOT_NUMBER)
        return "Invalid Integer Format";
    const char* range = data_type == 3 ? "-2147483648 to 2147483647" : "0 to 4294967295";
    return "Invalid Integer Format: " + name + " takes " + range + ", not " + text;
}

int parse_dotted_oid(const std::string& text, oid* out, size_t max_len, size_t* len) {
    size_t i = 0, n = 0;
    if (!text.empty() && text[0] == '.')
        i = 1;
    if (i >= text.size())
        return 0;
    while (i <= text.size()) {
        uint64_t v = 0;
        size_t digits = 0;
        for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
             ++i, ++digits) {
            v = v * 10 + static_cast<uint64_t>(text[i] - '0');
            if (v > 0xFFFFFFFFull)
                return 0;
        }
        if (digits == 0 || n >= max_len)
            return 0;
        out[n++] = static_cast<oid>(v);
        if (i == text.size())
            break;
        if (text[i] != '.')
            return 0;
        ++i;
    }
    *len = n;
    return 1;
}

namespace {

// IpAddress from four dotted parts, each read like mm_atol into one byte;
// missing parts are 0.
void encode_ip_addr(const std::string& text, unsigned char bytes[4]) {
    size_t start = 0;
    for (int k = 0; k < 4; ++k) {
        bytes[k] = 0;
        if (start > text.size())
            continue;
        size_t dot = text.find('.', start);
        std::string part =
            text.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        bytes[k] = static_cast<unsigned char>(mm_atol(part) & 0xFF);
        start = dot == std::string::npos ? text.size() + 1 : dot + 1;
    }
}

} // namespace

int add_set_var(netsnmp_pdu* pdu, const oid* name, size_t name_len, int data_type,
                const std::string& value) {
    switch (data_type) {
    case 1: {
        oid v[MAX_SET_OID_LEN];
        size_t n = 0;
        if (!parse_dotted_oid(value, v, MAX_SET_OID_LEN, &n))
            return -1;
        snmp_pdu_add_variable(pdu, name, name_len, ASN_OBJECT_ID, v, n * sizeof(oid));
        return 0;
    }
    case 2:
        snmp_pdu_add_variable(pdu, name, name_len, ASN_OCTET_STR, value.data(), value.size());
        return 0;
    case 3: {
        if (check_set_number(data_type, value) != NC_OK)
            return -1;
        long v = mm_atol(value);
        snmp_pdu_add_variable(pdu, name, name_len, ASN_INTEGER, &v, sizeof(v));
        return 0;
    }
    case 4:
        // A network address has no text form to send; the node is refused
        // instead of sending a malformed value.
        return -1;
    case 5: {
        unsigned char b[4];
        encode_ip_addr(value, b);
        snmp_pdu_add_variable(pdu, name, name_len, ASN_IPADDRESS, b, 4);
        return 0;
    }
    case 6:
    case 7:
    case 8: {
        if (check_set_number(data_type, value) != NC_OK)
            return -1;
        const u_char tags[] = {ASN_COUNTER, ASN_GAUGE, ASN_TIMETICKS};
        u_long v = static_cast<uint32_t>(mm_atol(value));
        snmp_pdu_add_variable(pdu, name, name_len, tags[data_type - 6], &v, sizeof(v));
        return 0;
    }
    default:
        snmp_pdu_add_variable(pdu, name, name_len, ASN_NULL, nullptr, 0);
        return 0;
    }
}

std::string sprint_objid(const oid* name, size_t len) {
    std::string s;
    char buf[24];
    for (size_t i = 0; i < len; ++i) {
        std::snprintf(buf, sizeof buf, i ? ".%lu" : "%lu", static_cast<unsigned long>(name[i]));
        s += buf;
    }
    return s;
}

std::string sprint_hex(const unsigned char* bytes, size_t len) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    s.reserve(len * 2 + len / 16 * 2);
    size_t i = 0;
    for (; i + 16 <= len; i += 16) {
        for (size_t k = 0; k < 16; ++k) {
            if (k == 8)
                s += ' ';
            s += digits[bytes[i + k] >> 4];
            s += digits[bytes[i + k] & 15];
        }
        s += '\n';
    }
    for (; i < len; ++i) {
        s += digits[bytes[i] >> 4];
        s += digits[bytes[i] & 15];
    }
    return s;
}

namespace {

std::string sprint_octets(const unsigned char* bytes, size_t len) {
    for (size_t i = 0; i < len; ++i)
        if (!std::isprint(bytes[i]) && !std::isspace(bytes[i]))
            return sprint_hex(bytes, len);
    std::string s(reinterpret_cast<const char*>(bytes), len);
    for (char& c : s)
        if (c != ' ' && std::isspace(static_cast<unsigned char>(c)))
            c = '.';
    return s;
}

std::string sprint_number(const char* format, unsigned long v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

} // namespace

std::string sprint_by_type(const netsnmp_variable_list* var) {
    if (!var)
        return "Variable has bad type";
    const unsigned char* bytes = var->val.string;
    switch (var->type) {
    case ASN_INTEGER: {
        long v = var->val.integer ? *var->val.integer : 0;
        char buf[32];
        std::snprintf(buf, sizeof buf, "%d", static_cast<int>(v));
        return buf;
    }
    case ASN_COUNTER:
    case ASN_GAUGE:
    case ASN_TIMETICKS:
        // Timeticks are unsigned like the counters: a device up for more
        // than 248 days must not print a negative tick count.
        return sprint_number("%lu", var->val.integer ? (*var->val.integer & 0xFFFFFFFFul) : 0);
    case ASN_IPADDRESS: {
        unsigned b[4] = {0, 0, 0, 0};
        for (size_t k = 0; k < 4 && bytes && k < var->val_len; ++k)
            b[k] = bytes[k];
        char buf[20];
        std::snprintf(buf, sizeof buf, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
        return buf;
    }
    case ASN_OBJECT_ID:
        return var->val.objid ? sprint_objid(var->val.objid, var->val_len / sizeof(oid)) : "";
    case ASN_OCTET_STR:
        return bytes ? sprint_octets(bytes, var->val_len) : "";
    case ASN_OPAQUE:
        return bytes ? sprint_hex(bytes, var->val_len) : "";
    case ASN_NULL:
        return "NULL";
    default:
        return "Variable has bad type";
    }
}
