// Safe change: before a device is sent Sets of configuration values, the
// values about to be overwritten are read (one Get per chunk) and kept as
// an undo script under data/mrx_scripts/undo; after the Sets are answered
// the accepted values are read back and every one the device does not hold
// is reported. Undo Last Change executes the newest undo script of each
// selected device on that device.
//
// Undo script names: DEVICE_YYYYMMDD-HHMMSS-mmm.scr (UTC, milliseconds),
// DEVICE being the device name with every character other than letters,
// digits, '.', '-' made '_'; the newest UNDO_KEEP per device are kept.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "snmp_access/morix_record.h"

constexpr const char* UNDO_SUBDIR = "undo"; // under the script folder
constexpr int UNDO_KEEP = 200;              // undo scripts kept per device

// What the safe sending of one device's Set chain did.
struct SafeSet {
    bool refused = false;               // nothing was sent (see refusal)
    std::string refusal;                // why, as a report line
    std::string undo_path;              // the undo script written, "" for none
    std::vector<std::string> left_out;  // nodes the undo script cannot restore
    std::vector<std::string> not_taken; // read-back lines of values not held
};

// Reads what rec's Set chain will overwrite and writes the undo script,
// sends the Set (mm_snmp), then reads back the accepted nodes and compares.
// A failed or cancelled read, or an undo script that cannot be written,
// sends nothing (the record's status becomes 17, as for a device the Set
// never reached).
void safe_set_send(MorixRecord* rec, SafeSet* out);
// safe_set_send for many devices side by side: the undo reads of all of
// them at once ("Reading current values" in the cancel dialog), then their
// Sets (label), then their read-backs ("Reading back values"). out[i] belongs to recs[i]; returns
// for each whether its Set was begun (after a cancel, those not begun were sent nothing).
std::vector<char> safe_set_send_many(const std::vector<MorixRecord*>& recs,
                                     const std::string& label, std::vector<SafeSet>* out);
// The report lines of one device (undo script, left out, not taken,
// refusal), each ended by a line end; 1 when they count as an error.
int safe_set_report(const MorixRecord* rec, const SafeSet& s, std::string* text);

// True when the value read holds the value sent, by the variable's type:
// enumerations and numbers by number, addresses by value, strings exactly.
bool set_value_held(int mib_index, const std::string& sent, const std::string& read);

// The folder of the undo scripts (under the installation directory).
std::string undo_dir();
// The file name of an undo script of device written at time t.
std::string undo_file_name(const std::string& device, std::chrono::system_clock::time_point t);
// Writes content as a new undo script of device (created exclusively, never
// over another) and removes the oldest beyond keep. 0 and the path, or -1
// with the reason.
int write_undo_script(const std::string& device, const std::string& content, int keep,
                      std::string* path, std::string* reason);
// The undo scripts of a device, oldest first (full paths).
std::vector<std::string> undo_scripts_of(const std::string& device);

// Commands -> Undo Last Change: shows the newest undo script of each
// selected, reachable device in output, asks, and executes each on its own
// device through the set funnel. A ScriptResult.
int undo_last_change(int output, int parent);
