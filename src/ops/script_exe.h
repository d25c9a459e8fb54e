// Viewing and executing scripts: every line is checked before anything is
// sent; wildcarded ports come from the execution port dialog; the SETs go
// through the change pipeline.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "ops/script_crt.h"
#include "ops/script_file.h"
#include "ops/set_cmd.h"

// A script's text (header included) and the window title "(base name)";
// refused, with the warning, when there is no such script.
struct ScriptView {
    Outcome outcome;
    std::string title;
};
ScriptView view_script(const std::string& typed);
// The port dialog's texts of the wildcarded kinds ("1" and "2" for en and ds1inf).
std::array<std::string, SK_COUNT> scr_exe_fixed_texts(const ScrKinds& wild);

// The SET nodes of one valid line on every selected, reachable device that
// allows sets (a "*" port takes the ports of its kind from wild; with none
// given the line is refused in msg and *no_port set).
void execute_scr_proc_line(const ScriptLine& l, const ScrPortSet& wild,
                           const std::vector<MorixRecord*>& devices, std::string* msg,
                           bool* nonexistent, bool* no_port = nullptr);

// The checks before a script runs: the file, its header and every line.
// The outcome's report lists the invalid lines, its warnings why the file
// cannot be used; ready when it may run. wild: the kinds its "*" lines
// take ports of that a device has.
struct ScriptCheck {
    Outcome outcome;
    std::string path;
    ScrKinds wild{};
    bool any_wild = false;
    bool ready = false;
};
ScriptCheck check_script_exec(const std::string& typed, const std::vector<MorixRecord*>& devices);
// One execution: the script's lines built on the devices and sent through
// the change pipeline (the cancel dialog over parent); the reset is the
// outcome's follow-up.
struct ScriptRun {
    std::string path;
    ScrPortSet ports;
    std::vector<MorixRecord*> devices;
    int parent = 0;
};
SetOutcome run_script(const ScriptRun& run, Asker& asker);
// The questions before a run: the ports left out (when ports_missing),
// then the confirmation naming the devices. True when both were answered OK.
bool confirm_script_run(const std::vector<MorixRecord*>& devices, bool ports_missing, Asker& asker);
