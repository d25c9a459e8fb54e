// The Set window, the set funnel and the automatic reset against simulated
// devices; the simulator's control-set log shows which resets were sent.
#include <gtest/gtest.h>

#include <set>

#include "frame/dispatch.h"
#include "frame/set_window.h"
#include "ops/show.h"
#include "ops_sim_util.h"
#include "snmp_access/snmp_engine.h"
#include "ui/app_globals.h"
#include "ui_headless/ui_headless.h"

namespace {

const std::string A = "127.0.31.3", B = "127.0.31.4";

class SetSim : public OpsSim {
  protected:
    void set_now() {
        hl_clear_events();
        dispatch_main(W_SET_APPLY);
    }
    void confirm(bool on) {
        ui_set_toggle(W_AUTO_RESET_TB, on, true);
        dispatch_main(W_AUTO_RESET_TB);
    }
};

TEST_F(SetSim, CommonValuesFillRowsDifferencesGetASection) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start_logged({{sim_profile("modelj.prof"), A}, {sim_profile("modelj.prof"), B}},
                             {B + ":sysContact=night shift"}));
    add_all({A, B});
    open_set({"sysContact", "sysLocation", "mrxNameServer1Type"});
    ASSERT_EQ(set_wlist.size(), 3u);
    dispatch_main(W_SET_SHOW_VALUES);
    int contact = row_of("sysContact"), location = row_of("sysLocation");
    EXPECT_EQ(ui_get_text(set_row_id(location, SRP_TEXT), UI_SET_ROWS), "rack 4, loopback lab");
    EXPECT_EQ(ui_get_text(set_row_id(contact, SRP_TEXT), UI_SET_ROWS), "");
    EXPECT_TRUE(ui_is_managed(set_row_id(contact, SRP_VD_PB), UI_SET_ROWS));
    EXPECT_FALSE(ui_is_managed(set_row_id(location, SRP_VD_PB), UI_SET_ROWS));
    EXPECT_FALSE(ui_get_option(set_row_id(2, SRP_OPTION), UI_SET_ROWS).empty());
    EXPECT_EQ(ui_get_text(W_SET_VD_TEXT), "\n**** sysContact ****\n\n<" + A +
                                              "> : network operations\n\n<" + B +
                                              "> : night shift\n\n");
    EXPECT_EQ(set_messages(), "\n\n***** Show Operation *****\nGetting the following "
                              "parameters...\n\tsysContact\n\tsysLocation\n\tmrxNameServer1Type\n"
                              "\nShow values complete.\n");
    val_dif_proc(contact);
    EXPECT_TRUE(ui_is_managed(W_SET_VD_DIALOG));
    EXPECT_EQ(hl_widget(W_SET_VD_TEXT).top_pos, 1);
    // A new selection makes the shown values stale.
    list_selection_main(W_MRX_LIST);
    EXPECT_EQ(get_widget_label(W_SET_SHOW_VALUES), "* Show Values");
}

TEST_F(SetSim, RefusedRowsSendNothing) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start_logged({{sim_profile("modelj.prof"), A}}));
    add_all({A});
    open_set({"RadiusPort", "mrxNameServer1Type", "mrxNameServer1Addr", "sysContact"});
    mark("RadiusPort", " ");
    mark("mrxNameServer1Type", "");
    mark("mrxNameServer1Addr", "1.2.3");
    mark("sysContact", "fine");
    long sent = g_snmp_requests_sent;
    set_now();
    EXPECT_EQ(g_snmp_requests_sent, sent);
    EXPECT_EQ(set_messages(), "\nSet will not be executed due to the following errors:\n\n"
                              "\tRadiusPort : Invalid Integer Format\n"
                              "\tmrxNameServer1Type : Invalid Selection\n"
                              "\tmrxNameServer1Addr : Invalid IP Address Format\n"
                              "\nSet was not executed.\n\n");
}

TEST_F(SetSim, DeviceRefusingSetsEndsWithErrorsAndNoReset) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start_logged(
        {{sim_profile("modelj.prof"), A}, {derived_profile("modelj.prof", "allow_sets 2"), B}}));
    add_all({A, B});
    open_set({"mrxDialoutRetries"});
    mark("mrxDialoutRetries", "5");
    set_now();
    std::string m = set_messages();
    EXPECT_NE(m.find("<" + B +
                     ">  Could not set any parameters.\nThe value of the allow_snmp_sets "
                     "parameter is false. Morix ignored.\n \nSet complete with errors.\n"),
              std::string::npos)
        << m;
    EXPECT_TRUE(hl_texts("ask").empty());
    EXPECT_TRUE(control_log().empty());
    // The device that allows sets took the value: a Show sees it.
    ui_list_deselect_pos(W_MRX_LIST, 2);
    dispatch_main(W_SHOW_PB);
    dispatch_main(W_SHOW_APPLY);
    EXPECT_NE(ui_get_text(W_SHOW_TEXT).find("mrxDialoutRetries : 5\n"), std::string::npos);
}

TEST_F(SetSim, ResetCodesByResetMapIndex) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start_logged({{sim_profile("modelj.prof"), A}}));
    add_all({A});
    struct Case {
        std::vector<std::pair<std::string, std::string>> rows;
        std::string ports;
        std::vector<std::string> log; // expected new log lines
    };
    const Case cases[] = {
        {{{"mrxpMode", "ppp"}}, "all", {"mrxcReset 0 7"}},
        {{{"mrxpMode", "ppp"}}, "3", {"charPortReset 3 2"}},
        {{{"mrxSyncMode", "ppp"}}, "1", {"mrxcReset 0 9"}},
        {{{"mrxSubnetMask", "255.0.0.0"}}, "", {"mrxcReset 0 13"}},
        {{{"RadiusPort", "1812"}, {"RadiusAcctPort", "1813"}}, "", {"mrxcReset 0 3"}},
        {{{"mrxLatMulticastTimer", "30"}}, "", {"mrxcReset 0 12"}},
        {{{"defaultDomain", "lab.test"}}, "", {"mrxcReset 0 4"}},
        {{{"mrxSnmpTrapCommunity", "traps"}}, "", {"mrxcReset 0 5"}},
        {{{"mrxDialoutRetries", "4"}}, "", {"mrxcReset 0 11"}},
        {{{"mrxModemInitDelay", "6"}}, "", {"mrxcReset 0 10"}},
        {{{"sysContact", "no reset"}}, "", {}},
    };
    confirm(false);
    for (const Case& c : cases) {
        std::vector<std::string> names;
        for (const auto& r : c.rows)
            names.push_back(r.first);
        open_set(names);
        if (names[0] == "mrxSyncMode") {
            set_option_menu_top_button(W_SET_PORT_OM, "Sync");
            dispatch_main(W_SET_PORT_OM);
        }
        ui_set_text(W_SET_PORT_TF, c.ports);
        for (const auto& r : c.rows)
            mark(r.first, r.second);
        size_t before = control_log().size();
        set_now();
        std::vector<std::string> got = control_log();
        got.erase(got.begin(), got.begin() + before);
        for (std::string& l : got)
            l = l.substr(l.find(' ') + 1);
        EXPECT_EQ(got, c.log) << names[0] << "\n" << set_messages();
        EXPECT_TRUE(hl_texts("ask").empty());
        set_option_menu_top_button(W_SET_PORT_OM, "Async");
        dispatch_main(W_SET_PORT_OM);
    }
}

TEST_F(SetSim, ResetQuestionAndCancelledSet) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start_logged({{sim_profile("modelj.prof"), A}, {sim_profile("modelj.prof"), B}}));
    add_all({A, B});
    open_set({"mrxDialoutRetries"});
    mark("mrxDialoutRetries", "7");
    hl_queue_answer(ASK_CANCEL);
    set_now();
    ASSERT_EQ(hl_texts("ask").size(), 1u);
    EXPECT_EQ(hl_events().back().title, "Reset Parameters");
    EXPECT_TRUE(control_log().empty());
    EXPECT_NE(set_messages().find("Set complete.\n"), std::string::npos);
    // Re-read of the marked row after the set.
    EXPECT_EQ(ui_get_text(set_row_id(0, SRP_TEXT), UI_SET_ROWS), "7");

    hl_queue_answer(ASK_OK);
    set_now();
    // The devices are reset side by side, in no promised order.
    std::vector<std::string> resets = control_log();
    EXPECT_EQ(std::multiset<std::string>(resets.begin(), resets.end()),
              (std::multiset<std::string>{A + " mrxcReset 0 11", B + " mrxcReset 0 11"}));
    // Cancelled while the second device is served: no reset is offered.
    ui_set_text(W_SET_MSG, "");
    hl_cancel_on_label("Setting values for: 1 of 2 done");
    set_now();
    EXPECT_TRUE(hl_texts("ask").empty());
    EXPECT_EQ(control_log().size(), 2u);
    EXPECT_NE(set_messages().find("Some values may have been updated.\nPress 'Show Values' to "
                                  "verify the current values.\n"),
              std::string::npos)
        << set_messages();
}

} // namespace
