// Many-device benchmark: a list load of 1, 8 and 63 simulated devices and a
// Show of one variable from all of them, with every reply 0, 20 or 100 ms
// late and with 30 % of the datagrams lost (time-out 1 s, 2 retries); and
// the requests that the remembered request size saves on a device that
// accepts 5 variables per request.
//
//   bash scripts/in_netns.sh build/bench/bench_fleet [--short]
//
// Figures only; nothing is asserted. --short (the ctest run) uses 1 and 8
// devices without delay and with 20 ms.
#include "bench_netns.h"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "catalogue/func_catalogue.h"
#include "catalogue/func_display.h"
#include "catalogue/mib_catalogue.h"
#include "devices/mrx_list_file.h"
#include "frame/device_list_window.h"
#include "frame/dispatch.h"
#include "frame/window_readers.h"
#include "ops/show.h"
#include "snmp_access/snmp_engine.h"
#include "support/sim_process.h"
#include "support/test_dirs.h"
#include "ui/app_globals.h"
#include "ui/ui.h"
#include "ui_headless/ui_headless.h"

namespace {

constexpr int SKIP = BENCH_SKIP;
constexpr int FLEET = 63;

double seconds_since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

std::string address(int i) {
    return "127.0.36." + std::to_string(i + 1);
}

// One network condition: the fault words of every device.
struct Scenario {
    const char* name;
    std::string faults; // appended to "ADDR:"
    bool seeded;        // a seed of its own per device
};

struct Figures {
    double load_wall = 0, show_wall = 0;
    long load_requests = 0, show_requests = 0;
    int listed = 0, reachable = 0;
};

std::string write_list(const std::string& dir, int devices) {
    std::string path = dir + "/fleet_" + std::to_string(devices) + ".lst";
    std::string text = version_header(DFK_MRX_LIST) + "#\n";
    for (int i = 0; i < devices; ++i)
        text += address(i) + " | vantor | 1 | 2\n";
    write_file(path, text);
    return path;
}

// Shows sysName from every listed device through the Show window.
void show_all() {
    ui_list_set_policy(W_MRX_LIST, LSP_EXTENDED);
    ui_list_deselect_all(W_MRX_LIST);
    for (int p = 1; p <= mrx_lst_cnt; ++p)
        ui_list_select_pos(W_MRX_LIST, p, false);
    ui_set_text(W_SHOW_TEXT, "");
    dispatch_main(W_SHOW_APPLY);
}

Figures run(const std::string& list, int devices) {
    Figures f;
    long before = g_snmp_requests_sent;
    auto t0 = std::chrono::steady_clock::now();
    load_into_device_list({list, true, devices}, W_MAIN_WINDOW);
    f.load_wall = seconds_since(t0);
    f.load_requests = g_snmp_requests_sent - before;
    f.listed = mrx_lst_cnt;
    for (int i = 0; i < mrx_lst_cnt; ++i)
        f.reachable += host_info_list[i]->reachable;
    before = g_snmp_requests_sent;
    t0 = std::chrono::steady_clock::now();
    show_all();
    f.show_wall = seconds_since(t0);
    f.show_requests = g_snmp_requests_sent - before;
    free_host_info_list(host_info_list);
    ui_list_delete_all(W_MRX_LIST);
    return f;
}

// Mean seconds of a one-variable Get from the first device.
double get_round_trip(int count) {
    MorixRecord rec;
    rec.name = address(0);
    rec.community = "vantor";
    rec.timeout = 1000000;
    rec.retries = 2;
    int id = 0;
    get_check_mib_var("sysUpTime", &id);
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        add_prm_node(&rec, id, 0, 0, 0, "", "", 0);
        mm_snmp(&rec, SNMP_OP_GET);
        free_prm_list(&rec);
    }
    return seconds_since(t0) / count;
}

bool scenario_runs(const Scenario& s, const std::vector<int>& counts, const std::string& dir) {
    SimOptions o;
    for (int i = 0; i < counts.back(); ++i) {
        o.devices.push_back({sim_profile("modelj.prof"), address(i)});
        std::string words = s.faults;
        if (s.seeded)
            words += ",seed=" + std::to_string(i + 1);
        o.faults.push_back(address(i) + ":" + words);
    }
    SimProcess sim(o);
    if (!sim.ready()) {
        std::fprintf(stderr, "%s\n", sim.error().c_str());
        return false;
    }
    double one = 0;
    Figures first;
    for (int n : counts) {
        Figures f = run(write_list(dir, n), n);
        if (n == 1)
            first = f;
        // A Show that sent nothing measured nothing: the set-up is broken.
        if (f.reachable > 0 && f.show_requests == 0) {
            std::fprintf(stderr, "%s, %d devices: the Show sent no request\n", s.name, n);
            return false;
        }
        double total = f.load_wall + f.show_wall;
        if (n == 1)
            one = total;
        std::printf("%-10s %2d devices: load %8.2f s %5ld req (%2d/%2d reachable), show %7.2f s "
                    "%4ld req, total %8.2f s, ratio to 1 device %6.2f\n",
                    s.name, n, f.load_wall, f.load_requests, f.reachable, f.listed, f.show_wall,
                    f.show_requests, total, one > 0 ? total / one : 0.0);
        // Without delay: the wall time the devices beyond the first add,
        // against the bare round trips of the requests they add.
        if (s.faults == "delay=0" && n > 1) {
            double rtt = get_round_trip(200);
            long extra =
                f.load_requests + f.show_requests - first.load_requests - first.show_requests;
            double wall = total - (first.load_wall + first.show_wall);
            std::printf("%-10s %2d devices: %d more devices cost %.2f ms for %ld more requests; "
                        "one round trip %.1f us; ratio to their round trips %.2f\n",
                        s.name, n, n - 1, wall * 1000.0, extra, rtt * 1e6,
                        extra > 0 ? wall / (static_cast<double>(extra) * rtt) : 0.0);
        }
        std::fflush(stdout);
    }
    return true;
}

// Gets of 32 variables from a device that accepts at most 5 per request:
// requests sent in total, and with the request size forgotten before each.
void remembered_size(const std::string& dir) {
    SimOptions o;
    o.devices.push_back({sim_profile("modelj.prof"), address(0)});
    o.faults.push_back(address(0) + ":max_vars=5,toobig_index");
    SimProcess sim(o);
    if (!sim.ready())
        return;
    MorixRecord rec;
    rec.name = address(0);
    rec.community = "vantor";
    rec.timeout = 1000000;
    rec.retries = 2;
    const char* names[] = {"sysDescr", "hwRev", "romRev", "sysName", "imageName", "bootHost"};
    long with_memory = 0, without = 0;
    for (int forget = 0; forget < 2; ++forget) {
        rec.max_vars = 0;
        long before = g_snmp_requests_sent;
        for (int round = 0; round < 10; ++round) {
            if (forget)
                rec.max_vars = 0;
            for (int i = 0; i < 32; ++i) {
                int id = 0;
                get_check_mib_var(names[i % 6], &id);
                add_prm_node(&rec, id, 0, 0, 0, "", "", 0);
            }
            mm_snmp(&rec, SNMP_OP_GET);
            free_prm_list(&rec);
        }
        (forget ? without : with_memory) = g_snmp_requests_sent - before;
    }
    (void)dir;
    std::printf("remembered size: 10 Gets of 32 variables, device accepting 5: %ld requests, "
                "%ld when the size is forgotten each time (%ld saved)\n",
                with_memory, without, without - with_memory);
}

} // namespace

int main(int argc, char** argv) {
    bool short_run = argc > 1 && std::string(argv[1]) == "--short";
    if (!bench_in_netns("bench_fleet"))
        return SKIP;
    StagedInstall staged;
    if (read_mib_info("data/gui_mm_data") != 0 || read_func_info("data/gui_mm_data") != 0)
        return 1;
    mm_snmp_init();
    hl_reset();
    register_window_readers();
    mm_snmp_def_comm = "vantor";
    TempDir tmp;
    // Show window: parameters mode, sysName alone.
    dispatch_main(13);
    ui_list_set_policy(W_FUNC_LIST, LSP_EXTENDED);
    ui_list_delete_all(W_FUNC_LIST);
    ui_list_add_item(W_FUNC_LIST, "sysName", 0);
    ui_list_select_pos(W_FUNC_LIST, 1, false);
    param_sel_flag = 1;
    std::vector<Scenario> scenarios = {{"delay 0", "delay=0", false},
                                       {"delay 20", "delay=20", false},
                                       {"delay 100", "delay=100", false},
                                       {"loss 30%", "drop=30", true}};
    std::vector<int> counts = {1, 8, FLEET};
    if (short_run) {
        scenarios.resize(2);
        counts = {1, 8};
    }
    for (const Scenario& s : scenarios)
        if (!scenario_runs(s, counts, tmp.path()))
            return 1;
    remembered_size(tmp.path());
    return 0;
}
