// Scripts and compare against simulated devices: create from one device,
// execute on another, compare, save the differences and compare again.
#include <gtest/gtest.h>

#include "catalogue/func_display.h"
#include "frame/script_exec_window.h"
#include "frame/script_windows.h"
#include "ops/compare.h"
#include "ops/script_crt.h"
#include "ops/script_exe.h"
#include "ops/script_file.h"
#include "ops_sim_util.h"
#include "ui/progress.h"
#include "ui/widget_ids.h"
#include "ui_headless/ui_headless.h"

namespace {

const std::string A = "127.0.32.2", B = "127.0.32.3", T1 = "127.0.32.4";
constexpr int OUT = 362, EXE = 417, CMP = 225;

class ScriptSim : public OpsSim {
  protected:
    // Both devices are of one type, so the list is ordered by name: A, B.
    void select_only(const std::string& name) {
        ui_list_deselect_all(W_MRX_LIST);
        ui_list_select_pos(W_MRX_LIST, name == A ? 1 : 2, false);
    }
    bool create(const std::string& path, bool wildcard) {
        ScriptCrtRequest req;
        req.opt.category[SC_DEVICE] = req.opt.category[SC_ASY] = true;
        req.opt.wildcard = wildcard;
        req.devices = {find_record(A)};
        req.ports[SK_ASY] = "2";
        req.file = path;
        ScriptCrtOutcome out = run_script_create(req, front_end_asker());
        ui_set_text(OUT, out.outcome.report);
        return out.written;
    }
    int exec_on(const std::string& name, const std::string& path, const std::string& asy) {
        select_only(name);
        return process_scr_exe(path, EXE, W_EXE_FORM,
                               [&](const ScrKinds&, std::array<std::string, SK_COUNT>* t) {
                                   (*t)[SK_ASY] = asy;
                                   return true;
                               });
    }
    int cmp(int code = 1) {
        ui_set_text(CMP, "");
        choose_params({"sysContact", "sysLocation", "mrxpMode", "mrxDialoutRetries"});
        CmpRequest r;
        r.mrx1 = A, r.mrx2 = B, r.code = code, r.port_type = 1, r.ports1 = r.ports2 = "2";
        return show_compare(r, CMP, W_CMP_FORM);
    }
};

TEST_F(ScriptSim, CreateExecuteCompareAndDifferencesScript) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start_logged({{sim_profile("modelj.prof"), A}, {sim_profile("modelj.prof"), B}},
                             {A + ":sysContact=", A + ":mrxpMode.2=slip"}));
    add_all({A, B});
    for (bool wild : {false, true}) {
        std::string path = tmp.file(wild ? "w.scr" : "a.scr");
        ASSERT_TRUE(create(path, wild)) << hl_warning_box();
        std::string text = read_file(path);
        EXPECT_EQ(text.rfind(script_header(), 0), 0u);
        EXPECT_NE(text.find("sysContact | none | 0 | \"\"\n"), std::string::npos);
        EXPECT_NE(text.find(wild ? "mrxpMode | asy | * | slip\n" : "mrxpMode | asy | 2 | slip\n"),
                  std::string::npos);
        EXPECT_NE(ui_get_text(OUT).find("Script creation complete."), std::string::npos);
    }
    EXPECT_GT(cmp(), 0);
    ASSERT_EQ(exec_on(B, tmp.file("w.scr"), "2"), 1);
    EXPECT_NE(ui_get_text(EXE).find("Script execution complete."), std::string::npos);
    EXPECT_EQ(cmp(), 0);
    EXPECT_NE(ui_get_text(CMP).find("\nNo differences.\n"), std::string::npos);
    // One changed value: one difference with its three-line report.
    select_only(B);
    write_file(tmp.file("one.scr"), script_header() + "mrxDialoutRetries | none | 0 | 7\n");
    ASSERT_EQ(exec_on(B, tmp.file("one.scr"), ""), 1);
    EXPECT_EQ(cmp(), 1);
    EXPECT_NE(ui_get_text(CMP).find("\n*** mrxDialoutRetries ***\n" + A + " : 3\n" + B +
                                    " : 7\n\nNumber of differences: 1\n"),
              std::string::npos)
        << ui_get_text(CMP);
    ASSERT_EQ(save_cmp_diff_script(tmp.file("d.scr"), front_end_asker()).outcome.result,
              Result::done);
    ASSERT_EQ(exec_on(B, tmp.file("d.scr"), ""), 1);
    EXPECT_EQ(cmp(), 0);
    // The device with the script it came from, and with itself.
    CmpRequest r;
    r.kind = CMP_MRX_FIL, r.mrx1 = A, r.file1 = tmp.file("a.scr"), r.ports1 = "2";
    EXPECT_EQ(show_compare(r, CMP, W_CMP_FORM), 0);
    r.kind = CMP_MRX_MRX, r.mrx2 = A, r.code = 2, r.ports1 = r.ports2 = "";
    EXPECT_EQ(show_compare(r, CMP, W_CMP_FORM), 0);
}

TEST_F(ScriptSim, InvalidScriptSendsNothingAndDs0WildcardAsksPorts) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start_logged({{sim_profile("modelj.prof"), A}}));
    add_all({A});
    write_file(tmp.file("bad.scr"), script_header() + "sysContact | none | 0 | x\n"
                                                      "mrxDialoutRetries | none | 0 | many\n");
    EXPECT_EQ(exec_on(A, tmp.file("bad.scr"), ""), 0);
    EXPECT_NE(ui_get_text(EXE).find("mrxDialoutRetries | none | 0 | many\n\tInvalid Integer "
                                    "Format\n"),
              std::string::npos);
    EXPECT_TRUE(control_log().empty());
    write_file(tmp.file("nohdr.scr"), "sysContact | none | 0 | x\n");
    EXPECT_EQ(exec_on(A, tmp.file("nohdr.scr"), ""), 0);
    EXPECT_EQ(process_scr_view(tmp.file("nohdr.scr"), 403, W_VIEW_FORM, W_VIEW_FORM), -1);
    EXPECT_EQ(hl_texts("warn").back(), tmp.file("nohdr.scr") + " is not a Morix Manager script.");
    EXPECT_EQ(exec_on(A, tmp.path(), ""), 0);
    EXPECT_EQ(hl_texts("warn").back(), "Could not open file.");
}

// Only ds0chan lines are wildcarded: the port dialog is asked for that
// kind alone; cancelling it sends nothing.
TEST_F(ScriptSim, Ds0chanOnlyWildcardAsksForChannels) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start_logged({{sim_profile("modeln.prof"), T1}}));
    add_all({T1});
    ui_list_select_pos(W_MRX_LIST, 1, false);
    write_file(tmp.file("chan.scr"), script_header() +
                                         "sysContact | none | 0 | x\n"
                                         "mrxt1ChanIpAddr | ds0chan | * | 10.1.1.1\n");
    ScrKinds asked{};
    int calls = 0;
    EXPECT_EQ(process_scr_exe(tmp.file("chan.scr"), EXE, W_EXE_FORM,
                              [&](const ScrKinds& wild, std::array<std::string, SK_COUNT>*) {
                                  asked = wild;
                                  ++calls;
                                  return false;
                              }),
              0);
    EXPECT_EQ(calls, 1);
    ScrKinds only{};
    only[SK_DS0CHAN] = true;
    EXPECT_EQ(asked, only);
    EXPECT_TRUE(control_log().empty());
}

// A value empty on one device and the two-character text "" on the other
// is no difference, device with device and device with script.
TEST_F(ScriptSim, EmptyValueEqualsTwoQuotes) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start_logged({{sim_profile("modelj.prof"), A}, {sim_profile("modelj.prof"), B}},
                             {A + ":sysContact=", B + ":sysContact=\"\""}));
    add_all({A, B});
    ui_set_text(CMP, "");
    choose_params({"sysContact"});
    CmpRequest r;
    r.mrx1 = A, r.mrx2 = B, r.code = 1, r.port_type = 1;
    EXPECT_EQ(show_compare(r, CMP, W_CMP_FORM), 0) << ui_get_text(CMP);
    write_file(tmp.file("q.scr"), script_header() + "sysContact | none | 0 | \"\"\n");
    r.kind = CMP_MRX_FIL, r.mrx1 = B, r.file1 = tmp.file("q.scr");
    EXPECT_EQ(show_compare(r, CMP, W_CMP_FORM), 0) << ui_get_text(CMP);
    EXPECT_NE(ui_get_text(CMP).find("No differences."), std::string::npos);
}

} // namespace
