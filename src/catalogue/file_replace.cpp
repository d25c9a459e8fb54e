#include "catalogue/file_replace.h"

#include "catalogue/line_scan.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void set_failure(ReplaceFailure* fail, int result, const std::string& file) {
    if (fail == nullptr)
        return;
    fail->result = result;
    fail->file = file;
    fail->reason = std::strerror(errno);
}

// Makes a rename in dir survive a crash; a folder that cannot be synced
// does not make the change fail.
void sync_dir(const std::string& dir) {
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

constexpr int PRIVATE_NAME_TRIES = 64;

// Creates a temporary file of this run exclusively: the name is the given
// one followed by ".<pid>.<n>", taking the first n whose name and rollback
// name (".old") are both free. A file left by a crashed run or another
// operator at any such name is skipped, never followed or reused. The
// descriptor, or -1 (errno set) when no name could be created.
int create_private(const std::string& base, std::string* tmp) {
    const std::string stem = base + "." + std::to_string(::getpid()) + ".";
    for (int n = 0; n < PRIVATE_NAME_TRIES; ++n) {
        *tmp = stem + std::to_string(n);
        struct stat st;
        if (::lstat((*tmp + ".old").c_str(), &st) == 0)
            continue;
        int fd = ::open(tmp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// Creates the temporary file and fills it. The new file takes the
// original's permission bits so that the replacement reads the same.
int stage(const FileChange& c, std::string* tmp, ReplaceFailure* fail) {
    mode_t mode = 0644;
    struct stat st;
    if (::stat(c.path.c_str(), &st) == 0)
        mode = st.st_mode & 07777;
    int fd = create_private(sibling_path(c.path, c.tmp_name), tmp);
    if (fd < 0) {
        set_failure(fail, FR_CREATE_FAILED, *tmp);
        return FR_CREATE_FAILED;
    }
    bool ok = write_all(fd, c.content) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    if (!ok)
        set_failure(fail, FR_WRITE_FAILED, *tmp);
    if (::close(fd) != 0 && ok) {
        ok = false;
        set_failure(fail, FR_WRITE_FAILED, *tmp);
    }
    if (!ok) {
        ::unlink(tmp->c_str());
        return FR_WRITE_FAILED;
    }
    return FR_OK;
}

} // namespace

bool write_all(int fd, const std::string& content) {
    size_t done = 0;
    while (done < content.size()) {
        ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string dir_of(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string sibling_path(const std::string& path, const std::string& name) {
    return dir_of(path) + "/" + name;
}

int replace_file_safely(const FileChange& change, ReplaceFailure* fail) {
    return replace_files_together({change}, fail);
}

int replace_files_together(const std::vector<FileChange>& changes, ReplaceFailure* fail,
                           RenameFn rename_fn) {
    std::vector<std::string> tmps(changes.size()), olds(changes.size());
    auto discard = [&](size_t staged, size_t linked) {
        for (size_t i = 0; i < staged; ++i)
            ::unlink(tmps[i].c_str());
        for (size_t i = 0; i < linked; ++i)
            ::unlink(olds[i].c_str());
    };
    for (size_t i = 0; i < changes.size(); ++i) {
        int r = stage(changes[i], &tmps[i], fail);
        if (r != FR_OK) {
            discard(i, 0);
            return r;
        }
        olds[i] = tmps[i] + ".old";
    }
    // A single file needs no rollback name: its rename is all or nothing.
    bool need_old = changes.size() > 1;
    for (size_t i = 0; need_old && i < changes.size(); ++i) {
        if (::link(changes[i].path.c_str(), olds[i].c_str()) != 0) {
            set_failure(fail, FR_CREATE_FAILED, olds[i]);
            discard(changes.size(), i);
            return FR_CREATE_FAILED;
        }
    }
    for (size_t i = 0; i < changes.size(); ++i) {
        if (rename_fn(tmps[i].c_str(), changes[i].path.c_str()) == 0)
            continue;
        set_failure(fail, FR_RENAME_FAILED, changes[i].path);
        bool restored = true;
        for (size_t j = i; j-- > 0;)
            restored = ::rename(olds[j].c_str(), changes[j].path.c_str()) == 0 && restored;
        if (fail != nullptr)
            fail->rolled_back = restored;
        // Rollback names that could not be put back are left for the
        // operator: they hold the only copy of those originals.
        discard(changes.size(), need_old && restored ? changes.size() : 0);
        return FR_RENAME_FAILED;
    }
    discard(0, need_old ? changes.size() : 0);
    if (!changes.empty())
        sync_dir(dir_of(changes[0].path));
    return FR_OK;
}

bool read_whole_file(const std::string& path, std::string* content) {
    content->clear();
    std::FILE* f = open_file(path, "rb").release(); // a regular file only
    if (f == nullptr)
        return false;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        content->append(buf, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}
