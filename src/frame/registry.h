// The registry of windows and commands: one row per window (its ids,
// title, help file, placement and handlers) and, inside it, one row per
// command (the control's id and the function it runs). The dispatcher, the
// help look-up, the Save action and the staged window set-up all read
// these rows; nothing else knows what an id of a window does.
#pragma once

#include <vector>

#include "ui/widget_ids.h"

// A command: the id of a control and what it runs. run returns 1 when it
// handled the id; a null run marks a control that is only read when its
// window's command runs (an option toggle, a field). changes marks a
// command that changes a device or a file on a load host: the access rule
// greys it for an operator not in bin/users.list.
struct CommandRow {
    int id;
    int (*run)(int id);
    bool changes = false;
};

// A help button and the file under data/help it shows.
struct HelpRow {
    int id;
    const char* file;
};

// Where the staged start-up builds a window and how it places it.
struct Placement {
    int step; // start-up step that builds the window (0: built on demand)
    const char* icon_name;
    const char* shell_name; // UIL names of the shell and the form
    int shell;
    const char* form_name;
    int x, y, width, height;
};

struct WindowRow {
    int form;          // the window's form (its key)
    const char* title; // shell title
    Placement place;
    std::vector<HelpRow> help;
    std::vector<int> saves;   // Save buttons: they save text
    int text;                 // output text area (Save and Clear), or 0
    int clear_id;             // empties text, or 0
    int close_id;             // closes the window, or 0
    void (*closed)(int form); // frees what the window built, or nullptr
    std::vector<CommandRow> commands;
};

// The windows of the main widget table, the main window first.
const std::vector<WindowRow>& window_rows();
// The window of a form, or nullptr.
const WindowRow* window_of_form(int form);
// The window that holds control id among its commands, help, Save, Clear
// or Close ids, or nullptr.
const WindowRow* window_of_id(int id);
// The command row of id within w, or nullptr.
const CommandRow* command_of(const WindowRow& w, int id);
// The windows built by the staged start-up, in step order.
std::vector<const WindowRow*> staged_windows();

// The windows of the basic-mode table (the setup window and the windows
// that hold pages): help button and file, Close button.
struct BasicWindowRow {
    int form;
    HelpRow help;
    int close_id;             // -1: closing goes through the pages (they ask first)
    std::vector<int> changes; // its controls that send Sets (the access rule)
};
const std::vector<BasicWindowRow>& basic_window_rows();

// The controls that change a device or a file, of both tables: the main
// table's command rows marked changes, then the basic table's.
std::vector<int> change_ids(int table);

// The help file of a help id of either table ("" when it has none).
const char* help_file_of(int help_id, int table);
