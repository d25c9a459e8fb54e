// Debian's snmpd as a test peer on its own loopback address, with its own
// configuration and persistent folder; started and stopped by PID.
#pragma once

#include <sys/types.h>

#include <string>

#include "support/process.h"
#include "support/test_dirs.h"

class SnmpdPeer {
  public:
    // extra_conf is appended to the configuration (for example
    // "[snmp] sendMessageMaxSize 484").
    SnmpdPeer(const std::string& address, const std::string& extra_conf = "");
    ~SnmpdPeer();
    SnmpdPeer(const SnmpdPeer&) = delete;
    SnmpdPeer& operator=(const SnmpdPeer&) = delete;

    // Starts the agent and waits (at most about 10 s) until it listens.
    bool start(std::string* why);
    void stop();
    const std::string& address() const { return address_; }
    std::string log() const { return proc_.err(); }

  private:
    TempDir dir_;
    std::string address_;
    std::string extra_;
    Process proc_;
};

// The sysDescr the peer reports.
constexpr const char* PEER_SYS_DESCR = "Morix Manager test peer";
