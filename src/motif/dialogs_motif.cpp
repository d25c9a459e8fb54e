// The dialogs built in code: the accumulating warning box, message boxes,
// the item-help window, questions (modal ask_user and the question box),
// the busy cursor with its delayed Working dialog.
#include <X11/cursorfont.h>
#include <X11/keysym.h>
#include <Xm/MessageB.h>
#include <Xm/PushB.h>
#include <Xm/Text.h>
#include <Xm/TextF.h>

#include "motif/motif_internal.h"
#include "ui/ui.h"

namespace {

Widget warn_box = nullptr;
Widget warn_owner = nullptr; // shell the warning box belongs to
std::string warn_text;

Widget work_dialog = nullptr;
XtIntervalId work_timer = 0;
int busy_count = 0;
int cursor_mode = CURSOR_NORMAL;
// The window whose command made the program busy: the Working dialog
// belongs to it.
Widget busy_owner = nullptr;

XmString make_cs(const std::string& text) {
    return XmStringCreateLtoR(const_cast<char*>(text.c_str()),
                              const_cast<char*>(XmFONTLIST_DEFAULT_TAG));
}

// Escape on a box whose only button is OK presses OK (the box's own cancel
// button stays hidden, and a message box's cancel button cannot be
// changed).
void escape_presses_ok(Widget box, XtPointer, XEvent* ev, Boolean*) {
    if (ev->type != KeyPress || XLookupKeysym(&ev->xkey, 0) != XK_Escape)
        return;
    // The button may be a gadget, which has no actions: its callbacks run.
    Widget ok = XmMessageBoxGetChild(box, XmDIALOG_OK_BUTTON);
    XmPushButtonCallbackStruct cbs = {};
    cbs.reason = XmCR_ACTIVATE;
    cbs.event = ev;
    if (ok != nullptr && XtIsManaged(ok) && XtIsSensitive(ok))
        XtCallCallbacks(ok, XmNactivateCallback, &cbs);
}

// Hides the buttons of a message box that the dialog kind does not use.
// A box with OK alone closes with Escape as with Return.
void keep_buttons(Widget box, bool ok, bool cancel, bool help) {
    if (!ok)
        XtUnmanageChild(XmMessageBoxGetChild(box, XmDIALOG_OK_BUTTON));
    if (!cancel)
        XtUnmanageChild(XmMessageBoxGetChild(box, XmDIALOG_CANCEL_BUTTON));
    if (!help)
        XtUnmanageChild(XmMessageBoxGetChild(box, XmDIALOG_HELP_BUTTON));
    if (ok && !cancel)
        XtAddEventHandler(box, KeyPressMask, False, escape_presses_ok, nullptr);
}

bool shell_is_shown(Widget shell) {
    if (shell == top_level)
        return true;
    WidgetList kids = nullptr;
    Cardinal n = 0;
    XtVaGetValues(shell, XmNchildren, &kids, XmNnumChildren, &n, nullptr);
    return n > 0 && XtIsManaged(kids[0]);
}

// Destroys a dialog once the callback that closes it has returned.
void destroy_later(Widget w) {
    XtAppAddTimeOut(
        app_context, 0,
        [](XtPointer client, XtIntervalId*) { XtDestroyWidget(static_cast<Widget>(client)); }, w);
}

// However the warning goes (OK, Escape, the window manager's close), it is
// answered: its text is dropped, so that it neither comes back with the
// next window nor takes the next warning's lines.
void warn_gone_cb(Widget w, XtPointer, XtPointer) {
    if (w != warn_box)
        return;
    if (XtIsManaged(w))
        XtUnmanageChild(w);
    destroy_later(XtParent(w));
    warn_box = nullptr;
    warn_owner = nullptr;
    widgets[W_WARNING_BOX] = nullptr;
    warn_text.clear();
}

void build_warn_box(Widget shell) {
    Widget parent = shell == top_level ? main_widget : shell;
    Arg args[2];
    XtSetArg(args[0], XmNdialogStyle, XmDIALOG_FULL_APPLICATION_MODAL);
    warn_box = XmCreateWarningDialog(parent, const_cast<char*>("warning_box"), args, 1);
    keep_buttons(warn_box, true, false, false);
    XtAddCallback(warn_box, XmNokCallback, warn_gone_cb, nullptr);
    XtAddCallback(warn_box, XmNcancelCallback, warn_gone_cb, nullptr);
    XtAddCallback(warn_box, XmNunmapCallback, warn_gone_cb, nullptr);
    // However the box goes (its window destroyed with it, or replaced), no
    // stale pointer to it stays behind for the cancel dialog's input filter.
    XtAddCallback(
        warn_box, XmNdestroyCallback,
        [](Widget w, XtPointer, XtPointer) {
            if (warn_box == w) {
                warn_box = nullptr;
                warn_owner = nullptr;
            }
            if (widgets[W_WARNING_BOX] == w)
                widgets[W_WARNING_BOX] = nullptr;
        },
        nullptr);
    warn_owner = shell;
    widgets[W_WARNING_BOX] = warn_box;
    set_dialog_title(W_WARNING_BOX, "Warning Message");
}

void set_cursor_on_windows(Cursor c) {
    Display* dpy = XtDisplay(top_level);
    for (int i = 0; i < MAX_WIDGETS; ++i) {
        Widget w = widgets[i];
        if (w == nullptr || !XtIsRealized(w))
            continue;
        Widget s = get_shell_parent(w);
        if (s != nullptr && XtIsRealized(s)) {
            if (c == None)
                XUndefineCursor(dpy, XtWindow(s));
            else
                XDefineCursor(dpy, XtWindow(s), c);
        }
    }
    if (c == None)
        XUndefineCursor(dpy, XtWindow(top_level));
    else
        XDefineCursor(dpy, XtWindow(top_level), c);
    XFlush(dpy);
}

Cursor busy_cursor(int mode) {
    static Cursor cursors[2] = {None, None};
    int k = mode == CURSOR_BUSY ? 0 : 1;
    if (cursors[k] == None) {
        Display* dpy = XtDisplay(top_level);
        cursors[k] = XCreateFontCursor(dpy, mode == CURSOR_BUSY ? XC_watch : XC_gumby);
        XColor fg, bg, exact;
        Colormap cmap = DefaultColormapOfScreen(XtScreen(top_level));
        if (XAllocNamedColor(dpy, cmap, "red", &fg, &exact) &&
            XAllocNamedColor(dpy, cmap, "white", &bg, &exact))
            XRecolorCursor(dpy, cursors[k], &fg, &bg);
    }
    return cursors[k];
}

Widget work_parent(int parent_id);

void work_timer_cb(XtPointer, XtIntervalId*) {
    work_timer = 0;
    if (answer_pending())
        return;
    display_work(W_MAIN_WINDOW, "Working", "Processing request. Please be patient.");
}

// The Working dialog's window: the one named when it is shown, else the
// one whose command made the program busy.
Widget work_parent(int parent_id) {
    if (parent_id != W_MAIN_WINDOW && ui_is_managed(parent_id))
        return parent_widget(parent_id);
    if (busy_owner != nullptr && XtIsRealized(busy_owner) && XtIsManaged(busy_owner))
        return busy_owner;
    return owner_window();
}

// Processes what is pending, dropping button presses and releases.
void drain_events_without_buttons() {
    Display* dpy = XtDisplay(top_level);
    XEvent ev;
    XSync(dpy, False);
    while (XCheckMaskEvent(dpy, ButtonPressMask | ButtonReleaseMask, &ev)) {
    }
    for (int i = 0; i < 10000 && XtAppPending(app_context); ++i)
        XtAppProcessEvent(app_context, XtIMAll);
}

} // namespace

Widget g_ask_dialog = nullptr;

// The Working dialog never comes up over a question or a warning the
// operator has to answer: it would take their place on top.
bool answer_pending() {
    return (g_ask_dialog != nullptr && XtIsManaged(g_ask_dialog)) ||
           (warn_box != nullptr && XtIsManaged(warn_box)) ||
           (widgets[W_QUESTION_BOX] != nullptr && XtIsManaged(widgets[W_QUESTION_BOX]));
}

// ---- warnings and messages ------------------------------------------------

void display_warn(int parent_id, const std::string& text) {
    if (top_level == nullptr)
        return;
    Widget parent = parent_widget(parent_id);
    Widget shell = get_shell_parent(parent);
    if (ui_is_managed(parent_id) && (XmIsText(parent) || XmIsTextField(parent)))
        XmProcessTraversal(parent, XmTRAVERSE_CURRENT);
    if (warn_box == nullptr && text.empty())
        return;
    std::string was = warn_text;
    warn_text = warning_with(warn_box != nullptr ? warn_text : "", text);
    // The same warning again while it is open changes nothing on screen.
    if (warn_box != nullptr && warn_owner == shell && !text.empty() && warn_text == was &&
        XtIsManaged(warn_box))
        return;
    if (warn_box != nullptr && warn_owner != shell) {
        // Forgotten first: its going is no answer that drops the text.
        Widget old = warn_box;
        warn_box = nullptr;
        XtDestroyWidget(XtParent(old));
    }
    if (warn_box == nullptr)
        build_warn_box(shell);
    XmString cs = make_cs(warn_text);
    XtVaSetValues(warn_box, XmNmessageString, cs, nullptr);
    XmStringFree(cs);
    if (shell_is_shown(shell))
        gui_manage_child(warn_box);
}

void redisplay_warn(int parent_id) {
    if (warn_box != nullptr)
        display_warn(parent_id, "");
}

void display_msg_box(int parent_id, const std::string& title, const std::string& text) {
    // The box belongs to the window that asked for it, so that a window
    // manager keeps it above that window.
    Widget parent = parent_widget(parent_id);
    Widget box = widgets[W_MSG_BOX];
    if (box != nullptr && get_shell_parent(XtParent(XtParent(box))) != get_shell_parent(parent)) {
        XtDestroyWidget(XtParent(box));
        widgets[W_MSG_BOX] = nullptr;
    }
    if (widgets[W_MSG_BOX] == nullptr) {
        box = XmCreateInformationDialog(parent, const_cast<char*>("msg_box"), nullptr, 0);
        keep_buttons(box, true, false, false);
        widgets[W_MSG_BOX] = box;
    }
    set_dialog_title(W_MSG_BOX, title);
    XmString cs = make_cs(text);
    XtVaSetValues(widgets[W_MSG_BOX], XmNmessageString, cs, nullptr);
    XmStringFree(cs);
    gui_manage_child(widgets[W_MSG_BOX]);
}

void ui_bell(int volume) {
    XBell(XtDisplay(top_level), volume);
}

void display_msg(int parent_id, const std::string& text) {
    display_msg_box(parent_id, "Message", text);
}

namespace {
Widget item_help = nullptr;
} // namespace

void display_item_help(int parent_id, const std::string& text) {
    if (item_help != nullptr)
        XtDestroyWidget(XtParent(item_help));
    Widget box = XmCreateInformationDialog(parent_widget(parent_id),
                                           const_cast<char*>("widget_help_fd"), nullptr, 0);
    keep_buttons(box, true, false, false);
    Arg args[6];
    int n = 0;
    XtSetArg(args[n], XmNrows, 20), ++n;
    XtSetArg(args[n], XmNcolumns, 72), ++n;
    XtSetArg(args[n], XmNeditable, False), ++n;
    XtSetArg(args[n], XmNeditMode, XmMULTI_LINE_EDIT), ++n;
    XtSetArg(args[n], XmNcursorPositionVisible, False), ++n;
    Widget text_w = XmCreateScrolledText(box, const_cast<char*>("item_help_text"), args, n);
    XmTextSetString(text_w, const_cast<char*>(text.c_str()));
    XtManageChild(text_w);
    XmString title = make_cs("Window Item Help");
    XtVaSetValues(box, XmNdialogTitle, title, nullptr);
    XmStringFree(title);
    XtAddCallback(
        box, XmNokCallback,
        [](Widget w, XtPointer, XtPointer) {
            item_help = nullptr;
            destroy_later(XtParent(w));
        },
        nullptr);
    item_help = box;
    gui_manage_child(box);
}

// ---- questions ------------------------------------------------------------

namespace {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    bool meets(const Rect& o) const {
        return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h;
    }
};

Rect root_rect(Widget w) {
    Rect r;
    Position x = 0, y = 0;
    XtTranslateCoords(w, 0, 0, &x, &y);
    Dimension wd = 0, ht = 0;
    XtVaGetValues(w, XmNwidth, &wd, XmNheight, &ht, nullptr);
    return {x, y, wd, ht};
}

// The largest text area shown in the window of root (its output).
Widget output_text(Widget root) {
    Widget best = nullptr;
    int best_area = 0;
    for (int i = 0; i < MAX_WIDGETS; ++i) {
        Widget w = widgets[i];
        if (w == nullptr || !XmIsText(w) || !XtIsRealized(w) || !XtIsManaged(w) ||
            get_shell_parent(w) != get_shell_parent(root))
            continue;
        Rect r = root_rect(w);
        if (r.w * r.h > best_area) {
            best = w;
            best_area = r.w * r.h;
        }
    }
    return best;
}

// A question refers to what its window's output shows: it stands beside
// that text (left of it, else right of the window, else below it) instead
// of over its middle.
void place_clear_of_output(Widget box, Widget parent) {
    Widget text = parent != nullptr && XtIsRealized(parent) ? output_text(parent) : nullptr;
    if (text == nullptr)
        return;
    XtWidgetGeometry pref{};
    XtQueryGeometry(box, nullptr, &pref);
    Rect out = root_rect(text), win = root_rect(parent);
    int w = pref.width, h = pref.height;
    Rect centred{win.x + (win.w - w) / 2, win.y + (win.h - h) / 2, w, h};
    if (!centred.meets(out))
        return;
    int sw = WidthOfScreen(XtScreen(box)), sh = HeightOfScreen(XtScreen(box));
    const Rect tries[] = {{out.x - w - 16, win.y + (win.h - h) / 2, w, h},
                          {win.x + win.w + 16, win.y + (win.h - h) / 2, w, h},
                          {win.x + (win.w - w) / 2, out.y + out.h + 16, w, h}};
    for (const Rect& t : tries) {
        if (t.x < 0 || t.y < 0 || t.x + t.w > sw || t.y + t.h > sh || t.meets(out))
            continue;
        XtVaSetValues(box, XmNdefaultPosition, False, nullptr);
        XtVaSetValues(XtParent(box), XmNx, static_cast<Position>(t.x), XmNy,
                      static_cast<Position>(t.y), nullptr);
        return;
    }
}

void answer_cb(Widget, XtPointer client, XtPointer call) {
    auto* cbs = static_cast<XmAnyCallbackStruct*>(call);
    *static_cast<int*>(client) = cbs->reason == XmCR_OK ? ASK_OK : ASK_CANCEL;
}

Widget make_question(Widget parent, const char* name, unsigned char modality) {
    Arg args[1];
    XtSetArg(args[0], XmNdialogStyle, modality);
    return XmCreateQuestionDialog(parent, const_cast<char*>(name), args, 1);
}

void set_button_label(Widget box, int which, const std::string& label) {
    Widget b = XmMessageBoxGetChild(box, which);
    if (label.empty()) {
        XtUnmanageChild(b);
        return;
    }
    XmString cs = make_cs(label);
    XtVaSetValues(b, XmNlabelString, cs, nullptr);
    XmStringFree(cs);
}

} // namespace

int ask_user(int parent_id, const std::string& title, const std::string& ok_label,
             const std::string& cancel_label, int default_ok, const std::string& text) {
    if (top_level == nullptr)
        return ASK_CANCEL;
    Widget box =
        make_question(parent_widget(parent_id), "ask_user_qd", XmDIALOG_FULL_APPLICATION_MODAL);
    XtUnmanageChild(XmMessageBoxGetChild(box, XmDIALOG_HELP_BUTTON));
    set_button_label(box, XmDIALOG_OK_BUTTON, ok_label);
    set_button_label(box, XmDIALOG_CANCEL_BUTTON, cancel_label);
    XmString cs = make_cs(text);
    XmString ts = make_cs(title);
    XtVaSetValues(box, XmNmessageString, cs, XmNdialogTitle, ts, XmNdefaultButtonType,
                  default_ok == 1 ? XmDIALOG_OK_BUTTON : XmDIALOG_CANCEL_BUTTON, nullptr);
    XmStringFree(cs);
    XmStringFree(ts);
    int answer = 0;
    Widget outer = g_ask_dialog;
    g_ask_dialog = box;
    // The question takes the Working dialog's place on top.
    if (work_dialog != nullptr)
        remove_work();
    XtAddCallback(box, XmNokCallback, answer_cb, &answer);
    XtAddCallback(box, XmNcancelCallback, answer_cb, &answer);
    if (busy_count > 0)
        set_cursor_on_windows(None);
    place_clear_of_output(box, parent_widget(parent_id));
    gui_manage_child(box);
    // Waits for the answer; the dialog is modal, so only it takes input.
    while (answer == 0)
        XtAppProcessEvent(app_context, XtIMAll);
    g_ask_dialog = outer;
    XtDestroyWidget(XtParent(box));
    if (busy_count > 0)
        set_cursor_on_windows(busy_cursor(cursor_mode));
    return answer;
}

int gui_display_question(int parent_id, const std::string& text, const std::string& detail,
                         std::function<void()> ok_action) {
    if (text.empty() || !ok_action || top_level == nullptr)
        return 0;
    if (widgets[W_QUESTION_BOX] != nullptr)
        XtDestroyWidget(XtParent(widgets[W_QUESTION_BOX]));
    Widget box =
        make_question(parent_widget(parent_id), "question_box", XmDIALOG_FULL_APPLICATION_MODAL);
    widgets[W_QUESTION_BOX] = box;
    XtUnmanageChild(XmMessageBoxGetChild(box, XmDIALOG_HELP_BUTTON));
    std::string full = detail.empty() ? text : text + "\n\n" + detail;
    XmString cs = make_cs(full);
    XmString ts = make_cs("Confirmation");
    XtVaSetValues(box, XmNmessageString, cs, XmNdialogTitle, ts, nullptr);
    XmStringFree(cs);
    XmStringFree(ts);
    auto* action = new std::function<void()>(std::move(ok_action));
    XtAddCallback(
        box, XmNokCallback,
        [](Widget, XtPointer client, XtPointer) {
            (*static_cast<std::function<void()>*>(client))();
        },
        action);
    XtAddCallback(
        box, XmNdestroyCallback,
        [](Widget w, XtPointer client, XtPointer) {
            delete static_cast<std::function<void()>*>(client);
            if (widgets[W_QUESTION_BOX] == w)
                widgets[W_QUESTION_BOX] = nullptr;
        },
        action);
    gui_manage_child(box);
    return 1;
}

// ---- busy cursor and work dialog -----------------------------------------

void set_app_cursor(int mode) {
    if (top_level == nullptr)
        return;
    if (mode == CURSOR_BUSY || mode == CURSOR_BUSY_ALT) {
        if (busy_count++ > 0)
            return;
        cursor_mode = mode;
        busy_owner = owner_window();
        set_cursor_on_windows(busy_cursor(mode));
        if (mode == CURSOR_BUSY && work_timer == 0)
            work_timer = XtAppAddTimeOut(app_context, 2000, work_timer_cb, nullptr);
        return;
    }
    if (busy_count == 0 || --busy_count > 0)
        return;
    cursor_mode = CURSOR_NORMAL;
    set_cursor_on_windows(None);
    if (work_timer != 0)
        XtRemoveTimeOut(work_timer);
    work_timer = 0;
    if (work_dialog != nullptr)
        remove_work();
    drain_events_without_buttons();
}

void set_app_cursor_no_dly(int mode) {
    set_app_cursor(mode);
    if (work_timer != 0)
        XtRemoveTimeOut(work_timer);
    work_timer = 0;
}

int app_busy_count() {
    return busy_count;
}

void apply_current_cursor(Widget shell) {
    if (shell == nullptr || !XtIsRealized(shell))
        return;
    if (busy_count > 0)
        XDefineCursor(XtDisplay(shell), XtWindow(shell), busy_cursor(cursor_mode));
    else
        XUndefineCursor(XtDisplay(shell), XtWindow(shell));
}

std::string warning_box_text() {
    return warn_box != nullptr ? warn_text : std::string();
}
bool work_dialog_shown() {
    return work_dialog != nullptr && XtIsManaged(work_dialog);
}

bool is_work_dialog(Widget w) {
    return w != nullptr && w == work_dialog;
}

void display_work(int parent_id, const std::string& title, const std::string& text) {
    if (top_level == nullptr || work_dialog_shown() || cancel_dialog_active())
        return;
    Widget parent = work_parent(parent_id);
    Arg args[1];
    XtSetArg(args[0], XmNdialogStyle,
             title == "Edit Configuration" ? XmDIALOG_FULL_APPLICATION_MODAL : XmDIALOG_MODELESS);
    work_dialog = XmCreateWorkingDialog(parent, const_cast<char*>("widget_work_fd"), args, 1);
    keep_buttons(work_dialog, false, false, false);
    XtAddCallback(
        work_dialog, XmNdestroyCallback,
        [](Widget, XtPointer, XtPointer) { work_dialog = nullptr; }, nullptr);
    update_work(parent_id, title, text, 0);
    gui_manage_child(work_dialog);
    // The work that follows may not return to the event loop for a while:
    // the dialog shows its text before it starts.
    show_drawn(work_dialog);
}

void update_work(int parent_id, const std::string& title, const std::string& text, int mode) {
    if (!work_dialog_shown() && work_dialog == nullptr) {
        display_work(parent_id, title, text);
        return;
    }
    if (mode == 1) {
        XRaiseWindow(XtDisplay(work_dialog), XtWindow(XtParent(work_dialog)));
        return;
    }
    XmString cs = make_cs(text);
    XmString ts = make_cs(title);
    XtVaSetValues(work_dialog, XmNmessageString, cs, XmNdialogTitle, ts, nullptr);
    XmStringFree(cs);
    XmStringFree(ts);
}

void remove_work() {
    if (work_dialog != nullptr)
        XtDestroyWidget(XtParent(work_dialog));
    work_dialog = nullptr;
    if (busy_count == 0 && top_level != nullptr)
        set_cursor_on_windows(None);
}

// pop_delay_dialog: mode 1 shows the work dialog now or after seconds,
// mode 2 cancels the timer and removes it. Not while the cancel dialog is up.
namespace {
XtIntervalId delay_timer = 0;
std::string delay_title, delay_text;
int delay_parent = W_MAIN_WINDOW;
} // namespace

void pop_delay_dialog(int mode, int parent_id, const std::string& title, const std::string& text,
                      int seconds) {
    if (ui_is_managed(W_CANCEL_DIALOG))
        return;
    if (delay_timer != 0)
        XtRemoveTimeOut(delay_timer);
    delay_timer = 0;
    if (mode == 2) {
        remove_work();
        return;
    }
    if (seconds < 1) {
        display_work(parent_id, title, text);
        return;
    }
    delay_title = title;
    delay_text = text;
    delay_parent = parent_id;
    delay_timer = XtAppAddTimeOut(
        app_context, static_cast<unsigned long>(seconds) * 1000,
        [](XtPointer, XtIntervalId*) {
            delay_timer = 0;
            display_work(delay_parent, delay_title, delay_text);
        },
        nullptr);
}
