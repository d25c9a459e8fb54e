// Start-up logic without X: command line, installation directory, the
// users-list access check and the window table.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "files/nf.h"
#include "frame/registry.h"
#include "frame/startup.h"
#include "support/test_dirs.h"
#include "ui/access.h"
#include "ui/app_globals.h"
#include "ui/widget_ids.h"
#include "ui_headless/ui_headless.h"

namespace {

// Runs the command-line scan on args and returns what went to standard error.
std::string scan(std::vector<std::string> args, CmdLineOpts* opts) {
    args.insert(args.begin(), "gui_mm");
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    std::FILE* err = std::tmpfile();
    scan_command_line(static_cast<int>(argv.size()), argv.data(), opts, err);
    std::rewind(err);
    std::string out;
    int c;
    while ((c = std::fgetc(err)) != EOF)
        out += static_cast<char>(c);
    std::fclose(err);
    return out;
}

} // namespace

TEST(CommandLine, OptionsAndValues) {
    CmdLineOpts o;
    debug_flag = rrr_flag = 0;
    std::string err = scan({"-debug", "-dn", "10.0.0.0", "-ds", "255.0.0.0", "-dt", "12", "-nod",
                            "-rrr", "-mrx", "mrx1", "-wcomm", "secret"},
                           &o);
    EXPECT_EQ(err, "");
    EXPECT_EQ(debug_flag, 1);
    EXPECT_EQ(rrr_flag, 1);
    EXPECT_EQ(o.dsc_naddr_str, "10.0.0.0");
    EXPECT_EQ(o.dsc_snmask_str, "255.0.0.0");
    EXPECT_EQ(o.dsc_timeout, 12);
    EXPECT_EQ(o.dsc_flag, 0);
    EXPECT_EQ(o.mrx_name, "mrx1");
    EXPECT_EQ(o.comm_str, "secret");
    debug_flag = rrr_flag = 0;
}

TEST(CommandLine, EdgeCases) {
    CmdLineOpts o;
    // A value option as the last argument sets nothing and says nothing.
    EXPECT_EQ(scan({"-dn"}, &o), "");
    EXPECT_EQ(o.dsc_naddr_str, "");
    EXPECT_EQ(o.dsc_flag, 1);
    // Unknown letter: one line on standard error, the scan goes on.
    EXPECT_EQ(scan({"-x", "-nod"}, &o), "Invalid argument option: -x\n");
    EXPECT_EQ(o.dsc_flag, 0);
    // Known first letter with another text: ignored silently.
    CmdLineOpts p;
    EXPECT_EQ(scan({"-dx", "-mrxy", "a", "plain"}, &p), "");
    EXPECT_EQ(p.mrx_name, "");
    // The size bound of file copies: a bad value is said and changes nothing.
    long saved = nf_max_bytes;
    EXPECT_EQ(scan({"-fsmax", "4096"}, &p), "");
    EXPECT_EQ(nf_max_bytes, 4096);
    for (const char* bad : {"0", "1073741825", "12k", ""})
        EXPECT_EQ(scan({"-fsmax", bad}, &p),
                  std::string("Invalid file size bound (-fsmax): ") + bad + "\n");
    EXPECT_EQ(nf_max_bytes, 4096);
    nf_max_bytes = saved;
}

TEST(InstallDir, DefaultWhenUnsetOrEmpty) {
    for (const char* value : {static_cast<const char*>(nullptr), ""}) {
        if (value)
            setenv("GUI_MM_DIR", value, 1);
        else
            unsetenv("GUI_MM_DIR");
        std::string warning = resolve_mm_dir();
        EXPECT_EQ(warning, "The GUI_MM_DIR environment variable has not been defined.\nUsing the "
                           "default directory '/usr/morix/gui_mm_R3.1'.");
        EXPECT_EQ(mm_dir, "/usr/morix/gui_mm_R3.1");
        // A child process sees the directory in its environment.
        std::FILE* p = popen("printf %s \"$GUI_MM_DIR\"", "r");
        ASSERT_NE(p, nullptr);
        char buf[256] = {};
        size_t n = std::fread(buf, 1, sizeof buf - 1, p);
        pclose(p);
        EXPECT_EQ(std::string(buf, n), "/usr/morix/gui_mm_R3.1");
    }
    setenv("GUI_MM_DIR", "/opt/mm", 1);
    EXPECT_EQ(resolve_mm_dir(), "");
    EXPECT_EQ(mm_dir, "/opt/mm");
}

TEST(UsersList, PiecesOfEightWithBlanksRemoved) {
    TempDir d;
    std::string f = d.file("users.list");
    write_file(f, "   alice   \nabcdefghijklm\n\nbob\n");
    EXPECT_EQ(user_in_list(f, "alice"), 1);
    EXPECT_EQ(user_in_list(f, "abcdefgh"), 1); // first piece of the long line
    EXPECT_EQ(user_in_list(f, "ijklm"), 1);    // its second piece
    EXPECT_EQ(user_in_list(f, "bob"), 1);
    EXPECT_EQ(user_in_list(f, "carol"), 0);
    EXPECT_EQ(user_in_list(f, ""), 0); // empty lines never match
    EXPECT_EQ(user_in_list(d.file("missing"), "alice"), -1);
    write_file(f, "dave"); // no line end at the end
    EXPECT_EQ(user_in_list(f, "dave"), 1);
}

TEST(UsersList, SecurityCheckWarnsAndRestricts) {
    TempDir d;
    mm_dir = d.path();
    const std::string second = "You will not have access to commands that can\nchange current "
                               "Morix configurations. Check\nthe users.list file.";
    hl_reset();
    gui_check_security("alice");
    EXPECT_EQ(hl_texts("warn"),
              (std::vector<std::string>{"Could not open user access file.", second}));
    EXPECT_EQ(g_user_privileged, 0);
    EXPECT_EQ(g_may_change, 0);
    for (int id : {W_BOOT_PB, W_COPY_PB, W_RESET_PB, W_SCR_EXE_PB, W_SET_PB, W_MAIN_SET_PB,
                   W_AUTO_RESET_TB, W_UNDO_PB, W_EDIT_CFG_PB, W_IMDM_APPLY})
        EXPECT_FALSE(is_sens(id)) << id;
    for (int id : {BW_SETUP_APPLY, BW_GEN_CONT_OK, BW_ADD_OK, BW_WAN_EDIT_APPLY})
        EXPECT_FALSE(is_sens(id, UI_BASIC)) << id;
    EXPECT_TRUE(is_sens(W_BCAST_PB)); // Broadcast stays

    std::filesystem::create_directories(d.file("bin"));
    write_file(d.file("bin/users.list"), "bob\n");
    hl_reset();
    gui_check_security("alice");
    EXPECT_EQ(hl_texts("warn"), std::vector<std::string>{second});

    hl_reset();
    gui_check_security("bob");
    EXPECT_TRUE(hl_texts("warn").empty());
    EXPECT_EQ(g_user_privileged, 1);
    EXPECT_EQ(g_may_change, 1);
    EXPECT_TRUE(is_sens(W_SET_PB));
}

TEST(Registry, StagedWindows) {
    std::vector<const WindowRow*> staged = staged_windows();
    EXPECT_EQ(staged.size(), 24u);
    std::set<int> shells, forms;
    int last_step = 0;
    for (const WindowRow* w : staged) {
        EXPECT_TRUE(shells.insert(w->place.shell).second) << w->title;
        EXPECT_TRUE(forms.insert(w->form).second) << w->title;
        EXPECT_GE(w->place.shell, W_HELP_SHELL);
        EXPECT_LT(w->place.shell, MAX_WIDGETS);
        EXPECT_GE(w->place.step, last_step) << w->title; // built in step order
        last_step = w->place.step;
        EXPECT_LE(w->place.step, 19);
    }
    const WindowRow* set = window_of_form(W_SET_FORM);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->form, W_SET_FORM);
    EXPECT_EQ(window_of_form(W_SET_VD_DIALOG), nullptr);
}

// Every id has one meaning: it belongs to one window, in one role.
TEST(Registry, EveryIdInOneRowOnce) {
    std::map<int, std::string> seen;
    auto claim = [&](int id, const WindowRow& w, const char* role) {
        if (id <= 0)
            return;
        auto r = seen.emplace(id, std::string(w.title) + " " + role);
        EXPECT_TRUE(r.second) << id << " is " << r.first->second << " and " << w.title << " "
                              << role;
        EXPECT_EQ(window_of_id(id), &w) << id;
    };
    for (const WindowRow& w : window_rows()) {
        for (const CommandRow& c : w.commands)
            claim(c.id, w, "command");
        for (const HelpRow& h : w.help) {
            claim(h.id, w, "help");
            EXPECT_STRNE(help_file_of(h.id, UI_MAIN), "") << h.id;
        }
        for (int id : w.saves)
            claim(id, w, "save");
        claim(w.clear_id, w, "clear");
        claim(w.close_id, w, "close");
    }
}

TEST(About, NamesVersionAndFits) {
    std::string t = build_about_text();
    EXPECT_EQ(t.rfind("Morix Manager Version R3.1.\n", 0), 0u);
    EXPECT_NE(t.find("14.1"), std::string::npos);
    EXPECT_LE(t.size(), 1024u);
}

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <new>

#include "ui/app_globals.h"

// Memory exhaustion ends the program with its message and a failure status.
TEST(OutOfMemory, NewHandlerReportsAndFails) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer handles allocation failures itself";
#else
    int err[2];
    ASSERT_EQ(pipe(err), 0);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        dup2(err[1], 2);
        rlimit lim{512ul << 20, 512ul << 20};
        setrlimit(RLIMIT_AS, &lim);
        std::set_new_handler(mm_out_of_memory);
        void* p = ::operator new(1ul << 30);
        std::printf("%p\n", p);
        _exit(0);
    }
    close(err[1]);
    std::string text;
    char buf[256];
    ssize_t n;
    while ((n = read(err[0], buf, sizeof buf)) > 0)
        text.append(buf, static_cast<size_t>(n));
    close(err[0]);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(text, "App Error: Process ran out of memory\n");
#endif
}
