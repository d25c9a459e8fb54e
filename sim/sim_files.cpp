#include "sim_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t MAX_SESSIONS = 256;
constexpr size_t MAX_PATH_BYTES = 1024;

bool same_peer(const sockaddr_in& a, const sockaddr_in& b) {
    return a.sin_addr.s_addr == b.sin_addr.s_addr && a.sin_port == b.sin_port;
}

std::string abort_reply(uint32_t id, int code) {
    return erpc_abort(id, static_cast<unsigned>(code));
}

std::string real_path(const std::string& path, int* err) {
    char buf[PATH_MAX];
    if (!realpath(path.c_str(), buf)) {
        *err = errno;
        return "";
    }
    return buf;
}

bool inside(const std::string& path, const std::string& root) {
    return path == root || path.compare(0, root.size() + 1, root + "/") == 0;
}

int errno_abort(int e) {
    if (e == ENOENT || e == ENOTDIR)
        return BFSA_NO_FILE;
    if (e == EACCES || e == EPERM || e == ELOOP)
        return BFSA_DENIED;
    return BFSA_BAD_PATH;
}

} // namespace

LoadHost::~LoadHost() {
    while (!sessions_.empty())
        drop(sessions_.size() - 1);
}

int LoadHost::init(const std::string& root, const FaultSettings& f, std::string* error) {
    int err = 0;
    root_ = real_path(root, &err);
    struct stat st {};
    if (root_.empty() || stat(root_.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        *error = "load host root " + root + " is not a directory";
        return -1;
    }
    faults = f;
    rng.seed(f.seed);
    return 0;
}

FileSession* LoadHost::find(const sockaddr_in& peer) {
    for (FileSession& s : sessions_) {
        if (same_peer(s.peer, peer))
            return &s;
    }
    return nullptr;
}

void LoadHost::drop(size_t index) {
    FileSession& s = sessions_[index];
    if (s.fd >= 0)
        close(s.fd);
    if (!s.tmp_path.empty())
        unlink(s.tmp_path.c_str());
    sessions_.erase(sessions_.begin() + static_cast<long>(index));
}

void LoadHost::expire(std::chrono::seconds idle) {
    auto now = std::chrono::steady_clock::now();
    for (size_t i = sessions_.size(); i-- > 0;) {
        if (now - sessions_[i].used > idle)
            drop(i);
    }
}

// Maps a requested path onto the root. Leading slashes count from the root;
// ".." is refused. Returns -1 with the full path, or an abort code.
int LoadHost::resolve(const std::string& path, bool writing, std::string* full) {
    if (path.empty() || path.size() > MAX_PATH_BYTES || path.find('\0') != std::string::npos)
        return BFSA_BAD_PATH;
    std::vector<std::string> parts;
    size_t i = 0;
    while (i <= path.size()) {
        size_t j = path.find('/', i);
        std::string c = path.substr(i, j == std::string::npos ? std::string::npos : j - i);
        if (c == "..")
            return BFSA_DENIED;
        if (!c.empty() && c != ".")
            parts.push_back(c);
        if (j == std::string::npos)
            break;
        i = j + 1;
    }
    if (parts.empty())
        return BFSA_BAD_PATH;
    std::string dir = root_;
    for (size_t k = 0; k + 1 < parts.size(); k++)
        dir += "/" + parts[k];
    int err = 0;
    std::string real_dir = real_path(dir, &err);
    if (real_dir.empty())
        return errno_abort(err);
    if (!inside(real_dir, root_))
        return BFSA_DENIED;
    std::string candidate = real_dir + "/" + parts.back();
    struct stat st {};
    if (lstat(candidate.c_str(), &st) == 0) {
        if (S_ISLNK(st.st_mode)) {
            if (writing)
                return BFSA_DENIED;
            std::string target = real_path(candidate, &err);
            if (target.empty())
                return errno_abort(err);
            if (!inside(target, root_))
                return BFSA_DENIED;
            candidate = target;
            if (stat(candidate.c_str(), &st) != 0)
                return BFSA_NO_FILE;
        }
        if (S_ISDIR(st.st_mode))
            return BFSA_BAD_PATH;
    } else if (!writing) {
        return errno_abort(errno);
    }
    *full = candidate;
    return -1;
}

std::string LoadHost::open_transfer(uint32_t id, const sockaddr_in& from, const unsigned char* args,
                                    size_t len) {
    unsigned mode = 0;
    std::string path;
    if (bfs_parse_open_args(args, len, &mode, &path) != 0 || mode > BFS_MODE_READ)
        return abort_reply(id, BFSA_BAD_PATH);
    if (mode == BFS_MODE_READ && faults.reject_mode2)
        return erpc_reject(id, ERPC_REJ_PROCEDURE);
    bool writing = mode == BFS_MODE_WRITE;
    std::string full;
    int code = resolve(path, writing, &full);
    if (code >= 0)
        return abort_reply(id, code);
    FileSession s;
    s.peer = from;
    s.writing = writing;
    s.target = full;
    if (writing) {
        size_t slash = full.rfind('/');
        s.tmp_path = full.substr(0, slash + 1) + "." + full.substr(slash + 1) + ".mrxsim-" +
                     std::to_string(getpid()) + "-" + std::to_string(++tmp_counter_);
        s.fd = open(s.tmp_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    } else {
        s.fd = open(full.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (s.fd < 0) {
        int e = errno;
        s.tmp_path.clear();
        return abort_reply(id, writing && e != EACCES ? BFSA_IO : errno_abort(e));
    }
    s.used = std::chrono::steady_clock::now();
    if (sessions_.size() >= MAX_SESSIONS)
        drop(0);
    sessions_.push_back(s);
    return erpc_return(id, "");
}

std::string LoadHost::read_block(FileSession* s, uint32_t id, const unsigned char* args,
                                 size_t len) {
    if (len < 2)
        return abort_reply(id, BFSA_BAD_BLOCK);
    if (s->closed && !faults.after_close)
        return abort_reply(id, BFSA_NOT_OPEN);
    if (s->writing)
        return abort_reply(id, BFSA_WRONG_MODE);
    unsigned block = get_short(args);
    if (static_cast<int>(block) == faults.abort_block)
        return abort_reply(id, faults.abort_code);
    uint8_t buf[BFS_BLOCK];
    size_t size = static_cast<size_t>(faults.block);
    ssize_t n = pread(s->fd, buf, size, static_cast<off_t>(block) * static_cast<off_t>(size));
    if (faults.endless && n >= 0 && static_cast<size_t>(n) < size) {
        memset(buf + n, 'e', size - static_cast<size_t>(n)); // the file goes on and on
        n = static_cast<ssize_t>(size);
    }
    if (n < 0)
        return abort_reply(id, BFSA_NOT_OPEN);
    if (n == 0 && !faults.eof_zero)
        return abort_reply(id, BFSA_END);
    return erpc_return(id, bfs_read_results(buf, static_cast<size_t>(n)));
}

std::string LoadHost::write_block(FileSession* s, uint32_t id, const unsigned char* args,
                                  size_t len) {
    if (s->closed)
        return abort_reply(id, BFSA_NOT_OPEN);
    if (!s->writing)
        return abort_reply(id, BFSA_WRONG_MODE);
    unsigned block = 0;
    size_t count = 0;
    const uint8_t* data = nullptr;
    if (bfs_parse_write_args(args, len, &block, &count, &data) != 0)
        return abort_reply(id, BFSA_BAD_BLOCK);
    if (static_cast<int>(block) == faults.abort_block)
        return abort_reply(id, faults.abort_code);
    if (faults.write_abort >= 0)
        return abort_reply(id, faults.write_abort);
    ssize_t n = pwrite(s->fd, data, count, static_cast<off_t>(block) * BFS_BLOCK);
    if (n != static_cast<ssize_t>(count))
        return abort_reply(id, BFSA_IO);
    return erpc_return(id, "");
}

void LoadHost::change_after_read(const std::string& target) {
    for (const std::string& name : faults.file_change) {
        bool named =
            target == root_ + "/" + name ||
            (target.size() > name.size() &&
             target.compare(target.size() - name.size() - 1, std::string::npos, "/" + name) == 0);
        if (!named || std::find(changed_.begin(), changed_.end(), name) != changed_.end())
            continue;
        changed_.push_back(name);
        int fd = open(target.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        if (fd < 0)
            return;
        const char line[] = "# changed by another writer\n";
        if (write(fd, line, sizeof line - 1) < 0) {
            // the change is best effort: a read-only file simply stays
        }
        close(fd);
        return;
    }
}

void LoadHost::damage_upload(int fd) {
    struct stat st;
    if (fstat(fd, &st) != 0)
        return;
    unsigned char c = 'x';
    off_t at = st.st_size > 0 ? st.st_size / 2 : 0;
    if (st.st_size > 0 && pread(fd, &c, 1, at) == 1)
        c ^= 0x20;
    if (pwrite(fd, &c, 1, at) != 1)
        return;
}

std::string LoadHost::close_transfer(FileSession* s, uint32_t id) {
    if (s->closed)
        return erpc_return(id, "");
    s->closed = true;
    if (faults.after_close && !s->writing)
        return erpc_return(id, ""); // the file stays open and read blocks are still served
    if (s->writing && faults.store_damaged)
        damage_upload(s->fd);
    int rc = close(s->fd);
    s->fd = -1;
    if (!s->writing && !faults.file_change.empty())
        change_after_read(s->target);
    if (s->writing) {
        if (rc != 0 || rename(s->tmp_path.c_str(), s->target.c_str()) != 0) {
            unlink(s->tmp_path.c_str());
            s->tmp_path.clear();
            return abort_reply(id, BFSA_IO);
        }
        s->tmp_path.clear();
    }
    return erpc_return(id, "");
}

void LoadHost::handle(const unsigned char* data, size_t len, const sockaddr_in& from,
                      std::vector<std::string>* replies) {
    ErpcCallHdr call;
    if (erpc_parse_call(data, len, &call) != 0)
        return;
    uint32_t id = call.id;
    uint32_t program = call.program;
    unsigned version = call.version;
    unsigned proc = call.procedure;
    const unsigned char* args = data + ERPC_CALL_HDR;
    size_t args_len = len - ERPC_CALL_HDR;
    FileSession* s = find(from);
    std::string reply;
    if (s && s->has_reply && s->last_id == id && proc != BFS_OPEN) {
        reply = s->last_reply; // the caller did not get our answer: same again
    } else if (program != BFS_PROGRAM) {
        reply = erpc_reject(id, ERPC_REJ_PROGRAM);
    } else if (version != BFS_VERSION) {
        reply = erpc_reject(id, ERPC_REJ_VERSION, BFS_VERSION, BFS_VERSION);
    } else if (proc == BFS_OPEN) {
        if (s)
            drop(static_cast<size_t>(s - sessions_.data()));
        reply = open_transfer(id, from, args, args_len);
        s = find(from);
    } else if (proc == BFS_RELEASE) {
        if (s)
            drop(static_cast<size_t>(s - sessions_.data()));
        return;
    } else if (proc > BFS_RELEASE) {
        reply = erpc_reject(id, ERPC_REJ_PROCEDURE);
    } else if (!s) {
        reply = abort_reply(id, BFSA_NOT_OPEN);
    } else if (proc == BFS_READ) {
        reply = read_block(s, id, args, args_len);
    } else if (proc == BFS_WRITE) {
        reply = write_block(s, id, args, args_len);
    } else if (faults.silent_close && s->writing) {
        return; // the new file is never put in place, and nothing says so
    } else {
        reply = close_transfer(s, id);
    }
    if (s) {
        s->last_id = id;
        s->last_reply = reply;
        s->has_reply = true;
        s->used = std::chrono::steady_clock::now();
    }
    if (faults.after_close && proc == BFS_CLOSE)
        replies->push_back(reply); // answered twice
    if (faults.stray) {
        std::string stray = reply;
        stray[3] = static_cast<char>(stray[3] ^ 0x55);
        replies->push_back(stray);
    }
    replies->push_back(reply);
}
