// The Show and Set windows' commands.
#include "catalogue/func_display.h"
#include "devices/mrx_select.h"
#include "frame/commands.h"
#include "frame/render.h"
#include "frame/set_render.h"
#include "frame/set_window.h"
#include "ops/show.h"
#include "ui/progress.h"
#include "ui/ui.h"

int cmd_set_open(int) {
    process_set();
    return 1;
}

// Opens the Show window with its banner.
void open_show_window() {
    gui_manage_top_form(W_SHOW_FORM);
    if (ui_get_text(W_SHOW_TEXT).empty())
        ui_set_text(W_SHOW_TEXT, SHOW_BANNER);
    // The port type used is the one marked on screen; with none marked, the
    // window opens with its first port type chosen.
    for (const PortTypeChoice& c : port_type_choices()) {
        if (ui_get_toggle(c.toggle_id)) {
            show_port_sel_ind = c.code;
            return;
        }
    }
    ui_set_toggle(port_type_choices()[0].toggle_id, true, false);
    show_port_sel_ind = port_type_choices()[0].code;
}

int cmd_show_open(int) {
    open_show_window();
    return 1;
}

void cmd_set_row_action(int id) {
    set_row_action(id, ui_get_toggle(set_row_id(id / SET_ROW_STRIDE, SRP_TOGGLE), UI_SET_ROWS));
}

int cmd_show_port_type(int id) {
    int port_type = show_toggle_port_type(id);
    if (port_type >= 0 && ui_get_toggle(id))
        show_port_sel_ind = port_type;
    return 1;
}

namespace {

// The Set window's request: the ports typed and each row's mark and input.
SetRequest set_window_request() {
    SetRequest req;
    req.ports = ui_get_text(W_SET_PORT_TF);
    for (int i = 0; i < static_cast<int>(set_wlist.size()); ++i) {
        SetRowInput in;
        in.marked = ui_get_toggle(set_row_id(i, SRP_TOGGLE), UI_SET_ROWS);
        if (set_wlist[i].enumerated)
            in.option = ui_get_option(set_row_id(i, SRP_OPTION), UI_SET_ROWS);
        else
            in.text = ui_get_text(set_row_id(i, SRP_TEXT), UI_SET_ROWS);
        req.rows.push_back(in);
    }
    return req;
}

// The Show window's request: the parameters or function chosen in the main
// list, the port type and ports, the detail toggle.
ShowRequest show_window_request() {
    ShowRequest req;
    req.items = ui_list_selected_items(W_FUNC_LIST);
    req.param_sel = param_sel_flag;
    req.port_type = show_port_sel_ind;
    req.ports = ui_get_text(W_SHOW_PORT_TF);
    req.detailed = ui_get_toggle(W_DETAIL_TB);
    req.parent = W_SHOW_FORM;
    req.devices = selected_reachable();
    return req;
}

// A Show's outcome in the Show window: the report added to its text (the
// area redrawn once), then the warnings.
void render_show(Outcome out) {
    if (!out.report.empty())
        write_otp_msg_redisp(W_SHOW_TEXT, out.report, 0, 1);
    out.report.clear();
    render_outcome(out, OutputArea{W_SHOW_FORM, 0, true, true});
}

} // namespace

int cmd_show_apply(int) {
    if (check_main_sel(W_SHOW_FORM, SEL_SHOW_SET))
        render_show(process_show(show_window_request()));
    return 1;
}

int cmd_set_show_values(int) {
    if (check_main_sel(W_SET_FORM, SEL_REACHABLE)) {
        reset_values_differ();
        get_set_cur_val(set_window_request(), 0, 0, 1);
    }
    return 1;
}

int cmd_set_port_type(int) {
    set_port_type_changed(ui_get_option(W_SET_PORT_OM));
    return 1;
}

int cmd_set_apply(int) {
    if (!check_main_sel(W_SET_FORM, SEL_REACHABLE))
        return 1;
    SetCommand cmd;
    cmd.rows = set_wlist;
    cmd.input = set_window_request();
    cmd.port_type = set_port_sel_ind;
    cmd.devices = selected_reachable();
    cmd.parent = W_SET_FORM;
    cmd.show_values_hint = true;
    set_question_parent(W_SET_FORM);
    SetOutcome so = run_set(cmd, front_end_asker());
    set_question_parent(W_MAIN_WINDOW);
    render_set_apply(so, cmd.input);
    return 1;
}
