// What the selection check decided, as data, and the front end's way of
// showing it: the frame puts the texts over the window, mm_cli on standard
// error with every device it will not serve.
#pragma once

#include <string>
#include <vector>

#include "ui/outcome.h"

struct SelectionVerdict {
    bool go = false;                   // the command may go on
    std::string refusal;               // why not, when !go
    std::vector<std::string> warnings; // shown first; the command may still go on
    // Every selected device: done for those the command will serve,
    // unreachable (and why) for those it passes over.
    std::vector<DeviceOutcome> devices;
    // Rows (1-based) of the device list the check selected by itself, the
    // choice being obvious.
    std::vector<int> rows_selected;
};

using SelectionShower = void (*)(int parent, const SelectionVerdict& verdict);
// Replaces how verdicts are shown (null: the default below).
void set_selection_shower(SelectionShower shower);
// Shows a verdict over window parent through the shower in force.
void show_selection_verdict(int parent, const SelectionVerdict& verdict);
// The default: selects rows_selected in the device list without its
// callback, then each warning and the refusal as warnings over parent.
void show_selection_default(int parent, const SelectionVerdict& verdict);
