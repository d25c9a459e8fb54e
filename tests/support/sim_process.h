// Starting the device simulator from tests.
//
//   SimOptions o;
//   o.devices.push_back({sim_profile("modelj.prof"), "127.0.3.2"});
//   o.control_log = tmp.file("control.log");          // optional
//   o.faults.push_back("127.0.3.2:drop=30,seed=4");    // optional
//   SimProcess sim(o);
//   ASSERT_TRUE(sim.ready()) << sim.error();
//   ... talk to 127.0.3.2:161 and :121 ...
//   // the destructor stops mrxsim (SIGTERM, then SIGKILL) by its PID
//
// ctest runs test programs side by side in one network namespace, so each
// test program keeps its simulated devices in a 127.0.N.0/24 of its own
// (N is not shared with any other program; grep for "127.0.N." first).
//
// The process is mrxsim from the build folder (MM_BUILD_DIR/sim/mrxsim,
// or MM_SIM_BINARY); profiles come from the repository's sim/profiles
// (found beside MM_SOURCE_INSTALL, or MM_SIM_PROFILES); the catalogue is
// the staged one (MM_BUILD_DIR/gui_mm_dir/data/gui_mm_data, or
// MM_SIM_CATALOGUE). Tests run inside the private network namespace; pick
// addresses (127.x.y.z) that no other test program uses at the same time
// (the simulator's own tests use 127.0.4.x to 127.0.6.x). A broadcast to
// 127.255.255.255:121 reaches every simulator running at that moment, so
// a discovery test keeps only the replies from its own addresses.
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

#include "support/process.h"

struct SimDeviceSetup {
    std::string profile; // path of a profile file
    std::string addr;    // 127.x.y.z
};

struct SimOptions {
    std::vector<SimDeviceSetup> devices;
    std::string load_host;           // address of the load host, empty for none
    std::string root;                // directory the load host serves
    std::string catalogue;           // empty: sim_catalogue_dir()
    std::string control_log;         // file receiving the recorded control Sets
    std::string request_log;         // file receiving every request taken
    std::vector<std::string> faults; // "ADDR:WORD[,WORD...]" (see sim/README.md)
    std::vector<std::string> sets;   // "ADDR:NAME[.INSTANCE]=VALUE"
    int ready_timeout_ms = 20000;
};

class SimProcess {
  public:
    // Starts mrxsim and waits (bounded) until it prints "ready".
    explicit SimProcess(const SimOptions& options);
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    bool ready() const { return proc_.ready(); }
    pid_t pid() const { return proc_.pid(); }
    // Seconds from the start of the process to its "ready" line.
    double startup_seconds() const { return proc_.startup_seconds(); }
    // Why mrxsim did not get ready (what it wrote on standard error).
    const std::string& error() const { return error_; }
    bool running() { return proc_.running(); }
    // SIGTERM, wait up to 5 s, then SIGKILL. Returns the exit status, or -1
    // when the process did not end by itself (or was already reaped).
    int stop() { return proc_.stop(); }

  private:
    Process proc_;
    std::string error_;
};

// Where the simulator, its profiles and the catalogue are.
std::string sim_binary();
std::string sim_profile(const std::string& name);
std::string sim_catalogue_dir();
// The build's staged installation tree (MM_BUILD_DIR/gui_mm_dir) and mm_cli.
std::string staged_install_dir();
// Copies the staged installation tree into dir, a private installation.
void copy_staged_install(const std::string& dir);
std::string cli_binary();

// Runs the build's mm_cli with args on an installation tree (the staged one
// when install is empty) and extra environment entries.
ProgramResult run_cli(std::vector<std::string> args, const std::string& install = "",
                      const std::vector<std::string>& env = {}, int timeout_ms = 60000);

// A JSON document as "path=value" pairs (path members joined by dots,
// array elements by index, values in JSON form); empty when it does not
// parse.
std::map<std::string, std::string> parse_json(const std::string& text);
