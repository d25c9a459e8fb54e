#include "events/trap_hosts.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include "catalogue/mib_catalogue.h"
#include "devices/allow_sets.h"
#include "ops/change.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"

namespace {

constexpr const char* MSG_NOT_ALLOWED =
    "Could not set any parameters.\nThe value of the allow_snmp_sets parameter is false. "
    "Morix ignored.";

// The one place where the trap settings are sent: the change pipeline of
// every change of configuration (access, undo read, Set, undo journal,
// read-back), side by side.
ChangeOutcome send_trap_settings(const std::vector<MorixRecord*>& recs) {
    ChangePlan plan;
    plan.devices = recs;
    plan.label = "Pointing traps at this station";
    return run_change(plan, nullptr);
}

// The Set chain of one device; false (nothing built) with a reason.
bool build_trap_chain(const TrapHostsRequest& req, MorixRecord* rec, std::string* reason) {
    std::string host_name = req.slot == 2 ? "mrxSnmpTrapHost2" : "mrxSnmpTrapHost1";
    int host = -1, comm = -1;
    if (!get_check_mib_var(host_name, &host) || !get_check_mib_var("mrxSnmpTrapCommunity", &comm)) {
        *reason = "The catalogue lacks " + host_name + " or mrxSnmpTrapCommunity.";
        return false;
    }
    std::string address = req.address.empty() ? station_address_towards(rec->addr) : req.address;
    std::string checked = address;
    if (address.empty() || check_ip_addr_fmt(&checked) != 1) {
        *reason = "<" + rec->name + ">  No address of this station reaches the device.";
        return false;
    }
    std::string community = req.community.empty() ? rec->community : req.community;
    free_prm_list(rec);
    add_prm_node(rec, host, PT_NONE, 0, 0, "", address.c_str(), 0);
    add_prm_node(rec, comm, PT_NONE, 0, 0, "", community.c_str(), 0);
    return true;
}

} // namespace

std::string station_address_towards(const sockaddr_in& device) {
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return "";
    sockaddr_in to = device;
    to.sin_port = htons(161);
    sockaddr_in local{};
    socklen_t len = sizeof local;
    bool ok = connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0 &&
              getsockname(fd, reinterpret_cast<sockaddr*>(&local), &len) == 0;
    close(fd);
    char text[INET_ADDRSTRLEN] = "";
    if (!ok || !inet_ntop(AF_INET, &local.sin_addr, text, sizeof text))
        return "";
    return text;
}

Outcome send_traps_here(const TrapHostsRequest& req, const std::vector<MorixRecord*>& devices,
                        ChangeOutcome* change) {
    Outcome out;
    settable_many(devices);
    std::vector<MorixRecord*> recs;
    std::vector<DeviceOutcome> results;
    for (MorixRecord* rec : devices) {
        DeviceOutcome d{rec->name, DeviceState::done, ""};
        if (!rec->allow_set) {
            d = {rec->name, DeviceState::refused, "<" + rec->name + ">  " + MSG_NOT_ALLOWED};
        } else if (!build_trap_chain(req, rec, &d.reason)) {
            d.state = DeviceState::refused;
        } else {
            recs.push_back(rec);
        }
        results.push_back(d);
    }
    ChangeOutcome co = send_trap_settings(recs);
    for (size_t i = 0, k = 0; i < devices.size(); ++i) {
        DeviceOutcome& d = results[i];
        if (d.state != DeviceState::done) {
            out.warnings.push_back(d.reason);
            out.devices.push_back(d);
            continue;
        }
        MorixRecord* rec = recs[k];
        const DeviceChange& dc = co.devices[k];
        std::string lines;
        bool error = change_report_lines(dc, co.cancelled, &lines);
        if (dc.refused) {
            d = {rec->name, DeviceState::refused,
                 "<" + rec->name + ">  Not sent: " + dc.safe.refusal};
        } else if (!dc.sent) {
            d = {rec->name, DeviceState::cancelled, "<" + rec->name + ">  Not sent (cancelled)."};
        } else if (rec->status != SR_OK || error) {
            d = {rec->name, rec->status == SR_OK ? DeviceState::unread : DeviceState::unreachable,
                 "<" + rec->name + ">  The trap settings were not all taken."};
        } else {
            std::string value;
            for (ParamNode* n = rec->prm_list; n; n = n->next)
                value +=
                    (value.empty() ? "" : ", ") + mib_var(n->mib_index)->name + " = " + n->value;
            lines = rec->name + ": " + value + "\n" + lines;
        }
        ++k;
        out.report += lines;
        if (d.state != DeviceState::done)
            out.warnings.push_back(d.reason);
        out.devices.push_back(d);
        free_prm_list(rec);
    }
    if (co.cancelled)
        out.report += "Operation cancelled.\n";
    // The reset the new settings need is left to the front end, as for
    // every change (mm_cli lists it under questions).
    out.follow_ups = co.outcome.follow_ups;
    if (change)
        *change = co;
    out.result = Result::done;
    for (const DeviceOutcome& d : out.devices)
        if (d.state != DeviceState::done)
            out.result = d.state == DeviceState::refused ? Result::refused : Result::failed;
    return out;
}
