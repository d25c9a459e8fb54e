// The Compare window's device sides and kind switching, and the port
// dialogs of script creation and execution, driven by widget id.
#include "frame/script_windows.h"
#include "snmp_access/session.h"

#include "catalogue/func_display.h"
#include "devices/mrx_list.h"
#include "frame/dispatch.h"
#include "frame/render.h"
#include "snmp_access/morix_record.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"
#include "ui/window_state.h"

namespace {

// Which sides are devices, per compare kind.
constexpr bool side_is_device[4][2] = {{true, true}, {true, true}, {true, false}, {false, false}};

// Port type of each port toggle of the Compare window.
struct CmpPortTb {
    int id, port_type;
};
constexpr CmpPortTb cmp_port_tb[] = {{W_CMP_ASYNC_TB, 1},         {W_CMP_SYNC_TB, 2},
                                     {W_CMP_PRINTER_TB, 3},       {W_CMP_ETHERNET_TB, 4},
                                     {W_CMP_WAN_INTERFACE_TB, 5}, {W_CMP_WAN_CHANNEL_TB, 8},
                                     {W_CMP_CHANNELS_TB, 6}};

// What two devices compare (codes 1..7), one toggle each: the main window's
// choice, the device's own parameters, then one port kind each.
constexpr int cmp_code_tb[] = {W_CMP_MAIN_WINDOW_CHOICE_TB, W_CMP_MORIX_TB,
                               W_CMP_ASYNC_PORTS_TB,        W_CMP_SYNC_PORTS_TB,
                               W_CMP_PRINTER_PORTS_TB,      W_CMP_ETHERNET_PORTS_TB,
                               W_CMP_WAN_INTERFACES_TB};

int cmp_window_code() {
    for (int i = 0; i < 7; ++i)
        if (ui_get_toggle(cmp_code_tb[i]))
            return i + 1;
    return 2;
}

int current_kind() {
    for (int k = 0; k < 3; ++k)
        if (ui_get_toggle(W_CMP_KIND_TB[k]))
            return k + 1;
    return CMP_MRX_MRX;
}

void fill_cmp_lists() {
    for (int list : W_CMP_LIST) {
        std::vector<std::string> kept = ui_list_selected_items(list);
        ui_list_delete_all(list);
        int pos = 0;
        for (int p = 0; p < MAX_MRX_SLOTS && session().devices()[p]; ++p) {
            if (!session().devices()[p]->reachable)
                continue;
            ui_list_add_item(list, session().devices()[p]->name, 0);
            ++pos;
            for (const std::string& k : kept)
                if (k == session().devices()[p]->name)
                    ui_list_select_pos(list, pos, false);
        }
    }
}

// A device side with one device has it selected.
std::string side_device(int side) {
    if (ui_list_count(W_CMP_LIST[side]) == 1)
        ui_list_select_pos(W_CMP_LIST[side], 1, false);
    std::vector<std::string> sel = ui_list_selected_items(W_CMP_LIST[side]);
    return sel.empty() ? "" : sel[0];
}

} // namespace

void open_cmp_window() {
    static bool listening = false;
    if (!listening) {
        add_mrx_list_listener([] {
            if (ui_is_managed(W_CMP_FORM))
                fill_cmp_lists();
        });
        listening = true;
    }
    fill_cmp_lists();
    display_cmp_kind(current_kind());
    show_cmp_params_used();
    gui_manage_top_form(W_CMP_FORM);
    // Scripts made since the window was last open are listed too.
    for (int box : W_CMP_FSB)
        ui_rescan_files(box);
}

void show_cmp_params_used() {
    int code = cmp_window_code();
    bool devices = current_kind() == CMP_MRX_MRX;
    show_params_used(W_CMP_FORM, devices ? cmp_code_tb[code - 1] : 0, devices && code == 1);
}

void display_cmp_kind(int kind) {
    if (kind < 1 || kind > 3)
        return;
    for (int side = 0; side < 2; ++side) {
        bool dev = side_is_device[kind][side];
        set_widget_label(W_CMP_TITLE[side], dev ? "Morix List" : "Script List");
        if (dev) {
            ui_unmanage(W_CMP_FSB[side]);
            ui_manage(W_CMP_DEV[side]);
        } else {
            ui_unmanage(W_CMP_DEV[side]);
            ui_manage(W_CMP_FSB[side]);
        }
        ui_set_sensitive(W_CMP_PORT_ROW[side], dev);
    }
}

CmpRequest cmp_window_request() {
    CmpRequest req;
    req.kind = current_kind();
    for (const CmpPortTb& p : cmp_port_tb)
        if (ui_get_toggle(p.id))
            req.port_type = p.port_type;
    req.code = cmp_window_code();
    if (side_is_device[req.kind][0]) {
        req.mrx1 = side_device(0);
        req.ports1 = ui_get_text(W_CMP_PORT_TF[0]);
    }
    if (side_is_device[req.kind][1]) {
        req.mrx2 = side_device(1);
        req.ports2 = ui_get_text(W_CMP_PORT_TF[1]);
    }
    // The script of a device-and-script compare is on the second side.
    req.file1 = ui_get_text(W_CMP_FSB[req.kind == CMP_MRX_FIL ? 1 : 0]);
    req.file2 = ui_get_text(W_CMP_FSB[1]);
    return req;
}

int show_compare(CmpRequest req, int output, int parent) {
    req.items = main_selection().params;
    req.param_sel = param_sel_flag;
    req.parent = parent;
    CmpOutcome out = process_compare(req);
    render_outcome(out.outcome, OutputArea{parent, output, true, true});
    return out.diffs;
}

void open_scr_port_dialog(const ScrPortDialog& d, const ScrKinds& kinds,
                          const std::array<std::string, SK_COUNT>& texts) {
    for (int k = SK_ASY; k < SK_COUNT; ++k) {
        int id = d.first_field + k - SK_ASY;
        ui_set_text(id, kinds[k] ? texts[k] : "");
        ui_set_sensitive(id, kinds[k]);
        ui_set_read_only(id, k == SK_EN || k == SK_DS1INF);
    }
    ui_manage(d.slot);
}

std::array<std::string, SK_COUNT> read_scr_port_dialog(const ScrPortDialog& d) {
    std::array<std::string, SK_COUNT> texts{};
    for (int k = SK_ASY; k < SK_COUNT; ++k)
        texts[k] = ui_get_text(d.first_field + k - SK_ASY);
    return texts;
}

ScrCrtOptions scr_crt_window_options() {
    // Selected, all, then one toggle per category in category order.
    constexpr int category_tb[SC_COUNT] = {
        W_SCR_CRT_DEVICE_PARAMETERS_TB, W_SCR_CRT_ASYNC_PORT_PRMS_TB,    W_SCR_CRT_PTR_PORT_PRMS_TB,
        W_SCR_CRT_ITF_PRMS_TB,          W_SCR_CRT_CHANNEL_PARAMETERS_TB, W_SCR_CRT_DS1_TB};
    ScrCrtOptions opt;
    opt.selected = ui_get_toggle(W_SCR_SEL_PRM_TB);
    opt.all = ui_get_toggle(W_SCR_CRT_ALL_PARAMETERS_TB);
    for (int c = 0; c < SC_COUNT; ++c)
        opt.category[c] = ui_get_toggle(category_tb[c]);
    opt.wildcard = ui_get_toggle(W_SCR_CRT_WILD_TB);
    return opt;
}
