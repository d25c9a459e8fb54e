// Modem definitions and configuration file editing against mrxsim's load
// host and devices, driven by widget id through the headless services:
// fetch, edit, Apply and the exact file on the load host, the resets in the
// control log, the refusals, and external editors run without a shell.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "devices/mrx_list.h"
#include "devices/mrx_select.h"
#include "devices_sim_util.h"
#include "files/edit_conf.h"
#include "files/modem_dialog.h"
#include "files/modem_info.h"
#include "frame/dispatch.h"
#include "frame/modem_window.h"
#include "ui/access.h"
#include "ui/app_globals.h"
#include "ui/widget_ids.h"
#include "ui_headless/ui_headless.h"

namespace {

const std::string LH = "127.0.47.1", A = "127.0.47.2", B = "127.0.47.3";
constexpr int OPT_MENU = 2990; // the async port window's modem menu (basic table)

const std::string CFG_HEAD = "%gateway\nnet 127.0.0.0 gateway 127.0.0.1\n\n%modem\n";
const std::string CFG_MODEMS = "# first\ntype_of_modem\t\tv34\nconnect_status\t\t1 5\n"
                               "dialin_setup_cmd\tATS0=1\ndialout_setup_cmd\tATS0=0\nend\n\n"
                               "type_of_modem\t\tboth\nconnect_status\t\t9\nend\n\n";
const std::string CFG_TAIL = "%include modems.inc\n\n%service\ntelnet\t23\n";
const std::string INC = "type_of_modem inc\nconnect_status 7\ndialin_setup_cmd I1\n"
                        "dialout_setup_cmd I0\nend\ntype_of_modem both\nconnect_status 8\n"
                        "dialin_setup_cmd B1\ndialout_setup_cmd B0\nend\n";

class ModemSim : public DevicesSim {
  protected:
    void SetUp() override {
        DevicesSim::SetUp();
        mm_snmp_def_to = 2;
        root = tmp.file("root");
        mkdir(root.c_str(), 0755);
        setenv("TMPDIR", tmp.path().c_str(), 1);
        unsetenv("WINEDITOR");
        setenv("TERM", "", 1);
    }
    void TearDown() override {
        mdm_close_act(0);
        unsetenv("TMPDIR");
        DevicesSim::TearDown();
    }
    // Devices at the addresses, each with its configuration file name.
    bool run(const std::vector<std::pair<std::string, std::string>>& devs,
             const std::vector<std::string>& extra_sets = {},
             const std::vector<std::string>& faults = {}) {
        SimOptions o;
        o.faults = faults;
        o.load_host = LH;
        o.root = root;
        o.control_log = tmp.file("control.log");
        for (const auto& d : devs) {
            o.devices.push_back({sim_profile("modelj.prof"), d.first});
            for (const char* v : {"mrxPrefLoadAddr", "bootHost"})
                o.sets.push_back(d.first + ":" + v + "=" + LH);
            o.sets.push_back(d.first + ":mrxConfigFile=" + d.second);
        }
        o.sets.insert(o.sets.end(), extra_sets.begin(), extra_sets.end());
        sim = std::make_unique<SimProcess>(o);
        if (!sim->ready())
            return false;
        for (const auto& d : devs) {
            ui_set_text(W_MRX_NAME_TF, d.first);
            dispatch_main(W_ADD_PB);
        }
        for (int p = 1; p <= ui_list_count(W_MRX_LIST); ++p)
            ui_list_select_pos(W_MRX_LIST, p, false);
        return check_main_sel(W_MAIN_WINDOW, SEL_REACHABLE) == 1;
    }
    std::string control_log() { return read_file(tmp.file("control.log")); }
    std::string root;
};

TEST_F(ModemSim, EditApplyWritesTheModemSectionAndResets) {
    REQUIRE_NETNS();
    write_file(root + "/morix.cfg", CFG_HEAD + CFG_MODEMS + CFG_TAIL);
    write_file(root + "/modems.inc", INC);
    ASSERT_TRUE(run({{A, "morix.cfg"}, {B, "morix.cfg"}}));
    mdm_set_window(MW_ASYNC, "v34", OPT_MENU, {1, 2});
    ASSERT_EQ(mdm_init(W_MAIN_WINDOW), 1) << hl_warning_box();
    EXPECT_EQ(hl_widget(OPT_MENU, UI_BASIC).option_labels,
              (std::vector<std::string>{"<Undefined>", "v34", "both", "inc"}));
    EXPECT_EQ(ui_get_option(OPT_MENU, UI_BASIC), "v34");

    // change one text of v34
    ASSERT_EQ(mdm_edit_act({W_MAIN_WINDOW, "v34", "", ""}), 1);
    EXPECT_EQ(ui_get_text(W_MDM_DIALIN_TF), "ATS0=1");
    ui_set_text(W_MDM_DIALIN_TF, "ATS0=2");
    dispatch_main(W_MDM_OK);
    EXPECT_FALSE(ui_is_managed(W_MDM_DIALOG));
    // an include-only name changed: a copy joins the configuration list
    mdm_edit_act({W_MAIN_WINDOW, "inc", "", ""});
    EXPECT_EQ(ui_get_text(W_MDM_CONNECT_TF), "7");
    ui_set_text(W_MDM_CONNECT_TF, "7 8");
    dispatch_main(W_MDM_OK);
    // defaults toggle on a name in both lists: texts of the include entry,
    // read-only, and OK removes the configuration entry
    mdm_edit_act({W_MAIN_WINDOW, "both", "", ""});
    ui_set_toggle(W_MDM_DEFS_TB, true, false);
    dispatch_main(W_MDM_DEFS_TB);
    EXPECT_EQ(ui_get_text(W_MDM_DIALIN_TF), "B1");
    dispatch_main(W_MDM_OK);
    // an include-only entry cannot be removed
    mdm_edit_act({W_MAIN_WINDOW, "both", "", ""});
    hl_queue_answer(ASK_OK);
    dispatch_main(W_MDM_REMOVE);
    EXPECT_TRUE(warned("exists only in an include file"));
    EXPECT_EQ(mdm_info.cfg_fil_upd_flag, 1);

    hl_clear_events();
    hl_queue_answer(ASK_OK); // the modem reset question
    EXPECT_EQ(mdm_apply_act(W_MAIN_WINDOW), 1) << hl_warning_box();
    const std::string expect =
        CFG_HEAD +
        "# first\ntype_of_modem\t\tv34\nconnect_status\t\t1 5\ndialin_setup_cmd\tATS0=2\n"
        "dialout_setup_cmd\tATS0=0\nend\n\ntype_of_modem\t\tinc\nconnect_status\t\t7 8\n"
        "dialin_setup_cmd\tI1\ndialout_setup_cmd\tI0\nend\n\n" +
        CFG_TAIL;
    EXPECT_EQ(read_file(root + "/morix.cfg"), expect);
    EXPECT_EQ(read_file(root + "/modems.inc"), INC);
    std::string log = control_log();
    for (const std::string& line : {A + " mrxcReset 0 10", B + " mrxcReset 0 10",
                                    A + " charPortReset 1 2", B + " charPortReset 2 2"})
        EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;

    std::string dir = mdm_info.local_dir;
    mdm_close_act(0);
    struct stat st;
    EXPECT_NE(stat(dir.c_str(), &st), 0) << "the private folder is removed";
}

TEST_F(ModemSim, LocationAndFileProblemsSwitchModemsOff) {
    REQUIRE_NETNS();
    write_file(root + "/plain.cfg", "%gateway\nnet 1\n");
    write_file(root + "/other.cfg", "%modem\n");
    ASSERT_TRUE(run({{A, "plain.cfg"}, {B, "other.cfg"}}));
    mdm_set_window(MW_NONE, "", 0, {});
    EXPECT_EQ(mdm_init(W_MAIN_WINDOW), 0);
    EXPECT_TRUE(warned("different configuration file"));

    // one device: a file without "%modem" is read, but Apply cannot write
    ui_list_deselect_pos(W_MRX_LIST, 2);
    ASSERT_EQ(check_main_sel(W_MAIN_WINDOW, SEL_REACHABLE), 1);
    hl_clear_events();
    ASSERT_EQ(mdm_init(W_MAIN_WINDOW), 1) << hl_warning_box();
    mdm_info.cfg_list.push_back(crt_mdm_node_def(false, "new"));
    mdm_info.cfg_fil_upd_flag = 1;
    EXPECT_EQ(mdm_apply_act(W_MAIN_WINDOW), 0);
    EXPECT_TRUE(warned("Could not update the temporary Morix configuration file."));
    EXPECT_EQ(read_file(root + "/plain.cfg"), "%gateway\nnet 1\n");

    // a missing include file, and too many of them
    write_file(root + "/plain.cfg", "%modem\n%include gone.inc\n");
    hl_clear_events();
    EXPECT_EQ(mdm_init(W_MAIN_WINDOW), 0);
    EXPECT_TRUE(warned("Could not access a modem include file"));
    std::string many = "%modem\n";
    for (int i = 0; i < 17; ++i)
        many += "%include i" + std::to_string(i) + "\n";
    write_file(root + "/plain.cfg", many);
    hl_clear_events();
    EXPECT_EQ(mdm_init(W_MAIN_WINDOW), 0);
    EXPECT_TRUE(warned("i16"));
}

// The load host's file changed by another writer between the fetch and
// Apply: nothing is written and the edit is kept; an upload stored damaged
// is caught by the read-back; an operator not in the users list writes
// nothing.
TEST_F(ModemSim, UploadsDetectConcurrentChangeAndDamagedStore) {
    REQUIRE_NETNS();
    const std::string cfg = CFG_HEAD + CFG_MODEMS;
    for (const char* fault : {"file_change=morix.cfg", "store_damaged", "unlisted"}) {
        const bool unlisted = std::string(fault) == "unlisted";
        write_file(root + "/morix.cfg", cfg);
        ASSERT_TRUE(run({{A, "morix.cfg"}}, {},
                        unlisted ? std::vector<std::string>{}
                                 : std::vector<std::string>{LH + ":" + fault}));
        g_may_change = unlisted ? 0 : 1;
        mdm_set_window(MW_NONE, "", 0, {});
        hl_clear_events();
        ASSERT_EQ(mdm_init(W_MAIN_WINDOW), 1) << hl_warning_box();
        mdm_info.cfg_list.push_back(crt_mdm_node_def(false, "new"));
        mdm_info.cfg_fil_upd_flag = 1;
        EXPECT_EQ(mdm_apply_act(W_MAIN_WINDOW), 0);
        const std::string kept = mdm_info.local_cfg;
        std::string on_host = read_file(root + "/morix.cfg");
        if (std::string(fault) == "store_damaged") {
            EXPECT_TRUE(warned("The configuration file /bfs/morix.cfg on " + LH +
                               "\ndoes not read back as it was written"))
                << hl_warning_box();
            EXPECT_NE(on_host, read_file(kept));
        } else if (unlisted) {
            EXPECT_TRUE(warned(std::string(MSG_NO_ACCESS) + "\nNothing was written."))
                << hl_warning_box();
            EXPECT_EQ(on_host, cfg);
        } else {
            EXPECT_TRUE(warned("The configuration file /bfs/morix.cfg on " + LH +
                               "\nchanged since it was fetched.\nNothing was written."))
                << hl_warning_box();
            EXPECT_EQ(on_host, cfg + "# changed by another writer\n");
        }
        g_may_change = 1;
        EXPECT_TRUE(warned("Your changes are kept in\n'" + kept + "'."));
        EXPECT_NE(read_file(kept).find("type_of_modem\t\tnew"), std::string::npos);
        mdm_close_act(0);
        EXPECT_TRUE(access(kept.c_str(), R_OK) == 0) << "the edit outlives the close";
        sim.reset();
    }
}

// An editor script: records its arguments, then runs the given commands.
std::string editor_script(const TempDir& t, const std::string& name, const std::string& body) {
    std::string path = t.file(name);
    write_file(path,
               "#!/bin/sh\nprintf '%s\\n' \"$@\" > " + t.file(name + ".args") + "\n" + body + "\n");
    chmod(path.c_str(), 0755);
    return path;
}

TEST_F(ModemSim, EditConfigurationWithEditors) {
    REQUIRE_NETNS();
    const std::string name = "a;touch PWNED $(touch PWNED2) 'q' b.cfg";
    write_file(root + "/" + name, "%modem\r\ntype_of_modem x\r\nend\r\n%service\r\ntelnet 23\r\n");
    ASSERT_TRUE(run({{A, name}}));
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(tmp.path().c_str()), 0);

    // an editor that does not save: no question, nothing uploaded
    setenv("EDITOR", editor_script(tmp, "nosave", "true").c_str(), 1);
    EXPECT_EQ(edit_conf_window(), 1) << hl_warning_box();
    EXPECT_TRUE(hl_texts("ask").empty());
    // the file path is one argument, in the private folder, made harmless
    std::string arg = read_file(tmp.file("nosave.args"));
    EXPECT_NE(arg.find("/mm_cfg."), std::string::npos) << arg;
    EXPECT_NE(arg.find("/a_touch_PWNED___touch_PWNED2___q__b.cfg."), std::string::npos) << arg;

    // an editor with options that changes one line; Macros reset chosen
    std::string ed = editor_script(tmp, "change", "sed -i 's/telnet 23/telnet 2323/' \"$1\"");
    setenv("EDITOR", ("sh " + ed).c_str(), 1);
    hl_clear_events();
    hl_queue_answer(ASK_OK); // update the file
    hl_queue_box_toggles({{0, true}, {1, false}, {2, false}, {3, false}, {4, false}, {6, false}});
    hl_queue_answer(ASK_OK); // the reset choice
    EXPECT_EQ(edit_conf_window(), 1) << hl_warning_box();
    EXPECT_EQ(read_file(root + "/" + name),
              "%modem\r\ntype_of_modem x\r\nend\r\n%service\r\ntelnet 2323\r\n");
    ASSERT_FALSE(hl_texts("ask").empty());
    EXPECT_EQ(hl_texts("ask")[0],
              "Do you want to update the configuration file:\n/bfs/" + name + " ?");
    EXPECT_EQ(control_log(), A + " mrxcReset 0 2\n");
    EXPECT_TRUE(warned("use the 'Boot' menu selection"));

    // nothing the name holds was run; no local copy is left behind
    for (const char* f : {"PWNED", "PWNED2"})
        EXPECT_NE(access(tmp.file(f).c_str(), F_OK), 0) << f;
    DIR* d = opendir(tmp.path().c_str());
    while (dirent* e = d ? readdir(d) : nullptr)
        EXPECT_NE(std::string(e->d_name).rfind("mm_cfg.", 0), 0u) << e->d_name;
    if (d)
        closedir(d);

    // an editor that cannot be started
    setenv("EDITOR", "/nonexistent/editor -x", 1);
    hl_clear_events();
    EXPECT_EQ(edit_conf_window(), 0);
    EXPECT_TRUE(warned("Edit command failed:\n/nonexistent/editor -x "));
    unsetenv("EDITOR");
    hl_clear_events();
    EXPECT_EQ(edit_conf_window(), 0);
    EXPECT_TRUE(warned("Editor is not defined."));
    ASSERT_EQ(chdir(cwd), 0);
}

TEST_F(ModemSim, ADeviceServingItsOwnFileIsRefused) {
    REQUIRE_NETNS();
    write_file(root + "/morix.cfg", "%modem\n");
    ASSERT_TRUE(run({{A, "morix.cfg"}}, {A + ":mrxConfigServer=" + A}));
    std::string reason;
    EXPECT_EQ(edit_conf_allowed_noquery(&reason), 0);
    EXPECT_EQ(reason, "the file server <" + A + "> is \none of the selected Morixes.");
    setenv("EDITOR", "true", 1);
    hl_queue_answer(ASK_CANCEL);
    EXPECT_EQ(edit_conf_window(), 0);
    ASSERT_EQ(hl_texts("ask").size(), 1u);
    EXPECT_EQ(
        hl_texts("ask")[0].rfind("Configuration file cannot be edited,\nthe file server <", 0), 0u);
    // the Edit Modem dialog asks too, and OK then saves nothing
    mdm_set_window(MW_NONE, "", 0, {});
    ASSERT_EQ(mdm_init(W_MAIN_WINDOW), 1);
    hl_queue_answer(ASK_OK);
    ASSERT_EQ(mdm_edit_act({W_MAIN_WINDOW, "m", "", ""}), 1);
    dispatch_main(W_MDM_OK);
    EXPECT_TRUE(warned("The changes have not been saved."));
    EXPECT_TRUE(mdm_info.cfg_list.empty());
}

// Values a definition already holds change nothing (no upload, no reset);
// a parse failure says why and that modem functions are off.
TEST_F(ModemSim, UnchangedValuesAndParseFailures) {
    REQUIRE_NETNS();
    write_file(root + "/morix.cfg", CFG_HEAD + CFG_MODEMS + CFG_TAIL);
    write_file(root + "/modems.inc", INC);
    ASSERT_TRUE(run({{A, "morix.cfg"}}));
    mdm_set_window(MW_NONE, "", 0, {});
    ASSERT_EQ(mdm_init(W_MAIN_WINDOW), 1) << hl_warning_box();
    const struct {
        const char* name;
        int keyword;
        const char* value;
        int changed;
    } cases[] = {{"v34", KW_DIALIN_SETUP, "ATS0=1", 0},
                 {"inc", KW_CONNECT_STATUS, "7", 0},
                 {"v34", KW_DIALIN_SETUP, "ATS0=3", 1},
                 {"inc", KW_CONNECT_STATUS, "7 9", 1}};
    for (const auto& c : cases) {
        size_t before = mdm_info.cfg_list.size();
        mdm_info.cfg_fil_upd_flag = 0;
        EXPECT_EQ(mdm_put_values(c.name, {{c.keyword, c.value}}), c.changed) << c.name << c.value;
        EXPECT_EQ(mdm_info.cfg_fil_upd_flag, c.changed) << c.name << c.value;
        if (!c.changed) {
            EXPECT_EQ(mdm_info.cfg_list.size(), before) << c.name;
        }
    }
    write_file(root + "/morix.cfg", "%modem\n%modem\n");
    hl_clear_events();
    EXPECT_EQ(mdm_init(W_MAIN_WINDOW), 0);
    EXPECT_TRUE(warned("Duplicate modem category statements"));
    EXPECT_TRUE(warned("modem functionality (editing, etc.) will not be allowed."));
}

} // namespace
