// The main window, its lists and the Morix menu, driven as an operator:
// devices added, queried and deleted, lists saved and opened, SNMP and
// site settings, help windows. Read back from the devices and the files.
#include <gtest/gtest.h>

#include "frame/gui_run.h"
#include "operator/operator.h"

namespace {

bool g_ready = false;
std::unique_ptr<SimProcess> g_sim;
std::string g_install;

#define NEED_PROGRAM()                                                                             \
    if (!g_ready)                                                                                  \
    GTEST_SKIP() << "needs the private network namespace and an X server"

bool listed(const std::string& row) {
    for (const std::string& item : list_items(MAIN, "mrx_list"))
        if (item == row)
            return true;
    return false;
}

Step row_is(const std::string& row, bool present) {
    return check(std::string(present ? "list shows " : "list lacks ") + row,
                 [=]() -> std::string {
                     return listed(row) == present ? "" : "the device list is wrong";
                 });
}

TEST(OpMain, AddQueryDelete) {
    NEED_PROGRAM();
    EXPECT_EQ(run_scenario("main_add_query_delete",
                           {type_into(MAIN, "Morix Name:", "127.0.80.3"), click(MAIN, "Add"),
                            row_is("<127.0.80.3> : ModelT", true),
                            open_item(MAIN, "mrx_list", "<127.0.80.3> : ModelT"),
                            wait_text("Morix Information", "mrx_info_lbl", "127.0.80.3"),
                            answer_key("Morix Information", "Return"),
                            select_item(MAIN, "mrx_list", "<127.0.80.3> : ModelT"),
                            click(MAIN, "Delete"), row_is("<127.0.80.3> : ModelT", false)}),
              "");
}

} // namespace

int main(int argc, char** argv) {
    GuiTestRun run;
    run.sim.devices = {{sim_profile("modelj.prof"), "127.0.80.1"},
                       {sim_profile("modelq.prof"), "127.0.80.2"},
                       {sim_profile("modelt.prof"), "127.0.80.3"}};
    run.first = "127.0.80.1";
    run.added = {"127.0.80.2"};
    run.click_to_type = true;
    run.privileged = true;
    run.skip_status = 77;
    run_gui_tests(argc, argv, run, &g_ready, &g_sim, &g_install);
}
