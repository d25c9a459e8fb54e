// The status displays: ten read-only views of one device (device, async and
// sync ports, interfaces, modem calls, PRI channels, T1 and PRI internal
// CSU, dial-up tunnels, multilink). Every member is a row of one table:
// its variable table, title, progress text, window objects and two small
// functions (build the request, lay out the answers); one routine runs
// them all. What a member shows is written into its window's text area as
// "label: value" lines followed by its text tables, so the window and
// mm_cli print the same bytes.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "snmp_access/morix_record.h"
#include "ui/outcome.h"
#include "ui/widget_ids.h"

enum StatusMemberId {
    SM_MRX = 0,
    SM_ASY,
    SM_SYN,
    SM_ITF,
    SM_IMDM,
    SM_PRI,
    SM_T1,
    SM_PRI_CSU,
    SM_DVS,
    SM_MP,
    SM_COUNT
};

// Objects of a status window, all in the main widget table. Each window
// has a block of eight ids from W_STS_BASE: text area, the input field
// (ports, channels or intervals), the auto-refresh toggle and its period
// field, then up to four objects of its own.
constexpr int W_STS_BASE = W_MRX_ST_TEXT;
constexpr int W_STS_STRIDE = 8;
enum StatusObject {
    SO_TEXT = 0,
    SO_INPUT = 1,
    SO_AUTO_TB = 2,
    SO_AUTO_SECS = 3,
    SO_X1 = 4, // asy: Sync toggle; pri: sort toggle; t1/csu: Current; mp: list
    SO_X2 = 5, // t1/csu: Total; mp: Details button
    SO_X3 = 6  // t1/csu: Intervals
};

// What the operator gave besides the device (window fields or mm_cli).
struct StatusInput {
    std::string list;     // ports, channels or interval numbers
    int period = 1;       // t1/csu: 0 intervals, 1 current, 2 total
    std::string module;   // t1/csu: the WAN module number as typed (empty: the first)
    bool sort = false;    // pri: order by user name
    int mp_row = 0;       // mp: 1-based row for the detail pane, 0 none
    bool opening = false; // the window is just opening: no list typed yet
};

struct StatusCtx;

struct StatusMember {
    const char* key;      // mm_cli name
    const char* title;    // window title before " : device"
    const char* progress; // cancel dialog text, or nullptr for none
    const std::vector<const char*>* vars;
    int window;    // window index (block of ids); sync shares async's
    int form;      // form id
    int update_id; // the window's Update button
    int menu_id;   // the main window's command that opens it (0: reached by another member's)
    // Adds the nodes of the main GET; returns 0 to go on, -1 to stop (the
    // member told the operator why).
    int (*build)(StatusCtx& c);
    // Lays the answers out into c.fields and c.tables.
    void (*layout)(StatusCtx& c);
};

struct StatusCtx {
    const StatusMember* m = nullptr;
    MorixRecord* rec = nullptr;
    int parent = 0;
    StatusInput in;
    std::vector<std::pair<std::string, std::string>> fields;
    std::string tables;
    std::vector<std::string> warnings;  // shown after the layout, in order
    std::vector<int> ports;             // ports/channels/intervals the layout uses
    std::vector<int> extra;             // member scratch (interface indexes, ...)
    std::vector<std::string> list_rows; // mp: the rows of the window's list
    int all = 0;
};

// What a status display read of one device: outcome.report is the
// window's text ("label: value" lines, then the tables), outcome.devices
// the device with its result, outcome.warnings in order; the window title;
// the fields and tables the text was made of; the rows of the multilink
// window's list.
struct StatusOutcome {
    Outcome outcome;
    int member = 0;
    std::string title;
    bool laid_out = false; // the answers were laid out (else the text stays empty)
    std::vector<std::pair<std::string, std::string>> fields;
    std::string tables;
    std::vector<std::string> list_rows;
};

const StatusMember& status_member(int id);
// Member by mm_cli key, or -1.
int status_member_by_key(const std::string& key);
// Member whose window has this index / whose Update button is id, or -1.
int status_member_of_update(int id);
// Widget id of object obj of window index w.
inline int status_obj(int w, int obj) {
    return W_STS_BASE + w * W_STS_STRIDE + obj;
}
// Number of status windows (sync shares the async window).
constexpr int STATUS_WINDOWS = 9;

// The first selected, reachable device of the list (what the front ends
// show after their selection check), or null.
MorixRecord* first_sel_reachable();
// The common frame on one device: the GET under "Cancel Status" and the
// layout. done: laid out; failed: the device did not answer; cancelled;
// refused: the input was refused (a warning says why).
StatusOutcome run_status(int member, MorixRecord* rec, const StatusInput& in);
// The member's result as text: fields as "label: value" lines, then tables.
std::string status_text(const StatusCtx& c);

// ---- shared pieces (used by the members) --------------------------------

// The value of a variable for an instance, or fallback.
std::string status_val(const StatusCtx& c, const char* var, int instance,
                       const std::string& inst_str = "", const std::string& fallback = "ERROR");
// The raw (numeric) value text, or "" when unreadable.
std::string status_raw(const StatusCtx& c, const char* var, int instance,
                       const std::string& inst_str = "");
// display_prm_val: the value into a field of the layout ("ERROR" fallback).
void display_prm_val(StatusCtx& c, const std::string& label, const char* var, int instance,
                     const std::string& inst_str = "");
// Adds one node of a catalogue variable; false when the catalogue lacks it.
bool status_add(StatusCtx& c, const char* var, int instance, const std::string& inst_str = "");
// Formats one line of a printf layout whose conversions are all %s.
std::string status_row(const char* format, const std::vector<std::string>& cols);
// An unsigned counter text (0 when unreadable or not a number).
unsigned long status_counter(const std::string& text);

// Messages of the family.
extern const char* const MSG_STS_FAILED;
extern const char* const MSG_STS_NO_PORTS;

// Member entry points (status_members.cpp, status_wan.cpp).
int sts_build_mrx(StatusCtx& c);
void sts_layout_mrx(StatusCtx& c);
int sts_build_ports(StatusCtx& c);
void sts_layout_ports(StatusCtx& c);
int sts_build_itf(StatusCtx& c);
void sts_layout_itf(StatusCtx& c);
int sts_build_imdm(StatusCtx& c);
void sts_layout_imdm(StatusCtx& c);
int sts_build_pri(StatusCtx& c);
void sts_layout_pri(StatusCtx& c);
int sts_build_csu(StatusCtx& c);
void sts_layout_csu(StatusCtx& c);
int sts_build_dvs(StatusCtx& c);
void sts_layout_dvs(StatusCtx& c);
int sts_build_mp(StatusCtx& c);
void sts_layout_mp(StatusCtx& c);
// The multilink detail of the chosen row (1-based) of the last multilink
// display (the mp window's Details): the report is the list's rows, then
// the bundle's name and fields.
StatusOutcome run_mp_detail(int row);
