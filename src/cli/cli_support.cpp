// Helpers shared by the verb handlers of mm_cli.
#include <cstdio>

#include "basic/basic_page.h"
#include "catalogue/func_catalogue.h"
#include "catalogue/mib_catalogue.h"
#include "cli/cli.h"
#include "cli/cli_json.h"
#include "snmp_access/morix_record.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/session.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"
#include "ui/window_state.h"
#include "ui_headless/ui_headless.h"

namespace {

size_t warnings_seen = 0;
// Warnings mm_cli itself raised, in the order raised.
std::vector<std::string> own_warnings;

} // namespace

const CliVerb* find_cli_verb(const std::string& name) {
    for (const CliVerb* v = cli_verbs; v->name; ++v)
        if (name == v->name)
            return v;
    return nullptr;
}

int cli_usage_error(const CliVerb& verb, const std::string& message) {
    std::fprintf(stderr, "mm_cli %s: %s\nusage: mm_cli [OPTIONS] %s\n", verb.name, message.c_str(),
                 verb.usage);
    return CLI_USAGE;
}

int cli_flush_warnings() {
    std::vector<std::string> warnings = cli_take_warnings();
    for (const std::string& w : warnings)
        std::fprintf(stderr, "%s\n", w.c_str());
    std::fflush(stderr);
    return static_cast<int>(warnings.size());
}

int cli_port_type(const std::string& keyword) {
    int code = 0;
    if (!cvt_port_str_opt(keyword, &code) || code < PT_ASY || code > PT_CHANNELS)
        return -1;
    return code;
}

std::vector<std::string> cli_split(const std::string& text, char sep) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(sep, start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

namespace {
std::vector<std::string> chosen_params;
bool chosen_params_listed = false;
} // namespace

void cli_choose_params(const std::vector<std::string>& names, int param_sel) {
    chosen_params = names;
    chosen_params_listed = param_sel != 0;
}

MainSelection cli_main_selection() {
    MainSelection sel;
    sel.rows = session().devices().count();
    for (int row = 1; row <= sel.rows; ++row)
        sel.devices.push_back(row);
    sel.params = chosen_params;
    sel.params_listed = chosen_params_listed;
    return sel;
}

void cli_warn(const std::string& text) {
    if (!text.empty())
        own_warnings.push_back(text);
}

std::vector<std::string> cli_take_warnings() {
    std::vector<std::string> out;
    out.swap(own_warnings);
    const std::vector<HlEvent>& events = hl_events();
    for (; warnings_seen < events.size(); ++warnings_seen)
        if (events[warnings_seen].kind == "warn" && !events[warnings_seen].text.empty())
            out.push_back(events[warnings_seen].text);
    return out;
}

bool cli_confirmed(const char* nothing_done) {
    const std::vector<HlEvent>& events = hl_events();
    for (size_t i = events.size(); i-- > 0;) {
        if (events[i].kind != "ask" && events[i].kind != "question")
            continue;
        if (events[i].answer == ASK_OK)
            return true;
        std::fprintf(stderr, "Not confirmed (answer with -y): %s.\n", nothing_done);
        return false;
    }
    return true;
}

size_t cli_question_mark() {
    return hl_events().size();
}

void cli_say_kept(const char* verb, const std::string& path) {
    std::fprintf(stderr, "mm_cli %s: %s exists; it was not overwritten (give -y).\n", verb,
                 path.c_str());
}

bool cli_kept_file(size_t mark, const char* verb, const std::string& path) {
    const std::vector<HlEvent>& events = hl_events();
    for (size_t i = mark; i < events.size(); ++i) {
        const HlEvent& e = events[i];
        if ((e.kind == "ask" || e.kind == "question") && e.title == "Overwrite" &&
            e.answer != ASK_OK) {
            cli_say_kept(verb, path);
            return true;
        }
    }
    return false;
}

const char* cli_node_status_word(int status) {
    switch (status) {
    case 0:
        return "present";
    case 5:
        return "no such variable";
    case 7:
        return "read-only";
    case 8:
        return "bad value";
    case 17:
        return "not done";
    default:
        return "error";
    }
}

bool cli_print_names(const std::string& kind, const std::string& page) {
    std::vector<std::string> names;
    if (kind == "verbs") {
        for (const CliVerb* v = cli_verbs; v->name; ++v)
            names.push_back(v->name);
    } else if (kind == "vars") {
        for (const auto& e : mib_data_list)
            if (e)
                names.push_back(e->name);
    } else if (kind == "funcs") {
        for (const auto& f : mib_func_list)
            if (f)
                names.push_back(f->name);
    } else if (kind == "pages") {
        for (BasicPage* p : basic_pages())
            names.push_back(p->name);
    } else if (kind == "fields") {
        BasicPage* p = find_page(page);
        for (size_t i = 0; p && i < p->fields.size(); ++i)
            if (p->fields[i].kind != FK_SHOWN)
                names.push_back(p->fields[i].key);
    } else {
        return false;
    }
    for (const std::string& n : names)
        std::printf("%s\n", n.c_str());
    return true;
}
