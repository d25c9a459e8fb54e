// Dialogs of the interface description that commands fetch on first use.
#include <Xm/FileSB.h>

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
