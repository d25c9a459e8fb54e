// The catalogue load at the end of start-up and its -debug dump.
#include <gtest/gtest.h>

#include <filesystem>

#include "catalogue/func_catalogue.h"
#include "catalogue/func_display.h"
#include "catalogue/mib_catalogue.h"
#include "frame/gui_init.h"
#include "snmp_access/morix_record.h"
#include "support/test_dirs.h"
#include "ui/app_globals.h"
#include "ui_headless/ui_headless.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

class GuiInit : public testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(tmp.file("data/gui_mm_data"));
        std::filesystem::create_directories(tmp.file("data/help"));
        put("data/gui_mm_data/mib.dat",
            "# test catalogue\n"
            "3 | ifSpeedX | ifSpeedX | 1.3.6.1.2.1.2.2.1.5 | 7 | 1 | 0 | 0 | 2 | 0 | 0 | 1\n");
        put("data/gui_mm_data/mib_site_def.dat", "3 | 9600 baud\n");
        put("data/gui_mm_data/mib_enum.dat", "2 | 1 | up\n2 | 2 | down\n");
        put("data/gui_mm_data/mib_func_grp.dat", "2 | 0\n1 | 0\n3 | 1\n");
        put("data/gui_mm_data/mib_func.dat", "1 | Zulu\n2 | Alpha\n3 | Users\n");
        put("data/gui_mm_data/mib_func_vars.dat", "1 | 3\n");
        put("data/help/hotspot_help.dat", "x|5|700|help\n");
        mm_dir = tmp.path();
        hl_reset();
        debug_flag = 0;
    }
    void TearDown() override {
        debug_flag = 0;
        clear_mib_info();
        free_func_info();
        free_host_info_list(host_info_list);
        free_host_info_list(host_disc_list);
    }
    void put(const std::string& rel, const std::string& content) {
        write_file(tmp.file(rel), content);
    }
    TempDir tmp;
};

TEST_F(GuiInit, LoadsEverythingAndResetsTheLists) {
    host_info_list.put(0, new_host_node());
    host_disc_list.put(5, new_host_node());
    mm_snmp_def_to = 9;
    mm_snmp_def_comm = "changed";
    g_confirm_auto_reset = 1;
    ui_list_select_pos(W_FUNC_LIST, 1, false);
    ASSERT_EQ(gui_init(), 0);
    EXPECT_EQ(mib_var(3)->site_def_val, "9600 baud");
    EXPECT_EQ(mib_enum_list[2].size(), 2u);
    EXPECT_TRUE(hotspot_data_list[5].present);
    EXPECT_EQ(ui_list_items(W_FUNC_LIST), (std::vector<std::string>{"Alpha", "Zulu"}));
    EXPECT_TRUE(ui_list_selected_pos(W_FUNC_LIST).empty());
    EXPECT_EQ(param_sel_flag, 0);
    EXPECT_EQ(main_prm_lst_w, W_CHOICE_STD_GROUPS);
    EXPECT_TRUE(ui_get_toggle(W_AUTO_RESET_TB));
    for (int i = 0; i < MAX_MRX_SLOTS; ++i) {
        EXPECT_EQ(host_info_list[i], nullptr);
        EXPECT_EQ(host_disc_list[i], nullptr);
    }
    EXPECT_EQ(mm_snmp_def_to, 3);
    EXPECT_EQ(mm_snmp_def_rty, 2);
    EXPECT_EQ(mm_snmp_def_comm, "vantor");
}

TEST_F(GuiInit, EachMissingFileFails) {
    for (const char* rel : {"data/gui_mm_data/mib_enum.dat", "data/help/hotspot_help.dat"}) {
        SetUp();
        std::filesystem::remove(tmp.file(rel));
        CaptureStdout();
        EXPECT_EQ(gui_init(), -4) << rel;
        EXPECT_EQ(GetCapturedStdout(), "") << rel;
    }
    SetUp();
    std::filesystem::remove(tmp.file("data/gui_mm_data/mib_func_vars.dat"));
    CaptureStdout();
    EXPECT_EQ(gui_init(), -4);
    EXPECT_EQ(GetCapturedStdout(),
              "\n\nUnable to read parameter group information from data file.\n\n");
}

TEST_F(GuiInit, DebugDumpsTheCatalogue) {
    debug_flag = 1;
    CaptureStdout();
    ASSERT_EQ(gui_init(), 0);
    std::string out = GetCapturedStdout();
    // Every variable with its fields and the site default, then the
    // enumerations.
    for (const char* line : {"\nMIB_VAR_ID 3\n  Morix Parameter : \tifSpeedX\n",
                             "  Site Default Value : \t9600 baud\n",
                             "Enum Var 2:  Value(1),  String(up)\n"
                             "Enum Var 2:  Value(2),  String(down)\n"})
        EXPECT_NE(out.find(line), std::string::npos) << line;
}

} // namespace
