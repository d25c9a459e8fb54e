// The change pipeline's window adapters, for the windows that still write
// their own reports (copy, basic mode): the cancel dialog, the question
// box over a window, a device's report lines written into an output area.
#pragma once

#include <string>

#include "ops/change.h"
#include "ops/set_cmd.h"

// The windows' side of the change pipeline: run_change in a cancel dialog
// titled cancel_title over parent, and the question about values undo
// cannot write back, asked through asker (on OK those devices are sent
// theirs, accepting it).
ChangeOutcome send_change(ChangePlan plan, int parent, const char* cancel_title, Asker& asker);
// The same with the question box over parent.
ChangeOutcome send_change(ChangePlan plan, int parent, const char* cancel_title);
// The reset follow-up asked over parent and its lines written into output
// (when not 0), failures warned over parent.
void ask_change_reset(const ChangeOutcome& co, int parent, bool timeout_text, int output = 0);
// The window's warning about a device whose Set answered with an error.
std::string set_error_warning(const std::string& device);
// The report of one device into output; sets *error on any failure.
void process_set_req_res(const DeviceChange& d, int output, int parent, int* error, int cancelled);
