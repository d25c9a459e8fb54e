// A scripted remote file service for the transfer tests: a real UDP socket
// on ADDR:121 (or another port) served by a thread, answering each call with whatever the
// test's handler returns and recording every call with its arrival time.
#pragma once

#include <arpa/inet.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "files/bfs.h"

struct SeenCall {
    ErpcCallHdr hdr;
    std::string args;
    sockaddr_in from{};
    std::chrono::steady_clock::time_point at;
};

// Returns the datagrams to send back (in order) for one call.
using ScriptFn = std::function<std::vector<std::string>(const SeenCall&, size_t index)>;

class ScriptedHost {
  public:
    ScriptedHost(const std::string& addr, ScriptFn fn, unsigned port = BFS_PORT)
        : fn_(std::move(fn)) {
        fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(port));
        inet_pton(AF_INET, addr.c_str(), &a.sin_addr);
        bound_ = bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        thread_ = std::thread([this] { serve(); });
    }
    ~ScriptedHost() {
        stop_ = true;
        thread_.join();
        close(fd_);
    }
    bool bound() const { return bound_; }
    std::vector<SeenCall> calls() {
        std::lock_guard<std::mutex> g(mu_);
        return calls_;
    }
    int fd() const { return fd_; }

  private:
    void serve() {
        while (!stop_) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0)
                continue;
            uint8_t buf[4096];
            SeenCall c;
            socklen_t flen = sizeof c.from;
            ssize_t n =
                recvfrom(fd_, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&c.from), &flen);
            if (n < 0 || erpc_parse_call(buf, static_cast<size_t>(n), &c.hdr) != 0)
                continue;
            c.args.assign(reinterpret_cast<char*>(buf) + ERPC_CALL_HDR, n - ERPC_CALL_HDR);
            c.at = std::chrono::steady_clock::now();
            size_t index;
            {
                std::lock_guard<std::mutex> g(mu_);
                index = calls_.size();
                calls_.push_back(c);
            }
            for (const std::string& r : fn_(c, index))
                sendto(fd_, r.data(), r.size(), 0, reinterpret_cast<sockaddr*>(&c.from),
                       sizeof c.from);
        }
    }

    ScriptFn fn_;
    int fd_ = -1;
    bool bound_ = false;
    std::atomic<bool> stop_{false};
    std::mutex mu_;
    std::vector<SeenCall> calls_;
    std::thread thread_;
};

// A well-behaved service over an in-memory file of `content` (reads) that
// accepts every write; the usual handler, which tests wrap to inject faults.
inline std::vector<std::string> good_reply(const SeenCall& c, const std::string& content) {
    if (c.hdr.procedure == BFS_RELEASE)
        return {};
    if (c.hdr.procedure != BFS_READ)
        return {erpc_return(c.hdr.id, "")};
    size_t block = get_short(reinterpret_cast<const uint8_t*>(c.args.data())) * BFS_BLOCK;
    std::string data = block < content.size() ? content.substr(block, BFS_BLOCK) : "";
    return {erpc_return(
        c.hdr.id, bfs_read_results(reinterpret_cast<const uint8_t*>(data.data()), data.size()))};
}

inline unsigned arg16(const SeenCall& c, size_t at) {
    return get_short(reinterpret_cast<const uint8_t*>(c.args.data()) + at);
}
