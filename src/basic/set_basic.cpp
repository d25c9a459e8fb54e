#include "basic/set_basic.h"
#include "snmp_access/session.h"

#include "basic/basic_frame.h"
#include "ops/change.h"
#include "ops/set_window.h"
#include "ui/progress.h"
#include "ui/widget_ids.h"

int check_morix_set(int index) {
    if (index < 0 || index >= MAX_MRX_SLOTS || !session().devices()[index])
        return 0;
    const MorixRecord* r = session().devices()[index];
    std::string text;
    if (!r->reachable)
        text += "\nCould not set any parameters. Morix is not connected.";
    if (!r->allow_set)
        text += "\nCould not set any parameters.\nThe value of the allow_snmp_sets parameter is "
                "false. Morix ignored.";
    if (text.empty())
        return 1;
    page_warn(r->name + ":" + text);
    if (Outcome* o = page_run_outcome()) {
        DeviceState state = r->reachable ? DeviceState::refused : DeviceState::unreachable;
        std::string why = r->reachable ? "does not allow Sets (allow_snmp_sets is false)"
                                       : "not reachable; nothing was sent";
        o->devices.push_back({r->name, state, r->name + ": " + why});
    }
    return 0;
}

Outcome process_set_req_basic(const std::vector<int>& devices, int window, int* error, int* cancel,
                              bool accept_no_undo) {
    *error = 0;
    ChangePlan plan;
    plan.accept_no_undo = accept_no_undo;
    for (int d : devices)
        plan.devices.push_back(session().devices()[d]);
    ChangeOutcome co = send_change(plan, window, "Cancel Set");
    *cancel = co.cancelled;
    if (co.outcome.result == Result::refused)
        page_warn(MSG_NO_ACCESS);
    // The basic windows report by warnings only.
    for (const DeviceChange& d : co.devices) {
        std::vector<std::string> lines;
        if (change_report_warnings(d, *cancel, &lines))
            *error = 1;
        for (const std::string& l : lines)
            page_warn(l);
    }
    if (*cancel)
        page_warn("Operation cancelled.");
    else if (*error)
        page_warn("There was an error setting one or more parameters.\nThis may be "
                  "due to a timeout.");
    // The automatic reset is asked over the page; a failed one fails the Set.
    if (!*error && !*cancel) {
        set_question_parent(window);
        Outcome reset = change_reset_follow_up(co, front_end_asker(), true);
        set_question_parent(W_MAIN_WINDOW);
        for (const std::string& w : reset.warnings)
            page_warn(w);
        if (reset.result == Result::failed)
            co.outcome.result = Result::failed;
    }
    for (int d : devices)
        free_prm_list(session().devices()[d]);
    return co.outcome;
}
