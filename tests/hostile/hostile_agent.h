// A hostile SNMP agent the tests own: a UDP forwarder on 127.x.y.z:161 that
// relays every request to a simulated device and tampers with the reply,
// and a discovery responder on port 121 that floods the asker with replies.
// Both run on a thread of the test process until the object goes.
#pragma once

#include <atomic>
#include <string>
#include <thread>

enum TamperMode {
    TM_NONE,       // relay unchanged
    TM_RENAME,     // every answer named sysDescr.0
    TM_REORDER,    // answers in reverse order
    TM_DROP_LAST,  // one answer too few
    TM_EXTRA,      // one answer too many
    TM_EMPTY,      // no answers at all, noError
    TM_WRONG_TYPE, // numbers answered as strings, strings as numbers
    TM_SAME_NAME   // GetNext answered with the identifier it asked for
};

class HostileAgent {
  public:
    // Relays from listen (port 161) to upstream (port 161).
    HostileAgent(const std::string& listen, const std::string& upstream, TamperMode mode);
    ~HostileAgent();
    HostileAgent(const HostileAgent&) = delete;
    HostileAgent& operator=(const HostileAgent&) = delete;
    bool ready() const { return fd_ >= 0; }
    int requests() const { return requests_; }

  private:
    void run();
    int fd_ = -1;
    int up_fd_ = -1;
    std::string upstream_;
    TamperMode mode_;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    std::thread thread_;
};

// Answers every discovery request on listen:121 with count replies, each
// naming a distinct address 127.200.x.y (nothing listens there).
class DiscoveryFlood {
  public:
    DiscoveryFlood(const std::string& listen, int count);
    ~DiscoveryFlood();
    DiscoveryFlood(const DiscoveryFlood&) = delete;
    DiscoveryFlood& operator=(const DiscoveryFlood&) = delete;
    bool ready() const { return fd_ >= 0; }

  private:
    void run();
    int fd_ = -1;
    int count_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// The dotted address of flood reply i.
std::string flood_addr(int i);

// Takes every datagram to port 161 of any local address that no other
// socket holds, and never answers: addresses behind it are silent rather
// than refused.
class SilentPort {
  public:
    SilentPort();
    ~SilentPort();
    SilentPort(const SilentPort&) = delete;
    SilentPort& operator=(const SilentPort&) = delete;
    bool ready() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};
