// Device identification against simulated devices over real UDP.
#include <gtest/gtest.h>

#include "devices/mrx_connect.h"
#include "devices_sim_util.h"
#include "snmp_access/product_types.h"
#include "ui/app_globals.h"

namespace {

struct Ident {
    int code = -99;
    std::string product, summary, info;
};

Ident identify(MorixRecord* rec, const std::string& alt = "") {
    Ident r;
    r.code = connect_morix(rec, &r.product, &r.summary, &r.info, alt);
    return r;
}

MorixRecord* peer(const std::string& addr, const std::string& community = "vantor") {
    auto* rec = new MorixRecord();
    rec->name = addr;
    rec->community = community;
    rec->timeout = 300000;
    rec->retries = 1;
    return rec;
}

class Connect : public DevicesSim {};

TEST_F(Connect, EveryPlatformClassIsIdentified) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start({{sim_profile("modelg.prof"), "127.0.8.1"},
                       {sim_profile("modelj.prof"), "127.0.8.2"},
                       {sim_profile("modeln.prof"), "127.0.8.3"},
                       {sim_profile("modelq.prof"), "127.0.8.4"},
                       {sim_profile("modelt.prof"), "127.0.8.5"},
                       {sim_profile("generic_e11.prof"), "127.0.8.6"}}));
    struct Want {
        const char* addr;
        int type, platform;
        const char* product;
    } wants[] = {{"127.0.8.1", 8, 1, "ModelG"},  {"127.0.8.2", 10, 2, "ModelJ"},
                 {"127.0.8.3", 14, 3, "ModelN"}, {"127.0.8.4", 16, 4, "ModelQ"},
                 {"127.0.8.5", 19, 5, "ModelT"}, {"127.0.8.6", 0, 1, ""}};
    for (const Want& w : wants) {
        SCOPED_TRACE(w.addr);
        std::unique_ptr<MorixRecord> rec(peer(w.addr));
        Ident id = identify(rec.get());
        ASSERT_EQ(id.code, CR_OK);
        EXPECT_EQ(rec->product_type, w.type);
        EXPECT_EQ(rec->platform, w.platform);
        EXPECT_EQ(id.product, w.product);
        EXPECT_EQ(rec->prm_list, nullptr);
        EXPECT_EQ(rec->csu_text, "Not Found");
        EXPECT_EQ(rec->enet_ports, 1);
        EXPECT_EQ(rec->addr.sin_family, AF_INET);
        EXPECT_NE(id.info.find(std::string("Inet Addr:  ") + w.addr + "\n"), std::string::npos);
        EXPECT_EQ(id.summary.find("  ["), id.summary.find('[') - 2);
        EXPECT_EQ(rec->allow_set, 1);
    }
}

TEST_F(Connect, ModelTHasCompressionCardAndWanModules) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start({{sim_profile("modelt.prof"), "127.0.8.10"}}));
    std::unique_ptr<MorixRecord> rec(peer("127.0.8.10"));
    Ident id = identify(rec.get());
    ASSERT_EQ(id.code, CR_OK);
    EXPECT_EQ(id.product, "ModelT");
    EXPECT_EQ(rec->wan_count, 2);
    ASSERT_EQ(rec->wan_if_index.size(), 2u);
    EXPECT_EQ(rec->wan_if_index[0], 2);
    EXPECT_EQ(rec->wan_if_index[1], 3);
    ASSERT_EQ(rec->wan_chan_count.size(), 2u);
    EXPECT_EQ(rec->wan_chan_count[0], 23);
    EXPECT_EQ(rec->modem_count, 24);
    EXPECT_EQ(rec->modem_revs[0], "X2-1.07");
    EXPECT_EQ(rec->modem_rev_ports[0], "1-24");
    EXPECT_EQ(id.info.find("Compression Card:  n/a"), std::string::npos);
    EXPECT_NE(id.info.find("Module F/W Rev 1:  PRI-5.0\nModule F/W Rev 2:  PRI-5.0\n"),
              std::string::npos);
    EXPECT_NE(id.summary.find("2 Wan/s, "), std::string::npos);
}

TEST_F(Connect, UnsupportedDevicesAndForeignAgents) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start({{sim_profile("modelj_rel14_0.prof"), "127.0.8.20"},
                       {sim_profile("modelc_commsrv.prof"), "127.0.8.21"},
                       {sim_profile("not_morix.prof"), "127.0.8.22"},
                       {derived_profile("modelg.prof", "product_type 23"), "127.0.8.23"},
                       {derived_profile("modelg.prof", "product_type 0"), "127.0.8.24"}}));
    std::unique_ptr<MorixRecord> rec(peer("127.0.8.20"));
    Ident old_release = identify(rec.get());
    EXPECT_EQ(old_release.code, CR_NOT_SUPPORTED);
    EXPECT_NE(old_release.summary.find("release 14.0"), std::string::npos) << old_release.summary;
    rrr_flag = 1;
    EXPECT_EQ(identify(rec.get()).code, CR_OK);
    // A communication server is never supported, whatever the release.
    rec.reset(peer("127.0.8.21"));
    EXPECT_EQ(identify(rec.get()).code, CR_NOT_SUPPORTED);
    rrr_flag = 0;
    rec.reset(peer("127.0.8.22"));
    Ident foreign = identify(rec.get());
    EXPECT_EQ(foreign.code, CR_NOT_MORIX);
    EXPECT_FALSE(foreign.summary.empty());
    for (const char* addr : {"127.0.8.23", "127.0.8.24"}) {
        rec.reset(peer(addr));
        Ident id = identify(rec.get());
        EXPECT_EQ(id.code, CR_OK) << addr;
        EXPECT_EQ(rec->product_type, 0) << addr;
        EXPECT_EQ(id.product, "") << addr;
    }
}

TEST_F(Connect, AlternateCommunityIsKeptOnlyWhenItAnswers) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start({{sim_profile("modelg.prof"), "127.0.8.30"}}));
    std::unique_ptr<MorixRecord> rec(peer("127.0.8.30", "wrong"));
    EXPECT_EQ(identify(rec.get(), "vantor").code, CR_OK);
    EXPECT_EQ(rec->community, "vantor");
    rec.reset(peer("127.0.8.30", "wrong"));
    EXPECT_EQ(identify(rec.get(), "alsowrong").code, CR_NOT_REACHABLE);
    EXPECT_EQ(rec->community, "wrong");
    EXPECT_EQ(rec->product_type, PT_NOT_REACHABLE);
}

TEST_F(Connect, MissingHwTypeIsNotSupported) {
    REQUIRE_NETNS();
    // Without the family's objects the device answers sysDescr but no hwType.
    std::string path = tmp.file("bare.prof");
    write_file(path, "product_type 12\nsys_descr Morix ModelL without objects\n"
                     "device_objects 0\n");
    ASSERT_TRUE(start({{path, "127.0.8.40"}}));
    rrr_flag = 1; // its release cannot be read either
    std::unique_ptr<MorixRecord> rec(peer("127.0.8.40"));
    Ident id = identify(rec.get());
    EXPECT_EQ(id.code, CR_NOT_SUPPORTED);
    EXPECT_EQ(id.summary, "Morix ModelL without objects");
    rrr_flag = 0;
    // Without -rrr an unreadable release is not the supported one.
    EXPECT_EQ(identify(rec.get()).code, CR_NOT_SUPPORTED);
}

TEST_F(Connect, ModemRevisionsAreGroupedAndOptionsListed) {
    REQUIRE_NETNS();
    ASSERT_TRUE(
        start({{derived_profile("modelg.prof", "modems 3 A\nmodems 1 B\nmodems 1 A\nmodems 2 B\n"
                                               "modems 1 A\nset mrxModulesDisabled 0"),
                "127.0.8.50"},
               {derived_profile("modelg.prof", "set mrxModulesDisabled 1"), "127.0.8.51"}}));
    std::unique_ptr<MorixRecord> rec(peer("127.0.8.50"));
    Ident id = identify(rec.get());
    ASSERT_EQ(id.code, CR_OK);
    EXPECT_EQ(rec->modem_count, 8);
    EXPECT_EQ(rec->modem_revs[0], "A");
    EXPECT_EQ(rec->modem_rev_ports[0], "1-3,5,8");
    EXPECT_EQ(rec->modem_revs[1], "B");
    EXPECT_EQ(rec->modem_rev_ports[1], "4,6-7");
    EXPECT_NE(id.info.find("Software Options:  admin LAT PPP SLIP"), std::string::npos);
    EXPECT_EQ(id.info.substr(id.info.size() - 26), "Internal Modems F/W Rev:  ");
    rec.reset(peer("127.0.8.51"));
    id = identify(rec.get());
    ASSERT_EQ(id.code, CR_OK);
    EXPECT_NE(id.info.find("Software Options:   LAT PPP"), std::string::npos);
    EXPECT_EQ(id.info.substr(id.info.size() - 29), "Internal Modems F/W Rev:  n/a");
}

TEST_F(Connect, UnknownHostAndSilentAddress) {
    REQUIRE_NETNS();
    std::unique_ptr<MorixRecord> rec(peer("no-such-morix.invalid"));
    EXPECT_EQ(identify(rec.get()).code, CR_UNKNOWN_HOST);
    rec.reset(peer("127.0.8.99"));
    EXPECT_EQ(identify(rec.get()).code, CR_NOT_REACHABLE);
    EXPECT_EQ(rec->product_type, PT_NOT_REACHABLE);
}

TEST_F(Connect, RefusedSetsAndOwnConfigurationServer) {
    REQUIRE_NETNS();
    ASSERT_TRUE(
        start({{derived_profile("modelg.prof", "allow_sets 2"), "127.0.8.60"},
               {derived_profile("modelg.prof", "set mrxConfigServer 127.0.8.61"), "127.0.8.61"}}));
    std::unique_ptr<MorixRecord> rec(peer("127.0.8.60"));
    ASSERT_EQ(identify(rec.get()).code, CR_OK);
    EXPECT_EQ(rec->allow_set, 0);
    std::string msg;
    EXPECT_EQ(check_conf_serv(rec.get(), &msg), 9);
    rec.reset(peer("127.0.8.61"));
    ASSERT_EQ(identify(rec.get()).code, CR_OK);
    EXPECT_EQ(check_conf_serv(rec.get(), &msg), 0);
    EXPECT_EQ(msg, "the file server <127.0.8.61> is \none of the selected Morixes.");
    EXPECT_EQ(check_conf_serv(nullptr, &msg), -1);
    EXPECT_EQ(msg, "the file server <unknown> is not found.");
}

} // namespace
