// User-interface services used by every command. Commands address windows
// and controls only by widget id (main table or basic-mode table) through
// these functions. Only the frame and the front ends read a control's value;
// the commands below the frame get request records (ui/window_state.h for
// what windows share). Two implementations exist: the Motif one linked into
// the program and a headless one (ui_headless) linked into tests.
#pragma once

#include "ui/widget_ids.h"

#include <functional>
#include <string>
#include <vector>

constexpr int MAX_WIDGETS = 1300;
constexpr int MAX_WIDGETS_BASIC = 3000;

// Which widget table an id refers to.
enum UiTable { UI_MAIN = 0, UI_BASIC = 1, UI_SET_ROWS = 2 };

// Objects of one Set window row in the rows table: row r, part p at
// r * SET_ROW_STRIDE + p.
enum SetRowPart { SRP_TOGGLE = 0, SRP_TEXT = 1, SRP_OPTION = 2, SRP_VD_PB = 3 };
constexpr int SET_ROW_STRIDE = 4;
inline int set_row_id(int row, int part) {
    return row * SET_ROW_STRIDE + part;
}

// Cursor modes of set_app_cursor.
enum CursorMode { CURSOR_NORMAL = 1, CURSOR_BUSY = 2, CURSOR_BUSY_ALT = 3 };

// ask_user answers.
enum AskAnswer { ASK_OK = 1, ASK_CANCEL = 2 };

// List selection policies (values follow the toolkit's order).
enum ListSelPolicy { LSP_SINGLE = 0, LSP_MULTIPLE = 1, LSP_EXTENDED = 2, LSP_BROWSE = 3 };

// Cancel state shared by the cancel dialog and the request engine.
extern int g_cancel_process;
extern int g_snmp_pct_done;
extern int g_other_pct_done;
extern int g_update_in_snmp;

// ---- Messages and questions -------------------------------------------

// Appends text to the accumulating warning box of the parent's window.
void display_warn(int parent_id, const std::string& text);
// Re-shows an existing warning box over the given window.
void redisplay_warn(int parent_id);
// The text of the warning box after text is added to what it shows: each
// message once, separated by blank lines.
std::string warning_with(const std::string& shown, const std::string& text);
// True while a warning or a question waits for the operator (work that
// runs by itself, such as an automatic refresh, waits too).
bool answer_pending();
// Rings the display bell at volume percent (-100..100).
void ui_bell(int volume);
// Information message box (modeless).
void display_msg(int parent_id, const std::string& text);
// Modal question; returns ASK_OK or ASK_CANCEL. An empty label hides that
// button; default_ok 1 makes OK the default button.
int ask_user(int parent_id, const std::string& title, const std::string& ok_label,
             const std::string& cancel_label, int default_ok, const std::string& text);
// ask_user with a printf-style text of at most 1024 characters.
int vask_user(int parent_id, const std::string& title, const std::string& ok_label,
              const std::string& cancel_label, int default_ok, const char* format, ...)
    __attribute__((format(printf, 6, 7)));
// Question box whose OK runs ok_action. Returns 0 without text or action.
int gui_display_question(int parent_id, const std::string& text, const std::string& detail,
                         std::function<void()> ok_action);
// Overwrite check for kind 1 (output text), 2 (script), 3 (Morix list):
// 1 to go on, 0 to stop.
int check_if_overwrite(int parent_id, int kind, const std::string& path);

// ---- Busy cursor, work dialog, cancel dialog ---------------------------

void set_app_cursor(int mode);
void set_app_cursor_no_dly(int mode);
void display_work(int parent_id, const std::string& title, const std::string& text);
void update_work(int parent_id, const std::string& title, const std::string& text, int mode);
void remove_work();

// mode 1 opens the cancel dialog, mode 2 takes it down.
void pop_cancel_dialog(int mode, int parent_id = 0, const std::string& title = "",
                       const std::string& label = "", int confirm = 0, int follow_snmp = 0,
                       int show_scale = 1, int delay = 0);
// Stores the percentage, lets only Cancel act, returns g_cancel_process.
int is_cancelled(int percent);
// New label "%s Morix %s" (or the text alone without a device name).
void reset_cancel_dialog(const std::string& text, const std::string& device_name);
// Takes the dialog down; returns whether the user cancelled.
int pop_cancel_dialog_down();
// Redraws the scale after the engine changed g_snmp_pct_done.
void update_cancel_scale();

void process_pending_events();
// Lets only the given control (and an open warning) receive input.
void clear_event_queue(int widget_id);

// ---- Windows ------------------------------------------------------------

// Shows a secondary window's form (pops its shell up) / hides it.
void gui_manage_top_form(int form_id, int table = UI_MAIN);
void gui_unmanage_top_form(int form_id, int table = UI_MAIN);
// 1 when the window is open (raised), 0 when it is not.
int expose_dialog(int form_id, int table = UI_MAIN);
void ui_manage(int id, int table = UI_MAIN);
void ui_unmanage(int id, int table = UI_MAIN);
bool ui_is_managed(int id, int table = UI_MAIN);
// True when the slot holds an object.
bool ui_exists(int id, int table = UI_MAIN);
void set_dialog_title(int id, const std::string& title, int table = UI_MAIN);
void set_focus(int id, int table = UI_MAIN);

// ---- Texts and labels ---------------------------------------------------

std::string ui_get_text(int id, int table = UI_MAIN);
void ui_set_text(int id, const std::string& text, int table = UI_MAIN);
// Appends text (and a line end) to an output area, scrolling to the end.
void write_otp_msg(int id, const std::string& text, int new_line, int show_end,
                   int table = UI_MAIN);
std::string get_widget_label(int id, int table = UI_MAIN);
void set_widget_label(int id, const std::string& text, int table = UI_MAIN);

// ---- Lists (positions are 1-based; 0 adds at the end) ------------------

std::vector<std::string> ui_list_items(int id, int table = UI_MAIN);
int ui_list_count(int id, int table = UI_MAIN);
void ui_list_add_item(int id, const std::string& text, int pos, int table = UI_MAIN);
void ui_list_delete_pos(int id, int pos, int table = UI_MAIN);
void ui_list_delete_all(int id, int table = UI_MAIN);
void ui_list_replace_pos(int id, int pos, const std::string& text, int table = UI_MAIN);
std::vector<int> ui_list_selected_pos(int id, int table = UI_MAIN);
std::vector<std::string> ui_list_selected_items(int id, int table = UI_MAIN);
void ui_list_select_pos(int id, int pos, bool notify, int table = UI_MAIN);
void ui_list_deselect_pos(int id, int pos, int table = UI_MAIN);
void ui_list_deselect_all(int id, int table = UI_MAIN);
void ui_list_set_top_pos(int id, int pos, int table = UI_MAIN);
// Scrolls so that the item at pos is the last one visible.
void ui_list_set_bottom_pos(int id, int pos, int table = UI_MAIN);
void ui_list_set_policy(int id, int policy, int table = UI_MAIN);
int ui_list_get_policy(int id, int table = UI_MAIN);

// ---- Toggles, option menus, sensitivity --------------------------------

bool ui_get_toggle(int id, int table = UI_MAIN);
void ui_set_toggle(int id, bool state, bool notify, int table = UI_MAIN);
// Label of the option menu's current button ("" when blank).
std::string ui_get_option(int id, int table = UI_MAIN);
// Selects the option menu's button with that label; false when none has it.
bool set_option_menu_top_button(int id, const std::string& label, int table = UI_MAIN);
void set_om_blank(int id, int table = UI_MAIN);
// Replaces the buttons of an option menu's pulldown with one button per
// label, in order; the menu then shows no choice.
void ui_set_option_items(int id, const std::vector<std::string>& labels, int table = UI_MAIN);
void ui_set_sensitive(int id, bool sensitive, int table = UI_MAIN);
bool is_sens(int id, int table = UI_MAIN);

// ---- Frame services added with the application frame ------------------

// Orderly exit: closes every window and ends the process with status 0.
// (The headless version records the request and returns.)
void process_exit();
// Lays the main window out for Setup mode (0) or Customized mode (1).
void layout_main_window(int customized);
// Information message box with a title (modeless).
void display_msg_box(int parent_id, const std::string& title, const std::string& text);
// Item-help window with a read-only text.
void display_item_help(int parent_id, const std::string& text);
// Scrolls a text area so that the character position is at the top.
void ui_text_show_position(int id, int pos, int table = UI_MAIN);
// File selection box listing dir; OK calls ok_action with the typed name and
// closes the box when it returns 1; Help shows help_text.
void ui_file_selection(int parent_id, const std::string& title, const std::string& dir,
                       std::function<int(const std::string&)> ok_action,
                       const std::string& help_text);
// Work dialog now (seconds below 1) or after that many seconds (mode 1);
// mode 2 cancels the timer and removes the dialog.
void pop_delay_dialog(int mode, int parent_id, const std::string& title, const std::string& text,
                      int seconds);
// write_otp_msg with the area hidden while the text goes in (long reports
// are not redrawn line by line); an open warning box is shown again after.
void write_otp_msg_redisp(int id, const std::string& text, int new_line, int show_end,
                          int table = UI_MAIN);
// Multiple-choice box: one toggle per choice; OK turns the set toggles into
// a bit mask (choice i sets bit i) and refuses an empty mask with "You must
// select an item.". Modal; returns ASK_OK (mask written) or ASK_CANCEL.
int display_box(int parent_id, const std::string& title, const std::string& label,
                const std::vector<std::string>& choices, const std::string& message, int* mask);
// display_box whose toggles follow a rule: after the operator sets toggle
// i to state, the toggles show rule(mask, i, state) (bit i = toggle i).
int display_box_ruled(int parent_id, const std::string& title, const std::string& label,
                      const std::vector<std::string>& choices, const std::string& message,
                      int (*rule)(int mask, int index, bool state), int* mask);
// Labelled entry form: one text field per label, preset from values. Modal;
// on ASK_OK the typed texts are written back into values.
int display_prompt(int parent_id, const std::string& title, const std::vector<std::string>& labels,
                   std::vector<std::string>* values);
// Builds the named dialog of the interface description under the main
// window into slot, unless the slot already holds an object.
void ui_fetch_dialog(const std::string& name, int slot);
// Reads the folder of a file selection box again, so that files made since
// it was last listed appear.
void ui_rescan_files(int id, int table = UI_MAIN);

// ---- Set window rows -----------------------------------------------------

struct UiSetRow {
    std::string name;                 // label of the name toggle
    std::vector<std::string> choices; // option menu buttons; empty: a text field
};
// Builds the rows in a work area of the window form_id (replacing earlier
// rows): toggles unset, inputs read-only, option menus blank, "Dsp Diffs"
// hidden. Their actions reach set_row_action through the dispatch.
void ui_build_set_rows(int form_id, const std::vector<UiSetRow>& rows);
// Destroys the rows and their work area.
void ui_free_set_rows();
// Text field: not editable, no cursor, not traversable; option menu:
// insensitive (read_only true), or the reverse.
void ui_set_read_only(int id, bool read_only, int table = UI_MAIN);

// ---- Timers ----------------------------------------------------------------

// Runs action once, from the main loop, about ms milliseconds from now.
// Returns the timer's id (above 0).
int ui_add_timer(int ms, std::function<void()> action);
// Cancels a timer that has not run yet (an unknown or spent id is ignored).
void ui_remove_timer(int timer_id);
