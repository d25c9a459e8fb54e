// Helpers of the simulator tests: SNMP v1 messages built and read with
// Net-SNMP, and a small UDP client.
#pragma once

#include <arpa/inet.h>
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "catalogue/mib_catalogue.h"
#include "support/sim_process.h"
#include "ui/app_globals.h"

// Reads the staged catalogue once (the one the simulator reads too).
inline bool load_test_catalogue() {
    static int rc = -1;
    if (rc != 0) {
        mm_dir = sim_catalogue_dir();
        rc = read_mib_info(".");
    }
    return rc == 0;
}

// The identifier of a catalogue variable by name, with an instance.
inline std::string cat_oid(const std::string& name, const std::string& instance = "0") {
    int id = -1;
    if (!load_test_catalogue() || !get_check_mib_var(name, &id))
        return "0.0";
    return mib_data_list[id]->oid_num + "." + instance;
}

// One variable of a request: identifier text, and for Sets a Net-SNMP type
// letter (i, s, a, o, u, t, c) and value text.
struct TestVar {
    TestVar(std::string o, char t = 0, std::string v = "")
        : oid(std::move(o)), type(t), value(std::move(v)) {}
    std::string oid;
    char type = 0;
    std::string value;
};

inline netsnmp_session* test_session(const std::string& community, long version) {
    static netsnmp_session s;
    static std::string comm;
    snmp_sess_init(&s);
    comm = community;
    s.version = version;
    s.community = reinterpret_cast<u_char*>(&comm[0]);
    s.community_len = comm.size();
    return &s;
}

// Encodes a request; reqid chosen by the caller.
inline std::string encode_request(int command, const std::vector<TestVar>& vars, long reqid = 4242,
                                  const std::string& community = "vantor",
                                  long version = SNMP_VERSION_1) {
    netsnmp_pdu* pdu = snmp_pdu_create(command);
    pdu->reqid = reqid;
    pdu->msgid = reqid;
    for (const TestVar& v : vars) {
        oid name[MAX_OID_LEN];
        size_t len = MAX_OID_LEN;
        if (!snmp_parse_oid(v.oid.c_str(), name, &len))
            std::abort();
        if (v.type)
            snmp_add_var(pdu, name, len, v.type, v.value.c_str());
        else
            snmp_add_null_var(pdu, name, len);
    }
    netsnmp_session* s = test_session(community, version);
    pdu->community = static_cast<u_char*>(malloc(community.size() + 1));
    memcpy(pdu->community, community.data(), community.size());
    pdu->community_len = community.size();
    pdu->version = version;
    size_t pkt_len = 70000, offset = 0;
    u_char* pkt = static_cast<u_char*>(malloc(pkt_len));
    std::string out;
    if (snmp_build(&pkt, &pkt_len, &offset, s, pdu) == 0)
        out.assign(reinterpret_cast<char*>(pkt + pkt_len - offset), offset);
    free(pkt);
    snmp_free_pdu(pdu);
    return out;
}

// A decoded response.
struct TestResponse {
    bool ok = false;
    long reqid = 0;
    long errstat = 0;
    long errindex = 0;
    std::vector<std::string> names;  // dotted
    std::vector<std::string> values; // printed by type: numbers, text, dotted
    std::vector<int> types;
};

inline std::string dotted(const oid* name, size_t len) {
    std::string s;
    for (size_t i = 0; i < len; i++)
        s += (i ? "." : "") + std::to_string(name[i]);
    return s;
}

inline std::string value_text(const netsnmp_variable_list* vb) {
    switch (vb->type) {
    case ASN_INTEGER:
    case ASN_COUNTER:
    case ASN_GAUGE:
    case ASN_TIMETICKS:
        return std::to_string(*vb->val.integer);
    case ASN_OCTET_STR:
        return std::string(reinterpret_cast<char*>(vb->val.string), vb->val_len);
    case ASN_IPADDRESS: {
        const u_char* b = vb->val.string;
        return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) +
               "." + std::to_string(b[3]);
    }
    case ASN_OBJECT_ID:
        return dotted(vb->val.objid, vb->val_len / sizeof(oid));
    default:
        return "";
    }
}

inline TestResponse decode_response(const std::string& bytes) {
    TestResponse r;
    netsnmp_pdu* pdu = static_cast<netsnmp_pdu*>(calloc(1, sizeof(netsnmp_pdu)));
    std::string copy = bytes;
    netsnmp_session* s = test_session("", SNMP_VERSION_1);
    if (snmp_parse(nullptr, s, pdu, reinterpret_cast<u_char*>(&copy[0]), copy.size()) == 0 &&
        pdu->command == SNMP_MSG_RESPONSE) {
        r.ok = true;
        r.reqid = pdu->reqid;
        r.errstat = pdu->errstat;
        r.errindex = pdu->errindex;
        for (netsnmp_variable_list* vb = pdu->variables; vb; vb = vb->next_variable) {
            r.names.push_back(dotted(vb->name, vb->name_length));
            r.values.push_back(value_text(vb));
            r.types.push_back(vb->type);
        }
    }
    snmp_free_pdu(pdu);
    return r;
}

// A UDP client socket bound to an address of its own on loopback.
class TestUdp {
  public:
    explicit TestUdp(const std::string& local = "127.0.0.1", bool broadcast = false) {
        fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        inet_pton(AF_INET, local.c_str(), &a.sin_addr);
        bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        int on = 1;
        if (broadcast)
            setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    }
    ~TestUdp() { close(fd_); }
    TestUdp(const TestUdp&) = delete;
    TestUdp& operator=(const TestUdp&) = delete;

    bool send_to(const std::string& addr, int port, const std::string& data) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(port));
        inet_pton(AF_INET, addr.c_str(), &a.sin_addr);
        return sendto(fd_, data.data(), data.size(), 0, reinterpret_cast<sockaddr*>(&a),
                      sizeof a) == static_cast<ssize_t>(data.size());
    }
    // Receives one datagram within timeout_ms; false on time-out.
    bool recv(std::string* data, int timeout_ms, sockaddr_in* from = nullptr) {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, timeout_ms) <= 0)
            return false;
        char buf[70000];
        sockaddr_in f{};
        socklen_t flen = sizeof f;
        ssize_t n = recvfrom(fd_, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&f), &flen);
        if (n < 0)
            return false;
        data->assign(buf, static_cast<size_t>(n));
        if (from)
            *from = f;
        return true;
    }

  private:
    int fd_ = -1;
};

// The 22-byte discovery request.
inline std::string discovery_request(uint32_t sender = 0x01020304) {
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8)
        s.push_back(static_cast<char>((sender >> shift) & 0xff));
    return s + std::string("\x00\x22\x80\x00\xff\xff\xff\xff\x04\x00\x00\x00\x00"
                           "\xff\xff\xff\xff\x00",
                           18);
}

// A remote file call: id, procedure, arguments (program 1, version 0 unless given).
inline std::string fs_call(uint32_t id, int proc, const std::string& args, uint32_t program = 1,
                           int version = 0) {
    auto u16 = [](unsigned v) {
        return std::string{static_cast<char>((v >> 8) & 0xff), static_cast<char>(v & 0xff)};
    };
    return u16(id >> 16) + u16(id & 0xffff) + u16(0x20) + u16(0) + u16(0) + u16(program >> 16) +
           u16(program & 0xffff) + u16(version) + u16(proc) + args;
}

inline std::string fs_u16s(std::initializer_list<unsigned> values) {
    std::string s;
    for (unsigned v : values) {
        s.push_back(static_cast<char>((v >> 8) & 0xff));
        s.push_back(static_cast<char>(v & 0xff));
    }
    return s;
}

inline std::string fs_open_args(int mode, const std::string& path) {
    return fs_u16s({0, static_cast<unsigned>(mode), static_cast<unsigned>(path.size())}) + path;
}

inline unsigned fs_get16(const std::string& m, size_t at) {
    return at + 1 < m.size()
               ? (static_cast<unsigned char>(m[at]) << 8) | static_cast<unsigned char>(m[at + 1])
               : 0xffffffffu;
}
