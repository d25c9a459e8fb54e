// Toolkit state shared by the Motif files of the frame: the widget tables,
// the application shell and context, and helpers used by several windows.
#pragma once

#include <Mrm/MrmPublic.h>
#include <X11/Intrinsic.h>
#include <Xm/Xm.h>

#include <string>

extern Widget widgets[1300];
extern Widget widgets_basic[3000];
extern Widget top_level;
extern Widget main_widget;
extern XtAppContext app_context;
extern MrmHierarchy mrm_hierarchy;
extern XtTranslations text_translation_table;
// Application resource cancelScaleFg.
extern Pixel g_cancel_scale_fg;

// Widget in the slot of a table (nullptr for a bad id or an empty slot).
Widget ui_widget(int id, int table);
// The widget that a parent id names for dialogs: the main window when the
// slot is empty or not shown.
Widget parent_widget(int id);
// Object of the Set window's rows table (nullptr when there is none).
Widget set_row_widget(int id);
// Id of a widget in the main table, or -1.
int widget_id_of(Widget w);

// Fetches a named object from the interface description (or builds it in
// code for the dialogs made dynamically) into a slot; stops the program when
// the description has no such object. Returns 1.
int fetch_widget(const char* name, Widget parent, int slot, int table = 0);
int create_top_popup(Widget parent, int x, int y, int width, int height, const char* title,
                     const char* icon_name, const char* shell_name, int shell_slot,
                     const char* form_name, int form_slot);
// Builds the dialogs that are made in code (returns nullptr for other names).
Widget create_dynamically(const char* name, Widget parent, int slot);

// Shows a widget keeping the stacking rules of the dialogs.
void gui_manage_child(Widget w);
// The window the operator works in: the form of the top-level window that
// holds the keyboard focus (for a dialog, of the window it belongs to); the
// main window when the focus is elsewhere.
Widget owner_window();
// Raises w's shell above the program's other windows and gives it the
// keyboard focus once the window manager has mapped it.
void bring_to_front(Widget w);
// The keys of a dialog or top-level window of the interface description:
// Return presses its OK button (else its first command button), Escape its
// Cancel or Close button (a dialog with OK alone closes with either), and
// F1 its Help button where the control with the focus has no help of its
// own.
void set_dialog_keys(Widget w);
// The file selection boxes inside root list no file whose name begins
// with a dot.
void hide_dot_files(Widget root);
// Puts the blank label back on option menus that hold no choice (the
// toolkit relabels them with their current button when it lays them out).
void reshow_blank_menus();
// Forgets the blank option menus inside root (root about to be destroyed).
void forget_blank_menus(Widget root);
// Waits (at most a second) until w's window is mapped, then draws it: for a
// dialog shown just before work that blocks the event loop.
void show_drawn(Widget w);
// True while the cancel dialog of a long operation is shown or about to
// be (its delay running).
bool cancel_dialog_active();
// True for the Working dialog of the busy state.
bool is_work_dialog(Widget w);
// Takes down a pending work dialog, clears the basic-mode hotspot text,
// places w 20 pixels right of and below parent when offset is 1 (and a
// parent is given), then shows and raises it.
void gui_manage_child_place(Widget w, Widget parent, int offset);
// Raises the shell of w for an input event, unless the event is the space
// bar, Return or F1 (they act on the window that has them) or w is the
// object raised last. Returns 1 when it raised.
int expose_shell(Widget w, const XEvent* event);
// Sets a file selection box's directory and its filter (dir/pattern).
void set_directory(Widget box, const std::string& dir, const std::string& pattern = "*");
// Pixel of a colour name in the default colour map; the screen's black
// pixel when the name is unknown.
Pixel get_color(const std::string& name);
// Registers the input controls inside root (text fields, texts, lists,
// option menus, toggle boxes, toggles, rows of push buttons) as keyboard
// tab groups, in the order of the widget tree.
void register_tab_groups(Widget root);
// The main window's tab groups: device name, community, device list, then
// its other controls.
void register_main_tab_groups();
Widget get_shell_parent(Widget w);
std::string cvt_cps_str(XmString cs);
void ring_bell();

// A text field selects its whole text, caret at the end, when it takes the
// keyboard focus.
void select_on_focus(Widget w);
// Focus and hotspot handler installed on every fetched object.
void install_focus_handlers(Widget root);
extern Widget focus_widget;
extern Widget main_focus_widget;
void restore_focus();
// Keyboard search in a list (lists 50, 252, 608).
void setup_list_for_search(Widget list);
void clear_list_search_cache(Widget list);

// Start-up (startup_motif.cpp): runs the whole start and the main loop.
int gui_main(int argc, char** argv);
// Start-up steps 1 to 16 without the main loop (tests pump events themselves).
int gui_start(int argc, char** argv);
// Test hook: called once the staged initialisation finished.
extern void (*g_init_done_hook)();
// 1 once the staged initialisation finished (commands are available).
extern int g_init_done;

// The clock of the timer service (ui_add_timer): the toolkit's real time,
// or (for tests) a clock that moves only when advanced; the timers due by
// then run from the main loop, earliest first.
void use_manual_timer_clock(bool on);
void advance_timer_clock(int ms);

// Busy nesting count and whether the Working dialog is shown (for tests).
int app_busy_count();
// Gives a shell the cursor of the current busy state.
void apply_current_cursor(Widget shell);
bool work_dialog_shown();
std::string warning_box_text();
// Registers the callback names with the interface loader, the Return
// action and its translation.
void register_callback_names();
// The prefix typed in the list search (for tests).
std::string list_search_prefix();
// Empties the slot when the widget it holds is destroyed.
void watch_slot(Widget w, int slot, int table);
// The question dialog that ask_user waits on (nullptr when none).
extern Widget g_ask_dialog;
