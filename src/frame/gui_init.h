// Catalogue load at the end of start-up, and the access check.
#pragma once

#include <cstdio>
#include <string>

#include "ui/program.h"

constexpr int W_CONFIRM_AUTO_RESET_TB = 54;


// Writes the catalogue dump of -debug to out.
void dump_mib_catalogue(std::FILE* out);
