// Undo Last Change: the newest undo script of each selected device, shown,
// checked like any script, confirmed, and executed on its own device only
// through the change pipeline (which keeps an undo script of the undo in
// turn). An entry that left values out says so, and the undo ends with
// errors: it cannot bring the device all the way back.
#include <algorithm>

#include "devices/allow_sets.h"
#include "devices/text_buf.h"
#include "ops/script_exe.h"
#include "ops/set_cmd.h"
#include "ops/set_window.h"
#include "ops/undo.h"
#include "ui/outcome.h"

namespace {

struct UndoPlan {
    MorixRecord* rec = nullptr;
    std::string path;
    ScriptFile script;
    std::vector<std::string> left_out; // what the entry cannot write back
};

// The "# Left out: " lines of an undo script.
std::vector<std::string> left_out_lines(const std::string& path) {
    std::vector<std::string> out;
    std::string text;
    if (read_script_text(path, &text) != SCR_OK)
        return out;
    const std::string mark = UNDO_LEFT_OUT;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        std::string line = text.substr(at, end == std::string::npos ? end : end - at);
        if (line.compare(0, mark.size(), mark) == 0)
            out.push_back(line.substr(mark.size()));
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return out;
}

// The plan of one device, or the reason it has none (added to text).
bool plan_device(MorixRecord* r, UndoPlan* p, std::string* text) {
    std::vector<std::string> all = undo_scripts_of(r->name);
    if (all.empty()) {
        *text += "<" + r->name + ">  No undo script.\n\n";
        return false;
    }
    p->rec = r;
    p->path = all.back();
    if (read_script(p->path, &p->script) != SCR_OK) {
        *text += "<" + r->name + ">  " + p->path + " is not a Morix Manager script.\n\n";
        return false;
    }
    std::string bad;
    for (const ScriptLine& l : p->script.lines) {
        std::string reason = check_script_line(l);
        if (!reason.empty())
            bad += l.raw + "\n\t" + reason + "\n";
    }
    if (!bad.empty()) {
        *text += "<" + r->name + ">  " + p->path +
                 " will not be executed due to invalid parameter values:\n" + bad + "\n";
        return false;
    }
    *text += "<" + r->name + ">  " + p->path + " sets:\n";
    for (const ScriptLine& l : p->script.lines)
        *text += "\t" + l.raw + "\n";
    if (p->script.lines.empty())
        *text += "\t(nothing)\n";
    p->left_out = left_out_lines(p->path);
    for (const std::string& l : p->left_out)
        *text += "\tcannot be undone: " + l + "\n";
    *text += "\n";
    return true;
}

// Builds each plan's nodes on its own device only.
bool build_plans(const std::vector<UndoPlan>& plans, std::string* msg, bool* no_port) {
    bool nonexistent = false;
    for (const UndoPlan& p : plans)
        for (const ScriptLine& l : p.script.lines)
            execute_scr_proc_line(l, ScrPortSet{}, {p.rec}, msg, &nonexistent, no_port);
    return nonexistent;
}

} // namespace

SetOutcome run_undo(const UndoRequest& req, Asker& asker) {
    SetOutcome so;
    Outcome& o = so.outcome;
    std::vector<UndoPlan> plans;
    std::string text = "Undo Last Change\n\n", names;
    std::vector<DeviceOutcome> none; // devices with nothing to undo
    for (MorixRecord* r : req.devices) {
        UndoPlan p;
        size_t from = text.size();
        if (plan_device(r, &p, &text)) {
            plans.push_back(std::move(p));
            names += "    " + r->name + "\n";
        } else {
            std::string why = text.substr(from);
            none.push_back({r->name, DeviceState::refused, why.substr(0, why.find("\n\n"))});
        }
    }
    o.report = text;
    auto all_devices = [&](const std::vector<DeviceOutcome>& served) {
        o.devices.clear();
        for (MorixRecord* r : req.devices) {
            for (const DeviceOutcome& d : none)
                if (d.device == r->name)
                    o.devices.push_back(d);
            for (const DeviceOutcome& d : served)
                if (d.device == r->name)
                    o.devices.push_back(d);
        }
    };
    if (plans.empty()) {
        o.result = Result::refused;
        o.warnings.push_back("There is no undo script to execute for the selected Morixes.");
        all_devices({});
        return so;
    }
    if (req.show_scripts)
        req.show_scripts(o.report);
    Question q;
    q.title = "Question";
    q.text = "Undo Last Change will set the values shown for the following Morixes:\n\n" + names +
             "\nDo you want to continue?";
    if (!asker.ask(q)) {
        o.result = Result::cancelled;
        std::vector<DeviceOutcome> declined;
        for (const UndoPlan& p : plans)
            declined.push_back({p.rec->name, DeviceState::cancelled,
                                "<" + p.rec->name + ">  Not undone: the question was declined."});
        all_devices(declined);
        return so;
    }
    std::vector<MorixRecord*> recs;
    for (const UndoPlan& p : plans)
        recs.push_back(p.rec);
    settable_many(recs);
    free_host_info_list(0);
    std::string msg;
    bool no_port = false;
    so.nonexistent = build_plans(plans, &msg, &no_port);
    bool left_out = false;
    for (const UndoPlan& p : plans)
        if (!p.left_out.empty()) {
            left_out = true;
            text_set_buf("<" + p.rec->name + ">  Undo leaves out what its undo script cannot " +
                             "write back: the device is not all the way back.",
                         &msg, 1);
        }
    o.report += msg;
    SetCommand how;
    how.parent = req.parent;
    how.say_complete = false;
    send_set_chains(recs, how, asker, &so);
    bool error = so.outcome.result != Result::done || no_port || left_out;
    if (!so.change.cancelled)
        o.report +=
            std::string("\n") + (error ? "Undo complete with errors." : "Undo complete.") + "\n";
    if (error && o.result == Result::done)
        o.result = Result::failed;
    std::vector<DeviceOutcome> served = o.devices;
    all_devices(served);
    return so;
}
