// Rewriting the catalogue files that the program changes itself: the site
// defaults and the user-defined groups of the function files. These work on
// file contents in memory; writing them back goes through file_replace.
#pragma once

#include <set>
#include <string>
#include <vector>

// Splits content into the pieces the readers see: lines of at most
// max_chars characters, each keeping its line end.
std::vector<std::string> split_pieces(const std::string& content, int max_chars);

// mib_site_def.dat with the default of id set to value (value given) or
// removed (value null). Comment, blank and unparsable lines stay as they
// are; every other default line comes out as "%d | %s\n".
std::string rewrite_site_def(const std::string& old, int id, const std::string* value);
// Longest line the site default reader takes whole, line end included.
constexpr int SITE_DEF_LINE_MAX = 255;

// The function files: which of them a line pattern belongs to.
enum FuncFileKind { FFK_NAME = 0, FFK_NUM = 1 }; // "%d %*s %s" / "%d %*s %d"
constexpr int FUNC_FILE_LINE_MAX = 79;

// Function ids used by the data lines of mib_func.dat; malformed lines are
// reported on standard output under file_name.
std::set<int> func_ids_in_use(const std::string& content, const std::string& file_name);
// Lowest id from 128 to 511 that used does not hold; -1 when none is free.
int lowest_free_udf_id(const std::set<int>& used);
// The content without the lines of func_id; other data lines normalised to
// "%d | %s\n" or "%d | %d\n", comment, blank and unparsable lines unchanged.
std::string drop_func_lines(const std::string& content, FuncFileKind kind, int func_id);
// The content with lines appended (a missing final line end is added first).
std::string append_lines(const std::string& content, const std::vector<std::string>& lines);
