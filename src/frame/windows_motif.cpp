// Showing, raising and hiding windows; the dialogs made in code by name;
// the file selection box; the main window layout per mode.
#include <X11/keysym.h>
#include <Xm/BulletinB.h>
#include <Xm/FileSB.h>
#include <Xm/Form.h>
#include <Xm/MessageB.h>
#include <Xm/SelectioB.h>
#include <Xm/Text.h>
#include <Xm/TextF.h>

#include <functional>

#include "catalogue/func_display.h"
#include "frame/dispatch.h"
#include "frame/motif_internal.h"
#include "ui/ui.h"

Widget parent_widget(int id) {
    Widget w = ui_widget(id, UI_MAIN);
    if (w == nullptr || !XtIsRealized(w))
        return main_widget != nullptr ? main_widget : top_level;
    return w;
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

void gui_manage_child(Widget w) {
    if (w == nullptr)
        return;
    XtManageChild(w);
    if (XmIsFileSelectionBox(w))
        XtVaSetValues(w, XmNresizePolicy, XmRESIZE_ANY, nullptr);
    raise_shell(w);
    if (w != widgets[W_INIT_FORM] && w != widgets[W_INIT_LABEL])
        warp_into(w);
    // The warning box stays above other new windows, the work dialog is
    // re-raised, and an open cancel dialog is always on top.
    if (widgets[W_WARNING_BOX] != nullptr && w != widgets[W_WARNING_BOX] &&
        XtIsManaged(widgets[W_WARNING_BOX]))
        raise_shell(widgets[W_WARNING_BOX]);
    if (work_dialog_shown())
        update_work(W_MAIN_WINDOW, "", "", 1);
    Widget cancel = widgets[W_CANCEL_DIALOG];
    if (cancel != nullptr && w != cancel && XtIsManaged(cancel))
        raise_shell(cancel);
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
        XtPopup(shell, XtGrabNone);
        XMapRaised(XtDisplay(shell), XtWindow(shell));
        last_raised = nullptr;
    } else {
        gui_manage_child(form);
    }
    apply_current_cursor(shell);
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
        XtUnmanageChild(XmSelectionBoxGetChild(w, XmDIALOG_HELP_BUTTON));
        set_title(w, "Name Entry");
        widgets[W_NAME_PROMPT_TEXT] = XmSelectionBoxGetChild(w, XmDIALOG_TEXT);
        XtAddCallback(w, XmNcancelCallback, unmanage_cb, nullptr);
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
