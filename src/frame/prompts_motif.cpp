// The modal multiple-choice box (box_dialog) and the labelled entry form
// (prompt_dialog), both built in code.
#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/MessageB.h>
#include <Xm/RowColumn.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>

#include "frame/motif_internal.h"
#include "ui/ui.h"

namespace {

XmString make_cs(const std::string& text) {
    return XmStringCreateLtoR(const_cast<char*>(text.c_str()),
                              const_cast<char*>(XmFONTLIST_DEFAULT_TAG));
}

void answer_cb(Widget, XtPointer client, XtPointer call) {
    auto* cbs = static_cast<XmAnyCallbackStruct*>(call);
    *static_cast<int*>(client) = cbs->reason == XmCR_OK ? ASK_OK : ASK_CANCEL;
}

// A primary application modal dialog with OK and Cancel and a column of
// controls in its work area.
Widget make_dialog(int parent_id, const char* name, const std::string& title, int* answer,
                   Widget* column) {
    // A template dialog has only the buttons named when it is created.
    XmString ok = make_cs("OK"), cancel = make_cs("Cancel"), ts = make_cs(title);
    Arg args[5];
    XtSetArg(args[0], XmNdialogStyle, XmDIALOG_PRIMARY_APPLICATION_MODAL);
    XtSetArg(args[1], XmNautoUnmanage, False);
    XtSetArg(args[2], XmNokLabelString, ok);
    XtSetArg(args[3], XmNcancelLabelString, cancel);
    XtSetArg(args[4], XmNdialogTitle, ts);
    Widget box = XmCreateTemplateDialog(parent_widget(parent_id), const_cast<char*>(name), args, 5);
    XmStringFree(ok);
    XmStringFree(cancel);
    XmStringFree(ts);
    XtAddCallback(box, XmNokCallback, answer_cb, answer);
    XtAddCallback(box, XmNcancelCallback, answer_cb, answer);
    *column = XtVaCreateManagedWidget("column", xmRowColumnWidgetClass, box, XmNorientation,
                                      XmVERTICAL, nullptr);
    return box;
}

Widget add_label(Widget parent, const std::string& text) {
    XmString cs = make_cs(text);
    Widget w = XtVaCreateManagedWidget("label", xmLabelWidgetClass, parent, XmNlabelString, cs,
                                       XmNalignment, XmALIGNMENT_BEGINNING, nullptr);
    XmStringFree(cs);
    return w;
}

// Runs the dialog until an answer is given; accept decides whether an OK
// stands (it may warn and return false to keep the dialog up).
int run_modal(Widget box, int* answer, bool (*accept)(void*), void* data) {
    // Like a question, the prompt stays on top until it is answered.
    Widget outer = g_ask_dialog;
    g_ask_dialog = box;
    remove_work();
    gui_manage_child(box);
    for (;;) {
        while (*answer == 0)
            XtAppProcessEvent(app_context, XtIMAll);
        if (*answer == ASK_CANCEL || accept == nullptr || accept(data))
            break;
        *answer = 0;
    }
    int result = *answer;
    g_ask_dialog = outer;
    XtDestroyWidget(XtParent(box));
    return result;
}

struct BoxData {
    std::vector<Widget> toggles;
    int mask = 0;
    Widget box = nullptr;
    int (*rule)(int, int, bool) = nullptr;
};

int toggles_mask(const BoxData& d) {
    int mask = 0;
    for (size_t i = 0; i < d.toggles.size(); ++i)
        if (XmToggleButtonGetState(d.toggles[i]))
            mask |= 1 << i;
    return mask;
}

// A toggle changed: the rule decides the state of every toggle.
void ruled_toggle_cb(Widget w, XtPointer client, XtPointer) {
    auto* d = static_cast<BoxData*>(client);
    for (size_t i = 0; i < d->toggles.size(); ++i) {
        if (d->toggles[i] != w)
            continue;
        int mask =
            d->rule(toggles_mask(*d) ^ (1 << i), static_cast<int>(i), XmToggleButtonGetState(w));
        for (size_t j = 0; j < d->toggles.size(); ++j)
            XmToggleButtonSetState(d->toggles[j], (mask >> j) & 1, False);
        return;
    }
}

bool box_accept(void* p) {
    auto* d = static_cast<BoxData*>(p);
    d->mask = toggles_mask(*d);
    if (d->mask != 0)
        return true;
    display_warn(W_MAIN_WINDOW, "You must select an item.");
    return false;
}

} // namespace

int display_box(int parent_id, const std::string& title, const std::string& label,
                const std::vector<std::string>& choices, const std::string& message, int* mask) {
    return display_box_ruled(parent_id, title, label, choices, message, nullptr, mask);
}

int display_box_ruled(int parent_id, const std::string& title, const std::string& label,
                      const std::vector<std::string>& choices, const std::string& message,
                      int (*rule)(int mask, int index, bool state), int* mask) {
    if (top_level == nullptr)
        return ASK_CANCEL;
    int answer = 0;
    Widget column = nullptr;
    BoxData data;
    data.rule = rule;
    data.box = make_dialog(parent_id, "box_dialog", title, &answer, &column);
    add_label(column, label);
    for (const std::string& c : choices) {
        XmString cs = make_cs(c);
        data.toggles.push_back(XtVaCreateManagedWidget("choice", xmToggleButtonWidgetClass, column,
                                                       XmNlabelString, cs, nullptr));
        XmStringFree(cs);
        if (rule != nullptr)
            XtAddCallback(data.toggles.back(), XmNvalueChangedCallback, ruled_toggle_cb, &data);
    }
    add_label(column, message);
    Widget outer = g_ask_dialog;
    g_ask_dialog = data.box;
    int result = run_modal(data.box, &answer, box_accept, &data);
    g_ask_dialog = outer;
    if (result == ASK_OK)
        *mask = data.mask;
    return result;
}

int display_prompt(int parent_id, const std::string& title, const std::vector<std::string>& labels,
                   std::vector<std::string>* values) {
    if (top_level == nullptr)
        return ASK_CANCEL;
    int answer = 0;
    Widget column = nullptr;
    Widget box = make_dialog(parent_id, "prompt_dialog", title, &answer, &column);
    std::vector<Widget> fields;
    values->resize(labels.size());
    for (size_t i = 0; i < labels.size(); ++i) {
        add_label(column, labels[i]);
        Widget tf = XtVaCreateManagedWidget("field", xmTextFieldWidgetClass, column, XmNcolumns, 30,
                                            nullptr);
        XmTextFieldSetString(tf, const_cast<char*>((*values)[i].c_str()));
        // Return in a field presses OK, as in every dialog.
        select_on_focus(tf);
        fields.push_back(tf);
    }
    Widget outer = g_ask_dialog;
    g_ask_dialog = box;
    // The texts are read when OK is pressed, before the dialog goes; the
    // dialog lives only inside this function, so the pair may too.
    std::vector<std::string> typed(fields.size());
    std::pair<std::vector<Widget>*, std::vector<std::string>*> read_back(&fields, &typed);
    XtAddCallback(
        box, XmNokCallback,
        [](Widget, XtPointer client, XtPointer) {
            auto* p =
                static_cast<std::pair<std::vector<Widget>*, std::vector<std::string>*>*>(client);
            for (size_t i = 0; i < p->first->size(); ++i) {
                char* s = XmTextFieldGetString((*p->first)[i]);
                (*p->second)[i] = s != nullptr ? s : "";
                XtFree(s);
            }
        },
        &read_back);
    int result = run_modal(box, &answer, nullptr, nullptr);
    g_ask_dialog = outer;
    if (result == ASK_OK)
        *values = typed;
    return result;
}
