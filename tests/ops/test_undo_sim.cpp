// Safe change against simulated devices: every change path (Set window,
// script execution, copy, basic Apply) leaves an undo script whose
// execution brings the device back to a script taken before; the journal
// keeps only changes that reached a device, in its own order; a value the
// device does not keep is reported by the read-back.
#include <gtest/gtest.h>

#include "basic/set_basic.h"
#include "catalogue/mib_catalogue.h"
#include "frame/dispatch.h"
#include "frame/script_exec_window.h"
#include "frame/script_windows.h"
#include "frame/set_render.h"
#include "ops/compare.h"
#include "ops/copy.h"
#include "ops/script_crt.h"
#include "ops/script_exe.h"
#include "ops/undo.h"
#include "ops_sim_util.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"
#include "ui/access.h"
#include "ui_headless/ui_headless.h"

namespace {

const std::string A = "127.0.36.1", B = "127.0.36.2", C = "127.0.36.3", D = "127.0.36.4";
constexpr int OUT = 362, EXE = 417, CMP = 225;

class UndoSim : public OpsSim {
  protected:
    void select_only(const std::vector<std::string>& names) {
        ui_list_deselect_all(W_MRX_LIST);
        std::vector<std::string> items = ui_list_items(W_MRX_LIST);
        for (size_t i = 0; i < items.size(); ++i)
            for (const std::string& n : names)
                if (items[i].find("<" + n + ">") != std::string::npos)
                    ui_list_select_pos(W_MRX_LIST, static_cast<int>(i) + 1, false);
    }
    // The device's scalars and async port 2 as a script.
    std::string snapshot(const std::string& name) {
        ScriptCrtRequest req;
        req.opt.category[SC_DEVICE] = req.opt.category[SC_ASY] = true;
        req.devices = {find_record(name)};
        req.ports[SK_ASY] = "2";
        std::string path = tmp.file(name + ".before");
        req.file = path;
        EXPECT_TRUE(run_script_create(req, front_end_asker()).written);
        return path;
    }
    // Undo Last Change on the devices, then each compared with its snapshot.
    void undo_restores(const std::vector<std::string>& names) {
        select_only(names);
        hl_queue_answer(ASK_OK);
        ASSERT_EQ(undo_last_change(OUT, W_MAIN_WINDOW), SCRIPT_DONE) << ui_get_text(OUT);
        for (const std::string& n : names) {
            CmpRequest r;
            r.kind = CMP_MRX_FIL, r.mrx1 = n, r.file1 = tmp.file(n + ".before"), r.ports1 = "2";
            EXPECT_EQ(show_compare(r, CMP, W_CMP_FORM), 0) << n << "\n" << ui_get_text(CMP);
        }
    }
    void undo_restores_to(const std::vector<std::string>& names, const std::string& value) {
        select_only(names);
        hl_queue_answer(ASK_OK);
        ASSERT_EQ(undo_last_change(OUT, W_MAIN_WINDOW), SCRIPT_DONE) << ui_get_text(OUT);
        for (const std::string& n : names)
            EXPECT_EQ(retries(n), value) << n;
    }
    MorixRecord* rec(const std::string& name) {
        return host_info_list[host_info_list.position(name)];
    }
    std::string retries(const std::string& name) {
        MorixRecordPtr g = new_host_node();
        cpy_host_node(g.get(), rec(name));
        free_prm_list(g.get());
        int id = 0;
        EXPECT_TRUE(get_check_mib_var("mrxDialoutRetries", &id));
        build_prm(g.get(), 0, 0, {}, PT_NONE, id, "");
        mm_snmp(g.get(), SNMP_OP_GET);
        return g->prm_list ? g->prm_list->value : "";
    }
};

TEST_F(UndoSim, EveryChangePathLeavesAnUndoThatRestoresTheDevice) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start_logged({{sim_profile("modelj.prof"), A},
                              {sim_profile("modelj.prof"), B},
                              {sim_profile("modelj.prof"), C},
                              {sim_profile("modelj.prof"), D}},
                             {B + ":sysContact=source", B + ":mrxDialoutRetries=9"}));
    add_all({A, B, C, D});
    hl_answer_all(ASK_CANCEL); // no automatic resets
    for (const std::string& n : {A, C, D})
        snapshot(n);

    // the Set window
    select_only({A});
    open_set({"mrxDialoutRetries", "sysContact"});
    mark("mrxDialoutRetries", "5");
    mark("sysContact", "changed");
    dispatch_main(W_SET_APPLY);
    EXPECT_NE(set_messages().find("<" + A + ">  Undo script: " + undo_dir() + "/" + A + "_"),
              std::string::npos)
        << set_messages();
    undo_restores({A});

    // script execution
    write_file(tmp.file("x.scr"), script_header() + "mrxpMode | asy | 2 | slip\n"
                                                    "sysLocation | none | 0 | moved\n");
    select_only({A});
    hl_queue_answer(ASK_OK);
    ASSERT_EQ(process_scr_exe(tmp.file("x.scr"), EXE, W_EXE_FORM, {}), 1);
    EXPECT_NE(ui_get_text(EXE).find("Undo script: "), std::string::npos);
    undo_restores({A});

    // a copy to three devices
    CopyRequest req;
    req.code = CPY_MAIN;
    req.src_index = host_info_list.position(B);
    req.dst_names = {A, C, D};
    int id = 0;
    for (const char* v : {"sysContact", "mrxDialoutRetries"}) {
        ASSERT_TRUE(get_check_mib_var(v, &id));
        build_prm(rec(B), 0, 0, {}, PT_NONE, id, "");
    }
    CopyOutcome copied = copy_exe(req);
    EXPECT_EQ(copied.outcome.result, Result::done) << copied.outcome.report;
    undo_restores({A, C, D});

    // basic-mode Apply
    ASSERT_TRUE(get_check_mib_var("mrxDialoutRetries", &id));
    build_prm(rec(A), 0, 0, {}, PT_NONE, id, "8");
    int error = 0, cancel = 0;
    process_set_req_basic({host_info_list.position(A)}, W_MAIN_WINDOW, &error, &cancel);
    EXPECT_EQ(error, 0) << hl_warning_box();
    undo_restores({A});
    // The undo of the undo is kept too: the newest script sets 8 again.
    EXPECT_NE(read_file(undo_scripts_of(A).back()).find("mrxDialoutRetries | none | 0 | 8\n"),
              std::string::npos);
}

// A change cancelled before its Sets keeps no journal entry, and a clock
// stepped back between two changes does not reorder the journal: the next
// undo acts on the newest change that reached each device.
TEST_F(UndoSim, UndoActsOnTheNewestChangeThatReachedTheDevice) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start_logged({{sim_profile("modelj.prof"), A}, {sim_profile("modelj.prof"), B}}));
    add_all({A, B});
    hl_answer_all(ASK_CANCEL); // no automatic resets
    static std::chrono::system_clock::time_point now = std::chrono::system_clock::now();
    undo_clock = [] { return now; };
    open_set({"mrxDialoutRetries"});
    // Not in the users list: the pipeline itself refuses, whatever pressed it.
    g_may_change = 0;
    mark("mrxDialoutRetries", "4");
    dispatch_main(W_SET_APPLY);
    g_may_change = 1;
    EXPECT_NE(set_messages().find(std::string("<") + A + ">  " + MSG_NO_ACCESS), std::string::npos)
        << set_messages();
    EXPECT_TRUE(undo_scripts_of(A).empty());
    for (const char* v : {"5", "6"}) {
        mark("mrxDialoutRetries", v);
        dispatch_main(W_SET_APPLY);
        now -= std::chrono::hours(1);
    }
    size_t kept = undo_scripts_of(A).size();
    hl_cancel_on_label("Reading current values");
    mark("mrxDialoutRetries", "9");
    dispatch_main(W_SET_APPLY);
    EXPECT_NE(set_messages().find("Nothing was sent to: " + A + ", " + B), std::string::npos)
        << set_messages();
    EXPECT_EQ(undo_scripts_of(A).size(), kept);
    undo_restores_to({A, B}, "5");
    undo_clock = [] { return std::chrono::system_clock::now(); };
}

TEST_F(UndoSim, ValueTheDeviceDoesNotKeepIsReported) {
    REQUIRE_NETNS();
    ASSERT_TRUE(
        start_logged({{derived_profile("modelj.prof", "fault set_ignore=mrxDialoutRetries"), A}}));
    add_all({A});
    open_set({"mrxDialoutRetries", "sysContact", "mrxNameServer1Type"});
    mark("mrxDialoutRetries", "5");
    mark("sysContact", "taken");
    mark("mrxNameServer1Type", "dns");
    dispatch_main(W_SET_APPLY);
    std::string m = set_messages();
    EXPECT_NE(m.find("<" + A +
                     "> Verify: mrxDialoutRetries reads 3, not 5\n \nSet complete "
                     "with errors.\n"),
              std::string::npos)
        << m;
    EXPECT_EQ(m.find("Verify: sysContact"), std::string::npos);
    EXPECT_EQ(m.find("Verify: mrxNameServer1Type"), std::string::npos);
}

} // namespace
