// Fuzz entry for discovery replies: the input is a run of datagrams (each a
// length byte and its bytes) received for a broadcast to 10.1.2.255 of
// network 10.1.2.0; every address taken must be a usable device address
// read from bytes 18..21 of a datagram long enough to carry one.
#include <arpa/inet.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "devices/discovery.h"

namespace {
struct Counts {
    long taken = 0, ignored = 0;
    ~Counts() { std::printf("replies taken %ld, ignored %ld\n", taken, ignored); }
} g_counts;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t i = 0;
    while (i < size) {
        size_t len = data[i++];
        if (len > size - i)
            len = size - i;
        const uint8_t* d = data + i;
        std::string addr = dsc_take_reply(d, len, "10.1.2.255", "10.1.2.0");
        i += len;
        if (addr.empty()) {
            ++g_counts.ignored;
            continue;
        }
        ++g_counts.taken;
        in_addr a{};
        if (len < 22 || inet_pton(AF_INET, addr.c_str(), &a) != 1)
            std::abort();
        const uint8_t* b = reinterpret_cast<const uint8_t*>(&a.s_addr);
        uint32_t v = ntohl(a.s_addr);
        if (b[0] != d[18] || b[1] != d[19] || b[2] != d[20] || b[3] != d[21] || v == 0 ||
            v >= 0xE0000000u || addr == "10.1.2.0" || addr == "10.1.2.255")
            std::abort();
    }
    return 0;
}
