// Headless UI services: widget states in memory, dialogs recorded, questions
// answered from a script. Linked into tests in place of the Motif services.
#include "ui_headless/ui_headless.h"
#include "ui/app_globals.h"

#include <cstdlib>
#include <deque>
#include <map>

namespace {

struct HlState {
    std::map<std::pair<int, int>, HlWidget> widgets;
    std::vector<HlEvent> events;
    std::deque<int> answers;
    int answer_all = 0; // 0: the default button
    std::string warning_box;
    bool warning_open = false;
    int cancel_at = 0;     // 0: never
    std::string cancel_on; // a label that arms a cancel ("" never)
    bool cancel_armed = false;
    int cancelled_calls = 0;
    std::vector<int> percents;
    int cursor_depth = 0;
    bool cancel_open = false;
    bool cancel_follow_snmp = false;
    std::string cancel_label;
};

HlState& st() {
    static HlState s;
    return s;
}

// Rewordings of what the program says, from MM_REWORD ("FROM=>TO" pairs
// separated by ";"). A seam for tests: it changes the words of reports and
// warnings without changing what the program does, which shows that no
// caller decides anything from the words.
const std::vector<std::pair<std::string, std::string>>& rewordings() {
    static const std::vector<std::pair<std::string, std::string>> pairs = [] {
        std::vector<std::pair<std::string, std::string>> out;
        const char* env = std::getenv("MM_REWORD");
        std::string pairs_text = env ? env : "";
        for (size_t pos = 0; pos < pairs_text.size();) {
            size_t end = pairs_text.find(';', pos);
            std::string one =
                pairs_text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
            size_t arrow = one.find("=>");
            if (arrow != std::string::npos && arrow > 0)
                out.push_back({one.substr(0, arrow), one.substr(arrow + 2)});
            pos = end == std::string::npos ? pairs_text.size() : end + 1;
        }
        return out;
    }();
    return pairs;
}

std::string reworded(std::string text) {
    for (const auto& [from, to] : rewordings())
        for (size_t at = text.find(from); at != std::string::npos;
             at = text.find(from, at + to.size()))
            text.replace(at, from.size(), to);
    return text;
}

void record(const std::string& kind, int parent, const std::string& title, const std::string& text,
            int answer = 0) {
    st().events.push_back(HlEvent{kind, parent, title, text, answer});
}

int next_answer(int default_answer) {
    if (st().answers.empty())
        return st().answer_all != 0 ? st().answer_all : default_answer;
    int a = st().answers.front();
    st().answers.pop_front();
    return a;
}

bool valid_pos(const HlWidget& w, int pos) {
    return pos >= 1 && pos <= static_cast<int>(w.items.size());
}

// Selection positions shift when an item is inserted or deleted before them.
void shift_selection(HlWidget& w, int from, int delta) {
    std::set<int> moved;
    for (int p : w.selected) {
        if (p >= from)
            moved.insert(p + delta);
        else
            moved.insert(p);
    }
    w.selected = moved;
}

} // namespace

std::string hl_reworded(const std::string& text) {
    return reworded(text);
}

// ---- test control ----------------------------------------------------------

void hl_drop_timers();

namespace {
const bool headless_registered = add_state_reset(hl_reset);
} // namespace

void hl_reset() {
    st() = HlState();
    hl_drop_timers();
}

HlWidget& hl_widget(int id, int table) {
    return st().widgets[{table, id}];
}

bool hl_has_widget(int id, int table) {
    return st().widgets.count({table, id}) != 0;
}

const std::vector<HlEvent>& hl_events() {
    return st().events;
}

std::vector<std::string> hl_texts(const std::string& kind) {
    std::vector<std::string> out;
    for (const HlEvent& e : st().events)
        if (e.kind == kind)
            out.push_back(e.text);
    return out;
}

void hl_clear_events() {
    st().events.clear();
}
void hl_queue_answer(int answer) {
    st().answers.push_back(answer);
}

void hl_cancel_at(int n) {
    st().cancel_at = n;
    st().cancelled_calls = 0;
}

void hl_cancel_on_label(const std::string& prefix) {
    st().cancel_on = prefix;
    st().cancel_armed = false;
}

int hl_is_cancelled_calls() {
    return st().cancelled_calls;
}
std::vector<int> hl_cancel_percents() {
    return st().percents;
}
std::string hl_warning_box() {
    return st().warning_open ? st().warning_box : std::string();
}

void hl_close_warning_box() {
    st().warning_open = false;
    st().warning_box.clear();
}

int hl_cursor_depth() {
    return st().cursor_depth;
}
bool hl_cancel_dialog_open() {
    return st().cancel_open;
}
std::string hl_cancel_label() {
    return st().cancel_label;
}

// ---- messages and questions ---------------------------------------------

void display_warn(int parent_id, const std::string& said) {
    std::string text = reworded(said);
    record("warn", parent_id, "Warning Message", text);
    if (text.empty())
        return;
    st().warning_box = warning_with(st().warning_open ? st().warning_box : "", text);
    st().warning_open = true;
}

bool answer_pending() {
    return st().warning_open;
}

void redisplay_warn(int) {}

void ui_bell(int volume) {
    record("bell", 0, "", std::to_string(volume));
}

void display_msg(int parent_id, const std::string& text) {
    record("msg", parent_id, "Message", reworded(text));
}

int ask_user(int parent_id, const std::string& title, const std::string&, const std::string&,
             int default_ok, const std::string& text) {
    int answer = next_answer(default_ok == 1 ? ASK_OK : ASK_CANCEL);
    // The busy count is left as it was, as the toolkit version does.
    record("ask", parent_id, title, text, answer);
    return answer;
}

int gui_display_question(int parent_id, const std::string& text, const std::string& detail,
                         std::function<void()> ok_action) {
    if (text.empty() || !ok_action)
        return 0;
    std::string full = detail.empty() ? text : text + "\n\n" + detail;
    int answer = next_answer(ASK_OK);
    record("question", parent_id, "Confirmation", full, answer);
    if (answer == ASK_OK)
        ok_action();
    return 1;
}

// ---- busy cursor, work and cancel dialogs -------------------------------

void set_app_cursor(int mode) {
    if (mode == CURSOR_BUSY || mode == CURSOR_BUSY_ALT)
        ++st().cursor_depth;
    else if (st().cursor_depth > 0)
        --st().cursor_depth;
}

void set_app_cursor_no_dly(int mode) {
    set_app_cursor(mode);
}

void display_work(int parent_id, const std::string& title, const std::string& text) {
    record("work", parent_id, title, text);
}

void update_work(int parent_id, const std::string& title, const std::string& text, int) {
    record("work", parent_id, title, text);
}

void remove_work() {}

void pop_cancel_dialog(int mode, int parent_id, const std::string& title, const std::string& label,
                       int, int follow_snmp, int, int) {
    if (mode == 1) {
        st().cancel_open = true;
        st().cancel_follow_snmp = follow_snmp != 0;
        st().cancel_label = label.empty() ? "Percent done" : label;
        g_cancel_process = 0;
        g_snmp_pct_done = 0;
        g_other_pct_done = 0;
        g_update_in_snmp = follow_snmp;
        record("cancel", parent_id, title.empty() ? "Cancel" : title, st().cancel_label);
    } else {
        pop_cancel_dialog_down();
    }
}

namespace {
std::function<void(const std::string&, int)> progress_listener;
int last_percent = 0;
} // namespace

void hl_set_progress_listener(std::function<void(const std::string&, int)> listener) {
    progress_listener = std::move(listener);
}

int is_cancelled(int percent) {
    HlState& s = st();
    last_percent = percent;
    if (progress_listener && s.cancel_open)
        progress_listener(s.cancel_label, percent);
    if (s.cancel_follow_snmp)
        g_snmp_pct_done = percent;
    else
        g_other_pct_done = percent;
    s.percents.push_back(percent);
    ++s.cancelled_calls;
    if ((s.cancel_at > 0 && s.cancelled_calls == s.cancel_at) || s.cancel_armed) {
        s.cancel_armed = false;
        s.cancel_on.clear();
        g_cancel_process = 1;
        s.cancel_open = false;
    }
    return g_cancel_process;
}

void reset_cancel_dialog(const std::string& text, const std::string& device_name) {
    std::string label = device_name.empty() ? text : text + " Morix " + device_name;
    if (label.size() >= 1024)
        label = "App Error: Header doesn't fit";
    st().cancel_label = label;
    if (!st().cancel_on.empty() && label.rfind(st().cancel_on, 0) == 0)
        st().cancel_armed = true;
    if (st().cancel_follow_snmp)
        g_snmp_pct_done = 0;
    if (progress_listener && st().cancel_open)
        progress_listener(label, last_percent);
}

int pop_cancel_dialog_down() {
    int cancelled = g_cancel_process;
    if (progress_listener && st().cancel_open)
        progress_listener("", -1);
    last_percent = 0;
    st().cancel_open = false;
    g_snmp_pct_done = 0;
    g_other_pct_done = 0;
    g_update_in_snmp = 0;
    return cancelled;
}

void update_cancel_scale() {}
void process_pending_events() {}
void clear_event_queue(int) {}

// ---- windows --------------------------------------------------------------

void gui_manage_top_form(int form_id, int table) {
    hl_widget(form_id, table).managed = true;
}
void gui_unmanage_top_form(int form_id, int table) {
    hl_widget(form_id, table).managed = false;
}

int expose_dialog(int form_id, int table) {
    return hl_has_widget(form_id, table) && hl_widget(form_id, table).managed ? 1 : 0;
}

void ui_manage(int id, int table) {
    hl_widget(id, table).managed = true;
}
void ui_unmanage(int id, int table) {
    hl_widget(id, table).managed = false;
}

bool ui_is_managed(int id, int table) {
    return hl_has_widget(id, table) && hl_widget(id, table).managed;
}

bool ui_exists(int id, int table) {
    return hl_has_widget(id, table);
}
void set_dialog_title(int id, const std::string& title, int table) {
    hl_widget(id, table).title = title;
}

void set_focus(int id, int table) {
    for (auto& kv : st().widgets)
        kv.second.has_focus = false;
    hl_widget(id, table).has_focus = true;
}

// ---- texts and labels -----------------------------------------------------

std::string ui_get_text(int id, int table) {
    return hl_has_widget(id, table) ? hl_widget(id, table).text : std::string();
}

void ui_set_text(int id, const std::string& text, int table) {
    hl_widget(id, table).text = text;
}

void write_otp_msg(int id, const std::string& text, int new_line, int, int table) {
    HlWidget& w = hl_widget(id, table);
    w.text += reworded(text);
    if (new_line)
        w.text += "\n";
}

std::string get_widget_label(int id, int table) {
    return hl_has_widget(id, table) ? hl_widget(id, table).label : std::string();
}

void set_widget_label(int id, const std::string& text, int table) {
    hl_widget(id, table).label = text;
}

// ---- lists ----------------------------------------------------------------

std::vector<std::string> ui_list_items(int id, int table) {
    return hl_has_widget(id, table) ? hl_widget(id, table).items : std::vector<std::string>();
}

int ui_list_count(int id, int table) {
    return static_cast<int>(ui_list_items(id, table).size());
}

void ui_list_add_item(int id, const std::string& text, int pos, int table) {
    HlWidget& w = hl_widget(id, table);
    if (pos <= 0 || pos > static_cast<int>(w.items.size()))
        pos = static_cast<int>(w.items.size()) + 1;
    w.items.insert(w.items.begin() + (pos - 1), text);
    shift_selection(w, pos, 1);
}

void ui_list_delete_pos(int id, int pos, int table) {
    HlWidget& w = hl_widget(id, table);
    if (pos == 0)
        pos = static_cast<int>(w.items.size());
    if (!valid_pos(w, pos))
        return;
    w.items.erase(w.items.begin() + (pos - 1));
    w.selected.erase(pos);
    shift_selection(w, pos + 1, -1);
}

void ui_list_delete_all(int id, int table) {
    HlWidget& w = hl_widget(id, table);
    w.items.clear();
    w.selected.clear();
}

void ui_list_replace_pos(int id, int pos, const std::string& text, int table) {
    HlWidget& w = hl_widget(id, table);
    if (valid_pos(w, pos))
        w.items[pos - 1] = text;
}

std::vector<int> ui_list_selected_pos(int id, int table) {
    if (!hl_has_widget(id, table))
        return {};
    const HlWidget& w = hl_widget(id, table);
    return std::vector<int>(w.selected.begin(), w.selected.end());
}

std::vector<std::string> ui_list_selected_items(int id, int table) {
    std::vector<std::string> out;
    if (!hl_has_widget(id, table))
        return out;
    const HlWidget& w = hl_widget(id, table);
    for (int p : w.selected)
        out.push_back(w.items[p - 1]);
    return out;
}

void ui_list_select_pos(int id, int pos, bool, int table) {
    HlWidget& w = hl_widget(id, table);
    if (pos == 0)
        pos = static_cast<int>(w.items.size());
    if (!valid_pos(w, pos))
        return;
    if (w.policy == LSP_SINGLE || w.policy == LSP_BROWSE)
        w.selected.clear();
    w.selected.insert(pos);
}

void ui_list_deselect_pos(int id, int pos, int table) {
    hl_widget(id, table).selected.erase(pos);
}
void ui_list_deselect_all(int id, int table) {
    hl_widget(id, table).selected.clear();
}
void ui_list_set_top_pos(int id, int pos, int table) {
    hl_widget(id, table).top_pos = pos;
}
void ui_list_set_bottom_pos(int id, int pos, int table) {
    hl_widget(id, table).bottom_pos = pos;
}
void ui_list_set_policy(int id, int policy, int table) {
    hl_widget(id, table).policy = policy;
}

int ui_list_get_policy(int id, int table) {
    return hl_has_widget(id, table) ? hl_widget(id, table).policy : LSP_BROWSE;
}

// ---- toggles, option menus, sensitivity ----------------------------------

bool ui_get_toggle(int id, int table) {
    return hl_has_widget(id, table) && hl_widget(id, table).toggle;
}

void ui_set_toggle(int id, bool state, bool, int table) {
    hl_widget(id, table).toggle = state;
}

std::string ui_get_option(int id, int table) {
    return hl_has_widget(id, table) ? hl_widget(id, table).option : std::string();
}

bool set_option_menu_top_button(int id, const std::string& label, int table) {
    HlWidget& w = hl_widget(id, table);
    if (!w.option_labels.empty()) {
        bool found = false;
        for (const std::string& l : w.option_labels)
            found = found || l == label;
        if (!found)
            return false;
    }
    w.option = label;
    return true;
}

void set_om_blank(int id, int table) {
    hl_widget(id, table).option.clear();
}

void ui_set_option_items(int id, const std::vector<std::string>& labels, int table) {
    HlWidget& w = hl_widget(id, table);
    w.option_labels = labels;
    w.option.clear();
}
void ui_set_sensitive(int id, bool sensitive, int table) {
    hl_widget(id, table).sensitive = sensitive;
}

bool is_sens(int id, int table) {
    return !hl_has_widget(id, table) || hl_widget(id, table).sensitive;
}

void ui_fetch_dialog(const std::string&, int slot) {
    hl_widget(slot);
}

void ui_rescan_files(int, int) {}

// ---- program end ------------------------------------------------------------

#include <cstdio>
#include <cstdlib>

#include "ui/app_globals.h"

void exit_gracefully(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    std::exit(1);
}

void s_error(const std::string& message) {
    std::fprintf(stderr, "\n\n%s\n\n", message.c_str());
    std::exit(1);
}

// ---- frame services ---------------------------------------------------------

void process_exit() {
    record("exit", W_MAIN_WINDOW, "", "");
}

void layout_main_window(int customized) {
    record("layout", W_MAIN_WINDOW, "", customized ? "customized" : "setup");
}

void display_msg_box(int parent_id, const std::string& title, const std::string& text) {
    record("msg", parent_id, title, text);
}

void display_item_help(int parent_id, const std::string& text) {
    record("item_help", parent_id, "Window Item Help", text);
}

void ui_text_show_position(int id, int pos, int table) {
    hl_widget(id, table).top_pos = pos;
}

void ui_file_selection(int parent_id, const std::string& title, const std::string& dir,
                       std::function<int(const std::string&)>, const std::string&) {
    record("file_sel", parent_id, title, dir);
}

void pop_delay_dialog(int mode, int parent_id, const std::string& title, const std::string& text,
                      int) {
    if (mode == 1)
        record("work", parent_id, title, text);
}

void write_otp_msg_redisp(int id, const std::string& text, int new_line, int show_end, int table) {
    write_otp_msg(id, text, new_line, show_end, table);
}

// The scripted answer decides; the mask and the values keep what the caller
// put in, so a test presets them.
int display_box(int parent_id, const std::string& title, const std::string& label,
                const std::vector<std::string>&, const std::string&, int*) {
    int answer = next_answer(ASK_OK);
    record("box", parent_id, title, label, answer);
    return answer;
}

namespace {
std::vector<std::pair<int, bool>> box_presses;
}

void hl_queue_box_toggles(const std::vector<std::pair<int, bool>>& presses) {
    box_presses = presses;
}

int display_box_ruled(int parent_id, const std::string& title, const std::string& label,
                      const std::vector<std::string>&, const std::string&,
                      int (*rule)(int, int, bool), int* mask) {
    int answer = next_answer(ASK_OK);
    int m = 0;
    for (const auto& p : box_presses)
        m = rule(m, p.first, p.second);
    box_presses.clear();
    if (answer == ASK_OK && m == 0) {
        display_warn(W_MAIN_WINDOW, "You must select an item.");
        answer = ASK_CANCEL;
    }
    record("box", parent_id, title, label + " " + std::to_string(m), answer);
    if (answer == ASK_OK)
        *mask = m;
    return answer;
}

int display_prompt(int parent_id, const std::string& title, const std::vector<std::string>& labels,
                   std::vector<std::string>*) {
    int answer = next_answer(ASK_OK);
    record("prompt", parent_id, title, labels.empty() ? "" : labels[0], answer);
    return answer;
}

// ---- Set window rows ---------------------------------------------------------

void ui_build_set_rows(int, const std::vector<UiSetRow>& rows) {
    ui_free_set_rows();
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        HlWidget& t = hl_widget(set_row_id(r, SRP_TOGGLE), UI_SET_ROWS);
        t.label = rows[r].name;
        t.managed = true;
        HlWidget& in =
            hl_widget(set_row_id(r, rows[r].choices.empty() ? SRP_TEXT : SRP_OPTION), UI_SET_ROWS);
        in.option_labels = rows[r].choices;
        in.managed = true;
        in.sensitive = false;
        hl_widget(set_row_id(r, SRP_VD_PB), UI_SET_ROWS).label = "Dsp Diffs";
    }
}

void ui_free_set_rows() {
    auto& w = st().widgets;
    for (auto it = w.begin(); it != w.end();)
        it = it->first.first == UI_SET_ROWS ? w.erase(it) : std::next(it);
}

void ui_set_read_only(int id, bool read_only, int table) {
    hl_widget(id, table).sensitive = !read_only;
}

void hl_answer_all(int answer) {
    st().answer_all = answer;
}

// ---- Timers: kept until a test fires them ----------------------------------

namespace {
std::map<int, std::function<void()>> hl_timers;
int hl_next_timer = 0;
} // namespace

int ui_add_timer(int, std::function<void()> action) {
    hl_timers[++hl_next_timer] = std::move(action);
    return hl_next_timer;
}

void ui_remove_timer(int timer_id) {
    hl_timers.erase(timer_id);
}

void hl_drop_timers() {
    hl_timers.clear();
}

int hl_pending_timers() {
    return static_cast<int>(hl_timers.size());
}

int hl_fire_timers() {
    std::map<int, std::function<void()>> due;
    due.swap(hl_timers);
    for (auto& t : due)
        t.second();
    return static_cast<int>(due.size());
}
