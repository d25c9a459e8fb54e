// mm_cli reset: reset CODE of the devices, with the ports, modems or PRI
// modules given, after the confirmation (-y).
#include <cstdlib>

#include "cli/cli.h"
#include "cli/cli_asked.h"
#include "cli/cli_outcome.h"
#include "devices/mrx_select.h"
#include "ops/control.h"
#include "snmp_access/port_inst.h"
#include "ui/program.h"
#include "ui/progress.h"
#include "ui/widget_ids.h"

namespace {

// Whether the Reset window offers code (with that port type for a port
// reset): the verb takes the window's codes and no other.
bool offered(int code, int port_type) {
    for (int id : window_command_ids(W_RST_FORM)) {
        int c = 0, t = 0;
        if (reset_choice(id, &c, &t) && c == code && (c != RESET_PORT || t == port_type))
            return true;
    }
    return false;
}

} // namespace

int verb_reset(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("reset");
    const char* const codes = "CODE is 1..19, 97 (PRI), 98 (modems) or 99 (ports)";
    if (args.empty() || args[0].find_first_not_of("0123456789") != std::string::npos ||
        args[0].size() > 3)
        return cli_usage_error(verb, codes);
    ResetRequest req;
    req.code = std::atoi(args[0].c_str());
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "-P" && i + 1 < args.size())
            req.ports = args[++i];
        else if (args[i] == "-p" && i + 1 < args.size())
            req.port_type = cli_port_type(args[++i]);
        else
            return cli_usage_error(verb, "unexpected argument '" + args[i] + "'");
    }
    if (req.port_type != PT_ASY && req.port_type != PT_PTR)
        return cli_usage_error(verb, "a port reset takes -p asy or -p ptr");
    if (!offered(req.code, req.port_type))
        return cli_usage_error(verb, codes);
    if (!check_main_sel(W_RST_FORM, SEL_REACHABLE))
        return cli_print_outcome("reset", cli_nothing_reachable("the reset"));
    std::vector<std::string> checked = cli_take_warnings();
    req.devices = selected_reachable();
    Outcome o = process_reset(req, front_end_asker());
    if (o.result == Result::cancelled && o.report.empty())
        cli_confirmed();
    if (!o.report.empty())
        o.report += "\n";
    return cli_print_served("reset", o, checked, "the reset");
}
