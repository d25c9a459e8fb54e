// The transfer and call layers against a scripted service on loopback:
// block sequences, retransmission timing, reply matching, abort codes and
// bad replies at every step.
#include <gtest/gtest.h>

#include <future>
#include <map>
#include <set>

#include "files/nf.h"
#include "files_test_util.h"
#include "support/test_dirs.h"
#include "ui/app_globals.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

const std::string k_host = "127.0.60.1";

long elapsed_ms(steady_clock::time_point since) {
    return std::chrono::duration_cast<milliseconds>(steady_clock::now() - since).count();
}

// procedure/block/count of every call, as "P:B:C"
std::vector<std::string> trace(const std::vector<SeenCall>& calls) {
    std::vector<std::string> out;
    for (const SeenCall& c : calls) {
        std::string t = std::to_string(c.hdr.procedure);
        if (c.hdr.procedure == BFS_WRITE)
            t += ":" + std::to_string(arg16(c, 0)) + ":" + std::to_string(arg16(c, 2));
        out.push_back(t);
    }
    return out;
}

TEST(FilesProto, UploadsGoOutInWholeBlocksWithThePartialBlockAtClose) {
    const struct {
        size_t size;
        std::vector<std::string> want;
    } cases[] = {
        {1024, {"0", "2:0:512", "2:1:512", "3", "4"}},
        {600, {"0", "2:0:512", "2:1:88", "3", "4"}},
        {0, {"0", "3", "4"}},
    };
    TempDir tmp;
    std::set<uint32_t> first_ids;
    for (const auto& c : cases) {
        ScriptedHost host(k_host, [](const SeenCall& s, size_t) { return good_reply(s, ""); });
        ASSERT_TRUE(host.bound());
        write_file(tmp.file("up"), std::string(c.size, 'u'));
        EXPECT_EQ(nfcopy("", tmp.file("up"), k_host, "/bfs/cfg", 3), static_cast<long>(c.size));
        std::vector<SeenCall> calls = host.calls();
        for (size_t i = 0; i < 50 && calls.size() < c.want.size(); i++, calls = host.calls())
            std::this_thread::sleep_for(milliseconds(10)); // the release is not awaited
        EXPECT_EQ(trace(calls), c.want) << c.size;
        for (size_t i = 0; i < calls.size(); i++)
            EXPECT_EQ(calls[i].hdr.id, calls[0].hdr.id + i) << "ids count up from the open";
        first_ids.insert(calls.empty() ? 0 : calls[0].hdr.id);
    }
    EXPECT_EQ(first_ids.size(), 3u) << "every transfer starts at its own id";
}

TEST(FilesProto, RepliesFromElsewhereAreDroppedAndCounted) {
    // A hostile host serves forged content. From a second address it sees
    // every call and answers it first, with the right id; from another port
    // of the load host's own address it answers blindly with the ids a
    // transfer would use if they started at 0. The genuine host answers, or
    // (for the upload) stays silent.
    const struct {
        const char* hostile_addr;
        unsigned hostile_port;
        bool upload, genuine_answers;
        long want;
        const char* debug;
    } cases[] = {
        {"127.0.60.2", BFS_PORT, false, true, 1500,
         "dropped 5 datagrams from other addresses and 0 with"},
        {"127.0.60.2", BFS_PORT, true, false, NFC_DST_OPEN,
         "dropped 3 datagrams from other addresses and 0"},
        {"127.0.60.1", 1210, false, true, 1500, "dropped 0 datagrams from other addresses and 20"},
    };
    const std::string genuine(1500, 'g'), forged(1500, 'F');
    TempDir tmp;
    write_file(tmp.file("up"), genuine);
    for (const auto& c : cases) {
        ScriptedHost hostile(
            c.hostile_addr, [&](const SeenCall& s, size_t) { return good_reply(s, forged); },
            c.hostile_port);
        auto forge = [&](const SeenCall& s) {
            std::vector<std::string> lies;
            for (uint32_t id = 0; id < 4 && c.hostile_port != BFS_PORT; id++)
                lies.push_back(erpc_return(id, ""));
            if (c.hostile_port == BFS_PORT)
                lies = good_reply(s, forged);
            for (const std::string& m : lies)
                sendto(hostile.fd(), m.data(), m.size(), 0,
                       reinterpret_cast<const sockaddr*>(&s.from), sizeof s.from);
        };
        ScriptedHost host(k_host, [&](const SeenCall& s, size_t) {
            forge(s);
            return c.genuine_answers ? good_reply(s, genuine) : std::vector<std::string>();
        });
        ASSERT_TRUE(hostile.bound() && host.bound());
        debug_flag = 1;
        testing::internal::CaptureStderr();
        long got = c.upload ? nfcopy("", tmp.file("up"), k_host, "/bfs/x", 1)
                            : nfcopy(k_host, "/bfs/x", "", tmp.file("got"), 1);
        std::string err = testing::internal::GetCapturedStderr();
        debug_flag = 0;
        EXPECT_EQ(got, c.want) << c.hostile_addr;
        if (!c.upload) {
            EXPECT_EQ(read_file(tmp.file("got")), genuine) << c.hostile_addr;
        }
        EXPECT_NE(err.find(c.debug), std::string::npos) << err;
    }
}

TEST(FilesProto, NoServiceIsRetriedThenFailsForEitherDirection) {
    // A silent peer: the open goes out 3 times a second apart (time-out 1
    // gives 3 s in all and a wait that must not be 0).
    ScriptedHost silent(k_host, [](const SeenCall&, size_t) { return std::vector<std::string>(); });
    TempDir tmp;
    write_file(tmp.file("src"), "data");
    write_file(tmp.file("dst"), "old");
    auto start = steady_clock::now();
    auto read = std::async(std::launch::async,
                           [&] { return nfcopy(k_host, "/bfs/cfg", "", tmp.file("dst"), 1); });
    long write = nfcopy("", tmp.file("src"), k_host, "/bfs/cfg", 1);
    EXPECT_EQ(read.get(), NFC_SRC_OPEN);
    EXPECT_EQ(write, NFC_DST_OPEN);
    EXPECT_LT(elapsed_ms(start), 4500);
    EXPECT_EQ(read_file(tmp.file("dst")), "old");
    std::map<int, std::vector<steady_clock::time_point>> by_sender;
    for (const SeenCall& c : silent.calls())
        by_sender[c.from.sin_port].push_back(c.at);
    ASSERT_EQ(by_sender.size(), 2u);
    for (const auto& s : by_sender) {
        ASSERT_EQ(s.second.size(), 3u);
        for (size_t i = 1; i < s.second.size(); i++) {
            auto gap = std::chrono::duration_cast<milliseconds>(s.second[i] - s.second[i - 1]);
            EXPECT_NEAR(gap.count(), 1000, 250);
        }
    }
}

TEST(FilesProto, ForeignDatagramsNeitherEndNorExtendTheWait) {
    std::string content(1500, 'c');
    // Every read is answered first by a wrong id, a call class and a runt,
    // then by the reply; the first open is answered only with strays.
    ScriptedHost host(k_host, [&](const SeenCall& s, size_t i) {
        std::vector<std::string> r = {erpc_return(s.hdr.id + 1, ""), std::string(5, '\0')};
        std::string wrong_class = erpc_return(s.hdr.id, "");
        wrong_class[5] = 0x20;
        r.push_back(wrong_class);
        std::vector<std::string> g = i > 0 ? good_reply(s, content) : std::vector<std::string>();
        r.insert(r.end(), g.begin(), g.end());
        return r;
    });
    TempDir tmp;
    nf_set_timing(2);
    auto start = steady_clock::now();
    EXPECT_EQ(nfcopy(k_host, "/bfs/x", "", tmp.file("got"), 2), 1500);
    EXPECT_EQ(read_file(tmp.file("got")), content);
    long ms = elapsed_ms(start);
    EXPECT_GE(ms, 900); // the strays did not end the first wait early
    EXPECT_LT(ms, 1900);
}

TEST(FilesProto, AbortsAndRejectsMapToTransferCodes) {
    // call kind, reply type, code -> transfer result (open, block read, block write)
    const struct {
        unsigned proc;
        unsigned type;
        unsigned code;
        int want;
    } cases[] = {
        {BFS_OPEN, ERPC_ABORT, 0, -7},    {BFS_OPEN, ERPC_ABORT, 1, -8},
        {BFS_OPEN, ERPC_ABORT, 2, -9},    {BFS_OPEN, ERPC_ABORT, 3, -10},
        {BFS_OPEN, ERPC_ABORT, 4, -10},   {BFS_OPEN, ERPC_ABORT, 99, -10},
        {BFS_READ, ERPC_ABORT, 0, -10},   {BFS_READ, ERPC_ABORT, 3, -13},
        {BFS_READ, ERPC_ABORT, 4, 0},     {BFS_READ, ERPC_ABORT, 5, -11},
        {BFS_READ, ERPC_ABORT, 7, -10},   {BFS_READ, ERPC_REJECT, 2, -22},
        {BFS_WRITE, ERPC_ABORT, 4, -10},  {BFS_WRITE, ERPC_ABORT, 5, -12},
        {BFS_WRITE, ERPC_ABORT, 7, -14},  {BFS_WRITE, ERPC_ABORT, 8, -15},
        {BFS_WRITE, ERPC_REJECT, 2, -32}, {BFS_OPEN, ERPC_REJECT, 2, -7},
    };
    nf_set_timing(1);
    in_addr addr{};
    inet_pton(AF_INET, k_host.c_str(), &addr);
    for (const auto& c : cases) {
        ScriptedHost host(k_host, [&](const SeenCall& s, size_t) {
            if (s.hdr.procedure != c.proc)
                return good_reply(s, std::string(600, 'r'));
            std::string m =
                c.type == ERPC_ABORT ? erpc_abort(s.hdr.id, c.code) : erpc_reject(s.hdr.id, c.code);
            return std::vector<std::string>{m};
        });
        int code = 1;
        BfsHandle* h = bfs_open(&addr, "f", c.proc == BFS_WRITE ? "w" : "r", &code);
        int got = code;
        uint8_t buf[BFS_BLOCK];
        if (h && c.proc == BFS_READ)
            got = bfs_block_read(h, 0, buf);
        if (h && c.proc == BFS_WRITE)
            got = bfs_block_write(h, 0, buf, 10);
        EXPECT_EQ(got, c.want) << c.proc << " " << c.type << " " << c.code;
        if (h)
            bfs_abandon(h);
    }
}

TEST(FilesProto, BadRepliesAtEveryStepEndTheTransferCleanly) {
    // step: the call index answered badly (0 open, 1 first block, 3 close)
    const struct {
        size_t step;
        std::string bad;
        long want_read;
    } cases[] = {
        {0, "short", NFC_SRC_OPEN},   {0, "typeless", NFC_SRC_OPEN},
        {1, "short", NF_READ_FAIL},   {1, "count", NF_READ_FAIL},
        {1, "huge", NF_READ_FAIL},    {1, "long", 600},
        {2, "garbage", NF_READ_FAIL}, {3, "short", 600},
    };
    std::string content(600, 'q');
    TempDir tmp;
    for (const auto& c : cases) {
        ScriptedHost host(k_host, [&](const SeenCall& s, size_t i) {
            if (i != c.step)
                return good_reply(s, content);
            std::string r = good_reply(s, content)[0];
            if (c.bad == "short")
                r = r.substr(0, 7);
            else if (c.bad == "typeless")
                r = r.substr(0, 6);
            else if (c.bad == "count") // claims 512 bytes, carries 20
                r = r.substr(0, 12) + std::string(20, 'x');
            else if (c.bad == "huge") // a count above one block
                r = erpc_return(s.hdr.id, erpc_u16(600) + std::string(600, 'x'));
            else if (c.bad == "long") // a datagram past the largest message
                r += std::string(3000, 'z');
            else
                r = r.substr(0, 6) + std::string(40, '\xff');
            return std::vector<std::string>{r};
        });
        write_file(tmp.file("d"), "old");
        long got = nfcopy(k_host, "/bfs/f", "", tmp.file("d"), 1);
        EXPECT_EQ(got, c.want_read) << c.step << " " << c.bad;
        EXPECT_EQ(read_file(tmp.file("d")), got > 0 ? content : "old") << c.step << " " << c.bad;
    }
}

TEST(FilesProto, TenThousandStrayDatagramsDuringADownload) {
    std::string content(128 * 1024, 's');
    std::atomic<int> sent{0};
    ScriptedHost host(k_host, [&](const SeenCall& s, size_t) {
        std::vector<std::string> r;
        for (int k = 0; k < 40 && sent < 10000; k++, sent++) {
            std::string junk = erpc_return(s.hdr.id + 1000 + k, std::string(k % 8 * 25, 'j'));
            r.push_back(k % 3 ? junk : junk.substr(0, k % 7));
        }
        for (const std::string& g : good_reply(s, content))
            r.push_back(g);
        return r;
    });
    TempDir tmp;
    auto start = steady_clock::now();
    EXPECT_EQ(nfcopy(k_host, "/bfs/big", "", tmp.file("big"), 3), 128 * 1024);
    EXPECT_EQ(read_file(tmp.file("big")), content);
    EXPECT_LT(elapsed_ms(start), 9000);
    EXPECT_EQ(sent.load(), 10000);
}

} // namespace
