// mm_cli set: the Set window's rows for the named variables, then a Set
// request that marks each and gives its value (an enumeration entry by
// name).
#include "catalogue/mib_catalogue.h"
#include "cli/cli.h"
#include "ops/set_window.h"
#include "ops/show.h"
#include "ui/program.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

// The row of the Set window for the variable name, or -1.
int find_row(const std::string& name) {
    for (size_t r = 0; r < set_wlist.size(); ++r) {
        const MibVarEntry* e = mib_var(set_wlist[r].mib_index);
        if (e && e->name == name)
            return static_cast<int>(r);
    }
    return -1;
}

} // namespace

int verb_set(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("set");
    int port_type = port_type_choices()[0].code;
    std::string ports;
    std::vector<std::pair<std::string, std::string>> values;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        size_t eq = a.find('=');
        if (a == "-p" && i + 1 < args.size())
            port_type = cli_port_type(args[++i]);
        else if (a == "-P" && i + 1 < args.size())
            ports = args[++i];
        else if (eq != std::string::npos && eq > 0)
            values.emplace_back(a.substr(0, eq), a.substr(eq + 1));
        else
            return cli_usage_error(verb, "unexpected argument '" + a + "'");
    }
    if (port_type < 0)
        return cli_usage_error(verb, "unknown port type");
    if (values.empty())
        return cli_usage_error(verb, "give at least one NAME=VALUE");
    std::vector<std::string> names;
    for (const auto& v : values)
        names.push_back(v.first);
    cli_choose_params(names, 1);
    if (!process_set())
        return CLI_FAILED;
    set_option_menu_top_button(W_SET_PORT_OM, set_port_type_label(port_type));
    dispatch_main(W_SET_PORT_OM);
    SetRequest req;
    req.ports = ports;
    req.rows.resize(set_wlist.size());
    for (const auto& v : values) {
        int r = find_row(v.first);
        if (r < 0)
            continue; // reported by the window as an unknown parameter
        req.rows[r].marked = true;
        (set_wlist[r].enumerated ? req.rows[r].option : req.rows[r].text) = v.second;
    }
    cli_watch_output(W_SET_MSG);
    int result = read_set_val_proc(req);
    cli_flush_output();
    return result == SET_DONE ? CLI_OK : CLI_FAILED;
}
