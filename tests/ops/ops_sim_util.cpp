#include "ops_sim_util.h"

#include <sstream>

#include "catalogue/func_display.h"
#include "devices/mrx_list.h"
#include "frame/dispatch.h"
#include "frame/set_window.h"
#include "ui/app_globals.h"
#include "ui_headless/ui_headless.h"

void OpsSim::SetUp() {
    DevicesSim::SetUp();
    g_confirm_auto_reset = 1;
    log_path = tmp.file("control.log");
}

bool OpsSim::start_logged(const std::vector<SimDeviceSetup>& devices,
                          const std::vector<std::string>& sets) {
    SimOptions o;
    o.devices = devices;
    o.sets = sets;
    o.control_log = log_path;
    sim = std::make_unique<SimProcess>(o);
    if (!sim->ready())
        ADD_FAILURE() << sim->error();
    return sim->ready();
}

void OpsSim::add_all(const std::vector<std::string>& names) {
    for (const std::string& n : names) {
        ui_set_text(W_MRX_NAME_TF, n);
        dispatch_main(W_ADD_PB);
    }
    for (int p = 1; p <= ui_list_count(W_MRX_LIST); ++p)
        ui_list_select_pos(W_MRX_LIST, p, false);
}

void OpsSim::choose_params(const std::vector<std::string>& names) {
    ui_list_set_policy(W_FUNC_LIST, LSP_EXTENDED);
    ui_list_delete_all(W_FUNC_LIST);
    for (const std::string& n : names)
        ui_list_add_item(W_FUNC_LIST, n, 0);
    for (int p = 1; p <= static_cast<int>(names.size()); ++p)
        ui_list_select_pos(W_FUNC_LIST, p, false);
    param_sel_flag = 1;
}

void OpsSim::open_set(const std::vector<std::string>& names) {
    choose_params(names);
    dispatch_main(W_SET_PB);
}

int OpsSim::row_of(const std::string& name) {
    for (int r = 0; r < static_cast<int>(set_wlist.size()); ++r)
        if (get_widget_label(set_row_id(r, SRP_TOGGLE), UI_SET_ROWS) == name)
            return r;
    ADD_FAILURE() << "no row " << name;
    return 0;
}

void OpsSim::mark(const std::string& name, const std::string& value) {
    int r = row_of(name);
    ui_set_toggle(set_row_id(r, SRP_TOGGLE), true, true, UI_SET_ROWS);
    if (set_wlist[r].enumerated)
        set_option_menu_top_button(set_row_id(r, SRP_OPTION), value, UI_SET_ROWS);
    else
        ui_set_text(set_row_id(r, SRP_TEXT), value, UI_SET_ROWS);
}

std::string OpsSim::set_messages() {
    return ui_get_text(W_SET_MSG);
}

std::vector<std::string> OpsSim::control_log() {
    std::vector<std::string> lines;
    std::istringstream in(read_file(log_path));
    for (std::string l; std::getline(in, l);)
        lines.push_back(l);
    return lines;
}
