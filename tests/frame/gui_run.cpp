#include "gui_run.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "frame/gui_harness.h"
#include "motif/motif_internal.h"
#include "support/skip_status.h"
#include "ui/program.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

bool init_done() {
    return g_init_done != 0;
}

// Starts the server, the simulator and the program; true when it is up.
bool start_program(const GuiTestRun& run, std::unique_ptr<SimProcess>* sim, std::string* install) {
    *install = copy_stage_dir();
    setenv("GUI_MM_DIR", install->c_str(), 1);
    if (run.privileged)
        std::ofstream(*install + "/bin/users.list") << mm_login_name() << "\n";
    if (run.unlisted)
        std::ofstream(*install + "/bin/users.list") << "nobody\n";
    for (const std::string& e : run.env) {
        size_t eq = e.find('=');
        setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
    }
    *sim = std::make_unique<SimProcess>(run.sim);
    if (!(*sim)->ready())
        return false;
    std::string first = run.first;
    char a0[] = "gui_mm", a1[] = "-nod", a2[] = "-mrx", a4[] = "-w", a5[] = "vantor";
    char* args[] = {a0, a1, a2, first.data(), a4, a5, nullptr};
    gui_start(6, args);
    bool up = pump_until(init_done, 30000);
    for (const std::string& name : run.added) {
        ui_set_text(W_MRX_NAME_TF, name);
        press(W_ADD_PB);
        pump(200);
    }
    return up;
}

} // namespace

void run_gui_tests(int argc, char** argv, const GuiTestRun& run, bool* ready,
                   std::unique_ptr<SimProcess>* sim, std::string* install) {
    ::testing::InitGoogleTest(&argc, argv);
    std::string copy;
    bool here = in_private_netns() && start_xvfb();
    if (here && (!run.window_manager || start_mwm(run.click_to_type)))
        *ready = start_program(run, sim, &copy);
    if (install)
        *install = copy;
    int rc = RUN_ALL_TESTS();
    if (!here && run.skip_status != 0)
        rc = run.skip_status;
    sim->reset();
    if (here)
        stop_xvfb();
    if (!copy.empty())
        remove_tree(copy);
    std::fflush(stdout);
    _exit(skip_aware_status(rc));
}
