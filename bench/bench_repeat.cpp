// Repeated runs: whole mm_cli runs of a Show of sysName from 63 simulated
// devices, first (identification made and remembered) and repeated
// (identification checked by one request), beside `xargs -P 63 snmpget` of
// the same variable; with every reply 50 ms late and without delay; and
// the requests each device took in each run (the simulator's request log).
//
//   bash scripts/in_netns.sh build/bench/bench_repeat [--short]
//
// Figures only; nothing is asserted. --short (the ctest run) uses 8
// devices without delay.
#include "bench_netns.h"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "devices/mrx_list_file.h"
#include "support/sim_process.h"
#include "support/test_dirs.h"

namespace {

constexpr int SKIP = BENCH_SKIP;

std::string address(int i) {
    return "127.0.38." + std::to_string(i + 1);
}

long log_lines(const std::string& path) {
    std::ifstream in(path);
    long n = 0;
    for (std::string line; std::getline(in, line);)
        ++n;
    return n;
}

struct Run {
    double wall = 0;
    long requests = 0;
    ProgramResult result;
};

// Runs argv (mm_cli when cli, else a shell line) and counts what the
// devices took meanwhile.
Run timed(const std::vector<std::string>& argv, bool cli, const std::string& install,
          const std::string& log, const std::string& persist) {
    Run r;
    long before = log_lines(log);
    auto t0 = std::chrono::steady_clock::now();
    r.result = cli ? run_cli(argv, install, {}, 120000)
                   : run_program(argv, 120000, {"MIBS=", "SNMP_PERSISTENT_DIR=" + persist});
    r.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    r.requests = log_lines(log) - before;
    return r;
}

bool scenario(int devices, int delay_ms, const std::string& dir) {
    std::string log = dir + "/requests." + std::to_string(delay_ms) + ".log";
    SimOptions o;
    o.request_log = log;
    std::string addrs, list = version_header(DFK_MRX_LIST) + "#\n";
    for (int i = 0; i < devices; ++i) {
        o.devices.push_back({sim_profile("modelj.prof"), address(i)});
        o.faults.push_back(address(i) + ":delay=" + std::to_string(delay_ms));
        list += address(i) + " | vantor | 2 | 1\n";
        addrs += address(i) + "\n";
    }
    SimProcess sim(o);
    if (!sim.ready()) {
        std::fprintf(stderr, "%s\n", sim.error().c_str());
        return false;
    }
    // A private installation tree: its remembered identifications start empty.
    std::string install = dir + "/install." + std::to_string(delay_ms);
    std::filesystem::copy(staged_install_dir(), install, std::filesystem::copy_options::recursive);
    write_file(dir + "/fleet.lst", list);
    write_file(dir + "/addrs", addrs);
    std::vector<std::string> show = {"-l", dir + "/fleet.lst", "show", "-v", "sysName"};
    Run first = timed(show, true, install, log, dir);
    Run again = timed(show, true, install, log, dir);
    std::string line = "xargs -P " + std::to_string(devices) +
                       " -I{} snmpget -v1 -c vantor -t 2 -r 1 -m '' -Oqv {} "
                       "1.3.6.1.2.1.1.5.0 < " +
                       dir + "/addrs > /dev/null";
    Run get = timed({"sh", "-c", line}, false, install, log, dir);
    if (first.result.status != 0 || again.result.status != 0 || get.result.status != 0) {
        std::fprintf(stderr, "a run failed: %s%s\n", first.result.err.c_str(),
                     again.result.err.c_str());
        return false;
    }
    double n = devices;
    std::printf("delay %3d ms, %2d devices: mm_cli show first run %6.3f s (%4.1f req/device), "
                "repeated %6.3f s (%4.1f req/device), same report %s; xargs -P %d snmpget "
                "%6.3f s (%3.1f req/device); repeated / snmpget %.2f\n",
                delay_ms, devices, first.wall, first.requests / n, again.wall, again.requests / n,
                first.result.out == again.result.out ? "yes" : "NO", devices, get.wall,
                get.requests / n, get.wall > 0 ? again.wall / get.wall : 0.0);
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    bool short_run = argc > 1 && std::string(argv[1]) == "--short";
    if (!bench_in_netns("bench_repeat"))
        return SKIP;
    TempDir tmp;
    if (short_run)
        return scenario(8, 0, tmp.path()) ? 0 : 1;
    return scenario(63, 50, tmp.path()) && scenario(63, 0, tmp.path()) ? 0 : 1;
}
