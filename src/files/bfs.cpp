// Remote file transfers over the call layer (see bfs.h).
#include "files/bfs.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "ui/app_globals.h"

int fs_timeout = 9;
int fs_delay = 2;

namespace {

// One call of the file program with a reply: bytes after the reply's id and
// class, or -1.
int bfs_call(BfsHandle* h, unsigned proc, int argc, iovec* args, int resc, iovec* res) {
    return erpc_callresp(h->sock, &h->server, h->call_id, BFS_PROGRAM, BFS_VERSION, proc, argc,
                         args, fs_delay, fs_timeout, resc, res, nullptr, &h->drops);
}

// Says under -debug what the transfer dropped.
void report_drops(const BfsHandle* h) {
    if (!debug_flag || (h->drops.foreign == 0 && h->drops.stray == 0))
        return;
    char addr[INET_ADDRSTRLEN] = "";
    inet_ntop(AF_INET, &h->server.sin_addr, addr, sizeof addr);
    fprintf(stderr,
            "remote file service %s: dropped %ld datagrams from other addresses and %ld with "
            "another call id or class\n",
            addr, h->drops.foreign, h->drops.stray);
}

void release_handle(BfsHandle* h) {
    report_drops(h);
    if (h->sock >= 0)
        close(h->sock);
    delete h;
}

// Abort codes of a read-block reply as transfer codes (abort 4 is the end).
int read_abort_code(unsigned abort) {
    switch (abort) {
    case BFSA_NOT_OPEN:
        return BFS_READ_ABORT3;
    case BFSA_END:
        return 0;
    case BFSA_WRONG_MODE:
        return BFS_NOT_READING;
    default:
        return BFS_ABORT_OTHER;
    }
}

int write_abort_code(unsigned abort) {
    switch (abort) {
    case BFSA_WRONG_MODE:
        return BFS_NOT_WRITING;
    case BFSA_IO:
        return BFS_WRITE_ABORT7;
    case BFSA_BAD_BLOCK:
        return BFS_WRITE_ABORT8;
    default:
        return BFS_ABORT_OTHER;
    }
}

int open_abort_code(unsigned abort) {
    static const int codes[] = {BFS_OPEN_ABORT0, BFS_OPEN_ABORT1, BFS_OPEN_ABORT2};
    return abort < 3 ? codes[abort] : BFS_ABORT_OTHER;
}

// The block number of a byte offset, or -1 when it does not fit 16 bits.
long block_of(uint64_t offset, size_t block_size) {
    uint64_t block = block_size ? offset / block_size : 0;
    return block < static_cast<uint64_t>(BFS_MAX_BLOCKS) ? static_cast<long>(block) : -1;
}

int failed(BfsHandle* h, int code) {
    h->last_code = code;
    return code;
}

// Writes len bytes as the block at the handle's offset: 0 or a transfer
// code (the number is never cut to 16 bits).
int write_at_offset(BfsHandle* h, const uint8_t* data, size_t len) {
    long block = block_of(h->offset, BFS_BLOCK);
    if (block < 0)
        return failed(h, BFS_BLOCK_LIMIT);
    int rc = bfs_block_write(h, static_cast<unsigned>(block), data, len);
    return rc != 0 ? failed(h, rc) : 0;
}

// Sends the open call until it is answered; 0 or a transfer code.
int open_call(BfsHandle* h, const std::string& path, unsigned mode) {
    for (;;) {
        uint8_t args[BFS_OPEN_ARGS];
        set_short(args, 0);
        set_short(args + 2, mode);
        set_short(args + 4, static_cast<unsigned>(path.size()));
        iovec a[3] = {{}, {args, sizeof args}, {const_cast<char*>(path.data()), path.size()}};
        uint8_t rb[BFS_READ_RES];
        iovec r[2] = {{}, {rb, sizeof rb}};
        int n = bfs_call(h, BFS_OPEN, 2, a, 1, r);
        if (n < 2)
            return BFS_NO_REPLY; // no reply, or one without its type
        unsigned type = get_short(rb);
        if (type == ERPC_REJECT && mode == BFS_MODE_READ) {
            mode = BFS_MODE_READ1; // the service does not know mode 2
            continue;
        }
        if (type == ERPC_REJECT)
            return BFS_OPEN_ABORT0;
        if (type == ERPC_ABORT)
            return n < 6 ? BFS_NO_REPLY : open_abort_code(get_short(rb + 4));
        return 0;
    }
}

} // namespace

BfsHandle* bfs_open(const in_addr* addr, const std::string& path, const char* mode, int* code) {
    BfsHandle* h = new (std::nothrow) BfsHandle;
    if (!h) {
        *code = BFS_NO_MEMORY;
        return nullptr;
    }
    int rc = 0;
    unsigned open_mode = 0;
    h->sock = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_addr.s_addr = htonl(INADDR_ANY);
    if (h->sock < 0)
        rc = BFS_NO_SOCKET;
    else if (bind(h->sock, reinterpret_cast<sockaddr*>(&any), sizeof any) != 0)
        rc = BFS_NO_BIND;
    else if (!mode || (strcmp(mode, "r") != 0 && strcmp(mode, "w") != 0))
        rc = BFS_BAD_MODE;
    else if (path.size() > BFS_PATH_MAX)
        rc = BFS_PATH_LONG;
    if (rc == 0) {
        bool reading = mode[0] == 'r';
        open_mode = reading ? BFS_MODE_READ : BFS_MODE_WRITE;
        h->server.sin_family = AF_INET;
        h->server.sin_addr = *addr;
        h->server.sin_port = htons(BFS_PORT);
        h->call_id = erpc_first_id();
        rc = open_call(h, path, open_mode);
        h->flags = reading ? BFS_F_READ : BFS_F_WRITE;
    }
    *code = rc;
    if (rc != 0) {
        release_handle(h);
        return nullptr;
    }
    return h;
}

int bfs_block_read(BfsHandle* h, unsigned block, uint8_t* buf) {
    h->call_id++;
    uint8_t arg[2];
    set_short(arg, block & 0xffff);
    iovec a[2] = {{}, {arg, sizeof arg}};
    uint8_t rb[BFS_READ_RES];
    iovec r[3] = {{}, {rb, sizeof rb}, {buf, BFS_BLOCK}};
    int n = bfs_call(h, BFS_READ, 1, a, 2, r);
    if (n < 6)
        return BFS_NO_REPLY; // a reply without its code or count is no data
    switch (get_short(rb)) {
    case ERPC_RETURN: {
        size_t count = get_short(rb + 4);
        // the count must be backed by bytes the datagram carried
        if (count > BFS_BLOCK || count > static_cast<size_t>(n) - BFS_READ_RES)
            return BFS_NO_REPLY;
        h->blocks++;
        return static_cast<int>(count);
    }
    case ERPC_ABORT:
        return read_abort_code(get_short(rb + 4));
    case ERPC_REJECT:
        return BFS_READ_REJECT;
    default:
        return BFS_NO_REPLY;
    }
}

int bfs_block_write(BfsHandle* h, unsigned block, const uint8_t* data, size_t len) {
    h->call_id++;
    uint8_t arg[4];
    set_short(arg, block & 0xffff);
    set_short(arg + 2, static_cast<unsigned>(len));
    iovec a[3] = {{}, {arg, sizeof arg}, {const_cast<uint8_t*>(data), len}};
    uint8_t rb[BFS_READ_RES];
    iovec r[2] = {{}, {rb, sizeof rb}};
    int n = bfs_call(h, BFS_WRITE, 2, a, 1, r);
    if (n < 2)
        return BFS_NO_REPLY;
    switch (get_short(rb)) {
    case ERPC_RETURN:
        h->blocks++;
        return 0;
    case ERPC_ABORT:
        return n < 6 ? BFS_NO_REPLY : write_abort_code(get_short(rb + 4));
    case ERPC_REJECT:
        return BFS_WRITE_REJECT;
    default:
        return BFS_NO_REPLY;
    }
}

int bfs_read(BfsHandle* h, uint8_t* buf, int size) {
    if (!(h->flags & BFS_F_READ))
        return BFS_NOT_READING;
    int done = 0;
    while (done < size) {
        if (h->rd_avail == 0 && !(h->flags & BFS_F_EOF)) {
            // Never wrap to block 0: that would read the file again forever.
            long block = block_of(h->offset, h->blk_size);
            if (block < 0)
                return failed(h, BFS_BLOCK_LIMIT);
            int n = bfs_block_read(h, static_cast<unsigned>(block), h->buf);
            if (n < 0)
                return failed(h, n);
            if (n == 0)
                h->flags |= BFS_F_EOF;
            if (n > 0 && h->blk_size == 0)
                h->blk_size = static_cast<size_t>(n);
            if (n > 0 && static_cast<size_t>(n) != h->blk_size)
                h->flags |= BFS_F_EOF; // a short block is the last one
            h->rd_pos = 0;
            h->rd_avail = static_cast<size_t>(n);
            h->offset += static_cast<uint64_t>(n);
        }
        size_t take = std::min(static_cast<size_t>(size - done), h->rd_avail);
        if (take == 0)
            break;
        memcpy(buf + done, h->buf + h->rd_pos, take);
        h->rd_pos += take;
        h->rd_avail -= take;
        done += static_cast<int>(take);
    }
    return done;
}

int bfs_write(BfsHandle* h, const uint8_t* data, int size) {
    if (!(h->flags & BFS_F_WRITE))
        return BFS_NOT_WRITING;
    size_t left = size > 0 ? static_cast<size_t>(size) : 0;
    if (h->wr_held > 0) {
        size_t take = std::min(left, BFS_BLOCK - h->wr_held);
        memcpy(h->buf + h->wr_held, data, take);
        h->wr_held += take;
        data += take;
        left -= take;
        if (h->wr_held == BFS_BLOCK) {
            int rc = write_at_offset(h, h->buf, BFS_BLOCK);
            if (rc != 0)
                return rc;
            h->offset += BFS_BLOCK;
            h->wr_held = 0;
        }
    }
    for (; left >= BFS_BLOCK; data += BFS_BLOCK, left -= BFS_BLOCK) {
        int rc = write_at_offset(h, data, BFS_BLOCK);
        if (rc != 0)
            return rc;
        h->offset += BFS_BLOCK;
    }
    if (left > 0) {
        memcpy(h->buf + h->wr_held, data, left);
        h->wr_held += left;
    }
    return 0;
}

int bfs_close(BfsHandle* h) {
    if (!(h->flags & (BFS_F_READ | BFS_F_WRITE)))
        return BFS_NOT_OPEN;
    int rc = 0;
    bool writing = h->flags & BFS_F_WRITE;
    if (writing && h->wr_held > 0) {
        rc = write_at_offset(h, h->buf, h->wr_held);
        h->offset += BFS_BLOCK;
        h->wr_held = 0;
    }
    if (rc != 0) {
        bfs_abandon(h); // without a close the service keeps the previous file
        return rc;
    }
    h->call_id++;
    iovec a[1] = {{}};
    uint8_t rb[BFS_READ_RES];
    iovec r[2] = {{}, {rb, sizeof rb}};
    int n = bfs_call(h, BFS_CLOSE, 0, a, 1, r);
    // A write transfer is only in place once its close is answered without
    // an abort; a read transfer does not depend on the answer.
    if (writing && n < 2)
        rc = BFS_NO_REPLY;
    else if (writing && get_short(rb) == ERPC_ABORT)
        rc = n < 6 ? BFS_ABORT_OTHER : write_abort_code(get_short(rb + 4));
    h->call_id++;
    erpc_call(h->sock, &h->server, h->call_id, BFS_PROGRAM, BFS_VERSION, BFS_RELEASE, 0, a);
    release_handle(h);
    return rc;
}

void bfs_abandon(BfsHandle* h) {
    h->call_id++;
    iovec a[1] = {{}};
    erpc_call(h->sock, &h->server, h->call_id, BFS_PROGRAM, BFS_VERSION, BFS_RELEASE, 0, a);
    release_handle(h);
}

std::string bfs_open_args(unsigned mode, const std::string& path) {
    return erpc_u16(0) + erpc_u16(mode) + erpc_u16(static_cast<unsigned>(path.size())) + path;
}

int bfs_parse_open_args(const uint8_t* args, size_t len, unsigned* mode, std::string* path) {
    if (len < BFS_OPEN_ARGS)
        return -1;
    size_t path_len = get_short(args + 4);
    if (path_len > len - BFS_OPEN_ARGS)
        return -1;
    *mode = get_short(args + 2);
    path->assign(reinterpret_cast<const char*>(args + BFS_OPEN_ARGS), path_len);
    return 0;
}

std::string bfs_read_results(const uint8_t* data, size_t count) {
    return erpc_u16(static_cast<unsigned>(count)) +
           std::string(reinterpret_cast<const char*>(data), count);
}

int bfs_parse_write_args(const uint8_t* args, size_t len, unsigned* block, size_t* count,
                         const uint8_t** data) {
    if (len < 4)
        return -1;
    *block = get_short(args);
    *count = get_short(args + 2);
    if (*count > BFS_BLOCK || *count > len - 4)
        return -1;
    *data = args + 4;
    return 0;
}
