// mm_cli undo: Undo Last Change for the selected devices. The undo scripts
// and what they set are listed on standard output; they are executed only
// when the question is answered (-y).
#include "cli/cli.h"
#include "ops/script_crt.h"
#include "ops/undo.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

int verb_undo(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("undo");
    if (!args.empty())
        return cli_usage_error(verb, "undo takes no arguments");
    ui_set_text(W_MAIN_OUTPUT, "");
    cli_watch_output(W_MAIN_OUTPUT);
    int result = undo_last_change(W_MAIN_OUTPUT, W_MAIN_WINDOW);
    cli_flush_output();
    if (result == SCRIPT_NOT_DONE) {
        cli_confirmed("nothing was undone");
        return CLI_FAILED;
    }
    return result == SCRIPT_DONE ? CLI_OK : CLI_FAILED;
}
