// One record's call of the request engine as a machine that a run of the
// engine drives: the call sends one request at a time, and each answer (or
// time-out) moves it on to its next request or to its end. Cutting into
// chunks and write-back live in snmp_engine.cpp, fitting a chunk into
// requests in snmp_process.cpp, one exchange in snmp_exchange.cpp and the
// loop over many calls in snmp_run.cpp.
#pragma once

#include <vector>

#include "snmp_access/snmp_checks.h"
#include "snmp_access/snmp_engine.h"
#include "ui/progress.h"

// An exchange result meaning: the request is out, its answer awaited.
constexpr int SR_PENDING = 100;

// Positions start..start+count-1 of the chunk, sent as one request.
struct SendRange {
    int start = 0;
    int count = 0;
};

// Steps of fitting a chunk into requests.
enum ProcPhase {
    PP_WHOLE,   // the whole chunk in one request
    PP_HALF,    // a half, after a message too large to build
    PP_SIZED,   // pieces of the size the device accepted before
    PP_TB_HEAD, // after tooBig: the part before the variable the device named
    PP_TB_REST  // after tooBig: the rest
};
// What a tooBig serving returns to when it ends.
enum TbOwner { TB_WHOLE, TB_HALF, TB_SIZED };

struct ProcState {
    int phase = PP_WHOLE;
    int count = 0; // variables of the chunk
    int half = 0;  // 0 or 1 while halves are sent
    int h = 0;     // size of the first half
    int piece_first = 0, piece_count = 0;
    int tb_owner = TB_WHOLE;
    int tb_first = 0, tb_count = 0, tb_split = -1;
};

// What ended the request in flight, as the library reported it.
enum ReplyKind { RK_NONE, RK_ANSWER, RK_TIMEOUT, RK_FAILED };

struct SnmpCall {
    MorixRecord* rec = nullptr;
    int op = 0;
    // Progress (the percentage of chunks served) and cancel checks between
    // chunks (a run of one record); otherwise the run reports progress per
    // record and the call only asks whether the run was cancelled.
    bool chunk_progress = true;
    Progress* progress = nullptr; // the run's; null: the front end's
    void* sess = nullptr;         // the call's library session, opened by its first exchange
    // The pass over the chain.
    int chunk_size = 0, chunks = 0, index = 0, size = 0, base = 0;
    ParamNode* cursor = nullptr;
    ParamNode* first = nullptr; // first node of the chunk being served
    SnmpChunk ch;
    ProcState ps;
    // The exchange in flight.
    SendRange sending;
    std::vector<int> active;      // positions in the request, in PDU order
    std::vector<SentVar> sent;    // what was sent for each
    int split_at = -1;            // after tooBig: offset named by the device
    int reqid = 0;                // request awaited, 0 for none
    int reply_kind = RK_NONE;     // set by the library's callback
    int reply_err = 0;            // library error of a failed exchange
    netsnmp_pdu* reply = nullptr; // copy of the answer, owned by the call
    bool too_big_seen = false;    // the device answered tooBig in this call
    bool done = false;
};

// Starts the call: sends its first request or ends at once (an empty chain,
// a cancel before the first chunk).
void call_begin(SnmpCall& c);
// Goes on after the exchange in flight ended with result rc.
void call_resume(SnmpCall& c, int rc);
// Handles what the library reported for the request in flight.
void call_take_reply(SnmpCall& c);
// Ends a Get or GetNext call at once after a cancel: the request in flight
// is dropped and the chunk being served is marked not done, as are the
// nodes after it; the result is 0 as for any cancelled call.
void call_abandon(SnmpCall& c);
// Result and end of the call: status, debug dump, session closed.
void call_finish(SnmpCall& c, int rc);

// Fitting a chunk into requests: proc_start gives the first request of a
// chunk; proc_next takes the result of the request sent and gives the next
// one (true), or the chunk's result (false).
void proc_start(SnmpCall& c, SendRange* r);
bool proc_next(SnmpCall& c, int rc, SendRange* r, int* result);

// One exchange: builds and sends the request for the range (SR_PENDING), or
// returns its result at once (nothing left to send, no session, a message
// that cannot be built or sent).
int exec_begin(SnmpCall& c, SendRange r);
// The result of the answer to the request in flight; SR_PENDING when a
// rejected variable was stripped and the rest sent again.
int exec_answer(SnmpCall& c, const netsnmp_pdu* resp);
// Result of an exchange that failed in the library.
int exec_failure(int timed_out, int err);
// Closes the call's session (dropping a request in flight).
void call_close_session(SnmpCall& c);
