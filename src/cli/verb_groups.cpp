// mm_cli site-default and group: the Site Parameters and User Defined
// Parameter Groups windows driven by widget id, as their controls do.
#include <cstdio>

#include "catalogue/func_catalogue.h"
#include "catalogue/mib_catalogue.h"
#include "cli/cli.h"
#include "cli/cli_json.h"
#include "cli/cli_outcome.h"
#include "ops/site_prm.h"
#include "ops/udf_groups.h"
#include "ui/program.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

const int site_choices[] = {W_SITE_PRM_MORIX_TB,       W_SITE_PRM_ASYNC_TB,
                            W_SITE_PRM_SYNC_TB,        W_SITE_PRM_PRINTER_TB,
                            W_SITE_PRM_ETHERNET_TB,    W_SITE_PRM_WAN_INTERFACE_TB,
                            W_SITE_PRM_WAN_CHANNEL_TB, W_SITE_PRM_CHANNELS_TB};

// Selects name in a list; false when the list does not hold it.
bool select_item(int list_id, const std::string& name) {
    std::vector<std::string> items = ui_list_items(list_id);
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i] == name) {
            ui_list_deselect_all(list_id);
            ui_list_select_pos(list_id, static_cast<int>(i) + 1, false);
            return true;
        }
    }
    return false;
}

// Opens the Site Parameters window on the choice whose list holds name.
bool site_select(const std::string& name) {
    for (int choice : site_choices) {
        for (int c : site_choices)
            ui_set_toggle(c, c == choice, false);
        dispatch_main(choice == site_choices[0] ? W_SITE_PB : choice);
        if (select_item(W_SITE_PRM_LIST, name)) {
            list_selection_main(W_SITE_PRM_LIST);
            return true;
        }
    }
    return false;
}

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

// What the verb did, printed through the outcome printer: done only when
// ok and nothing was warned.
int finish(const char* verb, bool ok, const std::string& report = "") {
    Outcome o;
    o.report = report;
    o.warnings = cli_take_warnings();
    o.result = ok && o.warnings.empty() ? Result::done : Result::failed;
    return cli_print_outcome(verb, o);
}

std::string list_text(int list_id) {
    std::string text;
    for (const std::string& item : ui_list_items(list_id))
        text += item + "\n";
    return text;
}

} // namespace

int verb_site_default(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("site-default");
    if (args.empty() || args.size() > 2)
        return cli_usage_error(verb, "give a parameter name and at most one value");
    int id = 0;
    if (get_check_mib_var(args[0], &id) != 1 || !site_select(mib_var(id)->name))
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
        return finish("site-default", true,
                      e->name + ": default " + e->def_val +
                          (e->has_site_def ? ", site default " + site : ", no site default") +
                          "\n");
    }
    SiteRequest req;
    req.id = id;
    req.remove = args[1] == "--remove";
    if (!req.remove)
        req.value = site_value_name(id, args[1]);
    return finish("site-default", site_default_exec(req) == SITE_DONE);
}

namespace {

// The work area of the group window holds the members (their catalogue
// names also go into work, when given).
int group_fill(const CliVerb& verb, const std::vector<std::string>& members,
               std::vector<std::string>* work = nullptr) {
    ui_list_delete_all(W_UDF_WORK);
    for (const std::string& m : members) {
        int id = 0;
        if (get_check_mib_var(m, &id) != 1)
            return cli_usage_error(verb, "unknown parameter '" + m + "'");
        ui_list_add_item(W_UDF_WORK, mib_var(id)->name, 0);
        if (work)
            work->push_back(mib_var(id)->name);
    }
    return CLI_OK;
}

int group_change(const CliVerb& verb, const std::vector<std::string>& args) {
    const std::string& op = args[0];
    const std::string& name = args[1];
    if (op == "create") {
        if (group_fill(verb, {args.begin() + 2, args.end()}) != CLI_OK)
            return CLI_USAGE;
        prompt_name_ok(name);
        return finish("group", find_func_by_name(name) >= 0);
    }
    if (!select_item(W_UDF_GROUP_LIST, name))
        return cli_usage_error(verb, "no user-defined group '" + name + "'");
    if (op == "show") {
        dispatch_main(W_UDF_VIEW);
        return finish("group", true, list_text(W_UDF_WORK));
    }
    if (op == "modify") {
        if (args.size() < 3)
            return cli_usage_error(verb, "modify needs at least one member");
        UdfRequest req;
        req.group = name;
        if (group_fill(verb, {args.begin() + 2, args.end()}, &req.work) != CLI_OK)
            return CLI_USAGE;
        int rc = process_udf_modify(req);
        if (rc == UDF_DECLINED)
            display_warn(W_UDF_FORM, name + " was not modified (answered No; -y answers Yes)");
        std::string text = udf_result_text(rc);
        if (!text.empty())
            display_warn(W_UDF_FORM, text);
        return finish("group", rc == UDF_OK);
    }
    dispatch_main(W_UDF_DELETE);
    bool gone = find_func_by_name(name) < 0;
    if (!gone)
        display_warn(W_UDF_FORM, name + " was not deleted");
    return finish("group", gone);
}

} // namespace

int verb_group(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("group");
    dispatch_main(W_UDF_PB);
    if (args.size() == 1 && args[0] == "list")
        return finish("group", true, list_text(W_UDF_GROUP_LIST));
    bool known = !args.empty() && (args[0] == "show" || args[0] == "create" ||
                                   args[0] == "modify" || args[0] == "delete");
    if (!known || args.size() < 2)
        return cli_usage_error(verb, "give list, show, create, modify or delete and a name");
    if ((args[0] == "show" || args[0] == "delete") && args.size() != 2)
        return cli_usage_error(verb, args[0] + " takes one group name");
    return group_change(verb, args);
}
