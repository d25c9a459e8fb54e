// The network discovery prompt and the work dialog around a network
// discovery; the discovery itself is the devices layer's.
#include "frame/discover_window.h"

#include "devices/long_op.h"
#include "frame/device_list_window.h"
#include "frame/render.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

constexpr int PROMPT_TIMEOUT_INIT = 10;

void show_over_main(const Outcome& out) {
    render_outcome(out, OutputArea{W_MAIN_WINDOW, 0, true, true});
}

// The search-device window follows a discovery as it runs: its output area
// and its list of kept Morixes.
void dsc_output_shown(const std::string& text, bool rewrite) {
    if (rewrite)
        ui_set_text(W_DSC_OUTPUT, text);
    else
        write_otp_msg(W_DSC_OUTPUT, text, 0, 1);
}

void dsc_row_shown(const std::string& row) {
    ui_list_add_item(W_DSC_LIST, row, 0);
}

void dsc_rows_cleared() {
    ui_list_delete_all(W_DSC_LIST);
}

// Installed when the frame is linked in, before any window opens.
const bool dsc_sink_installed = [] {
    DscWindowSink sink;
    sink.output = dsc_output_shown;
    sink.row = dsc_row_shown;
    sink.clear_rows = dsc_rows_cleared;
    set_dsc_window_sink(sink);
    return true;
}();

} // namespace

void discover_new_proc() {
    set_dialog_title(W_DSC_PROMPT, "Discover Morixes/Network");
    set_widget_label(W_DSC_PROMPT_ADDR_LBL, "Internet Address");
    set_widget_label(W_DSC_PROMPT_MASK_LBL, "Subnet Mask");
    set_widget_label(W_DSC_PROMPT_TO_LBL, "Timeout");
    set_widget_label(W_DSC_PROMPT_NOTE,
                     "Use the 'Save Morix List' menu\nselection to save the discovered\nMorixes.");
    ui_set_text(W_DSC_PROMPT_ADDR_TF, "");
    ui_set_text(W_DSC_PROMPT_MASK_TF, "");
    ui_set_text(W_DSC_PROMPT_TO_TF, std::to_string(PROMPT_TIMEOUT_INIT));
    ui_manage(W_DSC_PROMPT);
    set_focus(W_DSC_PROMPT_ADDR_TF);
}

int dsc_mrx_prm_ok(const DscPromptRequest& req) {
    static const int field_ids[] = {W_DSC_PROMPT_ADDR_TF, W_DSC_PROMPT_MASK_TF};
    DscPromptFields fields;
    std::string refusal;
    int bad = check_dsc_prompt(req, &fields, &refusal);
    if (bad >= 0) {
        display_warn(field_ids[bad], refusal);
        return -1;
    }
    ui_unmanage(W_DSC_PROMPT);
    discover_morixes_new(fields.address, fields.mask, fields.timeout, 0);
    return 0;
}

void dsc_mrx_prm_cancel() {
    ui_unmanage(W_DSC_PROMPT);
}

int discover_morixes_new(const std::string& address, const std::string& mask, int timeout,
                         int allow_default) {
    NetDiscoveryRequest req;
    Outcome plan = plan_net_discovery(address, mask, timeout, allow_default, &req);
    if (plan.result != Result::done) {
        show_over_main(plan);
        return -1;
    }
    return discover_morixes_disc(req);
}

int discover_morixes_disc(const NetDiscoveryRequest& req) {
    LongOperation op;
    op.busy(true);
    display_work(W_MAIN_WINDOW, "Discovering Morixes", dsc_work_text(req));
    process_pending_events();
    ListOutcome out;
    {
        WorkDialogProgress progress(W_MAIN_WINDOW);
        out = run_net_discovery(req, progress);
    }
    render_device_list(out, W_MAIN_WINDOW);
    return 0;
}

int discover_morixes_disc(const std::string& bcast, int timeout, const std::string& header,
                          const std::string& network) {
    NetDiscoveryRequest req;
    req.bcast = bcast;
    req.timeout = timeout;
    req.header = header;
    req.network = network;
    return discover_morixes_disc(req);
}

int show_search_discovery(const DiscoverRequest& req) {
    DscSearchOutcome res = discover_morixes(req);
    ui_set_text(W_DSC_SRCH_DEV_TF, res.device);
    if (!res.timeout.empty())
        ui_set_text(W_DSC_TIMEOUT_TF, res.timeout);
    if (!res.retries.empty())
        ui_set_text(W_DSC_RETRIES_TF, res.retries);
    render_outcome(res.outcome, OutputArea{W_DSC_FORM, 0, true, true});
    return res.result;
}
