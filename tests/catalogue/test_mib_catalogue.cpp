// MIB catalogue readers and look-ups, on files written for each case.
#include <gtest/gtest.h>

#include <filesystem>

#include "catalogue/mib_catalogue.h"
#include "support/test_dirs.h"
#include "ui/app_globals.h"

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

namespace {

std::string mib_line(int id, const std::string& name, int wt = 1, int pc = 0, int enum_id = -1,
                     int internal = 0) {
    return std::to_string(id) + " | " + name + " | " + name + "Str | 1.3.6.1.4.1.32473.9." +
           std::to_string(id) + " | 3 | " + std::to_string(wt) + " | " + std::to_string(pc) +
           " | 0 | " + std::to_string(enum_id) + " | 1 | " + std::to_string(internal) + " | 0\n";
}

class MibCatalogue : public testing::Test {
  protected:
    void SetUp() override { clear_mib_info(); }
    void TearDown() override { clear_mib_info(); }

    // Reads mib.dat content and returns what was reported on stdout.
    std::string load_mib(const std::string& content) {
        write_file(tmp.file("mib.dat"), content);
        CaptureStdout();
        EXPECT_EQ(read_mib_dat(tmp.file("mib.dat")), 0);
        return GetCapturedStdout();
    }
    std::string load_enum(const std::string& content) {
        write_file(tmp.file("mib_enum.dat"), content);
        CaptureStdout();
        EXPECT_EQ(read_mib_enum_dat(tmp.file("mib_enum.dat")), 0);
        return GetCapturedStdout();
    }
    std::string load_site(const std::string& content) {
        write_file(tmp.file("mib_site_def.dat"), content);
        CaptureStdout();
        EXPECT_EQ(read_mib_site_def_dat(tmp.file("mib_site_def.dat")), 0);
        return GetCapturedStdout();
    }
    TempDir tmp;
};

TEST_F(MibCatalogue, ReadsAllTwelveFieldsOfAValidLine) {
    std::string out =
        load_mib("40 | portSpeed | mrxPortSpeed | 1.3.6.1.4.1.32473.2.3.1.5 | 3 | 2 | "
                 "4 | 1 | 12 | 9600 | 2 | 3\n");
    EXPECT_EQ(out, "");
    const MibVarEntry* e = mib_var(40);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->name, "portSpeed");
    EXPECT_EQ(e->oid_str, "mrxPortSpeed");
    EXPECT_EQ(e->oid_num, "1.3.6.1.4.1.32473.2.3.1.5");
    EXPECT_EQ(e->data_type, 3);
    EXPECT_EQ(e->write_type, 2);
    EXPECT_EQ(e->port_class, 4);
    EXPECT_EQ(e->inst_type, 1);
    EXPECT_EQ(e->enum_id, 12);
    EXPECT_EQ(e->def_val, "9600");
    EXPECT_FALSE(e->has_site_def);
    EXPECT_EQ(e->internal_code, 2);
    EXPECT_EQ(e->reset_map_idx, 3);
}

TEST_F(MibCatalogue, CommentOnlyInFirstColumnAndBlankLinesSkipped) {
    std::string bad = " # not a comment\n";
    std::string out = load_mib("# a comment line\n\n   \t\n" + bad + mib_line(1, "a"));
    EXPECT_EQ(out, "\n\nInvalid mib.dat data line: \n\t" + bad + "\n\n");
    EXPECT_NE(mib_var(1), nullptr);
}

TEST_F(MibCatalogue, ElevenFieldLineIsReportedAndSlotKept) {
    load_mib(mib_line(7, "keep"));
    std::string eleven = "7 | other | o | 1.2 | 3 | 1 | 0 | 0 | -1 | 1 | 0\n";
    std::string out = load_mib(eleven);
    EXPECT_EQ(out, "\n\nInvalid mib.dat data line: \n\t" + eleven + "\n\n");
    ASSERT_NE(mib_var(7), nullptr);
    EXPECT_EQ(mib_var(7)->name, "keep");
}

TEST_F(MibCatalogue, LaterLineWithSameIdWins) {
    load_mib(mib_line(40, "first") + mib_line(40, "second"));
    EXPECT_EQ(mib_var(40)->name, "second");
}

TEST_F(MibCatalogue, IdsOutsideTheTablesAreInvalidLines) {
    std::string out =
        load_mib(mib_line(768, "big") + mib_line(-1, "neg") + mib_line(5, "enumbig", 1, 0, 256) +
                 mib_line(6, "enumneg", 1, 0, -2) + mib_line(767, "last", 1, 0, 255));
    EXPECT_EQ(mib_var(5), nullptr);
    EXPECT_EQ(mib_var(6), nullptr);
    ASSERT_NE(mib_var(767), nullptr);
    size_t reports = 0;
    for (size_t p = out.find("Invalid mib.dat"); p != std::string::npos;
         p = out.find("Invalid mib.dat", p + 1))
        ++reports;
    EXPECT_EQ(reports, 4u);
}

TEST_F(MibCatalogue, NumberTooLargeForAnIntIsInvalid) {
    std::string out = load_mib("99999999999 | n | n | 1.2 | 3 | 1 | 0 | 0 | -1 | 1 | 0 | 0\n");
    EXPECT_NE(out.find("Invalid mib.dat"), std::string::npos);
}

TEST_F(MibCatalogue, OverlongLineIsReadInPiecesOfAtMost255) {
    // A valid 12-field line padded past 255 characters: the first piece is
    // still a whole variable, the rest comes as a piece of its own.
    std::string line = "3 | longname | s | 1.2.3 | 2 | 1 | 0 | 0 | -1 | dflt | 0 | 0 ";
    line += std::string(255 - line.size(), ' ') + "tail-words here\n";
    std::string out = load_mib(line);
    ASSERT_NE(mib_var(3), nullptr);
    EXPECT_EQ(mib_var(3)->name, "longname");
    EXPECT_EQ(out, "\n\nInvalid mib.dat data line: \n\ttail-words here\n\n\n");
}

TEST_F(MibCatalogue, SiteDefaultKeepsInnerAndTrailingBlanks) {
    load_mib(mib_line(40, "v40") + mib_line(41, "v41"));
    std::string out = load_site("# header\n40 | two words  \n41 : x\n500 | nobody\n");
    EXPECT_EQ(out, "");
    EXPECT_TRUE(mib_var(40)->has_site_def);
    EXPECT_EQ(mib_var(40)->site_def_val, "two words  ");
    EXPECT_EQ(mib_var(41)->site_def_val, "x");
    // A reload clears defaults that are no longer in the file.
    load_site("41 | y\n");
    EXPECT_FALSE(mib_var(40)->has_site_def);
    EXPECT_EQ(mib_var(41)->site_def_val, "y");
}

TEST_F(MibCatalogue, SiteDefaultLineWithoutValueIsReported) {
    load_mib(mib_line(40, "v40"));
    std::string out = load_site("40 |   \n");
    EXPECT_EQ(out, "\n\nInvalid mib_site_def.dat data line: \n\t40 |   \n\n\n");
    EXPECT_FALSE(mib_var(40)->has_site_def);
}

TEST_F(MibCatalogue, EnumerationGroupThatComesBackReplacesEarlierEntries) {
    load_enum("5 | 1 | one\n5 | 2 | two\n6 | 1 | other\n5 | 3 | three\n5 | 4 | four\n");
    ASSERT_EQ(mib_enum_list[5].size(), 2u);
    EXPECT_EQ(mib_enum_list[5][0].value, 3);
    EXPECT_EQ(mib_enum_list[5][1].text, "four");
    EXPECT_EQ(mib_enum_list[6].size(), 1u);
}

TEST_F(MibCatalogue, EnumerationLineRulesAndLimit) {
    std::string out = load_enum("256 | 1 | x\n-1 | 1 | y\n9 | 1\n9 | 2 | ok\n");
    EXPECT_EQ(mib_enum_list[9].size(), 1u);
    EXPECT_NE(out.find("Invalid mib_enum.dat data line: \n\t256 | 1 | x\n"), std::string::npos);
    EXPECT_NE(out.find("\t-1 | 1 | y\n"), std::string::npos);
    EXPECT_NE(out.find("\t9 | 1\n"), std::string::npos);
}

TEST_F(MibCatalogue, LookupByAnyNameReturnsLowestId) {
    load_mib(mib_line(10, "dup") + mib_line(4, "dup") + mib_line(20, "other"));
    int id = -1;
    EXPECT_EQ(get_check_mib_var("dup", &id), 1);
    EXPECT_EQ(id, 4);
    EXPECT_EQ(get_check_mib_var("otherStr", &id), 1);
    EXPECT_EQ(id, 20);
    EXPECT_EQ(get_check_mib_var("1.3.6.1.4.1.32473.9.20", &id), 1);
    EXPECT_EQ(id, 20);
    id = -7;
    EXPECT_EQ(get_check_mib_var("missing", &id), 0);
    EXPECT_EQ(get_check_mib_var("", &id), 0);
    EXPECT_EQ(id, -7);
}

TEST_F(MibCatalogue, LookupFollowsEveryRead) {
    // The lowest id wins across fields: "aStr" is entry 3's OID string and
    // entry 9's name.
    load_mib(mib_line(9, "aStr") + mib_line(3, "a") + mib_line(5, "old"));
    int id = -1;
    EXPECT_EQ(get_check_mib_var("aStr", &id), 1);
    EXPECT_EQ(id, 3);
    // A later read replaces slot 5: the old names are gone with it.
    load_mib(mib_line(5, "new"));
    EXPECT_EQ(get_check_mib_var("old", &id), 0);
    EXPECT_EQ(get_check_mib_var("oldStr", &id), 0);
    EXPECT_EQ(get_check_mib_var("newStr", &id), 1);
    EXPECT_EQ(id, 5);
    clear_mib_info();
    EXPECT_EQ(get_check_mib_var("new", &id), 0);
}

TEST_F(MibCatalogue, EnumerationConversionsBothWays) {
    load_mib(mib_line(1, "mode", 1, 0, 3) + mib_line(2, "plain"));
    load_enum("3 | 1 | enabled\n3 | 2 | disabled\n3 | 2 | dupvalue\n");
    std::string name = "untouched";
    EXPECT_EQ(cvt_enum_num_str(1, "2", &name), 1);
    EXPECT_EQ(name, "disabled");
    name = "untouched";
    EXPECT_EQ(cvt_enum_num_str(1, "9", &name), 0);
    EXPECT_EQ(name, "untouched");
    std::string value;
    EXPECT_EQ(cvt_enum_str_num(1, "enabled", &value), 1);
    EXPECT_EQ(value, "1");
    EXPECT_EQ(cvt_enum_str_num(1, "Enabled", &value), 0); // case counts
    EXPECT_EQ(cvt_enum_str_num(2, "enabled", &value), 0); // not enumerated
    EXPECT_EQ(cvt_enum_num_str(700, "1", &name), 0);      // empty slot
}

TEST_F(MibCatalogue, WritabilityByPortClassAndWriteType) {
    // id = port class * 10 + write type
    std::string text;
    for (int pc : {0, 4, 5, 6, 8, 11})
        for (int wt = 0; wt <= 5; ++wt)
            text += mib_line(pc * 10 + wt, "v" + std::to_string(pc * 10 + wt), wt, pc);
    load_mib(text);
    // {id, port type, writable}: class 4 async and sync, class 5 async and
    // printer, class 6 async, sync and ethernet.
    const int table[][3] = {{0, 0, 0},  {1, 0, 1},  {3, 7, 1},  {42, 1, 1}, {42, 2, 0}, {42, 0, 0},
                            {43, 2, 1}, {41, 9, 1}, {40, 1, 0}, {44, 3, 0}, {54, 3, 1}, {53, 2, 0},
                            {52, 1, 1}, {65, 4, 1}, {63, 2, 1}, {65, 1, 0}, {64, 3, 0}};
    for (const auto& t : table)
        EXPECT_EQ(check_mib_var_write(t[0], t[1]), t[2]) << t[0] << " " << t[1];
    // class 8 and classes above 10 are never writable and say so.
    for (int id : {81, 111}) {
        CaptureStderr();
        EXPECT_EQ(check_mib_var_write(id, 9), 0);
        EXPECT_EQ(GetCapturedStderr(), "\n\nInvalid data indicator. Software error.\n\n");
    }
}

TEST(MibText, RemoveBlanksAndTrailingBlanks) {
    std::string out;
    remove_blanks(" a b\tc\nd\r\v\fe ", &out);
    EXPECT_EQ(out, "abcde");
    std::string t = "keep inner  \t\n ";
    remove_trail_blanks(&t);
    EXPECT_EQ(t, "keep inner");
    std::string empty = " \t";
    remove_trail_blanks(&empty);
    EXPECT_EQ(empty, "");
}

TEST(MibInfo, MissingFileStopsWithEarlierDataKept) {
    TempDir dir;
    std::filesystem::create_directories(dir.file("data/gui_mm_data"));
    write_file(dir.file("data/gui_mm_data/mib.dat"), mib_line(12, "kept"));
    write_file(dir.file("data/gui_mm_data/mib_site_def.dat"), "12 | site\n");
    mm_dir = dir.path();
    EXPECT_EQ(read_mib_info("data/gui_mm_data"), -4); // no mib_enum.dat
    ASSERT_NE(mib_var(12), nullptr);
    EXPECT_EQ(mib_var(12)->site_def_val, "site");
    std::filesystem::remove(dir.file("data/gui_mm_data/mib.dat"));
    EXPECT_EQ(read_mib_info("data/gui_mm_data"), -4);
    EXPECT_EQ(mib_var(12), nullptr);
    clear_mib_info();
}

TEST(MibInfo, SetSiteDefaultReplacesAndClears) {
    clear_mib_info();
    TempDir dir;
    write_file(dir.file("m"), mib_line(3, "x"));
    ASSERT_EQ(read_mib_dat(dir.file("m")), 0);
    std::string v = "a b";
    set_site_default(3, &v);
    EXPECT_EQ(mib_var(3)->site_def_val, "a b");
    set_site_default(3, nullptr);
    EXPECT_FALSE(mib_var(3)->has_site_def);
    set_site_default(5, &v);    // empty slot: nothing happens
    set_site_default(9999, &v); // out of range: nothing happens
    EXPECT_EQ(mib_var(5), nullptr);
    clear_mib_info();
}

} // namespace
