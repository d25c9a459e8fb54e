// Report text helpers shared by the commands that print into output areas.
#pragma once

#include <string>
#include <vector>

#include "ui/outcome.h"

struct MorixRecord;

// Appends text (and a line end when new_line is 1) to a growing buffer.
void text_set_buf(const std::string& text, std::string* buffer, int new_line);
// "TRUE" or "FALSE".
const char* itob(int flag);
// The confirmation before devices are served: the text, the names of the
// devices (wrapped after every 60 characters) and "Do you want to
// continue?".
Question mrx_conf_question(const std::string& text, const std::vector<MorixRecord*>& recs);
// The device-name block of the confirmation, of the selected reachable
// devices.
std::string mrx_conf_names();
// The same block of the devices recs.
std::string mrx_conf_names(const std::vector<MorixRecord*>& recs);
