// Replacing data files: the new contents land whole or not at all, and a
// failure (read-only folder, full file system, missing original) leaves every
// original byte for byte as it was and no temporary file behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "catalogue/data_file_edit.h"
#include "catalogue/file_replace.h"
#include "support/test_dirs.h"

namespace {

// Files of the folder, sorted.
std::vector<std::string> listing(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FileReplace, ReplacesAndKeepsPermissions) {
    TempDir d;
    write_file(d.file("a.dat"), "old\n");
    ::chmod(d.file("a.dat").c_str(), 0640);
    ReplaceFailure f;
    ASSERT_EQ(replace_file_safely({d.file("a.dat"), "a_tmp.dat", "new\n"}, &f), FR_OK);
    EXPECT_EQ(read_file(d.file("a.dat")), "new\n");
    struct stat st;
    ::stat(d.file("a.dat").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(listing(d.path()), std::vector<std::string>{"a.dat"});
}

// Whatever a crashed run or another operator left at the temporary names
// (a file, a rollback copy, a planted link, the names of this very process)
// neither blocks a change nor is followed, reused or removed.
TEST(FileReplace, LeftoversAtTemporaryNamesNeitherBlockNorAreTouched) {
    const std::string pid = std::to_string(::getpid());
    const std::vector<std::vector<std::string>> leftovers = {
        {"b_tmp.dat"},
        {"a_tmp.dat.old", "b_tmp.dat.old"},
        {"a_tmp.dat@victim"},
        {"a_tmp.dat." + pid + ".0", "b_tmp.dat." + pid + ".0.old"},
    };
    for (const auto& left : leftovers) {
        TempDir d;
        write_file(d.file("a.dat"), "a-old\n");
        write_file(d.file("b.dat"), "b-old\n");
        write_file(d.file("victim"), "victim\n");
        for (const std::string& l : left) {
            size_t at = l.find('@');
            if (at == std::string::npos)
                write_file(d.file(l), "left\n");
            else
                ASSERT_EQ(
                    ::symlink(d.file(l.substr(at + 1)).c_str(), d.file(l.substr(0, at)).c_str()),
                    0);
        }
        std::vector<std::string> before = listing(d.path());
        ReplaceFailure f;
        EXPECT_EQ(replace_file_safely({d.file("a.dat"), "a_tmp.dat", "a-new\n"}, &f), FR_OK)
            << left[0];
        EXPECT_EQ(replace_files_together({{d.file("a.dat"), "a_tmp.dat", "a-2\n"},
                                          {d.file("b.dat"), "b_tmp.dat", "b-2\n"}},
                                         &f),
                  FR_OK)
            << left[0];
        EXPECT_EQ(read_file(d.file("a.dat")), "a-2\n");
        EXPECT_EQ(read_file(d.file("b.dat")), "b-2\n");
        EXPECT_EQ(read_file(d.file("victim")), "victim\n");
        EXPECT_EQ(listing(d.path()), before) << left[0];
    }
}

TEST(FileReplace, ReadOnlyFolderLeavesOriginal) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root ignores folder permissions; the tmpfs and link cases cover this";
    TempDir d;
    write_file(d.file("a.dat"), "old\n");
    ::chmod(d.path().c_str(), 0555);
    ReplaceFailure f;
    EXPECT_EQ(replace_file_safely({d.file("a.dat"), "a_tmp.dat", "new\n"}, &f), FR_CREATE_FAILED);
    ::chmod(d.path().c_str(), 0755);
    EXPECT_EQ(read_file(d.file("a.dat")), "old\n");
}

// Nothing is renamed until every temporary file and rollback name exists:
// a second file that cannot get its rollback name (it is missing) changes
// neither file and leaves nothing behind.
TEST(FileReplace, TogetherChangesNothingWhenOneCannotBeStaged) {
    TempDir d;
    write_file(d.file("a.dat"), "a-old\n");
    ReplaceFailure f;
    int r = replace_files_together(
        {{d.file("a.dat"), "a_tmp.dat", "a-new\n"}, {d.file("b.dat"), "b_tmp.dat", "b-new\n"}}, &f);
    EXPECT_EQ(r, FR_CREATE_FAILED);
    EXPECT_EQ(read_file(d.file("a.dat")), "a-old\n");
    EXPECT_EQ(listing(d.path()), std::vector<std::string>{"a.dat"});
}

// Fails the second rename of a replacement, as a full or failing disk could.
int g_renames = 0;
int fail_second_rename(const char* from, const char* to) {
    if (++g_renames == 2) {
        errno = EIO;
        return -1;
    }
    return ::rename(from, to);
}

TEST(FileReplace, FailedRenameRollsBackEarlierFiles) {
    TempDir d;
    const char* names[] = {"a.dat", "b.dat", "c.dat"};
    std::vector<FileChange> changes;
    for (const char* n : names) {
        write_file(d.file(n), std::string(n) + "-old\n");
        changes.push_back({d.file(n), std::string(n) + ".tmp", std::string(n) + "-new\n"});
    }
    ReplaceFailure f;
    g_renames = 0;
    EXPECT_EQ(replace_files_together(changes, &f, fail_second_rename), FR_RENAME_FAILED);
    EXPECT_EQ(f.file, d.file("b.dat"));
    EXPECT_TRUE(f.rolled_back);
    for (const char* n : names) {
        EXPECT_EQ(read_file(d.file(n)), std::string(n) + "-old\n") << n;
    }
    EXPECT_EQ(listing(d.path()), (std::vector<std::string>{"a.dat", "b.dat", "c.dat"}));
}

// As root, the full and the read-only file system are a small tmpfs
// mounted in a private mount namespace of this test process.
TEST(FileReplace, FullAndReadOnlyFileSystemLeaveOriginal) {
    if (::geteuid() != 0 || ::unshare(CLONE_NEWNS) != 0)
        GTEST_SKIP() << "needs root and a private mount namespace to mount a small tmpfs";
    ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
    TempDir d;
    ASSERT_EQ(::mount("tmpfs", d.path().c_str(), "tmpfs", 0, "size=64k"), 0);
    write_file(d.file("a.dat"), "old\n");
    ReplaceFailure f;
    std::string big(256 * 1024, 'x');
    EXPECT_EQ(replace_file_safely({d.file("a.dat"), "a_tmp.dat", big}, &f), FR_WRITE_FAILED);
    EXPECT_EQ(read_file(d.file("a.dat")), "old\n");
    EXPECT_EQ(listing(d.path()), std::vector<std::string>{"a.dat"});
    ASSERT_EQ(::mount(nullptr, d.path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    EXPECT_EQ(replace_file_safely({d.file("a.dat"), "a_tmp.dat", "new\n"}, &f), FR_CREATE_FAILED);
    EXPECT_EQ(read_file(d.file("a.dat")), "old\n");
    ::umount(d.path().c_str());
}

struct SiteCase {
    const char* name;
    const char* old;
    int id;
    const char* value; // null: remove
    const char* expected;
};

const SiteCase site_cases[] = {
    {"colon separator comes out with a bar", "5 : abc\n", 9, "x", "5 | abc\n9 | x\n"},
    {"blanks inside and at the end kept", "7 | a b  \n", 7, "c  d ", "7 | c  d \n"},
    {"removing a missing default normalises", "# c\n\n3   |   v w\nbad line\n", 4, nullptr,
     "# c\n\n3 | v w\nbad line\n"},
    {"remove keeps the others", "1 | a\n2 | b\n", 1, nullptr, "2 | b\n"},
    {"missing final line end", "1 | a", 2, "b", "1 | a\n2 | b\n"},
    {"second line of the id dropped", "4 | a\n4 | b\n", 4, "c", "4 | c\n"},
};

TEST(SiteDefRewrite, Table) {
    for (const SiteCase& c : site_cases) {
        std::string v = c.value ? c.value : "";
        EXPECT_EQ(rewrite_site_def(c.old, c.id, c.value ? &v : nullptr), c.expected) << c.name;
    }
}

TEST(FuncFileEdit, DropNormalisesAndKeepsComments) {
    EXPECT_EQ(drop_func_lines("# head\n128 : A\n 129   |  B\nxx\n", FFK_NAME, 128),
              "# head\n129 | B\nxx\n");
    EXPECT_EQ(drop_func_lines("128 | 4\n130 | 5\n128 | 6\n", FFK_NUM, 128), "130 | 5\n");
    std::set<int> used;
    for (int i = 128; i <= 511; ++i)
        used.insert(i);
    EXPECT_EQ(lowest_free_udf_id(used), -1);
    used.erase(300);
    EXPECT_EQ(lowest_free_udf_id(used), 300);
}

} // namespace
