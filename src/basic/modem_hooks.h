// Where the modem configuration plugs into the Async Ports and Basic Dial
// Access pages: the Edit Modem action, and the modem menus it rebuilds
// (the modem type of the async ports, the modem name of basic dial) with
// the names of edited modems marked.
#pragma once

#include "ui/widget_ids.h"

#include <string>
#include <vector>

// Widgets of the entry points.
enum ModemEntryId {};

struct ModemHooks {
    // Opens the Edit Modem dialog over window for the modem named (the
    // menu's current choice); null until the modem code sets it.
    void (*edit_modem)(int window, const std::string& modem) = nullptr;
};
extern ModemHooks modem_hooks;

// Replaces the items of both modem menus (values read from the devices
// stay in the async menu) and shows the edited ones in the marks label.
void rebuild_modem_menus(const std::vector<std::string>& names, const std::vector<bool>& edited);

struct BasicPage;
// The async ports the Async Ports page edits.
std::vector<int> async_chosen_ports();
// Apply of a modem page: uploads what the Edit Modem dialog changed (with
// the reset question). 0 when the modem functions went off.
int modem_page_apply(const BasicPage& p);
// After a control of the Edit Modem dialog: the menus and edited marks
// follow the definitions.
void modem_dialog_done();
// 1 while the dialog holds changes not yet applied.
int modem_pending();
// The setup window closed: local copies released, controls back on.
void modem_window_closed();
