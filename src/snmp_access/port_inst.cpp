#include "snmp_access/port_inst.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <unordered_set>

#include "catalogue/mib_catalogue.h"

namespace {

struct PortKeyword {
    int code;
    const char* word;
};
const PortKeyword PORT_KEYWORDS[] = {{0, "none"},     {1, "asy"},     {2, "syn"},
                                     {3, "ptr"},      {4, "en"},      {5, "ds1inf"},
                                     {6, "channels"}, {8, "ds0chan"}, {9, "ds1int"}};

// First interface index of a device; 1 stands for "none".
int first_if_index(const MorixRecord* rec) {
    return rec->wan_if_index.empty() ? 1 : rec->wan_if_index[0];
}

std::string two_part(int a, int b) {
    return std::to_string(a) + "." + std::to_string(b);
}

} // namespace

void print_invalid_data_indicator() {
    std::fprintf(stderr, "\n\n%s\n\n", "Invalid data indicator. Software error.");
}

int cvt_port_opt_str(int code, std::string* text) {
    for (const PortKeyword& k : PORT_KEYWORDS) {
        if (k.code == code) {
            *text = k.word;
            return 1;
        }
    }
    print_invalid_data_indicator();
    return 0;
}

int cvt_port_str_opt(const std::string& text, int* code) {
    for (const PortKeyword& k : PORT_KEYWORDS) {
        if (text == k.word) {
            *code = k.code;
            return 1;
        }
    }
    *code = 0;
    return 0;
}

int get_num_ports(const MorixRecord* rec, int port_type) {
    if (!rec)
        return 0;
    switch (port_type) {
    case PT_ASY:
        return rec->asy_ports;
    case PT_SYN:
        return rec->syn_ports;
    case PT_PTR:
        return rec->para_ports;
    case PT_EN:
        return rec->enet_ports;
    case PT_DS1INF:
        return rec->wan_count;
    case PT_CHANNELS:
        return 0;
    case PT_DS0CHAN:
        if (rec->wan_count == 0)
            return 0;
        if (rec->platform == 4 || rec->platform == 5)
            return rec->wan_chan_count.empty() ? 0 : rec->wan_chan_count[0];
        return 24;
    case PT_DS1INT:
        return DS1_INTERVALS;
    case PT_IMDM:
        return rec->modem_count;
    default:
        print_invalid_data_indicator();
        return 0;
    }
}

int check_port_type(int mib_index, int port_type) {
    const MibVarEntry* e = mib_var(mib_index);
    if (!e)
        return 0;
    switch (e->port_class) {
    case 0:
        return 1;
    case 1:
    case 2:
    case 3:
        return port_type == e->port_class;
    case 4:
        return port_type == 1 || port_type == 2;
    case 5:
        return port_type == 1 || port_type == 3;
    case 6:
        return port_type == 1 || port_type == 2 || port_type == 4;
    case 7:
        return port_type == 8;
    case 8:
        return port_type == 9;
    case 9:
        return port_type == 5;
    case 10:
        return port_type == 6;
    default:
        print_invalid_data_indicator();
        return 0;
    }
}

int cvt_port_inst(const MorixRecord* rec, int mib_index, int port_type, int port, int* instance,
                  std::string* inst_text) {
    const MibVarEntry* e = mib_var(mib_index);
    if (!rec || !e)
        return 0;
    inst_text->clear();
    int t = e->inst_type;
    if (t < 0 || t > 9) {
        print_invalid_data_indicator();
        return 0;
    }
    if (t != 0 && t != 9 && port > get_num_ports(rec, port_type))
        return 0;
    int asy = rec->asy_ports;
    switch (t) {
    case 0:
        *instance = 0;
        return 1;
    case 1:
        *instance = port;
        return 1;
    case 2:
        *instance = asy + port;
        return 1;
    case 3:
        *instance = port + 1;
        return 1;
    case 4:
        *instance = asy + port + 1;
        return 1;
    case 5:
        *instance = port_type == PT_ASY ? port : asy + port;
        return 1;
    case 6:
        *instance = port_type == PT_ASY   ? port + 1
                    : port_type == PT_SYN ? asy + port + 1
                    : port_type == PT_EN  ? port
                                          : 0;
        return 1;
    case 7:
    case 8:
        *instance = -1;
        *inst_text = two_part(first_if_index(rec), port);
        return 1;
    default: // 9: a WAN interface; only its own on devices other than class 5
        if (rec->platform != 5 && port != first_if_index(rec))
            return 0;
        *instance = port;
        return 1;
    }
}

namespace {

// Reads a run of digits at i (saturating above any port number).
int read_number(const std::string& s, size_t* i) {
    long v = 0;
    for (; *i < s.size() && std::isdigit(static_cast<unsigned char>(s[*i])); ++*i)
        v = std::min<long>(v * 10 + (s[*i] - '0'), MAX_PORT_NUM);
    return static_cast<int>(v);
}

void store_port(std::vector<int>* ports, int p) {
    if (static_cast<int>(ports->size()) < MAX_PORT_LIST)
        ports->push_back(p);
}

} // namespace

std::vector<int> parse_port_list(const std::string& text, int* all, int* count) {
    std::string s;
    remove_blanks(text, &s);
    std::vector<int> ports;
    *all = 0;
    *count = 0;
    if (s == "all" || s == "ALL" || s == "All") {
        *all = 1;
        return ports;
    }
    bool have = false;
    int cur = 0;
    size_t i = 0;
    while (i < s.size()) {
        char c = s[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            cur = read_number(s, &i);
            have = true;
        } else if (c == ',') {
            if (have)
                store_port(&ports, cur);
            have = false;
            ++i;
        } else if (c == '-') {
            if (!have) {
                ++i;
            } else if (i + 1 < s.size() && std::isdigit(static_cast<unsigned char>(s[i + 1]))) {
                ++i;
                int upper = read_number(s, &i);
                for (int p = cur; p <= upper && static_cast<int>(ports.size()) < MAX_PORT_LIST; ++p)
                    ports.push_back(p);
                have = false;
            } else {
                i += 2; // the dash and the character after it
            }
        } else {
            have = false;
            ++i;
        }
    }
    if (have)
        store_port(&ports, cur);
    // Duplicates go, keeping the first occurrence and the order.
    std::vector<int> unique;
    std::unordered_set<int> seen;
    for (int p : ports)
        if (seen.insert(p).second)
            unique.push_back(p);
    *count = static_cast<int>(unique.size());
    return unique;
}
