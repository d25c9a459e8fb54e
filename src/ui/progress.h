// The Progress a long command reports through when its caller names none:
// the front end's. The default shows the cancel dialog of the UI services
// (the Motif dialog in gui_mm, the headless one in tests); mm_cli installs
// its own over SIGINT and standard error.
#pragma once

#include "ui/outcome.h"

Progress& front_end_progress();
// Installs progress (null: the cancel dialog again); the caller keeps it
// alive while installed.
void set_front_end_progress(Progress* progress);

// Progress over the cancel dialog. A run of many steps labels the dialog
// "<what>: <done> of <total> done, last Morix <current>" at its first step
// and whenever current changes; every step sets the dialog's percentage and
// lets its Cancel button act. cancelled() lets the button act and reads the
// flag.
class CancelDialogProgress : public Progress {
  public:
    void begin(const std::string& what, int total) override;
    void step(int done, int total, const std::string& current) override;
    bool cancelled() override;

  private:
    std::string what_;
    bool many_ = false;
    int last_done_ = -1;
    std::string last_current_;
};

// The Asker a command asks through when its caller names none: ask_user
// over the window set by set_question_parent (the main window by default);
// mm_cli installs its own (-y answers OK, otherwise Cancel).
Asker& front_end_asker();
// Installs asker (null: the question box again); the caller keeps it alive.
void set_front_end_asker(Asker* asker);
// The window over which front_end_asker's box opens.
void set_question_parent(int parent_id);
