// The Site Parameters window: the operator picks a variable, sees its
// catalogue default and sets or removes the site's own default, which is
// written to mib_site_def.dat at once.
#pragma once

#include "ui/widget_ids.h"

#include <string>

// Widget ids of the window.
enum SitePrmIds {};

// Opens the window with the parameter list of the current port-type choice.
void process_site_params();
// A port-type choice was pressed: refills the list when it changed.
void process_site_params_list(int choice_id);
// The selection of list 608 changed: shows the variable and its editor.
void update_sel_prm();
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
void process_site_prm_mod(int remove);
// Rewrites mib_site_def.dat with the default of id set to value or removed.
// 1 on success, 0 when nothing was to be done or the replacement failed,
// -4 when a file cannot be opened or created.
int write_site_prm_def(int id, const std::string* value, int remove);
// Runs a command of the window by widget id; 0 when the id is not one.
int site_window_action(int id);
