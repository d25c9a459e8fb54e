// Undo scripts without a peer: their names, the bound per device, and the
// comparison of a value read back with the value sent.
#include <gtest/gtest.h>

#include "catalogue/mib_catalogue.h"
#include "ops/undo.h"
#include "support/test_dirs.h"

namespace {

class UndoFiles : public testing::Test {
  protected:
    void SetUp() override {
        staged = std::make_unique<StagedInstall>();
        ASSERT_EQ(read_mib_info("data/gui_mm_data"), 0);
    }
    std::unique_ptr<StagedInstall> staged;
};

// The journal's order is its own sequence (an older time-stamped name
// counts as older than any numbered one); the newest UNDO_KEEP per device
// are kept.
TEST_F(UndoFiles, JournalOrderIsItsSequence) {
    EXPECT_EQ(undo_file_name("lab/a b", 42), "lab_a_b_0000000042.scr");
    std::string path, reason;
    ASSERT_EQ(undo_dir_ready(&reason), 0) << reason;
    write_file(undo_dir() + "/10.0.0.1_20991231-235959-999.scr", "#old\n");
    for (int i = 0; i < UNDO_KEEP + 3; ++i)
        ASSERT_EQ(write_undo_script("10.0.0.1", "#" + std::to_string(i) + "\n", UNDO_KEEP, &path,
                                    &reason),
                  0)
            << reason;
    ASSERT_EQ(write_undo_script("10.0.0.11", "#other\n", UNDO_KEEP, &path, &reason), 0);
    std::vector<std::string> kept = undo_scripts_of("10.0.0.1");
    ASSERT_EQ(kept.size(), static_cast<size_t>(UNDO_KEEP));
    // The time-stamped one and the three oldest numbered went.
    EXPECT_EQ(read_file(kept.front()), "#3\n");
    EXPECT_EQ(read_file(kept.back()), "#" + std::to_string(UNDO_KEEP + 2) + "\n");
    EXPECT_EQ(undo_scripts_of("10.0.0.11").size(), 1u);
}

TEST_F(UndoFiles, ReadBackComparesByType) {
    struct Case {
        const char* var;
        const char* sent;
        const char* read;
        bool held;
    };
    const Case cases[] = {
        {"mrxDialoutRetries", "5", "5", true},
        {"mrxDialoutRetries", " +5 ", "5", true},
        {"mrxDialoutRetries", "5", "50", false},
        {"mrxNameServer1Type", "1", "1", true},
        {"mrxNameServer1Type", "1", "2", false},
        {"mrxNameServer1Addr", "10.0.0.1 ", "10.0.0.1", true},
        {"mrxNameServer1Addr", "10.0.0.1", "10.0.0.2", false},
        {"sysContact", "night", "night", true},
        {"sysContact", "night", "night ", false},
        {"sysContact", "", "", true},
    };
    for (const Case& c : cases) {
        int id = -1;
        ASSERT_TRUE(get_check_mib_var(c.var, &id)) << c.var;
        EXPECT_EQ(set_value_held(id, c.sent, c.read), c.held) << c.var << " " << c.sent;
    }
}

} // namespace
