// The Copy window: parameter values read from one device ("Copy From") and
// set on one or more devices ("Copy To"), reported like a Set, followed by
// the automatic reset of the destinations that need one.
#pragma once

#include "ui/widget_ids.h"

#include <string>
#include <vector>

#include "ops/change.h"
#include "ui/outcome.h"

// Copy window objects (form W_CPY_FORM).

constexpr int CPY_MAX_PORTS = 128; // destination ports one copy takes

// What is copied (copy_ind).
enum CopyKind {
    CPY_MAIN = 1, // the main window's choice
    CPY_MRX = 2,  // device scalars
    CPY_ASY = 3,
    CPY_SYN = 4,
    CPY_PTR = 5,
    CPY_ETH = 6,
    CPY_DS1 = 7,
    CPY_CHN = 8 // channels: confirmed, then nothing is copied
};

// The window's kind toggles (ids) by copy code, and its port type choices.
struct CopyChoice {
    int id;
    int code;
    const char* label;
};
const std::vector<CopyChoice>& cpy_kind_choices();
const std::vector<CopyChoice>& cpy_port_choices();

struct CopyRequest {
    std::string src_name; // whole, so that it still matches the device list
    int src_index = -1;
    int code = CPY_MAIN;
    int port_type = 1;
    int src_all = 0;
    int src_count = 0;
    int src_port = 0;
    int dst_all = 0;
    int dst_count = 0;
    std::vector<int> dst_ports;
    std::vector<std::string> dst_names; // in device-list order
    int param_sel = 1;                  // code 1: parameters (1) or a function (0)
    std::vector<std::string> items;     // code 1: the chosen parameters or function
    std::string src_port_text;          // "Copy From" port as typed
};

// What the Copy window (or mm_cli) asks for, before it is checked.
struct CopyInput {
    std::vector<std::string> from; // chosen "Copy From" names
    std::vector<std::string> to;   // chosen "Copy To" names, in device-list order
    int code = CPY_MAIN;
    int port_type = 1; // port type of code 1
    std::string from_ports;
    std::string to_ports;
    int param_sel = 1;              // code 1: parameters (1) or a function (0)
    std::vector<std::string> items; // code 1: the chosen parameters or function
};

// What a copy did. outcome.report is the output area's text up to the
// resets: the reading of the source, the parameters, each destination's
// Set report; outcome.devices holds every destination in list order. The
// change is kept for the automatic reset that follows it (copy_reset), and
// closing is written after that ("Copy complete." or "... with errors.",
// nothing after a cancel).
struct CopyOutcome {
    Outcome outcome;
    ChangeOutcome change;
    std::string closing;
};

extern int cpy_ind;          // copy code chosen in the window
extern int cpy_port_sel_ind; // port type chosen in the window
// Set while a build used ports a device does not have.
extern int g_cpy_bad_ports;

// The window's kind toggle whose code is code (Main Window Choice for a
// code out of range), and the text of its parameter label: what a copy of
// code reads ("<all Morix parameters>", ...), or "" for the main window's
// choice (the label then names the parameters chosen there).
int cpy_kind_toggle(int code);
std::string cpy_kind_label(int code);
// The text of the window's two port labels for a port type keyword.
std::string cpy_from_port_label(const std::string& keyword);
std::string cpy_to_port_label(const std::string& keyword);

// Where make_cpy_request's message goes.
enum CopyReqResult { CRQ_OK = 0, CRQ_WARN = 1, CRQ_OUTPUT = 2 };
// Checks the input and fills req; on a refusal msg receives the text for
// the warning box (CRQ_WARN) or the output area (CRQ_OUTPUT).
int make_cpy_request(const CopyInput& in, CopyRequest* req, std::string* msg);
// The Copy button's check of the input: done with req filled, or refused
// with the reason as a warning or as the report.
Outcome check_copy(const CopyInput& in, CopyRequest* req);
// The confirmation text with the destination names wrapped.
std::string cpy_conf_text(const std::vector<std::string>& names);
// The copy itself (after the confirmation): builds the source chain for the
// request's code, reads the source and writes every destination.
CopyOutcome copy_build(const CopyRequest& req);
// Reads the source (its chain built) and writes every destination.
CopyOutcome copy_exe(const CopyRequest& req);
// The automatic reset after a copy: the destinations that took values that
// need one are reset (side by side), once asker agrees (no question when
// the confirmation is turned off). The report holds a line per device
// reset; the warnings name those that failed.
Outcome copy_reset(const CopyOutcome& copy, Asker& asker);
// copy_build's outcome with the reset follow-up answered by asker and the
// closing line: the whole report as the output area ends up showing it,
// every warning, the result of the copy.
Outcome copy_with_reset(const CopyRequest& req, Asker& asker);
