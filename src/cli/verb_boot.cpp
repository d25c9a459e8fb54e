// mm_cli boot: the boot of the devices with the option and the fields
// given; the fields not given keep what the devices hold (the addresses
// and image name common to them), as the Boot dialog shows it.
#include <cstdio>

#include "cli/cli.h"
#include "cli/cli_asked.h"
#include "cli/cli_outcome.h"
#include "devices/mrx_select.h"
#include "ops/control.h"
#include "ui/progress.h"
#include "ui/widget_ids.h"

namespace {

const char* const boot_opts[BOOT_FIELDS] = {"--load",  "--dump", "--gateway",
                                            "--image", "--time", "--message"};
const char* const boot_names[BOOT_OPTIONS] = {"bootNow",   "timedBoot", "cancelBoot", "dumpAndBoot",
                                              "flashBoot", "loadFlash", "shutdown"};

// A cancel while the boot option was being sent, said without the window.
constexpr const char* MSG_CANCELLED_BOOTING =
    "The boot operation was cancelled in progress.\nSome Morixes may have taken the boot: "
    "'mm_cli status mrx' shows the current state of each.";

int boot_option(const std::string& a) {
    for (int o = 1; o <= BOOT_OPTIONS; ++o)
        if (a == std::to_string(o) || a == boot_names[o - 1])
            return o;
    return 0;
}

// Every device refused with the same reason.
Outcome refuse_all(const BootRequest& req, const std::string& warning, const std::string& why) {
    Outcome o;
    o.result = Result::refused;
    o.warnings.push_back(warning);
    for (const MorixRecord* r : req.devices)
        o.devices.push_back({r->name, DeviceState::refused, why});
    return o;
}

} // namespace

int verb_boot(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("boot");
    if (args.empty() || boot_option(args[0]) == 0)
        return cli_usage_error(verb, "OPTION is 1..7 or bootNow, timedBoot, cancelBoot, "
                                     "dumpAndBoot, flashBoot, loadFlash, shutdown");
    BootRequest req;
    req.option = boot_option(args[0]);
    std::vector<std::pair<int, std::string>> typed;
    for (size_t i = 1; i < args.size(); i += 2) {
        int f = -1;
        for (int k = 0; k < BOOT_FIELDS; ++k)
            if (args[i] == boot_opts[k])
                f = k;
        if (f < 0 || i + 1 >= args.size())
            return cli_usage_error(verb, "unexpected argument '" + args[i] + "'");
        if (!boot_field_enabled(req.option, f))
            return cli_usage_error(verb, std::string(boot_opts[f]) +
                                             " is not used by boot option " +
                                             boot_names[req.option - 1]);
        typed.push_back({f, args[i + 1]});
    }
    if (!check_main_sel(W_MAIN_WINDOW, SEL_REACHABLE))
        return cli_print_outcome("boot", cli_nothing_reachable("the boot"));
    std::vector<std::string> checked = cli_take_warnings();
    req.devices = selected_reachable();
    BootRead read = read_boot_values(req.devices);
    if (read.outcome.result != Result::done)
        return cli_print_served("boot", read.outcome, checked, "the boot");
    const std::string name = boot_names[req.option - 1];
    if (is_flash_option(req.option) && !read.values.flash)
        return cli_print_served(
            "boot",
            refuse_all(req, "Boot option " + name + " is not offered for these Morixes.",
                       "boot option " + name + " needs every Morix to boot from flash"),
            checked, "the boot");
    // The request: the fields as the devices hold them, those given replaced.
    for (int f = 0; f < BOOT_ADDRESSES; ++f)
        req.fields[f] = req.shown[f] = read.values.addresses[f];
    req.fields[BF_IMAGE] = read.values.image;
    for (const auto& t : typed)
        req.fields[t.first] = t.second;
    BootOutcome b = process_boot(req, front_end_asker());
    Outcome o = b.outcome;
    if (b.cancelled_in == 0 && o.result == Result::cancelled)
        cli_confirmed();
    if (b.cancelled_in == 2)
        o.warnings.push_back(MSG_CANCELLED_BOOTING);
    // What the devices held before is a note; the boot's own words follow.
    o.warnings.insert(o.warnings.begin(), read.outcome.warnings.begin(),
                      read.outcome.warnings.end());
    if (!o.report.empty())
        o.report += "\n";
    return cli_print_served("boot", o, checked, "the boot");
}
