#include "ops/script_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "catalogue/file_replace.h"
#include "catalogue/line_scan.h"
#include "catalogue/mib_catalogue.h"
#include "devices/mrx_list_file.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_values.h"

const char* const SCR_DIR = "data/mrx_scripts";

namespace {

// Opens without blocking (a fifo would otherwise wait for a writer) and
// accepts only regular files of bounded size.
int read_regular(const std::string& path, std::string* out) {
    if (path.empty())
        return SCR_NO_FILE;
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return SCR_NO_FILE;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > SCR_FILE_MAX) {
        ::close(fd);
        return SCR_NO_FILE;
    }
    out->clear();
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        out->append(buf, static_cast<size_t>(n));
        if (static_cast<long>(out->size()) > SCR_FILE_MAX)
            break;
    }
    ::close(fd);
    return static_cast<long>(out->size()) > SCR_FILE_MAX ? SCR_NO_FILE : SCR_OK;
}

bool all_digits(const std::string& s) {
    return !s.empty() && s.size() < 8 &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

std::string script_header() {
    return version_header(DFK_SCRIPT) + "#\n";
}

std::string base_name(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

ScriptLine parse_script_line(const std::string& raw) {
    ScriptLine l;
    l.raw = raw;
    std::vector<ScanValue> v;
    // A line longer than a script line or holding a NUL byte is not a line
    // the program wrote; it counts as unparsable.
    if (raw.size() > SCR_LINE_MAX || raw.find('\0') != std::string::npos)
        return l;
    l.fields =
        scan_fields(raw, {SF_WORD, SF_SKIP, SF_WORD, SF_SKIP, SF_WORD, SF_SKIP, SF_REST}, &v);
    if (l.fields < 4)
        return l;
    l.name = v[0].text;
    l.port_kw = v[1].text;
    l.port_text = v[2].text;
    l.value = v[3].text;
    if (!l.value.empty() && l.value.back() == '\r')
        l.value.pop_back();
    if (l.value == "\"\"")
        l.value.clear();
    int id = 0;
    if (get_check_mib_var(l.name, &id))
        l.mib_index = id;
    // The writer puts one blank after the separator; blanks beyond it lead
    // the value of a text variable (a number or a name has none).
    const MibVarEntry* e = mib_var(l.mib_index);
    if (e && e->data_type == MDT_OCTET_STR && e->enum_id == -1 && !l.value.empty()) {
        size_t at = raw.size() - v[3].text.size(), start = at;
        while (start > 0 && (raw[start - 1] == ' ' || raw[start - 1] == '\t'))
            --start;
        if (at - start > 1)
            l.value = raw.substr(start + 1, at - start - 1) + l.value;
    }
    int code = 0;
    if (cvt_port_str_opt(l.port_kw, &code))
        l.port_type = code;
    l.port = l.port_text == "*"        ? SCR_WILDCARD
             : all_digits(l.port_text) ? std::atoi(l.port_text.c_str())
                                       : -2;
    return l;
}

std::string check_script_line(const ScriptLine& l) {
    if (l.fields < 4 || l.port == -2)
        return "Invalid script file line.";
    const MibVarEntry* e = mib_var(l.mib_index);
    if (!e)
        return "Unknown Parameter Name";
    if (e->enum_id != -1) {
        std::string num;
        return cvt_enum_str_num(l.mib_index, l.value, &num) ? "" : "Invalid Enumerated Type";
    }
    // A number must fit its type: a larger one would wrap on the device.
    std::string refusal = number_refusal(e->data_type, e->name, l.value);
    if (!refusal.empty())
        return refusal;
    std::string ip = l.value;
    if (e->data_type == MDT_IP_ADDR && !check_ip_addr_fmt(&ip))
        return "Invalid IP Address Format";
    return "";
}

int read_script(const std::string& path, ScriptFile* out) {
    std::string text;
    int rc = read_regular(path, &text);
    if (rc != SCR_OK)
        return rc;
    const std::string header = version_header(DFK_SCRIPT);
    if (text.compare(0, header.size(), header) != 0)
        return SCR_BAD_HEADER;
    out->lines.clear();
    size_t pos = header.size();
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        // A comment may be indented: its first non-blank character is '#'.
        size_t first = line.find_first_not_of(" \t\r\f\v");
        if (first == std::string::npos || line[first] == '#')
            continue;
        out->lines.push_back(parse_script_line(line));
    }
    return SCR_OK;
}

int read_script_text(const std::string& path, std::string* out) {
    int rc = read_regular(path, out);
    if (rc != SCR_OK)
        return rc;
    if (out->compare(0, version_header(DFK_SCRIPT).size(), version_header(DFK_SCRIPT)) != 0)
        return SCR_BAD_HEADER;
    std::replace(out->begin(), out->end(), '\0', ' ');
    return SCR_OK;
}

std::string script_port_text(int port) {
    return port == SCR_WILDCARD ? "*" : std::to_string(port);
}

std::optional<std::string> format_script_line(const std::string& name, const std::string& port_kw,
                                              const std::string& port, const std::string& value) {
    std::string line =
        name + " | " + port_kw + " | " + port + " | " + (value.empty() ? "\"\"" : value);
    if (line.size() > SCR_LINE_MAX ||
        line.find_first_of(std::string("\n\0", 2)) != std::string::npos)
        return std::nullopt;
    return line;
}

std::optional<std::vector<SortEntry>> sort_script(const std::string& path, std::string* report) {
    ScriptFile f;
    if (read_script(path, &f) != SCR_OK)
        return std::nullopt;
    std::vector<SortEntry> out;
    out.reserve(f.lines.size());
    for (const ScriptLine& l : f.lines) {
        if (l.fields < 4 || l.port == -2) {
            report_invalid_line(path, l.raw);
            continue;
        }
        if (l.mib_index < 0) {
            if (report)
                *report += "Parameter " + l.name + " does not exist. It will not be used.\n";
            continue;
        }
        SortEntry e;
        e.mib_index = l.mib_index;
        e.name = l.name;
        e.value = l.value.empty() ? "\"\"" : l.value;
        e.port_type = l.port_type < 0 ? 0 : l.port_type;
        e.port = l.port;
        out.push_back(std::move(e));
    }
    std::stable_sort(out.begin(), out.end(), [](const SortEntry& a, const SortEntry& b) {
        if (a.name != b.name)
            return a.name < b.name;
        if (a.port_type != b.port_type)
            return a.port_type < b.port_type;
        return a.port < b.port;
    });
    return out;
}

int replace_file_safely(const std::string& path, const std::string& content) {
    // Only a regular file is replaced: a fifo, a device or a folder of
    // that name is the operator's and is left alone.
    struct stat st;
    if (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return -1;
    ReplaceFailure fail;
    return replace_file_safely(FileChange{path, "." + base_name(path) + ".tmp", content}, &fail) ==
                   FR_OK
               ? 0
               : -1;
}
