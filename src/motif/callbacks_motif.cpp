// The callbacks registered with the interface loader, the Return action,
// and the per-id set-up of objects when they are created.
#include <Xm/FileSB.h>
#include <Xm/List.h>
#include <Xm/Text.h>
#include <Xm/TextF.h>

#include <cstring>

#include "catalogue/func_display.h"
#include "frame/dispatch.h"
#include "frame/help.h"
#include "frame/registry.h"
#include "motif/motif_internal.h"
#include "ops/script_file.h"
#include "ui/access.h"
#include "ui/app_globals.h"
#include "ui/ui.h"

void cancel_button_pressed();

namespace {

int id_of(XtPointer client) {
    return client != nullptr ? *static_cast<int*>(client) : -1;
}

bool in_ranges(int id, const int ranges[][2], size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (id >= ranges[i][0] && id <= ranges[i][1])
            return true;
    return false;
}

const int size_118[][2] = {{256, 261}, {246, 246}, {240, 244}, {532, 536}};
const int size_125[][2] = {
    {31, 34},   {43, 45},   {51, 52},   {71, 71},   {109, 111},   {128, 130},
    {140, 140}, {156, 160}, {163, 163}, {172, 172}, {181, 183},   {220, 222},
    {232, 232}, {290, 292}, {333, 333}, {335, 337}, {343, 346},   {359, 361},
    {363, 363}, {386, 387}, {404, 406}, {413, 416}, {433, 434},   {468, 470},
    {473, 473}, {495, 497}, {516, 518}, {634, 637}, {701, 704},   {805, 805},
    {807, 808}, {835, 838}, {872, 874}, {921, 924}, {1020, 1024}, {1047, 1049}};

// File selection boxes that show only their file list and selection text.
void trim_file_sel_box(Widget box) {
    const unsigned char hidden[] = {
        XmDIALOG_OK_BUTTON,      XmDIALOG_APPLY_BUTTON, XmDIALOG_CANCEL_BUTTON,
        XmDIALOG_HELP_BUTTON,    XmDIALOG_FILTER_LABEL, XmDIALOG_FILTER_TEXT,
        XmDIALOG_DIR_LIST_LABEL, XmDIALOG_LIST_LABEL,   XmDIALOG_SEPARATOR};
    for (unsigned char c : hidden) {
        Widget w = XmFileSelectionBoxGetChild(box, c);
        if (w != nullptr)
            XtUnmanageChild(w);
    }
    Widget dirs = XmFileSelectionBoxGetChild(box, XmDIALOG_DIR_LIST);
    if (dirs != nullptr)
        XtUnmanageChild(XtParent(dirs));
}

// A destroyed object leaves its slot empty.
void clear_slot_cb(Widget w, XtPointer client, XtPointer) {
    long code = reinterpret_cast<long>(client);
    Widget* tab = (code >> 16) == UI_BASIC ? widgets_basic : widgets;
    int id = static_cast<int>(code & 0xffff);
    if (tab[id] == w)
        tab[id] = nullptr;
}

void file_in_slot(Widget w, int id, int table) {
    (table == UI_BASIC ? widgets_basic : widgets)[id] = w;
    // The access rule holds for windows built after start-up too.
    if (!g_may_change)
        for (int c : change_ids(table))
            if (c == id)
                XtSetSensitive(w, False);
    long code = (static_cast<long>(table) << 16) | id;
    XtAddCallback(w, XmNdestroyCallback, clear_slot_cb, reinterpret_cast<XtPointer>(code));
}

void create_proc(Widget w, XtPointer client, XtPointer) {
    int id = id_of(client);
    if (id < 0 || id >= MAX_WIDGETS)
        return;
    file_in_slot(w, id, UI_MAIN);
    if (in_ranges(id, size_118, XtNumber(size_118)))
        XtVaSetValues(w, XmNrecomputeSize, False, XmNwidth, 118, XmNheight, 30, nullptr);
    else if (in_ranges(id, size_125, XtNumber(size_125)))
        XtVaSetValues(w, XmNrecomputeSize, False, XmNwidth, 125, XmNheight, 30, nullptr);
    if (id == W_FUNC_LIST || id == W_UDF_PRM_LIST || id == W_SITE_PRM_LIST)
        setup_list_for_search(w);
    if ((id == W_CMP_PANES0_FSB || id == W_CMP_PANES1_FSB || id == W_VIEW_FSB || id == W_EXE_FSB) &&
        XmIsFileSelectionBox(w)) {
        trim_file_sel_box(w);
        set_directory(w, mm_path(SCR_DIR));
    }
}

void activate_proc(Widget, XtPointer client, XtPointer) {
    int id = id_of(client);
    if (id == W_CANCEL_BUTTON) {
        cancel_button_pressed();
        return;
    }
    // Commands wait for the end of the start-up chain (Exit excepted).
    if (!g_init_done && id != 14)
        return;
    restore_focus();
    if (!dispatch_main(id))
        return;
    if (focus_widget != nullptr && XtIsManaged(focus_widget) && XtIsRealized(focus_widget))
        XmProcessTraversal(focus_widget, XmTRAVERSE_CURRENT);
    restore_focus();
}

void cancel_proc(Widget w, XtPointer client, XtPointer) {
    int id = id_of(client);
    if (id < 0) {
        XtUnmanageChild(w);
        if (std::strcmp(XtName(w), "widget_help_fd") == 0)
            XtDestroyWidget(XtParent(w));
        return;
    }
    if (id >= MAX_WIDGETS || widgets[id] == nullptr)
        return;
    Widget target = widgets[id];
    if (XtIsTopLevelShell(XtParent(target)))
        gui_unmanage_top_form(id);
    else
        XtUnmanageChild(target);
    if (id == W_WARNING_BOX) {
        XtDestroyWidget(XtParent(target));
        widgets[id] = nullptr;
    }
}

void list_action_proc(Widget, XtPointer client, XtPointer call) {
    auto* cbs = static_cast<XmListCallbackStruct*>(call);
    int id = id_of(client);
    std::string item = cvt_cps_str(cbs->item);
    if (list_action_main(id, cbs->item_position, item, cbs->reason))
        restore_focus();
}

void list_sel_proc(Widget, XtPointer client, XtPointer) {
    if (g_init_done)
        list_selection_main(id_of(client));
}

// The text that an insertion brings, "" for deletions.
std::string inserted_text(XmTextVerifyCallbackStruct* cbs) {
    if (cbs->text == nullptr || cbs->text->ptr == nullptr || cbs->text->length <= 0)
        return "";
    return std::string(cbs->text->ptr, static_cast<size_t>(cbs->text->length));
}

void verify_proc(Widget, XtPointer, XtPointer) {}

void xxxverify_proc(Widget, XtPointer client, XtPointer call) {
    auto* cbs = static_cast<XmTextVerifyCallbackStruct*>(call);
    if (id_of(client) < 0 || cbs->event == nullptr)
        return;
    if (!filter_insertion(2, static_cast<int>(cbs->startPos), inserted_text(cbs)))
        cbs->doit = False;
}

void verify_proc_prm(Widget, XtPointer client, XtPointer call) {
    auto* cbs = static_cast<XmTextVerifyCallbackStruct*>(call);
    if (cbs->event == nullptr)
        return;
    if (!verify_prm_insertion(id_of(client), static_cast<int>(cbs->startPos), inserted_text(cbs)))
        cbs->doit = False;
}

// Basic-mode fields drop the refused characters from an insertion.
void verify_proc_basic(Widget, XtPointer client, XtPointer call) {
    auto* cbs = static_cast<XmTextVerifyCallbackStruct*>(call);
    std::string text = inserted_text(cbs);
    if (text.empty())
        return;
    int rule = id_of(client);
    int kept = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        int at = static_cast<int>(cbs->startPos) + kept;
        int ok = rule == 2 ? filter_insertion(2, at, text.substr(i, 1))
                           : filter_insertion(rule, at, text.substr(i, 1));
        if (rule < 2 || rule > 5 || ok)
            cbs->text->ptr[kept++] = text[i];
    }
    cbs->text->length = kept;
    if (kept == 0)
        cbs->doit = False;
}

void wgt_help_proc(Widget w, XtPointer client, XtPointer) {
    const char* text = static_cast<const char*>(client);
    int id = widget_id_of(get_shell_parent(w));
    display_item_help(id >= 0 ? id : W_MAIN_WINDOW, text != nullptr ? text : "");
}

void wgt_help_from_file_proc(Widget, XtPointer client, XtPointer) {
    const char* file = static_cast<const char*>(client);
    wgt_help_from_file(W_MAIN_WINDOW, file != nullptr ? file : "");
}

void prompt_help_proc(Widget, XtPointer client, XtPointer) {
    display_item_help(W_MAIN_WINDOW, prompt_help_text(id_of(client)));
}

void fil_sel_help_proc(Widget, XtPointer client, XtPointer) {
    display_item_help(W_MAIN_WINDOW, fil_sel_help_text(id_of(client)));
}

void prompt_name_proc(Widget w, XtPointer client, XtPointer) {
    if (id_of(client) != W_UDF_NEW)
        return;
    if (prompt_name_ok(ui_get_text(W_NAME_PROMPT_TEXT)))
        XtUnmanageChild(w);
}

void create_proc_basic(Widget w, XtPointer client, XtPointer) {
    int id = id_of(client);
    if (id >= 0 && id < MAX_WIDGETS_BASIC)
        file_in_slot(w, id, UI_BASIC);
}

void activate_proc_basic(Widget, XtPointer client, XtPointer) {
    if (g_init_done)
        dispatch_basic(id_of(client));
}

// Return in text fields built in code: nothing happens.
void return_proc(Widget, XEvent*, String*, Cardinal*) {}

} // namespace

void watch_slot(Widget w, int slot, int table) {
    long code = (static_cast<long>(table) << 16) | slot;
    XtRemoveCallback(w, XmNdestroyCallback, clear_slot_cb, reinterpret_cast<XtPointer>(code));
    XtAddCallback(w, XmNdestroyCallback, clear_slot_cb, reinterpret_cast<XtPointer>(code));
}

void register_callback_names() {
    static MrmRegisterArg names[] = {
        {const_cast<char*>("activate_proc"), reinterpret_cast<XtPointer>(activate_proc)},
        {const_cast<char*>("verify_proc"), reinterpret_cast<XtPointer>(verify_proc)},
        {const_cast<char*>("create_proc"), reinterpret_cast<XtPointer>(create_proc)},
        {const_cast<char*>("cancel_proc"), reinterpret_cast<XtPointer>(cancel_proc)},
        {const_cast<char*>("list_action_proc"), reinterpret_cast<XtPointer>(list_action_proc)},
        {const_cast<char*>("list_sel_proc"), reinterpret_cast<XtPointer>(list_sel_proc)},
        {const_cast<char*>("wgt_help_proc"), reinterpret_cast<XtPointer>(wgt_help_proc)},
        {const_cast<char*>("activate_proc_basic"),
         reinterpret_cast<XtPointer>(activate_proc_basic)},
        {const_cast<char*>("verify_proc_basic"), reinterpret_cast<XtPointer>(verify_proc_basic)},
        {const_cast<char*>("create_proc_basic"), reinterpret_cast<XtPointer>(create_proc_basic)},
        {const_cast<char*>("wgt_help_from_file_proc"),
         reinterpret_cast<XtPointer>(wgt_help_from_file_proc)},
    };
    // Filters, prompts and help procedures used by the interface description.
    static MrmRegisterArg more[] = {
        {const_cast<char*>("xxxverify_proc"), reinterpret_cast<XtPointer>(xxxverify_proc)},
        {const_cast<char*>("verify_proc_prm"), reinterpret_cast<XtPointer>(verify_proc_prm)},
        {const_cast<char*>("verify_proc_dyn"), reinterpret_cast<XtPointer>(verify_proc)},
        {const_cast<char*>("prompt_name_proc"), reinterpret_cast<XtPointer>(prompt_name_proc)},
        {const_cast<char*>("prompt_help_proc"), reinterpret_cast<XtPointer>(prompt_help_proc)},
        {const_cast<char*>("fil_sel_help_proc"), reinterpret_cast<XtPointer>(fil_sel_help_proc)},
    };
    MrmRegisterNames(names, XtNumber(names));
    MrmRegisterNames(more, XtNumber(more));
    static XtActionsRec actions[] = {{const_cast<char*>("return_proc"), return_proc}};
    XtAppAddActions(app_context, actions, XtNumber(actions));
    text_translation_table = XtParseTranslationTable("#override<KeyPress>0xFF0D: return_proc()");
}
