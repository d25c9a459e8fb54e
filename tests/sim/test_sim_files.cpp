// The load host's remote file service, driven in-process.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "sim_files.h"
#include "sim_test_util.h"
#include "support/test_dirs.h"

namespace {

class SimFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        write_file(tmp.file("cfg600"), std::string(600, 'a'));
        write_file(tmp.file("cfg1024"), std::string(1024, 'b'));
        mkdir(tmp.file("sub").c_str(), 0755);
        write_file(tmp.file("sub/modem.cfg"), "%modem\nend\n");
        outside.reset(new TempDir());
        write_file(outside->file("secret"), "secret");
        symlink(outside->file("secret").c_str(), tmp.file("link_out").c_str());
        std::string err;
        ASSERT_EQ(host.init(tmp.path(), FaultSettings(), &err), 0) << err;
        peer.sin_family = AF_INET;
        peer.sin_port = htons(40000);
        peer.sin_addr.s_addr = htonl(0x7f000001);
    }

    // Sends one call and returns the single reply ("" for none).
    std::string call(uint32_t id, int proc, const std::string& args, uint32_t program = 1,
                     int version = 0) {
        std::string m = fs_call(id, proc, args, program, version);
        std::vector<std::string> replies;
        host.handle(reinterpret_cast<const unsigned char*>(m.data()), m.size(), peer, &replies);
        return replies.empty() ? "" : replies.back();
    }
    static unsigned type(const std::string& r) { return fs_get16(r, 6); }
    static unsigned code(const std::string& r) { return fs_get16(r, 10); }

    // Reads a whole file as a client does; returns the bytes or "!" + abort code.
    std::string read_all(const std::string& path) {
        std::string r = call(0, BFS_OPEN, fs_open_args(2, path));
        if (type(r) != ERPC_RETURN)
            return "!" + std::to_string(code(r));
        std::string data;
        for (unsigned block = 0, id = 1; block < 100; block++, id++) {
            r = call(id, BFS_READ, fs_u16s({block}));
            if (type(r) == ERPC_ABORT) {
                EXPECT_EQ(code(r), static_cast<unsigned>(BFSA_END));
                break;
            }
            unsigned n = fs_get16(r, 10);
            data += r.substr(12, n);
            if (n < BFS_BLOCK)
                break;
        }
        call(900, BFS_CLOSE, "");
        call(901, BFS_RELEASE, "");
        return data;
    }

    TempDir tmp;
    std::unique_ptr<TempDir> outside;
    LoadHost host;
    sockaddr_in peer{};
};

TEST_F(SimFiles, ReadsInBlocksAndWritesReplaceTheFileOnlyAtClose) {
    ASSERT_EQ(type(call(0, BFS_OPEN, fs_open_args(2, "cfg600"))),
              static_cast<unsigned>(ERPC_RETURN));
    EXPECT_EQ(fs_get16(call(1, BFS_READ, fs_u16s({0})), 10), 512u);
    EXPECT_EQ(fs_get16(call(1, BFS_READ, fs_u16s({0})), 10), 512u); // a repeated call: same reply
    EXPECT_EQ(fs_get16(call(2, BFS_READ, fs_u16s({1})), 10), 88u);
    EXPECT_EQ(code(call(3, BFS_READ, fs_u16s({2}))), static_cast<unsigned>(BFSA_END));
    EXPECT_EQ(read_all("cfg1024"), std::string(1024, 'b'));
    EXPECT_EQ(read_all("/sub//./modem.cfg"), "%modem\nend\n"); // leading slash counts from the root
    ASSERT_EQ(type(call(0, BFS_OPEN, fs_open_args(0, "cfg600"))),
              static_cast<unsigned>(ERPC_RETURN));
    std::string block0(512, 'x'), block1 = "tail";
    EXPECT_EQ(type(call(1, BFS_WRITE, fs_u16s({0, 512}) + block0)),
              static_cast<unsigned>(ERPC_RETURN));
    EXPECT_EQ(type(call(2, BFS_WRITE, fs_u16s({1, 4}) + block1)),
              static_cast<unsigned>(ERPC_RETURN));
    EXPECT_EQ(read_file(tmp.file("cfg600")), std::string(600, 'a'));
    EXPECT_EQ(type(call(3, BFS_CLOSE, "")), static_cast<unsigned>(ERPC_RETURN));
    EXPECT_EQ(read_file(tmp.file("cfg600")), block0 + block1);
    call(4, BFS_RELEASE, "");
    // a transfer released without close leaves the file and no work file
    call(0, BFS_OPEN, fs_open_args(0, "cfg1024"));
    call(1, BFS_WRITE, fs_u16s({0, 3}) + "new");
    call(2, BFS_RELEASE, "");
    EXPECT_EQ(read_file(tmp.file("cfg1024")), std::string(1024, 'b'));
    int files = 0;
    DIR* d = opendir(tmp.path().c_str());
    while (dirent* e = readdir(d))
        files += e->d_name[0] != '.';
    closedir(d);
    EXPECT_EQ(files, 4); // cfg600 cfg1024 sub link_out
}

TEST_F(SimFiles, PathsOutsideTheRootAreRefused) {
    EXPECT_EQ(read_all("../" + outside->path().substr(outside->path().rfind('/') + 1) + "/secret"),
              "!" + std::to_string(BFSA_DENIED));
    EXPECT_EQ(read_all("sub/../../etc/passwd"), "!" + std::to_string(BFSA_DENIED));
    EXPECT_EQ(read_all("link_out"), "!" + std::to_string(BFSA_DENIED));
    EXPECT_EQ(read_all("nothing_here"), "!" + std::to_string(BFSA_NO_FILE));
    EXPECT_EQ(read_all("sub"), "!" + std::to_string(BFSA_BAD_PATH));
    EXPECT_EQ(read_all(""), "!" + std::to_string(BFSA_BAD_PATH));
    EXPECT_EQ(read_all(std::string("cfg600\0x", 8)), "!" + std::to_string(BFSA_BAD_PATH));
    // writing through a link that leads out is refused as well
    EXPECT_EQ(code(call(0, BFS_OPEN, fs_open_args(0, "link_out"))),
              static_cast<unsigned>(BFSA_DENIED));
    EXPECT_EQ(read_file(outside->file("secret")), "secret");
}

TEST_F(SimFiles, BadCallsAreAbortedRejectedOrIgnored) {
    call(0, BFS_OPEN, fs_open_args(0, "newfile"));
    EXPECT_EQ(code(call(1, BFS_WRITE, fs_u16s({0, 513}) + std::string(513, 'x'))),
              static_cast<unsigned>(BFSA_BAD_BLOCK));
    EXPECT_EQ(code(call(2, BFS_WRITE, fs_u16s({0, 10}) + "short")),
              static_cast<unsigned>(BFSA_BAD_BLOCK));
    EXPECT_EQ(code(call(3, BFS_READ, fs_u16s({0}))), static_cast<unsigned>(BFSA_WRONG_MODE));
    call(4, BFS_RELEASE, "");
    EXPECT_EQ(code(call(5, BFS_READ, fs_u16s({0}))), static_cast<unsigned>(BFSA_NOT_OPEN));
    EXPECT_EQ(code(call(0, BFS_OPEN, fs_open_args(0, "nodir/file"))),
              static_cast<unsigned>(BFSA_NO_FILE));
    EXPECT_EQ(type(call(0, BFS_OPEN, fs_open_args(2, "cfg600"), 2)),
              static_cast<unsigned>(ERPC_REJECT));
    EXPECT_EQ(code(call(0, BFS_OPEN, fs_open_args(2, "cfg600"), 1, 1)),
              static_cast<unsigned>(ERPC_REJ_VERSION));
    EXPECT_EQ(code(call(0, 9, "")), static_cast<unsigned>(ERPC_REJ_PROCEDURE));
    std::string good = fs_call(0, BFS_OPEN, fs_open_args(2, "cfg600"));
    std::string reply_class = good;
    reply_class[5] = 0x21; // a reply is never answered
    for (size_t n = 0; n <= 18; n++) {
        const std::string& m = n < 18 ? good : reply_class;
        std::vector<std::string> replies;
        host.handle(reinterpret_cast<const unsigned char*>(m.data()), n < 18 ? n : m.size(), peer,
                    &replies);
        EXPECT_TRUE(replies.empty()) << n;
    }
}

TEST_F(SimFiles, RejectModeTwoAndAbortBlockFaults) {
    host.faults.reject_mode2 = true;
    host.faults.abort_block = 1;
    host.faults.abort_code = 7;
    EXPECT_EQ(type(call(0, BFS_OPEN, fs_open_args(2, "cfg600"))),
              static_cast<unsigned>(ERPC_REJECT));
    EXPECT_EQ(type(call(0, BFS_OPEN, fs_open_args(1, "cfg600"))),
              static_cast<unsigned>(ERPC_RETURN));
    EXPECT_EQ(type(call(1, BFS_READ, fs_u16s({0}))), static_cast<unsigned>(ERPC_RETURN));
    std::string r = call(2, BFS_READ, fs_u16s({1}));
    EXPECT_EQ(type(r), static_cast<unsigned>(ERPC_ABORT));
    EXPECT_EQ(code(r), 7u);
}

} // namespace
