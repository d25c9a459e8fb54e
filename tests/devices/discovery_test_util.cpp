#include "discovery_test_util.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>

#include "support/sim_process.h"

bool enter_private_netns(std::string* why) {
    if (unshare(CLONE_NEWNET) != 0) {
        *why = "unshare(CLONE_NEWNET) failed";
        return false;
    }
    ProgramResult r = run_program({"ip", "link", "set", "lo", "up"}, 5000);
    if (r.status != 0) {
        *why = "ip link set lo up: " + r.err;
        return false;
    }
    return true;
}

std::vector<uint8_t> dsc_reply_bytes(const std::string& dotted, size_t extra) {
    std::vector<uint8_t> r(22 + extra, 0);
    r[5] = 0x22;
    r[6] = 0x81;
    in_addr a{};
    inet_pton(AF_INET, dotted.c_str(), &a);
    const auto* b = reinterpret_cast<const uint8_t*>(&a.s_addr);
    for (int i = 0; i < 4; ++i)
        r[18 + i] = b[i];
    return r;
}

DscResponder::DscResponder(const std::string& address, std::vector<std::vector<uint8_t>> replies,
                           const std::string& netns)
    : address_(address), netns_(netns), replies_(std::move(replies)) {
    thread_ = std::thread([this] { run(); });
}

DscResponder::~DscResponder() {
    stop_ = true;
    thread_.join();
}

bool DscResponder::ready() {
    for (int i = 0; i < 200 && bound_ == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return bound_ == 1;
}

std::vector<uint8_t> DscResponder::last_request() const {
    std::lock_guard<std::mutex> lock(last_mutex_);
    return last_;
}

void DscResponder::run() {
    if (!netns_.empty()) {
        // Only this thread moves into the namespace.
        int nsfd = open(("/run/netns/" + netns_).c_str(), O_RDONLY | O_CLOEXEC);
        bool joined = nsfd >= 0 && setns(nsfd, CLONE_NEWNET) == 0;
        if (nsfd >= 0)
            close(nsfd);
        if (!joined) {
            bound_ = -1;
            return;
        }
    }
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in me{};
    me.sin_family = AF_INET;
    me.sin_port = htons(121);
    inet_pton(AF_INET, address_.c_str(), &me.sin_addr);
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&me), sizeof me) != 0) {
        if (fd >= 0)
            close(fd);
        bound_ = -1;
        return;
    }
    bound_ = 1;
    while (!stop_) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0)
            continue;
        uint8_t buf[512];
        sockaddr_in from{};
        socklen_t len = sizeof from;
        ssize_t n = recvfrom(fd, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &len);
        if (n <= 0)
            continue;
        {
            std::lock_guard<std::mutex> lock(last_mutex_);
            last_.assign(buf, buf + n);
        }
        ++requests_;
        for (const auto& r : replies_)
            sendto(fd, r.data(), r.size(), 0, reinterpret_cast<sockaddr*>(&from), len);
    }
    close(fd);
}

BridgedHosts::BridgedHosts(const std::string& prefix, int count) : prefix_(prefix) {
    tag_ = "mmd" + std::to_string(getpid());
    for (int k = 0; k < count; ++k)
        names_.push_back(tag_ + "h" + std::to_string(k));
    remove_stale();
    remove_all();
    const std::string br = tag_ + "br";
    ok_ = run({"ip", "link", "add", br, "type", "bridge"}) &&
          run({"ip", "addr", "add", bridge_addr() + "/24", "dev", br}) &&
          run({"ip", "link", "set", br, "up"});
    for (int k = 0; ok_ && k < count; ++k) {
        const std::string outer = tag_ + "o" + std::to_string(k), inner = "eth0";
        const std::string tmp_inner = tag_ + "i" + std::to_string(k);
        const std::vector<std::string> in_ns = {"ip", "netns", "exec", names_[k], "ip"};
        auto in = [&](std::vector<std::string> args) {
            std::vector<std::string> v = in_ns;
            v.insert(v.end(), args.begin(), args.end());
            return run(v);
        };
        ok_ = run({"ip", "netns", "add", names_[k]}) &&
              run({"ip", "link", "add", outer, "type", "veth", "peer", "name", tmp_inner}) &&
              run({"ip", "link", "set", outer, "master", br}) &&
              run({"ip", "link", "set", outer, "up"}) &&
              run({"ip", "link", "set", tmp_inner, "netns", names_[k]}) &&
              in({"link", "set", tmp_inner, "name", inner}) &&
              in({"addr", "add", host_addr(k) + "/24", "dev", inner}) &&
              in({"link", "set", inner, "up"}) && in({"link", "set", "lo", "up"});
    }
}

BridgedHosts::~BridgedHosts() {
    remove_all();
}

std::string BridgedHosts::host_addr(int k) const {
    return prefix_ + "." + std::to_string(k + 2);
}

bool BridgedHosts::run(const std::vector<std::string>& argv) {
    ProgramResult r = run_program(argv, 5000);
    if (r.status != 0 && error_.empty()) {
        std::string cmd;
        for (const auto& a : argv)
            cmd += a + " ";
        error_ = cmd + ": " + r.err;
    }
    return r.status == 0;
}

void BridgedHosts::remove_stale() {
    // Namespaces left by a test process that died before its destructor ran
    // (their names carry the process id).
    DIR* d = opendir("/run/netns");
    if (!d)
        return;
    std::vector<std::string> stale;
    while (dirent* e = readdir(d)) {
        int pid = 0, k = 0;
        char tail = 0;
        if (std::sscanf(e->d_name, "mmd%dh%d%c", &pid, &k, &tail) == 2 && pid > 0 &&
            kill(pid, 0) != 0 && errno == ESRCH)
            stale.push_back(e->d_name);
    }
    closedir(d);
    for (const std::string& n : stale)
        run_program({"ip", "netns", "del", n}, 5000);
}

void BridgedHosts::remove_all() {
    // Deleting a namespace removes its end of the veth pair, and with it
    // the outer end; the bridge goes by name.
    for (const std::string& n : names_)
        run_program({"ip", "netns", "del", n}, 5000);
    run_program({"ip", "link", "del", tag_ + "br"}, 5000);
}
