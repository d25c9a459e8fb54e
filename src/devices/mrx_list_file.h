// Device list files: the version header shared with script files, saving a
// list of records and loading a list file into the device list.
#pragma once

#include <array>
#include <cstdio>
#include <string>

#include "snmp_access/morix_record.h"
#include "ui/outcome.h"

// File kinds of the version header.
enum DataFileKind { DFK_SCRIPT = 1, DFK_MRX_LIST = 2 };

// The three header lines of a file kind ("" for an unknown kind).
std::string version_header(int kind);
// 1 when the file, from its current position, starts with the header of
// kind (the position ends behind it), else 0.
int check_version_header(std::FILE* f, int kind);

// Writes the records (null-ended table) to path: done, or failed with the
// reason as its warning.
Outcome save_device_list(const std::string& path, const DeviceList& records);
// Loads a list file into the device list (emptied first when replace);
// expected (>= 1) is the number of devices the caller expects. failed, with
// the reason, when the file is refused; else done (cancelled after a
// cancel) with a warning per device not added, for duplicates and for a
// full list.
Outcome load_device_list(const std::string& path, bool replace, int expected);

// The two above with their warnings shown over the window (the main window
// for a load); 1 when the file was written or read, 0 when not.
int save_mrx_list_exec(const std::string& path, const DeviceList& records, int dialog_id);
// Save from a file selection: the typed name without blanks (the front end
// has said so), the overwrite question, then the save. 1 when saved (the
// selection box closes).
int save_mrx_list_proc(int dialog_id, const std::string& typed, const DeviceList& records);
int load_mrx_list_exec(const std::string& path, int replace, int expected);
