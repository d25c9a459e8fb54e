// Hostile peers and files: simulated devices that spoil their answers
// (mrxsim's tamper fault), counts beyond the product family's sizes, peer
// names that would redirect the library, discovery replies that name no
// device and floods of them (dsc_flood), and data files that never end.
#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>

#include "catalogue/line_budget.h"
#include "catalogue/mib_catalogue.h"
#include "devices/devices_sim_util.h"
#include "devices/discovery.h"
#include "devices/mrx_connect.h"
#include "devices/mrx_list.h"
#include "frame/discover_window.h"
#include "snmp_access/snmp_engine.h"
#include "ui/app_globals.h"
#include "ui/ui.h"
#include "ui_headless/ui_headless.h"

namespace {

using Hostile = DevicesSim;

// Port 161 of the first 64 flood addresses (127.200.0.1 to .64), taking
// requests and never answering: the devices there are silent, not refused.
struct SilentPorts {
    std::vector<int> fds;
    SilentPorts() {
        for (int i = 1; i <= 64; ++i) {
            sockaddr_in sa{};
            sa.sin_family = AF_INET;
            sa.sin_port = htons(161);
            inet_pton(AF_INET, ("127.200.0." + std::to_string(i)).c_str(), &sa.sin_addr);
            int fd = socket(AF_INET, SOCK_DGRAM, 0);
            if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0)
                fds.push_back(fd);
            else if (fd >= 0)
                close(fd);
        }
    }
    ~SilentPorts() {
        for (int fd : fds)
            close(fd);
    }
};

std::unique_ptr<MorixRecord> peer(const std::string& name) {
    auto rec = std::make_unique<MorixRecord>();
    rec->name = name;
    rec->community = "vantor";
    rec->timeout = 1000000;
    rec->retries = 0;
    return rec;
}

// Gets the named scalars (instance 0) from rec; returns the record status.
int get_vars(MorixRecord* rec, const std::vector<const char*>& names, int op = SNMP_OP_GET) {
    free_prm_list(rec);
    for (const char* n : names) {
        int id = 0;
        EXPECT_TRUE(get_check_mib_var(n, &id)) << n;
        add_prm_node(rec, id, 0, 0, op == SNMP_OP_GETNEXT ? -1 : 0, "", "", 0);
    }
    testing::internal::CaptureStdout();
    mm_snmp(rec, op);
    std::string out = testing::internal::GetCapturedStdout();
    if (rec->status == SR_ERROR) {
        EXPECT_NE(out.find("An SNMP error occured."), std::string::npos);
    }
    return rec->status;
}

} // namespace

TEST_F(Hostile, TamperedAnswersFailTheExchange) {
    REQUIRE_NETNS();
    const struct {
        const char* fault;
        int op, want;
    } cases[] = {{"seed=1", SNMP_OP_GET, SR_OK},
                 {"tamper=rename", SNMP_OP_GET, SR_ERROR},
                 {"tamper=reorder", SNMP_OP_GET, SR_ERROR},
                 {"tamper=drop_last", SNMP_OP_GET, SR_ERROR},
                 {"tamper=extra", SNMP_OP_GET, SR_ERROR},
                 {"tamper=empty", SNMP_OP_GET, SR_ERROR},
                 {"tamper=wrong_type", SNMP_OP_GET, SR_ERROR},
                 {"seed=1", SNMP_OP_GETNEXT, SR_OK},
                 {"tamper=same_name", SNMP_OP_GETNEXT, SR_ERROR},
                 {"tamper=empty", SNMP_OP_SET, SR_ERROR}};
    std::vector<SimDeviceSetup> devs;
    std::vector<std::string> faults;
    for (size_t i = 0; i < std::size(cases); ++i) {
        devs.push_back({sim_profile("modelj.prof"), "127.0.40." + std::to_string(10 + i)});
        faults.push_back(devs.back().addr + ":" + cases[i].fault);
    }
    ASSERT_TRUE(start(devs, faults));
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].fault);
        auto rec = peer(devs[i].addr);
        if (cases[i].op == SNMP_OP_SET) {
            int id = 0;
            ASSERT_TRUE(get_check_mib_var("sysContact", &id));
            add_prm_node(rec.get(), id, 0, 0, 0, "", "ops", 0);
            testing::internal::CaptureStdout();
            mm_snmp(rec.get(), SNMP_OP_SET);
            testing::internal::GetCapturedStdout();
            EXPECT_EQ(rec->status, cases[i].want);
            continue;
        }
        EXPECT_EQ(get_vars(rec.get(), {"sysDescr", "totalPorts", "hwType"}, cases[i].op),
                  cases[i].want);
        // A refused answer leaves the nodes as they were: no value from it.
        for (const ParamNode* p = rec->prm_list; p; p = p->next)
            EXPECT_EQ(p->value.empty(), cases[i].want != SR_OK);
    }
}

TEST_F(Hostile, NamesThatRedirectThePeerAreUnknownHosts) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start({{sim_profile("modelj.prof"), "127.0.40.2"}}));
    for (const char* name : {"127.0.40.2:162", "udp:127.0.40.2", "tcp:127.0.40.2",
                             "udp:127.0.40.2:161", "[127.0.40.2]", "-x", "a b"}) {
        SCOPED_TRACE(name);
        auto rec = peer(name);
        long sent = g_snmp_requests_sent;
        EXPECT_EQ(get_vars(rec.get(), {"sysDescr"}), SR_UNKNOWN_HOST);
        EXPECT_EQ(g_snmp_requests_sent, sent);
    }
    auto rec = peer("127.0.40.2");
    EXPECT_EQ(get_vars(rec.get(), {"sysDescr"}), SR_OK);
}

TEST_F(Hostile, CountsBeyondTheFamilyAreRefusedBeforeTheyCostRequests) {
    REQUIRE_NETNS();
    const struct {
        const char* set;
        const char* var;
    } cases[] = {{"set mrxt1Total 2147483647", "mrxt1Total"},
                 {"set mrxt1Total 5000", "mrxt1Total"},
                 {"set mrxt1Total -7", "mrxt1Total"},
                 {"set totalPorts 100000", "totalPorts"},
                 {"set totalmodems 129", "totalmodems"},
                 {"set mrxt1TotChan.2 1000000", "mrxt1TotChan"}};
    std::vector<SimDeviceSetup> devs;
    for (size_t i = 0; i < std::size(cases); ++i)
        devs.push_back(
            {derived_profile("modelt.prof", cases[i].set), "127.0.40." + std::to_string(30 + i)});
    devs.push_back({sim_profile("modelt.prof"), "127.0.40.40"});
    ASSERT_TRUE(start(devs));
    for (size_t i = 0; i <= std::size(cases); ++i) {
        auto rec = peer(devs[i].addr);
        std::string product, summary, info;
        long sent = g_snmp_requests_sent;
        int code = connect_morix(rec.get(), &product, &summary, &info, "");
        if (i == std::size(cases)) { // the unchanged device
            EXPECT_EQ(code, CR_OK);
            EXPECT_EQ(rec->wan_count, 2);
            continue;
        }
        SCOPED_TRACE(cases[i].set);
        EXPECT_EQ(code, CR_NOT_SUPPORTED);
        EXPECT_NE(summary.find(std::string("The device reports ") + cases[i].var),
                  std::string::npos)
            << summary;
        EXPECT_LT(g_snmp_requests_sent - sent, 12);
        EXPECT_EQ(rec->wan_count, 0);
        EXPECT_EQ(rec->prm_list, nullptr);
    }
}

TEST(HostileDiscovery, RepliesNamingNoDeviceAreIgnored) {
    const struct {
        const char* addr;
        const char* network;
        bool usable;
    } cases[] = {{"10.1.2.3", "", true},
                 {"0.0.0.0", "", false},
                 {"255.255.255.255", "", false},
                 {"224.0.0.1", "", false},
                 {"239.255.255.250", "", false},
                 {"10.1.2.0", "10.1.2.0", false},
                 {"10.1.2.255", "10.1.2.0", false},
                 {"10.1.2.7", "10.1.2.0", true},
                 {"10.1.2.0", "", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.addr);
        uint8_t reply[22] = {};
        unsigned a, b, d, e;
        ASSERT_EQ(std::sscanf(c.addr, "%u.%u.%u.%u", &a, &b, &d, &e), 4);
        reply[18] = a, reply[19] = b, reply[20] = d, reply[21] = e;
        EXPECT_EQ(dsc_take_reply(reply, 22, "10.1.2.255", c.network),
                  c.usable ? std::string(c.addr) : "");
        EXPECT_EQ(dsc_take_reply(reply, 21, "10.1.2.255", c.network), "");
    }
}

// 3000 answers with distinct addresses where nothing listens: collection
// stops at its bound, the list takes 63 of them, all probed at once.
TEST_F(Hostile, DiscoveryFloodOfUnreachableAddressesCostsOneTimeout) {
    REQUIRE_NETNS();
    mm_snmp_def_to = 3;
    mm_snmp_def_rty = 2;
    ASSERT_TRUE(
        start({{sim_profile("modelj.prof"), "127.0.40.50"}}, {"127.0.40.50:dsc_flood=3000"}));
    SilentPorts silent;
    ASSERT_EQ(silent.fds.size(), 64u);
    auto t0 = std::chrono::steady_clock::now();
    testing::internal::CaptureStdout();
    EXPECT_EQ(discover_morixes_disc("127.0.40.50", 2, "H\n"), 0);
    testing::internal::GetCapturedStdout();
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("discovery of 3000 unreachable addresses: %.1f s\n", secs);
    // Collection ends at its bound at once; then one probe round of all 63
    // (3 s, 2 retries) instead of 63 identifications in turn (567 s).
    EXPECT_GT(secs, 9 - 1);
    EXPECT_LT(secs, 9 + 8);
    EXPECT_EQ(mrx_lst_cnt, MAX_MRX_RECORDS);
    for (int i = 0; i < mrx_lst_cnt; ++i)
        EXPECT_EQ(host_info_list[i]->reachable, 0);
    std::string warn = hl_warning_box();
    EXPECT_NE(warn.find("More than 1024 answers"), std::string::npos) << warn;
    EXPECT_NE(warn.find("The Morix list is full"), std::string::npos) << warn;
}

TEST(HostileFiles, EndlessAndHugeFilesStopAtTheirBounds) {
    char dir[] = "/tmp/mm_hostile_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    // a link to a device is refused at once; a regular file of 9 MiB is
    // read up to the bounds
    std::string zero = std::string(dir) + "/mib_enum.dat";
    ASSERT_EQ(symlink("/dev/zero", zero.c_str()), 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(read_mib_enum_dat(zero), -4);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(zero + " is not a regular file"), std::string::npos) << err;
    unlink(zero.c_str());
    std::ofstream(zero).close();
    ASSERT_EQ(truncate(zero.c_str(), 9L * 1024 * 1024), 0);
    testing::internal::CaptureStdout();
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(read_mib_enum_dat(zero), 0);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 10);
    EXPECT_NE(out.find("mib_enum.dat: the file is larger than"), std::string::npos);

    std::string big = std::string(dir) + "/mib.dat";
    std::ofstream(big) << std::string(2 * 1024 * 1024, 'x') << "\n";
    testing::internal::CaptureStdout();
    EXPECT_EQ(read_mib_dat(big), 0);
    out = testing::internal::GetCapturedStdout();
    size_t shown = 0;
    for (size_t p = out.find("Invalid mib.dat data line: "); p != std::string::npos;
         p = out.find("Invalid mib.dat data line: ", p + 1))
        ++shown;
    EXPECT_EQ(shown, static_cast<size_t>(DATA_FILE_MAX_INVALID_SHOWN));
    // 2 MB in pieces of 255 characters: 8225 pieces, 20 shown.
    EXPECT_NE(out.find("... and 8205 more Invalid mib.dat data lines"), std::string::npos);
    unlink(zero.c_str());
    unlink(big.c_str());
    rmdir(dir);
}

TEST_F(Hostile, CancelStopsTheProbesAtOnce) {
    REQUIRE_NETNS();
    mm_snmp_def_to = 3;
    mm_snmp_def_rty = 2;
    ASSERT_TRUE(start({{sim_profile("modelj.prof"), "127.0.40.51"}}, {"127.0.40.51:dsc_flood=40"}));
    SilentPorts silent;
    ASSERT_EQ(silent.fds.size(), 64u);
    hl_cancel_at(5); // about half a second into the probes
    auto t0 = std::chrono::steady_clock::now();
    testing::internal::CaptureStdout();
    EXPECT_EQ(discover_morixes_disc("127.0.40.51", 1, "H\n"), 0);
    testing::internal::GetCapturedStdout();
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_LT(secs, 1 + 2);
    EXPECT_EQ(mrx_lst_cnt, 0);
}
