// The basic-mode pages: their tables checked against the catalogue, the
// protocol toggle rule, and the pages read and applied on two simulated
// devices through the headless services (as the window and mm_cli do).
#include <gtest/gtest.h>

#include "basic/basic_page.h"
#include "catalogue/mib_catalogue.h"
#include "devices/mrx_list.h"
#include "frame/basic_window.h"
#include "frame/control_windows.h"
#include "frame/dispatch.h"
#include "ops/control.h"
#include "ops_sim_util.h"
#include "snmp_access/morix_record.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"

#include "ui/widget_ids.h"
#include "ui_headless/ui_headless.h"
#include <algorithm>
#include <set>

namespace {

const std::string A = "127.0.41.1", B = "127.0.41.2";

// A page command run as the frame runs it, with the outcome it filled.
struct Ran {
    int ok = 0;
    Outcome o;
    bool said(const std::string& text) const {
        for (const std::string& w : o.warnings)
            if (w.find(text) != std::string::npos)
                return true;
        return false;
    }
};
Ran run(BasicPage& p, int (*command)(BasicPage&)) {
    Ran r;
    PageRun in(r.o);
    r.ok = command(p);
    return r;
}
Ran apply(BasicPage& p) {
    return run(p, page_conf_apply);
}

class BasicSim : public OpsSim {
  protected:
    void start2(const std::vector<std::string>& sets, const std::string& b_extra = "") {
        std::string pb =
            b_extra.empty() ? sim_profile("modelj.prof") : derived_profile("modelj.prof", b_extra);
        ASSERT_TRUE(start_logged({{sim_profile("modelj.prof"), A}, {pb, B}}, sets));
        add_all({A, B});
        dispatch_main(W_SETUP_BTN);
        ASSERT_TRUE(ui_is_managed(BW_SETUP_FORM, UI_BASIC));
    }
    BasicPage& open(const std::string& name) {
        BasicPage& p = *find_page(name);
        ui_set_toggle(p.category, true, false, UI_BASIC);
        basic_dispatch(p.category);
        return p;
    }
    std::string field(BasicPage& p, const std::string& key) {
        for (size_t i = 0; i < p.fields.size(); ++i)
            if (key == p.fields[i].key)
                return page_field_text(p, i);
        ADD_FAILURE() << key;
        return "?";
    }
    // A field as the operator types it: in the record and the window.
    void put(BasicPage& p, const std::string& key, const std::string& value) {
        for (size_t i = 0; i < p.fields.size(); ++i)
            if (key == p.fields[i].key)
                page_set_field(p, i, value);
        show_page(p);
    }
    std::string value_of(const std::string& dev, const std::string& var) {
        for (int i = 0; host_info_list[i]; ++i)
            if (host_info_list[i]->name == dev)
                return get_mrx_prm_val_str(host_info_list[i], var).value_or("(none)");
        return "(no device)";
    }
    std::string rip(const std::string& dev, const std::string& var) {
        for (int i = 0; host_info_list[i]; ++i)
            if (host_info_list[i]->name == dev) {
                MorixRecord* r = host_info_list[i];
                int id = 0;
                get_check_mib_var(var, &id);
                add_prm_node(r, id, PT_EN, 1, 1, "", "", 0);
                mm_snmp(r, SNMP_OP_GET);
                std::string v;
                get_prm_val(r, var, 1, "", &v, nullptr);
                free_prm_list(r);
                return v;
            }
        return "";
    }
};

// Every variable of every table is in the catalogue; every page's fields
// follow its table and suit the variables' kinds.
TEST(BasicTables, PagesAndTablesFitTheCatalogue) {
    StagedInstall staged;
    ASSERT_EQ(read_mib_info("data/gui_mm_data"), 0);
    const std::pair<const char*, size_t> sizes[] = {
        {"gen_config_vars", 9},   {"gen_config_cont_vars", 14}, {"ip_conf_vars", 5},
        {"trap_conf_vars", 15},   {"wan_edit_conf_vars", 9},    {"ppp_dial_conf_vars", 12},
        {"sec_conf_vars_pri", 9}, {"async_port_cont_vars", 14}};
    for (const auto& [name, n] : sizes) {
        for (const NamedVarTable& t : basic_var_tables) {
            if (std::string(t.name) == name) {
                EXPECT_EQ(t.vars->size(), n) << name;
            }
        }
    }
    for (const NamedVarTable& t : basic_var_tables)
        for (const std::string& v : *t.vars) {
            int id = 0;
            EXPECT_TRUE(get_check_mib_var(v, &id)) << t.name << " " << v;
        }
    std::set<int> widgets;
    for (BasicPage* p : basic_pages()) {
        ASSERT_LE(p->fields.size(), p->vars->size()) << p->name;
        for (size_t i = 0; i < p->fields.size(); ++i) {
            const PageField& f = p->fields[i];
            int id = 0;
            get_check_mib_var((*p->vars)[i], &id);
            const MibVarEntry* e = mib_var(id);
            EXPECT_TRUE(widgets.insert(f.widget).second) << p->name << " " << f.key;
            EXPECT_LT(f.widget, BW_LABEL_OFFSET);
            if (f.kind == FK_OPTION) {
                EXPECT_GE(e->enum_id, 0) << p->name << " " << f.key;
            }
            if (f.lo < f.hi) {
                EXPECT_EQ(e->data_type, MDT_INTEGER) << p->name << " " << f.key;
            }
        }
    }
}

TEST(BasicFrame, ProtocolCodeFromTheToggles) {
    struct Case {
        int bits; // t0..t4 as bits 0..4
        int code;
    } cases[] = {{0b00010, 1},  {0b00001, 2},  {0b00100, 4},  {0b00011, 5},
                 {0b00110, 6},  {0b00101, 7},  {0b00111, 8},  {0b01010, 9},
                 {0b01111, 15}, {0b10001, 17}, {0b11100, 25}, {0b11111, 29}};
    for (const Case& c : cases) {
        bool on[5];
        for (int i = 0; i < 5; ++i)
            on[i] = (c.bits >> i) & 1;
        int code = 0;
        EXPECT_EQ(process_ipro_set(on, 0, &code), 1);
        EXPECT_EQ(code, c.code) << c.bits;
    }
    // The last of the three protocols turned off comes back on.
    bool on[5] = {};
    int code = -1;
    EXPECT_EQ(process_ipro_set(on, 1, &code), 0);
    EXPECT_TRUE(on[1]);
}

TEST_F(BasicSim, GeneralCommonValuesAndRefusedTimeZones) {
    REQUIRE_NETNS();
    start2({A + ":mrxTimeZone=60", B + ":mrxTimeZone=-300", A + ":mrxDefaultImageName=x.img",
            B + ":mrxDefaultImageName=x.img", A + ":mrxConfigFile=", B + ":mrxConfigFile="});
    BasicPage& g = open("general");
    EXPECT_EQ(field(g, "time-zone"), "");   // the devices differ
    EXPECT_EQ(field(g, "image"), "x.img");  // they agree
    EXPECT_EQ(field(g, "config-file"), ""); // both empty: shown empty, not as quotes
    const std::pair<const char*, const char*> bad[] = {
        {"12a", "Time Zone (minutes) is in the wrong format.\nIt should be an integer."},
        {"721", "The value specified must lie between -720 and 720"}};
    for (const auto& [text, message] : bad) {
        hl_clear_events();
        put(g, "time-zone", text);
        put(g, "image", "y.img");
        Ran r = apply(g);
        EXPECT_EQ(r.ok, 0) << text;
        EXPECT_TRUE(r.said(message)) << text;
        EXPECT_EQ(r.o.result, Result::refused) << text;
        EXPECT_EQ(value_of(A, "mrxDefaultImageName"), "x.img") << text;
    }
    put(g, "time-zone", "-720");
    hl_clear_events();
    Ran r = apply(g);
    EXPECT_EQ(r.ok, 1);
    EXPECT_EQ(r.o.result, Result::done);
    EXPECT_EQ(r.o.report, "Set complete.\n");
    EXPECT_EQ(value_of(A, "mrxTimeZone"), "-720");
    EXPECT_EQ(value_of(B, "mrxDefaultImageName"), "y.img");
}

TEST_F(BasicSim, IpMaskSendsMaskAndBroadcastOnly) {
    REQUIRE_NETNS();
    start2({A + ":interfaceRipRecvVersion.1=1", B + ":interfaceRipRecvVersion.1=2"});
    BasicPage& ip = open("ip");
    EXPECT_FALSE(is_sens(50, UI_BASIC)); // the address is per device
    EXPECT_EQ(field(ip, "rip-receive"), "");
    std::string addr_a = value_of(A, "mrxInetAddr");
    put(ip, "mask", "255.255.0.0");
    put(ip, "rip-receive", "rip2");
    EXPECT_EQ(apply(ip).ok, 1);
    for (const std::string& d : {A, B}) {
        EXPECT_EQ(value_of(d, "mrxSubnetMask"), "255.255.0.0");
        EXPECT_EQ(rip(d, "interfaceRipRecvVersion"), "rip2");
    }
    EXPECT_EQ(value_of(A, "mrxInetAddr"), addr_a);
    // Each device's broadcast follows its own address.
    EXPECT_EQ(value_of(A, "mrxBcastAddr"), "127.0.255.255");
    EXPECT_EQ(value_of(B, "mrxBcastAddr"), "127.0.255.255");
}

TEST_F(BasicSim, PortListRowsSelectPortsForTheCommonValue) {
    REQUIRE_NETNS();
    start2({A + ":mrxpMode.2=ppp", B + ":mrxpMode.2=ppp"});
    std::vector<std::string> rows = port_list_rows(PT_ASY);
    ASSERT_GE(rows.size(), 4u);
    EXPECT_EQ(rows[1], A + " 2");
    auto select = [&](const std::vector<std::string>& want) { return read_port_list(want); };
    EXPECT_EQ(select({A + " 2", B + " 2", B + " 2"}), 2); // a row twice counts once
    EXPECT_EQ(port_mrx_map.ported_count, 2);
    get_values_from_mrx({"mrxpMode"}, PT_ASY);
    std::string text;
    int number = 0;
    EXPECT_EQ(get_specific_value("mrxpMode", PT_ASY, &text, &number), "");
    EXPECT_EQ(text, "ppp");
    EXPECT_EQ(select({A + " 1", A + " 2"}), 2);
    EXPECT_EQ(port_mrx_map.ported_count, 1);
    get_values_from_mrx({"mrxpMode"}, PT_ASY);
    EXPECT_EQ(get_specific_value("mrxpMode", PT_ASY, &text, &number), "");
    EXPECT_EQ(text, ""); // port 1 and port 2 differ
    free_basic_chains();
}

TEST_F(BasicSim, ReadingNamesTheSilentDeviceAndACancelReadsNothing) {
    REQUIRE_NETNS();
    start2({A + ":mrxTimeZone=60", B + ":mrxTimeZone=60"});
    // B stops answering after the list was built.
    sim.reset();
    SimOptions o;
    o.devices = {{sim_profile("modelj.prof"), A}, {sim_profile("modelj.prof"), B}};
    o.sets = {A + ":mrxTimeZone=60", B + ":mrxTimeZone=-300"};
    o.faults = {B + ":drop=100"};
    sim = std::make_unique<SimProcess>(o);
    ASSERT_TRUE(sim->ready()) << sim->error();
    for (int i = 0; host_info_list[i]; ++i) {
        host_info_list[i]->timeout = 200000;
        host_info_list[i]->retries = 0;
    }
    hl_clear_events();
    BasicPage& g = *find_page("general");
    g.first_time = true; // read again from the restarted devices
    Ran r = run(g, get_page_conf_value);
    EXPECT_TRUE(r.said(B + ":\nCould not get parameter values. This may be due to a timeout.\n"));
    ASSERT_EQ(r.o.devices.size(), 1u);
    EXPECT_EQ(r.o.devices[0].device, B);
    EXPECT_EQ(r.o.devices[0].state, DeviceState::unreachable);
    EXPECT_EQ(field(g, "time-zone"), "60"); // the device that answered
    // A cancel before the first device: nothing is read.
    BasicPage& at = *find_page("appletalk");
    hl_cancel_at(1);
    open("appletalk");
    EXPECT_EQ(field(at, "zone"), "");
    at.first_time = true;
    get_page_conf_value(at);
    EXPECT_EQ(at.saved[0].text, set_to_blank); // A's empty zone, shown as an empty field
}

TEST_F(BasicSim, GeneralContinuedOkChecksItsAddressesAndHelpFollowsThePage) {
    REQUIRE_NETNS();
    start2({});
    open("general");
    basic_dispatch(BW_GEN_MORE);
    BasicPage& c = *find_page("general-cont");
    ASSERT_TRUE(ui_is_managed(BW_GEN_CONT_FORM, UI_BASIC));
    put(c, "time-server", "1.2.3");
    basic_dispatch(BW_GEN_CONT_OK);
    EXPECT_TRUE(warned("Time Server : Invalid IP Address Format"));
    EXPECT_TRUE(ui_is_managed(BW_GEN_CONT_FORM, UI_BASIC)); // stays open
    put(c, "time-server", "10.1.1.1");
    basic_dispatch(BW_GEN_CONT_OK);
    EXPECT_FALSE(ui_is_managed(BW_GEN_CONT_FORM, UI_BASIC));
    EXPECT_EQ(basic_help_id(BW_SETUP_HELP), 17);
    open("ip");
    EXPECT_EQ(basic_help_id(BW_SETUP_HELP), 23);
    // The kept value goes out with General's Apply.
    open("general");
    EXPECT_EQ(apply(*find_page("general")).ok, 1);
    EXPECT_EQ(value_of(A, "mrxTimeServerAddr"), "10.1.1.1");
}

TEST_F(BasicSim, DeviceRefusingSetsIsNamedAndSkipped) {
    REQUIRE_NETNS();
    start2({}, "allow_sets 2");
    BasicPage& at = open("appletalk");
    put(at, "zone", "lab");
    Ran r = apply(at);
    EXPECT_EQ(r.ok, 1);
    EXPECT_TRUE(r.said(B + ":\nCould not set any parameters.\nThe value of the allow_snmp_sets"));
    ASSERT_FALSE(r.o.devices.empty());
    EXPECT_EQ(r.o.devices[0].device, B);
    EXPECT_EQ(r.o.devices[0].state, DeviceState::refused);
    EXPECT_EQ(value_of(A, "mrxAppleTalkZone"), "lab");
    EXPECT_NE(value_of(B, "mrxAppleTalkZone"), "lab");
}

TEST_F(BasicSim, LoadHostFollowUpCloseQuestionAndResetCode1) {
    REQUIRE_NETNS();
    register_reset_command();
    start2({A + ":mrxPrefLoadAddr=10.0.0.5", B + ":mrxPrefLoadAddr=10.0.0.5",
            A + ":mrxSysLogHost=10.0.0.5", B + ":mrxSysLogHost=10.0.0.5"});
    BasicPage& g = open("general");
    BasicPage& c = *find_page("general-cont");
    EXPECT_EQ(field(c, "syslog-host"), "10.0.0.5"); // read with General
    put(g, "load-host", "10.0.0.9");
    // Close with a change: the question; Cancel keeps the window.
    hl_queue_answer(ASK_CANCEL);
    basic_dispatch(BW_SETUP_CLOSE);
    EXPECT_EQ(hl_texts("ask").size(), 1u);
    ASSERT_TRUE(ui_is_managed(BW_SETUP_FORM, UI_BASIC));
    hl_answer_all(ASK_OK);
    basic_dispatch(BW_SETUP_APPLY);
    for (const std::string& d : {A, B}) {
        EXPECT_EQ(value_of(d, "mrxPrefLoadAddr"), "10.0.0.9");
        EXPECT_EQ(value_of(d, "mrxSysLogHost"), "10.0.0.9"); // followed the load host
        EXPECT_EQ(value_of(d, "mrxTimeServerAddr"), "0.0.0.0");
    }
    bool asked = false;
    for (const HlEvent& e : hl_events())
        asked |= e.kind == "ask" && e.title == "Reset Parameters";
    EXPECT_TRUE(asked);
    EXPECT_EQ(control_log().size(), 2u); // Reset code 1 on each device
    hl_clear_events();
    basic_dispatch(BW_SETUP_CLOSE); // nothing pending: closes without asking
    EXPECT_TRUE(hl_texts("ask").empty());
    EXPECT_FALSE(ui_is_managed(BW_SETUP_FORM, UI_BASIC));
}

// A device refusing the automatic reset after a page's Set is named in the
// page's warnings, and the Set fails.
TEST_F(BasicSim, RefusedResetIsSaidAndFailsTheSet) {
    REQUIRE_NETNS();
    start2({}, "fault set_refuse mrxcReset");
    BasicPage& ip = open("ip");
    put(ip, "mask", "255.255.0.0"); // takes effect after a reset
    hl_answer_all(ASK_OK);
    Ran r = apply(ip);
    EXPECT_TRUE(r.said("Could not reset the following Morixes")) << hl_warning_box();
    EXPECT_TRUE(r.said(B));
    EXPECT_EQ(r.o.result, Result::failed);
    EXPECT_EQ(value_of(B, "mrxSubnetMask"), "255.255.0.0");
}

TEST_F(BasicSim, WanEditSetsTheChosenModuleAndChecksCasDigits) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start_logged({{sim_profile("modelt.prof"), A}}, {A + ":mrxt1SwitchType.3=10"}));
    add_all({A});
    dispatch_main(W_SETUP_BTN);
    open("wan");
    std::vector<std::string> rows = ui_list_items(BW_WAN_LIST, UI_BASIC);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].substr(0, 25), A + std::string(25 - A.size(), ' '));
    EXPECT_NE(rows[1].find("T1_CAS"), std::string::npos);
    basic_dispatch(BW_WAN_EDIT_PB);
    EXPECT_TRUE(warned("You must select at least one WAN."));
    ui_list_select_pos(BW_WAN_LIST, 2, false, UI_BASIC);
    basic_dispatch(BW_WAN_EDIT_PB);
    BasicPage& w = *find_page("wan-edit");
    ASSERT_TRUE(ui_is_managed(BW_WAN_EDIT_FORM, UI_BASIC));
    EXPECT_EQ(determine_protocol(), 2);
    EXPECT_FALSE(is_sens(631, UI_BASIC)); // ANI only for feature group B and D
    put(w, "signalling", "featureGroupD");
    basic_dispatch(629); // the menu's choice
    EXPECT_TRUE(is_sens(631, UI_BASIC));
    put(w, "ani", "256");
    Ran r = apply(w);
    EXPECT_EQ(r.ok, 0);
    EXPECT_TRUE(r.said("ANI Provisioning must be an integer between 0 and 255."));
    put(w, "ani", "40");
    put(w, "line-coding", "dsx1AMI");
    EXPECT_EQ(apply(w).ok, 1);
    auto module_value = [](const char* var, int itf) {
        MorixRecord* r = host_info_list[0];
        int id = 0;
        get_check_mib_var(var, &id);
        add_prm_node(r, id, PT_DS1INF, itf, itf, "", "", 0);
        mm_snmp(r, SNMP_OP_GET);
        std::string v;
        get_prm_val(r, var, itf, "", &v, nullptr);
        free_prm_list(r);
        return v;
    };
    EXPECT_EQ(module_value("dsx1LineCoding", 3), "dsx1AMI");
    EXPECT_EQ(module_value("dsx1LineCoding", 2), "dsx1B8ZS"); // not chosen
    EXPECT_EQ(module_value("mrxt1CasAniDigits", 3), "40");
    put(w, "switch-type", "E1_R2");
    EXPECT_TRUE(apply(w).said("The Morixes you selected need to be rebooted"));
}

TEST_F(BasicSim, MmCliPrintsAndAppliesAPage) {
    REQUIRE_NETNS();
    start2({A + ":mrxTimeZone=60", B + ":mrxTimeZone=-300"});
    auto cli = [](std::vector<std::string> args) {
        args.insert(args.begin(), {"-mrx", A + "," + B});
        return run_cli(args);
    };
    ProgramResult r = cli({"page", "general"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Time Zone (minutes): \nSecurity: disabled\n"), std::string::npos)
        << r.out;
    r = cli({"page", "general", "time-zone=721"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "The value specified must lie between -720 and 720\n");
    // The page as the devices hold it, not as it was asked for.
    EXPECT_NE(r.out.find("Time Zone (minutes): \n"), std::string::npos) << r.out;
    r = cli({"page", "lat", "groups=3,5"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Groups: 3,5\n"), std::string::npos) << r.out;
    EXPECT_EQ(value_of(B, "mrxLatGroupVal"), "3,5");
    r = cli({"page", "wan-edit"});
    EXPECT_EQ(r.status, 1); // no WAN modules: nothing to choose
    EXPECT_NE(r.err.find("You must select at least one WAN."), std::string::npos) << r.err;
    r = cli({"page", "ip", "colour=red"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("no field 'colour' on page ip"), std::string::npos) << r.err;
    r = cli({"page", "--help"});
    EXPECT_NE(r.out.find("  ip: address mask rip-receive rip-send\n"), std::string::npos) << r.out;
}

} // namespace
