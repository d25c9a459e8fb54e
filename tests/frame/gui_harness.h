// Support for the GUI tests: a private X server, the program started
// in-process, event pumping, pressing controls by widget id, answering
// questions later, screenshots and running the real program.
#pragma once

#include <X11/Xlib.h>

#include <string>
#include <vector>

// Starts Xvfb on a free display and sets DISPLAY; returns false on failure.
bool start_xvfb();
void stop_xvfb();
const std::string& xvfb_display();
// Starts the Motif window manager on the display of start_xvfb and waits
// until it manages the screen; stop_mwm stops it by its process id.
// Focus follows the pointer unless click_to_type (the window manager's own
// default: a click gives the focus and raises the window).
bool start_mwm(bool click_to_type = false);
void stop_mwm();
// The window's place in the root window's stacking order (bottom 0), taken
// from the top-level ancestor that holds it (the window manager's frame),
// or -1 when it is not under the root.
int stacking_index(Display* dpy, Window w);

// Processes events for about ms milliseconds.
void pump(int ms);
// Processes events until done() or ms elapsed; returns done().
bool pump_until(bool (*done)(), int ms);
// Presses a push button / sets a toggle with notification, by widget id.
void press(int id);
void set_toggle_notify(int id, bool state);
// In ms milliseconds, answers the question that ask_user waits on: OK (1)
// or Cancel (2).
void answer_later(int ms, int answer);
// Writes build/frame_screens/<name>.png of the whole screen.
bool screenshot(const std::string& name);

// Runs the real program with args and extra environment settings
// ("NAME=value", or "NAME=" to remove); kills it after timeout_ms. Returns
// the exit status, or -1 when it had to be killed. stderr_out gets what
// the program wrote on standard error. When during is given it runs while
// the program is up (after the main window appeared).
int run_program(const std::vector<std::string>& args, const std::vector<std::string>& env,
                int timeout_ms, std::string* stderr_out, void (*during)() = nullptr);
// Runs a helper command (xdotool, import) and waits for it; returns status.
int run_command(const std::vector<std::string>& argv, std::string* out = nullptr);
// A copy of the staged installation tree in a temporary folder.
std::string copy_stage_dir();
void remove_tree(const std::string& dir);
