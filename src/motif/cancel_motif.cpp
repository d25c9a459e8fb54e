// The cancel dialog of long operations: its label, the drawn progress scale,
// the Cancel button with its optional confirmation, and the event filter
// that lets only Cancel, an open warning and the Close button of the window
// at work act while work goes on.
#include <Xm/BulletinB.h>
#include <Xm/DrawingA.h>
#include <Xm/MessageB.h>
#include <Xm/PushB.h>

#include "motif/motif_internal.h"
#include "ui/ui.h"

namespace {

struct CancelState {
    int confirm = 0;
    int show_scale = 1;
    XtIntervalId delay_timer = 0;
    GC gc = nullptr;
    XFontStruct* font = nullptr;
    int owner = -1;   // window whose work the dialog follows
    int closing = -1; // window whose Close was clicked during its work
    // Between managing the dialog and the window manager mapping it.
    bool placing = false;
    unsigned long managed_at = 0; // request number of the managing
    bool label_waits = false;
    std::string waiting_label;
};
CancelState cs_state;

int current_percent() {
    int p = g_update_in_snmp ? g_snmp_pct_done : g_other_pct_done;
    return p < 0 ? 0 : p > 100 ? 100 : p;
}

void ensure_gc(Widget area) {
    if (cs_state.gc != nullptr)
        return;
    Display* dpy = XtDisplay(area);
    XGCValues v;
    v.foreground = g_cancel_scale_fg;
    cs_state.font = XLoadQueryFont(dpy, "6x13bold");
    if (cs_state.font == nullptr)
        cs_state.font = XLoadQueryFont(dpy, "fixed");
    unsigned long mask = GCForeground;
    if (cs_state.font != nullptr) {
        v.font = cs_state.font->fid;
        mask |= GCFont;
    }
    cs_state.gc = XCreateGC(dpy, XtWindow(area), mask, &v);
}

void draw_scale(Widget area) {
    if (area == nullptr || !XtIsRealized(area) || !cs_state.show_scale)
        return;
    ensure_gc(area);
    Display* dpy = XtDisplay(area);
    Window win = XtWindow(area);
    Dimension w = 0, h = 0;
    XtVaGetValues(area, XmNwidth, &w, XmNheight, &h, nullptr);
    XClearWindow(dpy, win);
    XFontStruct* f = cs_state.font;
    int text_h = f != nullptr ? f->ascent + f->descent : 9;
    int top = (static_cast<int>(h) - (text_h + 28)) / 2;
    int left = (static_cast<int>(w) - 200) / 2;
    XDrawRectangle(dpy, win, cs_state.gc, left, top, 200, 20);
    XFillRectangle(dpy, win, cs_state.gc, left, top, 2 * current_percent(), 20);
    for (int p = 0; p <= 100; p += 25) {
        int x = left + 2 * p;
        XDrawLine(dpy, win, cs_state.gc, x, top + 20, x, top + 25);
        char num[8];
        int len = std::snprintf(num, sizeof num, "%d", p);
        int tw = f != nullptr ? XTextWidth(f, num, len) : 15 * len;
        int base = top + 28 + (f != nullptr ? f->ascent : 9);
        XDrawString(dpy, win, cs_state.gc, x - tw / 2, base, num, len);
    }
    XFlush(dpy);
}

void expose_cb(Widget w, XtPointer, XtPointer) {
    draw_scale(w);
}

// True while the keyboard focus is in a window of another program.
bool focus_in_other_program() {
    Display* dpy = XtDisplay(top_level);
    Window focus = None;
    int revert = 0;
    XGetInputFocus(dpy, &focus, &revert);
    return focus != None && focus != PointerRoot && XtWindowToWidget(dpy, focus) == nullptr;
}

void delay_cb(XtPointer, XtIntervalId*);

void show_now() {
    Widget d = widgets[W_CANCEL_DIALOG];
    if (d == nullptr)
        return;
    // The dialog shows the progress itself: a Working box would only cover
    // it (and, belonging to another window, raise that window over it).
    remove_work();
    // While the operator works in another program's window (a timed
    // refresh fires then), the dialog waits for the operator to come back:
    // mapped, it would make the window manager raise the window it belongs
    // to over that work.
    if (focus_in_other_program()) {
        cs_state.delay_timer = XtAppAddTimeOut(app_context, 250, delay_cb, nullptr);
        return;
    }
    cs_state.placing = true;
    cs_state.managed_at = NextRequest(XtDisplay(d));
    gui_manage_child(d);
    XmUpdateDisplay(d);
    draw_scale(widgets[W_CANCEL_DRAW]);
}

void delay_cb(XtPointer, XtIntervalId*) {
    cs_state.delay_timer = 0;
    show_now();
}

// Widens the dialog until its label fits: a label wider than the dialog
// would be cut at both ends.
void fit_label() {
    Widget label = widgets[W_CANCEL_LABEL], dialog = widgets[W_CANCEL_DIALOG];
    if (label == nullptr || dialog == nullptr)
        return;
    XtWidgetGeometry pref{};
    XtQueryGeometry(label, nullptr, &pref);
    Dimension width = 0, spacing = 0;
    XtVaGetValues(dialog, XmNwidth, &width, XmNhorizontalSpacing, &spacing, nullptr);
    int need = pref.width + 2 * spacing + 8;
    if ((pref.request_mode & CWWidth) != 0 && need > width)
        XtVaSetValues(dialog, XmNwidth, static_cast<Dimension>(need), nullptr);
}

// The window manager places a dialog between its managing and its mapping.
// A size the dialog asks for meanwhile is lost: the shell and its form then
// disagree, and the form's bottom row (the Cancel button) lies below the
// window. So a label given then, which resizes the dialog, is shown once
// the dialog is mapped.
void set_label(const std::string& text) {
    if (cs_state.placing) {
        cs_state.waiting_label = text;
        cs_state.label_waits = true;
        return;
    }
    set_widget_label(W_CANCEL_LABEL, text);
    fit_label();
}

void mapped_cb(Widget, XtPointer, XEvent* ev, Boolean*) {
    // Events of an earlier showing of the dialog do not end this placing.
    if (ev->type != MapNotify || !cs_state.placing || ev->xany.serial < cs_state.managed_at)
        return;
    cs_state.placing = false;
    if (cs_state.label_waits) {
        cs_state.label_waits = false;
        set_label(cs_state.waiting_label);
    }
}

// The Close button of a shown window (the button its Escape presses).
Widget close_button_of(int form_id) {
    Widget form = form_id >= 0 ? ui_widget(form_id, UI_MAIN) : nullptr;
    if (form == nullptr || !XtIsManaged(form) || !XmIsBulletinBoard(form))
        return nullptr;
    Widget b = nullptr;
    XtVaGetValues(form, XmNcancelButton, &b, nullptr);
    if (b == nullptr || !XtIsManaged(b) || !XtIsSensitive(b))
        return nullptr;
    XmString cs = nullptr;
    XtVaGetValues(b, XmNlabelString, &cs, nullptr);
    bool close = cvt_cps_str(cs) == "Close";
    XmStringFree(cs);
    return close ? b : nullptr;
}

// Asks (when the operation wants it) and stops the work; false when the
// operator chose to go on.
bool confirm_and_cancel() {
    if (cs_state.confirm &&
        ask_user(W_CANCEL_DIALOG, "Confirm Cancel?", "Cancel", "Continue", 2,
                 "The operation will be partially complete,\nare you sure you want to cancel?") !=
            ASK_OK)
        return false;
    if (widgets[W_CANCEL_DIALOG] != nullptr)
        XtUnmanageChild(widgets[W_CANCEL_DIALOG]);
    g_cancel_process = 1;
    return true;
}

// Presses the Close of the window whose work was cancelled for it, once no
// work is under way (the window's own commands are not run inside work).
void close_after_work(XtPointer, XtIntervalId*) {
    if (cs_state.closing < 0)
        return;
    if (cancel_dialog_active()) {
        XtAppAddTimeOut(app_context, 50, close_after_work, nullptr);
        return;
    }
    Widget b = close_button_of(cs_state.closing);
    cs_state.closing = -1;
    if (b == nullptr)
        return;
    XmPushButtonCallbackStruct cbs = {};
    cbs.reason = XmCR_ACTIVATE;
    XtCallCallbacks(b, XmNactivateCallback, &cbs);
}

// Close clicked in the window at work: the operator wants the window gone,
// so its work stops (as by Cancel) and the window closes after it.
void close_pressed(int form_id) {
    if (cs_state.closing >= 0 || !confirm_and_cancel())
        return;
    cs_state.closing = form_id;
}

} // namespace

void pop_cancel_dialog(int mode, int parent_id, const std::string& title, const std::string& label,
                       int confirm, int follow_snmp, int show_scale, int delay) {
    if (mode != 1) {
        pop_cancel_dialog_down();
        return;
    }
    if (top_level == nullptr)
        return;
    fetch_widget("cancel_dialog", parent_widget(parent_id), W_CANCEL_DIALOG);
    cs_state.placing = false;
    cs_state.label_waits = false;
    XtAddEventHandler(XtParent(widgets[W_CANCEL_DIALOG]), StructureNotifyMask, False, mapped_cb,
                      nullptr);
    cs_state.owner = parent_id;
    cs_state.confirm = confirm;
    cs_state.show_scale = show_scale;
    set_dialog_title(W_CANCEL_DIALOG, title.empty() ? "Cancel" : title);
    set_label(label.empty() ? "Percent done" : label);
    if (widgets[W_CANCEL_DRAW] != nullptr) {
        XtAddCallback(widgets[W_CANCEL_DRAW], XmNexposeCallback, expose_cb, nullptr);
        if (!show_scale)
            XtUnmanageChild(widgets[W_CANCEL_DRAW]);
    }
    // A window closed during its work stays cancelled until it is closed.
    g_cancel_process = cs_state.closing >= 0 ? 1 : 0;
    g_snmp_pct_done = 0;
    g_other_pct_done = 0;
    g_update_in_snmp = follow_snmp;
    if (delay >= 1)
        cs_state.delay_timer = XtAppAddTimeOut(
            app_context, static_cast<unsigned long>(delay) * 1000, delay_cb, nullptr);
    else
        show_now();
}

bool cancel_dialog_active() {
    Widget d = widgets[W_CANCEL_DIALOG];
    return cs_state.delay_timer != 0 || (d != nullptr && XtIsManaged(d));
}

int pop_cancel_dialog_down() {
    int cancelled = g_cancel_process;
    if (cs_state.delay_timer != 0)
        XtRemoveTimeOut(cs_state.delay_timer);
    cs_state.delay_timer = 0;
    cs_state.placing = false;
    cs_state.label_waits = false;
    if (widgets[W_CANCEL_DIALOG] != nullptr)
        XtUnmanageChild(widgets[W_CANCEL_DIALOG]);
    g_snmp_pct_done = 0;
    g_other_pct_done = 0;
    g_update_in_snmp = 0;
    cs_state.owner = -1;
    if (cs_state.closing >= 0)
        XtAppAddTimeOut(app_context, 0, close_after_work, nullptr);
    return cancelled;
}

int is_cancelled(int percent) {
    if (g_update_in_snmp)
        g_snmp_pct_done = percent;
    else
        g_other_pct_done = percent;
    update_cancel_scale();
    clear_event_queue(W_CANCEL_BUTTON);
    return g_cancel_process;
}

void reset_cancel_dialog(const std::string& text, const std::string& device_name) {
    std::string label = device_name.empty() ? text : text + " Morix " + device_name;
    if (label.size() >= 1024)
        label = "App Error: Header doesn't fit";
    set_label(label);
    if (g_update_in_snmp) {
        g_snmp_pct_done = 0;
        update_cancel_scale();
    }
}

void update_cancel_scale() {
    Widget d = widgets[W_CANCEL_DIALOG];
    if (d != nullptr && XtIsManaged(d))
        draw_scale(widgets[W_CANCEL_DRAW]);
}

// The Cancel button of the cancel dialog (id 114).
void cancel_button_pressed() {
    confirm_and_cancel();
}

// ---- event processing -----------------------------------------------------

void process_pending_events() {
    if (top_level == nullptr)
        return;
    XFlush(XtDisplay(top_level));
    for (int i = 0; i < 10000 && XtAppPending(app_context); ++i)
        XtAppProcessEvent(app_context, XtIMAll);
}

namespace {

bool is_input_event(const XEvent& ev) {
    return ev.type == KeyPress || ev.type == KeyRelease || ev.type == ButtonPress ||
           ev.type == ButtonRelease || ev.type == MotionNotify;
}

bool window_inside(Widget w, Window win) {
    if (w == nullptr || !XtIsRealized(w))
        return false;
    // w may be a gadget (a message box button): its display is its parent's.
    Widget target = XtWindowToWidget(XtDisplayOfObject(w), win);
    for (; target != nullptr; target = XtParent(target))
        if (target == w)
            return true;
    return false;
}

// A button event inside b (a gadget lies in its parent's window).
bool on_button(Widget b, const XEvent& ev) {
    if (ev.type != ButtonPress && ev.type != ButtonRelease)
        return false;
    if (XtIsWidget(b))
        return window_inside(b, ev.xany.window);
    Position x = 0, y = 0;
    Dimension w = 0, h = 0;
    XtVaGetValues(b, XmNx, &x, XmNy, &y, XmNwidth, &w, XmNheight, &h, nullptr);
    return ev.xany.window == XtWindow(XtParent(b)) && ev.xbutton.x >= x && ev.xbutton.y >= y &&
           ev.xbutton.x < x + w && ev.xbutton.y < y + h;
}

} // namespace

void clear_event_queue(int widget_id) {
    if (top_level == nullptr)
        return;
    Display* dpy = XtDisplay(top_level);
    XFlush(dpy);
    Widget target = ui_widget(widget_id, UI_MAIN);
    // Keys reach a dialog through its shell (the window manager gives the
    // focus to the shell): the whole warning box takes input, so that Return
    // and Escape close it, and keys on the cancel dialog reach its button.
    Widget warn_ok = widgets[W_WARNING_BOX] != nullptr ? XtParent(widgets[W_WARNING_BOX]) : nullptr;
    Widget key_target =
        target != nullptr && widget_id == W_CANCEL_BUTTON ? get_shell_parent(target) : nullptr;
    int owner = widget_id == W_CANCEL_BUTTON ? cs_state.owner : -1;
    Widget close = close_button_of(owner);
    XEvent ev;
    long mask =
        KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
    for (int i = 0; i < 10000 && XCheckMaskEvent(dpy, mask, &ev); ++i) {
        bool key = ev.type == KeyPress || ev.type == KeyRelease;
        if (window_inside(target, ev.xany.window) || window_inside(warn_ok, ev.xany.window) ||
            (key && window_inside(key_target, ev.xany.window))) {
            XtDispatchEvent(&ev);
        } else if (close != nullptr && on_button(close, ev)) {
            if (ev.type == ButtonPress)
                close_pressed(owner);
        } else if (ev.type == KeyPress || ev.type == ButtonPress) {
            XBell(dpy, 50);
        }
    }
    // Drawing, mapping and timers go on; input waits for the next call.
    for (int i = 0; i < 1000 && XtAppPending(app_context); ++i) {
        if (XPending(dpy) > 0) {
            XEvent next;
            XPeekEvent(dpy, &next);
            if (is_input_event(next))
                break;
        }
        XtAppProcessEvent(app_context, XtIMAll);
    }
}
