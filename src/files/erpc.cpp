// Datagram gather/scatter and the call protocol (see erpc.h).
#include "files/erpc.h"

#include <poll.h>
#include <sys/random.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>

namespace {

using steady = std::chrono::steady_clock;

// Total bytes of n areas.
size_t area_bytes(const iovec* areas, size_t n) {
    size_t sum = 0;
    for (size_t i = 0; i < n; i++)
        sum += areas[i].iov_len;
    return sum;
}

// Milliseconds from now to the deadline, at least 0.
int ms_left(steady::time_point deadline) {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - steady::now());
    return ms.count() > 0 ? static_cast<int>(ms.count()) : 0;
}

// Counts a dropped datagram.
void count_drop(ErpcDrops* drops, bool foreign) {
    if (drops && foreign)
        drops->foreign++;
    else if (drops)
        drops->stray++;
}

// Waits for a matching reply until the deadline. Reply bytes after the
// first 6, -1 on a receive failure, -2 when the deadline passed (or the
// wait was interrupted).
int await_reply(int sock, sockaddr_in* server, uint32_t id, int resc, iovec* res,
                steady::time_point deadline, ErpcDrops* drops) {
    for (;;) {
        pollfd p{sock, POLLIN, 0};
        int ready = poll(&p, 1, ms_left(deadline));
        if (ready < 0 && errno != EINTR) {
            fputs("erpc_sendresp: select\n", stderr);
            return -1;
        }
        if (ready <= 0)
            return -2;
        sockaddr_in from{};
        msghdr msg{};
        msg.msg_name = &from;
        msg.msg_namelen = sizeof from;
        msg.msg_iov = res;
        msg.msg_iovlen = static_cast<size_t>(resc) + 1;
        int n = api_recvmsg(sock, &msg, "erpc_callresp", 0);
        if (n < 0)
            return -1;
        const auto* hdr = static_cast<const uint8_t*>(res[0].iov_base);
        bool foreign =
            from.sin_family != AF_INET || from.sin_addr.s_addr != server->sin_addr.s_addr;
        if (foreign || n < static_cast<int>(ERPC_RECV_HDR) || get_long(hdr) != id ||
            get_short(hdr + 4) != ERPC_CLASS_REPLY) {
            count_drop(drops, foreign);
            if (ms_left(deadline) == 0)
                return -2;
            continue; // not ours: the wait goes on to the same deadline
        }
        server->sin_port = from.sin_port; // the service may answer from another port
        return n - static_cast<int>(ERPC_RECV_HDR);
    }
}

} // namespace

unsigned get_short(const uint8_t* p) {
    return (static_cast<unsigned>(p[0]) << 8) | p[1];
}

void set_short(uint8_t* p, unsigned v) {
    p[0] = static_cast<uint8_t>((v >> 8) & 0xff);
    p[1] = static_cast<uint8_t>(v & 0xff);
}

uint32_t get_long(const uint8_t* p) {
    return (static_cast<uint32_t>(get_short(p)) << 16) | get_short(p + 2);
}

void set_long(uint8_t* p, uint32_t v) {
    set_short(p, v >> 16);
    set_short(p + 2, v & 0xffff);
}

int kalo_sendmsg(int sock, const msghdr* msg, int flags) {
    uint8_t buf[ERPC_MSG_MAX];
    if (area_bytes(msg->msg_iov, msg->msg_iovlen) > sizeof buf)
        return -1;
    size_t used = 0;
    for (size_t i = 0; i < msg->msg_iovlen; i++) {
        const iovec& a = msg->msg_iov[i];
        if (a.iov_len > 0)
            memcpy(buf + used, a.iov_base, a.iov_len);
        used += a.iov_len;
    }
    ssize_t n = sendto(sock, buf, used, flags, static_cast<const sockaddr*>(msg->msg_name),
                       msg->msg_namelen);
    return n < 0 ? -1 : static_cast<int>(n);
}

int kalo_recvmsg(int sock, msghdr* msg, int flags) {
    uint8_t buf[ERPC_MSG_MAX];
    socklen_t namelen = msg->msg_namelen;
    ssize_t n = recvfrom(sock, buf, sizeof buf, flags, static_cast<sockaddr*>(msg->msg_name),
                         msg->msg_name ? &namelen : nullptr);
    if (n < 0)
        return -1;
    msg->msg_namelen = namelen;
    size_t got = static_cast<size_t>(n), placed = 0;
    for (size_t i = 0; i < msg->msg_iovlen; i++) {
        iovec& a = msg->msg_iov[i];
        size_t take = placed < got ? std::min(a.iov_len, got - placed) : 0;
        auto* dst = static_cast<uint8_t*>(a.iov_base);
        if (take > 0)
            memcpy(dst, buf + placed, take);
        if (a.iov_len > take)
            memset(dst + take, 0, a.iov_len - take);
        placed += take;
    }
    return static_cast<int>(n);
}

int api_sendmsg(int sock, const msghdr* msg, const char* caller, int trace) {
    int n = kalo_sendmsg(sock, msg, 0);
    if (n < 0) {
        int e = errno;
        fprintf(stderr, "%s:sendmsg failed: %s\n", caller ? caller : "", strerror(e));
    } else if (trace) {
        fprintf(stderr, "%s: sent %d bytes\n", caller ? caller : "", n);
    }
    return n;
}

int api_recvmsg(int sock, msghdr* msg, const char* caller, int trace) {
    int n = kalo_recvmsg(sock, msg, 0);
    if (n < 0) {
        int e = errno;
        fprintf(stderr, "recvfrom Failed: %s\n", strerror(e));
    } else if (trace) {
        fprintf(stderr, "%s: received %d bytes\n", caller ? caller : "", n);
    }
    return n;
}

int send_call(int sock, const sockaddr_in* server, uint32_t id, uint32_t program, unsigned version,
              unsigned procedure, int argc, iovec* args) {
    uint8_t hdr[ERPC_CALL_HDR];
    set_long(hdr, id);
    set_short(hdr + 4, ERPC_CLASS_CALL);
    set_short(hdr + 6, ERPC_CALL);
    set_short(hdr + 8, 0);
    set_long(hdr + 10, program);
    set_short(hdr + 14, version);
    set_short(hdr + 16, procedure);
    args[0].iov_base = hdr;
    args[0].iov_len = sizeof hdr;
    msghdr msg{};
    msg.msg_name = const_cast<sockaddr_in*>(server);
    msg.msg_namelen = sizeof *server;
    msg.msg_iov = args;
    msg.msg_iovlen = static_cast<size_t>(argc) + 1;
    return api_sendmsg(sock, &msg, "send_call", 0) < 0 ? -1 : 0;
}

int erpc_call(int sock, const sockaddr_in* server, uint32_t id, uint32_t program, unsigned version,
              unsigned procedure, int argc, iovec* args) {
    return send_call(sock, server, id, program, version, procedure, argc, args);
}

int erpc_callresp(int sock, sockaddr_in* server, uint32_t id, uint32_t program, unsigned version,
                  unsigned procedure, int argc, iovec* args, int wait, int total, int resc,
                  iovec* res, int* already_sent, ErpcDrops* drops) {
    int step = wait > 0 ? wait : 1;
    uint8_t hdr[ERPC_RECV_HDR];
    res[0].iov_base = hdr;
    res[0].iov_len = sizeof hdr;
    while (total > 0) {
        if (already_sent && *already_sent)
            *already_sent = 0;
        else if (send_call(sock, server, id, program, version, procedure, argc, args) != 0)
            return -1;
        int n = await_reply(sock, server, id, resc, res, steady::now() + std::chrono::seconds(step),
                            drops);
        if (n != -2)
            return n;
        total -= step;
    }
    return -1;
}

uint32_t erpc_first_id() {
    uint32_t id = 0;
    if (getrandom(&id, sizeof id, 0) == static_cast<ssize_t>(sizeof id))
        return id;
    std::random_device rd; // the kernel's generator failed: the library's
    return static_cast<uint32_t>(rd());
}

int erpc_parse_call(const uint8_t* data, size_t len, ErpcCallHdr* hdr) {
    if (len < ERPC_CALL_HDR || get_short(data + 4) != ERPC_CLASS_CALL ||
        get_short(data + 6) != ERPC_CALL)
        return -1;
    hdr->id = get_long(data);
    hdr->program = get_long(data + 10);
    hdr->version = get_short(data + 14);
    hdr->procedure = get_short(data + 16);
    return 0;
}

std::string erpc_u16(unsigned v) {
    uint8_t b[2];
    set_short(b, v);
    return std::string(reinterpret_cast<char*>(b), 2);
}

namespace {

std::string reply_header(uint32_t id, unsigned type) {
    uint8_t h[ERPC_REPLY_HDR];
    set_long(h, id);
    set_short(h + 4, ERPC_CLASS_REPLY);
    set_short(h + 6, type);
    set_short(h + 8, 0);
    return std::string(reinterpret_cast<char*>(h), sizeof h);
}

} // namespace

std::string erpc_return(uint32_t id, const std::string& results) {
    return reply_header(id, ERPC_RETURN) + results;
}

std::string erpc_abort(uint32_t id, unsigned code) {
    return reply_header(id, ERPC_ABORT) + erpc_u16(code);
}

std::string erpc_reject(uint32_t id, unsigned reason, unsigned low, unsigned high) {
    std::string m = reply_header(id, ERPC_REJECT) + erpc_u16(reason);
    if (reason == ERPC_REJ_VERSION)
        m += erpc_u16(low) + erpc_u16(high);
    return m;
}
