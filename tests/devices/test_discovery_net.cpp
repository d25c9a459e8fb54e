// Network discovery: the request and reply bytes, the broadcast address
// rules and texts, the prompt, the temporary list file, and the exchange
// against mrxsim, in-test responders and hosts in other namespaces.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <dirent.h>

#include "devices/discovery.h"
#include "devices/mrx_list.h"
#include "devices/mrx_list_file.h"
#include "devices_sim_util.h"
#include "discovery_test_util.h"
#include "ui/app_globals.h"
#include "frame/dispatch.h"
#include "ui_headless/ui_headless.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

std::vector<std::string> sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

// Temporary list files of discovery left in /tmp.
int dsc_tmp_files() {
    int n = 0;
    DIR* d = opendir("/tmp");
    if (!d)
        return -1;
    while (dirent* e = readdir(d))
        n += std::string(e->d_name).rfind("tmp.dsc_list", 0) == 0;
    closedir(d);
    return n;
}

// ---- without the network ------------------------------------------------------

TEST(DiscoveryBytes, RequestIsTheFixedLayoutWithThePidFirst) {
    std::vector<uint8_t> want = {0x01, 0x02, 0x03, 0x04, 0x00, 0x22, 0x80, 0x00, 0xFF, 0xFF, 0xFF,
                                 0xFF, 0x04, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    EXPECT_EQ(build_dsc_request(0x01020304u), want);
    EXPECT_EQ(build_dsc_request(0xFFFFFFFEu)[3], 0xFE);
}

TEST(DiscoveryBytes, ReplyAddressComesFromBytes18To21AndShortRepliesCarryNone) {
    std::vector<uint8_t> r = dsc_reply_bytes("10.200.3.254", 0);
    ASSERT_EQ(r.size(), 22u);
    EXPECT_EQ(dsc_reply_addr(r.data(), r.size()), "10.200.3.254");
    EXPECT_EQ(dsc_reply_addr(r.data(), 21), "");
    EXPECT_EQ(dsc_reply_addr(nullptr, 0), "");
    std::vector<uint8_t> big = dsc_reply_bytes("127.0.0.9", 191);
    EXPECT_EQ(dsc_reply_addr(big.data(), big.size()), "127.0.0.9");
}

class DiscoveryTexts : public testing::Test {
  protected:
    void SetUp() override { hl_reset(); }
};

TEST_F(DiscoveryTexts, StartUpWithoutAddressAndMaskUsesTheDefaultBroadcast) {
    std::string bcast, header;
    ASSERT_EQ(dsc_bcast_for("", "  ", 1, &bcast, &header), 0);
    EXPECT_EQ(bcast, "255.255.255.255");
    EXPECT_EQ(header, "Internet Address: None\nSubnet Mask: None\n\n"
                      "Using the default broadcast address.\n");
    EXPECT_TRUE(hl_texts("warn").empty());
}

TEST_F(DiscoveryTexts, AddressAndMaskGiveTheSubnetBroadcast) {
    std::string bcast, header;
    ASSERT_EQ(dsc_bcast_for(" 10.1.2.3 ", "255.255.255.0", 0, &bcast, &header), 0);
    EXPECT_EQ(bcast, "10.1.2.255");
    EXPECT_EQ(header, "Internet Address: 10.1.2.3\nSubnet Mask: 255.255.255.0\n\n");
    ASSERT_EQ(dsc_bcast_for("127.0.0.1", "255.0.0.0", 1, &bcast, &header), 0);
    EXPECT_EQ(bcast, "127.255.255.255");
}

TEST_F(DiscoveryTexts, MissingOrBadAddressOrMaskIsRefusedWithTheirTexts) {
    std::string bcast = "unchanged", header;
    EXPECT_EQ(dsc_bcast_for("10.1.2.3", "", 1, &bcast, &header), -1);
    EXPECT_EQ(dsc_bcast_for("", "", 0, &bcast, &header), -1);
    EXPECT_EQ(dsc_bcast_for("10.1.2.3", "255.0.x.0", 1, &bcast, &header), -1);
    EXPECT_EQ(discover_morixes_new("", "255.255.0.0", 5, 0), -1);
    EXPECT_EQ(hl_texts("warn"),
              (std::vector<std::string>{
                  "Invalid broadcast address.\n\nInternet Address: 10.1.2.3\nSubnet Mask: None\n",
                  "Invalid broadcast address.\n\nInternet Address: None\nSubnet Mask: None\n",
                  "Invalid broadcast address.\n\nInternet Address: 10.1.2.3\n"
                  "Subnet Mask: 255.0.x.0\n",
                  "Invalid broadcast address.\n\nInternet Address: None\n"
                  "Subnet Mask: 255.255.0.0\n"}));
    EXPECT_TRUE(hl_texts("work").empty()); // nothing was sent
}

TEST_F(DiscoveryTexts, PromptOpensWithItsLabelsAndRefusesBadFields) {
    discover_new_proc();
    EXPECT_EQ(hl_widget(W_DSC_PROMPT).title, "Discover Morixes/Network");
    EXPECT_TRUE(ui_is_managed(W_DSC_PROMPT));
    EXPECT_EQ(get_widget_label(W_DSC_PROMPT_ADDR_LBL), "Internet Address");
    EXPECT_EQ(get_widget_label(W_DSC_PROMPT_MASK_LBL), "Subnet Mask");
    EXPECT_EQ(get_widget_label(W_DSC_PROMPT_TO_LBL), "Timeout");
    EXPECT_EQ(get_widget_label(W_DSC_PROMPT_NOTE),
              "Use the 'Save Morix List' menu\nselection to save the discovered\nMorixes.");
    EXPECT_EQ(ui_get_text(W_DSC_PROMPT_TO_TF), "10");

    EXPECT_EQ(dsc_mrx_prm_ok(), -1); // empty address
    ui_set_text(W_DSC_PROMPT_ADDR_TF, "10.1.2.3");
    ui_set_text(W_DSC_PROMPT_MASK_TF, "255.255.255.0.0");
    EXPECT_EQ(dsc_mrx_prm_ok(), -1);
    const auto& ev = hl_events();
    ASSERT_EQ(ev.size(), 2u);
    EXPECT_EQ(ev[0].text, "Invalid IP Address Format: Internet Address.");
    EXPECT_EQ(ev[0].parent, W_DSC_PROMPT_ADDR_TF);
    EXPECT_EQ(ev[1].text, "Invalid IP Address Format: Subnet Mask.");
    EXPECT_EQ(ev[1].parent, W_DSC_PROMPT_MASK_TF);
    EXPECT_TRUE(ui_is_managed(W_DSC_PROMPT));
    dsc_window_action(W_DSC_PROMPT_HELP);
    EXPECT_EQ(hl_texts("item_help").size(), 1u);
    dsc_window_action(W_DSC_PROMPT_CANCEL);
    EXPECT_FALSE(ui_is_managed(W_DSC_PROMPT));
}

TEST(DiscoveryListFile, WrittenInTheListFormatWithFreshPrivateFiles) {
    TempDir dir;
    mm_snmp_def_comm = "vantor";
    mm_snmp_def_to = 3;
    mm_snmp_def_rty = 2;
    std::string p1, p2;
    ASSERT_EQ(write_dsc_list_file(dir.path(), {"mrx-a", "", "127.0.0.7", "mrx-a"}, &p1), 3);
    ASSERT_EQ(write_dsc_list_file(dir.path(), {"x"}, &p2), 1);
    EXPECT_NE(p1, p2); // never the same, guessable name
    EXPECT_EQ(p1.rfind(dir.path() + "/tmp.dsc_list.", 0), 0u);
    EXPECT_EQ(read_file(p1), version_header(DFK_MRX_LIST) +
                                 "#\nmrx-a | vantor | 3 | 2\n127.0.0.7 | vantor | 3 | 2\n"
                                 "mrx-a | vantor | 3 | 2\n");
    struct stat st;
    ASSERT_EQ(stat(p1.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    std::string p3;
    EXPECT_EQ(write_dsc_list_file(dir.file("missing"), {"x"}, &p3), -1);
}

// ---- over the network, in a namespace of the test's own -----------------------

class DiscoveryNet : public DevicesSim {
  protected:
    void SetUp() override {
        DevicesSim::SetUp();
        if (devices_in_netns()) {
            std::string why;
            ASSERT_TRUE(enter_private_netns(&why)) << why;
        }
    }
    std::vector<std::string> rows() { return ui_list_items(W_MRX_LIST); }
};

TEST_F(DiscoveryNet, BroadcastOnLoopbackFindsEverySimulatedDeviceAfterTheWholeTimeout) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start({{sim_profile("modelg.prof"), "127.0.20.1"},
                       {sim_profile("modell.prof"), "127.0.20.2"},
                       {sim_profile("not_morix.prof"), "127.0.20.3"}}));
    auto t0 = Clock::now();
    std::vector<std::string> names = disc("127.255.255.255", 1);
    double took = seconds_since(t0);
    EXPECT_EQ(sorted(names), (std::vector<std::string>{"127.0.20.1", "127.0.20.2", "127.0.20.3"}));
    EXPECT_GE(took, 0.99);
    EXPECT_LT(took, 2.5);
}

TEST_F(DiscoveryNet, EveryReplyIsListedAndShortRepliesAreIgnored) {
    REQUIRE_NETNS();
    std::vector<uint8_t> full = dsc_reply_bytes("127.0.21.1");
    std::vector<uint8_t> other = dsc_reply_bytes("127.0.0.1", 0);
    std::vector<uint8_t> short_one(full.begin(), full.begin() + 21);
    DscResponder r("127.0.21.1", {full, short_one, other, full, {0x01}});
    ASSERT_TRUE(r.ready());
    std::vector<std::string> names = disc("127.0.21.1", 1);
    // The reply's bytes 18..21 name the device, not the sender; 127.0.0.1
    // resolves through /etc/hosts.
    EXPECT_EQ(names, (std::vector<std::string>{"127.0.21.1", "localhost", "127.0.21.1"}));
    EXPECT_EQ(r.requests(), 1);
    std::vector<uint8_t> req = r.last_request();
    std::vector<uint8_t> want = build_dsc_request(static_cast<uint32_t>(getpid()));
    EXPECT_EQ(req, want);
}

TEST_F(DiscoveryNet, NoResponderIsReportedWithTheBroadcastAddress) {
    REQUIRE_NETNS();
    EXPECT_TRUE(disc("127.0.21.9", 1).empty());
    EXPECT_TRUE(disc("", 1).empty());
    EXPECT_TRUE(disc("not-an-address", 1).empty());
    EXPECT_EQ(discover_morixes_disc("127.0.21.9", 1, "H\n"), 0);
    EXPECT_EQ(hl_texts("warn"), (std::vector<std::string>{"No valid Morixes were discovered."
                                                          "\n\nBroadcast: 127.0.21.9"}));
    EXPECT_EQ(hl_cursor_depth(), 0);
    EXPECT_EQ(mrx_lst_cnt, 0);

    // Start-up without address and mask: the default broadcast, sent only
    // inside this test's own namespace (which has nothing but loopback).
    hl_clear_events();
    EXPECT_EQ(discover_morixes_new("", "", 0, 1), 0);
    EXPECT_EQ(hl_texts("work"),
              (std::vector<std::string>{"Internet Address: None\nSubnet Mask: None\n\n"
                                        "Using the default broadcast address.\n"
                                        "Broadcasting to: 255.255.255.255\nTimeout: 3\n\n"
                                        "Discovering Morixes. Please be patient."}));
    EXPECT_EQ(hl_texts("warn"), (std::vector<std::string>{"No valid Morixes were discovered."
                                                          "\n\nBroadcast: 255.255.255.255"}));
}

TEST_F(DiscoveryNet, TimeoutZeroWaitsThreeSecondsAndLoadsTheResponders) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start({{sim_profile("modelg.prof"), "127.0.20.5"}}));
    int left_before = dsc_tmp_files();
    auto t0 = Clock::now();
    EXPECT_EQ(discover_morixes_disc("127.0.20.5", 0, "HEADER\n"), 0);
    double took = seconds_since(t0);
    EXPECT_GE(took, 2.99);
    EXPECT_LT(took, 6.0);
    std::vector<std::string> work = hl_texts("work");
    ASSERT_FALSE(work.empty());
    EXPECT_EQ(work.front(), "HEADER\nBroadcasting to: 127.0.20.5\nTimeout: 3\n\n"
                            "Discovering Morixes. Please be patient.");
    EXPECT_EQ(rows(), (std::vector<std::string>{"<127.0.20.5> : ModelG"}));
    EXPECT_EQ(host_info_list[0]->community, "vantor");
    EXPECT_EQ(dsc_tmp_files(), left_before); // the temporary list is gone
    EXPECT_EQ(hl_cursor_depth(), 0);
}

TEST_F(DiscoveryNet, PromptDiscoversTheLoopbackNetworkAndSkipsListedDevices) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start({{sim_profile("modelg.prof"), "127.0.22.1"},
                       {sim_profile("modelq.prof"), "127.0.22.2"},
                       {sim_profile("not_morix.prof"), "127.0.22.3"}}));
    ui_set_text(W_MRX_NAME_TF, "127.0.22.1");
    add_morix();
    ASSERT_EQ(mrx_lst_cnt, 1);
    hl_clear_events();
    discover_new_proc();
    ui_set_text(W_DSC_PROMPT_ADDR_TF, " 127.0.0.1 ");
    ui_set_text(W_DSC_PROMPT_MASK_TF, "255.0.0.0");
    ui_set_text(W_DSC_PROMPT_TO_TF, "1");
    EXPECT_EQ(dsc_window_action(W_DSC_PROMPT_OK), 1);
    EXPECT_FALSE(ui_is_managed(W_DSC_PROMPT));
    std::vector<std::string> work = hl_texts("work");
    ASSERT_FALSE(work.empty());
    EXPECT_EQ(work.front(), "Internet Address: 127.0.0.1\nSubnet Mask: 255.0.0.0\n\n"
                            "Broadcasting to: 127.255.255.255\nTimeout: 1\n\n"
                            "Discovering Morixes. Please be patient.");
    EXPECT_EQ(rows(), (std::vector<std::string>{"<127.0.22.1> : ModelG", "<127.0.22.2> : ModelQ"}));
    std::vector<std::string> w = hl_texts("warn");
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[0], "127.0.22.3 is not a Morix.\nIt was not added to the list.\n"
                    "Generic IP router (simulated), not a Morix");
    EXPECT_EQ(w[1], "Some of the discovered Morixes are already in the list:\n127.0.22.1");
}

TEST_F(DiscoveryNet, BroadcastReachesHostsInOtherNamespacesOverABridge) {
    REQUIRE_NETNS();
    BridgedHosts hosts("10.77.0", 2);
    ASSERT_TRUE(hosts.ok()) << hosts.error();
    DscResponder a("0.0.0.0", {dsc_reply_bytes(hosts.host_addr(0))}, hosts.ns(0));
    DscResponder b("0.0.0.0", {dsc_reply_bytes(hosts.host_addr(1))}, hosts.ns(1));
    ASSERT_TRUE(a.ready());
    ASSERT_TRUE(b.ready());
    std::string bcast, header;
    ASSERT_EQ(dsc_bcast_for(hosts.bridge_addr(), "255.255.255.0", 0, &bcast, &header), 0);
    EXPECT_EQ(bcast, "10.77.0.255");
    std::vector<std::string> names = disc(bcast, 1);
    EXPECT_EQ(sorted(names), (std::vector<std::string>{"10.77.0.2", "10.77.0.3"}));
    EXPECT_EQ(a.requests(), 1);
    EXPECT_EQ(b.requests(), 1);
}

} // namespace
