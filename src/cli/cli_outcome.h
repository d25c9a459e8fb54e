// What mm_cli makes of a command's Outcome: the report on standard output
// (or, with --json, the outcome's fields in the run's document), every
// warning and every device not done, with its reason, on standard error,
// and the exit status from the result code alone.
#pragma once

#include "cli/cli_json.h"
#include "ui/outcome.h"

// The exit status of a result: done 0, failed or refused 1, cancelled 1
// (the cancel is said on standard error).
int cli_status_of(Result result);
// The word of a result in documents: done, failed, cancelled, refused.
const char* cli_result_name(Result result);
// The line on standard error for a device that was not done:
// "mm_cli VERB: DEVICE: REASON." (the state's word when there is no reason).
void cli_warn_device(const char* verb, const DeviceOutcome& d);
// One device as a document object: device, result, reason (when not done).
void cli_json_device(JsonWriter& j, const DeviceOutcome& d);
// Writes the outcome as described above; returns its exit status.
int cli_print_outcome(const char* verb, const Outcome& outcome);

struct ChangeOutcome;
// The reset follow-up of a change, when outcome carries one: OK with -y
// (the resets' lines on standard output, failures on standard error; with
// --json the member "reset": the result); without -y it is said on
// standard error that nothing was reset. Returns the exit status of the
// resets (0 when none were due or declined).
int cli_answer_reset(const char* verb, const ChangeOutcome& change, const Outcome& outcome);
