// The search-device window's actions on its results: Update (the main
// device list becomes the discovered devices), Save List, Close, and the
// dispatch of the window's ids.
#include "devices/discovery.h"
#include "devices/long_op.h"
#include "devices/mrx_connect.h"
#include "devices/mrx_list.h"
#include "devices/mrx_list_file.h"
#include "ui/app_globals.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

const char* const k_no_valid = "No valid Morixes were discovered.";

// Warnings of a discovered device that identification no longer accepts.
void warn_update_refused(int code, const std::string& name, const std::string& descr) {
    if (code == CR_CANCELLED)
        return;
    std::string text;
    if (code == CR_NOT_MORIX)
        text = name + " is not a Morix.\nIt was not added to the list.";
    else if (code == CR_NOT_SUPPORTED)
        text = name + " is not a supported Morix.\nIt was not added to the list.";
    else if (code == CR_UNKNOWN_HOST)
        text = name + " is an unknown device.\nIt was not added to the list.";
    else {
        display_warn(W_DSC_FORM, "Invalid query Morix code, software error.");
        return;
    }
    display_warn(W_DSC_FORM, text + "\n");
    if (!descr.empty())
        display_warn(W_DSC_FORM, descr);
}

// Identifies a copy of a discovered record again and lists it. Returns the
// identification code.
int update_one(const MorixRecord* found) {
    MorixRecordPtr rec = new_host_node();
    rec->name = found->name;
    rec->community = found->community;
    rec->timeout = found->timeout;
    rec->retries = found->retries;
    rec->product_type = found->product_type;
    std::string product, summary, info;
    int code = connect_morix(rec.get(), &product, &summary, &info, "");
    if (code != CR_OK && code != CR_NOT_REACHABLE) {
        warn_update_refused(code, found->name, summary);
        return code;
    }
    rec->reachable = code == CR_OK;
    rec->has_info = code == CR_OK;
    rec->info = code == CR_OK ? info : "";
    if (code == CR_NOT_REACHABLE)
        remove_mrx_info(rec->name);
    // The device list holds 63 records; the discovered table holds 64.
    if (insert_mrx_row(std::move(rec), false) < 0)
        display_warn(W_DSC_FORM, "The Morix list is full (" + std::to_string(MAX_MRX_RECORDS) +
                                     " Morixes).\n" + found->name + " was not added to the list.");
    return code;
}

} // namespace

void copy_dsc_mrx_lst(const DeviceList& table) {
    int count = 0;
    while (count < MAX_MRX_SLOTS && table[count])
        ++count;
    if (count == 0) {
        display_warn(W_DSC_FORM, k_no_valid);
        return;
    }
    LongOperation op;
    op.busy(true);
    ui_unmanage(W_MRX_INFO_BOX);
    free_host_info_list(host_info_list);
    ui_list_delete_all(W_MRX_LIST);
    mrx_list_changed();
    op.open(W_DSC_FORM, "Cancel Update Morix", "", 0);
    for (int i = 0; i < count; ++i) {
        double pct = static_cast<double>(i) / static_cast<double>(count) * 100.0;
        if (op.cancelled(static_cast<int>(pct)))
            break;
        op.progress("Adding", table[i]->name);
        if (update_one(table[i]) == CR_CANCELLED || g_cancel_process)
            break;
    }
    if (mrx_lst_cnt > 0)
        ui_list_set_top_pos(W_MRX_LIST, 1);
}

int save_dsc_mrx_lst_ok(const std::string& typed) {
    return save_mrx_list_proc(W_DSC_FORM, typed, host_disc_list);
}

const char* const DSC_PROMPT_HELP =
    "Enter the network address, the subnet mask and the time-out (in seconds)\n"
    "of the discovery. Empty fields take their default values.";
const char* const DSC_SAVE_HELP =
    "Select or type the name of the file that the discovered Morixes are saved to.";

void save_dsc_mrx_lst() {
    if (dsc_mrx_count() == 0) {
        display_warn(W_DSC_FORM, "There are no Morixes to save.");
        return;
    }
    ui_file_selection(W_DSC_FORM, "Save Morix List Selection", mm_path("data/mrx_lists"),
                      save_dsc_mrx_lst_ok, DSC_SAVE_HELP);
}

void close_dsc_window() {
    for (int id : {W_DSC_SRCH_DEV_TF, W_DSC_TIMEOUT_TF, W_DSC_RETRIES_TF})
        ui_set_text(id, "");
    dsc_output_clear();
    ui_set_toggle(W_DSC_VERBOSE_TB, false, false);
    free_dsc_mrx_lst();
    gui_unmanage_top_form(W_DSC_FORM);
}
