// Network discovery: the discovery datagram exchange, the prompt, the
// broadcast address rules and the hand-over of the responders to the list
// loader through a temporary list file.
#include "devices/discovery.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "devices/mrx_list_file.h"
#include "snmp_access/port_inst.h"
#include "ui/app_globals.h"

namespace {

const char* const k_addr_label = "Internet Address";
const char* const k_mask_label = "Subnet Mask";
const char* const k_to_label = "Timeout";
const char* const k_none = "None";
const char* const k_no_valid = "No valid Morixes were discovered.";
const char* const k_tmp_dir = "/tmp";
constexpr size_t PROMPT_FIELD_MAX = 24;

// A datagram socket closed when it goes out of scope.
struct UdpSocket {
    int fd = -1;
    UdpSocket() : fd(socket(AF_INET, SOCK_DGRAM, 0)) {}
    ~UdpSocket() {
        if (fd >= 0)
            close(fd);
    }
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;
};

// Socket bound to any local address and port 0, allowed to broadcast.
bool open_dsc_socket(UdpSocket& s) {
    if (s.fd < 0)
        return false;
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_addr.s_addr = htonl(INADDR_ANY);
    any.sin_port = 0;
    if (bind(s.fd, reinterpret_cast<sockaddr*>(&any), sizeof any) != 0)
        return false;
    int on = 1;
    return setsockopt(s.fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) == 0;
}

// Appends the names of the replies that arrive until the deadline. The
// wait is bounded by the monotonic clock, so it ends even when datagrams
// keep arriving or the receive is interrupted.
void collect_replies(int fd, std::chrono::steady_clock::time_point deadline,
                     const std::string& target, const std::string& network,
                     std::vector<std::string>* names, bool* over) {
    using std::chrono::milliseconds;
    for (;;) {
        auto left =
            std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return;
        pollfd p{fd, POLLIN, 0};
        int ready = poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), INT_MAX)));
        if (ready <= 0)
            continue; // time-out is checked above; EINTR and errors loop
        uint8_t buf[DSC_REPLY_BUF];
        ssize_t n = recv(fd, buf, sizeof buf, 0);
        if (n <= 0)
            continue;
        std::string addr = dsc_take_reply(buf, static_cast<size_t>(n), target, network);
        if (addr.empty())
            continue; // too short, or an address no device has
        std::string name = dsc_host_name(addr);
        if (!name.empty())
            names->push_back(name);
        if (names->size() >= static_cast<size_t>(MAX_DSC_ADDRS)) {
            *over = true;
            return;
        }
    }
}

// A prompt field without surrounding blanks, at most 24 characters.
std::string prompt_field(std::string text) {
    std::string s = strip_blanks(&text);
    if (s.size() > PROMPT_FIELD_MAX)
        s.resize(PROMPT_FIELD_MAX);
    return s;
}

// Seconds typed in a field: the leading decimal number, 0 when none.
int field_seconds(const std::string& text) {
    long v = std::strtol(text.c_str(), nullptr, 10);
    if (v < 0)
        return 0;
    return v > INT_MAX ? INT_MAX : static_cast<int>(v);
}

std::string or_none(const std::string& text) {
    return text.empty() ? k_none : text;
}

int refuse_bcast(const std::string& address, const std::string& mask, std::string* refusal) {
    if (refusal)
        *refusal = std::string("Invalid broadcast address.\n") + "\n" + k_addr_label + ": " +
                   or_none(address) + "\n" + k_mask_label + ": " + or_none(mask) + "\n";
    return -1;
}

Outcome failed_with(const std::string& warning) {
    Outcome out;
    out.result = Result::failed;
    out.warnings.push_back(warning);
    return out;
}

} // namespace

std::vector<uint8_t> build_dsc_request(uint32_t pid) {
    std::vector<uint8_t> r(DSC_REQUEST_LEN, 0);
    r[0] = static_cast<uint8_t>(pid >> 24);
    r[1] = static_cast<uint8_t>(pid >> 16);
    r[2] = static_cast<uint8_t>(pid >> 8);
    r[3] = static_cast<uint8_t>(pid);
    r[4] = 0x00;
    r[5] = 0x22;
    r[6] = 0x80;
    r[7] = 0x00;
    for (int i = 8; i < 12; ++i)
        r[i] = 0xFF;
    r[12] = 0x04;
    // bytes 13..16 stay 0
    for (int i = 17; i < 21; ++i)
        r[i] = 0xFF;
    r[21] = 0x00;
    return r;
}

std::string dsc_reply_addr(const uint8_t* data, size_t length) {
    if (!data || length < static_cast<size_t>(DSC_REQUEST_LEN))
        return "";
    char buf[INET_ADDRSTRLEN];
    std::snprintf(buf, sizeof buf, "%u.%u.%u.%u", data[18], data[19], data[20], data[21]);
    return buf;
}

bool dsc_addr_usable(const std::string& dotted, const std::string& target,
                     const std::string& network) {
    in_addr a{};
    if (inet_pton(AF_INET, dotted.c_str(), &a) != 1)
        return false;
    uint32_t v = ntohl(a.s_addr);
    if (v == 0 || v >= 0xE0000000u) // 0.0.0.0; multicast, reserved, broadcast
        return false;
    in_addr n{};
    if (network.empty() || inet_pton(AF_INET, network.c_str(), &n) != 1)
        return true;
    return dotted != network && dotted != target;
}

std::string dsc_take_reply(const uint8_t* data, size_t length, const std::string& target,
                           const std::string& network) {
    std::string addr = dsc_reply_addr(data, length);
    return !addr.empty() && dsc_addr_usable(addr, target, network) ? addr : "";
}

std::string dsc_host_name(const std::string& dotted) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    if (inet_pton(AF_INET, dotted.c_str(), &sa.sin_addr) != 1)
        return dotted;
    char host[NI_MAXHOST];
    if (getnameinfo(reinterpret_cast<sockaddr*>(&sa), sizeof sa, host, sizeof host, nullptr, 0,
                    NI_NAMEREQD) != 0)
        return dotted;
    return host;
}

std::vector<std::string> disc(const std::string& address, int timeout, const std::string& network,
                              bool* over) {
    std::vector<std::string> names;
    bool over_local = false;
    if (!over)
        over = &over_local;
    *over = false;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(DSC_PORT);
    if (address.empty() || inet_pton(AF_INET, address.c_str(), &to.sin_addr) != 1)
        return names;
    UdpSocket s;
    if (!open_dsc_socket(s))
        return names;
    std::vector<uint8_t> req = build_dsc_request(static_cast<uint32_t>(getpid()));
    if (sendto(s.fd, req.data(), req.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) !=
        static_cast<ssize_t>(req.size()))
        return names;
    auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(timeout > 0 ? timeout : 0);
    collect_replies(s.fd, deadline, address, network, &names, over);
    return names;
}

// ---- the prompt ---------------------------------------------------------------

int check_dsc_prompt(const DscPromptRequest& req, DscPromptFields* fields, std::string* refusal) {
    fields->address = prompt_field(req.address);
    fields->mask = prompt_field(req.mask);
    fields->timeout = field_seconds(prompt_field(req.timeout));
    const struct {
        std::string* text;
        const char* label;
    } checked[] = {{&fields->address, k_addr_label}, {&fields->mask, k_mask_label}};
    for (int i = 0; i < 2; ++i) {
        if (!check_ip_addr_fmt(checked[i].text)) {
            *refusal = std::string("Invalid IP Address Format") + ": " + checked[i].label + ".";
            return i;
        }
    }
    return -1;
}

// ---- network discovery --------------------------------------------------------

std::string dsc_header_text(const std::string& address, const std::string& mask,
                            bool default_bcast) {
    std::string h = std::string(k_addr_label) + ": " + or_none(address) + "\n" + k_mask_label +
                    ": " + or_none(mask) + "\n\n";
    if (default_bcast)
        h += "Using the default broadcast address.\n";
    return h;
}

int dsc_bcast_for(const std::string& address, const std::string& mask, int allow_default,
                  std::string* bcast, std::string* header, std::string* refusal) {
    std::string a_in = address, m_in = mask;
    std::string a = strip_blanks(&a_in), m = strip_blanks(&m_in);
    bool both_absent = a.empty() && m.empty();
    if ((a.empty() || m.empty()) && !(allow_default && both_absent))
        return refuse_bcast(a, m, refusal);
    if (get_bcast_addr(a, m, bcast, 1) != 0 && !both_absent)
        return refuse_bcast(a, m, refusal);
    *header = dsc_header_text(a, m, *bcast == DSC_DEFAULT_BCAST);
    return 0;
}

Outcome plan_net_discovery(const std::string& address, const std::string& mask, int timeout,
                           int allow_default, NetDiscoveryRequest* req) {
    Outcome out;
    std::string refusal;
    if (dsc_bcast_for(address, mask, allow_default, &req->bcast, &req->header, &refusal) != 0) {
        out.result = Result::refused;
        out.warnings.push_back(refusal);
        return out;
    }
    req->timeout = timeout < 1 ? DSC_DEFAULT_TIMEOUT : timeout;
    // The target network's address, when address and mask give a network
    // with a network and a broadcast address (at least two host bits).
    std::string a_in = address, m_in = mask;
    req->network.clear();
    in_addr a{}, m{};
    if (inet_pton(AF_INET, strip_blanks(&a_in).c_str(), &a) == 1 &&
        inet_pton(AF_INET, strip_blanks(&m_in).c_str(), &m) == 1 && ~ntohl(m.s_addr) >= 3) {
        in_addr net{a.s_addr & m.s_addr};
        char buf[INET_ADDRSTRLEN];
        req->network = inet_ntop(AF_INET, &net, buf, sizeof buf);
    }
    return out;
}

std::string dsc_work_text(const NetDiscoveryRequest& req) {
    int timeout = req.timeout < 1 ? DSC_DEFAULT_TIMEOUT : req.timeout;
    return req.header + "Broadcasting to: " + req.bcast + "\nTimeout: " + std::to_string(timeout) +
           "\n\nDiscovering Morixes. Please be patient.";
}

int write_dsc_list_file(const std::string& dir, const std::vector<std::string>& names,
                        std::string* path) {
    // A fresh name each time, created exclusively with mode 0600: nothing
    // planted under a known name in a shared folder is followed or reused.
    std::string templ = dir + "/tmp.dsc_list.XXXXXX";
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    int fd = mkstemp(buf.data());
    if (fd < 0)
        return -1;
    *path = buf.data();
    std::FILE* f = fdopen(fd, "w");
    if (!f) {
        close(fd);
        unlink(path->c_str());
        return -1;
    }
    std::string text = version_header(DFK_MRX_LIST) + "#\n";
    int lines = 0;
    for (const std::string& n : names) {
        if (n.empty())
            continue;
        text += n + " | " + mm_snmp_def_comm + " | " + std::to_string(mm_snmp_def_to) + " | " +
                std::to_string(mm_snmp_def_rty) + "\n";
        ++lines;
    }
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok) {
        unlink(path->c_str());
        return -1;
    }
    return lines;
}

ListOutcome run_net_discovery(const NetDiscoveryRequest& req, Progress& progress) {
    int timeout = req.timeout < 1 ? DSC_DEFAULT_TIMEOUT : req.timeout;
    bool over = false;
    std::vector<std::string> names = disc(req.bcast, timeout, req.network, &over);
    std::vector<std::string> first;
    if (over)
        first.push_back("More than " + std::to_string(MAX_DSC_ADDRS) +
                        " answers to the discovery request arrived.\n"
                        "Only the first " +
                        std::to_string(MAX_DSC_ADDRS) + " are used.");
    ListOutcome listed;
    Outcome& out = listed.outcome;
    listed.list = device_list_view();
    if (names.empty()) {
        out = failed_with(std::string(k_no_valid) + "\n\nBroadcast: " + req.bcast);
    } else {
        std::string path;
        int lines = write_dsc_list_file(k_tmp_dir, names, &path);
        if (lines < 0) {
            out = failed_with(std::string("Could not open file:\n") + k_tmp_dir +
                              "/tmp.dsc_list.XXXXXX");
        } else {
            if (lines == 0)
                out = failed_with(k_no_valid);
            else
                listed = load_device_list({path, false, lines}, progress);
            unlink(path.c_str());
        }
    }
    out.warnings.insert(out.warnings.begin(), first.begin(), first.end());
    return listed;
}
