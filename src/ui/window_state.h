// What the commands below the frame know of the windows' shared state: the
// devices and names the operator selected in the main window, whether a
// window is open, and the fields of a basic-mode page. The frame reads its
// widgets into these records and registers the readers at start-up; the
// commands never read a widget themselves. Unregistered readers give empty
// records (nothing selected, nothing open).
#pragma once

#include <string>
#include <vector>

#include "ui/ui.h"

// The main window's two lists as the operator left them.
struct MainSelection {
    int rows = 0;                    // rows the device list shows
    std::vector<int> devices;        // selected device rows, 1-based, ascending
    std::vector<std::string> params; // names selected in the function list
    bool params_listed = false;      // the list shows parameters, not groups
};

// What a basic-mode page reads of one of its controls.
enum PageRead {
    PR_TEXT = 0,      // the text of a field
    PR_OPTION = 1,    // the label of an option menu's current button
    PR_TOGGLE = 2,    // "1" set, "0" not
    PR_LABEL = 3,     // the label of a label or button
    PR_SENSITIVE = 4, // "1" when the operator can use it
    PR_MANAGED = 5    // "1" when it is shown
};

// A basic-mode list's selection (rows as shown, 1-based positions) and size.
struct PageListState {
    int count = 0;
    std::vector<int> positions;
    std::vector<std::string> rows;
};

struct WindowReaders {
    MainSelection (*main_selection)() = nullptr;
    bool (*window_open)(int form, int table) = nullptr;
    std::string (*page_read)(int id, int what) = nullptr;
    PageListState (*page_list)(int id, int table) = nullptr;
};
// Set by the frame (frame/window_readers.cpp); tests set it the same way.
extern WindowReaders window_readers;

MainSelection main_selection();
bool window_open(int form, int table = UI_MAIN);
// One control of a basic-mode page (table UI_BASIC), as PageRead says.
std::string page_read(int id, int what);
bool page_toggle(int id);
// A list's selection: basic-mode lists and the internal modems list.
PageListState page_list(int id, int table = UI_BASIC);
