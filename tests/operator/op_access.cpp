// An operator not in bin/users.list: the controls that change a device are
// greyed wherever they are (Undo Last Change and Set in the Commands menu
// in Customize mode, the OK of Add Async Port built later), the windows that
// only read stay usable, and the device keeps its values.
#include <gtest/gtest.h>

#include <Xm/Xm.h>

#include <cstdlib>

#include "frame/gui_run.h"
#include "operator/operator.h"
#include "operator/operator_x.h"

namespace {

bool g_ready = false;
std::unique_ptr<SimProcess> g_sim;

const char* const A = "127.0.85.1";
const char* const ANY = "Setup: *";
const char* const ADD = "Setup: Async Ports (continued)";

// The control (in a menu of the window when menu is given) is greyed.
Step greyed(const std::string& window, const std::string& menu, const std::string& label) {
    return check(label + " is greyed", [=]() -> std::string {
        Widget w = shell_titled(window);
        if (w != nullptr && !menu.empty()) {
            Widget cascade = find_control(w, menu), sub = nullptr;
            if (cascade != nullptr)
                XtVaGetValues(cascade, XmNsubMenuId, &sub, nullptr);
            w = sub;
        }
        Widget c = w != nullptr ? find_control(w, label) : nullptr;
        if (c == nullptr)
            return "no control " + label;
        return XtIsSensitive(c) ? "it is sensitive" : "";
    });
}

TEST(OpAccess, ChangesAreGreyedForAnUnlistedOperator) {
    NEED_PROGRAM();
    const char* P = "Setup: Async Ports Edit";
    std::string before = snmp_get(A, "mrxpCliInactivity.1");
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(run_scenario(
                  "access_unlisted",
                  {answer_if_asked("Warning Message", "OK"), toggle(MAIN, "Customize", true),
                   greyed(MAIN, "Commands", "Undo Last Change..."),
                   greyed(MAIN, "Commands", "Set..."), toggle(MAIN, "Customize", false),
                   click(MAIN, "Setup..."), toggle(ANY, "Async Ports Edit", true), wait_window(P),
                   type_into(P, "Ports (e.g. 1-4,7 or all):", "1"), click(P, "Read Ports"),
                   click(P, "Add Async Port..."), wait_window(ADD), greyed(ADD, "", "OK"),
                   greyed(P, "", "Apply"), click(ADD, "Close"), answer_if_asked("Question", "OK"),
                   device_has(A, "mrxpCliInactivity.1", before), expect_no_overlap(P)}),
              "");
}

} // namespace

int main(int argc, char** argv) {
    GuiTestRun run;
    run.sim.devices = {{sim_profile("modelj.prof"), A}};
    run.first = A;
    run.click_to_type = true;
    run.unlisted = true;
    run.skip_status = 77;
    run_gui_tests(argc, argv, run, &g_ready, &g_sim);
}
