// The request engine: every SNMP exchange of the program (except the
// discovery broadcast) goes through mm_snmp. It cuts a record's parameter
// chain into requests of at most 32 variables, sends them synchronously
// (SNMP v1), splits requests that are too big, strips rejected variables,
// writes answers back into the nodes and leaves a result code in the record.
#pragma once

#include <string>
#include <vector>

#include "snmp_access/morix_record.h"

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
void mm_snmp(MorixRecord* rec, int op);
int mm_snmp_split_format(MorixRecord* rec, int chunk_size, int op);
int mm_snmp_process(MorixRecord* rec, int count, SnmpChunk& chunk, int op);
// Sends positions start..start+count-1 that still have status 0 as one PDU.
// On 3, split_at receives the offset (from start) of the variable the device
// named, or -1 when it named none.
int mm_snmp_exec(MorixRecord* rec, int start, int count, SnmpChunk& chunk, int op, int* split_at);
// Marks node and every node after it with status 17; returns 1.
int set_parameters_incomplete(ParamNode* node);

// Keeps one library session for every exchange with rec while the object
// lives: opened by the first exchange, closed when the object goes. mm_snmp
// holds one for the whole call (all chunks, splits and re-sends); exchanges
// outside such a call open and close their own session.
class SnmpCallSession {
  public:
    explicit SnmpCallSession(const MorixRecord* rec);
    ~SnmpCallSession();
    SnmpCallSession(const SnmpCallSession&) = delete;
    SnmpCallSession& operator=(const SnmpCallSession&) = delete;

  private:
    const MorixRecord* prev_rec_;
    void* prev_session_;
};

// Prepares the SNMP library once (quiet, no MIB files, no persistent state).
void mm_snmp_init();
// Counts exchanges (PDUs sent) and library sessions opened since start, for
// tests and benchmarks.
extern long g_snmp_requests_sent;
extern long g_snmp_sessions_opened;
