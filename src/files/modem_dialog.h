// The Edit Modem dialog: one modem definition's name, its connect_status,
// dialin_setup_cmd and dialout_setup_cmd texts and a defaults toggle, over
// the configuration list (editable) and the include list (defaults).
// Opened by mdm_edit_act from the async port window or the basic dial
// window (see modem_info.h for the order of calls); its controls reach
// modem_dialog_action through the dispatch.
#pragma once

#include "ui/widget_ids.h"

#include <string>
#include <utility>
#include <vector>

// What the opening window knows.
struct MdmEditOpen {
    int parent = 0;          // the window's form id
    std::string name;        // its current modem name
    std::string cfg_applied; // configuration file name as applied ...
    std::string cfg_typed;   // ... and as typed in the General window
};

// The edit permission for the selected devices, kept in mdm_info.
int mdm_cfg_allow_edit(int parent);
// Opens the dialog after the permission check and questions; 1 when open.
int mdm_edit_act(const MdmEditOpen& open);
void mdm_rvrt_defs_act();
void mdm_edit_ok();
void mdm_remove_act();
// The dialog's buttons and toggle; 1 when id is one of them.
int modem_dialog_action(int id);

// Keyword values (index 1..16, value) for the definition of name, by the
// rule of the dialog's OK: the configuration list's entry takes them; a
// name only in the include list gets a copy of that entry in the
// configuration list only when a value differs from it; a new name gets a
// default definition. Returns 1 when the configuration list changed (the
// change flag is then set), 0 when every value already was as given: then
// nothing is to be written, uploaded or reset.
int mdm_put_values(const std::string& name, const std::vector<std::pair<int, std::string>>& values);
