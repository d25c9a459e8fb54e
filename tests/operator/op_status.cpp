// Every status window driven as an operator: the device chosen in the main
// window, the entry of the Status menu, the window's fields, Update, and
// what the window then shows compared with what the device holds.
#include <gtest/gtest.h>

#include <unistd.h>

#include <memory>

#include "frame/gui_run.h"
#include "motif/motif_internal.h"
#include "operator/operator.h"
#include "operator/operator_x.h"

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

// A refreshing window and its warnings, for two minutes of the timer
// service's clock: the repeated warning is shown once, stays on top with
// the focus and pauses the refresh while it is open; OK and Escape clear
// it alike; the refresh never raises its window over the main window.

std::vector<std::string> g_xt_warnings;

void keep_xt_warning(String name, String type, String cls, String def, String*, Cardinal*) {
    g_xt_warnings.push_back(std::string(name) + " " + type + " " + cls + ": " + def);
}

const char* const PRI = "Morix PRI Channels Status : 127.0.83.2";
const char* const UNUSED = "Some of the specified channels are unused.";

// Counts the times the window's text is written (a refresh rewrites it).
std::shared_ptr<int> count_writes() {
    auto n = std::make_shared<int>(0);
    Widget w = find_input(shell_titled(PRI), "pri_st_text");
    XtAddCallback(
        w, XmNvalueChangedCallback,
        [](Widget, XtPointer client, XtPointer) { ++*static_cast<int*>(client); }, n.get());
    return n;
}

Step advance(int secs) {
    return check("let " + std::to_string(secs) + " s pass", [=] {
        advance_timer_clock(secs * 1000);
        return std::string();
    });
}

Step warning_once() {
    return check("one warning, once, on top with the focus", []() -> std::string {
        std::string text = warning_box_text();
        if (text != UNUSED)
            return "the warning holds \"" + text + "\"";
        return why_not_answerable("Warning Message");
    });
}

// The window is below the other one in the stack.
Step below(const std::string& title, const std::string& other) {
    return check(title + " stays below " + other, [=]() -> std::string {
        std::vector<std::string> t = window_titles();
        auto at = [&](const std::string& x) {
            return std::find(t.begin(), t.end(), x) - t.begin();
        };
        return at(title) < at(other) ? "" : "it was raised over " + other;
    });
}

// The operator's work in another program: a window of another client of
// the X server, placed over the window by its size hints.
const char* const OTHER = "Operator's notes";
Step other_window_over(const std::string& title, Window* made) {
    return check("another program's window over " + title, [=]() -> std::string {
        Widget shell = shell_titled(title);
        Display* dpy = XtDisplay(shell);
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(dpy, XtWindow(shell), DefaultRootWindow(dpy), 0, 0, &x, &y, &child);
        *made = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), x, y, 300, 200, 0, 0, 0);
        XSizeHints hints{};
        hints.flags = USPosition | USSize;
        hints.x = x;
        hints.y = y;
        hints.width = 300;
        hints.height = 200;
        XSetWMNormalHints(dpy, *made, &hints);
        XStoreName(dpy, *made, OTHER);
        XMapRaised(dpy, *made);
        XFlush(dpy);
        return std::string();
    });
}

TEST(OpStatus, RefreshingWindowNeverTrapsTheOperator) {
    NEED_PROGRAM();
    XtAppSetWarningMsgHandler(app_context, keep_xt_warning);
    auto writes = std::make_shared<std::shared_ptr<int>>();
    auto seen = std::make_shared<int>(0);
    Step count = check("count the refreshes", [=] {
        *seen = **writes;
        return std::string();
    });
    Step read_again = check("the window is read again",
                            [=]() -> std::string { return **writes > *seen ? "" : "it is not"; });
    Step warned_again = wait_window("Warning Message", 10000);
    Steps s = {toggle(MAIN, "Customize", true),
               select_item(MAIN, "mrx_list", "<127.0.83.2> : ModelQ"),
               menu("Status>PRI Channels Status..."),
               wait_window(PRI),
               check("the manual clock",
                     [=] {
                         use_manual_timer_clock(true);
                         *writes = count_writes();
                         return std::string();
                     }),
               type_into(PRI, "pri_st_secs", "10"),
               toggle(PRI, "Refresh every", true),
               type_into(PRI, "Channels", "1-5"),
               click(PRI, "Update"),
               warned_again,
               warning_once(),
               count};
    // Two minutes with the warning open: no refresh, the box unchanged.
    for (int i = 0; i < 12; ++i)
        s = s + Steps{advance(10), pause(120), warning_once()};
    // OK, Return and Escape clear it alike: the next refresh brings it once
    // more, alone, and nothing of it comes back with the next window.
    s = s + Steps{check("no refresh while the warning is open",
                        [=]() -> std::string {
                            return **writes == *seen ? "" : "the window was read again";
                        }),
                  answer("Warning Message", "OK"),
                  advance(10),
                  warned_again,
                  warning_once(),
                  answer_key("Warning Message", "Return"),
                  advance(10),
                  warned_again,
                  warning_once(),
                  answer_key("Warning Message", "Escape"),
                  check("Escape cleared the warning", []() -> std::string {
                      return warning_box_text().empty() ? "" : "it is still pending";
                  })};
    // Channels in use: the refresh goes on, never over the main window nor
    // over another program's window (the window manager handles a raise on
    // its own time: the stack is looked at a little later).
    auto other = std::make_shared<Window>(0);
    s = s + Steps{type_into(PRI, "Channels", "1,2"),
                  click(PRI, "Update"),
                  type_into(MAIN, "Morix Name:", ""),
                  count,
                  other_window_over(PRI, other.get()),
                  check("the other program's window is on top", []() -> std::string {
                      return window_titles().back() == OTHER ? "" : "it is not";
                  })};
    for (int i = 0; i < 3; ++i)
        s = s +
            Steps{advance(10), read_again, pause(500), below(PRI, MAIN), below(PRI, OTHER), count};
    s.push_back(check("the other program's window goes", [=] {
        XDestroyWindow(XtDisplay(top_level), *other);
        return std::string();
    }));
    s = s + Steps{menu("Status>Morix Status"),
                  wait_window("Morix Status : 127.0.83.2"),
                  pause(500),
                  check("no warning came back",
                        []() -> std::string {
                            return shell_titled("Warning Message") == nullptr
                                       ? ""
                                       : "it came back: " + warning_box_text();
                        }),
                  click("Morix Status : 127.0.83.2", "Close"),
                  click(PRI, "Close"),
                  wait_closed(PRI),
                  check("the real clock", [] {
                      use_manual_timer_clock(false);
                      return std::string();
                  })};
    EXPECT_EQ(run_scenario("status_refresh_warning", s, 120000), "");
    for (const std::string& w : g_xt_warnings)
        EXPECT_EQ(w.find("cannot be changed"), std::string::npos) << w;
}

// A window reading a slow device on its automatic refresh: Close, clicked
// while the read is under way, closes the window and stops the refresh.
Step close_while_reading(const std::string& title) {
    return check(
        "click Close while the window reads its device",
        [=]() -> std::string {
            Widget shell = shell_titled(title);
            if (shell == nullptr || shell_titled("Cancel Status") == nullptr)
                return "the window is not reading";
            Widget close = find_control(shell, "Close");
            std::string why = why_not_clickable(close);
            if (why.empty() && click_wait_ms() > 0)
                why = "waiting out the double-click time";
            if (!why.empty())
                return why;
            click_widget(close);
            return "";
        },
        20000);
}

TEST(OpStatus, CloseStopsARefreshThatIsReading) {
    NEED_PROGRAM();
    const char* W = "Morix Status : 127.0.83.7";
    Steps s = {toggle(MAIN, "Customize", true),
               select_item(MAIN, "mrx_list", "<127.0.83.7> : ModelJ"),
               menu("Status>Morix Status"),
               wait_window(W, 20000),
               wait_closed("Cancel Status", 20000),
               check("the manual clock",
                     [] {
                         use_manual_timer_clock(true);
                         return std::string();
                     }),
               type_into(W, "mrx_st_secs", "10"),
               toggle(W, "Refresh every", true),
               advance(10),
               close_while_reading(W),
               wait_closed(W, 20000),
               wait_closed("Cancel Status", 20000),
               advance(10),
               pause(300),
               check("the refresh stopped", []() -> std::string {
                   use_manual_timer_clock(false);
                   return shell_titled("Cancel Status") == nullptr ? "" : "it reads again";
               })};
    EXPECT_EQ(run_scenario("status_close_while_reading", s, 60000), "");
}

} // namespace

int main(int argc, char** argv) {
    GuiTestRun run;
    run.sim.devices = {
        {sim_profile("modelj.prof"), "127.0.83.1"},  {sim_profile("stat_pri.prof"), "127.0.83.2"},
        {sim_profile("stat_mp.prof"), "127.0.83.4"}, {sim_profile("modeln.prof"), "127.0.83.5"},
        {sim_profile("modelt.prof"), "127.0.83.6"},  {sim_profile("modelj.prof"), "127.0.83.7"}};
    run.sim.faults = {"127.0.83.7:delay=600"};
    run.first = "127.0.83.1";
    run.added = {"127.0.83.2", "127.0.83.4", "127.0.83.5", "127.0.83.6", "127.0.83.7"};
    run.click_to_type = true;
    run.skip_status = 77;
    run.env = {"GUI_MM_TRAP_PORT=16258"};
    run_gui_tests(argc, argv, run, &g_ready, &g_sim);
}
