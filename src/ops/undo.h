// Safe change: before a device is sent Sets of configuration values, the
// values about to be overwritten are read (one Get per chunk); once a
// device was sent its Sets, the old values of what it accepted become an
// undo script under data/mrx_scripts/undo, and the accepted values are
// read back and every one the device does not hold is reported. Undo Last Change executes the
// newest undo script of each selected device on that device.
//
// The undo journal: one script per change that reached a device, holding
// the old values of what the device accepted, and a "# Left out: " comment
// line for each accepted value it cannot write back. Names:
// DEVICE_SSSSSSSSSS.scr, DEVICE being the device name with every character
// other than letters, digits, '.', '-' made '_', and S the journal's
// sequence number (ten digits): one more than the highest in the folder,
// so the order never depends on the clock. Names of the older form
// DEVICE_YYYYMMDD-HHMMSS-mmm.scr count as older than any numbered one. The
// newest UNDO_KEEP per device are kept.
#pragma once

#include <chrono>
#include <functional>
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

// "NAME" or "NAME (kw port N)" of a node.
std::string node_where(const ParamNode* n);
// A Get record of rec's device over the nodes of its chain (only those it
// accepted with accepted_only), without values.
MorixRecordPtr set_read_copy(const MorixRecord* rec, bool accepted_only);
// The undo script line that writes back the value read in n, or why there
// is none (left_out, after the node's name).
struct UndoLine {
    std::string line;     // "" when left out
    std::string left_out; // ": its value cannot be written back", ...
    bool unread = false;  // the value could not be read (the node may not exist)
};
UndoLine undo_line(const ParamNode* n);
// Adds to out->not_taken a line for each node rec accepted that the
// read-back back does not hold.
void compare_back(const MorixRecord* rec, const MorixRecord* back, SafeSet* out);
// The report lines of one device (undo script, left out, not taken,
// refusal), each ended by a line end; 1 when they count as an error.
int safe_set_report(const MorixRecord* rec, const SafeSet& s, std::string* text);

// True when the value read holds the value sent, by the variable's type:
// enumerations and numbers by number, addresses by value, strings exactly.
bool set_value_held(int mib_index, const std::string& sent, const std::string& read);

// The folder of the undo scripts (under the installation directory).
std::string undo_dir();
// The file name of the undo script of device with sequence number seq.
std::string undo_file_name(const std::string& device, long long seq);
// The clock whose time the journal writes into a script's comment (only
// for the reader: the order comes from the sequence). Tests replace it.
extern std::chrono::system_clock::time_point (*undo_clock)();
// 0 when an undo script could be written now (the folder exists or was
// made, and is writable), else -1 with the reason.
int undo_dir_ready(std::string* reason);
// The line that marks a value left out of an undo script.
constexpr const char* UNDO_LEFT_OUT = "# Left out: ";
// Writes content as a new undo script of device with the next sequence
// number (created exclusively, never over another) and removes the oldest
// beyond keep. 0 and the path, or -1 with the reason.
int write_undo_script(const std::string& device, const std::string& content, int keep,
                      std::string* path, std::string* reason);
// The undo scripts of a device, oldest first (full paths).
std::vector<std::string> undo_scripts_of(const std::string& device);

// Commands -> Undo Last Change: the newest undo script of each device of
// the request shown in the report, the question asked through asker, and
// each script executed on its own device through the change pipeline. An
// entry that left values out, or lines that set nothing, end it with
// errors. The reset follow-up is the change's.
struct UndoRequest {
    std::vector<MorixRecord*> devices; // selected, reachable, in list order
    int parent = 0;                    // window of the cancel dialog
    // Shows the report's first part (the scripts) before the question;
    // may be empty.
    std::function<void(const std::string&)> show_scripts;
};
struct SetOutcome;
class Asker;
SetOutcome run_undo(const UndoRequest& req, Asker& asker);
