// Script files without a peer: the line rules, bad input, the safe
// replacement, and the file comparison (with its 20 000-line timing).
#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include "catalogue/mib_catalogue.h"
#include "frame/script_windows.h"
#include "ops/compare.h"
#include "ops/script_file.h"
#include "support/test_dirs.h"
#include "ui/progress.h"
#include "ui_headless/ui_headless.h"

namespace {

constexpr int OUT = 225;

// Two scripts compared as the Compare window shows them, in OUT.
int compare_files(const std::string& a, const std::string& b) {
    CmpRequest r;
    r.kind = CMP_FIL_FIL, r.file1 = a, r.file2 = b;
    return show_compare(r, OUT, 0);
}

class ScriptFileTest : public testing::Test {
  protected:
    void SetUp() override {
        staged = std::make_unique<StagedInstall>();
        ASSERT_EQ(read_mib_info("data/gui_mm_data"), 0);
        hl_reset();
    }
    std::string script(const std::string& name, const std::string& body) {
        write_file(tmp.file(name), script_header() + body);
        return tmp.file(name);
    }
    std::unique_ptr<StagedInstall> staged;
    TempDir tmp;
};

TEST_F(ScriptFileTest, LineChecks) {
    struct Case {
        const char* line;
        const char* reason;
    } cases[] = {
        {"sysContact | none | 0 | two words  here", ""},
        {"sysContact | none | 0 | \"\"", ""},
        {"mrxNameServer1Type | none | 0 | none", ""},
        {"mrxNameServer1Type | none | 0 | bogus", "Invalid Enumerated Type"},
        {"mrxSubnetMask | none | 0 | 255.0.0", "Invalid IP Address Format"},
        {"mrxDialoutRetries | none | 0 | 5x", "Invalid Integer Format"},
        {"mrxDialoutRetries | none | 0 | \"\"", "Invalid Integer Format"},
        {"mrxDialoutRetries | none | 0 | 4294967297",
         "Invalid Integer Format: mrxDialoutRetries takes -2147483648 to 2147483647, not "
         "4294967297"},
        {"mrxDialoutRetries | none | 0 | 2147483648",
         "Invalid Integer Format: mrxDialoutRetries takes -2147483648 to 2147483647, not "
         "2147483648"},
        {"mrxDialoutRetries | none | 0 | -2147483648", ""},
        {"noSuchThing | none | 0 | 1", "Unknown Parameter Name"},
        {"sysContact | none | 0", "Invalid script file line."},
        {"sysContact | none | x1 | a", "Invalid script file line."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(check_script_line(parse_script_line(c.line)), c.reason) << c.line;
    ScriptLine l = parse_script_line("sysContact | none | 0 | \"\"");
    EXPECT_EQ(l.value, "");
    EXPECT_EQ(parse_script_line("mrxpMode | asy | * | x").port, SCR_WILDCARD);
    EXPECT_EQ(*format_script_line("sysContact", "none", "0", ""), "sysContact | none | 0 | \"\"");
    EXPECT_FALSE(format_script_line("sysContact", "none", "0", std::string(250, 'v')));
}

// What the writer writes reads back as it was: blanks leading a text
// value survive, numbers and names take none, and a comment may be indented.
TEST_F(ScriptFileTest, LinesReadBackAsWritten) {
    const std::pair<const char*, const char*> values[] = {
        {"sysContact", "   three blanks"}, {"sysContact", "\tx"}, {"sysContact", "plain"}};
    for (const auto& [name, value] : values)
        EXPECT_EQ(parse_script_line(*format_script_line(name, "none", "0", value)).value, value)
            << value;
    EXPECT_EQ(parse_script_line("mrxDialoutRetries | none | 0 |    5").value, "5");
    EXPECT_EQ(parse_script_line("mrxNameServer1Type | none | 0 |   none").value, "none");
    ScriptFile f;
    ASSERT_EQ(read_script(script("c", "  # indented\n\t#tab\nsysContact | none | 0 | a\n"), &f),
              SCR_OK);
    ASSERT_EQ(f.lines.size(), 1u);
    EXPECT_EQ(f.lines[0].value, "a");
}

TEST_F(ScriptFileTest, BadInputIsRefusedWithoutHanging) {
    ScriptFile f;
    write_file(tmp.file("nohdr"), "sysContact | none | 0 | a\n");
    EXPECT_EQ(read_script(tmp.file("nohdr"), &f), SCR_BAD_HEADER);
    EXPECT_EQ(read_script(tmp.path(), &f), SCR_NO_FILE);
    ASSERT_EQ(mkfifo(tmp.file("fifo").c_str(), 0600), 0);
    EXPECT_EQ(read_script(tmp.file("fifo"), &f), SCR_NO_FILE);
    EXPECT_EQ(read_script(tmp.file("missing"), &f), SCR_NO_FILE);
    std::string body;
    for (int i = 0; i < 10000; ++i)
        body += "sysContact | none | 0 | v" + std::to_string(i) + "\n";
    body += "sysLocation | none | 0 | " + std::string(300, 'x') + "\n";
    body += std::string("sysName | none | 0 | a\0b\n", 25);
    body += "sysLocation | none | 0 | last"; // no final line end
    ASSERT_EQ(read_script(script("big", body), &f), SCR_OK);
    ASSERT_EQ(f.lines.size(), 10003u);
    EXPECT_EQ(check_script_line(f.lines[10000]), "Invalid script file line.");
    EXPECT_EQ(check_script_line(f.lines[10001]), "Invalid script file line.");
    EXPECT_EQ(f.lines[10002].value, "last");
}

TEST_F(ScriptFileTest, ReplaceKeepsTheOldFileWhenTheFolderIsReadOnly) {
    std::string dir = tmp.file("ro");
    ASSERT_EQ(mkdir(dir.c_str(), 0755), 0);
    write_file(dir + "/s", "old");
    ASSERT_EQ(replace_file_safely(dir + "/s", "new"), 0);
    EXPECT_EQ(read_file(dir + "/s"), "new");
    chmod(dir.c_str(), 0555);
    if (geteuid() != 0) { // root writes anyway
        EXPECT_EQ(replace_file_safely(dir + "/s", "newer"), -1);
    }
    chmod(dir.c_str(), 0755);
    EXPECT_NE(read_file(dir + "/s"), "");
}

TEST_F(ScriptFileTest, FileCompareReportsAndSavesDifferences) {
    std::string a = script("a", "sysContact | none | 0 | ops\nmrxpMode | asy | 2 | slip\n"
                                "sysLocation | none | 0 | \"\"\n");
    std::string b = script("b", "sysLocation | none | 0 | \"\"\nsysContact | none | 0 | night\n"
                                "mrxpMode | asy | * | ppp\n");
    EXPECT_EQ(compare_files(a, b), 3);
    EXPECT_EQ(ui_get_text(OUT), "\nComparing a and b...\n\nEntry mrxpMode (asy port *) in b, "
                                "not in a\n\nEntry mrxpMode (asy port 2) in a, not in b\n\n*** "
                                "sysContact ***\na: ops\nb: night\n\n\nNumber of differences: 3\n");
    CmpSaveOutcome saved = save_cmp_diff_script(tmp.file("d"), front_end_asker());
    ASSERT_EQ(saved.outcome.result, Result::done);
    EXPECT_EQ(read_file(tmp.file("d")), script_header() + "mrxpMode | asy | 2 | slip\n"
                                                          "sysContact | none | 0 | ops\n");
    EXPECT_NE(saved.outcome.report.find("Left out (cannot be scripted):\n\tmrxpMode (asy port *)"),
              std::string::npos);
    CmpRequest same;
    same.kind = CMP_FIL_FIL;
    same.file1 = same.file2 = a;
    EXPECT_EQ(show_compare(same, OUT, 0), -1);
    EXPECT_EQ(hl_texts("warn").back(), "Cannot compare same script file.");
}

// What cannot be scripted is named once per entry, and at most 200 of them.
TEST_F(ScriptFileTest, LeftOutEntriesAreNamedOnceAndBounded) {
    std::string only_b;
    for (int i = 1; i <= 250; ++i)
        only_b += "mrxpMode | asy | " + std::to_string(i) + " | ppp\n";
    std::string a = script("a", "sysContact | none | 0 | ops\n");
    std::string b = script("b", "sysContact | none | 0 | night\n" + only_b + only_b);
    ASSERT_GT(compare_files(a, b), 250);
    CmpSaveOutcome saved = save_cmp_diff_script(tmp.file("d"), front_end_asker());
    ASSERT_EQ(saved.outcome.result, Result::done);
    std::string out = saved.outcome.report;
    size_t left = out.find("Left out (cannot be scripted):\n");
    ASSERT_NE(left, std::string::npos);
    std::string names = out.substr(left);
    EXPECT_EQ(std::count(names.begin(), names.end(), '\n'), 202) << names;
    EXPECT_NE(names.find("\tmrxpMode (asy port 1)\n"), std::string::npos);
    EXPECT_EQ(names.find("\tmrxpMode (asy port 1)\n", names.find("port 1)") + 1),
              std::string::npos);
    EXPECT_NE(names.find("\t... and 50 more entries\n"), std::string::npos) << names;
}

// Two scripts of 20 000 lines that differ only in order: sorting and
// merging must stay well below quadratic time.
TEST_F(ScriptFileTest, TwentyThousandLinesInAnyOrder) {
    std::string fwd, rev;
    for (int i = 0; i < 20000; ++i) {
        std::string l = "mrxpMode | asy | " + std::to_string(i + 1) + " | slip\n";
        fwd += l;
        rev = l + rev;
    }
    std::string a = script("f", fwd), b = script("r", rev);
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(compare_files(a, b), 0);
    double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("compare of two 20000-line scripts: %.3f s\n", s);
    EXPECT_LT(s, 5.0);
    EXPECT_NE(ui_get_text(OUT).find("\n\nNo differences.\n"), std::string::npos);
}

// Lines of 300 characters and lines holding a NUL byte are left out of the
// sorted script (reported, never cut or merged into another entry).
TEST_F(ScriptFileTest, SortLeavesOutOverlongAndNulLines) {
    std::string a = script("long", "sysContact | none | 0 | " + std::string(300, 'x') + "\n" +
                                       std::string("sysName | none | 0 | a\0b\n", 25) +
                                       "sysLocation | none | 0 | lab\n");
    std::string report;
    std::optional<std::vector<SortEntry>> sorted = sort_script(a, &report);
    ASSERT_TRUE(sorted);
    ASSERT_EQ(sorted->size(), 1u);
    EXPECT_EQ((*sorted)[0].name, "sysLocation");
    EXPECT_EQ((*sorted)[0].value, "lab");
    std::string b = script("short", "sysLocation | none | 0 | lab\n");
    EXPECT_EQ(compare_files(a, b), 0);
    EXPECT_NE(ui_get_text(OUT).find("No differences."), std::string::npos);
}

} // namespace
