#include "sim_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t MAX_SESSIONS = 256;
constexpr size_t MAX_PATH_BYTES = 1024;

unsigned get16(const unsigned char* p) {
    return (p[0] << 8) | p[1];
}

uint32_t get32(const unsigned char* p) {
    return (static_cast<uint32_t>(get16(p)) << 16) | get16(p + 2);
}

bool same_peer(const sockaddr_in& a, const sockaddr_in& b) {
    return a.sin_addr.s_addr == b.sin_addr.s_addr && a.sin_port == b.sin_port;
}

std::string abort_reply(uint32_t id, int code) {
    return fs_reply(id, FS_ABORT, fs_u16(code));
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
        return FSA_NO_FILE;
    if (e == EACCES || e == EPERM || e == ELOOP)
        return FSA_DENIED;
    return FSA_BAD_PATH;
}

} // namespace

std::string fs_u16(unsigned v) {
    std::string s(2, '\0');
    s[0] = static_cast<char>((v >> 8) & 0xff);
    s[1] = static_cast<char>(v & 0xff);
    return s;
}

std::string fs_reply(uint32_t id, int type, const std::string& body) {
    return fs_u16(id >> 16) + fs_u16(id & 0xffff) + fs_u16(FS_CLASS_REPLY) + fs_u16(type) +
           fs_u16(0) + body;
}

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
        return FSA_BAD_PATH;
    std::vector<std::string> parts;
    size_t i = 0;
    while (i <= path.size()) {
        size_t j = path.find('/', i);
        std::string c = path.substr(i, j == std::string::npos ? std::string::npos : j - i);
        if (c == "..")
            return FSA_DENIED;
        if (!c.empty() && c != ".")
            parts.push_back(c);
        if (j == std::string::npos)
            break;
        i = j + 1;
    }
    if (parts.empty())
        return FSA_BAD_PATH;
    std::string dir = root_;
    for (size_t k = 0; k + 1 < parts.size(); k++)
        dir += "/" + parts[k];
    int err = 0;
    std::string real_dir = real_path(dir, &err);
    if (real_dir.empty())
        return errno_abort(err);
    if (!inside(real_dir, root_))
        return FSA_DENIED;
    std::string candidate = real_dir + "/" + parts.back();
    struct stat st {};
    if (lstat(candidate.c_str(), &st) == 0) {
        if (S_ISLNK(st.st_mode)) {
            if (writing)
                return FSA_DENIED;
            std::string target = real_path(candidate, &err);
            if (target.empty())
                return errno_abort(err);
            if (!inside(target, root_))
                return FSA_DENIED;
            candidate = target;
            if (stat(candidate.c_str(), &st) != 0)
                return FSA_NO_FILE;
        }
        if (S_ISDIR(st.st_mode))
            return FSA_BAD_PATH;
    } else if (!writing) {
        return errno_abort(errno);
    }
    *full = candidate;
    return -1;
}

std::string LoadHost::open_transfer(uint32_t id, const sockaddr_in& from, const unsigned char* args,
                                    size_t len) {
    if (len < 6)
        return abort_reply(id, FSA_BAD_PATH);
    unsigned mode = get16(args + 2);
    size_t path_len = get16(args + 4);
    if (path_len > len - 6 || mode > 2)
        return abort_reply(id, FSA_BAD_PATH);
    if (mode == 2 && faults.reject_mode2)
        return fs_reply(id, FS_REJECT, fs_u16(FSR_PROCEDURE));
    std::string path(reinterpret_cast<const char*>(args + 6), path_len);
    bool writing = mode == 0;
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
        return abort_reply(id, writing && e != EACCES ? FSA_IO : errno_abort(e));
    }
    s.used = std::chrono::steady_clock::now();
    if (sessions_.size() >= MAX_SESSIONS)
        drop(0);
    sessions_.push_back(s);
    return fs_reply(id, FS_RETURN, "");
}

std::string LoadHost::read_block(FileSession* s, uint32_t id, const unsigned char* args,
                                 size_t len) {
    if (len < 2)
        return abort_reply(id, FSA_BAD_BLOCK);
    if (s->closed)
        return abort_reply(id, FSA_NOT_OPEN);
    if (s->writing)
        return abort_reply(id, FSA_WRONG_MODE);
    unsigned block = get16(args);
    if (static_cast<int>(block) == faults.abort_block)
        return abort_reply(id, faults.abort_code);
    char buf[FS_BLOCK];
    ssize_t n = pread(s->fd, buf, FS_BLOCK, static_cast<off_t>(block) * FS_BLOCK);
    if (n < 0)
        return abort_reply(id, FSA_NOT_OPEN);
    if (n == 0)
        return abort_reply(id, FSA_END);
    return fs_reply(id, FS_RETURN, fs_u16(static_cast<unsigned>(n)) + std::string(buf, n));
}

std::string LoadHost::write_block(FileSession* s, uint32_t id, const unsigned char* args,
                                  size_t len) {
    if (s->closed)
        return abort_reply(id, FSA_NOT_OPEN);
    if (!s->writing)
        return abort_reply(id, FSA_WRONG_MODE);
    if (len < 4)
        return abort_reply(id, FSA_BAD_BLOCK);
    unsigned block = get16(args);
    size_t count = get16(args + 2);
    if (count > FS_BLOCK || count > len - 4)
        return abort_reply(id, FSA_BAD_BLOCK);
    if (static_cast<int>(block) == faults.abort_block)
        return abort_reply(id, faults.abort_code);
    ssize_t n = pwrite(s->fd, args + 4, count, static_cast<off_t>(block) * FS_BLOCK);
    if (n != static_cast<ssize_t>(count))
        return abort_reply(id, FSA_IO);
    return fs_reply(id, FS_RETURN, "");
}

std::string LoadHost::close_transfer(FileSession* s, uint32_t id) {
    if (s->closed)
        return fs_reply(id, FS_RETURN, "");
    s->closed = true;
    int rc = close(s->fd);
    s->fd = -1;
    if (s->writing) {
        if (rc != 0 || rename(s->tmp_path.c_str(), s->target.c_str()) != 0) {
            unlink(s->tmp_path.c_str());
            s->tmp_path.clear();
            return abort_reply(id, FSA_IO);
        }
        s->tmp_path.clear();
    }
    return fs_reply(id, FS_RETURN, "");
}

void LoadHost::handle(const unsigned char* data, size_t len, const sockaddr_in& from,
                      std::vector<std::string>* replies) {
    if (len < 18 || get16(data + 4) != FS_CLASS_CALL || get16(data + 6) != FS_CALL)
        return;
    uint32_t id = get32(data);
    uint32_t program = get32(data + 10);
    unsigned version = get16(data + 14);
    unsigned proc = get16(data + 16);
    const unsigned char* args = data + 18;
    size_t args_len = len - 18;
    FileSession* s = find(from);
    std::string reply;
    if (s && s->has_reply && s->last_id == id && proc != FS_OPEN) {
        reply = s->last_reply; // the caller did not get our answer: same again
    } else if (program != 1) {
        reply = fs_reply(id, FS_REJECT, fs_u16(FSR_PROGRAM));
    } else if (version != 0) {
        reply = fs_reply(id, FS_REJECT, fs_u16(FSR_VERSION) + fs_u16(0) + fs_u16(0));
    } else if (proc == FS_OPEN) {
        if (s)
            drop(static_cast<size_t>(s - sessions_.data()));
        reply = open_transfer(id, from, args, args_len);
        s = find(from);
    } else if (proc == FS_RELEASE) {
        if (s)
            drop(static_cast<size_t>(s - sessions_.data()));
        return;
    } else if (proc > FS_RELEASE) {
        reply = fs_reply(id, FS_REJECT, fs_u16(FSR_PROCEDURE));
    } else if (!s) {
        reply = abort_reply(id, FSA_NOT_OPEN);
    } else if (proc == FS_READ) {
        reply = read_block(s, id, args, args_len);
    } else if (proc == FS_WRITE) {
        reply = write_block(s, id, args, args_len);
    } else {
        reply = close_transfer(s, id);
    }
    if (s) {
        s->last_id = id;
        s->last_reply = reply;
        s->has_reply = true;
        s->used = std::chrono::steady_clock::now();
    }
    if (faults.stray) {
        std::string stray = reply;
        stray[3] = static_cast<char>(stray[3] ^ 0x55);
        replies->push_back(stray);
    }
    replies->push_back(reply);
}
