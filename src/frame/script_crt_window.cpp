#include "frame/script_crt_window.h"

#include "catalogue/func_display.h"
#include "devices/mrx_select.h"
#include "frame/render.h"
#include "frame/script_windows.h"
#include "frame/window_asker.h"
#include "ops/script_file.h"
#include "ui/app_globals.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"
#include "ui/window_state.h"

namespace {

ScrCrtState crt_state; // kept from Create to the file selection's OK

void crt_file_selection() {
    ui_file_selection(
        W_CRT_FORM, "Script File Selection", mm_path(SCR_DIR),
        [](const std::string& typed) {
            WindowAsker asker(W_CRT_FORM);
            ScriptCrtOutcome out = create_script_file(&crt_state, typed, asker);
            render_script_create(out);
            return out.proceed ? 1 : 0;
        },
        "");
}

} // namespace

void render_script_create(const ScriptCrtOutcome& out) {
    render_outcome(out.outcome, OutputArea{W_CRT_FORM, W_CRT_TEXT});
}

void script_create_start() {
    ui_unmanage(W_SCR_CRT_PRT.slot);
    ScriptCrtRequest req;
    req.opt = scr_crt_window_options();
    if (!check_main_sel(W_CRT_FORM, SEL_SCRIPT, req.opt.selected))
        return;
    req.devices = selected_reachable();
    req.params = main_selection().params;
    req.param_sel = param_sel_flag;
    req.parent = W_CRT_FORM;
    ScriptCrtOutcome plan = plan_script_create(req, &crt_state);
    render_script_create(plan);
    if (!plan.proceed)
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

void script_create_ports_ok() {
    crt_state.opt.wildcard = ui_get_toggle(W_SCR_CRT_WILD_TB);
    WindowAsker asker(W_CRT_FORM);
    ScriptCrtOutcome out =
        script_create_ports(&crt_state, read_scr_port_dialog(W_SCR_CRT_PRT), asker);
    render_script_create(out);
    if (!out.proceed)
        return;
    ui_unmanage(W_SCR_CRT_PRT.slot);
    crt_file_selection();
}
