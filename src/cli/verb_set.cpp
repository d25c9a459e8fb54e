// mm_cli set: a Set request of the named variables and their values (an
// enumeration entry by name), sent like the Set window's Apply.
#include <algorithm>

#include "catalogue/mib_catalogue.h"
#include "cli/cli.h"
#include "cli/cli_outcome.h"
#include "devices/mrx_select.h"
#include "ops/set_cmd.h"
#include "ops/show.h"
#include "ui/progress.h"
#include "ui/widget_ids.h"

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
    // The request: one marked row per variable, its value as typed (an
    // enumeration entry by name).
    SetCommand cmd;
    cmd.input.ports = ports;
    cmd.port_type = port_type;
    cmd.parent = W_MAIN_WINDOW;
    for (const auto& v : values) {
        int id = 0;
        if (!get_check_mib_var(v.first, &id))
            return cli_usage_error(verb, "no variable '" + v.first + "' in the catalogue");
        cmd.rows.push_back(set_row_of(id));
        SetRowInput in;
        in.marked = true;
        (cmd.rows.back().enumerated ? in.option : in.text) = v.second;
        cmd.input.rows.push_back(in);
    }
    if (!check_main_sel(W_MAIN_WINDOW, SEL_REACHABLE))
        return CLI_FAILED;
    cmd.devices = selected_reachable();
    SetOutcome so = run_set(cmd, front_end_asker());
    int status = cli_print_outcome("set", so.outcome);
    return std::max(status, cli_answer_reset("set", so.change, so.outcome));
}
