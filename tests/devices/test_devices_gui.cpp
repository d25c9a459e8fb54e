// The device list in the real windowed program against simulated devices
// under a private X server: what the list widget shows and its callbacks.
// The list's rules (duplicates, refusals, sorting) are tested headless.
// gtest first: the X headers define macros that clash with its names.
#include <gtest/gtest.h>

#include <Xm/List.h>
#include <Xm/TextF.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "../frame/gui_harness.h"
#include "../frame/gui_run.h"
#include "devices/mrx_list.h"
#include "frame/dispatch.h"
#include "frame/motif_internal.h"
#include "frame/startup.h"
#include "support/sim_process.h"
#include "ui/ui.h"

namespace {

bool g_ready = false;
std::unique_ptr<SimProcess> g_sim;

// Row texts of the device list as the list widget shows them.
std::vector<std::string> rows() {
    return ui_list_items(W_MRX_LIST);
}

// One flow, since each step starts from the list the one before left:
// start-up with -mrx and -w, Add by the name field and the button, a
// double-click on a row, Delete.
TEST(DevicesGui, DeviceListThroughTheRealWidgets) {
    REQUIRE_GUI(g_ready);
    EXPECT_EQ(rows(), (std::vector<std::string>{"<127.0.12.1> : ModelG"}));
    char* name = XmTextFieldGetString(widgets[W_MRX_NAME_TF]);
    EXPECT_STREQ(name, ""); // cleared because the list now holds the device
    XtFree(name);
    char* comm = XmTextFieldGetString(widgets[W_COMM_TF]);
    EXPECT_STREQ(comm, "vantor");
    XtFree(comm);

    XmTextFieldSetString(widgets[W_MRX_NAME_TF], const_cast<char*>("127.0.12.2"));
    press(31);
    pump(100);
    // ModelL sorts before ModelG.
    EXPECT_EQ(rows(), (std::vector<std::string>{"<127.0.12.2> : ModelL", "<127.0.12.1> : ModelG"}));

    XmListSelectPos(widgets[W_MRX_LIST], 2, False);
    XmListCallbackStruct cbs = {};
    cbs.reason = XmCR_DEFAULT_ACTION;
    cbs.item_position = 2;
    XtCallCallbacks(widgets[W_MRX_LIST], XmNdefaultActionCallback, &cbs);
    pump(200);
    ASSERT_TRUE(ui_exists(W_MRX_INFO_BOX));
    EXPECT_TRUE(ui_is_managed(W_MRX_INFO_BOX));
    std::string label = get_widget_label(W_MRX_INFO_LABEL);
    EXPECT_EQ(label.rfind("127.0.12.1 : \n\nMorix", 0), 0u) << label;
    EXPECT_NE(label.find("Inet Addr:  127.0.12.1"), std::string::npos);
    screenshot("devices_information_window");
    ui_unmanage(W_MRX_INFO_BOX);

    XmListDeselectAllItems(widgets[W_MRX_LIST]);
    XmListSelectPos(widgets[W_MRX_LIST], 1, False);
    press(32);
    pump(100);
    EXPECT_EQ(rows(), (std::vector<std::string>{"<127.0.12.1> : ModelG"}));
    EXPECT_EQ(ui_list_selected_pos(W_MRX_LIST), (std::vector<int>{1}));
    screenshot("devices_after_delete");
}

} // namespace

int main(int argc, char** argv) {
    GuiTestRun run;
    run.sim.devices = {{sim_profile("modelg.prof"), "127.0.12.1"},
                       {sim_profile("modell.prof"), "127.0.12.2"}};
    run.first = "127.0.12.1";
    run_gui_tests(argc, argv, run, &g_ready, &g_sim);
}
