// The SNMP v1 agent of a simulated device. Net-SNMP decodes and encodes
// the messages; the answers (Get, GetNext, Set, error statuses, tooBig)
// are worked out here against the device's object view.
#include <cstdlib>
#include <cstring>
#include <memory>

#include "catalogue/mib_catalogue.h"
#include "sim_device.h"
#include "sim_live.h"

namespace {

struct PduFree {
    void operator()(netsnmp_pdu* p) const {
        if (p)
            snmp_free_pdu(p);
    }
};
using PduPtr = std::unique_ptr<netsnmp_pdu, PduFree>;

constexpr size_t ENCODE_BUFFER = 70000;

netsnmp_session* v1_session() {
    static netsnmp_session session;
    static bool ready = false;
    if (!ready) {
        snmp_sess_init(&session);
        session.version = SNMP_VERSION_1;
        session.sndMsgMaxSize = 65507;
        session.rcvMsgMaxSize = 65507;
        ready = true;
    }
    return &session;
}

// Encodes a PDU; returns false when the library refuses it.
bool encode_pdu(netsnmp_pdu* pdu, std::string* out) {
    size_t pkt_len = ENCODE_BUFFER;
    size_t offset = 0;
    u_char* pkt = static_cast<u_char*>(std::malloc(pkt_len));
    if (!pkt)
        return false;
    int rc = snmp_build(&pkt, &pkt_len, &offset, v1_session(), pdu);
    bool ok = rc == 0 && offset > 0 && offset <= pkt_len;
    if (ok)
        out->assign(reinterpret_cast<char*>(pkt + pkt_len - offset), offset);
    std::free(pkt);
    return ok;
}

PduPtr decode_pdu(const unsigned char* data, size_t len) {
    netsnmp_pdu* pdu = static_cast<netsnmp_pdu*>(std::calloc(1, sizeof(netsnmp_pdu)));
    if (!pdu)
        return nullptr;
    std::string copy(reinterpret_cast<const char*>(data), len);
    int rc = snmp_parse(nullptr, v1_session(), pdu,
                        reinterpret_cast<u_char*>(const_cast<char*>(copy.data())), len);
    if (rc != 0) {
        snmp_free_pdu(pdu);
        return nullptr;
    }
    return PduPtr(pdu);
}

// Uptime in hundredths of a second since the device started.
long uptime_ticks(const SimDevice& dev) {
    if (dev.profile.clock_step >= 0)
        return dev.requests * dev.profile.clock_step;
    auto d = std::chrono::steady_clock::now() - dev.start;
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(d).count() / 10);
}

void put_value(const SimDevice& dev, const ViewEntry& e, netsnmp_variable_list* vb) {
    snmp_set_var_objid(vb, e.name.data(), e.name.size());
    const SimValue& v = e.value;
    long num = e.builtin == BK_UPTIME ? uptime_ticks(dev) : live_value(dev, e, uptime_ticks(dev));
    switch (v.type) {
    case ASN_INTEGER:
        snmp_set_var_typed_value(vb, v.type, &num, sizeof num);
        break;
    case ASN_COUNTER:
    case ASN_GAUGE:
    case ASN_TIMETICKS: {
        u_long u = static_cast<u_long>(num) & 0xffffffffUL;
        snmp_set_var_typed_value(vb, v.type, &u, sizeof u);
        break;
    }
    case ASN_OBJECT_ID:
        snmp_set_var_typed_value(vb, v.type, v.objid.data(), v.objid.size() * sizeof(oid));
        break;
    case ASN_OCTET_STR:
    case ASN_IPADDRESS:
        snmp_set_var_typed_value(vb, v.type, v.bytes.data(), v.bytes.size());
        break;
    default:
        snmp_set_var_typed_value(vb, ASN_NULL, nullptr, 0);
        break;
    }
}

// True when a fault list names the object (NAME or NAME.INSTANCE).
bool names_entry(const std::vector<std::string>& names, const ViewEntry& e) {
    for (const std::string& g : names) {
        if (g == e.label || g == e.label + "." + e.instance)
            return true;
    }
    return false;
}

bool generr_hit(const SimDevice& dev, const ViewEntry& e) {
    return names_entry(dev.faults.generr, e);
}

struct Outcome {
    long status = SNMP_ERR_NOERROR;
    long index = 0;
};

// Fills the response varbinds for Get or GetNext; stops at the first error.
Outcome answer_reads(SimDevice* dev, netsnmp_pdu* resp, bool next) {
    long i = 0;
    for (netsnmp_variable_list* vb = resp->variables; vb; vb = vb->next_variable) {
        i++;
        ViewEntry* e = next ? dev->view.next(vb->name, vb->name_length)
                            : dev->view.find(vb->name, vb->name_length);
        if (!e)
            return {SNMP_ERR_NOSUCHNAME, i};
        if (generr_hit(*dev, *e))
            return {SNMP_ERR_GENERR, i};
        put_value(*dev, *e, vb);
    }
    return {};
}

// Checks one Set varbind against its object: type, length and range.
bool set_value_fits(const ViewEntry& e, const netsnmp_variable_list* vb, SimValue* out) {
    if (vb->type != e.value.type)
        return false;
    SimValue v;
    v.type = vb->type;
    switch (vb->type) {
    case ASN_INTEGER:
    case ASN_COUNTER:
    case ASN_GAUGE:
    case ASN_TIMETICKS:
        if (!vb->val.integer)
            return false;
        v.num = *vb->val.integer;
        break;
    case ASN_IPADDRESS:
        if (vb->val_len != 4)
            return false;
        v.bytes.assign(reinterpret_cast<const char*>(vb->val.string), 4);
        break;
    case ASN_OCTET_STR:
        if (vb->val_len > 1024)
            return false;
        v.bytes.assign(reinterpret_cast<const char*>(vb->val.string), vb->val_len);
        break;
    case ASN_OBJECT_ID: {
        size_t n = vb->val_len / sizeof(oid);
        if (n < 2 || n > 128)
            return false;
        v.objid.assign(vb->val.objid, vb->val.objid + n);
        break;
    }
    default:
        return false;
    }
    if (v.type == ASN_INTEGER) {
        int enum_id = e.cat_id >= 0 ? mib_data_list[e.cat_id]->enum_id : -1;
        if (enum_id >= 0) {
            bool member = false;
            for (const EnumEntry& m : mib_enum_list[enum_id])
                member = member || m.value == v.num;
            if (!member)
                return false;
        }
        if (e.enum_hi >= e.enum_lo && (v.num < e.enum_lo || v.num > e.enum_hi))
            return false;
    }
    *out = v;
    return true;
}

void log_control_set(const SimDevice& dev, const ViewEntry& e, ControlLog* log) {
    if (!log || !log->file || !is_control_variable(e.label))
        return;
    std::fprintf(log->file, "%s %s %s %s\n", dev.address.c_str(), e.label.c_str(),
                 e.instance.c_str(), value_to_text(e.value).c_str());
    std::fflush(log->file);
}

// A class 5 device reports its modems' control state in their status: a
// modem set available (1) shows Available (2), one busied out (2) Busy (3).
void follow_modem_control(SimDevice* dev, const ViewEntry& ctl) {
    if (ctl.label != "mdmCtlState" || (ctl.value.num != 1 && ctl.value.num != 2))
        return;
    for (ViewEntry& e : dev->view.entries)
        if (e.label == "mdmStatState" && e.instance == ctl.instance)
            e.value.num = ctl.value.num + 1;
}

// Validates every varbind first and changes nothing unless all are good.
Outcome answer_set(SimDevice* dev, netsnmp_pdu* req, ControlLog* log) {
    bool refuse_all = dev->allow_sets_entry ? dev->allow_sets_entry->value.num == 2
                                            : dev->profile.allow_sets == 2;
    std::vector<std::pair<ViewEntry*, SimValue>> changes;
    long i = 0;
    for (netsnmp_variable_list* vb = req->variables; vb; vb = vb->next_variable) {
        i++;
        ViewEntry* e = dev->view.find(vb->name, vb->name_length);
        if (!e)
            return {SNMP_ERR_NOSUCHNAME, i};
        if (refuse_all || !e->writable)
            return {SNMP_ERR_READONLY, i};
        if (generr_hit(*dev, *e))
            return {SNMP_ERR_GENERR, i};
        SimValue v;
        if (!set_value_fits(*e, vb, &v) || names_entry(dev->faults.set_refuse, *e))
            return {SNMP_ERR_BADVALUE, i};
        changes.emplace_back(e, v);
    }
    for (auto& c : changes) {
        // set_ignore: firmware that answers the Set and keeps the old value.
        if (names_entry(dev->faults.set_ignore, *c.first))
            continue;
        c.first->value = c.second;
        log_control_set(*dev, *c.first, log);
        follow_modem_control(dev, *c.first);
        if (c.first->label == "mrxcBoot" && dev->faults.boot_silence_ms > 0)
            dev->silent_until = std::chrono::steady_clock::now() +
                                std::chrono::milliseconds(dev->faults.boot_silence_ms);
    }
    return {};
}

// Number of leading varbinds of a response that fit into max bytes.
long varbinds_that_fit(netsnmp_pdu* resp, int max) {
    long count = 0;
    for (netsnmp_variable_list* vb = resp->variables; vb; vb = vb->next_variable)
        count++;
    for (long k = 1; k <= count; k++) {
        PduPtr part(snmp_clone_pdu(resp));
        netsnmp_variable_list* vb = part->variables;
        for (long j = 1; j < k && vb; j++)
            vb = vb->next_variable;
        if (vb && vb->next_variable) {
            snmp_free_varbind(vb->next_variable);
            vb->next_variable = nullptr;
        }
        std::string bytes;
        if (!encode_pdu(part.get(), &bytes) || static_cast<int>(bytes.size()) > max)
            return k - 1;
    }
    return count;
}

// A tooBig answer carrying the request's varbinds (none when even those do
// not fit).
bool encode_toobig(const SimDevice& dev, netsnmp_pdu* req, long index, std::string* out) {
    PduPtr resp(snmp_clone_pdu(req));
    resp->command = SNMP_MSG_RESPONSE;
    resp->errstat = SNMP_ERR_TOOBIG;
    resp->errindex = dev.faults.toobig_index ? index : 0;
    if (!encode_pdu(resp.get(), out))
        return false;
    if (static_cast<int>(out->size()) <= dev.profile.max_msg)
        return true;
    snmp_free_varbind(resp->variables);
    resp->variables = nullptr;
    return encode_pdu(resp.get(), out);
}

bool encode_error(netsnmp_pdu* req, const Outcome& o, std::string* out) {
    PduPtr resp(snmp_clone_pdu(req));
    resp->command = SNMP_MSG_RESPONSE;
    resp->errstat = o.status;
    resp->errindex = o.index;
    return encode_pdu(resp.get(), out);
}

long count_varbinds(const netsnmp_pdu* pdu) {
    long n = 0;
    for (netsnmp_variable_list* vb = pdu->variables; vb; vb = vb->next_variable)
        n++;
    return n;
}

// Works out the answer to a decoded request; false when none is sent.
bool answer_request(SimDevice* dev, netsnmp_pdu* req, ControlLog* log, std::string* out) {
    long n = count_varbinds(req);
    if (dev->faults.max_vars > 0 && n > dev->faults.max_vars)
        return encode_toobig(*dev, req, dev->faults.max_vars + 1, out);
    Outcome o;
    PduPtr resp(snmp_clone_pdu(req));
    if (!resp)
        return false;
    resp->command = SNMP_MSG_RESPONSE;
    if (req->command == SNMP_MSG_SET)
        o = answer_set(dev, req, log);
    else
        o = answer_reads(dev, resp.get(), req->command == SNMP_MSG_GETNEXT);
    if (o.status != SNMP_ERR_NOERROR)
        return encode_error(req, o, out);
    tamper_answer(dev->faults.tamper, req, resp.get());
    if (!encode_pdu(resp.get(), out))
        return false;
    if (static_cast<int>(out->size()) <= dev->profile.max_msg)
        return true;
    long fit = varbinds_that_fit(resp.get(), dev->profile.max_msg);
    return encode_toobig(*dev, req, fit + 1, out);
}

// "ADDR TYPE OID[=VALUE] ..." for a request taken: the type G, N or S, the
// value of a Set as its tag and bytes in hexadecimal.
void log_request(const SimDevice& dev, const netsnmp_pdu* req, FILE* f) {
    char type = req->command == SNMP_MSG_SET ? 'S' : req->command == SNMP_MSG_GETNEXT ? 'N' : 'G';
    std::string line = dev.address + " " + type;
    for (const netsnmp_variable_list* vb = req->variables; vb; vb = vb->next_variable) {
        line += " ";
        for (size_t i = 0; i < vb->name_length; ++i)
            line += (i ? "." : "") + std::to_string(vb->name[i]);
        if (req->command != SNMP_MSG_SET)
            continue;
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", vb->type);
        line += std::string("=") + hex + ":";
        for (size_t i = 0; i < vb->val_len && vb->val.string; ++i) {
            std::snprintf(hex, sizeof hex, "%02X", vb->val.string[i]);
            line += hex;
        }
    }
    std::fprintf(f, "%s\n", line.c_str());
    std::fflush(f);
}

} // namespace

bool encode_sim_pdu(netsnmp_pdu* pdu, std::string* out) {
    return encode_pdu(pdu, out);
}

long sim_uptime_ticks(const SimDevice& dev) {
    return uptime_ticks(dev);
}

void init_sim_snmp() {
    setenv("MIBS", "", 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
    // Malformed requests are expected; the library is not to report them.
    snmp_disable_log();
    netsnmp_register_loghandler(NETSNMP_LOGHANDLER_NONE, LOG_EMERG);
    // No init_snmp: it would read configuration and create state folders;
    // encoding and decoding need only the session defaults.
    v1_session();
}

bool is_control_variable(const std::string& name) {
    static const char* const names[] = {"mrxcReset",     "mrxcBoot",       "mrxcBcast",
                                        "charPortReset", "mrxpModemReset", "mrxt1ResetPRI"};
    for (const char* n : names) {
        if (name == n)
            return true;
    }
    return false;
}

void handle_snmp_datagram(SimDevice* dev, const unsigned char* data, size_t len, ControlLog* log,
                          std::vector<std::string>* replies) {
    if (len < 2 || data[0] != 0x30)
        return;
    PduPtr req = decode_pdu(data, len);
    if (!req || req->version != SNMP_VERSION_1)
        return;
    if (req->command != SNMP_MSG_GET && req->command != SNMP_MSG_GETNEXT &&
        req->command != SNMP_MSG_SET)
        return;
    const std::string& comm = dev->profile.community;
    if (!req->community || req->community_len != comm.size() ||
        std::memcmp(req->community, comm.data(), comm.size()) != 0)
        return;
    dev->requests++;
    if (log && log->requests)
        log_request(*dev, req.get(), log->requests);
    std::string answer;
    if (!answer_request(dev, req.get(), log, &answer))
        return;
    if (std::chrono::steady_clock::now() < dev->silent_until)
        return; // the boot began: this Set goes unanswered
    if (dev->faults.stray) {
        PduPtr stray =
            decode_pdu(reinterpret_cast<const unsigned char*>(answer.data()), answer.size());
        std::string bytes;
        if (stray) {
            stray->reqid = (stray->reqid + 7919) & 0x7fffffff;
            if (encode_pdu(stray.get(), &bytes))
                replies->push_back(bytes);
        }
    }
    replies->push_back(answer);
}
