// The trap receiver: one UDP socket (port 162 unless told otherwise) that
// takes SNMPv1 traps from anyone, turns each into an event, keeps the
// newest events in memory, writes every event to the event log and counts
// what it refuses. Single-threaded: the front end calls receive() when the
// socket is readable (mm_cli's loop, the window's timer).
//
// Bounds against hostile traffic: datagrams over EVENT_MAX_DATAGRAM bytes,
// undecodable ones and other SNMP messages are counted and dropped; each
// sender has a budget of events (a burst, refilled at a steady rate per
// second) and what exceeds it is counted and dropped before decoding; the
// table of senders and the events kept in memory are bounded; a trap with
// a wrong community is kept and flagged.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <unordered_map>

#include "events/event_log.h"
#include "events/trap_event.h"

constexpr int TRAP_PORT = 162;

struct ReceiverLimits {
    int burst = 1000;         // events a sender may send at once
    int per_second = 200;     // refill of a sender's budget
    size_t max_senders = 256; // senders with a budget of their own; the rest share one
    size_t kept = 1000;       // events kept in memory (the log keeps more)
    int drain = 512;          // datagrams read per receive() call at most
};

struct ReceiverCounts {
    long datagrams = 0;       // read from the socket
    long events = 0;          // traps turned into events
    long malformed = 0;       // could not be decoded, or too long
    long not_trap = 0;        // SNMP messages other than v1 traps
    long flood_dropped = 0;   // over a sender's budget
    long kernel_dropped = 0;  // lost in the socket's queue before they were read
    long wrong_community = 0; // events whose community is not the device's
    long vars_cut = 0;        // variable bindings beyond the bound per trap
    long log_failed = 0;      // events the log could not take
};

// The two clocks the receiver reads: a steady one for the budgets and the
// wall clock for the events' time (both milliseconds). Tests set their own.
struct ReceiverClock {
    std::function<int64_t()> steady_ms;
    std::function<int64_t()> wall_ms;
};
ReceiverClock system_receiver_clock();

class TrapReceiver {
  public:
    explicit TrapReceiver(ReceiverLimits limits = ReceiverLimits(),
                          ReceiverClock clock = system_receiver_clock());
    ~TrapReceiver();
    TrapReceiver(const TrapReceiver&) = delete;
    TrapReceiver& operator=(const TrapReceiver&) = delete;

    // Binds UDP port (any address). 0, or -1 with the operator's message
    // (the port in use, or a port below 1024 without the privilege).
    int open(int port, std::string* message);
    bool is_open() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    int port() const { return port_; }
    // Events go to this log too (not owned; null: no log).
    void set_log(EventLog* log) { log_ = log; }
    // Called for each new event, after it is kept.
    void on_event(std::function<void(const TrapEvent&)> listener) { listener_ = listener; }

    // Reads what the socket holds (at most limits.drain datagrams) without
    // waiting; returns the number of new events.
    int receive();
    // One datagram as if it had arrived from that sender (receive() uses it).
    void take(const unsigned char* data, size_t len, const sockaddr_in& from);

    const std::deque<TrapEvent>& events() const { return events_; }
    // Events received since the start, including those no longer kept.
    long total_events() const { return counts_.events; }
    const ReceiverCounts& counts() const { return counts_; }
    // "N events, M malformed, ..." for a closing line.
    std::string counts_text() const;

  private:
    struct Budget {
        double tokens = 0;
        int64_t at_ms = 0;
    };
    bool spend(uint32_t sender);
    ReceiverLimits limits_;
    ReceiverClock clock_;
    int fd_ = -1;
    int port_ = 0;
    EventLog* log_ = nullptr;
    std::function<void(const TrapEvent&)> listener_;
    std::unordered_map<uint32_t, Budget> budgets_;
    Budget shared_; // senders beyond max_senders
    bool shared_init_ = false;
    std::deque<TrapEvent> events_;
    ReceiverCounts counts_;
    uint32_t last_overflow_ = 0;
};
