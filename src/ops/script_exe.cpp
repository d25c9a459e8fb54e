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
#include "ui/progress.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

void execute_scr_proc_line(const ScriptLine& l, const ScrPortSet& wild,
                           const std::vector<MorixRecord*>& devices, std::string* msg,
                           bool* nonexistent, bool* no_port) {
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
    for (MorixRecord* r : devices) {
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

ScriptCheck check_script_exec(const std::string& typed, const std::vector<MorixRecord*>& devices) {
    ScriptCheck c;
    Outcome& o = c.outcome;
    o.result = Result::refused;
    remove_blanks(typed, &c.path);
    ScriptFile f;
    int rc = c.path.empty() ? SCR_NO_FILE : read_script(c.path, &f);
    if (c.path.empty())
        o.warnings.push_back(MSG_NO_SCRIPT);
    else if (rc == SCR_NO_FILE)
        o.warnings.push_back(MSG_CANNOT_OPEN);
    else if (rc == SCR_BAD_HEADER)
        o.warnings.push_back(c.path + " is not a Morix Manager script.");
    std::string msg;
    for (const ScriptLine& l : f.lines) {
        std::string reason = check_script_line(l);
        if (reason.empty()) {
            const MibVarEntry* e = mib_var(l.mib_index);
            int k = scr_kind_of_port_type(l.port_type);
            if (e->port_class != 0 && l.port == SCR_WILDCARD && k > SK_DEVICE)
                c.wild[k] = true;
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
    o.report = msg;
    c.ready = rc == SCR_OK && msg.empty();
    std::string why = !o.warnings.empty() ? o.warnings[0] : "the script has invalid lines";
    for (const MorixRecord* r : devices)
        o.devices.push_back({r->name, c.ready ? DeviceState::done : DeviceState::refused,
                             c.ready ? "" : "<" + r->name + ">  Nothing was set: " + why});
    if (!c.ready)
        return c;
    o.result = Result::done;
    for (int k = SK_ASY; k < SK_COUNT; ++k) {
        bool has = false;
        for (MorixRecord* r : devices)
            has = has || get_num_ports(r, scr_kind_port_type(k)) > 0;
        c.wild[k] = c.wild[k] && has;
        c.any_wild = c.any_wild || c.wild[k];
    }
    return c;
}

int process_scr_exe_start(const std::string& typed, int output, int parent, ScrExeState* st) {
    *st = ScrExeState{};
    if (!check_main_sel(parent, SEL_REACHABLE))
        return -1;
    ScriptCheck c = check_script_exec(typed, selected_reachable());
    for (const std::string& w : c.outcome.warnings)
        display_warn(parent, w);
    if (!c.outcome.report.empty()) {
        ui_set_text(output, "");
        write_otp_msg(output, c.outcome.report, 0, 1);
    }
    if (!c.ready)
        return -1;
    st->path = c.path;
    st->wild = c.wild;
    return c.any_wild ? 1 : 0;
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

SetOutcome run_script(const ScriptRun& run, Asker& asker) {
    SetOutcome so;
    Outcome& o = so.outcome;
    std::string msg;
    text_set_buf("Executing script...", &msg, 1);
    text_set_buf("", &msg, 1);
    settable_many(run.devices);
    ScriptFile f;
    if (read_script(run.path, &f) != SCR_OK) {
        o.result = Result::refused;
        o.warnings.push_back(MSG_CANNOT_OPEN);
        for (const MorixRecord* r : run.devices)
            o.devices.push_back({r->name, DeviceState::refused,
                                 "<" + r->name + ">  Nothing was set: " + MSG_CANNOT_OPEN});
        return so;
    }
    bool nonexistent = false, no_port = false;
    free_host_info_list(0);
    for (const ScriptLine& l : f.lines)
        if (check_script_line(l).empty())
            execute_scr_proc_line(l, run.ports, run.devices, &msg, &nonexistent, &no_port);
    o.report = msg;
    SetCommand how;
    how.parent = run.parent;
    how.say_complete = false;
    send_set_chains(run.devices, how, asker, &so);
    so.nonexistent = nonexistent;
    bool error = o.result != Result::done || no_port;
    if (!so.change.cancelled)
        o.report +=
            std::string("\n") +
            (error ? "Script execution complete with errors." : "Script execution complete.") +
            "\n";
    if (nonexistent && !so.change.cancelled)
        o.warnings.push_back(MSG_NONEXISTENT_PORTS);
    if (error && o.result == Result::done)
        o.result = Result::failed;
    return so;
}

bool confirm_script_run(const std::vector<MorixRecord*>& devices, bool ports_missing,
                        Asker& asker) {
    std::string names = "    ";
    size_t next_break = 60;
    for (size_t i = 0; i < devices.size(); ++i) {
        if (i > 0)
            names += ", ";
        if (names.size() > next_break) {
            names += "\n    ";
            next_break = names.size() + 60;
        }
        names += devices[i]->name;
    }
    Question q;
    q.title = "Question";
    q.text = "You have not entered numbers for ports that appear in the script.\nThe script will "
             "not set port parameter(s) for the following\nMorixes:\n" +
             names + "\nDo you want to continue?";
    if (ports_missing && !asker.ask(q))
        return false;
    q.title = "Confirmation";
    q.text = "Script execution will take place for the following Morixes:\n\n" + names +
             "\n\nDo you want to continue?";
    return asker.ask(q);
}

int execute_scr_proc(const std::string& path, const ScrPortSet& ports, int output, int parent) {
    ScriptRun run{path, ports, selected_reachable(), parent};
    set_question_parent(parent);
    SetOutcome so = run_script(run, front_end_asker());
    ui_set_text(output, "");
    write_otp_msg(output, so.outcome.report, 0, 1);
    for (const std::string& device : so.set_errors)
        display_warn(parent, set_error_warning(device));
    if (so.outcome.result == Result::refused && !so.sent) {
        for (const std::string& w : so.outcome.warnings)
            display_warn(parent, w);
        set_question_parent(W_MAIN_WINDOW);
        return -1;
    }
    bool reset = false;
    for (const FollowUp& fu : so.outcome.follow_ups)
        reset = reset || fu.kind == FOLLOW_RESET;
    if (reset)
        ask_change_reset(so.change, parent, false, output);
    for (const std::string& w : so.outcome.warnings)
        display_warn(parent, w);
    set_question_parent(W_MAIN_WINDOW);
    if (so.change.cancelled)
        return SCRIPT_CANCELLED;
    return so.outcome.result == Result::done ? SCRIPT_DONE : SCRIPT_ERRORS;
}
