// Request engine benchmark against simulated devices: Get of 1 000 and
// 10 000 catalogue instances from one device and of 100 variables from each
// of 63 devices through mm_snmp, and the same identifiers fetched by
// Net-SNMP's snmpget in the same requests of 32. Prints wall time, requests,
// microseconds per variable, ratios, and instructions per variable counted
// by callgrind. Then identification of 1, 8 and 63 devices loaded from a
// list file against the loopback round trip of a plain UDP ping-pong, and
// chain building of 1 000 to 64 000 nodes. Asserts no time.
//
//   bench_snmp_engine            full run
//   bench_snmp_engine --short    small sizes, no callgrind (the ctest run)
//   bench_snmp_engine --engine-only ADDR N   one engine fetch (for callgrind)
//   bench_snmp_engine --engine-many DEVICES PER   fetch from many devices
//   bench_snmp_engine --ident-only LIST N    one list load (for callgrind)
#include "bench_netns.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "bench_common.h"
#include "bench_ident.h"
#include "catalogue/mib_catalogue.h"
#include "snmp_access/snmp_engine.h"
#include "support/sim_process.h"
#include "support/test_dirs.h"
#include "ui/app_globals.h"

namespace {

constexpr const char* ONE_DEV = "127.0.54.1";
constexpr int SKIP = BENCH_SKIP;

std::string many_addr(int i) {
    return "127.0.55." + std::to_string(i + 1);
}

struct Row {
    std::string what;
    int vars = 0;
    long eng_req = 0;
    int get_req = 0;
    Clock eng, get;
    int failed_nodes = 0, failed_get = 0;
};

void print_header() {
    std::printf("%-28s %7s | %8s %6s %9s %9s | %8s %6s %9s %9s | %6s %6s\n", "case", "vars",
                "eng s", "req", "us/var", "cpu us/v", "sget s", "req", "us/var", "cpu us/v",
                "wall x", "cpu x");
}

void print_row(const Row& r) {
    double v = r.vars;
    double e_us = r.eng.wall * 1e6 / v, g_us = r.get.wall * 1e6 / v;
    double e_cpu = r.eng.cpu_self * 1e6 / v, g_cpu = r.get.cpu_children * 1e6 / v;
    std::printf("%-28s %7d | %8.3f %6ld %9.1f %9.1f | %8.3f %6d %9.1f %9.1f | %6.2f %6.2f\n",
                r.what.c_str(), r.vars, r.eng.wall, r.eng_req, e_us, e_cpu, r.get.wall, r.get_req,
                g_us, g_cpu, g_us > 0 ? e_us / g_us : 0, g_cpu > 0 ? e_cpu / g_cpu : 0);
    if (r.failed_nodes || r.failed_get)
        std::printf("  (failed: %d engine nodes, %d snmpget processes)\n", r.failed_nodes,
                    r.failed_get);
}

int count_failed(const MorixRecord* rec) {
    int f = rec->status != 0 ? rec->prm_count : 0;
    for (const ParamNode* n = rec->prm_list; n && !f; n = n->next)
        f += n->status != 0;
    return f;
}

Row one_device(const std::vector<BenchInstance>& all, int n) {
    Row r;
    r.what = "1 device, " + std::to_string(n) + " instances";
    r.vars = n;
    std::unique_ptr<MorixRecord, void (*)(MorixRecord*)> rec(bench_record(ONE_DEV), free_host_node);
    add_instances(rec.get(), all, n);
    long req0 = g_snmp_requests_sent;
    Clock t0 = Clock::now();
    mm_snmp(rec.get(), SNMP_OP_GET);
    r.eng = Clock::now() - t0;
    r.eng_req = g_snmp_requests_sent - req0;
    r.failed_nodes = count_failed(rec.get());
    t0 = Clock::now();
    r.failed_get = snmpget_fetch(ONE_DEV, all, n, &r.get_req);
    r.get = Clock::now() - t0;
    return r;
}

Row many_devices(const std::vector<BenchInstance>& all, int devices, int per_device) {
    Row r;
    r.what = std::to_string(devices) + " devices x " + std::to_string(per_device);
    r.vars = devices * per_device;
    std::vector<MorixRecord*> recs;
    for (int i = 0; i < devices; ++i) {
        recs.push_back(bench_record(many_addr(i)));
        add_instances(recs.back(), all, per_device);
    }
    long req0 = g_snmp_requests_sent;
    Clock t0 = Clock::now();
    for (MorixRecord* rec : recs)
        mm_snmp(rec, SNMP_OP_GET);
    r.eng = Clock::now() - t0;
    r.eng_req = g_snmp_requests_sent - req0;
    for (MorixRecord* rec : recs) {
        r.failed_nodes += count_failed(rec);
        free_host_node(rec);
    }
    t0 = Clock::now();
    for (int i = 0; i < devices; ++i)
        r.failed_get += snmpget_fetch(many_addr(i), all, per_device, &r.get_req);
    r.get = Clock::now() - t0;
    return r;
}

// Instructions per variable of the engine (inside mm_snmp only) for the
// three engine cases, against a whole snmpget process for one request of
// 32, and snmpget's cost of the 31 extra variables of a 32-variable request
// over a 1-variable one.
void instruction_counts(const char* self, const std::vector<BenchInstance>& all) {
    struct Case {
        const char* what;
        std::vector<std::string> args;
        int vars;
    };
    const Case cases[] = {
        {"1 device, 1000 instances", {"--engine-only", ONE_DEV, "1000"}, 1000},
        {"1 device, 10000 instances", {"--engine-only", ONE_DEV, "10000"}, 10000},
        {"63 devices x 100", {"--engine-many", "63", "100"}, 6300},
    };
    std::vector<std::string> g32 = {"snmpget", "-v1", "-c", "vantor", "-m", "", "-On", ONE_DEV};
    std::vector<std::string> g1 = g32;
    for (int i = 0; i < 32; ++i)
        g32.push_back(all[i % all.size()].oid);
    g1.push_back(all[0].oid);
    long long s32 = callgrind_instructions(g32, ""), s1 = callgrind_instructions(g1, "");
    if (s32 < 0 || s1 < 0) {
        std::printf("\ninstructions: valgrind not usable here\n");
        return;
    }
    double whole = double(s32) / 32, marginal = double(s32 - s1) / 31;
    std::printf("\ninstructions per variable (callgrind):\n");
    for (const Case& c : cases) {
        std::vector<std::string> argv = {self};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        long long eng = callgrind_instructions(argv, "bench_engine_fetch");
        double e = double(eng) / c.vars;
        std::printf("  engine, %-26s : %10.0f   (engine / snmpget %.3f, / marginal %.3f)\n", c.what,
                    e, e / whole, e / marginal);
    }
    std::printf("  snmpget, one process per 32          : %10.0f\n", whole);
    std::printf("  snmpget, 32-var minus 1-var request  : %10.0f\n", marginal);
}

void ident_row(const char* list, int devices, double rtt) {
    IdentFigures f = identify_list(list, devices);
    double floor = f.requests * rtt;
    std::printf("%8d | %6d %9ld %9.2f %9.1f %9.2f\n", f.devices, f.reachable, f.requests,
                f.wall * 1e3, f.requests ? f.wall * 1e6 / f.requests : 0.0,
                floor > 0 ? f.wall / floor : 0.0);
}

// Identification of 1, 8 and 63 devices from a list file, then instructions
// per identified device of the 63-device load (callgrind, inside the load
// only).
void identification(const char* self, const std::string& dir, int devices, bool quick) {
    double rtt = udp_round_trip(quick ? 500 : 5000);
    std::printf("\nidentification from a list file (loopback UDP round trip %.1f us)\n", rtt * 1e6);
    std::printf("%8s | %6s %9s %9s %9s %9s\n", "devices", "ident", "requests", "wall ms", "us/req",
                "x floor");
    for (int n : {1, 8, devices})
        if (n <= devices)
            ident_row(write_ident_list(dir, n, many_addr).c_str(), n, rtt);
    std::printf("(x floor: wall / (requests x round trip))\n");
    if (quick)
        return;
    std::string list = write_ident_list(dir, devices, many_addr);
    long long ins = callgrind_instructions({self, "--ident-only", list, std::to_string(devices)},
                                           "bench_ident_load");
    if (ins >= 0)
        std::printf("instructions per identified device (callgrind): %.0f\n",
                    double(ins) / devices);
}

void chain_building(bool quick) {
    std::printf("\nchain building\n%8s | %10s %9s\n", "nodes", "ms", "ns/node");
    for (int n = 1000; n <= (quick ? 4000 : 64000); n *= 2) {
        double t = chain_build_seconds(n);
        std::printf("%8d | %10.3f %9.1f\n", n, t * 1e3, t * 1e9 / n);
    }
}

} // namespace

// The fetch that callgrind counts (the probe before it is not counted).
extern "C" __attribute__((noinline)) void bench_engine_fetch(MorixRecord* rec) {
    mm_snmp(rec, SNMP_OP_GET);
}

namespace {

int engine_only(const char* addr, int n) {
    std::unique_ptr<MorixRecord, void (*)(MorixRecord*)> rec(bench_record(addr), free_host_node);
    std::vector<BenchInstance> all = answered_instances(rec.get());
    add_instances(rec.get(), all, n);
    bench_engine_fetch(rec.get());
    return count_failed(rec.get()) == 0 ? 0 : 1;
}

int engine_many(int devices, int per_device) {
    std::unique_ptr<MorixRecord, void (*)(MorixRecord*)> probe(bench_record(many_addr(0)),
                                                               free_host_node);
    std::vector<BenchInstance> all = answered_instances(probe.get());
    int failed = 0;
    for (int i = 0; i < devices; ++i) {
        std::unique_ptr<MorixRecord, void (*)(MorixRecord*)> rec(bench_record(many_addr(i)),
                                                                 free_host_node);
        add_instances(rec.get(), all, per_device);
        bench_engine_fetch(rec.get());
        failed += count_failed(rec.get());
    }
    return failed == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (!bench_in_netns("bench_snmp_engine"))
        return SKIP;
    mm_dir = source_install_dir();
    if (read_mib_info("data/gui_mm_data") != 0) {
        std::fprintf(stderr, "catalogue not readable under %s\n", mm_dir.c_str());
        return 1;
    }
    TempDir persist;
    g_persist_dir = persist.path();
    // The library's one-time set-up is not part of what is counted.
    mm_snmp_init();
    if (argc == 4 && std::strcmp(argv[1], "--engine-only") == 0)
        return engine_only(argv[2], std::atoi(argv[3]));
    if (argc == 4 && std::strcmp(argv[1], "--engine-many") == 0)
        return engine_many(std::atoi(argv[2]), std::atoi(argv[3]));
    if (argc == 4 && std::strcmp(argv[1], "--ident-only") == 0)
        return identify_list(argv[2], std::atoi(argv[3])).reachable == std::atoi(argv[3]) ? 0 : 1;
    bool quick = argc > 1 && std::strcmp(argv[1], "--short") == 0;

    SimOptions one;
    one.devices.push_back({sim_profile("modelj.prof"), ONE_DEV});
    SimProcess sim_one(one);
    const int devices = quick ? 4 : 63;
    SimOptions many;
    for (int i = 0; i < devices; ++i)
        many.devices.push_back({sim_profile("modelj.prof"), many_addr(i)});
    SimProcess sim_many(many);
    if (!sim_one.ready() || !sim_many.ready()) {
        std::fprintf(stderr, "mrxsim not ready: %s%s\n", sim_one.error().c_str(),
                     sim_many.error().c_str());
        return 1;
    }
    std::unique_ptr<MorixRecord, void (*)(MorixRecord*)> probe(bench_record(ONE_DEV),
                                                               free_host_node);
    std::vector<BenchInstance> all = answered_instances(probe.get());
    std::printf("request engine benchmark: %zu distinct catalogue instances answered by a "
                "simulated ModelJ\n\n",
                all.size());
    if (all.empty())
        return 1;
    print_header();
    print_row(one_device(all, quick ? 200 : 1000));
    if (!quick)
        print_row(one_device(all, 10000));
    print_row(many_devices(all, devices, 100));
    std::printf("\n(us/var: wall microseconds per variable; cpu us/v: CPU of the engine "
                "process,\n resp. of the snmpget processes; x: engine / snmpget)\n");
    if (!quick)
        instruction_counts(argv[0], all);
    identification(argv[0], persist.path(), devices, quick);
    chain_building(quick);
    return 0;
}
