// The main window's device list: the frame's side of the list commands.
#pragma once

// Delete: the selected devices (or the only one) leave the list and their
// rows; the row at the first deleted position is selected.
void delete_morix();
