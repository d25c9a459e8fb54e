// Replacing data files without ever leaving one half written: the new
// contents go to a temporary file beside the original, created exclusively
// under a name private to the run ("<tmp_name>.<pid>.<n>"; a file or link
// already at a name is never followed or reused, and a leftover of a
// crashed run or of another operator never blocks a change), written,
// flushed and synced, and only then renamed over the original.
// No shell command is run. Any failure leaves the original byte for byte as
// it was and removes the temporary file.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

enum FileReplaceResult {
    FR_OK = 0,
    FR_CREATE_FAILED = -1, // the temporary (or rollback) name could not be created
    FR_WRITE_FAILED = -2,  // writing or syncing the temporary file failed
    FR_RENAME_FAILED = -3  // the temporary file could not be put in place
};

// One file to replace: its path, the stem of its temporary file's name
// (same folder; the run's private suffix is added) and its new contents.
struct FileChange {
    std::string path;
    std::string tmp_name;
    std::string content;
};

// What failed: the result code, the path of the file concerned and the
// system's reason.
struct ReplaceFailure {
    int result = FR_OK;
    std::string file;
    std::string reason;
    bool rolled_back = true; // false only if a rollback itself failed
};

// Folder part of a path ("." when it has none) and the path of a sibling.
std::string dir_of(const std::string& path);
std::string sibling_path(const std::string& path, const std::string& name);

// Replaces one file. Returns FR_OK or a failure code (details in fail).
int replace_file_safely(const FileChange& change, ReplaceFailure* fail);

// Replaces several files so that either all change or none does: every
// temporary file is written first, each original gets a hard-linked
// rollback name (the temporary name + ".old"), then the files are renamed in the given
// order; when a rename fails, the files already replaced get their
// originals back. Returns FR_OK or the code of the first failure.
// rename_fn is the rename used (tests pass one that fails on a chosen call).
using RenameFn = int (*)(const char*, const char*);
int replace_files_together(const std::vector<FileChange>& changes, ReplaceFailure* fail,
                           RenameFn rename_fn = ::rename);

// Writes all of content to fd, retrying short writes and interruptions;
// false when a write fails.
bool write_all(int fd, const std::string& content);

// Reads a whole file; false when it cannot be opened or read.
bool read_whole_file(const std::string& path, std::string* content);
