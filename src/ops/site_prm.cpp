#include "ops/site_prm.h"

#include <cctype>
#include <vector>

#include "catalogue/data_file_edit.h"
#include "catalogue/file_replace.h"
#include "catalogue/func_display.h"
#include "catalogue/mib_catalogue.h"
#include "snmp_access/snmp_values.h"
#include "ui/app_globals.h"
#include "ui/ui.h"

namespace {

const char* const CAT_DIR = "data/gui_mm_data";
const char* const SITE_FILE = "mib_site_def.dat";
const char* const SITE_TMP = "mib_site_def_tmp.dat";

// Port-type choices of the window and their port type codes.
struct SiteChoice {
    int id;
    int port_type;
};
const SiteChoice site_choices[] = {{W_SITE_PRM_MORIX_TB, 0},       {W_SITE_PRM_ASYNC_TB, 1},
                                   {W_SITE_PRM_SYNC_TB, 2},        {W_SITE_PRM_PRINTER_TB, 3},
                                   {W_SITE_PRM_ETHERNET_TB, 4},    {W_SITE_PRM_WAN_INTERFACE_TB, 5},
                                   {W_SITE_PRM_WAN_CHANNEL_TB, 8}, {W_SITE_PRM_CHANNELS_TB, 6}};

int cur_choice = W_SITE_PRM_MORIX_TB;
int site_sel_id = -1; // catalogue id of the variable being edited, -1 none

int choice_code(int choice_id) {
    for (const SiteChoice& c : site_choices)
        if (c.id == choice_id)
            return c.port_type;
    return -1;
}

// Takes the value editor away and shows that nothing is selected.
void clear_value_area() {
    ui_set_text(W_SITE_DEF_VAL_TF, "");
    ui_unmanage(W_SITE_DEF_VAL_TF);
    ui_set_option_items(W_SITE_DEF_VAL_OM, {});
    ui_unmanage(W_SITE_DEF_VAL_OM);
    site_sel_id = -1;
    set_widget_label(W_SITE_NAME_LBL, "<nothing selected>");
    set_widget_label(W_SITE_CAT_DEF_LBL, "");
    ui_set_sensitive(W_SITE_MODIFY, false);
    ui_set_sensitive(W_SITE_REMOVE, false);
}

void build_editor(int id) {
    const MibVarEntry* e = mib_var(id);
    if (e->enum_id < 0 || e->enum_id >= MAX_MIB_ENUMS) {
        ui_set_text(W_SITE_DEF_VAL_TF, e->has_site_def ? e->site_def_val : "");
        ui_manage(W_SITE_DEF_VAL_TF);
        set_focus(W_SITE_DEF_VAL_TF);
        return;
    }
    // Shown first, so that the menu takes the size of its new buttons.
    ui_manage(W_SITE_DEF_VAL_OM);
    std::vector<std::string> labels;
    for (const EnumEntry& en : mib_enum_list[e->enum_id])
        labels.push_back(en.text);
    ui_set_option_items(W_SITE_DEF_VAL_OM, labels);
    std::string name;
    if (e->has_site_def && cvt_enum_num_str(id, e->site_def_val, &name) == 1)
        set_option_menu_top_button(W_SITE_DEF_VAL_OM, name);
    else
        set_om_blank(W_SITE_DEF_VAL_OM);
    set_focus(W_SITE_DEF_VAL_OM);
}

// The value the editor holds, as it goes into the file; false (after the
// warning) when there is none or it cannot be stored.
bool editor_value(int id, const std::string& typed, std::string* value) {
    const MibVarEntry* e = mib_var(id);
    if (e->enum_id >= 0 && e->enum_id < MAX_MIB_ENUMS) {
        if (cvt_enum_str_num(id, typed, value) != 1) {
            display_warn(W_SITE_FORM, "You must select a default value.");
            return false;
        }
        return true;
    }
    // The reader drops the white space before a value, so it is not stored.
    const std::string& text = typed;
    size_t start = 0;
    while (start < text.size() && std::isspace(static_cast<unsigned char>(text[start])))
        ++start;
    *value = text.substr(start);
    if (value->empty()) {
        display_warn(W_SITE_FORM, "You must enter a default value.");
        return false;
    }
    if (value->find_first_of(std::string("\n\r\0", 3)) != std::string::npos) {
        display_warn(W_SITE_FORM, "A default value must be a single line of text.");
        return false;
    }
    // A default the devices could not take is not stored either.
    std::string refusal = number_refusal(mib_var(id)->data_type, mib_var(id)->name, *value);
    if (!refusal.empty()) {
        display_warn(W_SITE_FORM, mib_var(id)->name + " : " + refusal);
        return false;
    }
    size_t line_len = std::to_string(id).size() + 3 + value->size() + 1;
    if (line_len > static_cast<size_t>(SITE_DEF_LINE_MAX)) {
        display_warn(W_SITE_FORM, "The default value is too long to be stored.");
        return false;
    }
    return true;
}

} // namespace

int site_choice_code(int choice_id) {
    return choice_code(choice_id);
}

void process_site_params(int choice_id) {
    set_app_cursor(CURSOR_BUSY);
    if (choice_code(choice_id) >= 0)
        cur_choice = choice_id;
    display_mgmt_prm(W_SITE_PRM_LIST, choice_code(cur_choice));
    clear_value_area();
    gui_manage_top_form(W_SITE_FORM);
    set_app_cursor(CURSOR_NORMAL);
}

void process_site_params_list(int choice_id, bool set) {
    // The radio box reports the choice that was left as well.
    if (choice_id == cur_choice || !set || choice_code(choice_id) < 0)
        return;
    process_site_params(choice_id);
}

void update_sel_prm(const std::string& selected) {
    clear_value_area();
    if (selected.empty())
        return;
    set_widget_label(W_SITE_NAME_LBL, selected);
    int id = 0;
    if (get_check_mib_var(selected, &id) != 1)
        return;
    set_widget_label(W_SITE_CAT_DEF_LBL, mib_var(id)->def_val);
    build_editor(id);
    site_sel_id = id;
    ui_set_sensitive(W_SITE_MODIFY, true);
    ui_set_sensitive(W_SITE_REMOVE, true);
}

int site_default_exec(const SiteRequest& req) {
    if (req.id < 0 || mib_var(req.id) == nullptr) {
        display_warn(W_SITE_FORM, "You need to select a parameter to set the default value.");
        return SITE_REFUSED;
    }
    std::string value;
    if (!req.remove && !editor_value(req.id, req.value, &value))
        return SITE_REFUSED;
    int rc = write_site_prm_def(req.id, req.remove ? nullptr : &value, req.remove ? 1 : 0);
    return rc == 1 ? SITE_DONE : SITE_FAILED;
}

void process_site_prm_mod(int remove, const std::string& option, const std::string& text) {
    SiteRequest req;
    req.id = site_sel_id;
    req.remove = remove != 0;
    const MibVarEntry* e = site_sel_id < 0 ? nullptr : mib_var(site_sel_id);
    if (e && !req.remove)
        req.value = e->enum_id >= 0 && e->enum_id < MAX_MIB_ENUMS ? option : text;
    if (site_default_exec(req) != SITE_DONE)
        return;
    ui_list_deselect_all(W_SITE_PRM_LIST);
    clear_value_area();
    set_focus(W_SITE_PRM_LIST);
}

int write_site_prm_def(int id, const std::string* value, int remove) {
    if (value == nullptr && !remove)
        return 0;
    std::string path = mm_path(CAT_DIR, SITE_FILE);
    std::string old;
    if (!read_whole_file(path, &old)) {
        display_warn(W_SITE_FORM, "Unable to open file:\n" + path + "\n");
        return -4;
    }
    FileChange change{path, SITE_TMP, rewrite_site_def(old, id, remove ? nullptr : value)};
    ReplaceFailure fail;
    int r = replace_file_safely(change, &fail);
    if (r == FR_CREATE_FAILED) {
        display_warn(W_SITE_FORM, "Unable to create file:\n" + fail.file + "\n(" + fail.reason +
                                      ")\n" + SITE_FILE + " was not changed.");
        return -4;
    }
    if (r != FR_OK) {
        display_warn(W_SITE_FORM,
                     std::string("Unable to update (copy into) file:\n") + SITE_FILE + "\n");
        return 0;
    }
    // The catalogue changes only once the file holds the new default.
    set_site_default(id, remove ? nullptr : value);
    return 1;
}
