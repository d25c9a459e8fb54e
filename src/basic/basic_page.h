// The one pattern every basic-mode page follows: a record naming its
// variable table and fields, and the shared steps init, exit, get value,
// save, populate and apply. A page is one row of basic_pages (basic_pages.cpp)
// and one small file defining its record and its particular rules (hooks).
#pragma once

#include <string>
#include <vector>

#include "basic/basic_frame.h"
#include "snmp_access/morix_record.h"
#include "ui/outcome.h"

enum FieldKind {
    FK_TEXT,   // text field: the value as text
    FK_OPTION, // option menu of the enumeration names: the value by number
    FK_MASK,   // option menu of cumulative masks: the value's last item
    FK_SHOWN,  // text shown only (not read back)
    FK_TOGGLE  // toggle button: "1" set, "0" not
};
// Field flags.
// FF_SINGLE: insensitive (and blank) when several devices are selected.
// FF_SHOW_COMMON: with FF_SINGLE, the common value is still shown (the first
// remote address of consecutive addresses).
// FF_RADIO: setting the toggle clears the other radio toggles of the same
// variable (mm_cli has no radio box to do it).
enum FieldFlag { FF_SINGLE = 1, FF_RANGE_ONLY = 2, FF_RADIO = 4, FF_SHOW_COMMON = 8 };

struct PageField {
    const char* key;   // field name for mm_cli
    const char* label; // label text
    int widget;        // basic widget id; its label is widget + BW_LABEL_OFFSET
    FieldKind kind;
    int lo = 0, hi = 0; // allowed range of an integer text when lo < hi
    const char* range_msg = nullptr;
    int flags = 0;
    std::vector<std::string> options = {}; // FK_MASK labels
};

// Saved record of a page: per variable, changed flag and common value.
struct PageSaved {
    bool changed = false;
    std::string text;
    int number = 0;
};

// A page's values as its window shows them: the record the page's commands
// read from the devices and apply, and the frame's page renderer shows and
// reads back. Nothing below the frame reads or writes the widgets behind it.
struct FieldView {
    std::string value;              // text, option label, or "1"/"0" for a toggle
    std::string label;              // the label (the window's own text when it has one)
    std::vector<std::string> items; // choices of an option menu
    bool sensitive = true;          // the operator can change it
    bool label_sensitive = true;
};
struct PageView {
    std::vector<FieldView> fields;   // one per PageField, in order
    std::vector<std::string> rows;   // the page's list (WAN modules, async ports), as shown
    std::vector<int> chosen;         // the rows the operator selected, from 1
    std::string note;                // the page's own label (modules chosen, edited modems)
    std::string ports;               // the page's port list field (async ports; "" all)
    std::vector<std::string> modems; // a modem menu that is not a field (Basic Dial's)
    std::string modem;               // its choice
    bool modem_editing = true;       // Edit Modem can be used
    bool bell = false;               // a toggle was turned back on: the window rings
};

struct BasicPage;
struct PageHooks {
    // Replaces the reading of the variable table (the WAN list).
    int (*read)(BasicPage&) = nullptr;
    // After the fields were filled.
    void (*populated)(BasicPage&) = nullptr;
    // Before anything is read into requests; -1 stops the Apply.
    int (*check)(BasicPage&) = nullptr;
    // After the fields were read into requests, before sending; sets *failed.
    void (*extra)(BasicPage&, const std::vector<int>& devs, int* failed) = nullptr;
    // After a successful send, or an Apply with nothing changed.
    void (*sent)(BasicPage&) = nullptr;
    // When a common value could not be worked out.
    void (*save_failed)(BasicPage&) = nullptr;
    // An action the page answers in its record (its toggle rules, Read
    // Ports); 1 when handled.
    int (*action)(BasicPage&, int id) = nullptr;
};

enum PageScope { PS_DEVICE, PS_WAN };

struct BasicPage {
    const char* name;  // mm_cli page name
    const char* title; // category label for "Setup: %s"
    int category;      // category toggle id (0: a window of its own)
    int form;          // page form
    int window;        // window that holds the page
    int help_id;
    const char* help_file; // under data/help, or nullptr when the page has none
    int edit_flag;
    const VarTable* vars;
    std::vector<PageField> fields; // same order as vars
    PageScope scope = PS_DEVICE;
    int port_kind = 0;
    PageHooks hooks = {};
    // State of the run.
    bool first_time = true;
    std::vector<PageSaved> saved = {};
    PageView view = {};
};

// The pages (basic_pages.cpp) and look-ups.
std::vector<BasicPage*>& basic_pages();
BasicPage* find_page(const std::string& name);
BasicPage* page_of_category(int category);
BasicPage* current_page();

// The steps of the pattern.
void page_window_init(BasicPage& p);
void page_window_exit(BasicPage& p);
int get_page_conf_value(BasicPage& p);
void save_page_conf(BasicPage& p);
void populate_page_conf(BasicPage& p);
// Compares the fields with the saved values; sets changed and edit flags.
int page_edited(BasicPage& p);
// Applies the changed fields; 1 when the page was applied (or had nothing
// to apply), 0 when a check stopped it. Warnings go to the running
// PageRun's outcome.
int page_conf_apply(BasicPage& p);
// The field of a page with that key that the operator can change; -1 when
// there is none.
int page_field_index(const BasicPage& p, const std::string& key);
// The text of a field as the page's record holds it.
std::string page_field_text(const BasicPage& p, size_t i);
// Puts text into a field of the record as the operator would (a radio
// toggle turns the others of its variable off).
void page_set_field(BasicPage& p, size_t i, const std::string& text);
// Devices of the run that may be set (warns and skips the others).
std::vector<int> settable_devices();
// The field of any page whose control (or label) is widget id.
FieldView* field_view_of(int id);
// The frame's page renderer, called when a page's record changed outside a
// command the frame started (the modem menus); null in mm_cli.
extern void (*page_changed)(BasicPage&);

// ---- The basic command -------------------------------------------------
// What a page is asked to do: the devices of the run in list order, the
// page, the fields to change (key = value), the async ports ("" all), the
// WAN modules to edit (all when empty) and whether to apply at all.
struct PageRequest {
    std::vector<MorixRecord*> devices;
    std::string page;
    std::vector<std::pair<std::string, std::string>> sets;
    std::string ports;
    std::vector<std::pair<const MorixRecord*, std::vector<int>>> modules;
};
// The outcome and the page whose record it left (null when the request
// named no page).
struct PageOutcome {
    Outcome outcome;
    BasicPage* page = nullptr;
};
// Starts a run for the devices, reads the page (and what it is opened
// through), applies the changed fields through the change pipeline and
// reads them again. Every device of the run is listed in the outcome.
PageOutcome run_page(const PageRequest& req);
// Starts a run for the reachable ones of the devices (the frame's Setup
// and run_page); 0 when none is left.
int init_4_configure(const std::vector<MorixRecord*>& devices);
// Category toggles that may be chosen for the run (WAN only with modules).
bool category_allowed(int category);
// Opens the WAN edit page for the chosen rows of the WAN list; 0 (with the
// warning) when none is chosen.
int choose_wan_edit();
// 3 all chosen WAN modules ISDN, 2 none of them, 1 a mix, 0 none chosen.
int determine_protocol();
// The page shown in the setup window (set by the frame).
void set_current_page(BasicPage* p);
