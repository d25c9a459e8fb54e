// Wire layouts of the call protocol and the file procedures, byte for byte,
// and the scatter of received datagrams.
#include <gtest/gtest.h>

#include "files/nf.h"
#include "files_test_util.h"

namespace {

std::string hex(const std::string& s) {
    static const char* d = "0123456789abcdef";
    std::string out;
    for (unsigned char c : s)
        out += std::string{d[c >> 4], d[c & 15]};
    return out;
}

// A pair of loopback sockets: what one sends, the other receives.
struct SocketPair {
    int a = socket(AF_INET, SOCK_DGRAM, 0), b = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in addr_b{};
    SocketPair() {
        addr_b.sin_family = AF_INET;
        addr_b.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(b, reinterpret_cast<sockaddr*>(&addr_b), sizeof addr_b);
        socklen_t len = sizeof addr_b;
        getsockname(b, reinterpret_cast<sockaddr*>(&addr_b), &len);
    }
    ~SocketPair() {
        close(a);
        close(b);
    }
    std::string take() {
        char buf[4096];
        ssize_t n = recv(b, buf, sizeof buf, 0);
        return n < 0 ? "" : std::string(buf, static_cast<size_t>(n));
    }
};

TEST(FilesWire, CallHeaderAndProcedureArgumentsAreByteExact) {
    SocketPair p;
    std::string path = "cfg/mrx.cfg";
    uint8_t args[BFS_OPEN_ARGS];
    set_short(args, 0);
    set_short(args + 2, BFS_MODE_READ);
    set_short(args + 4, static_cast<unsigned>(path.size()));
    iovec a[3] = {{}, {args, sizeof args}, {&path[0], path.size()}};
    ASSERT_EQ(send_call(p.a, &p.addr_b, 0x12345678, BFS_PROGRAM, BFS_VERSION, BFS_OPEN, 2, a), 0);
    EXPECT_EQ(hex(p.take()), "12345678"
                             "0020"
                             "0000"
                             "0000"
                             "00000001"
                             "0000"
                             "0000"
                             "0000"
                             "0002"
                             "000b" +
                                 hex(path));
    EXPECT_EQ(hex(bfs_open_args(BFS_MODE_WRITE, "ab")), "0000"
                                                        "0000"
                                                        "0002"
                                                        "6162");

    // a call larger than one datagram is not sent at all
    std::string big(ERPC_MSG_MAX, 'x');
    iovec b[2] = {{}, {&big[0], big.size()}};
    EXPECT_EQ(send_call(p.a, &p.addr_b, 1, 1, 0, BFS_WRITE, 1, b), -1);
}

TEST(FilesWire, ReplyEncodersAndArgumentDecoders) {
    const struct {
        std::string msg, want;
    } cases[] = {
        {erpc_return(0x00aa00bb, bfs_read_results(reinterpret_cast<const uint8_t*>("hi"), 2)),
         "00aa00bb"
         "0021"
         "0002"
         "0000"
         "0002"
         "6869"},
        {erpc_abort(7, BFSA_END), "00000007"
                                  "0021"
                                  "0003"
                                  "0000"
                                  "0004"},
        {erpc_reject(7, ERPC_REJ_PROCEDURE), "00000007"
                                             "0021"
                                             "0001"
                                             "0000"
                                             "0002"},
        {erpc_reject(7, ERPC_REJ_VERSION, 0, 3), "00000007"
                                                 "0021"
                                                 "0001"
                                                 "0000"
                                                 "0001"
                                                 "0000"
                                                 "0003"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hex(c.msg), c.want);

    unsigned mode = 9;
    std::string path, open = bfs_open_args(BFS_MODE_READ1, "p");
    auto u8 = [](const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); };
    EXPECT_EQ(bfs_parse_open_args(u8(open), open.size(), &mode, &path), 0);
    EXPECT_EQ(mode * 1000 + path.size(), 1001u);
    EXPECT_EQ(bfs_parse_open_args(u8(open), open.size() - 1, &mode, &path), -1);
}

TEST(FilesWire, ScatterZeroesWhatTheDatagramDidNotCarry) {
    SocketPair p;
    for (size_t len : {0, 3, 8, 20}) {
        std::string dgram(len, '\x5a');
        sendto(p.a, dgram.data(), len, 0, reinterpret_cast<sockaddr*>(&p.addr_b), sizeof p.addr_b);
        uint8_t x[6], y[8];
        memset(x, 0xee, sizeof x);
        memset(y, 0xee, sizeof y);
        iovec areas[2] = {{x, sizeof x}, {y, sizeof y}};
        msghdr m{};
        m.msg_iov = areas;
        m.msg_iovlen = 2;
        EXPECT_EQ(kalo_recvmsg(p.b, &m, 0), static_cast<int>(len));
        for (size_t i = 0; i < 14; i++)
            EXPECT_EQ(i < 6 ? x[i] : y[i - 6], i < len ? 0x5a : 0) << len << " " << i;
    }
}

TEST(FilesWire, TimingAndAddresses) {
    const int cases[][3] = {{3, 9, 2}, {1, 3, 0}, {2, 6, 1}, {10, 30, 7}};
    for (const auto& c : cases) {
        nf_set_timing(c[0]);
        EXPECT_EQ(fs_timeout, c[1]);
        EXPECT_EQ(fs_delay, c[2]);
    }
    EXPECT_EQ(determine_inet_address("127.0.60.9"), inet_addr("127.0.60.9"));
    EXPECT_EQ(determine_inet_address("localhost"), htonl(INADDR_LOOPBACK));
    for (const char* bad : {"", "255.255.255.255", "1.2.3", "9zz", "no-such-host.invalid"})
        EXPECT_EQ(determine_inet_address(bad), 0u) << bad;
    EXPECT_EQ(nf_result_text(600), "600 bytes copied");
    EXPECT_EQ(nf_result_text(-302).substr(0, 5), "-302:");
}

} // namespace
