#include "sim_live.h"

#include <algorithm>
#include <cstdlib>

#include "catalogue/mib_catalogue.h"

namespace {

bool parse_long(const std::string& s, long lo, long hi, long* out) {
    if (s.empty() || s.size() > 10)
        return false;
    char* end = nullptr;
    long v = std::strtol(s.c_str(), &end, 10);
    if (*end != '\0' || v < lo || v > hi)
        return false;
    *out = v;
    return true;
}

// A hex text of n bytes, all zero but byte index at (0-based) = value.
std::string led_bytes(int n, int at, int value) {
    std::string out = "hex:";
    char buf[8];
    for (int i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, i ? ":%02x" : "%02x", i == at ? value : 0);
        out += buf;
    }
    return out;
}

struct StateDefault {
    const char* name;
    std::string value;
};

const std::vector<StateDefault>& state_defaults() {
    static const std::vector<StateDefault> table = {
        {"charPortInFlowState", "go"},
        {"charPortOutFlowState", "go"},
        {"charPortOperStatus", "up"},
        {"mrxt1ChanStatus", "idle"},
        {"dsx1LineStatus", "1"},
        {"dsx1ValidIntervals", "96"},
        {"dsx1TimeElapsed", "450"},
        {"mrxt1EngineBypass", "False"},
        // In sync, no alarm lamp lit.
        {"mrxModuleLeds", led_bytes(20, 17, 0x01)},
        {"mrxModelQLEDs", led_bytes(4, 2, 0x08)},
        {"cpuUtilization", "12"},
        {"activeProcs", "23"},
        {"mostProcs", "31"},
        {"maxProcs", "64"},
        {"totalMbufs", "1024"},
        {"freeMbufs", "900"},
        {"leastMbufs", "700"},
        {"memorySize", "16777216"},
        {"freeMemory", "8388608"},
        {"minFreeMemory", "6291456"},
        {"usableMemory", "12582912"},
    };
    return table;
}

} // namespace

int parse_live_keyword(const std::string& key, const std::string& rest, SimProfile* p) {
    long v = 0;
    if (key == "clock_step")
        return parse_long(rest, 0, 8640000, &v) ? (p->clock_step = v, 1) : -1;
    if (key != "counter_rate")
        return 0;
    size_t sp = rest.find_first_of(" \t");
    if (sp == std::string::npos)
        return parse_long(rest, 0, 1000000, &v) ? (p->counter_rate = v, 1) : -1;
    std::string name = rest.substr(0, sp);
    std::string num = rest.substr(rest.find_first_not_of(" \t", sp));
    if (!parse_long(num, 0, 1000000, &v))
        return -1;
    p->counter_rates.emplace_back(name, v);
    return 1;
}

long counter_rate_of(const SimProfile& p, const std::string& name) {
    // A later line for the same name wins, like a later keyword.
    for (auto r = p.counter_rates.rbegin(); r != p.counter_rates.rend(); ++r)
        if (r->first == name)
            return r->second;
    return p.counter_rate >= 0 ? p.counter_rate : 5 + p.product_type;
}

long live_value(const SimDevice& dev, const ViewEntry& e, long uptime_ticks) {
    if (e.value.type == ASN_COUNTER) {
        unsigned long secs = static_cast<unsigned long>(uptime_ticks / 100);
        unsigned long rate = static_cast<unsigned long>(counter_rate_of(dev.profile, e.label));
        unsigned long v = static_cast<unsigned long>(e.value.num) + rate * secs;
        return static_cast<long>(v & 0xffffffffUL);
    }
    if (e.value.type == ASN_TIMETICKS && e.label == "mrxt1UpTime")
        return uptime_ticks;
    return e.value.num;
}

void apply_state_defaults(const SimProfile&, DeviceView* view) {
    // The tunnel table has rows only for the tunnels a profile sets up.
    std::vector<ViewEntry>& all = view->entries;
    all.erase(std::remove_if(all.begin(), all.end(),
                             [](const ViewEntry& e) { return e.label.rfind("mrxTunnel", 0) == 0; }),
              all.end());
    for (ViewEntry& e : view->entries) {
        if (e.cat_id < 0)
            continue;
        for (const StateDefault& d : state_defaults()) {
            if (e.label != d.name)
                continue;
            SimValue v;
            if (value_from_text(e.value.type, mib_data_list[e.cat_id]->enum_id, d.value, &v) == 0)
                e.value = v;
        }
    }
}
