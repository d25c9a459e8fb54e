// mm_cli undo: Undo Last Change for the selected devices. The undo scripts
// and what they set are in the report; they are executed only when the
// question is answered (-y).
#include <algorithm>

#include "cli/cli.h"
#include "cli/cli_outcome.h"
#include "devices/mrx_select.h"
#include "ops/set_cmd.h"
#include "ops/undo.h"
#include "ui/progress.h"
#include "ui/widget_ids.h"

int verb_undo(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("undo");
    if (!args.empty())
        return cli_usage_error(verb, "undo takes no arguments");
    if (!check_main_sel(W_MAIN_WINDOW, SEL_REACHABLE))
        return CLI_FAILED;
    UndoRequest req;
    req.devices = selected_reachable();
    req.parent = W_MAIN_WINDOW;
    SetOutcome so = run_undo(req, front_end_asker());
    if (so.outcome.result == Result::cancelled && !so.sent)
        cli_confirmed("nothing was undone");
    int status = cli_print_outcome("undo", so.outcome);
    return std::max(status, cli_answer_reset("undo", so.change, so.outcome));
}
