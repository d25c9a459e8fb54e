// Bounds of one data file read: how many lines (pieces) and bytes a reader
// takes, and how many invalid lines it reports. Every data file the program
// reads is far smaller than these (the largest shipped one, "mib.dat", has
// about 600 lines and 80 KB, and no table holds more than 3000 entries), so
// only a damaged or endless file (a link to a device, say) reaches them.
#pragma once

#include <string>

constexpr long DATA_FILE_MAX_LINES = 65536;
constexpr long DATA_FILE_MAX_BYTES = 8L * 1024 * 1024;
constexpr int DATA_FILE_MAX_INVALID_SHOWN = 20;

class LineBudget {
  public:
    // file_name is the name the messages show.
    explicit LineBudget(std::string file_name) : file_(std::move(file_name)) {}
    // Prints the summary of invalid lines that were not shown.
    ~LineBudget();
    LineBudget(const LineBudget&) = delete;
    LineBudget& operator=(const LineBudget&) = delete;

    // Counts a piece just read; false (with one message naming the file)
    // once the file is larger than the bounds: the reader stops there.
    bool take(const std::string& piece);
    // Reports an invalid line, as report_invalid_line does, for the first
    // DATA_FILE_MAX_INVALID_SHOWN of the file; later ones are only counted.
    void invalid(const std::string& line);

  private:
    std::string file_;
    long lines_ = 0;
    long bytes_ = 0;
    int invalid_ = 0;
    bool over_ = false;
};
