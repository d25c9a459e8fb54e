// Widget ids of the main window and the forms of the secondary windows that
// commands address through the UI services.
#pragma once

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
    W_MP_STAT_FORM_ID = 1019,
    W_IMDM_STAT_FORM_ID = 1046
};
