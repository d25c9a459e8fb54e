#include "cli/cli_asked.h"

#include <algorithm>

#include "snmp_access/morix_record.h"

void cli_list_asked(Outcome* out, DeviceState state, const std::string& why) {
    std::vector<DeviceOutcome> all;
    for (const MorixRecord* r : host_info_list) {
        if (!r)
            break;
        auto listed = std::find_if(out->devices.begin(), out->devices.end(),
                                   [r](const DeviceOutcome& d) { return d.device == r->name; });
        if (listed != out->devices.end())
            all.push_back(*listed);
        else if (!r->reachable)
            all.push_back(
                {r->name, DeviceState::unreachable, r->name + ": not reachable; nothing was done"});
        else
            all.push_back({r->name, state, state == DeviceState::done ? "" : r->name + ": " + why});
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
