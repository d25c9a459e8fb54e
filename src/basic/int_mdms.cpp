#include "basic/int_mdms.h"
#include "snmp_access/session.h"

#include <cstdio>
#include <cstdlib>

#include "basic/basic_frame.h"
#include "basic/set_basic.h"
#include "catalogue/mib_catalogue.h"
#include "devices/allow_sets.h"
#include "devices/long_op.h"
#include "devices/mrx_list.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"
#include "ui/widget_ids.h"

std::vector<ImdmRow> int_mdms_rows;
int int_mdms_stat = 1;

namespace {

constexpr const char* MSG_NO_REFS =
    "Could not find internal references to a parameter group or parameter. Software error.";
// A modem count beyond this is not a count a device can have.
constexpr int MAX_IMDM = MAX_PORT_LIST;

// Platform class 5 devices keep their modems in their own tables.
constexpr int WAN_PLATFORM = 5;
const char* const wan_state_words[5] = {"<Undefined>", "Used", "Available", "Busy", "Failed"};
const char* const state_words[5] = {"<Undefined>", "Available", "Busy", "Failed", "Used"};

const char* get_var(const MorixRecord* r) {
    return r->platform == WAN_PLATFORM ? "mdmStatState" : "mrxpModemStatus";
}
const char* set_var(const MorixRecord* r) {
    return r->platform == WAN_PLATFORM ? "mdmCtlState" : "mrxpModemStatus";
}

// "a, b:\n" + tail: the names with the last separator made a colon.
void name_report(const std::vector<std::string>& names, const std::string& tail, Outcome* out) {
    if (names.empty())
        return;
    std::string text;
    for (const std::string& n : names)
        text += (text.empty() ? "" : ", ") + n;
    out->warnings.push_back(text + ":\n" + tail);
}

int state_of(const ParamNode* n) {
    char* end = nullptr;
    long v = std::strtol(n->value.c_str(), &end, 10);
    if (n->value.empty() || *end != '\0' || v < 1 || v > 4)
        return 0;
    return static_cast<int>(v);
}

} // namespace

const char* imdm_state_word(int platform, int state) {
    if (state < 0 || state > 4)
        state = 0;
    return platform == WAN_PLATFORM ? wan_state_words[state] : state_words[state];
}

std::string imdm_row_text(const std::string& name, int modem, const char* word) {
    char line[160];
    std::snprintf(line, sizeof line, " %-32s %-13d %-10s", name.c_str(), modem, word);
    return line;
}

int process_get_int_mdms_vals(int report, Outcome* out) {
    int_mdms_rows.clear();
    std::vector<std::string> none, unread;
    std::vector<int> read;
    for (int p = 0; p < MAX_MRX_SLOTS && session().devices()[p]; ++p) {
        MorixRecord* r = session().devices()[p];
        if (!is_selected(r) || !r->reachable)
            continue;
        int id = 0;
        if (r->modem_count <= 0 || r->modem_count > MAX_IMDM) {
            none.push_back(r->name);
            continue;
        }
        if (!get_check_mib_var(get_var(r), &id)) {
            out->warnings.push_back(MSG_NO_REFS);
            out->result = Result::failed;
            return 0;
        }
        free_prm_list(r);
        for (int m = 1; m <= r->modem_count; ++m)
            add_prm_node(r, id, PT_IMDM, m, m, "", "", 0);
        read.push_back(p);
    }
    LongOperation op;
    op.busy();
    std::vector<MorixRecord*> recs;
    for (int p : read)
        recs.push_back(session().devices()[p]);
    mm_snmp_all(recs, SNMP_OP_GET, "");
    for (int p : read) {
        MorixRecord* r = session().devices()[p];
        bool ok = r->status == SR_OK;
        for (const ParamNode* n = r->prm_list; n; n = n->next) {
            ok = ok && n->status == NS_OK;
            int_mdms_rows.push_back({p, n->port_num, n->status == NS_OK ? state_of(n) : 0});
        }
        if (!ok) {
            unread.push_back(r->name);
            out->devices.push_back(
                {r->name, DeviceState::unread, r->name + ": could not get the modem states"});
        } else {
            out->devices.push_back({r->name, DeviceState::done, ""});
        }
        free_prm_list(r);
    }
    op.idle();
    if (report)
        name_report(none, "Morixes do not contain internal modems.\n", out);
    name_report(unread, "Could not get parameter values. This may be due to a timeout.", out);
    if (!unread.empty())
        out->result = Result::failed;
    return unread.empty() ? 1 : 0;
}

std::vector<std::string> int_mdms_row_texts() {
    std::vector<std::string> rows;
    for (const ImdmRow& row : int_mdms_rows) {
        const MorixRecord* r = session().devices()[row.mrx_pos];
        rows.push_back(imdm_row_text(r->name, row.modem, imdm_state_word(r->platform, row.state)));
    }
    return rows;
}

int set_int_mdms(const std::vector<int>& sel, int state, Outcome* out) {
    // The chosen modems per device, in list order.
    std::vector<std::pair<int, std::vector<int>>> chosen;
    for (int pos : sel) {
        if (pos < 1 || pos > static_cast<int>(int_mdms_rows.size()))
            continue;
        const ImdmRow& row = int_mdms_rows[pos - 1];
        if (chosen.empty() || chosen.back().first != row.mrx_pos)
            chosen.push_back({row.mrx_pos, {}});
        chosen.back().second.push_back(row.modem);
    }
    will_sel_mrx_allow_set();
    std::vector<int> devices;
    int result = IMDM_DONE;
    // The refusals and the Set's report lines go into the outcome.
    PageRun run(*out);
    for (const auto& c : chosen) {
        MorixRecord* r = session().devices()[c.first];
        int id = 0;
        if (!check_morix_set(c.first)) {
            result = IMDM_FAILED;
            continue;
        }
        if (!get_check_mib_var(set_var(r), &id)) {
            out->warnings.push_back(MSG_NO_REFS);
            result = IMDM_FAILED;
            continue;
        }
        free_prm_list(r);
        for (int m : c.second)
            add_prm_node(r, id, PT_IMDM, m, m, "", std::to_string(state).c_str(), 0);
        devices.push_back(c.first);
    }
    LongOperation op;
    op.busy();
    int error = 0, cancel = 0;
    if (!devices.empty()) {
        // The dialog's confirmation covers it: undo cannot set a modem's state.
        Outcome sent = process_set_req_basic(devices, W_IMDM_DIALOG, &error, &cancel, true);
        out->devices.insert(out->devices.end(), sent.devices.begin(), sent.devices.end());
    }
    op.idle();
    result = cancel ? IMDM_CANCELLED : error ? IMDM_FAILED : result;
    out->result = result == IMDM_DONE        ? Result::done
                  : result == IMDM_CANCELLED ? Result::cancelled
                                             : Result::failed;
    return result;
}

void int_mdms_state_toggled(int id, bool set) {
    if (set)
        int_mdms_stat = id == W_IMDM_AVAIL_TB ? 1 : 2;
}
