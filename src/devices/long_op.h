// The frame of every long operation: busy cursor, cancel dialog with its
// progress, and on every way out the dialog down, the cursor back and the
// devices a cancel left unserved marked incomplete.
#pragma once

#include <string>
#include <vector>

struct MorixRecord;

// How the cancel dialog behaves.
enum LongOpFlags {
    LO_CONFIRM = 1,     // Cancel asks before it stops the operation
    LO_FOLLOW_SNMP = 2, // the scale follows the request engine's percentage
    LO_NO_SCALE = 4,    // no progress scale, only the label
    LO_BUSY = 8         // busy cursor from construction to the end of the scope
};

class LongOperation {
  public:
    // Nothing shown yet: busy() and open() come later.
    LongOperation() = default;
    // Opens the cancel dialog over parent (busy cursor first with LO_BUSY).
    LongOperation(int parent, const std::string& title, const std::string& label, int flags);
    LongOperation(const LongOperation&) = delete;
    LongOperation& operator=(const LongOperation&) = delete;
    ~LongOperation();

    // Busy cursor now, normal again when the operation ends; without_work
    // keeps the delayed "Working" dialog from coming up.
    void busy(bool without_work = false);
    // Normal cursor now instead of at the end.
    void idle();
    // Opens (or opens again, after close) the cancel dialog.
    void open(int parent, const std::string& title, const std::string& label, int flags);
    // Devices of the device list from this position on have not been
    // served: after a cancel the selected reachable ones among them are
    // marked incomplete.
    void at(int position);
    // After a cancel these records are marked incomplete (in place of at).
    void unserved(std::vector<MorixRecord*> records);
    // Runs the request engine's operation on every record of devs that has
    // a chain, all of them at once, in this operation's cancel dialog: one
    // record keeps "<text> Morix <name>" and its progress by chunk, more
    // read "<text>: <done> of <total> done, last Morix <name>". Records a
    // cancel left unstarted are marked incomplete at close. Returns the
    // records that were served (their status and nodes written), in the
    // order of devs.
    std::vector<MorixRecord*> serve(const std::vector<MorixRecord*>& devs, int snmp_op,
                                    const std::string& text);
    // Reports progress; true once the operator has cancelled.
    bool cancelled(int percent);
    // New dialog label "%s Morix %s" (the text alone without a name).
    void progress(const std::string& text, const std::string& device_name);
    // Takes the dialog down and marks what a cancel left unserved; returns
    // whether the operator cancelled. Again: the answer of the last close.
    bool close();

  private:
    bool open_ = false;
    bool busy_ = false;
    bool cancelled_ = false;
    int position_ = -1;
    std::vector<MorixRecord*> unserved_;
};

// The device-list records at positions[from..], in order (for unserved).
std::vector<MorixRecord*> list_records(const std::vector<int>& positions, size_t from);

// True once the operator has cancelled the operation under way (the flag
// the cancel dialog and the engine share).
bool cancel_requested();
// Forgets an earlier cancel before a new operation starts.
void clear_cancel_request();
// Shows percent in the cancel dialog in force, lets only its Cancel act
// and says whether the operator has cancelled.
bool poll_cancel(int percent);
