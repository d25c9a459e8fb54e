// Motif implementation of the widget services of ui.h: texts, labels,
// lists, toggles, option menus, sensitivity and showing by widget id.
#include <X11/IntrinsicP.h>
#include <Xm/CascadeBG.h>
#include <Xm/FileSB.h>
#include <Xm/List.h>
#include <Xm/PushBG.h>
#include <Xm/RowColumn.h>
#include <Xm/Text.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>

#include <set>

#include "frame/dispatch.h"
#include "frame/startup.h"
#include "motif/motif_internal.h"
#include "ui/ui.h"

Widget widgets[MAX_WIDGETS];
Widget widgets_basic[MAX_WIDGETS_BASIC];

Widget ui_widget(int id, int table) {
    if (table == UI_BASIC)
        return id >= 0 && id < MAX_WIDGETS_BASIC ? widgets_basic[id] : nullptr;
    if (table == UI_SET_ROWS)
        return set_row_widget(id);
    return id >= 0 && id < MAX_WIDGETS ? widgets[id] : nullptr;
}

int widget_id_of(Widget w) {
    for (int i = 0; i < MAX_WIDGETS && w != nullptr; ++i)
        if (widgets[i] == w)
            return i;
    return -1;
}

std::string cvt_cps_str(XmString cs) {
    if (cs == nullptr)
        return "";
    // A line break of a multi-line label comes back as "\n".
    static XmParseTable newline_table = nullptr;
    if (newline_table == nullptr) {
        Arg args[3];
        XmString sep = XmStringSeparatorCreate();
        XtSetArg(args[0], XmNincludeStatus, XmINSERT);
        XtSetArg(args[1], XmNsubstitute, sep);
        XtSetArg(args[2], XmNpattern, const_cast<char*>("\n"));
        newline_table = reinterpret_cast<XmParseTable>(XtMalloc(sizeof(XmParseMapping)));
        newline_table[0] = XmParseMappingCreate(args, 3);
        XmStringFree(sep);
    }
    char* text = static_cast<char*>(XmStringUnparse(cs, nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT,
                                                    newline_table, 1, XmOUTPUT_ALL));
    std::string out = text != nullptr ? text : "";
    XtFree(text);
    return out;
}

namespace {

bool is_text(Widget w) {
    return w != nullptr && (XmIsText(w) || XmIsTextField(w));
}

} // namespace

// ---- windows --------------------------------------------------------------

bool ui_exists(int id, int table) {
    return ui_widget(id, table) != nullptr;
}

void ui_manage(int id, int table) {
    Widget w = ui_widget(id, table);
    if (w != nullptr)
        gui_manage_child(w);
}

void ui_unmanage(int id, int table) {
    Widget w = ui_widget(id, table);
    if (w != nullptr)
        XtUnmanageChild(w);
}

bool ui_is_managed(int id, int table) {
    Widget w = ui_widget(id, table);
    return w != nullptr && XtIsManaged(w);
}

void set_dialog_title(int id, const std::string& title, int table) {
    Widget w = ui_widget(id, table);
    if (w == nullptr)
        return;
    if (XtIsShell(w)) {
        XtVaSetValues(w, XmNtitle, title.c_str(), nullptr);
        return;
    }
    XmString cs = XmStringCreateLocalized(const_cast<char*>(title.c_str()));
    XtVaSetValues(w, XmNdialogTitle, cs, nullptr);
    XmStringFree(cs);
}

void set_focus(int id, int table) {
    Widget w = ui_widget(id, table);
    if (w != nullptr && XtIsManaged(w))
        XmProcessTraversal(w, XmTRAVERSE_CURRENT);
}

// ---- texts and labels -----------------------------------------------------

std::string ui_get_text(int id, int table) {
    Widget w = ui_widget(id, table);
    if (w != nullptr && XmIsFileSelectionBox(w)) // its selection text
        w = XmFileSelectionBoxGetChild(w, XmDIALOG_TEXT);
    if (!is_text(w))
        return "";
    char* s = XmIsText(w) ? XmTextGetString(w) : XmTextFieldGetString(w);
    std::string out = s != nullptr ? s : "";
    XtFree(s);
    return out;
}

void ui_set_text(int id, const std::string& text, int table) {
    Widget w = ui_widget(id, table);
    if (w != nullptr && XmIsFileSelectionBox(w)) // its selection text
        w = XmFileSelectionBoxGetChild(w, XmDIALOG_TEXT);
    if (!is_text(w))
        return;
    if (XmIsText(w))
        XmTextSetString(w, const_cast<char*>(text.c_str()));
    else
        XmTextFieldSetString(w, const_cast<char*>(text.c_str()));
}

void write_otp_msg(int id, const std::string& text, int new_line, int show_end, int table) {
    Widget w = ui_widget(id, table);
    if (w == nullptr || !XmIsText(w))
        return;
    std::string all = new_line ? text + "\n" : text;
    XmTextPosition end = XmTextGetLastPosition(w);
    XmTextInsert(w, end, const_cast<char*>(all.c_str()));
    if (show_end)
        XmTextShowPosition(w, XmTextGetLastPosition(w));
}

void write_otp_msg_redisp(int id, const std::string& text, int new_line, int show_end, int table) {
    Widget w = ui_widget(id, table);
    if (w == nullptr || !XmIsText(w))
        return;
    Widget frame = XtParent(w); // the scrolled window of a scrolled text
    bool shown = XtIsManaged(frame);
    if (shown)
        XtUnmanageChild(frame);
    write_otp_msg(id, text, new_line, show_end, table);
    if (shown)
        XtManageChild(frame);
    if (widgets[W_WARNING_BOX] != nullptr)
        redisplay_warn(W_MAIN_WINDOW);
}

void ui_text_show_position(int id, int pos, int table) {
    Widget w = ui_widget(id, table);
    if (w == nullptr || !XmIsText(w))
        return;
    XmTextSetTopCharacter(w, pos);
    XmTextSetInsertionPosition(w, pos);
}

std::string get_widget_label(int id, int table) {
    Widget w = ui_widget(id, table);
    if (w == nullptr)
        return "";
    XmString cs = nullptr;
    XtVaGetValues(w, XmNlabelString, &cs, nullptr);
    std::string out = cvt_cps_str(cs);
    XmStringFree(cs);
    return out;
}

void set_widget_label(int id, const std::string& text, int table) {
    Widget w = ui_widget(id, table);
    if (w == nullptr)
        return;
    XmString cs = XmStringCreateLtoR(const_cast<char*>(text.c_str()),
                                     const_cast<char*>(XmFONTLIST_DEFAULT_TAG));
    XtVaSetValues(w, XmNlabelString, cs, nullptr);
    XmStringFree(cs);
}

// ---- toggles, option menus, sensitivity ----------------------------------

bool ui_get_toggle(int id, int table) {
    Widget w = ui_widget(id, table);
    return w != nullptr && XmIsToggleButton(w) && XmToggleButtonGetState(w);
}

void ui_set_toggle(int id, bool state, bool notify, int table) {
    Widget w = ui_widget(id, table);
    if (w != nullptr && XmIsToggleButton(w))
        XmToggleButtonSetState(w, state ? True : False, notify ? True : False);
}

namespace {

// Option menus that show no choice. The toolkit keeps a current button in
// every option menu (the first one unless another was chosen) and puts its
// label back on the menu when it lays the menu out, so a blank menu is
// remembered here rather than read from its label: until the operator picks
// a button (or the program selects one), the menu holds no value.
std::set<Widget> blank_menus;

void menu_chosen_cb(Widget, XtPointer client, XtPointer) {
    blank_menus.erase(static_cast<Widget>(client));
}

void menu_destroyed_cb(Widget w, XtPointer, XtPointer) {
    blank_menus.erase(w);
}

void show_blank_label(Widget w) {
    XmString cs = XmStringCreateLocalized(const_cast<char*>(" "));
    XtVaSetValues(XmOptionButtonGadget(w), XmNlabelString, cs, nullptr);
    XmStringFree(cs);
}

} // namespace

std::string ui_get_option(int id, int table) {
    Widget w = ui_widget(id, table);
    if (w == nullptr || blank_menus.count(w) != 0)
        return "";
    Widget current = nullptr;
    XtVaGetValues(w, XmNmenuHistory, &current, nullptr);
    if (current == nullptr)
        return "";
    XmString cs = nullptr;
    XtVaGetValues(XmOptionButtonGadget(w), XmNlabelString, &cs, nullptr);
    std::string shown = cvt_cps_str(cs);
    XmStringFree(cs);
    return shown == " " ? "" : shown;
}

bool set_option_menu_top_button(int id, const std::string& label, int table) {
    Widget w = ui_widget(id, table);
    if (w == nullptr)
        return false;
    Widget menu = nullptr;
    XtVaGetValues(w, XmNsubMenuId, &menu, nullptr);
    if (menu == nullptr)
        return false;
    WidgetList kids = nullptr;
    Cardinal n = 0;
    XtVaGetValues(menu, XmNchildren, &kids, XmNnumChildren, &n, nullptr);
    for (Cardinal i = 0; i < n; ++i) {
        XmString cs = nullptr;
        XtVaGetValues(kids[i], XmNlabelString, &cs, nullptr);
        bool same = cvt_cps_str(cs) == label;
        XmStringFree(cs);
        if (!same)
            continue;
        blank_menus.erase(w);
        XtVaSetValues(w, XmNmenuHistory, kids[i], nullptr);
        XtVaSetValues(XmOptionButtonGadget(w), XmNlabelString, nullptr, nullptr);
        XmString shown = XmStringCreateLocalized(const_cast<char*>(label.c_str()));
        XtVaSetValues(XmOptionButtonGadget(w), XmNlabelString, shown, nullptr);
        XmStringFree(shown);
        return true;
    }
    return false;
}

void set_om_blank(int id, int table) {
    Widget w = ui_widget(id, table);
    if (w == nullptr)
        return;
    Widget menu = nullptr;
    XtVaGetValues(w, XmNsubMenuId, &menu, nullptr);
    if (menu != nullptr) {
        WidgetList kids = nullptr;
        Cardinal n = 0;
        XtVaGetValues(menu, XmNchildren, &kids, XmNnumChildren, &n, nullptr);
        for (Cardinal i = 0; i < n; ++i) {
            XtRemoveCallback(kids[i], XmNactivateCallback, menu_chosen_cb, w);
            XtAddCallback(kids[i], XmNactivateCallback, menu_chosen_cb, w);
        }
    }
    if (blank_menus.insert(w).second)
        XtAddCallback(w, XmNdestroyCallback, menu_destroyed_cb, nullptr);
    show_blank_label(w);
}

void reshow_blank_menus() {
    // A menu whose destruction is under way (its destroy callback comes
    // only when the event that destroyed it is done) is left alone.
    for (Widget w : blank_menus)
        if (!w->core.being_destroyed && XtIsRealized(w))
            show_blank_label(w);
}

void forget_blank_menus(Widget root) {
    for (auto it = blank_menus.begin(); it != blank_menus.end();) {
        Widget w = *it;
        while (w != nullptr && w != root)
            w = XtParent(w);
        if (w == root) {
            it = blank_menus.erase(it);
        } else {
            ++it;
        }
    }
}

namespace {
void basic_option_cb(Widget, XtPointer client, XtPointer) {
    if (g_init_done)
        dispatch_basic(static_cast<int>(reinterpret_cast<long>(client)));
}
} // namespace

void ui_set_option_items(int id, const std::vector<std::string>& labels, int table) {
    Widget w = ui_widget(id, table);
    Widget menu = nullptr;
    if (w != nullptr)
        XtVaGetValues(w, XmNsubMenuId, &menu, nullptr);
    if (menu == nullptr)
        return;
    XtVaSetValues(w, XmNmenuHistory, nullptr, nullptr);
    WidgetList kids = nullptr;
    Cardinal n = 0;
    XtVaGetValues(menu, XmNchildren, &kids, XmNnumChildren, &n, nullptr);
    std::vector<Widget> old(kids, kids + n);
    for (Widget k : old)
        XtDestroyWidget(k);
    for (const std::string& l : labels) {
        XmString cs = XmStringCreateLocalized(const_cast<char*>(l.c_str()));
        Widget pb = XtVaCreateManagedWidget("enum_pb", xmPushButtonGadgetClass, menu,
                                            XmNlabelString, cs, nullptr);
        XmStringFree(cs);
        // A choice in a basic-mode menu reaches the page as the menu's id.
        if (table == UI_BASIC)
            XtAddCallback(pb, XmNactivateCallback, basic_option_cb,
                          reinterpret_cast<XtPointer>(static_cast<long>(id)));
    }
    // An option menu sizes itself to its largest button: with none it
    // shrinks to a sliver and the row below slides over its label. A greyed
    // blank button keeps it a row high (the blank menu reads as no value).
    if (labels.empty()) {
        XmString cs = XmStringCreateLocalized(const_cast<char*>(" "));
        XtVaCreateManagedWidget("enum_pb", xmPushButtonGadgetClass, menu, XmNlabelString, cs,
                                XmNsensitive, False, nullptr);
        XmStringFree(cs);
    }
    // Setting the pulldown again makes the option button size itself to
    // the new buttons.
    XtVaSetValues(w, XmNsubMenuId, menu, nullptr);
    set_om_blank(id, table);
}

void ui_set_sensitive(int id, bool sensitive, int table) {
    Widget w = ui_widget(id, table);
    if (w != nullptr)
        XtSetSensitive(w, sensitive ? True : False);
}

bool is_sens(int id, int table) {
    Widget w = ui_widget(id, table);
    return w == nullptr || XtIsSensitive(w);
}
