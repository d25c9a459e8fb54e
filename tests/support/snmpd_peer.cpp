#include "support/snmpd_peer.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

SnmpdPeer::SnmpdPeer(const std::string& address, const std::string& extra_conf)
    : address_(address), extra_(extra_conf) {}

SnmpdPeer::~SnmpdPeer() {
    stop();
}

std::string SnmpdPeer::log() const {
    return read_file(dir_.file("snmpd.log"));
}

bool SnmpdPeer::start(std::string* why) {
    const std::string conf = dir_.file("snmpd.conf");
    // sysLocation and sysContact stay unset so that they are writable.
    write_file(conf, std::string("rocommunity vantor 127.0.0.0/8\n"
                                 "rwcommunity private 127.0.0.0/8\n"
                                 "sysdescr ") +
                         PEER_SYS_DESCR + "\nsysname testpeer\n" + extra_ + "\n");
    const std::string log = dir_.file("snmpd.log"), pidfile = dir_.file("snmpd.pid");
    const std::string persist = dir_.file("persist");
    const std::string listen = "udp:" + address_ + ":161";
    pid_ = fork();
    if (pid_ < 0) {
        *why = "fork failed";
        return false;
    }
    if (pid_ == 0) {
        setenv("SNMP_PERSISTENT_DIR", persist.c_str(), 1);
        execl("/usr/sbin/snmpd", "snmpd", "-f", "-C", "-m", "", "-c", conf.c_str(), "-Lf",
              log.c_str(), "-p", pidfile.c_str(), listen.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    for (int i = 0; i < 100; ++i) {
        int st = 0;
        if (waitpid(pid_, &st, WNOHANG) == pid_) {
            pid_ = -1;
            *why = "snmpd ended: " + read_file(log);
            return false;
        }
        if (read_file(log).find("NET-SNMP version") != std::string::npos)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    *why = "snmpd did not become ready: " + read_file(log);
    stop();
    return false;
}

void SnmpdPeer::stop() {
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}
