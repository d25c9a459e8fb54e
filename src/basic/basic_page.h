// The one pattern every basic-mode page follows: a record naming its
// variable table and fields, and the shared steps init, exit, get value,
// save, populate and apply. A page is one row of basic_pages (basic_pages.cpp)
// and one small file defining its record and its particular rules (hooks).
#pragma once

#include <string>
#include <vector>

#include "basic/basic_frame.h"

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
    // A widget action the page handles itself (its buttons and toggles);
    // 1 when handled.
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
int page_conf_apply(BasicPage& p);
// Opens a page (hides the others of its window, reads on first showing).
void open_page(BasicPage& p);
// The text of a field as the window shows it.
std::string page_field_text(const BasicPage& p, size_t i);
// Puts text into a field as the operator would.
void page_set_field(const BasicPage& p, size_t i, const std::string& text);
// Devices of the run that may be set (warns and skips the others).
std::vector<int> settable_devices(int window);

// The action callback of the basic-mode widgets; 1 when the id was handled.
int basic_dispatch(int id);
// Help id of the page shown in the setup window.
int basic_help_id(int id);
// Setup (main window): starts a run for the selected reachable devices and
// opens the General page.
void process_setup_basic();
// 3 all chosen WAN modules ISDN, 2 none of them, 1 a mix, 0 none chosen.
int determine_protocol();
