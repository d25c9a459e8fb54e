// The real gui_mm binary: fatal stops end with a message and a non-zero
// status, an invalid option does not stop start-up, and Exit from the File
// menu by a real click ends with status 0.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <unistd.h>

#include <filesystem>

#include "gui_harness.h"

namespace {

class Program : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(start_xvfb());
        ASSERT_TRUE(start_mwm());
    }
    static void TearDownTestSuite() { stop_xvfb(); }
};

// Waits for the main window, then clicks File and the Exit entry of its
// menu; tries again while the window is still there, since the menus stay
// insensitive until start-up has finished (a click that misses the menu
// lands on a label and does nothing).
void exit_from_menu() {
    std::string out;
    for (int i = 0; i < 100 && out.empty(); ++i) {
        run_command({"xdotool", "search", "--onlyvisible", "--name", "Morix Manager"}, &out);
        if (out.empty())
            usleep(100000);
    }
    // Clicks relative to the program's window: the window manager's frame
    // moves it away from the position the program asked for.
    for (int attempt = 0; attempt < 10 && !out.empty(); ++attempt) {
        std::string win = out.substr(0, out.find('\n'));
        usleep(1000000);
        run_command({"xdotool", "mousemove", "--window", win, "30", "17", "click", "1"});
        usleep(400000);
        run_command({"xdotool", "mousemove", "--window", win, "30", "89", "click", "1"});
        usleep(600000);
        out.clear();
        run_command({"xdotool", "search", "--onlyvisible", "--name", "Morix Manager"}, &out);
    }
}

// Window ids that xdotool finds by title (first match), or 0.
unsigned long find_window(const std::string& title) {
    std::string out;
    run_command({"xdotool", "search", "--onlyvisible", "--name", title}, &out);
    return out.empty() ? 0 : std::stoul(out);
}

struct Stacking {
    int main_index = -1;
    int warning_index = -1;
    bool warning_viewable = false;
};
Stacking g_stacking;

// Waits for the start-up warning box, lets start-up finish (it lays the
// main window out and raises it), then reads the server's stacking order.
void read_startup_stacking() {
    unsigned long warning = 0, main_window = 0;
    for (int i = 0; i < 150 && (warning == 0 || main_window == 0); ++i) {
        usleep(100000);
        warning = find_window("Warning Message");
        main_window = find_window("Morix Manager");
    }
    if (warning == 0 || main_window == 0)
        return;
    usleep(1500000);
    Display* dpy = XOpenDisplay(nullptr);
    if (dpy == nullptr)
        return;
    g_stacking.main_index = stacking_index(dpy, main_window);
    g_stacking.warning_index = stacking_index(dpy, warning);
    XWindowAttributes a;
    g_stacking.warning_viewable =
        XGetWindowAttributes(dpy, warning, &a) != 0 && a.map_state == IsViewable;
    XCloseDisplay(dpy);
    screenshot("startup_warning_stacking");
}

} // namespace

// Without bin/users.list the access warning opens at the end of start-up;
// under the window manager it must be the topmost frame, above the main
// window it holds modal.
TEST_F(Program, StartUpWarningStaysAboveMainWindow) {
    std::string dir = copy_stage_dir();
    std::filesystem::remove(dir + "/bin/users.list");
    std::string err;
    g_stacking = Stacking();
    run_program({"-nod"}, {"GUI_MM_DIR=" + dir}, 500, &err, read_startup_stacking);
    remove_tree(dir);
    ASSERT_GE(g_stacking.main_index, 0) << err;
    ASSERT_GE(g_stacking.warning_index, 0);
    EXPECT_TRUE(g_stacking.warning_viewable);
    EXPECT_GT(g_stacking.warning_index, g_stacking.main_index);
}

// A missing interface description, display or catalogue file stops start-up
// with its message and status 1.
TEST_F(Program, FatalStopsEndNonZeroWithTheirMessage) {
    std::string dir = copy_stage_dir();
    std::filesystem::remove(dir + "/data/gui_mm_data/mib.dat");
    const struct {
        std::string env;
        const char* message;
    } cases[] = {
        {"GUI_MM_DIR=/nonexistent/mm",
         "\n\nCannot open hierarchy. Check GUI_MM_DIR environment variable for accuracy.\n\n"},
        {"DISPLAY=:1999", "\n\nFailed to open the display.\n\n"},
        {"GUI_MM_DIR=" + dir, "\n\nCannot open data files.\nCheck file permissions and "
                              "GUI_MM_DIR environment variable.\n\n"},
    };
    for (const auto& c : cases) {
        std::string err;
        EXPECT_EQ(run_program({"-nod"}, {c.env}, 15000, &err), 1) << c.env;
        EXPECT_NE(err.find(c.message), std::string::npos) << err;
    }
    remove_tree(dir);
}

TEST_F(Program, InvalidOptionThenExitFromMenu) {
    std::string dir = copy_stage_dir();
    std::string err;
    int rc = run_program({"-nod", "-x"}, {"GUI_MM_DIR=" + dir, "XENVIRONMENT="}, 20000, &err,
                         exit_from_menu);
    remove_tree(dir);
    EXPECT_EQ(rc, 0) << err;
    EXPECT_NE(err.find("Invalid argument option: -x\n"), std::string::npos) << err;
    // The note ends with its own line end: the next message starts a line.
    EXPECT_NE(err.find("The XENVIRONMENT environment variable is not set.\nResources may not be "
                       "correct.\n"),
              std::string::npos)
        << err;
}
