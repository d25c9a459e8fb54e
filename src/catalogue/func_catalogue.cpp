#include "catalogue/func_catalogue.h"

#include <cctype>
#include <cstring>

#include "catalogue/line_budget.h"
#include "catalogue/line_scan.h"
#include "catalogue/mib_catalogue.h"
#include "ui/app_globals.h"

std::array<std::unique_ptr<MgmtFunction>, MAX_MIB_FUNCS> mib_func_list;
int tot_dat_mib_func = 0;
std::array<std::vector<int>, MAX_FUNC_GROUPS> mib_grp_list;
std::array<HotspotEntry, MAX_HOTSPOTS> hotspot_data_list;

namespace {

constexpr int FUNC_LINE_MAX = 79;
constexpr int HOTSPOT_LINE_MAX = 261;

// Reads one function file: every data line scanned with pattern, handed to
// accept(values), which returns false for a line it rejects.
template <typename Accept>
int read_func_file(const std::string& dir, const char* file, const std::vector<ScanField>& pattern,
                   int fields, Accept accept) {
    FilePtr f = open_file(mm_path(dir, file), "r");
    if (!f)
        return -4;
    LineBudget budget(file);
    std::string line;
    std::vector<ScanValue> v;
    while (read_piece(f.get(), FUNC_LINE_MAX, &line) && budget.take(line)) {
        if (is_comment_line(line) || is_blank_line(line))
            continue;
        if (scan_fields(line, pattern, &v) != fields || !accept(v))
            budget.invalid(line);
    }
    return 0;
}

const std::vector<ScanField> k_num_num = {SF_INT, SF_SKIP, SF_INT};
const std::vector<ScanField> k_num_word = {SF_INT, SF_SKIP, SF_WORD};

bool accept_group(const std::vector<ScanValue>& v) {
    int group = v[1].num;
    if (group < 0 || group >= MAX_FUNC_GROUPS)
        return false;
    mib_grp_list[group].push_back(v[0].num);
    return true;
}

bool accept_func(const std::vector<ScanValue>& v) {
    if (tot_dat_mib_func >= MAX_MIB_FUNCS)
        return false;
    auto fn = std::make_unique<MgmtFunction>();
    fn->func_id = v[0].num;
    fn->name = v[1].text;
    mib_func_list[tot_dat_mib_func++] = std::move(fn);
    return true;
}

bool accept_func_var(const std::vector<ScanValue>& v) {
    // A variable of a function that does not exist is dropped silently.
    int idx = find_func_by_id(v[0].num);
    if (idx >= 0)
        mib_func_list[idx]->var_list.push_back(v[1].num);
    return true;
}

// Decimal number of a field with every blank removed; false unless the
// whole field is a number.
bool field_number(const std::string& field, int* value) {
    std::string t;
    remove_blanks(field, &t);
    if (t.empty() || t.size() > 9)
        return false;
    for (char c : t)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    *value = std::stoi(t);
    return true;
}

// Splits at runs of '|', dropping empty fields.
std::vector<std::string> split_bars(const std::string& s) {
    std::vector<std::string> out;
    size_t p = 0;
    while (p < s.size()) {
        size_t q = s.find('|', p);
        if (q == std::string::npos)
            q = s.size();
        if (q > p)
            out.push_back(s.substr(p, q - p));
        p = q + 1;
    }
    return out;
}

bool parse_hotspot_line(std::string line) {
    // The line end is not part of the help text.
    if (!line.empty() && line.back() == '\n')
        line.pop_back();
    std::vector<std::string> f = split_bars(line);
    int num = 0, target = 0;
    if (f.size() != 4 || !field_number(f[1], &num) || !field_number(f[2], &target) ||
        num >= MAX_HOTSPOTS || target >= MAX_HOTSPOTS)
        return false;
    HotspotEntry& e = hotspot_data_list[num];
    e.present = true;
    e.target = target;
    e.text = f[3];
    return true;
}

} // namespace

int find_func_by_id(int func_id) {
    for (int i = 0; i < tot_dat_mib_func; ++i)
        if (mib_func_list[i] && mib_func_list[i]->func_id == func_id)
            return i;
    return -1;
}

int find_func_by_name(const std::string& name) {
    for (int i = 0; i < tot_dat_mib_func; ++i)
        if (mib_func_list[i] && mib_func_list[i]->name == name)
            return i;
    return -1;
}

namespace {
const bool func_info_registered = add_state_reset(free_func_info);
} // namespace

void free_func_info() {
    for (auto& f : mib_func_list)
        f.reset();
    tot_dat_mib_func = 0;
    for (auto& g : mib_grp_list)
        g.clear();
}

int read_func_info(const std::string& directory) {
    free_func_info();
    if (read_func_file(directory, "mib_func_grp.dat", k_num_num, 2, accept_group) != 0)
        return -4;
    if (read_func_file(directory, "mib_func.dat", k_num_word, 2, accept_func) != 0)
        return -4;
    if (read_func_file(directory, "mib_func_vars.dat", k_num_num, 2, accept_func_var) != 0)
        return -4;
    return 0;
}

int read_hotspot_file(const std::string& path) {
    FilePtr f = open_file(path, "r");
    if (!f)
        return -4;
    LineBudget budget("hotspot_help.dat");
    std::string line;
    while (read_piece(f.get(), HOTSPOT_LINE_MAX, &line) && budget.take(line)) {
        if (is_comment_line(line) || is_blank_line(line))
            continue;
        if (!parse_hotspot_line(line))
            budget.invalid(line);
    }
    return 0;
}

int read_hotspot_info(const std::string& directory) {
    for (auto& h : hotspot_data_list)
        h = HotspotEntry();
    return read_hotspot_file(mm_path(directory, "hotspot_help.dat"));
}

namespace {
bool is_calldef(const std::string& s) {
    return s.compare(0, 8, "CallDef_") == 0;
}
} // namespace

int get_alpha_pos(const std::vector<std::string>& items, const std::string& text) {
    bool text_last = is_calldef(text);
    for (size_t i = 0; i < items.size(); ++i) {
        bool item_last = is_calldef(items[i]);
        if (text_last != item_last) {
            if (item_last)
                return static_cast<int>(i); // ordinary names go before CallDef_ ones
            continue;
        }
        if (std::strcmp(items[i].c_str(), text.c_str()) >= 0)
            return static_cast<int>(i);
    }
    return static_cast<int>(items.size());
}

bool prm_fits_port_type(int port_class, int code) {
    switch (code) {
    case 0:
        return port_class == 0;
    case 1:
        return port_class == 1 || port_class == 4 || port_class == 5 || port_class == 6;
    case 2:
        return port_class == 2 || port_class == 4 || port_class == 6;
    case 3:
        return port_class == 3 || port_class == 5;
    case 4:
        return port_class == 6;
    case 5:
        return port_class == 9;
    case 6:
        return port_class == 10;
    case 8:
        return port_class == 7;
    default:
        return false;
    }
}
