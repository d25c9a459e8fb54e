// Saving a window's output text to a file (the shared Save action).
#pragma once

#include <string>

// 1 when the window of save_id has something to save; with warn set,
// "There is no information to save." otherwise. Ids not listed pass.
int save_text_check(int parent_id, int save_id, int warn);
// Writes text to the file named (blanks removed, overwrite asked) with mode
// 0644. Returns 1 when the file was written (the selection box may close).
int save_text_proc(int parent_id, const std::string& file_name, const std::string& text);
// The Save button of a window: check, then the file selection box.
void save_output_action(int form_id, int save_id, int text_id);
