// Every catalogue reader fed with malformed, truncated, over-long, binary and
// empty files: nothing crashes, bad lines are skipped and the good line that
// follows them is still read.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>

#include "catalogue/func_catalogue.h"
#include "catalogue/mib_catalogue.h"
#include "support/test_dirs.h"
#include "ui/app_globals.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

const char* const k_good_mib = "700 | goodVar | goodVar | 1.3.6.1.4.1.32473.99.1 | 2 | 1 | 0 | 0 | "
                               "-1 | x | 0 | 0\n";

// Garbage of several kinds, deterministic for a given seed.
std::vector<std::string> garbage_corpus(const std::string& valid_sample) {
    std::vector<std::string> out = {"",
                                    "\n",
                                    std::string(10000, 'x'),
                                    std::string(10000, '|') + "\n",
                                    std::string(3000, ' ') + "1 | 2 | 3\n",
                                    std::string("\0\0\0\n", 4),
                                    "-2147483648 | a | b | c | 1 | 1 | 1 | 1 | 1 | 1 | 1 | 1\n",
                                    "2147483648 | 1 | x\n",
                                    "#\n#" + std::string(600, '#') + "\n",
                                    "1|2|3|4|5|6|7|8|9|10|11|12|13\n",
                                    "5 | 5 | 5 | 5 | 5 | 5 | 5 | 5 | 5 | 5 | 5 | 5\n"};
    std::mt19937 rng(4711);
    for (int i = 0; i < 40; ++i) {
        std::string s(1 + rng() % 700, '\0');
        for (char& c : s)
            c = static_cast<char>(rng() % 256);
        out.push_back(s);
    }
    // Every truncation of a valid sample.
    for (size_t n = 0; n < valid_sample.size(); ++n)
        out.push_back(valid_sample.substr(0, n));
    // Single-byte corruptions of a valid sample.
    for (size_t n = 0; n < valid_sample.size(); ++n) {
        std::string s = valid_sample;
        s[n] = static_cast<char>(rng() % 256);
        out.push_back(s);
    }
    return out;
}

// Runs read on garbage followed by a line end and then good_line; the good
// line must survive whatever precedes it.
void check_reader(const std::string& path, const std::string& sample, const std::string& good_line,
                  const std::function<void()>& reset, const std::function<int()>& read,
                  const std::function<bool()>& good_present) {
    for (const std::string& g : garbage_corpus(sample)) {
        reset();
        write_file(path, g + "\n" + good_line);
        CaptureStdout();
        int rc = read();
        GetCapturedStdout();
        ASSERT_EQ(rc, 0);
        ASSERT_TRUE(good_present()) << "lost the good line after garbage of size " << g.size();
    }
}

TEST(BadInput, MibDat) {
    TempDir t;
    check_reader(
        t.file("mib.dat"), k_good_mib, k_good_mib, clear_mib_info,
        [&] { return read_mib_dat(t.file("mib.dat")); },
        [] { return mib_var(700) && mib_var(700)->name == "goodVar"; });
    clear_mib_info();
}

TEST(BadInput, SiteDefaults) {
    TempDir t;
    write_file(t.file("mib.dat"), k_good_mib);
    check_reader(
        t.file("site.dat"), "700 | value with blanks\n", "700 | kept\n",
        [&] {
            clear_mib_info();
            read_mib_dat(t.file("mib.dat"));
        },
        [&] { return read_mib_site_def_dat(t.file("site.dat")); },
        [] { return mib_var(700)->has_site_def && mib_var(700)->site_def_val == "kept"; });
    clear_mib_info();
}

TEST(BadInput, Enumerations) {
    TempDir t;
    check_reader(
        t.file("enum.dat"), "3 | 1 | enabled\n", "255 | 7 | seven\n", clear_mib_info,
        [&] { return read_mib_enum_dat(t.file("enum.dat")); },
        [] { return !mib_enum_list[255].empty() && mib_enum_list[255].back().text == "seven"; });
    clear_mib_info();
}

TEST(BadInput, FunctionFiles) {
    TempDir t;
    std::filesystem::create_directories(t.file("d"));
    mm_dir = t.path();
    for (const char* target : {"mib_func_grp.dat", "mib_func.dat", "mib_func_vars.dat"}) {
        write_file(t.file("d/mib_func_grp.dat"), "900 | 0\n");
        write_file(t.file("d/mib_func.dat"), "900 | GoodFunc\n");
        write_file(t.file("d/mib_func_vars.dat"), "900 | 700\n");
        std::string good = read_file(t.file(std::string("d/") + target));
        check_reader(
            t.file(std::string("d/") + target), good, good, free_func_info,
            [] { return read_func_info("d"); },
            [] {
                // Garbage may itself define function 900 first; the variable
                // then belongs to that first one.
                int idx = find_func_by_id(900);
                return idx >= 0 && find_func_by_name("GoodFunc") >= 0 &&
                       !mib_func_list[idx]->var_list.empty() &&
                       mib_func_list[idx]->var_list.back() == 700 && !mib_grp_list[0].empty() &&
                       mib_grp_list[0].back() == 900;
            });
    }
    free_func_info();
}

TEST(BadInput, HotspotHelp) {
    TempDir t;
    check_reader(
        t.file("hot.dat"), "t|12|700|Some help\n", "t|2999|705|Last slot\n",
        [] {
            for (auto& h : hotspot_data_list)
                h = HotspotEntry();
        },
        [&] { return read_hotspot_file(t.file("hot.dat")); },
        [] {
            return hotspot_data_list[2999].present && hotspot_data_list[2999].text == "Last slot";
        });
}

TEST(BadInput, UnreadableOrMissingFiles) {
    TempDir t;
    EXPECT_EQ(read_mib_dat(t.file("none")), -4);
    EXPECT_EQ(read_mib_site_def_dat(t.file("none")), -4);
    EXPECT_EQ(read_mib_enum_dat(t.file("none")), -4);
    EXPECT_EQ(read_hotspot_file(t.file("none")), -4);
    // A directory opens but reads nothing.
    CaptureStdout();
    read_mib_dat(t.path());
    EXPECT_EQ(GetCapturedStdout(), "");
}

} // namespace
