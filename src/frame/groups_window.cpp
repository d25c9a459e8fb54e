// The User Defined Parameter Groups window: the group list, the parameter
// list of a port-type choice, the work area, and the commands that create,
// view, modify and delete a group. The group commands return what they
// did; this file keeps the window's lists and the main function list in
// step with it.
#include <algorithm>

#include "catalogue/func_catalogue.h"
#include "catalogue/func_display.h"
#include "frame/commands.h"
#include "frame/func_lists.h"
#include "frame/render.h"
#include "frame/window_asker.h"
#include "ops/udf_groups.h"
#include "ui/ui.h"

namespace {

// Parameter-list choices of the window and their port type codes.
const int udf_choices[][2] = {{W_UDF_MORIX_TB, 0},       {W_UDF_ASYNC_TB, 1},
                              {W_UDF_SYNC_TB, 2},        {W_UDF_PRINTER_TB, 3},
                              {W_UDF_ETHERNET_TB, 4},    {W_UDF_WAN_INTERFACE_TB, 5},
                              {W_UDF_WAN_CHANNEL_TB, 8}, {W_UDF_CHANNELS_TB, 6}};

int udf_choice_port_type(int toggle_id) {
    for (const auto& c : udf_choices)
        if (c[0] == toggle_id)
            return c[1];
    return -1;
}

std::string first_selected(int list_id) {
    std::vector<std::string> sel = ui_list_selected_items(list_id);
    return sel.empty() ? std::string() : sel[0];
}

// The window's lists.
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

// Adds item to the list list_id that holds items, at its alphabetical
// place, unless it is there already.
void add_sorted(int list_id, std::vector<std::string>* items, const std::string& item) {
    int at = udf_insert_sorted(items, item);
    if (at >= 0)
        ui_list_add_item(list_id, item, at + 1);
}

void clear_selections() {
    ui_list_deselect_all(W_UDF_GROUP_LIST);
    ui_list_deselect_all(W_UDF_PRM_LIST);
    ui_list_delete_all(W_UDF_WORK);
}

// The catalogue changed: the main function list again when it shows
// functions, select_name selected there if given.
void refresh_main_list(const std::string& select_name) {
    if (param_sel_flag != 0)
        return;
    std::vector<std::string> items = display_mgmt_func_main(fnc_sel_ind);
    for (size_t i = 0; i < items.size() && !select_name.empty(); ++i)
        if (items[i] == select_name)
            ui_list_select_pos(W_FUNC_LIST, static_cast<int>(i) + 1, false);
}

// Whether the group files changed (the catalogue may not have been read
// again).
bool files_changed(const UdfOutcome& u) {
    return u.code == UDF_OK || u.code == UDF_NO_REREAD;
}

// The warnings given on the way, then the result's own.
void render_udf(const UdfOutcome& u) {
    render_outcome(u.outcome, OutputArea{W_UDF_FORM});
    std::string text = udf_result_text(u.code);
    if (!text.empty())
        display_warn(W_UDF_FORM, text);
}

void view_group(const UdfRequest& req) {
    UdfOutcome u = udf_view(req.group);
    if (u.code == UDF_OK) {
        ui_list_delete_all(W_UDF_WORK);
        for (const std::string& m : u.members)
            ui_list_add_item(W_UDF_WORK, m, 0);
    }
    render_outcome(u.outcome, OutputArea{W_UDF_FORM});
}

} // namespace

int cmd_udf_open(int) {
    int code = 0;
    for (const auto& c : udf_choices)
        if (ui_get_toggle(c[0]))
            code = c[1];
    if (!udf_reload()) {
        display_warn(W_MAIN_WINDOW, "Unable to read parameter group information from data file.");
        return 1;
    }
    display_mgmt_func(W_UDF_GROUP_LIST, FG_USER_DEFINED);
    display_mgmt_prm(W_UDF_PRM_LIST, code);
    gui_manage_top_form(W_UDF_FORM);
    return 1;
}

int cmd_udf_choice(int id) {
    if (ui_get_toggle(id))
        display_mgmt_prm(W_UDF_PRM_LIST, udf_choice_port_type(id));
    return 1;
}

int cmd_udf_add(int) {
    UdfRequest req = udf_window_request();
    for (const std::string& item : req.prm_selected)
        add_sorted(W_UDF_WORK, &req.work, item);
    return 1;
}

int cmd_udf_remove(int) {
    std::vector<int> pos = udf_window_request().work_selected;
    std::sort(pos.rbegin(), pos.rend());
    for (int p : pos)
        ui_list_delete_pos(W_UDF_WORK, p);
    return 1;
}

int cmd_udf_view(int) {
    view_group(udf_window_request());
    return 1;
}

int cmd_udf_delete(int) {
    UdfRequest req = udf_window_request();
    WindowAsker asker(W_UDF_FORM);
    UdfOutcome u = udf_delete(req.group, asker);
    if (files_changed(u)) {
        if (req.group_pos > 0)
            ui_list_delete_pos(W_UDF_GROUP_LIST, req.group_pos);
        clear_selections();
    }
    if (u.code == UDF_OK)
        refresh_main_list("");
    render_udf(u);
    return 1;
}

int cmd_udf_modify(int) {
    UdfRequest req = udf_window_request();
    WindowAsker asker(W_UDF_FORM);
    UdfOutcome u = udf_modify(req.group, req.work, asker);
    if (files_changed(u))
        clear_selections();
    if (u.code == UDF_OK)
        refresh_main_list("");
    render_udf(u);
    return 1;
}

int cmd_udf_new(int) {
    ui_set_text(W_NAME_PROMPT_TEXT, "");
    set_dialog_title(W_NAME_PROMPT, "New Parameter Group");
    ui_manage(W_NAME_PROMPT);
    return 1;
}

// Close asks first when the work area holds changes Modify did not store.
int cmd_udf_close(int) {
    if (check_udf_close(udf_window_request()) == 0 &&
        ask_user(W_UDF_FORM, "Question", "OK", "Cancel", 0,
                 "You made changes in the work area for an existing parameter group\nand did "
                 "not press 'Modify'. If you close the window now, your changes\nwill not take "
                 "effect.\n\nDo you want to close the window?") != ASK_OK)
        return 1;
    ui_list_delete_all(W_UDF_WORK);
    gui_unmanage_top_form(W_UDF_FORM);
    return 1;
}

int cmd_udf_new_group(const std::string& name) {
    UdfRequest req = udf_window_request();
    UdfOutcome u = udf_create(req.work, name);
    if (files_changed(u) && !name.empty()) {
        add_sorted(W_UDF_GROUP_LIST, &req.groups, name);
        clear_selections();
    }
    if (u.code == UDF_OK)
        refresh_main_list(name);
    // The prompt shows the result's own text.
    render_outcome(u.outcome, OutputArea{W_UDF_FORM});
    return u.code;
}

void cmd_list_action(int list_id, int, int) {
    if (list_id == W_UDF_GROUP_LIST)
        view_group(udf_window_request());
    else if (list_id == W_SITE_PRM_LIST)
        cmd_site_selection();
}
