// Where the program's internal diagnostics go: malformed data lines, engine
// errors, -debug dumps. gui_mm writes them to standard output, where the
// operator who started it from a shell reads them; mm_cli to standard
// error, because its standard output holds the report (or one JSON
// document) and nothing else.
#pragma once

#include <cstdio>

std::FILE* diag_stream();
void set_diag_stream(std::FILE* stream);

// printf onto the diagnostics stream, flushed at once.
void diag_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
