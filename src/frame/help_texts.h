// Fixed help texts of the prompts and the file selection boxes, by the id
// of the command that opens them.
#pragma once

#include <string>

std::string prompt_help_text(int id);
std::string fil_sel_help_text(int id);
