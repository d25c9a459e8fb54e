// mm_cli show: the Show window with its port type toggle, port list and
// detailed-output toggle, then Apply.
#include <cstdio>
#include <cstdlib>

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
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

// What became of each device of the run, in list order: the served ones
// as the Show reported them, the others as not reachable or, after a
// cancel, cancelled.
std::vector<DeviceOutcome> shown;

DeviceOutcome served_outcome(const MorixRecord& r) {
    if (r.status == 0)
        return {r.name, DeviceState::done, ""};
    if (r.status == SR_CANCELLED)
        return {r.name, DeviceState::cancelled, "cancelled before its values were read"};
    if (r.status == SR_TIMEOUT)
        return {r.name, DeviceState::unread, "no answer; its values were not read"};
    return {r.name, DeviceState::unread, "its values could not be read"};
}

// One device of the report as a JSON object: its result and every value
// with its variable, port type and port, enumeration and status.
void json_device(const MorixRecord& r) {
    DeviceOutcome d = served_outcome(r);
    shown.push_back(d);
    if (!cli_json)
        return;
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

// The devices the Show did not serve, after those it did; each one not
// done named on standard error.
void finish_devices(Result result) {
    for (const MorixRecord* r : session().devices()) {
        if (!r)
            break;
        bool served = false;
        for (const DeviceOutcome& d : shown)
            served = served || d.device == r->name;
        if (served)
            continue;
        DeviceOutcome d{r->name, DeviceState::unreachable, "not reachable; nothing was read"};
        if (r->reachable)
            d = {r->name,
                 result == Result::cancelled ? DeviceState::cancelled : DeviceState::unread,
                 result == Result::cancelled ? "cancelled before its values were read"
                                             : "its values were not read"};
        shown.push_back(d);
        if (cli_json)
            cli_json_device(cli_json_doc(), d);
    }
    for (const DeviceOutcome& d : shown)
        cli_warn_device("show", d);
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
        cli_choose_params(known, 1);
    } else
        cli_choose_params({func}, 0);
    if (!check_main_sel(W_SHOW_FORM, SEL_SHOW_SET))
        return CLI_FAILED;
    ShowRequest req;
    req.items = ui_list_selected_items(W_FUNC_LIST);
    req.param_sel = vars.empty() ? 0 : 1;
    req.port_type = port_type;
    req.ports = ports;
    req.detailed = detailed;
    req.parent = W_SHOW_FORM;
    req.output = W_SHOW_TEXT;
    cli_watch_output(W_SHOW_TEXT);
    if (cli_json)
        cli_json_doc().begin_array("devices");
    show_device_listener = json_device;
    Result result = process_show(req);
    show_device_listener = nullptr;
    cli_flush_output();
    if (result != Result::refused)
        finish_devices(result);
    if (cli_json)
        cli_json_doc().end_array().str(
            "result", result == Result::failed ? "unread" : cli_result_name(result));
    return result != Result::done || unknown ? CLI_FAILED : CLI_OK;
}
