// Fixed help texts of the prompts and the file selection boxes, shown by
// the commands that open them.
#pragma once

#include <string>

std::string prompt_help_text(int id);
std::string fil_sel_help_text(int id);
