#include "events/event_log.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <fstream>

#include "ui/app_globals.h"

EventLog::EventLog(std::string folder, long max_bytes, int keep)
    : folder_(std::move(folder)), max_bytes_(max_bytes), keep_(keep) {}

EventLog::~EventLog() {
    if (file_)
        std::fclose(file_);
}

std::string event_log_folder() {
    return mm_path("data/events");
}

std::string event_log_path(const std::string& folder, int index) {
    std::string p = folder + "/events.log";
    return index > 0 ? p + "." + std::to_string(index) : p;
}

void EventLog::rotate() {
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
    std::remove(event_log_path(folder_, keep_).c_str());
    for (int k = keep_ - 1; k >= 0; --k)
        std::rename(event_log_path(folder_, k).c_str(), event_log_path(folder_, k + 1).c_str());
    if (keep_ <= 0)
        std::remove(event_log_path(folder_, 0).c_str());
}

bool EventLog::append(const std::string& line) {
    long need = static_cast<long>(line.size()) + 1;
    if (file_ && size_ > 0 && size_ + need > max_bytes_)
        rotate();
    if (!file_) {
        if (mkdir(folder_.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
        std::string path = event_log_path(folder_, 0);
        file_ = std::fopen(path.c_str(), "a");
        if (!file_)
            return false;
        std::fseek(file_, 0, SEEK_END);
        size_ = std::ftell(file_);
        if (size_ > 0 && size_ + need > max_bytes_) {
            rotate();
            file_ = std::fopen(path.c_str(), "a");
            if (!file_)
                return false;
            size_ = 0;
        }
    }
    bool ok = std::fputs(line.c_str(), file_) >= 0 && std::fputc('\n', file_) != EOF &&
              std::fflush(file_) == 0;
    size_ += need;
    return ok;
}

std::vector<std::string> read_event_log(const std::string& folder, int keep) {
    std::vector<std::string> lines;
    for (int k = keep; k >= 0; --k) {
        std::ifstream in(event_log_path(folder, k));
        std::string line;
        while (std::getline(in, line))
            if (!line.empty())
                lines.push_back(line);
    }
    return lines;
}
