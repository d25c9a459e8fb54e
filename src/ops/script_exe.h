// Viewing and executing scripts: every line is checked before anything is
// sent; wildcarded ports come from the execution port dialog; the SETs go
// through the set funnel.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "ops/script_crt.h"

// Shows the file (header included) in output and "(base name)" as title.
// 0, or -1 with the message over parent.
int process_scr_view(const std::string& typed, int output, int title_id, int parent);

// Asks the execution port dialog: the fields of the wildcarded kinds
// (sync included: wildcarded sync lines take their ports from it too).
// Returns false when the operator cancelled.
using ScrPortAsk = std::function<bool(const ScrKinds& wildcarded, std::array<std::string, SK_COUNT>*)>;

// Validation, wildcard ports, confirmation and execution. 1 when the
// script was executed.
int process_scr_exe(const std::string& typed, int output, int parent, const ScrPortAsk& ask);
// Sends every line to the selected devices through the set funnel.
int execute_scr_proc(const std::string& path, const ScrPortSet& ports, int output, int parent);
