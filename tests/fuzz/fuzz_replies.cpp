// Fuzz entry for what peers send: SNMP answers and discovery replies. An
// odd first byte: the rest is a run of discovery datagrams (a length byte
// and its bytes each) for a broadcast to 10.1.2.255 of network 10.1.2.0;
// every address taken must be a usable device address from bytes 18..21.
// An even one: the rest rewrites bytes of a well-formed answer to a
// three-variable request (or, longer than 200 bytes, is the whole message),
// checked the way the engine checks it; an accepted answer must name what
// was asked. The first byte also picks Get, Set or GetNext.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <arpa/inet.h>

#include "devices/discovery.h"
#include "snmp_access/snmp_checks.h"
#include "snmp_access/snmp_engine.h"

namespace {

struct Counts {
    long accepted = 0, refused = 0, undecoded = 0, taken = 0, ignored = 0;
    ~Counts() {
        std::printf("answers accepted %ld, refused %ld, not decoded %ld; discovery replies "
                    "taken %ld, ignored %ld\n",
                    accepted, refused, undecoded, taken, ignored);
    }
} g_counts;

void dsc_replies(const uint8_t* data, size_t size) {
    size_t i = 0;
    while (i < size) {
        size_t len = std::min<size_t>(data[i], size - i - 1);
        ++i;
        const uint8_t* d = data + i;
        std::string addr = dsc_take_reply(d, len, "10.1.2.255", "10.1.2.0");
        i += len;
        if (addr.empty()) {
            ++g_counts.ignored;
            continue;
        }
        ++g_counts.taken;
        in_addr a{};
        if (len < 22 || inet_pton(AF_INET, addr.c_str(), &a) != 1)
            std::abort();
        const uint8_t* b = reinterpret_cast<const uint8_t*>(&a.s_addr);
        uint32_t v = ntohl(a.s_addr);
        if (std::memcmp(b, d + 18, 4) != 0 || v == 0 || v >= 0xE0000000u || addr == "10.1.2.0" ||
            addr == "10.1.2.255")
            std::abort();
    }
}

netsnmp_session* v1() {
    static netsnmp_session s;
    static bool ready = false;
    if (!ready) {
        mm_snmp_init();
        snmp_disable_log(); // decoding complaints of the library
        snmp_sess_init(&s);
        s.version = SNMP_VERSION_1;
        ready = true;
    }
    return &s;
}

const std::vector<SentVar>& request() {
    static std::vector<SentVar> sent;
    if (sent.empty()) {
        sent.push_back({{1, 3, 6, 1, 2, 1, 1, 1, 0}, {1, 3, 6, 1, 2, 1, 1, 1}, 2});
        sent.push_back({{1, 3, 6, 1, 2, 1, 2, 1, 0}, {1, 3, 6, 1, 2, 1, 2, 1}, 3});
        sent.push_back({{1, 3, 6, 1, 2, 1, 1, 2, 0}, {1, 3, 6, 1, 2, 1, 1, 2}, 1});
    }
    return sent;
}

// The encoded well-formed answer.
const std::string& good_answer() {
    static std::string bytes;
    if (!bytes.empty())
        return bytes;
    netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_RESPONSE);
    pdu->community = reinterpret_cast<u_char*>(strdup("vantor"));
    pdu->community_len = 6;
    pdu->version = SNMP_VERSION_1;
    long n = 48;
    oid id[] = {1, 3, 6, 1, 4, 1, 9999, 1, 3, 10};
    const auto& s = request();
    snmp_pdu_add_variable(pdu, s[0].name.data(), s[0].name.size(), ASN_OCTET_STR, "Morix", 5);
    snmp_pdu_add_variable(pdu, s[1].name.data(), s[1].name.size(), ASN_INTEGER, &n, sizeof n);
    snmp_pdu_add_variable(pdu, s[2].name.data(), s[2].name.size(), ASN_OBJECT_ID, id, sizeof id);
    size_t len = 4096, off = 0;
    u_char* pkt = static_cast<u_char*>(std::malloc(len));
    if (snmp_build(&pkt, &len, &off, v1(), pdu) != 0)
        std::abort();
    bytes.assign(reinterpret_cast<char*>(pkt + len - off), off);
    std::free(pkt);
    snmp_free_pdu(pdu);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    if (data[0] & 1) {
        dsc_replies(data + 1, size - 1);
        return 0;
    }
    v1();
    int op = 1 + (data[0] >> 1) % 3;
    std::string msg = good_answer();
    if (size > 200) {
        msg.assign(reinterpret_cast<const char*>(data + 1), size - 1);
    } else {
        // A few rewritten bytes keep most answers decodable.
        for (size_t i = 1; i + 1 < size && i < 9; i += 2)
            msg[data[i] % msg.size()] = static_cast<char>(data[i + 1]);
    }
    netsnmp_pdu* pdu = static_cast<netsnmp_pdu*>(std::calloc(1, sizeof(netsnmp_pdu)));
    if (snmp_parse(nullptr, v1(), pdu, reinterpret_cast<u_char*>(&msg[0]), msg.size()) != 0 ||
        pdu->errstat != SNMP_ERR_NOERROR) {
        ++g_counts.undecoded;
        snmp_free_pdu(pdu);
        return 0;
    }
    const auto& sent = request();
    if (!answer_matches(pdu, sent, op)) {
        ++g_counts.refused;
        snmp_free_pdu(pdu);
        return 0;
    }
    ++g_counts.accepted;
    size_t k = 0;
    for (const netsnmp_variable_list* v = pdu->variables; v; v = v->next_variable, ++k) {
        if (k >= sent.size())
            std::abort(); // more answers than asked for
        int cmp =
            snmp_oid_compare(v->name, v->name_length, sent[k].name.data(), sent[k].name.size());
        if (op == SNMP_OP_GETNEXT ? cmp <= 0 : cmp != 0)
            std::abort(); // an answer that does not fit its request
        if (op == SNMP_OP_GET && !answer_type_fits(sent[k].data_type, v->type))
            std::abort();
        sprint_by_type(v);
        sprint_objid(v->name, v->name_length);
    }
    if (k != sent.size())
        std::abort();
    snmp_free_pdu(pdu);
    return 0;
}
