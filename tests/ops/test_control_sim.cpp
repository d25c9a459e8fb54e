// Boot, reset, broadcast and internal modems against simulated devices; the
// simulator's control-set log shows what reached the devices.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>

#include "basic/int_mdms.h"
#include "frame/control_windows.h"
#include "frame/dispatch.h"
#include "ops/control.h"
#include "ops/reset_mask.h"
#include "ops_sim_util.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/session.h"
#include "ui_headless/ui_headless.h"

namespace {

const std::string A = "127.0.33.1", B = "127.0.33.2", C = "127.0.33.3";

class ControlSim : public OpsSim {
  protected:
    void SetUp() override {
        OpsSim::SetUp();
        hl_answer_all(ASK_OK);
        boot_ind = reset_ind = bcast_ind = 1;
        register_reset_command();
    }
    void choose(int toggle) {
        ui_set_toggle(toggle, true, false);
        dispatch_main(toggle);
    }
    // The boot dialog for the selected devices with the option chosen.
    void open_boot(int option) {
        dispatch_main(W_BOOT_PB);
        ASSERT_TRUE(ui_is_managed(W_BOOT_DIALOG));
        choose(W_BOOT_OPT_FIRST + option - 1);
    }
    // List position (from 1) of a device's modem in the modems list.
    int row_pos(const std::string& dev, int modem) {
        for (size_t i = 0; i < int_mdms_rows.size(); ++i)
            if (host_info_list[int_mdms_rows[i].mrx_pos]->name == dev &&
                int_mdms_rows[i].modem == modem)
                return static_cast<int>(i) + 1;
        ADD_FAILURE() << dev << " " << modem;
        return 1;
    }
    std::string row(const std::string& dev, int modem) {
        return ui_list_items(W_IMDM_LIST)[row_pos(dev, modem) - 1];
    }
    void select_only(const std::string& name) { session().select({host_info_list.find(name)}); }
    int log_count(const std::string& part) {
        int n = 0;
        for (const std::string& l : control_log())
            n += l.find(part) != std::string::npos ? 1 : 0;
        return n;
    }
};

TEST_F(ControlSim, BootSendsOnlyChangedAddressesAndReportsEachDevice) {
    REQUIRE_NETNS();
    // Any Set of mrxPrefLoadAddr on A fails: an unchanged address must not be sent.
    ASSERT_TRUE(start_logged(
        {{sim_profile("modelj.prof"), A}, {derived_profile("modelj.prof", "allow_sets 2"), B}}));
    sim.reset();
    SimOptions o;
    o.devices = {{sim_profile("modelj.prof"), A},
                 {derived_profile("modelj.prof", "allow_sets 2"), B}};
    o.control_log = log_path;
    o.faults = {A + ":generr=mrxPrefLoadAddr"};
    sim = std::make_unique<SimProcess>(o);
    ASSERT_TRUE(sim->ready()) << sim->error();
    add_all({A, B});
    open_boot(1);
    EXPECT_FALSE(is_sens(W_BOOT_TIME_TF));      // boot now takes no time
    EXPECT_EQ(ui_get_text(W_BOOT_LOAD_TF), ""); // A could not be read: blank, not sent
    EXPECT_TRUE(warned("One or more boot parameters could not be obtained"));
    EXPECT_TRUE(is_sens(W_BOOT_OPT_FIRST + 4)); // flash present, sequence not "self"
    ui_set_text(W_BOOT_MSG_TF, "going down");
    dispatch_main(W_BOOT_APPLY);
    EXPECT_EQ(control_log(), std::vector<std::string>{A + " mrxcBoot 0 1"});
    EXPECT_TRUE(warned("<" + B +
                       ">  Could not set any parameters.\nThe value of the "
                       "allow_snmp_sets parameter is false. Morix ignored."));
    EXPECT_EQ(hl_texts("msg").size() == 1
                  ? hl_texts("msg")[0].find("The boot operation was successful for: ")
                  : std::string::npos,
              0u);
    EXPECT_FALSE(warned("The boot failed"));
    // A changed load address is sent: A's genErr fails it, and it is not booted.
    open_boot(1);
    ui_set_text(W_BOOT_LOAD_TF, "127.0.0.9");
    dispatch_main(W_BOOT_APPLY);
    EXPECT_EQ(log_count("mrxcBoot"), 1);
    EXPECT_TRUE(warned("The boot failed for the following Morixes\n(check the value of the "
                       "allow_snmp_sets parameter):"));
    EXPECT_TRUE(warned(A));
    // A malformed address stops the boot before anything is sent.
    open_boot(1);
    ui_set_text(W_BOOT_GW_TF, "1.2.3");
    dispatch_main(W_BOOT_APPLY);
    EXPECT_TRUE(warned("Boot aborted due to:\nLoad/Dump Gateway : Invalid IP Address Format"));
    EXPECT_EQ(log_count("mrxcBoot"), 1);
}

TEST_F(ControlSim, TimedBootSilentDeviceAndCancel) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start({{sim_profile("modelj.prof"), A}, {sim_profile("modelj.prof"), B}},
                      {A + ":boot_silence=4000"}));
    log_path.clear();
    add_all({A, B});
    host_info_list[0]->timeout = 500000;
    host_info_list[0]->retries = 0;
    open_boot(2);
    ui_set_text(W_BOOT_TIME_TF, "25:00");
    dispatch_main(W_BOOT_APPLY);
    EXPECT_TRUE(warned("Boot time is invalid."));
    EXPECT_TRUE(hl_texts("ask").empty());
    hl_clear_events();
    ui_set_text(W_BOOT_TIME_TF, "+15");
    dispatch_main(W_BOOT_APPLY);
    ASSERT_EQ(hl_texts("ask").size(), 1u);
    EXPECT_EQ(hl_texts("ask")[0].find("The selected boot option will take place for the "
                                      "following Morixes:\n\n    " +
                                      A + ", " + B),
              0u);
    // A stops answering once its boot Set arrived: still a success.
    EXPECT_EQ(hl_texts("msg").size() == 1
                  ? hl_texts("msg")[0].find("The boot operation was successful for: ")
                  : std::string::npos,
              0u);
    EXPECT_FALSE(warned("The boot failed"));
}

TEST_F(ControlSim, CancelInTheFirstPassRebootsNothing) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start_logged({{sim_profile("modelj.prof"), A}, {sim_profile("modelj.prof"), B}}));
    add_all({A, B});
    open_boot(1);
    // The parameter pass serves both devices at once: cancel when the first
    // of them is done.
    hl_cancel_on_label("Setting boot parameters for: 1 of 2 done, last Morix ");
    dispatch_main(W_BOOT_APPLY);
    EXPECT_TRUE(warned("The boot operation was cancelled in progress.\nNo Morixes have been "
                       "rebooted."));
    EXPECT_EQ(log_count("mrxcBoot"), 0);
}

TEST_F(ControlSim, ResetInstanceByCodeAndProductType) {
    MorixRecord t, q, n, j;
    t.product_type = 19, t.wan_count = 2, t.wan_if_index = {2, 3}, t.platform = 5;
    q.product_type = 16, q.wan_count = 1, q.wan_if_index = {2};
    n.product_type = 14, n.wan_count = 1, n.wan_if_index = {2}, n.platform = 3;
    j.product_type = 10, j.asy_ports = 16, j.para_ports = 1, j.modem_count = 8;
    struct Case {
        MorixRecord* rec;
        int code, port_type, number, typed, err, instance;
    };
    const Case cases[] = {
        {&t, RESET_PRI, PT_DS1INF, 2, 1, RIE_OK, 3}, // module 2 of a ModelT
        {&t, RESET_PRI, PT_DS1INF, 3, 1, RIE_WAN_MODULE, 0},
        {&t, RESET_PRI, PT_DS1INF, 2, 0, RIE_OK, 2}, // a caller's interface index
        {&t, RESET_MODEM, PT_IMDM, 1, 1, RIE_NOT_AVAILABLE, 0},
        {&q, RESET_PRI, PT_DS1INF, 1, 1, RIE_OK, 2},
        {&q, RESET_PRI, PT_DS1INF, 2, 1, RIE_WAN_MODULE, 0},
        {&n, RESET_PRI, PT_DS1INF, 1, 1, RIE_OK, 2}, // module 1, as on every WAN device
        {&j, RESET_PRI, PT_DS1INF, 1, 1, RIE_WAN_MODULE, 0},
        {&j, RESET_MODEM, PT_IMDM, 5, 1, RIE_OK, 5},
        {&j, RESET_PORT, PT_ASY, 3, 1, RIE_OK, 3},
        {&j, RESET_PORT, PT_PTR, 1, 1, RIE_OK, 17}, // printer port after the async ones
        {&j, RESET_PORT, PT_ASY, 17, 1, RIE_NO_PORT, 0},
    };
    for (const Case& c : cases) {
        int inst = 0;
        EXPECT_EQ(reset_instance(c.rec, c.code, c.port_type, c.number, c.typed, &inst), c.err)
            << c.code << " " << c.number;
        if (c.err == RIE_OK) {
            EXPECT_EQ(inst, c.instance) << c.code << " " << c.number;
        }
    }
}

TEST_F(ControlSim, ResetsOfTheWindowAndOfTheResetQuestion) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start_logged({{sim_profile("modelj.prof"), A}, {sim_profile("modelq.prof"), B}}));
    add_all({A, B});
    dispatch_main(W_RESET_PB);
    choose(W_RST_INTERNAL_MODEMS_TB); // internal modems, "all": one device-wide modem reset each
    ui_set_text(W_RST_PORT_TF, "all");
    dispatch_main(W_RST_APPLY);
    EXPECT_EQ(control_log(),
              (std::vector<std::string>{A + " mrxcReset 0 18", B + " mrxcReset 0 18"}));
    choose(W_RST_ASYNC_PORTS_TB); // async ports: "all" is refused, nothing is sent
    hl_clear_events();
    dispatch_main(W_RST_APPLY);
    EXPECT_TRUE(warned("You must enter one or more port numbers."));
    EXPECT_EQ(control_log().size(), 2u);
    ui_set_text(W_RST_PORT_TF, "3,5");
    dispatch_main(W_RST_APPLY);
    EXPECT_EQ(log_count("charPortReset 3 2"), 2);
    EXPECT_EQ(log_count("charPortReset 5 2"), 2);
    // The reset question of other windows runs the Reset command: the PRI
    // reset fails on A (no WAN module), then code 13 on both.
    select_only(B);
    hl_clear_events();
    EXPECT_EQ(confirm_reset_q(W_MAIN_WINDOW, {97, 13, -1}), 1);
    EXPECT_EQ(log_count(B + " mrxt1ResetPRI 2 2"), 1);
    EXPECT_EQ(log_count(B + " mrxcReset 0 13"), 1);
    EXPECT_EQ(log_count(A + " mrxcReset 0 13"), 0);
    EXPECT_FALSE(warned("Reset failed."));
}

TEST_F(ControlSim, BroadcastTwoPassesAndRefusingDevice) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start_logged(
        {{sim_profile("modelj.prof"), A}, {derived_profile("modelj.prof", "allow_sets 2"), B}}));
    add_all({A, B});
    dispatch_main(W_BCAST_PB);
    choose(W_BCAST_OPT_FIRST + 2);
    ui_set_text(W_BCAST_TEXT, "maintenance at noon");
    hl_clear_events();
    dispatch_main(W_BCAST_APPLY);
    EXPECT_EQ(control_log(), std::vector<std::string>{A + " mrxcBcast 0 3"});
    EXPECT_TRUE(warned("<" + B + ">  Could not set any parameters."));
    EXPECT_FALSE(warned("The broadcast failed"));
    // Success is told too, for the device that took the message only.
    EXPECT_EQ(hl_texts("msg"),
              std::vector<std::string>{"The broadcast operation was successful for: \n" + A});
}

// Commands serve the selected devices side by side: each device hears the
// same requests, in the same order, as when it is served alone (a Set: the
// allow-sets read, the undo read, the Set, the read-back and the re-read).
TEST_F(ControlSim, EachDeviceHearsTheSameRequestsAloneAndBesideOthers) {
    REQUIRE_NETNS();
    struct Command {
        const char* name;
        std::function<void()> run;
    };
    const Command commands[] = {
        {"reset",
         [&] {
             dispatch_main(W_RESET_PB);
             choose(W_RST_INTERNAL_MODEMS_TB);
             ui_set_text(W_RST_PORT_TF, "all");
             dispatch_main(W_RST_APPLY);
         }},
        {"broadcast",
         [&] {
             dispatch_main(W_BCAST_PB);
             choose(W_BCAST_OPT_FIRST + 2);
             ui_set_text(W_BCAST_TEXT, "maintenance at noon");
             dispatch_main(W_BCAST_APPLY);
         }},
        {"query", [&] { dispatch_main(W_QUERY_PB); }},
        {"set",
         [&] {
             open_set({"sysContact", "mrxDialoutRetries"});
             mark("sysContact", "wire");
             mark("mrxDialoutRetries", "4");
             dispatch_main(W_SET_APPLY);
         }},
    };
    for (const Command& c : commands) {
        std::vector<std::string> heard[2];
        for (int many = 0; many < 2; ++many) {
            free_host_info_list(host_info_list);
            ui_list_delete_all(W_MRX_LIST);
            sim.reset();
            SimOptions o;
            o.devices = {{sim_profile("modelj.prof"), A},
                         {sim_profile("modelq.prof"), B},
                         {sim_profile("modelj.prof"), C}};
            o.request_log = tmp.file(std::string(c.name) + std::to_string(many) + ".log");
            sim = std::make_unique<SimProcess>(o);
            ASSERT_TRUE(sim->ready()) << sim->error();
            add_all(many ? std::vector<std::string>{A, B, C} : std::vector<std::string>{A});
            // Only the requests of the command: identification is not compared.
            std::ifstream before(o.request_log);
            size_t skip = std::count(std::istreambuf_iterator<char>(before), {}, '\n');
            c.run();
            std::ifstream in(o.request_log);
            std::string line;
            for (size_t n = 0; std::getline(in, line); ++n)
                if (n >= skip && line.rfind(A + " ", 0) == 0)
                    heard[many].push_back(line);
        }
        EXPECT_FALSE(heard[0].empty()) << c.name;
        EXPECT_EQ(heard[0], heard[1]) << c.name;
    }
}

TEST_F(ControlSim, InternalModemsByPlatformClass) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start_logged({{sim_profile("modelj.prof"), A},
                              {sim_profile("modelt.prof"), B},
                              {sim_profile("modeln.prof"), C}},
                             {A + ":mrxpModemStatus.1=1", B + ":mdmStatState.1=1"}));
    add_all({A, B, C});
    hl_clear_events();
    dispatch_main(W_IMDM_PB);
    ASSERT_TRUE(ui_is_managed(W_IMDM_DIALOG));
    EXPECT_TRUE(warned(C + ":\nMorixes do not contain internal modems.\n"));
    ASSERT_EQ(ui_list_count(W_IMDM_LIST), 8 + 24);
    // Value 1 is "Available" on class 2 and "Used" on class 5.
    EXPECT_EQ(row(A, 1), imdm_row_text(A, 1, "Available"));
    EXPECT_EQ(row(B, 1), imdm_row_text(B, 1, "Used"));
    EXPECT_EQ(row(A, 1), " " + A + std::string(32 - A.size(), ' ') + " 1             Available ");
    // Modem 2 of A and modems 3, 4 of B busied out; the rows stay selected.
    std::vector<int> chosen = {row_pos(A, 2), row_pos(B, 3), row_pos(B, 4)};
    for (int pos : chosen)
        ui_list_select_pos(W_IMDM_LIST, pos, false);
    choose(W_IMDM_BUSY_TB);
    dispatch_main(W_IMDM_APPLY);
    EXPECT_EQ(row(A, 2), imdm_row_text(A, 2, "Busy"));
    EXPECT_EQ(row(B, 3), imdm_row_text(B, 3, "Busy"));
    EXPECT_EQ(row(B, 4), imdm_row_text(B, 4, "Busy"));
    // The others answer as a working modem pool does.
    EXPECT_EQ(row(A, 3), imdm_row_text(A, 3, "Available"));
    EXPECT_EQ(row(A, 8), imdm_row_text(A, 8, "Busy"));
    EXPECT_EQ(row(B, 5), imdm_row_text(B, 5, "Available"));
    std::sort(chosen.begin(), chosen.end());
    EXPECT_EQ(ui_list_selected_pos(W_IMDM_LIST), chosen);
    ui_list_deselect_all(W_IMDM_LIST);
    hl_clear_events();
    dispatch_main(W_IMDM_APPLY);
    EXPECT_TRUE(warned("You must select a list item."));
}

} // namespace
