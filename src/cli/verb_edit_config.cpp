// mm_cli edit-config: EDITOR runs on the local copy of the selected
// devices' configuration file in this terminal; a changed file is uploaded
// after the question (-y), then the resets named by --reset are sent.
#include "cli/cli.h"
#include "files/edit_conf.h"

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
    EditConfRun run;
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
    int ok = edit_conf(run);
    cli_flush_warnings();
    return ok && cli_confirmed() ? CLI_OK : CLI_FAILED;
}
