// Fitting one chunk into requests that the device accepts, one request at a
// time: the whole chunk first; after tooBig, the part before the variable
// the device named alone and then the rest (again while the rest is too
// big); after a message too large to build, each half in the same way. A
// device that accepted a smaller request before gets its chunks in pieces
// of that size from the start.
#include <algorithm>

#include "snmp_access/snmp_call.h"

namespace {

int map_final(int rc) {
    switch (rc) {
    case SR_OK:
    case SR_NO_SPLIT:
    case SR_TIMEOUT:
    case SR_UNKNOWN_HOST:
        return rc;
    default:
        return SR_ERROR;
    }
}

bool send(SendRange* r, int start, int count) {
    *r = SendRange{start, count};
    return true;
}

bool finish(int* result, int rc) {
    *result = rc;
    return false;
}

bool next_piece(SnmpCall& c, SendRange* r, int* result) {
    ProcState& p = c.ps;
    p.piece_first += p.piece_count;
    if (p.piece_first >= p.count)
        return finish(result, SR_OK);
    p.phase = PP_SIZED;
    p.piece_count = std::min(c.rec->max_vars, p.count - p.piece_first);
    return send(r, p.piece_first, p.piece_count);
}

// One half ended with rc: the second half follows a served first one.
bool half_done(SnmpCall& c, int rc, SendRange* r, int* result) {
    ProcState& p = c.ps;
    if (rc != SR_OK || p.half == 1)
        return finish(result, rc);
    p.half = 1;
    p.phase = PP_HALF;
    return send(r, p.h, p.count - p.h);
}

// A tooBig serving ended with rc (0, or 1 when a part could not be served).
bool tb_done(SnmpCall& c, int rc, SendRange* r, int* result) {
    switch (c.ps.tb_owner) {
    case TB_HALF:
        return half_done(c, map_final(rc), r, result);
    case TB_SIZED:
        if (rc != SR_OK)
            return finish(result, SR_NO_SPLIT);
        return next_piece(c, r, result);
    default:
        return finish(result, rc);
    }
}

// Sends the part before the split point, or ends the serving when the
// device named no usable split point (error index 0 or 1).
bool tb_head(SnmpCall& c, SendRange* r, int* result) {
    ProcState& p = c.ps;
    if (p.tb_split < 1 || p.tb_split >= p.tb_count)
        return tb_done(c, SR_NO_SPLIT, r, result);
    p.phase = PP_TB_HEAD;
    return send(r, p.tb_first, p.tb_split);
}

bool tb_begin(SnmpCall& c, int owner, int first, int count, SendRange* r, int* result) {
    ProcState& p = c.ps;
    p.tb_owner = owner;
    p.tb_first = first;
    p.tb_count = count;
    p.tb_split = c.split_at;
    return tb_head(c, r, result);
}

bool after_whole(SnmpCall& c, int rc, SendRange* r, int* result) {
    ProcState& p = c.ps;
    if (rc == SR_TOO_BIG)
        return tb_begin(c, TB_WHOLE, 0, p.count, r, result);
    if (rc != SR_NO_BUILD)
        return finish(result, map_final(rc));
    p.h = p.count / 2;
    if (p.h < 1)
        return finish(result, SR_NO_SPLIT);
    p.half = 0;
    p.phase = PP_HALF;
    return send(r, 0, p.h);
}

bool after_half(SnmpCall& c, int rc, SendRange* r, int* result) {
    ProcState& p = c.ps;
    if (rc == SR_NO_BUILD)
        return half_done(c, SR_NO_SPLIT, r, result);
    if (rc == SR_TOO_BIG) {
        int first = p.half == 0 ? 0 : p.h;
        int count = p.half == 0 ? p.h : p.count - p.h;
        return tb_begin(c, TB_HALF, first, count, r, result);
    }
    return half_done(c, map_final(rc), r, result);
}

bool after_piece(SnmpCall& c, int rc, SendRange* r, int* result) {
    ProcState& p = c.ps;
    if (rc == SR_OK)
        return next_piece(c, r, result);
    if (rc == SR_TOO_BIG)
        return tb_begin(c, TB_SIZED, p.piece_first, p.piece_count, r, result);
    if (rc == SR_NO_BUILD)
        return finish(result, SR_NO_SPLIT);
    return finish(result, map_final(rc));
}

bool after_tb(SnmpCall& c, int rc, SendRange* r, int* result) {
    ProcState& p = c.ps;
    if (p.phase == PP_TB_HEAD) {
        if (rc != SR_OK)
            return tb_done(c, SR_NO_SPLIT, r, result);
        p.tb_first += p.tb_split;
        p.tb_count -= p.tb_split;
        p.phase = PP_TB_REST;
        return send(r, p.tb_first, p.tb_count);
    }
    if (rc == SR_OK)
        return tb_done(c, SR_OK, r, result);
    if (rc != SR_TOO_BIG)
        return tb_done(c, SR_NO_SPLIT, r, result);
    p.tb_split = c.split_at;
    return tb_head(c, r, result);
}

} // namespace

void proc_start(SnmpCall& c, SendRange* r) {
    c.ps = ProcState{};
    c.ps.count = c.size;
    if (c.rec->max_vars > 0 && c.size > c.rec->max_vars) {
        c.ps.piece_first = 0;
        c.ps.piece_count = 0;
        int ignored = 0;
        next_piece(c, r, &ignored);
        return;
    }
    c.ps.phase = PP_WHOLE;
    send(r, 0, c.size);
}

bool proc_next(SnmpCall& c, int rc, SendRange* r, int* result) {
    switch (c.ps.phase) {
    case PP_WHOLE:
        return after_whole(c, rc, r, result);
    case PP_HALF:
        return after_half(c, rc, r, result);
    case PP_SIZED:
        return after_piece(c, rc, r, result);
    default:
        return after_tb(c, rc, r, result);
    }
}
