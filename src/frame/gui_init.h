// Catalogue load at the end of start-up, and the access check.
#pragma once

#include "ui/widget_ids.h"

#include <cstdio>
#include <string>

#include "ui/program.h"

// Writes the catalogue dump of -debug to out.
void dump_mib_catalogue(std::FILE* out);
