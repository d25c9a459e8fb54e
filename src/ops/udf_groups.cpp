#include "ops/udf_groups.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <vector>

#include "catalogue/data_file_edit.h"
#include "catalogue/file_replace.h"
#include "catalogue/func_catalogue.h"
#include "catalogue/func_display.h"
#include "catalogue/mib_catalogue.h"
#include "ui/app_globals.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

const char* const CAT_DIR = "data/gui_mm_data";
const char* const MSG_NO_REF =
    "Could not find internal references to a parameter group or parameter. Software error.";
const char* const MSG_SELECT_GROUP = "You must select a parameter group.";
// Longest group name whose line "%d | %s\n" the function reader takes whole.
constexpr size_t UDF_NAME_MAX = FUNC_FILE_LINE_MAX - 7;

// The three function files in the order a delete replaces them, with their
// temporary names and line patterns.
struct FuncFile {
    const char* name;
    const char* tmp;
    FuncFileKind kind;
};
const FuncFile k_grp = {"mib_func_grp.dat", "mib_func_grp_tmp.dat", FFK_NUM};
const FuncFile k_func = {"mib_func.dat", "mib_func_tmp.dat", FFK_NAME};
const FuncFile k_vars = {"mib_func_vars.dat", "mib_func_vars_tmp.dat", FFK_NUM};

// Parameter-list choices of the window and their port type codes.
const int udf_choices[][2] = {{W_UDF_MORIX_TB, 0},       {W_UDF_ASYNC_TB, 1},
                              {W_UDF_SYNC_TB, 2},        {W_UDF_PRINTER_TB, 3},
                              {W_UDF_ETHERNET_TB, 4},    {W_UDF_WAN_INTERFACE_TB, 5},
                              {W_UDF_WAN_CHANNEL_TB, 8}, {W_UDF_CHANNELS_TB, 6}};

std::string path_of(const FuncFile& f) {
    return mm_path(CAT_DIR, f.name);
}

bool read_func_files(const std::vector<FuncFile>& files, std::vector<std::string>* contents) {
    contents->clear();
    for (const FuncFile& f : files) {
        contents->emplace_back();
        if (!read_whole_file(path_of(f), &contents->back()))
            return false;
    }
    return true;
}

// Replaces the files together; on failure the operator is told which file
// and whether the others could be kept as they were.
int replace_func_files(const std::vector<FuncFile>& files, const std::vector<std::string>& text) {
    std::vector<FileChange> changes;
    for (size_t i = 0; i < files.size(); ++i)
        changes.push_back({path_of(files[i]), files[i].tmp, text[i]});
    ReplaceFailure fail;
    if (replace_files_together(changes, &fail) == FR_OK)
        return UDF_OK;
    std::string msg =
        "Unable to update (copy into) file:\n" + fail.file + "\n(" + fail.reason + ")\n";
    if (!fail.rolled_back)
        msg += "\nData file(s) may be invalid.";
    display_warn(W_UDF_FORM, msg);
    return UDF_NOT_REPLACED;
}

// The index of the group selected in the group list, -1 when none.
int selected_group(const UdfRequest& req, std::string* name) {
    if (req.group.empty())
        return -1;
    *name = req.group;
    return find_func_by_name(req.group);
}

// Member lines of the work area; false (UDF_NO_MEMBER) for a name the
// catalogue does not have.
bool work_area_lines(const std::vector<std::string>& work, int func_id,
                     std::vector<std::string>* lines) {
    for (const std::string& item : work) {
        int id = 0;
        if (get_check_mib_var(item, &id) != 1)
            return false;
        lines->push_back(std::to_string(func_id) + " | " + std::to_string(id) + "\n");
    }
    return true;
}

// Adds item to the list list_id that holds items, at its alphabetical
// place, unless it is there already.
void add_sorted_unique(int list_id, std::vector<std::string>* items, const std::string& item) {
    if (std::find(items->begin(), items->end(), item) != items->end())
        return;
    int at = get_alpha_pos(*items, item);
    ui_list_add_item(list_id, item, at + 1);
    items->insert(items->begin() + at, item);
}

void clear_selections() {
    ui_list_deselect_all(W_UDF_GROUP_LIST);
    ui_list_deselect_all(W_UDF_PRM_LIST);
    ui_list_delete_all(W_UDF_WORK);
}

// Reads the function catalogue again and refreshes the main function list
// when it shows functions, selecting select_name there if given.
int reread_catalogue(const std::string& select_name) {
    if (read_func_info(CAT_DIR) != 0)
        return UDF_NO_REREAD;
    if (param_sel_flag == 0) {
        std::vector<std::string> items = display_mgmt_func_main(fnc_sel_ind);
        for (size_t i = 0; i < items.size() && !select_name.empty(); ++i)
            if (items[i] == select_name)
                ui_list_select_pos(W_FUNC_LIST, static_cast<int>(i) + 1, false);
    }
    return UDF_OK;
}

bool has_alnum(const std::string& s) {
    for (char c : s)
        if (std::isalnum(static_cast<unsigned char>(c)))
            return true;
    return false;
}

int check_new_name(const std::string& name) {
    if (!has_alnum(name))
        return UDF_BAD_NAME;
    int idx = find_func_by_name(name);
    if (idx >= 0) {
        display_warn(W_UDF_FORM, mib_func_list[idx]->func_id >= 128
                                     ? "This parameter group already exists."
                                     : "You cannot use a name that matches a pre-defined "
                                       "parameter group name.");
        return UDF_NAME_CLASH;
    }
    if (name.size() > UDF_NAME_MAX) {
        display_warn(W_UDF_FORM, "A group name can have at most " + std::to_string(UDF_NAME_MAX) +
                                     " characters.");
        return UDF_NAME_CLASH;
    }
    return UDF_OK;
}

} // namespace

void process_udf_open(int port_type) {
    if (read_func_info(CAT_DIR) != 0) {
        display_warn(W_MAIN_WINDOW, "Unable to read parameter group information from data file.");
        return;
    }
    display_mgmt_func(W_UDF_GROUP_LIST, FG_USER_DEFINED);
    display_mgmt_prm(W_UDF_PRM_LIST, port_type);
    gui_manage_top_form(W_UDF_FORM);
}

int udf_choice_port_type(int toggle_id) {
    for (const auto& c : udf_choices)
        if (c[0] == toggle_id)
            return c[1];
    return -1;
}

int process_udf_create(const UdfRequest& req, const std::string& name) {
    if (name.empty())
        return UDF_OK;
    int r = check_new_name(name);
    if (r != UDF_OK)
        return r;
    const std::vector<FuncFile> files = {k_vars, k_func, k_grp};
    std::vector<std::string> text;
    if (!read_func_files(files, &text))
        return UDF_NO_FILE;
    int func_id = lowest_free_udf_id(func_ids_in_use(text[1], k_func.name));
    if (func_id < 0)
        return UDF_NO_FREE_ID;
    // Every member is checked before any file changes.
    std::vector<std::string> members;
    if (!work_area_lines(req.work, func_id, &members))
        return UDF_NO_MEMBER;
    std::string id = std::to_string(func_id);
    // Members first and the group line last: until the group line is in
    // place the reader lists nothing of the new group.
    text[0] = append_lines(text[0], members);
    text[1] = append_lines(text[1], {id + " | " + name + "\n"});
    text[2] = append_lines(text[2], {id + " | 1\n"});
    // The prompt stays open so that the operator can try again.
    if (replace_func_files(files, text) != UDF_OK)
        return UDF_NO_FILE;
    std::vector<std::string> groups = req.groups;
    add_sorted_unique(W_UDF_GROUP_LIST, &groups, name);
    clear_selections();
    return reread_catalogue(name);
}

void process_udf_view(const UdfRequest& req) {
    std::string name;
    int idx = selected_group(req, &name);
    if (name.empty()) {
        display_warn(W_UDF_FORM, MSG_SELECT_GROUP);
        return;
    }
    if (idx < 0) {
        display_warn(W_UDF_FORM, MSG_NO_REF);
        return;
    }
    ui_list_delete_all(W_UDF_WORK);
    std::vector<std::string> work;
    bool missing = false;
    for (int id : mib_func_list[idx]->var_list) {
        const MibVarEntry* e = mib_var(id);
        if (e == nullptr)
            missing = true;
        else
            add_sorted_unique(W_UDF_WORK, &work, e->name);
    }
    if (missing)
        display_warn(W_UDF_FORM, "One or more parameters in the selected user-defined group "
                                 "cannot be found\nin the current MIB. Check your data files.");
}

int process_udf_modify(const UdfRequest& req) {
    std::string name;
    int idx = selected_group(req, &name);
    if (name.empty()) {
        display_warn(W_UDF_FORM, MSG_SELECT_GROUP);
        return UDF_DECLINED;
    }
    if (req.work.empty()) {
        display_warn(W_UDF_FORM, "A parameter group must contain at least one parameter.");
        return UDF_DECLINED;
    }
    if (idx < 0)
        return UDF_NO_MEMBER;
    if (!confirm_udf_change("modify", name))
        return UDF_DECLINED;
    int func_id = mib_func_list[idx]->func_id;
    std::vector<std::string> members;
    if (!work_area_lines(req.work, func_id, &members))
        return UDF_NO_MEMBER;
    std::vector<std::string> text;
    if (!read_func_files({k_vars}, &text))
        return UDF_NO_FILE;
    text[0] = append_lines(drop_func_lines(text[0], k_vars.kind, func_id), members);
    if (replace_func_files({k_vars}, text) != UDF_OK)
        return UDF_NOT_REPLACED;
    clear_selections();
    return reread_catalogue("");
}

int process_udf_delete(const UdfRequest& req) {
    std::string name;
    int idx = selected_group(req, &name);
    if (name.empty()) {
        display_warn(W_UDF_FORM, MSG_SELECT_GROUP);
        return UDF_DECLINED;
    }
    if (!confirm_udf_change("delete", name))
        return UDF_DECLINED;
    if (idx < 0)
        return UDF_NO_GROUP;
    int func_id = mib_func_list[idx]->func_id;
    // The group line goes first (the group leaves every list), then the
    // member lines, and the name line last, so that its id stays taken
    // until no member line can be inherited by a new group.
    const std::vector<FuncFile> files = {k_grp, k_vars, k_func};
    std::vector<std::string> text;
    if (!read_func_files(files, &text))
        return UDF_NO_FILE;
    for (size_t i = 0; i < files.size(); ++i)
        text[i] = drop_func_lines(text[i], files[i].kind, func_id);
    if (replace_func_files(files, text) != UDF_OK)
        return UDF_NOT_REPLACED;
    if (req.group_pos > 0)
        ui_list_delete_pos(W_UDF_GROUP_LIST, req.group_pos);
    clear_selections();
    return reread_catalogue("");
}

int confirm_udf_change(const std::string& action, const std::string& name) {
    return vask_user(W_UDF_FORM, "User Defined Group Change", "Yes", "No", 1,
                     "Do you really want to %s %s?", action.c_str(), name.c_str()) == ASK_OK
               ? 1
               : 0;
}

int check_udf_close(const UdfRequest& req) {
    std::string name;
    int idx = selected_group(req, &name);
    if (idx < 0)
        return 1;
    const std::vector<std::string>& work = req.work;
    std::set<std::string> stored;
    for (int id : mib_func_list[idx]->var_list)
        if (mib_var(id) != nullptr)
            stored.insert(mib_var(id)->name);
    if (stored.size() != work.size())
        return 0;
    for (const std::string& s : stored)
        if (std::find(work.begin(), work.end(), s) == work.end())
            return 0;
    return 1;
}

void cont_udf_close_proc() {
    ui_list_delete_all(W_UDF_WORK);
    gui_unmanage_top_form(W_UDF_FORM);
}

std::string udf_result_text(int code) {
    switch (code) {
    case UDF_NO_FILE:
        return "Could not open file.";
    case UDF_NO_GROUP:
    case UDF_NO_MEMBER:
        return MSG_NO_REF;
    case UDF_NO_REREAD:
        return "Unable to read parameter group information from data file.";
    case UDF_NO_FREE_ID:
        return "You have too many user-defined parameter groups.\nIf you want to add another "
               "group, you must delete an existing group.";
    case UDF_BAD_NAME:
        return "A group name must contain at least one alphanumeric character.";
    default:
        return "";
    }
}

void udf_add_selected(const UdfRequest& req) {
    std::vector<std::string> work = req.work;
    for (const std::string& item : req.prm_selected)
        add_sorted_unique(W_UDF_WORK, &work, item);
}

void udf_remove_selected(const UdfRequest& req) {
    std::vector<int> pos = req.work_selected;
    std::sort(pos.rbegin(), pos.rend());
    for (int p : pos)
        ui_list_delete_pos(W_UDF_WORK, p);
}

void udf_close(const UdfRequest& req) {
    if (check_udf_close(req) == 0 &&
        ask_user(W_UDF_FORM, "Question", "OK", "Cancel", 0,
                 "You made changes in the work area for an existing parameter group\nand did "
                 "not press 'Modify'. If you close the window now, your changes\nwill not take "
                 "effect.\n\nDo you want to close the window?") != ASK_OK)
        return;
    cont_udf_close_proc();
}

void udf_show_result(int code) {
    std::string text = udf_result_text(code);
    if (!text.empty())
        display_warn(W_UDF_FORM, text);
}

void udf_new_group_prompt() {
    ui_set_text(W_NAME_PROMPT_TEXT, "");
    set_dialog_title(W_NAME_PROMPT, "New Parameter Group");
    ui_manage(W_NAME_PROMPT);
}
