// Driving the windowed program as an operator does: the program runs in
// this process (so its widget tree can be searched for labels), input goes
// through the X server (XTest), and a scenario is a list of steps run from
// a toolkit timer, so they keep running inside the program's own nested
// loops (questions, the work and cancel dialogs).
//
//   EXPECT_EQ(run_scenario("add", {type_into(MAIN, "Morix Name:", "127.0.70.3"),
//                                  click(MAIN, "Add"), ...}), "");
//
// A control is found by its window's title ("Setup: *" for any title that
// begins so) and its label (or widget name).
// Before it is clicked it must be viewable, sensitive, inside its window and
// not covered by another window. Questions and warnings are answered only
// when they are the top window and hold the keyboard focus.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

// A step is tried every tick until act() returns "" (done). Any other text
// says why it cannot act yet; the step fails with it when timeout_ms runs
// out, or at once when the text starts with '!'.
struct Step {
    std::string what;
    std::function<std::string()> act;
    int timeout_ms = 5000;
};
using Steps = std::vector<Step>;

// The main window's title.
extern const char* const MAIN;

// Opens a menu path such as "Commands>Scripts>Create Script..." of the
// main window's menu bar and picks its last entry.
Step menu(const std::string& path);
// Clicks a button, toggle or list-less control; with ctrl held when asked.
Step click(const std::string& window, const std::string& label);
// Sets a toggle to state (clicks only when it differs).
Step toggle(const std::string& window, const std::string& label, bool state);
// Replaces a field's text: click, End, shift+Home, type (BackSpace for "").
// label is the field's widget name or the label beside or above it.
Step type_into(const std::string& window, const std::string& label, const std::string& text);
// Picks an entry of an option menu (found as type_into finds fields).
Step choose(const std::string& window, const std::string& label, const std::string& item);
// Clicks an item of a list (widget name); ctrl-click adds to the selection.
Step select_item(const std::string& window, const std::string& list, const std::string& item,
                 bool add = false);
// Double-clicks an item of a list.
Step open_item(const std::string& window, const std::string& list, const std::string& item);
// Answers a question or warning by its button, or by a key ("Return",
// "Escape"): the dialog must be the top window and hold the focus.
Step answer(const std::string& title, const std::string& button);
Step answer_key(const std::string& title, const std::string& key);
// Answers the dialog when it comes up within wait_ms; goes on without it
// otherwise (a question that only some values raise).
Step answer_if_asked(const std::string& title, const std::string& button, int wait_ms = 3000);
// Presses a key in the window that holds the focus, which must be this one.
Step key_in(const std::string& window, const std::string& key);
// Waits for a window to be on screen, or gone.
Step wait_window(const std::string& title, int timeout_ms = 5000);
Step wait_closed(const std::string& title, int timeout_ms = 5000);
// Waits until the window has at least the size its contents ask for.
Step expect_natural_size(const std::string& title);
// Waits until no two controls of the window overlap.
Step expect_no_overlap(const std::string& title);
// Waits until a text area or field (widget name) contains needle.
Step wait_text(const std::string& window, const std::string& widget, const std::string& needle,
               int timeout_ms = 10000);
// Lets time pass (the work dialog comes up after two seconds).
Step pause(int ms);
// A read-back: polled until fn returns "" (or its reason after timeout_ms).
Step check(const std::string& what, std::function<std::string()> fn, int timeout_ms = 5000);

// Read-backs polled as steps: a line of the file holds needle (or none
// does), and the device's variable reads value.
Step file_has(const std::string& path, const std::string& needle, bool present = true);
Step device_has(const std::string& addr, const std::string& var, const std::string& value);
// The steps of a followed by those of b.
Steps operator+(Steps a, const Steps& b);

// Skips a scenario test when its program could not be started.
#define NEED_PROGRAM()                                                                             \
    if (!g_ready)                                                                                  \
    GTEST_SKIP() << "needs the private network namespace and an X server"

// Runs the steps; "" when all were done, else the failing step and why.
// Screenshot of the last step: build/frame_screens/op_<name>.png. The
// windows opened so far are listed in build/operator_windows/<program>.txt.
std::string run_scenario(const std::string& name, const Steps& steps, int budget_ms = 60000);

// What the screen holds.
std::vector<std::string> window_titles();
std::string text_of(const std::string& window, const std::string& widget);
std::vector<std::string> list_items(const std::string& window, const std::string& list);

// What the device holds: the variable (NAME or NAME.INSTANCE) read with
// snmpget, an enumeration shown by its name; "" on no answer.
std::string snmp_get(const std::string& addr, const std::string& var);
// Lines of a text file ("" lines kept out).
std::vector<std::string> file_lines(const std::string& path);

// The objects of ui/*.uil that no other object holds, with their classes.
std::map<std::string, std::string> uil_top_objects(const std::string& ui_dir);
