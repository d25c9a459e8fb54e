// The script windows' side of script execution and viewing: the selection
// check, the file and line checks shown in the window, the port dialog's
// question, the confirmation box, and the run rendered into the window.
#include "frame/script_exec_window.h"

#include <memory>

#include "devices/mrx_select.h"
#include "devices/text_buf.h"
#include "frame/set_render.h"
#include "ops/set_window.h"
#include "snmp_access/port_inst.h"
#include "ui/progress.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

int process_scr_view(const std::string& typed, int output, int title_id, int parent) {
    ScriptView v = view_script(typed);
    for (const std::string& w : v.outcome.warnings)
        display_warn(parent, w);
    if (v.outcome.result != Result::done)
        return -1;
    set_dialog_title(title_id, v.title);
    ui_set_text(output, v.outcome.report);
    return 0;
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
    Question q = mrx_conf_question("Script execution will take place for the following Morixes:",
                                   selected_reachable());
    gui_display_question(parent, q.text, "",
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
    render_reset_follow_up(so.change, so.outcome, parent, output, false);
    for (const std::string& w : so.outcome.warnings)
        display_warn(parent, w);
    set_question_parent(W_MAIN_WINDOW);
    if (so.change.cancelled)
        return SCRIPT_CANCELLED;
    return so.outcome.result == Result::done ? SCRIPT_DONE : SCRIPT_ERRORS;
}
