// The Set window's rows, built in code in the work area of the window: a
// name toggle, a text field of 15 columns or an option menu with one button
// per enumeration entry, and a form holding the hidden "Dsp Diffs" button.
#include "ui/widget_ids.h"
#include <Xm/Form.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>

#include <cstdint>
#include <map>
#include <vector>

#include "catalogue/mib_catalogue.h"
#include "frame/commands.h"
#include "frame/help.h"
#include "motif/motif_internal.h"
#include "ui/ui.h"

namespace {

Widget work_rc = nullptr;
std::vector<Widget> row_widgets;

XtPointer id_datum(int id) {
    return reinterpret_cast<XtPointer>(static_cast<intptr_t>(id));
}

void row_cb(Widget, XtPointer client, XtPointer) {
    cmd_set_row_action(static_cast<int>(reinterpret_cast<intptr_t>(client)));
}

// Pointer entering a toggle with Shift held flips it without its callbacks,
// so rows can be marked by sweeping over them.
void toggle_eh(Widget w, XtPointer, XEvent* event, Boolean*) {
    if (event->type == EnterNotify && (event->xcrossing.state & ShiftMask))
        XmToggleButtonSetState(w, XmToggleButtonGetState(w) ? False : True, False);
}

void help_cb(Widget w, XtPointer, XtPointer) {
    XmString cs = nullptr;
    XtVaGetValues(w, XmNlabelString, &cs, nullptr);
    std::string name = cvt_cps_str(cs);
    XmStringFree(cs);
    int id = 0;
    if (get_check_mib_var(name, &id))
        display_prm_help(id);
}

void put(int id, Widget w) {
    if (id >= static_cast<int>(row_widgets.size()))
        row_widgets.resize(id + 1, nullptr);
    row_widgets[id] = w;
}

Widget make_toggle_label(int row, const std::string& name) {
    XmString cs = XmStringCreateLocalized(const_cast<char*>(name.c_str()));
    Widget t = XtVaCreateManagedWidget("set_option_tb", xmToggleButtonWidgetClass, work_rc,
                                       XmNlabelString, cs, XmNset, False, nullptr);
    XmStringFree(cs);
    int id = set_row_id(row, SRP_TOGGLE);
    XtAddCallback(t, XmNvalueChangedCallback, row_cb, id_datum(id));
    XtAddCallback(t, XmNhelpCallback, help_cb, nullptr);
    XtAddEventHandler(t, EnterWindowMask, False, toggle_eh, nullptr);
    put(id, t);
    return t;
}

void make_text(int row) {
    Widget tf = XtVaCreateManagedWidget("set_text_tf", xmTextFieldWidgetClass, work_rc, XmNcolumns,
                                        15, nullptr);
    if (text_translation_table != nullptr)
        XtOverrideTranslations(tf, text_translation_table);
    select_on_focus(tf);
    put(set_row_id(row, SRP_TEXT), tf);
}

void make_option(int row, const std::vector<std::string>& choices) {
    Widget pd = XmCreatePulldownMenu(work_rc, const_cast<char*>("set_pd"), nullptr, 0);
    for (const std::string& c : choices) {
        XmString cs = XmStringCreateLocalized(const_cast<char*>(c.c_str()));
        XtVaCreateManagedWidget("set_option_pb", xmPushButtonWidgetClass, pd, XmNlabelString, cs,
                                nullptr);
        XmStringFree(cs);
    }
    Arg args[1];
    XtSetArg(args[0], XmNsubMenuId, pd);
    Widget om = XmCreateOptionMenu(work_rc, const_cast<char*>("set_om"), args, 1);
    XtManageChild(om);
    put(set_row_id(row, SRP_OPTION), om);
}

void make_vd_form(int row) {
    Widget f = XtVaCreateManagedWidget("vd_form", xmFormWidgetClass, work_rc, nullptr);
    XmString cs = XmStringCreateLocalized(const_cast<char*>("Dsp Diffs"));
    Widget pb =
        XtVaCreateWidget("vd_pb", xmPushButtonWidgetClass, f, XmNlabelString, cs, XmNleftAttachment,
                         XmATTACH_FORM, XmNtopAttachment, XmATTACH_FORM, nullptr);
    XmStringFree(cs);
    int id = set_row_id(row, SRP_VD_PB);
    XtAddCallback(pb, XmNactivateCallback, row_cb, id_datum(id));
    put(id, pb);
}

} // namespace

Widget set_row_widget(int id) {
    return id >= 0 && id < static_cast<int>(row_widgets.size()) ? row_widgets[id] : nullptr;
}

void ui_build_set_rows(int, const std::vector<UiSetRow>& rows) {
    ui_free_set_rows();
    Widget sw = ui_widget(W_SET_WORK_SW, UI_MAIN);
    if (sw == nullptr)
        return;
    short n = static_cast<short>(rows.empty() ? 1 : rows.size());
    work_rc = XtVaCreateWidget("set_work_rc", xmRowColumnWidgetClass, sw, XmNpacking, XmPACK_COLUMN,
                               XmNorientation, XmHORIZONTAL, XmNnumColumns, n, XmNisAligned, True,
                               XmNentryAlignment, XmALIGNMENT_BEGINNING, nullptr);
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        make_toggle_label(r, rows[r].name);
        if (rows[r].choices.empty())
            make_text(r);
        else
            make_option(r, rows[r].choices);
        make_vd_form(r);
        int input = set_row_id(r, rows[r].choices.empty() ? SRP_TEXT : SRP_OPTION);
        ui_set_read_only(input, true, UI_SET_ROWS);
        if (!rows[r].choices.empty())
            set_om_blank(input, UI_SET_ROWS);
    }
    XtManageChild(work_rc);
}

void ui_free_set_rows() {
    row_widgets.clear();
    if (work_rc != nullptr) {
        forget_blank_menus(work_rc);
        XtDestroyWidget(work_rc);
    }
    work_rc = nullptr;
}

void ui_set_read_only(int id, bool read_only, int table) {
    Widget w = ui_widget(id, table);
    if (w == nullptr)
        return;
    if (XmIsTextField(w)) {
        Boolean on = read_only ? False : True;
        XtVaSetValues(w, XmNeditable, on, XmNcursorPositionVisible, on, XmNtraversalOn, on,
                      nullptr);
        // A field that takes no input has the colour of the window behind
        // it, so that it does not look like a place to type.
        static std::map<Widget, Pixel> field_colour;
        Pixel now = 0, behind = 0;
        XtVaGetValues(w, XmNbackground, &now, nullptr);
        XtVaGetValues(XtParent(w), XmNbackground, &behind, nullptr);
        if (read_only && now != behind) {
            field_colour[w] = now;
            XmChangeColor(w, behind);
        } else if (!read_only && field_colour.count(w) != 0) {
            XmChangeColor(w, field_colour[w]);
            field_colour.erase(w);
        }
        return;
    }
    XtSetSensitive(w, read_only ? False : True);
}
