// Dialogs of the interface description that commands fetch on first use.
#include <Xm/BulletinB.h>
#include <Xm/DialogS.h>
#include <Xm/FileSB.h>
#include <Xm/PushB.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "frame/motif_internal.h"
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

void set_dialog_keys(Widget w) {
    if (w == nullptr || !XmIsBulletinBoard(w) || !XmIsDialogShell(XtParent(w)))
        return;
    std::vector<std::pair<Widget, std::string>> buttons;
    push_buttons(w, &buttons, 0);
    Widget ok = button_labelled(buttons, {"OK"});
    Widget cancel = button_labelled(buttons, {"Cancel", "Close"});
    if (cancel == nullptr)
        cancel = ok; // a dialog with OK alone closes with Escape too
    if (ok != nullptr)
        XtVaSetValues(w, XmNdefaultButton, ok, nullptr);
    if (cancel != nullptr)
        XtVaSetValues(w, XmNcancelButton, cancel, nullptr);
}
