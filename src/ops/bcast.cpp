// The Broadcast window: a message to the users of the selected devices,
// written in two SET passes (the text, then the broadcast itself).
#include <algorithm>

#include "catalogue/mib_catalogue.h"
#include "devices/allow_sets.h"
#include "devices/long_op.h"
#include "devices/mrx_select.h"
#include "ops/control.h"
#include "ops/reset_mask.h"
#include "snmp_access/snmp_engine.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

int bcast_ind = 1;

namespace {

// One SET to every device of the list that has a chain; failures are
// recorded. Returns whether the pass was cancelled (the devices not reached
// are then marked incomplete).
bool bcast_pass(std::vector<MorixRecord*>* failed) {
    LongOperation op(W_BCAST_FORM, "Cancel Broadcast", "", LO_CONFIRM | LO_FOLLOW_SNMP);
    for (MorixRecord* r : op.serve(selected_reachable(), SNMP_OP_SET, "Broadcasting to"))
        if (!control_sent_ok(r))
            failed->push_back(r);
    return op.close();
}

bool has_failed(const std::vector<MorixRecord*>& failed, const MorixRecord* r) {
    for (const MorixRecord* f : failed)
        if (f == r)
            return true;
    return false;
}

} // namespace

int bcast_option_action(int id, bool set) {
    int option = id - W_BCAST_OPT_FIRST + 1;
    if (option < 1 || option > 3)
        return 0;
    if (set)
        bcast_ind = option;
    return 1;
}

Result bcast_exec(const BcastRequest& req, std::vector<DeviceOutcome>* devices) {
    if (!check_main_sel(W_BCAST_FORM, SEL_REACHABLE))
        return Result::refused;
    int msg_id = 0, bcast_id = 0;
    if (!get_check_mib_var("mrxcBcastMsg", &msg_id) || !get_check_mib_var("mrxcBcast", &bcast_id)) {
        display_warn(W_BCAST_FORM, "Could not find internal references to a parameter group "
                                   "or parameter. Software error.");
        return Result::failed;
    }
    will_sel_mrx_allow_set();
    const std::string& text = req.text;
    const std::string option = std::to_string(req.option);
    bool cancelled = false;
    std::vector<MorixRecord*> devs = selected_reachable(), failed;
    for (MorixRecord* r : devs) {
        free_prm_list(r);
        if (r->allow_set)
            add_prm_node(r, msg_id, 0, 0, 0, "", text.c_str(), 0);
    }
    {
        LongOperation busy;
        busy.busy();
        cancelled = bcast_pass(&failed);
        free_host_info_list(0);
        if (!cancelled) {
            for (MorixRecord* r : devs)
                if (r->allow_set && !has_failed(failed, r))
                    add_prm_node(r, bcast_id, 0, 0, 0, "", option.c_str(), 0);
            cancelled = bcast_pass(&failed);
            free_host_info_list(0);
        }
    }
    for (MorixRecord* r : devs)
        if (!r->allow_set)
            warn_refuses_sets(W_BCAST_FORM, r);
    if (!failed.empty()) {
        display_warn(W_BCAST_FORM, "The broadcast failed for the following Morixes\n(check "
                                   "the value of the 'allow_snmp_sets' parameter):");
        for (MorixRecord* r : failed)
            display_warn(W_BCAST_FORM, r->name);
    }
    // Success is said as plainly as failure.
    std::string done;
    for (MorixRecord* r : devs)
        if (!cancelled && r->allow_set && !has_failed(failed, r))
            done += "\n" + r->name;
    if (!done.empty())
        display_msg(W_BCAST_FORM, "The broadcast operation was successful for: " + done);
    bool refused = false;
    for (MorixRecord* r : devs)
        refused = refused || !r->allow_set;
    if (devices)
        *devices = control_outcomes(devs, failed, cancelled, "the broadcast");
    return cancelled || refused || !failed.empty() ? Result::failed : Result::done;
}

bool control_sent_ok(const MorixRecord* rec) {
    if (rec->status != SR_OK)
        return false;
    for (const ParamNode* n = rec->prm_list; n; n = n->next)
        if (n->status != NS_OK)
            return false;
    return true;
}

std::vector<DeviceOutcome> control_outcomes(const std::vector<MorixRecord*>& devs,
                                            const std::vector<MorixRecord*>& failed, bool cancelled,
                                            const std::string& what) {
    std::vector<DeviceOutcome> out;
    for (const MorixRecord* r : devs) {
        DeviceOutcome d{r->name, DeviceState::done, ""};
        if (!r->allow_set)
            d = {r->name, DeviceState::refused,
                 "<" + r->name + "> does not allow Sets (allow_snmp_sets is false)"};
        else if (std::find(failed.begin(), failed.end(), r) != failed.end())
            d = {r->name, DeviceState::not_sent, what + " failed for <" + r->name + ">"};
        else if (cancelled)
            d = {r->name, DeviceState::cancelled,
                 what + " was cancelled before <" + r->name + "> was served"};
        out.push_back(d);
    }
    return out;
}

void warn_refuses_sets(int parent, const MorixRecord* rec) {
    display_warn(parent, "<" + rec->name +
                             ">  Could not set any parameters.\nThe value of the "
                             "allow_snmp_sets parameter is false. Morix ignored.");
}
