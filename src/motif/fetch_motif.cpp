// Dialogs of the interface description that commands fetch on first use.
#include <Xm/BulletinB.h>
#include <Xm/DialogS.h>
#include <Xm/FileSB.h>
#include <Xm/MessageB.h>
#include <Xm/PushB.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "motif/motif_internal.h"
#include "ui/ui.h"

void ui_fetch_dialog(const std::string& name, int slot) {
    if (ui_widget(slot, UI_MAIN))
        return;
    fetch_widget(name.c_str(), main_widget, slot);
}

void ui_rescan_files(int id, int table) {
    Widget w = ui_widget(id, table);
    if (w != nullptr && XmIsFileSelectionBox(w))
        XmFileSelectionDoSearch(w, nullptr);
}

namespace {

// The push buttons inside w, in the order of the widget tree.
void push_buttons(Widget w, std::vector<std::pair<Widget, std::string>>* out, int depth) {
    if (w == nullptr || depth > 12 || !XtIsComposite(w))
        return;
    WidgetList kids = nullptr;
    Cardinal n = 0;
    XtVaGetValues(w, XmNchildren, &kids, XmNnumChildren, &n, nullptr);
    for (Cardinal i = 0; i < n; ++i) {
        if (XmIsPushButton(kids[i])) {
            XmString cs = nullptr;
            XtVaGetValues(kids[i], XmNlabelString, &cs, nullptr);
            out->emplace_back(kids[i], cvt_cps_str(cs));
            XmStringFree(cs);
        } else {
            push_buttons(kids[i], out, depth + 1);
        }
    }
}

Widget button_labelled(const std::vector<std::pair<Widget, std::string>>& buttons,
                       std::initializer_list<const char*> labels) {
    for (const char* l : labels)
        for (const auto& b : buttons)
            if (b.second == l)
                return b.first;
    return nullptr;
}

} // namespace

namespace {

// Presses the button named by client: the window's Help for F1 where no
// control of the window has a help of its own, its Close for Escape in a
// file selection box inside it.
void press_cb(Widget, XtPointer client, XtPointer call) {
    Widget button = static_cast<Widget>(client);
    if (!XtIsManaged(button) || !XtIsSensitive(button))
        return;
    XmPushButtonCallbackStruct cbs = {};
    cbs.reason = XmCR_ACTIVATE;
    cbs.event = call != nullptr ? static_cast<XmAnyCallbackStruct*>(call)->event : nullptr;
    XtCallCallbacks(button, XmNactivateCallback, &cbs);
}

void boxes_inside(Widget w, std::vector<Widget>* out, int depth) {
    if (w == nullptr || depth > 12 || !XtIsComposite(w))
        return;
    WidgetList kids = nullptr;
    Cardinal n = 0;
    XtVaGetValues(w, XmNchildren, &kids, XmNnumChildren, &n, nullptr);
    for (Cardinal i = 0; i < n; ++i) {
        if (XmIsFileSelectionBox(kids[i]))
            out->push_back(kids[i]);
        boxes_inside(kids[i], out, depth + 1);
    }
}

// The button Return presses: OK, else the window's first command button.
Widget default_button(const std::vector<std::pair<Widget, std::string>>& buttons) {
    if (Widget ok = button_labelled(buttons, {"OK"}))
        return ok;
    for (const auto& b : buttons)
        if (b.second != "Close" && b.second != "Cancel" && b.second != "Help" &&
            b.second != "Clear" && b.second.find("...") == std::string::npos)
            return b.first;
    return nullptr;
}

} // namespace

void hide_dot_files(Widget root) {
    if (root == nullptr)
        return;
    if (XmIsFileSelectionBox(root)) {
        // Files whose names begin with a dot (a folder's .keep) are no
        // scripts or lists: the boxes do not offer them.
        XtVaSetValues(root, XmNfileFilterStyle, XmFILTER_HIDDEN_FILES, nullptr);
        XmFileSelectionDoSearch(root, nullptr);
        return;
    }
    if (!XtIsComposite(root))
        return;
    WidgetList kids = nullptr;
    Cardinal n = 0;
    XtVaGetValues(root, XmNchildren, &kids, XmNnumChildren, &n, nullptr);
    for (Cardinal i = 0; i < n; ++i)
        hide_dot_files(kids[i]);
}

void set_dialog_keys(Widget w) {
    // A message box keeps its own buttons (they cannot be changed).
    if (w == nullptr || !XmIsBulletinBoard(w) || XmIsMessageBox(w) || !XtIsShell(XtParent(w)))
        return;
    std::vector<std::pair<Widget, std::string>> buttons;
    push_buttons(w, &buttons, 0);
    Widget ok = default_button(buttons);
    Widget cancel = button_labelled(buttons, {"Close", "Cancel"});
    if (cancel == nullptr) // a dialog with OK alone closes with Escape too
        cancel = button_labelled(buttons, {"OK"});
    if (ok != nullptr)
        XtVaSetValues(w, XmNdefaultButton, ok, nullptr);
    if (cancel != nullptr)
        XtVaSetValues(w, XmNcancelButton, cancel, nullptr);
    if (Widget help = button_labelled(buttons, {"Help"}))
        XtAddCallback(w, XmNhelpCallback, press_cb, help);
    // A file selection box of the window would take Escape for itself.
    std::vector<Widget> boxes;
    boxes_inside(w, &boxes, 0);
    for (Widget box : boxes)
        if (cancel != nullptr)
            XtAddCallback(box, XmNcancelCallback, press_cb, cancel);
}
