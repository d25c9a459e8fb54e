// Script creation: which port kinds a choice needs, the port dialog's
// checks, and reading one device's values into a script file.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "snmp_access/morix_record.h"
#include "ui/outcome.h"

// Port kinds of a script; each has a port type code and a keyword.
enum ScrKind { SK_DEVICE, SK_ASY, SK_SYN, SK_PTR, SK_EN, SK_DS0CHAN, SK_DS1INF, SK_COUNT };
using ScrKinds = std::array<bool, SK_COUNT>;
int scr_kind_port_type(int kind);
const char* scr_kind_keyword(int kind);
// Kind of a port type code, -1 when none.
int scr_kind_of_port_type(int port_type);

// Ports given for one kind.
struct ScrPorts {
    int all = 0;
    std::vector<int> ports;
    bool given() const { return all != 0 || !ports.empty(); }
};
using ScrPortSet = std::array<ScrPorts, SK_COUNT>;
// Parses the port fields (one text per kind; "" for none).
ScrPortSet parse_scr_ports(const std::array<std::string, SK_COUNT>& texts);

// Categories of the creation window.
enum ScrCategory { SC_DEVICE, SC_ASY, SC_PTR, SC_EN, SC_CHANNELS, SC_DS1, SC_COUNT };

struct ScrCrtOptions {
    bool selected = false; // the main window's parameters or function
    bool all = false;      // every parameter
    std::array<bool, SC_COUNT> category{};
    bool wildcard = false; // "*" for the port of port lines
};

// Kinds needed by the chosen parameters (param_sel 1: names of variables;
// 0: one function name) into *kinds; 0, -6 or -7 with the refusal's text
// in *why.
int mark_prm_flags(const std::vector<std::string>& params, int param_sel, ScrKinds* kinds,
                   int* func_index, std::string* why);

// What the Create Script window or mm_cli's script create asks for. The
// front end runs the selection check (exactly one reachable device) first.
struct ScriptCrtRequest {
    ScrCrtOptions opt;
    std::vector<MorixRecord*> devices;         // the selected reachable devices: the first is read
    std::vector<std::string> params;           // the main choice, for opt.selected
    int param_sel = 1;                         // params are variables (1) or one function (0)
    std::array<std::string, SK_COUNT> ports{}; // port fields, "" for none
    std::string file;                          // the file name as typed
    int parent = 0;                            // window the cancel dialog stands over
};

// One creation, kept between the port dialog and the file selection.
struct ScrCrtState {
    ScrCrtOptions opt;
    std::vector<std::string> params;
    int param_sel = 1;
    int parent = 0;
    ScrKinds kinds{};
    int func_index = -1;
    MorixRecord* rec = nullptr;
    ScrPortSet ports{};
    bool port_dialog = false; // a port kind remains: the port dialog is due
};

// What a step of creation ends with: its outcome (report for the window's
// output area, warnings, the device read) and what the window does next.
struct ScriptCrtOutcome {
    Outcome outcome;
    // The step passed: the port dialog or file selection is due (planning,
    // ports), or the file selection may close (writing).
    bool proceed = false;
    bool declined = false; // the question about missing ports was answered Cancel
    bool kept = false;     // an existing file was kept: its overwrite was declined
    std::string path;      // the file name with blanks removed
    bool written = false;  // the script file was written
    // The report's error lines (values not read or not scriptable, the file
    // not written), each also in the report.
    std::vector<std::string> errors;
};

// Planning: the needed kinds, those the device lacks dropped (each said).
ScriptCrtOutcome plan_script_create(const ScriptCrtRequest& req, ScrCrtState* st);
// The port dialog's OK: checks the fields and asks, through asker, whether
// to go on without ports when some are missing.
ScriptCrtOutcome script_create_ports(ScrCrtState* st,
                                     const std::array<std::string, SK_COUNT>& texts, Asker& asker);
// Reads the values and writes the script file typed; an existing one is
// replaced only when asker agrees.
ScriptCrtOutcome create_script_file(ScrCrtState* st, const std::string& typed, Asker& asker);
// The three steps at once, with the request's ports and file; done only
// when the script holds everything asked and nothing had to be said.
ScriptCrtOutcome run_script_create(const ScriptCrtRequest& req, Asker& asker);

// Result of executing a script.
enum ScriptResult {
    SCRIPT_DONE = 0,      // complete without errors
    SCRIPT_ERRORS = 1,    // complete with errors
    SCRIPT_CANCELLED = 2, // the operator cancelled
    SCRIPT_NOT_DONE = 3   // refused, not confirmed or not written
};
