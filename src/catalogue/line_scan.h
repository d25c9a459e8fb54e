// Line-oriented reading shared by every data file reader: bounded reads in
// pieces, comment and blank line rules, a small field scanner for the
// "value separator value ..." patterns, and the invalid-line report.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// An open file closed on scope exit.
struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f)
            std::fclose(f);
    }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;
// Opens a file; for reading, only a regular file: a FIFO, a device or a
// folder is refused at once (never waited on or read) with a message on
// standard error naming it, and errno EINVAL.
FilePtr open_file(const std::string& path, const char* mode);

// Opens path for writing (O_WRONLY | O_CREAT | flags) and empties it, but
// only a regular file, new or existing: a FIFO, a device or a folder is
// refused at once, never waited on or written, with a message on standard
// error naming it and errno EINVAL. The descriptor, or -1.
int open_regular_for_write(const std::string& path, int flags, unsigned mode);

// The text with every byte other than printable ASCII, tab and line end
// shown as \xNN, so that a message quoting a damaged line cannot drive the
// terminal.
std::string printable_text(const std::string& text);

// Reads the next piece of at most max_chars characters (a line, or part of
// a longer line), keeping its line end as read. False at end of file.
bool read_piece(std::FILE* f, int max_chars, std::string* piece);

// True for a piece that starts with '#'.
bool is_comment_line(const std::string& line);
// True for a piece that holds only white space.
bool is_blank_line(const std::string& line);

// Field kinds of a scan pattern.
enum ScanField {
    SF_INT,  // decimal integer with optional sign (like %d)
    SF_SKIP, // one word, not kept (like %*s)
    SF_WORD, // one word (like %s)
    SF_REST  // the rest of the line up to the line end (like " %[^\n]")
};

struct ScanValue {
    int num = 0;
    std::string text;
};

// Scans line with the pattern; returns the number of kept fields that were
// read (SF_SKIP does not count), stopping at the first field that fails.
int scan_fields(const std::string& line, const std::vector<ScanField>& pattern,
                std::vector<ScanValue>* out);

// Reports a malformed line on standard output:
// "\n\nInvalid <file> data line: \n\t<line>\n\n".
void report_invalid_line(const std::string& file_name, const std::string& line);
