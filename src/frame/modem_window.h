// The windows of the modem commands: the Edit Modem dialog's controls read
// the dialog into a request, and every modem outcome (from the dialog, the
// basic-mode modem pages or Edit Configuration) is rendered here: warnings
// over the window that started it, the async port window's modem menu, the
// dialog's fields.
#pragma once

#include "files/modem_view.h"

// The Edit Configuration menu command: the selection checked, the edit run
// over the main window (its work notice while the editor runs), the reset
// choice box offered after an upload. 1 when the edit ran and a changed
// file reached the load host (or nothing changed).
int edit_conf_window();
// Renders a modem command's outcome (see modem_view.h).
void render_modem(const MdmOutcome& outcome);
// Makes render_modem and the busy cursor the modem commands' front end;
// called with the other window readers at start-up.
void register_modem_window();

// The Edit Modem dialog's controls (registry rows): a field changed, OK,
// Remove, the defaults toggle, Cancel.
int modem_dialog_field(int id);
int modem_dialog_ok(int id);
int modem_dialog_remove(int id);
int modem_dialog_defaults(int id);
int modem_dialog_cancel(int id);
