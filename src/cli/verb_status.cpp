// mm_cli status: one status member's request (ports or channels, the
// period and interval numbers, the sort order), then a multilink row's
// details when asked; prints the window's text.
#include <cstdio>
#include <cstdlib>

#include "cli/cli.h"
#include "ops/status.h"
#include "snmp_access/port_inst.h"
#include "ui/program.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"
#include "ui_headless/ui_headless.h"

namespace {

int period_code(const std::string& word) {
    if (word == "intervals")
        return 0;
    if (word == "current")
        return 1;
    return word == "total" ? 2 : -1;
}

} // namespace

int verb_status(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("status");
    if (args.empty())
        return cli_usage_error(verb, "give the status member");
    int member = status_member_by_key(args[0]);
    if (member < 0)
        return cli_usage_error(verb, "unknown status member '" + args[0] + "'");
    std::string list, intervals;
    int period = 1, row = 0;
    bool sort = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool has_value = i + 1 < args.size();
        if (a == "-P" && has_value)
            list = args[++i];
        else if (a == "--period" && has_value)
            period = period_code(args[++i]);
        else if (a == "-I" && has_value)
            intervals = args[++i];
        else if (a == "--sort")
            sort = true;
        else if (a == "-R" && has_value && check_str_digits(args[i + 1]) && args[i + 1].size() < 6)
            row = std::atoi(args[++i].c_str());
        else
            return cli_usage_error(verb, "unexpected argument '" + a + "'");
    }
    if (period < 0)
        return cli_usage_error(verb, "the period is current, total or intervals");
    const StatusMember& m = status_member(member);
    int w = m.window;
    int text = status_obj(w, SO_TEXT);
    ui_set_text(text, "");
    StatusInput in;
    in.list = period == 0 ? intervals : list;
    in.sort = member == SM_PRI && sort;
    if (member == SM_T1 || member == SM_PRI_CSU)
        in.period = period;
    int result = process_status(member, in);
    if (member == SM_MP && row > 0 && !ui_get_text(text).empty()) {
        ui_list_select_pos(status_obj(w, SO_X1), row, false);
        dispatch_main(status_obj(w, SO_X2));
    }
    std::string out = ui_get_text(text);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    return result == STS_DONE ? CLI_OK : CLI_FAILED;
}
