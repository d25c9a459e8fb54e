#include "ui/progress.h"

#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {
Progress* installed = nullptr;
} // namespace

Progress& front_end_progress() {
    static CancelDialogProgress dialog;
    return installed ? *installed : dialog;
}

void set_front_end_progress(Progress* progress) {
    installed = progress;
}

void CancelDialogProgress::begin(const std::string& what, int total) {
    what_ = what;
    many_ = total > 1;
    last_done_ = -1;
    last_current_.clear();
}

void CancelDialogProgress::step(int done, int total, const std::string& current) {
    // The label changes at the start and when a step names another device;
    // a step that only polls (the same device) keeps it.
    if (many_ && (last_done_ < 0 || current != last_current_)) {
        last_done_ = done;
        last_current_ = current;
        reset_cancel_dialog(what_ + ": " + std::to_string(done) + " of " + std::to_string(total) +
                                " done" + (current.empty() ? "" : ", last"),
                            current);
    }
    is_cancelled(total > 0 ? done * 100 / total : 0);
}

bool CancelDialogProgress::cancelled() {
    clear_event_queue(W_CANCEL_BUTTON);
    return g_cancel_process != 0;
}
