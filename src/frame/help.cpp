#include "frame/help.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "catalogue/func_catalogue.h"
#include "catalogue/line_scan.h"
#include "catalogue/mib_catalogue.h"
#include "frame/registry.h"
#include "frame/startup.h"
#include "ui/app_globals.h"
#include "ui/ui.h"

namespace {

constexpr const char* MSG_NO_HELP = "Could not get help file.";

bool is_regular_file(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool is_heading(const std::string& line) {
    return line.size() >= 4 && line.compare(line.size() - 4, 4, "****") == 0;
}

// Reads one line of at most max_len characters (a longer line continues as
// the next one); false at end of file.
bool read_line(std::FILE* fp, std::string* line, int max_len) {
    std::vector<char> buf(static_cast<size_t>(max_len) + 2);
    if (std::fgets(buf.data(), static_cast<int>(buf.size()), fp) == nullptr)
        return false;
    *line = buf.data();
    if (!line->empty() && line->back() == '\n')
        line->pop_back();
    return true;
}

// A help file must be a regular file; null otherwise.
FilePtr open_help_file(const std::string& path) {
    if (!is_regular_file(path))
        return nullptr;
    return open_file(path, "r");
}

// Reads a whole help file (function or parameter help) into out.
int append_plain_file(const std::string& path, int max_len, std::string* out) {
    FilePtr fp = open_help_file(path);
    if (!fp)
        return -1;
    std::string line;
    while (read_line(fp.get(), &line, max_len))
        *out += line + "\n";
    return 0;
}

// Appends to the Help window, opens it and scrolls to the heading.
void show_help_text(const std::string& added, const std::string& heading) {
    if (!added.empty())
        write_otp_msg(W_HELP_TEXT, added, 0, 0);
    gui_manage_top_form(W_HELP_FORM);
    std::string all = ui_get_text(W_HELP_TEXT);
    size_t pos = heading.empty() ? std::string::npos : all.find(heading);
    if (pos != std::string::npos)
        ui_text_show_position(W_HELP_TEXT, static_cast<int>(pos));
    set_focus(W_HELP_CLOSE);
}

} // namespace

std::string win_help_file(int help_id, int table) {
    return help_file_of(help_id, table);
}

int read_help_file(const std::string& path, const std::string& existing, std::string* out,
                   std::string* stop_heading, std::string* last_heading) {
    FilePtr fp = open_help_file(path);
    if (!fp)
        return -1;
    std::string line;
    while (read_line(fp.get(), &line, 255)) {
        if (is_heading(line)) {
            if (existing.find(line) != std::string::npos) {
                *stop_heading = line;
                break;
            }
            *last_heading = line;
            *out += "\n";
        }
        *out += line + "\n";
    }
    return 0;
}

void display_win_help(int help_id, int table) {
    const int parent = W_MAIN_WINDOW;
    std::string file = win_help_file(help_id, table);
    std::string added, stop, last;
    if (file.empty() || read_help_file(mm_path("data/help", file), ui_get_text(W_HELP_TEXT), &added,
                                       &stop, &last) != 0) {
        display_warn(parent, MSG_NO_HELP);
        return;
    }
    // A help file read for the first time is shown from its first heading
    // (its last heading is the end of what it says).
    std::string first;
    for (size_t from = 0; first.empty() && from < added.size();) {
        size_t end = added.find('\n', from);
        std::string line = added.substr(from, end == std::string::npos ? end : end - from);
        if (is_heading(line))
            first = line;
        from = end == std::string::npos ? added.size() : end + 1;
    }
    show_help_text(added, !stop.empty() ? stop : !first.empty() ? first : last);
}

void display_fnc_help(const std::string& name, int standard_group) {
    std::string heading = "************ Parameter Group Help (" + name + ") ************";
    if (ui_get_text(W_HELP_TEXT).find(heading) != std::string::npos) {
        show_help_text("", heading);
        return;
    }
    std::string text = heading + "\n\n";
    if (standard_group) {
        if (append_plain_file(mm_path("data/help", name + ".fh"), 127, &text) != 0)
            display_warn(W_MAIN_WINDOW, MSG_NO_HELP);
        text += "\n";
    }
    text += "This parameter group contains the following parameters:\n\n";
    int idx = find_func_by_name(name);
    std::string line = "\t";
    bool first = true;
    if (idx >= 0) {
        for (int mib_id : mib_func_list[idx]->var_list) {
            const MibVarEntry* e = mib_var(mib_id);
            if (e == nullptr)
                continue;
            std::string piece = first ? e->name : ",  " + e->name;
            if (!first && line.size() + piece.size() > 60) {
                text += line + ",\n";
                line = "\t" + e->name;
            } else {
                line += piece;
            }
            first = false;
        }
    }
    text += line + "\n";
    show_help_text(text, heading);
}

std::string get_def_value(int mib_id) {
    const MibVarEntry* e = mib_var(mib_id);
    if (e == nullptr)
        return "";
    if (e->has_site_def) {
        if (e->enum_id < 0)
            return e->site_def_val;
        std::string name;
        if (cvt_enum_num_str(mib_id, e->site_def_val, &name) == 1)
            return name;
        return "";
    }
    return e->def_val;
}

void display_prm_help(int mib_id) {
    const MibVarEntry* e = mib_var(mib_id);
    if (e == nullptr)
        return;
    std::string heading = "************ Parameter Help (" + e->name + ") ************";
    if (ui_get_text(W_HELP_TEXT).find(heading) != std::string::npos) {
        show_help_text("", heading);
        return;
    }
    std::string text = heading + "\n\n";
    if (append_plain_file(mm_path("data/help", e->oid_str + ".ph"), 127, &text) != 0)
        display_warn(W_MAIN_WINDOW, MSG_NO_HELP);
    text += "\nDefault Value : " + get_def_value(mib_id) + "\n\n";
    show_help_text(text, heading);
}

void wgt_help_from_file(int parent_id, const std::string& file) {
    std::string text;
    if (append_plain_file(mm_path("data/help", file), 255, &text) != 0) {
        display_warn(parent_id, MSG_NO_HELP);
        return;
    }
    display_item_help(parent_id, text);
}

void display_about() {
    display_msg_box(W_MAIN_WINDOW, "Morix Manager Info", build_about_text());
}
