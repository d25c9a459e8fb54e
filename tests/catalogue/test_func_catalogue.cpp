// Function catalogue, hotspot help, alphabetical lists and the list fillers
// driven through the headless UI services.
#include <gtest/gtest.h>

#include <filesystem>

#include "catalogue/func_catalogue.h"
#include "catalogue/func_display.h"
#include "catalogue/mib_catalogue.h"
#include "frame/func_lists.h"
#include "support/test_dirs.h"
#include "ui/app_globals.h"
#include "ui_headless/ui_headless.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

class FuncCatalogue : public testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(tmp.file("data/gui_mm_data"));
        mm_dir = tmp.path();
        free_func_info();
        clear_mib_info();
        hl_reset();
    }
    void TearDown() override {
        free_func_info();
        clear_mib_info();
    }
    void put(const std::string& file, const std::string& content) {
        write_file(tmp.file("data/gui_mm_data/" + file), content);
    }
    // Writes the three function files and reads them; returns stdout.
    std::string load(const std::string& grp, const std::string& func, const std::string& vars) {
        put("mib_func_grp.dat", grp);
        put("mib_func.dat", func);
        put("mib_func_vars.dat", vars);
        CaptureStdout();
        EXPECT_EQ(read_func_info("data/gui_mm_data"), 0);
        return GetCapturedStdout();
    }
    void load_vars(const std::string& mib) {
        put("mib.dat", mib);
        ASSERT_EQ(read_mib_dat(tmp.file("data/gui_mm_data/mib.dat")), 0);
    }
    TempDir tmp;
};

TEST_F(FuncCatalogue, GroupListsKeepFileOrderAndDuplicates) {
    std::string out = load("# groups\n1 | 0\n2 | 0\n1 | 0\n3 | 1\n9 | 0\n",
                           "1 | Zeta\n2 | alpha\n3 | Mine\n", "");
    EXPECT_EQ(out, "");
    EXPECT_EQ(tot_dat_mib_func, 3);
    EXPECT_EQ(mib_grp_list[0], (std::vector<int>{1, 2, 1, 9}));
    EXPECT_EQ(mib_grp_list[1], (std::vector<int>{3}));
    // Id 1 twice shows its name twice; id 9 has no function and shows nothing.
    EXPECT_EQ(mgmt_func_names(0), (std::vector<std::string>{"Zeta", "Zeta", "alpha"}));
}

TEST_F(FuncCatalogue, VariablesAttachToFirstFunctionOfAnIdAndUnknownIdsVanish) {
    std::string out = load("", "4 | first\n4 | second\n", "4 | 10\n4 | 11\n77 | 12\n");
    EXPECT_EQ(out, ""); // the line for function 77 is dropped without a message
    EXPECT_EQ(mib_func_list[0]->var_list, (std::vector<int>{10, 11}));
    EXPECT_TRUE(mib_func_list[1]->var_list.empty());
}

TEST_F(FuncCatalogue, MalformedLinesAreReportedWithTheirFileName) {
    std::string out = load("1 | 2\n1 |\n", "x | name\n5 | \n", "1 | y\n");
    EXPECT_NE(out.find("Invalid mib_func_grp.dat data line: \n\t1 | 2\n"), std::string::npos);
    EXPECT_NE(out.find("Invalid mib_func_grp.dat data line: \n\t1 |\n"), std::string::npos);
    EXPECT_NE(out.find("Invalid mib_func.dat data line: \n\tx | name\n"), std::string::npos);
    EXPECT_NE(out.find("Invalid mib_func.dat data line: \n\t5 | \n"), std::string::npos);
    EXPECT_NE(out.find("Invalid mib_func_vars.dat data line: \n\t1 | y\n"), std::string::npos);
    EXPECT_EQ(tot_dat_mib_func, 0);
    EXPECT_TRUE(mib_grp_list[0].empty());
}

TEST_F(FuncCatalogue, TableLimitOf512FunctionsIsKept) {
    std::string funcs;
    for (int i = 0; i < 515; ++i)
        funcs += std::to_string(i) + " | f" + std::to_string(i) + "\n";
    std::string out = load("", funcs, "");
    EXPECT_EQ(tot_dat_mib_func, MAX_MIB_FUNCS);
    EXPECT_NE(out.find("\t512 | f512\n"), std::string::npos);
    EXPECT_NE(out.find("\t514 | f514\n"), std::string::npos);
}

TEST_F(FuncCatalogue, ReloadFreesThePreviousCatalogue) {
    load("1 | 0\n", "1 | one\n", "1 | 5\n");
    load("2 | 1\n", "2 | two\n", "");
    EXPECT_EQ(tot_dat_mib_func, 1);
    EXPECT_EQ(mib_func_list[1], nullptr);
    EXPECT_TRUE(mib_grp_list[0].empty());
    EXPECT_EQ(find_func_by_name("two"), 0);
    EXPECT_EQ(find_func_by_name("one"), -1);
}

TEST_F(FuncCatalogue, MissingFileGivesMinusFour) {
    put("mib_func_grp.dat", "1 | 0\n");
    put("mib_func.dat", "1 | one\n");
    EXPECT_EQ(read_func_info("data/gui_mm_data"), -4);
}

TEST(AlphaPos, ByteOrderWithCallDefItemsLast) {
    std::vector<std::string> items;
    for (const char* s : {"beta", "CallDef_b", "Alpha", "alpha", "CallDef_a", "Beta", "beta"})
        items.insert(items.begin() + get_alpha_pos(items, s), s);
    EXPECT_EQ(items, (std::vector<std::string>{"Alpha", "Beta", "alpha", "beta", "beta",
                                               "CallDef_a", "CallDef_b"}));
    // "CallDef" without the underscore is an ordinary name.
    EXPECT_EQ(get_alpha_pos(items, "CallDefx"), 2);
    EXPECT_EQ(get_alpha_pos({}, "x"), 0);
}

std::string var_line(int id, const std::string& name, int wt, int pc, int internal = 0) {
    return std::to_string(id) + " | " + name + " | " + name + " | 1.3.6.1.4.1.32473.8." +
           std::to_string(id) + " | 3 | " + std::to_string(wt) + " | " + std::to_string(pc) +
           " | 0 | -1 | 0 | " + std::to_string(internal) + " | 0\n";
}

TEST_F(FuncCatalogue, ParameterListFitsPortTypeAndSkipsInternalAndReadOnly) {
    load_vars(var_line(1, "devParam", 1, 0) + var_line(2, "asyParam", 2, 1) +
              var_line(3, "enParam", 5, 6) + var_line(4, "roParam", 0, 6) +
              var_line(5, "hidden", 1, 6, 1) + var_line(6, "anotherEn", 1, 6) +
              var_line(7, "syncAsync", 3, 4) + var_line(8, "chanParam", 1, 7));
    EXPECT_EQ(mgmt_prm_names(4), (std::vector<std::string>{"anotherEn", "enParam"}));
    EXPECT_EQ(mgmt_prm_names(1),
              (std::vector<std::string>{"anotherEn", "asyParam", "enParam", "syncAsync"}));
    EXPECT_EQ(mgmt_prm_names(0), (std::vector<std::string>{"devParam"}));
    EXPECT_EQ(mgmt_prm_names(8), (std::vector<std::string>{"chanParam"}));
    EXPECT_TRUE(mgmt_prm_names(7).empty());
}

TEST_F(FuncCatalogue, MainListSwitchesSetStateAndActionHelpLabels) {
    load_vars(var_line(1, "devParam", 1, 0) + var_line(2, "other", 1, 0));
    load("1 | 0\n2 | 1\n", "1 | Standard\n2 | Mine\n", "1 | 1\n");
    hl_widget(W_CPY_FORM).managed = true;
    g_cpy_copy_mode = 1;
    display_mgmt_prm_main(0);
    EXPECT_EQ(param_sel_flag, 1);
    EXPECT_EQ(ui_list_get_policy(W_FUNC_LIST), LSP_EXTENDED);
    EXPECT_EQ(get_widget_label(W_CPY_ACT_HLP_LBL), "<nothing selected>");
    ui_list_select_pos(W_FUNC_LIST, 1, false);
    update_act_hlp_label(W_CPY_FORM);
    EXPECT_EQ(get_widget_label(W_CPY_ACT_HLP_LBL), "devParam");
    ui_list_select_pos(W_FUNC_LIST, 2, false);
    update_act_hlp_label(W_CPY_FORM);
    EXPECT_EQ(get_widget_label(W_CPY_ACT_HLP_LBL), "devParam, ...");
    // The Compare label is left alone unless it compares devices.
    update_act_hlp_label(W_CMP_FORM);
    EXPECT_EQ(get_widget_label(W_CMP_ACT_HLP_LBL), "");
    display_mgmt_func_main(1);
    EXPECT_EQ(param_sel_flag, 0);
    EXPECT_EQ(fnc_sel_ind, 1);
    EXPECT_EQ(ui_list_items(W_FUNC_LIST), (std::vector<std::string>{"Mine"}));
    EXPECT_EQ(get_widget_label(W_CPY_ACT_HLP_LBL), "<nothing selected>");
    g_cpy_copy_mode = 0;
}

class Hotspots : public testing::Test {
  protected:
    void SetUp() override {
        hl_reset();
        last_hotspot = -1;
    }
    std::string load(const std::string& content) {
        write_file(tmp.file("hotspot_help.dat"), content);
        CaptureStdout();
        EXPECT_EQ(read_hotspot_file(tmp.file("hotspot_help.dat")), 0);
        return GetCapturedStdout();
    }
    TempDir tmp;
};

TEST_F(Hotspots, SplitsAtRunsOfBarsAndKeepsTheTextBlanks) {
    std::string out = load("a| 1 2 |700||  Help text, with blanks  \n"
                           "b|13|701|\n"
                           "c|14|701|x|y\n"
                           "d|3000|701|too big\n"
                           "e|15|7o1|bad target\n"
                           "f|16|701|no line end");
    ASSERT_TRUE(hotspot_data_list[12].present);
    EXPECT_EQ(hotspot_data_list[12].target, 700);
    EXPECT_EQ(hotspot_data_list[12].text, "  Help text, with blanks  ");
    EXPECT_FALSE(hotspot_data_list[13].present); // empty help text: 3 fields
    EXPECT_FALSE(hotspot_data_list[14].present); // 5 fields
    EXPECT_FALSE(hotspot_data_list[15].present);
    EXPECT_EQ(hotspot_data_list[16].text, "no line end");
    EXPECT_NE(out.find("Invalid hotspot_help.dat data line: \n\tb|13|701|\n"), std::string::npos);
    EXPECT_NE(out.find("\tc|14|701|x|y\n"), std::string::npos);
    EXPECT_NE(out.find("\td|3000|701|too big\n"), std::string::npos);
    EXPECT_NE(out.find("\te|15|7o1|bad target\n"), std::string::npos);
}

TEST_F(Hotspots, LaterLineReplacesAndPointerMovesShowAndClearText) {
    load("t|20|700|old\nt|20|700|Speed of the port\nt|21|0|no target\nt|22|701|Parity\n");
    EXPECT_EQ(hotspot_data_list[20].text, "Speed of the port");
    set_hotspot(20);
    EXPECT_EQ(ui_get_text(700, UI_BASIC), "Speed of the port");
    ui_set_text(700, "changed elsewhere", UI_BASIC);
    set_hotspot(20); // same hotspot again: nothing happens
    EXPECT_EQ(ui_get_text(700, UI_BASIC), "changed elsewhere");
    set_hotspot(30); // no help: the last area is emptied
    EXPECT_EQ(ui_get_text(700, UI_BASIC), "");
    set_hotspot(20);
    EXPECT_EQ(ui_get_text(700, UI_BASIC), "Speed of the port");
    set_hotspot(21); // an entry without target also empties
    EXPECT_EQ(ui_get_text(700, UI_BASIC), "");
    set_hotspot(22);
    EXPECT_EQ(ui_get_text(701, UI_BASIC), "Parity");
    clear_hotspot(300);
    EXPECT_EQ(ui_get_text(701, UI_BASIC), "");
    ui_set_text(703, "x", UI_BASIC);
    clear_hotspot(999); // a form without help area
    EXPECT_EQ(ui_get_text(703, UI_BASIC), "x");
    clear_hotspot(181);
    EXPECT_EQ(ui_get_text(703, UI_BASIC), "");
}

} // namespace
