// The Copy window: opened from the main window, its Copy reads the window
// into a CopyInput.
#include "catalogue/func_display.h"
#include "devices/mrx_list.h"
#include "frame/commands.h"
#include "frame/dispatch.h"
#include "ops/copy.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/session.h"
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

// The Copy window's parameter label shows what Copy will read.
void show_cpy_params_used() {
    static const int kinds[] = {W_CPY_MAIN_WINDOW_CHOICE_TB, W_CPY_MORIX_TB,
                                W_CPY_ASYNC_PORTS_TB,        W_CPY_SYNC_PORTS_TB,
                                W_CPY_PRINTER_PORTS_TB,      W_CPY_ETHERNET_PORTS_TB,
                                W_CPY_WAN_INTERFACES_TB,     W_CPY_CHANNELS_TB};
    int chosen = W_CPY_MAIN_WINDOW_CHOICE_TB;
    for (int id : kinds)
        if (ui_get_toggle(id)) {
            chosen = id;
            break;
        }
    show_params_used(W_CPY_FORM, chosen, chosen == W_CPY_MAIN_WINDOW_CHOICE_TB);
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
    std::string k;
    cvt_port_opt_str(cpy_port_sel_ind, &k);
    process_cpy_port_sel(k);
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

int cmd_copy(int) {
    process_copy(copy_window_input());
    return 1;
}

int cmd_copy_choice(int id) {
    int done = cpy_choice_action(id, ui_get_toggle(id));
    show_cpy_params_used();
    return done;
}
