// The verbs of the operator harness and the timer that runs a scenario.
#include <X11/Intrinsic.h>
#include <Xm/List.h>
#include <Xm/MessageB.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/Text.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <Xm/ToggleBG.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "frame/gui_harness.h"
#include "motif/motif_internal.h"
#include "operator.h"
#include "operator_x.h"

const char* const MAIN = "Morix Manager";

namespace {

constexpr int TICK_MS = 40;

std::set<std::string>& opened() {
    static std::set<std::string> names;
    return names;
}

const std::map<std::string, std::string>& known_windows() {
    static std::map<std::string, std::string> names = [] {
        const char* src = std::getenv("MM_SOURCE_DIR");
        return uil_top_objects(std::string(src != nullptr ? src : ".") + "/ui");
    }();
    return names;
}

// Notes which windows of the interface description are on screen.
void record_windows() {
    for (const TopWindow& t : top_windows())
        if (Widget shell = XtWindowToWidget(XtDisplay(top_level), t.client))
            for (Widget w : widgets_under(shell))
                if (XtIsManaged(w) && known_windows().count(XtName(w)) != 0)
                    opened().insert(XtName(w));
}

std::string quoted(const std::string& s) {
    return "\"" + s + "\"";
}

// Finds the shell of a window, or says it is missing.
std::string need_shell(const std::string& title, Widget* shell) {
    *shell = shell_titled(title);
    return *shell != nullptr ? "" : "window " + quoted(title) + " is not on screen";
}

std::string click_now(Widget w, bool ctrl = false) {
    std::string why = why_not_clickable(w);
    if (!why.empty())
        return why;
    if (click_wait_ms() > 0)
        return "waiting out the double-click time";
    click_widget(w, ctrl);
    return "";
}

bool toggle_state(Widget w) {
    return XmIsToggleButton(w) ? XmToggleButtonGetState(w) : XmToggleButtonGadgetGetState(w);
}

std::string text_value(Widget w) {
    char* s = XmIsTextField(w) ? XmTextFieldGetString(w) : XmTextGetString(w);
    std::string v = s != nullptr ? s : "";
    XtFree(s);
    return v;
}

// A step that does something once and then waits until done() holds.
Step act_then(const std::string& what, std::function<std::string()> act,
              std::function<std::string()> done, int timeout_ms = 5000) {
    auto acted = std::make_shared<bool>(false);
    return {what,
            [=]() -> std::string {
                if (!*acted) {
                    std::string why = act();
                    if (!why.empty())
                        return why;
                    *acted = true;
                }
                return done();
            },
            timeout_ms};
}

// Clicks the entry of a posted menu (the submenu of a cascade or option menu).
std::string click_in_menu(Widget cascade, const std::string& item) {
    Widget sub = nullptr;
    XtVaGetValues(cascade, XmNsubMenuId, &sub, nullptr);
    if (sub == nullptr)
        return "!" + quoted(label_of(cascade)) + " opens no menu";
    Widget entry = find_control(sub, item);
    if (entry == nullptr)
        return "!the menu has no entry " + quoted(item);
    return click_now(entry);
}

// The whole screen as it is now (no events processed meanwhile).
void shot(const std::string& name) {
    XSync(XtDisplay(top_level), False);
    const char* build = std::getenv("MM_BUILD_DIR");
    std::string dir = std::string(build != nullptr ? build : ".") + "/frame_screens";
    run_command({"mkdir", "-p", dir});
    run_command({"import", "-window", "root", dir + "/op_" + name + ".png"});
}

struct Runner {
    const Steps* steps = nullptr;
    size_t next = 0;
    long step_start = 0;
    long last_record = 0;
    bool finished = false;
    bool stop = false;
    std::string failure;
    std::string name;
};
Runner g_run;

// After a failure: answers what the program waits on, so that its nested
// loops end and the next scenario starts from the main window.
void unwind() {
    if (g_ask_dialog != nullptr) {
        XmAnyCallbackStruct cbs = {XmCR_CANCEL, nullptr};
        XtCallCallbacks(g_ask_dialog, XmNcancelCallback, &cbs);
    }
    for (const TopWindow& t : top_windows()) {
        Widget shell = XtWindowToWidget(XtDisplay(top_level), t.client);
        if (shell == nullptr || shell == top_level || !XtIsShell(shell))
            continue;
        WidgetList kids = nullptr;
        Cardinal n = 0;
        XtVaGetValues(shell, XmNchildren, &kids, XmNnumChildren, &n, nullptr);
        std::vector<Widget> forms(kids, kids + n);
        for (Widget f : forms) {
            // A warning is closed by its button, so the program forgets it;
            // a question is cancelled.
            unsigned char type = XmDIALOG_QUESTION;
            if (XmIsMessageBox(f))
                XtVaGetValues(f, XmNdialogType, &type, nullptr);
            Widget ok = XmIsMessageBox(f) ? XmMessageBoxGetChild(f, XmDIALOG_OK_BUTTON) : nullptr;
            if (XmIsMessageBox(f) && type == XmDIALOG_QUESTION) {
                XmAnyCallbackStruct cbs = {XmCR_CANCEL, nullptr};
                XtCallCallbacks(f, XmNcancelCallback, &cbs);
            } else if (ok != nullptr && XtIsManaged(ok)) {
                XmPushButtonCallbackStruct cbs = {};
                cbs.reason = XmCR_ACTIVATE;
                XtCallCallbacks(ok, XmNactivateCallback, &cbs);
            } else if (Widget cancel = find_control(f, "Cancel")) {
                // A dialog waiting for an answer of its own.
                XmPushButtonCallbackStruct cbs = {};
                cbs.reason = XmCR_ACTIVATE;
                if (XmIsPushButton(cancel) && XtIsManaged(f))
                    XtCallCallbacks(cancel, XmNactivateCallback, &cbs);
            }
            XtUnmanageChild(f);
        }
        if (XtIsTopLevelShell(shell))
            XtPopdown(shell);
    }
}

void run_step();

// The next tick is due TICK_MS after this one ended, so a long operation
// that processes the due timers between its requests is never starved.
// After a failure the next tick is due first: unwinding may enter a nested
// loop (a confirmation of Cancel) that only a later tick answers.
void tick(XtPointer, XtIntervalId*) {
    if (g_run.stop)
        return;
    bool unwinding = g_run.finished && !g_run.failure.empty();
    if (unwinding)
        XtAppAddTimeOut(app_context, TICK_MS, tick, nullptr);
    run_step();
    if (!unwinding)
        XtAppAddTimeOut(app_context, TICK_MS, tick, nullptr);
}

void run_step() {
    Runner& r = g_run;
    if (r.finished) {
        if (!r.failure.empty())
            unwind();
        return;
    }
    if (now_ms() - r.last_record > 150) {
        record_windows();
        r.last_record = now_ms();
    }
    const Step& s = (*r.steps)[r.next];
    // Every scenario: a shown cancel dialog shows the whole of itself.
    std::string why = why_cancel_dialog_cut();
    why = why.empty() ? s.act() : "!the cancel dialog: " + why;
    if (why.empty()) {
        record_windows();
        r.step_start = now_ms();
        r.finished = ++r.next == r.steps->size();
    } else if (why[0] == '!' || now_ms() - r.step_start > s.timeout_ms) {
        r.failure = "step " + std::to_string(r.next + 1) + " (" + s.what +
                    "): " + why.substr(why[0] == '!' ? 1 : 0) + "; on screen, top last:";
        for (const std::string& t : window_titles())
            r.failure += " \"" + t + "\"";
        if (!warning_box_text().empty())
            r.failure += "; warning: " + warning_box_text();
        r.finished = true;
        std::fprintf(stderr, "%s: %s\n", r.name.c_str(), r.failure.c_str());
        shot(r.name);
    }
}

void save_opened_windows() {
    const char* build = std::getenv("MM_BUILD_DIR");
    std::string dir = std::string(build != nullptr ? build : ".") + "/operator_windows";
    run_command({"mkdir", "-p", dir});
    std::ofstream out(dir + "/" + program_invocation_short_name + ".txt");
    for (const std::string& n : opened())
        out << n << "\n";
}

bool run_done() {
    return g_run.finished && (g_run.failure.empty() || g_ask_dialog == nullptr);
}

} // namespace

Step menu(const std::string& path) {
    std::vector<std::string> parts;
    for (size_t from = 0; from <= path.size();) {
        size_t to = path.find('>', from);
        if (to == std::string::npos)
            to = path.size();
        parts.push_back(path.substr(from, to - from));
        from = to + 1;
    }
    auto level = std::make_shared<size_t>(0);
    auto cascade = std::make_shared<Widget>(nullptr);
    return {"menu " + path, [=]() -> std::string {
                if (*level == 0) {
                    Widget shell = nullptr;
                    std::string why = need_shell(MAIN, &shell);
                    if (!why.empty())
                        return why;
                    Widget bar = find_control(shell, "main_menu_bar");
                    Widget c = bar != nullptr ? find_control(bar, parts[0]) : nullptr;
                    if (c == nullptr)
                        return "!no menu " + quoted(parts[0]);
                    why = click_now(c);
                    if (!why.empty())
                        return why;
                    *cascade = c;
                } else {
                    std::string why = click_in_menu(*cascade, parts[*level]);
                    if (!why.empty())
                        return why;
                    Widget sub = nullptr;
                    XtVaGetValues(*cascade, XmNsubMenuId, &sub, nullptr);
                    *cascade = find_control(sub, parts[*level]);
                }
                return ++*level == parts.size() ? "" : "opening " + parts[*level];
            }};
}

Step click(const std::string& window, const std::string& label) {
    return {"click " + quoted(label) + " in " + quoted(window), [=]() -> std::string {
                Widget shell = nullptr;
                std::string why = need_shell(window, &shell);
                if (!why.empty())
                    return why;
                Widget w = find_control(shell, label);
                return w == nullptr ? "no control " + quoted(label) : click_now(w);
            }};
}

Step toggle(const std::string& window, const std::string& label, bool state) {
    auto target = std::make_shared<Widget>(nullptr);
    return act_then(
        "set " + quoted(label) + (state ? " on" : " off"),
        [=]() -> std::string {
            Widget shell = nullptr;
            std::string why = need_shell(window, &shell);
            if (!why.empty())
                return why;
            *target = find_control(shell, label);
            if (*target == nullptr ||
                !(XmIsToggleButton(*target) || XmIsToggleButtonGadget(*target)))
                return "no toggle " + quoted(label);
            return toggle_state(*target) == state ? "" : click_now(*target);
        },
        [=]() -> std::string {
            return toggle_state(*target) == state ? "" : quoted(label) + " did not change";
        });
}

namespace {
// Selects the field's whole text with a triple click, as a person does,
// and types over it (BackSpace empties it).
void retype(Widget field, const std::string& text) {
    for (int i = 0; i < 3; ++i)
        click_widget(field);
    if (text.empty())
        send_key("BackSpace");
    send_text(text);
}
} // namespace

Step type_into(const std::string& window, const std::string& label, const std::string& text) {
    auto field = std::make_shared<Widget>(nullptr);
    auto clicked = std::make_shared<bool>(false);
    auto retyped = std::make_shared<bool>(false);
    return act_then(
        "type " + quoted(text) + " into " + quoted(label),
        [=]() -> std::string {
            Widget shell = nullptr;
            std::string why = need_shell(window, &shell);
            if (!why.empty())
                return why;
            if (!*clicked) {
                *field = find_input(shell, label);
                if (*field == nullptr || !(XmIsTextField(*field) || XmIsText(*field)))
                    return "no field " + quoted(label);
                why = click_now(*field);
                if (!why.empty())
                    return why;
                *clicked = true;
                return "waiting for the keyboard focus";
            }
            // Typing starts once the click gave the field the keyboard focus.
            if (!why_not_answerable(window).empty() || XmGetFocusWidget(shell) != *field)
                return quoted(label) + " did not get the keyboard focus";
            if (click_wait_ms() > 0)
                return "waiting out the double-click time";
            retype(*field, text);
            return "";
        },
        [=]() -> std::string {
            std::string now = text_value(*field);
            if (now == text)
                return "";
            // A window still filling its fields changed it meanwhile: once more.
            if (!*retyped && click_wait_ms() == 0) {
                *retyped = true;
                retype(*field, text);
            }
            return quoted(label) + " holds " + quoted(now);
        });
}

Step choose(const std::string& window, const std::string& label, const std::string& item) {
    auto om = std::make_shared<Widget>(nullptr);
    auto posted = std::make_shared<bool>(false);
    return {"choose " + quoted(item) + " in " + quoted(label), [=]() -> std::string {
                if (!*posted) {
                    Widget shell = nullptr;
                    std::string why = need_shell(window, &shell);
                    if (!why.empty())
                        return why;
                    *om = find_input(shell, label);
                    if (*om == nullptr || !XmIsRowColumn(*om))
                        return "no option menu " + quoted(label);
                    why = click_now(XmOptionButtonGadget(*om));
                    if (!why.empty())
                        return why;
                    *posted = true;
                    return "posting the menu";
                }
                return click_in_menu(XmOptionButtonGadget(*om), item);
            }};
}

namespace {
// Position (from 1) of the item whose words begin with the words of text.
int item_pos(const std::vector<std::string>& items, const std::string& text) {
    auto words = [](const std::string& s) {
        std::vector<std::string> w;
        std::istringstream in(s);
        for (std::string x; in >> x;)
            w.push_back(x);
        return w;
    };
    std::vector<std::string> want = words(text);
    for (size_t i = 0; i < items.size(); ++i) {
        std::vector<std::string> have = words(items[i]);
        if (have.size() >= want.size() && std::equal(want.begin(), want.end(), have.begin()))
            return static_cast<int>(i + 1);
    }
    return 0;
}

Step list_click(const std::string& window, const std::string& list, const std::string& item,
                bool add, int clicks) {
    return {"click " + quoted(item) + " in " + quoted(list), [=]() -> std::string {
                Widget shell = nullptr;
                std::string why = need_shell(window, &shell);
                if (!why.empty())
                    return why;
                Widget l = find_input(shell, list);
                if (l == nullptr || !XmIsList(l))
                    return "no list " + quoted(list);
                int pos = item_pos(list_items(window, list), item);
                if (pos == 0) {
                    std::string some;
                    for (const std::string& i : list_items(window, list))
                        some += some.size() < 200 ? " " + quoted(i) : "";
                    return quoted(list) + " has no item " + quoted(item) + " (it has" + some + ")";
                }
                // The operator scrolls the item into view first.
                if (!XmListPosToBounds(l, pos, nullptr, nullptr, nullptr, nullptr))
                    XmListSetPos(l, pos);
                Position x = 0, y = 0;
                Dimension w = 0, h = 0;
                if (!XmListPosToBounds(l, pos, &x, &y, &w, &h))
                    return "item " + quoted(item) + " is not visible";
                why = why_not_clickable(l);
                if (!why.empty())
                    return why;
                if (click_wait_ms() > 0)
                    return "waiting out the double-click time";
                for (int i = 0; i < clicks; ++i)
                    click_at(l, x + w / 2, y + h / 2, add);
                return "";
            }};
}
} // namespace

Step select_item(const std::string& window, const std::string& list, const std::string& item,
                 bool add) {
    return list_click(window, list, item, add, 1);
}

Step open_item(const std::string& window, const std::string& list, const std::string& item) {
    return list_click(window, list, item, false, 2);
}

Step answer(const std::string& title, const std::string& button) {
    return {"answer " + quoted(title) + " with " + quoted(button), [=]() -> std::string {
                std::string why = why_not_answerable(title);
                if (!why.empty())
                    return why;
                Widget w = find_control(shell_titled(title), button);
                return w == nullptr ? "!no button " + quoted(button) : click_now(w);
            }};
}

Step answer_if_asked(const std::string& title, const std::string& button, int wait_ms) {
    auto start = std::make_shared<long>(0);
    Step inner = answer(title, button);
    return {"answer " + quoted(title) + " with " + quoted(button) + " if asked",
            [=]() -> std::string {
                if (*start == 0)
                    *start = now_ms();
                if (shell_titled(title) == nullptr)
                    return now_ms() - *start > wait_ms ? "" : "waiting for " + quoted(title);
                return inner.act();
            }};
}

Step answer_key(const std::string& title, const std::string& key) {
    return act_then(
        "answer " + quoted(title) + " with " + key,
        [=]() -> std::string {
            std::string why = why_not_answerable(title);
            if (!why.empty())
                return why;
            send_key(key);
            return "";
        },
        [=]() -> std::string {
            return shell_titled(title) == nullptr ? "" : key + " left " + quoted(title) + " open";
        });
}

Step key_in(const std::string& window, const std::string& key) {
    return {"press " + key + " in " + quoted(window), [=]() -> std::string {
                std::string why = why_not_answerable(window);
                if (!why.empty())
                    return why;
                send_key(key);
                return "";
            }};
}

Step wait_window(const std::string& title, int timeout_ms) {
    return {"wait for " + quoted(title),
            [=]() -> std::string {
                return shell_titled(title) != nullptr ? "" : quoted(title) + " did not open";
            },
            timeout_ms};
}

Step wait_closed(const std::string& title, int timeout_ms) {
    return {"wait until " + quoted(title) + " closes",
            [=]() -> std::string {
                return shell_titled(title) == nullptr ? "" : quoted(title) + " is still open";
            },
            timeout_ms};
}

Step expect_natural_size(const std::string& title) {
    return {"expect " + quoted(title) + " at its natural size", [=]() -> std::string {
                Widget shell = nullptr;
                std::string why = need_shell(title, &shell);
                return why.empty() ? why_not_natural_size(shell) : why;
            }};
}

Step expect_no_overlap(const std::string& title) {
    return {"expect no two controls of " + quoted(title) + " to overlap", [=]() -> std::string {
                Widget shell = nullptr;
                std::string why = need_shell(title, &shell);
                return why.empty() ? why_overlapping(shell) : why;
            }};
}

Step wait_text(const std::string& window, const std::string& widget, const std::string& needle,
               int timeout_ms) {
    return {"wait for " + quoted(needle) + " in " + quoted(widget),
            [=]() -> std::string {
                std::string now = text_of(window, widget);
                if (now.find(needle) != std::string::npos)
                    return "";
                return quoted(widget) + " holds " + quoted(now.substr(0, 400));
            },
            timeout_ms};
}

Step pause(int ms) {
    auto start = std::make_shared<long>(0);
    return {"pause " + std::to_string(ms) + " ms",
            [=]() -> std::string {
                if (*start == 0)
                    *start = now_ms();
                return now_ms() - *start >= ms ? "" : "pausing";
            },
            ms + 1000};
}

Step check(const std::string& what, std::function<std::string()> fn, int timeout_ms) {
    return {what, std::move(fn), timeout_ms};
}

std::string run_scenario(const std::string& name, const Steps& steps, int budget_ms) {
    g_run = Runner();
    g_run.steps = &steps;
    g_run.name = name;
    g_run.step_start = now_ms();
    g_run.finished = steps.empty();
    XtAppAddTimeOut(app_context, TICK_MS, tick, nullptr);
    if (!pump_until(run_done, budget_ms) && g_run.failure.empty())
        g_run.failure = "did not finish within " + std::to_string(budget_ms) + " ms";
    record_windows();
    save_opened_windows();
    if (g_run.failure.empty())
        shot(name);
    g_run.stop = true;
    if (!g_run.failure.empty())
        unwind();
    pump(200);
    return g_run.failure;
}

std::vector<std::string> window_titles() {
    std::vector<std::string> out;
    for (const TopWindow& t : top_windows())
        out.push_back(t.title);
    return out;
}

std::string text_of(const std::string& window, const std::string& widget) {
    Widget shell = shell_titled(window);
    Widget w = shell != nullptr ? find_input(shell, widget) : nullptr;
    if (w == nullptr && shell != nullptr)
        w = find_control(shell, widget);
    if (w == nullptr)
        return "";
    return XmIsText(w) || XmIsTextField(w) ? text_value(w) : label_of(w);
}

std::vector<std::string> list_items(const std::string& window, const std::string& list) {
    std::vector<std::string> out;
    Widget shell = shell_titled(window);
    Widget l = shell != nullptr ? find_input(shell, list) : nullptr;
    if (l == nullptr || !XmIsList(l))
        return out;
    XmStringTable items = nullptr;
    int n = 0;
    XtVaGetValues(l, XmNitems, &items, XmNitemCount, &n, nullptr);
    for (int i = 0; i < n; ++i)
        out.push_back(cvt_cps_str(items[i]));
    return out;
}

Step file_has(const std::string& path, const std::string& needle, bool present) {
    return check(path + (present ? " holds " : " lacks ") + needle, [=]() -> std::string {
        bool found = false;
        for (const std::string& line : file_lines(path))
            found = found || line.find(needle) != std::string::npos;
        return found == present ? "" : "it does not";
    });
}

Step device_has(const std::string& addr, const std::string& var, const std::string& value) {
    return check(addr + " " + var + " reads " + value, [=]() -> std::string {
        std::string now = snmp_get(addr, var);
        return now == value ? "" : "it reads \"" + now + "\"";
    });
}

Steps operator+(Steps a, const Steps& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
