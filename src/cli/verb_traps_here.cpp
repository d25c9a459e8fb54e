// mm_cli send-traps-here: points the selected devices' traps at this
// station (mrxSnmpTrapHost1 or 2 and mrxSnmpTrapCommunity), with undo
// script and read-back.
#include <algorithm>
#include <cstdio>

#include "cli/cli.h"
#include "cli/cli_outcome.h"
#include "devices/mrx_select.h"
#include "events/trap_hosts.h"
#include "ops/change.h"
#include "ui/widget_ids.h"

int verb_send_traps_here(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("send-traps-here");
    TrapHostsRequest req;
    for (size_t i = 0; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return cli_usage_error(verb, "option " + args[i] + " needs a value");
        const std::string& o = args[i];
        const std::string& v = args[i + 1];
        if (o == "--host" && (v == "1" || v == "2"))
            req.slot = v == "2" ? 2 : 1;
        else if (o == "--address")
            req.address = v;
        else if (o == "--community" && !v.empty())
            req.community = v;
        else
            return cli_usage_error(verb, "bad option or value: " + o + " " + v);
    }
    // The selection check marks the devices of the list (its warnings name
    // those that cannot be reached).
    if (!check_main_sel(W_MAIN_WINDOW, SEL_REACHABLE))
        return CLI_FAILED;
    std::vector<MorixRecord*> devices = selected_reachable();
    ChangeOutcome change;
    Outcome out = send_traps_here(req, devices, &change);
    // A refusal is a warning (the Events window's box) and the device's
    // reason: said once here.
    Outcome said = out;
    said.warnings.clear();
    for (const std::string& w : out.warnings)
        if (std::none_of(out.devices.begin(), out.devices.end(),
                         [&w](const DeviceOutcome& d) { return d.reason == w; }))
            said.warnings.push_back(w);
    int status = cli_print_outcome("send-traps-here", said);
    return std::max(status, cli_answer_reset("send-traps-here", change, out));
}
