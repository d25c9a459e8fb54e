// The common frame of the status displays (the GET of one device and its
// layout, as an outcome) and the helpers the members share.
#include "ops/status.h"
#include "snmp_access/session.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "catalogue/mib_catalogue.h"
#include "devices/long_op.h"
#include "devices/mrx_select.h"
#include "ops/reset_mask.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"
#include "ui/progress.h"
#include "ui/widget_ids.h"

const char* const MSG_STS_FAILED = "Could not get status values for: ";
const char* const MSG_STS_NO_PORTS = "You must enter one or more port numbers.";

MorixRecord* first_sel_reachable() {
    for (MorixRecord* r : session().devices()) {
        if (!r)
            break;
        if (is_selected(r) && r->reachable)
            return r;
    }
    return nullptr;
}

namespace {

int list_position(const MorixRecord* rec) {
    for (int p = 0; p < MAX_MRX_SLOTS && session().devices()[p]; ++p)
        if (session().devices()[p] == rec)
            return p;
    return 0;
}

} // namespace

// ---- shared pieces ---------------------------------------------------------

std::string status_val(const StatusCtx& c, const char* var, int instance,
                       const std::string& inst_str, const std::string& fallback) {
    std::string v;
    if (!get_prm_val(c.rec, var, instance, inst_str, &v, nullptr))
        return fallback;
    return v;
}

std::string status_raw(const StatusCtx& c, const char* var, int instance,
                       const std::string& inst_str) {
    std::string v, raw;
    if (!get_prm_val(c.rec, var, instance, inst_str, &v, &raw))
        return "";
    return raw.empty() ? v : raw;
}

void display_prm_val(StatusCtx& c, const std::string& label, const char* var, int instance,
                     const std::string& inst_str) {
    c.fields.emplace_back(label, status_val(c, var, instance, inst_str));
}

bool status_add(StatusCtx& c, const char* var, int instance, const std::string& inst_str) {
    int id = 0;
    if (!get_check_mib_var(var, &id))
        return false;
    add_prm_node(c.rec, id, 0, 0, instance, inst_str.c_str(), "", 0);
    return true;
}

std::string status_row(const char* format, const std::vector<std::string>& cols) {
    // Every conversion of the layouts is a %s; up to twelve columns.
    const char* a[12] = {};
    for (size_t i = 0; i < 12; ++i)
        a[i] = i < cols.size() ? cols[i].c_str() : "";
    char buf[1024];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    std::snprintf(buf, sizeof buf, format, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8],
                  a[9], a[10], a[11]);
#pragma GCC diagnostic pop
    return buf;
}

unsigned long status_counter(const std::string& text) {
    if (text.empty() || !check_str_digits(text) || text.size() > 10)
        return 0;
    unsigned long v = std::strtoul(text.c_str(), nullptr, 10);
    return v & 0xFFFFFFFFul;
}

std::string status_text(const StatusCtx& c) {
    std::string out;
    for (const auto& f : c.fields)
        out += f.first + ": " + f.second + "\n";
    if (!c.tables.empty())
        out += (out.empty() ? "" : "\n") + c.tables;
    return out;
}

// ---- the common frame ------------------------------------------------------

StatusOutcome run_status(int member, MorixRecord* rec, const StatusInput& in) {
    const StatusMember& m = status_member(member);
    StatusOutcome out;
    out.member = member;
    out.title = std::string(m.title) + " : " + rec->name;
    LongOperation op;
    op.busy();
    StatusCtx c;
    c.m = &m;
    c.rec = rec;
    c.parent = m.form;
    c.in = in;
    free_prm_list(rec);
    op.open(m.form, "Cancel Status", "", LO_FOLLOW_SNMP);
    op.at(list_position(rec));
    op.progress(m.progress ? m.progress : "", rec->name);
    int go = m.build(c);
    if (go == 0 && !front_end_progress().cancelled())
        mm_snmp(rec, SNMP_OP_GET);
    bool cancelled = op.close();
    if (!cancelled && go == 0 && rec->status != 0) {
        out.outcome.warnings.push_back(std::string(MSG_STS_FAILED) + rec->name);
    } else if (!cancelled && go == 0) {
        m.layout(c);
        out.laid_out = true;
        out.fields = c.fields;
        out.tables = c.tables;
        out.list_rows = c.list_rows;
        out.outcome.report = status_text(c);
    }
    if (!cancelled)
        out.outcome.warnings.insert(out.outcome.warnings.end(), c.warnings.begin(),
                                    c.warnings.end());
    // The chain goes in every case (a later command must not find it); a
    // cancelled device keeps its incomplete mark.
    free_prm_list(rec);
    if (cancelled)
        rec->status = SR_CANCELLED;
    DeviceOutcome d{rec->name, DeviceState::done, ""};
    if (cancelled) {
        out.outcome.result = Result::cancelled;
        d = {rec->name, DeviceState::cancelled, "cancelled before its status was read"};
    } else if (go != 0) {
        out.outcome.result = Result::refused;
        d = {rec->name, DeviceState::refused,
             c.warnings.empty() ? "its status was not asked for" : c.warnings[0]};
    } else if (rec->status != 0) {
        out.outcome.result = Result::failed;
        d = {rec->name, DeviceState::unreachable, MSG_STS_FAILED + rec->name};
    }
    out.outcome.devices.push_back(d);
    return out;
}
