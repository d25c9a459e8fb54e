// Report text helpers shared by the commands that print into output areas.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct MorixRecord;

// Appends text (and a line end when new_line is 1) to a growing buffer.
void text_set_buf(const std::string& text, std::string* buffer, int new_line);
// "TRUE" or "FALSE".
const char* itob(int flag);
// The question box with the text, the names of the selected reachable
// devices (wrapped after every 60 characters) and "Do you want to continue?".
// Returns gui_display_question's result.
int build_mrx_conf(const std::string& text, int parent_id, std::function<void()> ok_action);
// The device-name block of build_mrx_conf.
std::string mrx_conf_names();
// The same block of the devices recs.
std::string mrx_conf_names(const std::vector<MorixRecord*>& recs);
