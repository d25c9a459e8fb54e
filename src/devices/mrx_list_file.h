// Device list files: the version header shared with script files, saving a
// list of records and loading a list file into the device list.
#pragma once

#include <array>
#include <cstdio>
#include <string>

#include "snmp_access/morix_record.h"

// File kinds of the version header.
enum DataFileKind { DFK_SCRIPT = 1, DFK_MRX_LIST = 2 };

// The three header lines of a file kind ("" for an unknown kind).
std::string version_header(int kind);
// 1 when the file, from its current position, starts with the header of
// kind (the position ends behind it), else 0.
int check_version_header(std::FILE* f, int kind);

// Writes the records (null-ended table) to path; 1 when written. Warnings
// appear over dialog_id.
int save_mrx_list_exec(const std::string& path, const DeviceList& records, int dialog_id);
// Save from a file selection: the typed name without blanks (with the
// blanks warning), the overwrite question, then the save. 1 when saved (the
// selection box closes).
int save_mrx_list_proc(int dialog_id, const std::string& typed, const DeviceList& records);
// Loads a list file; replace 1 empties the list first. expected (>= 1) is
// the number of devices the caller expects. Returns 1 when the file was
// read, 0 when it was refused.
int load_mrx_list_exec(const std::string& path, int replace, int expected);
// Load from a file selection (replacing the list); 1 when the file was read.
int load_mrx_list_proc(int dialog_id, const std::string& typed);
