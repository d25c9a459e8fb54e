// Entry points of the device list and discovery commands.
#pragma once

// Runs the command of a device-list or discovery window id (SNMP settings,
// Discover window, discovery prompt); 0 when the id is not one of them.
int device_window_action(int id);
