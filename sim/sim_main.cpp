// mrxsim: plays Morix devices (SNMP v1 agent, discovery responder) and a
// load host (remote file service) on loopback addresses. See README.md.
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/mib_catalogue.h"
#include "sim_world.h"
#include "ui/app_globals.h"

namespace {

constexpr size_t MAX_DEVICES = 63;

volatile sig_atomic_t g_stop = 0;

void on_signal(int) {
    g_stop = 1;
}

struct Options {
    std::vector<std::string> profiles;
    std::vector<std::string> addrs;
    std::string load_host;
    std::string root;
    std::string catalogue;
    std::string control_log;
    std::string request_log;
    std::vector<std::pair<std::string, std::string>> faults; // address, words
    std::vector<std::pair<std::string, std::string>> sets;   // address, NAME=VALUE
};

const char* const USAGE =
    "usage: mrxsim --profile FILE --addr 127.0.0.N [--profile FILE --addr 127.0.0.M ...]\n"
    "              [--load-host 127.0.0.L --root DIR] [--catalogue DIR]\n"
    "              [--control-log FILE] [--request-log FILE] [--fault ADDR:WORD[,WORD...]]\n"
    "              [--set ADDR:NAME[.INSTANCE]=VALUE]\n";

int usage_error(const std::string& message) {
    std::fprintf(stderr, "mrxsim: %s\n%s", message.c_str(), USAGE);
    return 2;
}

int parse_args(int argc, char** argv, Options* o) {
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::fputs(USAGE, stdout);
            std::exit(0);
        }
        if (i + 1 >= argc)
            return usage_error("option " + a + " needs a value");
        std::string v = argv[++i];
        if (a == "--profile")
            o->profiles.push_back(v);
        else if (a == "--addr")
            o->addrs.push_back(v);
        else if (a == "--load-host")
            o->load_host = v;
        else if (a == "--root")
            o->root = v;
        else if (a == "--catalogue")
            o->catalogue = v;
        else if (a == "--control-log")
            o->control_log = v;
        else if (a == "--request-log")
            o->request_log = v;
        else if (a == "--fault" && v.find(':') != std::string::npos)
            o->faults.emplace_back(v.substr(0, v.find(':')), v.substr(v.find(':') + 1));
        else if (a == "--set" && v.find(':') != std::string::npos &&
                 v.find('=') != std::string::npos)
            o->sets.emplace_back(v.substr(0, v.find(':')), v.substr(v.find(':') + 1));
        else
            return usage_error("unknown option or bad value: " + a + " " + v);
    }
    if (o->profiles.size() != o->addrs.size())
        return usage_error("every --profile needs its --addr");
    if (o->profiles.size() > MAX_DEVICES)
        return usage_error("at most 63 devices");
    if (o->profiles.empty() && o->load_host.empty())
        return usage_error("nothing to simulate");
    if (o->load_host.empty() != o->root.empty())
        return usage_error("--load-host and --root go together");
    return 0;
}

std::vector<std::string> fault_words(const Options& o, const std::string& address) {
    std::vector<std::string> words;
    for (const auto& f : o.faults) {
        if (f.first != address)
            continue;
        size_t i = 0;
        while (i <= f.second.size()) {
            size_t j = f.second.find(',', i);
            std::string w = f.second.substr(i, j == std::string::npos ? std::string::npos : j - i);
            if (!w.empty())
                words.push_back(w);
            if (j == std::string::npos)
                break;
            i = j + 1;
        }
    }
    return words;
}

std::string default_catalogue() {
    const char* env = std::getenv("GUI_MM_DIR");
    return std::string(env && *env ? env : mm_default_dir().c_str()) + "/data/gui_mm_data";
}

int build_world(const Options& o, SimWorld* w, std::string* error) {
    std::map<std::string, SimProfile> cache;
    for (size_t i = 0; i < o.profiles.size(); i++) {
        for (size_t j = 0; j < i; j++) {
            if (o.addrs[j] == o.addrs[i]) {
                *error = "address " + o.addrs[i] + " given twice";
                return -1;
            }
        }
        auto it = cache.find(o.profiles[i]);
        if (it == cache.end()) {
            SimProfile p;
            if (read_sim_profile(o.profiles[i], &p, error) != 0)
                return -1;
            it = cache.emplace(o.profiles[i], p).first;
        }
        SimProfile profile = it->second;
        for (const auto& s : o.sets) {
            if (s.first != o.addrs[i])
                continue;
            size_t eq = s.second.find('=');
            std::string target = s.second.substr(0, eq);
            size_t dot = target.find('.');
            profile.sets.push_back({target.substr(0, dot),
                                    dot == std::string::npos ? "" : target.substr(dot + 1),
                                    s.second.substr(eq + 1), 0});
        }
        auto dev = std::make_unique<SimDevice>();
        if (init_sim_device(dev.get(), profile, o.addrs[i], fault_words(o, o.addrs[i]), error) != 0)
            return -1;
        w->devices.push_back(std::move(dev));
    }
    if (!o.load_host.empty()) {
        FaultSettings f;
        for (const std::string& word : fault_words(o, o.load_host)) {
            if (apply_fault_word(word, &f, error) != 0)
                return -1;
        }
        w->load_host = std::make_unique<LoadHost>();
        w->load_host_addr = o.load_host;
        if (w->load_host->init(o.root, f, error) != 0)
            return -1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    if (int rc = parse_args(argc, argv, &o))
        return rc;
    mm_dir = o.catalogue.empty() ? default_catalogue() : o.catalogue;
    if (read_mib_info(".") != 0) {
        std::fprintf(stderr, "mrxsim: cannot read the catalogue in %s\n", mm_dir.c_str());
        return 2;
    }
    init_sim_snmp();
    SimWorld world;
    std::string error;
    if (build_world(o, &world, &error) != 0) {
        std::fprintf(stderr, "mrxsim: %s\n", error.c_str());
        return 2;
    }
    if (!o.control_log.empty()) {
        world.log.file = std::fopen(o.control_log.c_str(), "a");
        if (!world.log.file) {
            std::fprintf(stderr, "mrxsim: cannot open %s\n", o.control_log.c_str());
            return 2;
        }
    }
    if (!o.request_log.empty()) {
        world.log.requests = std::fopen(o.request_log.c_str(), "a");
        if (!world.log.requests) {
            std::fprintf(stderr, "mrxsim: cannot open %s\n", o.request_log.c_str());
            return 2;
        }
    }
    struct sigaction sa {};
    sa.sa_handler = on_signal;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);
    if (bind_world(&world, &error) != 0) {
        std::fprintf(stderr, "mrxsim: %s\n", error.c_str());
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    run_world(&world, &g_stop);
    if (world.log.file)
        std::fclose(world.log.file);
    return 0;
}
