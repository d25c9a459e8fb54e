#include "ops/script_exe.h"

#include <algorithm>
#include <memory>

#include "catalogue/mib_catalogue.h"
#include "devices/allow_sets.h"
#include "devices/mrx_select.h"
#include "devices/text_buf.h"
#include "ops/script_file.h"
#include "ops/set_window.h"
#include "ops/show.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/port_resolve.h"
#include "ui/ui.h"

namespace {

// Opens the script for view or execution, with the messages of both.
int open_checked(const std::string& typed, int parent, std::string* path, ScriptFile* f) {
    remove_blanks(typed, path);
    if (path->empty()) {
        display_warn(parent, MSG_NO_SCRIPT);
        return -1;
    }
    int rc = read_script(*path, f);
    if (rc == SCR_NO_FILE)
        display_warn(parent, MSG_CANNOT_OPEN);
    else if (rc == SCR_BAD_HEADER)
        display_warn(parent, *path + " is not a Morix Manager script.");
    return rc == SCR_OK ? 0 : -1;
}

} // namespace

void execute_scr_proc_line(const ScriptLine& l, const ScrPortSet& wild, std::string* msg,
                           bool* nonexistent, bool* no_port,
                           const std::vector<MorixRecord*>* devices) {
    const MibVarEntry* e = mib_var(l.mib_index);
    if (!e)
        return;
    std::string value = l.value;
    if (e->enum_id != -1 && !cvt_enum_str_num(l.mib_index, l.value, &value)) {
        text_set_buf(e->name + " : Enumeration conversion failed.", msg, 1);
        return;
    }
    int pt = l.port_type;
    int kind = scr_kind_of_port_type(pt);
    if (kind < 0) // "channels", "ds1int" or unknown: not applied
        return;
    ScrPorts ports;
    if (e->port_class != 0 && l.port == SCR_WILDCARD)
        ports = wild[kind];
    else
        ports.ports = {l.port};
    // A "*" with no ports of its kind names no port: said, never skipped quietly.
    if (e->port_class != 0 && !ports.given()) {
        text_set_buf(l.raw + "\n\tNo ports were given for \"*\": this line was not set.", msg, 1);
        if (no_port)
            *no_port = true;
        return;
    }
    for (MorixRecord* r : devices ? *devices : selected_reachable()) {
        if (r->allow_set != 1)
            continue;
        if (pt != PT_NONE && !check_port_type(l.mib_index, pt))
            continue;
        // The line's (or the wildcard's) numbers as this device reads them.
        DevicePorts d{ports.all, ports.ports, {}, ""};
        if (pt != PT_NONE)
            d = resolve_ports(*r, pt, ports.all, ports.ports, PortPurpose::script);
        if (!d.refusal.empty()) {
            text_set_buf(e->name + " : " + d.refusal, msg, 1);
            *nonexistent = true;
        }
        if (e->port_class != 0 && !d.all && d.ports.empty())
            continue;
        if (build_prm(r, d.all, static_cast<int>(d.ports.size()), d.ports, pt, l.mib_index,
                      value) != 0)
            *nonexistent = true;
    }
}

int process_scr_view(const std::string& typed, int output, int title_id, int parent) {
    std::string path;
    remove_blanks(typed, &path);
    if (path.empty()) {
        display_warn(parent, MSG_NO_SCRIPT);
        return -1;
    }
    std::string text;
    int rc = read_script_text(path, &text);
    if (rc == SCR_NO_FILE) {
        display_warn(parent, MSG_CANNOT_OPEN);
        return -1;
    }
    if (rc == SCR_BAD_HEADER) {
        display_warn(parent, path + " is not a Morix Manager script.");
        return -1;
    }
    set_dialog_title(title_id, "(" + base_name(path) + ")");
    ui_set_text(output, text);
    return 0;
}

int process_scr_exe_start(const std::string& typed, int output, int parent, ScrExeState* st) {
    *st = ScrExeState{};
    if (!check_main_sel(parent, SEL_REACHABLE))
        return -1;
    ScriptFile f;
    if (open_checked(typed, parent, &st->path, &f) != 0)
        return -1;
    std::string msg;
    for (const ScriptLine& l : f.lines) {
        std::string reason = check_script_line(l);
        if (reason.empty()) {
            const MibVarEntry* e = mib_var(l.mib_index);
            int k = scr_kind_of_port_type(l.port_type);
            if (e->port_class != 0 && l.port == SCR_WILDCARD && k > SK_DEVICE)
                st->wild[k] = true;
            continue;
        }
        if (msg.empty())
            text_set_buf("Script was not executed due to invalid parameter values.\nYou can edit "
                         "script parameter values and try again.",
                         &msg, 1);
        // A NUL byte would end the text where it is shown: the line is echoed
        // with a blank in its place, so its reason and later lines remain.
        std::string echo = l.raw;
        std::replace(echo.begin(), echo.end(), '\0', ' ');
        text_set_buf(echo, &msg, 1);
        text_set_buf("\t" + reason + "\n", &msg, 1);
    }
    if (!msg.empty()) {
        ui_set_text(output, "");
        write_otp_msg(output, msg, 0, 1);
        return -1;
    }
    bool any_wild = false;
    for (int k = SK_ASY; k < SK_COUNT; ++k) {
        bool has = false;
        for (MorixRecord* r : selected_reachable())
            has = has || get_num_ports(r, scr_kind_port_type(k)) > 0;
        st->wild[k] = st->wild[k] && has;
        any_wild = any_wild || st->wild[k];
    }
    return any_wild ? 1 : 0;
}

int process_scr_exe_prt(const ScrExeState& st, const std::array<std::string, SK_COUNT>* texts,
                        int output, int parent, int* result) {
    if (result)
        *result = SCRIPT_NOT_DONE;
    ScrPortSet ports{};
    if (texts != nullptr) {
        ports = parse_scr_ports(*texts);
        bool given = false;
        for (int k = SK_ASY; k < SK_COUNT; ++k) {
            if (!st.wild[k])
                ports[k] = ScrPorts{};
            given = given || ports[k].given();
        }
        if (!given &&
            ask_user(parent, "Question", "OK", "Cancel", 0,
                     "You have not entered numbers for ports that appear in the script.\nThe "
                     "script will not set port parameter(s) for the following\nMorixes:\n" +
                         mrx_conf_names() + "\nDo you want to continue?") != ASK_OK)
            return 0;
    }
    // The confirmation may run its action after this function returned
    // (a window's question box): it keeps its own copies.
    auto done = std::make_shared<int>(0);
    auto outcome = std::make_shared<int>(SCRIPT_NOT_DONE);
    build_mrx_conf("Script execution will take place for the following Morixes:", parent,
                   [done, outcome, path = st.path, ports, output, parent] {
                       int rc = execute_scr_proc(path, ports, output, parent);
                       *done = rc >= 0;
                       *outcome = rc >= 0 ? rc : SCRIPT_NOT_DONE;
                   });
    if (result)
        *result = *outcome;
    return *done;
}

int process_scr_exe(const std::string& typed, int output, int parent, const ScrPortAsk& ask,
                    int* result) {
    if (result)
        *result = SCRIPT_NOT_DONE;
    ScrExeState st;
    int rc = process_scr_exe_start(typed, output, parent, &st);
    if (rc < 0)
        return 0;
    if (rc == 0)
        return process_scr_exe_prt(st, nullptr, output, parent, result);
    std::array<std::string, SK_COUNT> texts = scr_exe_fixed_texts(st.wild);
    if (!ask(st.wild, &texts))
        return 0;
    return process_scr_exe_prt(st, &texts, output, parent, result);
}

std::array<std::string, SK_COUNT> scr_exe_fixed_texts(const ScrKinds& wild) {
    std::array<std::string, SK_COUNT> texts{};
    texts[SK_EN] = wild[SK_EN] ? "1" : "";
    texts[SK_DS1INF] = wild[SK_DS1INF] ? "1" : ""; // WAN module 1
    return texts;
}

int execute_scr_proc(const std::string& path, const ScrPortSet& ports, int output, int parent) {
    ui_set_text(output, "");
    std::string msg;
    text_set_buf("Executing script...", &msg, 1);
    text_set_buf("", &msg, 1);
    will_sel_mrx_allow_set();
    ScriptFile f;
    if (read_script(path, &f) != SCR_OK) {
        display_warn(parent, MSG_CANNOT_OPEN);
        return -1;
    }
    bool nonexistent = false, no_port = false;
    free_host_info_list(0);
    for (const ScriptLine& l : f.lines)
        if (check_script_line(l).empty())
            execute_scr_proc_line(l, ports, &msg, &nonexistent, &no_port);
    write_otp_msg(output, msg, 0, 1);
    int error = 0, cancelled = 0;
    process_set_req(output, parent, 0, 0, nonexistent ? 1 : 0, &error, &cancelled);
    error = error || no_port;
    if (!cancelled)
        write_otp_msg(output,
                      std::string("\n") + (error ? "Script execution complete with errors."
                                                 : "Script execution complete."),
                      1, 1);
    if (nonexistent && !cancelled)
        display_warn(parent, MSG_NONEXISTENT_PORTS);
    if (cancelled)
        return SCRIPT_CANCELLED;
    return error ? SCRIPT_ERRORS : SCRIPT_DONE;
}
