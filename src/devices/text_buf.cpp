#include "devices/text_buf.h"

#include "snmp_access/morix_record.h"

void text_set_buf(const std::string& text, std::string* buffer, int new_line) {
    *buffer += text;
    if (new_line == 1)
        *buffer += "\n";
}

const char* itob(int flag) {
    return flag ? "TRUE" : "FALSE";
}

std::string mrx_conf_names() {
    return mrx_conf_names(selected_reachable());
}

std::string mrx_conf_names(const std::vector<MorixRecord*>& recs) {
    std::string names = "    ";
    size_t next_break = 60;
    bool first = true;
    for (const MorixRecord* r : recs) {
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

Question mrx_conf_question(const std::string& text, const std::vector<MorixRecord*>& recs) {
    Question q;
    q.title = "Confirmation";
    q.text = text + "\n\n" + mrx_conf_names(recs) + "\n\nDo you want to continue?";
    return q;
}
