// mm_cli bcast: the message typed into the Broadcast window, the option
// chosen, then Apply after the operator's confirmation.
#include "cli/cli.h"
#include "cli/cli_outcome.h"
#include "devices/text_buf.h"
#include "ops/control.h"
#include "ui/program.h"
#include "ui/ui.h"
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
    BcastRequest req;
    req.option = option;
    req.text = args[1];
    if (ask_user(W_BCAST_FORM, "Confirmation", "OK", "Cancel", 0,
                 "The message will be broadcast to the following Morixes:\n\n" + mrx_conf_names() +
                     "\n\nDo you want to continue?") != ASK_OK) {
        cli_confirmed();
        return CLI_FAILED;
    }
    Outcome o;
    o.result = bcast_exec(req, &o.devices);
    o.warnings = cli_take_warnings();
    return cli_print_outcome("bcast", o);
}
