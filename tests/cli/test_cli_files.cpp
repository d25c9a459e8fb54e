// mm_cli and files that could hang it or lie: every failed upload of
// edit-config ends with status 1 and says where the changes are, data files
// replaced by FIFOs are refused at once, and a transfer stopped by SIGTERM
// leaves no temporary file.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "support/netns.h"
#include "support/sim_process.h"
#include "support/test_dirs.h"

namespace {

// Names in dir that begin with prefix.
std::vector<std::string> named(const std::string& dir, const std::string& prefix) {
    std::vector<std::string> v;
    DIR* d = opendir(dir.c_str());
    while (dirent* e = d ? readdir(d) : nullptr)
        if (std::string(e->d_name).rfind(prefix, 0) == 0)
            v.push_back(e->d_name);
    if (d)
        closedir(d);
    return v;
}

const std::string CFG = "%modem\ntype_of_modem v34\nend\n%service\ntelnet 23\n";

TEST(CliFiles, EditConfigNeverReportsAFailedUploadAsDone) {
    REQUIRE_NETNS();
    const struct {
        const char* edit; // shell commands on "$1", the local copy
        const char* fault;
        const char* err_part;
        bool kept; // the edited copy is kept for the operator
    } cases[] = {
        {": > \"$1\"", "", "is empty: nothing was sent to the load host", false},
        {"rm \"$1\"", "", "no longer exists: nothing was sent to the load host", false},
        {"echo lat 1 >> \"$1\"", "write_abort=7", "(-312: ", true},
        {"echo lat 1 >> \"$1\"", "silent_close", "(-312: ", true},
        {"echo lat 1 >> \"$1\"", "", "", false},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.edit) + " " + c.fault);
        TempDir root, tmp;
        write_file(root.file("morix.cfg"), CFG);
        const std::string lh = "127.0.62.4" + std::to_string(n),
                          dev = "127.0.62.5" + std::to_string(n);
        ++n;
        SimOptions o;
        o.load_host = lh;
        o.root = root.path();
        o.devices = {{sim_profile("modelj.prof"), dev}};
        o.sets = {dev + ":mrxPrefLoadAddr=" + lh, dev + ":bootHost=" + lh,
                  dev + ":mrxConfigFile=morix.cfg"};
        if (*c.fault)
            o.faults.push_back(lh + ":" + c.fault);
        SimProcess sim(o);
        ASSERT_TRUE(sim.ready()) << sim.error();
        write_file(tmp.file("ed.sh"), std::string(c.edit) + "\n");
        ProgramResult r =
            run_cli({"-mrx", dev, "-t", "1", "-y", "edit-config", "--reset", "macros"}, "",
                    {"EDITOR=sh " + tmp.file("ed.sh"), "TMPDIR=" + tmp.path()});
        bool failure = *c.err_part != '\0';
        EXPECT_EQ(read_file(root.file("morix.cfg")), failure ? CFG : CFG + "lat 1\n");
        if (!failure) {
            EXPECT_EQ(r.status, 0) << r.err;
            continue;
        }
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(c.err_part), std::string::npos) << r.err;
        std::vector<std::string> kept = named(tmp.path(), "mm_cfg.kept.");
        ASSERT_EQ(kept.size(), c.kept ? 1u : 0u);
        EXPECT_TRUE(named(tmp.path(), "mm_cfg.").size() == kept.size()); // nothing else left
        if (c.kept) {
            std::string dir = tmp.file(kept[0]);
            std::string file = dir + "/" + named(dir, "morix.cfg.")[0];
            EXPECT_NE(r.err.find("is kept in\n'" + file + "'"), std::string::npos) << r.err;
            EXPECT_EQ(read_file(file), CFG + "lat 1\n");
        }
    }
}

TEST(CliFiles, AFifoInPlaceOfADataFileIsRefusedAtOnce) {
    TempDir dir;
    copy_staged_install(dir.path());
    const struct {
        const char* file;
        std::vector<std::string> args;
        const char* err_part;
    } cases[] = {
        {"data/gui_mm_data/mib.dat", {"show", "-v", "sysName"}, "is not a regular file"},
        {"data/gui_mm_data/mib_enum.dat", {"show", "-v", "sysName"}, "is not a regular file"},
        {"data/gui_mm_data/mib_site_def.dat", {"show", "-v", "sysName"}, "is not a regular file"},
        {"data/gui_mm_data/mib_func.dat", {"show", "-v", "sysName"}, "is not a regular file"},
        {"data/gui_mm_data/mib_func_grp.dat", {"show", "-v", "sysName"}, "is not a regular file"},
        {"data/gui_mm_data/mib_func_vars.dat", {"show", "-v", "sysName"}, "is not a regular file"},
        {"data/help/hotspot_help.dat", {"show", "-v", "sysName"}, "is not a regular file"},
        {"bin/users.list", {"set", "sysContact=x"}, "Check\nthe users.list file."},
        {"data/mrx_lists/fifo.lst",
         {"-l", "fifo.lst", "show", "-v", "sysName"},
         "You did not specify a list file."},
        {"data/mrx_scripts/fifo.scr", {"script", "view", "fifo.scr"}, "Could not open file."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::string path = dir.file(c.file), saved = path + ".saved";
        bool existed = rename(path.c_str(), saved.c_str()) == 0;
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        ProgramResult r = run_cli(c.args, dir.path(), {}, 15000);
        EXPECT_FALSE(r.timed_out);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(c.err_part), std::string::npos) << r.err;
        unlink(path.c_str());
        if (existed)
            rename(saved.c_str(), path.c_str());
    }
}

// The SNMP library's own files go under the installation's data folder,
// made without a word, and never under the system's folder (an empty one is
// mounted over it for the run).
TEST(CliFiles, TheSnmpLibraryKeepsItsFilesInTheDataFolder) {
    REQUIRE_NETNS();
    TempDir dir;
    copy_staged_install(dir.path());
    const std::string script = "mount -t tmpfs none /var/lib/snmp || exit 99; \"$0\" \"$@\" "
                               ">/dev/null; echo \"left: $(ls -A /var/lib/snmp)\"";
    ProgramResult r =
        run_program({"unshare", "-m", "sh", "-c", script, cli_binary(), "site-default", "sysName"},
                    30000, {"GUI_MM_DIR=" + dir.path()});
    EXPECT_EQ(r.out, "left: \n") << r.err;
    EXPECT_EQ(r.err.find("Created directory"), std::string::npos) << r.err;
    struct stat st {};
    EXPECT_EQ(stat(dir.file("data/snmp/cert_indexes").c_str(), &st), 0);
}

TEST(CliFiles, SigtermDuringADownloadLeavesNoTemporaryFile) {
    REQUIRE_NETNS();
    TempDir root, local;
    write_file(root.file("conf"), "x");
    SimOptions o;
    o.load_host = "127.0.62.60";
    o.root = root.path();
    o.faults = {"127.0.62.60:endless"};
    SimProcess sim(o);
    ASSERT_TRUE(sim.ready()) << sim.error();
    ProcessLaunch desc;
    desc.argv = {cli_binary(), "-fsmax",    "1073741824",     "get-file",
                 o.load_host,  "/bfs/conf", local.file("got")};
    desc.env = {"GUI_MM_DIR=" + staged_install_dir()};
    Process p(desc);
    // the download is under way: its work file is there
    for (int i = 0; i < 100 && named(local.path(), ".nfcopy-").empty(); ++i)
        usleep(50 * 1000);
    ASSERT_EQ(named(local.path(), ".nfcopy-").size(), 1u);
    p.stop();
    EXPECT_TRUE(named(local.path(), "").size() == 2u) << "only . and .. remain";
}

} // namespace
