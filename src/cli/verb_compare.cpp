// mm_cli compare: two devices of the list (--mrx A B), a device and a
// script (--mrx-file A FILE) or two scripts (--files F1 F2); -o FILE saves
// the differences as a script that makes the second side equal to the
// first.
#include <cstdio>
#include <cstdlib>

#include "catalogue/mib_catalogue.h"
#include "cli/cli.h"
#include "cli/cli_json.h"
#include "cli/cli_outcome.h"
#include "ops/compare.h"
#include "ops/script_file.h"
#include "snmp_access/port_inst.h"
#include "ui/progress.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"
#include "ui_headless/ui_headless.h"

namespace {

// The differences found, each as the line of the differences script that
// would make the second side equal to the first.
void json_diffs(int diffs, const std::string& report) {
    JsonWriter& j = cli_json_doc();
    j.num("count", diffs).begin_array("differences");
    for (const CmpDiff& d : diffs > 0 ? g_cmp_diffs : std::vector<CmpDiff>{}) {
        const MibVarEntry* e = mib_var(d.mib_index);
        std::string kw;
        j.begin_object().str("variable", e ? e->name : "");
        if (d.port_type != 0 && cvt_port_opt_str(d.port_type, &kw))
            j.str("port_type", kw);
        else
            j.null("port_type");
        d.port == SCR_WILDCARD || d.port_type == 0 ? j.null("port") : j.num("port", d.port);
        j.boolean("all_ports", d.port == SCR_WILDCARD).boolean("first_has_value", d.first_has);
        j.str("value", d.value).end_object();
    }
    j.end_array().str("report", report);
}

} // namespace

int verb_compare(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("compare");
    CmpRequest req;
    req.code = 0;
    std::string out_file, vars, func;
    int kinds = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool v1 = i + 1 < args.size(), v2 = i + 2 < args.size();
        if (a == "--mrx" && v2) {
            req.kind = CMP_MRX_MRX, req.mrx1 = args[i + 1], req.mrx2 = args[i + 2], i += 2, ++kinds;
        } else if (a == "--mrx-file" && v2) {
            req.kind = CMP_MRX_FIL, req.mrx1 = args[i + 1], req.file1 = args[i + 2], i += 2;
            ++kinds;
        } else if (a == "--files" && v2) {
            req.kind = CMP_FIL_FIL, req.file1 = args[i + 1], req.file2 = args[i + 2], i += 2;
            ++kinds;
        } else if (a == "--code" && v1) {
            req.code = std::atoi(args[++i].c_str());
        } else if (a == "-P1" && v1) {
            req.ports1 = args[++i];
        } else if (a == "-P2" && v1) {
            req.ports2 = args[++i];
        } else if (a == "-P" && v1) {
            req.ports1 = args[++i];
        } else if (a == "-p" && v1) {
            req.port_type = cli_port_type(args[++i]);
        } else if (a == "-v" && v1) {
            vars = args[++i];
        } else if (a == "-f" && v1) {
            func = args[++i];
        } else if (a == "-o" && v1) {
            out_file = args[++i];
        } else {
            return cli_usage_error(verb, "unexpected argument '" + a + "'");
        }
    }
    if (kinds != 1)
        return cli_usage_error(verb, "give one of --mrx, --mrx-file, --files");
    if (req.port_type < 0)
        return cli_usage_error(verb, "unknown port type");
    req.param_sel = vars.empty() ? 0 : 1;
    req.items = !vars.empty()  ? cli_split(vars, ',')
                : func.empty() ? std::vector<std::string>{}
                               : std::vector<std::string>{func};
    req.parent = W_CMP_FORM;
    // Without a choice of variables two devices compare their device-level
    // parameters (code 2).
    if (req.code == 0)
        req.code = vars.empty() && func.empty() ? 2 : 1;
    if (req.code < 1 || req.code > 8)
        return cli_usage_error(verb, "--code takes 1 to 8");
    CmpOutcome out = process_compare(req);
    for (const std::string& w : out.outcome.warnings)
        std::fprintf(stderr, "%s\n", hl_reworded(w).c_str());
    for (const DeviceOutcome& d : out.outcome.devices)
        cli_warn_device("compare", d);
    std::string report = hl_reworded(out.outcome.report);
    if (!cli_json)
        std::fwrite(report.data(), 1, report.size(), stdout);
    std::fflush(stdout);
    int diffs = out.diffs;
    bool kept = false;
    if (diffs > 0 && !out_file.empty()) {
        CmpSaveOutcome saved = save_cmp_diff_script(out_file, front_end_asker());
        for (const std::string& w : saved.outcome.warnings)
            std::fprintf(stderr, "%s\n", hl_reworded(w).c_str());
        kept = saved.kept;
        if (kept)
            cli_say_kept("compare", out_file);
        std::string saved_report = hl_reworded(saved.outcome.report);
        report += saved_report;
        if (!cli_json)
            std::fwrite(saved_report.data(), 1, saved_report.size(), stdout);
    }
    if (cli_json)
        json_diffs(diffs, report);
    // A warning (a refused request, ports a device lacks, ...) fails the run.
    if (!out.outcome.warnings.empty() && diffs == 0)
        return CLI_FAILED;
    return kept ? CLI_KEPT : diffs == 0 ? CLI_OK : CLI_FAILED;
}
