// How the frame shows a command's Outcome: the report into the window's
// output area, each warning in the window's warning box (one box, each
// message once), nothing else. Windows whose outcome carries more (rows,
// labels, lists) have renderers of their own that call this for the common
// part.
#pragma once

#include "ui/outcome.h"

struct OutputArea {
    int parent = 0;       // window whose warning box is used
    int output = 0;       // output area of the report (0: none)
    bool append = true;   // add to what the area shows (false: replace it)
    bool show_end = true; // scroll to the end after writing
};

void render_outcome(const Outcome& outcome, const OutputArea& area);

// A name or file name as the operator typed it, without its white space;
// when any went, the warning over parent says so. 1 when it warned.
int remove_blanks_warn(int parent_id, const std::string& text, std::string* result);
