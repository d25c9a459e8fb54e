// Small text checks and formats shared by the commands, and the two file
// filters applied to configuration files.
#include <arpa/inet.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "catalogue/line_scan.h"
#include "catalogue/mib_catalogue.h"
#include "snmp_access/port_inst.h"

namespace {

bool all_digits(const std::string& s) {
    if (s.empty())
        return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

// Value of a digit run, saturated well above any value it is compared with.
long digits_value(const std::string& s) {
    long v = 0;
    for (char c : s) {
        v = v * 10 + (c - '0');
        if (v > 1000000000L)
            return 1000000000L;
    }
    return v;
}

// Components between dots; empty components between adjacent dots vanish.
std::vector<std::string> split_dots(const std::string& s) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= s.size()) {
        size_t dot = s.find('.', start);
        std::string part =
            s.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (!part.empty())
            parts.push_back(part);
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    return parts;
}

} // namespace

int get_port_instance(const std::string& text) {
    std::string s = text;
    remove_trail_blanks(&s);
    std::vector<std::string> parts = split_dots(s);
    if (parts.empty() || !all_digits(parts[0]))
        return 0;
    long v = digits_value(parts[0]);
    for (size_t i = 1; i < parts.size() && v != 0; ++i)
        if (all_digits(parts[i]))
            v = digits_value(parts[i]);
    return static_cast<int>(v);
}

int check_ip_addr_fmt(std::string* text) {
    remove_trail_blanks(text);
    if (text->size() < 6)
        return 0;
    std::vector<std::string> parts = split_dots(*text);
    if (parts.size() != 4)
        return 0;
    for (const std::string& p : parts)
        if (!all_digits(p) || digits_value(p) >= 256)
            return 0;
    return inet_addr(text->c_str()) != INADDR_NONE ? 1 : 0;
}

std::string ip_addr_fmt_failure(std::string* text, const std::string& label) {
    if (check_ip_addr_fmt(text))
        return "";
    return label + " : " + "Invalid IP Address Format";
}

int get_bcast_addr(const std::string& address, const std::string& mask, std::string* out,
                   int fallback) {
    std::string a = address, m = mask;
    if (check_ip_addr_fmt(&a) && check_ip_addr_fmt(&m)) {
        in_addr b;
        b.s_addr = inet_addr(a.c_str()) | ~inet_addr(m.c_str());
        char buf[INET_ADDRSTRLEN];
        inet_ntop(AF_INET, &b, buf, sizeof buf);
        *out = buf;
        return 0;
    }
    if (fallback)
        *out = "255.255.255.255";
    return -1;
}

int check_time_fmt(const std::string& text) {
    std::string copy = text;
    std::string s = strip_blanks(&copy);
    if (s.empty())
        return 0;
    bool plus = s[0] == '+';
    std::string t = plus ? s.substr(1) : s;
    if (t.size() == 5 && t[2] == ':' && all_digits(t.substr(0, 2)) && all_digits(t.substr(3))) {
        long h = digits_value(t.substr(0, 2)), m = digits_value(t.substr(3));
        // A clock has no minute 60 (12:60 would be read as 13:00 or refused
        // by the device).
        return h <= 23 && m <= 59 ? 1 : 0;
    }
    return plus && all_digits(t) ? 1 : 0;
}

std::string cvt_timeticks(unsigned long ticks) {
    unsigned long secs = ticks / 100;
    unsigned long d = secs / 86400, h = secs % 86400 / 3600, m = secs % 3600 / 60, s = secs % 60;
    char buf[64];
    if (d == 0)
        std::snprintf(buf, sizeof buf, "%lu:%02lu:%02lu", h, m, s);
    else
        std::snprintf(buf, sizeof buf, "%lu %s, %lu:%02lu:%02lu", d, d == 1 ? "day" : "days", h, m,
                      s);
    return buf;
}

int check_str_digits(const std::string& text) {
    return all_digits(text) ? 1 : 0;
}

int atoin(const std::string& text, int n) {
    if (n <= 0)
        return 0;
    return std::atoi(text.substr(0, static_cast<size_t>(n)).c_str());
}

std::string strip_blanks(std::string* text) {
    remove_trail_blanks(text);
    size_t i = 0;
    while (i < text->size() && std::isspace(static_cast<unsigned char>((*text)[i])))
        ++i;
    return text->substr(i);
}

std::vector<int> sort_strs(const std::vector<std::string>& strings) {
    std::vector<int> idx(strings.size());
    for (size_t i = 0; i < idx.size(); ++i)
        idx[i] = static_cast<int>(i);
    // Exchange sort: each position is compared with every later one.
    for (size_t i = 0; i < idx.size(); ++i)
        for (size_t j = i + 1; j < idx.size(); ++j)
            if (strings[idx[i]].compare(strings[idx[j]]) > 0)
                std::swap(idx[i], idx[j]);
    return idx;
}

namespace {

// The work file beside path, created exclusively (a file or link planted
// under its name is removed first, never followed) with path's mode.
FilePtr create_work_file(const std::string& path, std::string* work) {
    *work = path + "tmp.cfg";
    struct stat st;
    mode_t mode = stat(path.c_str(), &st) == 0 ? (st.st_mode & 0777) : 0600;
    unlink(work->c_str());
    int fd = open(work->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, mode);
    if (fd < 0)
        return FilePtr();
    fchmod(fd, mode);
    FilePtr f(fdopen(fd, "w"));
    if (!f)
        close(fd);
    return f;
}

// Closes the work file and moves it over path; removes it on failure.
int replace_with_work_file(FilePtr out, const std::string& work, const std::string& path) {
    bool ok = std::fflush(out.get()) == 0 && !std::ferror(out.get());
    ok = std::fclose(out.release()) == 0 && ok;
    if (ok && std::rename(work.c_str(), path.c_str()) == 0)
        return 1;
    unlink(work.c_str());
    return 0;
}

} // namespace

int filter_file_chars(const std::string& path, const std::vector<int>& chars) {
    FilePtr in = open_file(path, "rb");
    if (!in)
        return 0;
    bool drop[256] = {false};
    for (int c : chars) {
        if (c == -1)
            break;
        if (c >= 0 && c < 256)
            drop[c] = true;
    }
    std::string work;
    FilePtr out = create_work_file(path, &work);
    if (!out)
        return 0;
    // The whole file is read: a byte 0xFF is data, not the end of the file.
    int removed = 0;
    for (int c; (c = std::fgetc(in.get())) != EOF;) {
        if (drop[c])
            ++removed;
        else
            std::fputc(c, out.get());
    }
    if (removed == 0) {
        out.reset();
        unlink(work.c_str());
        return 0;
    }
    return replace_with_work_file(std::move(out), work, path);
}

int add_file_line_cr(const std::string& path) {
    FilePtr in = open_file(path, "rb");
    if (!in)
        return -1;
    std::string work;
    FilePtr out = create_work_file(path, &work);
    if (!out)
        return -1;
    // Line by line: a carriage return goes before each line end that does
    // not already have one; long lines and a last line without a line end
    // are copied unchanged.
    std::string line;
    for (int c; (c = std::fgetc(in.get())) != EOF;) {
        if (c == '\n' && (line.empty() || line.back() != '\r'))
            line += '\r';
        line += static_cast<char>(c);
        if (c == '\n') {
            std::fwrite(line.data(), 1, line.size(), out.get());
            line.clear();
        }
    }
    std::fwrite(line.data(), 1, line.size(), out.get());
    return replace_with_work_file(std::move(out), work, path) ? 0 : -1;
}
