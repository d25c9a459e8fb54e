// Undo scripts: their names, writing them (never over another), keeping
// the newest per device, and Undo Last Change.
#include "ops/undo.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "catalogue/file_replace.h"
#include "devices/allow_sets.h"
#include "devices/mrx_select.h"
#include "ops/script_exe.h"
#include "ops/script_file.h"
#include "ops/set_window.h"
#include "ui/app_globals.h"
#include "ui/ui.h"

namespace {

constexpr int MAX_DIR_ENTRIES = 1000000; // entries looked at in the undo folder
constexpr int NAME_TRIES = 1000;         // milliseconds tried when a name is taken
// "YYYYMMDD-HHMMSS-mmm.scr" after "DEVICE_".
constexpr size_t STAMP_LEN = 23;

std::string device_part(const std::string& device) {
    std::string out = device.empty() ? std::string("unknown") : device;
    for (char& c : out)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-')
            c = '_';
    return out;
}

// True when file is an undo script name of the device part dev.
bool is_undo_name(const std::string& file, const std::string& dev) {
    if (file.size() != dev.size() + 1 + STAMP_LEN || file.compare(0, dev.size() + 1, dev + "_"))
        return false;
    const std::string stamp = file.substr(dev.size() + 1);
    const std::string shape = "dddddddd-dddddd-ddd.scr";
    for (size_t i = 0; i < shape.size(); ++i)
        if (shape[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(stamp[i]))
                            : stamp[i] != shape[i])
            return false;
    return true;
}

int make_dir(const std::string& dir, std::string* reason) {
    if (mkdir(dir.c_str(), 0755) == 0 || errno == EEXIST) {
        struct stat st;
        if (stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            return 0;
    }
    *reason = dir + ": " + std::strerror(errno ? errno : ENOTDIR);
    return -1;
}

// Writes content to a file that did not exist; false when it existed (or
// on any other failure, with the reason).
bool write_new(const std::string& path, const std::string& content, bool* taken,
               std::string* reason) {
    *taken = false;
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) {
        *taken = errno == EEXIST;
        *reason = path + ": " + std::strerror(errno);
        return false;
    }
    bool ok = write_all(fd, content) && fsync(fd) == 0;
    if (!ok)
        *reason = path + ": " + std::strerror(errno ? errno : EIO);
    if (::close(fd) != 0)
        ok = false;
    if (!ok)
        unlink(path.c_str());
    return ok;
}

} // namespace

std::string undo_dir() {
    return mm_path(SCR_DIR) + "/" + UNDO_SUBDIR;
}

std::string undo_file_name(const std::string& device, std::chrono::system_clock::time_point t) {
    using namespace std::chrono;
    long long ms = duration_cast<milliseconds>(t.time_since_epoch()).count();
    time_t secs = static_cast<time_t>(ms / 1000);
    struct tm tm {};
    gmtime_r(&secs, &tm);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d-%03d.scr", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                  static_cast<int>(ms % 1000));
    return device_part(device) + "_" + stamp;
}

std::vector<std::string> undo_scripts_of(const std::string& device) {
    std::vector<std::string> names;
    const std::string dev = device_part(device);
    DIR* d = opendir(undo_dir().c_str());
    if (!d)
        return names;
    int seen = 0;
    while (struct dirent* ent = readdir(d)) {
        if (++seen > MAX_DIR_ENTRIES)
            break;
        if (is_undo_name(ent->d_name, dev))
            names.push_back(ent->d_name);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    for (std::string& n : names)
        n = undo_dir() + "/" + n;
    return names;
}

int write_undo_script(const std::string& device, const std::string& content, int keep,
                      std::string* path, std::string* reason) {
    if (make_dir(mm_path(SCR_DIR), reason) != 0 || make_dir(undo_dir(), reason) != 0)
        return -1;
    auto t = std::chrono::system_clock::now();
    bool written = false;
    for (int i = 0; i < NAME_TRIES && !written; ++i) {
        *path = undo_dir() + "/" + undo_file_name(device, t + std::chrono::milliseconds(i));
        bool taken = false;
        written = write_new(*path, content, &taken, reason);
        if (!written && !taken)
            break;
    }
    if (!written) {
        path->clear();
        return -1;
    }
    std::vector<std::string> all = undo_scripts_of(device);
    for (size_t i = 0; keep > 0 && i + static_cast<size_t>(keep) < all.size(); ++i)
        unlink(all[i].c_str());
    return 0;
}
