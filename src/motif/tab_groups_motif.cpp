// Keyboard tab groups: the input controls of every fetched window become
// exclusive tab groups, so that Tab moves from one input control to the
// next in the order of the window's description, and the arrow keys move
// inside a toggle box, an option menu or a row of buttons.
#include <Xm/List.h>
#include <Xm/PushB.h>
#include <Xm/PushBG.h>
#include <Xm/RowColumn.h>
#include <Xm/Text.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <Xm/ToggleBG.h>

#include "frame/dispatch.h"
#include "motif/motif_internal.h"

namespace {

unsigned char row_column_type(Widget w) {
    unsigned char type = XmWORK_AREA;
    XtVaGetValues(w, XmNrowColumnType, &type, nullptr);
    return type;
}

bool is_toggle(Widget w) {
    return XmIsToggleButton(w) || XmIsToggleButtonGadget(w);
}

bool is_push_button(Widget w) {
    return XmIsPushButton(w) || XmIsPushButtonGadget(w);
}

// True when the composite holds at least one child and every child passes.
bool all_children(Widget w, bool (*test)(Widget)) {
    WidgetList kids = nullptr;
    Cardinal n = 0;
    XtVaGetValues(w, XmNchildren, &kids, XmNnumChildren, &n, nullptr);
    for (Cardinal i = 0; i < n; ++i)
        if (!test(kids[i]))
            return false;
    return n > 0;
}

// A control that is one Tab stop: text, list, option menu, toggle box,
// a toggle of its own, or a row that holds only push buttons.
bool is_input_control(Widget w) {
    if (XmIsTextField(w) || XmIsText(w) || XmIsList(w) || is_toggle(w))
        return true;
    if (XmIsRowColumn(w)) {
        unsigned char type = row_column_type(w);
        if (type == XmMENU_OPTION)
            return true;
        if (type == XmWORK_AREA && all_children(w, is_toggle))
            return true;
    }
    return XtIsComposite(w) && !XtIsShell(w) && all_children(w, is_push_button);
}

} // namespace

void register_tab_groups(Widget root) {
    if (root == nullptr || XtIsShell(root))
        return;
    if (is_input_control(root)) {
        XmAddTabGroup(root);
        return;
    }
    if (!XtIsComposite(root) || (XmIsRowColumn(root) && row_column_type(root) == XmMENU_BAR))
        return;
    WidgetList kids = nullptr;
    Cardinal n = 0;
    XtVaGetValues(root, XmNchildren, &kids, XmNnumChildren, &n, nullptr);
    for (Cardinal i = 0; i < n; ++i)
        register_tab_groups(kids[i]);
}

void register_main_tab_groups() {
    // The device name, community and device list come first, then the
    // mode toggles and the controls of the customised-mode area.
    const int ordered_ids[] = {W_MRX_NAME_TF,   W_COMM_TF,    W_MRX_LIST,   W_CUSTOMIZE_TB,
                               W_AUTO_RESET_TB, W_CHOICE_BOX, W_FUNC_LIST,  W_PORT_TYPE_OM,
                               W_PORT_TF,       W_DETAIL_TB,  W_MAIN_OUTPUT};
    for (int id : ordered_ids)
        if (widgets[id] != nullptr)
            XmAddTabGroup(widgets[id]);
    register_tab_groups(main_widget);
}
