// The change pipeline run in a window's cancel dialog, for the windows that
// send changes (set, copy, undo, basic mode).
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
