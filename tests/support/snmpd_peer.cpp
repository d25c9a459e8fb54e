#include "support/snmpd_peer.h"

SnmpdPeer::SnmpdPeer(const std::string& address, const std::string& extra_conf)
    : address_(address), extra_(extra_conf) {}

SnmpdPeer::~SnmpdPeer() {
    stop();
}

bool SnmpdPeer::start(std::string* why) {
    const std::string conf = dir_.file("snmpd.conf");
    // sysLocation and sysContact stay unset so that they are writable.
    write_file(conf, std::string("rocommunity vantor 127.0.0.0/8\n"
                                 "rwcommunity private 127.0.0.0/8\n"
                                 "sysdescr ") +
                         PEER_SYS_DESCR + "\nsysname testpeer\n" + extra_ + "\n");
    // The log goes to standard error, where the start-up line shows that
    // the agent listens.
    ProcessLaunch s;
    s.argv = {"/usr/sbin/snmpd",
              "-f",
              "-C",
              "-m",
              "",
              "-c",
              conf,
              "-Le",
              "-p",
              dir_.file("snmpd.pid"),
              "udp:" + address_ + ":161"};
    s.env = {"SNMP_PERSISTENT_DIR=" + dir_.file("persist")};
    s.ready_text = "NET-SNMP version";
    s.ready_stream = READY_STDERR;
    s.ready_timeout_ms = 10000;
    if (proc_.start(s))
        return true;
    *why = "snmpd did not become ready: " + proc_.err();
    return false;
}

void SnmpdPeer::stop() {
    proc_.stop();
}
