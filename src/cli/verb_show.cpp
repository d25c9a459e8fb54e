// mm_cli show: the Show window with its port type toggle, port list and
// detailed-output toggle, then Apply.
#include <cstdio>

#include "catalogue/mib_catalogue.h"
#include "cli/cli.h"
#include "devices/mrx_select.h"
#include "ops/show.h"
#include "ui/program.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

int verb_show(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("show");
    bool detailed = false;
    int port_type = port_type_choices()[0].code;
    std::string ports, vars, func;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool has_value = i + 1 < args.size();
        if (a == "-d")
            detailed = true;
        else if (a == "-p" && has_value)
            port_type = cli_port_type(args[++i]);
        else if (a == "-P" && has_value)
            ports = args[++i];
        else if (a == "-v" && has_value)
            vars = args[++i];
        else if (a == "-f" && has_value)
            func = args[++i];
        else
            return cli_usage_error(verb, "unexpected argument '" + a + "'");
    }
    if (port_type < 0)
        return cli_usage_error(verb, "unknown port type");
    if (vars.empty() == func.empty())
        return cli_usage_error(verb, "give either -v or -f");
    // A name the catalogue does not hold is reported and left out; the
    // others are still shown (and the status tells of the one left out).
    int unknown = 0;
    if (!vars.empty()) {
        std::vector<std::string> known;
        for (const std::string& n : cli_split(vars, ',')) {
            int id = 0;
            if (get_check_mib_var(n, &id) == 1) {
                known.push_back(n);
                continue;
            }
            std::fprintf(stderr, "mm_cli show: no parameter '%s'; it is not shown.\n", n.c_str());
            ++unknown;
        }
        if (known.empty())
            return CLI_FAILED;
        cli_choose_params(known, 1);
    } else
        cli_choose_params({func}, 0);
    if (!check_main_sel(W_SHOW_FORM, SEL_SHOW_SET))
        return CLI_FAILED;
    ShowRequest req;
    req.items = ui_list_selected_items(W_FUNC_LIST);
    req.param_sel = vars.empty() ? 0 : 1;
    req.port_type = port_type;
    req.ports = ports;
    req.detailed = detailed;
    req.parent = W_SHOW_FORM;
    req.output = W_SHOW_TEXT;
    cli_watch_output(W_SHOW_TEXT);
    int result = process_show(req);
    cli_flush_output();
    return result != SHOW_DONE || unknown ? CLI_FAILED : CLI_OK;
}
