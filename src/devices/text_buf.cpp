#include "devices/text_buf.h"

#include "snmp_access/morix_record.h"
#include "ui/ui.h"

void text_set_buf(const std::string& text, std::string* buffer, int new_line) {
    *buffer += text;
    if (new_line == 1)
        *buffer += "\n";
}

const char* itob(int flag) {
    return flag ? "TRUE" : "FALSE";
}

std::string mrx_conf_names() {
    std::string names = "    ";
    size_t next_break = 60;
    bool first = true;
    for (const MorixRecord* r : host_info_list) {
        if (r == nullptr)
            break;
        if (!is_selected(r) || !r->reachable)
            continue;
        if (!first)
            names += ", ";
        if (names.size() > next_break) {
            names += "\n    ";
            next_break = names.size() + 60;
        }
        names += r->name;
        first = false;
    }
    return names;
}

int build_mrx_conf(const std::string& text, int parent_id, std::function<void()> ok_action) {
    return gui_display_question(parent_id,
                                text + "\n\n" + mrx_conf_names() + "\n\nDo you want to continue?",
                                "", std::move(ok_action));
}
