#include "devices/long_op.h"

#include "snmp_access/morix_record.h"
#include "snmp_access/snmp_engine.h"
#include "ui/progress.h"

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
    front_end_display().busy(without_work);
    busy_ = true;
}

void LongOperation::idle() {
    if (!busy_)
        return;
    front_end_display().idle();
    busy_ = false;
}

void LongOperation::open(int parent, const std::string& title, const std::string& label,
                         int flags) {
    if (flags & LO_BUSY)
        busy();
    front_end_display().open(parent, title, label, (flags & LO_CONFIRM) != 0,
                             (flags & LO_FOLLOW_SNMP) != 0, (flags & LO_NO_SCALE) == 0);
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
    return front_end_display().poll(percent);
}

void LongOperation::progress(const std::string& text, const std::string& device_name) {
    front_end_display().label(text, device_name);
}

bool LongOperation::close() {
    if (!open_)
        return cancelled_;
    open_ = false;
    cancelled_ = front_end_display().close();
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
    return front_end_display().cancel_requested();
}

void clear_cancel_request() {
    front_end_display().clear_cancel();
}

bool poll_cancel(int percent) {
    return front_end_display().poll(percent);
}
