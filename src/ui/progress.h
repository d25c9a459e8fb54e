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

// How a long operation shows itself to the operator: the busy cursor and
// the cancel dialog with its label, its percentage and its Cancel button.
// The long-operation guard of the command layers talks only to this; the
// default is the UI services' (the Motif dialog in gui_mm, the headless one
// in tests and mm_cli, where Ctrl-C cancels).
class OperationDisplay {
  public:
    virtual ~OperationDisplay() = default;
    // Busy cursor; without_work keeps the delayed Working dialog away.
    virtual void busy(bool without_work) = 0;
    virtual void idle() = 0;
    // The cancel dialog over the window parent: confirm makes Cancel ask
    // first, follow_snmp lets the request engine drive the percentage,
    // scale shows it drawn.
    virtual void open(int parent, const std::string& title, const std::string& label, bool confirm,
                      bool follow_snmp, bool scale) = 0;
    // New label "<text> Morix <device>" (the text alone without a device).
    virtual void label(const std::string& text, const std::string& device) = 0;
    // Shows percent and lets Cancel act; true once the operator cancelled.
    virtual bool poll(int percent) = 0;
    // Lets Cancel act without a new percentage; true once cancelled.
    virtual bool cancelled() = 0;
    // True once cancelled; nothing shown, no input read.
    virtual bool cancel_requested() = 0;
    // Forgets an earlier cancel before a new operation starts.
    virtual void clear_cancel() = 0;
    // Takes the dialog down; true when the operator had cancelled.
    virtual bool close() = 0;
};

OperationDisplay& front_end_display();
// Installs display (null: the UI services' again); the caller keeps it
// alive while installed.
void set_front_end_display(OperationDisplay* display);

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
