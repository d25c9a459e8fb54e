// The frame every basic-mode page shares: widget ids of the setup window,
// the device and WAN module selection, edit flags, reading values from the
// devices with the common-value rule, turning fields into Set requests,
// sensitivity helpers and the close question.
#pragma once

#include "ui/widget_ids.h"

#include <string>
#include <vector>

#include "basic/basic_vars.h"
#include "ui/outcome.h"

// ---- Widget ids of the basic table ------------------------------------
// The category toggles of the setup window, in category order.
constexpr int BW_CAT_FIRST = BW_GEN_CAT_GENERAL_TB;
constexpr int BW_CAT_LAST = BW_GEN_CAT_EDIT_MODEM_TB;
// The main-table slots BW_PARENT_* also hold the basic windows, so that
// warnings and questions can name them as their parent.
// The parent id of a basic window (its form id in the basic table).
int win_parent(int window);
// Label of a field: its own id (fields stay below 1500).
constexpr int BW_LABEL_OFFSET = 1500;
// Category toggles by page.
enum BasicCategory {
    CAT_GENERAL = 1,
    CAT_IP = 2,
    CAT_IPX = 3,
    CAT_APPLETALK = 4,
    CAT_LAT = 5,
    CAT_TRAPS = 6,
    CAT_SECURITY = 7,
    CAT_ASYNC = 8,
    CAT_SYNC = 9,
    CAT_WAN = 10,
    CAT_REM_ADDR = 11,
    CAT_PPP_DIAL = 12,
    CAT_BASIC_DIAL = 13,
    CAT_RADIUS = 14,
    CAT_GEN_CONT = 15,
    CAT_EDIT_MODEM = 16
};

// The value of a field left unchanged, or of devices that disagree.
constexpr const char* set_to_blank = "\"\"";

// ---- Edit flags ---------------------------------------------------------
enum EditFlag {
    EF_GENERAL,
    EF_GEN_CONT,
    EF_ASYNC,
    EF_ASYNC_CONT,
    EF_ADD_ASYNC,
    EF_SECURITY,
    EF_RADIUS,
    EF_SYNC,
    EF_APPLETALK,
    EF_IP,
    EF_IPX,
    EF_LAT,
    EF_REM_ADDR,
    EF_BASIC_DIAL,
    EF_PPP_DIAL,
    EF_WAN,
    EF_TRAPS,
    EF_WAN_EDIT,
    EF_COUNT
};
extern int edit_flags[EF_COUNT];
extern int edit_param_flag;
// Clears edit_param_flag when no page flag is set.
void settings_edit_status();

// ---- The outcome of a page command -------------------------------------------
// While a PageRun lives, every warning of the basic layer goes into its
// outcome (runs nest: the inner one fills its own). Without one, warnings go
// to the diagnostic stream so none is lost.
class PageRun {
  public:
    explicit PageRun(Outcome& out);
    ~PageRun();
    PageRun(const PageRun&) = delete;
    PageRun& operator=(const PageRun&) = delete;

  private:
    Outcome* outer_;
};
void page_warn(const std::string& text);
// The window the cancel dialog of a page read sits over: the frame's
// answer for the window of the page being read (dialog_parent_of, which the
// frame registers: that window's parent when it is open), else the main
// window.
extern int (*dialog_parent_of)(int window);
extern int reading_window; // the window of the page being read
int page_dialog_parent();
// The outcome being filled (null without a PageRun).
Outcome* page_run_outcome();

// ---- Selection ------------------------------------------------------------
// The devices of the run (list positions of port_mrx_map).
std::vector<int> basic_devices();
// The rows of a port list: "%s %d" per port of the kind on every device of
// the run.
std::vector<std::string> port_list_rows(int port_kind);
// Rebuilds the port selection from rows (at most 128 ports a device,
// without duplicates); returns the port total.
int read_port_list(const std::vector<std::string>& rows);
// The selected ports of a device (list position).
std::vector<int> selected_ports(int mrx_pos);
// One WAN module chosen in the WAN list: device list position and module
// (0-based index into the record's WAN arrays).
struct WanChoice {
    int mrx_pos;
    int module;
};
extern std::vector<WanChoice> wan_chosen;
// The chosen rows "%s %d ..." of the WAN list (the WAN page's record).
std::vector<std::string> wan_chosen_rows();
// Rebuilds wan_chosen from the chosen rows of the WAN list.
int read_wan_choice();

// ---- Run --------------------------------------------------------------------
void basic_init();
void basic_graceful_exit();
// The edit flags cleared (the setup window closed).
void clear_edit_flags();

// ---- Reading values ---------------------------------------------------------
// Reads vars from the devices of the run (port_kind for port variables);
// names each device that did not answer. 1 when at least one answered.
int get_values_from_mrx(const VarTable& vars, int port_kind);
// The common value of name over the devices that answered: text gets the
// value ("" when they differ, "\"\"" when all agree on an empty value),
// number its number (enumerations by number; 0 when they differ). Port
// variables are compared over the selected ports (RIP versions over
// instance 1). Returns "" or the error text.
std::string get_specific_value(const std::string& name, int port_kind, std::string* text,
                               int* number);
// The same over the chosen WAN modules (channel variables per channel).
std::string get_specific_wan_edit_value(const std::string& name, std::string* text, int* number);
// Frees the chains of the run's devices.
void free_basic_chains();

// ---- Fields into requests ---------------------------------------------------
// Label of a field for messages (by its control's id).
std::string field_label(int field_id);
// Checks a value for name as typed in a field labelled label; warns with
// the message. 0 when good (value gets the text to send: the enumeration
// number for an enumeration name), -1 otherwise.
int check_field_value(const std::string& name, const std::string& label, std::string* value);
// The dotted-address check of a field; warns "<label> : Invalid IP Address
// Format". True when good (value loses its trailing blanks).
bool check_addr_field(std::string* value, const std::string& label);
// Field text (value) into requests for devs. 0 or -1.
int read_textfield(int field_id, const std::string& value, const std::string& name,
                   const std::vector<int>& devs, int port_kind);
int read_optionmenu(int om_id, const std::string& value, const std::string& name,
                    const std::vector<int>& devs, int port_kind);
// Nodes of name = value for devs (RIP versions on instance 1). 0 or -1.
int set_param(const std::string& name, const std::string& value, const std::vector<int>& devs,
              int port_kind);
// One node for a WAN module (one per channel for the channel variables).
int set_wan_edit_param(const std::string& name, const std::string& value, int mrx_pos, int module);

// ---- Sensitivity and toggles ------------------------------------------------
// The field (or field label) of control id, in its page's record.
void gray_out_widget(int id, bool sensitive);
void gray_out_text_widget(int id, bool blank, bool sensitive);
// PPP protocol code of five toggles (on[i]: toggle i set); 0 when the first
// three are all off (the pressed one is set again: on[pressed]), else 1
// and *code.
int process_ipro_set(bool on[5], int pressed, int* code);
// The CAS digit fields are sensitive for signalling protocols 12 and 13 only.
void check_sigproto_validity(int sigproto);
