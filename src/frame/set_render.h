// The Set window's rendering of a Set: the report into its message area,
// the warnings in its box, the marked rows read again, the reset asked.
#pragma once

#include "ops/set_cmd.h"

// Renders so for the window's request input (whose marked rows are read
// again after values were sent).
void render_set_apply(const SetOutcome& so, const SetRequest& input);
// Renders the reset follow-up of a change over parent: the question, then
// the resets' lines into output (when not 0) and failures as warnings.
void render_reset_follow_up(const ChangeOutcome& change, const Outcome& outcome, int parent,
                            int output, bool timeout_text);

// The window's warning about a device whose Set answered with an error.
std::string set_error_warning(const std::string& device);

// Commands -> Undo Last Change over parent, reported into output: the
// scripts shown before the question. A ScriptResult.
int undo_last_change(int output, int parent);
