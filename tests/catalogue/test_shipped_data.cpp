// The catalogue, function, help and access files we ship: they load without
// a single invalid line and hold together (every name the program relies on
// resolves, every reference points at something that exists).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>

#include "catalogue/func_catalogue.h"
#include "catalogue/func_display.h"
#include "catalogue/mib_catalogue.h"
#include "catalogue/shipped_names.h"
#include "ui/app_globals.h"
#include "frame/gui_init.h"
#include "ui_headless/ui_headless.h"
#include "snmp_access/morix_record.h"
#include "support/test_dirs.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

const std::string k_enterprise = "1.3.6.1.4.1.32473";

class ShippedData : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        staged = new StagedInstall();
        CaptureStdout();
        mib_rc = read_mib_info("data/gui_mm_data");
        func_rc = read_func_info("data/gui_mm_data");
        hot_rc = read_hotspot_info("data/help");
        reports = GetCapturedStdout();
    }
    static void TearDownTestSuite() {
        clear_mib_info();
        free_func_info();
        delete staged;
        staged = nullptr;
    }
    static std::string help(const std::string& file) {
        return staged->dir() + "/data/help/" + file;
    }
    static StagedInstall* staged;
    static int mib_rc, func_rc, hot_rc;
    static std::string reports;
};

StagedInstall* ShippedData::staged = nullptr;
int ShippedData::mib_rc = -1;
int ShippedData::func_rc = -1;
int ShippedData::hot_rc = -1;
std::string ShippedData::reports;

TEST_F(ShippedData, EveryFileLoadsWithoutAnInvalidLine) {
    EXPECT_EQ(mib_rc, 0);
    EXPECT_EQ(func_rc, 0);
    EXPECT_EQ(hot_rc, 0);
    EXPECT_EQ(reports, "");
}

TEST_F(ShippedData, EveryNameTheProgramUsesResolves) {
    for (const char* name : k_required_mib_names) {
        int id = -1;
        EXPECT_EQ(get_check_mib_var(name, &id), 1) << name;
    }
}

TEST_F(ShippedData, EntriesAreWellFormedAndUnique) {
    static const std::regex oid_re("1\\.3\\.6\\.1(\\.(0|[1-9][0-9]{0,9})){1,40}");
    std::map<std::string, int> names, oids;
    int count = 0;
    for (int id = 0; id < MAX_MIB_VARS; ++id) {
        const MibVarEntry* e = mib_var(id);
        if (!e)
            continue;
        ++count;
        SCOPED_TRACE(e->name);
        EXPECT_TRUE(std::regex_match(e->oid_num, oid_re)) << e->oid_num;
        EXPECT_TRUE(names.emplace(e->name, id).second) << "name used twice";
        EXPECT_TRUE(oids.emplace(e->oid_num, id).second) << "OID used twice: " << e->oid_num;
        if (e->oid_num.rfind("1.3.6.1.4.1.", 0) == 0) {
            EXPECT_EQ(e->oid_num.rfind(k_enterprise + ".", 0), 0u) << "foreign enterprise arc";
        }
        EXPECT_GE(e->data_type, 1);
        EXPECT_LE(e->data_type, 8);
        EXPECT_GE(e->write_type, 0);
        EXPECT_LE(e->write_type, 5);
        EXPECT_GE(e->port_class, 0);
        EXPECT_LE(e->port_class, 10);
        if (e->port_class == 8) {
            EXPECT_EQ(e->write_type, 0) << "interval counters are read-only";
        }
        EXPECT_GE(e->inst_type, 0);
        EXPECT_LE(e->inst_type, 10);
        EXPECT_GE(e->internal_code, 0);
        EXPECT_LE(e->internal_code, 2);
        EXPECT_GE(e->reset_map_idx, 0);
        EXPECT_LE(e->reset_map_idx, 32);
        EXPECT_FALSE(e->has_site_def) << "the shipped site defaults are empty";
    }
    EXPECT_GE(count, 300) << "the catalogue should describe several hundred variables";
}

TEST_F(ShippedData, EnumerationsExistAndDefaultsAreValues) {
    for (int id = 0; id < MAX_MIB_VARS; ++id) {
        const MibVarEntry* e = mib_var(id);
        if (!e || e->enum_id < 0)
            continue;
        SCOPED_TRACE(e->name);
        const EnumList& l = mib_enum_list[e->enum_id];
        ASSERT_FALSE(l.empty()) << "enumeration " << e->enum_id << " is missing";
        std::set<int> values;
        std::set<std::string> texts;
        for (const EnumEntry& en : l) {
            EXPECT_TRUE(values.insert(en.value).second) << "value twice: " << en.value;
            EXPECT_TRUE(texts.insert(en.text).second) << "text twice: " << en.text;
        }
        // Defaults of enumerated variables are shown as they stand, so
        // they are value names, like converted site defaults. Controls that
        // only the program writes have none.
        if (e->write_type != MWT_READ_ONLY && e->internal_code != MIC_INTERNAL) {
            std::string number;
            EXPECT_EQ(cvt_enum_str_num(id, e->def_val, &number), 1)
                << "default " << e->def_val << " is not a name of the enumeration";
        }
    }
}

TEST_F(ShippedData, StandardGroupsHaveMembersHelpAndNoInternalVariables) {
    ASSERT_FALSE(mib_grp_list[FG_STANDARD].empty());
    std::set<std::string> names;
    for (int fid : mib_grp_list[FG_STANDARD]) {
        int idx = find_func_by_id(fid);
        ASSERT_GE(idx, 0) << "group entry " << fid << " names no function";
        const MgmtFunction& f = *mib_func_list[idx];
        SCOPED_TRACE(f.name);
        EXPECT_TRUE(names.insert(f.name).second) << "function listed twice";
        EXPECT_FALSE(f.var_list.empty());
        for (int var : f.var_list) {
            const MibVarEntry* e = mib_var(var);
            ASSERT_NE(e, nullptr) << "member " << var << " does not exist";
            EXPECT_NE(e->internal_code, MIC_INTERNAL) << e->name;
        }
        EXPECT_TRUE(std::filesystem::is_regular_file(help(f.name + ".fh")));
    }
}

TEST_F(ShippedData, HelpFilesExistWithHeadings) {
    for (const char* file : k_window_help_files) {
        SCOPED_TRACE(file);
        std::ifstream in(help(file));
        ASSERT_TRUE(in.good());
        std::string first;
        std::getline(in, first);
        ASSERT_GE(first.size(), 4u);
        EXPECT_EQ(first.substr(first.size() - 4), "****");
    }
    int ph = 0;
    for (const auto& de : std::filesystem::directory_iterator(staged->dir() + "/data/help")) {
        if (de.path().extension() != ".ph")
            continue;
        ++ph;
        int id = -1;
        std::string stem = de.path().stem().string();
        EXPECT_EQ(get_check_mib_var(stem, &id), 1) << stem;
        EXPECT_EQ(mib_var(id)->oid_str, stem);
    }
    EXPECT_GE(ph, 40);
}

TEST_F(ShippedData, HotspotsTargetTheHelpAreas) {
    int n = 0;
    for (const HotspotEntry& h : hotspot_data_list) {
        if (!h.present)
            continue;
        ++n;
        EXPECT_GE(h.target, 700);
        EXPECT_LE(h.target, 705);
        EXPECT_FALSE(h.text.empty());
    }
    EXPECT_GE(n, 20);
}

TEST_F(ShippedData, AccessListAndSiteDefaults) {
    std::string users = read_file(staged->dir() + "/bin/users.list");
    EXPECT_NE(users.find("root"), std::string::npos);
    std::string site = read_file(staged->catalogue("mib_site_def.dat"));
    ASSERT_FALSE(site.empty());
    EXPECT_EQ(site[0], '#');
}

TEST_F(ShippedData, CatalogueLoadFillsTheFunctionList) {
    hl_reset();
    mm_dir = staged->dir();
    ASSERT_EQ(gui_init(), 0);
    std::vector<std::string> items = ui_list_items(W_FUNC_LIST);
    EXPECT_EQ(items.size(), mib_grp_list[FG_STANDARD].size());
    EXPECT_TRUE(std::is_sorted(items.begin(), items.end()));
}

} // namespace
