// Every copy ends: the 16-bit block numbers, the size bound of the run and
// services that never stop sending, against mrxsim's load host; local
// destinations that must be replaced rather than written through; and the
// removal of temporary files left by killed runs.
#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "files/nf.h"
#include "support/sim_process.h"
#include "support/test_dirs.h"
#include "ui/temp_files.h"

namespace {

std::vector<std::string> names_in(const std::string& dir) {
    std::vector<std::string> v;
    DIR* d = opendir(dir.c_str());
    while (dirent* e = d ? readdir(d) : nullptr)
        if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
            v.push_back(e->d_name);
    if (d)
        closedir(d);
    std::sort(v.begin(), v.end());
    return v;
}

void sparse_file(const std::string& path, long size) {
    write_file(path, "head");
    ASSERT_EQ(truncate(path.c_str(), size), 0);
}

struct BoundsRun {
    TempDir root, local;
    std::unique_ptr<SimProcess> sim;
    explicit BoundsRun(const std::string& addr, const std::string& faults) {
        write_file(root.file("cfg600"), std::string(600, 'c'));
        sparse_file(root.file("huge"), BFS_FILE_LIMIT + 100);
        SimOptions o;
        o.load_host = addr;
        o.root = root.path();
        if (!faults.empty())
            o.faults.push_back(addr + ":" + faults);
        sim.reset(new SimProcess(o));
    }
};

struct SaveMax {
    long saved = nf_max_bytes;
    ~SaveMax() { nf_max_bytes = saved; }
};

TEST(FilesBounds, EveryCopyStopsAtItsBound) {
    // up: a local file to /bfs/cfg600 (which must stay as it was); down:
    // /bfs/NAME to a local file (which must not appear).
    const struct {
        const char* fault;
        bool up;
        const char* name;
        long size; // of the local source (sparse), up only
        long max_bytes;
        long want;
        double within_s;
    } cases[] = {
        {"", true, "big", BFS_FILE_LIMIT, NF_MAX_BYTES_LIMIT, NFC_BLOCK_LIMIT, 0.5},
        {"", true, "over", 300000, 200000, NFC_SIZE_BOUND, 0.5},
        {"", false, "huge", 0, 40000000, NFC_BLOCK_LIMIT, 60},
        {"", false, "huge", 0, 1000000, NFC_SIZE_BOUND, 10},
        {"endless", false, "cfg600", 0, 100000, NFC_SIZE_BOUND, 10},
        {"after_close", false, "cfg600", 0, NF_DEFAULT_MAX_BYTES, 600, 5},
    };
    SaveMax saved;
    int n = 0;
    for (const auto& c : cases) {
        std::string addr = "127.0.68." + std::to_string(++n);
        SCOPED_TRACE(std::string(c.fault) + " " + c.name);
        BoundsRun run(addr, c.fault);
        ASSERT_TRUE(run.sim->ready()) << run.sim->error();
        nf_max_bytes = c.max_bytes;
        auto t0 = std::chrono::steady_clock::now();
        long got;
        if (c.up) {
            sparse_file(run.local.file(c.name), c.size);
            got = nfcopy("", run.local.file(c.name), addr, "/bfs/cfg600", 1);
        } else {
            got = nfcopy(addr, std::string("/bfs/") + c.name, "", run.local.file("got"), 1);
        }
        double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        EXPECT_EQ(got, c.want) << nf_result_text(got);
        EXPECT_LT(took, c.within_s);
        EXPECT_EQ(read_file(run.root.file("cfg600")), std::string(600, 'c'));
        if (c.want > 0) {
            EXPECT_EQ(read_file(run.local.file("got")), std::string(600, 'c'));
        }
        // nothing partial is left on either side
        EXPECT_EQ(names_in(run.local.path()), c.up         ? std::vector<std::string>{c.name}
                                              : c.want > 0 ? std::vector<std::string>{"got"}
                                                           : std::vector<std::string>{});
        usleep(100 * 1000); // the release is not awaited
        EXPECT_EQ(names_in(run.root.path()), (std::vector<std::string>{"cfg600", "huge"}));
    }
    EXPECT_NE(nf_code_text(NFC_BLOCK_LIMIT).find("33554432 bytes"), std::string::npos);
    nf_max_bytes = 200000;
    EXPECT_NE(nf_code_text(NFC_SIZE_BOUND).find("200000 bytes"), std::string::npos);
}

TEST(FilesBounds, LocalFilesThatAreNotPlainFiles) {
    BoundsRun run("127.0.68.20", "");
    ASSERT_TRUE(run.sim->ready()) << run.sim->error();
    const std::string h = "127.0.68.20", got = run.local.file("got");
    // a link at the destination is replaced; what it led to stays
    write_file(run.local.file("target"), "precious");
    ASSERT_EQ(symlink(run.local.file("target").c_str(), got.c_str()), 0);
    EXPECT_EQ(nfcopy(h, "/bfs/cfg600", "", got, 1), 600);
    struct stat st {};
    ASSERT_EQ(lstat(got.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(read_file(run.local.file("target")), "precious");
    // a FIFO is neither waited on as a source nor replaced as a destination
    ASSERT_EQ(mkfifo(run.local.file("fifo").c_str(), 0600), 0);
    EXPECT_EQ(nfcopy("", run.local.file("fifo"), h, "/bfs/cfg600", 1), NFC_SRC_PATH);
    EXPECT_EQ(nfcopy(h, "/bfs/cfg600", "", run.local.file("fifo"), 1), NFC_DST_PATH);
    // a local write that fails (here the file size limit, as a full disk
    // would) names its cause and keeps the previous file
    write_file(got, "previous");
    signal(SIGXFSZ, SIG_IGN);
    rlimit old{}, small{};
    getrlimit(RLIMIT_FSIZE, &old);
    small = old;
    small.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &small);
    long rc = nfcopy(h, "/bfs/cfg600", "", got, 1);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, SIG_DFL);
    EXPECT_EQ(rc, NFC_LOCAL_WRITE);
    EXPECT_NE(nf_result_text(rc).find("File too large; the previous file is kept"),
              std::string::npos)
        << nf_result_text(rc);
    EXPECT_EQ(read_file(got), "previous");
    EXPECT_EQ(names_in(run.local.path()), (std::vector<std::string>{"fifo", "got", "target"}));
}

TEST(FilesBounds, LeftoversOfDeadRunsAreRemoved) {
    TempDir d;
    pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0); // a PID that no longer runs
    std::string dead = std::to_string(child), me = std::to_string(getpid()),
                parent = std::to_string(getppid());
    for (const std::string& n :
         {".nfcopy-" + dead + "-1", ".nfcopy-" + me + "-1", ".nfcopy-" + parent + "-2",
          std::string(".nfcopy-x-1"), "keep.nfcopy-" + dead})
        write_file(d.file(n), "x");
    for (const std::string& n : {"mm_cfg." + dead + ".ab", "mm_cfg.kept." + dead + ".cd"}) {
        mkdir(d.file(n).c_str(), 0700);
        write_file(d.file(n + "/morix.cfg." + dead), "x");
    }
    EXPECT_EQ(temp_remove_stale(d.path(), ".nfcopy-"), 1);
    EXPECT_EQ(temp_remove_stale(d.path(), "mm_cfg."), 1);
    std::vector<std::string> left = {".nfcopy-" + me + "-1", ".nfcopy-" + parent + "-2",
                                     ".nfcopy-x-1", "keep.nfcopy-" + dead,
                                     "mm_cfg.kept." + dead + ".cd"};
    std::sort(left.begin(), left.end());
    EXPECT_EQ(names_in(d.path()), left);
}

} // namespace
