#include "cli/cli_asked.h"

#include "cli/cli.h"
#include "cli/cli_outcome.h"
#include "snmp_access/morix_record.h"

void cli_add_unreachable(Outcome* o, const std::string& what) {
    std::vector<DeviceOutcome> all;
    bool any = false;
    // mm_cli's list holds only the devices named on its command line.
    for (const MorixRecord* r : host_info_list) {
        if (!r)
            break;
        bool served = false;
        for (const DeviceOutcome& d : o->devices)
            if (d.device == r->name) {
                all.push_back(d);
                served = true;
            }
        if (served || r->reachable)
            continue;
        all.push_back({r->name, DeviceState::unreachable,
                       r->name + " is not reachable; " + what + " was not sent to it"});
        any = true;
    }
    o->devices = all;
    if (any && o->result == Result::done)
        o->result = Result::failed;
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
