// mm_cli status: one status member's request (ports or channels, the
// period and interval numbers, the sort order), then a multilink row's
// details when asked; prints the window's text.
#include <cstdio>
#include <cstdlib>

#include "cli/cli.h"
#include "cli/cli_json.h"
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
    if (member == SM_T1 || member == SM_PRI_CSU) {
        in.period = period;
        in.module = list; // -P names the WAN module here
    }
    std::vector<std::pair<std::string, std::string>> fields;
    std::string tables;
    in.fields_out = &fields;
    in.tables_out = &tables;
    int result = process_status(member, in);
    if (member == SM_MP && row > 0 && !ui_get_text(text).empty()) {
        ui_list_select_pos(status_obj(w, SO_X1), row, false);
        dispatch_main(status_obj(w, SO_X2));
    }
    std::string out = ui_get_text(text);
    if (cli_json) {
        // The multilink row's details are in the window text only.
        if (member == SM_MP && row > 0)
            tables = out;
        std::vector<MorixRecord*> sel = selected_reachable();
        const MorixRecord* rec = sel.empty() ? nullptr : sel[0];
        JsonWriter& j = cli_json_doc();
        j.str("member", m.key);
        rec ? j.str("device", rec->name) : j.null("device");
        j.str("result", result == STS_DONE        ? "done"
                        : result == STS_UNREAD    ? "unread"
                        : result == STS_CANCELLED ? "cancelled"
                                                  : "refused");
        j.begin_array("fields");
        for (const auto& f : fields)
            j.begin_object().str("label", f.first).str("value", f.second).end_object();
        j.end_array().str("tables", tables);
    } else {
        std::fwrite(out.data(), 1, out.size(), stdout);
        std::fflush(stdout);
    }
    return result == STS_DONE ? CLI_OK : CLI_FAILED;
}
