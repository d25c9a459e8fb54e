// Sockets and the single-threaded event loop of the simulator: every
// device's SNMP and port-121 sockets, the shared broadcast socket, the load
// host, and the queue of replies that wait for their delay.
#pragma once

#include <netinet/in.h>

#include <csignal>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "sim_device.h"
#include "sim_files.h"

// A UDP socket closed by its destructor.
class UdpSocket {
  public:
    UdpSocket() = default;
    explicit UdpSocket(int fd) : fd_(fd) {}
    ~UdpSocket();
    UdpSocket(UdpSocket&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
    UdpSocket& operator=(UdpSocket&& o) noexcept;
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;
    int fd() const { return fd_; }

  private:
    int fd_ = -1;
};

// Opens a non-blocking UDP socket bound to address:port (port 0: any).
// Returns 0, or -1 with a message.
int open_udp(const std::string& address, int port, bool reuse, UdpSocket* out, std::string* error);

enum ListenKind { LK_SNMP, LK_PORT121, LK_BROADCAST, LK_ALT };

struct Listener {
    int fd = -1;
    ListenKind kind = LK_SNMP;
    int device = -1;        // index in devices, -1 for none
    bool load_host = false; // the load host answers file calls here
};

struct PendingSend {
    std::chrono::steady_clock::time_point due;
    int fd = -1;
    sockaddr_in to{};
    std::string data;
};

struct DeviceSockets {
    int snmp_fd = -1;
    int port121_fd = -1;
    int alt_fd = -1; // replies leave here with the other_port fault
};

struct SimWorld {
    std::vector<std::unique_ptr<SimDevice>> devices;
    std::vector<DeviceSockets> device_sockets;
    std::unique_ptr<LoadHost> load_host;
    std::string load_host_addr;
    int load_host_121_fd = -1;
    int load_host_alt_fd = -1;
    std::vector<UdpSocket> sockets;
    std::vector<Listener> listeners;
    std::vector<PendingSend> pending;
    ControlLog log;
    long datagrams = 0;
};

// Binds every socket of the world's devices and load host. 0, or -1 with a
// message.
int bind_world(SimWorld* world, std::string* error);

// Runs until *stop becomes non-zero (set by a signal handler).
void run_world(SimWorld* world, volatile sig_atomic_t* stop);
