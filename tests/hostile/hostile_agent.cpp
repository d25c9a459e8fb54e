#include "hostile/hostile_agent.h"

#include <arpa/inet.h>
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

int bound_socket(const std::string& addr, int port) {
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, addr.c_str(), &sa.sin_addr);
    if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

netsnmp_session* v1() {
    static netsnmp_session s;
    static bool ready = false;
    if (!ready) {
        snmp_sess_init(&s);
        s.version = SNMP_VERSION_1;
        ready = true;
    }
    return &s;
}

void set_string(netsnmp_variable_list* v, const char* text) {
    snmp_set_var_typed_value(v, ASN_OCTET_STR, text, std::strlen(text));
}

void tamper(netsnmp_pdu* pdu, TamperMode mode) {
    static const oid sys_descr[] = {1, 3, 6, 1, 2, 1, 1, 1, 0};
    std::vector<netsnmp_variable_list*> vars;
    for (netsnmp_variable_list* v = pdu->variables; v; v = v->next_variable)
        vars.push_back(v);
    if (vars.empty())
        return;
    switch (mode) {
    case TM_RENAME:
        for (auto* v : vars)
            snmp_set_var_objid(v, sys_descr, 9);
        break;
    case TM_REORDER:
        for (size_t i = vars.size(); i-- > 0;)
            vars[i]->next_variable = i > 0 ? vars[i - 1] : nullptr;
        pdu->variables = vars.back();
        break;
    case TM_DROP_LAST:
        if (vars.size() == 1)
            pdu->variables = nullptr;
        else
            vars[vars.size() - 2]->next_variable = nullptr;
        snmp_free_var(vars.back());
        break;
    case TM_EXTRA:
        snmp_pdu_add_variable(pdu, sys_descr, 9, ASN_OCTET_STR, "x", 1);
        break;
    case TM_EMPTY:
        snmp_free_varbind(pdu->variables);
        pdu->variables = nullptr;
        break;
    case TM_WRONG_TYPE:
        for (auto* v : vars) {
            if (v->type == ASN_OCTET_STR) {
                long n = 7;
                snmp_set_var_typed_value(v, ASN_INTEGER, &n, sizeof n);
            } else {
                set_string(v, "7");
            }
        }
        break;
    default:
        break;
    }
}

// Returns the tampered reply to a request (GetNext answers named as asked
// for TM_SAME_NAME), or "" when it cannot be worked on.
std::string rework(const std::string& request, const std::string& reply, TamperMode mode) {
    netsnmp_pdu* pdu = static_cast<netsnmp_pdu*>(std::calloc(1, sizeof(netsnmp_pdu)));
    std::string copy = reply;
    if (snmp_parse(nullptr, v1(), pdu, reinterpret_cast<u_char*>(&copy[0]), copy.size()) != 0) {
        snmp_free_pdu(pdu);
        return reply;
    }
    if (mode == TM_SAME_NAME) {
        netsnmp_pdu* req = static_cast<netsnmp_pdu*>(std::calloc(1, sizeof(netsnmp_pdu)));
        std::string rq = request;
        if (snmp_parse(nullptr, v1(), req, reinterpret_cast<u_char*>(&rq[0]), rq.size()) == 0) {
            netsnmp_variable_list* a = pdu->variables;
            for (netsnmp_variable_list* q = req->variables; q && a; q = q->next_variable) {
                snmp_set_var_objid(a, q->name, q->name_length);
                a = a->next_variable;
            }
        }
        snmp_free_pdu(req);
    } else if (pdu->errstat == SNMP_ERR_NOERROR) {
        tamper(pdu, mode);
    }
    size_t len = 70000, off = 0;
    u_char* pkt = static_cast<u_char*>(std::malloc(len));
    std::string out = reply;
    if (snmp_build(&pkt, &len, &off, v1(), pdu) == 0)
        out.assign(reinterpret_cast<char*>(pkt + len - off), off);
    std::free(pkt);
    snmp_free_pdu(pdu);
    return out;
}

bool readable(int fd, int ms) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, ms) > 0;
}

} // namespace

HostileAgent::HostileAgent(const std::string& listen, const std::string& upstream, TamperMode mode)
    : upstream_(upstream), mode_(mode) {
    fd_ = bound_socket(listen, 161);
    up_fd_ = bound_socket(listen, 0);
    if (fd_ >= 0 && up_fd_ >= 0)
        thread_ = std::thread([this] { run(); });
}

HostileAgent::~HostileAgent() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    if (fd_ >= 0)
        close(fd_);
    if (up_fd_ >= 0)
        close(up_fd_);
}

void HostileAgent::run() {
    sockaddr_in up{};
    up.sin_family = AF_INET;
    up.sin_port = htons(161);
    inet_pton(AF_INET, upstream_.c_str(), &up.sin_addr);
    std::vector<char> buf(65536);
    while (!stop_) {
        if (!readable(fd_, 50))
            continue;
        sockaddr_in from{};
        socklen_t fl = sizeof from;
        ssize_t n =
            recvfrom(fd_, buf.data(), buf.size(), 0, reinterpret_cast<sockaddr*>(&from), &fl);
        if (n <= 0)
            continue;
        ++requests_;
        std::string request(buf.data(), static_cast<size_t>(n));
        sendto(up_fd_, request.data(), request.size(), 0, reinterpret_cast<sockaddr*>(&up),
               sizeof up);
        if (!readable(up_fd_, 2000))
            continue;
        n = recv(up_fd_, buf.data(), buf.size(), 0);
        if (n <= 0)
            continue;
        std::string reply = rework(request, std::string(buf.data(), static_cast<size_t>(n)), mode_);
        sendto(fd_, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&from), fl);
    }
}

std::string flood_addr(int i) {
    return "127.200." + std::to_string(i / 250) + "." + std::to_string(i % 250 + 1);
}

DiscoveryFlood::DiscoveryFlood(const std::string& listen, int count) : count_(count) {
    fd_ = bound_socket(listen, 121);
    if (fd_ >= 0)
        thread_ = std::thread([this] { run(); });
}

DiscoveryFlood::~DiscoveryFlood() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    if (fd_ >= 0)
        close(fd_);
}

void DiscoveryFlood::run() {
    uint8_t req[64];
    while (!stop_) {
        if (!readable(fd_, 50))
            continue;
        sockaddr_in from{};
        socklen_t fl = sizeof from;
        if (recvfrom(fd_, req, sizeof req, 0, reinterpret_cast<sockaddr*>(&from), &fl) <= 0)
            continue;
        for (int i = 0; i < count_ && !stop_; ++i) {
            uint8_t reply[40] = {};
            in_addr a{};
            inet_pton(AF_INET, flood_addr(i).c_str(), &a);
            std::memcpy(reply + 18, &a, 4);
            sendto(fd_, reply, sizeof reply, 0, reinterpret_cast<sockaddr*>(&from), fl);
            if (i % 200 == 199)
                usleep(2000); // leave the receiver time to drain its buffer
        }
    }
}

SilentPort::SilentPort() {
    fd_ = socket(AF_INET, SOCK_DGRAM, 0);
    int on = 1;
    setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(161);
    if (fd_ >= 0 && bind(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
        close(fd_);
        fd_ = -1;
    }
}

SilentPort::~SilentPort() {
    if (fd_ >= 0)
        close(fd_);
}
