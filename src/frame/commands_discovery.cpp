// The search-device window and the network discovery prompt: their
// commands read the window into a request.
#include "devices/discovery.h"
#include "frame/commands.h"
#include "frame/discover_window.h"
#include "frame/render.h"
#include "ui/app_globals.h"
#include "ui/ui.h"

int cmd_discover(int) {
    DiscoverRequest req;
    req.device = ui_get_text(W_DSC_SRCH_DEV_TF);
    req.timeout = ui_get_text(W_DSC_TIMEOUT_TF);
    req.retries = ui_get_text(W_DSC_RETRIES_TF);
    req.verbose = ui_get_toggle(W_DSC_VERBOSE_TB);
    show_search_discovery(req);
    return 1;
}

int cmd_dsc_copy_to_list(int) {
    // The main list's rows and its information window go before the list
    // is replaced; the new first row is shown at the top.
    if (dsc_mrx_count() > 0) {
        ui_unmanage(W_MRX_INFO_BOX);
        ui_list_delete_all(W_MRX_LIST);
    }
    Outcome out = copy_dsc_mrx_lst(host_disc_list);
    if (out.result != Result::refused && mrx_lst_cnt > 0)
        ui_list_set_top_pos(W_MRX_LIST, 1);
    render_outcome(out, OutputArea{W_DSC_FORM, 0});
    return 1;
}

// "Save List": the file selection on the discovered devices.
int cmd_dsc_save_list(int) {
    if (dsc_mrx_count() == 0) {
        display_warn(W_DSC_FORM, "There are no Morixes to save.");
        return 1;
    }
    ui_file_selection(
        W_DSC_FORM, "Save Morix List Selection", mm_path("data/mrx_lists"),
        [](const std::string& typed) {
            std::string path;
            remove_blanks_warn(W_DSC_FORM, typed, &path);
            return save_dsc_mrx_lst_ok(path);
        },
        DSC_SAVE_HELP);
    return 1;
}

// "Close": empties the window and the discovered devices, hides the window.
int cmd_dsc_close(int) {
    for (int id : {W_DSC_SRCH_DEV_TF, W_DSC_TIMEOUT_TF, W_DSC_RETRIES_TF})
        ui_set_text(id, "");
    dsc_output_clear();
    ui_set_toggle(W_DSC_VERBOSE_TB, false, false);
    free_dsc_mrx_lst();
    gui_unmanage_top_form(W_DSC_FORM);
    return 1;
}

int cmd_dsc_prompt_ok(int) {
    DscPromptRequest req;
    req.address = ui_get_text(W_DSC_PROMPT_ADDR_TF);
    req.mask = ui_get_text(W_DSC_PROMPT_MASK_TF);
    req.timeout = ui_get_text(W_DSC_PROMPT_TO_TF);
    dsc_mrx_prm_ok(req);
    return 1;
}

int cmd_dsc_prompt_cancel(int) {
    dsc_mrx_prm_cancel();
    return 1;
}

int cmd_dsc_prompt_help(int) {
    display_item_help(W_DSC_PROMPT, DSC_PROMPT_HELP);
    return 1;
}
