// The status displays against simulated devices, driven through the
// windows' objects as an operator (or mm_cli) drives them.
#include <gtest/gtest.h>

#include "devices/mrx_list.h"
#include "frame/dispatch.h"
#include "ops/show.h"
#include "ops/status.h"
#include "ops_sim_util.h"
#include "snmp_access/product_types.h"
#include "ui_headless/ui_headless.h"

namespace {

const std::string A = "127.0.32.1", B = "127.0.32.2", C = "127.0.32.3";

const std::string STILL =
    "counter_rate 0\ncounter_rate totalInChars 0\ncounter_rate totalOutChars 0";

class StatusSim : public OpsSim {
  protected:
    // Fills a member's window inputs, presses its Update, returns the text.
    std::string run(int member, const std::string& list = "", int period = 1, bool sort = false) {
        const StatusMember& m = status_member(member);
        int w = m.window;
        ui_set_text(status_obj(w, SO_INPUT), list);
        ui_set_toggle(status_obj(w, SO_X1),
                      member == SM_SYN || (member == SM_PRI && sort) ||
                          ((member == SM_T1 || member == SM_PRI_CSU) && period == 1),
                      false);
        ui_set_toggle(status_obj(w, SO_X2), period == 2, false);
        ui_set_toggle(status_obj(w, SO_X3), period == 0, false);
        hl_clear_events();
        dispatch_main(m.update_id);
        return ui_get_text(status_obj(w, SO_TEXT));
    }
    bool contains(const std::string& text, const std::string& part) {
        bool ok = text.find(part) != std::string::npos;
        if (!ok)
            ADD_FAILURE() << "missing:\n" << part << "\nin:\n" << text;
        return ok;
    }
    void start_still() {
        ASSERT_TRUE(start_logged({{derived_profile("stat_pri.prof", STILL), A},
                                  {derived_profile("stat_mp.prof", STILL), B},
                                  {sim_profile("modelt.prof"), C}}));
    }
    // Selects only the row of the device with that name.
    void select_only(const std::string& name) {
        ui_list_deselect_all(W_MRX_LIST);
        for (int p = 0; p < MAX_MRX_SLOTS && host_info_list[p]; ++p)
            if (host_info_list[p]->name == name)
                ui_list_select_pos(W_MRX_LIST, p + 1, false);
    }
};

// One row per member: the device (list position), inputs, and exact pieces
// of what the window shows.
struct MemberCase {
    int member;
    std::string device;
    std::string list;
    int period;
    bool sort;
    std::vector<std::string> parts;
};

TEST_F(StatusSim, EveryMemberLaysOutKnownValuesExactly) {
    REQUIRE_NETNS();
    start_still();
    add_all({A, B});
    const std::string asy_head =
        "Port     In Flow      Out Flow     In           Out          Session      Oper         "
        "Current      Login          Port        \n"
        "Number   State        State        Chars        Chars        Number       Status       "
        "User         Time           Proto       \n"
        "------   -----        -----        -----        -----        ------       ------       "
        "----         ----           -----       \n";
    const std::vector<MemberCase> cases = {
        {SM_MRX,
         A,
         "",
         1,
         false,
         {"CPU % Utilization: 12\nProcs (act/most/max): 23/31/64\nRescheds (min/tot): 0/0\n",
          "Mbufs Denied: 0\nMemory Total: 16777216\nMemory Free: 8388608\n"
          "Memory Min Free: 6291456\nMemory Avail: 12582912\n"}},
        {SM_ASY,
         A,
         "3,4,5",
         1,
         false,
         {"Num Ports: 24\nInput Chars: 15000\nOutput Chars: 22000\nParity Errors: 2\n"
          "Overrun Errors: 1\nFraming Errors: 4\n\n" +
          asy_head +
          "3        go           go           5120         7340         1            up           "
          "alice        09:14:02       ppp         \n"
          "4        go           stop         0            0            0            up           "
          "                            none        \n"
          "5        go           go           0            0            0            down         "
          "                            none        \n"}},
        {SM_SYN,
         A,
         "1",
         1,
         false,
         {"Num Ports: 2\nInput Chars: 880\nOutput Chars: 990\nUnderrun Errors: 0\n"
          "Overrun Errors: 0\nFraming Errors: 0\n\n"
          "Port     Frame        Underrun     Overrun     \n"
          "Number   Errors       Errors       Errors      \n"
          "------   ------       --------     -------     \n"
          "1        3            0            0           \n"}},
        {SM_ITF,
         A,
         "",
         1,
         false,
         {"en1      6                    1500     10000000     up         0           \n",
          "ds1-wan1 18                   1500     1544000      up         0           \n",
          "ds1-wan1 (in)  0            0            0            0            0            0       "
          "                 \n"}},
        {SM_IMDM,
         A,
         "",
         1,
         false,
         {"  1               41            2                44           40                   39 "
          "                0\n"
          "  2               4294967290    0                0            0                    0  "
          "                0\n"}},
        {SM_PRI,
         A,
         "all",
         1,
         true,
         {"Async Channels\n  Channel                  Port                     Called Number     "
          "       Calling Number           User\n"
          "  1                        asy 3                    5551000                  5552001  "
          "                alice\n"
          "  5                        asy 12                   5551000                  5552005  "
          "                carol\n\nSync Channels\n",
          "  2                        sync1                    5551000                  5552002  "
          "                bob\n"}},
        {SM_T1,
         A,
         "",
         2,
         false,
         {"Engine Bypass: False\nSync: True\nDII Sync: False\nSignal Loss: False\n"
          "Loopback Mode: dsx1NoLoop\n",
          "Serial Number: QX-1042\nCircuit ID: CKT-77A\n",
          "Total      0              310          0       0            0           61        0   "
          "         0            0              0           \n"}},
        {SM_PRI_CSU,
         A,
         "1",
         0,
         false,
         {"Sync: True\n",
          "1            0                0              0          0              0             0 "
          "            \n",
          "1          0            2         1          0             0             0            "
          " 0              0           0         \n"}},
        {SM_MP,
         B,
         "",
         1,
         false,
         {"   dave                          ep-dave-01                               asy3,asy4\n"
          "   erin                          ep-erin-07                               asy7\n"}},
    };
    for (const MemberCase& c : cases) {
        SCOPED_TRACE(status_member(c.member).key);
        select_only(c.device);
        std::string text = run(c.member, c.list, c.period, c.sort);
        for (const std::string& p : c.parts)
            contains(text, p);
        EXPECT_EQ(hl_widget(status_member(c.member).form).title,
                  std::string(status_member(c.member).title) + " : " + c.device);
    }
    // The multilink detail of the second row.
    ui_list_select_pos(status_obj(8, SO_X1), 2, false);
    dispatch_main(status_obj(8, SO_X2));
    contains(ui_get_text(status_obj(8, SO_TEXT)),
             "\n<erin  ep-erin-07  asy7>\nTx Packets: 300\nRx Packets: 280\n");
}

TEST_F(StatusSim, PortChannelAndIntervalRulesAndRefusals) {
    REQUIRE_NETNS();
    start_still();
    add_all({A, B, C});
    select_only(A);
    // Opening the windows, before any list could be typed, warns of nothing.
    for (int menu_id : {19, 81}) {
        hl_clear_events();
        dispatch_main(menu_id);
        EXPECT_TRUE(hl_texts("warn").empty()) << menu_id;
    }
    std::string text = run(SM_ASY, "0,3,999");
    EXPECT_NE(text.find("\n3        go"), std::string::npos);
    EXPECT_EQ(text.find("\n999"), std::string::npos);
    EXPECT_EQ(hl_texts("warn"),
              std::vector<std::string>{"<" + A +
                                       ">  Port number(s) 0,999 do not exist (this "
                                       "Morix has async ports 1-24; they are not shown)."});
    text = run(SM_ASY, "");
    EXPECT_EQ(text.find("Port     In Flow"), std::string::npos);
    EXPECT_NE(text.find("Framing Errors: 4\n"), std::string::npos);
    EXPECT_EQ(hl_texts("warn"), std::vector<std::string>{MSG_STS_NO_PORTS});
    text = run(SM_ITF);
    EXPECT_EQ(text.find("lo0"), std::string::npos);
    EXPECT_EQ(text.find("en0"), std::string::npos);

    // Channels 3 and 4 are idle, 40 does not exist.
    run(SM_PRI, "1,3,4,40");
    EXPECT_EQ(hl_texts("warn"),
              (std::vector<std::string>{"You specified one or more non-existent channel numbers "
                                        "for the selected\nMorix(es). The current operation "
                                        "will not use those channel numbers.",
                                        "Some of the specified channels are unused."}));
    run(SM_PRI, "3,4");
    EXPECT_EQ(hl_texts("warn"),
              std::vector<std::string>{"All the the specified channels are unused."});
    run(SM_T1, "0,97", 0);
    EXPECT_EQ(
        hl_texts("warn"),
        std::vector<std::string>{"You must enter one or more valid interval numbers:\n(1 - 96)."});

    // A device without DS1 ports, a class 5 device, a device that is not a
    // communication server: refusals, nothing shown.
    select_only(B);
    EXPECT_EQ(run(SM_T1), "");
    EXPECT_EQ(
        hl_texts("warn"),
        std::vector<std::string>{"The Morix you selected has no DS1 port(s) or is a  PRI device."});
    EXPECT_EQ(run(SM_DVS), "");
    EXPECT_EQ(hl_texts("warn"),
              std::vector<std::string>{"'DVS Status' is not available for the selected\n"
                                       "Communication Server device(s):\n" +
                                       B + "."});
    select_only(C);

    EXPECT_EQ(run(SM_T1), "");
    EXPECT_EQ(hl_texts("warn"),
              std::vector<std::string>{"The selected Morix/es do not support this command"});
}

TEST_F(StatusSim, TunnelsOfACommunicationServer) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start_logged({{derived_profile("stat_dvs.prof", "counter_rate 0"), A},
                              {sim_profile("modelc_commsrv.prof"), B}}));
    // Identification never admits a communication server; the record is
    // made by hand as a reachable one.
    for (int i = 0; i < 2; ++i) {
        MorixRecordPtr r = new_host_node();
        r->name = i == 0 ? A : B;
        r->community = "vantor";
        r->timeout = 1000000;
        r->retries = 1;
        r->reachable = 1;
        r->product_type = 4;
        r->asy_ports = 16;
        host_info_list.insert(r, i);
        ui_list_add_item(W_MRX_LIST, mrx_row_text(host_info_list[i]), 0);
    }
    select_only(A);
    std::string text = run(SM_DVS);
    contains(text, "In Packets: 1200\nOut Packets: 1100\nIn Dropped: 0\n");
    contains(text,
             "asy3            regestered       10:02:11        10.1.0.3           00000001         "
             "10.9.0.1        ppp            wan-a\n"
             "asy9            pending          10:05:40        10.1.0.9           00000002         "
             "10.9.0.1        framerelay     wan-b\n");
    EXPECT_TRUE(hl_texts("warn").empty());
    select_only(B);
    contains(run(SM_DVS), "No tunnels have been found.\n");
}

TEST_F(StatusSim, CountersAdvanceUnreachableAndCancel) {
    REQUIRE_NETNS();
    // The device's clock advances one second per request it takes.
    ASSERT_TRUE(start_logged(
        {{derived_profile("stat_pri.prof", "counter_rate totalInChars 50\nclock_step 100"), A},
         {sim_profile("stat_mp.prof"), B}}));
    add_all({A, B});
    select_only(A);
    auto in_chars = [&] {
        std::string t = run(SM_ASY, "1");
        size_t p = t.find("Input Chars: ");
        return p == std::string::npos ? 0UL : std::stoul(t.substr(p + 13));
    };
    // Equal reads take equal numbers of requests: the counter rises by equal
    // steps of its rate.
    unsigned long first = in_chars(), second = in_chars(), third = in_chars();
    EXPECT_GT(second, first);
    EXPECT_EQ((second - first) % 50, 0UL);
    EXPECT_EQ(third - second, second - first);

    // A cancel shows nothing and marks the device incomplete.
    hl_cancel_at(1);
    EXPECT_EQ(run(SM_MRX), "");
    EXPECT_EQ(find_record(A)->status, 17);
    EXPECT_EQ(find_record(A)->prm_count, 0) << "no chain is left for the next command";
    EXPECT_TRUE(hl_texts("warn").empty());

    // The device stops answering: the warning, empty fields.
    sim.reset();
    find_record(A)->timeout = 200000;
    find_record(A)->retries = 0;
    EXPECT_EQ(run(SM_MRX), "");
    EXPECT_EQ(hl_texts("warn"), std::vector<std::string>{MSG_STS_FAILED + A});
}

TEST_F(StatusSim, AutomaticRefreshRunsUntilTheWindowClosesOrTheDeviceGoes) {
    REQUIRE_NETNS();
    ASSERT_TRUE(
        start_logged({{sim_profile("stat_pri.prof"), A}, {sim_profile("stat_mp.prof"), B}}));
    add_all({A, B});
    select_only(A);
    dispatch_main(W_MRX_STAT_PB);
    int tb = status_obj(0, SO_AUTO_TB);
    ui_set_text(status_obj(0, SO_AUTO_SECS), "0");
    ui_set_toggle(tb, true, false);
    dispatch_main(tb);
    EXPECT_FALSE(ui_get_toggle(tb)) << "a period of 0 is refused";
    EXPECT_EQ(hl_pending_timers(), 0);
    hl_close_warning_box(); // the refresh waits while a warning is open

    ui_set_text(status_obj(0, SO_AUTO_SECS), "2");
    ui_set_toggle(tb, true, false);
    dispatch_main(tb);
    ASSERT_EQ(hl_pending_timers(), 1);
    ui_set_text(status_obj(0, SO_TEXT), "");
    select_only(B); // the refresh stays on the device it started with
    EXPECT_EQ(hl_fire_timers(), 1);
    EXPECT_NE(ui_get_text(status_obj(0, SO_TEXT)).find("System Up Time"), std::string::npos);
    EXPECT_EQ(hl_widget(W_MRX_STAT_FORM).title, "Morix Status : " + A);
    EXPECT_EQ(hl_pending_timers(), 1) << "re-armed";

    // Closing the window stops it.
    dispatch_main(W_MRX_ST_CLOSE_PB);
    EXPECT_EQ(hl_pending_timers(), 0);
    EXPECT_FALSE(ui_get_toggle(tb));

    // Deleting the device stops it at the next tick.
    select_only(A);
    dispatch_main(W_MRX_STAT_PB);
    ui_set_toggle(tb, true, false);
    dispatch_main(tb);
    ASSERT_EQ(hl_pending_timers(), 1);
    dispatch_main(W_DELETE_PB);
    ui_set_text(status_obj(0, SO_TEXT), "");
    hl_fire_timers();
    EXPECT_EQ(ui_get_text(status_obj(0, SO_TEXT)), "");
    EXPECT_EQ(hl_pending_timers(), 0);
    EXPECT_FALSE(ui_get_toggle(tb));
}

} // namespace
