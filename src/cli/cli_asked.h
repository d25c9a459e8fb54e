// The devices a run of mm_cli was asked for (-mrx or -l, all selected):
// an outcome lists every one of them with its result.
#pragma once

#include <string>

#include "ui/outcome.h"

// Adds, in list order, every device asked for that out does not list yet:
// as unreachable when it did not answer, else with state and
// "DEVICE: <why>" (state done: no reason). A result of done becomes failed
// when a device listed is not done.
void cli_list_asked(Outcome* out, DeviceState state, const std::string& why);
