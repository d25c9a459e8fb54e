// The catalogue, function, help and hotspot files we ship, in one
// consistency check: they load without a single invalid line, every name
// the program looks up exists with a well-formed identifier of its own,
// and every function, enumeration and help file they refer to is there.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

#include "catalogue/func_catalogue.h"
#include "catalogue/mib_catalogue.h"
#include "catalogue/shipped_names.h"
#include "support/test_dirs.h"

namespace {

TEST(ShippedData, FilesLoadCleanlyAndEveryNameTheProgramUsesIsThere) {
    StagedInstall staged;
    const std::string help = staged.dir() + "/data/help/";
    testing::internal::CaptureStdout();
    EXPECT_EQ(read_mib_info("data/gui_mm_data"), 0);
    EXPECT_EQ(read_func_info("data/gui_mm_data"), 0);
    EXPECT_EQ(read_hotspot_info("data/help"), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), ""); // no line was reported
    static const std::regex oid_re("1\\.3\\.6\\.1(\\.(0|[1-9][0-9]{0,9})){1,40}");
    for (const char* name : k_required_mib_names) {
        int id = -1;
        ASSERT_EQ(get_check_mib_var(name, &id), 1) << name;
        EXPECT_TRUE(std::regex_match(mib_var(id)->oid_num, oid_re)) << name;
    }
    std::set<std::string> names, oids;
    for (int id = 0; id < MAX_MIB_VARS; ++id) {
        const MibVarEntry* e = mib_var(id);
        if (!e)
            continue;
        EXPECT_TRUE(names.insert(e->name).second) << "name used twice: " << e->name;
        EXPECT_TRUE(oids.insert(e->oid_num).second) << "identifier used twice: " << e->oid_num;
        // An enumerated default is shown as it stands, so it is a value name.
        std::string number;
        if (e->enum_id >= 0 && e->write_type != MWT_READ_ONLY && e->internal_code != MIC_INTERNAL) {
            EXPECT_EQ(cvt_enum_str_num(id, e->def_val, &number), 1) << e->name;
        }
    }
    EXPECT_GE(names.size(), 300u);
    ASSERT_FALSE(mib_grp_list[FG_STANDARD].empty());
    for (int fid : mib_grp_list[FG_STANDARD]) {
        int idx = find_func_by_id(fid);
        ASSERT_GE(idx, 0) << "group entry " << fid << " names no function";
        const MgmtFunction& f = *mib_func_list[idx];
        for (int var : f.var_list)
            EXPECT_NE(mib_var(var), nullptr) << f.name << " member " << var;
        EXPECT_TRUE(std::filesystem::is_regular_file(help + f.name + ".fh")) << f.name;
    }
    for (const char* file : k_window_help_files)
        EXPECT_TRUE(std::filesystem::is_regular_file(help + file)) << file;
    for (const auto& de : std::filesystem::directory_iterator(help)) {
        int id = -1;
        if (de.path().extension() == ".ph") {
            EXPECT_EQ(get_check_mib_var(de.path().stem().string(), &id), 1) << de.path();
        }
    }
    for (const HotspotEntry& h : hotspot_data_list) {
        if (h.present) {
            EXPECT_TRUE(h.target >= 700 && h.target <= 706) << h.text; // 706: WAN edit
        }
    }
    clear_mib_info();
    free_func_info();
}

} // namespace
