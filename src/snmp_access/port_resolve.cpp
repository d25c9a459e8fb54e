#include "snmp_access/port_resolve.h"

#include <algorithm>

#include "snmp_access/port_inst.h"

const char* const MODULE_NUMBER_RULE =
    "For the WAN interface type (-p ds1inf, reset 97, page wan-edit --modules,\n"
    "status t1 and pricsu -P) give WAN module numbers, 1 for the first module,\n"
    "on every Morix with WAN modules: ModelN, ModelP and ModelR (one channelized\n"
    "T1 module), ModelQ and ModelS (one PRI module), ModelT and ModelU (two).\n"
    "Which Morixes have modules is what identification found (the wan_modules\n"
    "column of list); other models have no WAN interface ports.";

namespace {

constexpr const char* MSG_WAN_MODULE = "The WAN Module number entered is incorrect";

const char* port_noun(int port_type) {
    switch (port_type) {
    case PT_ASY:
        return "async ports";
    case PT_SYN:
        return "sync ports";
    case PT_PTR:
        return "printer ports";
    case PT_EN:
        return "Ethernet ports";
    case PT_DS1INF:
        return "WAN modules";
    case PT_DS0CHAN:
        return "WAN channels";
    case PT_DS1INT:
        return "WAN intervals";
    case PT_CHANNELS:
        return "numbered channels";
    case PT_IMDM:
        return "internal modems";
    default:
        return "ports of that type";
    }
}

const char* purpose_tail(PortPurpose purpose) {
    switch (purpose) {
    case PortPurpose::read:
        return "they are not read";
    case PortPurpose::write:
        return "nothing is set on them";
    case PortPurpose::reset:
        return "nothing is reset";
    case PortPurpose::copy:
        return "nothing is copied to or from them";
    case PortPurpose::script:
        return "the script does not use them";
    case PortPurpose::status:
        return "they are not shown";
    case PortPurpose::page:
        return "nothing is changed on them";
    }
    return "";
}

std::string number_list(const std::vector<int>& numbers) {
    std::string out;
    for (size_t i = 0; i < numbers.size() && i < 8; ++i)
        out += (i ? "," : "") + std::to_string(numbers[i]);
    if (numbers.size() > 8)
        out += ",...";
    return out;
}

// Types whose "all" the parameter builders expand from the device's modules.
bool expanded_by_builder(int port_type) {
    return port_type == PT_DS0CHAN || port_type == PT_DS1INT || port_type == PT_CHANNELS;
}

// Types that exist only on a device with WAN modules.
bool wan_type(int port_type) {
    return port_type == PT_DS1INF || expanded_by_builder(port_type);
}

std::string refusal_text(const MorixRecord& rec, int port_type, int count,
                         const std::vector<int>& refused, PortPurpose purpose) {
    std::string head = "<" + rec.name + ">  ";
    if (count < 1)
        return head + "This Morix has no " + port_noun(port_type) + "; " + purpose_tail(purpose) +
               ".";
    std::string range = std::string(port_noun(port_type)) + " 1-" + std::to_string(count);
    if (port_type == PT_DS1INF)
        return head + MSG_WAN_MODULE + ": " + number_list(refused) + " (this Morix has " + range +
               "; " + purpose_tail(purpose) + ").";
    return head + "Port number(s) " + number_list(refused) + " do not exist (this Morix has " +
           range + "; " + purpose_tail(purpose) + ").";
}

} // namespace

int wan_modules(const MorixRecord& rec) {
    return std::max(0, std::min(rec.wan_count, static_cast<int>(rec.wan_if_index.size())));
}

int module_if_index(const MorixRecord& rec, int module) {
    return module >= 1 && module <= wan_modules(rec) ? rec.wan_if_index[module - 1] : 0;
}

int operator_port_number(const MorixRecord& rec, int port_type, int port) {
    if (!takes_module_numbers(rec, port_type))
        return port;
    for (int m = 1; m <= wan_modules(rec); ++m)
        if (rec.wan_if_index[m - 1] == port)
            return m;
    return 0;
}

bool takes_module_numbers(const MorixRecord& rec, int port_type) {
    return port_type == PT_DS1INF && wan_modules(rec) > 0;
}

int port_count(const MorixRecord& rec, int port_type) {
    if (wan_type(port_type) && wan_modules(rec) == 0)
        return 0;
    if (port_type == PT_DS1INF)
        return wan_modules(rec);
    if (port_type < PT_ASY || port_type > PT_IMDM || port_type == 7)
        return 0;
    return get_num_ports(&rec, port_type);
}

DevicePorts resolve_ports(const MorixRecord& rec, int port_type, int all,
                          const std::vector<int>& numbers, PortPurpose purpose) {
    DevicePorts out;
    if (port_type < PT_ASY || port_type > PT_IMDM || port_type == 7) {
        // Not a port type: only device variables take part, ports unused.
        out.all = all;
        out.ports = numbers;
        return out;
    }
    int count = port_count(rec, port_type);
    bool builder_all = expanded_by_builder(port_type) && wan_modules(rec) > 0;
    if (all && builder_all) {
        out.all = 1;
        return out;
    }
    if (all) {
        for (int p = 1; p <= count; ++p)
            out.ports.push_back(takes_module_numbers(rec, port_type) ? module_if_index(rec, p) : p);
        if (count < 1)
            out.refusal = refusal_text(rec, port_type, count, {}, purpose);
        return out;
    }
    for (int n : numbers) {
        if (n < 1 || n > count)
            out.refused.push_back(n);
        else
            out.ports.push_back(takes_module_numbers(rec, port_type) ? module_if_index(rec, n) : n);
    }
    if (!out.refused.empty())
        out.refusal = refusal_text(rec, port_type, count, out.refused, purpose);
    return out;
}

DevicePorts resolve_port_text(const MorixRecord& rec, int port_type, const std::string& text,
                              PortPurpose purpose) {
    int all = 0, count = 0;
    std::vector<int> numbers = parse_port_list(text, &all, &count);
    return resolve_ports(rec, port_type, all, numbers, purpose);
}
