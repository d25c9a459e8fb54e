// The request engine: every SNMP exchange of the program (except the
// discovery broadcast) goes through mm_snmp or mm_snmp_many. It cuts a
// record's parameter chain into requests of at most 32 variables, sends them
// (SNMP v1, one request in flight per record, many records at once),
// splits requests that are too big, strips rejected variables, writes
// answers back into the nodes and leaves a result code in the record.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "snmp_access/morix_record.h"
#include "ui/progress.h"

// Operation kinds.
enum SnmpOp { SNMP_OP_GET = 1, SNMP_OP_SET = 2, SNMP_OP_GETNEXT = 3 };

constexpr int MM_SNMP_CHUNK = 32;

// Call result codes (record status after mm_snmp, results of the inner
// functions).
enum SnmpResult {
    SR_OK = 0,
    SR_NO_SPLIT = 1, // could not be made small enough
    SR_NO_BUILD = 2, // message could not be built or sent (exec only)
    SR_TOO_BIG = 3,  // the device answered tooBig (exec only)
    SR_TIMEOUT = 4,  // no answer within time-out and retries
    SR_UNKNOWN_HOST = 6,
    SR_CANCELLED = 17,
    SR_ERROR = -1,
    SR_NO_SESSION = -3 // session could not be opened (exec only)
};

// Node status codes written by the engine.
enum NodeStatus {
    NS_OK = 0,
    NS_NO_SUCH_NAME = 5,
    NS_READ_ONLY = 7,
    NS_BAD_VALUE = 8,
    NS_OTHER_ERROR = -1,
    NS_NOT_DONE = 17
};

// The variables of one chunk, position by position.
struct SnmpChunk {
    std::vector<std::string> oids;   // request identifier; GetNext: the returned one
    std::vector<std::string> values; // Set input; Get/GetNext answer text
    std::vector<int> types;          // catalogue data type (Set)
    std::vector<int> statuses;       // node status of the position
    std::vector<char> answered;      // 1 when the device returned a variable for it
    std::vector<int> mibs;           // catalogue id of the position, -1 for none
    void resize(size_t n);
};

// Runs the operation over the record's whole chain; the outcome is the
// record's status and the nodes. An empty chain leaves status unchanged.
// Progress goes to the cancel dialog between chunks (percent of chunks
// served), and a cancel marks the nodes not yet served with 17.
void mm_snmp(MorixRecord* rec, int op, Progress& progress = front_end_progress());
// Marks node and every node after it with status 17; returns 1.
int set_parameters_incomplete(ParamNode* node);

// One record's part in a run of many: the operation on its chain, and what
// follows each call.
struct SnmpTask {
    MorixRecord* rec = nullptr;
    int op = SNMP_OP_GET;
    // Called when a call on the record ended (status and nodes written):
    // returns the next operation, the chain rebuilt for it, or 0 when the
    // record is done. None: one call.
    std::function<int(MorixRecord*)> then;
    bool started = false;  // set by the run: the first call began
    bool finished = false; // set by the run: every call ended before a cancel
};

// Records served at once by a run.
constexpr int MM_SNMP_IN_FLIGHT = 64;

// Serves the tasks' records at once, on this thread: each record's
// requests leave one at a time in exactly the order and form mm_snmp gives
// them, each with the record's own time-out and retries, up to
// MM_SNMP_IN_FLIGHT records in flight (in list order as places free up).
// progress is asked whether the run was cancelled at least every 100 ms.
// A run of one task is mm_snmp (progress by chunk). With more, progress
// steps (records done of the total, the last one's name) before the first
// request, after each finished record and every 100 ms; label names the
// run (progress.begin).
// After a cancel, Get and GetNext calls in flight end at once with the
// nodes of their chunk and after it marked 17 (Set calls finish the chunk
// in flight first, as a call of one record does), and records not started
// stay untouched (started false). Returns 1 when the run was cancelled.
int mm_snmp_many(std::vector<SnmpTask>& tasks, const std::string& label,
                 Progress& progress = front_end_progress());
// mm_snmp_many of one operation over records (null ones skipped); for each
// record, whether the run began it (a cancel leaves the others untouched).
std::vector<char> mm_snmp_all(const std::vector<MorixRecord*>& recs, int op,
                              const std::string& label, Progress& progress = front_end_progress());

// Prepares the SNMP library once (quiet, no MIB files, no persistent state).
void mm_snmp_init();
// Counts exchanges (PDUs sent) and library sessions opened since start, for
// tests and benchmarks.
extern long g_snmp_requests_sent;
extern long g_snmp_sessions_opened;
