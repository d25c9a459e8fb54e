// The change pipeline's window adapters for the windows that still write
// their own reports (copy, basic mode): the reset follow-up asked over a
// window and a device's report lines written into its output area.
#include "ops/set_cmd.h"
#include "ops/set_window.h"
#include "snmp_access/snmp_engine.h"
#include "ui/progress.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

void ask_change_reset(const ChangeOutcome& co, int parent, bool timeout_text, int output) {
    set_question_parent(parent);
    Outcome reset = change_reset_follow_up(co, front_end_asker(), timeout_text);
    set_question_parent(W_MAIN_WINDOW);
    if (output != 0 && !reset.report.empty())
        write_otp_msg(output, "\n" + reset.report, 0, 1);
    for (const std::string& w : reset.warnings)
        display_warn(parent, w);
}

void process_set_req_res(const DeviceChange& d, int output, int parent, int* error, int cancelled) {
    std::string text;
    bool dev_error = change_report_lines(d, cancelled, &text);
    if (!text.empty())
        write_otp_msg(output, text, 0, 1);
    if (dev_error)
        *error = 1;
    bool set_error = d.rec->status != SR_OK;
    for (const ParamNode* n = d.rec->prm_list; n; n = n->next)
        set_error = set_error || n->status != NS_OK;
    if (!cancelled && set_error)
        display_warn(parent, set_error_warning(d.rec->name));
}

std::string set_error_warning(const std::string& device) {
    return "<" + device +
           "> There was an error setting one or more parameters.\nThis may be due to a "
           "timeout.\nCheck message box for details.";
}
