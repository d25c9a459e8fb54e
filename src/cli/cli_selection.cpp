#include "cli/cli_selection.h"

#include "cli/cli_json.h"
#include "cli/cli_outcome.h"
#include "ui/selection_verdict.h"

namespace {

const char* selection_verb = "";
std::vector<DeviceOutcome> refused;

// The texts go where every warning goes (standard error); a refusal also
// names each device: those not reachable as such, the others as refused
// for the refusal's reason.
void show_in_terminal(int parent, const SelectionVerdict& v) {
    show_selection_default(parent, v);
    refused.clear();
    if (v.go)
        return;
    for (DeviceOutcome d : v.devices) {
        if (d.state == DeviceState::done) {
            d.state = DeviceState::refused;
            d.reason = v.refusal;
        } else {
            cli_warn_device(selection_verb, d);
        }
        refused.push_back(d);
    }
}

} // namespace

void cli_selection_begin(const char* verb) {
    selection_verb = verb;
    refused.clear();
    set_selection_shower(show_in_terminal);
}

const std::vector<DeviceOutcome>& cli_selection_refused() {
    return refused;
}

void cli_selection_json(JsonWriter& j) {
    if (refused.empty() || j.has_member("devices"))
        return;
    j.begin_array("devices");
    for (const DeviceOutcome& d : refused)
        cli_json_device(j, d);
    j.end_array();
}
