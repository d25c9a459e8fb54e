// The Copy window: parameter values read from one device ("Copy From") and
// set on one or more devices ("Copy To"), reported like a Set, followed by
// the automatic reset of the destinations that need one.
#pragma once

#include "ui/widget_ids.h"

#include <string>
#include <vector>

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

// Result of a copy.
enum CopyResult {
    COPY_DONE = 0,      // every value was copied ("Copy complete.")
    COPY_ERRORS = 1,    // it ran with errors
    COPY_CANCELLED = 2, // the operator cancelled
    COPY_REFUSED = 3    // nothing was copied (the output or a warning says why)
};

extern int cpy_ind;          // copy code chosen in the window
extern int cpy_port_sel_ind; // port type chosen in the window
// Set while a build used ports a device does not have.
extern int g_cpy_bad_ports;

// A kind toggle or port type choice of the window turned on (set) or off;
// 1 when id is one of them.
int cpy_choice_action(int id, bool set);
// Writes the chosen port type into both port fields' labels.
void process_cpy_port_sel(const std::string& keyword);

// The Copy button with the window's input: validation, the request, the
// confirmation.
void process_copy(const CopyInput& in);
// Where make_cpy_request's message goes.
enum CopyReqResult { CRQ_OK = 0, CRQ_WARN = 1, CRQ_OUTPUT = 2 };
// Checks the input and fills req; on a refusal msg receives the text for
// the warning box (CRQ_WARN) or the output area (CRQ_OUTPUT).
int make_cpy_request(const CopyInput& in, CopyRequest* req, std::string* msg);
// The confirmation text with the destination names wrapped.
std::string cpy_conf_text(const std::vector<std::string>& names);
// Asks for confirmation; on OK runs the builder of the request's code.
void copy_conf(const CopyRequest& req);
// Builds the source chain for the request's code and runs copy_exe. A
// CopyResult.
int copy_build(const CopyRequest& req);
// Reads the source and writes every destination. A CopyResult.
int copy_exe(const CopyRequest& req);
