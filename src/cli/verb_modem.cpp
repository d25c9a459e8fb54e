// mm_cli modem: the modem definitions of the selected devices'
// configuration file (list), and changing them (set, remove, defaults)
// through the Edit Modem dialog's logic, each followed by Apply: the upload
// to the load host and the modem reset question (-y answers it).
#include <cstdio>

#include "cli/cli.h"
#include "cli/cli_json.h"
#include "devices/mrx_select.h"
#include "files/edit_conf.h"
#include "files/modem_dialog.h"
#include "files/modem_info.h"
#include "ui/program.h"
#include "ui/ui.h"

namespace {

void print_list(const char* heading, const ModemList& list) {
    std::printf("[%s]\n", heading);
    for (const ModemDef& d : list) {
        std::printf("%s%s\n", d.name.c_str(), d.duplicate ? " (duplicate, not used)" : "");
        for (int k = 1; k < KW_END; ++k)
            if (d.values[k])
                std::printf("    %-18s %s\n", mdm_keywords[k], d.values[k]->c_str());
    }
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

int open_info() {
    if (!check_main_sel(W_MAIN_WINDOW, SEL_REACHABLE))
        return 0;
    mdm_set_window(MW_NONE, "", 0, {});
    return mdm_init(W_MAIN_WINDOW);
}

// Every warning printed counts: a list or change with warnings is status 1.
int finish(int ok) {
    mdm_close_act(0);
    int warned = cli_flush_warnings();
    return ok && warned == 0 ? CLI_OK : CLI_FAILED;
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
    if (!open_info())
        return finish(0);
    if (sub == "list" && cli_json) {
        cli_json_doc()
            .str("config_file", mdm_remote_path(mdm_info.cfg_fil_nam))
            .str("load_host", mdm_info.cfg_fil_adr);
        json_list("configuration", mdm_info.cfg_list);
        json_list("defaults", mdm_info.db_list);
        return finish(1);
    }
    if (sub == "list") {
        std::printf("Configuration file %s on %s\n", mdm_remote_path(mdm_info.cfg_fil_nam).c_str(),
                    mdm_info.cfg_fil_adr.c_str());
        print_list("configuration file", mdm_info.cfg_list);
        print_list("include files (defaults)", mdm_info.db_list);
        std::fflush(stdout);
        return finish(1);
    }
    if (mdm_cfg_allow_edit(W_MAIN_WINDOW) != EDIT_ALLOWED) {
        display_warn(W_MAIN_WINDOW, "Configuration file cannot be edited,\n" +
                                        mdm_info.edit_reason +
                                        "\nThe changes have not been saved.");
        return finish(0);
    }
    const std::string& name = args[1];
    if (sub == "set") {
        int rc = set_values(verb, name, std::vector<std::string>(args.begin() + 2, args.end()));
        if (rc < 0) {
            mdm_close_act(0);
            return -rc;
        }
        if (rc == 0) {
            std::printf("%s already has these values: nothing was sent.\n", name.c_str());
            std::fflush(stdout);
            return finish(1);
        }
    } else {
        MdmEditOpen open;
        open.parent = W_MAIN_WINDOW;
        open.name = name;
        mdm_edit_act(open);
        if (sub == "defaults") {
            ui_set_toggle(W_MDM_DEFS_TB, true, false);
            dispatch_main(W_MDM_DEFS_TB);
            if (!ui_get_toggle(W_MDM_DEFS_TB))
                return finish(0);
            dispatch_main(W_MDM_OK);
        } else {
            dispatch_main(W_MDM_REMOVE);
        }
        if (!mdm_info.cfg_fil_upd_flag)
            return finish(0);
    }
    return finish(mdm_apply_act(W_MAIN_WINDOW) && cli_confirmed());
}
