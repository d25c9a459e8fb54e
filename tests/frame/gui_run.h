// The run of a GUI test program against simulated devices: a private X
// server (and window manager), a copy of the staged installation tree as
// GUI_MM_DIR, the simulator, and gui_mm started in-process with one device
// named on its command line and the others added with Add.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "support/netns.h"
#include "support/sim_process.h"

struct GuiTestRun {
    SimOptions sim;                 // the simulated devices (and load host)
    std::string first;              // named with -mrx at start-up
    std::vector<std::string> added; // added with Add once start-up finished
    bool window_manager = true;     // start mwm on the server
    bool click_to_type = false;     // mwm's own focus policy (see start_mwm)
    // Exit status when the tests cannot run here (outside the private
    // network namespace, no X server): ctest's SKIP_RETURN_CODE, or 0.
    int skip_status = 0;
    bool privileged = false;      // the login name in bin/users.list
    bool unlisted = false;        // a bin/users.list that does not name the login
    std::vector<std::string> env; // NAME=VALUE set before the program starts
};

// Sets everything up (only inside the test network namespace), runs the
// tests, stops what it started and ends the process with their status.
// *ready tells the tests whether the program is up; *sim holds the
// simulator while they run; *install (may be null) the installation copy.
[[noreturn]] void run_gui_tests(int argc, char** argv, const GuiTestRun& run, bool* ready,
                                std::unique_ptr<SimProcess>* sim, std::string* install = nullptr);
