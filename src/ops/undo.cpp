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

namespace {

constexpr int MAX_DIR_ENTRIES = 1000000; // entries looked at in the undo folder
constexpr int NAME_TRIES = 1000;         // sequence numbers tried when a name is taken
// "YYYYMMDD-HHMMSS-mmm.scr" (older names) and "SSSSSSSSSS.scr" after "DEVICE_".
const std::string STAMP_SHAPE = "dddddddd-dddddd-ddd.scr";
const std::string SEQ_SHAPE = "dddddddddd.scr";
constexpr long long SEQ_MAX = 9999999999LL;

std::chrono::system_clock::time_point system_now() {
    return std::chrono::system_clock::now();
}

std::string device_part(const std::string& device) {
    std::string out = device.empty() ? std::string("unknown") : device;
    for (char& c : out)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-')
            c = '_';
    return out;
}

bool has_shape(const std::string& text, const std::string& shape) {
    if (text.size() != shape.size())
        return false;
    for (size_t i = 0; i < shape.size(); ++i)
        if (shape[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(text[i]))
                            : text[i] != shape[i])
            return false;
    return true;
}

// The sequence number of an undo script name (after "DEVICE_"): 0 for the
// older time-stamped names, -1 for a name that is not an undo script's.
long long name_seq(const std::string& tail) {
    if (has_shape(tail, SEQ_SHAPE))
        return std::stoll(tail.substr(0, 10));
    return has_shape(tail, STAMP_SHAPE) ? 0 : -1;
}

// Undo script names in the folder, of the device part dev ("" for every
// device), with their sequence numbers.
std::vector<std::pair<long long, std::string>> journal_names(const std::string& dev) {
    std::vector<std::pair<long long, std::string>> out;
    DIR* d = opendir(undo_dir().c_str());
    if (!d)
        return out;
    int seen = 0;
    while (struct dirent* ent = readdir(d)) {
        if (++seen > MAX_DIR_ENTRIES)
            break;
        std::string name = ent->d_name;
        size_t tail = name.size() >= SEQ_SHAPE.size() + 2 ? name.size() - SEQ_SHAPE.size() : 0;
        long long seq = tail ? name_seq(name.substr(tail)) : -1;
        if (seq <= 0 && name.size() >= STAMP_SHAPE.size() + 2)
            seq = std::max(seq, name_seq(name.substr(name.size() - STAMP_SHAPE.size())));
        size_t cut = name.size() - (seq > 0 ? SEQ_SHAPE.size() : STAMP_SHAPE.size()) - 1;
        if (seq < 0 || name[cut] != '_' || (!dev.empty() && name.substr(0, cut) != dev))
            continue;
        out.emplace_back(seq, name);
    }
    closedir(d);
    std::sort(out.begin(), out.end());
    return out;
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

std::string undo_file_name(const std::string& device, long long seq) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%010lld", seq);
    return device_part(device) + "_" + digits + ".scr";
}

std::chrono::system_clock::time_point (*undo_clock)() = system_now;

std::vector<std::string> undo_scripts_of(const std::string& device) {
    std::vector<std::string> names;
    for (const auto& [seq, name] : journal_names(device_part(device)))
        names.push_back(undo_dir() + "/" + name);
    return names;
}

int undo_dir_ready(std::string* reason) {
    if (make_dir(mm_path(SCR_DIR), reason) != 0 || make_dir(undo_dir(), reason) != 0)
        return -1;
    if (access(undo_dir().c_str(), W_OK | X_OK) != 0) {
        *reason = undo_dir() + ": " + std::strerror(errno);
        return -1;
    }
    return 0;
}

int write_undo_script(const std::string& device, const std::string& content, int keep,
                      std::string* path, std::string* reason) {
    if (undo_dir_ready(reason) != 0)
        return -1;
    std::vector<std::pair<long long, std::string>> all_devices = journal_names("");
    long long next = all_devices.empty() ? 1 : all_devices.back().first + 1;
    bool written = false;
    for (int i = 0; i < NAME_TRIES && !written && next + i <= SEQ_MAX; ++i) {
        *path = undo_dir() + "/" + undo_file_name(device, next + i);
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
