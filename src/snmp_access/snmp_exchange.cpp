// One chunk of the request engine: fitting it into requests that the device
// accepts (mm_snmp_process) and the single exchange (mm_snmp_exec).
#include <cstdlib>

#include "catalogue/mib_catalogue.h"
#include "snmp_access/snmp_checks.h"
#include "snmp_access/snmp_engine.h"
#include "snmp_access/snmp_values.h"

long g_snmp_requests_sent = 0;
long g_snmp_sessions_opened = 0;

namespace {

// The session of the call in progress (see SnmpCallSession): its record, and
// the library session once the first exchange has opened it.
const MorixRecord* g_call_rec = nullptr;
netsnmp_session* g_call_session = nullptr;

constexpr size_t REQ_OID_MAX = 64; // sub-identifiers of a request identifier

int pdu_type_of(int op) {
    switch (op) {
    case SNMP_OP_GET:
        return SNMP_MSG_GET;
    case SNMP_OP_SET:
        return SNMP_MSG_SET;
    case SNMP_OP_GETNEXT:
        return SNMP_MSG_GETNEXT;
    default:
        return 0;
    }
}

int node_status_of(long errstat) {
    switch (errstat) {
    case SNMP_ERR_NOSUCHNAME:
        return NS_NO_SUCH_NAME;
    case SNMP_ERR_BADVALUE:
        return NS_BAD_VALUE;
    case SNMP_ERR_READONLY:
        return NS_READ_ONLY;
    default:
        return NS_OTHER_ERROR;
    }
}

// Result of a failed send and wait, from the library's error code.
int failure_result(int stat, int err) {
    if (stat == STAT_TIMEOUT || err == SNMPERR_TIMEOUT)
        return SR_TIMEOUT;
    switch (err) {
    case SNMPERR_GENERR:
    case SNMPERR_TOO_LONG:
    case SNMPERR_BAD_ASN1_BUILD:
    case SNMPERR_BAD_SENDTO:
        return SR_NO_BUILD;
    case SNMPERR_BAD_ADDRESS:
        return SR_UNKNOWN_HOST;
    default:
        return SR_ERROR;
    }
}

// What an answer is checked against for position p: the identifier sent and
// its catalogue entry's identifier and data type.
SentVar sent_var(const SnmpChunk& ch, int p, const oid* name, size_t len) {
    SentVar s;
    s.name.assign(name, name + len);
    const MibVarEntry* e = p < static_cast<int>(ch.mibs.size()) ? mib_var(ch.mibs[p]) : nullptr;
    if (e) {
        oid base[REQ_OID_MAX];
        size_t blen = REQ_OID_MAX;
        if (parse_dotted_oid(e->oid_num, base, REQ_OID_MAX, &blen))
            s.base.assign(base, base + blen);
        s.data_type = e->data_type;
    }
    return s;
}

// Adds the positions of the range that still have status 0 to the PDU and
// lists them in active, in PDU order, with what was sent for each in sent. A position whose
// identifier does not parse gets status -1; a Set value that cannot be encoded gets 8 (bad value);
// neither is sent.
void add_variables(netsnmp_pdu* pdu, int start, int count, SnmpChunk& ch, int op,
                   std::vector<int>* active, std::vector<SentVar>* sent) {
    for (int p = start; p < start + count; ++p) {
        if (ch.statuses[p] != NS_OK)
            continue;
        oid name[REQ_OID_MAX];
        size_t len = REQ_OID_MAX;
        // Request identifiers are dotted numbers: read them directly, and
        // leave anything else to the library's parser.
        if (!parse_dotted_oid(ch.oids[p], name, REQ_OID_MAX, &len) &&
            !read_objid(ch.oids[p].c_str(), name, &len)) {
            ch.statuses[p] = NS_OTHER_ERROR;
            continue;
        }
        if (op == SNMP_OP_SET) {
            if (add_set_var(pdu, name, len, ch.types[p], ch.values[p]) != 0) {
                ch.statuses[p] = NS_BAD_VALUE;
                continue;
            }
        } else {
            snmp_add_null_var(pdu, name, len);
        }
        active->push_back(p);
        sent->push_back(sent_var(ch, p, name, len));
    }
}

// Matches the answer's variables in order to the positions still in the
// request.
void store_answers(const netsnmp_pdu* resp, const std::vector<int>& active, SnmpChunk& ch, int op) {
    const netsnmp_variable_list* var = resp->variables;
    for (size_t k = 0; k < active.size() && var; ++k, var = var->next_variable) {
        int p = active[k];
        ch.answered[p] = 1;
        if (op == SNMP_OP_SET)
            continue;
        ch.values[p] = sprint_by_type(var);
        if (op == SNMP_OP_GETNEXT)
            ch.oids[p] = sprint_objid(var->name, var->name_length);
    }
}

netsnmp_session* open_session(const MorixRecord* rec, int* result) {
    netsnmp_session* ss =
        mm_snmp_open_peer(rec->name, rec->community, rec->timeout, rec->retries, result);
    if (ss)
        ++g_snmp_sessions_opened;
    return ss;
}

// The session for an exchange with rec: the call's session (opened on first
// use; a failed open is tried again by the next exchange, as each exchange
// would), or a session of its own that the caller closes (*own set).
netsnmp_session* session_for(const MorixRecord* rec, int* result, bool* own) {
    *own = rec != g_call_rec;
    if (*own)
        return open_session(rec, result);
    if (!g_call_session)
        g_call_session = open_session(rec, result);
    return g_call_session;
}

// Sends the request, strips variables the device rejects one at a time and
// sends the rest again, and stores the answer. Takes over pdu.
int exchange(netsnmp_session* ss, netsnmp_pdu* pdu, int start, std::vector<int>& active,
             std::vector<SentVar>& sent, SnmpChunk& ch, int op, int* split_at) {
    // Each round removes one variable, so the loop ends after active.size()
    // rounds at most.
    for (;;) {
        netsnmp_pdu* resp = nullptr;
        snmp_errno = 0;
        ss->s_snmp_errno = 0;
        ++g_snmp_requests_sent;
        int stat = snmp_synch_response(ss, pdu, &resp);
        int err = ss->s_snmp_errno ? ss->s_snmp_errno : snmp_errno;
        if (stat != STAT_SUCCESS || !resp) {
            if (resp)
                snmp_free_pdu(resp);
            return failure_result(stat, err);
        }
        long e = resp->errindex;
        bool named = e >= 1 && e <= static_cast<long>(active.size());
        if (resp->errstat == SNMP_ERR_NOERROR) {
            // An answer that does not fit the request is no data at all.
            if (!answer_matches(resp, sent, op)) {
                snmp_free_pdu(resp);
                return SR_ERROR;
            }
            store_answers(resp, active, ch, op);
            snmp_free_pdu(resp);
            return SR_OK;
        }
        if (resp->errstat == SNMP_ERR_TOOBIG) {
            *split_at = named ? active[e - 1] - start : static_cast<int>(e) - 1;
            snmp_free_pdu(resp);
            return SR_TOO_BIG;
        }
        if (!named) {
            snmp_free_pdu(resp);
            return SR_ERROR;
        }
        // The device names the variable by its place in the request sent;
        // mark the position that variable came from.
        ch.statuses[active[e - 1]] = node_status_of(resp->errstat);
        active.erase(active.begin() + (e - 1));
        sent.erase(sent.begin() + (e - 1));
        pdu = snmp_fix_pdu(resp, pdu_type_of(op));
        snmp_free_pdu(resp);
        if (!pdu)
            return active.empty() ? SR_OK : SR_ERROR;
    }
}

} // namespace

void SnmpChunk::resize(size_t n) {
    oids.assign(n, std::string());
    values.assign(n, std::string());
    types.assign(n, 0);
    statuses.assign(n, 0);
    answered.assign(n, 0);
    mibs.assign(n, -1);
}

void mm_snmp_init() {
    static bool done = false;
    if (done)
        return;
    done = true;
    // No MIB files, no configuration files, no persistent state: numeric
    // identifiers only, and nothing written under /var/lib/snmp.
    setenv("MIBS", "", 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
    init_snmp("gui_mm");
}

int mm_snmp_exec(MorixRecord* rec, int start, int count, SnmpChunk& ch, int op, int* split_at) {
    int type = pdu_type_of(op);
    if (!rec || type == 0 || start < 0 || count < 0 ||
        start + count > static_cast<int>(ch.statuses.size()))
        return SR_ERROR;
    // An empty name would make the library talk to its default host.
    if (rec->name.empty())
        return SR_UNKNOWN_HOST;
    mm_snmp_init();
    int result = SR_OK;
    bool own = true;
    netsnmp_session* ss = session_for(rec, &result, &own);
    if (!ss)
        return result;
    netsnmp_pdu* pdu = snmp_pdu_create(type);
    std::vector<int> active;
    std::vector<SentVar> sent;
    add_variables(pdu, start, count, ch, op, &active, &sent);
    if (active.empty()) {
        snmp_free_pdu(pdu);
        result = SR_OK;
    } else {
        int dummy = -1;
        result = exchange(ss, pdu, start, active, sent, ch, op, split_at ? split_at : &dummy);
    }
    if (own)
        snmp_close(ss);
    return result;
}

SnmpCallSession::SnmpCallSession(const MorixRecord* rec)
    : prev_rec_(g_call_rec), prev_session_(g_call_session) {
    g_call_rec = rec;
    g_call_session = nullptr;
}

SnmpCallSession::~SnmpCallSession() {
    if (g_call_session)
        snmp_close(g_call_session);
    g_call_rec = prev_rec_;
    g_call_session = static_cast<netsnmp_session*>(prev_session_);
}

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

// Serves a tooBig answer for positions first..first+count-1: the part before
// the variable the device named goes alone, then the rest (and so on while
// the rest is too big). 0, or 1 when a part cannot be served or the device
// named no usable split point (error index 0 or 1).
int serve_too_big(MorixRecord* rec, int first, int count, SnmpChunk& ch, int op, int split) {
    while (split >= 1 && split < count) {
        int ignored = -1;
        if (mm_snmp_exec(rec, first, split, ch, op, &ignored) != SR_OK)
            return SR_NO_SPLIT;
        first += split;
        count -= split;
        int rc = mm_snmp_exec(rec, first, count, ch, op, &split);
        if (rc == SR_OK)
            return SR_OK;
        if (rc != SR_TOO_BIG)
            return SR_NO_SPLIT;
    }
    return SR_NO_SPLIT;
}

int send_half(MorixRecord* rec, int first, int count, SnmpChunk& ch, int op) {
    int split = -1;
    int rc = mm_snmp_exec(rec, first, count, ch, op, &split);
    if (rc == SR_NO_BUILD)
        return SR_NO_SPLIT;
    if (rc == SR_TOO_BIG)
        rc = serve_too_big(rec, first, count, ch, op, split);
    return map_final(rc);
}

} // namespace

int mm_snmp_process(MorixRecord* rec, int count, SnmpChunk& ch, int op) {
    int split = -1;
    int rc = mm_snmp_exec(rec, 0, count, ch, op, &split);
    if (rc == SR_TOO_BIG)
        return serve_too_big(rec, 0, count, ch, op, split);
    if (rc != SR_NO_BUILD)
        return map_final(rc);
    int h = count / 2;
    if (h < 1)
        return SR_NO_SPLIT;
    rc = send_half(rec, 0, h, ch, op);
    if (rc != SR_OK)
        return rc;
    return send_half(rec, h, count - h, ch, op);
}
