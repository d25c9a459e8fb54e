#include "basic/ppp_codes.h"

#include <cctype>

int ncp_code_of(const bool on[5]) {
    if (!on[0] && !on[1] && !on[2])
        return 0;
    // Rows of the protocol table by (t0, t1, t2) as bits t0=1, t1=2, t2=4.
    static const int base[8] = {0, 2, 1, 5, 4, 7, 6, 8};
    int b = base[(on[0] ? 1 : 0) | (on[1] ? 2 : 0) | (on[2] ? 4 : 0)];
    int column = (on[3] ? 1 : 0) + (on[4] ? 2 : 0);
    static const int rank[9] = {0, 0, 1, 0, 2, 3, 4, 5, 6};
    return column == 0 ? b : 9 + 7 * (column - 1) + rank[b];
}

void ncp_toggles_of(int code, bool on[5]) {
    for (int i = 0; i < 5; ++i)
        on[i] = code == 3;
    if (code < 1 || code > 29 || code == 3)
        return;
    for (int bits = 0; bits < 32; ++bits) {
        bool t[5];
        for (int i = 0; i < 5; ++i)
            t[i] = (bits >> i) & 1;
        if (ncp_code_of(t) == code) {
            for (int i = 0; i < 5; ++i)
                on[i] = t[i];
            return;
        }
    }
}

int dialup_toggle_of(int value) {
    static const int toggle[4] = {-1, 2, 0, 1};
    return value >= 0 && value <= 3 ? toggle[value] : -1;
}

int dialup_value_of(int toggle) {
    static const int value[3] = {2, 3, 1};
    return toggle >= 0 && toggle <= 2 ? value[toggle] : 0;
}

namespace {
const int classes[5] = {1, 2, 3, 4, 6};
}

int endpoint_toggle_of(int cls) {
    for (int i = 0; i < 5; ++i)
        if (classes[i] == cls)
            return i;
    return -1;
}

int endpoint_class_of(int toggle) {
    return toggle >= 0 && toggle < 5 ? classes[toggle] : 0;
}

bool endpoint_value_ok(int cls, const std::string& value) {
    for (unsigned char c : value) {
        bool ok = cls == 2
                      ? std::isalnum(c) != 0
                      : std::isdigit(c) || c == ' ' || c == '*' || c == ',' || c == '-' || c == '.';
        if (!ok)
            return false;
    }
    return true;
}
