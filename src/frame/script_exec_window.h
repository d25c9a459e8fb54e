// The script windows' execution and view: the steps the window takes
// between its button, the port dialog and the confirmation, rendering the
// commands' outcomes (ops/script_exe.h) into the window.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "ops/script_exe.h"

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
