// Control of the headless UI services for tests: widget states by id, the
// record of every dialog shown, scripted answers and a chosen cancel point.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "ui/ui.h"

struct HlWidget {
    std::string text;
    std::string label;
    std::string title;
    std::vector<std::string> items;
    std::set<int> selected; // 1-based list positions
    std::vector<std::string> option_labels;
    std::string option;
    bool toggle = false;
    bool sensitive = true;
    bool managed = false;
    bool has_focus = false;
    int policy = LSP_BROWSE;
    int top_pos = 1;
    int bottom_pos = 0; // 0 until a list is scrolled to show an item last
};

// One dialog the program showed, in order.
struct HlEvent {
    std::string kind; // "warn", "msg", "ask", "question", "work"
    int parent = 0;
    std::string title;
    std::string text;
    int answer = 0; // for "ask" and "question"
};

// Forgets every widget, event, answer and cancel point.
void hl_reset();
// The text with the rewordings of MM_REWORD applied (the seam the headless
// services apply to what they show; front ends printing an outcome's
// report apply it too).
std::string hl_reworded(const std::string& text);
// The widget state (created on first use).
HlWidget& hl_widget(int id, int table = UI_MAIN);
bool hl_has_widget(int id, int table = UI_MAIN);

const std::vector<HlEvent>& hl_events();
std::vector<std::string> hl_texts(const std::string& kind);
void hl_clear_events();

// Answers for the next questions, in order; when none is queued a question
// gets its default button.
void hl_queue_answer(int answer);
// Answer for every question no queued answer covers (0: its default button).
void hl_answer_all(int answer);
// The n-th is_cancelled call from now (1-based) reports a cancel.
void hl_cancel_at(int n);
// The first is_cancelled call after the cancel dialog's label begins with
// prefix reports a cancel (a point that does not depend on call counts).
void hl_cancel_on_label(const std::string& prefix);
int hl_is_cancelled_calls();
std::vector<int> hl_cancel_percents();

// Accumulated text of the open warning box ("" when closed), and closing it.
std::string hl_warning_box();
void hl_close_warning_box();

// Called with the cancel dialog's label and percentage whenever a long
// operation reports progress, and with ("", -1) when the dialog goes down
// (mm_cli shows it on a terminal). Not reset by hl_reset.
void hl_set_progress_listener(std::function<void(const std::string&, int)> listener);

int hl_cursor_depth();
bool hl_cancel_dialog_open();
std::string hl_cancel_label();

// Timers of ui_add_timer that have not run: their count, and running every
// one of them now (as if their time had come); returns how many ran.
int hl_pending_timers();
int hl_fire_timers();

// Toggle presses for the next display_box_ruled (index, new state), applied
// through its rule from all toggles off; with none, OK gives an empty mask
// and the box answers ASK_CANCEL as the toolkit box refuses it.
void hl_queue_box_toggles(const std::vector<std::pair<int, bool>>& presses);
