// The Compare window's device sides and kind switching, and the port
// dialogs of script creation and execution, by widget id.
#pragma once

#include <array>
#include <string>

#include "ops/compare.h"
#include "ops/script_crt.h"

// Compare window: per side a title, a device part (list and port field)
// and a script file box.
constexpr int W_CMP_TITLE[2] = {213, 215};
constexpr int W_CMP_DEV[2] = {219, 223};
constexpr int W_CMP_LIST[2] = {206, 207};
constexpr int W_CMP_PORT_ROW[2] = {216, 217};
constexpr int W_CMP_PORT_TF[2] = {208, 209};
constexpr int W_CMP_FSB[2] = {214, 218};
constexpr int W_CMP_KIND_TB[3] = {202, 203, 204};

// Port dialogs: slot, first field (one per port kind from asy on), buttons.
struct ScrPortDialog {
    int slot, first_field, ok, cancel;
};
constexpr ScrPortDialog W_SCR_CRT_PRT = {385, 390, 386, 387};
constexpr ScrPortDialog W_SCR_EXE_PRT = {432, 418, 433, 434};
constexpr int W_SCR_CRT_WILD_TB = 389;
constexpr int W_SCR_CRT_DS1_TB = 366;

// Fills both device lists with the reachable devices, shows the chosen
// kind and opens the window.
void open_cmp_window();
// Shows kind 1 (two devices), 2 (device and script) or 3 (two scripts):
// each side's title, its device part or file box, its port field.
void display_cmp_kind(int kind);
// The request the window's controls describe.
CmpRequest cmp_window_request();

// Opens a port dialog: the fields of the needed kinds get texts (en and
// ds1inf fixed), the others are emptied and made insensitive.
void open_scr_port_dialog(const ScrPortDialog& d, const ScrKinds& kinds,
                          const std::array<std::string, SK_COUNT>& texts);
std::array<std::string, SK_COUNT> read_scr_port_dialog(const ScrPortDialog& d);
// The creation options the Create Script window's toggles describe.
ScrCrtOptions scr_crt_window_options();
