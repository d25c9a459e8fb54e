// The Copy window: opened from the main window, its Copy reads the window
// into a CopyInput, asks for the confirmation and renders what the copy did.
#include "catalogue/func_display.h"
#include "devices/mrx_list.h"
#include "frame/commands.h"
#include "frame/dispatch.h"
#include "frame/func_lists.h"
#include "frame/render.h"
#include "ops/copy.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/session.h"
#include "ui/progress.h"
#include "ui/ui.h"

namespace {

void refill(int list, const std::vector<std::string>& names) {
    std::vector<std::string> kept = ui_list_selected_items(list);
    ui_list_delete_all(list);
    for (size_t i = 0; i < names.size(); ++i) {
        ui_list_add_item(list, names[i], 0);
        for (const std::string& k : kept)
            if (k == names[i])
                ui_list_select_pos(list, static_cast<int>(i) + 1, false);
    }
}

// The device lists of the window: the reachable devices, the choices that
// are still listed kept.
void fill_cpy_lists() {
    std::vector<std::string> names;
    for (int p = 0; p < MAX_MRX_SLOTS && session().devices()[p]; ++p)
        if (session().devices()[p]->reachable)
            names.push_back(session().devices()[p]->name);
    refill(W_CPY_FROM_LIST, names);
    refill(W_CPY_TO_LIST, names);
}

// The Copy window's parameter label names what Copy will read: the main
// window's choice, or every parameter of the kind chosen (the code the
// Copy button takes, not the toggles' state while they change).
void show_cpy_params_used() {
    g_cpy_copy_mode = cpy_ind == CPY_MAIN ? 1 : 0;
    if (cpy_ind == CPY_MAIN)
        update_act_hlp_label(W_CPY_FORM);
    else
        set_widget_label(W_CPY_ACT_HLP_LBL, cpy_kind_label(cpy_ind));
}

// Both port fields' labels name the port type chosen.
void show_cpy_port_type(int port_type) {
    std::string k;
    cvt_port_opt_str(port_type, &k);
    set_widget_label(W_CPY_FROM_PORT_LBL, cpy_from_port_label(k));
    set_widget_label(W_CPY_TO_PORT_LBL, cpy_to_port_label(k));
}

const CopyChoice* find_choice(const std::vector<CopyChoice>& table, int id) {
    for (const CopyChoice& c : table)
        if (c.id == id)
            return &c;
    return nullptr;
}

// Keeps one toggle of a group set (the window's radio behaviour, also when
// a toggle is set by id without the toolkit).
void set_only(const std::vector<CopyChoice>& table, int id) {
    for (const CopyChoice& c : table)
        if (c.id != id)
            ui_set_toggle(c.id, false, false);
}

// A kind toggle or port type choice turned on (set) or off; 1 when id is
// one of them.
int cpy_choice_action(int id, bool set) {
    if (const CopyChoice* c = find_choice(cpy_kind_choices(), id)) {
        if (set) {
            set_only(cpy_kind_choices(), id);
            cpy_ind = c->code;
        }
        return 1;
    }
    if (const CopyChoice* c = find_choice(cpy_port_choices(), id)) {
        if (set) {
            set_only(cpy_port_choices(), id);
            cpy_port_sel_ind = c->code;
            show_cpy_port_type(c->code);
        }
        return 1;
    }
    return 0;
}

// A copy's outcome in the window: the report and warnings, the automatic
// reset's question over the window and its lines, then the closing line.
void render_copy(const CopyRequest& req) {
    const OutputArea area{W_CPY_FORM, W_CPY_TEXT, true, true};
    CopyOutcome copy = copy_build(req);
    render_outcome(copy.outcome, area);
    set_question_parent(W_CPY_FORM);
    Outcome reset = copy_reset(copy, front_end_asker());
    set_question_parent(W_MAIN_WINDOW);
    render_outcome(reset, area);
    if (!copy.closing.empty())
        write_otp_msg(W_CPY_TEXT, copy.closing, 0, 1);
}

void open_cpy_window() {
    static bool listening = false;
    if (!listening) {
        add_mrx_list_listener([] {
            if (ui_is_managed(W_CPY_FORM))
                fill_cpy_lists();
        });
        listening = true;
    }
    ui_list_set_policy(W_CPY_FROM_LIST, LSP_SINGLE);
    ui_list_set_policy(W_CPY_TO_LIST, LSP_MULTIPLE);
    fill_cpy_lists();
    show_cpy_params_used();
    show_cpy_port_type(cpy_port_sel_ind);
    gui_manage_top_form(W_CPY_FORM);
}

// The Copy window's input: the chosen rows (a single device is chosen on
// both sides), kind, port type, port fields and the main list's choice.
CopyInput copy_window_input() {
    if (ui_list_count(W_CPY_FROM_LIST) == 1) {
        ui_list_select_pos(W_CPY_FROM_LIST, 1, false);
        ui_list_select_pos(W_CPY_TO_LIST, 1, false);
    }
    CopyInput in;
    in.from = ui_list_selected_items(W_CPY_FROM_LIST);
    in.to = ui_list_selected_items(W_CPY_TO_LIST);
    in.code = cpy_ind;
    in.port_type = cpy_port_sel_ind;
    in.from_ports = ui_get_text(W_CPY_FROM_PORT_TF);
    in.to_ports = ui_get_text(W_CPY_TO_PORT_TF);
    in.param_sel = param_sel_flag;
    in.items = ui_list_selected_items(W_FUNC_LIST);
    return in;
}

} // namespace

int cmd_copy_open(int) {
    open_cpy_window();
    return 1;
}

// The Copy button: the input checked, the confirmation, the copy.
int cmd_copy(int) {
    ui_set_text(W_CPY_TEXT, "");
    CopyRequest req;
    Outcome checked = check_copy(copy_window_input(), &req);
    if (checked.result != Result::done) {
        render_outcome(checked, OutputArea{W_CPY_FORM, W_CPY_TEXT, true, true});
        return 1;
    }
    gui_display_question(W_CPY_FORM, cpy_conf_text(req.dst_names), "", [req] { render_copy(req); });
    return 1;
}

int cmd_copy_choice(int id) {
    int done = cpy_choice_action(id, ui_get_toggle(id));
    show_cpy_params_used();
    return done;
}
