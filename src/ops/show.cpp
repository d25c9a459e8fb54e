#include "ops/show.h"
#include "snmp_access/session.h"

#include <algorithm>

#include "catalogue/func_catalogue.h"
#include "catalogue/func_display.h"
#include "catalogue/mib_catalogue.h"
#include "devices/long_op.h"
#include "devices/text_buf.h"
#include "ops/reset_mask.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"
#include "ui/progress.h"
#include "ui/widget_ids.h"

int show_port_sel_ind = 0;

const char* const SHOW_BANNER =
    "Select the port type and enter the port numbers (for example 1-4,7 or all)\n"
    "when port parameters are selected, then press Apply to show the values.\n";

const char* const MSG_NONEXISTENT_PORTS =
    "You specified (or a script contains) one or more non-existent\n"
    "port numbers for the selected Morixes. The current operation will\n"
    "not use those port numbers.";

namespace {

const std::string STARS(72, '*');
constexpr const char* MSG_BAD_CODE = "Invalid internal error code. Software error.";

std::string port_name(int code) {
    std::string name;
    cvt_port_opt_str(code, &name);
    return name;
}

std::string quoted_if_empty(const std::string& v) {
    return v.empty() ? "\"\"" : v;
}

// The value text of one node; false when the node ends the report (17).
bool node_value_text(const ParamNode* n, const MibVarEntry* e, int detailed, std::string* out) {
    switch (n->status) {
    case NS_OK:
        break;
    case NS_NO_SUCH_NAME:
        *out = "Parameter does not exist.";
        return true;
    case NS_READ_ONLY:
        *out = std::string(MSG_BAD_CODE) + " - Parameter is read only.";
        return true;
    case NS_BAD_VALUE:
        *out = std::string(MSG_BAD_CODE) + " - Parameter cannot be set to this value.";
        return true;
    case NS_NOT_DONE:
        return false;
    default:
        *out = MSG_BAD_CODE;
        return true;
    }
    if (e && e->enum_id != -1) {
        std::string name;
        if (!cvt_enum_num_str(n->mib_index, n->value, &name))
            *out = "Enumeration conversion failed.";
        else
            *out = detailed ? name + "(" + n->value + ")" : name;
        return true;
    }
    *out = quoted_if_empty(n->value);
    return true;
}

// The site default (by its enumeration name) or the catalogue default; a
// variable with neither shows two double quotes, like an empty value.
std::string default_text(int mib_index) {
    const MibVarEntry* e = mib_var(mib_index);
    if (!e)
        return "\"\"";
    if (e->has_site_def) {
        std::string name;
        if (e->enum_id != -1 && cvt_enum_num_str(mib_index, e->site_def_val, &name))
            return name;
        return quoted_if_empty(e->site_def_val);
    }
    return quoted_if_empty(e->def_val);
}

// The lines of one device; false when a status 17 ended them.
bool format_device(const MorixRecord* r, int detailed, std::string* buf) {
    text_set_buf("\n\n" + STARS + "\n\n", buf, 0);
    text_set_buf("MORIX : " + r->name + "\n\n", buf, 0);
    if (r->status == SR_CANCELLED)
        return false;
    if (r->status != 0) {
        text_set_buf("Could not get parameter values. This may be due to a timeout.", buf, 1);
        return true;
    }
    int index = 0;
    for (const ParamNode* n = r->prm_list; n; n = n->next, ++index) {
        const MibVarEntry* e = mib_var(n->mib_index);
        std::string name = e ? e->name : std::string();
        std::string value;
        if (!node_value_text(n, e, detailed, &value))
            return false;
        if (detailed) {
            text_set_buf("Morix Parameter : " + name + " (" + (e ? e->oid_str : "") + ", " +
                             (e ? e->oid_num : "") + ")",
                         buf, 1);
            if (n->instance != 0)
                text_set_buf("Port Number : " + port_name(n->port_type) + " " +
                                 std::to_string(n->port_num),
                             buf, 1);
            if (n->status == NS_OK)
                text_set_buf("Default Value : " + default_text(n->mib_index), buf, 1);
            text_set_buf("Value : " + value, buf, 1);
            if (n->next)
                text_set_buf("", buf, 1);
            continue;
        }
        if (index % 4 == 0)
            text_set_buf("", buf, 1);
        if (n->port_type != 0)
            text_set_buf(name + " (" + port_name(n->port_type) + " port " +
                             std::to_string(n->port_num) + ") : " + value,
                         buf, 1);
        else
            text_set_buf(name + " : " + value, buf, 1);
    }
    return true;
}

int build_for(const std::vector<MorixRecord*>& recs, const std::vector<std::string>& labels,
              int all_ports, int port_count, const std::vector<int>& ports, int port_type) {
    int result = 0;
    for (const std::string& label : labels) {
        int id = 0;
        if (!get_check_mib_var(label, &id) || !check_port_type(id, port_type))
            continue;
        for (MorixRecord* r : recs)
            if (build_prm(r, all_ports, port_count, ports, port_type, id, "") != 0)
                result = PORT_NOT_FOUND;
    }
    return result;
}

} // namespace

const std::vector<PortTypeChoice>& port_type_choices() {
    static const std::vector<PortTypeChoice> choices = {
        {W_SHOW_ASYNC_TB, PT_ASY, "Async"},
        {W_SHOW_SYNC_TB, PT_SYN, "Sync"},
        {W_SHOW_PRINTER_TB, PT_PTR, "Printer"},
        {W_SHOW_ETHERNET_TB, PT_EN, "Ethernet"},
        {W_SHOW_WAN_INTERFACE_TB, PT_DS1INF, "WAN Interface"},
        {W_SHOW_WAN_CHANNEL_TB, PT_DS0CHAN, "WAN Channel"},
        {W_SHOW_CHANNELS_TB, PT_CHANNELS, "Channels"},
        {W_SHOW_WAN_INTERVAL_TB, PT_DS1INT, "WAN Interval"}};
    return choices;
}

int show_toggle_port_type(int toggle_id) {
    for (const PortTypeChoice& c : port_type_choices())
        if (c.toggle_id == toggle_id)
            return c.code;
    return -1;
}

int build_prm_list_sng(const std::vector<std::string>& labels, int all_ports, int port_count,
                       const std::vector<int>& ports, int port_type, MorixRecord* rec) {
    if (!rec)
        return 0;
    return build_for({rec}, labels, all_ports, port_count, ports, port_type);
}

std::function<void(const MorixRecord&)> show_device_listener;

std::string format_show_output(const std::vector<MorixRecord*>& devices, int detailed) {
    std::string buf;
    for (MorixRecord* r : devices) {
        bool complete = format_device(r, detailed, &buf);
        if (show_device_listener)
            show_device_listener(*r);
        free_prm_list(r);
        if (!complete) {
            text_set_buf("\n\nOperation cancelled.\n\n", &buf, 1);
            break;
        }
    }
    text_set_buf("\n\n" + STARS + "\n\n", &buf, 0);
    return buf;
}

namespace {

// Reads the chains of recs with one Get each, all devices at once, in op's
// cancel dialog (one device keeps its name in the dialog and its progress
// by chunk). Devices a cancel left unstarted get status 17; those started
// carry their nodes' 17s.
void read_values(const std::vector<MorixRecord*>& recs, LongOperation& op) {
    if (recs.size() == 1 && !front_end_progress().cancelled())
        op.progress("Getting values for", recs[0]->name);
    std::vector<char> began(recs.size(), 0);
    if (!front_end_progress().cancelled())
        began = mm_snmp_all(recs, SNMP_OP_GET, "Getting values");
    for (size_t i = 0; i < recs.size(); ++i)
        if (!began[i])
            recs[i]->status = SR_CANCELLED;
}

} // namespace

int get_sel_mrx_values() {
    LongOperation dialog_label; // the caller's dialog is open
    read_values(selected_reachable(), dialog_label);
    int position = 0;
    while (position < MAX_MRX_SLOTS && session().devices()[position])
        ++position;
    return position;
}

DeviceOutcome show_device_outcome(const MorixRecord& r) {
    if (r.status == SR_CANCELLED)
        return {r.name, DeviceState::cancelled, "cancelled before its values were read"};
    if (r.status == SR_TIMEOUT)
        return {r.name, DeviceState::unread, "no answer; its values were not read"};
    if (r.status != 0)
        return {r.name, DeviceState::unread, "its values could not be read"};
    for (const ParamNode* n = r.prm_list; n; n = n->next)
        if (n->status == NS_NOT_DONE)
            return {r.name, DeviceState::cancelled, "cancelled before all its values were read"};
    return {r.name, DeviceState::done, ""};
}

namespace {

// What the fetch left on the devices, read before the report frees it.
Result show_result(const std::vector<DeviceOutcome>& devices, bool cancelled) {
    Result result = cancelled ? Result::cancelled : Result::done;
    for (const DeviceOutcome& d : devices) {
        if (d.state == DeviceState::cancelled)
            return Result::cancelled;
        if (d.state != DeviceState::done && result == Result::done)
            result = Result::failed;
    }
    return result;
}

} // namespace

Outcome process_show(const ShowRequest& req) {
    Outcome out;
    LongOperation op;
    op.busy();
    int func = -1, all = 0, count = 0;
    int code = check_rqr_port(req.items, req.param_sel, req.port_type, &func);
    std::vector<int> ports = process_rqr_port(code, req.ports, &all, &count, 1, &out.warnings);
    if (code == PRQ_NO_FUNC || code == PRQ_NO_PRM) {
        out.result = Result::refused;
        return out;
    }
    ports.resize(std::min(ports.size(), static_cast<size_t>(std::max(count, 0))));
    int built = 0;
    // Each device reads the port list for itself.
    for (MorixRecord* r : req.devices) {
        DevicePorts d = code == PRQ_NO_PORT_PRMS || code == PRQ_NONE_MATCH
                            ? DevicePorts{}
                            : resolve_ports(*r, req.port_type, all, ports, PortPurpose::read);
        if (!d.refusal.empty())
            out.warnings.push_back(d.refusal);
        int n = static_cast<int>(d.ports.size());
        int rc = req.param_sel ? build_prm_list_sng(req.items, d.all, n, d.ports, req.port_type, r)
                               : build_mgmt_func_sng(func, d.all, n, d.ports, req.port_type, r);
        if (rc != 0)
            built = rc;
    }
    op.open(req.parent, "Cancel Show", "", LO_FOLLOW_SNMP);
    read_values(req.devices, op);
    bool cancelled = op.close();
    for (const MorixRecord* r : req.devices)
        out.devices.push_back(show_device_outcome(*r));
    out.result = show_result(out.devices, cancelled);
    out.report = format_show_output(req.devices, req.detailed ? 1 : 0);
    free_host_info_list(0);
    if (built != 0)
        out.warnings.push_back(MSG_NONEXISTENT_PORTS);
    return out;
}
