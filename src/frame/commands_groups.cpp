// The site-default and user-group windows: their commands read the window
// into a request.
#include "catalogue/func_display.h"
#include "frame/commands.h"
#include "ops/site_prm.h"
#include "ops/udf_groups.h"
#include "ui/ui.h"

namespace {

const int site_choice_ids[] = {W_SITE_PRM_MORIX_TB,         W_SITE_PRM_ASYNC_TB,
                               W_SITE_PRM_SYNC_TB,          W_SITE_PRM_PRINTER_TB,
                               W_SITE_PRM_ETHERNET_TB,      W_SITE_PRM_CHANNELS_TB,
                               W_SITE_PRM_WAN_INTERFACE_TB, W_SITE_PRM_WAN_CHANNEL_TB};
const int udf_choice_ids[] = {W_UDF_MORIX_TB,       W_UDF_ASYNC_TB,    W_UDF_SYNC_TB,
                              W_UDF_PRINTER_TB,     W_UDF_ETHERNET_TB, W_UDF_WAN_INTERFACE_TB,
                              W_UDF_WAN_CHANNEL_TB, W_UDF_CHANNELS_TB};

std::string first_selected(int list_id) {
    std::vector<std::string> sel = ui_list_selected_items(list_id);
    return sel.empty() ? std::string() : sel[0];
}

// The user groups window's lists.
UdfRequest udf_window_request() {
    UdfRequest req;
    req.group = first_selected(W_UDF_GROUP_LIST);
    std::vector<int> pos = ui_list_selected_pos(W_UDF_GROUP_LIST);
    req.group_pos = pos.empty() ? 0 : pos[0];
    req.groups = ui_list_items(W_UDF_GROUP_LIST);
    req.work = ui_list_items(W_UDF_WORK);
    req.work_selected = ui_list_selected_pos(W_UDF_WORK);
    req.prm_selected = ui_list_selected_items(W_UDF_PRM_LIST);
    return req;
}

} // namespace

int cmd_udf_open(int) {
    int code = 0;
    for (int id : udf_choice_ids)
        if (ui_get_toggle(id))
            code = udf_choice_port_type(id);
    process_udf_open(code);
    return 1;
}

int cmd_udf_choice(int id) {
    if (ui_get_toggle(id))
        display_mgmt_prm(W_UDF_PRM_LIST, udf_choice_port_type(id));
    return 1;
}

int cmd_udf_add(int) {
    udf_add_selected(udf_window_request());
    return 1;
}

int cmd_udf_remove(int) {
    udf_remove_selected(udf_window_request());
    return 1;
}

int cmd_udf_view(int) {
    process_udf_view(udf_window_request());
    return 1;
}

int cmd_udf_delete(int) {
    udf_show_result(process_udf_delete(udf_window_request()));
    return 1;
}

int cmd_udf_modify(int) {
    udf_show_result(process_udf_modify(udf_window_request()));
    return 1;
}

int cmd_udf_new(int) {
    udf_new_group_prompt();
    return 1;
}

int cmd_udf_close(int) {
    udf_close(udf_window_request());
    return 1;
}

int cmd_udf_new_group(const std::string& name) {
    return process_udf_create(udf_window_request(), name);
}

int cmd_site_open(int) {
    int choice = 0;
    for (int id : site_choice_ids)
        if (ui_get_toggle(id))
            choice = id;
    process_site_params(choice);
    return 1;
}

int cmd_site_choice(int id) {
    process_site_params_list(id, ui_get_toggle(id));
    return 1;
}

int cmd_site_modify(int id) {
    process_site_prm_mod(id == W_SITE_REMOVE ? 1 : 0, ui_get_option(W_SITE_DEF_VAL_OM),
                         ui_get_text(W_SITE_DEF_VAL_TF));
    return 1;
}

void cmd_site_selection() {
    update_sel_prm(first_selected(W_SITE_PRM_LIST));
}

void cmd_list_action(int list_id, int, int) {
    if (list_id == W_UDF_GROUP_LIST)
        process_udf_view(udf_window_request());
    else if (list_id == W_SITE_PRM_LIST)
        cmd_site_selection();
}
