// The report lines of a change, per device: what the Set answered for each
// value, then the undo entry, what it leaves out and what did not read back.
#include "catalogue/mib_catalogue.h"
#include "ops/change.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"

namespace {

// Reasons of the node statuses a device may answer a Set with.
struct StatusReason {
    int status;
    const char* reason;
};
constexpr StatusReason set_reasons[] = {
    {NS_NO_SUCH_NAME, "Parameter cannot be set: it does not exist or is read only."},
    {NS_READ_ONLY, "Parameter is read only."},
    {NS_BAD_VALUE, "Parameter cannot be set to this value."}};

std::string var_name(const ParamNode* n) {
    const MibVarEntry* e = mib_var(n->mib_index);
    return e ? e->name : std::string();
}

// "<name>" or "<name (asy port 3)>" of a node's line.
std::string node_place(const MorixRecord* rec, const ParamNode* n) {
    if (n->port_type == 0)
        return "<" + rec->name + ">";
    std::string where = node_where(n);
    return "<" + rec->name + where.substr(var_name(n).size()) + ">";
}

// Whether every node was refused as not settable (by kind: the Set
// window counts only missing ones, the basic windows read-only too).
bool all_refused(const MorixRecord* rec, bool read_only_too) {
    if (!rec->prm_list)
        return false;
    for (const ParamNode* n = rec->prm_list; n; n = n->next)
        if (n->status != NS_NO_SUCH_NAME && !(read_only_too && n->status == NS_READ_ONLY))
            return false;
    return true;
}

// The lines of the Set's node errors; basic selects the basic windows' forms.
bool node_lines(const DeviceChange& d, bool cancelled, bool basic, std::vector<std::string>* out) {
    const MorixRecord* rec = d.rec;
    if (d.refused || rec->status == SR_CANCELLED)
        return true; // never sent: nothing may have changed on it
    if (rec->status != SR_OK) {
        out->push_back("Some values may have been set for: " + rec->name);
        return true;
    }
    if (all_refused(rec, basic)) {
        if (!basic)
            out->push_back("<" + rec->name +
                           ">  Could not set any parameters.\nCheck the value "
                           "of the allow_snmp_sets parameter.");
        else
            out->push_back("<" + rec->name + "> " + set_reasons[0].reason);
        return true;
    }
    bool error = false;
    for (const ParamNode* n = rec->prm_list; n; n = n->next) {
        if (n->status == NS_OK)
            continue;
        error = true;
        if (n->status == NS_NOT_DONE) {
            out->push_back("The operation was cancelled on the " + var_name(n) +
                           " parameter for Morix " + rec->name + "\n");
            break;
        }
        const char* reason = nullptr;
        for (const StatusReason& s : set_reasons)
            if (s.status == n->status)
                reason = s.reason;
        if (reason)
            out->push_back(node_place(rec, n) + " " + var_name(n) + " : " + reason);
        else // an error status the program has no reason for (genErr, ...)
            out->push_back(node_place(rec, n) + " " + var_name(n) +
                           " : Invalid internal error code. Software error. - " + rec->name +
                           " answered the Set of " + var_name(n) + " with an error.");
    }
    (void)cancelled;
    return error;
}

// The safe-change lines: refusal, or undo entry, left out, not taken.
bool safe_lines(const DeviceChange& d, std::vector<std::string>* out) {
    const SafeSet& s = d.safe;
    const std::string who = "<" + d.rec->name + ">  ";
    if (s.refused) {
        out->push_back(s.refusal);
        return true;
    }
    if (!s.undo_path.empty())
        out->push_back(who + "Undo script: " + s.undo_path);
    for (const std::string& l : s.left_out)
        out->push_back(who + "Not in the undo script: " + l);
    for (const std::string& l : s.not_taken)
        out->push_back(l);
    return !s.not_taken.empty();
}

} // namespace

bool change_report_lines(const DeviceChange& d, bool cancelled, std::string* text) {
    std::vector<std::string> nodes, safe;
    bool error = node_lines(d, cancelled, false, &nodes);
    error = safe_lines(d, &safe) || error;
    for (const std::string& l : nodes)
        *text += l + "\n";
    for (const std::string& l : safe)
        *text += l + "\n";
    return error;
}

bool change_report_warnings(const DeviceChange& d, bool cancelled, std::vector<std::string>* out) {
    bool error = node_lines(d, cancelled, true, out);
    // A clean change stays quiet (Undo Last Change finds the script); one
    // whose values did not all take names its undo script in one warning.
    std::vector<std::string> safe;
    if (safe_lines(d, &safe)) {
        std::string joined;
        for (const std::string& l : safe)
            joined += (joined.empty() ? "" : "\n") + l;
        out->push_back(joined);
        error = true;
    }
    return error;
}

std::string change_device_reason(const DeviceChange& d) {
    std::vector<std::string> lines;
    if (!d.refused && d.rec->status == SR_OK)
        node_lines(d, false, false, &lines);
    for (const std::string& l : d.safe.not_taken)
        lines.push_back(l);
    std::string reason;
    for (const std::string& l : lines)
        reason += (reason.empty() ? "" : "\n") + l;
    return reason;
}
