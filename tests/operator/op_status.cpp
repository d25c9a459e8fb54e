// Every status window driven as an operator: the device chosen in the main
// window, the entry of the Status menu, the window's fields, Update, and
// what the window then shows compared with what the device holds.
#include <gtest/gtest.h>

#include <unistd.h>

#include <memory>

#include "frame/gui_run.h"
#include "operator/operator.h"

namespace {

bool g_ready = false;
std::unique_ptr<SimProcess> g_sim;

struct StatusCase {
    const char* entry; // of the Status menu
    const char* row;   // device chosen in the main window
    const char* title; // of the window, before " : device"
    const char* input; // label of the window's port or channel field, or ""
    const char* ports; // typed into it
    const char* var;   // a variable the window shows, read from the device too
    const char* shown; // what the window shows before its value
};

const StatusCase cases[] = {
    {"Morix Status", "<127.0.83.1> : ModelJ", "Morix Status", "", "", "", "System Up Time"},
    {"Async Port Status...", "<127.0.83.1> : ModelJ", "Morix Async Port Status", "Ports", "1-3",
     "totalPorts", "Num Ports: "},
    {"Interface Port Status", "<127.0.83.1> : ModelJ", "Morix Interface Status", "", "",
     "ifDescr.2", ""},
    {"PRI Channels Status...", "<127.0.83.2> : ModelQ", "Morix PRI Channels Status", "Channels",
     "1,2,5", "", "Async Channels"},
    {"Internal CSU Status", "<127.0.83.6> : ModelT", "Morix PRI Internal CSU Status", "", "", "",
     "Out of Frame"},
    {"Internal CSU Status", "<127.0.83.5> : ModelN", "Morix T1 Internal CSU Status", "", "", "",
     "Out of Frame"},
    {"Modem Calls Status", "<127.0.83.2> : ModelQ", "Morix Modem Calls Status", "", "", "",
     "Total Calls"},
    {"MP Status", "<127.0.83.4> : ModelJ", "Morix MP Status", "", "", "", "ep-dave-01"},
};

std::string address_of(const std::string& row) {
    return row.substr(1, row.find('>') - 1);
}

TEST(OpStatus, EveryStatusWindowShowsTheDevice) {
    NEED_PROGRAM();
    for (const StatusCase& c : cases) {
        std::string addr = address_of(c.row);
        std::string title = std::string(c.title) + " : " + addr;
        std::string value = *c.var != '\0' ? snmp_get(addr, c.var) : "";
        ASSERT_TRUE(*c.var == '\0' || !value.empty()) << c.var;
        std::string shown = c.shown + value;
        Steps s = {toggle(MAIN, "Customize", true), select_item(MAIN, "mrx_list", c.row),
                   menu(std::string("Status>") + c.entry), wait_window(title)};
        if (*c.input != '\0') {
            s.push_back(type_into(title, c.input, c.ports));
            s.push_back(click(title, "Update"));
        }
        s.push_back(check(
            "the window shows " + shown,
            [=]() -> std::string {
                std::string all;
                for (const char* w :
                     {"mrx_st_text", "asy_st_text", "itf_st_text", "pri_st_text", "pri_csu_st_text",
                      "t1_st_text", "imdm_st_text", "udas_st_text", "mp_st_text"})
                    all += text_of(title, w);
                return all.find(shown) != std::string::npos ? "" : "it shows " + all.substr(0, 300);
            },
            20000));
        s.push_back(click(title, "Close"));
        s.push_back(wait_closed(title));
        EXPECT_EQ(run_scenario(std::string("status_") + c.title, s), "") << c.title;
    }
}

// Refresh every second, on the toolkit's timer: the device's up time moves
// on in the window without Update.
TEST(OpStatus, AutomaticRefreshReadsTheDeviceAgain) {
    NEED_PROGRAM();
    const char* W = "Morix Status : 127.0.83.1";
    auto first = std::make_shared<std::string>();
    EXPECT_EQ(run_scenario("status_auto_refresh",
                           {toggle(MAIN, "Customize", true),
                            select_item(MAIN, "mrx_list", "<127.0.83.1> : ModelJ"),
                            menu("Status>Morix Status"), wait_window(W),
                            check("the window shows the up time",
                                  [=]() -> std::string {
                                      *first = text_of(W, "mrx_st_text");
                                      return first->find("System Up Time") != std::string::npos
                                                 ? ""
                                                 : "it does not";
                                  }),
                            type_into(W, "mrx_st_secs", "1"), toggle(W, "Refresh every", true),
                            check("the window is read again",
                                  [=]() -> std::string {
                                      return text_of(W, "mrx_st_text") != *first ? "" : "it is not";
                                  }),
                            toggle(W, "Refresh every", false), click(W, "Close"), wait_closed(W)}),
              "");
}

// The Events window starts the receiver; a trap sent with snmptrap appears
// live; the kind filter hides and shows it; Save writes what is shown.
TEST(OpStatus, EventsWindowShowsATrapFiltersAndSavesIt) {
    NEED_PROGRAM();
    const char* W = "Events";
    std::string file = "/tmp/op_events_" + std::to_string(getpid()) + ".txt";
    auto send = [] {
        return run_program({"snmptrap", "-v1", "-c", "vantor", "127.0.0.1:16258",
                            "1.3.6.1.4.1.32473.1.3.10", "127.0.83.1", "0", "0", "4200"},
                           10000, {"MIBS="})
                           .status == 0
                   ? ""
                   : "snmptrap failed";
    };
    auto text_lacks = [W](const std::string& part) {
        return [W, part]() -> std::string {
            return text_of(W, "ev_text").find(part) == std::string::npos ? "" : "it shows " + part;
        };
    };
    Steps s = {menu("Status>Events..."),
               wait_window(W),
               check("a trap is sent", send),
               wait_text(W, "ev_text", " 127.0.83.1 coldStart uptime 0:00:42"),
               type_into(W, "ev_kind", "linkDown"),
               click(W, "Filter"),
               check("the filter hides it", text_lacks("coldStart")),
               type_into(W, "ev_kind", "coldStart"),
               click(W, "Filter"),
               wait_text(W, "ev_text", " 127.0.83.1 coldStart "),
               click(W, "Save..."),
               wait_window("Save Output/Messages File Selection"),
               type_into("Save Output/Messages File Selection", "Selection", file),
               click("Save Output/Messages File Selection", "OK"),
               file_has(file, " 127.0.83.1 coldStart uptime 0:00:42"),
               click(W, "Close"),
               wait_closed(W)};
    EXPECT_EQ(run_scenario("events", s), "");
    unlink(file.c_str());
}

} // namespace

int main(int argc, char** argv) {
    GuiTestRun run;
    run.sim.devices = {{sim_profile("modelj.prof"), "127.0.83.1"},
                       {sim_profile("stat_pri.prof"), "127.0.83.2"},
                       {sim_profile("stat_mp.prof"), "127.0.83.4"},
                       {sim_profile("modeln.prof"), "127.0.83.5"},
                       {sim_profile("modelt.prof"), "127.0.83.6"}};
    run.first = "127.0.83.1";
    run.added = {"127.0.83.2", "127.0.83.4", "127.0.83.5", "127.0.83.6"};
    run.click_to_type = true;
    run.skip_status = 77;
    run.env = {"GUI_MM_TRAP_PORT=16258"};
    run_gui_tests(argc, argv, run, &g_ready, &g_sim);
}
