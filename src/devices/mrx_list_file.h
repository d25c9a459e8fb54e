// Device list files: the version header shared with script files, saving a
// list of records and loading a list file into the device list.
#pragma once

#include <array>
#include <cstdio>
#include <string>

#include "devices/mrx_list.h"
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
// Save from a file selection: the typed name without blanks (a warning says
// so), the overwrite question through asker (declined: cancelled, the file
// kept), then the save.
Outcome save_list_file(const std::string& typed, const DeviceList& records, Asker& asker);

// What a load takes: the file, whether it replaces the list, and the number
// of devices the caller expects (shown in the progress when >= 1).
struct LoadListRequest {
    std::string path;
    bool replace = false;
    int expected = 0;
};
// Loads a list file into the device list (emptied first when replace).
// failed, with the reason, when the file is refused; else done (cancelled
// after a cancel) with a warning per device not added, for duplicates and
// for a full list; the first device already listed is the row shown.
// progress begins "Creating Morix List" and steps with the devices loaded
// so far out of those expected, naming the one being taken.
ListOutcome load_device_list(const LoadListRequest& req, Progress& progress);
// The text the progress of a load shows.
std::string load_progress_text(int expected, int loaded);
