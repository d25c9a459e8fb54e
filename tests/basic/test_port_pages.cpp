// The port pages: decoding tables and the address walk without a peer, and
// the Remote Address, PPP Dial Access and Async Ports pages against
// simulated devices through the headless services.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

#include "basic/modem_hooks.h"
#include "basic/port_pages.h"
#include "basic/ppp_codes.h"
#include "catalogue/mib_catalogue.h"
#include "files/modem_dialog.h"
#include "files/modem_info.h"
#include "frame/basic_window.h"
#include "frame/dispatch.h"
#include "ops_sim_util.h"
#include "snmp_access/snmp_engine.h"
#include "ui/app_globals.h"
#include "ui/widget_ids.h"
#include "ui_headless/ui_headless.h"

namespace {

TEST(PppCodes, ProtocolCodesDecodeToTheirToggles) {
    for (int code = 1; code <= 29; ++code) {
        bool on[5];
        ncp_toggles_of(code, on);
        if (code == 3) {
            for (bool b : on)
                EXPECT_TRUE(b);
            continue;
        }
        EXPECT_EQ(ncp_code_of(on), code) << code;
    }
    for (int code : {0, 30, 32, -1}) {
        bool on[5];
        ncp_toggles_of(code, on);
        for (bool b : on)
            EXPECT_FALSE(b) << code;
    }
    const int dial[4][2] = {{0, -1}, {1, 2}, {2, 0}, {3, 1}};
    for (const auto& d : dial) {
        EXPECT_EQ(dialup_toggle_of(d[0]), d[1]);
        if (d[1] >= 0) {
            EXPECT_EQ(dialup_value_of(d[1]), d[0]);
        }
    }
    EXPECT_EQ(endpoint_class_of(endpoint_toggle_of(6)), 6);
    EXPECT_EQ(endpoint_toggle_of(5), -1);
    const struct {
        int cls;
        const char* value;
        bool ok;
    } values[] = {{6, "555-1234", true}, {6, "1 2*3,4.5", true}, {6, "12#3", false},
                  {2, "abc123", true},   {2, "ab-1", false},     {2, "", true},
                  {6, "", true}};
    for (const auto& v : values)
        EXPECT_EQ(endpoint_value_ok(v.cls, v.value), v.ok) << v.cls << " " << v.value;
}

TEST(RemAddr, WalkRangeAndCarry) {
    const std::string z = "0.0.0.0", m = "255.255.255.0";
    WalkResult w;
    walk_rem_addrs({"10.0.0.1", z, "10.0.0.3"}, {m, m, m}, &w);
    EXPECT_TRUE(w.not_consecutive);
    WalkResult carry;
    walk_rem_addrs({"10.1.1.254", "10.1.1.255", "10.1.2.0"}, {m, m, "255.0.0.0"}, &carry);
    EXPECT_FALSE(carry.not_consecutive);
    EXPECT_TRUE(carry.masks_differ);
    EXPECT_EQ(carry.first, "10.1.1.254");
    EXPECT_EQ(carry.last, "10.1.2.0");
    WalkResult zeros;
    walk_rem_addrs({z, z}, {m, m}, &zeros);
    EXPECT_FALSE(zeros.not_consecutive);
    EXPECT_EQ(check_remote_addr_for_overlap("10.1.1.250", 8), -1);
    EXPECT_EQ(check_remote_addr_for_overlap("10.1.1.250", 5), 0);
    EXPECT_EQ(check_remote_addr_for_overlap("10.1.1", 200), 0);
}

const std::string A = "127.0.66.1", B = "127.0.66.2";

// Apply as the frame runs it: the page's answer and the outcome it filled.
struct Applied {
    int ok = 0;
    Outcome o;
    bool said(const std::string& text) const {
        return std::any_of(o.warnings.begin(), o.warnings.end(),
                           [&](const std::string& w) { return w.find(text) != std::string::npos; });
    }
};
Applied apply(BasicPage& p) {
    Applied a;
    PageRun run(a.o);
    a.ok = page_conf_apply(p);
    return a;
}

class PortPages : public OpsSim {
  protected:
    void start(const std::vector<SimDeviceSetup>& devs, const std::vector<std::string>& sets) {
        ASSERT_TRUE(start_logged(devs, sets));
        std::vector<std::string> names;
        for (const SimDeviceSetup& d : devs)
            names.push_back(d.addr);
        add_all(names);
        dispatch_main(W_SETUP_BTN);
        ASSERT_TRUE(ui_is_managed(BW_SETUP_FORM, UI_BASIC));
    }
    BasicPage& open(const std::string& name) {
        BasicPage& p = *find_page(name);
        ui_set_toggle(p.category, true, false, UI_BASIC); // as a press leaves it
        basic_dispatch(p.category);
        return p;
    }
    int idx(BasicPage& p, const std::string& key) {
        for (size_t i = 0; i < p.fields.size(); ++i)
            if (key == p.fields[i].key)
                return static_cast<int>(i);
        ADD_FAILURE() << key;
        return 0;
    }
    std::string field(BasicPage& p, const std::string& key) {
        return page_field_text(p, idx(p, key));
    }
    // A field as the operator sets it: the window shows it, a toggle's
    // press runs its rule.
    void put(BasicPage& p, const std::string& key, const std::string& value) {
        page_set_field(p, idx(p, key), value);
        show_page(p);
        if (p.fields[idx(p, key)].kind == FK_TOGGLE)
            basic_dispatch(p.fields[idx(p, key)].widget);
    }
    // One value read straight from the device (inst "a.b" or a number).
    std::string get(const std::string& dev, const std::string& var, const std::string& inst) {
        for (int i = 0; host_info_list[i]; ++i)
            if (host_info_list[i]->name == dev) {
                MorixRecord* r = host_info_list[i];
                int id = 0;
                get_check_mib_var(var, &id);
                bool two = inst.find('.') != std::string::npos;
                int n = two ? -1 : std::atoi(inst.c_str());
                free_prm_list(r);
                add_prm_node(r, id, 0, 0, n, two ? inst.c_str() : "", "", 0);
                mm_snmp(r, SNMP_OP_GET);
                std::string v;
                get_prm_val(r, var, n, two ? inst : "", &v, nullptr);
                free_prm_list(r);
                return v;
            }
        return "(no device)";
    }
    std::vector<std::string> port_addrs(int n, const std::string& prefix) {
        std::vector<std::string> sets;
        for (int p = 1; p <= n; ++p)
            sets.push_back(A + ":mrxpNetRemoteAddr." + std::to_string(p) + "=" + prefix +
                           std::to_string(p));
        return sets;
    }
};

TEST_F(PortPages, RemoteAddressRangeAndConsecutivePorts) {
    start({{derived_profile("modelj.prof", "ports 8 0 0"), A},
           {derived_profile("modelj.prof", "ports 5 0 0"), B}},
          {});
    // One device at a time: the first field is only open with one device.
    for (int row : {2, 1})
        ui_list_deselect_pos(W_MRX_LIST, row, UI_MAIN);
    ui_list_select_pos(W_MRX_LIST, 1, false, UI_MAIN);
    dispatch_main(W_SETUP_BTN);
    BasicPage& p = open("remote-address");
    put(p, "first", "10.1.1.250");
    Applied a = apply(p);
    EXPECT_EQ(a.ok, 0);
    EXPECT_TRUE(a.said("Last Remote Address Out of Range"));
    EXPECT_EQ(a.o.result, Result::refused);
    EXPECT_EQ(get(A, "mrxpNetRemoteAddr", "1"), "0.0.0.0");

    basic_dispatch(BW_SETUP_CLOSE);
    ui_list_deselect_pos(W_MRX_LIST, 1, UI_MAIN);
    ui_list_select_pos(W_MRX_LIST, 2, false, UI_MAIN);
    dispatch_main(W_SETUP_BTN);
    BasicPage& q = open("remote-address");
    put(q, "first", "10.1.1.250");
    put(q, "mask", "255.255.255.0");
    EXPECT_EQ(apply(q).ok, 1);
    for (int port = 1; port <= 5; ++port)
        EXPECT_EQ(get(B, "mrxpNetRemoteAddr", std::to_string(port)),
                  "10.1.1." + std::to_string(249 + port));
    EXPECT_EQ(field(q, "first"), "10.1.1.250"); // read again after the Apply
    EXPECT_EQ(field(q, "last"), "10.1.1.254");
}

TEST_F(PortPages, RemoteAddressTwoDevicesShowTheLastAndGaps) {
    std::vector<std::string> sets;
    for (int port = 1; port <= 8; ++port) {
        sets.push_back(A + ":mrxpNetRemoteAddr." + std::to_string(port) + "=10.1.1." +
                       std::to_string(port));
        sets.push_back(B + ":mrxpNetRemoteAddr." + std::to_string(port) + "=10.2.2." +
                       std::to_string(port));
    }
    std::string eight = derived_profile("modelj.prof", "ports 8 0 0");
    start({{eight, A}, {eight, B}}, sets);
    BasicPage& p = open("remote-address");
    EXPECT_EQ(field(p, "first"), "10.2.2.1"); // shown, but closed with two devices
    EXPECT_FALSE(is_sens(p.fields[0].widget, UI_BASIC));
    EXPECT_EQ(field(p, "last"), "10.2.2.8");
    EXPECT_EQ(field(p, "mask"), "255.255.255.0");
}

TEST_F(PortPages, RemoteAddressGapEmptiesTheFields) {
    start({{derived_profile("modelj.prof", "ports 3 0 0"), A}},
          {A + ":mrxpNetRemoteAddr.1=10.0.0.1", A + ":mrxpNetRemoteAddr.3=10.0.0.3"});
    BasicPage& p = open("remote-address");
    EXPECT_EQ(field(p, "first"), "");
    EXPECT_EQ(field(p, "last"), "");
}

TEST_F(PortPages, Class5ChannelsOfBothModulesGetConsecutiveAddresses) {
    start({{sim_profile("modelt.prof"), A}}, {});
    BasicPage& p = open("remote-address");
    put(p, "first", "10.5.0.1");
    put(p, "mask", "255.255.0.0");
    Applied a = apply(p);
    ASSERT_EQ(a.ok, 1) << a.o.warnings.size();
    int n = 0;
    for (int itf : {2, 3})
        for (int ch = 1; ch <= 23; ++ch) {
            ++n;
            EXPECT_EQ(get(A, "mrxt1ChanIpAddr", std::to_string(itf) + "." + std::to_string(ch)),
                      "10.5.0." + std::to_string(n));
        }
    EXPECT_EQ(get(A, "gpSlipSubnetMask", "46"), "255.255.0.0");
    EXPECT_EQ(field(p, "last"), "10.5.0.46");
}

TEST_F(PortPages, PppDialCodesMrruAndEndpoint) {
    std::vector<std::string> sets;
    for (int ch = 1; ch <= 23; ++ch)
        sets.push_back(A + ":gpPPPNcp." + std::to_string(ch) + "=3");
    start({{sim_profile("modelq.prof"), A}}, sets);
    BasicPage& p = open("ppp-dial");
    for (const char* t : {"ncp-ip", "ncp-ipx", "ncp-appletalk", "ncp-compression", "ncp-multilink"})
        EXPECT_EQ(field(p, t), "1") << t;
    put(p, "mrru", "1601");
    put(p, "user", "dialer");
    put(p, "class-directory", "1");
    put(p, "endpoint", "555-12#34");
    Applied a = apply(p);
    EXPECT_EQ(a.ok, 1);
    EXPECT_TRUE(a.said("The value specified must lie between 64 and 1600"));
    EXPECT_EQ(get(A, "gpPPPRemoteUser", "23"), "dialer");
    EXPECT_EQ(get(A, "gpMpMrru", "1"), "1500");
    EXPECT_EQ(get(A, "gpMpEndpointClass", "1"), "directoryNumber");
    EXPECT_EQ(get(A, "gpMpEndpointValue", "1"), ""); // the number sign: left out
    put(p, "endpoint", "555-1234");
    put(p, "mrru", "1600");
    EXPECT_EQ(apply(p).ok, 1);
    EXPECT_EQ(get(A, "gpMpEndpointValue", "5"), "555-1234");
    EXPECT_EQ(get(A, "gpMpMrru", "23"), "1600");
    EXPECT_EQ(field(p, "endpoint"), "555-1234");
}

TEST_F(PortPages, AsyncPortsOnA32PortDevice) {
    start({{sim_profile("modelj.prof"), A}}, {});
    ui_set_text(BW_ASYNC_PORTS, "1-4", UI_BASIC);
    BasicPage& p = open("async-ports");
    EXPECT_EQ(ui_list_count(BW_PORT_LIST, UI_BASIC), 32);
    put(p, "speed", "38400");
    put(p, "in-flow", "hardware");
    EXPECT_EQ(apply(p).ok, 1);
    for (int port = 1; port <= 5; ++port) {
        bool in = port <= 4;
        EXPECT_EQ(get(A, "rs232PortInSpeed", std::to_string(port)) == "38400", in) << port;
        EXPECT_EQ(get(A, "charPortInFlowType", std::to_string(port)) == "hardware", in) << port;
    }
    EXPECT_EQ(field(p, "speed"), "38400");
}

// mm_cli reaches a port page through its category as a press would, and
// takes a port list only for the async pages.
TEST_F(PortPages, MmCliOpensPortPagesAndTheirPorts) {
    REQUIRE_NETNS();
    std::string three = derived_profile("modelj.prof", "ports 3 0 0");
    start({{three, A}}, {A + ":mrxpNetRemoteAddr.1=10.3.0.7", A + ":mrxpNetRemoteAddr.2=10.3.0.8",
                         A + ":mrxpNetRemoteAddr.3=10.3.0.9"});
    auto cli = [](std::vector<std::string> args) {
        args.insert(args.begin(), {"-mrx", A});
        return run_cli(args);
    };
    ProgramResult r = cli({"page", "remote-address"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("First Remote Address: 10.3.0.7\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Last Remote Address: 10.3.0.9\n"), std::string::npos) << r.out;
    r = cli({"page", "async-ports", "-P", "2", "speed=19200"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(get(A, "rs232PortInSpeed", "2"), "19200");
    EXPECT_NE(get(A, "rs232PortInSpeed", "1"), "19200");
    r = cli({"page", "remote-address", "-P", "1"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("page remote-address takes no port list"), std::string::npos) << r.err;
}

// Edit Modem of the Async Ports page against the demo load host files: the
// dialog opens on the page's modem, a changed definition is marked edited,
// the page's Apply uploads it (the rest of the file as it was) and asks
// for the modem resets; closing the setup window releases the copies.
TEST_F(PortPages, EditModemFromTheAsyncPageUpdatesTheLoadHostFile) {
    REQUIRE_NETNS();
    const std::string LH = "127.0.66.9", root = tmp.file("root");
    mkdir(root.c_str(), 0755);
    std::string demo = sim_profile("../loadhost/");
    std::string cfg = read_file(demo + "morix.cfg");
    ASSERT_NE(cfg.find("dialin_setup_cmd\tAT&FE1V0Q2S0=1"), std::string::npos);
    write_file(root + "/morix.cfg", cfg);
    write_file(root + "/modems.inc", read_file(demo + "modems.inc"));
    setenv("TMPDIR", tmp.path().c_str(), 1);
    mm_snmp_def_to = 2;
    SimOptions o;
    o.load_host = LH;
    o.root = root;
    o.control_log = log_path;
    o.devices = {{sim_profile("modelj.prof"), A}};
    o.sets = {A + ":mrxPrefLoadAddr=" + LH, A + ":bootHost=" + LH, A + ":mrxpModemVar.1=demo_v90",
              A + ":mrxpModemVar.2=demo_v90"};
    sim = std::make_unique<SimProcess>(o);
    ASSERT_TRUE(sim->ready()) << sim->error();
    add_all({A});
    dispatch_main(W_SETUP_BTN);
    ui_set_text(BW_ASYNC_PORTS, "1-2", UI_BASIC);
    BasicPage& p = open("async-ports");
    EXPECT_EQ(field(p, "modem-type"), "demo_v90");

    basic_dispatch(BW_ASYNC_EDIT_MODEM);
    ASSERT_TRUE(ui_is_managed(W_MDM_DIALOG)) << hl_warning_box();
    EXPECT_EQ(ui_get_text(W_MDM_NAME_TF), "demo_v90");
    EXPECT_EQ(ui_get_text(W_MDM_DIALIN_TF), "AT&FE1V0Q2S0=1");
    // the menu offers the file's and the include file's modems
    std::vector<std::string> menu = hl_widget(BW_ASYNC_MODEM_TYPE, UI_BASIC).option_labels;
    for (const char* m : {"<Undefined>", "demo_v34", "demo_v90", "generic_28k8"})
        EXPECT_NE(std::find(menu.begin(), menu.end(), m), menu.end()) << m;
    ui_set_text(W_MDM_DIALIN_TF, "AT&FE1V0Q2S0=2");
    dispatch_main(W_MDM_OK);
    EXPECT_FALSE(ui_is_managed(W_MDM_DIALOG));
    EXPECT_EQ(hl_widget(BW_MODEM_MARKS, UI_BASIC).label, "Edited: demo_v90");
    EXPECT_EQ(read_file(root + "/morix.cfg"), cfg); // nothing sent before Apply

    hl_clear_events();
    hl_queue_answer(ASK_OK); // the modem resets
    EXPECT_EQ(apply(p).ok, 1);
    // the definition changed; the file around the modem section as it was
    std::string now = read_file(root + "/morix.cfg");
    EXPECT_NE(now.find("demo_v90\nconnect_status\t\t1 5 10 13 18 20\n"
                       "dialin_setup_cmd\tAT&FE1V0Q2S0=2\n"),
              std::string::npos);
    EXPECT_EQ(now.find("AT&FE1V0Q2S0=1"), std::string::npos);
    EXPECT_EQ(now.substr(0, now.find("%modem")), cfg.substr(0, cfg.find("%modem")));
    EXPECT_EQ(now.substr(now.find("%include")), cfg.substr(cfg.find("%include")));
    EXPECT_EQ(hl_widget(BW_MODEM_MARKS, UI_BASIC).label, "");
    EXPECT_EQ(hl_texts("ask").size(), 1u);
    EXPECT_FALSE(control_log().empty()); // the modem subsystem and ports reset

    dispatch_basic(BW_SETUP_CLOSE);
    EXPECT_FALSE(ui_is_managed(BW_SETUP_FORM, UI_BASIC));
    EXPECT_TRUE(mdm_info.local_cfg.empty() || access(mdm_info.local_cfg.c_str(), F_OK) != 0);
    unsetenv("TMPDIR");
}

} // namespace
