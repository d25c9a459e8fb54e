// mm_cli reset: the Reset window's option for CODE chosen, the ports typed,
// then Reset.
#include <cstdlib>

#include "cli/cli.h"
#include "cli/cli_outcome.h"
#include "devices/mrx_select.h"
#include "devices/text_buf.h"
#include "ops/control.h"
#include "snmp_access/port_inst.h"
#include "ui/program.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

int verb_reset(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("reset");
    if (args.empty() || args[0].find_first_not_of("0123456789") != std::string::npos ||
        args[0].size() > 3)
        return cli_usage_error(verb, "CODE is 1..19, 97 (PRI), 98 (modems) or 99 (ports)");
    int code = std::atoi(args[0].c_str()), port_type = PT_ASY;
    std::string ports;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "-P" && i + 1 < args.size())
            ports = args[++i];
        else if (args[i] == "-p" && i + 1 < args.size())
            port_type = cli_port_type(args[++i]);
        else
            return cli_usage_error(verb, "unexpected argument '" + args[i] + "'");
    }
    if (port_type != PT_ASY && port_type != PT_PTR)
        return cli_usage_error(verb, "a port reset takes -p asy or -p ptr");
    int toggle = -1;
    for (int id : window_command_ids(W_RST_FORM)) {
        int c = 0, t = 0;
        if (toggle < 0 && reset_choice(id, &c, &t) && c == code &&
            (c != RESET_PORT || t == port_type))
            toggle = id;
    }
    if (toggle < 0)
        return cli_usage_error(verb, "CODE is 1..19, 97 (PRI), 98 (modems) or 99 (ports)");
    ResetRequest req;
    req.code = code;
    req.port_type = port_type;
    req.ports = ports;
    std::vector<int> numbers;
    if (!check_main_sel(W_RST_FORM, SEL_REACHABLE) ||
        reset_request_code(req, W_RST_FORM, &numbers) < 0)
        return CLI_FAILED;
    bool confirmed = false;
    Outcome o;
    build_mrx_conf("The reset option you selected will take place for the following Morixes:",
                   W_RST_FORM, [&] {
                       confirmed = true;
                       o.result = reset_exec(req, W_RST_FORM, &o.devices);
                   });
    if (!confirmed) {
        cli_confirmed();
        return CLI_FAILED;
    }
    o.warnings = cli_take_warnings();
    return cli_print_outcome("reset", o);
}
