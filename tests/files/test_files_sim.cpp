// Whole copies through nfcopy against mrxsim's load host: both directions,
// the ways a download ends, the service's faults, and what is kept when a
// copy fails.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <dirent.h>
#include <unistd.h>

#include <memory>

#include "files/nf.h"
#include "support/sim_process.h"
#include "support/test_dirs.h"

namespace {

std::string pattern(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; i++)
        s[i] = static_cast<char>((i * 7 + i / 511) & 0xff);
    return s;
}

size_t entries(const std::string& dir) {
    size_t n = 0;
    DIR* d = opendir(dir.c_str());
    while (dirent* e = d ? readdir(d) : nullptr)
        n += std::string(e->d_name) != "." && std::string(e->d_name) != "..";
    if (d)
        closedir(d);
    return n;
}

// A load host at addr serving a fresh folder, with fault words.
struct LoadHostRun {
    TempDir root, local;
    std::unique_ptr<SimProcess> sim;
    LoadHostRun(const std::string& addr, const std::string& faults = "") {
        write_file(root.file("cfg600"), pattern(600));
        write_file(root.file("cfg1024"), pattern(1024));
        SimOptions o;
        o.load_host = addr;
        o.root = root.path();
        if (!faults.empty())
            o.faults.push_back(addr + ":" + faults);
        sim.reset(new SimProcess(o));
    }
};

TEST(FilesSim, DownloadsEndOnAShortBlockAZeroReplyOrAbortFour) {
    // plain: abort 4 after a full last block; eof_zero: a 0-byte return;
    // block=200: the block size is learned from the first reply;
    // reject_mode2: the open is retried with mode 1.
    const char* faults[] = {"", "eof_zero", "block=200", "reject_mode2", "other_port,stray"};
    int n = 0;
    for (const char* f : faults) {
        std::string addr = "127.0.61." + std::to_string(++n);
        LoadHostRun run(addr, f);
        ASSERT_TRUE(run.sim->ready()) << run.sim->error();
        for (size_t size : {600, 1024}) {
            std::string name = "cfg" + std::to_string(size);
            EXPECT_EQ(nfcopy(addr, "/bfs/" + name, "", run.local.file(name), 3),
                      static_cast<long>(size))
                << f;
            EXPECT_EQ(read_file(run.local.file(name)), pattern(size)) << f;
        }
    }
}

TEST(FilesSim, AMebibyteGoesUpAndComesBackWithProgress) {
    LoadHostRun run("127.0.61.10", "other_port");
    ASSERT_TRUE(run.sim->ready()) << run.sim->error();
    write_file(run.local.file("big"), pattern(1 << 20));
    long last_bytes = 0, last_blocks = 0;
    NfProgress progress = [&](long bytes, long blocks) {
        EXPECT_GE(bytes, last_bytes);
        last_bytes = bytes;
        last_blocks = blocks;
    };
    std::string text;
    EXPECT_EQ(
        nf_copy_report("", run.local.file("big"), "127.0.61.10", "/bfs/big", 3, progress, &text),
        1 << 20);
    EXPECT_EQ(text, "1048576 bytes copied");
    EXPECT_EQ(last_blocks, 2048);
    EXPECT_EQ(read_file(run.root.file("big")), pattern(1 << 20));
    EXPECT_EQ(nfcopy("127.0.61.10", "/bfs/big", "", run.local.file("back"), 3), 1 << 20);
    EXPECT_EQ(read_file(run.local.file("back")), pattern(1 << 20));

    // the reply of the open came from another port: the handle follows it
    in_addr a{};
    inet_pton(AF_INET, "127.0.61.10", &a);
    int code = 1;
    BfsHandle* h = bfs_open(&a, "cfg600", "r", &code);
    ASSERT_NE(h, nullptr);
    EXPECT_NE(h->server.sin_port, htons(BFS_PORT));
    uint8_t buf[600];
    EXPECT_EQ(bfs_read(h, buf, sizeof buf), 600);
    EXPECT_EQ(bfs_close(h), 0);
}

TEST(FilesSim, AHostAnsweringFromASecondAddressIsNotHeard) {
    // Were its replies taken, the copies would go on with that address and
    // succeed there.
    LoadHostRun run("127.0.61.50", "reply_from=127.0.61.51");
    ASSERT_TRUE(run.sim->ready()) << run.sim->error();
    write_file(run.local.file("up"), "forged");
    EXPECT_EQ(nfcopy("127.0.61.50", "/bfs/cfg600", "", run.local.file("got"), 1), NFC_SRC_OPEN);
    EXPECT_EQ(nfcopy("", run.local.file("up"), "127.0.61.50", "/bfs/cfg600", 1), NFC_DST_OPEN);
    EXPECT_EQ(read_file(run.root.file("cfg600")), pattern(600));
    EXPECT_EQ(entries(run.local.path()), 1u);
}

TEST(FilesSim, AnUploadIsReadBackAndADifferenceIsSaid) {
    const struct {
        const char* addr;
        const char* fault;
        long want;
        const char* text;
    } cases[] = {
        {"127.0.61.40", "", 600, "600 bytes copied"},
        {"127.0.61.41", "store_damaged", NFC_READ_BACK, "-316: the file was written but reads "},
    };
    for (const auto& c : cases) {
        LoadHostRun run(c.addr, c.fault);
        ASSERT_TRUE(run.sim->ready()) << run.sim->error();
        write_file(run.local.file("up"), pattern(600));
        std::string text;
        EXPECT_EQ(nf_put_checked(run.local.file("up"), c.addr, "/bfs/up", 2, {}, &text), c.want);
        EXPECT_EQ(text.rfind(c.text, 0), 0u) << text;
    }
}

TEST(FilesSim, OpenFailuresGiveTheirCopyCodes) {
    LoadHostRun run("127.0.61.20");
    ASSERT_TRUE(run.sim->ready()) << run.sim->error();
    const std::string h = "127.0.61.20";
    std::string src = run.local.file("src");
    write_file(src, "x");
    const struct {
        std::string sh, sp, dh, dp;
        long want;
    } cases[] = {
        {h, "config", "", run.local.file("d"), NFC_SRC_PATH},
        {"", src, h, "config", NFC_DST_PATH},
        {h, "/bfs/" + std::string(BFS_PATH_MAX + 1, 'p'), "", run.local.file("d"), NFC_SRC_PATH},
        {h, "/bfs/missing", "", run.local.file("d"), NFC_SRC_OPEN},
        {"", run.local.file("missing"), h, "/bfs/x", NFC_SRC_MISSING},
        {"", src, h, "/bfs/no_dir/x", NFC_DST_OPEN},
        {h, "/bfs/cfg600", "", run.local.file("no_dir/x"), NFC_DST_OPEN},
        {h, "/bfs/cfg600", "", run.local.path(), NFC_DST_PATH},
        {"no-such-host.invalid", "/bfs/cfg600", "", src, NFC_SRC_HOST},
        {"", src, "0.0.0.256", "/bfs/x", NFC_DST_HOST},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nfcopy(c.sh, c.sp, c.dh, c.dp, 1), c.want) << c.sp << " -> " << c.dp;
    int code = 0;
    EXPECT_EQ(nfopen(h, "config", "r", &code), nullptr);
    EXPECT_EQ(code, NF_BAD_PATH);
    in_addr a{};
    inet_pton(AF_INET, h.c_str(), &a);
    EXPECT_EQ(bfs_open(&a, std::string(BFS_PATH_MAX + 1, 'p'), "r", &code), nullptr);
    EXPECT_EQ(code, BFS_PATH_LONG);
}

TEST(FilesSim, AFailedCopyKeepsThePreviousFileOnEitherSide) {
    // block 1 aborted: a download fails after its first block; a 600-byte
    // upload fails in its final block, written at close (-312), and a
    // 2000-byte one in the middle (-230).
    LoadHostRun run("127.0.61.30", "abort_block=1,abort_code=7");
    ASSERT_TRUE(run.sim->ready()) << run.sim->error();
    const std::string h = "127.0.61.30";
    write_file(run.local.file("mine"), "previous");
    EXPECT_EQ(nfcopy(h, "/bfs/cfg1024", "", run.local.file("mine"), 1), NF_READ_FAIL);
    EXPECT_EQ(read_file(run.local.file("mine")), "previous");
    write_file(run.local.file("up600"), std::string(600, 'n'));
    write_file(run.local.file("up2000"), std::string(2000, 'n'));
    EXPECT_EQ(nfcopy("", run.local.file("up600"), h, "/bfs/cfg600", 1), NFC_DST_CLOSE);
    EXPECT_EQ(nfcopy("", run.local.file("up2000"), h, "/bfs/cfg1024", 1), NF_WRITE_FAIL);
    EXPECT_EQ(read_file(run.root.file("cfg600")), pattern(600));
    EXPECT_EQ(read_file(run.root.file("cfg1024")), pattern(1024));
    EXPECT_EQ(entries(run.local.path()), 3u); // no work files left beside them
    usleep(200 * 1000);                       // the release is not awaited
    EXPECT_EQ(entries(run.root.path()), 2u);
}

} // namespace
