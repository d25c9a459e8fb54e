// The selection check as mm_cli shows it: a refusal names every device
// asked for on standard error and in the JSON document, with why it was
// not served.
#pragma once

#include <vector>

#include "ui/outcome.h"

class JsonWriter;

// Installs mm_cli's way of showing selection verdicts for the verb.
void cli_selection_begin(const char* verb);
// The devices of the last refused check (empty when none was refused).
const std::vector<DeviceOutcome>& cli_selection_refused();
// Adds the refused check's devices to the document unless the verb wrote
// its own list of devices.
void cli_selection_json(JsonWriter& j);
