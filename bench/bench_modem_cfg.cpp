// Reading the modem section of a configuration file: 400 000 definitions
// (every tenth name repeated, so the duplicate check is exercised), parsed
// by prs_cfg_fil from a local file, then the modem section written back.
// Prints the seconds of each step and the peak memory; asserts no time.
//
//   bench_modem_cfg [--short]     (--short: 40 000 definitions)
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "files/modem_cfg.h"
#include "support/test_dirs.h"

namespace {

using steady = std::chrono::steady_clock;

double seconds_since(steady::time_point t0) {
    return std::chrono::duration<double>(steady::now() - t0).count();
}

// Processor seconds of this process (user and system): the figure that a
// busy shared machine does not inflate.
double cpu_seconds() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
           static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

std::string config_text(long defs) {
    std::string s = "%gateway\nnet 127.0.0.0 gateway 127.0.0.1\n\n%modem\n";
    s.reserve(static_cast<size_t>(defs) * 90);
    for (long i = 0; i < defs; ++i) {
        long name = i % 10 == 9 ? i - 9 : i; // a duplicate of an earlier name
        s += "# modem " + std::to_string(i) + "\ntype_of_modem\t\tm" + std::to_string(name) +
             "\nconnect_status\t\t1 5 10\ndialin_setup_cmd\tATS0=1\nend\n";
    }
    return s + "\n%service\ntelnet\t23\n";
}

} // namespace

int main(int argc, char** argv) {
    bool short_run = argc > 1 && strcmp(argv[1], "--short") == 0;
    long defs = short_run ? 40000 : 400000;
    TempDir dir;
    std::string cfg = dir.file("morix.cfg");
    write_file(cfg, config_text(defs));

    ModemList list;
    CfgParse parse;
    steady::time_point t0 = steady::now();
    double c0 = cpu_seconds();
    int rc = prs_cfg_fil(cfg, &list, &parse);
    double read_s = seconds_since(t0), read_cpu = cpu_seconds() - c0;
    t0 = steady::now();
    int wrote = write_cfg_fil_list(cfg, dir.file("tmp.cfg"), list);
    double write_s = seconds_since(t0);
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    printf("modem section: %ld definitions, %zu stored, %zu duplicate notes\n", defs, list.size(),
           parse.notes.size());
    printf("  read  %.3f s (processor %.3f s, result %d)\n  write %.3f s (result %d)\n"
           "  peak memory %ld MiB\n",
           read_s, read_cpu, rc, write_s, wrote, ru.ru_maxrss / 1024);
    return rc == 0 && wrote == 1 ? 0 : 1;
}
