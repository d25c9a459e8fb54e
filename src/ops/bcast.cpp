// Broadcast: a message to the users of the devices, written in two SET
// passes (the text, then the broadcast itself); and what the control
// commands share.
#include <algorithm>

#include "catalogue/mib_catalogue.h"
#include "devices/allow_sets.h"
#include "devices/long_op.h"
#include "devices/text_buf.h"
#include "ops/control.h"
#include "snmp_access/snmp_engine.h"
#include "ui/widget_ids.h"

int bcast_ind = 1;

namespace {

// One SET to every device of devs that has a chain; failures are recorded.
// Returns whether the pass was cancelled (the devices not reached are then
// marked incomplete).
bool bcast_pass(const std::vector<MorixRecord*>& devs, std::vector<MorixRecord*>* failed) {
    LongOperation op(W_BCAST_FORM, "Cancel Broadcast", "", LO_CONFIRM | LO_FOLLOW_SNMP);
    for (MorixRecord* r : op.serve(devs, SNMP_OP_SET, "Broadcasting to"))
        if (!control_sent_ok(r))
            failed->push_back(r);
    return op.close();
}

bool has_failed(const std::vector<MorixRecord*>& failed, const MorixRecord* r) {
    return std::find(failed.begin(), failed.end(), r) != failed.end();
}

void free_chains(const std::vector<MorixRecord*>& devs) {
    for (MorixRecord* r : devs)
        free_prm_list(r);
}

} // namespace

Outcome process_bcast(const BcastRequest& req) {
    Outcome o;
    int msg_id = 0, bcast_id = 0;
    if (!get_check_mib_var("mrxcBcastMsg", &msg_id) || !get_check_mib_var("mrxcBcast", &bcast_id)) {
        o.result = Result::failed;
        o.warnings.push_back("Could not find internal references to a parameter group "
                             "or parameter. Software error.");
        return o;
    }
    const std::vector<MorixRecord*>& devs = req.devices;
    settable_many(devs);
    const std::string option = std::to_string(req.option);
    bool cancelled = false;
    std::vector<MorixRecord*> failed;
    for (MorixRecord* r : devs) {
        free_prm_list(r);
        if (r->allow_set)
            add_prm_node(r, msg_id, 0, 0, 0, "", req.text.c_str(), 0);
    }
    {
        LongOperation busy;
        busy.busy();
        cancelled = bcast_pass(devs, &failed);
        free_chains(devs);
        if (!cancelled) {
            for (MorixRecord* r : devs)
                if (r->allow_set && !has_failed(failed, r))
                    add_prm_node(r, bcast_id, 0, 0, 0, "", option.c_str(), 0);
            cancelled = bcast_pass(devs, &failed);
            free_chains(devs);
        }
    }
    for (MorixRecord* r : devs)
        if (!r->allow_set)
            o.warnings.push_back(refuses_sets_warning(r));
    if (!failed.empty()) {
        o.warnings.push_back("The broadcast failed for the following Morixes\n(check "
                             "the value of the 'allow_snmp_sets' parameter):");
        for (MorixRecord* r : failed)
            o.warnings.push_back(r->name);
    }
    // Success is said as plainly as failure.
    std::string done;
    for (MorixRecord* r : devs)
        if (!cancelled && r->allow_set && !has_failed(failed, r))
            done += "\n" + r->name;
    if (!done.empty())
        o.report = "The broadcast operation was successful for: " + done;
    bool refused = false;
    for (MorixRecord* r : devs)
        refused = refused || !r->allow_set;
    o.devices = control_outcomes(devs, failed, cancelled, "the broadcast");
    o.result = cancelled                    ? Result::cancelled
               : refused || !failed.empty() ? Result::failed
                                            : Result::done;
    return o;
}

std::vector<DeviceOutcome> declined_outcomes(const std::vector<MorixRecord*>& devs,
                                             const std::string& what) {
    std::vector<DeviceOutcome> out;
    for (const MorixRecord* r : devs)
        out.push_back({r->name, DeviceState::cancelled,
                       what + " was not confirmed; nothing was sent to " + r->name});
    return out;
}

Question control_question(const std::string& text, const std::vector<MorixRecord*>& devs) {
    Question q;
    q.title = "Confirmation";
    q.text = text + "\n\n" + mrx_conf_names(devs) + "\n\nDo you want to continue?";
    q.default_ok = true;
    return q;
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

std::string refuses_sets_warning(const MorixRecord* rec) {
    return "<" + rec->name +
           ">  Could not set any parameters.\nThe value of the allow_snmp_sets parameter is "
           "false. Morix ignored.";
}
