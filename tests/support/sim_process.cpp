#include "support/sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

using Clock = std::chrono::steady_clock;

std::string env_or(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return v && *v ? v : fallback;
}

std::string build_dir() {
    return env_or("MM_BUILD_DIR", "build");
}

std::vector<std::string> sim_args(const SimOptions& o) {
    std::vector<std::string> a = {sim_binary()};
    for (const SimDeviceSpec& d : o.devices) {
        a.insert(a.end(), {"--profile", d.profile, "--addr", d.addr});
    }
    if (!o.load_host.empty())
        a.insert(a.end(), {"--load-host", o.load_host, "--root", o.root});
    a.insert(a.end(), {"--catalogue", o.catalogue.empty() ? sim_catalogue_dir() : o.catalogue});
    if (!o.control_log.empty())
        a.insert(a.end(), {"--control-log", o.control_log});
    for (const std::string& f : o.faults)
        a.insert(a.end(), {"--fault", f});
    for (const std::string& s : o.sets)
        a.insert(a.end(), {"--set", s});
    return a;
}

std::vector<char*> c_args(std::vector<std::string>& args) {
    std::vector<char*> v;
    for (std::string& s : args)
        v.push_back(&s[0]);
    v.push_back(nullptr);
    return v;
}

int remaining_ms(Clock::time_point deadline) {
    auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return ms < 0 ? 0 : static_cast<int>(ms);
}

// Waits for a child to end until the deadline; returns its exit status,
// -1 when it was killed by a signal, -2 when it is still running.
int wait_until(pid_t pid, Clock::time_point deadline) {
    while (true) {
        int st = 0;
        pid_t r = waitpid(pid, &st, WNOHANG);
        if (r == pid)
            return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
        if (r < 0)
            return -1;
        if (Clock::now() >= deadline)
            return -2;
        usleep(10000);
    }
}

} // namespace

std::string sim_binary() {
    return env_or("MM_SIM_BINARY", build_dir() + "/sim/mrxsim");
}

std::string sim_profile(const std::string& name) {
    return env_or("MM_SIM_PROFILES", env_or("MM_SOURCE_INSTALL", "install") + "/../sim/profiles") +
           "/" + name;
}

std::string sim_catalogue_dir() {
    return env_or("MM_SIM_CATALOGUE", build_dir() + "/gui_mm_dir/data/gui_mm_data");
}

SimProcess::SimProcess(const SimOptions& o) {
    std::vector<std::string> args = sim_args(o);
    char tmpl[] = "/tmp/mrxsim_err_XXXXXX";
    int err_fd = mkstemp(tmpl);
    int out[2];
    if (err_fd < 0 || pipe2(out, O_CLOEXEC) != 0) {
        error_ = "cannot create pipes";
        if (err_fd >= 0)
            close(err_fd);
        return;
    }
    err_path_ = tmpl;
    auto started = Clock::now();
    pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        // A test that crashes must not leave the simulator running.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(1);
        dup2(out[1], 1);
        dup2(err_fd, 2);
        std::vector<char*> argv = c_args(args);
        execv(argv[0], argv.data());
        std::string msg = "cannot run " + args[0] + ": " + std::strerror(errno) + "\n";
        ssize_t ignored = write(2, msg.data(), msg.size());
        (void)ignored;
        _exit(127);
    }
    close(out[1]);
    close(err_fd);
    out_fd_ = out[0];
    std::string text;
    auto deadline = started + std::chrono::milliseconds(o.ready_timeout_ms);
    while (pid_ > 0 && text.find("ready\n") == std::string::npos) {
        pollfd p{out_fd_, POLLIN, 0};
        int left = remaining_ms(deadline);
        if (left == 0 || poll(&p, 1, left) <= 0)
            break;
        char buf[256];
        ssize_t n = read(out_fd_, buf, sizeof buf);
        if (n <= 0)
            break;
        text.append(buf, static_cast<size_t>(n));
    }
    ready_ = text.find("ready\n") != std::string::npos;
    startup_seconds_ = std::chrono::duration<double>(Clock::now() - started).count();
    if (!ready_) {
        stop();
        std::ifstream in(err_path_);
        std::stringstream ss;
        ss << in.rdbuf();
        error_ = "mrxsim did not get ready: " + ss.str();
    }
}

SimProcess::~SimProcess() {
    stop();
    if (out_fd_ >= 0)
        close(out_fd_);
    if (!err_path_.empty())
        unlink(err_path_.c_str());
}

bool SimProcess::running() {
    if (pid_ <= 0)
        return false;
    int st = 0;
    pid_t r = waitpid(pid_, &st, WNOHANG);
    if (r == pid_) {
        pid_ = -1;
        return false;
    }
    return r == 0;
}

int SimProcess::stop() {
    if (pid_ <= 0)
        return -1;
    kill(pid_, SIGTERM);
    int status = wait_until(pid_, Clock::now() + std::chrono::seconds(5));
    if (status == -2) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        status = -1;
    }
    pid_ = -1;
    return status;
}

namespace {

// Reads both pipes until they close or the deadline passes (false), then
// closes them.
bool drain_pipes(int out_fd, int err_fd, Clock::time_point deadline, std::string* out,
                 std::string* err) {
    pollfd fds[2] = {{out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
    std::string* sinks[2] = {out, err};
    int open_count = 2;
    bool in_time = true;
    while (open_count > 0) {
        int left = remaining_ms(deadline);
        if (left == 0 || poll(fds, 2, left) <= 0) {
            in_time = false;
            break;
        }
        for (int i = 0; i < 2; i++) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP)))
                continue;
            char buf[4096];
            ssize_t n = read(fds[i].fd, buf, sizeof buf);
            if (n > 0) {
                sinks[i]->append(buf, static_cast<size_t>(n));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                open_count--;
            }
        }
    }
    for (pollfd& f : fds) {
        if (f.fd >= 0)
            close(f.fd);
    }
    return in_time;
}

} // namespace

ProgramResult run_program(const std::vector<std::string>& argv_in, int timeout_ms,
                          const std::vector<std::string>& env) {
    ProgramResult r;
    std::vector<std::string> args = argv_in;
    int out[2], err[2];
    if (args.empty() || pipe2(out, O_CLOEXEC) != 0)
        return r;
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return r;
    }
    pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        dup2(err[1], 2);
        for (const std::string& e : env)
            putenv(const_cast<char*>(e.c_str()));
        std::vector<char*> argv = c_args(args);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    r.timed_out = !drain_pipes(out[0], err[0], deadline, &r.out, &r.err);
    if (pid <= 0)
        return r;
    int status = wait_until(pid, r.timed_out ? Clock::now() : deadline);
    if (status == -2) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        r.timed_out = true;
        status = -1;
    }
    r.status = status;
    return r;
}
