// The Copy window against simulated devices: values read back from the
// destinations, the report, and the automatic reset (control-set log).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "catalogue/mib_catalogue.h"
#include "frame/dispatch.h"
#include "ops/copy.h"
#include "ops_sim_util.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"
#include "ui/app_globals.h"
#include "ui_headless/ui_headless.h"

namespace {

const std::string A = "127.0.34.1", B = "127.0.34.2", C = "127.0.34.3", D = "127.0.34.4",
                  E = "127.0.34.5";

size_t count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

class CopySim : public OpsSim {
  protected:
    void select(int list, const std::string& name) {
        std::vector<std::string> items = ui_list_items(list);
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i] == name)
                ui_list_select_pos(list, static_cast<int>(i) + 1, false);
    }
    // Runs a copy through the window (async port type); returns its output.
    std::string copy(const std::string& from, const std::vector<std::string>& to, int code,
                     const std::string& from_port = "", const std::string& to_ports = "") {
        dispatch_main(W_COPY_PB);
        ui_list_deselect_all(W_CPY_FROM_LIST);
        ui_list_deselect_all(W_CPY_TO_LIST);
        select(W_CPY_FROM_LIST, from);
        for (const std::string& t : to)
            select(W_CPY_TO_LIST, t);
        for (const CopyChoice& c : cpy_kind_choices())
            ui_set_toggle(c.id, c.code == code, false);
        dispatch_main(cpy_kind_choices()[code - 1].id);
        ui_set_text(W_CPY_FROM_PORT_TF, from_port);
        ui_set_text(W_CPY_TO_PORT_TF, to_ports);
        hl_clear_events();
        dispatch_main(W_CPY_APPLY);
        return ui_get_text(W_CPY_TEXT);
    }
    // Values of a variable on a device: the scalar, or every async port.
    std::vector<std::string> values(const std::string& dev, const std::string& var) {
        MorixRecord* r = host_info_list[0];
        for (int p = 0; host_info_list[p]; ++p)
            if (host_info_list[p]->name == dev)
                r = host_info_list[p];
        int id = 0;
        get_check_mib_var(var, &id);
        build_prm(r, 1, 0, {}, PT_ASY, id, "");
        mm_snmp(r, SNMP_OP_GET);
        std::vector<std::string> out;
        for (const ParamNode* n = r->prm_list; n; n = n->next)
            out.push_back(n->status == NS_OK ? n->value : "<status " + std::to_string(n->status));
        free_prm_list(r);
        return out;
    }
};

TEST_F(CopySim, AsyncPortTwoGoesToEveryAsyncPortOfEachDestination) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start_logged(
        {{sim_profile("modelj.prof"), A},
         {sim_profile("modelj.prof"), B},
         {sim_profile("modelj.prof"), C}},
        {A + ":mrxpDedicatedPort.2=2323", A + ":mrxpCliInactivity.2=17", A + ":mrxpMode.2=ppp"}));
    add_all({A, B, C});
    g_confirm_auto_reset = 0;
    std::string out = copy(A, {B, C}, CPY_ASY, "2", "all");
    EXPECT_TRUE(has(out, "Getting copy values from " + A +
                             "...\nGetting copy values complete.\n\n"
                             "Copying the following parameters...\n\tmrxpMode\n"))
        << out;
    EXPECT_EQ(count(out, "\tmrxpDedicatedPort\n"), 1u) << "listed for the first destination only";
    EXPECT_TRUE(has(out, "\nPerforming copy for: " + C + "\n"));
    EXPECT_TRUE(has(out, "\nCopy complete.\n")) << out;
    for (const char* var : {"mrxpDedicatedPort", "mrxpCliInactivity", "mrxpMode"}) {
        std::string want = values(A, var)[1];
        for (const std::string& dst : {B, C}) {
            std::vector<std::string> got = values(dst, var);
            EXPECT_EQ(got, std::vector<std::string>(32, want)) << var << " on " << dst;
        }
    }
    // Every async port of each destination changed: one whole-type reset
    // each, plus the modem subsystem reset that mrxpModemVar maps to. The
    // destinations are reset in no promised order; each its own in order.
    std::vector<std::string> log = control_log();
    std::stable_sort(log.begin(), log.end(), [](const std::string& a, const std::string& b) {
        return a.substr(0, a.find(' ')) < b.substr(0, b.find(' '));
    });
    EXPECT_EQ(log, (std::vector<std::string>{B + " mrxcReset 0 7", B + " mrxcReset 0 10",
                                             C + " mrxcReset 0 7", C + " mrxcReset 0 10"}));
}

TEST_F(CopySim, RefusedAndFailedDestinationsDoNotStopTheOthersNorGetAReset) {
    REQUIRE_NETNS();
    std::string j = sim_profile("modelj.prof");
    ASSERT_TRUE(
        start_logged({{j, A},
                      {derived_profile("modelj.prof", "allow_sets 2"), B},
                      {j, C},
                      {j, D},
                      {derived_profile("modelj.prof", "fault generr mrxDialoutRetries"), E}},
                     {A + ":mrxDialoutRetries=6", A + ":sysContact=copied contact"}));
    add_all({A, B, C, D, E});
    choose_params({"mrxDialoutRetries", "sysContact"});
    hl_queue_answer(ASK_OK); // the confirmation
    hl_queue_answer(ASK_OK); // the reset question
    std::string out = copy(A, {B, C, D, E}, CPY_MAIN);
    EXPECT_TRUE(has(out, "<" + B +
                             ">  Could not set any parameters.\nThe value of the "
                             "allow_snmp_sets parameter is false. Morix ignored.\n"))
        << out;
    for (const std::string& dst : {C, D, E})
        EXPECT_TRUE(has(out, "Performing copy for: " + dst)) << dst;
    EXPECT_TRUE(has(out, "\nCopy complete with errors.\n")) << out;
    for (const std::string& dst : {C, D}) {
        EXPECT_EQ(values(dst, "mrxDialoutRetries"), std::vector<std::string>{"6"});
        EXPECT_EQ(values(dst, "sysContact"), std::vector<std::string>{"copied contact"});
    }
    EXPECT_EQ(values(B, "sysContact"), std::vector<std::string>{"network operations"});
    ASSERT_EQ(hl_texts("ask").size(), 1u);
    EXPECT_EQ(control_log(),
              (std::vector<std::string>{C + " mrxcReset 0 11", D + " mrxcReset 0 11"}));
}

TEST_F(CopySim, MissingAndNotCopyableParametersAndTheChannelKind) {
    REQUIRE_NETNS();
    // A catalogue variable the devices do not have.
    write_file(staged->catalogue("mib.dat"),
               read_file(staged->catalogue("mib.dat")) +
                   "766 | mrxTestGhost | mrxTestGhost | 1.3.6.1.4.1.32473.2.99.1 | 3 | 1 | 0 | "
                   "0 | -1 | 0 | 0 | 0\n");
    testing::internal::CaptureStdout();
    ASSERT_EQ(read_mib_info("data/gui_mm_data"), 0);
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(start_logged({{sim_profile("modelj.prof"), A}, {sim_profile("modelj.prof"), B}},
                             {A + ":sysContact=from A"}));
    add_all({A, B});
    choose_params({"sysName", "sysContact", "mrxTestGhost"});
    std::string out = copy(A, {B}, CPY_MAIN);
    EXPECT_TRUE(has(out, "sysName : Parameter cannot be copied.\n")) << out;
    EXPECT_EQ(out.find("\tsysName"), std::string::npos) << "never read";
    EXPECT_TRUE(has(out, "\tsysContact\n\tmrxTestGhost : Could not get value. Parameter will "
                         "not be used in copy.\n"))
        << out;
    EXPECT_TRUE(has(out, "\nCopy complete.\n")) << out;
    EXPECT_EQ(values(B, "sysContact"), std::vector<std::string>{"from A"});

    // The whole device kind passes over the missing variable silently.
    hl_queue_answer(ASK_OK);
    hl_queue_answer(ASK_CANCEL); // no reset
    out = copy(A, {B}, CPY_MRX);
    EXPECT_EQ(out.find("mrxTestGhost"), std::string::npos) << out;
    EXPECT_TRUE(has(out, "\tmrxDialoutRetries\n")) << out;
    EXPECT_TRUE(has(out, "\nCopy complete.\n")) << out;
    EXPECT_TRUE(control_log().empty());

    // Channels: confirmed, then nothing is sent, and the output says so.
    long sent = g_snmp_requests_sent;
    out = copy(A, {B}, CPY_CHN, "1", "1");
    EXPECT_EQ(hl_texts("question").size(), 1u);
    EXPECT_EQ(g_snmp_requests_sent, sent);
    EXPECT_TRUE(has(out, "nothing was copied")) << out;
}

TEST_F(CopySim, ListsFollowTheDeviceListWhileOpen) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start_logged({{sim_profile("modelj.prof"), A}, {sim_profile("modelj.prof"), B}}));
    add_all({A});
    dispatch_main(W_COPY_PB);
    select(W_CPY_TO_LIST, A);
    add_all({B});
    EXPECT_EQ(ui_list_items(W_CPY_FROM_LIST), (std::vector<std::string>{A, B}));
    EXPECT_EQ(ui_list_selected_items(W_CPY_TO_LIST), std::vector<std::string>{A});
    ui_list_deselect_pos(W_MRX_LIST, 2);
    dispatch_main(W_DELETE_PB); // delete A
    EXPECT_EQ(ui_list_items(W_CPY_TO_LIST), std::vector<std::string>{B});
}

// The largest list: one source and 62 destinations (figures on stdout).
TEST_F(CopySim, SixtyTwoDestinations) {
    REQUIRE_NETNS();
    std::vector<SimDeviceSetup> devs;
    std::vector<std::string> names;
    for (int i = 1; i <= 63; ++i) {
        names.push_back("127.0.35." + std::to_string(i));
        devs.push_back({sim_profile("modelj.prof"), names.back()});
    }
    ASSERT_TRUE(start_logged(devs, {names[0] + ":mrxDialoutRetries=5"}));
    add_all(names);
    ASSERT_EQ(mrx_lst_cnt, 63);
    g_confirm_auto_reset = 0;
    std::vector<std::string> to(names.begin() + 1, names.end());
    struct Run {
        const char *what, *from_port, *to_ports;
        int code;
        size_t resets; // per destination
    } runs[] = {{"2 parameters", "", "", CPY_MAIN, 1},
                {"async port 1 to all 32 ports", "1", "all", CPY_ASY, 2}};
    choose_params({"mrxDialoutRetries", "sysContact"});
    for (const Run& r : runs) {
        long sent = g_snmp_requests_sent;
        size_t resets = control_log().size();
        auto t0 = std::chrono::steady_clock::now();
        std::string out = copy(names[0], to, r.code, r.from_port, r.to_ports);
        double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        EXPECT_TRUE(has(out, "\nCopy complete.\n")) << out.substr(0, 2000);
        EXPECT_EQ(count(out, "Performing copy for: "), 62u);
        EXPECT_EQ(control_log().size() - resets, 62 * r.resets);
        std::printf("copy of %s to 62 destinations: %.2f s, %ld requests\n", r.what, secs,
                    g_snmp_requests_sent - sent);
    }
    EXPECT_EQ(values(names[62], "mrxDialoutRetries"), std::vector<std::string>{"5"});
}

} // namespace
