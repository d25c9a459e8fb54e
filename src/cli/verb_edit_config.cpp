// mm_cli edit-config: EDITOR runs on the local copy of the selected
// devices' configuration file in this terminal; a changed file is uploaded
// after the question (-y), then the resets named by --reset are sent.
// Every device is listed with its result (--json: the outcome's document).
#include "cli/cli.h"
#include "cli/cli_asked.h"
#include "cli/cli_outcome.h"
#include "devices/mrx_select.h"
#include "files/edit_conf.h"
#include "snmp_access/morix_record.h"
#include "ui/progress.h"

namespace {

// --reset words and their reset options (index into edit_conf_reset_names).
struct ResetWord {
    const char* word;
    int option;
};
const ResetWord reset_words[] = {{"all", 0}, {"async", 1},  {"dialout", 2}, {"external-modem", 3},
                                 {"lat", 4}, {"macros", 5}, {"pri", 6}};

} // namespace

int verb_edit_config(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("edit-config");
    EditConfRequest run;
    run.in_terminal = true;
    run.reset_mask = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--reset" || i + 1 >= args.size())
            return cli_usage_error(verb, "unexpected argument '" + args[i] + "'");
        for (const std::string& w : cli_split(args[++i], ',')) {
            int option = -1;
            for (const ResetWord& r : reset_words)
                if (w == r.word)
                    option = r.option;
            if (option < 0)
                return cli_usage_error(verb, "unknown reset '" + w + "'");
            run.reset_mask = edit_conf_reset_val(run.reset_mask, option, true);
        }
    }
    Outcome out;
    out.result = Result::failed;
    if (check_main_sel(W_MAIN_WINDOW, SEL_REACHABLE)) {
        run.devices = selected_reachable();
        out = run_edit_conf(run, front_end_asker()).outcome;
    }
    // Warnings of the commands it ran (the selection check, the resets).
    std::vector<std::string> others = cli_take_warnings();
    out.warnings.insert(out.warnings.begin(), others.begin(), others.end());
    cli_list_asked(&out, DeviceState::not_sent, "the configuration file was not edited");
    int status = cli_print_outcome("edit-config", out);
    return cli_confirmed() ? status : CLI_FAILED;
}
