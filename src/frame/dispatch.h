// Command dispatch by widget id: the main-window commands, the shared
// per-window actions (Apply, Help, Save, Clear, Close), the function list
// mode, Setup and Customized mode, and the text-entry filters. Works on the
// UI services only, so it runs the same on Motif and headless.
#pragma once

#include <string>

// Main window ids that code addresses.
enum MainWindowId {
    W_MENU_BAR = 1, // objects inside it get no focus handler
    W_MRX_NAME_TF = 28,
    W_COMM_TF = 30,
    W_MRX_LIST = 36,
    W_MAIN_OUTPUT = 37,  // output text area
    W_PORT_TYPE_OM = 38, // port type selector
    W_PORT_TF = 39,      // port list field
    W_DETAIL_TB = 40,    // detailed-output toggle
    W_CHOICE_BOX = 44,
    W_FUNC_MODE = 45,
    W_MAIN_FUNC_LIST = 50,
    W_AUTO_RESET_TB = 54,
    W_CUSTOMIZE_TB = 63,
    W_SETUP_BTN = 71,
    W_LAYOUT_FORM = 74,
    W_DEV_AREA = 75, // device area at the left of the layout form
    W_CUSTOM_AREA = 76,
    W_BASIC_CMD = 756,
    W_INIT_FORM = 641,
    W_INIT_LABEL = 642,
    W_NAME_PROMPT_TEXT = 1250 // text field of the name prompt (slot of its own)
};

// Port type selector entries of the main window: ids 64 to 70 choose the
// port type codes 0, 1, 2, 3, 4, 5 and 8.
constexpr int W_PORT_TYPE_FIRST = 64;
constexpr int W_PORT_TYPE_LAST = 70;
extern int show_port_sel_ind;

// Forms of the secondary windows (widget ids).
enum WindowFormId {
    W_SHOW_FORM_ID = 125,
    W_SET_FORM_ID = 150,
    W_BCAST_FORM_ID = 180,
    W_CMP_FORM_ID = 200,
    W_DISC_FORM_ID = 238,
    W_UDF_FORM_ID = 250,
    W_MRX_STAT_FORM_ID = 288,
    W_ASY_STAT_FORM_ID = 334,
    W_ITF_STAT_FORM_ID = 342,
    W_CRT_FORM_ID = 350,
    W_VIEW_FORM_ID = 400,
    W_EXE_FORM_ID = 410,
    W_CPY_FORM_ID = 450,
    W_BOOT_DIALOG_ID = 494,
    W_RST_FORM_ID = 501,
    W_SNMP_FORM_ID = 530,
    W_SITE_FORM_ID = 600,
    W_T1_STAT_FORM_ID = 700,
    W_IMDM_DIALOG_ID = 800,
    W_PRI_STAT_FORM_ID = 834,
    W_DVS_STAT_FORM_ID = 870,
    W_CSU_STAT_FORM_ID = 920,
    W_PPP_STAT_FORM_ID = 971,
    W_MP_STAT_FORM_ID = 1019,
    W_IMDM_STAT_FORM_ID = 1046
};

// What a window id does when activated.
enum WindowActionKind { WA_COMMAND, WA_HELP, WA_SAVE, WA_CLEAR, WA_CLOSE };

struct WindowAction {
    int id;
    int kind;
    int form; // the window's form
    int text; // output text area (save and clear), or 0
};

// The action of a window id (nullptr when the id is not a window action).
const WindowAction* find_window_action(int id);

// Runs the command of id. detail_id names the object that was pressed when
// several objects share an id. Returns 1 for a known id, 0 otherwise.
int dispatch_main(int id);

// ---- function list mode -------------------------------------------------

// The choices of the function list (ids) and the list shown by each: a
// function group for 46 and 47, a port type code otherwise.
int choice_port_type(int choice_id);
// Shows in list 50 what the choice asks for (id 45, set_mgmt_mode_lst).
void set_mgmt_mode_lst(int choice_id);

// ---- Setup and Customized mode -----------------------------------------

// 1 in Customized mode, 0 in Setup mode.
extern int g_customized_mode;
void enter_customized_mode();
// Returns 0 when the operator kept Customized mode at the question.
int enter_setup_mode();

// ---- text filters ---------------------------------------------------------

// Rule codes: 1 limit, 2 no leading white space, 3 digits, 4 digits or a
// leading sign, 5 digits or dots after the first character.
// Returns 1 when the insertion of text at position pos is accepted.
int filter_insertion(int rule, int pos, const std::string& text, int limit = 999);
// The filter of verify_proc_prm: the rule, then the limit (24 for rule 5).
int verify_prm_insertion(int rule, int pos, const std::string& text);

// ---- lists and prompts ------------------------------------------------------

// Double-click on a list item (pos 1-based, item its text, reason the
// toolkit's call reason). Returns 1 when the id is one of the handled lists.
int list_action_main(int list_id, int pos, const std::string& item, int reason);
// Selection change in a list.
void list_selection_main(int list_id);
// OK of the group-name prompt (id 259); returns 1 when the prompt closes.
int prompt_name_ok(const std::string& typed);
// Basic-mode action by basic id: help and close here, the rest to the pages.
void dispatch_basic(int id);
// Menu bar and device buttons stay insensitive until start-up finished.
void set_commands_available(bool available);
