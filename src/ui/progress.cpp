#include "ui/progress.h"

#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {
Progress* installed = nullptr;
Asker* installed_asker = nullptr;
OperationDisplay* installed_display = nullptr;
int question_parent = W_MAIN_WINDOW;

// The busy cursor and cancel dialog of the UI services.
class ServicesDisplay : public OperationDisplay {
  public:
    void busy(bool without_work) override {
        if (without_work)
            set_app_cursor_no_dly(CURSOR_BUSY);
        else
            set_app_cursor(CURSOR_BUSY);
    }
    void idle() override { set_app_cursor(CURSOR_NORMAL); }
    void open(int parent, const std::string& title, const std::string& label, bool confirm,
              bool follow_snmp, bool scale) override {
        pop_cancel_dialog(1, parent, title, label, confirm ? 1 : 0, follow_snmp ? 1 : 0,
                          scale ? 1 : 0, 0);
    }
    void label(const std::string& text, const std::string& device) override {
        reset_cancel_dialog(text, device);
    }
    bool poll(int percent) override { return is_cancelled(percent) != 0; }
    bool cancelled() override {
        clear_event_queue(W_CANCEL_BUTTON);
        return g_cancel_process != 0;
    }
    bool cancel_requested() override { return g_cancel_process != 0; }
    void clear_cancel() override { g_cancel_process = 0; }
    bool close() override { return pop_cancel_dialog_down() != 0; }
};

// The question box of the UI services (Motif in gui_mm, the headless
// queue in tests).
class BoxAsker : public Asker {
  public:
    bool ask(const Question& q) override {
        return ask_user(question_parent, q.title, q.ok_label, q.cancel_label, q.default_ok ? 1 : 0,
                        q.text) == ASK_OK;
    }
};
} // namespace

Asker& front_end_asker() {
    static BoxAsker box;
    return installed_asker ? *installed_asker : box;
}

void set_front_end_asker(Asker* asker) {
    installed_asker = asker;
}

void set_question_parent(int parent_id) {
    question_parent = parent_id;
}

OperationDisplay& front_end_display() {
    static ServicesDisplay services;
    return installed_display ? *installed_display : services;
}

void set_front_end_display(OperationDisplay* display) {
    installed_display = display;
}

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
        // A run that does not say what it does counts alone (no ": " first).
        front_end_display().label((what_.empty() ? "" : what_ + ": ") + std::to_string(done) +
                                      " of " + std::to_string(total) + " done" +
                                      (current.empty() ? "" : ", last"),
                                  current);
    }
    front_end_display().poll(total > 0 ? done * 100 / total : 0);
}

bool CancelDialogProgress::cancelled() {
    return front_end_display().cancelled();
}
