// Editing the configuration file of the chosen devices as text: the edit
// permission check (also used by the Edit Modem dialog), the fetch through
// the modem information, the external editor, the upload question and the
// resets (the window offers them in its choice box "Edit Configuration
// Reset" when the run leaves them as a follow-up).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/outcome.h"

struct MorixRecord;

// The reset options of the choice box, in order; option 0 ("All") has no
// code of its own.
constexpr int EC_RESET_COUNT = 7;
extern const char* const edit_conf_reset_names[EC_RESET_COUNT];
extern const int edit_conf_reset_codes[EC_RESET_COUNT];
// The toggles after option index was set to state (bit i = option i).
int edit_conf_reset_val(int mask, int index, bool state);

// 9 when the selected devices' configuration file may be edited, else 0
// with the reason in *reason.
int edit_conf_allowed_noquery(std::string* reason);
int edit_conf_allowed(int parent, int query, std::string* reason);

// What an edit run is asked to do.
struct EditConfRequest {
    std::vector<MorixRecord*> devices; // whose configuration file is edited
    bool in_terminal = false;          // EDITOR runs in this terminal
    // The reset options to send after an upload (bit i = option i); -1:
    // the outcome carries the follow-up EDIT_CONF_RESET_FOLLOW_UP instead.
    int reset_mask = -1;
    // Told when the editor starts (true) and ends, with the file's name.
    std::function<void(bool editing, const std::string& file)> editing;
};
constexpr const char* EDIT_CONF_RESET_FOLLOW_UP = "edit-config-reset";
struct EditConfOutcome {
    Outcome outcome;              // done: the edit ran, and a changed file reached the load host
    bool upload_declined = false; // the update question was answered No
};
// Fetches the configuration file of the devices, runs the editor on a
// local copy, asks (through asker) before the upload, uploads it safely
// and sends the resets. Every device is listed with its result.
EditConfOutcome run_edit_conf(const EditConfRequest& req, Asker& asker);
// Sends the reset options of mask ("All" included) to the selected
// reachable devices; mask 0 sends nothing and says how to reset later.
Outcome edit_conf_resets(int mask);
// WINEDITOR when set and not empty (is_win 1), else EDITOR; "" for none.
std::string edit_conf_editor(int* is_win);
// Runs the editor on path: 1 changed, 0 unchanged, -1 not runnable.
// Carriage returns are removed before; *had_cr tells whether there were.
int edit_conf_exec(const std::string& editor, const std::string& path, int is_win, bool in_terminal,
                   int* had_cr);
