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
    // When set, receive what the layout gave (mm_cli --json).
    std::vector<std::pair<std::string, std::string>>* fields_out = nullptr;
    std::string* tables_out = nullptr;
};

// A status window as the operator left it (window index w: the objects
// status_obj(w, ...)).
struct StatusWindowView {
    std::string input;                       // SO_INPUT
    bool auto_on = false;                    // SO_AUTO_TB
    std::string auto_secs;                   // SO_AUTO_SECS
    bool x1 = false, x2 = false, x3 = false; // SO_X1..SO_X3 toggles
    int list_row = 0;                        // mp: first selected row of the SO_X1 list, 0 none
};
// The frame's reader of a status window, for the automatic refresh (set by
// the frame; unset, a window reads as empty).
extern StatusWindowView (*status_window_reader)(int window);

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
    std::vector<std::string> warnings; // shown after the layout, in order
    std::vector<int> ports;            // ports/channels/intervals the layout uses
    std::vector<int> extra;            // member scratch (interface indexes, ...)
    int all = 0;
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

// Result of a status display.
enum StatusResult {
    STS_DONE = 0,      // the values were read and laid out
    STS_UNREAD = 1,    // the device did not answer
    STS_CANCELLED = 2, // the operator cancelled
    STS_REFUSED = 3    // no device, or the input was refused (the warning says why)
};
// Common frame on the first selected reachable device: selection check,
// title, the GET under "Cancel Status", the layout into the text area. A
// StatusResult.
int process_status(int member, const StatusInput& in);
// Update of a status window: the member the window shows (async or sync
// by its Sync toggle) with the window's inputs.
void status_update(int member, const StatusWindowView& v);
// The member's result as text: fields as "label: value" lines, then tables.
std::string status_text(const StatusCtx& c);
// The member's inputs from its window.
StatusInput status_window_input(int member, const StatusWindowView& v);

// The automatic refresh toggle of window w changed.
void status_auto_toggled(int w, const StatusWindowView& v);
// A toggle of window w's own (object obj, SO_X1..SO_X3) changed to set.
void status_option_toggled(int w, int obj, bool set);
// Opens a member's window and fetches.
void open_status_window(int member, StatusWindowView v);
// The window of form was closed: its automatic refresh stops.
void status_window_closed(int form);
// A main-window status command (a member's menu id): 1 when handled; the
// views of the windows as the frame reads them.
int status_menu_command(int id, StatusWindowView (*view)(int window));

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
// The multilink detail of the chosen row (the mp window's Details).
void process_mp_detail(int row);

// Automatic refresh of a window: timer tick handling (exposed for tests).
void status_auto_tick(int window);
