// Catalogue load at the end of start-up, and the access check.
#pragma once

#include <cstdio>
#include <string>

constexpr int W_CONFIRM_AUTO_RESET_TB = 54;

// Reads the MIB catalogue, the hotspot help and the function catalogue,
// fills the main function list, empties the device and discovery lists and
// sets the SNMP defaults. Returns 0 or -4.
int gui_init();

// Writes the catalogue dump of -debug to out.
void dump_mib_catalogue(std::FILE* out);
