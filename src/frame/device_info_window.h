// The device information window: the name and information text of a device
// of the list, and the revisions of its modems.
#pragma once

// Shows the device at index of the list.
void display_mrx_info(int index);
// View: the first selected reachable device, after the selection check
// (which, refusing, closes the window).
void view_morix();
