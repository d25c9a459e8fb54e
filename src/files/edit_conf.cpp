// Configuration file editing.
#include "files/edit_conf.h"

#include <arpa/inet.h>
#include <sys/stat.h>

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
#include "ui/ui.h"

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

// After the editor changed the file: upload, resets. False when the
// changes did not reach the load host.
bool changed_file(int allowed, const std::string& reason, int had_cr, const EditConfRun& run,
                  long* code) {
    if (allowed != EDIT_ALLOWED) {
        display_warn(W_MAIN_WINDOW, reason + "The changes have not been saved.");
        return false;
    }
    int up = edit_conf_update(had_cr, code);
    if (up == 1) {
        if (!will_sel_mrx_allow_set())
            display_warn(W_MAIN_WINDOW,
                         "Morix(es) not settable. Morix parameters will not be set.");
        edit_conf_reset(run.reset_mask);
    } else if (up == 0) {
        ui_unmanage(W_MRX_INFO_BOX);
    }
    return up == 1;
}

// An edited file that is gone or empty is never sent: it would replace the
// device's whole configuration with nothing. The operator is told; the
// file on the load host stays as it was.
bool refuse_empty_upload(const std::string& local, const std::string& remote) {
    struct stat st {};
    const char* what = nullptr;
    if (stat(local.c_str(), &st) != 0)
        what = "no longer exists";
    else if (S_ISREG(st.st_mode) && st.st_size == 0)
        what = "is empty";
    if (!what)
        return false;
    display_warn(W_MAIN_WINDOW, "The edited configuration file\n'" + local + "'\n" + what +
                                    ": nothing was sent to the load host,\nits " + remote +
                                    " is unchanged.");
    return true;
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
    for (int i = 0; i < MAX_MRX_SLOTS && host_info_list[i] && result == EDIT_ALLOWED; ++i) {
        MorixRecord* r = host_info_list[i];
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
    set_app_cursor(CURSOR_BUSY);
    int status = run_and_wait(argv);
    set_app_cursor(CURSOR_NORMAL);
    if (status < 0)
        return -1;
    return same_mark(before, mark_of(path)) ? 0 : 1;
}

int edit_conf_update(int had_cr, long* copy_code) {
    std::string remote = mdm_remote_path(mdm_info.cfg_fil_nam);
    if (refuse_empty_upload(mdm_info.local_cfg, remote))
        return 2;
    if (ask_user(W_MAIN_WINDOW, TITLE, "Yes", "No", 1,
                 "Do you want to update the configuration file:\n" + remote + " ?") != ASK_OK)
        return 0;
    if (had_cr)
        add_file_line_cr(mdm_info.local_cfg);
    *copy_code = mdm_checked_upload(W_MAIN_WINDOW);
    if (*copy_code < 1)
        return 2;
    return 1;
}

int edit_conf_reset(int preset_mask) {
    bool any = false;
    for (MorixRecord* r : selected_reachable())
        any = any || r->allow_set;
    if (!any) {
        display_warn(W_MAIN_WINDOW, msg_no_reset());
        return 0;
    }
    int mask = preset_mask;
    if (mask < 0) {
        std::vector<std::string> names(edit_conf_reset_names,
                                       edit_conf_reset_names + EC_RESET_COUNT);
        if (display_box_ruled(W_MAIN_WINDOW, "Edit Configuration Reset", "Reset Options", names, "",
                              edit_conf_reset_val, &mask) != ASK_OK) {
            display_warn(W_MAIN_WINDOW, msg_no_reset());
            return 1;
        }
    }
    if (mask == 0) { // a terminal run without resets
        display_warn(W_MAIN_WINDOW, msg_no_reset());
        return 1;
    }
    int saved = reset_ind;
    for (int i = 1; i < EC_RESET_COUNT; ++i) {
        if (!(mask & (1 << i)) && !(mask & 1))
            continue;
        reset_ind = edit_conf_reset_codes[i];
        if (!reset_proc(reset_ind, W_MAIN_WINDOW, {}))
            display_warn(W_MAIN_WINDOW,
                         std::string("Failed Reset option: ") + edit_conf_reset_names[i]);
    }
    reset_ind = saved;
    display_warn(W_MAIN_WINDOW, MSG_BOOT);
    return 1;
}

int edit_conf(const EditConfRun& run) {
    if (!check_main_sel(W_MAIN_WINDOW, SEL_REACHABLE))
        return 0;
    std::string reason, kept;
    int allowed = edit_conf_allowed(W_MAIN_WINDOW, 0, &reason);
    if (allowed != EDIT_ALLOWED) {
        kept = "Configuration file cannot be edited,\n" + reason + "\n";
        if (ask_user(W_MAIN_WINDOW, "Confirmation", "OK", "Cancel", 0,
                     kept + "The changes will not be saved for\n\n" + mrx_conf_names() +
                         "\n\nDo you want to continue?") != ASK_OK)
            return 0;
    }
    int is_win = 0;
    std::string editor =
        run.in_terminal ? (getenv("EDITOR") ? getenv("EDITOR") : "") : edit_conf_editor(&is_win);
    if (split_editor_words(editor).empty()) {
        display_warn(W_MAIN_WINDOW,
                     "Editor is not defined.\nPlease check your environment (WINEDITOR, EDITOR).");
        return 0;
    }
    mdm_set_window(MW_NONE, "", 0, {});
    if (!mdm_init(W_MAIN_WINDOW)) {
        mdm_close_act(0);
        return 0;
    }
    display_work(W_MAIN_WINDOW, std::string(TITLE) + ": " + mdm_info.cfg_fil_nam,
                 "Editing the configuration file: " + mdm_info.cfg_fil_nam);
    int had_cr = 0;
    int rc = edit_conf_exec(editor, mdm_info.local_cfg, is_win, run.in_terminal, &had_cr);
    remove_work();
    long code = 0;
    bool saved = true;
    if (rc < 0)
        display_warn(W_MAIN_WINDOW, "Edit command failed:\n" + editor + " " + mdm_info.local_cfg +
                                        "\n\nPlease check your environment (TERM, WINEDITOR, "
                                        "EDITOR).");
    else if (rc == 1)
        saved = changed_file(allowed, kept, had_cr, run, &code);
    mdm_close_act(code);
    return rc >= 0 && saved ? 1 : 0;
}
