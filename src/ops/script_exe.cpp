#include "ops/script_exe.h"

#include <algorithm>

#include "catalogue/mib_catalogue.h"
#include "devices/allow_sets.h"
#include "devices/text_buf.h"
#include "ops/script_file.h"
#include "ops/show.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/port_resolve.h"

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

ScriptView view_script(const std::string& typed) {
    ScriptView v;
    std::string path;
    remove_blanks(typed, &path);
    int rc = path.empty() ? SCR_NO_FILE : read_script_text(path, &v.outcome.report);
    if (path.empty())
        v.outcome.warnings.push_back(MSG_NO_SCRIPT);
    else if (rc == SCR_NO_FILE)
        v.outcome.warnings.push_back(MSG_CANNOT_OPEN);
    else if (rc == SCR_BAD_HEADER)
        v.outcome.warnings.push_back(path + " is not a Morix Manager script.");
    if (rc != SCR_OK) {
        v.outcome.result = Result::refused;
        v.outcome.report.clear();
        return v;
    }
    v.title = "(" + base_name(path) + ")";
    return v;
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
