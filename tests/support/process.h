// The one way tests start and stop other programs (mrxsim, snmpd, Xvfb,
// gui_mm, command-line tools): started with arguments and environment,
// awaited until a ready text appears on their output within a bound, and
// stopped by PID (SIGTERM, then SIGKILL after a bound) and reaped. Standard
// output and error go to temporary files, so a talkative program never
// blocks on a full pipe. A child gets SIGTERM when the test process dies.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

enum ReadyStream { READY_ANY, READY_STDOUT, READY_STDERR };

struct ProcessLaunch {
    std::vector<std::string> argv;  // argv[0] is looked up in PATH when it has no '/'
    std::vector<std::string> env;   // "NAME=VALUE" set in the child
    std::vector<std::string> unset; // names removed from the child's environment
    std::string ready_text;         // awaited on the output; empty: do not wait
    ReadyStream ready_stream = READY_ANY;
    int ready_timeout_ms = 20000;
    int stop_timeout_ms = 5000; // SIGTERM, then SIGKILL after this
};

class Process {
  public:
    Process() = default;
    // Starts the program and waits for its ready text; see ready().
    explicit Process(const ProcessLaunch& desc) { start(desc); }
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // False when the program could not be started, ended early, or did not
    // print its ready text in time (it is then stopped).
    bool start(const ProcessLaunch& desc);
    bool ready() const { return ready_; }
    pid_t pid() const { return pid_; }
    double startup_seconds() const { return startup_seconds_; }
    bool running();
    // Waits at most timeout_ms for the program to end by itself: its exit
    // status, 128 + signal when a signal ended it, -2 while it still runs,
    // -1 when there is no process.
    int wait(int timeout_ms);
    // SIGTERM, bounded wait, SIGKILL; reaped. The exit status as wait()
    // gives it, or -1 when it had to be killed or was not running.
    int stop();
    std::string out() const; // what it wrote so far on standard output
    std::string err() const; // ... and on standard error

  private:
    pid_t pid_ = -1;
    int last_status_ = 0; // of the reaped process, when ended_
    bool ended_ = false;
    bool ready_ = false;
    int stop_timeout_ms_ = 5000;
    double startup_seconds_ = 0;
    std::string out_path_, err_path_;
};

// Runs a program to its end (killed by PID after timeout_ms), capturing
// its output. env entries are "NAME=VALUE".
struct ProgramResult {
    int status = -1; // exit status, -1 when killed or not started
    bool timed_out = false;
    std::string out;
    std::string err;
};
ProgramResult run_program(const std::vector<std::string>& argv, int timeout_ms,
                          const std::vector<std::string>& env = {});
