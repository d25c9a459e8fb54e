#include "ui/diag.h"

#include <cstdarg>

namespace {
std::FILE* diag_out = nullptr; // null: standard output
} // namespace

std::FILE* diag_stream() {
    return diag_out ? diag_out : stdout;
}

void set_diag_stream(std::FILE* stream) {
    diag_out = stream;
}

void diag_printf(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::vfprintf(diag_stream(), format, args);
    va_end(args);
    std::fflush(diag_stream());
}
