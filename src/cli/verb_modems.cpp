// mm_cli modems: the internal modems of the devices; with "set", the named
// modems set to the state after the operator's confirmation, then listed.
// Every device is listed with its result; --json gives the rows as
// "modems" (device, modem, state).
#include <algorithm>
#include <cstdlib>

#include "basic/int_mdms.h"
#include "cli/cli.h"
#include "cli/cli_asked.h"
#include "cli/cli_json.h"
#include "cli/cli_outcome.h"
#include "devices/allow_sets.h"
#include "devices/mrx_select.h"
#include "devices/text_buf.h"
#include "snmp_access/session.h"
#include "ui/progress.h"
#include "ui/widget_ids.h"

namespace {

// The rows as the report (one line per modem) and, with --json, as the
// document's "modems".
std::string rows_text() {
    std::string text;
    if (cli_json)
        cli_json_doc().begin_array("modems");
    for (const ImdmRow& row : int_mdms_rows) {
        const MorixRecord* r = session().devices()[row.mrx_pos];
        const char* word = imdm_state_word(r->platform, row.state);
        text += imdm_row_text(r->name, row.modem, word) + "\n";
        if (cli_json)
            cli_json_doc()
                .begin_object()
                .str("device", r->name)
                .num("modem", row.modem)
                .str("state", word)
                .end_object();
    }
    if (cli_json)
        cli_json_doc().end_array();
    return text;
}

// Prints the run: warnings of the commands first, every device listed.
int finish(Outcome out) {
    std::vector<std::string> others = cli_take_warnings();
    out.warnings.insert(out.warnings.begin(), others.begin(), others.end());
    cli_list_asked(&out,
                   out.result == Result::done        ? DeviceState::done
                   : out.result == Result::cancelled ? DeviceState::cancelled
                                                     : DeviceState::unread,
                   out.result == Result::cancelled
                       ? "cancelled; nothing was set"
                       : "its internal modems were not all read or set");
    return cli_print_outcome("modems", out);
}

// List position of a device's modem, or 0.
int row_pos(const std::string& device, int modem) {
    for (size_t i = 0; i < int_mdms_rows.size(); ++i)
        if (session().devices()[int_mdms_rows[i].mrx_pos]->name == device &&
            int_mdms_rows[i].modem == modem)
            return static_cast<int>(i) + 1;
    return 0;
}

} // namespace

int verb_modems(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("modems");
    bool set = !args.empty() && args[0] == "set";
    if ((set && args.size() != 3) || (!set && !args.empty()))
        return cli_usage_error(verb, "unexpected arguments");
    int state = 0;
    if (set)
        state = args[1] == "available" || args[1] == "1" ? 1
                : args[1] == "busy" || args[1] == "2"    ? 2
                                                         : 0;
    if (set && state == 0)
        return cli_usage_error(verb, "STATE is available or busy");
    Outcome out;
    if (!check_main_sel(W_MAIN_WINDOW, SEL_REACHABLE) || !process_get_int_mdms_vals(1, &out)) {
        out.result = Result::failed;
        return finish(out);
    }
    if (!will_sel_mrx_allow_set())
        out.warnings.push_back("Morix(es) not settable. Morix parameters will not be set.");
    if (!set) {
        out.report = rows_text();
        return finish(out);
    }
    // The rows chosen, in list order, as the dialog's list would give them.
    std::vector<int> chosen;
    for (const std::string& item : cli_split(args[2], ',')) {
        size_t colon = item.rfind(':');
        int modem = colon == std::string::npos ? 0 : std::atoi(item.c_str() + colon + 1);
        int pos = modem > 0 ? row_pos(item.substr(0, colon), modem) : 0;
        if (pos == 0)
            return cli_usage_error(verb, "no internal modem '" + item + "' in the list");
        chosen.push_back(pos);
    }
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    if (!front_end_asker().ask({"Confirmation", "The chosen modems will be set for the following "
                                                "Morixes:\n\n" +
                                                    mrx_conf_names() +
                                                    "\n\nDo you want to continue?"})) {
        cli_confirmed();
        out.result = Result::cancelled;
        return finish(out);
    }
    int result = set_int_mdms(chosen, state, &out);
    process_get_int_mdms_vals(0, &out);
    out.report = rows_text();
    out.result = result == IMDM_DONE        ? Result::done
                 : result == IMDM_CANCELLED ? Result::cancelled
                                            : Result::failed;
    return finish(out);
}
