// mm_cli list, info and discover: the device list from a terminal. list
// prints every device of -mrx / -l as identified (one line each, or one
// JSON object each) and can save the list file; info prints a device's
// information text; discover runs the network broadcast or the
// search-device walk and prints and saves what it found.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

#include "catalogue/mib_catalogue.h"
#include "cli/cli.h"
#include "cli/cli_json.h"
#include "devices/discovery.h"
#include "devices/mrx_connect.h"
#include "devices/mrx_list.h"
#include "devices/mrx_list_file.h"
#include "devices/mrx_select.h"
#include "snmp_access/product_types.h"
#include "snmp_access/session.h"
#include "snmp_access/snmp_engine.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

using Releases = std::map<const MorixRecord*, std::string>;

// "major.minor" of every reachable record, read all at once.
Releases read_releases(const DeviceList& list) {
    Releases out;
    int major = 0, minor = 0;
    if (!get_check_mib_var("swRevMajor", &major) || !get_check_mib_var("swRevMinor", &minor))
        return out;
    std::vector<MorixRecord*> recs;
    for (MorixRecord* r : list) {
        if (!r)
            break;
        if (!r->reachable)
            continue;
        free_prm_list(r);
        add_prm_node(r, major, 0, 0, 0, "", "", 0);
        add_prm_node(r, minor, 0, 0, 0, "", "", 0);
        recs.push_back(r);
    }
    mm_snmp_all(recs, SNMP_OP_GET, "Reading releases");
    for (MorixRecord* r : recs) {
        const ParamNode* a = r->prm_list;
        const ParamNode* b = a ? a->next : nullptr;
        if (r->status == 0 && a && b && a->status == NS_OK && b->status == NS_OK)
            out[r] = a->value + "." + b->value;
        free_prm_list(r);
    }
    return out;
}

std::string product_name(const MorixRecord* r) {
    std::string p = prod_type_str(r->product_type);
    return p.empty() ? "Unknown Product Type" : p;
}

std::string result_text(int code) {
    switch (code) {
    case CR_OK:
        return "reachable";
    case CR_UNKNOWN_HOST:
        return "unknown device";
    case CR_NOT_MORIX:
        return "not a Morix";
    case CR_NOT_SUPPORTED:
        return "not a supported Morix";
    default:
        return "NOT REACHABLE";
    }
}

const char* const LINE_FORMAT = "%-24s %-15s %-20s %-7s %5s %4s %7s %3s %6s %s\n";

void print_header() {
    std::printf(LINE_FORMAT, "NAME", "ADDRESS", "PRODUCT", "RELEASE", "ASYNC", "SYNC", "PRINTER",
                "WAN", "MODEMS", "STATE");
}

void print_record(const MorixRecord* r, const Releases& rel) {
    auto n = [r](int v) { return r->reachable ? std::to_string(v) : std::string("-"); };
    auto found = rel.find(r);
    std::string addr = r->reachable ? mrx_dotted_addr(r) : "";
    std::printf(LINE_FORMAT, r->name.c_str(), addr.empty() ? "-" : addr.c_str(),
                r->reachable ? product_name(r).c_str() : "-",
                found == rel.end() ? "-" : found->second.c_str(), n(r->asy_ports).c_str(),
                n(r->syn_ports).c_str(), n(r->para_ports).c_str(), n(r->wan_count).c_str(),
                n(r->modem_count).c_str(),
                result_text(r->reachable ? CR_OK : CR_NOT_REACHABLE).c_str());
}

void json_record(JsonWriter& j, const MorixRecord* r, const Releases& rel) {
    auto found = rel.find(r);
    int code = r->reachable ? CR_OK : CR_NOT_REACHABLE;
    j.begin_object().str("name", r->name);
    std::string addr = r->reachable ? mrx_dotted_addr(r) : "";
    addr.empty() ? j.null("address") : j.str("address", addr);
    if (r->reachable) {
        j.num("product_type", r->product_type).str("product", product_name(r));
        found == rel.end() ? j.null("release") : j.str("release", found->second);
        j.num("async_ports", r->asy_ports).num("sync_ports", r->syn_ports);
        j.num("printer_ports", r->para_ports).num("wan_modules", r->wan_count);
        j.num("internal_modems", r->modem_count);
    }
    j.str("community", r->community).num("timeout", r->timeout / 1000000);
    j.num("retries", r->retries).boolean("reachable", r->reachable != 0);
    j.num("result", code).str("result_text", result_text(code)).end_object();
}

void print_refused(JsonWriter* j, const RefusedDevice& d) {
    if (!j) {
        std::printf(LINE_FORMAT, d.name.c_str(), "-", "-", "-", "-", "-", "-", "-", "-",
                    result_text(d.code).c_str());
        return;
    }
    j->begin_object().str("name", d.name).null("address").boolean("reachable", false);
    j->num("result", d.code).str("result_text", result_text(d.code));
    j->str("description", d.descr).end_object();
}

// Every device that did not answer or was refused, named on standard error.
void warn_unreached(const char* verb, const std::vector<const MorixRecord*>& recs,
                    size_t first_refused) {
    const std::vector<RefusedDevice>& refused = refused_devices();
    for (const MorixRecord* r : recs)
        if (!r->reachable)
            std::fprintf(stderr, "mm_cli %s: %s: %s.\n", verb, r->name.c_str(),
                         result_text(CR_NOT_REACHABLE).c_str());
    for (size_t i = first_refused; i < refused.size(); ++i)
        std::fprintf(stderr, "mm_cli %s: %s: %s.\n", verb, refused[i].name.c_str(),
                     result_text(refused[i].code).c_str());
}

// Prints the records (null-ended) and the refused devices from index
// first_refused on; 0 when every record is reachable and none was refused.
int report_devices(const char* verb, const std::vector<const MorixRecord*>& recs,
                   size_t first_refused, const Releases& rel) {
    warn_unreached(verb, recs, first_refused);
    const std::vector<RefusedDevice>& refused = refused_devices();
    bool all_ok = first_refused >= refused.size();
    if (cli_json) {
        JsonWriter& j = cli_json_doc();
        j.begin_array("devices");
        for (const MorixRecord* r : recs)
            json_record(j, r, rel);
        for (size_t i = first_refused; i < refused.size(); ++i)
            print_refused(&j, refused[i]);
        j.end_array();
    } else {
        print_header();
        for (const MorixRecord* r : recs)
            print_record(r, rel);
        for (size_t i = first_refused; i < refused.size(); ++i)
            print_refused(nullptr, refused[i]);
        std::fflush(stdout);
    }
    for (const MorixRecord* r : recs)
        all_ok = all_ok && r->reachable;
    if (cli_json)
        cli_json_doc().boolean("complete", all_ok);
    return all_ok ? CLI_OK : CLI_FAILED;
}

std::vector<const MorixRecord*> records_of(const DeviceList& list,
                                           const std::set<std::string>& skip = {}) {
    std::vector<const MorixRecord*> out;
    for (MorixRecord* r : list) {
        if (!r)
            break;
        if (!skip.count(r->name))
            out.push_back(r);
    }
    return out;
}

// Saves a list file; the overwrite question is asked as the window asks it.
int save_list(const char* verb, const std::string& path, const DeviceList& list) {
    size_t mark = cli_question_mark();
    if (save_mrx_list_proc(W_MAIN_WINDOW, cli_without_blanks(path), list) == 1)
        return CLI_OK;
    return cli_kept_file(mark, verb, path) ? CLI_KEPT : CLI_FAILED;
}

} // namespace

int verb_list(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("list");
    std::string out_file;
    if (args.size() == 2 && args[0] == "-o")
        out_file = args[1];
    else if (!args.empty())
        return cli_usage_error(verb, "unexpected argument '" + args[0] + "'");
    if (mrx_lst_cnt == 0 && refused_devices().empty()) {
        std::fprintf(stderr, "mm_cli list: no Morix was given (-mrx or -l).\n");
        return CLI_FAILED;
    }
    int status = report_devices("list", records_of(session().devices()), 0,
                                read_releases(session().devices()));
    if (!out_file.empty()) {
        int saved = save_list("list", out_file, session().devices());
        status = saved != CLI_OK ? saved : status;
    }
    return status;
}

int verb_info(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("info");
    if (args.size() != 1)
        return cli_usage_error(verb, "give one Morix NAME");
    int index = session().devices().position(args[0]);
    if (index < 0) {
        std::fprintf(stderr, "mm_cli info: %s is not in the Morix list.\n", args[0].c_str());
        return CLI_FAILED;
    }
    const MorixRecord* r = session().devices()[index];
    if (!r->reachable) {
        std::fprintf(stderr, "mm_cli info: %s is not reachable; it has no information.\n",
                     r->name.c_str());
        return CLI_FAILED;
    }
    DeviceInfoText shown = device_info_text(*r);
    if (!cli_json) {
        std::printf("%s\n%s", shown.label.c_str(), shown.modems.c_str());
        std::fflush(stdout);
        return CLI_OK;
    }
    JsonWriter& j = cli_json_doc();
    j.str("name", r->name).str("product", product_name(r));
    j.str("info", r->info).begin_array("fields");
    // The information text's "label:  value" lines as pairs.
    for (const std::string& line : cli_split(r->info, '\n')) {
        size_t colon = line.find(":  ");
        if (colon == std::string::npos)
            continue;
        size_t value = line.find_first_not_of(' ', colon + 1);
        j.begin_object().str("label", line.substr(0, colon));
        j.str("value", value == std::string::npos ? "" : line.substr(value)).end_object();
    }
    j.end_array().begin_array("modem_revisions");
    for (int g = 0; g < MAX_MDM_REVS && r->modem_count >= 1; ++g) {
        if (r->modem_rev_ports[g].empty() || r->modem_revs[g].empty())
            break;
        j.begin_object().str("modems", r->modem_rev_ports[g]).str("revision", r->modem_revs[g]);
        j.end_object();
    }
    j.end_array();
    return CLI_OK;
}

namespace {

struct DiscoverArgs {
    std::string address, mask, search, out_file;
    int timeout = 0;
};

int parse_discover(const CliVerb& verb, const std::vector<std::string>& args, DiscoverArgs* d) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (i + 1 >= args.size())
            return cli_usage_error(verb, "unexpected argument '" + a + "'");
        const std::string& v = args[++i];
        if (a == "-dn")
            d->address = v;
        else if (a == "-ds")
            d->mask = v;
        else if (a == "--search")
            d->search = v;
        else if (a == "-o")
            d->out_file = v;
        else if (a == "-dt" && !v.empty() && v.size() <= 4 &&
                 v.find_first_not_of("0123456789") == std::string::npos)
            d->timeout = std::atoi(v.c_str());
        else
            return cli_usage_error(verb, "unexpected argument '" + a + "'");
    }
    if (!d->search.empty() && (!d->address.empty() || !d->mask.empty()))
        return cli_usage_error(verb, "--search does not take -dn or -ds");
    if (d->address.empty() != d->mask.empty())
        return cli_usage_error(verb, "give -dn and -ds together");
    return CLI_OK;
}

// A discovery's warnings on standard error, each once, in order.
void print_warnings(const Outcome& out) {
    for (const std::string& w : out.warnings)
        std::fprintf(stderr, "%s\n", w.c_str());
}

int discover_search(const DiscoverArgs& d) {
    DiscoverRequest req;
    req.device = d.search;
    req.timeout = d.timeout > 0 ? std::to_string(d.timeout) : "";
    dsc_output_clear();
    free_dsc_mrx_lst();
    DscSearchOutcome found = discover_morixes(req);
    print_warnings(found.outcome);
    int result = found.result;
    if (!cli_json) {
        std::fputs(dsc_output_text().c_str(), stdout);
        std::fflush(stdout);
    }
    if (cli_json)
        report_devices("discover", records_of(host_disc_list), refused_devices().size(),
                       read_releases(host_disc_list));
    int status = result == DSC_FOUND ? CLI_OK : CLI_FAILED;
    if (!d.out_file.empty() && result == DSC_FOUND) {
        int saved = save_list("discover", d.out_file, host_disc_list);
        status = saved != CLI_OK ? saved : status;
    }
    return status;
}

} // namespace

int verb_discover(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("discover");
    DiscoverArgs d;
    if (int rc = parse_discover(verb, args, &d))
        return rc;
    if (!d.search.empty())
        return discover_search(d);
    std::set<std::string> before;
    for (const MorixRecord* r : records_of(session().devices()))
        before.insert(r->name);
    size_t refused_before = refused_devices().size();
    NetDiscoveryRequest req;
    Outcome plan = plan_net_discovery(d.address, d.mask, d.timeout, 1, &req);
    if (plan.result != Result::done)
        return print_warnings(plan), CLI_FAILED;
    print_warnings(run_net_discovery(req));
    std::vector<const MorixRecord*> found = records_of(session().devices(), before);
    bool any = !found.empty() || refused_devices().size() > refused_before;
    int status = CLI_FAILED;
    if (any) {
        status =
            report_devices("discover", found, refused_before, read_releases(session().devices()));
    } else if (cli_json) {
        cli_json_doc().begin_array("devices").end_array().boolean("complete", false);
    }
    if (!d.out_file.empty() && !found.empty()) {
        int saved = save_list("discover", d.out_file, session().devices());
        status = saved != CLI_OK ? saved : status;
    }
    return found.empty() ? CLI_FAILED : status;
}
