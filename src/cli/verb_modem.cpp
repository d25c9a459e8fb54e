// mm_cli modem: the modem definitions of the selected devices'
// configuration file (list), and changing them (set, remove, defaults)
// through the Edit Modem dialog's commands, each followed by Apply: the
// upload to the load host and the modem reset question (-y answers it).
// Every device is listed with its result; a run with warnings ends with
// status 1.
#include <cstdio>

#include "cli/cli.h"
#include "cli/cli_asked.h"
#include "cli/cli_json.h"
#include "cli/cli_outcome.h"
#include "devices/mrx_select.h"
#include "files/edit_conf.h"
#include "files/modem_dialog.h"
#include "files/modem_info.h"
#include "snmp_access/morix_record.h"
#include "ui/progress.h"

namespace {

std::string list_text(const char* heading, const ModemList& list) {
    std::string t = std::string("[") + heading + "]\n";
    for (const ModemDef& d : list) {
        t += d.name + (d.duplicate ? " (duplicate, not used)" : "") + "\n";
        for (int k = 1; k < KW_END; ++k)
            if (d.values[k]) {
                char key[32];
                std::snprintf(key, sizeof key, "    %-18s ", mdm_keywords[k]);
                t += key + *d.values[k] + "\n";
            }
    }
    return t;
}

void json_list(const char* key, const ModemList& list) {
    JsonWriter& j = cli_json_doc();
    j.begin_array(key);
    for (const ModemDef& d : list) {
        j.begin_object().str("name", d.name).boolean("duplicate", d.duplicate);
        j.begin_object("values");
        for (int k = 1; k < KW_END; ++k)
            if (d.values[k])
                j.str(mdm_keywords[k], *d.values[k]);
        j.end_object().end_object();
    }
    j.end_array();
}

// A step's outcome added to the run's: its warnings, its devices (a device
// keeps the first state that is not done) and a result that is not done.
void take(Outcome* run, const Outcome& step) {
    run->warnings.insert(run->warnings.end(), step.warnings.begin(), step.warnings.end());
    for (const DeviceOutcome& d : step.devices) {
        bool known = false;
        for (DeviceOutcome& e : run->devices)
            if (e.device == d.device) {
                known = true;
                if (e.state == DeviceState::done)
                    e = d;
            }
        if (!known)
            run->devices.push_back(d);
    }
    if (step.result != Result::done && run->result == Result::done)
        run->result = step.result;
}

// Prints the run (warnings of other commands first) and releases the
// local copies. Every warning counts: a run with warnings is status 1.
int finish(Outcome out) {
    mdm_close_act(0);
    if (out.result == Result::cancelled)
        cli_confirmed(); // says on standard error that a question was declined
    cli_list_asked(&out, out.result == Result::done ? DeviceState::done : DeviceState::not_sent,
                   "nothing was done (see the warnings)");
    std::vector<std::string> others = cli_take_warnings(); // shown before the outcome's
    out.warnings.insert(out.warnings.begin(), others.begin(), others.end());
    if (!out.warnings.empty() && out.result == Result::done)
        out.result = Result::failed;
    return cli_print_outcome("modem", out);
}

// KEY=VALUE words into the named definition (see mdm_put_values). 1 when
// the definition changed, 0 when it already held these values, or a usage
// error status (negative).
int set_values(const CliVerb& verb, const std::string& name,
               const std::vector<std::string>& pairs) {
    std::vector<std::pair<int, std::string>> values;
    for (const std::string& p : pairs) {
        size_t eq = p.find('=');
        int k = eq == std::string::npos ? -1 : mdm_keyword_index(p.substr(0, eq));
        if (k <= KW_TYPE_OF_MODEM || k >= KW_END)
            return -cli_usage_error(verb, "'" + p + "' is not KEYWORD=VALUE of a modem keyword");
        values.emplace_back(k, p.substr(eq + 1));
    }
    return mdm_put_values(name, values);
}

// remove or defaults through the dialog's commands; true when the
// configuration list changed.
bool dialog_change(const std::string& sub, const std::string& name, Outcome* out) {
    MdmDialogRequest req;
    req.name = name;
    if (sub == "remove") {
        take(out, mdm_remove(req, front_end_asker()).outcome);
    } else {
        req.defaults = true;
        MdmOutcome shown = mdm_rvrt_defs(req);
        take(out, shown.outcome);
        if (shown.dialog.defaults == false)
            return false;
        take(out, mdm_edit_ok(req).outcome);
    }
    return out->result == Result::done && mdm_info.cfg_fil_upd_flag;
}

// Apply, then the modem resets when the question is answered (-y).
void apply(Outcome* out) {
    MdmOutcome applied = mdm_apply(W_MAIN_WINDOW);
    take(out, applied.outcome);
    for (const FollowUp& f : applied.outcome.follow_ups) {
        if (!front_end_asker().ask({"Confirmation", f.question, "OK", "Cancel", true})) {
            out->result = Result::cancelled;
            continue;
        }
        take(out, modem_resets(W_MAIN_WINDOW).outcome);
    }
}

} // namespace

int verb_modem(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("modem");
    std::string sub = args.empty() ? "" : args[0];
    bool named = sub == "set" || sub == "remove" || sub == "defaults";
    bool shape_ok = (sub == "list" && args.size() == 1) ||
                    (named && args.size() >= 2 && (sub == "set" || args.size() == 2));
    if (!shape_ok)
        return cli_usage_error(verb, "expected list, set NAME KEY=VALUE..., remove NAME or "
                                     "defaults NAME");
    if (named && (args[1].empty() || args[1].size() > MDM_NAME_STORED))
        return cli_usage_error(verb, "NAME has 1 to 15 characters");
    Outcome out;
    if (!check_main_sel(W_MAIN_WINDOW, SEL_REACHABLE)) {
        out.result = Result::failed;
        return finish(out);
    }
    mdm_set_window(MW_NONE, "", 0, {});
    take(&out, mdm_load(selected_reachable(), W_MAIN_WINDOW).outcome);
    if (out.result != Result::done)
        return finish(out);
    const std::string file = mdm_remote_path(mdm_info.cfg_fil_nam);
    if (sub == "list") {
        if (cli_json) {
            cli_json_doc().str("config_file", file).str("load_host", mdm_info.cfg_fil_adr);
            json_list("configuration", mdm_info.cfg_list);
            json_list("defaults", mdm_info.db_list);
        }
        out.report = "Configuration file " + file + " on " + mdm_info.cfg_fil_adr + "\n" +
                     list_text("configuration file", mdm_info.cfg_list) +
                     list_text("include files (defaults)", mdm_info.db_list);
        return finish(out);
    }
    if (mdm_cfg_allow_edit(W_MAIN_WINDOW) != EDIT_ALLOWED) {
        out.warnings.push_back("Configuration file cannot be edited,\n" + mdm_info.edit_reason +
                               "\nThe changes have not been saved.");
        out.result = Result::refused;
        return finish(out);
    }
    const std::string& name = args[1];
    if (sub == "set") {
        int rc = set_values(verb, name, std::vector<std::string>(args.begin() + 2, args.end()));
        if (rc < 0) {
            mdm_close_act(0);
            return -rc;
        }
        if (rc == 0) {
            out.report = name + " already has these values: nothing was sent.\n";
            return finish(out);
        }
    } else if (!dialog_change(sub, name, &out)) {
        if (out.result == Result::done)
            out.result = Result::failed;
        return finish(out);
    }
    apply(&out);
    return finish(out);
}
