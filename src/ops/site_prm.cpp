#include "ops/site_prm.h"

#include <cctype>
#include <vector>

#include "catalogue/data_file_edit.h"
#include "catalogue/file_replace.h"
#include "catalogue/func_catalogue.h"
#include "catalogue/mib_catalogue.h"
#include "snmp_access/snmp_values.h"
#include "ui/app_globals.h"
#include "ui/widget_ids.h"

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

// The value as it goes into the file; "" when it can be stored, else the
// warning.
std::string stored_value(int id, const std::string& typed, std::string* value) {
    const MibVarEntry* e = mib_var(id);
    if (e->enum_id >= 0 && e->enum_id < MAX_MIB_ENUMS) {
        if (cvt_enum_str_num(id, typed, value) != 1)
            return "You must select a default value.";
        return "";
    }
    // The reader drops the white space before a value, so it is not stored.
    const std::string& text = typed;
    size_t start = 0;
    while (start < text.size() && std::isspace(static_cast<unsigned char>(text[start])))
        ++start;
    *value = text.substr(start);
    if (value->empty())
        return "You must enter a default value.";
    if (value->find_first_of(std::string("\n\r\0", 3)) != std::string::npos)
        return "A default value must be a single line of text.";
    // A default the devices could not take is not stored either.
    std::string refusal = number_refusal(mib_var(id)->data_type, mib_var(id)->name, *value);
    if (!refusal.empty())
        return mib_var(id)->name + " : " + refusal;
    size_t line_len = std::to_string(id).size() + 3 + value->size() + 1;
    if (line_len > static_cast<size_t>(SITE_DEF_LINE_MAX))
        return "The default value is too long to be stored.";
    return "";
}

Outcome stop(Result result, const std::string& warning) {
    Outcome o;
    o.result = result;
    o.warnings.push_back(warning);
    return o;
}

} // namespace

int site_choice_code(int choice_id) {
    for (const SiteChoice& c : site_choices)
        if (c.id == choice_id)
            return c.port_type;
    return -1;
}

bool site_prm_offered(int id) {
    const MibVarEntry* e = mib_var(id);
    if (!e || e->internal_code == MIC_INTERNAL || e->write_type == MWT_READ_ONLY)
        return false;
    for (const SiteChoice& c : site_choices)
        if (prm_fits_port_type(e->port_class, c.port_type))
            return true;
    return false;
}

Outcome site_default_exec(const SiteRequest& req) {
    if (req.id < 0 || mib_var(req.id) == nullptr)
        return stop(Result::refused, "You need to select a parameter to set the default value.");
    std::string value;
    if (!req.remove) {
        std::string refusal = stored_value(req.id, req.value, &value);
        if (!refusal.empty())
            return stop(Result::refused, refusal);
    }
    return write_site_prm_def(req.id, req.remove ? nullptr : &value);
}

Outcome write_site_prm_def(int id, const std::string* value) {
    std::string path = mm_path(CAT_DIR, SITE_FILE);
    std::string old;
    if (!read_whole_file(path, &old))
        return stop(Result::failed, "Unable to open file:\n" + path + "\n");
    FileChange change{path, SITE_TMP, rewrite_site_def(old, id, value)};
    ReplaceFailure fail;
    int r = replace_file_safely(change, &fail);
    if (r == FR_CREATE_FAILED)
        return stop(Result::failed, "Unable to create file:\n" + fail.file + "\n(" + fail.reason +
                                        ")\n" + SITE_FILE + " was not changed.");
    if (r != FR_OK)
        return stop(Result::failed,
                    std::string("Unable to update (copy into) file:\n") + SITE_FILE + "\n");
    // The catalogue changes only once the file holds the new default.
    set_site_default(id, value);
    return Outcome();
}
