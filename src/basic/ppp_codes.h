// The decoding tables of the PPP Dial Access page: protocol code and
// dial-up address value to toggles and back, endpoint classes and their
// value rules. Pure functions, no widgets.
#pragma once

#include <string>

// Code of five protocol toggles (0 when t0, t1 and t2 are all off).
int ncp_code_of(const bool on[5]);
// Toggles of a read code: codes 1 to 29 their pattern, 3 all five, others none.
void ncp_toggles_of(int code, bool on[5]);
// Dial-up value 0..3 to the toggle set (-1 none) and back.
int dialup_toggle_of(int value);
int dialup_value_of(int toggle);
// Endpoint class 1, 2, 3, 4, 6 to its toggle (-1 none) and back (0 none).
int endpoint_toggle_of(int cls);
int endpoint_class_of(int toggle);
// Class 2: letters and digits; class 6: digits, blanks, "*", ",", "-", ".";
// empty passes.
bool endpoint_value_ok(int cls, const std::string& value);
