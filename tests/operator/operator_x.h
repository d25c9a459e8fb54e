// The X side of the operator harness: top-level windows as the window
// manager stacks them, controls found by label, the checks made before a
// click, and input sent through the server with XTest.
#pragma once

#include <X11/Intrinsic.h>

#include <string>
#include <vector>

struct TopWindow {
    Window frame = 0;  // child of the root (the window manager's frame)
    Window client = 0; // the program's window inside it
    std::string title;
};

// Viewable managed windows, bottom of the stack first.
std::vector<TopWindow> top_windows();
// The program's shell widget of the viewable window with this title (a
// title ending in '*' matches every title that begins with the rest).
Widget shell_titled(const std::string& title);
// Every widget under root (popup menus excluded).
std::vector<Widget> widgets_under(Widget root);
std::string label_of(Widget w);
// A labelled control (button, toggle, cascade) or one named so.
Widget find_control(Widget shell, const std::string& label);
// An input control (text field, text, option menu, list) named so, or the
// one right of (else below) the label with this text.
Widget find_input(Widget shell, const std::string& label);

// "" when the shell is at least as large as its contents ask to be.
std::string why_not_natural_size(Widget shell);
// "" when no two controls of the window (labels, buttons, fields, option
// menus) overlap on the screen, else the first two that do.
std::string why_overlapping(Widget shell);
// "" unless the cancel dialog of a long operation is on screen with a
// label or button outside its window, or with a label cut.
std::string why_cancel_dialog_cut();
// "" when a click at the middle of w reaches w, else why not.
std::string why_not_clickable(Widget w);
// "" when the window is the top window and holds the keyboard focus.
std::string why_not_answerable(const std::string& title);
// Milliseconds until another click is not read as a double click.
int click_wait_ms();
// Moves the pointer to the middle of w and clicks button 1.
void click_widget(Widget w, bool ctrl = false);
// Clicks at a point of w (x, y inside it).
void click_at(Widget w, int x, int y, bool ctrl = false);
// Presses and releases a key by its name ("Return", "End", "a"), with shift.
void send_key(const std::string& name, bool shift = false);
void send_text(const std::string& text);
long now_ms();
