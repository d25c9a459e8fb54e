// mm_cli boot: the Boot dialog filled for the devices, the option chosen,
// the given fields typed, then Boot. The report goes to standard output.
#include <cstdio>

#include "cli/cli.h"
#include "cli/cli_outcome.h"
#include "ops/control.h"
#include "ui/program.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

const char* const boot_opts[BOOT_FIELDS] = {"--load",  "--dump", "--gateway",
                                            "--image", "--time", "--message"};
const char* const boot_names[BOOT_OPTIONS] = {"bootNow",   "timedBoot", "cancelBoot", "dumpAndBoot",
                                              "flashBoot", "loadFlash", "shutdown"};

int boot_option(const std::string& a) {
    for (int o = 1; o <= BOOT_OPTIONS; ++o)
        if (a == std::to_string(o) || a == boot_names[o - 1])
            return o;
    return 0;
}

} // namespace

int verb_boot(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("boot");
    if (args.empty() || boot_option(args[0]) == 0)
        return cli_usage_error(verb, "OPTION is 1..7 or bootNow, timedBoot, cancelBoot, "
                                     "dumpAndBoot, flashBoot, loadFlash, shutdown");
    int option = boot_option(args[0]);
    std::vector<std::pair<int, std::string>> typed;
    for (size_t i = 1; i < args.size(); i += 2) {
        int f = -1;
        for (int k = 0; k < BOOT_FIELDS; ++k)
            if (args[i] == boot_opts[k])
                f = k;
        if (f < 0 || i + 1 >= args.size())
            return cli_usage_error(verb, "unexpected argument '" + args[i] + "'");
        if (!boot_field_enabled(option, f))
            return cli_usage_error(verb, std::string(boot_opts[f]) +
                                             " is not used by boot option " +
                                             boot_names[option - 1]);
        typed.push_back({f, args[i + 1]});
    }
    if (open_boot_dialog() != Result::done)
        return CLI_FAILED;
    int toggle = W_BOOT_OPT_FIRST + option - 1;
    if (!boot_option_offered(option)) {
        cli_flush_warnings();
        std::fprintf(stderr, "Boot option %s is not offered for these Morixes.\n",
                     boot_names[option - 1]);
        return CLI_FAILED;
    }
    ui_set_toggle(toggle, true, false);
    dispatch_main(toggle);
    // The request: the fields as the dialog shows them, those given replaced.
    BootRequest req;
    for (int f = 0; f < BOOT_FIELDS; ++f)
        req.fields[f] = ui_get_text(boot_field_id(f));
    for (const auto& t : typed)
        req.fields[t.first] = t.second;
    cli_flush_warnings();
    Outcome o;
    o.result = process_boot(req, &o.devices);
    if (!cli_confirmed())
        o.result = Result::cancelled;
    // The boot's report is what the dialog says of it.
    for (const std::string& w : cli_take_warnings()) {
        if (o.result == Result::done)
            o.report += w + "\n";
        else
            o.warnings.push_back(w);
    }
    return cli_print_outcome("boot", o);
}
