// The script windows (create, view, execute), their port dialogs and the
// Compare window behind their ids. File names come from the windows' file
// selection boxes; the controls are read in ops/script_windows.
#include "frame/commands.h"
#include "ops/compare.h"
#include "ops/script_crt.h"
#include "ops/script_exe.h"
#include "ops/script_file.h"
#include "ops/script_windows.h"
#include "ui/app_globals.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

ScrCrtState crt_state;
ScrExeState exe_state;

void crt_file_selection() {
    ui_file_selection(
        W_CRT_FORM, "Script File Selection", mm_path(SCR_DIR),
        [](const std::string& typed) {
            return create_scr_proc(&crt_state, typed, W_CRT_TEXT, W_CRT_FORM);
        },
        "");
}

void script_create() {
    ui_unmanage(W_SCR_CRT_PRT.slot);
    if (!process_scr_crt(scr_crt_window_options(), W_CRT_FORM, &crt_state))
        return;
    if (!crt_state.port_dialog) {
        crt_file_selection();
        return;
    }
    std::array<std::string, SK_COUNT> texts{};
    texts[SK_EN] = "1";
    texts[SK_DS1INF] = "2";
    ui_set_toggle(W_SCR_CRT_WILD_TB, false, false);
    open_scr_port_dialog(W_SCR_CRT_PRT, crt_state.kinds, texts);
}

// The creation port dialog's OK: the dialog stays open when its checks
// refuse the fields or the operator declines the question.
void script_create_ports() {
    crt_state.opt.wildcard = ui_get_toggle(W_SCR_CRT_WILD_TB);
    if (!process_scr_crt_prt(&crt_state, read_scr_port_dialog(W_SCR_CRT_PRT), W_CRT_FORM))
        return;
    ui_unmanage(W_SCR_CRT_PRT.slot);
    crt_file_selection();
}

void script_execute() {
    ui_unmanage(W_SCR_EXE_PRT.slot);
    int rc = process_scr_exe_start(ui_get_text(W_EXE_FSB), W_EXE_TEXT, W_EXE_FORM, &exe_state);
    if (rc == 0)
        process_scr_exe_prt(exe_state, nullptr, W_EXE_TEXT, W_EXE_FORM);
    else if (rc == 1)
        open_scr_port_dialog(W_SCR_EXE_PRT, exe_state.wild, scr_exe_fixed_texts(exe_state.wild));
}

void script_execute_ports() {
    std::array<std::string, SK_COUNT> texts = read_scr_port_dialog(W_SCR_EXE_PRT);
    ui_unmanage(W_SCR_EXE_PRT.slot);
    process_scr_exe_prt(exe_state, &texts, W_EXE_TEXT, W_EXE_FORM);
}

void compare() {
    int diffs = process_compare(cmp_window_request(), W_CMP_TEXT, W_CMP_FORM);
    if (diffs > 0 && ask_user(W_CMP_FORM, "Differences", "Save", "Close", 0,
                              "Save the differences as a script?") == ASK_OK)
        ui_file_selection(
            W_CMP_FORM, "Script File Selection", mm_path(SCR_DIR),
            [](const std::string& typed) {
                return save_cmp_diff_script(typed, W_CMP_TEXT, W_CMP_FORM) == 0;
            },
            "");
}

} // namespace

namespace {

// The Compare window's port type toggles and its what-to-compare toggles.
bool is_cmp_choice_tb(int id) {
    static const int ids[] = {210, 211, 212, 226, 227, 228, 744, 745,
                              229, 230, 231, 233, 234, 235, 236};
    for (int t : ids)
        if (t == id)
            return true;
    return false;
}

} // namespace

int scripts_window_action(int id) {
    if (id == W_CRT_CREATE) {
        script_create();
    } else if (id == W_SCR_CRT_PRT.ok) {
        script_create_ports();
    } else if (id == W_SCR_CRT_PRT.cancel) {
        ui_unmanage(W_SCR_CRT_PRT.slot);
    } else if (id == W_VIEW_APPLY) {
        process_scr_view(ui_get_text(W_VIEW_FSB), W_VIEW_TEXT, W_VIEW_FORM, W_VIEW_FORM);
    } else if (id == W_EXE_APPLY) {
        script_execute();
    } else if (id == W_SCR_EXE_PRT.ok) {
        script_execute_ports();
    } else if (id == W_SCR_EXE_PRT.cancel) {
        ui_unmanage(W_SCR_EXE_PRT.slot);
    } else if (id == W_CMP_APPLY) {
        compare();
    } else if ((id >= 352 && id <= 358) || id == W_SCR_CRT_DS1_TB) {
        // option toggles: read when Create is pressed
    } else if (is_cmp_choice_tb(id)) {
        // port type and what-to-compare toggles: read when Compare is pressed
    } else if (id >= W_CMP_KIND_TB[0] && id <= W_CMP_KIND_TB[2]) {
        if (ui_get_toggle(id))
            display_cmp_kind(id - W_CMP_KIND_TB[0] + 1);
    } else {
        return 0;
    }
    return 1;
}
