#include "sim_world.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "sim_traps.h"

namespace {

constexpr size_t RECV_BUFFER = 65536;
constexpr int DRAIN_PER_WAKE = 64;
const char* const BROADCAST_ADDR = "127.255.255.255";

int add_socket(SimWorld* w, UdpSocket s) {
    int fd = s.fd();
    w->sockets.push_back(std::move(s));
    return fd;
}

bool from_loopback(const sockaddr_in& from) {
    return from.sin_family == AF_INET && (ntohl(from.sin_addr.s_addr) >> 24) == 127 &&
           from.sin_port != 0;
}

void queue_replies(SimWorld* w, int fd, const sockaddr_in& to, int delay_ms,
                   std::vector<std::string>* replies) {
    auto due = std::chrono::steady_clock::now() + std::chrono::milliseconds(delay_ms);
    for (std::string& r : *replies) {
        if (delay_ms <= 0) {
            sendto(fd, r.data(), r.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
            continue;
        }
        w->pending.push_back({due, fd, to, std::move(r)});
    }
    replies->clear();
}

int device_reply_fd(const SimWorld& w, int d, bool snmp) {
    const DeviceSockets& s = w.device_sockets[d];
    if (w.devices[d]->faults.other_port)
        return s.alt_fd;
    return snmp ? s.snmp_fd : s.port121_fd;
}

void device_snmp(SimWorld* w, int d, const unsigned char* data, size_t len,
                 const sockaddr_in& from) {
    SimDevice* dev = w->devices[d].get();
    std::vector<std::string> replies;
    handle_snmp_datagram(dev, data, len, &w->log, &replies);
    queue_replies(w, device_reply_fd(*w, d, true), from, dev->faults.delay_ms, &replies);
}

void device_discovery(SimWorld* w, int d, const unsigned char* data, size_t len,
                      const sockaddr_in& from) {
    SimDevice* dev = w->devices[d].get();
    std::vector<std::string> replies;
    if (dev->faults.dsc_flood > 0 && is_discovery_request(data, len)) {
        // Paced at 10 replies a millisecond so that the asker's receive
        // buffer is not what limits the flood.
        auto now = std::chrono::steady_clock::now();
        for (int i = 0; i < dev->faults.dsc_flood; ++i)
            w->pending.push_back({now + std::chrono::microseconds(i * 100),
                                  device_reply_fd(*w, d, false), from, flood_reply(data, i)});
        return;
    }
    handle_discovery(*dev, data, len, &replies);
    queue_replies(w, device_reply_fd(*w, d, false), from, dev->faults.delay_ms, &replies);
}

void load_host_call(SimWorld* w, const unsigned char* data, size_t len, const sockaddr_in& from) {
    LoadHost* lh = w->load_host.get();
    if (drop_datagram(&lh->faults, &lh->rng))
        return;
    std::vector<std::string> replies;
    lh->handle(data, len, from, &replies);
    bool alt = lh->faults.other_port || !lh->faults.reply_from.empty();
    int fd = alt ? w->load_host_alt_fd : w->load_host_121_fd;
    queue_replies(w, fd, from, lh->faults.delay_ms, &replies);
}

void dispatch(SimWorld* w, const Listener& l, const unsigned char* data, size_t len,
              const sockaddr_in& from) {
    bool disc = is_discovery_request(data, len);
    if (l.kind == LK_BROADCAST) {
        for (size_t d = 0; disc && d < w->devices.size(); d++) {
            if (!device_ignores(w->devices[d].get()))
                device_discovery(w, static_cast<int>(d), data, len, from);
        }
        return;
    }
    bool snmp = len > 0 && data[0] == 0x30 && (l.kind == LK_SNMP || l.kind == LK_ALT);
    if (l.device >= 0 && (snmp || (disc && l.kind != LK_SNMP))) {
        if (device_ignores(w->devices[l.device].get()))
            return;
        if (snmp)
            device_snmp(w, l.device, data, len, from);
        else
            device_discovery(w, l.device, data, len, from);
        return;
    }
    if (l.load_host && !disc && l.kind != LK_SNMP)
        load_host_call(w, data, len, from);
}

void drain(SimWorld* w, const Listener& l) {
    static unsigned char buf[RECV_BUFFER];
    for (int i = 0; i < DRAIN_PER_WAKE; i++) {
        sockaddr_in from{};
        socklen_t flen = sizeof from;
        ssize_t n =
            recvfrom(l.fd, buf, sizeof buf, MSG_TRUNC, reinterpret_cast<sockaddr*>(&from), &flen);
        if (n < 0)
            return;
        w->datagrams++;
        // Oversized datagrams arrive cut short and are ignored, as are
        // datagrams from anywhere but loopback.
        if (static_cast<size_t>(n) > sizeof buf || !from_loopback(from))
            continue;
        dispatch(w, l, buf, static_cast<size_t>(n), from);
    }
}

// Traps leave from the device's SNMP socket, so they come from its address.
void send_traps(SimWorld* w, bool start) {
    auto now = std::chrono::steady_clock::now();
    std::vector<TrapDatagram> traps;
    for (size_t d = 0; d < w->devices.size(); d++) {
        SimDevice* dev = w->devices[d].get();
        start ? start_traps(dev, &traps) : tick_traps(dev, &traps);
        for (TrapDatagram& t : traps)
            w->pending.push_back({now + std::chrono::milliseconds(t.delay_ms),
                                  w->device_sockets[d].snmp_fd, t.to, std::move(t.data)});
        traps.clear();
    }
}

int send_due(SimWorld* w) {
    auto now = std::chrono::steady_clock::now();
    int wait_ms = 1000;
    std::vector<PendingSend> later;
    for (PendingSend& p : w->pending) {
        if (p.due <= now) {
            sendto(p.fd, p.data.data(), p.data.size(), 0, reinterpret_cast<const sockaddr*>(&p.to),
                   sizeof p.to);
            continue;
        }
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(p.due - now).count() + 1;
        wait_ms = std::min<int>(wait_ms, static_cast<int>(ms));
        later.push_back(std::move(p));
    }
    w->pending.swap(later);
    return wait_ms;
}

int bind_device(SimWorld* w, int d, std::string* error) {
    const std::string& addr = w->devices[d]->address;
    DeviceSockets ds;
    UdpSocket s;
    if (open_udp(addr, 161, false, &s, error) != 0)
        return -1;
    ds.snmp_fd = add_socket(w, std::move(s));
    w->listeners.push_back({ds.snmp_fd, LK_SNMP, d, false});
    if (open_udp(addr, 121, true, &s, error) != 0)
        return -1;
    ds.port121_fd = add_socket(w, std::move(s));
    bool shared = w->load_host && w->load_host_addr == addr;
    if (shared)
        w->load_host_121_fd = ds.port121_fd;
    w->listeners.push_back({ds.port121_fd, LK_PORT121, d, shared});
    if (w->devices[d]->faults.other_port) {
        if (open_udp(addr, 0, false, &s, error) != 0)
            return -1;
        ds.alt_fd = add_socket(w, std::move(s));
        w->listeners.push_back({ds.alt_fd, LK_ALT, d, false});
    }
    w->device_sockets.push_back(ds);
    return 0;
}

int bind_load_host(SimWorld* w, std::string* error) {
    UdpSocket s;
    if (w->load_host_121_fd < 0) {
        if (open_udp(w->load_host_addr, 121, true, &s, error) != 0)
            return -1;
        w->load_host_121_fd = add_socket(w, std::move(s));
        w->listeners.push_back({w->load_host_121_fd, LK_PORT121, -1, true});
    }
    // other_port: a second port of the same address; reply_from: port 121
    // of another address.
    const std::string& from = w->load_host->faults.reply_from;
    if (w->load_host->faults.other_port || !from.empty()) {
        bool other_addr = !from.empty();
        if (open_udp(other_addr ? from : w->load_host_addr, other_addr ? 121 : 0, other_addr, &s,
                     error) != 0)
            return -1;
        w->load_host_alt_fd = add_socket(w, std::move(s));
        w->listeners.push_back({w->load_host_alt_fd, LK_ALT, -1, true});
    }
    return 0;
}

} // namespace

UdpSocket::~UdpSocket() {
    if (fd_ >= 0)
        close(fd_);
}

UdpSocket& UdpSocket::operator=(UdpSocket&& o) noexcept {
    if (this != &o) {
        if (fd_ >= 0)
            close(fd_);
        fd_ = o.fd_;
        o.fd_ = -1;
    }
    return *this;
}

int open_udp(const std::string& address, int port, bool reuse, UdpSocket* out, std::string* error) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    if (inet_pton(AF_INET, address.c_str(), &a.sin_addr) != 1) {
        *error = "bad address " + address;
        return -1;
    }
    UdpSocket s(socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    int on = 1;
    if (s.fd() < 0 ||
        (reuse && setsockopt(s.fd(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) ||
        bind(s.fd(), reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        *error =
            "cannot bind " + address + ":" + std::to_string(port) + ": " + std::strerror(errno);
        return -1;
    }
    *out = std::move(s);
    return 0;
}

int bind_world(SimWorld* w, std::string* error) {
    for (size_t d = 0; d < w->devices.size(); d++) {
        if (bind_device(w, static_cast<int>(d), error) != 0)
            return -1;
    }
    if (w->load_host && bind_load_host(w, error) != 0)
        return -1;
    if (!w->devices.empty()) {
        UdpSocket s;
        if (open_udp(BROADCAST_ADDR, 121, true, &s, error) != 0)
            return -1;
        int fd = add_socket(w, std::move(s));
        w->listeners.push_back({fd, LK_BROADCAST, -1, false});
    }
    return 0;
}

void run_world(SimWorld* w, volatile sig_atomic_t* stop) {
    std::vector<pollfd> fds;
    for (const Listener& l : w->listeners)
        fds.push_back({l.fd, POLLIN, 0});
    auto last_expire = std::chrono::steady_clock::now();
    int wait_ms = 1000;
    send_traps(w, true);
    while (!*stop) {
        int rc = poll(fds.data(), fds.size(), wait_ms);
        if (rc < 0 && errno != EINTR)
            break;
        for (size_t i = 0; rc > 0 && i < fds.size(); i++) {
            if (fds[i].revents & POLLIN)
                drain(w, w->listeners[i]);
        }
        send_traps(w, false);
        wait_ms = send_due(w);
        auto now = std::chrono::steady_clock::now();
        if (w->load_host && now - last_expire > std::chrono::seconds(5)) {
            w->load_host->expire(std::chrono::seconds(120));
            last_expire = now;
        }
    }
}
