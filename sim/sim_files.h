// The remote file service of a load host (program 1, version 0): open,
// read block, write block, close and release over UDP, serving the files
// under one root directory only.
#pragma once

#include <netinet/in.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "sim_profile.h"

// Message classes, types and codes of the call protocol.
enum FsMsgClass { FS_CLASS_CALL = 0x0020, FS_CLASS_REPLY = 0x0021 };
enum FsMsgType { FS_CALL = 0, FS_REJECT = 1, FS_RETURN = 2, FS_ABORT = 3 };
enum FsProc { FS_OPEN = 0, FS_READ = 1, FS_WRITE = 2, FS_CLOSE = 3, FS_RELEASE = 4 };
// Abort codes this service sends.
enum FsAbort {
    FSA_NO_FILE = 0,    // the file (or its folder) does not exist
    FSA_DENIED = 1,     // permission denied, or a path that leaves the root
    FSA_BAD_PATH = 2,   // a directory, an empty or malformed path, a bad mode
    FSA_NOT_OPEN = 3,   // no open transfer for this caller
    FSA_END = 4,        // read past the end of the file
    FSA_WRONG_MODE = 5, // read on a write transfer or write on a read transfer
    FSA_IO = 7,         // the file could not be written or moved into place
    FSA_BAD_BLOCK = 8   // a block longer than 512 bytes or shorter than its count
};
// Reject reasons.
enum FsReject { FSR_PROGRAM = 0, FSR_VERSION = 1, FSR_PROCEDURE = 2 };

constexpr int FS_BLOCK = 512;

struct FileSession {
    sockaddr_in peer{};
    bool writing = false;
    bool closed = false;
    int fd = -1;
    std::string target;   // file served or replaced
    std::string tmp_path; // write transfers: the new content until close
    uint32_t last_id = 0;
    std::string last_reply; // resent when the same call comes again
    bool has_reply = false;
    std::chrono::steady_clock::time_point used;
};

class LoadHost {
  public:
    LoadHost() = default;
    ~LoadHost();
    LoadHost(const LoadHost&) = delete;
    LoadHost& operator=(const LoadHost&) = delete;

    // Sets the root (must be an existing directory) and faults. 0 or -1.
    int init(const std::string& root, const FaultSettings& faults, std::string* error);
    // Handles one datagram from a caller; appends the replies to send.
    void handle(const unsigned char* data, size_t len, const sockaddr_in& from,
                std::vector<std::string>* replies);
    // Ends transfers idle for longer than the given time.
    void expire(std::chrono::seconds idle);

    FaultSettings faults;
    std::mt19937 rng;

  private:
    FileSession* find(const sockaddr_in& peer);
    void drop(size_t index);
    std::string open_transfer(uint32_t id, const sockaddr_in& from, const unsigned char* args,
                              size_t len);
    std::string read_block(FileSession* s, uint32_t id, const unsigned char* args, size_t len);
    std::string write_block(FileSession* s, uint32_t id, const unsigned char* args, size_t len);
    std::string close_transfer(FileSession* s, uint32_t id);
    // -1 with the full path, or the abort code that refuses the path.
    int resolve(const std::string& path, bool writing, std::string* full);

    std::string root_; // real path of the root
    std::vector<FileSession> sessions_;
    unsigned tmp_counter_ = 0;
};

// Builds reply messages (exposed for the tests' clients).
std::string fs_reply(uint32_t id, int type, const std::string& body);
std::string fs_u16(unsigned v);
