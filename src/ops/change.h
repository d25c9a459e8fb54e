// The one way a device is changed. Every window and verb that sets values
// builds a ChangePlan (the devices, each with its Set chain whose instances
// are already resolved) and hands it to run_change, which checks access,
// reads what the Sets will overwrite, sends the Sets, keeps the undo entry
// of what each device accepted, reads the accepted values back and works
// out the automatic resets. It asks nothing: what needs the operator (the
// reset, sending values undo cannot write back) is left as a follow-up.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ops/reset_mask.h"
#include "ops/undo.h"
#include "snmp_access/morix_record.h"
#include "ui/access.h"
#include "ui/outcome.h"

// Follow-up kinds of a ChangeOutcome.
constexpr const char* FOLLOW_RESET = "reset";     // OK runs run_change_reset
constexpr const char* FOLLOW_NO_UNDO = "no-undo"; // OK sends the plan with accept_no_undo

struct ChangePlan {
    std::vector<MorixRecord*> devices;        // in report order, each with its Set chain
    std::string label = "Setting values for"; // cancel dialog text of the Sets
    // Send values whose old value undo cannot write back (the operator
    // accepted it); without it such a device is sent nothing.
    bool accept_no_undo = false;
};

// What happened on one device of the plan.
struct DeviceChange {
    MorixRecord* rec = nullptr;
    bool refused = false;  // access, allow_snmp_sets or the undo read: nothing sent
    bool no_undo = false;  // refused because undo could not write a value back
    bool sent = false;     // its Set was begun
    bool accepted = false; // it answered and took every value
    bool verified = false; // the read-back holds every value it took
    SafeSet safe;          // undo entry, left out, not taken, refusal
    uint32_t reset_mask = 0;
    ResetPorts reset_ports{};
};

struct ChangeOutcome {
    Outcome outcome;                   // result, per-device states, follow-ups
    std::vector<DeviceChange> devices; // as in the plan
    bool cancelled = false;            // the operator stopped it
    bool any_sent() const;
};

constexpr const char* MSG_SETS_NOT_ALLOWED =
    "Could not set any parameters.\nThe value of the allow_snmp_sets parameter is false. "
    "Morix ignored.";

// Sends the plan (see above). progress may be null: a cancel is then
// learnt from the front end's progress.
ChangeOutcome run_change(const ChangePlan& plan, Progress* progress);
// Works out the outcome record (result, device states, follow-ups) from
// the devices again, after some were sent a second time.
void finish_change_outcome(ChangeOutcome* co);
// The automatic reset follow-up: every device that needs one is reset
// (the resets side by side); the names of those that failed are joined by
// ", "; a line in notes for each change no reset applies to. True when
// all succeeded.
bool run_change_reset(const ChangeOutcome& co, std::string* failed_names,
                      std::vector<std::string>* notes, std::string* report = nullptr);
// The resets one device needs for the values it took (its mask and ports).
uint32_t change_reset_mask(MorixRecord* rec, ResetPorts* ports);

// The per-device report lines of the Set funnels: the node errors of the
// Set, then the undo entry, left-out values and read-back lines. Each line
// ends with a line end; the second form is the basic windows' (one warning
// a line). True when the device counts as an error. A cancel is the
// operation's, not the device's: the caller says it once.
bool change_report_lines(const DeviceChange& d, bool cancelled, std::string* text);
bool change_report_warnings(const DeviceChange& d, bool cancelled, std::vector<std::string>* out);
// Why a device that answered did not take or hold every value: its refused
// values and the values that do not read back, one line each naming the
// device and the variable ("" when there is none).
std::string change_device_reason(const DeviceChange& d);
