#include "ui/temp_files.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int MAX_TRACKED = 32;
constexpr size_t MAX_NAME = 4096;

// Fixed storage: the signal handler may read it at any moment, so it never
// moves and a slot is filled before it is marked used.
struct Slot {
    volatile sig_atomic_t used;
    volatile sig_atomic_t is_dir;
    char path[MAX_NAME];
};
Slot slots[MAX_TRACKED];

void remove_all() {
    // files first, then the folders that held them
    for (int pass = 0; pass < 2; ++pass)
        for (Slot& s : slots) {
            if (!s.used || (s.is_dir != 0) != (pass == 1))
                continue;
            if (s.is_dir)
                rmdir(s.path);
            else
                unlink(s.path);
        }
}

void on_signal(int sig) {
    int saved = errno;
    remove_all();
    signal(sig, SIG_DFL);
    raise(sig);
    errno = saved;
}

// The PID that follows prefix in name, when a '-' or '.' ends it; 0 else.
long pid_after(const char* name, const std::string& prefix) {
    if (strncmp(name, prefix.c_str(), prefix.size()) != 0)
        return 0;
    const char* p = name + prefix.size();
    char* end = nullptr;
    errno = 0;
    long pid = strtol(p, &end, 10);
    if (end == p || errno != 0 || pid <= 0 || (*end != '-' && *end != '.'))
        return 0;
    return pid;
}

bool running(long pid) {
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

void empty_folder(const std::string& dir) {
    DIR* d = opendir(dir.c_str());
    int budget = 1000; // a folder of ours holds a handful of files
    while (dirent* e = d && budget-- > 0 ? readdir(d) : nullptr) {
        std::string p = dir + "/" + e->d_name;
        struct stat st {};
        if (lstat(p.c_str(), &st) == 0 && !S_ISDIR(st.st_mode))
            unlink(p.c_str());
    }
    if (d)
        closedir(d);
}

} // namespace

bool temp_track(const std::string& path, bool is_dir) {
    if (path.empty() || path.size() >= MAX_NAME)
        return false;
    for (Slot& s : slots) {
        if (s.used)
            continue;
        memcpy(s.path, path.c_str(), path.size() + 1);
        s.is_dir = is_dir ? 1 : 0;
        s.used = 1;
        return true;
    }
    return false;
}

void temp_untrack(const std::string& path) {
    for (Slot& s : slots)
        if (s.used && path == s.path)
            s.used = 0;
}

void temp_remove_tracked() {
    remove_all();
}

void temp_cleanup_on_signals() {
    struct sigaction sa {};
    sa.sa_handler = on_signal;
    sigemptyset(&sa.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP})
        sigaction(sig, &sa, nullptr);
}

int temp_remove_stale(const std::string& dir, const std::string& prefix) {
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d)
        return 0;
    int removed = 0, budget = 100000; // entries looked at, for a huge folder
    uid_t me = geteuid();
    while (dirent* e = budget-- > 0 ? readdir(d) : nullptr) {
        long pid = pid_after(e->d_name, prefix);
        if (pid == 0 || pid == getpid() || running(pid))
            continue;
        std::string p = (dir.empty() ? "." : dir) + "/" + e->d_name;
        struct stat st {};
        if (lstat(p.c_str(), &st) != 0 || st.st_uid != me)
            continue; // only our own leftovers
        if (S_ISDIR(st.st_mode)) {
            empty_folder(p);
            removed += rmdir(p.c_str()) == 0;
        } else {
            removed += unlink(p.c_str()) == 0;
        }
    }
    closedir(d);
    return removed;
}
