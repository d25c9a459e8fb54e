// Program-wide state that every layer may read: the installation directory
// and the start-up flags. Holds no toolkit types.
#pragma once

#include <string>

// Version text shown in the About box and used in the default directory.
extern const char* const MM_VERSION;
// Default installation directory when GUI_MM_DIR is unset.
std::string mm_default_dir();

extern std::string mm_dir; // installation directory, set once at start
extern int debug_flag;     // -debug: dumps on standard output
extern int rrr_flag;       // -rrr: relaxed software release test

// Joins the installation directory with relative parts by slashes.
std::string mm_path(const std::string& rel);
std::string mm_path(const std::string& dir, const std::string& file);

// Orderly exit with a message on standard error (implemented by the frame:
// the toolkit version closes the windows first).
[[noreturn]] void exit_gracefully(const std::string& message);
// Fatal stop: the message framed by blank lines on standard error and a
// non-zero exit status.
[[noreturn]] void s_error(const std::string& message);

constexpr const char* MSG_NO_MEMORY = "App Error: Process ran out of memory";
// New-handler of the program: writes MSG_NO_MEMORY and ends the process with
// a failure status, without allocating.
[[noreturn]] void mm_out_of_memory();

// SNMP defaults copied into new device records; the SNMP settings dialog
// may change them for the run.
struct SnmpDefaults {
    int timeout_secs = 3;
    int retries = 2;
    std::string community = "vantor";
};
extern SnmpDefaults mm_snmp_defaults;
// The members of mm_snmp_defaults under their older names.
extern int& mm_snmp_def_to; // seconds
extern int& mm_snmp_def_rty;
extern std::string& mm_snmp_def_comm;

// Mirrors the confirm-automatic-reset toggle of the main window.
extern int g_confirm_auto_reset;

// Number of modem entry widgets the modem editor has built in the Edit
// Modem window; start-up sets it to 0 once that window has been fetched.
extern int mdm_entry_cnt;

// ---- Program state as it is before start-up -------------------------------

// Registers a function that puts one module's state back to how it was
// before start-up (a module registers it beside the state it owns).
// Returns true, so that a module can register from a static initialiser.
bool add_state_reset(void (*reset)());
// Runs every registered reset: empties the device lists and the catalogue
// tables, the cancel state, the flags, the SNMP defaults and each module's
// own state. The installation directory stays. Tests start from here.
void reset_program_state();
