// Focus memory and the event handler installed on every fetched object:
// raising, focus recording, the F9 rule, Tab/Return cursor placement and
// hotspot help on basic-mode objects. Also the keyboard search in lists.
#include <X11/keysym.h>
#include <Xm/List.h>
#include <Xm/PushB.h>
#include <Xm/PushBG.h>
#include <Xm/Text.h>
#include <Xm/TextF.h>

#include <cctype>
#include <vector>

#include "frame/dispatch.h"
#include "frame/func_lists.h"
#include "motif/motif_internal.h"
#include "ui/ui.h"

Widget focus_widget = nullptr;
Widget main_focus_widget = nullptr;

namespace {

bool is_inside(Widget w, Widget root) {
    for (; w != nullptr; w = XtParent(w))
        if (w == root)
            return true;
    return false;
}

bool is_text(Widget w) {
    return XmIsText(w) || XmIsTextField(w);
}

XmTextPosition insertion_pos(Widget w) {
    return XmIsText(w) ? XmTextGetInsertionPosition(w) : XmTextFieldGetInsertionPosition(w);
}

// F9 empties a sensitive editable text field; anywhere else it rings.
void proc_clear_text_event(Widget w) {
    Boolean editable = False;
    if (is_text(w))
        XtVaGetValues(w, XmNeditable, &editable, nullptr);
    if (is_text(w) && editable && XtIsSensitive(w)) {
        if (XmIsText(w))
            XmTextSetString(w, const_cast<char*>(""));
        else
            XmTextFieldSetString(w, const_cast<char*>(""));
        return;
    }
    ring_bell();
}

void record_focus(Widget w, XEvent* ev) {
    expose_shell(w, ev);
    Widget shell = get_shell_parent(w);
    if (XmIsPushButton(w) || XmIsPushButtonGadget(w))
        return;
    focus_widget = w;
    XmProcessTraversal(w, XmTRAVERSE_CURRENT);
    if (shell == top_level)
        main_focus_widget = w;
}

void key_rules(Widget w, XEvent* ev) {
    KeySym sym = XLookupKeysym(&ev->xkey, 0);
    if (sym == XK_F9) {
        proc_clear_text_event(w);
        return;
    }
    bool tab_or_return = sym == XK_Tab || sym == XK_Return;
    if (tab_or_return && is_text(w) && insertion_pos(w) == 0 &&
        !(sym == XK_Return && w == widgets[W_MRX_NAME_TF])) {
        if (XmIsText(w))
            XmTextSetInsertionPosition(w, XmTextGetLastPosition(w));
        else
            XmTextFieldSetInsertionPosition(w, XmTextFieldGetLastPosition(w));
    }
}

void focus_eh(Widget w, XtPointer client, XEvent* ev, Boolean*) {
    long code = reinterpret_cast<long>(client);
    int table = static_cast<int>(code >> 16);
    int id = static_cast<int>(code & 0xffff);
    if (ev->type == KeyPress || ev->type == ButtonPress)
        record_focus(w, ev);
    if (ev->type == KeyPress)
        key_rules(w, ev);
    if (table == UI_BASIC &&
        (ev->type == KeyPress || ev->type == ButtonPress || ev->type == MotionNotify))
        set_hotspot(id);
}

// A field that takes the focus has its whole text selected with the caret
// at its end: typing replaces the old value instead of going in front of
// it. A click afterwards places the caret where it points, as usual.
void select_all_cb(Widget w, XtPointer, XtPointer) {
    Boolean editable = False;
    XtVaGetValues(w, XmNeditable, &editable, nullptr);
    if (!editable || !XtIsRealized(w))
        return;
    Time now = XtLastTimestampProcessed(XtDisplay(w));
    if (XmIsTextField(w)) {
        XmTextPosition last = XmTextFieldGetLastPosition(w);
        XmTextFieldSetInsertionPosition(w, last);
        if (last > 0)
            XmTextFieldSetSelection(w, 0, last, now);
        return;
    }
    XmTextPosition last = XmTextGetLastPosition(w);
    XmTextSetInsertionPosition(w, last);
    if (last > 0)
        XmTextSetSelection(w, 0, last, now);
}

void add_handler(Widget w, int table, int id) {
    select_on_focus(w);
    long code = (static_cast<long>(table) << 16) | id;
    XtRemoveEventHandler(w, KeyPressMask | KeyReleaseMask | ButtonPressMask | PointerMotionMask,
                         False, focus_eh, reinterpret_cast<XtPointer>(code));
    XtAddEventHandler(w, KeyPressMask | KeyReleaseMask | ButtonPressMask | PointerMotionMask, False,
                      focus_eh, reinterpret_cast<XtPointer>(code));
}

} // namespace

void select_on_focus(Widget w) {
    int mode = XmMULTI_LINE_EDIT;
    if (XmIsText(w))
        XtVaGetValues(w, XmNeditMode, &mode, nullptr);
    if (!XmIsTextField(w) && !(XmIsText(w) && mode == XmSINGLE_LINE_EDIT))
        return;
    XtRemoveCallback(w, XmNfocusCallback, select_all_cb, nullptr);
    XtAddCallback(w, XmNfocusCallback, select_all_cb, nullptr);
}

void install_focus_handlers(Widget root) {
    if (root == nullptr)
        return;
    Widget menu = widgets[W_MENU_BAR];
    for (int i = 0; i < MAX_WIDGETS; ++i) {
        Widget w = widgets[i];
        if (w != nullptr && XtIsWidget(w) && is_inside(w, root) && !is_inside(w, menu))
            add_handler(w, UI_MAIN, i);
    }
    for (int i = 0; i < MAX_WIDGETS_BASIC; ++i) {
        Widget w = widgets_basic[i];
        if (w != nullptr && XtIsWidget(w) && is_inside(w, root))
            add_handler(w, UI_BASIC, i);
    }
}

void restore_focus() {
    Widget w = main_focus_widget;
    if (w != nullptr && XtIsManaged(w) && XtIsRealized(w))
        XmProcessTraversal(w, XmTRAVERSE_CURRENT);
}

// ---- keyboard search in lists ---------------------------------------------

namespace {

struct ListSearch {
    Widget list = nullptr;
    std::string prefix;
    std::vector<std::string> items;
    bool cached = false;
};
ListSearch search;

bool starts_with_nocase(const std::string& item, const std::string& prefix) {
    if (item.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(item[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

void load_items(Widget list) {
    search.items.clear();
    XmStringTable items = nullptr;
    int count = 0;
    XtVaGetValues(list, XmNitems, &items, XmNitemCount, &count, nullptr);
    for (int i = 0; i < count; ++i)
        search.items.push_back(cvt_cps_str(items[i]));
    search.cached = true;
}

void search_key(Widget list, XKeyEvent* key) {
    char buf[16];
    KeySym sym = 0;
    int n = XLookupString(key, buf, sizeof buf, &sym, nullptr);
    if (search.list != list) {
        search.list = list;
        search.prefix.clear();
        search.cached = false;
    }
    if (sym == XK_Escape) {
        search.prefix.clear();
        return;
    }
    if (sym == XK_BackSpace) {
        if (!search.prefix.empty())
            search.prefix.pop_back();
        return;
    }
    std::string typed(buf, n > 0 ? static_cast<size_t>(n) : 0);
    if (typed.empty())
        return;
    for (char c : typed)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_')
            return;
    if (search.prefix.size() + typed.size() >= 1024)
        return;
    if (!search.cached)
        load_items(list);
    search.prefix += typed;
    for (size_t i = 0; i < search.items.size(); ++i) {
        if (starts_with_nocase(search.items[i], search.prefix)) {
            XmListSetPos(list, static_cast<int>(i) + 1);
            return;
        }
    }
    search.prefix.resize(search.prefix.size() - typed.size());
    ring_bell();
}

void list_search_eh(Widget w, XtPointer, XEvent* ev, Boolean*) {
    if (ev->type == KeyRelease)
        search_key(w, &ev->xkey);
    else if (ev->type == FocusOut && search.list == w)
        search.prefix.clear();
}

void list_cb_clear(Widget w, XtPointer, XtPointer) {
    if (search.list == w)
        search.prefix.clear();
}

} // namespace

void setup_list_for_search(Widget list) {
    // The list's own first-letter navigation would fight the typed prefix.
    XtVaSetValues(list, XmNmatchBehavior, XmNONE, nullptr);
    XtAddEventHandler(list, KeyReleaseMask | FocusChangeMask, False, list_search_eh, nullptr);
    XtAddCallback(list, XmNdefaultActionCallback, list_cb_clear, nullptr);
    XtAddCallback(list, XmNsingleSelectionCallback, list_cb_clear, nullptr);
    XtAddCallback(list, XmNextendedSelectionCallback, list_cb_clear, nullptr);
    XtAddCallback(list, XmNbrowseSelectionCallback, list_cb_clear, nullptr);
}

void clear_list_search_cache(Widget list) {
    if (search.list == list)
        search.cached = false;
}

// Test access to the typed prefix.
std::string list_search_prefix() {
    return search.prefix;
}
