// Viewing and executing scripts: every line is checked before anything is
// sent; wildcarded ports come from the execution port dialog; the SETs go
// through the change pipeline.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "ops/script_crt.h"
#include "ops/script_file.h"
#include "ops/set_cmd.h"

// Shows the file (header included) in output and "(base name)" as title.
// 0, or -1 with the message over parent.
int process_scr_view(const std::string& typed, int output, int title_id, int parent);

// Asks the execution port dialog: the fields of the wildcarded kinds
// (sync included: wildcarded sync lines take their ports from it too).
// Returns false when the operator cancelled.
using ScrPortAsk =
    std::function<bool(const ScrKinds& wildcarded, std::array<std::string, SK_COUNT>*)>;

// One execution, kept between the window's button and the port dialog.
struct ScrExeState {
    std::string path;
    ScrKinds wild{}; // kinds wildcarded in the script that a selected device has
};
// Selection check, file checks and validation of every line: -1 stop,
// 0 ready to run, 1 the port dialog is due for st->wild.
int process_scr_exe_start(const std::string& typed, int output, int parent, ScrExeState* st);
// The port dialog's texts of the wildcarded kinds ("1" and "2" for en and ds1inf).
std::array<std::string, SK_COUNT> scr_exe_fixed_texts(const ScrKinds& wild);
// The port dialog's OK (texts, or nullptr without a dialog): the question
// when no port was given, the confirmation and the execution. 1 when run;
// result (may be null) receives the ScriptResult known on return.
int process_scr_exe_prt(const ScrExeState& st, const std::array<std::string, SK_COUNT>* texts,
                        int output, int parent, int* result = nullptr);
// Validation, wildcard ports, confirmation and execution in one call (the
// ports asked through ask). 1 when the script was executed; result as above.
int process_scr_exe(const std::string& typed, int output, int parent, const ScrPortAsk& ask,
                    int* result = nullptr);
// Sends every line to the selected devices through the change pipeline: a
// ScriptResult, or -1 when the file cannot be read.
int execute_scr_proc(const std::string& path, const ScrPortSet& ports, int output, int parent);
// The SET nodes of one valid line on every selected, reachable device that
// allows sets (a "*" port takes the ports of its kind from wild; with none
// given the line is refused in msg and *no_port set).
void execute_scr_proc_line(const ScriptLine& l, const ScrPortSet& wild,
                           const std::vector<MorixRecord*>& devices, std::string* msg,
                           bool* nonexistent, bool* no_port = nullptr);

// The checks before a script runs: the file, its header and every line.
// The outcome's report lists the invalid lines, its warnings why the file
// cannot be used; ready when it may run. wild: the kinds its "*" lines
// take ports of that a device has.
struct ScriptCheck {
    Outcome outcome;
    std::string path;
    ScrKinds wild{};
    bool any_wild = false;
    bool ready = false;
};
ScriptCheck check_script_exec(const std::string& typed, const std::vector<MorixRecord*>& devices);
// One execution: the script's lines built on the devices and sent through
// the change pipeline (the cancel dialog over parent); the reset is the
// outcome's follow-up.
struct ScriptRun {
    std::string path;
    ScrPortSet ports;
    std::vector<MorixRecord*> devices;
    int parent = 0;
};
SetOutcome run_script(const ScriptRun& run, Asker& asker);
// The questions before a run: the ports left out (when ports_missing),
// then the confirmation naming the devices. True when both were answered OK.
bool confirm_script_run(const std::vector<MorixRecord*>& devices, bool ports_missing, Asker& asker);
