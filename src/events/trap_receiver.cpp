#include "events/trap_receiver.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "events/event_json.h"

namespace {

constexpr int RECEIVE_BUFFER_BYTES = 1 << 20;

int64_t ms_of(std::chrono::nanoseconds d) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(d).count();
}

} // namespace

ReceiverClock system_receiver_clock() {
    return {[] { return ms_of(std::chrono::steady_clock::now().time_since_epoch()); },
            [] { return ms_of(std::chrono::system_clock::now().time_since_epoch()); }};
}

TrapReceiver::TrapReceiver(ReceiverLimits limits, ReceiverClock clock)
    : limits_(limits), clock_(std::move(clock)) {}

TrapReceiver::~TrapReceiver() {
    if (fd_ >= 0)
        close(fd_);
}

int TrapReceiver::open(int port, std::string* message) {
    if (fd_ >= 0)
        return 0;
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    a.sin_port = htons(static_cast<uint16_t>(port));
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        int err = errno;
        if (fd >= 0)
            close(fd);
        std::string p = std::to_string(port);
        if (err == EADDRINUSE)
            *message = "The trap port " + p +
                       " is in use by another program; traps are not received here.";
        else if (err == EACCES)
            *message = "The trap port " + p +
                       " needs privilege: run as root, give the program the "
                       "cap_net_bind_service capability, or receive on a port above 1023 "
                       "that the devices' traps are redirected to.";
        else
            *message = "The trap port " + p + " cannot be opened: " + std::strerror(err) + ".";
        return -1;
    }
    int size = RECEIVE_BUFFER_BYTES, on = 1;
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    setsockopt(fd, SOL_SOCKET, SO_RXQ_OVFL, &on, sizeof on);
    fd_ = fd;
    port_ = port;
    return 0;
}

bool TrapReceiver::spend(uint32_t sender) {
    auto it = budgets_.find(sender);
    Budget* b = nullptr;
    if (it != budgets_.end()) {
        b = &it->second;
    } else if (budgets_.size() < limits_.max_senders) {
        b = &budgets_[sender];
        b->tokens = limits_.burst;
        b->at_ms = clock_.steady_ms();
    } else {
        b = &shared_;
        if (!shared_init_) {
            shared_ = {static_cast<double>(limits_.burst), clock_.steady_ms()};
            shared_init_ = true;
        }
    }
    int64_t now = clock_.steady_ms();
    if (now > b->at_ms) {
        b->tokens = std::min<double>(limits_.burst,
                                     b->tokens + (now - b->at_ms) * limits_.per_second / 1000.0);
        b->at_ms = now;
    }
    if (b->tokens < 1)
        return false;
    b->tokens -= 1;
    return true;
}

void TrapReceiver::take(const unsigned char* data, size_t len, const sockaddr_in& from) {
    ++counts_.datagrams;
    if (len == 0 || len > EVENT_MAX_DATAGRAM) {
        ++counts_.malformed;
        return;
    }
    if (!spend(from.sin_addr.s_addr)) {
        ++counts_.flood_dropped;
        return;
    }
    TrapEvent ev;
    TrapDecode d = decode_trap(data, len, &ev);
    if (d != TrapDecode::ok) {
        ++(d == TrapDecode::malformed ? counts_.malformed : counts_.not_trap);
        return;
    }
    char addr[INET_ADDRSTRLEN] = "";
    inet_ntop(AF_INET, &from.sin_addr, addr, sizeof addr);
    ev.source = addr;
    ev.time_ms = clock_.wall_ms();
    name_trap_source(from, &ev);
    ++counts_.events;
    counts_.vars_cut += ev.vars_cut;
    if (!ev.community_ok)
        ++counts_.wrong_community;
    if (log_ && !log_->append(event_to_json(ev)))
        ++counts_.log_failed;
    events_.push_back(std::move(ev));
    while (events_.size() > limits_.kept)
        events_.pop_front();
    if (listener_)
        listener_(events_.back());
}

int TrapReceiver::receive() {
    if (fd_ < 0)
        return 0;
    static unsigned char buf[65536];
    long before = counts_.events;
    for (int i = 0; i < limits_.drain; ++i) {
        sockaddr_in from{};
        iovec iov{buf, sizeof buf};
        char control[CMSG_SPACE(sizeof(uint32_t))];
        msghdr msg{};
        msg.msg_name = &from;
        msg.msg_namelen = sizeof from;
        msg.msg_iov = &iov;
        msg.msg_iovlen = 1;
        msg.msg_control = control;
        msg.msg_controllen = sizeof control;
        ssize_t n = recvmsg(fd_, &msg, MSG_TRUNC);
        if (n < 0)
            break;
        for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c)) {
            if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SO_RXQ_OVFL) {
                uint32_t lost = 0;
                std::memcpy(&lost, CMSG_DATA(c), sizeof lost);
                counts_.kernel_dropped += lost - last_overflow_;
                last_overflow_ = lost;
            }
        }
        // A datagram cut by the buffer counts as too long.
        size_t len = static_cast<size_t>(n) > sizeof buf ? sizeof buf + 1 : static_cast<size_t>(n);
        take(buf, len, from);
    }
    return static_cast<int>(counts_.events - before);
}

std::string TrapReceiver::counts_text() const {
    const ReceiverCounts& c = counts_;
    return std::to_string(c.events) + " events, " + std::to_string(c.datagrams) + " datagrams, " +
           std::to_string(c.malformed) + " malformed, " + std::to_string(c.not_trap) +
           " not traps, " + std::to_string(c.flood_dropped) + " over a sender's budget, " +
           std::to_string(c.kernel_dropped) + " lost in the socket queue, " +
           std::to_string(c.wrong_community) + " with a wrong community, " +
           std::to_string(c.vars_cut) + " variables not kept, " + std::to_string(c.log_failed) +
           " not logged";
}
