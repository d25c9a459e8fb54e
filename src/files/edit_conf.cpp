// Configuration file editing.
#include "files/edit_conf.h"
#include "snmp_access/session.h"

#include <arpa/inet.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

#include "devices/allow_sets.h"
#include "devices/mrx_connect.h"
#include "devices/mrx_list.h"
#include "devices/mrx_select.h"
#include "devices/text_buf.h"
#include "files/editor_run.h"
#include "files/modem_info.h"
#include "files/nf.h"
#include "ops/control.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/product_types.h"
#include "ui/app_globals.h"
#include "ui/widget_ids.h"

const char* const edit_conf_reset_names[EC_RESET_COUNT] = {
    "All", "All Async Ports", "Dialout", "External Modem", "LAT", "Macros", "PRI Sessions"};
const int edit_conf_reset_codes[EC_RESET_COUNT] = {0, 7, 11, 10, 12, 2, 19};

namespace {

constexpr const char* TITLE = "Edit Configuration";
constexpr const char* MAIN_TITLE = "Morix Manager";
constexpr const char* MSG_BOOT =
    "If you have changed the 'gateway' or 'rotaries' entries,\nuse the 'Boot' menu selection to "
    "reboot the corresponding\nMorix(es).";
constexpr int ALL_BITS = (1 << EC_RESET_COUNT) - 1;

std::string msg_no_reset() {
    return std::string("If you have changed Morix parameters in the configuration file,\nuse the "
                       "'Reset' menu selection for these parameters to reset\nthe corresponding "
                       "Morix(es).\n") +
           MSG_BOOT;
}

// Modification time, size and file identity: any change counts.
struct FileMark {
    bool exists = false;
    struct stat st {};
};
FileMark mark_of(const std::string& path) {
    FileMark m;
    m.exists = stat(path.c_str(), &m.st) == 0;
    return m;
}
bool same_mark(const FileMark& a, const FileMark& b) {
    return a.exists && b.exists && a.st.st_mtim.tv_sec == b.st.st_mtim.tv_sec &&
           a.st.st_mtim.tv_nsec == b.st.st_mtim.tv_nsec && a.st.st_size == b.st.st_size &&
           a.st.st_ino == b.st.st_ino;
}

// An edited file that is gone or empty is never sent: it would replace the
// device's whole configuration with nothing. The operator is told; the
// file on the load host stays as it was.
bool refuse_empty_upload(const std::string& local, const std::string& remote, Outcome* out) {
    struct stat st {};
    const char* what = nullptr;
    if (stat(local.c_str(), &st) != 0)
        what = "no longer exists";
    else if (S_ISREG(st.st_mode) && st.st_size == 0)
        what = "is empty";
    if (!what)
        return false;
    out->warnings.push_back("The edited configuration file\n'" + local + "'\n" + what +
                            ": nothing was sent to the load host,\nits " + remote +
                            " is unchanged.");
    return true;
}

// Upload question and upload: 1 uploaded, 0 declined, 2 failed (or not
// tried: an empty or missing file is never sent).
int update_file(int had_cr, Asker& asker, Outcome* out, long* copy_code) {
    std::string remote = mdm_remote_path(mdm_info.cfg_fil_nam);
    if (refuse_empty_upload(mdm_info.local_cfg, remote, out))
        return 2;
    if (!asker.ask({TITLE, "Do you want to update the configuration file:\n" + remote + " ?", "Yes",
                    "No", true}))
        return 0;
    if (had_cr)
        add_file_line_cr(mdm_info.local_cfg);
    *copy_code = mdm_checked_upload(out);
    return *copy_code < 1 ? 2 : 1;
}

// After the editor changed the file: upload, resets. Sets the result;
// true when the file reached the load host.
bool changed_file(int allowed, const std::string& reason, int had_cr, const EditConfRequest& req,
                  Asker& asker, EditConfOutcome* eo, long* code) {
    Outcome& out = eo->outcome;
    if (allowed != EDIT_ALLOWED) {
        out.warnings.push_back(reason + "The changes have not been saved.");
        out.result = Result::refused;
        return false;
    }
    int up = update_file(had_cr, asker, &out, code);
    if (up != 1) {
        eo->upload_declined = up == 0;
        out.result = up == 0 ? Result::cancelled : Result::failed;
        return false;
    }
    if (!will_sel_mrx_allow_set())
        out.warnings.push_back("Morix(es) not settable. Morix parameters will not be set.");
    bool any = false;
    for (MorixRecord* r : req.devices)
        any = any || r->allow_set;
    if (!any) {
        out.warnings.push_back(msg_no_reset());
    } else if (req.reset_mask < 0) {
        out.follow_ups.push_back({EDIT_CONF_RESET_FOLLOW_UP, "Reset Options"});
    } else {
        Outcome resets = edit_conf_resets(req.reset_mask);
        out.warnings.insert(out.warnings.end(), resets.warnings.begin(), resets.warnings.end());
        out.devices = resets.devices;
        out.result = resets.result;
    }
    return true;
}

// The worse of a device's states after several runs: the first not done.
void merge_devices(std::vector<DeviceOutcome>* into, const std::vector<DeviceOutcome>& more) {
    for (const DeviceOutcome& d : more) {
        auto same = [&d](const DeviceOutcome& e) { return e.device == d.device; };
        auto it = std::find_if(into->begin(), into->end(), same);
        if (it == into->end())
            into->push_back(d);
        else if (it->state == DeviceState::done)
            *it = d;
    }
}

} // namespace

int edit_conf_reset_val(int mask, int index, bool state) {
    if (index == 0)
        return state ? ALL_BITS : 0;
    if (state)
        return mask | (1 << index);
    return mask & ~(1 << index) & ~1;
}

int edit_conf_allowed_noquery(std::string* reason) {
    int result = EDIT_ALLOWED;
    for (int i = 0; i < MAX_MRX_SLOTS && session().devices()[i] && result == EDIT_ALLOWED; ++i) {
        MorixRecord* r = session().devices()[i];
        if (!is_selected(r) || !r->reachable || check_comm_srv(r))
            continue;
        std::string msg;
        if (check_conf_serv(r, &msg) != EDIT_ALLOWED) {
            result = 0;
            *reason = msg;
        }
    }
    return result;
}

int edit_conf_allowed(int, int, std::string* reason) {
    return edit_conf_allowed_noquery(reason);
}

std::string edit_conf_editor(int* is_win) {
    const char* w = getenv("WINEDITOR");
    if (w && *w) {
        *is_win = 1;
        return w;
    }
    const char* e = getenv("EDITOR");
    *is_win = 0;
    return e && *e ? e : "";
}

int edit_conf_exec(const std::string& editor, const std::string& path, int is_win, bool in_terminal,
                   int* had_cr) {
    const char* term = getenv("TERM");
    std::vector<std::string> argv =
        editor_argv(split_editor_words(editor), path, is_win || in_terminal, term ? term : "",
                    std::string(MAIN_TITLE) + ": " + TITLE, find_program);
    if (argv.empty() || path.empty())
        return -1;
    *had_cr = filter_file_chars(path, {'\r'});
    FileMark before = mark_of(path);
    mdm_busy(true);
    int status = run_and_wait(argv);
    mdm_busy(false);
    if (status < 0)
        return -1;
    return same_mark(before, mark_of(path)) ? 0 : 1;
}

Outcome edit_conf_resets(int mask) {
    Outcome out;
    if (mask == 0) { // no resets chosen
        out.warnings.push_back(msg_no_reset());
        return out;
    }
    int saved = reset_ind;
    for (int i = 1; i < EC_RESET_COUNT; ++i) {
        if (!(mask & (1 << i)) && !(mask & 1))
            continue;
        reset_ind = edit_conf_reset_codes[i];
        Outcome sent =
            reset_send(selected_reachable(), reset_ind, reset_port_type, {}, false, W_MAIN_WINDOW);
        if (sent.result != Result::done) {
            out.warnings.push_back(std::string("Failed Reset option: ") + edit_conf_reset_names[i]);
            out.result = Result::failed;
        }
        merge_devices(&out.devices, sent.devices);
    }
    reset_ind = saved;
    out.warnings.push_back(MSG_BOOT);
    return out;
}

EditConfOutcome run_edit_conf(const EditConfRequest& req, Asker& asker) {
    EditConfOutcome eo;
    Outcome& out = eo.outcome;
    auto stop = [&eo](Result r, const std::string& why) {
        if (!why.empty())
            eo.outcome.warnings.push_back(why);
        eo.outcome.result = r;
        return eo;
    };
    std::string reason, kept;
    int allowed = edit_conf_allowed(W_MAIN_WINDOW, 0, &reason);
    if (allowed != EDIT_ALLOWED) {
        kept = "Configuration file cannot be edited,\n" + reason + "\n";
        if (!asker.ask({"Confirmation", kept + "The changes will not be saved for\n\n" +
                                            mrx_conf_names() + "\n\nDo you want to continue?"}))
            return stop(Result::cancelled, "");
    }
    int is_win = 0;
    const char* env_editor = getenv("EDITOR");
    std::string editor =
        req.in_terminal ? (env_editor ? env_editor : "") : edit_conf_editor(&is_win);
    if (split_editor_words(editor).empty())
        return stop(Result::refused,
                    "Editor is not defined.\nPlease check your environment (WINEDITOR, EDITOR).");
    mdm_set_window(MW_NONE, "", 0, {});
    MdmOutcome load = mdm_load(req.devices, W_MAIN_WINDOW);
    out.warnings = load.outcome.warnings;
    out.devices = load.outcome.devices;
    if (load.outcome.result != Result::done) {
        mdm_close_act(0);
        return stop(Result::failed, "");
    }
    if (req.editing)
        req.editing(true, mdm_info.cfg_fil_nam);
    int had_cr = 0;
    int rc = edit_conf_exec(editor, mdm_info.local_cfg, is_win, req.in_terminal, &had_cr);
    if (req.editing)
        req.editing(false, mdm_info.cfg_fil_nam);
    long code = 0;
    bool uploaded = false;
    if (rc < 0) {
        out.warnings.push_back("Edit command failed:\n" + editor + " " + mdm_info.local_cfg +
                               "\n\nPlease check your environment (TERM, WINEDITOR, EDITOR).");
        out.result = Result::failed;
    } else if (rc == 1) {
        std::vector<DeviceOutcome> fetched = out.devices;
        uploaded = changed_file(allowed, kept, had_cr, req, asker, &eo, &code);
        std::vector<DeviceOutcome> sent = out.devices;
        out.devices = fetched;
        merge_devices(&out.devices, sent);
    }
    mdm_close_act(code);
    // A file that was not sent names the devices whose file it is.
    for (DeviceOutcome& d : out.devices)
        if (!uploaded && out.result != Result::done && d.state == DeviceState::done) {
            d.state =
                out.result == Result::cancelled ? DeviceState::cancelled : DeviceState::not_sent;
            d.reason = d.device + ": the edited configuration file was not " +
                       (out.result == Result::cancelled ? "sent (declined)" : "sent");
        }
    return eo;
}
