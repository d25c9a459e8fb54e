// Remote file copy benchmark: download and upload of a 1 MiB file through
// nfcopy from mrxsim's load host, beside tftp-hpa's client and tftpd-hpa
// moving the same file in 512-byte blocks in the same namespace, and the
// floor: blocks x the measured loopback round trip. Prints figures and
// ratios; asserts no time. Needs root inside the private network namespace
// (tftpd-hpa also needs a second interface there: a veth pair).
//
//   bench_files [--short]     (exit 77: skipped, not in the namespace)
#include <arpa/inet.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "files/nf.h"
#include "support/sim_process.h"
#include "support/test_dirs.h"

namespace {

using steady = std::chrono::steady_clock;

constexpr size_t FILE_SIZE = 1 << 20;
constexpr const char* LOAD_HOST = "127.0.33.1";
constexpr const char* TFTP_ADDR = "127.0.0.1";
constexpr const char* TFTP_PORT = "6969";

double seconds_since(steady::time_point t0) {
    return std::chrono::duration<double>(steady::now() - t0).count();
}

// Mean round trip of a block-sized datagram to an echoing thread.
double loopback_rtt(int rounds) {
    int srv = socket(AF_INET, SOCK_DGRAM, 0), cli = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(srv, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    getsockname(srv, reinterpret_cast<sockaddr*>(&a), &len);
    std::thread echo([srv, rounds] {
        char buf[1024];
        for (int i = 0; i < rounds; i++) {
            pollfd p{srv, POLLIN, 0};
            if (poll(&p, 1, 2000) <= 0)
                return;
            sockaddr_in from{};
            socklen_t fl = sizeof from;
            ssize_t n = recvfrom(srv, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &fl);
            sendto(srv, buf, n > 0 ? static_cast<size_t>(n) : 0, 0,
                   reinterpret_cast<sockaddr*>(&from), fl);
        }
    });
    char block[BFS_BLOCK + 12] = {};
    auto t0 = steady::now();
    int done = 0;
    for (; done < rounds; done++) {
        sendto(cli, block, sizeof block, 0, reinterpret_cast<sockaddr*>(&a), sizeof a);
        pollfd p{cli, POLLIN, 0};
        if (poll(&p, 1, 2000) <= 0 || recv(cli, block, sizeof block, 0) < 0)
            break;
    }
    double rtt = seconds_since(t0) / std::max(done, 1);
    echo.join();
    close(srv);
    close(cli);
    return rtt;
}

bool run_quiet(const std::vector<std::string>& argv, const std::string& cwd = "") {
    std::vector<std::string> cmd = argv;
    if (!cwd.empty())
        cmd = {"/bin/sh", "-c", "cd \"$0\" && exec \"$@\"", cwd};
    if (!cwd.empty())
        cmd.insert(cmd.end(), argv.begin(), argv.end());
    ProgramResult r = run_program(cmd, 30000);
    if (r.status != 0)
        fprintf(stderr, "bench_files: %s failed: %s\n", argv[0].c_str(), r.err.c_str());
    return r.status == 0;
}

// tftpd-hpa on 127.0.0.1:6969 serving dir; its PID, or -1.
pid_t start_tftpd(const std::string& dir, const std::string& pid_file) {
    // In a namespace with only loopback, tftpd-hpa's address lookup finds
    // nothing; a veth pair gives it a configured interface.
    run_program({"ip", "link", "add", "v0", "type", "veth", "peer", "name", "v1"}, 5000);
    run_program({"ip", "addr", "add", "10.99.0.1/24", "dev", "v0"}, 5000);
    run_program({"ip", "link", "set", "v0", "up"}, 5000);
    run_program({"ip", "link", "set", "v1", "up"}, 5000);
    if (!run_quiet({"in.tftpd", "-l", "-s", dir, "-c", "-p", "-u", "root", "-a",
                    std::string(TFTP_ADDR) + ":" + TFTP_PORT, "-P", pid_file}))
        return -1;
    for (int i = 0; i < 100; i++) {
        pid_t pid = static_cast<pid_t>(atol(read_file(pid_file).c_str()));
        if (pid > 0)
            return pid;
        usleep(20 * 1000);
    }
    return -1;
}

void stop_tftpd(pid_t pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 100 && kill(pid, 0) == 0; i++)
        usleep(20 * 1000);
    run_program({"ip", "link", "del", "v0"}, 5000);
}

struct Best {
    double down = 1e9, up = 1e9;
};

void print_row(const char* what, const Best& b, double floor) {
    double mb = FILE_SIZE / 1e6;
    printf("%-22s down %7.2f MB/s (%6.1f ms, %.2f x floor)   up %7.2f MB/s (%6.1f ms, %.2f x "
           "floor)\n",
           what, mb / b.down, b.down * 1e3, b.down / floor, mb / b.up, b.up * 1e3, b.up / floor);
}

} // namespace

int main(int argc, char** argv) {
    bool short_run = argc > 1 && strcmp(argv[1], "--short") == 0;
    const char* in_ns = getenv("MM_IN_NETNS");
    if (!in_ns || strcmp(in_ns, "1") != 0 || geteuid() != 0) {
        fprintf(stderr, "bench_files: run inside scripts/in_netns.sh as root\n");
        return 77;
    }
    int reps = short_run ? 1 : 7;
    TempDir root, local, tftp_dir;
    std::string content(FILE_SIZE, '\0');
    for (size_t i = 0; i < FILE_SIZE; i++)
        content[i] = static_cast<char>((i * 131 + i / 4099) & 0xff);
    write_file(root.file("big"), content);
    write_file(tftp_dir.file("big"), content);
    write_file(local.file("big"), content);

    SimOptions o;
    o.load_host = LOAD_HOST;
    o.root = root.path();
    SimProcess sim(o);
    if (!sim.ready()) {
        fprintf(stderr, "bench_files: mrxsim did not start: %s\n", sim.error().c_str());
        return 1;
    }
    pid_t tftpd = start_tftpd(tftp_dir.path(), local.file("tftpd.pid"));
    double rtt = 1;
    for (int i = 0; i < (short_run ? 1 : 5); i++) // the best of several batches, as for copies
        rtt = std::min(rtt, loopback_rtt(2000));
    double floor = (FILE_SIZE / BFS_BLOCK) * rtt;
    Best ours, theirs;
    bool ok = true;
    for (int r = 0; r < reps; r++) {
        auto t0 = steady::now();
        ok &= nfcopy(LOAD_HOST, "/bfs/big", "", local.file("down"), 3) == (long)FILE_SIZE;
        ours.down = std::min(ours.down, seconds_since(t0));
        t0 = steady::now();
        ok &= nfcopy("", local.file("big"), LOAD_HOST, "/bfs/up", 3) == (long)FILE_SIZE;
        ours.up = std::min(ours.up, seconds_since(t0));
        if (tftpd < 0)
            continue;
        t0 = steady::now();
        ok &= run_quiet({"tftp", "-m", "binary", TFTP_ADDR, TFTP_PORT, "-c", "get", "big", "got"},
                        local.path());
        theirs.down = std::min(theirs.down, seconds_since(t0));
        t0 = steady::now();
        ok &= run_quiet({"tftp", "-m", "binary", TFTP_ADDR, TFTP_PORT, "-c", "put", "big", "up"},
                        local.path());
        theirs.up = std::min(theirs.up, seconds_since(t0));
    }
    stop_tftpd(tftpd);
    ok &= read_file(local.file("down")) == content && read_file(root.file("up")) == content;
    printf("1 MiB file, 512-byte blocks (%zu round trips), best of %d runs\n",
           FILE_SIZE / BFS_BLOCK, reps);
    printf("loopback round trip %.1f us; floor %.1f ms (%.2f MB/s)\n", rtt * 1e6, floor * 1e3,
           FILE_SIZE / 1e6 / floor);
    print_row("nfcopy / mrxsim", ours, floor);
    if (tftpd < 0) {
        printf("tftpd-hpa did not start: no comparison\n");
        return ok ? 0 : 1;
    }
    ok &= read_file(local.file("got")) == content && read_file(tftp_dir.file("up")) == content;
    print_row("tftp-hpa / tftpd-hpa", theirs, floor);
    printf("throughput nfcopy / tftp-hpa: down %.2f, up %.2f (process start included for "
           "tftp)\n",
           theirs.down / ours.down, theirs.up / ours.up);
    printf("copies intact: %s\n", ok ? "yes" : "NO");
    return ok ? 0 : 1;
}
