#include "catalogue/line_budget.h"

#include <cstdio>

#include "catalogue/line_scan.h"
#include "ui/diag.h"

LineBudget::~LineBudget() {
    int hidden = invalid_ - DATA_FILE_MAX_INVALID_SHOWN;
    if (hidden > 0) {
        diag_printf("\n\n... and %d more Invalid %s data lines\n\n", hidden, file_.c_str());
    }
}

bool LineBudget::take(const std::string& piece) {
    if (over_)
        return false;
    ++lines_;
    // A piece cut short by a NUL byte still cost at least one byte.
    bytes_ += piece.empty() ? 1 : static_cast<long>(piece.size());
    if (lines_ <= DATA_FILE_MAX_LINES && bytes_ <= DATA_FILE_MAX_BYTES)
        return true;
    over_ = true;
    diag_printf("\n\n%s: the file is larger than %ld lines or %ld bytes; the rest of it was "
                "not read.\n\n",
                file_.c_str(), DATA_FILE_MAX_LINES, DATA_FILE_MAX_BYTES);
    return false;
}

void LineBudget::invalid(const std::string& line) {
    if (++invalid_ <= DATA_FILE_MAX_INVALID_SHOWN)
        report_invalid_line(file_, line);
}
