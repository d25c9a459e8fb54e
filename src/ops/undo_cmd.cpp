// Undo Last Change: the newest undo script of each selected device, shown,
// checked like any script, confirmed, and executed on its own device only
// through the change pipeline (which keeps an undo script of the undo in
// turn). An entry that left values out says so, and the undo ends with
// errors: it cannot bring the device all the way back.
#include <algorithm>

#include "devices/allow_sets.h"
#include "devices/mrx_select.h"
#include "devices/text_buf.h"
#include "ops/script_exe.h"
#include "ops/set_window.h"
#include "ops/undo.h"
#include "ui/ui.h"

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
    for (const UndoPlan& p : plans) {
        std::vector<MorixRecord*> one{p.rec};
        for (const ScriptLine& l : p.script.lines)
            execute_scr_proc_line(l, ScrPortSet{}, msg, &nonexistent, no_port, &one);
    }
    return nonexistent;
}

} // namespace

int undo_last_change(int output, int parent) {
    if (!check_main_sel(parent, SEL_REACHABLE))
        return SCRIPT_NOT_DONE;
    std::vector<MorixRecord*> selected = selected_reachable();
    std::vector<UndoPlan> plans;
    std::string text = "Undo Last Change\n\n", names;
    for (MorixRecord* r : selected) {
        UndoPlan p;
        if (plan_device(r, &p, &text)) {
            plans.push_back(std::move(p));
            names += "    " + r->name + "\n";
        }
    }
    ui_set_text(output, "");
    write_otp_msg(output, text, 0, 1);
    if (plans.empty()) {
        display_warn(parent, "There is no undo script to execute for the selected Morixes.");
        return SCRIPT_NOT_DONE;
    }
    if (ask_user(parent, "Question", "OK", "Cancel", 0,
                 "Undo Last Change will set the values shown for the following Morixes:\n\n" +
                     names + "\nDo you want to continue?") != ASK_OK)
        return SCRIPT_NOT_DONE;
    will_sel_mrx_allow_set();
    free_host_info_list(0);
    std::string msg;
    bool no_port = false;
    bool nonexistent = build_plans(plans, &msg, &no_port);
    bool left_out = false;
    for (const UndoPlan& p : plans)
        if (!p.left_out.empty()) {
            left_out = true;
            text_set_buf("<" + p.rec->name + ">  Undo leaves out what its undo script cannot " +
                             "write back: the device is not all the way back.",
                         &msg, 1);
        }
    if (!msg.empty())
        write_otp_msg(output, msg, 0, 1);
    int error = 0, cancelled = 0;
    // The change goes to the devices that have a plan.
    std::vector<MorixRecord*> planned;
    for (const UndoPlan& p : plans)
        planned.push_back(p.rec);
    process_set_req(output, parent, 0, 0, nonexistent ? 1 : 0, &error, &cancelled, &planned);
    error = error || no_port || left_out;
    if (!cancelled)
        write_otp_msg(output,
                      std::string("\n") + (error ? "Undo complete with errors." : "Undo complete."),
                      1, 1);
    if (cancelled)
        return SCRIPT_CANCELLED;
    return error ? SCRIPT_ERRORS : SCRIPT_DONE;
}
