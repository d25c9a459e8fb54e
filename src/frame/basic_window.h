// The basic-mode windows: the setup window and the windows its pages open,
// a renderer of the page pattern (a page's record into its widgets and the
// operator's input back), and their actions.
#pragma once

struct BasicPage;

// The action callback of the basic-mode widgets; 1 when the id was handled.
int basic_dispatch(int id);
// Help id of the page shown in the setup window.
int basic_help_id(int id);
// Setup (main window): starts a run for the selected reachable devices and
// opens the General page.
void process_setup_basic();
// Shows a page's record in its widgets (what changed since it was last
// shown), and reads the operator's input back into every page's record.
void show_page(BasicPage& p);
void read_pages();
