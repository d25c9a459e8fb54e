// The SNMP settings window, the main menu's product-specific entries and
// the refused-sets warning: the frame's renderers of the settings commands.
#pragma once

#include <string>

#include "devices/mrx_list.h"

// Fills the settings window with the selected devices' settings (mode 0,
// after the selection check) or the defaults (mode 1). 1 when filled.
int get_snmp_info_vals(int mode);
// Set: checks the selection when the selected devices are to be updated,
// changes the settings and shows the outcome (the blank number fields take
// the defaults, the update toggles are cleared once done).
Result set_snmp_info_vals(SnmpSettingsRequest req);
// Marks the selection and makes the product-specific menu entries follow
// what the selected reachable devices have.
void disable_main_menu_opt();
// Names the selected reachable devices that refuse sets in dialog_id's
// box; see refused_sets for the result.
int check_sel_set_mrxs(int dialog_id, const std::string& message, int force);
