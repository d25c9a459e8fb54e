// Look-ups over the rows of the registry (registry_rows.cpp).
#include "frame/registry.h"

#include <algorithm>

#include "basic/basic_page.h"
#include "ui/program.h"
#include "ui/ui.h"

const WindowRow* window_of_form(int form) {
    for (const WindowRow& w : window_rows())
        if (w.form == form)
            return &w;
    return nullptr;
}

const CommandRow* command_of(const WindowRow& w, int id) {
    for (const CommandRow& c : w.commands)
        if (c.id == id)
            return &c;
    return nullptr;
}

const WindowRow* window_of_id(int id) {
    if (id <= 0)
        return nullptr;
    for (const WindowRow& w : window_rows()) {
        if (command_of(w, id) != nullptr || w.clear_id == id || w.close_id == id)
            return &w;
        for (const HelpRow& h : w.help)
            if (h.id == id)
                return &w;
        for (int s : w.saves)
            if (s == id)
                return &w;
    }
    return nullptr;
}

std::vector<int> window_command_ids(int form) {
    std::vector<int> ids;
    if (const WindowRow* w = window_of_form(form))
        for (const CommandRow& c : w->commands)
            ids.push_back(c.id);
    return ids;
}

std::vector<const WindowRow*> staged_windows() {
    std::vector<const WindowRow*> out;
    for (const WindowRow& w : window_rows())
        if (w.place.step > 0)
            out.push_back(&w);
    std::stable_sort(out.begin(), out.end(), [](const WindowRow* a, const WindowRow* b) {
        return a->place.step < b->place.step;
    });
    return out;
}

const char* help_file_of(int help_id, int table) {
    if (table == UI_BASIC) {
        for (const BasicWindowRow& b : basic_window_rows())
            if (b.help.id == help_id && b.help.file != nullptr)
                return b.help.file;
        for (const BasicPage* p : basic_pages())
            if (p->help_id == help_id && p->help_file != nullptr)
                return p->help_file;
        return "";
    }
    for (const WindowRow& w : window_rows())
        for (const HelpRow& h : w.help)
            if (h.id == help_id)
                return h.file;
    return "";
}

std::vector<int> change_ids(int table) {
    std::vector<int> ids;
    if (table == UI_BASIC) {
        for (const BasicWindowRow& b : basic_window_rows())
            ids.insert(ids.end(), b.changes.begin(), b.changes.end());
        return ids;
    }
    for (const WindowRow& w : window_rows())
        for (const CommandRow& c : w.commands)
            if (c.changes)
                ids.push_back(c.id);
    return ids;
}
