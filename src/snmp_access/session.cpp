#include "snmp_access/session.h"

#include <algorithm>

#include "ui/app_globals.h"

Session::Session(DeviceList& devices, CatalogueHandle catalogue, SnmpDefaults& defaults)
    : devices_(devices), catalogue_(catalogue), defaults_(defaults) {
    devices_.on_leave([this](const MorixRecord* rec) { forget(rec); });
}

Session::~Session() {
    devices_.on_leave(nullptr);
}

void Session::select(const std::vector<MorixRecord*>& devices) {
    // Walking the list keeps list order and leaves out anything not in it.
    std::vector<MorixRecord*> kept;
    for (MorixRecord* r : devices_) {
        if (!r)
            break;
        if (std::find(devices.begin(), devices.end(), r) != devices.end())
            kept.push_back(r);
    }
    selection_ = std::move(kept);
}

bool Session::is_selected(const MorixRecord* rec) const {
    return rec && std::find(selection_.begin(), selection_.end(), rec) != selection_.end();
}

std::vector<MorixRecord*> Session::selected_reachable() const {
    // In the order the list holds now (records may have moved since).
    std::vector<MorixRecord*> out;
    for (MorixRecord* r : devices_) {
        if (!r)
            break;
        if (r->reachable && is_selected(r))
            out.push_back(r);
    }
    return out;
}

void Session::forget(const MorixRecord* rec) {
    selection_.erase(std::remove(selection_.begin(), selection_.end(), rec), selection_.end());
}

namespace {

void reset_selection() {
    session().clear_selection();
}

const bool selection_registered = add_state_reset(reset_selection);

} // namespace

Session& session() {
    static Session the_session(
        host_info_list,
        CatalogueHandle{&mib_data_list, &mib_enum_list, &mib_func_list, &mib_grp_list},
        mm_snmp_defaults);
    return the_session;
}
