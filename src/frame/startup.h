// Start-up logic that needs no X server: the command line, the installation
// directory, the users-list access check, the staged-initialisation window
// table and the progress figures. The toolkit side (startup_motif.cpp) runs
// these in the order of the start-up sequence.
#pragma once

#include <cstdio>
#include <string>

#include "ui/program.h"

// Command-line state, all empty or zero by default; discovery runs at start
// unless -nod is given.
struct CmdLineOpts {
    std::string mrx_name;       // -mrx: device to add at start
    std::string comm_str;       // -w...: community to preset
    std::string dsc_naddr_str;  // -dn: discovery network address
    std::string dsc_snmask_str; // -ds: discovery subnet mask
    int dsc_timeout = 0;        // -dt: discovery time-out in seconds
    int dsc_flag = 1;           // 0 after -nod
};

extern CmdLineOpts g_cmd_opts;

// Scans the arguments after the toolkit took its own out (argv[0] is the
// program). Invalid options are reported on err; the scan never fails.
void scan_command_line(int argc, char** argv, CmdLineOpts* opts, std::FILE* err);

// Writes the XENVIRONMENT note on err when the variable is unset or empty.
void check_xenvironment(std::FILE* err);

// The About text of the main window.
std::string build_about_text();

// ---- access check ---------------------------------------------------------

// 1 once gui_check_security found the operator in bin/users.list.
extern int g_user_privileged;
// The access check of the end of start-up: warnings and insensitive
// controls for an operator who is not listed.
void gui_check_security(const std::string& login);
// True for the main-window ids that an unprivileged operator never gets.
bool is_restricted_id(int id);

// ---- staged initialisation ----------------------------------------------

constexpr int INIT_LAST_STEP = 25;
constexpr int INIT_TIMER_MS = 50;

// Progress label value after step (multiples of 4 only), else -1.
int init_progress_percent(int step);
std::string init_progress_text(int percent);
