// Show benchmark: every non-port writable, non-internal catalogue variable
// (the set Compare uses for its device-wide comparison) shown from 1, 8 and
// 63 simulated devices through the Show window, against the loopback round
// trip measured in the same run; and the cost of building parameter chains
// from 1 000 to 64 000 nodes, which must grow linearly.
//
//   bash scripts/in_netns.sh build/bench/bench_show [--short]
//
// Figures only; nothing is asserted. --short (the ctest run) uses 1 and 8
// devices and chains up to 16 000 nodes.
#include "bench_netns.h"
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/func_catalogue.h"
#include "catalogue/func_display.h"
#include "catalogue/mib_catalogue.h"
#include "frame/dispatch.h"
#include "frame/window_readers.h"
#include "ops/show.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"
#include "support/sim_process.h"
#include "support/test_dirs.h"
#include "ui/app_globals.h"
#include "ui/ui.h"
#include "ui_headless/ui_headless.h"

namespace {

constexpr int SKIP = BENCH_SKIP;

double seconds_since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

std::string address(int i) {
    return "127.0.34." + std::to_string(i + 1);
}

// Compare's device-wide set: not a port variable, not internal, writable.
std::vector<std::string> code2_names() {
    std::vector<std::string> names;
    for (int id = 0; id < MAX_MIB_VARS; ++id) {
        const MibVarEntry* e = mib_var(id);
        if (e && e->port_class == 0 && e->internal_code != MIC_INTERNAL &&
            check_mib_var_write(id, 0))
            names.push_back(e->name);
    }
    return names;
}

// Mean seconds of a one-variable Get on the first device.
double loopback_rtt(int count) {
    MorixRecord* r = host_info_list[0];
    int id = 0;
    get_check_mib_var("sysUpTime", &id);
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        free_prm_list(r);
        add_prm_node(r, id, 0, 0, 0, "", "", 0);
        mm_snmp(r, SNMP_OP_GET);
    }
    free_prm_list(r);
    return seconds_since(t0) / count;
}

bool show_run(int devices, const std::vector<std::string>& names, double rtt) {
    ui_list_deselect_all(W_MRX_LIST);
    for (int p = 1; p <= devices; ++p)
        ui_list_select_pos(W_MRX_LIST, p, false);
    // The median of five runs.
    std::vector<double> walls;
    long requests = 0;
    for (int run = 0; run < 5; ++run) {
        ui_set_text(W_SHOW_TEXT, "");
        long before = g_snmp_requests_sent;
        auto t0 = std::chrono::steady_clock::now();
        dispatch_main(W_SHOW_APPLY);
        walls.push_back(seconds_since(t0));
        requests = g_snmp_requests_sent - before;
    }
    std::sort(walls.begin(), walls.end());
    double wall = walls[2];
    size_t lines = 0;
    for (char c : ui_get_text(W_SHOW_TEXT))
        lines += c == '\n';
    std::printf("show %2d devices x %zu variables: %7.2f ms wall, %ld requests, "
                "%zu report lines, wall / (requests x rtt) = %.2f\n",
                devices, names.size(), wall * 1000.0, requests, lines,
                requests > 0 ? wall / (static_cast<double>(requests) * rtt) : 0.0);
    // A Show that sent nothing measured nothing: the set-up is broken.
    if (requests == 0)
        std::fprintf(stderr, "the Show sent no request\n");
    return requests > 0;
}

// Seconds to build a chain of n nodes; with walk, every append walks the
// chain from its head (as appends did before the record kept its tail).
double build_chain(int n, bool walk) {
    MorixRecord rec;
    int id = 0;
    get_check_mib_var("sysName", &id);
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i) {
        if (walk)
            rec.prm_tail_head = nullptr;
        build_prm(&rec, 0, 0, {}, PT_NONE, id, "");
    }
    double s = seconds_since(t0);
    free_prm_list(&rec);
    return s;
}

void chain_runs(int max_nodes) {
    for (int n = 1000; n <= max_nodes; n *= 2) {
        double s = build_chain(n, false);
        std::printf("chain of %6d nodes: %8.3f ms, %6.1f ns per node", n, s * 1000.0, s * 1e9 / n);
        if (n <= 16000)
            std::printf("   (walking from the head: %9.3f ms)", build_chain(n, true) * 1000.0);
        std::printf("\n");
    }
}

} // namespace

int main(int argc, char** argv) {
    bool short_run = argc > 1 && std::string(argv[1]) == "--short";
    if (!bench_in_netns("bench_show"))
        return SKIP;
    StagedInstall staged;
    if (read_mib_info("data/gui_mm_data") != 0 || read_func_info("data/gui_mm_data") != 0)
        return 1;
    mm_snmp_init();
    hl_reset();
    register_window_readers();
    ui_list_set_policy(W_MRX_LIST, LSP_EXTENDED);
    mm_snmp_def_to = 2;
    mm_snmp_def_rty = 1;
    mm_snmp_def_comm = "vantor";
    int devices = short_run ? 8 : 63;
    SimOptions o;
    for (int i = 0; i < devices; ++i)
        o.devices.push_back({sim_profile("modelj.prof"), address(i)});
    SimProcess sim(o);
    if (!sim.ready()) {
        std::fprintf(stderr, "%s\n", sim.error().c_str());
        return 1;
    }
    for (int i = 0; i < devices; ++i) {
        ui_set_text(W_MRX_NAME_TF, address(i));
        dispatch_main(31);
    }
    std::vector<std::string> names = code2_names();
    ui_list_set_policy(W_FUNC_LIST, LSP_EXTENDED);
    for (const std::string& n : names)
        ui_list_add_item(W_FUNC_LIST, n, 0);
    for (int p = 1; p <= static_cast<int>(names.size()); ++p)
        ui_list_select_pos(W_FUNC_LIST, p, false);
    param_sel_flag = 1;
    dispatch_main(13);
    double rtt = loopback_rtt(short_run ? 50 : 500);
    std::printf("loopback round trip (one-variable Get): %.1f us\n", rtt * 1e6);
    bool measured = true;
    for (int n : {1, 8, 63})
        if (n <= devices)
            measured = show_run(n, names, rtt) && measured;
    chain_runs(short_run ? 16000 : 64000);
    free_host_info_list(host_info_list);
    return measured ? 0 : 1;
}
