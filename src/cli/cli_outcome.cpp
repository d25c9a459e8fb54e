#include "cli/cli_outcome.h"

#include <cstdio>

#include "cli/cli.h"
#include "cli/cli_asked.h"
#include "ops/set_cmd.h"
#include "ui/progress.h"
#include "ui_headless/ui_headless.h"

int cli_status_of(Result result) {
    return result == Result::done ? CLI_OK : CLI_FAILED;
}

const char* cli_result_name(Result result) {
    switch (result) {
    case Result::done:
        return "done";
    case Result::failed:
        return "failed";
    case Result::cancelled:
        return "cancelled";
    case Result::refused:
        return "refused";
    }
    return "failed";
}

void cli_warn_device(const char* verb, const DeviceOutcome& d) {
    if (d.state == DeviceState::done)
        return;
    std::string why = d.reason.empty() ? device_state_name(d.state) : d.reason;
    // A reason that names the device already is printed as it is.
    if (why.find(d.device) == std::string::npos)
        why = d.device + ": " + why;
    if (why.back() != '.')
        why += '.';
    std::fprintf(stderr, "mm_cli %s: %s\n", verb, why.c_str());
}

void cli_json_device(JsonWriter& j, const DeviceOutcome& d) {
    j.begin_object().str("device", d.device).str("result", device_state_name(d.state));
    if (d.state != DeviceState::done)
        j.str("reason", d.reason.empty() ? device_state_name(d.state) : d.reason);
    j.end_object();
}

int cli_print_outcome(const char* verb, const Outcome& said) {
    // The program's sentences pass the headless services' rewording seam,
    // as those written into windows do.
    Outcome outcome = said;
    cli_complete_devices(&outcome);
    outcome.report = hl_reworded(outcome.report);
    for (std::string& w : outcome.warnings)
        w = hl_reworded(w);
    for (DeviceOutcome& d : outcome.devices)
        d.reason = hl_reworded(d.reason);
    for (const std::string& w : outcome.warnings)
        std::fprintf(stderr, "%s\n", w.c_str());
    for (const DeviceOutcome& d : outcome.devices)
        cli_warn_device(verb, d);
    std::fflush(stderr);
    if (!cli_json) {
        std::fwrite(outcome.report.data(), 1, outcome.report.size(), stdout);
        std::fflush(stdout);
        return cli_status_of(outcome.result);
    }
    JsonWriter& j = cli_json_doc();
    j.str("result", cli_result_name(outcome.result)).begin_array("devices");
    for (const DeviceOutcome& d : outcome.devices)
        cli_json_device(j, d);
    j.end_array().begin_array("warnings");
    for (const std::string& w : outcome.warnings)
        j.str("", w);
    j.end_array().begin_array("questions");
    for (const FollowUp& f : outcome.follow_ups)
        j.begin_object().str("kind", f.kind).str("question", f.question).end_object();
    j.end_array().str("report", outcome.report);
    return cli_status_of(outcome.result);
}

int cli_answer_reset(const char* verb, const ChangeOutcome& change, const Outcome& outcome) {
    bool due = false;
    for (const FollowUp& f : outcome.follow_ups)
        due = due || f.kind == FOLLOW_RESET;
    if (!due)
        return CLI_OK;
    Outcome reset = change_reset_follow_up(change, front_end_asker(), false);
    if (reset.result == Result::cancelled)
        std::fprintf(stderr,
                     "Not confirmed (answer with -y): the %s was not followed by a reset.\n", verb);
    for (const std::string& w : reset.warnings)
        std::fprintf(stderr, "mm_cli %s: %s\n", verb, hl_reworded(w).c_str());
    std::fflush(stderr);
    if (cli_json) {
        cli_json_doc().str("reset", cli_result_name(reset.result));
    } else if (!reset.report.empty()) {
        std::string text = hl_reworded("\n" + reset.report);
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
    }
    return reset.result == Result::failed ? CLI_FAILED : CLI_OK;
}
