// mm_cli page: a basic-mode page of the selected devices as "label: value"
// lines; with FIELD=VALUE arguments, those fields changed and the page
// applied with the window's checks and messages. The verb builds the
// page's request and prints the outcome; the page's record is its report.
#include <algorithm>
#include <cstdio>

#include "basic/basic_page.h"
#include "cli/cli.h"
#include "cli/cli_json.h"
#include "cli/cli_outcome.h"
#include "devices/mrx_select.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/port_resolve.h"
#include "snmp_access/session.h"
#include "ui/widget_ids.h"

namespace {

// The fields the page offers for these devices, as "label: value" lines
// (the WAN list's rows first); in --json the page's members. A blank value
// is a field whose devices disagree (or that is empty).
std::string page_report(BasicPage& p) {
    std::vector<std::string> rows = p.fields.empty() ? p.view.rows : std::vector<std::string>{};
    if (cli_json) {
        JsonWriter& j = cli_json_doc();
        j.str("page", p.name).begin_array("wan_modules");
        for (const std::string& row : rows)
            j.str("", row);
        j.end_array().begin_array("fields");
        for (size_t i = 0; i < p.fields.size(); ++i)
            if (p.view.fields[i].sensitive)
                j.begin_object()
                    .str("key", p.fields[i].key)
                    .str("label", p.fields[i].label)
                    .str("value", page_field_text(p, i))
                    .end_object();
        j.end_array();
    }
    std::string text;
    for (const std::string& row : rows)
        text += row + "\n";
    for (size_t i = 0; i < p.fields.size(); ++i)
        if (p.view.fields[i].sensitive)
            text += std::string(p.fields[i].label) + ": " + page_field_text(p, i) + "\n";
    return text;
}

// "DEVICE:MODULES,..." as every command reads WAN module numbers; a
// device that lacks a named module is refused, naming it.
bool parse_modules(const std::string& named, PageRequest* req, std::string* refusal) {
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
        req->modules.emplace_back(r, d.ports);
    }
    return true;
}

} // namespace

int verb_page(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("page");
    if (args.empty())
        return cli_usage_error(verb, "a page name is needed");
    BasicPage* p = find_page(args[0]);
    if (!p)
        return cli_usage_error(verb, "no page '" + args[0] + "'");
    PageRequest req;
    req.page = args[0];
    std::vector<std::string> sets(args.begin() + 1, args.end());
    std::string modules;
    if (!sets.empty() && sets[0].rfind("--modules=", 0) == 0) {
        modules = sets[0].substr(10);
        sets.erase(sets.begin());
    }
    if (sets.size() >= 2 && sets[0] == "-P") {
        if (p != find_page("async-ports") && p != find_page("async-add"))
            return cli_usage_error(verb, std::string("page ") + p->name + " takes no port list");
        req.ports = sets[1];
        sets.erase(sets.begin(), sets.begin() + 2);
    }
    for (const std::string& s : sets) {
        size_t eq = s.find('=');
        if (eq == std::string::npos || page_field_index(*p, s.substr(0, eq)) < 0)
            return cli_usage_error(verb, "no field '" + s.substr(0, eq) + "' on page " + p->name);
        req.sets.emplace_back(s.substr(0, eq), s.substr(eq + 1));
    }
    std::string refusal;
    if (!modules.empty() && !parse_modules(modules, &req, &refusal)) {
        std::fprintf(stderr, "%s\n", refusal.c_str());
        return CLI_FAILED;
    }
    // Every device of the list is asked for; the selection check names those
    // that cannot be reached, and the run lists them as such.
    check_main_sel(W_MAIN_WINDOW, SEL_REACHABLE);
    std::vector<std::string> checked = cli_take_warnings();
    req.devices = session().selection();
    PageOutcome po = run_page(req);
    Outcome& o = po.outcome;
    o.warnings.insert(o.warnings.begin(), checked.begin(), checked.end());
    // The page as it stands is the report (not when it could not be read).
    o.report = o.result == Result::refused && po.page && po.page->first_time ? "" : page_report(*p);
    return cli_print_outcome("page", o);
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
