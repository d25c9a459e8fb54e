// The search-device window's actions on its results: Update (the main
// device list becomes the discovered devices), Save List, Close, and the
// dispatch of the window's ids.
#include "devices/discovery.h"
#include "devices/long_op.h"
#include "devices/mrx_connect.h"
#include "devices/mrx_list.h"
#include "devices/mrx_list_file.h"
#include "ui/app_globals.h"
#include "ui/widget_ids.h"

namespace {

const char* const k_no_valid = "No valid Morixes were discovered.";

// Warnings of a discovered device that identification no longer accepts.
void warn_update_refused(int code, const std::string& name, const std::string& descr,
                         std::vector<std::string>* warnings) {
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
        warnings->push_back("Invalid query Morix code, software error.");
        return;
    }
    warnings->push_back(text + "\n");
    if (!descr.empty())
        warnings->push_back(descr);
}

// A copy of a discovered record, to be identified again.
MorixRecordPtr copy_found(const MorixRecord* found) {
    MorixRecordPtr rec = new_host_node();
    rec->name = found->name;
    rec->community = found->community;
    rec->timeout = found->timeout;
    rec->retries = found->retries;
    rec->product_type = found->product_type;
    return rec;
}

// Lists a record identified again, or says in warnings why it is not
// listed. Returns the identification code.
int take_one(MorixRecordPtr rec, const IdentItem& it, std::vector<std::string>* warnings) {
    int code = it.code;
    if (code != CR_OK && code != CR_NOT_REACHABLE) {
        warn_update_refused(code, rec->name, it.summary, warnings);
        return code;
    }
    rec->reachable = code == CR_OK;
    rec->has_info = code == CR_OK;
    rec->info = code == CR_OK ? it.info : "";
    if (code == CR_NOT_REACHABLE)
        remove_mrx_info(rec->name);
    std::string name = rec->name;
    // The device list holds 63 records; the discovered table holds 64.
    if (insert_mrx_record(std::move(rec)) < 0)
        warnings->push_back("The Morix list is full (" + std::to_string(MAX_MRX_RECORDS) +
                            " Morixes).\n" + name + " was not added to the list.");
    return code;
}

} // namespace

Outcome copy_dsc_mrx_lst(const DeviceList& table) {
    Outcome out;
    int count = 0;
    while (count < MAX_MRX_SLOTS && table[count])
        ++count;
    if (count == 0) {
        out.result = Result::refused;
        out.warnings.push_back(k_no_valid);
        return out;
    }
    LongOperation op;
    op.busy(true);
    free_host_info_list(host_info_list);
    mrx_list_changed();
    op.open(W_DSC_FORM, "Cancel Update Morix", "", 0);
    // Every found device is identified again side by side, then listed in
    // the order found; a cancel lists those identified before it.
    std::vector<MorixRecordPtr> recs;
    std::vector<IdentItem> items(count);
    for (int i = 0; i < count; ++i) {
        recs.push_back(copy_found(table[i]));
        items[i].rec = recs.back().get();
    }
    if (count == 1)
        op.progress("Adding", table[0]->name);
    if (!op.cancelled(0))
        connect_morix_many(items, "Adding");
    for (int i = 0; i < count; ++i)
        if (take_one(std::move(recs[i]), items[i], &out.warnings) == CR_CANCELLED) {
            out.result = Result::cancelled;
            break;
        }
    return out;
}

Outcome save_dsc_mrx_lst(const std::string& typed, Asker& asker) {
    return save_list_file(typed, host_disc_list, asker);
}

const char* const DSC_PROMPT_HELP =
    "Enter the network address, the subnet mask and the time-out (in seconds)\n"
    "of the discovery. Empty fields take their default values.";
const char* const DSC_SAVE_HELP =
    "Select or type the name of the file that the discovered Morixes are saved to.";
