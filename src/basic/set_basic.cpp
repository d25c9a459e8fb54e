#include "basic/set_basic.h"

#include "ops/change.h"
#include "ops/set_window.h"
#include "ui/ui.h"

int check_morix_set(int index, int window) {
    if (index < 0 || index >= MAX_MRX_SLOTS || !host_info_list[index])
        return 0;
    const MorixRecord* r = host_info_list[index];
    std::string text;
    if (!r->reachable)
        text += "\nCould not set any parameters. Morix is not connected.";
    if (!r->allow_set)
        text += "\nCould not set any parameters.\nThe value of the allow_snmp_sets parameter is "
                "false. Morix ignored.";
    if (text.empty())
        return 1;
    display_warn(window, r->name + ":" + text);
    return 0;
}

void process_set_req_basic(const std::vector<int>& devices, int window, int* error, int* cancel,
                           bool accept_no_undo) {
    *error = 0;
    ChangePlan plan;
    plan.accept_no_undo = accept_no_undo;
    for (int d : devices)
        plan.devices.push_back(host_info_list[d]);
    ChangeOutcome co = send_change(plan, window, "Cancel Set");
    *cancel = co.cancelled;
    if (co.outcome.result == Result::refused)
        display_warn(window, MSG_NO_ACCESS);
    // The basic windows report by warnings only.
    for (const DeviceChange& d : co.devices) {
        std::vector<std::string> lines;
        if (change_report_warnings(d, *cancel, &lines))
            *error = 1;
        for (const std::string& l : lines)
            display_warn(window, l);
    }
    if (*cancel)
        display_warn(window, "Operation cancelled.");
    else if (*error)
        display_warn(window, "There was an error setting one or more parameters.\nThis may be "
                             "due to a timeout.");
    if (!*error && !*cancel)
        ask_change_reset(co, window, true);
    for (int d : devices)
        free_prm_list(host_info_list[d]);
}
