// Showing, raising and hiding windows; the dialogs made in code by name;
// the file selection box; the main window layout per mode.
#include <X11/keysym.h>
#include <Xm/BulletinB.h>
#include <Xm/DialogS.h>
#include <Xm/FileSB.h>
#include <Xm/Form.h>
#include <Xm/MessageB.h>
#include <Xm/SelectioB.h>
#include <Xm/Text.h>
#include <Xm/TextF.h>

#include <unistd.h>

#include <functional>

#include "frame/dispatch.h"
#include "frame/func_lists.h"
#include "frame/help_texts.h"
#include "motif/motif_internal.h"
#include "ui/program.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

Widget parent_widget(int id) {
    Widget w = ui_widget(id, UI_MAIN);
    if (w == nullptr || !XtIsRealized(w))
        return owner_window();
    return w;
}

namespace {

// The shell's form when the shell shows one (a dialog is made under it).
Widget shown_form(Widget shell) {
    if (shell == top_level)
        return main_widget;
    WidgetList kids = nullptr;
    Cardinal n = 0;
    XtVaGetValues(shell, XmNchildren, &kids, XmNnumChildren, &n, nullptr);
    return n > 0 && XtIsManaged(kids[0]) ? kids[0] : nullptr;
}

} // namespace

Widget owner_window() {
    Widget fallback = main_widget != nullptr ? main_widget : top_level;
    if (top_level == nullptr)
        return fallback;
    Display* dpy = XtDisplay(top_level);
    Window focus = None;
    int revert = 0;
    XGetInputFocus(dpy, &focus, &revert);
    Widget w = focus != None && focus != PointerRoot ? XtWindowToWidget(dpy, focus) : nullptr;
    // A dialog belongs to the window it was made under.
    for (int depth = 0; w != nullptr && depth < 8; ++depth) {
        Widget shell = get_shell_parent(w);
        if (shell == nullptr)
            break;
        if (!XmIsDialogShell(shell)) {
            Widget form = shown_form(shell);
            return form != nullptr ? form : fallback;
        }
        w = XtParent(shell);
    }
    return fallback;
}

Widget get_shell_parent(Widget w) {
    while (w != nullptr && !XtIsShell(w))
        w = XtParent(w);
    return w;
}

void ring_bell() {
    if (top_level != nullptr)
        XBell(XtDisplay(top_level), 50);
}

namespace {

// The object whose shell a press raised last. Raising any window by other
// means forgets it, so that a press brings that object's window back up.
Widget last_raised = nullptr;

void raise_shell(Widget w) {
    last_raised = nullptr;
    Widget s = get_shell_parent(w);
    if (s != nullptr && XtIsRealized(s))
        XRaiseWindow(XtDisplay(s), XtWindow(s));
}

// Moves the pointer into a newly shown window.
void warp_into(Widget w) {
    if (!XtIsRealized(w))
        return;
    Dimension wd = 0, ht = 0;
    XtVaGetValues(w, XmNwidth, &wd, XmNheight, &ht, nullptr);
    XWarpPointer(XtDisplay(w), None, XtWindow(w), 0, 0, 0, 0, wd / 2, ht / 2);
}

// The root position of the window manager's frame around a shell (the
// shell itself when no window manager reparented it). A window manager
// places a new window by its frame, so offsets are taken frame to frame.
bool frame_origin(Widget shell, int* x, int* y) {
    if (shell == nullptr || !XtIsRealized(shell))
        return false;
    Display* dpy = XtDisplay(shell);
    Window root = DefaultRootWindow(dpy), w = XtWindow(shell);
    for (int depth = 0; depth < 32; ++depth) {
        Window r = 0, parent = 0, *kids = nullptr;
        unsigned int n = 0;
        if (XQueryTree(dpy, w, &r, &parent, &kids, &n) == 0)
            return false;
        if (kids != nullptr)
            XFree(kids);
        if (parent == root || parent == None)
            break;
        w = parent;
    }
    XWindowAttributes a;
    if (XGetWindowAttributes(dpy, w, &a) == 0)
        return false;
    *x = a.x;
    *y = a.y;
    return true;
}

} // namespace

namespace {

bool shown(Widget w) {
    return w != nullptr && XtIsManaged(w);
}

// The question or warning that must stay above every other window: an
// open question first, then the warning box.
Widget front_dialog() {
    if (shown(g_ask_dialog))
        return g_ask_dialog;
    return shown(widgets[W_WARNING_BOX]) ? widgets[W_WARNING_BOX] : nullptr;
}

// Waits, at most a second, until the window manager has mapped the shell.
bool wait_viewable(Widget shell) {
    Display* dpy = XtDisplay(shell);
    for (int i = 0; i < 100; ++i) {
        XSync(dpy, False);
        XWindowAttributes a;
        if (XGetWindowAttributes(dpy, XtWindow(shell), &a) != 0 && a.map_state == IsViewable)
            return true;
        usleep(10000);
    }
    return false;
}

// A dialog made once under the main window belongs to the window the
// operator works in when it is shown, so that the window manager keeps it
// above that window instead of raising the main window.
void adopt_by_owner(Widget w) {
    Widget shell = XtParent(w);
    if (shell == nullptr || !XmIsDialogShell(shell) ||
        get_shell_parent(XtParent(shell)) != top_level)
        return;
    Widget owner = get_shell_parent(owner_window());
    if (owner != nullptr && XtIsRealized(owner))
        XtVaSetValues(shell, XmNtransientFor, owner, nullptr);
}

// Grows a window's shell to the size its contents ask for, so that a window
// never opens cut short (a dialog shell sized before its pages were in it).
void fit_natural_size(Widget w) {
    Widget shell = XtParent(w);
    if (shell == nullptr || !XtIsShell(shell))
        return;
    XtWidgetGeometry pref{};
    XtQueryGeometry(w, nullptr, &pref);
    Dimension sw = 0, sh = 0;
    XtVaGetValues(shell, XmNwidth, &sw, XmNheight, &sh, nullptr);
    Dimension want_w = (pref.request_mode & CWWidth) != 0 && pref.width > sw ? pref.width : sw;
    Dimension want_h = (pref.request_mode & CWHeight) != 0 && pref.height > sh ? pref.height : sh;
    if (want_w != sw || want_h != sh)
        XtVaSetValues(shell, XmNwidth, want_w, XmNheight, want_h, nullptr);
}

bool viewable(Widget shell) {
    XWindowAttributes a;
    return XtIsRealized(shell) &&
           XGetWindowAttributes(XtDisplay(shell), XtWindow(shell), &a) != 0 &&
           a.map_state == IsViewable;
}

// Windows that open at one place would cover each other exactly: a window
// whose frame lands where an open window's frame stands moves 30 pixels down
// and right, as often as needed. Done once the window manager has placed it,
// since only then is its frame where the other frames are measured.
void cascade(Widget shell) {
    constexpr int step = 30;
    int fx = 0, fy = 0;
    if (!wait_viewable(shell) || !frame_origin(shell, &fx, &fy))
        return;
    int shift = 0;
    for (int round = 0; round < 16; ++round) {
        bool taken = false;
        for (int i = 0; i < MAX_WIDGETS && !taken; ++i) {
            Widget s = widgets[i];
            int ox = 0, oy = 0;
            if (s == nullptr || s == shell || !XtIsTopLevelShell(s) || !viewable(s) ||
                !frame_origin(s, &ox, &oy))
                continue;
            taken = ox == fx + shift && oy == fy + shift;
        }
        if (!taken)
            break;
        shift += step;
    }
    if (shift == 0)
        return;
    Position x = 0, y = 0;
    XtVaGetValues(shell, XmNx, &x, XmNy, &y, nullptr);
    XtVaSetValues(shell, XmNx, static_cast<Position>(x + shift), XmNy,
                  static_cast<Position>(y + shift), nullptr);
}

} // namespace

void show_drawn(Widget w) {
    Widget shell = get_shell_parent(w);
    if (shell != nullptr && XtIsRealized(shell) && wait_viewable(shell))
        XmUpdateDisplay(w);
}

void bring_to_front(Widget w) {
    Widget shell = get_shell_parent(w);
    if (shell == nullptr || !XtIsRealized(shell) || !wait_viewable(shell))
        return;
    Display* dpy = XtDisplay(shell);
    XRaiseWindow(dpy, XtWindow(shell));
    XSetInputFocus(dpy, XtWindow(shell), RevertToParent, CurrentTime);
    XFlush(dpy);
}

void gui_manage_child(Widget w) {
    if (w == nullptr)
        return;
    bool window = XtParent(w) != nullptr && XtIsShell(XtParent(w));
    bool background = w == widgets[W_CANCEL_DIALOG] || is_work_dialog(w) ||
                      w == widgets[W_INIT_FORM] || w == widgets[W_INIT_LABEL];
    if (window && !background)
        adopt_by_owner(w);
    XtManageChild(w);
    if (XmIsFileSelectionBox(w))
        XtVaSetValues(w, XmNresizePolicy, XmRESIZE_ANY, nullptr);
    if (window && !background)
        fit_natural_size(w);
    raise_shell(w);
    if (w != widgets[W_INIT_FORM] && w != widgets[W_INIT_LABEL])
        warp_into(w);
    // The work dialog and an open cancel dialog stay above other new
    // windows; a question or warning stays above everything, with the
    // keyboard focus.
    if (work_dialog_shown() && !is_work_dialog(w))
        update_work(W_MAIN_WINDOW, "", "", 1);
    Widget cancel = widgets[W_CANCEL_DIALOG];
    if (cancel != nullptr && w != cancel && XtIsManaged(cancel))
        raise_shell(cancel);
    if (!window)
        return;
    Widget front = front_dialog();
    if (front != nullptr)
        bring_to_front(front);
    else if (!background)
        bring_to_front(w);
}

void gui_manage_child_place(Widget w, Widget parent, int offset) {
    if (w == nullptr)
        return;
    pop_delay_dialog(2, W_MAIN_WINDOW, "", "", 0);
    set_hotspot(-1);
    if (offset == 1 && parent != nullptr) {
        Widget from = get_shell_parent(parent);
        int x = 0, y = 0;
        if (!frame_origin(from, &x, &y)) {
            Position px = 0, py = 0;
            XtVaGetValues(from != nullptr ? from : parent, XmNx, &px, XmNy, &py, nullptr);
            x = px;
            y = py;
        }
        // A dialog would centre itself over its parent when shown.
        if (XmIsBulletinBoard(w))
            XtVaSetValues(w, XmNdefaultPosition, False, nullptr);
        Widget target = XtIsShell(XtParent(w)) ? XtParent(w) : w;
        XtVaSetValues(target, XmNx, static_cast<Position>(x + 20), XmNy,
                      static_cast<Position>(y + 20), nullptr);
    }
    XtManageChild(w);
    if (XtIsTopLevelShell(XtParent(w)))
        XtPopup(XtParent(w), XtGrabNone);
    raise_shell(w);
}

int expose_shell(Widget w, const XEvent* event) {
    if (w == nullptr)
        return 0;
    if (event != nullptr && event->type == KeyPress) {
        KeySym sym = XLookupKeysym(const_cast<XKeyEvent*>(&event->xkey), 0);
        if (sym == XK_space || sym == XK_Return || sym == XK_F1)
            return 0;
    }
    if (w == last_raised)
        return 0;
    Widget shell = get_shell_parent(w);
    if (shell == nullptr || !XtIsRealized(shell))
        return 0;
    last_raised = w;
    XRaiseWindow(XtDisplay(shell), XtWindow(shell));
    return 1;
}

void set_directory(Widget box, const std::string& dir, const std::string& pattern) {
    if (box == nullptr)
        return;
    // The directory mask is what the box shows as its filter; setting it
    // also sets the directory and the pattern.
    std::string mask = dir + "/" + pattern;
    XmString m = XmStringCreateLocalized(const_cast<char*>(mask.c_str()));
    XmString d = XmStringCreateLocalized(const_cast<char*>(dir.c_str()));
    XtVaSetValues(box, XmNdirMask, m, XmNdirectory, d, nullptr);
    XmStringFree(m);
    XmStringFree(d);
}

Pixel get_color(const std::string& name) {
    Screen* screen = XtScreen(top_level);
    XColor color, exact;
    if (XAllocNamedColor(XtDisplay(top_level), DefaultColormapOfScreen(screen), name.c_str(),
                         &color, &exact) == 0)
        return BlackPixelOfScreen(screen);
    return color.pixel;
}

void gui_manage_top_form(int form_id, int table) {
    Widget form = ui_widget(form_id, table);
    if (form == nullptr)
        return;
    Widget shell = XtParent(form);
    XtManageChild(form);
    if (XtIsTopLevelShell(shell)) {
        fit_natural_size(form);
        bool was_open = viewable(shell);
        XtPopup(shell, XtGrabNone);
        XMapRaised(XtDisplay(shell), XtWindow(shell));
        // A window asked for again comes to the front with the keys, as a
        // new one does.
        if (!was_open)
            cascade(shell);
        else
            bring_to_front(form);
        last_raised = nullptr;
    } else {
        gui_manage_child(form);
    }
    apply_current_cursor(shell);
    reshow_blank_menus();
    redisplay_warn(form_id);
}

void gui_unmanage_top_form(int form_id, int table) {
    Widget form = ui_widget(form_id, table);
    if (form == nullptr)
        return;
    XtUnmanageChild(form);
    Widget shell = XtParent(form);
    if (XtIsTopLevelShell(shell))
        XtPopdown(shell);
}

int expose_dialog(int form_id, int table) {
    Widget w = ui_widget(form_id, table);
    if (w == nullptr)
        return 0;
    if (XtIsShell(w)) {
        if (!XtIsRealized(w))
            return 0;
        XRaiseWindow(XtDisplay(w), XtWindow(w));
        last_raised = nullptr;
        return 1;
    }
    if (!XtIsManaged(w))
        return 0;
    raise_shell(w);
    return 1;
}

// ---- dialogs made in code -------------------------------------------------

namespace {

Widget make_box(const char* name, Widget parent, int kind, unsigned char modality) {
    Arg args[1];
    XtSetArg(args[0], XmNdialogStyle, modality);
    Widget box = nullptr;
    char* n = const_cast<char*>(name);
    switch (kind) {
    case XmDIALOG_QUESTION:
        box = XmCreateQuestionDialog(parent, n, args, 1);
        break;
    case XmDIALOG_WARNING:
        box = XmCreateWarningDialog(parent, n, args, 1);
        break;
    default:
        box = XmCreateInformationDialog(parent, n, args, 1);
        break;
    }
    XtUnmanageChild(XmMessageBoxGetChild(box, XmDIALOG_HELP_BUTTON));
    if (kind != XmDIALOG_QUESTION)
        XtUnmanageChild(XmMessageBoxGetChild(box, XmDIALOG_CANCEL_BUTTON));
    return box;
}

void set_title(Widget w, const char* title) {
    XmString cs = XmStringCreateLocalized(const_cast<char*>(title));
    XtVaSetValues(w, XmNdialogTitle, cs, nullptr);
    XmStringFree(cs);
}

// Room for a full path in the fields and twenty names in the lists.
void size_file_selection(Widget box) {
    constexpr short path_columns = 80;
    XtVaSetValues(box, XmNlistVisibleItemCount, 20, nullptr);
    for (unsigned char child : {XmDIALOG_TEXT, XmDIALOG_FILTER_TEXT}) {
        Widget text = XmFileSelectionBoxGetChild(box, child);
        if (text != nullptr)
            XtVaSetValues(text, XmNcolumns, path_columns, nullptr);
    }
}

void unmanage_cb(Widget w, XtPointer, XtPointer) {
    XtUnmanageChild(w);
}

// The group-name prompt's OK creates the group; the prompt closes when the
// group was made and stays open (with the reason shown) when it was not.
void name_prompt_ok_cb(Widget w, XtPointer, XtPointer) {
    if (prompt_name_ok(ui_get_text(W_NAME_PROMPT_TEXT)))
        XtUnmanageChild(w);
}

void name_prompt_help_cb(Widget, XtPointer, XtPointer) {
    display_item_help(W_UDF_FORM, prompt_help_text(W_UDF_NEW));
}

} // namespace

Widget create_dynamically(const char* name, Widget parent, int slot) {
    std::string n = name;
    Widget w = nullptr;
    if (slot == W_QUESTION_BOX && n == "question_box") {
        w = make_box(name, parent, XmDIALOG_QUESTION, XmDIALOG_FULL_APPLICATION_MODAL);
        set_title(w, "Confirmation");
    } else if (slot == W_WARNING_BOX && n == "warning_box") {
        w = make_box(name, parent, XmDIALOG_WARNING, XmDIALOG_FULL_APPLICATION_MODAL);
        set_title(w, "Warning Message");
    } else if (slot == W_MSG_BOX && n == "msg_box") {
        w = make_box(name, parent, XmDIALOG_INFORMATION, XmDIALOG_MODELESS);
        set_title(w, "Message");
    } else if (slot == W_NAME_PROMPT && n == "prompt_box") {
        Arg args[1];
        XtSetArg(args[0], XmNdialogStyle, XmDIALOG_PRIMARY_APPLICATION_MODAL);
        w = XmCreatePromptDialog(parent, const_cast<char*>(name), args, 1);
        set_title(w, "Name Entry");
        widgets[W_NAME_PROMPT_TEXT] = XmSelectionBoxGetChild(w, XmDIALOG_TEXT);
        select_on_focus(widgets[W_NAME_PROMPT_TEXT]);
        XtAddCallback(w, XmNcancelCallback, unmanage_cb, nullptr);
        XtAddCallback(w, XmNokCallback, name_prompt_ok_cb, nullptr);
        XtAddCallback(w, XmNhelpCallback, name_prompt_help_cb, nullptr);
        return w;
    } else if (slot == W_FILE_SEL_BOX && n == "file_sel_box") {
        // The folder path gets a field of its own, so that the folder list
        // holds short names and leaves the file list its share of the width.
        Arg args[2];
        XtSetArg(args[0], XmNdialogStyle, XmDIALOG_PRIMARY_APPLICATION_MODAL);
        XtSetArg(args[1], XmNpathMode, XmPATH_MODE_RELATIVE);
        w = XmCreateFileSelectionDialog(parent, const_cast<char*>(name), args, 2);
        set_title(w, "File Selection");
        size_file_selection(w);
        XtAddCallback(w, XmNcancelCallback, unmanage_cb, nullptr);
    }
    if (w != nullptr)
        XtAddCallback(w, XmNokCallback, unmanage_cb, nullptr);
    return w;
}

// ---- file selection box ---------------------------------------------------

namespace {

struct FileSelAction {
    std::function<int(const std::string&)> ok;
    std::string help;
    int parent_id;
};
FileSelAction* g_fsb_action = nullptr;

void fsb_ok_cb(Widget w, XtPointer, XtPointer call) {
    auto* cbs = static_cast<XmFileSelectionBoxCallbackStruct*>(call);
    if (g_fsb_action == nullptr)
        return;
    std::string name = cvt_cps_str(cbs->value);
    if (g_fsb_action->ok(name) == 1)
        XtUnmanageChild(w);
}

void fsb_help_cb(Widget, XtPointer, XtPointer) {
    if (g_fsb_action != nullptr)
        display_item_help(g_fsb_action->parent_id, g_fsb_action->help);
}

} // namespace

void ui_file_selection(int parent_id, const std::string& title, const std::string& dir,
                       std::function<int(const std::string&)> ok_action,
                       const std::string& help_text) {
    Widget parent = parent_widget(parent_id);
    fetch_widget("file_sel_box", parent, W_FILE_SEL_BOX);
    Widget box = widgets[W_FILE_SEL_BOX];
    XtRemoveAllCallbacks(box, XmNokCallback);
    delete g_fsb_action;
    g_fsb_action = new FileSelAction{std::move(ok_action), help_text, parent_id};
    XtAddCallback(box, XmNokCallback, fsb_ok_cb, nullptr);
    XtAddCallback(box, XmNhelpCallback, fsb_help_cb, nullptr);
    set_dialog_title(W_FILE_SEL_BOX, title);
    set_directory(box, dir);
    gui_manage_child(box);
}

// ---- main window layout -----------------------------------------------------

void layout_main_window(int customized) {
    Widget shell = top_level;
    if (shell == nullptr)
        return;
    // Setup mode shows the device area alone; Customized mode adds the
    // function list and output area at the right.
    Widget dev_area = widgets[W_DEV_AREA];
    if (dev_area != nullptr)
        XtVaSetValues(dev_area, XmNrightAttachment, customized ? XmATTACH_NONE : XmATTACH_FORM,
                      XmNwidth, 410, nullptr);
    Dimension w = customized ? 980 : 425, h = customized ? 640 : 560;
    XtVaSetValues(shell, XmNwidth, w, XmNheight, h, nullptr);
    if (XtIsRealized(shell))
        XRaiseWindow(XtDisplay(shell), XtWindow(shell));
    // Raising the main window must not bury a warning it holds modal.
    Widget warn = widgets[W_WARNING_BOX];
    if (warn != nullptr && XtIsManaged(warn))
        raise_shell(warn);
}
