// Texts built by identification: software options, summary and information
// text, and the firmware groups of internal modems.
#include <gtest/gtest.h>

#include "devices/mrx_texts.h"
#include "snmp_access/product_types.h"

namespace {

TEST(SwOptions, ClearBitsAreListedInTableOrder) {
    EXPECT_EQ(build_sw_options(0), "admin LAT PPP SLIP SNMP nameserver fingerd edit appletalk "
                                   "tn3270 dynamic_dial ftpd IPX vci dvs httpd l2tp");
    EXPECT_EQ(build_sw_options(1).substr(0, 8), " LAT PPP");
    // Bits 2 and 15 name no option; everything else disabled leaves nothing.
    EXPECT_EQ(build_sw_options(0x7fffd), "");
    EXPECT_EQ(build_sw_options(0xffffffff & ~0x10000ul), " dvs");
}

// Grouping by first appearance with ranges is checked against a simulated
// device in test_connect_sim.cpp.
TEST(ModemRevs, RevisionsBeyondSixShareASeventhGroup) {
    std::array<std::string, MAX_MDM_REVS> revs, ports;
    group_modem_revs({"r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8", "r1", "r7"}, &revs, &ports);
    EXPECT_EQ(revs[5], "r6");
    EXPECT_EQ(ports[5], "6");
    EXPECT_EQ(revs[6], "<Other revisions>");
    EXPECT_EQ(ports[6], "7-8,10");
    EXPECT_EQ(ports[0], "1,9");
}

IdentAnswers sample() {
    IdentAnswers a;
    a.values = {{"sysDescr", "Morix ModelL"},
                {"totalPorts", "16"},
                {"totalSyncPorts", "0"},
                {"mrxpParaPorts", "1"},
                {"imageName", "mrx.img"},
                {"hwRev", "B"},
                {"romRev", "4.2"},
                {"mrxInetAddr", "127.0.0.5"},
                {"ifPhysAddress", "00 a0 b1 c2 d3 e4"}};
    return a;
}

TEST(MrxTexts, SummaryListsOnlyPresentNonZeroCounts) {
    EXPECT_EQ(build_mrx_summary(sample()),
              "Morix ModelL  [16 async ports, 1 printer port(s), mrx.img]");
    IdentAnswers a = sample();
    a.values["mrxt1Total"] = "2";
    a.values["totalSyncPorts"] = "1";
    EXPECT_EQ(build_mrx_summary(a),
              "Morix ModelL  [16 async ports, 1 sync ports, 1 printer port(s), 2 Wan/s, mrx.img]");
}

TEST(MrxTexts, InformationTextLayout) {
    IdentAnswers a = sample();
    a.values["mrxModulesDisabled"] = "262143"; // all but l2tp disabled
    WanDisplay wan;
    wan.fw_rev[0] = "1.3";
    wan.wan_type[0] = "Channelized T1";
    std::string info = build_mrx_info(a, wan, false, 0, 1);
    EXPECT_EQ(info, "Morix ModelL\n\n"
                    "H/W Rev:  B\n"
                    "ROM Rev:  4.2\n"
                    "Compression Card:  n/a\n"
                    "Module F/W Rev 1:  1.3\n"
                    "Module F/W Rev 2:  n/a\n"
                    "WAN Type 1:  Channelized T1\n"
                    "WAN Type 2:  n/a\n"
                    "Ports:  16 async ports, 1 printer port(s)\n"
                    "Inet Addr:  127.0.0.5\n"
                    "Ethernet Addr:  00 a0 b1 c2 d3 e4\n\n"
                    "Boot From:  \n"
                    "Boot Image:  mrx.img\n"
                    "Subnet Mask:  \n"
                    "Broadcast Addr:  \n"
                    "Default Domain:  \n"
                    "Software Options:   l2tp\n"
                    "Proprietary Modem Code:   n/a\n"
                    "\n\nInternal Modems F/W Rev:  n/a");
}

TEST(MrxTexts, CompressionCardModemsAndMissingOptionMask) {
    IdentAnswers a = sample();
    a.values["compressionCardHwRev"] = "C7";
    a.values["mdmId56kProprietaryCode"] = "K56";
    std::string info = build_mrx_info(a, WanDisplay(), true, 4, 5);
    EXPECT_NE(info.find("Compression Card:  C7\n"), std::string::npos);
    EXPECT_NE(info.find("Proprietary Modem Code:   K56\n"), std::string::npos);
    EXPECT_NE(info.find("Software Options:  n/a\n"), std::string::npos);
    EXPECT_EQ(info.substr(info.size() - 26), "Internal Modems F/W Rev:  ");
    a.values["mrxModulesDisabled"] = "4294967295";
    EXPECT_NE(build_mrx_info(a, WanDisplay(), true, 4, 5).find("Software Options:  none\n"),
              std::string::npos);
    // Platform class 4 never says n/a for its modems.
    std::string p4 = build_mrx_info(a, WanDisplay(), false, 0, 4);
    EXPECT_EQ(p4.substr(p4.size() - 26), "Internal Modems F/W Rev:  ");
}

TEST(ProductTypes, CommunicationServers) {
    EXPECT_STREQ(prod_type_str(24), ""); // past the table
    MorixRecord r;
    for (int t : {1, 2, 3, 4, 5, 6, 7, 11}) {
        r.product_type = t;
        EXPECT_EQ(check_comm_srv(&r), 1) << t;
    }
    for (int t : {0, 8, 10, 12, 19}) {
        r.product_type = t;
        EXPECT_EQ(check_comm_srv(&r), 0) << t;
    }
    EXPECT_EQ(check_comm_srv(nullptr), 0);
}

TEST(ProductTypes, RowText) {
    MorixRecord r;
    r.name = "mrx1";
    r.reachable = 1;
    r.product_type = 12;
    EXPECT_EQ(mrx_row_text(&r), "<mrx1> : ModelL");
    r.product_type = 0;
    EXPECT_EQ(mrx_row_text(&r), "<mrx1> : Unknown Product Type");
    r.reachable = 0;
    r.product_type = 22;
    EXPECT_EQ(mrx_row_text(&r), "<mrx1> : NOT REACHABLE");
}

} // namespace
