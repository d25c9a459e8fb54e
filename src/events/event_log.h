// The event log in the data folder: one JSON line per event in
// data/events/events.log. Rotation: before a line would take the file past
// its size bound it becomes events.log.1 (events.log.1 becomes .2, and so
// on; the oldest, events.log.KEEP, goes), so the log never holds more than
// (KEEP + 1) x the bound.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

constexpr long EVENT_LOG_MAX_BYTES = 1048576; // one file
constexpr int EVENT_LOG_KEEP = 4;             // rotated files kept

class EventLog {
  public:
    // The log's folder (created when missing) and its bounds.
    explicit EventLog(std::string folder, long max_bytes = EVENT_LOG_MAX_BYTES,
                      int keep = EVENT_LOG_KEEP);
    ~EventLog();
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;

    // Appends one line (a line end is added), rotating first when needed.
    // False when the file cannot be written (the event stays in memory).
    bool append(const std::string& line);
    const std::string& folder() const { return folder_; }

  private:
    void rotate();
    std::string folder_;
    long max_bytes_;
    int keep_;
    FILE* file_ = nullptr;
    long size_ = 0;
};

// The log's folder under the installation directory (data/events).
std::string event_log_folder();
// The path of the log file (index 0) or of a rotated one (index k: ".k").
std::string event_log_path(const std::string& folder, int index);
// Every line of the log, oldest first (rotated files, then the current one).
std::vector<std::string> read_event_log(const std::string& folder, int keep = EVENT_LOG_KEEP);
