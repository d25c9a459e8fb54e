// Remembered identification against simulated devices: used after one
// request while it holds, made afresh when the device changed, and a
// damaged or hostile file changes nothing but the requests sent.
#include <arpa/inet.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <sstream>

#include "catalogue/mib_catalogue.h"
#include "devices/ident_memory.h"
#include "devices/mrx_list_file.h"
#include "devices_sim_util.h"
#include "snmp_access/snmp_engine.h"
#include "ui/app_globals.h"
#include "ui/progress.h"
#include "ui_headless/ui_headless.h"

namespace {

double g_clock_offset = 0;
double test_clock() {
    auto t = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(t).count() + g_clock_offset;
}

const std::vector<std::string> k_addrs = {"127.0.39.1", "127.0.39.2", "127.0.39.3"};

// Everything identification leaves in a record, as text.
std::string dump(const MorixRecord* r) {
    std::ostringstream o;
    auto list = [&o](const std::vector<int>& v) {
        for (int x : v)
            o << x << ',';
        o << '|';
    };
    o << r->name << '|' << r->community << '|' << inet_ntoa(r->addr.sin_addr) << '|' << r->status
      << r->reachable << r->product_type << '|' << r->platform << '|' << r->asy_ports << '|'
      << r->syn_ports << r->para_ports << r->enet_ports << '|' << r->modem_count << '|'
      << r->wan_count << '|' << r->allow_set << r->has_mac_addr << r->mac_addr << '|'
      << r->has_config_server << r->config_server << '|' << r->csu_text << '|' << r->has_info
      << r->info << '|' << (r->prm_list != nullptr);
    list(r->wan_if_index);
    list(r->wan_chan_count);
    list(r->wan_module_type);
    for (int g = 0; g < MAX_MDM_REVS; ++g)
        o << r->modem_revs[g] << '=' << r->modem_rev_ports[g] << ';';
    return o.str();
}

class IdentMemorySim : public DevicesSim {
  protected:
    void SetUp() override {
        DevicesSim::SetUp();
        g_clock_offset = 0;
        set_ident_clock(test_clock);
        list = tmp.file("three.lst");
        std::string text = version_header(DFK_MRX_LIST) + "#\n";
        for (const std::string& a : k_addrs)
            text += a + " | vantor | 1 | 1\n";
        write_file(list, text);
    }
    void TearDown() override {
        set_ident_clock(nullptr);
        g_ident_use = IDENT_FRESH;
        DevicesSim::TearDown();
    }
    // Up an hour, so that a restart shows as a smaller uptime.
    bool start_three(const std::string& first = "modelj.prof", const std::string& up = "3600") {
        std::vector<std::string> faults;
        for (const std::string& a : k_addrs)
            faults.push_back(a + ":uptime=" + up);
        return start({{sim_profile(first), k_addrs[0]},
                      {sim_profile("modelt.prof"), k_addrs[1]},
                      {sim_profile("modelq.prof"), k_addrs[2]}},
                     faults);
    }
    // Loads the list; the records in list order and the requests sent.
    std::vector<std::string> load(int use, long* requests) {
        g_ident_use = use;
        long before = g_snmp_requests_sent;
        load_device_list({list, true, 0}, front_end_progress());
        *requests = g_snmp_requests_sent - before;
        std::vector<std::string> out;
        for (int i = 0; i < mrx_lst_cnt; ++i)
            out.push_back(dump(host_info_list[i]));
        return out;
    }
    std::string memory_file() { return IdentMemory::default_path(); }
    std::string list;
};

// After a change the devices are identified afresh, and what a remembered
// load lists is always what a fresh identification lists.
TEST_F(IdentMemorySim, UsedWhileItHoldsAfreshWhenTheDeviceChanged) {
    REQUIRE_NETNS();
    struct Case {
        const char* what;
        std::function<bool()> change;
        bool held;
    };
    const std::vector<Case> cases = {
        {"untouched", [] { return true; }, true},
        {"another profile at the first address",
         [this] { return sim.reset(), start_three("modelg.prof"); }, false},
        {"restarted", [this] { return sim.reset(), start_three("modelj.prof", "0"); }, false},
        {"ten minutes on the wall clock, none on the uptime",
         [] { return g_clock_offset = 600, true; }, false},
        {"the default domain set",
         [] {
             MorixRecord rec;
             rec.name = k_addrs[2];
             rec.community = "vantor";
             rec.timeout = 1000000;
             int id = 0;
             get_check_mib_var("defaultDomain", &id);
             add_prm_node(&rec, id, 0, 0, 0, "", "example.net", 0);
             mm_snmp(&rec, SNMP_OP_SET);
             return rec.status == 0;
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_clock_offset = 0;
        ASSERT_TRUE(start_three());
        unlink(memory_file().c_str());
        long fresh_req = 0, first_req = 0, again_req = 0, check_req = 0;
        std::vector<std::string> fresh = load(IDENT_FRESH, &fresh_req);
        ASSERT_EQ(fresh.size(), 3u);
        // The first run: today's requests, then one check request each.
        EXPECT_EQ(load(IDENT_LOADS, &first_req), fresh);
        EXPECT_EQ(first_req, fresh_req + 3);
        ASSERT_TRUE(c.change());
        std::vector<std::string> again = load(IDENT_LOADS, &again_req);
        EXPECT_EQ(again_req == 3, c.held) << again_req;
        EXPECT_EQ(load(IDENT_FRESH, &check_req), again);
        if (c.held) {
            EXPECT_EQ(again, fresh);
        }
        EXPECT_TRUE(hl_texts("warn").empty());
        sim.reset();
    }
}

// A damaged, foreign or hostile file is ignored with a note; the list and
// the warnings stay those of a fresh identification, and a sound file
// takes its place.
TEST_F(IdentMemorySim, DamagedOrHostileFileIsIgnored) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start_three());
    long req = 0;
    std::vector<std::string> fresh = load(IDENT_LOADS, &req);
    const std::string good = read_file(memory_file());
    ASSERT_EQ(load(IDENT_LOADS, &req), fresh);
    ASSERT_EQ(req, 3);
    auto replace = [&good](const std::string& from, const std::string& to) {
        std::string s = good;
        size_t at = s.find(from);
        return at == std::string::npos ? "" : s.replace(at, from.size(), to);
    };
    struct Case {
        const char* what;
        std::string text;
        bool noted;
    };
    const std::vector<Case> cases = {
        {"garbage", std::string("\0\xff\n\x7fmm_ident\n", 13), true},
        {"another version", replace("mm_ident 1 ", "mm_ident 7 "), true},
        {"cut short", good.substr(0, good.size() / 2), true},
        {"too large", good + std::string(IDENT_FILE_MAX_BYTES, '#'), true},
        {"a count beyond its bound", replace("flags 8 ", "flags 100000 "), true},
        {"a bad escape", replace("stage1 ", "stage1 %G"), true},
        {"a device twice as long", replace("end\n", "answer a b\nanswer a c\nend\n"), true},
        {"sound, but 999 async ports", replace("answer totalPorts 32", "answer totalPorts 999"),
         false},
        {"sound, but a foreign product",
         replace("stage1 1.3.6.1.4.1.32473.1.3.10", "stage1 1.3.6.1"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_FALSE(c.text.empty());
        write_file(memory_file(), c.text);
        hl_clear_events();
        testing::internal::CaptureStderr();
        std::vector<std::string> got = load(IDENT_LOADS, &req);
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(got, fresh);
        EXPECT_GT(req, 3);
        EXPECT_TRUE(hl_texts("warn").empty());
        EXPECT_EQ(err.find("ignored") != std::string::npos, c.noted) << err;
        std::vector<IdentEntry> entries;
        std::string reason;
        EXPECT_TRUE(decode_ident_file(read_file(memory_file()), &entries, &reason)) << reason;
        EXPECT_EQ(entries.size(), 3u);
    }
    // A link planted in its place is not followed, and is replaced.
    unlink(memory_file().c_str());
    ASSERT_EQ(symlink(tmp.file("elsewhere").c_str(), memory_file().c_str()), 0);
    write_file(tmp.file("elsewhere"), good);
    testing::internal::CaptureStderr();
    EXPECT_EQ(load(IDENT_LOADS, &req), fresh);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("ignored"), std::string::npos);
    EXPECT_FALSE(std::filesystem::is_symlink(memory_file()));
    EXPECT_EQ(read_file(tmp.file("elsewhere")), good);
}

// mm_cli: a repeated run prints exactly what the first printed, and so
// does one with -fresh.
TEST_F(IdentMemorySim, RepeatedCliRunReportsTheSame) {
    REQUIRE_NETNS();
    ASSERT_TRUE(start_three());
    TempDir dir;
    copy_staged_install(dir.path());
    std::vector<std::string> args = {"-l", list, "info", k_addrs[2]};
    ProgramResult first = run_cli(args, dir.path());
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_NE(first.out.find("WAN Type 1:  "), std::string::npos) << first.out;
    for (bool fresh : {false, true}) {
        std::vector<std::string> a = args;
        if (fresh)
            a.insert(a.begin(), "-fresh");
        ProgramResult again = run_cli(a, dir.path());
        EXPECT_EQ(again.status, first.status);
        EXPECT_EQ(again.out, first.out);
        EXPECT_EQ(again.err, first.err);
    }
}

} // namespace
