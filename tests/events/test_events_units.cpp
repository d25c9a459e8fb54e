// The trap receiver, the event log and the event lines in-process: datagrams
// are handed to the receiver as the socket would, with its clock set here.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <sys/stat.h>

#include <fstream>

#include "catalogue/mib_catalogue.h"
#include "events/event_json.h"
#include "events/event_log.h"
#include "events/trap_encode.h"
#include "events/trap_kinds.h"
#include "events/trap_receiver.h"
#include "support/test_dirs.h"
#include "ui/app_globals.h"

namespace {

const std::string ENT = "1.3.6.1.4.1.32473.2.20";
const std::string USER3 = "1.3.6.1.4.1.32473.2.5.2.1.27.3"; // mrxpCurrentUserName, port 3

sockaddr_in sender(const char* addr) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    inet_pton(AF_INET, addr, &a.sin_addr);
    return a;
}

class Receiver : public testing::Test {
  protected:
    Receiver() {
        mm_dir = source_install_dir(); // the catalogue names the variables
        read_mib_info("data/gui_mm_data");
        ReceiverLimits l;
        l.burst = 100;
        l.per_second = 50;
        l.kept = 150;
        l.max_senders = 4;
        rx_ = std::make_unique<TrapReceiver>(
            l, ReceiverClock{[this] { return steady_; }, [] { return int64_t(1765126500123); }});
    }
    void send(const std::string& d, const char* from = "127.0.0.9") {
        rx_->take(reinterpret_cast<const unsigned char*>(d.data()), d.size(), sender(from));
    }
    int64_t steady_ = 5000;
    std::unique_ptr<TrapReceiver> rx_;
};

TEST_F(Receiver, NamesEachGenericTypeAndTheCatalogueVariables) {
    for (int g = 0; g <= 6; ++g)
        send(encode_trap("public", ENT, g, g == 6 ? TRAP_CALL_BEGIN : 0,
                         {{USER3, 's', "ann"},
                          {"1.3.6.1.4.1.32473.2.20.1.0", 'i', "1"},
                          {"1.3.6.1.4.1.99999.7", 'i', "5"}}));
    ASSERT_EQ(rx_->events().size(), 7u);
    const char* kinds[] = {
        "coldStart",       "warmStart", "linkDown", "linkUp", "authenticationFailure",
        "egpNeighborLoss", "callBegin"};
    for (int g = 0; g <= 6; ++g)
        EXPECT_EQ(event_kind(rx_->events()[g]), kinds[g]);
    const TrapEvent& ev = rx_->events().back();
    EXPECT_EQ(ev.enterprise, ENT);
    EXPECT_EQ(ev.uptime, 4200u);
    EXPECT_EQ(ev.source, "127.0.0.9");
    EXPECT_EQ(ev.agent_addr, "127.0.0.1");
    ASSERT_EQ(ev.vars.size(), 3u);
    EXPECT_EQ(ev.vars[0].name, "mrxpCurrentUserName");
    EXPECT_EQ(ev.vars[0].instance, "3");
    EXPECT_EQ(ev.vars[0].value, "ann");
    EXPECT_EQ(ev.vars[1].name, "callBeginTrapObj");
    EXPECT_EQ(ev.vars[1].enum_name, "enabled");
    // Not in the catalogue: named by its identifier.
    EXPECT_EQ(ev.vars[2].name, "1.3.6.1.4.1.99999.7");
    EXPECT_EQ(ev.vars[2].instance, "");
    EXPECT_EQ(event_time_text(ev.time_ms), "2025-12-07T16:55:00.123Z");
}

TEST_F(Receiver, HostileTrafficIsCountedAndBounded) {
    std::string trap = encode_trap("public", ENT, 6, 1, {{USER3, 's', "x"}});
    // A flood from one sender: its burst, then its rate as time passes.
    for (int i = 0; i < 10000; ++i)
        send(trap);
    EXPECT_EQ(rx_->total_events(), 100);
    EXPECT_EQ(rx_->counts().flood_dropped, 9900);
    steady_ += 1000;
    for (int i = 0; i < 100; ++i)
        send(trap);
    EXPECT_EQ(rx_->total_events(), 150);
    // Another sender: malformed datagrams (a v2c message among them), a
    // request, a trap of 300 variables (kept: the bound).
    std::string v2 = trap;
    v2[v2.find(std::string("\x02\x01\x00", 3)) + 2] = 1;
    std::string malformed[] = {"", "\x30\x03\x02\x01", trap.substr(0, trap.size() - 3),
                               std::string(9000, '\x30'), std::string("\xff\xfe garbage", 10)};
    for (const std::string& m : malformed)
        send(m, "127.0.0.10");
    send(v2, "127.0.0.10");
    send(encode_get("public"), "127.0.0.10");
    send(encode_trap("public", ENT, 6, 1, std::vector<TestVar>(300, {USER3, 'i', "1"})),
         "127.0.0.10");
    EXPECT_EQ(rx_->counts().malformed, 6);
    EXPECT_EQ(rx_->counts().not_trap, 1);
    ASSERT_EQ(rx_->total_events(), 151);
    EXPECT_EQ(rx_->events().back().vars.size(), EVENT_MAX_VARS);
    EXPECT_EQ(rx_->counts().vars_cut, 300 - static_cast<long>(EVENT_MAX_VARS));
    // Senders beyond the table (4) share one budget; kept events stay
    // bounded.
    for (const char* s : {"127.0.1.1", "127.0.1.2", "127.0.1.3", "127.0.1.4"})
        for (int i = 0; i < 60; ++i)
            send(trap, s);
    EXPECT_EQ(rx_->total_events(), 151 + 60 + 60 + 100);
    EXPECT_EQ(rx_->counts().datagrams, 10100 + 8 + 240);
    EXPECT_EQ(rx_->events().size(), 150u);
}

TEST(EventLog, RotatesAtItsBoundAndReadsBackInOrder) {
    TempDir tmp;
    std::string folder = tmp.file("events");
    {
        EventLog log(folder, 1000, 2);
        for (int i = 0; i < 100; ++i)
            ASSERT_TRUE(log.append("line " + std::to_string(i) + std::string(90, '.')));
    }
    struct stat st;
    for (int k = 0; k <= 2; ++k) {
        ASSERT_EQ(stat(event_log_path(folder, k).c_str(), &st), 0) << k;
        EXPECT_LE(st.st_size, 1000);
    }
    EXPECT_NE(stat(event_log_path(folder, 3).c_str(), &st), 0);
    std::vector<std::string> lines = read_event_log(folder, 2);
    ASSERT_GE(lines.size(), 20u);
    ASSERT_LE(lines.size(), 30u);
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].rfind("line " + std::to_string(100 - lines.size() + i), 0), 0u);
    // A log reopened goes on where it was, within the bound.
    EventLog again(folder, 1000, 2);
    again.append("last");
    EXPECT_EQ(read_event_log(folder, 2).back(), "last");
}

TEST(EventJson, RoundTripsAndRefusesBrokenLines) {
    TrapEvent ev;
    ev.time_ms = 1765126500123;
    ev.source = "127.0.0.5";
    ev.agent_addr = "127.0.0.5";
    ev.enterprise = ENT;
    ev.generic = 6;
    ev.specific = 3;
    ev.uptime = 4294967295u;
    ev.vars.push_back({"mrxpCurrentUserName", "1.3.6.1.4.1.32473.2.5.2.1.27.3", "3", 3,
                       "a \"quoted\"\\ \x01 name", ""});
    ev.vars.push_back({"callBeginTrapObj", "1.3.6.1.4.1.32473.2.20.1.0", "0", 0, "1", "enabled"});
    std::string line = event_to_json(ev);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    TrapEvent back;
    ASSERT_TRUE(event_from_json(line, &back)) << line;
    EXPECT_EQ(event_to_json(back), line);
    EXPECT_EQ(back.device, "");
    for (const char* bad : {"", "{", "{\"time\":}", "{\"vars\":[{\"name\":1}]}", "[1,2]",
                            "{\"generic\":6} trailing", "{\"vars\":[{\"name\":\"a\"}"})
        EXPECT_FALSE(event_from_json(bad, &back)) << bad;
}

} // namespace
