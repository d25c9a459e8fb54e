// The search-device window and the network discovery prompt: their
// commands read the window into a request.
#include "devices/discovery.h"
#include "frame/commands.h"
#include "ui/ui.h"

int cmd_discover(int) {
    DiscoverRequest req;
    req.device = ui_get_text(W_DSC_SRCH_DEV_TF);
    req.timeout = ui_get_text(W_DSC_TIMEOUT_TF);
    req.retries = ui_get_text(W_DSC_RETRIES_TF);
    req.verbose = ui_get_toggle(W_DSC_VERBOSE_TB);
    discover_morixes(req);
    return 1;
}

int cmd_dsc_copy_to_list(int) {
    copy_dsc_mrx_lst(host_disc_list);
    return 1;
}

int cmd_dsc_save_list(int) {
    save_dsc_mrx_lst();
    return 1;
}

int cmd_dsc_close(int) {
    close_dsc_window();
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
