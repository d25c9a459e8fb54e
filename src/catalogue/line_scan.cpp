#include "catalogue/line_scan.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "ui/diag.h"

FilePtr open_file(const std::string& path, const char* mode) {
    if (mode[0] != 'r' || std::strchr(mode, '+'))
        return FilePtr(std::fopen(path.c_str(), mode));
    // O_NONBLOCK: the open of a FIFO does not wait for a writer
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        std::fprintf(stderr, "%s is not a regular file (a FIFO, a device or a folder): not read.\n",
                     printable_text(path).c_str());
        errno = EINVAL;
        return nullptr;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* f = fdopen(fd, mode);
    if (!f)
        ::close(fd);
    return FilePtr(f);
}

namespace {

int refuse_irregular(const std::string& path) {
    std::fprintf(stderr, "%s is not a regular file (a FIFO, a device or a folder): not written.\n",
                 printable_text(path).c_str());
    errno = EINVAL;
    return -1;
}

} // namespace

int open_regular_for_write(const std::string& path, int flags, unsigned mode) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return refuse_irregular(path); // not even opened
    // O_NONBLOCK: a FIFO that appeared meanwhile fails at once; nothing is
    // emptied before the file is known to be a regular one
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC | flags,
                    static_cast<mode_t>(mode));
    if (fd < 0)
        return -1;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return refuse_irregular(path);
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (ftruncate(fd, 0) != 0) {
        int e = errno;
        ::close(fd);
        errno = e;
        return -1;
    }
    return fd;
}

std::string printable_text(const std::string& text) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : text) {
        if (c == '\t' || c == '\n' || (c >= 0x20 && c < 0x7f)) {
            out.push_back(static_cast<char>(c));
        } else {
            out += "\\x";
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
        }
    }
    return out;
}

bool read_piece(std::FILE* f, int max_chars, std::string* piece) {
    piece->clear();
    while (static_cast<int>(piece->size()) < max_chars) {
        int c = std::fgetc(f);
        if (c == EOF)
            break;
        piece->push_back(static_cast<char>(c));
        if (c == '\n')
            break;
    }
    bool got = !piece->empty();
    // Text after a NUL byte is not part of the line, as for any C string.
    size_t nul = piece->find('\0');
    if (nul != std::string::npos)
        piece->resize(nul);
    return got;
}

bool is_comment_line(const std::string& line) {
    return !line.empty() && line[0] == '#';
}

bool is_blank_line(const std::string& line) {
    for (char c : line)
        if (!std::isspace(static_cast<unsigned char>(c)))
            return false;
    return true;
}

namespace {

void skip_space(const std::string& s, size_t* p) {
    while (*p < s.size() && std::isspace(static_cast<unsigned char>(s[*p])))
        ++*p;
}

bool scan_word(const std::string& s, size_t* p, std::string* word) {
    skip_space(s, p);
    size_t start = *p;
    while (*p < s.size() && !std::isspace(static_cast<unsigned char>(s[*p])) && s[*p] != '\0')
        ++*p;
    if (*p == start)
        return false;
    if (word)
        *word = s.substr(start, *p - start);
    return true;
}

// Like %d, but a number outside the int range fails instead of overflowing.
bool scan_int(const std::string& s, size_t* p, int* value) {
    skip_space(s, p);
    size_t q = *p;
    bool neg = false;
    if (q < s.size() && (s[q] == '+' || s[q] == '-')) {
        neg = s[q] == '-';
        ++q;
    }
    size_t digits = q;
    long long v = 0;
    while (q < s.size() && std::isdigit(static_cast<unsigned char>(s[q]))) {
        v = v * 10 + (s[q] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1)
            return false;
        ++q;
    }
    if (q == digits)
        return false;
    if (neg)
        v = -v;
    if (v > INT_MAX || v < INT_MIN)
        return false;
    *value = static_cast<int>(v);
    *p = q;
    return true;
}

bool scan_rest(const std::string& s, size_t* p, std::string* rest) {
    skip_space(s, p);
    size_t start = *p;
    while (*p < s.size() && s[*p] != '\n' && s[*p] != '\0')
        ++*p;
    if (*p == start)
        return false;
    *rest = s.substr(start, *p - start);
    return true;
}

} // namespace

int scan_fields(const std::string& line, const std::vector<ScanField>& pattern,
                std::vector<ScanValue>* out) {
    out->clear();
    size_t p = 0;
    int kept = 0;
    for (ScanField f : pattern) {
        ScanValue v;
        bool ok = false;
        switch (f) {
        case SF_INT:
            ok = scan_int(line, &p, &v.num);
            break;
        case SF_SKIP:
            ok = scan_word(line, &p, nullptr);
            break;
        case SF_WORD:
            ok = scan_word(line, &p, &v.text);
            break;
        case SF_REST:
            ok = scan_rest(line, &p, &v.text);
            break;
        }
        if (!ok)
            break;
        if (f != SF_SKIP) {
            out->push_back(v);
            ++kept;
        }
    }
    return kept;
}

void report_invalid_line(const std::string& file_name, const std::string& line) {
    std::string head = "Invalid " + file_name + " data line: ";
    diag_printf("\n\n%s\n\t%s\n\n", printable_text(head).c_str(), printable_text(line).c_str());
}
