#include "devices/mrx_probe.h"

#include <sys/select.h>

#include <algorithm>

#include "catalogue/mib_catalogue.h"
#include "devices/long_op.h"
#include "snmp_access/snmp_checks.h"
#include "snmp_access/snmp_engine.h"

namespace {

constexpr long POLL_USEC = 100000; // longest wait between cancel checks

// One probe. The library session sends once per request (no retries of its
// own); a time-out sends again here until the target's retries are used, as
// the request engine's exchange would.
struct Probe {
    netsnmp_session* ss = nullptr;
    int* result = nullptr;
    int sends = 0;
    int retries = 0;
    bool resend = false;
};

int probe_done(int op, netsnmp_session*, int, netsnmp_pdu*, void* magic) {
    Probe* p = static_cast<Probe*>(magic);
    if (op == NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE)
        *p->result = PROBE_ANSWERED;
    else if (op == NETSNMP_CALLBACK_OP_TIMED_OUT && p->sends <= p->retries)
        p->resend = true;
    else if (op == NETSNMP_CALLBACK_OP_TIMED_OUT)
        *p->result = PROBE_SILENT;
    else
        *p->result = PROBE_OTHER;
    return 1;
}

bool send_probe(Probe* p, const oid* name, size_t len) {
    netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GET);
    snmp_add_null_var(pdu, name, len);
    ++g_snmp_requests_sent;
    ++p->sends;
    p->resend = false;
    if (snmp_async_send(p->ss, pdu, probe_done, p) == 0) {
        snmp_free_pdu(pdu);
        return false;
    }
    return true;
}

// Starts the probe of one target; false when it could not be sent.
bool start_probe(const ProbeTarget& t, const oid* name, size_t len, Probe* p) {
    int rc = 0;
    p->ss = mm_snmp_open_peer(t.name, t.community, t.timeout, 0, &rc);
    p->retries = t.retries;
    return p->ss && send_probe(p, name, len);
}

// Waits (at most POLL_USEC) for answers and time-outs of the open sessions.
void poll_once() {
    int fds = 0, block = 1;
    fd_set set;
    FD_ZERO(&set);
    timeval tv{0, POLL_USEC};
    snmp_select_info(&fds, &set, &tv, &block);
    if (block || tv.tv_sec > 0 || tv.tv_usec > POLL_USEC)
        tv = timeval{0, POLL_USEC};
    int n = select(fds, &set, nullptr, nullptr, &tv);
    if (n > 0)
        snmp_read(&set);
    else if (n == 0)
        snmp_timeout();
}

} // namespace

std::vector<int> probe_reachable(const std::vector<ProbeTarget>& targets, int percent) {
    std::vector<int> results(targets.size(), PROBE_OTHER);
    int id = 0;
    oid name[MAX_OID_LEN];
    size_t len = MAX_OID_LEN;
    if (!get_check_mib_var("sysObjectID", &id) ||
        !parse_dotted_oid(mib_var(id)->oid_num + ".0", name, MAX_OID_LEN, &len))
        return results;
    mm_snmp_init();
    bool cancelled = false;
    for (size_t first = 0; first < targets.size() && !cancelled; first += MAX_PROBES_IN_FLIGHT) {
        size_t end = std::min(targets.size(), first + MAX_PROBES_IN_FLIGHT);
        std::vector<Probe> probes(end - first);
        int waiting = 0;
        for (size_t i = first; i < end; ++i) {
            Probe& p = probes[i - first];
            results[i] = PROBE_CANCELLED; // until the answer or time-out
            p.result = &results[i];
            if (start_probe(targets[i], name, len, &p))
                ++waiting;
            else
                results[i] = PROBE_OTHER;
        }
        // Each session ends by an answer or by its last retry's time-out.
        while (!cancelled &&
               std::count(results.begin() + first, results.begin() + end, PROBE_CANCELLED) > 0 &&
               waiting > 0) {
            poll_once();
            for (Probe& p : probes)
                if (p.resend && !send_probe(&p, name, len))
                    *p.result = PROBE_OTHER;
            cancelled = poll_cancel(percent);
        }
        for (Probe& p : probes)
            if (p.ss)
                snmp_close(p.ss);
    }
    return results;
}
