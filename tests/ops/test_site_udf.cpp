// The Site Parameters and User Defined Parameter Groups windows, driven by
// widget id on the headless services against a staged installation.
#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "catalogue/func_catalogue.h"
#include "catalogue/func_display.h"
#include "catalogue/mib_catalogue.h"
#include "frame/dispatch.h"
#include "frame/func_lists.h"
#include "frame/help.h"
#include "ops/site_prm.h"
#include "ops/udf_groups.h"
#include "support/test_dirs.h"
#include "ui/app_globals.h"
#include "ui_headless/ui_headless.h"

namespace {

class Windows : public ::testing::Test {
  protected:
    StagedInstall inst;
    void SetUp() override {
        hl_reset();
        ASSERT_EQ(read_mib_info("data/gui_mm_data"), 0);
        ASSERT_EQ(read_func_info("data/gui_mm_data"), 0);
    }
    // First writable device variable with (enumerated) or without enumeration.
    int find_var(bool enumerated) {
        for (int id = 0; id < MAX_MIB_VARS; ++id) {
            const MibVarEntry* e = mib_var(id);
            if (e && e->port_class == 0 && e->write_type != 0 && e->internal_code != 1 &&
                (e->enum_id >= 0) == enumerated)
                return id;
        }
        return -1;
    }
    void select_site_prm(int id) {
        hl_widget(603).toggle = true;
        dispatch_main(W_SITE_PB);
        auto items = ui_list_items(W_SITE_PRM_LIST);
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i] == mib_var(id)->name)
                hl_widget(W_SITE_PRM_LIST).selected = {static_cast<int>(i) + 1};
        list_selection_main(W_SITE_PRM_LIST);
    }
    std::string site_file() { return read_file(inst.catalogue("mib_site_def.dat")); }
};

TEST_F(Windows, EnumeratedSiteDefaultWrittenAsNumberShownByName) {
    int id = find_var(true);
    ASSERT_GE(id, 0);
    select_site_prm(id);
    EXPECT_EQ(get_widget_label(W_SITE_NAME_LBL), mib_var(id)->name);
    EXPECT_EQ(get_widget_label(W_SITE_CAT_DEF_LBL), mib_var(id)->def_val);
    EXPECT_TRUE(is_sens(W_SITE_MODIFY));
    const EnumEntry& last = mib_enum_list[mib_var(id)->enum_id].back();
    ASSERT_TRUE(set_option_menu_top_button(W_SITE_DEF_VAL_OM, last.text));
    dispatch_main(W_SITE_MODIFY);
    std::string line = std::to_string(id) + " | " + std::to_string(last.value) + "\n";
    EXPECT_NE(site_file().find(line), std::string::npos);
    EXPECT_EQ(mib_var(id)->site_def_val, std::to_string(last.value));
    EXPECT_EQ(get_widget_label(W_SITE_NAME_LBL), "<nothing selected>");
    EXPECT_FALSE(is_sens(W_SITE_MODIFY));
    display_prm_help(id);
    EXPECT_NE(ui_get_text(W_HELP_TEXT).find("Default Value : " + last.text + "\n"),
              std::string::npos);
    // Selecting again shows the stored default by name; a blank choice is refused.
    select_site_prm(id);
    EXPECT_EQ(ui_get_option(W_SITE_DEF_VAL_OM), last.text);
    set_om_blank(W_SITE_DEF_VAL_OM);
    dispatch_main(W_SITE_MODIFY);
    EXPECT_EQ(hl_texts("warn").back(), "You must select a default value.");
}

TEST_F(Windows, TextSiteDefaultWarningsAndRemove) {
    int id = find_var(false);
    ASSERT_GE(id, 0);
    dispatch_main(W_SITE_PB);
    dispatch_main(W_SITE_MODIFY);
    EXPECT_EQ(hl_texts("warn").back(), "You need to select a parameter to set the default value.");
    select_site_prm(id);
    ui_set_text(W_SITE_DEF_VAL_TF, "   ");
    dispatch_main(W_SITE_MODIFY);
    EXPECT_EQ(hl_texts("warn").back(), "You must enter a default value.");
    ui_set_text(W_SITE_DEF_VAL_TF, "two  words ");
    dispatch_main(W_SITE_MODIFY);
    EXPECT_EQ(mib_var(id)->site_def_val, "two  words ");
    // The file reads back to the same value.
    ASSERT_EQ(read_mib_site_def_dat(inst.catalogue("mib_site_def.dat")), 0);
    EXPECT_EQ(mib_var(id)->site_def_val, "two  words ");
    select_site_prm(id);
    EXPECT_EQ(ui_get_text(W_SITE_DEF_VAL_TF), "two  words ");
    dispatch_main(W_SITE_REMOVE);
    EXPECT_FALSE(mib_var(id)->has_site_def);
    EXPECT_EQ(site_file().find(std::to_string(id) + " | "), std::string::npos);
}

TEST_F(Windows, SiteFaultsLeaveFileAndEntryUnchanged) {
    int id = find_var(false);
    std::string before = site_file();
    select_site_prm(id);
    ui_set_text(W_SITE_DEF_VAL_TF, "v");
    if (geteuid() != 0) {
        chmod(inst.dir().c_str(), 0755);
        std::string cat = inst.catalogue("");
        chmod(cat.c_str(), 0555);
        dispatch_main(W_SITE_MODIFY);
        chmod(cat.c_str(), 0755);
        EXPECT_EQ(site_file(), before);
        EXPECT_FALSE(mib_var(id)->has_site_def);
    }
}

// Each port-type choice of both windows lists the parameters of its code.
TEST_F(Windows, PortTypeChoicesFillTheParameterLists) {
    const int choices[][3] = {{603, 268, 0}, {604, 269, 1}, {605, 270, 2}, {606, 271, 3},
                              {607, 272, 4}, {752, 273, 5}, {753, 754, 8}, {620, 755, 6}};
    dispatch_main(W_SITE_PB);
    dispatch_main(W_UDF_PB);
    for (const auto& c : choices) {
        display_mgmt_prm(999, c[2]);
        std::vector<std::string> expected = ui_list_items(999);
        for (const auto& other : choices) {
            hl_widget(other[0]).toggle = other[0] == c[0];
            hl_widget(other[1]).toggle = other[1] == c[1];
        }
        dispatch_main(c[0]);
        dispatch_main(c[1]);
        EXPECT_EQ(ui_list_items(W_SITE_PRM_LIST), expected) << c[0];
        EXPECT_EQ(ui_list_items(W_UDF_PRM_LIST), expected) << c[1];
    }
}

// Puts the catalogue folder on a small tmpfs of a private mount namespace.
bool catalogue_on_tmpfs(const std::string& cat) {
    if (geteuid() != 0 || unshare(CLONE_NEWNS) != 0)
        return false;
    mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
    std::vector<std::pair<std::string, std::string>> files;
    DIR* d = opendir(cat.c_str());
    while (dirent* e = d ? readdir(d) : nullptr)
        if (e->d_name[0] != '.')
            files.push_back({e->d_name, read_file(cat + "/" + e->d_name)});
    if (d)
        closedir(d);
    if (mount("tmpfs", cat.c_str(), "tmpfs", 0, "size=4m") != 0)
        return false;
    for (const auto& f : files)
        write_file(cat + "/" + f.first, f.second);
    return true;
}

// Fills the file system of folder until a write fails.
void fill_up(const std::string& folder) {
    int fd = open((folder + "/filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::string block(4096, 'f');
    for (int i = 0; i < 4096 && write(fd, block.data(), block.size()) > 0; ++i) {
    }
    close(fd);
}

TEST_F(Windows, FullAndReadOnlyCatalogueFolder) {
    std::string cat = inst.dir() + "/data/gui_mm_data";
    if (!catalogue_on_tmpfs(cat))
        GTEST_SKIP() << "needs root and a private mount namespace to mount a small tmpfs";
    int id = find_var(false);
    std::string before = site_file();
    std::string before_func = read_file(inst.catalogue("mib_func.dat"));
    fill_up(cat);
    select_site_prm(id);
    ui_set_text(W_SITE_DEF_VAL_TF, std::string(200, 'v'));
    dispatch_main(W_SITE_MODIFY);
    EXPECT_EQ(hl_texts("warn").back(), "Unable to update (copy into) file:\nmib_site_def.dat\n");
    EXPECT_EQ(site_file(), before);
    EXPECT_FALSE(mib_var(id)->has_site_def);
    dispatch_main(W_UDF_PB);
    EXPECT_EQ(prompt_name_ok("Full"), 0);
    EXPECT_EQ(read_file(inst.catalogue("mib_func.dat")), before_func);
    EXPECT_EQ(find_func_by_name("Full"), -1);
    ASSERT_EQ(mount(nullptr, cat.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    dispatch_main(W_SITE_MODIFY);
    EXPECT_NE(hl_texts("warn").back().find("Unable to create file:"), std::string::npos);
    EXPECT_EQ(site_file(), before);
    EXPECT_FALSE(mib_var(id)->has_site_def);
    umount(cat.c_str());
}

class Groups : public Windows {
  protected:
    void open_with_work(const std::vector<std::string>& members) {
        dispatch_main(W_UDF_PB);
        ui_list_delete_all(W_UDF_WORK);
        for (const std::string& m : members)
            ui_list_add_item(W_UDF_WORK, m, 0);
    }
    void select_group(const std::string& name) {
        auto items = ui_list_items(W_UDF_GROUP_LIST);
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i] == name)
                hl_widget(W_UDF_GROUP_LIST).selected = {static_cast<int>(i) + 1};
    }
    std::string names(int a, int b) { return mib_var(a)->name + "," + mib_var(b)->name; }
};

TEST_F(Groups, CreateViewModifyDelete) {
    std::string before_grp = read_file(inst.catalogue("mib_func_grp.dat"));
    int a = find_var(false), b = find_var(true);
    open_with_work({mib_var(a)->name, mib_var(b)->name});
    param_sel_flag = 0;
    fnc_sel_ind = FG_USER_DEFINED;
    EXPECT_EQ(prompt_name_ok("My Group"), 1); // blanks are taken out with a warning
    int idx = find_func_by_name("MyGroup");
    ASSERT_GE(idx, 0);
    EXPECT_EQ(mib_func_list[idx]->func_id, 128);
    EXPECT_EQ(mib_func_list[idx]->var_list, (std::vector<int>{a, b}));
    EXPECT_EQ(ui_list_items(W_UDF_GROUP_LIST), std::vector<std::string>{"MyGroup"});
    EXPECT_EQ(ui_list_selected_items(W_FUNC_LIST), std::vector<std::string>{"MyGroup"});
    // Name clashes.
    EXPECT_EQ(prompt_name_ok("MyGroup"), 0);
    EXPECT_EQ(hl_texts("warn").back(), "This parameter group already exists.");
    EXPECT_EQ(prompt_name_ok("General_Parameters"), 0);
    EXPECT_EQ(hl_texts("warn").back(),
              "You cannot use a name that matches a pre-defined parameter group name.");
    EXPECT_EQ(prompt_name_ok("--"), 0);
    EXPECT_EQ(hl_texts("warn").back(),
              "A group name must contain at least one alphanumeric character.");
    // View, remove a member, close asks.
    select_group("MyGroup");
    dispatch_main(W_UDF_VIEW);
    ASSERT_EQ(ui_list_count(W_UDF_WORK), 2);
    hl_widget(W_UDF_WORK).selected = {1};
    dispatch_main(W_UDF_REMOVE);
    hl_queue_answer(ASK_CANCEL);
    ui_manage(W_UDF_FORM);
    dispatch_main(W_UDF_CLOSE);
    ASSERT_EQ(hl_texts("ask").size(), 1u);
    EXPECT_TRUE(ui_is_managed(W_UDF_FORM));
    // Modify stores the shorter list.
    hl_queue_answer(ASK_OK);
    dispatch_main(W_UDF_MODIFY);
    EXPECT_EQ(hl_texts("ask").back(), "Do you really want to modify MyGroup?");
    EXPECT_EQ(mib_func_list[find_func_by_name("MyGroup")]->var_list.size(), 1u);
    // Delete restores the files, comments included.
    select_group("MyGroup");
    hl_queue_answer(ASK_OK);
    dispatch_main(W_UDF_DELETE);
    EXPECT_EQ(find_func_by_name("MyGroup"), -1);
    EXPECT_EQ(read_file(inst.catalogue("mib_func_grp.dat")), before_grp);
    EXPECT_NE(read_file(inst.catalogue("mib_func.dat")).find("# Morix Manager"), std::string::npos);
    EXPECT_EQ(read_file(inst.catalogue("mib_func_vars.dat")).find("128 |"), std::string::npos);
}

TEST_F(Groups, AllIdsTaken) {
    std::string lines;
    for (int id = 128; id <= 511; ++id)
        lines += std::to_string(id) + " | G" + std::to_string(id) + "\n";
    write_file(inst.catalogue("mib_func.dat"), read_file(inst.catalogue("mib_func.dat")) + lines);
    open_with_work({});
    EXPECT_EQ(prompt_name_ok("Another"), 0);
    EXPECT_EQ(hl_texts("warn").back(),
              "You have too many user-defined parameter groups.\nIf you want to add another "
              "group, you must delete an existing group.");
}

// Temporary files left by a crash or by a second operator (a file, a
// rollback copy, a link to a victim) block no later site-default or group
// change, and are neither followed nor removed.
TEST_F(Groups, LeftoverTemporaryFilesBlockNoChange) {
    const char* leftovers[] = {"mib_site_def_tmp.dat",  "mib_site_def_tmp.dat.old",
                               "mib_func_tmp.dat",      "mib_func_grp_tmp.dat.old",
                               "mib_func_vars_tmp.dat", "mib_func_vars_tmp.dat.old"};
    write_file(inst.catalogue("victim"), "victim\n");
    for (const char* l : leftovers)
        ASSERT_EQ(symlink(inst.catalogue("victim").c_str(), inst.catalogue(l).c_str()), 0) << l;
    int id = find_var(false);
    select_site_prm(id);
    ui_set_text(W_SITE_DEF_VAL_TF, "v");
    dispatch_main(W_SITE_MODIFY);
    EXPECT_TRUE(mib_var(id)->has_site_def);
    EXPECT_NE(site_file().find(std::to_string(id) + " | v\n"), std::string::npos);
    open_with_work({mib_var(id)->name});
    ASSERT_EQ(prompt_name_ok("Keep"), 1);
    hl_queue_answer(ASK_OK);
    select_group("Keep");
    open_with_work({mib_var(find_var(true))->name});
    select_group("Keep");
    dispatch_main(W_UDF_MODIFY);
    select_group("Keep");
    hl_queue_answer(ASK_OK);
    dispatch_main(W_UDF_DELETE);
    EXPECT_EQ(find_func_by_name("Keep"), -1);
    EXPECT_EQ(read_file(inst.catalogue("victim")), "victim\n");
    for (const char* l : leftovers) {
        struct stat st;
        EXPECT_EQ(lstat(inst.catalogue(l).c_str(), &st), 0) << l;
    }
}

} // namespace
