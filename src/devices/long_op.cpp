#include "devices/long_op.h"

#include "snmp_access/morix_record.h"
#include "snmp_access/snmp_engine.h"
#include "ui/ui.h"

LongOperation::LongOperation(int parent, const std::string& title, const std::string& label,
                             int flags) {
    if (flags & LO_BUSY)
        busy();
    open(parent, title, label, flags);
}

LongOperation::~LongOperation() {
    close();
    idle();
}

void LongOperation::busy(bool without_work) {
    if (busy_)
        return;
    if (without_work)
        set_app_cursor_no_dly(CURSOR_BUSY);
    else
        set_app_cursor(CURSOR_BUSY);
    busy_ = true;
}

void LongOperation::idle() {
    if (!busy_)
        return;
    set_app_cursor(CURSOR_NORMAL);
    busy_ = false;
}

void LongOperation::open(int parent, const std::string& title, const std::string& label,
                         int flags) {
    if (flags & LO_BUSY)
        busy();
    pop_cancel_dialog(1, parent, title, label, (flags & LO_CONFIRM) ? 1 : 0,
                      (flags & LO_FOLLOW_SNMP) ? 1 : 0, (flags & LO_NO_SCALE) ? 0 : 1, 0);
    open_ = true;
    cancelled_ = false;
    position_ = -1;
    unserved_.clear();
}

void LongOperation::at(int position) {
    position_ = position;
}

void LongOperation::unserved(std::vector<MorixRecord*> records) {
    unserved_ = std::move(records);
}

std::vector<MorixRecord*> LongOperation::serve(const std::vector<MorixRecord*>& devs, int snmp_op,
                                               const std::string& text) {
    std::vector<MorixRecord*> asked;
    for (MorixRecord* r : devs)
        if (r->prm_list)
            asked.push_back(r);
    if (asked.size() == 1)
        progress(text, asked[0]->name);
    std::vector<char> began(asked.size(), 0);
    if (!asked.empty() && !cancelled(0))
        began = mm_snmp_all(asked, snmp_op, text);
    std::vector<MorixRecord*> served, left;
    for (size_t i = 0; i < asked.size(); ++i)
        (began[i] ? served : left).push_back(asked[i]);
    unserved_.insert(unserved_.end(), left.begin(), left.end());
    return served;
}

bool LongOperation::cancelled(int percent) {
    return is_cancelled(percent) != 0;
}

void LongOperation::progress(const std::string& text, const std::string& device_name) {
    reset_cancel_dialog(text, device_name);
}

bool LongOperation::close() {
    if (!open_)
        return cancelled_;
    open_ = false;
    cancelled_ = pop_cancel_dialog_down() != 0;
    if (!cancelled_)
        return false;
    for (int p = position_ < 0 ? MAX_MRX_SLOTS : position_; p < MAX_MRX_SLOTS; ++p) {
        MorixRecord* r = host_info_list[p];
        if (!r)
            break;
        if (is_selected(r) && r->reachable)
            r->status = SR_CANCELLED;
    }
    for (MorixRecord* r : unserved_)
        r->status = SR_CANCELLED;
    return true;
}

std::vector<MorixRecord*> list_records(const std::vector<int>& positions, size_t from) {
    std::vector<MorixRecord*> out;
    for (size_t i = from; i < positions.size(); ++i)
        if (MorixRecord* r = host_info_list[positions[i]])
            out.push_back(r);
    return out;
}

bool cancel_requested() {
    return g_cancel_process != 0;
}

bool poll_cancel(int percent) {
    return is_cancelled(percent) != 0;
}
