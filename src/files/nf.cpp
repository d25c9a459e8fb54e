// Network file handles: local and remote files behind one interface.
#include "files/nf.h"

#include "ui/temp_files.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Local open failures by system error.
int errno_code(int e) {
    switch (e) {
    case ENOENT:
        return NF_NO_FILE;
    case ENOMEM:
        return NF_NO_MEMORY;
    case EACCES:
    case EPERM:
    case EROFS:
        return NF_DENIED;
    case EISDIR:
    case ENAMETOOLONG:
        return NF_BAD_PATH;
    case EMFILE:
    case ENFILE:
        return NF_TOO_MANY;
    default:
        return NF_OPEN_OTHER;
    }
}

void drop_tmp(NfHandle* h) {
    unlink(h->tmp_path.c_str());
    temp_untrack(h->tmp_path);
    h->tmp_path.clear();
}

NfHandle* new_handle(int kind, int* code) {
    NfHandle* h = new (std::nothrow) NfHandle;
    if (!h)
        *code = NF_NO_MEMORY;
    else
        h->kind = kind;
    return h;
}

NfHandle* open_remote(const std::string& host, const std::string& path, const char* mode,
                      int* code) {
    in_addr addr{};
    addr.s_addr = determine_inet_address(host);
    if (addr.s_addr == 0) {
        *code = NF_NO_HOST;
        return nullptr;
    }
    size_t plen = strlen(NF_REMOTE_PREFIX);
    if (path.compare(0, plen, NF_REMOTE_PREFIX) != 0 || path.size() - plen > BFS_PATH_MAX) {
        *code = NF_BAD_PATH;
        return nullptr;
    }
    BfsHandle* b = bfs_open(&addr, path.substr(plen), mode, code);
    if (!b)
        return nullptr;
    NfHandle* h = new_handle(NF_REMOTE, code);
    if (!h) {
        bfs_abandon(b);
        return nullptr;
    }
    h->bfs = b;
    h->addr = addr;
    return h;
}

// The new content of a local file goes to a file of its own in the same
// folder (created exclusively, never through a planted link) and is renamed
// over the old one at close. The old file's permissions are kept, and a
// file the operator may not write is refused as before. A link at the path
// is replaced by the new file, as every other writer of the program does;
// anything else that is not a regular file (a FIFO, a device) is refused.
int open_local_write(NfHandle* h, const std::string& path) {
    struct stat st {};
    bool exists = lstat(path.c_str(), &st) == 0;
    if (!exists && errno != ENOENT)
        return errno_code(errno);
    bool link = exists && S_ISLNK(st.st_mode);
    if (exists && S_ISDIR(st.st_mode))
        return NF_BAD_PATH;
    if (exists && !link && !S_ISREG(st.st_mode))
        return NF_BAD_PATH;
    if (exists && !link && access(path.c_str(), W_OK) != 0)
        return errno_code(errno);
    size_t slash = path.rfind('/');
    std::string dir = slash == std::string::npos ? "." : path.substr(0, slash);
    if (dir.empty())
        dir = "/";
    temp_remove_stale(dir, ".nfcopy-"); // left by a copy that was killed
    static unsigned counter = 0;
    int fd = -1;
    for (int tries = 0; fd < 0 && tries < 100; tries++) {
        h->tmp_path =
            dir + "/.nfcopy-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
        fd = open(h->tmp_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        int e = errno;
        h->tmp_path.clear();
        return errno_code(e);
    }
    temp_track(h->tmp_path);
    if (exists && !link)
        fchmod(fd, st.st_mode & 07777);
    h->fp = fdopen(fd, "w");
    if (!h->fp) {
        int e = errno;
        close(fd);
        drop_tmp(h);
        return errno_code(e);
    }
    h->final_path = path;
    return 0;
}

// Opens a local file for reading: only a regular file is taken. The open
// does not wait for a FIFO's writer, and a device is never read.
FILE* open_local_read(const std::string& path, int* code) {
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *code = errno_code(errno);
        return nullptr;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        *code = NF_BAD_PATH;
        return nullptr;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    FILE* fp = fdopen(fd, "r");
    if (!fp) {
        *code = errno_code(errno);
        close(fd);
    }
    return fp;
}

NfHandle* open_local(const std::string& path, const char* mode, int* code) {
    bool reading = strcmp(mode, "r") == 0, writing = strcmp(mode, "w") == 0;
    if (path == "-" && !reading && !writing) {
        *code = NF_BAD_STD_MODE;
        return nullptr;
    }
    NfHandle* h = new_handle(NF_LOCAL, code);
    if (!h)
        return nullptr;
    int rc = 0;
    if (path == "-") {
        h->fp = reading ? stdin : stdout;
        h->std_stream = true;
    } else if (writing) {
        rc = open_local_write(h, path);
    } else if (reading) {
        h->fp = open_local_read(path, &rc);
    } else {
        rc = NF_OPEN_OTHER; // a local file opens for "r" or "w" only
    }
    if (rc != 0) {
        if (h->fp)
            fclose(h->fp);
        delete h;
        *code = rc;
        return nullptr;
    }
    return h;
}

} // namespace

in_addr_t determine_inet_address(const std::string& host) {
    if (host.empty())
        return 0;
    if (isdigit(static_cast<unsigned char>(host[0]))) {
        in_addr a{};
        if (inet_pton(AF_INET, host.c_str(), &a) != 1 || a.s_addr == INADDR_NONE)
            return 0;
        return a.s_addr;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* res = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &res) != 0 || !res)
        return 0;
    in_addr_t a = reinterpret_cast<sockaddr_in*>(res->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(res);
    return a;
}

NfHandle* nfopen(const std::string& host, const std::string& path, const char* mode, int* code) {
    *code = 0;
    if (!mode)
        mode = "";
    if (!host.empty())
        return open_remote(host, path, mode, code);
    return open_local(path, mode, code);
}

int nfread(NfHandle* h, void* buf, int size) {
    if (h && h->kind == NF_LOCAL) {
        size_t n = fread(buf, 1, size > 0 ? static_cast<size_t>(size) : 0, h->fp);
        if (n == 0 && ferror(h->fp))
            return NF_READ_FAIL;
        return static_cast<int>(n);
    }
    if (h && h->kind == NF_REMOTE) {
        int n = bfs_read(h->bfs, static_cast<uint8_t*>(buf), size);
        return n < 0 ? NF_READ_FAIL : n;
    }
    return NF_BAD_HANDLE;
}

int nfwrite(NfHandle* h, const void* buf, int size) {
    if (h && h->kind == NF_LOCAL) {
        size_t want = size > 0 ? static_cast<size_t>(size) : 0;
        if (fwrite(buf, 1, want, h->fp) < want) {
            h->error = nf_local_errno = errno;
            return NF_WRITE_FAIL;
        }
        return 0;
    }
    if (h && h->kind == NF_REMOTE)
        return bfs_write(h->bfs, static_cast<const uint8_t*>(buf), size) != 0 ? NF_WRITE_FAIL : 0;
    return NF_BAD_HANDLE;
}

int nfclose(NfHandle* h) {
    if (!h || (h->kind != NF_LOCAL && h->kind != NF_REMOTE))
        return NF_BAD_HANDLE;
    int rc = 0;
    if (h->kind == NF_REMOTE) {
        rc = bfs_close(h->bfs) != 0 ? NF_CLOSE_FAIL : 0;
    } else if (h->std_stream) {
        rc = fflush(h->fp) != 0 ? NF_CLOSE_FAIL : 0;
    } else {
        // the data reach the disk before the new file replaces the old one
        bool synced = h->tmp_path.empty() || (fflush(h->fp) == 0 && fsync(fileno(h->fp)) == 0);
        if (!synced)
            nf_local_errno = errno;
        rc = fclose(h->fp) != 0 || !synced ? NF_CLOSE_FAIL : 0;
        if (rc != 0 && synced)
            nf_local_errno = errno;
        if (!h->tmp_path.empty()) {
            if (rc == 0 && rename(h->tmp_path.c_str(), h->final_path.c_str()) != 0) {
                nf_local_errno = errno;
                rc = NF_CLOSE_FAIL;
            }
            if (rc != 0)
                unlink(h->tmp_path.c_str());
            temp_untrack(h->tmp_path);
        }
    }
    delete h;
    return rc;
}

void nfdiscard(NfHandle* h) {
    if (!h)
        return;
    if (h->kind == NF_REMOTE && (h->bfs->flags & BFS_F_WRITE)) {
        bfs_abandon(h->bfs);
        delete h;
        return;
    }
    if (h->kind == NF_LOCAL && !h->tmp_path.empty()) {
        fclose(h->fp);
        drop_tmp(h);
        delete h;
        return;
    }
    nfclose(h);
}
