// The real gui_mm binary: fatal stops end with a message and a non-zero
// status, an invalid option does not stop start-up, and Exit from the File
// menu by a real click ends with status 0.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "gui_harness.h"

namespace {

class Program : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(start_xvfb()); }
    static void TearDownTestSuite() { stop_xvfb(); }
};

// Waits for the main window, then clicks File and the Exit entry of its
// menu; tries again while the window is still there, since the menus stay
// insensitive until start-up has finished (a click that misses the menu
// lands on a label and does nothing).
void exit_from_menu() {
    std::string out;
    for (int i = 0; i < 100 && out.empty(); ++i) {
        run_command({"xdotool", "search", "--name", "Morix Manager"}, &out);
        if (out.empty())
            usleep(100000);
    }
    for (int attempt = 0; attempt < 10 && !out.empty(); ++attempt) {
        usleep(1000000);
        run_command({"xdotool", "mousemove", "40", "27", "click", "1"});
        usleep(400000);
        run_command({"xdotool", "mousemove", "40", "99", "click", "1"});
        usleep(600000);
        out.clear();
        run_command({"xdotool", "search", "--name", "Morix Manager"}, &out);
    }
}

} // namespace

TEST_F(Program, MissingInterfaceDescriptionStopsNonZero) {
    std::string err;
    int rc = run_program({"-nod"}, {"GUI_MM_DIR=/nonexistent/mm"}, 10000, &err);
    EXPECT_EQ(rc, 1);
    EXPECT_NE(err.find("\n\nCannot open hierarchy. Check GUI_MM_DIR environment variable for "
                       "accuracy.\n\n"),
              std::string::npos)
        << err;
}

TEST_F(Program, NoDisplayStopsNonZero) {
    std::string err;
    int rc = run_program({"-nod"}, {"DISPLAY=:1999"}, 10000, &err);
    EXPECT_EQ(rc, 1);
    EXPECT_NE(err.find("\n\nFailed to open the display.\n\n"), std::string::npos) << err;
}

TEST_F(Program, MissingCatalogueStopsNonZero) {
    std::string dir = copy_stage_dir();
    std::filesystem::remove(dir + "/data/gui_mm_data/mib.dat");
    std::string err;
    int rc = run_program({"-nod"}, {"GUI_MM_DIR=" + dir}, 15000, &err);
    remove_tree(dir);
    EXPECT_EQ(rc, 1);
    EXPECT_NE(err.find("\n\nCannot open data files.\nCheck file permissions and GUI_MM_DIR "
                       "environment variable.\n\n"),
              std::string::npos)
        << err;
}

TEST_F(Program, InvalidOptionThenExitFromMenu) {
    std::string dir = copy_stage_dir();
    std::string err;
    int rc = run_program({"-nod", "-x"}, {"GUI_MM_DIR=" + dir, "XENVIRONMENT="}, 20000, &err,
                         exit_from_menu);
    remove_tree(dir);
    EXPECT_EQ(rc, 0) << err;
    EXPECT_NE(err.find("Invalid argument option: -x\n"), std::string::npos) << err;
    EXPECT_NE(err.find("The XENVIRONMENT environment variable is not set.\nResources may not be "
                       "correct."),
              std::string::npos);
}
