#include "devices/mrx_bounds.h"

#include <cctype>
#include <cstdlib>

const CountBound* mrx_count_bound(const std::string& name) {
    for (const CountBound& b : MRX_COUNT_BOUNDS)
        if (name == b.name)
            return &b;
    return nullptr;
}

std::string check_mrx_count(const std::string& name, const std::string& text, int* value) {
    const CountBound* b = mrx_count_bound(name);
    if (!b)
        return "";
    bool digits = !text.empty() && text.size() <= 11;
    for (size_t i = 0; i < text.size() && digits; ++i)
        digits = std::isdigit(static_cast<unsigned char>(text[i])) || (i == 0 && text[i] == '-');
    long v = digits ? std::strtol(text.c_str(), nullptr, 10) : 0;
    if (digits && v >= b->min && v <= b->max) {
        if (value)
            *value = static_cast<int>(v);
        return "";
    }
    return "The device reports " + name + " = " + text + ", which is not a number from " +
           std::to_string(b->min) + " to " + std::to_string(b->max) + ".";
}
