// mm_cli show: the Show request from the arguments (parameters or a
// function, port type, ports, detail), run on the selected reachable
// devices; the report or the JSON document, every device not done named on
// standard error.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "catalogue/func_display.h"
#include "catalogue/mib_catalogue.h"
#include "cli/cli.h"
#include "cli/cli_json.h"
#include "cli/cli_outcome.h"
#include "devices/mrx_select.h"
#include "ops/show.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/session.h"
#include "snmp_access/snmp_engine.h"
#include "ui/program.h"
#include "ui/widget_ids.h"
#include "ui_headless/ui_headless.h"

namespace {

// One device of the report as a JSON object: its result and every value
// with its variable, port type and port, enumeration and status.
void json_device(const MorixRecord& r) {
    DeviceOutcome d = show_device_outcome(r);
    JsonWriter& j = cli_json_doc();
    j.begin_object().str("device", r.name).str("result", device_state_name(d.state));
    if (d.state != DeviceState::done)
        j.str("reason", d.reason);
    j.begin_array("values");
    for (const ParamNode* n = r.status == 0 ? r.prm_list : nullptr; n; n = n->next) {
        const MibVarEntry* e = mib_var(n->mib_index);
        j.begin_object().str("variable", e ? e->name : "");
        std::string kw;
        if (n->port_type != 0 && cvt_port_opt_str(n->port_type, &kw))
            j.str("port_type", kw).num("port", n->port_num);
        else
            j.null("port_type").null("port");
        j.str("status", cli_node_status_word(n->status));
        if (n->status == NS_OK) {
            j.str("value", n->value);
            std::string name;
            if (e && e->enum_id != -1 && cvt_enum_num_str(n->mib_index, n->value, &name))
                j.num("enum_number", std::atol(n->value.c_str())).str("enum_name", name);
        }
        j.end_object();
    }
    j.end_array().end_object();
}

// Every device of the list, in list order: as the Show read it, or, when it
// was not read, not reachable or not read. A device the report stopped
// before (a cancel) was cancelled. Each one not done is named on standard
// error; the JSON document adds those the report did not list.
// Returns whether every device was done.
bool finish_devices(const Outcome& out, const std::vector<std::string>& listed) {
    bool all_done = true;
    for (const MorixRecord* r : session().devices()) {
        if (!r)
            break;
        DeviceOutcome d{r->name, DeviceState::unreachable, "not reachable; nothing was read"};
        if (r->reachable)
            d = {r->name, DeviceState::unread, "its values were not read"};
        for (const DeviceOutcome& o : out.devices)
            if (o.device == r->name)
                d = o;
        bool in_report = std::find(listed.begin(), listed.end(), r->name) != listed.end();
        if (!in_report && d.state == DeviceState::done)
            d = {r->name, DeviceState::cancelled, "cancelled before its values were read"};
        if (cli_json && !in_report)
            cli_json_device(cli_json_doc(), d);
        cli_warn_device("show", d);
        all_done = all_done && d.state == DeviceState::done;
    }
    return all_done;
}

} // namespace

int verb_show(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("show");
    bool detailed = false;
    int port_type = port_type_choices()[0].code;
    std::string ports, vars, func;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool has_value = i + 1 < args.size();
        if (a == "-d")
            detailed = true;
        else if (a == "-p" && has_value)
            port_type = cli_port_type(args[++i]);
        else if (a == "-P" && has_value)
            ports = args[++i];
        else if (a == "-v" && has_value)
            vars = args[++i];
        else if (a == "-f" && has_value)
            func = args[++i];
        else
            return cli_usage_error(verb, "unexpected argument '" + a + "'");
    }
    if (port_type < 0)
        return cli_usage_error(verb, "unknown port type");
    if (vars.empty() == func.empty())
        return cli_usage_error(verb, "give either -v or -f");
    // A name the catalogue does not hold is reported and left out; the
    // others are still shown (and the status tells of the one left out).
    int unknown = 0;
    std::vector<std::string> items;
    if (!vars.empty()) {
        std::vector<std::string> known;
        for (const std::string& n : cli_split(vars, ',')) {
            int id = 0;
            if (get_check_mib_var(n, &id) == 1) {
                known.push_back(n);
                continue;
            }
            std::fprintf(stderr, "mm_cli show: no parameter '%s'; it is not shown.\n", n.c_str());
            ++unknown;
        }
        if (known.empty())
            return CLI_FAILED;
        items = known;
    } else {
        items = {func};
    }
    // The selection check reads the main window's parameter choice.
    cli_choose_params(items, vars.empty() ? 0 : 1);
    if (!check_main_sel(W_SHOW_FORM, SEL_SHOW_SET))
        return CLI_FAILED;
    ShowRequest req;
    req.items = items;
    req.param_sel = vars.empty() ? 0 : 1;
    req.port_type = port_type;
    req.ports = ports;
    req.detailed = detailed;
    req.parent = W_SHOW_FORM;
    req.devices = selected_reachable();
    if (cli_json)
        cli_json_doc().begin_array("devices");
    std::vector<std::string> listed;
    show_device_listener = [&listed](const MorixRecord& r) {
        listed.push_back(r.name);
        if (cli_json)
            json_device(r);
    };
    Outcome out = process_show(req);
    show_device_listener = nullptr;
    for (const std::string& w : out.warnings)
        std::fprintf(stderr, "%s\n", w.c_str());
    if (!cli_json) {
        std::string text = hl_reworded(out.report);
        std::fwrite(text.data(), 1, text.size(), stdout);
    }
    std::fflush(stdout);
    Result result = out.result;
    // A device asked for and not read makes the whole run a failure.
    if (result != Result::refused && !finish_devices(out, listed) && result == Result::done)
        result = Result::failed;
    if (cli_json)
        cli_json_doc().end_array().str(
            "result", result == Result::failed ? "unread" : cli_result_name(result));
    // A warning (ports a device lacks, ...) makes the run a failure too.
    return result != Result::done || unknown || !out.warnings.empty() ? CLI_FAILED : CLI_OK;
}
