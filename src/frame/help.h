// Window, function, parameter and item help, collected in the Help window
// (form 107, text 108) for the whole run, and the About box.
#pragma once

#include <string>

#include "frame/help_texts.h"

// Help file of a window help id ("" when the id has none).
std::string win_help_file(int help_id, int table);
// Appends the window's help file to the Help window (once per heading) and
// opens it scrolled to the heading.
void display_win_help(int help_id, int table);
// Function help for the name double-clicked in the function list.
void display_fnc_help(const std::string& name, int standard_group);
// Parameter help for a catalogue id.
void display_prm_help(int mib_id);
// Effective default value of a catalogue variable.
std::string get_def_value(int mib_id);
// Item help from a file under data/help.
void wgt_help_from_file(int parent_id, const std::string& file);
// The About box.
void display_about();

// Reads help lines from path into out: an empty line before each heading
// (a line ending in four asterisks); stops at a heading already present in
// existing. Returns -1 when path is not a readable regular file, else 0;
// *stop_heading is the heading met again, *last_heading the last one read.
int read_help_file(const std::string& path, const std::string& existing, std::string* out,
                   std::string* stop_heading, std::string* last_heading);
