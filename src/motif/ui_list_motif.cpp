// Motif implementation of the list services of ui.h (1-based positions).
#include <Xm/List.h>

#include "motif/motif_internal.h"
#include "ui/ui.h"

namespace {

Widget list_widget(int id, int table) {
    Widget w = ui_widget(id, table);
    return w != nullptr && XmIsList(w) ? w : nullptr;
}

XmString make_item(const std::string& text) {
    return XmStringCreateLocalized(const_cast<char*>(text.c_str()));
}

} // namespace

std::vector<std::string> ui_list_items(int id, int table) {
    std::vector<std::string> out;
    Widget w = list_widget(id, table);
    if (w == nullptr)
        return out;
    XmStringTable items = nullptr;
    int count = 0;
    XtVaGetValues(w, XmNitems, &items, XmNitemCount, &count, nullptr);
    for (int i = 0; i < count; ++i)
        out.push_back(cvt_cps_str(items[i]));
    return out;
}

int ui_list_count(int id, int table) {
    Widget w = list_widget(id, table);
    int count = 0;
    if (w != nullptr)
        XtVaGetValues(w, XmNitemCount, &count, nullptr);
    return count;
}

void ui_list_add_item(int id, const std::string& text, int pos, int table) {
    Widget w = list_widget(id, table);
    if (w == nullptr)
        return;
    XmString cs = make_item(text);
    XmListAddItemUnselected(w, cs, pos);
    XmStringFree(cs);
    clear_list_search_cache(w);
}

void ui_list_delete_pos(int id, int pos, int table) {
    Widget w = list_widget(id, table);
    if (w == nullptr)
        return;
    int count = ui_list_count(id, table);
    if (pos < 0 || pos > count || count == 0)
        return;
    XmListDeletePos(w, pos);
    clear_list_search_cache(w);
}

void ui_list_delete_all(int id, int table) {
    Widget w = list_widget(id, table);
    if (w == nullptr)
        return;
    XmListDeleteAllItems(w);
    clear_list_search_cache(w);
}

void ui_list_replace_pos(int id, int pos, const std::string& text, int table) {
    Widget w = list_widget(id, table);
    if (w == nullptr || pos < 1 || pos > ui_list_count(id, table))
        return;
    XmString cs = make_item(text);
    XmListReplaceItemsPos(w, &cs, 1, pos);
    XmStringFree(cs);
    clear_list_search_cache(w);
}

std::vector<int> ui_list_selected_pos(int id, int table) {
    std::vector<int> out;
    Widget w = list_widget(id, table);
    int* pos = nullptr;
    int count = 0;
    if (w != nullptr && XmListGetSelectedPos(w, &pos, &count)) {
        out.assign(pos, pos + count);
        XtFree(reinterpret_cast<char*>(pos));
    }
    return out;
}

std::vector<std::string> ui_list_selected_items(int id, int table) {
    std::vector<std::string> items = ui_list_items(id, table);
    std::vector<std::string> out;
    for (int p : ui_list_selected_pos(id, table))
        if (p >= 1 && p <= static_cast<int>(items.size()))
            out.push_back(items[p - 1]);
    return out;
}

void ui_list_select_pos(int id, int pos, bool notify, int table) {
    Widget w = list_widget(id, table);
    if (w == nullptr)
        return;
    int count = ui_list_count(id, table);
    if (pos < 0 || pos > count || count == 0)
        return;
    int policy = ui_list_get_policy(id, table);
    if (policy == LSP_MULTIPLE || policy == LSP_EXTENDED) {
        // XmListSelectPos toggles in these policies; only add.
        if (XmListPosSelected(w, pos == 0 ? count : pos))
            return;
        unsigned char old = XmEXTENDED_SELECT;
        XtVaGetValues(w, XmNselectionPolicy, &old, nullptr);
        XtVaSetValues(w, XmNselectionPolicy, XmMULTIPLE_SELECT, nullptr);
        XmListSelectPos(w, pos, notify ? True : False);
        XtVaSetValues(w, XmNselectionPolicy, old, nullptr);
        return;
    }
    XmListSelectPos(w, pos, notify ? True : False);
}

void ui_list_deselect_pos(int id, int pos, int table) {
    Widget w = list_widget(id, table);
    if (w != nullptr)
        XmListDeselectPos(w, pos);
}

void ui_list_deselect_all(int id, int table) {
    Widget w = list_widget(id, table);
    if (w != nullptr)
        XmListDeselectAllItems(w);
}

void ui_list_set_top_pos(int id, int pos, int table) {
    Widget w = list_widget(id, table);
    if (w != nullptr && pos >= 1 && pos <= ui_list_count(id, table))
        XmListSetPos(w, pos);
}

void ui_list_set_bottom_pos(int id, int pos, int table) {
    Widget w = list_widget(id, table);
    if (w != nullptr && pos >= 1 && pos <= ui_list_count(id, table))
        XmListSetBottomPos(w, pos);
}

void ui_list_set_policy(int id, int policy, int table) {
    static const unsigned char policies[] = {XmSINGLE_SELECT, XmMULTIPLE_SELECT, XmEXTENDED_SELECT,
                                             XmBROWSE_SELECT};
    Widget w = list_widget(id, table);
    if (w != nullptr && policy >= 0 && policy <= 3)
        XtVaSetValues(w, XmNselectionPolicy, policies[policy], nullptr);
}

int ui_list_get_policy(int id, int table) {
    Widget w = list_widget(id, table);
    if (w == nullptr)
        return LSP_BROWSE;
    unsigned char p = XmBROWSE_SELECT;
    XtVaGetValues(w, XmNselectionPolicy, &p, nullptr);
    switch (p) {
    case XmSINGLE_SELECT:
        return LSP_SINGLE;
    case XmMULTIPLE_SELECT:
        return LSP_MULTIPLE;
    case XmEXTENDED_SELECT:
        return LSP_EXTENDED;
    default:
        return LSP_BROWSE;
    }
}
