// Questions a command asks while a window is the operator's: the front
// end's asker with its box over that window, the main window again after.
#pragma once

#include "ui/progress.h"
#include "ui/widget_ids.h"

class WindowAsker : public Asker {
  public:
    explicit WindowAsker(int parent) : parent_(parent) {}
    bool ask(const Question& question) override {
        set_question_parent(parent_);
        bool ok = front_end_asker().ask(question);
        set_question_parent(W_MAIN_WINDOW);
        return ok;
    }

  private:
    int parent_;
};
