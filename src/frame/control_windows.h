// The Boot dialog, the Reset window and the Broadcast window: their
// controls read the window into a request, run the command and render what
// it returned.
#pragma once

#include "ui/widget_ids.h"

// Toggles of boot options 1..7 at W_BOOT_OPT_FIRST + option - 1.
constexpr int W_BOOT_OPT_FIRST = W_BOOT_D_BOOT_NOW_TB;
// Toggles of broadcast options 1..3 at W_BCAST_OPT_FIRST + option - 1.
constexpr int W_BCAST_OPT_FIRST = W_BCAST_ALL_PORTS_TB;

// Boot: opens the dialog for the selected devices (cmd_boot, commands.h),
// the option toggles, Apply.
int cmd_boot_option(int id);
int cmd_boot_apply(int id);
// Whether the dialog opened last offers the option (the flash options only
// when every device can boot from flash).
bool boot_option_offered(int option);
// A broadcast option toggle: its state goes with it.
int cmd_bcast_option(int id);
// Makes the reset of other windows (g_reset_runner) send the reset to the
// selected reachable devices and show what became of it over their window;
// called once at start-up.
void register_reset_command();
