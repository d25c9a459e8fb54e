#include "ops/udf_groups.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <vector>

#include "catalogue/data_file_edit.h"
#include "catalogue/file_replace.h"
#include "catalogue/func_catalogue.h"
#include "catalogue/mib_catalogue.h"
#include "ui/app_globals.h"

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

// Replaces the files together; on failure the warning says which file and
// whether the others could be kept as they were.
int replace_func_files(const std::vector<FuncFile>& files, const std::vector<std::string>& text,
                       Outcome* o) {
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
    o->warnings.push_back(msg);
    return UDF_NOT_REPLACED;
}

// The catalogue index of a group, -1 when there is none of that name.
int group_index(const std::string& group) {
    return group.empty() ? -1 : find_func_by_name(group);
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

bool has_alnum(const std::string& s) {
    for (char c : s)
        if (std::isalnum(static_cast<unsigned char>(c)))
            return true;
    return false;
}

int check_new_name(const std::string& name, Outcome* o) {
    if (!has_alnum(name))
        return UDF_BAD_NAME;
    int idx = find_func_by_name(name);
    if (idx >= 0) {
        o->warnings.push_back(mib_func_list[idx]->func_id >= 128
                                  ? "This parameter group already exists."
                                  : "You cannot use a name that matches a pre-defined "
                                    "parameter group name.");
        return UDF_NAME_CLASH;
    }
    if (name.size() > UDF_NAME_MAX) {
        o->warnings.push_back("A group name can have at most " + std::to_string(UDF_NAME_MAX) +
                              " characters.");
        return UDF_NAME_CLASH;
    }
    return UDF_OK;
}

// The outcome of code (with the warnings given on the way).
UdfOutcome finish(UdfOutcome u, int code) {
    u.code = code;
    switch (code) {
    case UDF_OK:
        u.outcome.result = Result::done;
        break;
    case UDF_DECLINED:
        u.outcome.result = Result::cancelled;
        break;
    case UDF_NO_FILE:
    case UDF_NO_REREAD:
    case UDF_NOT_REPLACED:
        u.outcome.result = Result::failed;
        break;
    default:
        u.outcome.result = Result::refused;
    }
    return u;
}

UdfOutcome refusal(const std::string& warning, int code) {
    UdfOutcome u;
    u.outcome.warnings.push_back(warning);
    return finish(u, code);
}

bool confirm_change(Asker& asker, const std::string& action, const std::string& name) {
    Question q;
    q.title = "User Defined Group Change";
    q.text = "Do you really want to " + action + " " + name + "?";
    q.ok_label = "Yes";
    q.cancel_label = "No";
    q.default_ok = true;
    return asker.ask(q);
}

} // namespace

bool udf_reload() {
    return read_func_info(CAT_DIR) == 0;
}

std::vector<std::string> udf_group_names() {
    std::vector<std::string> names;
    for (int fid : mib_grp_list[FG_USER_DEFINED]) {
        int idx = find_func_by_id(fid);
        if (idx >= 0)
            udf_insert_sorted(&names, mib_func_list[idx]->name);
    }
    return names;
}

UdfOutcome udf_create(const std::vector<std::string>& work, const std::string& name) {
    UdfOutcome u;
    if (name.empty())
        return finish(u, UDF_OK);
    int r = check_new_name(name, &u.outcome);
    if (r != UDF_OK)
        return finish(u, r);
    const std::vector<FuncFile> files = {k_vars, k_func, k_grp};
    std::vector<std::string> text;
    if (!read_func_files(files, &text))
        return finish(u, UDF_NO_FILE);
    int func_id = lowest_free_udf_id(func_ids_in_use(text[1], k_func.name));
    if (func_id < 0)
        return finish(u, UDF_NO_FREE_ID);
    // Every member is checked before any file changes.
    std::vector<std::string> members;
    if (!work_area_lines(work, func_id, &members))
        return finish(u, UDF_NO_MEMBER);
    std::string id = std::to_string(func_id);
    // Members first and the group line last: until the group line is in
    // place the reader lists nothing of the new group.
    text[0] = append_lines(text[0], members);
    text[1] = append_lines(text[1], {id + " | " + name + "\n"});
    text[2] = append_lines(text[2], {id + " | 1\n"});
    // The prompt stays open so that the operator can try again.
    if (replace_func_files(files, text, &u.outcome) != UDF_OK)
        return finish(u, UDF_NO_FILE);
    return finish(u, udf_reload() ? UDF_OK : UDF_NO_REREAD);
}

UdfOutcome udf_view(const std::string& group) {
    if (group.empty())
        return refusal(MSG_SELECT_GROUP, UDF_NO_GROUP);
    int idx = group_index(group);
    if (idx < 0)
        return refusal(MSG_NO_REF, UDF_NO_GROUP);
    UdfOutcome u;
    bool missing = false;
    for (int id : mib_func_list[idx]->var_list) {
        const MibVarEntry* e = mib_var(id);
        if (e == nullptr)
            missing = true;
        else
            udf_insert_sorted(&u.members, e->name);
    }
    if (missing)
        u.outcome.warnings.push_back("One or more parameters in the selected user-defined group "
                                     "cannot be found\nin the current MIB. Check your data "
                                     "files.");
    return finish(u, UDF_OK);
}

UdfOutcome udf_modify(const std::string& group, const std::vector<std::string>& work,
                      Asker& asker) {
    if (group.empty())
        return refusal(MSG_SELECT_GROUP, UDF_DECLINED);
    if (work.empty())
        return refusal("A parameter group must contain at least one parameter.", UDF_DECLINED);
    int idx = group_index(group);
    UdfOutcome u;
    if (idx < 0)
        return finish(u, UDF_NO_MEMBER);
    if (!confirm_change(asker, "modify", group))
        return finish(u, UDF_DECLINED);
    int func_id = mib_func_list[idx]->func_id;
    std::vector<std::string> members;
    if (!work_area_lines(work, func_id, &members))
        return finish(u, UDF_NO_MEMBER);
    std::vector<std::string> text;
    if (!read_func_files({k_vars}, &text))
        return finish(u, UDF_NO_FILE);
    text[0] = append_lines(drop_func_lines(text[0], k_vars.kind, func_id), members);
    if (replace_func_files({k_vars}, text, &u.outcome) != UDF_OK)
        return finish(u, UDF_NOT_REPLACED);
    return finish(u, udf_reload() ? UDF_OK : UDF_NO_REREAD);
}

UdfOutcome udf_delete(const std::string& group, Asker& asker) {
    if (group.empty())
        return refusal(MSG_SELECT_GROUP, UDF_DECLINED);
    UdfOutcome u;
    if (!confirm_change(asker, "delete", group))
        return finish(u, UDF_DECLINED);
    int idx = group_index(group);
    if (idx < 0)
        return finish(u, UDF_NO_GROUP);
    int func_id = mib_func_list[idx]->func_id;
    // The group line goes first (the group leaves every list), then the
    // member lines, and the name line last, so that its id stays taken
    // until no member line can be inherited by a new group.
    const std::vector<FuncFile> files = {k_grp, k_vars, k_func};
    std::vector<std::string> text;
    if (!read_func_files(files, &text))
        return finish(u, UDF_NO_FILE);
    for (size_t i = 0; i < files.size(); ++i)
        text[i] = drop_func_lines(text[i], files[i].kind, func_id);
    if (replace_func_files(files, text, &u.outcome) != UDF_OK)
        return finish(u, UDF_NOT_REPLACED);
    return finish(u, udf_reload() ? UDF_OK : UDF_NO_REREAD);
}

int check_udf_close(const UdfRequest& req) {
    int idx = group_index(req.group);
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

int udf_insert_sorted(std::vector<std::string>* items, const std::string& item) {
    if (std::find(items->begin(), items->end(), item) != items->end())
        return -1;
    int at = get_alpha_pos(*items, item);
    items->insert(items->begin() + at, item);
    return at;
}
