// Site defaults: the site's own default value of a catalogue variable,
// written to mib_site_def.dat at once. The Site Parameters window and
// mm_cli's site-default verb both run these commands; the window's list
// and editor are the frame's.
#pragma once

#include <string>

#include "ui/outcome.h"

// Port type code of a parameter-list choice toggle, -1 for another id.
int site_choice_code(int choice_id);
// Whether the variable id is offered for a site default (it is in the
// parameter list of one of the port-type choices).
bool site_prm_offered(int id);
// A change of one site default, as the window or mm_cli asks for it.
struct SiteRequest {
    int id = -1;         // catalogue id of the variable
    std::string value;   // the value as typed, or the enumeration's value name
    bool remove = false; // remove the site default instead
};
// Checks the value and rewrites mib_site_def.dat: done when the file and
// the catalogue hold the change, refused (the warning says why) for no
// variable or a value that cannot be stored, failed when the file could
// not be rewritten.
Outcome site_default_exec(const SiteRequest& req);
// Rewrites mib_site_def.dat with the default of id set to value or removed
// (value null). Failed, with the warning, when a file cannot be opened,
// created or replaced.
Outcome write_site_prm_def(int id, const std::string* value);
