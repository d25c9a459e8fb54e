#include "frame/set_render.h"

#include "devices/mrx_select.h"
#include "frame/render.h"
#include "frame/set_window.h"
#include "ops/script_crt.h"
#include "ops/set_window.h"
#include "ops/undo.h"
#include "ui/progress.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

void render_reset_follow_up(const ChangeOutcome& change, const Outcome& outcome, int parent,
                            int output, bool timeout_text) {
    bool asked = false;
    for (const FollowUp& f : outcome.follow_ups)
        asked = asked || f.kind == FOLLOW_RESET;
    if (!asked)
        return;
    set_question_parent(parent);
    Outcome reset = change_reset_follow_up(change, front_end_asker(), timeout_text);
    set_question_parent(W_MAIN_WINDOW);
    if (!reset.report.empty())
        reset.report = "\n" + reset.report;
    render_outcome(reset, OutputArea{parent, output, true, true});
}

std::string set_error_warning(const std::string& device) {
    return "<" + device +
           "> There was an error setting one or more parameters.\nThis may be due to a "
           "timeout.\nCheck message box for details.";
}

void render_set_apply(const SetOutcome& so, const SetRequest& input) {
    render_outcome(so.outcome, OutputArea{W_SET_FORM, W_SET_MSG, true, true});
    for (const std::string& device : so.set_errors)
        display_warn(W_SET_FORM, set_error_warning(device));
    if (so.sent && !so.change.cancelled)
        get_set_cur_val(input, so.rows_warned ? 1 : 0, so.nonexistent ? 1 : 0, 0);
    render_reset_follow_up(so.change, so.outcome, W_SET_FORM, W_SET_MSG, false);
}

int undo_last_change(int output, int parent) {
    if (!check_main_sel(parent, SEL_REACHABLE))
        return SCRIPT_NOT_DONE;
    UndoRequest req;
    req.devices = selected_reachable();
    req.parent = parent;
    size_t shown = 0;
    req.show_scripts = [&](const std::string& text) {
        ui_set_text(output, "");
        write_otp_msg(output, text, 0, 1);
        shown = text.size();
    };
    set_question_parent(parent);
    SetOutcome so = run_undo(req, front_end_asker());
    set_question_parent(W_MAIN_WINDOW);
    Outcome rest = so.outcome;
    rest.report.erase(0, shown);
    render_outcome(rest, OutputArea{parent, output, shown != 0, true});
    for (const std::string& device : so.set_errors)
        display_warn(parent, set_error_warning(device));
    render_reset_follow_up(so.change, so.outcome, parent, output, false);
    if (!so.sent)
        return SCRIPT_NOT_DONE;
    if (so.change.cancelled)
        return SCRIPT_CANCELLED;
    return so.outcome.result == Result::done ? SCRIPT_DONE : SCRIPT_ERRORS;
}
