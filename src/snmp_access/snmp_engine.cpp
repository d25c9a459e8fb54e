// A record's call of the request engine: chunk size policy, cutting the
// chain into chunks, writing answers back into the nodes, progress and
// cancel between chunks, and the debug dump of a record after a call.
#include "snmp_access/snmp_engine.h"

#include "snmp_access/snmp_call.h"

#include <arpa/inet.h>

#include <cstdio>

#include "catalogue/mib_catalogue.h"
#include "ui/app_globals.h"
#include "ui/diag.h"

namespace {

// Request identifier of a node: catalogue identifier plus instance.
std::string node_oid_text(const ParamNode* n) {
    const MibVarEntry* e = mib_var(n->mib_index);
    std::string s = e ? e->oid_num : std::string();
    if (n->instance != -1)
        s += "." + std::to_string(n->instance);
    else if (!n->inst_str.empty())
        s += "." + n->inst_str;
    return s;
}

// Fills the chunk's positions from the chain; a position whose node is
// missing or out of sequence gets the placeholder identifier "0.0".
void fill_chunk(SnmpChunk& ch, int size, int base, ParamNode** cursor, int op) {
    for (int j = 0; j < size; ++j) {
        ParamNode* n = *cursor;
        ch.statuses[j] = NS_OK;
        ch.mibs[j] = -1;
        if (!n) {
            ch.oids[j] = "0.0";
            continue;
        }
        *cursor = n->next;
        if (n->seq != base + j) {
            ch.oids[j] = "0.0";
            continue;
        }
        ch.oids[j] = node_oid_text(n);
        ch.mibs[j] = n->mib_index;
        if (op == SNMP_OP_SET) {
            ch.values[j] = n->has_value ? n->value : std::string();
            const MibVarEntry* e = mib_var(n->mib_index);
            ch.types[j] = e ? e->data_type : 0;
        }
    }
}

ParamNode* find_seq(ParamNode* from, ParamNode* head, int seq) {
    for (ParamNode* n = from; n; n = n->next)
        if (n->seq == seq)
            return n;
    // Out-of-order chains: search again from the head.
    for (ParamNode* n = head; n != from && n; n = n->next)
        if (n->seq == seq)
            return n;
    return nullptr;
}

void write_back(MorixRecord* rec, ParamNode* first, const SnmpChunk& ch, int size, int base,
                int op) {
    ParamNode* from = first ? first : rec->prm_list;
    for (int j = 0; j < size; ++j) {
        ParamNode* n = find_seq(from, rec->prm_list, base + j);
        if (!n)
            continue;
        from = n->next ? n->next : rec->prm_list;
        n->status = ch.statuses[j];
        if (op == SNMP_OP_SET)
            continue;
        n->value.clear();
        n->next_oid.clear();
        n->has_value = n->status == NS_OK;
        n->has_next_oid = n->status == NS_OK && op == SNMP_OP_GETNEXT;
        if (n->status != NS_OK || !ch.answered[j])
            continue;
        n->value = ch.values[j];
        if (op == SNMP_OP_GETNEXT)
            n->next_oid = ch.oids[j];
    }
}

// Diagnostics of a chunk result on the diagnostics stream; the code passed up.
int report_result(int rc) {
    switch (rc) {
    case SR_OK:
    case SR_TIMEOUT:
    case SR_UNKNOWN_HOST:
        return rc;
    case SR_ERROR:
        diag_printf("\n\n%s\n\n", "An SNMP error occured.");
        return SR_ERROR;
    case SR_NO_SPLIT:
        diag_printf("\n\n%s\n", "Splitting the packet wasn't enough.");
        diag_printf("%s\n\n", "Submitting one variable at a time.");
        return SR_NO_SPLIT;
    case SR_CANCELLED:
        diag_printf("%s\n", "Operation cancelled.");
        return SR_CANCELLED;
    default:
        diag_printf("\n\n%s\n\n", "Invalid internal error code. Software error.");
        return SR_ERROR;
    }
}

const char* op_name(int op) {
    switch (op) {
    case SNMP_OP_GET:
        return "Get";
    case SNMP_OP_SET:
        return "Set";
    case SNMP_OP_GETNEXT:
        return "GetNext";
    default:
        return "ERROR";
    }
}

void dump_str(const char* label, const std::string& v) {
    diag_printf("  %s : \t%s\n", label, v.c_str());
}
void dump_int(const char* label, int v) {
    diag_printf("  %s : \t%d\n", label, v);
}

void dump_snmp_record(const MorixRecord* rec, int op) {
    diag_printf("\n\n*** %s (%s) ***\n", rec->name.c_str(), op_name(op));
    char addr[INET_ADDRSTRLEN] = "";
    inet_ntop(AF_INET, &rec->addr.sin_addr, addr, sizeof addr);
    dump_str("IP Address", addr);
    dump_str("Community", rec->community);
    dump_int("Timeout", rec->timeout);
    dump_int("Retries", rec->retries);
    dump_int("Error Code", rec->status);
    dump_int("Asy Ports", rec->asy_ports);
    dump_int("Syn Ports", rec->syn_ports);
    dump_int("Para Ports", rec->para_ports);
    dump_int("Enet Ports", rec->enet_ports);
    dump_int("T1 Ports", rec->wan_count);
    dump_int("T1 IfIndex", rec->wan_if_index.empty() ? 0 : rec->wan_if_index[0]);
    dump_int("Total Vars", rec->prm_count);
    dump_int("Product Type", rec->product_type);
    dump_int("Allow Set", rec->allow_set);
    for (const ParamNode* n = rec->prm_list; n; n = n->next) {
        const MibVarEntry* e = mib_var(n->mib_index);
        diag_printf("\n%s %d\n", "VAR_NUMBER", n->seq + 1);
        dump_str("Variable", e ? e->name : std::string());
        dump_str("OID Number", e ? e->oid_num : std::string());
        dump_int("Port Opt", n->port_type);
        dump_int("Port Num", n->port_num);
        if (n->instance == -1)
            dump_str("Instance", n->inst_str);
        else
            dump_int("Instance", n->instance);
        if (n->has_next_oid)
            dump_str("Next OID", n->next_oid);
        dump_int("Error Code", n->status);
        dump_str("Value", n->has_value ? n->value : std::string());
    }
}

} // namespace

int set_parameters_incomplete(ParamNode* node) {
    for (; node; node = node->next)
        node->status = NS_NOT_DONE;
    return 1;
}

namespace {

// Between chunks: whether the operator cancelled; a run of one record
// reports its percentage of chunks served first.
bool cancel_check(const SnmpCall& c, int percent) {
    Progress& p = c.progress ? *c.progress : front_end_progress();
    if (c.chunk_progress)
        p.step(percent, 100, "");
    return p.cancelled();
}

// Cuts the next chunk from the chain and gives its first request.
void chunk_next(SnmpCall& c, SendRange* r) {
    ++c.index;
    int total = c.rec->prm_count;
    c.size = c.index < c.chunks ? c.chunk_size : total - (c.chunks - 1) * c.chunk_size;
    c.base = (c.index - 1) * c.chunk_size;
    c.ch.resize(c.size);
    c.first = c.cursor;
    fill_chunk(c.ch, c.size, c.base, &c.cursor, c.op);
    proc_start(c, r);
}

// A pass over the whole chain in chunks of chunk_size; true with the first
// request, false when the call ended.
bool pass_begin(SnmpCall& c, int chunk_size, SendRange* r) {
    c.chunk_size = chunk_size;
    c.chunks = (c.rec->prm_count + chunk_size - 1) / chunk_size;
    c.index = 0;
    c.cursor = c.rec->prm_list;
    if (cancel_check(c, 0)) {
        set_parameters_incomplete(c.cursor);
        call_finish(c, SR_OK);
        return false;
    }
    chunk_next(c, r);
    return true;
}

// The pass ended with rc: a pass of 32 that could not be split small
// enough is followed by one of one variable per request.
bool pass_end(SnmpCall& c, int rc, SendRange* r) {
    if (rc == SR_NO_SPLIT && c.chunk_size == MM_SNMP_CHUNK)
        return pass_begin(c, 1, r);
    call_finish(c, rc);
    return false;
}

// The chunk was served with result: write-back, progress, and the next
// chunk (true with its first request) or the end of the pass.
bool chunk_end(SnmpCall& c, int result, SendRange* r) {
    int rc = report_result(result);
    if (rc != SR_OK)
        return pass_end(c, rc, r);
    write_back(c.rec, c.first, c.ch, c.size, c.base, c.op);
    if (c.index >= c.chunks)
        return pass_end(c, SR_OK, r);
    float pct = (static_cast<float>(c.index) / static_cast<float>(c.chunks)) * 100.0f;
    if (cancel_check(c, static_cast<int>(pct))) {
        // A cancelled call is recognised by the cancel flag and the nodes
        // marked not done, not by the result.
        set_parameters_incomplete(c.cursor);
        return pass_end(c, SR_OK, r);
    }
    chunk_next(c, r);
    return true;
}

} // namespace

void call_begin(SnmpCall& c) {
    if (!c.rec || c.rec->prm_count <= 0) {
        c.done = true; // an empty chain leaves the status as it was
        return;
    }
    SendRange r;
    if (!pass_begin(c, MM_SNMP_CHUNK, &r))
        return;
    int rc = exec_begin(c, r);
    if (rc != SR_PENDING)
        call_resume(c, rc);
}

void call_resume(SnmpCall& c, int rc) {
    // Each turn sends a request (and returns to wait for it) or moves the
    // call past one request range, chunk or pass, so the loop ends.
    for (;;) {
        SendRange r;
        int result = SR_OK;
        if (!proc_next(c, rc, &r, &result) && !chunk_end(c, result, &r))
            return;
        rc = exec_begin(c, r);
        if (rc == SR_PENDING)
            return;
    }
}

void call_take_reply(SnmpCall& c) {
    int kind = c.reply_kind;
    netsnmp_pdu* resp = c.reply;
    c.reply = nullptr;
    c.reply_kind = RK_NONE;
    int rc = SR_ERROR;
    if (kind == RK_ANSWER)
        rc = exec_answer(c, resp);
    else if (kind == RK_TIMEOUT)
        rc = exec_failure(1, 0);
    else
        rc = exec_failure(0, c.reply_err);
    if (resp)
        snmp_free_pdu(resp);
    if (rc != SR_PENDING)
        call_resume(c, rc);
}

void call_abandon(SnmpCall& c) {
    call_close_session(c);
    set_parameters_incomplete(c.first);
    call_finish(c, SR_OK);
}

void call_finish(SnmpCall& c, int rc) {
    call_close_session(c);
    if (c.reply)
        snmp_free_pdu(c.reply);
    c.reply = nullptr;
    c.rec->status = rc;
    c.done = true;
    if (debug_flag == 1)
        dump_snmp_record(c.rec, c.op);
}
