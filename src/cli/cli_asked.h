// Every device mm_cli was asked to serve (-mrx or -l, all selected) is
// named in a command's outcome: those the command did not list join what
// it reported of the others, in list order.
#pragma once

#include <string>
#include <vector>

#include "ui/outcome.h"

// Adds, in list order, every device asked for that out does not list yet:
// as unreachable when it did not answer, else with state and
// "DEVICE: <why>" (state done: no reason). A result of done becomes failed
// when a device listed is not done.
void cli_list_asked(Outcome* out, DeviceState state, const std::string& why);
// What every printed outcome gets: when the command listed devices, the
// silent devices asked for that it did not list join them as unreachable.
void cli_complete_devices(Outcome* o);
// Adds the unreachable devices of the list to o (what names the command,
// as in "the reset"); a result of done becomes failed when there are any.
void cli_add_unreachable(Outcome* o, const std::string& what);
// The outcome of a command the selection check refused: failed, every
// device of the list unreachable, the check's warnings.
Outcome cli_nothing_reachable(const std::string& what);
// Prints the outcome of a command on the reachable devices: the selection
// check's warnings (checked) first, the unreachable devices added.
int cli_print_served(const char* verb, Outcome o, const std::vector<std::string>& checked,
                     const std::string& what);
