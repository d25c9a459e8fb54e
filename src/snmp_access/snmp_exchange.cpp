// One exchange of the request engine: the request built from a range of a
// chunk, sent through the library's asynchronous interface, and its answer
// (values stored, rejected variables stripped and the rest sent again).
#include <sys/stat.h>

#include <cstdlib>

#include "catalogue/mib_catalogue.h"
#include "snmp_access/snmp_call.h"
#include "snmp_access/snmp_checks.h"
#include "snmp_access/snmp_engine.h"
#include "snmp_access/snmp_values.h"
#include "ui/app_globals.h"

long g_snmp_requests_sent = 0;
long g_snmp_sessions_opened = 0;

namespace {

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

// Called by the library for the request in flight: keeps a copy of the
// answer, or what ended the request, for the run's loop to handle.
int call_input(int op, netsnmp_session* ss, int reqid, netsnmp_pdu* pdu, void* magic) {
    SnmpCall* c = static_cast<SnmpCall*>(magic);
    if (reqid != c->reqid || c->reply_kind != RK_NONE)
        return 1; // an answer to a request the call no longer waits for
    if (op == NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE && pdu) {
        c->reply = snmp_clone_pdu(pdu);
        c->reply_kind = c->reply ? RK_ANSWER : RK_FAILED;
    } else if (op == NETSNMP_CALLBACK_OP_TIMED_OUT) {
        c->reply_kind = RK_TIMEOUT;
    } else if (op == NETSNMP_CALLBACK_OP_SEND_FAILED || op == NETSNMP_CALLBACK_OP_DISCONNECT) {
        c->reply_kind = RK_FAILED;
        c->reply_err = ss ? ss->s_snmp_errno : 0;
    } else {
        return 1; // other notices (a resend) leave the request waiting
    }
    c->reqid = 0;
    return 1;
}

// Sends pdu for the call; SR_PENDING, or the result of a failed send. Takes
// over pdu.
int send_pdu(SnmpCall& c, netsnmp_pdu* pdu) {
    netsnmp_session* ss = snmp_sess_session(c.sess);
    snmp_errno = 0;
    ss->s_snmp_errno = 0;
    ++g_snmp_requests_sent;
    c.reply_kind = RK_NONE;
    c.reply_err = 0;
    c.reqid = snmp_sess_async_send(c.sess, pdu, call_input, &c);
    if (c.reqid != 0)
        return SR_PENDING;
    snmp_free_pdu(pdu);
    return exec_failure(0, ss->s_snmp_errno ? ss->s_snmp_errno : snmp_errno);
}

// The largest request the device accepted, once it answered tooBig: later
// chunks start at that size instead of being split again.
void note_accepted(SnmpCall& c, int variables) {
    if ((c.too_big_seen || c.rec->max_vars > 0) && variables > c.rec->max_vars)
        c.rec->max_vars = variables;
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
    // identifiers only. What the library still keeps (the index folder of
    // its certificate store, made at start-up) goes under the program's own
    // data folder, never under the system's (/var/lib/snmp). The folders are
    // made here, quietly: the library would announce on standard error that
    // it made them. Where they cannot be made, the library keeps nothing.
    setenv("MIBS", "", 1);
    const std::string persistent = (mm_dir.empty() ? mm_default_dir() : mm_dir) + "/data/snmp";
    mkdir(persistent.c_str(), 0700);
    mkdir((persistent + "/cert_indexes").c_str(), 0700);
    netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_PERSISTENT_DIR, persistent.c_str());
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
    init_snmp("gui_mm");
}

int exec_failure(int timed_out, int err) {
    return failure_result(timed_out ? STAT_TIMEOUT : STAT_ERROR, err);
}

int exec_begin(SnmpCall& c, SendRange r) {
    int type = pdu_type_of(c.op);
    if (type == 0 || r.start < 0 || r.count < 0 ||
        r.start + r.count > static_cast<int>(c.ch.statuses.size()))
        return SR_ERROR;
    // An empty name would make the library talk to its default host.
    if (c.rec->name.empty())
        return SR_UNKNOWN_HOST;
    mm_snmp_init();
    if (!c.sess) {
        // A session that could not be opened is tried again by the next
        // exchange, as each exchange would.
        int result = SR_OK;
        c.sess = mm_snmp_open_peer_sess(c.rec->name, c.rec->community, c.rec->timeout,
                                        c.rec->retries, &result);
        if (!c.sess)
            return result;
        ++g_snmp_sessions_opened;
    }
    netsnmp_pdu* pdu = snmp_pdu_create(type);
    c.sending = r;
    c.split_at = -1;
    c.active.clear();
    c.sent.clear();
    add_variables(pdu, r.start, r.count, c.ch, c.op, &c.active, &c.sent);
    if (c.active.empty()) {
        snmp_free_pdu(pdu);
        return SR_OK;
    }
    return send_pdu(c, pdu);
}

int exec_answer(SnmpCall& c, const netsnmp_pdu* resp) {
    long e = resp->errindex;
    bool named = e >= 1 && e <= static_cast<long>(c.active.size());
    if (resp->errstat == SNMP_ERR_NOERROR) {
        // An answer that does not fit the request is no data at all.
        if (!answer_matches(resp, c.sent, c.op))
            return SR_ERROR;
        store_answers(resp, c.active, c.ch, c.op);
        note_accepted(c, static_cast<int>(c.active.size()));
        return SR_OK;
    }
    if (resp->errstat == SNMP_ERR_TOOBIG) {
        c.too_big_seen = true;
        c.split_at = named ? c.active[e - 1] - c.sending.start : static_cast<int>(e) - 1;
        return SR_TOO_BIG;
    }
    if (!named)
        return SR_ERROR;
    // The device names the variable by its place in the request sent; mark
    // the position that variable came from and send the rest again (each
    // round removes one variable, so this ends).
    c.ch.statuses[c.active[e - 1]] = node_status_of(resp->errstat);
    c.active.erase(c.active.begin() + (e - 1));
    c.sent.erase(c.sent.begin() + (e - 1));
    netsnmp_pdu* pdu = snmp_fix_pdu(const_cast<netsnmp_pdu*>(resp), pdu_type_of(c.op));
    if (!pdu)
        return c.active.empty() ? SR_OK : SR_ERROR;
    return send_pdu(c, pdu);
}

void call_close_session(SnmpCall& c) {
    c.reqid = 0;
    if (c.sess)
        snmp_sess_close(c.sess);
    c.sess = nullptr;
}
