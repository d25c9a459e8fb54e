// Modem information: location, fetch, parse, Apply, resets and close.
#include "files/modem_info.h"
#include "snmp_access/session.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "catalogue/line_scan.h"
#include "catalogue/mib_catalogue.h"
#include "devices/mrx_select.h"
#include "files/nf.h"
#include "ops/control.h"
#include "snmp_access/morix_record.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"
#include "ui/app_globals.h"
#include "ui/progress.h"
#include "ui/temp_files.h"
#include "ui/widget_ids.h"

MdmInfo mdm_info;
MdmFrontEnd mdm_front_end;

void mdm_render(const MdmOutcome& outcome) {
    if (mdm_front_end.render)
        mdm_front_end.render(outcome);
}

void mdm_busy(bool on) {
    if (mdm_front_end.busy)
        mdm_front_end.busy(on);
}

namespace {

constexpr const char* MSG_NO_INFO =
    "Could not get information needed to obtain the Morix configuration file,\nmodem "
    "functionality (editing, etc.) will not be allowed.";
constexpr const char* MSG_DIFFERENT =
    "The selected Morixes have different configuration file\ninformation (e.g., file name), "
    "modem functionality\n(editing, etc.) will not be allowed.";
constexpr const char* MSG_BOOT_HOST =
    "The default boot host must match the host from which the Morix was booted,\nmodem "
    "functionality (editing, etc.) will not be allowed.";
constexpr const char* MSG_NO_REFS =
    "Could not find internal references to a parameter group or parameter. Software error.";
constexpr const char* MSG_NO_ACCESS = "Could not access the Morix configuration file,\nmodem "
                                      "functionality (editing, etc.) will not be allowed.";
constexpr const char* MSG_NO_PARSE = "Could not parse the Morix configuration file,\nmodem "
                                     "functionality (editing, etc.) will not be allowed.";
constexpr const char* MSG_NO_INC =
    "Could not access a modem include file referenced in the\nMorix configuration file, modem "
    "functionality (editing, etc.) will not be allowed.";
constexpr const char* MSG_NO_MOVE =
    "Could not move the new Morix configuration file to its proper location.";

const char* const loc_vars[3] = {"mrxPrefLoadAddr", "mrxConfigFile", "bootHost"};

// The reason of a device whose location variables could not be read.
DeviceOutcome unread_device(const MorixRecord* r) {
    bool silent = r->status == SR_TIMEOUT || r->status == SR_UNKNOWN_HOST || !r->reachable;
    return {r->name, silent ? DeviceState::unreachable : DeviceState::unread,
            r->name + (silent ? ": did not answer" : ": did not give") +
                " the location of its configuration file"};
}

// Gets one scalar from every device: false when one fails (each device
// that failed is added to failed when given).
bool get_from_all(const std::vector<MorixRecord*>& recs, const std::vector<const char*>& vars,
                  std::vector<std::vector<std::string>>* values, bool* no_refs,
                  std::vector<DeviceOutcome>* failed = nullptr) {
    std::vector<int> ids(vars.size());
    for (size_t i = 0; i < vars.size(); ++i)
        if (!get_check_mib_var(vars[i], &ids[i])) {
            *no_refs = true;
            return false;
        }
    for (MorixRecord* r : recs) {
        free_prm_list(r);
        for (int id : ids)
            add_prm_node(r, id, 0, 0, 0, "", "", 0);
    }
    std::vector<char> began = mm_snmp_all(recs, SNMP_OP_GET, "");
    bool all = true;
    for (size_t i = 0; i < recs.size(); ++i) {
        MorixRecord* r = recs[i];
        std::vector<std::string> got;
        bool ok = began[i] && r->status == SR_OK;
        for (const ParamNode* n = r->prm_list; ok && n; n = n->next) {
            ok = n->status == NS_OK;
            got.push_back(n->value);
        }
        free_prm_list(r);
        ok = ok && got.size() == vars.size();
        if (!ok && failed)
            failed->push_back(unread_device(r));
        all = all && ok;
        if (all)
            values->push_back(got);
    }
    return all && !values->empty();
}

void release_lists() {
    mdm_info.cfg_list.clear();
    mdm_info.db_list.clear();
    for (const std::string& p : mdm_info.inc_local) {
        unlink(p.c_str());
        temp_untrack(p);
    }
    mdm_info.inc_local.clear();
    mdm_info.inc_names.clear();
}

std::string tmp_dir() {
    const char* tmp = getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

// The private folder "mm_cfg.PID.XXXXXX" of the local copies. Folders of
// processes that no longer run are removed first; a folder kept for the
// operator after a failed upload is named "mm_cfg.kept..." and stays.
bool make_local_dir() {
    if (!mdm_info.local_dir.empty())
        return true;
    temp_remove_stale(tmp_dir(), "mm_cfg.");
    std::string tmpl = tmp_dir() + "/mm_cfg." + std::to_string(getpid()) + ".XXXXXX";
    if (!mkdtemp(&tmpl[0]))
        return false;
    mdm_info.local_dir = tmpl;
    temp_track(tmpl, true);
    return true;
}

// Copies a load host file to a local copy that a signal removes.
long fetch_copy(const std::string& name, const std::string& local) {
    long rc = nfcopy(mdm_info.cfg_fil_adr, mdm_remote_path(name), "", local,
                     session().snmp_defaults().timeout_secs);
    if (rc >= 0)
        temp_track(local);
    return rc;
}

} // namespace

// Keeps the local copy of the configuration file for the operator: its
// folder is renamed "mm_cfg.kept.PID.XXXXXX", out of reach of the removal
// of leftovers, and no signal removes it any more.
void keep_local_copy() {
    const std::string& dir = mdm_info.local_dir;
    size_t base = dir.rfind("/mm_cfg.");
    if (base == std::string::npos || dir.compare(base, 13, "/mm_cfg.kept.") == 0)
        return;
    std::string kept = dir.substr(0, base) + "/mm_cfg.kept." + dir.substr(base + 8);
    if (rename(dir.c_str(), kept.c_str()) != 0)
        kept = dir;
    temp_untrack(dir);
    temp_untrack(mdm_info.local_cfg);
    auto moved = [&](const std::string& p) { return kept + p.substr(dir.size()); };
    mdm_info.local_cfg = moved(mdm_info.local_cfg);
    for (std::string& p : mdm_info.inc_local)
        p = moved(p);
    mdm_info.local_dir = kept;
}

namespace {

std::string local_path(const std::string& remote_name, const std::string& prefix) {
    return mdm_info.local_dir + "/" + prefix + mdm_local_name(remote_name) + "." +
           std::to_string(getpid());
}

void show_parse(const CfgParse& r, Outcome* out) {
    for (const std::string& n : r.notes)
        out->warnings.push_back(n);
    if (debug_flag)
        for (const std::string& m : r.debug)
            out->warnings.push_back("Modem file parse error: " + m + ".");
}

// Steps after the location: the copies and the parses. 1 or 0 (with the
// warnings in out).
int fetch_and_parse(Outcome* out) {
    auto warn = [out](const std::string& w) { out->warnings.push_back(w); };
    if (!make_local_dir()) {
        warn(MSG_NO_ACCESS);
        return 0;
    }
    mdm_info.local_cfg = local_path(mdm_info.cfg_fil_nam, "");
    long rc = fetch_copy(mdm_info.cfg_fil_nam, mdm_info.local_cfg);
    if (rc < 1 || !read_local_file(mdm_info.local_cfg, &mdm_info.fetched_cfg)) {
        warn(std::string(MSG_NO_ACCESS) + "\n(" + nf_result_text(rc) + ")");
        return 0;
    }
    CfgParse cp;
    int pr = prs_cfg_fil(mdm_info.local_cfg, &mdm_info.cfg_list, &cp);
    show_parse(cp, out);
    if (pr != 0) {
        // The reason, then what it means for the operator.
        if (!cp.error.empty())
            warn(cp.error);
        warn(MSG_NO_PARSE);
        return 0;
    }
    for (size_t i = 0; i < cp.includes.size(); ++i) {
        const std::string& name = cp.includes[i];
        std::string local = local_path(name, "inc" + std::to_string(i) + "_");
        mdm_info.inc_names.push_back(name);
        mdm_info.inc_local.push_back(local);
        long inc = fetch_copy(name, local);
        if (inc < 1) {
            warn(std::string(MSG_NO_INC) + "\n(" + nf_result_text(inc) + ")");
            return 0;
        }
        CfgParse ip;
        int ir = prs_mdm_inc_fil(local, name, &mdm_info.db_list, &ip);
        show_parse(ip, out);
        if (ip.comments_lost)
            warn("Unable to store all modem comments.\nSome comments will be removed upon Apply.");
        if (ir != 0) {
            warn("Could not parse the modem include file: " + name +
                 "\nmodem functionality (editing, etc.) will not be allowed.");
            return 0;
        }
    }
    return 1;
}

// The current modem name of the window.
std::string current_name() {
    if (mdm_info.window == MW_ASYNC)
        return mdm_info.async_name == "\"\"" ? MDM_UNDEFINED : mdm_info.async_name;
    if (mdm_info.window != MW_BASIC_DIAL)
        return MDM_UNDEFINED;
    std::vector<std::vector<std::string>> v;
    bool no_refs = false;
    if (!get_from_all(mdm_info.devices, {"gpGenericModemVar"}, &v, &no_refs))
        return "";
    for (const auto& row : v)
        if (row[0] != v[0][0])
            return "";
    return v[0][0];
}

} // namespace

void mdm_set_window(int kind, const std::string& async_name, int opt_menu_id,
                    const std::vector<int>& ports) {
    mdm_info.window = kind;
    mdm_info.async_name = async_name;
    mdm_info.opt_menu_id = opt_menu_id;
    mdm_info.ports = ports;
}

std::string mdm_local_name(const std::string& remote_name) {
    size_t slash = remote_name.find_last_of('/');
    std::string base = slash == std::string::npos ? remote_name : remote_name.substr(slash + 1);
    for (char& c : base)
        if (!isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '_' && c != '-')
            c = '_';
    if (base.size() > 64)
        base.resize(64);
    if (base.find_first_not_of('.') == std::string::npos)
        return "cfg";
    return base;
}

bool get_cfg_fil_info(const std::vector<MorixRecord*>& devices, Outcome* out) {
    std::vector<std::vector<std::string>> v;
    bool no_refs = false;
    mdm_info.cfg_fil_adr.clear();
    mdm_info.cfg_fil_nam.clear();
    auto refuse = [out](const char* why) {
        out->warnings.push_back(why);
        return false;
    };
    if (!get_from_all(devices, {loc_vars[0], loc_vars[1], loc_vars[2]}, &v, &no_refs,
                      &out->devices)) {
        out->warnings.push_back(MSG_NO_INFO);
        if (no_refs)
            out->warnings.push_back(MSG_NO_REFS);
        return false;
    }
    for (const auto& row : v)
        if (row != v[0])
            return refuse(MSG_DIFFERENT);
    if (v[0][2] != v[0][0])
        return refuse(MSG_BOOT_HOST);
    if (v[0][1].empty())
        return refuse(MSG_NO_INFO);
    mdm_info.cfg_fil_adr = v[0][0];
    mdm_info.cfg_fil_nam = v[0][1];
    return true;
}

MdmOutcome mdm_load(const std::vector<MorixRecord*>& devices, int parent) {
    MdmOutcome mo;
    mo.parent = parent;
    Outcome& out = mo.outcome;
    mdm_info.devices = devices;
    mdm_busy(true);
    std::string name = current_name();
    mdm_info.org_mdm_typ_prm = name;
    if (!mdm_info.local_cfg.empty()) {
        unlink(mdm_info.local_cfg.c_str());
        temp_untrack(mdm_info.local_cfg);
    }
    mdm_info.local_cfg.clear();
    release_lists();
    mdm_info.cfg_fil_upd_flag = 0;
    bool located = get_cfg_fil_info(devices, &out);
    bool ok = located && fetch_and_parse(&out);
    mdm_busy(false);
    // Every device is listed: those whose location could not be read say
    // so; when the file could not be had, the others name it.
    std::vector<DeviceOutcome> failed = out.devices;
    out.devices.clear();
    for (MorixRecord* r : devices) {
        DeviceOutcome d{r->name, DeviceState::done, ""};
        for (const DeviceOutcome& f : failed)
            if (f.device == r->name)
                d = f;
        if (d.state == DeviceState::done && !ok) {
            d.state = DeviceState::unread;
            d.reason = r->name + ": " +
                       (located ? "its configuration file /bfs/" + mdm_info.cfg_fil_nam + " on " +
                                      mdm_info.cfg_fil_adr + " could not be used"
                                : "the modem information could not be had");
        }
        out.devices.push_back(d);
    }
    out.result = ok ? Result::done : Result::failed;
    if (ok && !name.empty() && name != MDM_UNDEFINED && !chk_mdm_list(mdm_info.cfg_list, name) &&
        !chk_mdm_list(mdm_info.db_list, name)) {
        mdm_info.cfg_list.push_back(crt_mdm_node_def(mdm_info.window == MW_BASIC_DIAL, name));
        out.warnings.push_back("A modem definition does not exist for the specified modem "
                               "name.\nA default definition will be created.");
    }
    if (mdm_info.window == MW_ASYNC)
        mo.menu = name;
    return mo;
}

int mdm_init(int parent) {
    MdmOutcome mo = mdm_load(selected_reachable(), parent);
    mdm_render(mo);
    return mo.outcome.result == Result::done ? 1 : 0;
}

std::vector<std::string> mdm_opt_entries(const std::string& current, std::string* chosen) {
    std::vector<std::string> e;
    if (current.empty())
        e.push_back(" ");
    e.push_back(MDM_UNDEFINED);
    for (const ModemDef& d : mdm_info.cfg_list)
        if (!d.duplicate)
            e.push_back(d.name);
    for (const ModemDef& d : mdm_info.db_list)
        if (!d.duplicate && !chk_mdm_list(mdm_info.cfg_list, d.name))
            e.push_back(d.name);
    *chosen = MDM_UNDEFINED;
    for (const std::string& s : e)
        if (s == current || (current.empty() && s == " "))
            *chosen = s;
    if (*chosen == MDM_UNDEFINED && current != MDM_UNDEFINED && mdm_info.cfg_list.empty() &&
        mdm_info.db_list.empty()) {
        e.push_back(current);
        *chosen = current;
    }
    return e;
}

void mdm_bfs_error(long code, const std::string& local, const std::string& remote,
                   const std::string& host, Outcome* out) {
    out->result = Result::failed;
    if (local.empty() || remote.empty() || host.empty()) {
        out->warnings.push_back(MSG_NO_MOVE);
        return;
    }
    // Every failed upload keeps the operator's changes and says where.
    bool ours = local == mdm_info.local_cfg;
    if (ours)
        keep_local_copy();
    const std::string& kept = ours ? mdm_info.local_cfg : local;
    if (code == NF_WRITE_FAIL) {
        out->warnings.push_back(std::string(MSG_NO_MOVE) +
                                "\nThe original Morix configuration file may have been "
                                "corrupted.\n\nMove the local copy of the configuration file "
                                "with your changes\n'" +
                                kept + "' to '" + remote + "'\nlocated on " + host + ".");
    } else {
        out->warnings.push_back(std::string(MSG_NO_MOVE) + "\n(" + nf_result_text(code) +
                                ")\n\nThe local copy of the configuration file with your "
                                "changes is kept in\n'" +
                                kept + "'.");
    }
    mdm_info.cfg_fil_nam.clear();
}

MdmOutcome mdm_apply(int parent) {
    MdmOutcome mo;
    mo.parent = parent;
    Outcome& out = mo.outcome;
    bool ok = true;
    if (mdm_info.cfg_fil_upd_flag) {
        if (!write_cfg_fil_list(mdm_info.local_cfg,
                                mdm_info.local_dir + "/tmp.cfg." + std::to_string(getpid()),
                                mdm_info.cfg_list)) {
            out.warnings.push_back("Could not update the temporary Morix configuration file.");
            ok = false;
        } else if (mdm_checked_upload(&out) < 1) {
            ok = false;
        }
    }
    if (!ok) {
        mdm_info.cfg_fil_upd_flag = mdm_info.mdm_typ_upd_flag = 0;
        out.result = Result::failed;
        return mo;
    }
    if (!mdm_info.cfg_fil_upd_flag && !mdm_info.mdm_typ_upd_flag)
        return mo;
    mdm_info.cfg_fil_upd_flag = mdm_info.mdm_typ_upd_flag = 0;
    MdmOutcome again = mdm_load(mdm_info.devices, parent);
    for (const std::string& w : again.outcome.warnings)
        out.warnings.push_back(w);
    out.devices = again.outcome.devices;
    out.result = again.outcome.result;
    mo.menu = again.menu;
    out.follow_ups.push_back({MDM_RESET_FOLLOW_UP,
                              "Modem actions were taken which require a reset of\nmodem related "
                              "subsystems (including ports).\n\nDo you want to perform modem "
                              "resets now?"});
    return mo;
}

int mdm_apply_act(int parent) {
    MdmOutcome mo = mdm_apply(parent);
    mdm_render(mo);
    for (const FollowUp& f : mo.outcome.follow_ups) {
        set_question_parent(parent);
        bool reset = front_end_asker().ask({"Confirmation", f.question, "OK", "Cancel", true});
        set_question_parent(W_MAIN_WINDOW);
        if (reset)
            mdm_render(modem_resets(parent));
    }
    return mo.outcome.result == Result::done ? 1 : 0;
}

MdmOutcome modem_resets(int parent) {
    MdmOutcome mo;
    mo.parent = parent;
    Outcome& out = mo.outcome;
    mdm_busy(true);
    Outcome sent = reset_send(selected_reachable(), 10, reset_port_type, {}, false, parent);
    out.devices = sent.devices;
    Result r = sent.result;
    if (r != Result::done) {
        out.warnings.push_back("Could not reset the modem subsystem for one or\nmore of the "
                               "selected Morixes.\nThis may be due to a timeout.");
    } else if (mdm_info.window == MW_ASYNC && !mdm_info.ports.empty()) {
        sent = reset_send(selected_reachable(), RESET_PORT, PT_ASY, mdm_info.ports, false, parent);
        out.devices = sent.devices;
        r = sent.result;
        if (r != Result::done)
            out.warnings.push_back("Could not perform a modem reset on one or more of the "
                                   "selected ports\nfor one or more of the selected Morixes.\nThis "
                                   "may be due to a timeout.");
    }
    mdm_busy(false);
    out.result = r;
    return mo;
}

void mdm_close_act(long code) {
    mdm_info.cfg_fil_upd_flag = mdm_info.mdm_typ_upd_flag = 0;
    release_lists();
    // A failed copy-back keeps the local copy (and its folder) for the
    // operator, as the warning told; the next fetch uses a folder of its own.
    bool keep =
        !mdm_info.local_cfg.empty() && (mdm_info.cfg_fil_nam.empty() || code == NF_WRITE_FAIL);
    if (keep)
        keep_local_copy();
    if (!keep && !mdm_info.local_cfg.empty()) {
        unlink(mdm_info.local_cfg.c_str());
        temp_untrack(mdm_info.local_cfg);
    }
    if (!keep && !mdm_info.local_dir.empty()) {
        unlink((mdm_info.local_dir + "/tmp.cfg." + std::to_string(getpid())).c_str());
        rmdir(mdm_info.local_dir.c_str());
        temp_untrack(mdm_info.local_dir);
    }
    mdm_info.local_dir.clear();
    mdm_info.local_cfg.clear();
}

int move_file(const std::string& source, const std::string& destination, int flag) {
    FILE* in = open_file(source, "rb").release(); // a regular file only
    int out_fd = in ? open_regular_for_write(destination, 0, 0644) : -1;
    FILE* out = out_fd >= 0 ? fdopen(out_fd, "wb") : nullptr;
    if (out_fd >= 0 && !out)
        close(out_fd);
    bool ok = in && out;
    char buf[8192];
    size_t n;
    while (ok && (n = fread(buf, 1, sizeof buf, in)) > 0)
        ok = fwrite(buf, 1, n, out) == n;
    ok = ok && !ferror(in);
    if (in)
        fclose(in);
    if (out && fclose(out) != 0)
        ok = false;
    if (ok || flag == 1)
        unlink(source.c_str());
    return ok ? 0 : -12;
}
