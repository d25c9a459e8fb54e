// Script files: one parameter setting per line ("name | type | port |
// value") behind the script version header. Reading, checking, formatting,
// the sorted reading used by the file comparison, and the safe replacement
// of a script file.
#pragma once

#include <optional>
#include <string>
#include <vector>

constexpr int SCR_LINE_MAX = 255;                // characters of one line
constexpr long SCR_FILE_MAX = 64L * 1024 * 1024; // bytes a script may have
constexpr int SCR_WILDCARD = -1;                 // port number of a "*" line

extern const char* const SCR_DIR; // default folder under the installation
constexpr const char* MSG_NO_SCRIPT = "You must enter or select a script file.";
constexpr const char* MSG_CANNOT_OPEN = "Could not open file.";

// One parameter line as read.
struct ScriptLine {
    std::string raw;     // the line without its line end
    std::string name;    // catalogue name
    std::string port_kw; // port type keyword
    std::string port_text;
    std::string value;  // "" stands for the two-double-quote form
    int fields = 0;     // fields found (4 for a usable line)
    int mib_index = -1; // catalogue id, -1 when unknown
    int port_type = -1; // code of the keyword, -1 when unknown
    int port = 0;       // number, SCR_WILDCARD for "*", -2 when not a number
};

// A script file read into memory: its parameter lines (comments and blank
// lines left out) in file order.
struct ScriptFile {
    std::vector<ScriptLine> lines;
};

// Results of read_script.
enum ScrRead { SCR_OK = 0, SCR_NO_FILE = -4, SCR_BAD_HEADER = -5 };

// Reads a script: the path must name a regular file (a directory or a fifo
// is refused without blocking), at most SCR_FILE_MAX bytes, starting with
// the script header. A missing final line end is accepted.
int read_script(const std::string& path, ScriptFile* out);
// The whole file as text for the viewer (NUL bytes shown as blanks).
int read_script_text(const std::string& path, std::string* out);

// Splits one line into its fields and resolves name, keyword and port.
ScriptLine parse_script_line(const std::string& raw);
// The reason a line cannot be executed, "" when it can: "Invalid script
// file line.", "Unknown Parameter Name", "Invalid Integer Format",
// "Invalid IP Address Format", "Invalid Enumerated Type".
std::string check_script_line(const ScriptLine& line);

// The header the script files start with.
std::string script_header();
// "name | kw | port | value" (an empty value as ""), or nothing when the
// line would be longer than SCR_LINE_MAX.
std::optional<std::string> format_script_line(const std::string& name, const std::string& port_kw,
                                              const std::string& port, const std::string& value);
// Port column text: "*" for SCR_WILDCARD, else the number.
std::string script_port_text(int port);

// Sorted entry of a script (for the file comparison).
struct SortEntry {
    int mib_index = 0;
    std::string name;
    std::string value; // as written, "" kept as two double quotes
    int port_type = 0;
    int port = 0; // SCR_WILDCARD for "*"
};
// The valid, known lines ordered by name (bytewise), port type and port;
// equal entries keep their file order. O(n log n). Nothing when the file is
// not a regular file, cannot be read or lacks the header. Invalid lines
// and unknown names are reported on standard output / in *report.
std::optional<std::vector<SortEntry>> sort_script(const std::string& path, std::string* report);

// File name without directories.
std::string base_name(const std::string& path);

// Writes content to path through the catalogue's safe replacement (a new
// file created exclusively in the same folder, synced, then renamed over
// path): a failed write leaves an existing file unchanged. 0, or -1.
int replace_file_safely(const std::string& path, const std::string& content);
