#include "support/process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "support/test_dirs.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string temp_file(const char* tag) {
    std::string path = std::string("/tmp/mm_") + tag + "_XXXXXX";
    int fd = mkstemp(&path[0]);
    if (fd < 0)
        return "";
    close(fd);
    return path;
}

// In the child: environment, output files, then the program. Never returns.
[[noreturn]] void exec_child(const ProcessLaunch& s, const std::string& out, const std::string& err,
                             pid_t parent) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent)
        _exit(1);
    for (const std::string& e : s.env) {
        size_t eq = e.find('=');
        setenv(e.substr(0, eq).c_str(), eq == std::string::npos ? "" : e.c_str() + eq + 1, 1);
    }
    for (const std::string& name : s.unset)
        unsetenv(name.c_str());
    int in_fd = open("/dev/null", O_RDONLY);
    int out_fd = open(out.c_str(), O_WRONLY | O_TRUNC);
    int err_fd = open(err.c_str(), O_WRONLY | O_TRUNC);
    dup2(in_fd, 0);
    dup2(out_fd, 1);
    dup2(err_fd, 2);
    std::vector<std::string> args = s.argv;
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(&a[0]);
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    std::string msg = "cannot run " + args[0] + ": " + std::strerror(errno) + "\n";
    ssize_t ignored = write(2, msg.data(), msg.size());
    (void)ignored;
    _exit(127);
}

} // namespace

Process::~Process() {
    stop();
    if (!out_path_.empty())
        unlink(out_path_.c_str());
    if (!err_path_.empty())
        unlink(err_path_.c_str());
}

bool Process::start(const ProcessLaunch& s) {
    stop();
    ready_ = false;
    stop_timeout_ms_ = s.stop_timeout_ms;
    if (out_path_.empty())
        out_path_ = temp_file("out");
    if (err_path_.empty())
        err_path_ = temp_file("err");
    if (s.argv.empty() || out_path_.empty() || err_path_.empty())
        return false;
    auto started = Clock::now();
    pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0)
        exec_child(s, out_path_, err_path_, parent);
    if (pid_ < 0)
        return false;
    auto deadline = started + std::chrono::milliseconds(s.ready_timeout_ms);
    bool seen = s.ready_text.empty();
    while (!seen && running() && Clock::now() < deadline) {
        seen = (s.ready_stream != READY_STDERR && out().find(s.ready_text) != std::string::npos) ||
               (s.ready_stream != READY_STDOUT && err().find(s.ready_text) != std::string::npos);
        if (!seen)
            usleep(10000);
    }
    startup_seconds_ = std::chrono::duration<double>(Clock::now() - started).count();
    // Without a ready text, started is ready (even when it already ended).
    ready_ = s.ready_text.empty() || (seen && running());
    if (!ready_)
        stop();
    return ready_;
}

bool Process::running() {
    if (pid_ <= 0)
        return false;
    pid_t r = waitpid(pid_, &last_status_, WNOHANG);
    if (r == pid_ || r < 0) {
        ended_ = r == pid_;
        pid_ = -1;
        return false;
    }
    return true;
}

int Process::wait(int timeout_ms) {
    auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    while (running()) {
        if (Clock::now() >= deadline)
            return -2;
        usleep(10000);
    }
    if (!ended_)
        return -1;
    ended_ = false;
    return WIFEXITED(last_status_) ? WEXITSTATUS(last_status_) : 128 + WTERMSIG(last_status_);
}

int Process::stop() {
    if (pid_ <= 0)
        return -1;
    kill(pid_, SIGTERM);
    int status = wait(stop_timeout_ms_);
    if (status == -2) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
        status = -1;
    }
    return status;
}

std::string Process::out() const {
    return out_path_.empty() ? "" : read_file(out_path_);
}

std::string Process::err() const {
    return err_path_.empty() ? "" : read_file(err_path_);
}

ProgramResult run_program(const std::vector<std::string>& argv, int timeout_ms,
                          const std::vector<std::string>& env) {
    ProgramResult r;
    ProcessLaunch s;
    s.argv = argv;
    s.env = env;
    Process p;
    if (!p.start(s))
        return r;
    int status = p.wait(timeout_ms);
    r.timed_out = status == -2;
    if (r.timed_out)
        p.stop();
    r.status = status >= 0 && status < 128 ? status : -1;
    r.out = p.out();
    r.err = p.err();
    return r;
}
