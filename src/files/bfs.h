// Remote file transfers: open, numbered block transfer, byte-stream
// buffering and close over the call layer, against the remote file service
// (program 1, version 0) of a load host on UDP port 121. The argument and
// reply layouts of the five procedures are defined here once, for the
// client below and the simulated service alike.
#pragma once

#include <netinet/in.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "files/erpc.h"

constexpr int BFS_PORT = 121;
constexpr uint32_t BFS_PROGRAM = 1;
constexpr unsigned BFS_VERSION = 0;
constexpr size_t BFS_BLOCK = 512;   // data bytes of one block
constexpr size_t BFS_OPEN_ARGS = 6; // u16 0, u16 mode, u16 path length
constexpr size_t BFS_READ_RES = 6;  // type, 0, count or code (reply offsets 6..11)
// The longest path one open call carries.
constexpr size_t BFS_PATH_MAX = ERPC_MSG_MAX - ERPC_CALL_HDR - BFS_OPEN_ARGS;
// Block numbers are 16 bits: a transfer has at most 65536 blocks. A file
// must be smaller than 65536 blocks of 512 bytes, because a reader that has
// taken the last of 65536 full blocks cannot ask whether anything follows.
constexpr long BFS_MAX_BLOCKS = 65536;
constexpr long BFS_FILE_LIMIT = BFS_MAX_BLOCKS * static_cast<long>(BFS_BLOCK); // 33554432

enum BfsProc { BFS_OPEN = 0, BFS_READ = 1, BFS_WRITE = 2, BFS_CLOSE = 3, BFS_RELEASE = 4 };
enum BfsMode { BFS_MODE_WRITE = 0, BFS_MODE_READ1 = 1, BFS_MODE_READ = 2 };
// Abort codes of the service.
enum BfsAbort {
    BFSA_NO_FILE = 0,    // the file or its folder does not exist
    BFSA_DENIED = 1,     // permission denied
    BFSA_BAD_PATH = 2,   // a directory, an empty or malformed path, a bad mode
    BFSA_NOT_OPEN = 3,   // no open transfer (or a read error)
    BFSA_END = 4,        // read past the end of the file
    BFSA_WRONG_MODE = 5, // read on a write transfer or write on a read transfer
    BFSA_IO = 7,         // the file could not be written or put in place
    BFSA_BAD_BLOCK = 8   // a block longer than 512 bytes or shorter than its count
};

// Transfer result codes.
enum BfsCode {
    BFS_NO_REPLY = -1, // no matching reply in time, a receive failure, a malformed reply
    BFS_NO_MEMORY = -2,
    BFS_NO_SOCKET = -3,
    BFS_NO_BIND = -4,
    BFS_BAD_MODE = -5,    // open mode other than "r" or "w"
    BFS_PATH_LONG = -6,   // the path does not fit one call: refused before sending
    BFS_OPEN_ABORT0 = -7, // open: no such file (or a write open rejected)
    BFS_OPEN_ABORT1 = -8, // open: permission denied
    BFS_OPEN_ABORT2 = -9, // open: bad path
    BFS_ABORT_OTHER = -10,
    BFS_NOT_READING = -11, // also a read answered with abort 5
    BFS_NOT_WRITING = -12, // also a write answered with abort 5
    BFS_READ_ABORT3 = -13,
    BFS_WRITE_ABORT7 = -14,
    BFS_WRITE_ABORT8 = -15,
    BFS_NOT_OPEN = -16,    // close of a handle open for neither
    BFS_BLOCK_LIMIT = -17, // the next block number would pass 65535: nothing is sent
    BFS_READ_REJECT = -22,
    BFS_WRITE_REJECT = -32
};

// Timing of every call: fs_timeout total seconds, fs_delay seconds between
// sends. Set per copy by nfcopy.
extern int fs_timeout;
extern int fs_delay;

enum BfsFlags { BFS_F_READ = 1, BFS_F_EOF = 2, BFS_F_WRITE = 16 };

struct BfsHandle {
    int sock = -1;
    sockaddr_in server{}; // the service; its port follows the sender of each reply
    uint32_t call_id = 0; // id of the last call; the open's is unpredictable
    ErpcDrops drops;      // datagrams dropped while waiting for replies
    int flags = 0;
    uint8_t buf[2 * BFS_BLOCK]{};
    size_t rd_pos = 0;   // reading: next byte to hand out
    size_t rd_avail = 0; // reading: bytes left in buf
    size_t wr_held = 0;  // writing: bytes of a partial block in buf
    uint64_t offset = 0; // bytes read, or bytes handed to write-block calls
    size_t blk_size = 0; // reading: learned from the first non-empty block
    long blocks = 0;     // block calls answered (progress)
    int last_code = 0;   // the transfer code of the last failed read or write
};

// Under -debug, the end of a transfer that dropped datagrams writes one
// line saying how many and why to standard error.
//
// Opens path on the service at addr (port 121) for "r" or "w"; a read open
// rejected with mode 2 is tried again with mode 1. The handle, or nullptr
// with *code set to a transfer code (0 on success).
BfsHandle* bfs_open(const in_addr* addr, const std::string& path, const char* mode, int* code);
// One block into buf (at most BFS_BLOCK bytes): the byte count, 0 at the
// end of the file, or a transfer code.
int bfs_block_read(BfsHandle* h, unsigned block, uint8_t* buf);
// One block of len bytes (at most BFS_BLOCK): 0 or a transfer code.
int bfs_block_write(BfsHandle* h, unsigned block, const uint8_t* data, size_t len);
// Bytes delivered (0 at the end) or a transfer code; -17 when the file
// goes on past the last block number.
int bfs_read(BfsHandle* h, uint8_t* buf, int size);
// 0 or a transfer code; a partial block is kept until the next write or
// close. -17 when the data would need a block number past 65535.
int bfs_write(BfsHandle* h, const uint8_t* data, int size);
// Writes a held partial block, closes and releases; frees the handle. 0,
// the code of the final block write or of a refused close of a write
// transfer, or -16.
int bfs_close(BfsHandle* h);
// Gives a transfer up: release only (a write transfer's data is not put in
// place), then frees the handle.
void bfs_abandon(BfsHandle* h);

// ---- Layouts of the procedures' arguments and replies --------------------------

std::string bfs_open_args(unsigned mode, const std::string& path);
// 0 with mode and path, or -1 when args are too short for their path length.
int bfs_parse_open_args(const uint8_t* args, size_t len, unsigned* mode, std::string* path);
// Read reply results: u16 count, then the data.
std::string bfs_read_results(const uint8_t* data, size_t count);
// Write arguments: u16 block, u16 count, the data.
int bfs_parse_write_args(const uint8_t* args, size_t len, unsigned* block, size_t* count,
                         const uint8_t** data);
