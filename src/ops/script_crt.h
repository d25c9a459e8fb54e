// Script creation: which port kinds a choice needs, the port dialog's
// checks, and reading one device's values into a script file.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "snmp_access/morix_record.h"

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

// Kinds needed by the main window's choice; 0, -6 or -7 (with the message).
int mark_prm_flags(ScrKinds* kinds, int* func_index, int parent);

// One creation, kept between the port dialog and the file selection.
struct ScrCrtState {
    ScrCrtOptions opt;
    ScrKinds kinds{};
    int func_index = -1;
    MorixRecord* rec = nullptr;
    ScrPortSet ports{};
    bool port_dialog = false; // a port kind remains: the port dialog is due
};

// Selection check and the needed kinds; false when creation stops here.
bool process_scr_crt(const ScrCrtOptions& opt, int parent, ScrCrtState* st);
// The port dialog's OK: checks the fields and asks the question; true when
// the file selection is due.
bool process_scr_crt_prt(ScrCrtState* st, const std::array<std::string, SK_COUNT>& texts,
                         int parent);
// Result of creating or executing a script.
enum ScriptResult {
    SCRIPT_DONE = 0,      // complete without errors
    SCRIPT_ERRORS = 1,    // complete with errors
    SCRIPT_CANCELLED = 2, // the operator cancelled
    SCRIPT_NOT_DONE = 3   // refused, not confirmed or not written
};
// Reads the values and writes the script; 1 when the file selection may
// close (done or refused for good), 0 to keep it open. result (may be null)
// receives the ScriptResult.
int create_scr_proc(ScrCrtState* st, const std::string& typed, int output, int parent,
                    int* result = nullptr);
