#include "ui/app_globals.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "ui/access.h"

const char* const MM_VERSION = "R3.1";

std::string mm_dir;
int debug_flag = 0;
int rrr_flag = 0;

std::string mm_default_dir() {
    return std::string("/usr/morix/gui_mm_") + MM_VERSION;
}

std::string mm_path(const std::string& rel) {
    return mm_dir + "/" + rel;
}

std::string mm_path(const std::string& dir, const std::string& file) {
    return mm_dir + "/" + dir + "/" + file;
}

SnmpDefaults mm_snmp_defaults;
int& mm_snmp_def_to = mm_snmp_defaults.timeout_secs;
int& mm_snmp_def_rty = mm_snmp_defaults.retries;
std::string& mm_snmp_def_comm = mm_snmp_defaults.community;
int g_confirm_auto_reset = 1;
int g_may_change = 1;
int g_accept_no_undo = -1;
int mdm_entry_cnt = 0;

void mm_out_of_memory() {
    std::fputs(MSG_NO_MEMORY, stderr);
    std::fputs("\n", stderr);
    std::_Exit(1);
}

namespace {

std::vector<void (*)()>& state_resets() {
    static std::vector<void (*)()> resets;
    return resets;
}

void reset_globals() {
    debug_flag = 0;
    rrr_flag = 0;
    mm_snmp_defaults = SnmpDefaults();
    g_confirm_auto_reset = 1;
    g_may_change = 1;
    g_accept_no_undo = -1;
    mdm_entry_cnt = 0;
}

const bool globals_registered = add_state_reset(reset_globals);

} // namespace

bool add_state_reset(void (*reset)()) {
    state_resets().push_back(reset);
    return true;
}

void reset_program_state() {
    for (void (*reset)() : state_resets())
        reset();
}
