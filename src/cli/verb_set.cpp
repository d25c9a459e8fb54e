// mm_cli set: the Set window's rows for the named variables, each marked
// and given its value (an enumeration entry by name), then Set.
#include "cli/cli.h"
#include "ops/set_window.h"
#include "ops/show.h"
#include "ui/program.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

// The row whose name toggle carries name, or -1.
int find_row(const std::string& name) {
    for (int r = 0; ui_exists(set_row_id(r, SRP_TOGGLE), UI_SET_ROWS); ++r)
        if (get_widget_label(set_row_id(r, SRP_TOGGLE), UI_SET_ROWS) == name)
            return r;
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
    ui_set_text(W_SET_PORT_TF, ports);
    for (const auto& v : values) {
        int r = find_row(v.first);
        if (r < 0)
            continue; // reported by the window as an unknown parameter
        ui_set_toggle(set_row_id(r, SRP_TOGGLE), true, true, UI_SET_ROWS);
        if (ui_exists(set_row_id(r, SRP_OPTION), UI_SET_ROWS))
            set_option_menu_top_button(set_row_id(r, SRP_OPTION), v.second, UI_SET_ROWS);
        else
            ui_set_text(set_row_id(r, SRP_TEXT), v.second, UI_SET_ROWS);
    }
    cli_watch_output(W_SET_MSG);
    int result = read_set_val_proc();
    cli_flush_output();
    return result == SET_DONE ? CLI_OK : CLI_FAILED;
}
