#include "support/sim_process.h"

#include <cstdlib>
#include <filesystem>

#include "support/test_dirs.h"

namespace {

std::string env_or(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return v && *v ? v : fallback;
}

std::string build_dir() {
    return env_or("MM_BUILD_DIR", "build");
}

std::vector<std::string> sim_args(const SimOptions& o) {
    std::vector<std::string> a = {sim_binary()};
    for (const SimDeviceSetup& d : o.devices)
        a.insert(a.end(), {"--profile", d.profile, "--addr", d.addr});
    if (!o.load_host.empty())
        a.insert(a.end(), {"--load-host", o.load_host, "--root", o.root});
    a.insert(a.end(), {"--catalogue", o.catalogue.empty() ? sim_catalogue_dir() : o.catalogue});
    if (!o.control_log.empty())
        a.insert(a.end(), {"--control-log", o.control_log});
    if (!o.request_log.empty())
        a.insert(a.end(), {"--request-log", o.request_log});
    for (const std::string& f : o.faults)
        a.insert(a.end(), {"--fault", f});
    for (const std::string& s : o.sets)
        a.insert(a.end(), {"--set", s});
    return a;
}

} // namespace

std::string sim_binary() {
    return env_or("MM_SIM_BINARY", build_dir() + "/sim/mrxsim");
}

std::string sim_profile(const std::string& name) {
    return env_or("MM_SIM_PROFILES", env_or("MM_SOURCE_INSTALL", "install") + "/../sim/profiles") +
           "/" + name;
}

std::string staged_install_dir() {
    return build_dir() + "/gui_mm_dir";
}

void copy_staged_install(const std::string& dir) {
    std::filesystem::copy(staged_install_dir(), dir, std::filesystem::copy_options::recursive);
}

std::string cli_binary() {
    return build_dir() + "/src/cli/mm_cli";
}

ProgramResult run_cli(std::vector<std::string> args, const std::string& install,
                      const std::vector<std::string>& env, int timeout_ms) {
    args.insert(args.begin(), cli_binary());
    std::vector<std::string> e = env;
    e.push_back("GUI_MM_DIR=" + (install.empty() ? staged_install_dir() : install));
    return run_program(args, timeout_ms, e);
}

std::string sim_catalogue_dir() {
    return env_or("MM_SIM_CATALOGUE", build_dir() + "/gui_mm_dir/data/gui_mm_data");
}

SimProcess::SimProcess(const SimOptions& o) {
    ProcessLaunch s;
    s.argv = sim_args(o);
    s.ready_text = "ready\n";
    s.ready_stream = READY_STDOUT;
    s.ready_timeout_ms = o.ready_timeout_ms;
    if (!proc_.start(s))
        error_ = "mrxsim did not get ready: " + proc_.err();
}

std::map<std::string, std::string> parse_json(const std::string& text) {
    TempDir tmp;
    write_file(tmp.file("doc"), text);
    ProgramResult r = run_program(
        {"python3", "-c",
         "import json,sys\n"
         "def walk(p, v):\n"
         "    if isinstance(v, dict): [walk(p + [k], x) for k, x in v.items()]\n"
         "    elif isinstance(v, list): [walk(p + [str(i)], x) for i, x in enumerate(v)]\n"
         "    else: print('.'.join(p) + '=' + json.dumps(v))\n"
         "walk([], json.load(open(sys.argv[1])))\n",
         tmp.file("doc")},
        20000);
    std::map<std::string, std::string> flat;
    for (size_t pos = 0; r.status == 0 && pos < r.out.size();) {
        size_t nl = r.out.find('\n', pos), eq = r.out.find('=', pos);
        flat[r.out.substr(pos, eq - pos)] = r.out.substr(eq + 1, nl - eq - 1);
        pos = nl + 1;
    }
    return flat;
}
