// mm_cli script: create a script from the one selected device, view one,
// or execute one on the selected devices. Port fields of the port dialogs
// come from --ports KIND=LIST (asy, syn, ptr, en, ds0chan, ds1inf).
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "catalogue/mib_catalogue.h"
#include "cli/cli.h"
#include "cli/cli_json.h"
#include "cli/cli_outcome.h"
#include "devices/mrx_select.h"
#include "ops/script_crt.h"
#include "ops/script_exe.h"
#include "ops/script_file.h"
#include "ui/progress.h"
#include "ui/widget_ids.h"
#include "ui_headless/ui_headless.h"

namespace {

const char* const category_names[SC_COUNT] = {"device", "asy", "ptr", "en", "channels", "ds1"};

bool parse_ports_arg(const std::string& a, std::array<std::string, SK_COUNT>* texts) {
    size_t eq = a.find('=');
    for (int k = SK_ASY; k < SK_COUNT && eq != std::string::npos; ++k)
        if (a.compare(0, eq, scr_kind_keyword(k)) == 0) {
            (*texts)[k] = a.substr(eq + 1);
            return true;
        }
    return false;
}

int run_create(const CliVerb& verb, const std::vector<std::string>& args) {
    ScriptCrtRequest req;
    ScrCrtOptions& opt = req.opt;
    std::string vars, func;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool v = i + 1 < args.size();
        if (a == "-a")
            opt.all = true;
        else if (a == "-w")
            opt.wildcard = true;
        else if (a == "--category" && v) {
            for (const std::string& c : cli_split(args[++i], ',')) {
                int found = -1;
                for (int k = 0; k < SC_COUNT; ++k)
                    if (c == category_names[k])
                        found = k;
                if (found < 0)
                    return cli_usage_error(verb, "unknown category '" + c + "'");
                opt.category[found] = true;
            }
        } else if (a == "-v" && v)
            vars = args[++i];
        else if (a == "-f" && v)
            func = args[++i];
        else if (a == "--ports" && v) {
            if (!parse_ports_arg(args[++i], &req.ports))
                return cli_usage_error(verb, "bad --ports '" + args[i] + "'");
        } else if (req.file.empty() && a[0] != '-')
            req.file = a;
        else
            return cli_usage_error(verb, "unexpected argument '" + a + "'");
    }
    if (req.file.empty())
        return cli_usage_error(verb, "give the script FILE");
    if (!vars.empty() && !func.empty())
        return cli_usage_error(verb, "give either -v or -f");
    if (!vars.empty() || !func.empty()) {
        req.opt.selected = true;
        req.params = !vars.empty() ? cli_split(vars, ',') : std::vector<std::string>{func};
        req.param_sel = vars.empty() ? 0 : 1;
        cli_choose_params(req.params, req.param_sel); // what the selection check reads
    }
    if (!check_main_sel(W_MAIN_WINDOW, SEL_SCRIPT, req.opt.selected))
        return CLI_FAILED;
    req.devices = selected_reachable();
    ScriptCrtOutcome out = run_script_create(req, front_end_asker());
    // A question answered Cancel (ports, overwrite) is said, not silent.
    if (out.declined)
        std::fprintf(stderr, "Not confirmed (answer with -y): no script was written.\n");
    if (out.kept)
        cli_say_kept("script create", out.path);
    const std::string device = req.devices.empty() ? "" : req.devices.front()->name;
    for (const std::string& e : out.errors)
        std::fprintf(stderr, "mm_cli script create: %s: %s\n", device.c_str(),
                     hl_reworded(e).c_str());
    int status = cli_print_outcome("script create", out.outcome);
    if (cli_json) {
        JsonWriter& j = cli_json_doc();
        j.str("file", out.path.empty() ? req.file : out.path)
            .boolean("written", out.written)
            .begin_array("errors");
        for (const std::string& e : out.errors)
            j.str("", hl_reworded(e));
        j.end_array();
    }
    return out.kept ? CLI_KEPT : status;
}

// A script's parameter lines with what each names and whether it could be
// executed (the reason when not).
int json_view(const std::string& path) {
    ScriptFile f;
    int rc = read_script(path, &f);
    JsonWriter& j = cli_json_doc();
    j.str("file", path).begin_array("lines");
    for (const ScriptLine& l : rc == SCR_OK ? f.lines : std::vector<ScriptLine>{}) {
        j.begin_object().str("variable", l.name).str("port_type", l.port_kw);
        if (l.port == SCR_WILDCARD || l.port < 0)
            j.null("port");
        else
            j.num("port", l.port);
        j.boolean("all_ports", l.port == SCR_WILDCARD).str("value", l.value);
        // Scripts hold an enumerated value by its name.
        std::string number;
        const MibVarEntry* e = l.mib_index >= 0 ? mib_var(l.mib_index) : nullptr;
        if (e && e->enum_id != -1 && cvt_enum_str_num(l.mib_index, l.value, &number))
            j.num("enum_number", std::atol(number.c_str())).str("enum_name", l.value);
        std::string problem = check_script_line(l);
        problem.empty() ? j.null("problem") : j.str("problem", problem);
        j.end_object();
    }
    j.end_array();
    return rc;
}

} // namespace

int verb_script(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("script");
    if (args.empty())
        return cli_usage_error(verb, "give create, view or exec");
    if (args[0] == "create")
        return run_create(verb, args);
    if (args.size() < 2)
        return cli_usage_error(verb, "give the script FILE");
    if (args[0] == "view") {
        if (args.size() != 2)
            return cli_usage_error(verb, "view takes one FILE");
        ScriptView v = view_script(args[1]);
        for (const std::string& w : v.outcome.warnings)
            std::fprintf(stderr, "%s\n", hl_reworded(w).c_str());
        if (v.outcome.result != Result::done)
            return CLI_FAILED;
        if (cli_json)
            json_view(args[1]);
        else
            std::fwrite(v.outcome.report.data(), 1, v.outcome.report.size(), stdout);
        return CLI_OK;
    }
    if (args[0] != "exec")
        return cli_usage_error(verb, "unknown action '" + args[0] + "'");
    std::array<std::string, SK_COUNT> ports{};
    for (size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--ports" && i + 1 < args.size() && parse_ports_arg(args[i + 1], &ports))
            ++i;
        else
            return cli_usage_error(verb, "unexpected argument '" + args[i] + "'");
    }
    // The script's checks, its "*" ports from --ports, the questions (OK
    // only with -y) and the run, printed from its outcome.
    if (!check_main_sel(W_MAIN_WINDOW, SEL_REACHABLE))
        return CLI_FAILED;
    std::vector<MorixRecord*> devices = selected_reachable();
    ScriptCheck check = check_script_exec(args[1], devices);
    if (!check.ready)
        return cli_print_outcome("script exec", check.outcome);
    ScriptRun run{check.path, {}, devices, W_EXE_FORM};
    bool given = !check.any_wild;
    if (check.any_wild) {
        std::array<std::string, SK_COUNT> texts = scr_exe_fixed_texts(check.wild);
        for (int k = SK_ASY; k < SK_COUNT; ++k)
            if (check.wild[k] && !ports[k].empty())
                texts[k] = ports[k];
        run.ports = parse_scr_ports(texts);
        for (int k = SK_ASY; k < SK_COUNT; ++k) {
            if (!check.wild[k])
                run.ports[k] = ScrPorts{};
            given = given || run.ports[k].given();
        }
    }
    if (!confirm_script_run(devices, !given, front_end_asker())) {
        cli_confirmed();
        Outcome declined;
        declined.result = Result::cancelled;
        for (const MorixRecord* r : devices)
            declined.devices.push_back({r->name, DeviceState::cancelled,
                                        "<" + r->name + ">  Nothing was sent: not confirmed."});
        return cli_print_outcome("script exec", declined);
    }
    SetOutcome so = run_script(run, front_end_asker());
    int status = cli_print_outcome("script exec", so.outcome);
    return std::max(status, cli_answer_reset("script exec", so.change, so.outcome));
}
