// The rows of the registry: every window of the program with its ids,
// title, help files, placement and handlers, and in it every command with
// the function it runs. Adding a window is adding its row here, its code
// and its interface file.
#include "frame/commands.h"
#include "frame/control_windows.h"
#include "frame/registry.h"
#include "frame/set_window.h"
#include "frame/status_window.h"
#include "ops/control.h"
#include "ops/status.h"
#include "ui/ui.h"

namespace {

// Runs that ignore the id.
void set_closed(int) {
    free_set_widgets();
    ui_unmanage(W_SET_VD_DIALOG);
}

int open_form(int form) {
    gui_manage_top_form(form);
    return 1;
}

// The script folder changes while the program runs (Create Script, Compare's
// saved differences): the file list is read again each time the window opens.
int open_script_window(int form, int file_box) {
    gui_manage_top_form(form);
    ui_rescan_files(file_box);
    return 1;
}

// The main window: its commands, in menu order; the status members add
// their menu commands.
WindowRow main_window() {
    WindowRow w = {
        W_MAIN_WINDOW,
        "Morix Manager",
        {},
        {{W_WIN_HELP_PB, "main.wh"}, {W_MENU_HELP_PB, "main_menu.wh"}},
        {},
        0,
        0,
        0,
        nullptr,
        {{W_OPEN_LIST_PB, cmd_open_mrx_list},
         {W_SAVE_LIST_PB, cmd_save_mrx_list},
         {W_EXIT_PB, cmd_exit},
         {W_ABOUT_PB, cmd_about},
         {W_MRX_NAME_TF, cmd_add_mrx},
         {W_ADD_PB, cmd_add_mrx},
         {W_DELETE_PB, cmd_delete_mrx},
         {W_QUERY_PB, cmd_query_mrx},
         {W_DISC_CB, [](int) { return open_form(W_DSC_FORM); }},
         {W_NEW_DISC_PB, cmd_new_discovery},
         {W_SNMP_INFO_PB, cmd_snmp_info_open},
         {W_SHOW_PB, cmd_show_open},
         {W_MAIN_SHOW_PB, cmd_show_open},
         {W_SET_PB, cmd_set_open, true},
         {W_MAIN_SET_PB, cmd_set_open, true},
         {W_COMPARE_PB, cmd_cmp_open},
         {W_COPY_PB, cmd_copy_open, true},
         {W_SCR_CRT_PB, [](int) { return open_form(W_CRT_FORM); }},
         {W_SCR_EXE_PB, [](int) { return open_script_window(W_EXE_FORM, W_EXE_FSB); }, true},
         {W_SCR_VIEW_PB, [](int) { return open_script_window(W_VIEW_FORM, W_VIEW_FSB); }},
         {W_UNDO_PB, cmd_undo, true},
         {W_UDF_PB, cmd_udf_open},
         {W_SITE_PB, cmd_site_open},
         {W_BOOT_PB, cmd_boot, true},
         {W_RESET_PB, [](int) { return open_form(W_RST_FORM); }, true},
         {W_BCAST_PB, [](int) { return open_form(W_BCAST_FORM); }},
         {W_IMDM_PB, cmd_internal_modems},
         {W_EDIT_CFG_PB, cmd_edit_cfg_file, true},
         {W_SETUP_BTN, cmd_setup_basic},
         {W_BASIC_CMD, cmd_setup_basic},
         {W_FUNC_MODE, cmd_func_mode},
         {W_AUTO_RESET_TB, cmd_auto_reset, true},
         {W_CUSTOMIZE_TB, cmd_customize},
         {W_PT_MRX_PB, cmd_port_type},
         {W_PT_ASY_PB, cmd_port_type},
         {W_PT_SYN_PB, cmd_port_type},
         {W_PT_PTR_PB, cmd_port_type},
         {W_PT_EN_PB, cmd_port_type},
         {W_PT_DS1_PB, cmd_port_type},
         {W_PT_DS0_PB, cmd_port_type},
         {W_EVENTS_PB, cmd_events_open}}};
    for (int m = 0; m < SM_COUNT; ++m)
        if (status_member(m).menu_id != 0)
            w.commands.push_back({status_member(m).menu_id, cmd_status});
    return w;
}

// A status window: Update, the automatic refresh and its own controls all
// go to the status family.
WindowRow status_window(int form, const char* title, Placement place, std::vector<HelpRow> help,
                        std::vector<int> saves, int text, int close, std::vector<int> controls) {
    std::vector<CommandRow> commands;
    for (int id : controls)
        commands.push_back({id, status_control_command(id)});
    return {form, title, place, std::move(help),      std::move(saves),
            text, 0,     close, status_window_closed, std::move(commands)};
}

std::vector<WindowRow> make_rows() {
    std::vector<WindowRow> rows;
    rows.push_back(main_window());
    rows.push_back({W_HELP_FORM,
                    "Help",
                    {5, "MM/help", "help_top", W_HELP_SHELL, "help_form", 400, 100, 600, 400},
                    {},
                    {W_HELP_SAVE_PB},
                    W_HELP_TEXT,
                    W_HELP_CLEAR_PB,
                    W_HELP_CLOSE,
                    nullptr,
                    {}});
    rows.push_back(status_window(
        W_DVS_STAT_FORM, "DVS Status",
        {5, "MM/udas", "udas_stat_top", W_UDAS_STAT_SHELL, "udas_stat_form", 60, 275, 845, 545},
        {{W_UDAS_ST_HELP_PB, "sts_dvs.wh"}}, {W_UDAS_ST_SAVE_PB}, W_UDAS_ST_TEXT,
        W_UDAS_ST_CLOSE_PB, {W_UDAS_ST_UPDATE_PB, W_UDAS_ST_AUTO}));
    rows.push_back({W_SHOW_FORM,
                    "Show",
                    {6, "MM/show", "show_top", W_SHOW_SHELL, "show_form", 400, 100, 500, 600},
                    {{W_SHOW_HELP_PB, "show.wh"}},
                    {W_SHOW_SAVE_PB},
                    W_SHOW_TEXT,
                    W_SHOW_CLEAR_PB,
                    W_SHOW_CLOSE_PB,
                    nullptr,
                    {{W_SHOW_ASYNC_TB, cmd_show_port_type},
                     {W_SHOW_SYNC_TB, cmd_show_port_type},
                     {W_SHOW_PRINTER_TB, cmd_show_port_type},
                     {W_SHOW_ETHERNET_TB, cmd_show_port_type},
                     {W_SHOW_WAN_INTERFACE_TB, cmd_show_port_type},
                     {W_SHOW_WAN_CHANNEL_TB, cmd_show_port_type},
                     {W_SHOW_CHANNELS_TB, cmd_show_port_type},
                     {W_SHOW_WAN_INTERVAL_TB, cmd_show_port_type},
                     {W_SHOW_APPLY, cmd_show_apply}}});
    rows.push_back({W_SET_FORM,
                    "Set",
                    {6, "MM/set", "set_top", W_SET_SHELL, "set_form", 20, 325, 850, 410},
                    {{W_SET_HELP_PB, "set.wh"}},
                    {W_SET_SAVE_PB},
                    W_SET_MSG,
                    0,
                    W_SET_CLOSE,
                    set_closed,
                    {{W_SET_APPLY, cmd_set_apply},
                     {W_SET_SHOW_VALUES, cmd_set_show_values},
                     {W_SET_PORT_OM, cmd_set_port_type},
                     {W_SET_PORT_TF, nullptr},
                     {W_SET_WORK_SW, nullptr}}});
    rows.push_back(status_window(
        W_MRX_STAT_FORM, "Morix Status",
        {6, "MM/mrx", "mrx_stat_top", W_MRX_STAT_SHELL, "mrx_stat_form", 20, 200, 900, 350},
        {{W_MRX_ST_HELP_PB, "sts_mrx.wh"}}, {W_MRX_ST_SAVE_PB}, W_MRX_ST_TEXT, W_MRX_ST_CLOSE_PB,
        {W_MRX_ST_UPDATE_PB, W_MRX_ST_AUTO}));
    rows.push_back(status_window(
        W_MP_STAT_FORM, "Morix MP Status",
        {6, "MM/mp", "mp_stat_top", W_MP_STAT_SHELL, "mp_stat_form", 60, 275, 840, 440},
        {{W_MP_ST_HELP_PB, "sts_mp.wh"}}, {W_MP_ST_SAVE_PB}, W_MP_ST_TEXT, W_MP_ST_CLOSE_PB,
        {W_MP_ST_UPDATE_PB, W_MP_ST_AUTO, W_MP_ST_DETAILS_PB}));
    rows.push_back(
        {W_EVENTS_FORM,
         "Events",
         {12, "MM/events", "events_top", W_EVENTS_SHELL, "events_form", 60, 200, 900, 500},
         {{W_EV_HELP_PB, "events.wh"}},
         {W_EV_SAVE_PB},
         W_EV_TEXT,
         0,
         W_EV_CLOSE_PB,
         nullptr,
         {{W_EV_FILTER_PB, cmd_events_filter},
          {W_EV_DEVICE_TF, cmd_events_filter},
          {W_EV_KIND_TF, cmd_events_filter},
          {W_EV_SEND_HERE_PB, cmd_events_send_here, true}}});
    // The sync port status shares the async window, with a Save and a help
    // of its own.
    rows.push_back(status_window(
        W_ASY_STAT_FORM, "Morix Async Port Status",
        {8, "MM/asy", "asy_stat_top", W_ASY_STAT_SHELL, "asy_stat_form", 20, 325, 800, 475},
        {{W_ASY_ST_HELP_PB, "sts_asy.wh"}, {W_SYN_ST_HELP_PB, "sts_syn.wh"}},
        {W_ASY_ST_SAVE_PB, W_SYN_ST_SAVE_PB}, W_ASY_ST_TEXT, W_ASY_ST_CLOSE_PB,
        {W_ASY_ST_UPDATE_PB, W_ASY_ST_AUTO, W_ASY_ST_SYNC_PORTS_TB}));
    rows.push_back(status_window(
        W_ITF_STAT_FORM, "Morix Interface Port Status",
        {9, "MM/itf", "itf_stat_top", W_ITF_STAT_SHELL, "itf_stat_form", 20, 325, 775, 425},
        {{W_ITF_ST_HELP_PB, "sts_itf.wh"}}, {W_ITF_ST_SAVE_PB}, W_ITF_ST_TEXT, W_ITF_ST_CLOSE_PB,
        {W_ITF_ST_UPDATE_PB, W_ITF_ST_AUTO}));
    rows.push_back(status_window(
        W_PRI_STAT_FORM, "PRI Channels Status",
        {9, "MM/pri_chn", "pri_stat_top", W_PRI_STAT_SHELL, "pri_stat_form", 60, 275, 775, 560},
        {{W_PRI_ST_HELP_PB, "sts_pri_chn.wh"}}, {W_PRI_ST_SAVE_PB}, W_PRI_ST_TEXT,
        W_PRI_ST_CLOSE_PB, {W_PRI_ST_UPDATE_PB, W_PRI_ST_AUTO}));
    rows.push_back(status_window(
        W_IMDM_STAT_FORM, "Morix Modem Calls Status",
        {9, "MM/imdm_sts", "imdm_stat_top", W_IMDM_STAT_SHELL, "imdm_stat_form", 60, 275, 780, 360},
        {{W_IMDM_ST_HELP_PB, "sts_t1_imdm.wh"}}, {W_IMDM_ST_SAVE_PB}, W_IMDM_ST_TEXT,
        W_IMDM_ST_CLOSE_PB, {W_IMDM_ST_UPDATE_PB, W_IMDM_ST_AUTO}));
    rows.push_back(
        status_window(W_CSU_STAT_FORM, "Internal CSU Status",
                      {10, "MM/int_csu", "pri_csu_stat_top", W_PRI_CSU_STAT_SHELL,
                       "pri_csu_stat_form", 50, 100, 870, 630},
                      {{W_PRI_CSU_ST_HELP_PB, "sts_pri_csu.wh"}}, {W_PRI_CSU_ST_SAVE_PB},
                      W_PRI_CSU_ST_TEXT, W_PRI_CSU_ST_CLOSE_PB,
                      {W_PRI_CSU_ST_UPDATE_PB, W_PRI_CSU_ST_AUTO, W_PRI_CSU_ST_CURRENT_TB,
                       W_PRI_CSU_ST_TOTAL_TB, W_PRI_CSU_ST_INTERVALS_TB}));
    std::vector<CommandRow> reset;
    for (int id : {W_RST_MORIX_TB,
                   W_RST_ASYNC_PORTS_TB,
                   W_RST_PRINTER_PORTS_TB,
                   W_RST_INTERNAL_MODEMS_TB,
                   W_RST_PRI_MODULE_TB,
                   W_RST_SECURITY_TB,
                   W_RST_NAME_SERVERS_TB,
                   W_RST_ALL_SYNC_PORTS_TB,
                   W_RST_GATEWAYS_TB,
                   W_RST_ETHERNET_TB,
                   W_RST_SNMP_TB,
                   W_RST_LAT_TB,
                   W_RST_DIAL_OUT_TB,
                   W_RST_MACROS_TB,
                   W_RST_ALL_PRINTER_PORTS_TB,
                   W_RST_ALL_ASYNC_PORTS_TB,
                   W_RST_ROTARIES_TB,
                   W_RST_EXTERNAL_MODEMS_TB,
                   W_RST_SERVICES_TB,
                   W_RST_WAN_INTERFACES_TB,
                   W_RST_APPLETALK_TB,
                   W_RST_ALL_INTERNAL_MODEMS_TB,
                   W_RST_PRI_SESSIONS_TB})
        reset.push_back({id, [](int t) { return reset_option_action(t, ui_get_toggle(t)); }});
    reset.push_back({W_RST_PORT_TF, nullptr});
    reset.push_back({W_RST_APPLY, cmd_reset});
    rows.push_back({W_RST_FORM,
                    "Reset",
                    {10, "MM/rst", "rst_top", W_RST_SHELL, "rst_form", 360, 100, 640, 465},
                    {{W_RST_HELP_PB, "reset.wh"}},
                    {},
                    0,
                    0,
                    W_RST_CLOSE_PB,
                    nullptr,
                    reset});
    rows.push_back({W_BCAST_FORM,
                    "Broadcast",
                    {10, "MM/bcst", "bcast_top", W_BCAST_SHELL, "bcast_form", 400, 100, 475, 250},
                    {{W_BCAST_HELP_PB, "broadcast.wh"}},
                    {},
                    0,
                    0,
                    W_BCAST_CLOSE_PB,
                    nullptr,
                    {{W_BCAST_APPLY, cmd_bcast},
                     {W_BCAST_ALL_PORTS_TB, cmd_bcast_option},
                     {W_BCAST_ACTIVE_PORTS_TB, cmd_bcast_option},
                     {W_BCAST_CONSOLE_TB, cmd_bcast_option}}});
    rows.push_back({W_SNMP_FORM,
                    "SNMP Information",
                    {11, "MM/snmp", "snmp_top", W_SNMP_SHELL, "snmp_form", 100, 100, 660, 175},
                    {{W_SNMP_HELP_PB, "snmp.wh"}},
                    {},
                    0,
                    0,
                    W_SNMP_CLOSE_PB,
                    nullptr,
                    {{W_SNMP_SET_PB, cmd_snmp_set},
                     {W_SNMP_GET_PB, cmd_snmp_get},
                     {W_SNMP_GET_DEFAULTS_PB, cmd_snmp_get}}});
    return rows;
}

} // namespace

std::vector<WindowRow> make_more_rows();

const std::vector<WindowRow>& window_rows() {
    static const std::vector<WindowRow> rows = [] {
        std::vector<WindowRow> all = make_rows();
        for (WindowRow& w : make_more_rows())
            all.push_back(std::move(w));
        return all;
    }();
    return rows;
}
