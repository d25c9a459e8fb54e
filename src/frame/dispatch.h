// Command dispatch by widget id over the registry's rows (registry.h): a
// window's commands and its shared actions (Help, Save, Clear, Close); the
// function list mode, Setup and Customized mode, and the text-entry
// filters. Works on the UI services only, so it runs the same on Motif and
// headless.
#pragma once

#include <string>

#include "ui/program.h"
#include "ui/widget_ids.h"

// ---- function list mode -------------------------------------------------

// The choices of the function list (ids) and the list shown by each: a
// function group for 46 and 47, a port type code otherwise.
int choice_port_type(int choice_id);
// Shows in list 50 what the choice asks for (id 45, set_mgmt_mode_lst).
void set_mgmt_mode_lst(int choice_id);

// ---- Setup and Customized mode -----------------------------------------

// 1 in Customized mode, 0 in Setup mode.
extern int g_customized_mode;
void enter_customized_mode();
// Returns 0 when the operator kept Customized mode at the question.
int enter_setup_mode();

// ---- text filters ---------------------------------------------------------

// Rule codes: 1 limit, 2 no leading white space, 3 digits, 4 digits or a
// leading sign, 5 digits or dots after the first character.
// Returns 1 when the insertion of text at position pos is accepted.
int filter_insertion(int rule, int pos, const std::string& text, int limit = 999);
// The filter of verify_proc_prm: the rule, then the limit (24 for rule 5).
int verify_prm_insertion(int rule, int pos, const std::string& text);

// ---- lists and prompts ------------------------------------------------------

// Double-click on a list item (pos 1-based, item its text, reason the
// toolkit's call reason). Returns 1 when the id is one of the handled lists.
int list_action_main(int list_id, int pos, const std::string& item, int reason);
// Basic-mode action by basic id: help and close of the basic windows'
// rows here, the rest to the pages.
void dispatch_basic(int id);
// The parameter label of the Compare or Copy window (form) shows what the
// command will read: the main window's choice when main_choice, else all
// parameters of the kind the chosen toggle names (0: the script's).
void show_params_used(int form, int chosen_toggle, bool main_choice);
// Menu bar and device buttons stay insensitive until start-up finished.
void set_commands_available(bool available);
