// mm_cli site-default and group: the site default of a variable, and the
// user-defined parameter groups, through the same commands as the Site
// Parameters and User Defined Parameter Groups windows.
#include <algorithm>

#include "catalogue/func_catalogue.h"
#include "catalogue/mib_catalogue.h"
#include "cli/cli.h"
#include "cli/cli_json.h"
#include "cli/cli_outcome.h"
#include "ops/site_prm.h"
#include "ops/udf_groups.h"
#include "ui/progress.h"

namespace {

// An enumerated value may be given by its name or its number; anything
// else is refused as a blank menu is.
std::string site_value_name(int id, const std::string& value) {
    if (mib_var(id)->enum_id < 0)
        return value;
    std::string name;
    bool number = !value.empty() && value.find_first_not_of("0123456789") == std::string::npos;
    if (number && cvt_enum_num_str(id, value, &name) == 1)
        return name;
    return value;
}

std::string lines_of(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items)
        text += item + "\n";
    return text;
}

Outcome report_of(const std::string& report) {
    Outcome o;
    o.report = report;
    return o;
}

} // namespace

int verb_site_default(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("site-default");
    if (args.empty() || args.size() > 2)
        return cli_usage_error(verb, "give a parameter name and at most one value");
    int id = 0;
    if (get_check_mib_var(args[0], &id) != 1 || !site_prm_offered(id))
        return cli_usage_error(verb, "'" + args[0] + "' is not a parameter with a default");
    const MibVarEntry* e = mib_var(id);
    if (args.size() == 1) {
        // "no site default" cannot be mistaken for a site default whose
        // value is a word such as "none".
        std::string site = e->site_def_val, name;
        if (e->enum_id >= 0 && cvt_enum_num_str(id, site, &name) == 1)
            site = name;
        if (cli_json) {
            cli_json_doc().str("variable", e->name).str("default", e->def_val);
            e->has_site_def ? cli_json_doc().str("site_default", site)
                            : cli_json_doc().null("site_default");
        }
        return cli_print_outcome(
            "site-default",
            report_of(e->name + ": default " + e->def_val +
                      (e->has_site_def ? ", site default " + site : ", no site default") + "\n"));
    }
    SiteRequest req;
    req.id = id;
    req.remove = args[1] == "--remove";
    if (!req.remove)
        req.value = site_value_name(id, args[1]);
    return cli_print_outcome("site-default", site_default_exec(req));
}

namespace {

// The catalogue names of members; false (after the usage error) for one
// the catalogue does not have.
bool member_names(const CliVerb& verb, const std::vector<std::string>& members,
                  std::vector<std::string>* work, int* status) {
    for (const std::string& m : members) {
        int id = 0;
        if (get_check_mib_var(m, &id) != 1) {
            *status = cli_usage_error(verb, "unknown parameter '" + m + "'");
            return false;
        }
        work->push_back(mib_var(id)->name);
    }
    return true;
}

// A group command's outcome with its result's own text, and what a
// declined question left undone.
int print_group(UdfOutcome u, const std::string& declined = "") {
    std::string text = udf_result_text(u.code);
    if (!text.empty())
        u.outcome.warnings.push_back(text);
    if (u.code == UDF_DECLINED && !declined.empty())
        u.outcome.warnings.push_back(declined);
    return cli_print_outcome("group", u.outcome);
}

int group_change(const CliVerb& verb, const std::vector<std::string>& args) {
    const std::string& op = args[0];
    const std::string& name = args[1];
    std::vector<std::string> work;
    int status = CLI_USAGE;
    if (op == "create") {
        if (!member_names(verb, {args.begin() + 2, args.end()}, &work, &status))
            return status;
        std::string clean;
        remove_blanks(name, &clean);
        if (clean != name || clean.empty())
            return cli_usage_error(verb, "a group name is one word without blanks");
        return print_group(udf_create(work, name));
    }
    std::vector<std::string> groups = udf_group_names();
    if (std::find(groups.begin(), groups.end(), name) == groups.end())
        return cli_usage_error(verb, "no user-defined group '" + name + "'");
    if (op == "show") {
        UdfOutcome u = udf_view(name);
        u.outcome.report = lines_of(u.members);
        return print_group(u);
    }
    if (op == "modify") {
        if (args.size() < 3)
            return cli_usage_error(verb, "modify needs at least one member");
        if (!member_names(verb, {args.begin() + 2, args.end()}, &work, &status))
            return status;
        return print_group(udf_modify(name, work, front_end_asker()),
                           name + " was not modified (answered No; -y answers Yes)");
    }
    return print_group(udf_delete(name, front_end_asker()),
                       name + " was not deleted (answered No; -y answers Yes)");
}

} // namespace

int verb_group(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("group");
    bool known = !args.empty() && (args[0] == "list" || args[0] == "show" || args[0] == "create" ||
                                   args[0] == "modify" || args[0] == "delete");
    if (!known || (args[0] == "list" ? args.size() != 1 : args.size() < 2))
        return cli_usage_error(verb, "give list, show, create, modify or delete and a name");
    if ((args[0] == "show" || args[0] == "delete") && args.size() != 2)
        return cli_usage_error(verb, args[0] + " takes one group name");
    if (!udf_reload()) {
        Outcome o;
        o.result = Result::failed;
        o.warnings.push_back(udf_result_text(UDF_NO_REREAD));
        return cli_print_outcome("group", o);
    }
    if (args[0] == "list")
        return cli_print_outcome("group", report_of(lines_of(udf_group_names())));
    return group_change(verb, args);
}
