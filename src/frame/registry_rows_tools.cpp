// The rows of the registry, continued: the compare, copy, discovery,
// site default, user group and script windows, the T1 status window, the
// dialogs, and the windows of the basic-mode table.
#include "basic/int_mdms.h"
#include "basic/modem_hooks.h"
#include "devices/discovery.h"
#include "frame/commands.h"
#include "frame/control_windows.h"
#include "frame/func_lists.h"
#include "frame/int_mdms_window.h"
#include "frame/modem_window.h"
#include "frame/registry.h"
#include "frame/status_window.h"
#include "ops/control.h"
#include "ops/copy.h"
#include "ops/site_prm.h"
#include "ops/udf_groups.h"
#include "ui/ui.h"

namespace {

// The internal modems dialog: the list's selection goes with its commands.
int int_mdms_state(int id) {
    int_mdms_state_toggled(id, ui_get_toggle(id));
    return 1;
}
int int_mdms_apply(int) {
    process_apply_int_mdms(ui_list_selected_pos(W_IMDM_LIST));
    return 1;
}
int int_mdms_upd(int) {
    int_mdms_update(ui_list_selected_pos(W_IMDM_LIST));
    return 1;
}
void copy_closed(int) {
    g_cpy_copy_mode = 0;
}

std::vector<CommandRow> rows_of(std::initializer_list<int> ids, int (*run)(int)) {
    std::vector<CommandRow> out;
    for (int id : ids)
        out.push_back({id, run});
    return out;
}

std::vector<CommandRow> operator+(std::vector<CommandRow> a, const std::vector<CommandRow>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

WindowRow compare_window() {
    // Port type and what-to-compare toggles are read when Compare runs.
    return {W_CMP_FORM,
            "Compare",
            {12, "MM/comp", "cmp_top", W_CMP_SHELL, "cmp_form", 100, 100, 760, 860},
            {{W_CMP_HELP_PB, "compare.wh"}},
            {W_CMP_SAVE_PB},
            W_CMP_TEXT,
            0,
            W_CMP_CLOSE_PB,
            nullptr,
            rows_of({W_CMP_MORIX_WITH_MORIX_TB, W_CMP_MORIX_WITH_SCRIPT_TB,
                     W_CMP_SCRIPT_WITH_SCRIPT_TB},
                    cmd_cmp_kind) +
                rows_of({W_CMP_ASYNC_TB, W_CMP_SYNC_TB, W_CMP_PRINTER_TB, W_CMP_ETHERNET_TB,
                         W_CMP_WAN_INTERFACE_TB, W_CMP_WAN_CHANNEL_TB, W_CMP_CHANNELS_TB,
                         W_CMP_ALL_PORTS_TB},
                        nullptr) +
                rows_of({W_CMP_MAIN_WINDOW_CHOICE_TB, W_CMP_MORIX_TB, W_CMP_ASYNC_PORTS_TB,
                         W_CMP_SYNC_PORTS_TB, W_CMP_PRINTER_PORTS_TB, W_CMP_ETHERNET_PORTS_TB,
                         W_CMP_WAN_INTERFACES_TB},
                        cmd_cmp_choice) +
                rows_of({W_CMP_APPLY}, cmd_compare)};
}

WindowRow copy_window() {
    return {W_CPY_FORM,
            "Copy",
            {13, "MM/copy", "cpy_top", W_CPY_SHELL, "cpy_form", 100, 100, 450, 625},
            {{W_CPY_HELP_PB, "copy.wh"}},
            {W_CPY_SAVE_PB},
            W_CPY_TEXT,
            0,
            W_CPY_CLOSE_PB,
            copy_closed,
            rows_of({W_CPY_MAIN_WINDOW_CHOICE_TB, W_CPY_MORIX_TB, W_CPY_ASYNC_PORTS_TB,
                     W_CPY_SYNC_PORTS_TB, W_CPY_PRINTER_PORTS_TB, W_CPY_ETHERNET_PORTS_TB,
                     W_CPY_WAN_INTERFACES_TB, W_CPY_CHANNELS_TB, W_CPY_ASYNC_TB, W_CPY_SYNC_TB,
                     W_CPY_PRINTER_TB, W_CPY_ETHERNET_TB, W_CPY_WAN_INTERFACE_TB,
                     W_CPY_PORT_CHANNELS_TB},
                    cmd_copy_choice) +
                rows_of({W_CPY_APPLY}, cmd_copy)};
}

WindowRow discover_window() {
    // Close also empties the window: the discovery command does it.
    return {W_DSC_FORM,
            "Discover Morixes/Search Device",
            {14, "MM/disc", "disc_top", W_DISC_SHELL, "disc_form", 100, 100, 780, 600},
            {{W_DISC_HELP_PB, "discover.wh"}},
            {W_DISC_SAVE_PB},
            W_DSC_OUTPUT,
            0,
            0,
            nullptr,
            {{W_DISC_DISCOVER_PB, cmd_discover},
             {W_DISC_COPY_TO_LIST_PB, cmd_dsc_copy_to_list},
             {W_DISC_SAVE_LIST_PB, cmd_dsc_save_list},
             {W_DISC_CLOSE_PB, cmd_dsc_close}}};
}

WindowRow site_window() {
    return {W_SITE_FORM,
            "Site Parameters",
            {15, "MM/site", "site_prm_top", W_SITE_PRM_SHELL, "site_prm_form", 100, 100, 560, 375},
            {{W_SITE_PRM_HELP_PB, "site_def.wh"}},
            {},
            0,
            0,
            W_SITE_PRM_CLOSE_PB,
            nullptr,
            rows_of({W_SITE_PRM_MORIX_TB, W_SITE_PRM_ASYNC_TB, W_SITE_PRM_SYNC_TB,
                     W_SITE_PRM_PRINTER_TB, W_SITE_PRM_ETHERNET_TB, W_SITE_PRM_CHANNELS_TB,
                     W_SITE_PRM_WAN_INTERFACE_TB, W_SITE_PRM_WAN_CHANNEL_TB},
                    cmd_site_choice) +
                rows_of({W_SITE_MODIFY, W_SITE_REMOVE}, cmd_site_modify)};
}

WindowRow udf_window() {
    // Close asks about unsaved changes: the group command does it.
    return {W_UDF_FORM,
            "User Defined Parameter Groups",
            {16, "MM/udf", "udf_top", W_UDF_SHELL, "udf_form", 100, 100, 810, 375},
            {{W_UDF_HELP_PB, "usr_def_prm_grps.wh"}},
            {},
            0,
            0,
            0,
            nullptr,
            std::vector<CommandRow>{{W_UDF_ADD, cmd_udf_add},
                                    {W_UDF_REMOVE, cmd_udf_remove},
                                    {W_UDF_VIEW, cmd_udf_view},
                                    {W_UDF_DELETE, cmd_udf_delete},
                                    {W_UDF_MODIFY, cmd_udf_modify},
                                    {W_UDF_NEW, cmd_udf_new},
                                    {W_UDF_CLOSE, cmd_udf_close}} +
                rows_of({W_UDF_MORIX_TB, W_UDF_ASYNC_TB, W_UDF_SYNC_TB, W_UDF_PRINTER_TB,
                         W_UDF_ETHERNET_TB, W_UDF_WAN_INTERFACE_TB, W_UDF_WAN_CHANNEL_TB,
                         W_UDF_CHANNELS_TB},
                        cmd_udf_choice)};
}

WindowRow view_window() {
    return {W_VIEW_FORM,
            "View Script",
            {16, "MM/view", "scr_view_top", W_SCR_VIEW_SHELL, "scr_view_form", 400, 100, 700, 580},
            {{W_SCR_VIEW_HELP_PB, "script_view.wh"}},
            {},
            0,
            0,
            W_SCR_VIEW_CLOSE_PB,
            nullptr,
            {{W_VIEW_APPLY, cmd_script_view}}};
}

WindowRow create_window() {
    // The option toggles are read when Create runs.
    return {W_CRT_FORM,
            "Create Script",
            {17, "MM/crt", "scr_crt_top", W_SCR_CRT_SHELL, "scr_crt_form", 400, 100, 700, 425},
            {{W_SCR_CRT_HELP_PB, "script_create.wh"}},
            {W_SCR_CRT_SAVE_PB},
            W_CRT_TEXT,
            0,
            W_SCR_CRT_CLOSE_PB,
            nullptr,
            rows_of({W_SCR_SEL_PRM_TB, W_SCR_CRT_ALL_PARAMETERS_TB, W_SCR_CRT_DEVICE_PARAMETERS_TB,
                     W_SCR_CRT_ASYNC_PORT_PRMS_TB, W_SCR_CRT_PTR_PORT_PRMS_TB,
                     W_SCR_CRT_ITF_PRMS_TB, W_SCR_CRT_CHANNEL_PARAMETERS_TB, W_SCR_CRT_DS1_TB},
                    nullptr) +
                rows_of({W_CRT_CREATE}, cmd_script_create) +
                rows_of({W_SCR_PRT_D_OK_PB}, cmd_script_create_ports) +
                rows_of({W_SCR_PRT_D_CANCEL_PB}, cmd_port_dialog_cancel)};
}

WindowRow execute_window() {
    return {W_EXE_FORM,
            "Execute Script",
            {18, "MM/exe", "scr_exe_top", W_SCR_EXE_SHELL, "scr_exe_form", 400, 175, 700, 620},
            {{W_SCR_EXE_HELP_PB, "script_execute.wh"}},
            {W_SCR_EXE_SAVE_PB},
            W_EXE_TEXT,
            0,
            W_SCR_EXE_CLOSE_PB,
            nullptr,
            {{W_EXE_APPLY, cmd_script_execute},
             {W_SCR_EXE_PRT_D_OK_PB, cmd_script_execute_ports},
             {W_SCR_EXE_PRT_D_CANCEL_PB, cmd_port_dialog_cancel}}};
}

WindowRow t1_window() {
    return {W_T1_STAT_FORM,
            "T1 Status",
            {19, "MM/t1", "t1_stat_top", W_T1_STAT_SHELL, "t1_stat_form", 50, 100, 870, 630},
            {{W_T1_ST_HELP_PB, "sts_t1_csu.wh"}},
            {W_T1_ST_SAVE_PB},
            W_T1_ST_TEXT,
            0,
            W_T1_ST_CLOSE_PB,
            status_window_closed,
            {{W_T1_ST_UPDATE_PB, cmd_status_update},
             {W_T1_ST_AUTO, cmd_status_auto},
             {W_T1_ST_CURRENT_TB, cmd_status_option},
             {W_T1_ST_TOTAL_TB, cmd_status_option},
             {W_T1_ST_INTERVALS_TB, cmd_status_option}}};
}

// Dialogs built on demand (no staged shell).
WindowRow dialog(int form, const char* title, std::vector<HelpRow> help, int close,
                 std::vector<CommandRow> commands) {
    return {form, title, {}, std::move(help), {}, 0, 0, close, nullptr, std::move(commands)};
}

} // namespace

std::vector<WindowRow> make_more_rows() {
    std::vector<WindowRow> rows;
    rows.push_back(compare_window());
    rows.push_back(copy_window());
    rows.push_back(discover_window());
    rows.push_back(site_window());
    rows.push_back(udf_window());
    rows.push_back(view_window());
    rows.push_back(create_window());
    rows.push_back(execute_window());
    rows.push_back(t1_window());
    rows.push_back(dialog(W_DSC_PROMPT, "Network Discovery", {}, 0,
                          {{W_DSC_PROMPT_OK, cmd_dsc_prompt_ok},
                           {W_DSC_PROMPT_CANCEL, cmd_dsc_prompt_cancel},
                           {W_DSC_PROMPT_HELP, cmd_dsc_prompt_help}}));
    rows.push_back(
        dialog(W_BOOT_DIALOG, "Boot", {{W_BOOT_D_HELP_PB, "boot.wh"}}, W_BOOT_D_CLOSE_PB,
               rows_of({W_BOOT_D_BOOT_NOW_TB, W_BOOT_D_TIMED_BOOT_TB, W_BOOT_D_CANCEL_TIMED_BOOT_TB,
                        W_BOOT_D_DUMP_AND_BOOT_TB, W_BOOT_D_BOOT_FROM_FLASH_TB,
                        W_BOOT_D_LOAD_IMG_TO_FLASH_TB, W_BOOT_D_SHUT_DOWN_TB},
                       cmd_boot_option) +
                   rows_of({W_BOOT_APPLY}, cmd_boot_apply)));
    rows.push_back(dialog(W_IMDM_DIALOG, "Internal Modems", {{W_INT_MDMS_D_HELP_PB, "intmdms.wh"}},
                          W_INT_MDMS_D_CLOSE_PB,
                          rows_of({W_IMDM_AVAIL_TB, W_IMDM_BUSY_TB}, int_mdms_state) +
                              std::vector<CommandRow>{{W_IMDM_APPLY, int_mdms_apply, true},
                                                      {W_IMDM_UPDATE, int_mdms_upd}}));
    rows.push_back(
        dialog(W_MDM_DIALOG, "Edit Modem", {}, 0,
               rows_of({W_MDM_NAME_TF, W_MDM_CONNECT_TF, W_MDM_DIALIN_TF, W_MDM_DIALOUT_TF},
                       modem_dialog_field) +
                   std::vector<CommandRow>{{W_MDM_DEFS_TB, modem_dialog_defaults},
                                           {W_MDM_OK, modem_dialog_ok},
                                           {W_MDM_REMOVE, modem_dialog_remove},
                                           {W_MDM_CANCEL, modem_dialog_cancel}}));
    return rows;
}

const std::vector<BasicWindowRow>& basic_window_rows() {
    // The setup window's help shows the help of its page; the setup
    // window, General continued and WAN edit close through their pages
    // (which ask about unapplied changes).
    static const std::vector<BasicWindowRow> rows = {
        {BW_SETUP_FORM, {BW_SETUP_HELP, nullptr}, -1, {BW_SETUP_APPLY}},
        {BW_GEN_CONT_FORM, {BW_GEN_CONT_HELP, "stdGeneral2.wh"}, -1, {BW_GEN_CONT_OK}},
        {BW_ADD_FORM, {BW_A_APORT_HELP_PB, "stdAsyncPort3.wh"}, BW_ADD_CLOSE, {BW_ADD_OK}},
        {BW_WAN_EDIT_FORM, {BW_WAN_EDIT_HELP, "stdWanMod2.wh"}, -1, {BW_WAN_EDIT_APPLY}}};
    return rows;
}
