// The script windows (create, view, execute), their port dialogs and the
// Compare window behind their ids. File names come from the windows' file
// selection boxes; the controls are read in frame/script_windows.
#include "frame/commands.h"
#include "frame/render.h"
#include "frame/script_crt_window.h"
#include "frame/script_exec_window.h"
#include "frame/script_windows.h"
#include "frame/set_render.h"
#include "ops/compare.h"
#include "ops/script_exe.h"
#include "ops/script_file.h"
#include "ops/undo.h"
#include "ui/app_globals.h"
#include "ui/progress.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

ScrExeState exe_state;

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
    int diffs = show_compare(cmp_window_request(), W_CMP_TEXT, W_CMP_FORM);
    if (diffs > 0 && ask_user(W_CMP_FORM, "Differences", "Save", "Close", 0,
                              "Save the differences as a script?") == ASK_OK)
        ui_file_selection(
            W_CMP_FORM, "Script File Selection", mm_path(SCR_DIR),
            [](const std::string& typed) {
                set_question_parent(W_CMP_FORM);
                CmpSaveOutcome saved = save_cmp_diff_script(typed, front_end_asker());
                set_question_parent(W_MAIN_WINDOW);
                render_outcome(saved.outcome, OutputArea{W_CMP_FORM, W_CMP_TEXT});
                return saved.outcome.result == Result::done;
            },
            "");
}

} // namespace

int cmd_undo(int) {
    undo_last_change(W_MAIN_OUTPUT, W_MAIN_WINDOW);
    return 1;
}

int cmd_cmp_open(int) {
    open_cmp_window();
    return 1;
}

int cmd_cmp_kind(int id) {
    if (ui_get_toggle(id))
        display_cmp_kind(id - W_CMP_KIND_TB[0] + 1);
    show_cmp_params_used();
    return 1;
}

int cmd_cmp_choice(int) {
    show_cmp_params_used();
    return 1;
}

int cmd_compare(int) {
    compare();
    return 1;
}

int cmd_script_view(int) {
    process_scr_view(ui_get_text(W_VIEW_FSB), W_VIEW_TEXT, W_VIEW_FORM, W_VIEW_FORM);
    return 1;
}

int cmd_script_create(int) {
    script_create_start();
    return 1;
}

int cmd_script_create_ports(int) {
    script_create_ports_ok();
    return 1;
}

int cmd_script_execute(int) {
    script_execute();
    return 1;
}

int cmd_script_execute_ports(int) {
    script_execute_ports();
    return 1;
}

int cmd_port_dialog_cancel(int id) {
    ui_unmanage(id == W_SCR_CRT_PRT.cancel ? W_SCR_CRT_PRT.slot : W_SCR_EXE_PRT.slot);
    return 1;
}
