// The Set command: the values of some variables sent to the devices
// through the change pipeline, and the report of what they took. The Set
// window and mm_cli set build a SetCommand and render the SetOutcome;
// script execution and Undo Last Change send their chains through
// send_set_chains.
#pragma once

#include <string>
#include <vector>

#include "ops/change.h"
#include "snmp_access/morix_record.h"
#include "snmp_access/port_resolve.h"
#include "ui/outcome.h"

struct SetChoice {
    int value;
    std::string name;
};

// One variable of a Set; its objects in the Set window are in the rows
// table (UI_SET_ROWS) at set_row_id(row, part).
struct SetRow {
    int mib_index = 0;
    bool enumerated = false;
    std::vector<SetChoice> choices;
    bool vd_shown = false; // the window shows its "Dsp Diffs"
};

// The input of the rows as the operator left them: the ports typed and,
// per row (in order), whether it is marked and its input (the choice of
// an enumerated row, the text of another). Rows past the end of rows
// count as not marked.
struct SetRowInput {
    bool marked = false;
    std::string option;
    std::string text;
};
struct SetRequest {
    std::string ports;
    std::vector<SetRowInput> rows;
    bool marked(int row) const {
        return row >= 0 && row < static_cast<int>(rows.size()) && rows[row].marked;
    }
};

struct SetCommand {
    std::vector<SetRow> rows;
    SetRequest input;
    int port_type = 0;                 // the port type of the port rows
    std::vector<MorixRecord*> devices; // the selected, reachable devices in list order
    int parent = 0;                    // window of the cancel dialog
    bool say_complete = true;          // "Set complete." (or the cancel note) at the end
    bool show_values_hint = false;     // the cancel note points at the window's Show Values
};

// What sending a Set did. The outcome's devices carry each device's
// failure (refused value, a value that does not read back, no answer),
// naming device and variable; the reset follow-up is in follow_ups and
// is answered with change_reset_follow_up on change.
struct SetOutcome {
    Outcome outcome;
    ChangeOutcome change;
    std::vector<std::string> set_errors; // devices whose Set answered with an error
    bool sent = false;                   // the pipeline ran
    bool rows_warned = false;            // a row was left out with a warning
    bool nonexistent = false;            // a port given exists on no device
};

// Validates the marked rows (a refused value refuses the whole Set, for
// every device), builds each device's chain and sends it. The cancel dialog
// of the change and the request engine's front-end progress learn of a
// cancel; questions (values undo cannot write back) go to asker.
SetOutcome run_set(const SetCommand& cmd, Asker& asker);

// The devices' built chains sent through the change pipeline and reported
// into out (the Set window's report lines; "Set complete." when
// say_complete). Every device with a chain, a failed status or no Sets
// allowed is in the plan.
void send_set_chains(const std::vector<MorixRecord*>& devices, const SetCommand& how, Asker& asker,
                     SetOutcome* out);

// The reset follow-up of a change: unless the automatic reset asks no
// question, asker is asked; on OK every device that needs one is reset.
// The outcome's report holds the resets' lines, its warnings the failures
// (with the time-out advice when timeout_text). Nothing is done when no
// reset is due or the change did not end done.
Outcome change_reset_follow_up(const ChangeOutcome& co, Asker& asker, bool timeout_text);

// The row of a catalogue variable (its choices when enumerated).
SetRow set_row_of(int mib_index);
// The port list as typed, and the ports each device takes from it
// (resolve_ports for port_type); refusals receives each device's refusal.
struct SetPorts {
    int all = 0;
    std::vector<int> ports;
    std::vector<std::pair<const MorixRecord*, DevicePorts>> per_device;
    const DevicePorts& of(const MorixRecord* r) const;
};
SetPorts set_ports_of(const std::string& text, const std::vector<MorixRecord*>& devices,
                      int port_type, PortPurpose purpose, std::vector<std::string>* refusals);

// Which rows an action takes: a port variable needs ports, and its port
// class must fit the port type. Each warning at most once per action (in
// warnings).
struct RowTakeState {
    int warned_no_ports = 0;
    int warned_mismatch = 0;
};
bool set_row_taken(const SetRow& row, bool have_ports, int port_type, RowTakeState* warn,
                   std::vector<std::string>* warnings);
