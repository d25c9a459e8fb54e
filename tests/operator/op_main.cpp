// The main window, its lists and the Morix menu, driven as an operator:
// devices added, queried and deleted, lists saved and opened, SNMP and
// site settings, help windows. Read back from the devices and the files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>

#include "frame/gui_run.h"
#include "motif/motif_internal.h"
#include "operator/operator.h"
#include "operator/operator_x.h"

namespace {

bool g_ready = false;
std::unique_ptr<SimProcess> g_sim;
std::string g_install;

bool listed(const std::string& row) {
    for (const std::string& item : list_items(MAIN, "mrx_list"))
        if (item == row)
            return true;
    return false;
}

Step row_is(const std::string& row, bool present) {
    return check(std::string(present ? "list shows " : "list lacks ") + row, [=]() -> std::string {
        return listed(row) == present ? "" : "the device list is wrong";
    });
}

const char* const J = "<127.0.80.1> : ModelJ";
const char* const T = "<127.0.80.3> : ModelT";

// Types a path into a file selection box and presses OK.
Steps pick_file(const std::string& title, const std::string& path) {
    return {wait_window(title), type_into(title, "Selection", path), click(title, "OK"),
            wait_closed(title)};
}

TEST(OpMain, AddQueryDelete) {
    NEED_PROGRAM();
    EXPECT_EQ(
        run_scenario("main_add_query_delete",
                     {type_into(MAIN, "Morix Name:", "127.0.80.3"), click(MAIN, "Add"),
                      row_is(T, true), open_item(MAIN, "mrx_list", T),
                      wait_text("Morix Information", "mrx_info_lbl", "ModelT"),
                      answer_key("Morix Information", "Return"), open_item(MAIN, "mrx_list", T),
                      wait_text("Morix Information", "mrx_info_lbl", "127.0.80.3"),
                      answer_key("Morix Information", "Escape"),
                      type_into(MAIN, "Morix Name:", "127.0.80.3"), click(MAIN, "Query"),
                      row_is(T, true), select_item(MAIN, "mrx_list", T), click(MAIN, "Delete"),
                      row_is(T, false)}),
        "");
}

TEST(OpMain, ListSaveAndOpen) {
    NEED_PROGRAM();
    std::string file = g_install + "/data/mrx_lists/op_main.lst";
    Steps s = {menu("File>Save Morix List...")};
    for (const Step& st : pick_file("Save Morix List Selection", file))
        s.push_back(st);
    s.push_back(file_has(file, "127.0.80.2"));
    s.push_back(select_item(MAIN, "mrx_list", J));
    s.push_back(click(MAIN, "Delete"));
    s.push_back(row_is(J, false));
    s.push_back(menu("File>Open Morix List..."));
    for (const Step& st : pick_file("Open Morix List Selection", file))
        s.push_back(st);
    s.push_back(row_is(J, true));
    EXPECT_EQ(run_scenario("main_list_save_open", s), "");
}

TEST(OpMain, SnmpInformation) {
    NEED_PROGRAM();
    const char* W = "SNMP Information";
    EXPECT_EQ(run_scenario("main_snmp_information",
                           {select_item(MAIN, "mrx_list", J), menu("Morix>SNMP Information..."),
                            wait_window(W), type_into(W, "Retries:", "4"),
                            toggle(W, "Update defaults", true), click(W, "Set"),
                            type_into(W, "Retries:", "3"),
                            toggle(W, "Update selected Morixes", true), click(W, "Set"),
                            // Get reads the device's values, Get Defaults the program's.
                            type_into(W, "Retries:", "1"), click(W, "Get"),
                            wait_text(W, "Retries:", "3"), click(W, "Get Defaults"),
                            wait_text(W, "Retries:", "4"), click(W, "Close"), wait_closed(W)}),
              "");
}

TEST(OpMain, SiteParameters) {
    NEED_PROGRAM();
    const char* W = "Site Parameters";
    EXPECT_EQ(run_scenario("main_site_parameters",
                           {toggle(MAIN, "Customize", true), menu("Commands>Site Parameters..."),
                            wait_window(W), toggle(W, "Morix", true),
                            select_item(W, "Parameters", "mrxDialoutRetries"),
                            type_into(W, "Site Default:", "6"), click(W, "Modify"),
                            file_has(g_install + "/data/gui_mm_data/mib_site_def.dat", "92 | 6"),
                            // An enumerated variable is edited by name, stored by number.
                            select_item(W, "Parameters", "mrxDialoutEnable"),
                            choose(W, "site_def_val_om", "disabled"), click(W, "Modify"),
                            file_has(g_install + "/data/gui_mm_data/mib_site_def.dat", "90 | 0"),
                            click(W, "Close"), wait_closed(W)}),
              "");
}

TEST(OpMain, HelpWindows) {
    NEED_PROGRAM();
    EXPECT_EQ(run_scenario("main_help",
                           {menu("Help>On Window..."), wait_text("Help", "help_text", "****"),
                            menu("Help>On Menus..."), wait_text("Help", "help_text", "Status"),
                            click("Help", "Close"), wait_closed("Help"), menu("Help>About..."),
                            wait_window("Morix Manager Info"),
                            answer_key("Morix Manager Info", "Return")}),
              "");
}

// Eight windows opened in a row stand at eight places; F1 in a window
// brings its help, Escape closes each.
TEST(OpMain, WindowsCascadeAndTakeTheKeys) {
    NEED_PROGRAM();
    const std::vector<std::pair<std::string, std::string>> windows = {
        {"Commands>Show...", "Show"},
        {"Commands>Compare...", "Compare"},
        {"Commands>User Defined Groups...", "User Defined Parameter Groups"},
        {"Commands>Scripts>Create Script...", "Create Script"},
        {"Commands>Scripts>View Script...", "View Script"},
        {"Morix>Discover Morixes...", "Discover Morixes/Search Device"},
        {"Commands>Copy...", "Copy"}};
    Steps s = {toggle(MAIN, "Customize", true), select_item(MAIN, "mrx_list", J)};
    for (const auto& [entry, title] : windows)
        s = s + Steps{menu(entry), wait_window(title)};
    s.push_back(check("no file of a dot offered", []() -> std::string {
        for (const std::string& i : list_items("View Script", "ItemsList"))
            if (i.find("/.") != std::string::npos || i.rfind('.', 0) == 0)
                return "it offers " + i;
        return "";
    }));
    s = s + Steps{key_in("Copy", "F1"), wait_text("Help", "help_text", "Copy Window ****"),
                  check("eight places", []() -> std::string {
                      std::set<std::pair<int, int>> at;
                      std::string all;
                      for (const TopWindow& t : top_windows()) {
                          if (t.title.empty())
                              continue;
                          XWindowAttributes a;
                          XGetWindowAttributes(XtDisplay(top_level), t.frame, &a);
                          at.insert({a.x, a.y});
                          all +=
                              " " + t.title + "@" + std::to_string(a.x) + "," + std::to_string(a.y);
                      }
                      return at.size() == 9 ? "" : "the windows stand at" + all;
                  })};
    // A window brought back by its menu entry takes the keys again.
    s = s + Steps{key_in("Help", "Escape"), wait_closed("Help")};
    for (auto w = windows.rbegin(); w != windows.rend(); ++w)
        s = s + Steps{menu(w->first), key_in(w->second, "Escape"), wait_closed(w->second)};
    EXPECT_EQ(run_scenario("main_cascade_keys", s), "");
}

TEST(OpMain, DiscoverAndNewDiscovery) {
    NEED_PROGRAM();
    const char* P = "Discover Morixes/Network";
    EXPECT_EQ(run_scenario("main_new_discovery",
                           {menu("Morix>New Discovery..."), wait_window(P),
                            type_into(P, "Internet Address", "127.0.0.0"),
                            type_into(P, "Subnet Mask", "255.0.0.0"), type_into(P, "Timeout", "2"),
                            click(P, "OK"), wait_window("Warning Message", 30000),
                            answer("Warning Message", "OK"), row_is(T, true)}),
              "");
    const char* W = "Discover Morixes/Search Device";
    std::string file = g_install + "/data/mrx_lists/op_found.lst";
    Steps s = {menu("Morix>Discover Morixes..."), wait_window(W),
               type_into(W, "Search Device:", "127.0.80.3"), type_into(W, "Timeout:", "1"),
               type_into(W, "Retries:", "0"), click(W, "Discover"),
               check(
                   "127.0.80.2 discovered",
                   [=]() -> std::string {
                       for (const std::string& i : list_items(W, "Discovered Morixes"))
                           if (i.find("127.0.80.2") != std::string::npos)
                               return "";
                       return "not in the list";
                   },
                   30000),
               // The text names the buttons as they are labelled.
               wait_text(W, "disc_text", "'Copy to List'"), click(W, "Save List...")};
    for (const Step& st : pick_file("Save Morix List Selection", file))
        s.push_back(st);
    s.push_back(file_has(file, "127.0.80.2"));
    s.push_back(click(W, "Close"));
    s.push_back(wait_closed(W));
    EXPECT_EQ(run_scenario("main_discover", s), "");
}

} // namespace

int main(int argc, char** argv) {
    // The search device of discovery knows the other two in its ARP table.
    const char* build = std::getenv("MM_BUILD_DIR");
    std::string search = std::string(build != nullptr ? build : ".") + "/op_search.prof";
    std::ifstream in(sim_profile("modelt.prof"));
    std::ofstream(search) << in.rdbuf() << "arp 1 127.0.80.1 08:00:2b:50:00:01 3\n"
                          << "arp 1 127.0.80.2 08:00:2b:50:00:02 3\n";
    GuiTestRun run;
    run.sim.devices = {{sim_profile("modelj.prof"), "127.0.80.1"},
                       {sim_profile("modelq.prof"), "127.0.80.2"},
                       {search, "127.0.80.3"}};
    run.first = "127.0.80.1";
    run.added = {"127.0.80.2"};
    run.click_to_type = true;
    run.privileged = true;
    run.skip_status = 77;
    run_gui_tests(argc, argv, run, &g_ready, &g_sim, &g_install);
}
