// Discovery, on one fixture (a staged installation, the headless UI, and a
// private network namespace of the test's own when it runs in one): the
// request and reply bytes, the broadcast address rules and texts, the
// prompt and the temporary list file; network discovery against mrxsim,
// in-test responders and hosts in other namespaces; search-device
// discovery through the window's actions (the table walk, the
// identification pass and its output, Update, Save and Close) against
// mrxsim search devices and Debian's snmpd.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <dirent.h>
#include <set>

#include "devices/discovery.h"
#include "devices/mrx_list.h"
#include "devices/mrx_list_file.h"
#include "devices_sim_util.h"
#include "discovery_test_util.h"
#include "frame/device_list_window.h"
#include "frame/discover_window.h"
#include "frame/dispatch.h"
#include "snmp_access/snmp_engine.h"
#include "support/snmpd_peer.h"
#include "ui/app_globals.h"
#include "ui/progress.h"
#include "ui_headless/ui_headless.h"

namespace {

const std::string k_end =
    "\n\n\n*** End of discovery ***\n\n"
    "Press 'Copy to List' to change the main Morix List to the discovered "
    "Morixes.\nPress 'Save List...' to save the list of discovered Morixes in a "
    "file.\n";
const std::string k_start = "\nDiscovering Morixes, please wait...\n\n\nNumber of devices to "
                            "query: ";

class Discovery : public DevicesSim {
  protected:
    void SetUp() override {
        DevicesSim::SetUp();
        if (in_private_netns()) {
            std::string why;
            ASSERT_TRUE(enter_private_netns(&why)) << why;
        }
    }
    // A profile of a shipped model whose IP-to-media table lists addrs.
    std::string search_profile(const std::vector<std::string>& addrs,
                               const std::string& shipped = "modelg.prof",
                               const std::string& extra = "") {
        std::string text, line;
        std::string src = read_file(sim_profile(shipped));
        for (size_t pos = 0; pos < src.size();) {
            size_t nl = src.find('\n', pos);
            line = src.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
            pos = nl == std::string::npos ? src.size() : nl + 1;
            if (line.rfind("arp", 0) != 0)
                text += line + "\n";
        }
        for (size_t k = 0; k < addrs.size(); ++k) {
            char mac[32];
            std::snprintf(mac, sizeof mac, "02:00:00:00:%02zx:%02zx", k / 256, k % 256);
            text += "arp 1 " + addrs[k] + " " + mac + " 3\n";
        }
        std::string path = tmp.file("search" + std::to_string(++serial_) + ".prof");
        write_file(path, text + extra);
        return path;
    }
    // Runs "Discover" with the window's fields; returns the output text.
    std::string discover(const std::string& device, const std::string& timeout,
                         const std::string& retries, bool verbose) {
        ui_set_text(W_DSC_SRCH_DEV_TF, device);
        ui_set_text(W_DSC_TIMEOUT_TF, timeout);
        ui_set_text(W_DSC_RETRIES_TF, retries);
        ui_set_toggle(W_DSC_VERBOSE_TB, verbose, false);
        EXPECT_EQ(dispatch_main(W_DISC_DISCOVER_PB), 1);
        return ui_get_text(W_DSC_OUTPUT);
    }
    std::vector<std::string> table_names() {
        std::vector<std::string> v;
        for (int i = 0; i < MAX_MRX_SLOTS && host_disc_list[i]; ++i)
            v.push_back(host_disc_list[i]->name);
        return v;
    }
    std::vector<std::string> rows() { return ui_list_items(W_MRX_LIST); }
    int serial_ = 0;
};

std::vector<std::string> addr_range(const std::string& prefix, int first, int last) {
    std::vector<std::string> v;
    for (int i = first; i <= last; ++i)
        v.push_back(prefix + std::to_string(i));
    return v;
}

// Positions of the texts in out, in order; -1 for a text not found after
// the previous one.
std::vector<long> positions(const std::string& out, const std::vector<std::string>& texts) {
    std::vector<long> pos;
    size_t from = 0;
    for (const std::string& t : texts) {
        size_t p = out.find(t, from);
        pos.push_back(p == std::string::npos ? -1 : static_cast<long>(p));
        if (p != std::string::npos)
            from = p + t.size();
    }
    return pos;
}

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

std::vector<std::string> sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

// Temporary list files of discovery left in /tmp.
// (Other test programs may add and remove theirs meanwhile: only new
// names count.)
std::set<std::string> dsc_tmp_files() {
    std::set<std::string> names;
    if (DIR* d = opendir("/tmp")) {
        while (dirent* e = readdir(d))
            if (std::string(e->d_name).rfind("tmp.dsc_list", 0) == 0)
                names.insert(e->d_name);
        closedir(d);
    }
    return names;
}

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

TEST_F(Discovery, AddressAndMaskGiveTheBroadcastAndItsHeader) {
    const struct {
        const char *addr, *mask;
        int startup;
        const char *bcast, *header;
    } table[] = {
        {"", "  ", 1, "255.255.255.255",
         "Internet Address: None\nSubnet Mask: None\n\nUsing the default broadcast address.\n"},
        {" 10.1.2.3 ", "255.255.255.0", 0, "10.1.2.255",
         "Internet Address: 10.1.2.3\nSubnet Mask: 255.255.255.0\n\n"},
        {"127.0.0.1", "255.0.0.0", 1, "127.255.255.255",
         "Internet Address: 127.0.0.1\nSubnet Mask: 255.0.0.0\n\n"},
    };
    for (const auto& t : table) {
        std::string bcast, header;
        ASSERT_EQ(dsc_bcast_for(t.addr, t.mask, t.startup, &bcast, &header), 0) << t.addr;
        EXPECT_EQ(bcast, t.bcast);
        EXPECT_EQ(header, t.header);
    }
    EXPECT_TRUE(hl_texts("warn").empty());
}

TEST_F(Discovery, MissingOrBadAddressOrMaskIsRefusedWithTheirTexts) {
    std::string bcast = "unchanged", header;
    std::vector<std::string> said(3);
    EXPECT_EQ(dsc_bcast_for("10.1.2.3", "", 1, &bcast, &header, &said[0]), -1);
    EXPECT_EQ(dsc_bcast_for("", "", 0, &bcast, &header, &said[1]), -1);
    EXPECT_EQ(dsc_bcast_for("10.1.2.3", "255.0.x.0", 1, &bcast, &header, &said[2]), -1);
    EXPECT_EQ(discover_morixes_new("", "255.255.0.0", 5, 0), -1);
    std::vector<std::string> shown = hl_texts("warn");
    said.insert(said.end(), shown.begin(), shown.end());
    EXPECT_EQ(said,
              (std::vector<std::string>{
                  "Invalid broadcast address.\n\nInternet Address: 10.1.2.3\nSubnet Mask: None\n",
                  "Invalid broadcast address.\n\nInternet Address: None\nSubnet Mask: None\n",
                  "Invalid broadcast address.\n\nInternet Address: 10.1.2.3\n"
                  "Subnet Mask: 255.0.x.0\n",
                  "Invalid broadcast address.\n\nInternet Address: None\n"
                  "Subnet Mask: 255.255.0.0\n"}));
    EXPECT_TRUE(hl_texts("work").empty()); // nothing was sent
}

TEST_F(Discovery, PromptOpensWithItsLabelsAndRefusesBadFields) {
    discover_new_proc();
    EXPECT_EQ(hl_widget(W_DSC_PROMPT).title, "Discover Morixes/Network");
    EXPECT_TRUE(ui_is_managed(W_DSC_PROMPT));
    EXPECT_EQ(get_widget_label(W_DSC_PROMPT_ADDR_LBL), "Internet Address");
    EXPECT_EQ(get_widget_label(W_DSC_PROMPT_MASK_LBL), "Subnet Mask");
    EXPECT_EQ(get_widget_label(W_DSC_PROMPT_TO_LBL), "Timeout");
    EXPECT_EQ(get_widget_label(W_DSC_PROMPT_NOTE),
              "Use the 'Save Morix List' menu\nselection to save the discovered\nMorixes.");
    EXPECT_EQ(ui_get_text(W_DSC_PROMPT_TO_TF), "10");

    EXPECT_EQ(dsc_mrx_prm_ok({"", "", "10"}), -1); // empty address
    EXPECT_EQ(dsc_mrx_prm_ok({"10.1.2.3", "255.255.255.0.0", "10"}), -1);
    const auto& ev = hl_events();
    ASSERT_EQ(ev.size(), 2u);
    EXPECT_EQ(ev[0].text, "Invalid IP Address Format: Internet Address.");
    EXPECT_EQ(ev[0].parent, W_DSC_PROMPT_ADDR_TF);
    EXPECT_EQ(ev[1].text, "Invalid IP Address Format: Subnet Mask.");
    EXPECT_EQ(ev[1].parent, W_DSC_PROMPT_MASK_TF);
    EXPECT_TRUE(ui_is_managed(W_DSC_PROMPT));
    dispatch_main(W_DSC_PROMPT_HELP);
    EXPECT_EQ(hl_texts("item_help").size(), 1u);
    dispatch_main(W_DSC_PROMPT_CANCEL);
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

TEST_F(Discovery, EveryReplyIsListedAndShortRepliesAreIgnored) {
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

TEST_F(Discovery, NoResponderIsReportedWithTheBroadcastAddress) {
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

TEST_F(Discovery, TimeoutZeroWaitsThreeSecondsAndLoadsTheResponders) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start({{sim_profile("modelg.prof"), "127.0.20.5"}}));
    std::set<std::string> left_before = dsc_tmp_files();
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
    for (const std::string& name : dsc_tmp_files())
        EXPECT_EQ(left_before.count(name), 1u) << name; // the temporary list is gone
    EXPECT_EQ(hl_cursor_depth(), 0);
}

TEST_F(Discovery, PromptDiscoversTheLoopbackNetworkAndSkipsListedDevices) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start({{sim_profile("modelg.prof"), "127.0.22.1"},
                       {sim_profile("modelq.prof"), "127.0.22.2"},
                       {sim_profile("not_morix.prof"), "127.0.22.3"}}));
    add_to_device_list({"127.0.22.1", ""});
    ASSERT_EQ(mrx_lst_cnt, 1);
    hl_clear_events();
    discover_new_proc();
    ui_set_text(W_DSC_PROMPT_ADDR_TF, " 127.0.0.1 ");
    ui_set_text(W_DSC_PROMPT_MASK_TF, "255.0.0.0");
    ui_set_text(W_DSC_PROMPT_TO_TF, "1");
    EXPECT_EQ(dispatch_main(W_DSC_PROMPT_OK), 1);
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

TEST_F(Discovery, BroadcastReachesHostsInOtherNamespacesOverABridge) {
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

TEST_F(Discovery, MixedTableReportsEveryAddressAndKeepsTheMorixes) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start(
        {{search_profile({"127.0.23.2", "127.0.23.3", "127.0.23.4", "127.0.23.9", "127.0.23.5"}),
          "127.0.23.1"},
         {sim_profile("modell.prof"), "127.0.23.2"},
         {sim_profile("not_morix.prof"), "127.0.23.3"},
         {sim_profile("modelj_rel14_0.prof"), "127.0.23.4"},
         {sim_profile("modelq.prof"), "127.0.23.5"}}));
    std::string out = discover(" 127.0.23.1", "1", "0", true);
    EXPECT_EQ(
        hl_texts("warn"),
        (std::vector<std::string>{"Blanks found and removed:\n' 127.0.23.1' ->\n'127.0.23.1'\n"}));
    EXPECT_EQ(ui_get_text(W_DSC_SRCH_DEV_TF), "127.0.23.1");
    std::vector<std::string> parts = {
        k_start + "5\n",
        "\n<127.0.23.2> : Morix ModelL remote access server, release 14.1  [",
        "]\n",
        "\n<127.0.23.3> : Not a Morix., Generic IP router (simulated), not a Morix\n",
        "\n<127.0.23.4> : Invalid Morix (unsupported software revision), Morix ModelJ remote "
        "access server, release 14.0\n",
        "\n<127.0.23.5> : Morix ModelQ",
        "\n<127.0.23.9> : Not reachable.\n" + k_end};
    std::vector<long> pos = positions(out, parts);
    for (size_t k = 0; k < parts.size(); ++k)
        EXPECT_GE(pos[k], 0) << parts[k] << "\n---- in ----\n" << out;
    EXPECT_EQ(out.rfind(k_start, 0), 0u);
    EXPECT_EQ(out.size() - k_end.size(), out.rfind(k_end));
    EXPECT_EQ(table_names(), (std::vector<std::string>{"127.0.23.2", "127.0.23.5"}));
    EXPECT_EQ(host_disc_list[0]->reachable, 1);
    EXPECT_NE(host_disc_list[0]->info.find("Morix ModelL"), std::string::npos);
    EXPECT_EQ(host_disc_list[0]->timeout, 1000000);
    EXPECT_EQ(host_disc_list[0]->retries, 0);
    EXPECT_EQ(ui_list_items(W_DSC_LIST),
              (std::vector<std::string>{"<127.0.23.2> : ModelL", "<127.0.23.5> : ModelQ"}));
    std::vector<int> pct = hl_cancel_percents();
    ASSERT_GE(pct.size(), 5u);
    EXPECT_EQ(pct.back(), 100);
    EXPECT_FALSE(hl_cancel_dialog_open());

    // A second Discover starts from an empty table and output.
    hl_clear_events();
    out = discover("127.0.23.1", "1", "0", false);
    EXPECT_EQ(out.rfind(k_start + "5\n", 0), 0u);
    EXPECT_EQ(table_names().size(), 2u);
    // Not-a-Morix and unreachable are marks now; unsupported stays a line.
    EXPECT_NE(out.find("\n<127.0.23.4> : Invalid Morix"), std::string::npos);
    EXPECT_EQ(out.find("Not a Morix."), std::string::npos);
    EXPECT_NE(out.find("\n@\n\n<127.0.23.4>"), std::string::npos);
    EXPECT_NE(out.find("\n@" + k_end), std::string::npos);
}

TEST_F(Discovery, EmptyTableAndUnreachableOrMissingSearchDevice) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start({{search_profile({}), "127.0.23.21"}}));
    mm_snmp_def_to = 1;
    mm_snmp_def_rty = 0;
    // Empty time-out and retries fields take the defaults, written back.
    std::string out = discover("127.0.23.21", "", "", false);
    EXPECT_EQ(out, k_start + "\n" + k_end);
    EXPECT_EQ(ui_get_text(W_DSC_TIMEOUT_TF), "1");
    EXPECT_EQ(ui_get_text(W_DSC_RETRIES_TF), "0");
    EXPECT_EQ(table_names().size(), 0u);

    out = discover("127.0.23.29", "1", "0", false);
    EXPECT_EQ(out, "\nUnable to connect to device, 127.0.23.29\n");

    hl_clear_events();
    out = discover("  ", "1", "0", false);
    EXPECT_EQ(out, "");
    std::vector<std::string> w = hl_texts("warn");
    ASSERT_FALSE(w.empty());
    EXPECT_EQ(w.back(), "You must enter a search device.");
}

TEST_F(Discovery, EightyOneUnreachableAddressesGiveALineOfEightyMarksThenOne) {
    REQUIRE_NETNS();
    // Only loopback exists here: 10.20.0.x cannot be reached at all.
    std::vector<std::string> addrs = addr_range("10.20.0.", 1, 81);
    addrs.push_back("127.0.24.2");
    ASSERT_TRUE(
        start({{search_profile(addrs), "127.0.24.1"}, {sim_profile("modelg.prof"), "127.0.24.2"}}));
    std::string out = discover("127.0.24.1", "1", "0", false);
    std::string marks = "\n" + std::string(80, '@') + "\n@\n";
    EXPECT_EQ(out.rfind(k_start + "82\n" + marks + "\n<127.0.24.2> : Morix ModelG", 0), 0u) << out;
    EXPECT_EQ(table_names(), (std::vector<std::string>{"127.0.24.2"}));
    // With the toggle set, every address has its line.
    out = discover("127.0.24.1", "1", "0", true);
    EXPECT_EQ(out.find('@'), std::string::npos);
    EXPECT_NE(out.find("\n<10.20.0.81> : Not reachable.\n"), std::string::npos);
}

TEST_F(Discovery, BrokenWalkContinuesWithThePartialList) {
    REQUIRE_NETNS();
    // The search device drops a share of what it receives: with no retries
    // the walk stops at the first lost GetNext (seed chosen so that the
    // first requests get through).
    ASSERT_TRUE(start({{search_profile(addr_range("10.21.0.", 1, 40), "modelg.prof",
                                       "fault drop=20\nfault seed=3\n"),
                        "127.0.24.11"}}));
    std::string out = discover("127.0.24.11", "1", "0", true);
    size_t msg = out.find("\nUnable to obtain a complete address list from the search device.\n"
                          "This may be due to a timeout. The discovery operation will continue "
                          "with the partial address list.\n");
    ASSERT_NE(msg, std::string::npos) << out;
    std::string count = out.substr(k_start.size(), msg - k_start.size());
    int n = std::atoi(count.c_str());
    EXPECT_GE(n, 1);
    EXPECT_LT(n, 40);
    EXPECT_EQ(count, std::to_string(n)); // the count is written in place
    int lines = 0;
    for (size_t p = 0; (p = out.find(" : Not reachable.", p)) != std::string::npos; ++p)
        ++lines;
    EXPECT_EQ(lines, n);
    EXPECT_EQ(out.size() - k_end.size(), out.rfind(k_end));
}

TEST_F(Discovery, MoreThan1024AddressesStopTheCollectionWithAMessage) {
    REQUIRE_NETNS();
    std::vector<std::string> addrs;
    for (int i = 0; i < 1030; ++i)
        addrs.push_back("10.22." + std::to_string(i / 250) + "." + std::to_string(i % 250 + 1));
    ASSERT_TRUE(start({{search_profile(addrs), "127.0.24.21"}}));
    MorixRecord search;
    search.name = "127.0.24.21";
    search.community = "vantor";
    search.timeout = 1000000;
    std::vector<std::string> got;
    EXPECT_EQ(dsc_collect_addrs(&search, &got), 0);
    ASSERT_EQ(got.size(), 1024u);
    EXPECT_EQ(got.front(), "10.22.0.1");
    EXPECT_EQ(got.back(), addrs[1023]);
    std::string out = ui_get_text(W_DSC_OUTPUT);
    EXPECT_NE(out.find(k_start + "1024\nThe search device lists more than 1024 addresses.\n"
                                 "The discovery operation will continue with the first 1024 "
                                 "addresses.\n"),
              std::string::npos)
        << out.substr(0, 300);
}

TEST_F(Discovery, CancelStopsTheWalkOrTheIdentificationPass) {
    REQUIRE_NETNS();
    ASSERT_TRUE(
        start({{search_profile({"127.0.23.32", "127.0.23.33", "127.0.23.34"}), "127.0.23.31"},
               {sim_profile("modelg.prof"), "127.0.23.32"},
               {sim_profile("modelg.prof"), "127.0.23.33"},
               {sim_profile("modelg.prof"), "127.0.23.34"}}));
    // Call 1 is the engine's check in the first GetNext; call 2 is the
    // walk's own check before the first row.
    hl_cancel_at(2);
    std::string out = discover("127.0.23.31", "1", "0", false);
    EXPECT_EQ(out, k_start + "\n\nOperation cancelled.");
    EXPECT_EQ(table_names().size(), 0u);

    // A cancel once the first device of the side-by-side identification is
    // done: the others end at once, and nothing after the first unfinished
    // address is reported or kept.
    hl_cancel_on_label("Identifying: 1 of 3 done");
    EXPECT_EQ(dsc_identify_addrs({"127.0.23.32", "127.0.23.33", "127.0.23.34"}, 1, 0), 1);
    EXPECT_LE(table_names().size(), 1u);
    EXPECT_EQ(ui_get_text(W_DSC_OUTPUT).find("127.0.23.34"), std::string::npos);
}

TEST_F(Discovery, UpdateReplacesTheListTwiceAliveAndSaveWritesTheTable) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start({{search_profile({"127.0.23.42", "127.0.23.43"}), "127.0.23.41"},
                       {sim_profile("modelg.prof"), "127.0.23.42"},
                       {sim_profile("modell.prof"), "127.0.23.43"},
                       {sim_profile("not_morix.prof"), "127.0.23.44"},
                       {sim_profile("modelq.prof"), "127.0.23.45"}}));
    dispatch_main(W_DISC_COPY_TO_LIST_PB);
    dispatch_main(W_DISC_SAVE_LIST_PB);
    EXPECT_EQ(hl_texts("warn"), (std::vector<std::string>{"No valid Morixes were discovered.",
                                                          "There are no Morixes to save."}));
    add_to_device_list({"127.0.23.45", ""});
    ASSERT_EQ(mrx_lst_cnt, 1);
    ui_manage(W_MRX_INFO_BOX);
    discover("127.0.23.41", "2", "0", false);
    ASSERT_EQ(table_names().size(), 2u);
    hl_clear_events();
    for (int round = 0; round < 2; ++round) {
        dispatch_main(W_DISC_COPY_TO_LIST_PB);
        EXPECT_EQ(ui_list_items(W_MRX_LIST),
                  (std::vector<std::string>{"<127.0.23.43> : ModelL", "<127.0.23.42> : ModelG"}));
        EXPECT_EQ(mrx_lst_cnt, 2);
        EXPECT_EQ(host_info_list[0]->timeout, 2000000);
        EXPECT_EQ(host_info_list[0]->reachable, 1);
        EXPECT_FALSE(host_info_list[0]->info.empty());
        EXPECT_EQ(table_names().size(), 2u); // Update leaves the table as it was
    }
    EXPECT_FALSE(ui_is_managed(W_MRX_INFO_BOX));
    EXPECT_TRUE(hl_texts("warn").empty());

    dispatch_main(W_DISC_SAVE_LIST_PB);
    ASSERT_EQ(hl_texts("file_sel"), (std::vector<std::string>{mm_path("data/mrx_lists")}));
    std::string path = tmp.file("found.lst");
    EXPECT_EQ(save_dsc_mrx_lst(path, front_end_asker()).result, Result::done);
    EXPECT_EQ(read_file(path),
              version_header(DFK_MRX_LIST) +
                  "#\n127.0.23.42 | vantor | 2 | 0\n127.0.23.43 | vantor | 2 | 0\n");

    // A discovered device that no longer is a Morix is refused by Update.
    MorixRecordPtr odd = new_host_node();
    odd->name = "127.0.23.44";
    odd->community = "vantor";
    odd->timeout = 1000000;
    host_disc_list.put(2, std::move(odd));
    hl_clear_events();
    dispatch_main(W_DISC_COPY_TO_LIST_PB);
    EXPECT_EQ(mrx_lst_cnt, 2);
    EXPECT_EQ(hl_texts("warn"), (std::vector<std::string>{
                                    "127.0.23.44 is not a Morix.\nIt was not added to the list.\n",
                                    "Generic IP router (simulated), not a Morix"}));

    // Close empties the window and the table.
    ui_manage(W_DSC_FORM);
    dispatch_main(W_DISC_CLOSE_PB);
    EXPECT_FALSE(ui_is_managed(W_DSC_FORM));
    EXPECT_EQ(ui_get_text(W_DSC_SRCH_DEV_TF), "");
    EXPECT_EQ(ui_get_text(W_DSC_TIMEOUT_TF), "");
    EXPECT_EQ(ui_get_text(W_DSC_OUTPUT), "");
    EXPECT_FALSE(ui_get_toggle(W_DSC_VERBOSE_TB));
    EXPECT_EQ(dsc_mrx_count(), 0);
    EXPECT_TRUE(ui_list_items(W_DSC_LIST).empty());
    EXPECT_EQ(mrx_lst_cnt, 2); // the main list stays
}

TEST_F(Discovery, SixtyFifthMorixIsReportedButNotKept) {
    REQUIRE_NETNS();
    std::vector<std::string> found = addr_range("127.0.25.", 2, 63);
    std::vector<std::string> more = addr_range("127.0.26.", 1, 3);
    found.insert(found.end(), more.begin(), more.end());
    ASSERT_EQ(found.size(), 65u);
    std::vector<SimDeviceSetup> first = {{search_profile(found), "127.0.25.1"}};
    for (int i = 2; i <= 63; ++i)
        first.push_back({sim_profile("modelg.prof"), "127.0.25." + std::to_string(i)});
    ASSERT_TRUE(start(first));
    SimOptions o2;
    for (int i = 1; i <= 3; ++i)
        o2.devices.push_back({sim_profile("modell.prof"), "127.0.26." + std::to_string(i)});
    SimProcess sim2(o2);
    ASSERT_TRUE(sim2.ready()) << sim2.error();

    auto t0 = std::chrono::steady_clock::now();
    long sent = g_snmp_requests_sent;
    std::string out = discover("127.0.25.1", "1", "0", false);
    double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("search-device discovery of 65 Morixes: %.3f s, %ld SNMP requests\n", took,
                g_snmp_requests_sent - sent);
    EXPECT_NE(out.find("\n<127.0.26.3> : Morix ModelL"), std::string::npos);
    EXPECT_NE(out.find("\n\n1 identified Morix(es) could not be kept: the list of discovered "
                       "Morixes holds 64."),
              std::string::npos);
    EXPECT_EQ(dsc_mrx_count(), 64);
    EXPECT_EQ(table_names().back(), "127.0.26.2");

    hl_clear_events();
    dispatch_main(W_DISC_COPY_TO_LIST_PB);
    EXPECT_EQ(mrx_lst_cnt, MAX_MRX_RECORDS);
    ASSERT_EQ(hl_texts("warn").size(), 1u);
    EXPECT_NE(hl_texts("warn")[0].find("The Morix list is full (63 Morixes).\n"),
              std::string::npos);

    std::string path = tmp.file("all.lst");
    EXPECT_EQ(save_dsc_mrx_lst(path, front_end_asker()).result, Result::done);
    std::string saved = read_file(path);
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 4 + 64);
}

TEST_F(Discovery, SnmpdAsSearchDeviceListsItsNeighbours) {
    REQUIRE_NETNS();
    for (const std::vector<std::string>& cmd : std::vector<std::vector<std::string>>{
             {"ip", "link", "add", "dscv0", "type", "veth", "peer", "name", "dscv1"},
             {"ip", "addr", "add", "10.88.0.1/24", "dev", "dscv0"},
             {"ip", "link", "set", "dscv0", "up"},
             {"ip", "link", "set", "dscv1", "up"},
             {"ip", "neigh", "add", "10.88.0.7", "lladdr", "02:00:00:00:00:07", "dev", "dscv0",
              "nud", "permanent"},
             {"ip", "neigh", "add", "10.88.0.8", "lladdr", "02:00:00:00:00:08", "dev", "dscv0",
              "nud", "permanent"}}) {
        ProgramResult r = run_program(cmd, 5000);
        ASSERT_EQ(r.status, 0) << cmd[0] << " " << cmd[1] << ": " << r.err;
    }
    SnmpdPeer peer("127.0.27.1");
    std::string why;
    ASSERT_TRUE(peer.start(&why)) << why;
    std::string out = discover("127.0.27.1", "1", "0", true);
    EXPECT_EQ(out, k_start + "2\n" + "\n<10.88.0.7> : Not reachable.\n" +
                       "\n<10.88.0.8> : Not reachable.\n" + k_end);
    EXPECT_EQ(dsc_mrx_count(), 0);
}

} // namespace
