#include "bench_ident.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "bench_common.h"
#include "devices/mrx_list_file.h"
#include "snmp_access/morix_record.h"
#include "snmp_access/snmp_engine.h"
#include "support/test_dirs.h"
#include "ui/progress.h"

namespace {

double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A bound loopback UDP socket with a receive time-out; -1 on failure.
int bound_socket(sockaddr_in* addr) {
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0)
        return -1;
    *addr = sockaddr_in{};
    addr->sin_family = AF_INET;
    addr->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof *addr;
    timeval tv{2, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    if (bind(fd, reinterpret_cast<sockaddr*>(addr), len) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(addr), &len) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// Echo child: answers every datagram until none comes for 2 s.
[[noreturn]] void echo_loop(int fd) {
    char buf[512];
    for (;;) {
        sockaddr_in from{};
        socklen_t len = sizeof from;
        ssize_t n = recvfrom(fd, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &len);
        if (n < 0)
            _exit(0);
        sendto(fd, buf, n, 0, reinterpret_cast<sockaddr*>(&from), len);
    }
}

} // namespace

double udp_round_trip(int rounds) {
    sockaddr_in echo_addr{}, own{};
    int echo_fd = bound_socket(&echo_addr);
    int fd = bound_socket(&own);
    if (echo_fd < 0 || fd < 0)
        return -1;
    pid_t pid = fork();
    if (pid == 0) {
        close(fd);
        echo_loop(echo_fd);
    }
    close(echo_fd);
    if (pid < 0) {
        close(fd);
        return -1;
    }
    // A request-sized datagram (an identification Get is about 100 bytes).
    char buf[512] = {0};
    const size_t size = 100;
    int ok = 0;
    double start = 0;
    const int warm = 200;
    for (int i = 0; i < warm + rounds; ++i) {
        if (i == warm)
            start = now();
        if (sendto(fd, buf, size, 0, reinterpret_cast<sockaddr*>(&echo_addr), sizeof echo_addr) <
                0 ||
            recv(fd, buf, sizeof buf, 0) < 0)
            break;
        ok += i >= warm;
    }
    double t = now() - start;
    close(fd);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return ok == rounds ? t / rounds : -1;
}

std::string write_ident_list(const std::string& dir, int devices, std::string (*addr)(int)) {
    std::string path = dir + "/ident_" + std::to_string(devices) + ".lst";
    std::string text = version_header(DFK_MRX_LIST) + "#\n";
    for (int i = 0; i < devices; ++i)
        text += addr(i) + " | vantor | 2 | 1\n";
    write_file(path, text);
    return path;
}

// The load that callgrind counts in the identification profile.
extern "C" __attribute__((noinline)) int bench_ident_load(const char* path, int devices) {
    Result r = load_device_list({path, true, devices}, front_end_progress()).outcome.result;
    return r == Result::failed ? 0 : 1;
}

IdentFigures identify_list(const std::string& list_path, int devices) {
    IdentFigures f;
    f.devices = devices;
    long req0 = g_snmp_requests_sent;
    double t0 = now();
    bench_ident_load(list_path.c_str(), devices);
    f.wall = now() - t0;
    f.requests = g_snmp_requests_sent - req0;
    f.listed = mrx_lst_cnt;
    for (int i = 0; i < mrx_lst_cnt; ++i)
        f.reachable += host_info_list[i]->reachable;
    free_host_info_list(host_info_list);
    return f;
}

double chain_build_seconds(int n) {
    MorixRecord rec;
    double t0 = now();
    for (int i = 0; i < n; ++i)
        add_prm_node(&rec, 1, 0, 0, 0, "", "", 0);
    double t = now() - t0;
    bool ok = rec.prm_count == n;
    free_prm_list(&rec);
    return ok ? t : -1;
}
