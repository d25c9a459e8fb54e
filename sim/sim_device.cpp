#include "sim_device.h"

#include <arpa/inet.h>

#include <cstring>

#include "catalogue/mib_catalogue.h"

namespace {

// Discovery request layout: 4 bytes sender id, then these 18 bytes.
const unsigned char DISC_BODY[18] = {0x00, 0x22, 0x80, 0x00, 0xff, 0xff, 0xff, 0xff, 0x04,
                                     0x00, 0x00, 0x00, 0x00, 0xff, 0xff, 0xff, 0xff, 0x00};
constexpr size_t DISC_LEN = 22;
constexpr size_t DISC_REPLY_MAX = 213;

} // namespace

int init_sim_device(SimDevice* dev, const SimProfile& profile, const std::string& address,
                    const std::vector<std::string>& extra_faults, std::string* error) {
    in_addr a{};
    if (inet_pton(AF_INET, address.c_str(), &a) != 1 || (ntohl(a.s_addr) >> 24) != 127) {
        *error = "address " + address + " is not a loopback address 127.x.y.z";
        return -1;
    }
    dev->profile = profile;
    dev->address = address;
    dev->faults = profile.faults;
    for (const std::string& w : extra_faults) {
        if (apply_fault_word(w, &dev->faults, error) != 0)
            return -1;
    }
    dev->rng.seed(dev->faults.seed);
    dev->start = std::chrono::steady_clock::now() - std::chrono::seconds(dev->faults.uptime_s);
    DeviceFacts facts{address};
    if (build_device_view(profile, facts, &dev->view, error) != 0)
        return -1;
    dev->allow_sets_entry = nullptr;
    for (ViewEntry& e : dev->view.entries) {
        if (e.label == "mrxAllowSets" && e.value.type == ASN_INTEGER) {
            dev->allow_sets_entry = &e;
            break;
        }
    }
    return 0;
}

bool is_discovery_request(const unsigned char* data, size_t len) {
    return len == DISC_LEN && std::memcmp(data + 4, DISC_BODY, sizeof DISC_BODY) == 0;
}

void handle_discovery(const SimDevice& dev, const unsigned char* data, size_t len,
                      std::vector<std::string>* replies) {
    if (!is_discovery_request(data, len))
        return;
    in_addr a{};
    inet_pton(AF_INET, dev.address.c_str(), &a);
    // Reply: the request's first 18 bytes with the reply mark 0x81 at byte
    // 6, the device address in bytes 18..21, the product type number in
    // bytes 22..23 and the system description (ended by a 0 byte) after it.
    std::string r(reinterpret_cast<const char*>(data), 18);
    r[6] = static_cast<char>(0x81);
    r.append(reinterpret_cast<const char*>(&a.s_addr), 4);
    r.push_back(static_cast<char>((dev.profile.product_type >> 8) & 0xff));
    r.push_back(static_cast<char>(dev.profile.product_type & 0xff));
    std::string descr = dev.profile.sys_descr.substr(0, DISC_REPLY_MAX - r.size() - 1);
    r += descr;
    r.push_back('\0');
    replies->push_back(r);
}

bool drop_datagram(FaultSettings* faults, std::mt19937* rng) {
    if (faults->drop_pct <= 0)
        return false;
    return static_cast<int>((*rng)() % 100) < faults->drop_pct;
}

bool device_ignores(SimDevice* dev) {
    if (std::chrono::steady_clock::now() < dev->silent_until)
        return true;
    return drop_datagram(&dev->faults, &dev->rng);
}
