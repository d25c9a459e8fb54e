// Help windows and saving output, on the headless services.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "catalogue/func_catalogue.h"
#include "catalogue/mib_catalogue.h"
#include "frame/help.h"
#include "frame/save_text.h"
#include "support/test_dirs.h"
#include "ui/app_globals.h"
#include "ui_headless/ui_headless.h"

namespace {

class Help : public ::testing::Test {
  protected:
    void SetUp() override {
        hl_reset();
        mm_dir = dir_.path();
        std::filesystem::create_directories(dir_.file("data/help"));
    }
    TempDir dir_;
};

} // namespace

TEST_F(Help, HeadingsGetAnEmptyLineAndStopWhenPresent) {
    write_file(dir_.file("data/help/main.wh"),
               "Main Window ****\nline one\nDevices ****\nline two\n");
    std::string out, stop, last;
    ASSERT_EQ(read_help_file(dir_.file("data/help/main.wh"), "", &out, &stop, &last), 0);
    EXPECT_EQ(out, "\nMain Window ****\nline one\n\nDevices ****\nline two\n");
    EXPECT_EQ(last, "Devices ****");
    out.clear();
    ASSERT_EQ(
        read_help_file(dir_.file("data/help/main.wh"), "x\nDevices ****\n", &out, &stop, &last), 0);
    EXPECT_EQ(out, "\nMain Window ****\nline one\n");
    EXPECT_EQ(stop, "Devices ****");
    EXPECT_EQ(read_help_file(dir_.file("data/help"), "", &out, &stop, &last), -1);
}

TEST_F(Help, SameWindowHelpTwiceAddsOnceAndScrolls) {
    write_file(dir_.file("data/help/show.wh"), "Show ****\nShows values.\n");
    ui_set_text(W_HELP_TEXT, "earlier text\n");
    display_win_help(140, UI_MAIN);
    std::string once = ui_get_text(W_HELP_TEXT);
    EXPECT_EQ(once, "earlier text\n\nShow ****\nShows values.\n");
    EXPECT_TRUE(ui_is_managed(W_HELP_FORM));
    hl_widget(W_HELP_TEXT).top_pos = 0;
    display_win_help(140, UI_MAIN);
    EXPECT_EQ(ui_get_text(W_HELP_TEXT), once);
    EXPECT_EQ(hl_widget(W_HELP_TEXT).top_pos, static_cast<int>(once.find("Show ****")));
    EXPECT_TRUE(hl_widget(W_HELP_CLOSE).has_focus);
}

TEST_F(Help, MissingFilesWarn) {
    display_win_help(26, UI_MAIN);  // file absent
    display_win_help(999, UI_MAIN); // id without a file
    std::filesystem::create_directories(dir_.file("data/help/set.wh"));
    display_win_help(159, UI_MAIN); // not a regular file
    EXPECT_EQ(hl_texts("warn"), std::vector<std::string>(3, "Could not get help file."));
    EXPECT_EQ(win_help_file(17, UI_BASIC), "stdGeneral1.wh");
    EXPECT_EQ(win_help_file(17, UI_MAIN), "");
}

TEST_F(Help, FunctionHelpListsVariablesInShortLines) {
    StagedInstall inst;
    ASSERT_EQ(read_mib_info("data/gui_mm_data"), 0);
    ASSERT_EQ(read_func_info("data/gui_mm_data"), 0);
    int idx = -1;
    for (int i = 0; i < tot_dat_mib_func && idx < 0; ++i)
        if (mib_func_list[i] && mib_func_list[i]->var_list.size() > 4)
            idx = i;
    ASSERT_GE(idx, 0);
    const std::string name = mib_func_list[idx]->name;
    display_fnc_help(name, 1);
    std::string text = ui_get_text(W_HELP_TEXT);
    std::string heading = "************ Parameter Group Help (" + name + ") ************";
    EXPECT_EQ(text.rfind(heading + "\n\n", 0), 0u);
    size_t list = text.find("This parameter group contains the following parameters:\n\n");
    ASSERT_NE(list, std::string::npos);
    std::string rest = text.substr(list);
    size_t pos = rest.find("\n\n") + 2;
    int names = 0;
    while (pos < rest.size()) {
        size_t end = rest.find('\n', pos);
        std::string line = rest.substr(pos, end - pos);
        EXPECT_EQ(line[0], '\t');
        EXPECT_LE(line.size(), 62u) << line;
        for (size_t p = 0; (p = line.find(",  ", p)) != std::string::npos; p += 3)
            ++names;
        ++names;
        pos = end + 1;
    }
    EXPECT_EQ(names, static_cast<int>(mib_func_list[idx]->var_list.size()));
    display_fnc_help(name, 1);
    EXPECT_EQ(ui_get_text(W_HELP_TEXT), text);
}

TEST_F(Help, DefaultValuePrefersSiteDefault) {
    StagedInstall inst;
    ASSERT_EQ(read_mib_info("data/gui_mm_data"), 0);
    int id = -1;
    for (int i = 0; i < MAX_MIB_VARS && id < 0; ++i)
        if (mib_var(i) && mib_var(i)->enum_id >= 0 && !mib_enum_list[mib_var(i)->enum_id].empty())
            id = i;
    ASSERT_GE(id, 0);
    const EnumEntry& e = mib_enum_list[mib_var(id)->enum_id].back();
    std::string value = std::to_string(e.value);
    set_site_default(id, &value);
    EXPECT_EQ(get_def_value(id), e.text);
    std::string bad = "123456";
    set_site_default(id, &bad);
    EXPECT_EQ(get_def_value(id), "");
    set_site_default(id, nullptr);
    EXPECT_EQ(get_def_value(id), mib_var(id)->def_val);
}

TEST_F(Help, SaveChecksAndWrites) {
    EXPECT_EQ(save_text_check(125, 129, 1), 0);
    EXPECT_EQ(hl_warning_box(), "There is no information to save.");
    ui_set_text(W_SHOW_TEXT, "values");
    EXPECT_EQ(save_text_check(125, 129, 1), 1);
    EXPECT_EQ(save_text_check(125, 999, 1), 1); // ids not listed pass

    std::string f = dir_.file("out.txt");
    umask(077);
    EXPECT_EQ(save_text_proc(125, f, "first\n"), 1);
    EXPECT_EQ(read_file(f), "first\n");
    struct stat st;
    ASSERT_EQ(stat(f.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    umask(022);

    hl_queue_answer(ASK_CANCEL);
    EXPECT_EQ(save_text_proc(125, f, "second\n"), 0);
    EXPECT_EQ(read_file(f), "first\n");
    EXPECT_EQ(hl_events().back().title, "Overwrite");
    EXPECT_EQ(hl_events().back().text, "The following output text already exists:\n\n    "
                                       "out.txt\n\nDo you want to overwrite it?");
    hl_queue_answer(ASK_OK);
    EXPECT_EQ(save_text_proc(125, f, "second\n"), 1);
    EXPECT_EQ(read_file(f), "second\n");
}

TEST_F(Help, SaveFailures) {
    hl_close_warning_box();
    EXPECT_EQ(save_text_proc(125, "  ", "x"), 0);
    EXPECT_NE(hl_warning_box().find("No file was specified."), std::string::npos);
    hl_close_warning_box();
    std::string f = dir_.file("no/such/dir/out.txt");
    EXPECT_EQ(save_text_proc(125, f, "x"), 0);
    EXPECT_EQ(hl_warning_box(), "Unable to save information to file: \n\n" + f);
    // a FIFO in place of the file is refused at once
    hl_close_warning_box();
    std::string fifo = dir_.file("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    hl_queue_answer(ASK_OK); // overwrite
    EXPECT_EQ(save_text_proc(125, fifo, "x"), 0);
    EXPECT_EQ(hl_warning_box(), "Unable to save information to file: \n\n" + fifo);
}
