// No window without a scenario: every window and dialog of the interface
// description (its dialogs, the main window and the forms of the secondary
// windows) must have been opened by one of the operator scenarios. The
// scenario programs record what they opened; ctest runs them first.
#include <gtest/gtest.h>

#include <cstdlib>

#include "frame/registry.h"
#include "operator/operator.h"
#include "support/process.h"

TEST(OperatorWindows, EveryWindowHasAScenario) {
    const char* src = std::getenv("MM_SOURCE_DIR");
    const char* build = std::getenv("MM_BUILD_DIR");
    ASSERT_TRUE(src != nullptr && build != nullptr);
    std::set<std::string> windows;
    for (const auto& [name, kind] : uil_top_objects(std::string(src) + "/ui"))
        if (kind.find("Dialog") != std::string::npos || kind == "XmMainWindow")
            windows.insert(name);
    for (const WindowRow* w : staged_windows())
        windows.insert(w->place.form_name);
    ASSERT_GT(windows.size(), 30u) << "the interface description was not read";
    std::string dir = std::string(build) + "/operator_windows";
    ProgramResult ls = run_program({"ls", dir}, 5000);
    ASSERT_EQ(ls.status, 0) << "no scenario program recorded its windows in " << dir;
    std::set<std::string> opened;
    for (size_t from = 0; from < ls.out.size();) {
        size_t end = ls.out.find('\n', from);
        for (const std::string& w : file_lines(dir + "/" + ls.out.substr(from, end - from)))
            opened.insert(w);
        from = end == std::string::npos ? ls.out.size() : end + 1;
    }
    // The DVS status window serves communication servers only, and
    // identification admits none of them, so no operator can open it.
    const std::set<std::string> unreachable = {"udas_stat_form"};
    for (const std::string& w : windows)
        EXPECT_TRUE(opened.count(w) != 0 || unreachable.count(w) != 0) << "no scenario opens " << w;
}
