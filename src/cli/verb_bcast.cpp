// mm_cli bcast: the message broadcast to the users of the devices with the
// option given, after the confirmation (-y).
#include "cli/cli.h"
#include "cli/cli_asked.h"
#include "cli/cli_outcome.h"
#include "devices/mrx_select.h"
#include "ops/control.h"
#include "ui/progress.h"
#include "ui/widget_ids.h"

int verb_bcast(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("bcast");
    const char* const names[3] = {"allPorts", "activePorts", "console"};
    int option = 0;
    for (int o = 1; o <= 3 && !args.empty(); ++o)
        if (args[0] == std::to_string(o) || args[0] == names[o - 1])
            option = o;
    if (args.size() != 2 || option == 0)
        return cli_usage_error(verb, "OPTION is 1..3 or allPorts, activePorts, console; then "
                                     "one MESSAGE argument");
    if (!check_main_sel(W_BCAST_FORM, SEL_REACHABLE))
        return cli_print_outcome("bcast", cli_nothing_reachable("the broadcast"));
    std::vector<std::string> checked = cli_take_warnings();
    BcastRequest req;
    req.devices = selected_reachable();
    req.option = option;
    req.text = args[1];
    Outcome o;
    if (!front_end_asker().ask(control_question(
            "The message will be broadcast to the following Morixes:", req.devices))) {
        cli_confirmed();
        o.result = Result::cancelled;
        o.devices = declined_outcomes(req.devices, "the broadcast");
        return cli_print_served("bcast", o, checked, "the broadcast");
    }
    o = process_bcast(req);
    if (!o.report.empty())
        o.report += "\n";
    return cli_print_served("bcast", o, checked, "the broadcast");
}
