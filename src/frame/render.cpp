#include "frame/render.h"

#include "catalogue/mib_catalogue.h"
#include "ui/ui.h"

void render_outcome(const Outcome& outcome, const OutputArea& area) {
    if (area.output != 0) {
        if (!area.append)
            ui_set_text(area.output, "");
        if (!outcome.report.empty())
            write_otp_msg(area.output, outcome.report, 0, area.show_end ? 1 : 0);
    }
    for (const std::string& w : outcome.warnings)
        display_warn(area.parent, w);
}

int remove_blanks_warn(int parent_id, const std::string& text, std::string* result) {
    std::string warning = blanks_removed_warning(text, result);
    if (warning.empty())
        return 0;
    display_warn(parent_id, warning);
    return 1;
}
