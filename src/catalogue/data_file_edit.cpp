#include "catalogue/data_file_edit.h"

#include <algorithm>

#include "catalogue/line_scan.h"

namespace {

const std::vector<ScanField> k_site_pattern = {SF_INT, SF_SKIP, SF_REST};
const std::vector<ScanField> k_name_pattern = {SF_INT, SF_SKIP, SF_WORD};
const std::vector<ScanField> k_num_pattern = {SF_INT, SF_SKIP, SF_INT};

bool is_data_line(const std::string& piece) {
    return !is_comment_line(piece) && !is_blank_line(piece);
}

} // namespace

std::vector<std::string> split_pieces(const std::string& content, int max_chars) {
    std::vector<std::string> out;
    size_t p = 0;
    while (p < content.size()) {
        size_t end = content.find('\n', p);
        end = end == std::string::npos ? content.size() : end + 1;
        size_t len = std::min(end - p, static_cast<size_t>(max_chars));
        out.push_back(content.substr(p, len));
        p += len;
    }
    return out;
}

std::string rewrite_site_def(const std::string& old, int id, const std::string* value) {
    std::string out;
    bool found = false;
    std::vector<ScanValue> v;
    for (const std::string& piece : split_pieces(old, SITE_DEF_LINE_MAX)) {
        // A NUL ends the line for the reader; such a line is kept as it is.
        if (!is_data_line(piece) || piece.find('\0') != std::string::npos ||
            scan_fields(piece, k_site_pattern, &v) != 2) {
            out += piece;
            continue;
        }
        if (v[0].num != id) {
            out += std::to_string(v[0].num) + " | " + v[1].text + "\n";
        } else if (value != nullptr && !found) {
            out += std::to_string(id) + " | " + *value + "\n";
            found = true;
        }
        // A removed default, or a second line for the changed id, is left out.
    }
    if (value != nullptr && !found) {
        if (!out.empty() && out.back() != '\n')
            out += "\n";
        out += std::to_string(id) + " | " + *value + "\n";
    }
    return out;
}

std::set<int> func_ids_in_use(const std::string& content, const std::string& file_name) {
    std::set<int> used;
    std::vector<ScanValue> v;
    for (const std::string& piece : split_pieces(content, FUNC_FILE_LINE_MAX)) {
        if (!is_data_line(piece))
            continue;
        if (scan_fields(piece, k_name_pattern, &v) != 2)
            report_invalid_line(file_name, piece);
        else
            used.insert(v[0].num);
    }
    return used;
}

int lowest_free_udf_id(const std::set<int>& used) {
    for (int id = 128; id <= 511; ++id)
        if (used.count(id) == 0)
            return id;
    return -1;
}

std::string drop_func_lines(const std::string& content, FuncFileKind kind, int func_id) {
    const std::vector<ScanField>& pattern = kind == FFK_NAME ? k_name_pattern : k_num_pattern;
    std::string out;
    std::vector<ScanValue> v;
    for (const std::string& piece : split_pieces(content, FUNC_FILE_LINE_MAX)) {
        if (!is_data_line(piece) || scan_fields(piece, pattern, &v) != 2) {
            out += piece;
            continue;
        }
        if (v[0].num == func_id)
            continue;
        out += std::to_string(v[0].num) + " | " +
               (kind == FFK_NAME ? v[1].text : std::to_string(v[1].num)) + "\n";
    }
    return out;
}

std::string append_lines(const std::string& content, const std::vector<std::string>& lines) {
    std::string out = content;
    if (!out.empty() && out.back() != '\n')
        out += "\n";
    for (const std::string& l : lines)
        out += l;
    return out;
}
