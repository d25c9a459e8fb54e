// mm_cli status: one status member's request (ports or channels, the
// period and interval numbers, the sort order) on the first selected
// reachable device, then a multilink row's details when asked; prints the
// window's text or the JSON document.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "cli/cli.h"
#include "cli/cli_json.h"
#include "cli/cli_outcome.h"
#include "devices/mrx_select.h"
#include "ops/status.h"
#include "snmp_access/port_inst.h"
#include "ui/program.h"
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
    StatusInput in;
    in.list = period == 0 ? intervals : list;
    in.sort = member == SM_PRI && sort;
    if (member == SM_T1 || member == SM_PRI_CSU) {
        in.period = period;
        in.module = list; // -P names the WAN module here
    }
    if (!check_main_sel(m.form, SEL_FIRST))
        return CLI_FAILED;
    MorixRecord* rec = first_sel_reachable();
    if (!rec)
        return CLI_FAILED;
    StatusOutcome out = run_status(member, rec, in);
    // A multilink row's details replace the text, as the window's Details.
    if (member == SM_MP && row > 0 && !out.outcome.report.empty()) {
        StatusOutcome detail = run_mp_detail(row);
        out.outcome.warnings.insert(out.outcome.warnings.end(), detail.outcome.warnings.begin(),
                                    detail.outcome.warnings.end());
        if (detail.laid_out) {
            out.outcome.report = detail.outcome.report;
            out.tables = detail.outcome.report;
        } else if (detail.outcome.result != Result::done) {
            out.outcome.result = detail.outcome.result;
        }
    }
    for (const std::string& w : out.outcome.warnings)
        std::fprintf(stderr, "%s\n", hl_reworded(w).c_str());
    for (const DeviceOutcome& d : out.outcome.devices) // unless a warning said it
        if (std::find(out.outcome.warnings.begin(), out.outcome.warnings.end(), d.reason) ==
            out.outcome.warnings.end())
            cli_warn_device("status", d);
    Result result = out.outcome.result;
    if (cli_json) {
        JsonWriter& j = cli_json_doc();
        j.str("member", m.key).str("device", rec->name);
        j.str("result", result == Result::failed ? "unread" : cli_result_name(result));
        j.begin_array("fields");
        for (const auto& f : out.fields)
            j.begin_object().str("label", f.first).str("value", f.second).end_object();
        j.end_array().str("tables", out.tables);
    } else {
        std::string text = hl_reworded(out.outcome.report);
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
    }
    // A warning (a refused input, an interface not read, ...) fails the run.
    return result == Result::done && out.outcome.warnings.empty() ? CLI_OK : CLI_FAILED;
}
