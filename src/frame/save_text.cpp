#include "frame/save_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "catalogue/line_scan.h"
#include "catalogue/mib_catalogue.h"
#include "frame/dispatch.h"
#include "frame/help.h"
#include "frame/registry.h"
#include "frame/render.h"
#include "ui/app_globals.h"
#include "ui/ui.h"

namespace {

// The output text a Save button saves (0: the window has none). The status
// windows save their text area: the fields as "label: value" lines and the
// tables, as the window shows them.
int text_of_save(int save_id) {
    const WindowRow* w = window_of_id(save_id);
    return w != nullptr ? w->text : 0;
}

bool write_all(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

int save_text_check(int parent_id, int save_id, int warn) {
    bool empty = false;
    int text_id = text_of_save(save_id);
    if (text_id != 0)
        empty = ui_get_text(text_id).empty();
    if (empty && warn)
        display_warn(parent_id, "There is no information to save.");
    return empty ? 0 : 1;
}

int save_text_proc(int parent_id, const std::string& file_name, const std::string& text) {
    std::string name;
    remove_blanks_warn(parent_id, file_name, &name);
    if (name.empty()) {
        display_warn(parent_id, "No file was specified.");
        return 0;
    }
    if (name[0] != '/')
        name = mm_path("data/saved_text", name);
    if (!check_if_overwrite(parent_id, 1, name))
        return 0;
    int fd = open_regular_for_write(name, 0, 0644);
    if (fd < 0) {
        display_warn(parent_id, "Unable to save information to file: \n\n" + name);
        return 0;
    }
    fchmod(fd, 0644);
    bool ok = write_all(fd, text);
    ok = close(fd) == 0 && ok;
    if (!ok) {
        display_warn(parent_id, "Unable to save information to file: \n\n" + name);
        return 0;
    }
    return 1;
}

void save_output_action(int form_id, int save_id, int text_id) {
    if (!save_text_check(form_id, save_id, 1))
        return;
    ui_file_selection(
        form_id, "Save Output/Messages File Selection", mm_path("data/saved_text"),
        [form_id, text_id](const std::string& file) {
            return save_text_proc(form_id, file, text_id != 0 ? ui_get_text(text_id) : "");
        },
        fil_sel_help_text(save_id));
}
