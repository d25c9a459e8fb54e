// Device list commands and list files against simulated devices, driven
// through the headless UI services by widget id.
#include <gtest/gtest.h>

#include <chrono>

#include "devices/mrx_list.h"
#include "devices/mrx_list_file.h"
#include "devices/mrx_select.h"
#include "devices_sim_util.h"
#include "frame/device_info_window.h"
#include "frame/device_list_window.h"
#include "frame/dispatch.h"
#include "frame/settings_window.h"
#include "snmp_access/product_types.h"
#include "support/snmpd_peer.h"
#include "ui/app_globals.h"
#include "ui/outcome.h"
#include "ui_headless/ui_headless.h"

namespace {

class ListSim : public DevicesSim {
  protected:
    void add(const std::string& typed, const std::string& community = "") {
        add_to_device_list({typed, community});
    }
    std::vector<std::string> rows() { return ui_list_items(W_MRX_LIST); }
    std::vector<std::string> warnings() { return hl_texts("warn"); }
    Result load(const std::string& path, bool replace, int expected) {
        return load_into_device_list({path, replace, expected}, W_MAIN_WINDOW).outcome.result;
    }
};

TEST_F(ListSim, AddStripsBlanksSortsAndKeepsUnreachableDevices) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start(
        {{sim_profile("modelg.prof"), "127.0.9.1"}, {sim_profile("modell.prof"), "127.0.9.2"}}));
    // The Add button: the name as typed, blanks and all.
    ui_set_text(W_MRX_NAME_TF, " 127.0. 9.1 ");
    ui_set_text(W_COMM_TF, "");
    dispatch_main(W_ADD_PB);
    EXPECT_EQ(warnings(), (std::vector<std::string>{
                              "Blanks found and removed:\n' 127.0. 9.1 ' ->\n'127.0.9.1'\n"}));
    EXPECT_EQ(ui_get_text(W_MRX_NAME_TF), "127.0.9.1");
    EXPECT_EQ(ui_get_text(W_COMM_TF), "vantor"); // default written back
    add("127.0.9.2");
    add("127.0.9.77"); // nobody answers there
    // ModelL (priority 1) before ModelG (50); unreachable last.
    EXPECT_EQ(rows(), (std::vector<std::string>{"<127.0.9.2> : ModelL", "<127.0.9.1> : ModelG",
                                                "<127.0.9.77> : NOT REACHABLE"}));
    EXPECT_EQ(mrx_lst_cnt, 3);
    EXPECT_EQ(host_info_list[2]->reachable, 0);
    EXPECT_TRUE(ui_list_selected_pos(W_MRX_LIST).empty());
    hl_clear_events();
    add("");
    add("127.0.9.1");
    // Name and address both match: both messages.
    EXPECT_EQ(warnings(), (std::vector<std::string>{
                              "You must enter a Morix name or an IP address.",
                              "The Morix you entered is already in the list.",
                              "The Morix you entered is already in the list as: 127.0.9.1"}));
}

// Several names at once (mm_cli -mrx) are identified side by side, yet the
// list and the warnings are those of adding them one after the other.
TEST_F(ListSim, SeveralNamesAddAsOneAfterTheOther) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start({{sim_profile("not_morix.prof"), "127.0.9.10"},
                       {sim_profile("modelg.prof"), "127.0.9.1"},
                       {sim_profile("modell.prof"), "127.0.9.2"}}));
    const std::vector<std::string> names = {"127.0.9.10", "127.0.9.1", " 127.0. 9.2 ", "",
                                            "127.0.9.1"};
    std::vector<std::string> seen_rows[2], seen_warnings[2];
    for (int batch = 0; batch < 2; ++batch) {
        free_host_info_list(host_info_list);
        ui_list_delete_all(W_MRX_LIST);
        hl_clear_events();
        if (batch) {
            std::vector<AddMorixRequest> reqs;
            for (const std::string& n : names)
                reqs.push_back({n, ""});
            std::vector<Result> results;
            for (const ListOutcome& out : add_morixes(reqs)) {
                results.push_back(out.outcome.result);
                render_device_list(out, W_MAIN_WINDOW);
            }
            EXPECT_EQ(results, (std::vector<Result>{Result::failed, Result::done, Result::done,
                                                    Result::refused, Result::refused}));
        } else {
            for (const std::string& n : names)
                add(n);
        }
        seen_rows[batch] = rows();
        seen_warnings[batch] = warnings();
    }
    EXPECT_EQ(seen_rows[0],
              (std::vector<std::string>{"<127.0.9.2> : ModelL", "<127.0.9.1> : ModelG"}));
    EXPECT_EQ(seen_rows[1], seen_rows[0]);
    EXPECT_EQ(seen_warnings[0].size(), 6u); // one of them tells of the blanks
    EXPECT_EQ(seen_warnings[1], seen_warnings[0]);
}

TEST_F(ListSim, AddByAddressOfADeviceListedByName) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start({{sim_profile("modelg.prof"), "127.0.0.1"}}));
    add("localhost");
    ASSERT_EQ(mrx_lst_cnt, 1);
    ASSERT_EQ(host_info_list[0]->reachable, 1);
    hl_clear_events();
    add("127.0.0.1");
    EXPECT_EQ(warnings(), (std::vector<std::string>{
                              "The Morix you entered is already in the list as: localhost"}));
    EXPECT_EQ(mrx_lst_cnt, 1);
    // The existing row is scrolled into view at the bottom, the list focused.
    EXPECT_EQ(hl_widget(W_MRX_LIST).bottom_pos, 1);
    EXPECT_TRUE(hl_widget(W_MRX_LIST).has_focus);
}

TEST_F(ListSim, NotAddedDevicesAreExplained) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start({{sim_profile("not_morix.prof"), "127.0.9.10"},
                       {sim_profile("modelc_commsrv.prof"), "127.0.9.11"}}));
    add("127.0.9.10");
    add("127.0.9.11");
    add("unknown-morix.invalid");
    std::vector<std::string> w = warnings();
    ASSERT_EQ(w.size(), 5u);
    EXPECT_EQ(w[0], "127.0.9.10 is not a Morix.\nIt was not added to the list.");
    EXPECT_FALSE(w[1].empty()); // its sysDescr
    EXPECT_EQ(w[2], "127.0.9.11 is not a supported Morix.\nIt was not added to the list.");
    EXPECT_EQ(w[4], "unknown-morix.invalid is an unknown device.\nIt was not added to the list.");
    EXPECT_EQ(mrx_lst_cnt, 0);
}

TEST_F(ListSim, ARealForeignAgentIsNotAMorix) {
    REQUIRE_NETNS();
    SnmpdPeer agent("127.0.9.50");
    std::string why;
    ASSERT_TRUE(agent.start(&why)) << why;
    add("127.0.9.50");
    EXPECT_EQ(warnings(),
              (std::vector<std::string>{"127.0.9.50 is not a Morix.\nIt was not added to the list.",
                                        PEER_SYS_DESCR}));
    EXPECT_EQ(mrx_lst_cnt, 0);
}

TEST_F(ListSim, QueryDeleteAndView) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start(
        {{sim_profile("modelg.prof"), "127.0.9.20"}, {sim_profile("modelj.prof"), "127.0.9.21"}}));
    add("127.0.9.20");
    add("127.0.9.21");
    ASSERT_EQ(rows().size(), 2u);
    // The ModelJ device (row 1) goes away; a query keeps its row, now
    // unreachable, and re-sorts it after the ModelG one.
    sim.reset();
    ASSERT_TRUE(start({{sim_profile("modelg.prof"), "127.0.9.20"}}));
    ui_list_select_pos(W_MRX_LIST, 1, false);
    query_device_list("");
    EXPECT_EQ(rows(),
              (std::vector<std::string>{"<127.0.9.20> : ModelG", "<127.0.9.21> : NOT REACHABLE"}));
    EXPECT_EQ(ui_list_selected_pos(W_MRX_LIST), (std::vector<int>{2}));
    // View of the reachable one shows its information.
    ui_list_deselect_all(W_MRX_LIST);
    ui_list_select_pos(W_MRX_LIST, 1, false);
    view_morix();
    EXPECT_TRUE(ui_is_managed(W_MRX_INFO_BOX));
    EXPECT_EQ(get_widget_label(W_MRX_INFO_LABEL).rfind("127.0.9.20 : \n\nMorix", 0), 0u);
    // Delete of the last row selects the new last row.
    ui_list_deselect_all(W_MRX_LIST);
    ui_list_select_pos(W_MRX_LIST, 2, false);
    delete_morix();
    EXPECT_EQ(rows(), (std::vector<std::string>{"<127.0.9.20> : ModelG"}));
    EXPECT_EQ(ui_list_selected_pos(W_MRX_LIST), (std::vector<int>{1}));
    // With one device, Delete works without a selection.
    ui_list_deselect_all(W_MRX_LIST);
    delete_morix();
    EXPECT_EQ(mrx_lst_cnt, 0);
    EXPECT_FALSE(ui_is_managed(W_MRX_INFO_BOX));
    hl_clear_events();
    delete_morix();
    query_device_list("");
    EXPECT_EQ(warnings(),
              (std::vector<std::string>{"You must select a Morix.", "You must select a Morix."}));
}

TEST_F(ListSim, SnmpSettingsOfSelectedDevices) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start(
        {{sim_profile("modelg.prof"), "127.0.9.30"}, {sim_profile("modelg.prof"), "127.0.9.31"}}));
    add("127.0.9.30");
    add("127.0.9.31");
    host_info_list[0]->timeout = 3000000;
    host_info_list[1]->timeout = 5000000;
    ui_list_select_pos(W_MRX_LIST, 1, false);
    ui_list_select_pos(W_MRX_LIST, 2, false);
    hl_clear_events();
    EXPECT_EQ(get_snmp_info_vals(0), 1);
    EXPECT_EQ(ui_get_text(W_SNMP_TIMEOUT_TF), "");
    EXPECT_EQ(ui_get_text(W_SNMP_COMM_TF), "vantor");
    EXPECT_EQ(warnings(),
              (std::vector<std::string>{"One or more SNMP values were different for the selected "
                                        "Morixes.\nThose values will not be displayed."}));
    hl_clear_events();
    EXPECT_EQ(set_snmp_info_vals({}), Result::refused);
    EXPECT_EQ(warnings(),
              (std::vector<std::string>{"You must select one or both update options."}));
    ui_set_toggle(W_SNMP_UPD_SEL_TB, true, false);
    EXPECT_EQ(set_snmp_info_vals({false, true, "7", "", " pub lic ", {}}), Result::done);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(host_info_list[i]->timeout, 7000000);
        EXPECT_EQ(host_info_list[i]->retries, mm_snmp_def_rty);
        EXPECT_EQ(host_info_list[i]->community, "public");
    }
    EXPECT_EQ(ui_get_text(W_SNMP_RETRIES_TF), std::to_string(mm_snmp_def_rty));
    EXPECT_FALSE(ui_get_toggle(W_SNMP_UPD_SEL_TB));
    EXPECT_EQ(mm_snmp_def_comm, "vantor"); // defaults untouched
}

TEST_F(ListSim, SavedListLoadsBackAndDuplicatesAreNoted) {
    REQUIRE_NETNS();
    std::vector<SimDeviceSetup> devs;
    for (int i = 1; i <= 9; ++i)
        devs.push_back({sim_profile("modelg.prof"), "127.0.10." + std::to_string(i)});
    ASSERT_TRUE(start(devs));
    for (int i = 1; i <= 9; ++i)
        add("127.0.10." + std::to_string(i));
    host_info_list[0]->timeout = 2500000;
    ASSERT_EQ(mrx_lst_cnt, 9);
    std::string path = tmp.file("nine.mrx");
    ASSERT_EQ(save_device_list(path, host_info_list).result, Result::done);
    std::vector<std::string> before = rows();
    // A device written twice (line 14) is loaded once, either way.
    write_file(path, read_file(path) + "127.0.10.3 | vantor | 1 | 0\n");
    const std::string twice =
        path + ":\n127.0.10.3 listed twice, line 14\nEach Morix is loaded once.";
    // Loading it back into the same list: nine duplicates, 4 + 4 + 1 notes.
    hl_clear_events();
    ASSERT_EQ(load(path, false, 9), Result::done);
    EXPECT_EQ(mrx_lst_cnt, 9);
    EXPECT_EQ(warnings(), (std::vector<std::string>{
                              twice, "Some of the discovered Morixes are already in the list:\n"
                                     "127.0.10.1, 127.0.10.2, 127.0.10.3, 127.0.10.4,\n"
                                     "127.0.10.5, 127.0.10.6, 127.0.10.7, 127.0.10.8,\n"
                                     "127.0.10.9"}));
    // Replacing the list: same devices, whole seconds.
    hl_clear_events();
    ASSERT_EQ(load(path, true, 0), Result::done);
    EXPECT_EQ(rows(), before);
    EXPECT_EQ(warnings(), std::vector<std::string>{twice});
    EXPECT_EQ(host_info_list[0]->timeout, 2000000);
    EXPECT_EQ(host_info_list[0]->community, "vantor");
    EXPECT_FALSE(hl_cancel_dialog_open());
}

TEST_F(ListSim, CancelledLoadKeepsWhatWasLoaded) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start(
        {{sim_profile("modelg.prof"), "127.0.9.40"}, {sim_profile("modelg.prof"), "127.0.9.41"}}));
    std::string path = tmp.file("two.mrx");
    write_file(path, version_header(DFK_MRX_LIST) +
                         "#\n127.0.9.40 | vantor | 1 | 0\n127.0.9.41 | vantor | 1 | 0\n");
    hl_cancel_at(1); // the first progress check of the engine cancels
    ASSERT_EQ(load(path, true, 0), Result::cancelled);
    EXPECT_LT(mrx_lst_cnt, 2);
}

TEST_F(ListSim, TheSixtyFourthDeviceIsRefused) {
    REQUIRE_NETNS();
    std::vector<SimDeviceSetup> devs;
    std::string list = version_header(DFK_MRX_LIST) + "#\n";
    for (int i = 1; i <= 64; ++i) {
        std::string addr = "127.0.11." + std::to_string(i);
        if (i <= 63)
            devs.push_back({sim_profile(i % 2 ? "modelg.prof" : "modell.prof"), addr});
        list += addr + " | vantor | 1 | 0\n";
    }
    ASSERT_TRUE(start(devs));
    std::string path = tmp.file("sixty-four.mrx");
    write_file(path, list);
    auto t0 = std::chrono::steady_clock::now();
    ASSERT_EQ(load(path, true, 64), Result::done);
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("loaded and identified 63 simulated devices in %.2f s\n", secs);
    EXPECT_EQ(mrx_lst_cnt, 63);
    EXPECT_EQ(rows().size(), 63u);
    EXPECT_EQ(rows().front().find("ModelL"), rows().front().size() - 6);
    EXPECT_EQ(rows().back().find("ModelG"), rows().back().size() - 6);
    ASSERT_FALSE(warnings().empty());
    EXPECT_EQ(warnings().back().rfind("The Morix list is full (63 Morixes).", 0), 0u);
    hl_clear_events();
    add("127.0.11.64");
    EXPECT_EQ(warnings(), (std::vector<std::string>{
                              "The Morix list is full (63 Morixes).\n127.0.11.64 was not added "
                              "to the list."}));
}

} // namespace
