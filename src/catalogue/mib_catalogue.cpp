#include "catalogue/mib_catalogue.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <unordered_map>

#include "catalogue/line_budget.h"
#include "catalogue/line_scan.h"
#include "ui/app_globals.h"

std::array<std::unique_ptr<MibVarEntry>, MAX_MIB_VARS> mib_data_list;
std::array<EnumList, MAX_MIB_ENUMS> mib_enum_list;

namespace {

// Name, OID string and OID number of every entry to the lowest id that
// carries the text (the answer of a scan from id 0 upwards).
std::unordered_map<std::string, int> g_name_index;

constexpr int MIB_LINE_MAX = 255;
constexpr int ENUM_LINE_MAX = 127;

// Calls handle(line, budget) for every piece of the file that is neither a
// comment nor blank, within the file's size bounds. Returns -4 when the file
// cannot be opened.
template <typename Handler>
int for_each_data_line(const std::string& path, const char* name, int max, Handler handle) {
    FilePtr f = open_file(path, "r");
    if (!f)
        return -4;
    LineBudget budget(name);
    std::string line;
    while (read_piece(f.get(), max, &line) && budget.take(line)) {
        if (is_comment_line(line) || is_blank_line(line))
            continue;
        handle(line, budget);
    }
    return 0;
}

void parse_mib_line(const std::string& line, LineBudget& budget) {
    static const std::vector<ScanField> pattern = {
        SF_INT, SF_SKIP, SF_WORD, SF_SKIP, SF_WORD, SF_SKIP, SF_WORD, SF_SKIP,
        SF_INT, SF_SKIP, SF_INT,  SF_SKIP, SF_INT,  SF_SKIP, SF_INT,  SF_SKIP,
        SF_INT, SF_SKIP, SF_WORD, SF_SKIP, SF_INT,  SF_SKIP, SF_INT};
    std::vector<ScanValue> v;
    if (scan_fields(line, pattern, &v) != 12 || v[0].num < 0 || v[0].num >= MAX_MIB_VARS ||
        v[8].num < -1 || v[8].num >= MAX_MIB_ENUMS) {
        budget.invalid(line);
        return;
    }
    auto e = std::make_unique<MibVarEntry>();
    e->name = v[1].text;
    e->oid_str = v[2].text;
    e->oid_num = v[3].text;
    e->data_type = v[4].num;
    e->write_type = v[5].num;
    e->port_class = v[6].num;
    e->inst_type = v[7].num;
    e->enum_id = v[8].num;
    e->def_val = v[9].text;
    e->internal_code = v[10].num;
    e->reset_map_idx = v[11].num;
    mib_data_list[v[0].num] = std::move(e);
}

void parse_site_def_line(const std::string& line, LineBudget& budget) {
    static const std::vector<ScanField> pattern = {SF_INT, SF_SKIP, SF_REST};
    std::vector<ScanValue> v;
    if (scan_fields(line, pattern, &v) != 2 || v[0].num < 0 || v[0].num >= MAX_MIB_VARS) {
        budget.invalid(line);
        return;
    }
    // A default for a variable the catalogue does not have is skipped.
    set_site_default(v[0].num, &v[1].text);
}

} // namespace

namespace {
const bool mib_info_registered = add_state_reset(clear_mib_info);
} // namespace

void clear_mib_info() {
    for (auto& e : mib_data_list)
        e.reset();
    for (auto& l : mib_enum_list)
        l.clear();
    rebuild_mib_index();
}

void rebuild_mib_index() {
    g_name_index.clear();
    g_name_index.reserve(3 * MAX_MIB_VARS);
    // Scanning downwards lets the lowest id of a shared text win.
    for (int i = MAX_MIB_VARS - 1; i >= 0; --i) {
        const MibVarEntry* e = mib_data_list[i].get();
        if (!e)
            continue;
        for (const std::string* key : {&e->oid_num, &e->oid_str, &e->name})
            g_name_index[*key] = i;
    }
}

int read_mib_dat(const std::string& path) {
    int rc = for_each_data_line(path, "mib.dat", MIB_LINE_MAX, parse_mib_line);
    rebuild_mib_index();
    return rc;
}

int read_mib_site_def_dat(const std::string& path) {
    for (int id = 0; id < MAX_MIB_VARS; ++id)
        set_site_default(id, nullptr);
    return for_each_data_line(path, "mib_site_def.dat", MIB_LINE_MAX, parse_site_def_line);
}

int read_mib_enum_dat(const std::string& path) {
    static const std::vector<ScanField> pattern = {SF_INT, SF_SKIP, SF_INT, SF_SKIP, SF_WORD};
    int prev_id = -1;
    return for_each_data_line(
        path, "mib_enum.dat", ENUM_LINE_MAX, [&](const std::string& line, LineBudget& budget) {
            std::vector<ScanValue> v;
            if (scan_fields(line, pattern, &v) != 3 || v[0].num < 0 || v[0].num >= MAX_MIB_ENUMS) {
                budget.invalid(line);
                return;
            }
            int id = v[0].num;
            // A group that starts again replaces what the id held before.
            if (id != prev_id)
                mib_enum_list[id].clear();
            mib_enum_list[id].push_back(EnumEntry{v[1].num, v[2].text});
            prev_id = id;
        });
}

int read_mib_info(const std::string& directory) {
    clear_mib_info();
    if (read_mib_dat(mm_path(directory, "mib.dat")) != 0)
        return -4;
    if (read_mib_site_def_dat(mm_path(directory, "mib_site_def.dat")) != 0)
        return -4;
    if (read_mib_enum_dat(mm_path(directory, "mib_enum.dat")) != 0)
        return -4;
    return 0;
}

const MibVarEntry* mib_var(int id) {
    if (id < 0 || id >= MAX_MIB_VARS)
        return nullptr;
    return mib_data_list[id].get();
}

int get_check_mib_var(const std::string& text, int* id) {
    auto it = g_name_index.find(text);
    if (it == g_name_index.end())
        return 0;
    *id = it->second;
    return 1;
}

namespace {
const EnumList* enum_of(int id) {
    const MibVarEntry* e = mib_var(id);
    if (!e || e->enum_id < 0 || e->enum_id >= MAX_MIB_ENUMS)
        return nullptr;
    return &mib_enum_list[e->enum_id];
}
} // namespace

int cvt_enum_num_str(int id, const std::string& value, std::string* name) {
    const EnumList* l = enum_of(id);
    if (!l)
        return 0;
    int num = std::atoi(value.c_str());
    for (const EnumEntry& en : *l) {
        if (en.value == num) {
            *name = en.text;
            return 1;
        }
    }
    return 0;
}

int cvt_enum_str_num(int id, const std::string& name, std::string* value) {
    const EnumList* l = enum_of(id);
    if (!l)
        return 0;
    for (const EnumEntry& en : *l) {
        if (en.text == name) {
            *value = std::to_string(en.value);
            return 1;
        }
    }
    return 0;
}

int check_mib_var_write(int id, int port_type) {
    const MibVarEntry* e = mib_var(id);
    if (!e)
        return 0;
    int wt = e->write_type;
    switch (e->port_class) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 7:
    case 9:
    case 10:
        return wt != MWT_READ_ONLY;
    case 4:
    case 5:
    case 6:
        if (wt == MWT_READ_ONLY)
            return 0;
        if (wt == MWT_WRITABLE)
            return 1;
        if (port_type == 1)
            return wt == MWT_ASY_ONLY;
        if (port_type == 2 && e->port_class != 5)
            return wt == MWT_SYN_ONLY;
        if (port_type == 3 && e->port_class == 5)
            return wt == MWT_PTR_ONLY;
        if (port_type == 4 && e->port_class == 6)
            return wt == MWT_EN_ONLY;
        return 0;
    default:
        std::fprintf(stderr, "\n\n%s\n\n", "Invalid data indicator. Software error.");
        return 0;
    }
}

void remove_blanks(const std::string& source, std::string* destination) {
    std::string out;
    for (char c : source)
        if (!std::isspace(static_cast<unsigned char>(c)))
            out.push_back(c);
    *destination = out;
}

void remove_trail_blanks(std::string* text) {
    size_t n = text->size();
    while (n > 0 && std::isspace(static_cast<unsigned char>((*text)[n - 1])))
        --n;
    text->resize(n);
}

void set_site_default(int id, const std::string* value) {
    if (id < 0 || id >= MAX_MIB_VARS || !mib_data_list[id])
        return;
    MibVarEntry& e = *mib_data_list[id];
    if (value) {
        e.site_def_val = *value;
        e.has_site_def = true;
    } else {
        e.site_def_val.clear();
        e.has_site_def = false;
    }
}

std::string blanks_removed_warning(const std::string& text, std::string* result) {
    std::string stripped;
    remove_blanks(text, &stripped);
    std::string warning;
    if (stripped != text)
        warning = "Blanks found and removed:\n'" + text + "' ->\n'" + stripped + "'\n";
    *result = stripped;
    return warning;
}
