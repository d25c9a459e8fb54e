// mm_cli page: a basic-mode page of the selected devices as "label: value"
// lines; with FIELD=VALUE arguments, those fields changed and the page
// applied with the window's checks and messages.
#include <algorithm>
#include <cstdio>

#include "basic/basic_page.h"
#include "basic/port_pages.h"
#include "cli/cli.h"
#include "cli/cli_json.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/port_resolve.h"
#include "ui/program.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

void json_fields(BasicPage& p) {
    JsonWriter& j = cli_json_doc();
    j.str("page", p.name).begin_array("wan_modules");
    for (const std::string& row :
         p.fields.empty() ? ui_list_items(BW_WAN_LIST, UI_BASIC) : std::vector<std::string>{})
        j.str("", row);
    j.end_array().begin_array("fields");
    // A blank value is a field whose devices disagree (or that is empty).
    for (size_t i = 0; i < p.fields.size(); ++i)
        if (is_sens(p.fields[i].widget, UI_BASIC))
            j.begin_object()
                .str("key", p.fields[i].key)
                .str("label", p.fields[i].label)
                .str("value", page_field_text(p, i))
                .end_object();
    j.end_array();
}

void print_fields(BasicPage& p) {
    if (cli_json)
        return json_fields(p);
    if (p.fields.empty())
        for (const std::string& row : ui_list_items(BW_WAN_LIST, UI_BASIC))
            std::printf("%s\n", row.c_str());
    for (size_t i = 0; i < p.fields.size(); ++i)
        if (is_sens(p.fields[i].widget, UI_BASIC))
            std::printf("%s: %s\n", p.fields[i].label, page_field_text(p, i).c_str());
    std::fflush(stdout);
}

int field_index(const BasicPage& p, const std::string& key) {
    for (size_t i = 0; i < p.fields.size(); ++i)
        if (key == p.fields[i].key && p.fields[i].kind != FK_SHOWN)
            return static_cast<int>(i);
    return -1;
}

// The WAN edit page works on the modules named "DEVICE:MODULES" (all when
// none), MODULES read as every command reads WAN module numbers. A device
// that lacks a named module is refused, naming it, before anything is sent.
bool choose_modules(const std::string& named, std::string* refusal) {
    std::vector<std::pair<const MorixRecord*, DevicePorts>> want;
    for (const std::string& w : cli_split(named, ',')) {
        size_t colon = w.rfind(':');
        const MorixRecord* r =
            colon == std::string::npos ? nullptr : find_record(w.substr(0, colon));
        if (!r) {
            *refusal = "mm_cli page: '" + w + "' names no Morix of the list as DEVICE:MODULE.";
            return false;
        }
        DevicePorts d = resolve_port_text(*r, PT_DS1INF, w.substr(colon + 1), PortPurpose::page);
        if (!d.refusal.empty()) {
            *refusal = d.refusal;
            return false;
        }
        want.emplace_back(r, d);
    }
    // The list takes several modules, as the window's list does.
    ui_list_set_policy(BW_WAN_LIST, LSP_EXTENDED, UI_BASIC);
    std::vector<std::string> rows = ui_list_items(BW_WAN_LIST, UI_BASIC);
    for (size_t i = 0; i < rows.size(); ++i) {
        char name[64] = {};
        int module = 0;
        std::sscanf(rows[i].c_str(), "%63s %d", name, &module);
        bool take = want.empty();
        for (const auto& [r, d] : want)
            take |= r->name == name && std::find(d.ports.begin(), d.ports.end(),
                                                 module_if_index(*r, module)) != d.ports.end();
        if (take)
            ui_list_select_pos(BW_WAN_LIST, static_cast<int>(i) + 1, false, UI_BASIC);
    }
    return !ui_list_selected_pos(BW_WAN_LIST, UI_BASIC).empty();
}

// A category chosen as a press would: the toggle set, then its action (a
// page opens only for a toggle that is set).
void choose_category(int category) {
    ui_set_toggle(category, true, false, UI_BASIC);
    basic_dispatch(category);
}

} // namespace

int verb_page(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("page");
    if (args.empty())
        return cli_usage_error(verb, "a page name is needed");
    BasicPage* p = find_page(args[0]);
    if (!p)
        return cli_usage_error(verb, "no page '" + args[0] + "'");
    std::vector<std::string> sets(args.begin() + 1, args.end());
    std::string modules;
    if (!sets.empty() && sets[0].rfind("--modules=", 0) == 0) {
        modules = sets[0].substr(10);
        sets.erase(sets.begin());
    }
    bool async = p == find_page("async-ports") || p == find_page("async-add");
    std::string ports;
    if (sets.size() >= 2 && sets[0] == "-P") {
        if (!async)
            return cli_usage_error(verb, std::string("page ") + p->name + " takes no port list");
        ports = sets[1];
        sets.erase(sets.begin(), sets.begin() + 2);
    }
    dispatch_main(W_SETUP_BTN);
    if (!ui_is_managed(BW_SETUP_FORM, UI_BASIC))
        return CLI_FAILED;
    if (p == find_page("general-cont"))
        basic_dispatch(BW_GEN_MORE);
    else if (p == find_page("wan-edit")) {
        choose_category(CAT_WAN);
        std::string refusal;
        if (!choose_modules(modules, &refusal)) {
            if (refusal.empty())
                return cli_usage_error(verb, "no WAN module chosen");
            std::fprintf(stderr, "%s\n", refusal.c_str());
            return CLI_FAILED;
        }
        basic_dispatch(BW_WAN_EDIT_PB);
    } else if (async) {
        ui_set_text(BW_ASYNC_PORTS, ports, UI_BASIC);
        choose_category(CAT_ASYNC);
        if (p == find_page("async-add"))
            basic_dispatch(BW_ASYNC_ADD_OPEN);
    } else {
        choose_category(p->category);
    }
    int warned = cli_flush_warnings();
    for (const std::string& s : sets) {
        size_t eq = s.find('=');
        int i = eq == std::string::npos ? -1 : field_index(*p, s.substr(0, eq));
        if (i < 0)
            return cli_usage_error(verb, "no field '" + s.substr(0, eq) + "' on page " + p->name);
        // A field the window does not offer for this selection is refused
        // before anything is sent, as a press on it would do nothing.
        if (!is_sens(p->fields[i].widget, UI_BASIC)) {
            std::fprintf(stderr,
                         "mm_cli page: field '%s' of page %s cannot be changed for the selected "
                         "Morixes; nothing was sent.\n",
                         p->fields[i].key, p->name);
            return CLI_FAILED;
        }
        page_set_field(*p, static_cast<size_t>(i), s.substr(eq + 1));
        if (p->fields[i].kind == FK_TOGGLE) // its action, as a press would run it
            basic_dispatch(p->fields[i].widget);
    }
    if (!sets.empty()) {
        int ok = page_conf_apply(*p);
        if (p == find_page("general-cont"))
            ok = ok && page_conf_apply(*find_page("general"));
        warned += cli_flush_warnings();
        if (!ok)
            return CLI_FAILED;
    }
    print_fields(*p);
    return warned ? CLI_FAILED : CLI_OK;
}

// Field names of every page, for mm_cli --help.
std::string page_field_help() {
    std::string text;
    for (BasicPage* p : basic_pages()) {
        text += std::string("  ") + p->name + ":";
        for (const PageField& f : p->fields)
            if (f.kind != FK_SHOWN)
                text += std::string(" ") + f.key;
        text += "\n";
    }
    return text;
}
