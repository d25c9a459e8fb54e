// Test support of the discovery tests: a private network namespace for the
// test process, a small discovery responder on a chosen address, and named
// namespaces joined by a bridge for real broadcast between hosts.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Moves the calling process into a new network namespace with loopback up,
// so that broadcasts reach only what the test itself starts there.
bool enter_private_netns(std::string* why);

// A reply of a device: the request's first 18 bytes (byte 6 0x81), then the
// dotted address in bytes 18..21, then extra bytes.
std::vector<uint8_t> dsc_reply_bytes(const std::string& dotted, size_t extra = 8);

// Answers every discovery datagram on address:121 with the given replies,
// in order, from a thread of its own; netns, when not empty, names the
// namespace (under /run/netns) the socket is opened in. Stopped and joined
// by the destructor.
class DscResponder {
  public:
    DscResponder(const std::string& address, std::vector<std::vector<uint8_t>> replies,
                 const std::string& netns = "");
    ~DscResponder();
    DscResponder(const DscResponder&) = delete;
    DscResponder& operator=(const DscResponder&) = delete;
    bool ready(); // the socket is bound (waits at most 2 s)
    int requests() const { return requests_; }
    std::vector<uint8_t> last_request() const;

  private:
    void run();
    std::string address_, netns_;
    std::vector<std::vector<uint8_t>> replies_;
    std::atomic<bool> stop_{false};
    std::atomic<int> bound_{0}; // 1 bound, -1 failed
    std::atomic<int> requests_{0};
    std::vector<uint8_t> last_;
    mutable std::mutex last_mutex_;
    std::thread thread_;
};

// Named namespaces, each joined by a veth pair to one bridge in the
// caller's namespace that holds bridge_addr/24. Host k gets address
// prefix.(k + 2). Everything is removed by name in the destructor (and any
// leftover of the same names before creation).
class BridgedHosts {
  public:
    BridgedHosts(const std::string& prefix, int count);
    ~BridgedHosts();
    BridgedHosts(const BridgedHosts&) = delete;
    BridgedHosts& operator=(const BridgedHosts&) = delete;
    bool ok() const { return ok_; }
    const std::string& error() const { return error_; }
    std::string ns(int k) const { return names_[k]; }
    std::string host_addr(int k) const;
    std::string bridge_addr() const { return prefix_ + ".1"; }

  private:
    bool run(const std::vector<std::string>& argv);
    void remove_all();
    void remove_stale();
    std::string prefix_, tag_;
    std::vector<std::string> names_;
    bool ok_ = false;
    std::string error_;
};
