// mm_cli: the command-line front end. Global options build the session
// (its device list, every device selected, and the SNMP settings); each verb
// parses its arguments into the command's request, calls the command and
// prints its outcome: the report (or one JSON document) on standard output,
// every warning and every device not done on standard error.
#pragma once

#include "ui/window_state.h"

#include <string>
#include <vector>

// Exit statuses. CLI_KEPT: an existing file was not overwritten because
// the question was answered Cancel (no -y); nothing was written.
enum CliStatus { CLI_OK = 0, CLI_FAILED = 1, CLI_USAGE = 2, CLI_KEPT = 3 };

// One verb: its name, its usage line (after "mm_cli [OPTIONS] "), whether
// it can change devices (then the users-list access check applies),
// whether it reports values or devices as JSON with --json, and its
// handler. A handler returns a CliStatus; it decides it from the result
// codes of the commands it calls.
struct CliVerb {
    const char* name;
    const char* usage;
    bool changes_devices;
    bool json;
    int (*run)(const std::vector<std::string>& args);
};

// The verb table (ends with a null name).
extern const CliVerb cli_verbs[];
const CliVerb* find_cli_verb(const std::string& name);

// Usage error of a verb: the message and the verb's usage on standard
// error; returns CLI_USAGE.
int cli_usage_error(const CliVerb& verb, const std::string& message);

// ---- helpers for verb handlers ----------------------------------------------

// Writes the warnings shown since the last call to standard error (one per
// warning text); returns how many there were.
int cli_flush_warnings();
// The port type code of a keyword accepted by -p (asy, syn, ptr, en,
// ds1inf, channels), or -1.
int cli_port_type(const std::string& keyword);
// Splits "a,b,c" into its non-empty parts.
std::vector<std::string> cli_split(const std::string& text, char sep);
// The parameters the verb chose, as the main parameter list would hold
// them all selected: individual parameters (param_sel 1) or one function (0).
void cli_choose_params(const std::vector<std::string>& names, int param_sel);
// mm_cli's selection as the selection check reads it: every device of the
// run's list and the parameters the verb chose (no window is involved).
MainSelection cli_main_selection();
// The warnings shown since the last flush, marked as seen (a verb whose
// report is its warnings prints them itself).
std::vector<std::string> cli_take_warnings();
// A warning of mm_cli's own, written and counted with the run's others.
void cli_warn(const std::string& text);
// False when the last question of the run was answered with Cancel (then
// "Not confirmed (answer with -y): <nothing_done>." is on standard error).
bool cli_confirmed(const char* nothing_done = "nothing was sent");
// Says on standard error that VERB kept the existing file PATH.
void cli_say_kept(const char* verb, const std::string& path);
// Where the questions of the run stand now (give it to cli_kept_file).
size_t cli_question_mark();
// True when an overwrite question asked since mark was answered Cancel;
// then "mm_cli VERB: PATH exists; it was not overwritten (give -y)." is on
// standard error.
bool cli_kept_file(size_t mark, const char* verb, const std::string& path);
// A parameter node's status as a word: present, no such variable,
// read-only, bad value, not done, error.
const char* cli_node_status_word(int status);
// Names for shell completion (verbs, vars, funcs, pages, fields of PAGE),
// one a line; false for an unknown kind.
bool cli_print_names(const std::string& kind, const std::string& page);
// Field names of every basic-mode page, one line per page (mm_cli page).
std::string page_field_help();
