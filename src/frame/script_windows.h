// The Compare window's device sides and kind switching, and the port
// dialogs of script creation and execution, by widget id.
#pragma once

#include "ui/widget_ids.h"

#include <array>
#include <string>

#include "ops/compare.h"
#include "ops/script_crt.h"

// Compare window: per side a title, a device part (list and port field)
// and a script file box.
constexpr int W_CMP_TITLE[2] = {W_CMP_PANES0_LBL, W_CMP_PANES1_LBL};
constexpr int W_CMP_DEV[2] = {W_CMP_PANES0_DEV, W_CMP_PANES1_DEV};
constexpr int W_CMP_LIST[2] = {W_CMP_PANES0_LIST, W_CMP_PANES1_LIST};
constexpr int W_CMP_PORT_ROW[2] = {W_CMP_PANES0_ROW, W_CMP_PANES1_ROW};
constexpr int W_CMP_PORT_TF[2] = {W_CMP_PANES0_ROW_TF, W_CMP_PANES1_ROW_TF};
constexpr int W_CMP_FSB[2] = {W_CMP_PANES0_FSB, W_CMP_PANES1_FSB};
constexpr int W_CMP_KIND_TB[3] = {W_CMP_MORIX_WITH_MORIX_TB, W_CMP_MORIX_WITH_SCRIPT_TB,
                                  W_CMP_SCRIPT_WITH_SCRIPT_TB};

// Port dialogs: slot, first field (one per port kind from asy on), buttons.
struct ScrPortDialog {
    int slot, first_field, ok, cancel;
};
constexpr ScrPortDialog W_SCR_CRT_PRT = {W_SCR_PRT_DIALOG, W_SCR_PRT_D_ROW1_TF, W_SCR_PRT_D_OK_PB,
                                         W_SCR_PRT_D_CANCEL_PB};
constexpr ScrPortDialog W_SCR_EXE_PRT = {W_SCR_EXE_PRT_DIALOG, W_SCR_EXE_PRT_D_ROW1_TF,
                                         W_SCR_EXE_PRT_D_OK_PB, W_SCR_EXE_PRT_D_CANCEL_PB};

// Fills both device lists with the reachable devices, shows the chosen
// kind and opens the window.
void open_cmp_window();
// Shows kind 1 (two devices), 2 (device and script) or 3 (two scripts):
// each side's title, its device part or file box, its port field.
void display_cmp_kind(int kind);
// Shows in the Compare window's parameter label what Compare will read.
void show_cmp_params_used();
// The request the window's controls describe.
CmpRequest cmp_window_request();
// Runs a comparison with the main window's parameter choice (code 1), its
// cancel dialog over parent, and shows its outcome: the report added to
// output, the warnings over parent. Returns the number of differences, or
// -1 when nothing was compared.
int show_compare(CmpRequest req, int output, int parent);

// Opens a port dialog: the fields of the needed kinds get texts (en and
// ds1inf fixed), the others are emptied and made insensitive.
void open_scr_port_dialog(const ScrPortDialog& d, const ScrKinds& kinds,
                          const std::array<std::string, SK_COUNT>& texts);
std::array<std::string, SK_COUNT> read_scr_port_dialog(const ScrPortDialog& d);
// The creation options the Create Script window's toggles describe.
ScrCrtOptions scr_crt_window_options();
