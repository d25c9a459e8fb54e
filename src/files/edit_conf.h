// Editing the configuration file of the selected devices as text: the edit
// permission check (also used by the Edit Modem dialog), the fetch through
// the modem information, the external editor, the upload question and the
// reset choice "Edit Configuration Reset".
#pragma once

#include <string>

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

// How a run is driven: from the window (the editor's own window, or a
// terminal emulator, and the reset choice box) or from a terminal (EDITOR
// runs in it; the resets are given).
struct EditConfRun {
    bool in_terminal = false;
    int reset_mask = -1; // -1: ask with the choice box
};
// The menu command. 1 when the edit ran and a changed file reached the
// load host (or nothing changed); 0 otherwise.
int edit_conf(const EditConfRun& run = EditConfRun());
// WINEDITOR when set and not empty (is_win 1), else EDITOR; "" for none.
std::string edit_conf_editor(int* is_win);
// Runs the editor on path: 1 changed, 0 unchanged, -1 not runnable.
// Carriage returns are removed before; *had_cr tells whether there were.
int edit_conf_exec(const std::string& editor, const std::string& path, int is_win, bool in_terminal,
                   int* had_cr);
// Upload question and upload: 1 uploaded, 0 declined, 2 failed (or not
// tried: an empty or missing file is never sent).
int edit_conf_update(int had_cr, long* copy_code);
// The reset offer; 1 when the choice was offered.
int edit_conf_reset(int preset_mask);
