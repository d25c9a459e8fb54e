// mm_cli modems: the internal modems of the devices; with "set", the named
// modems set to the state after the operator's confirmation, then listed.
#include <algorithm>
#include <cstdlib>

#include "basic/int_mdms.h"
#include "cli/cli.h"
#include "devices/allow_sets.h"
#include "devices/mrx_select.h"
#include "devices/text_buf.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

void print_rows() {
    for (const ImdmRow& row : int_mdms_rows) {
        const MorixRecord* r = host_info_list[row.mrx_pos];
        std::printf(
            "%s\n",
            imdm_row_text(r->name, row.modem, imdm_state_word(r->platform, row.state)).c_str());
    }
    std::fflush(stdout);
}

// List position of a device's modem, or 0.
int row_pos(const std::string& device, int modem) {
    for (size_t i = 0; i < int_mdms_rows.size(); ++i)
        if (host_info_list[int_mdms_rows[i].mrx_pos]->name == device &&
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
    Outcome read;
    bool ok = check_main_sel(W_MAIN_WINDOW, SEL_REACHABLE) && process_get_int_mdms_vals(1, &read);
    for (const std::string& w : read.warnings) // as the dialog's box would show them
        display_warn(W_MAIN_WINDOW, w);
    if (!ok)
        return CLI_FAILED;
    if (!will_sel_mrx_allow_set())
        display_warn(W_IMDM_DIALOG, "Morix(es) not settable. Morix parameters will not be set.");
    if (!set) {
        print_rows();
        return CLI_OK;
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
    if (ask_user(W_IMDM_DIALOG, "Confirmation", "OK", "Cancel", 0,
                 "The chosen modems will be set for the following Morixes:\n\n" + mrx_conf_names() +
                     "\n\nDo you want to continue?") != ASK_OK) {
        cli_confirmed();
        return CLI_FAILED;
    }
    Outcome done;
    int result = set_int_mdms(chosen, state, &done);
    for (const std::string& w : done.warnings)
        display_warn(W_IMDM_DIALOG, w);
    process_get_int_mdms_vals(0, &done);
    print_rows();
    return result == IMDM_DONE ? CLI_OK : CLI_FAILED;
}
