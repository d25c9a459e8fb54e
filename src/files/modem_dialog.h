// The Edit Modem dialog: one modem definition's name, its connect_status,
// dialin_setup_cmd and dialout_setup_cmd texts and a defaults toggle, over
// the configuration list (editable) and the include list (defaults).
// Opened by mdm_edit_act from the async port window or the basic dial
// window (see modem_info.h for the order of calls); the frame reads it into
// an MdmDialogRequest for each of its controls and renders the MdmOutcome
// each returns.
#pragma once

#include "files/modem_view.h"
#include "ui/widget_ids.h"

#include <array>
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
// The dialog's contents for the opening window, after the permission check
// and the questions (asked through asker); the outcome's dialog is shown
// open, or the result is cancelled when a question was declined.
MdmOutcome mdm_edit_open(const MdmEditOpen& open, Asker& asker);
// mdm_edit_open asked and rendered over open.parent; 1 when open.
int mdm_edit_act(const MdmEditOpen& open);
// The Edit Modem dialog as the operator left it.
struct MdmDialogRequest {
    std::string name;                 // the modem name field
    std::array<std::string, 3> texts; // connect, dial-in and dial-out strings
    bool defaults = false;            // the defaults toggle
    std::string menu_choice;          // the async port window's modem menu choice
};
// The dialog's defaults toggle, OK, Remove (its question through asker)
// and Cancel. A refusal has the result refused and says why.
MdmOutcome mdm_rvrt_defs(const MdmDialogRequest& req);
MdmOutcome mdm_edit_ok(const MdmDialogRequest& req);
MdmOutcome mdm_remove(const MdmDialogRequest& req, Asker& asker);
MdmOutcome mdm_dialog_cancel();
// The window that opened the dialog (its questions and warnings go over it).
int mdm_dialog_parent();

// Keyword values (index 1..16, value) for the definition of name, by the
// rule of the dialog's OK: the configuration list's entry takes them; a
// name only in the include list gets a copy of that entry in the
// configuration list only when a value differs from it; a new name gets a
// default definition. Returns 1 when the configuration list changed (the
// change flag is then set), 0 when every value already was as given: then
// nothing is to be written, uploaded or reset.
int mdm_put_values(const std::string& name, const std::vector<std::pair<int, std::string>>& values);
