// The Site Parameters window: the operator picks a variable, sees its
// catalogue default and sets or removes the site's own default, which is
// written to mib_site_def.dat at once.
#pragma once

#include "ui/widget_ids.h"

#include <string>

// Widget ids of the window.
enum SitePrmIds {};

// Port type code of a parameter-list choice toggle, -1 for another id.
int site_choice_code(int choice_id);
// Opens the window with the parameter list of the port-type choice
// choice_id (another id keeps the choice in force).
void process_site_params(int choice_id);
// A port-type choice was pressed (set: it is now on): refills the list
// when it changed.
void process_site_params_list(int choice_id, bool set);
// The selection of the window's list changed (selected: the first name
// selected, "" none): shows the variable and its editor.
void update_sel_prm(const std::string& selected);
// A change of one site default, as the window or mm_cli asks for it.
struct SiteRequest {
    int id = -1;         // catalogue id of the variable
    std::string value;   // the value as typed, or the enumeration's value name
    bool remove = false; // remove the site default instead
};
// Result of a site default change.
enum SiteResult {
    SITE_DONE = 0,   // the file and the catalogue hold the change
    SITE_FAILED = 1, // the file could not be rewritten (warning shown)
    SITE_REFUSED = 2 // no variable, or a value that cannot be stored (warning shown)
};
// Checks the value and rewrites mib_site_def.dat. A SiteResult.
int site_default_exec(const SiteRequest& req);
// Modify (remove 0) or Remove (remove 1) of the window: the selected
// variable and the editor's value.
// Modify (remove 0) or Remove of the selected parameter's default; the
// editor's option menu and text field as the operator left them.
void process_site_prm_mod(int remove, const std::string& option, const std::string& text);
// Rewrites mib_site_def.dat with the default of id set to value or removed.
// 1 on success, 0 when nothing was to be done or the replacement failed,
// -4 when a file cannot be opened or created.
int write_site_prm_def(int id, const std::string* value, int remove);
