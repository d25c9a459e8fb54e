#include "cli/cli_asked.h"
#include "snmp_access/session.h"

#include <algorithm>

#include "cli/cli.h"
#include "cli/cli_outcome.h"
#include "snmp_access/morix_record.h"

namespace {

// The one walk over the asked devices: a device out lists keeps its entry;
// an unlisted silent one is unreachable with NAME + unreachable_tail; an
// unlisted one that answered gets *others (left out when others is null).
void list_asked(Outcome* out, const std::string& unreachable_tail, const DeviceState* others,
                const std::string& why) {
    std::vector<DeviceOutcome> all;
    // mm_cli's list holds only the devices named on its command line.
    for (const MorixRecord* r : session().devices()) {
        if (!r)
            break;
        auto listed = std::find_if(out->devices.begin(), out->devices.end(),
                                   [r](const DeviceOutcome& d) { return d.device == r->name; });
        if (listed != out->devices.end())
            all.push_back(*listed);
        else if (!r->reachable)
            all.push_back({r->name, DeviceState::unreachable, r->name + unreachable_tail});
        else if (others)
            all.push_back(
                {r->name, *others, *others == DeviceState::done ? "" : r->name + ": " + why});
    }
    // Devices the outcome names that are not in the list stay, at the end.
    for (const DeviceOutcome& d : out->devices)
        if (std::none_of(all.begin(), all.end(),
                         [&d](const DeviceOutcome& e) { return e.device == d.device; }))
            all.push_back(d);
    out->devices = all;
    // A run that left a device undone did not do everything asked.
    for (const DeviceOutcome& d : out->devices)
        if (d.state != DeviceState::done && out->result == Result::done)
            out->result = Result::failed;
}

} // namespace

void cli_list_asked(Outcome* out, DeviceState state, const std::string& why) {
    list_asked(out, ": not reachable; nothing was done", &state, why);
}

void cli_complete_devices(Outcome* o) {
    if (!o->devices.empty())
        list_asked(o, ": not reachable; nothing was done", nullptr, "");
}

void cli_add_unreachable(Outcome* o, const std::string& what) {
    list_asked(o, " is not reachable; " + what + " was not sent to it", nullptr, "");
}

Outcome cli_nothing_reachable(const std::string& what) {
    Outcome o;
    o.result = Result::failed;
    o.warnings = cli_take_warnings();
    cli_add_unreachable(&o, what);
    return o;
}

int cli_print_served(const char* verb, Outcome o, const std::vector<std::string>& checked,
                     const std::string& what) {
    o.warnings.insert(o.warnings.begin(), checked.begin(), checked.end());
    cli_add_unreachable(&o, what);
    return cli_print_outcome(verb, o);
}
