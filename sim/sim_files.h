// The remote file service of a load host (program 1, version 0): open,
// read block, write block, close and release over UDP, serving the files
// under one root directory only. Messages, procedures, abort codes and
// argument layouts are the client's own (files/erpc.h, files/bfs.h).
#pragma once

#include <netinet/in.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "files/bfs.h"
#include "sim_profile.h"

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

    // The file_change fault: another writer changes a named file once,
    // after its first read transfer ends.
    void change_after_read(const std::string& target);
    // The store_damaged fault: one byte of the new content is spoilt.
    void damage_upload(int fd);

    std::string root_;                 // real path of the root
    std::vector<std::string> changed_; // file_change names already changed
    std::vector<FileSession> sessions_;
    unsigned tmp_counter_ = 0;
};
