// Reading the variables of a page from the devices with the common-value
// rule, and turning field texts into Set requests with their checks.
#include <algorithm>
#include <cstdio>
#include <map>

#include "basic/basic_page.h"
#include "catalogue/mib_catalogue.h"
#include "devices/long_op.h"
#include "ops/reset_mask.h"
#include "snmp_access/morix_record.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/session.h"
#include "snmp_access/snmp_engine.h"
#include "snmp_access/snmp_values.h"

namespace {

bool is_rip(const std::string& name) {
    return name == "interfaceRipSendVersion" || name == "interfaceRipRecvVersion";
}
bool is_channel_var(const std::string& name) {
    return name == "mrxt1ChanSigProto" || name == "mrxt1ChanRing";
}
bool is_module_var(const std::string& name) {
    static const char* const names[] = {"mrxt1SwitchType",      "dsx1Fdl",
                                        "mrxt1Ds1LineBuildout", "mrxt1dsx1LineType",
                                        "dsx1LineCoding",       "mrxt1CasDnisDigits",
                                        "mrxt1CasAniDigits"};
    for (const char* n : names)
        if (name == n)
            return true;
    return false;
}

std::string chan_inst(int if_index, int channel) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d.%d", if_index, channel);
    return buf;
}

int chan_count(const MorixRecord* r, int module) {
    return module < static_cast<int>(r->wan_chan_count.size()) ? r->wan_chan_count[module] : 0;
}

// The Get nodes of one variable for one device.
void add_get_nodes(MorixRecord* r, int pos, int id, const std::string& name, int port_kind) {
    if (name == "mrxt1PRIModuleType") {
        for (size_t k = 0; k < r->wan_if_index.size(); ++k)
            add_prm_node(r, id, PT_DS1INF, r->wan_if_index[k], r->wan_if_index[k], "", "", 0);
    } else if (is_rip(name)) {
        add_prm_node(r, id, PT_EN, 1, 1, "", "", 0);
    } else if (is_module_var(name) || is_channel_var(name)) {
        for (const WanChoice& c : wan_chosen)
            if (c.mrx_pos == pos)
                set_wan_edit_param(name, "", pos, c.module);
    } else if (name == "mrxt1ChanIpAddr") {
        std::vector<int> ports = selected_ports(pos);
        build_prm(r, 0, static_cast<int>(ports.size()), ports, PT_DS0CHAN, id, "");
    } else {
        std::vector<int> ports = selected_ports(pos);
        build_prm(r, 0, static_cast<int>(ports.size()), ports, port_kind, id, "");
    }
}

// The value of one node as the common-value rule compares it.
struct Candidate {
    bool found = false;
    std::string text, raw;
};
Candidate node_value(const MorixRecord* r, const std::string& name, int inst,
                     const std::string& inst_str) {
    Candidate c;
    c.found = get_prm_val(r, name, inst, inst_str, &c.text, &c.raw) == 1;
    if (c.raw.empty())
        c.raw = c.text;
    return c;
}

// Folds one value into the common value; false once values differ.
bool fold(const Candidate& v, bool* have, Candidate* common) {
    if (!*have) {
        *common = v;
        *have = true;
        return true;
    }
    return v.text == common->text;
}

void finish_common(bool have, bool differ, const Candidate& common, std::string* text,
                   int* number) {
    if (differ || !have) {
        *text = "";
        *number = 0;
        return;
    }
    *text = common.text.empty() ? set_to_blank : common.text;
    *number = std::atoi(common.raw.c_str());
}

const char* unread_message(int result) {
    switch (result) {
    case SR_TIMEOUT:
        return "Could not get parameter values. This may be due to a timeout.";
    case SR_UNKNOWN_HOST:
        return "Could not get any parameters. Unknown device.";
    default:
        return "Could not get any parameters. Morix is not connected.";
    }
}

// A device that could not be read, in the running outcome.
void note_unread(const MorixRecord* r, int code) {
    Outcome* o = page_run_outcome();
    if (!o)
        return;
    for (const DeviceOutcome& d : o->devices)
        if (d.device == r->name)
            return;
    DeviceState state =
        code == SR_TIMEOUT || code == 11 ? DeviceState::unreachable : DeviceState::unread;
    o->devices.push_back({r->name, state, r->name + ": " + unread_message(code)});
}

} // namespace

int get_values_from_mrx(const VarTable& vars, int port_kind) {
    LongOperation op;
    op.busy();
    op.open(page_dialog_parent(), "Cancel Show Values", "", LO_CONFIRM | LO_FOLLOW_SNMP);
    std::vector<int> devs = basic_devices();
    std::map<int, int> result;
    // Devices known to be silent are reported, not asked; the others are
    // read side by side.
    std::vector<int> asked;
    std::vector<MorixRecord*> recs;
    for (int p : devs) {
        MorixRecord* r = session().devices()[p];
        if (!r->reachable || r->status == SR_TIMEOUT || r->status == SR_UNKNOWN_HOST) {
            result[p] = r->reachable ? r->status : 11;
            continue;
        }
        free_prm_list(r);
        for (const std::string& name : vars) {
            int id = 0;
            if (get_check_mib_var(name, &id))
                add_get_nodes(r, p, id, name, port_kind);
        }
        asked.push_back(p);
        recs.push_back(r);
    }
    for (MorixRecord* r : op.serve(recs, SNMP_OP_GET, "Getting values for"))
        if (r->status == SR_TIMEOUT || r->status == SR_UNKNOWN_HOST)
            result[asked[std::find(recs.begin(), recs.end(), r) - recs.begin()]] = r->status;
    op.close();
    op.idle();
    std::string msg;
    for (const auto& [pos, code] : result) {
        msg += session().devices()[pos]->name + ":\n" + unread_message(code) + "\n";
        note_unread(session().devices()[pos], code);
    }
    if (!msg.empty())
        page_warn(msg);
    for (int p : devs)
        if (session().devices()[p]->status == SR_OK && !result.count(p))
            return 1;
    return 0;
}

std::string get_specific_value(const std::string& name, int port_kind, std::string* text,
                               int* number) {
    int id = 0;
    *text = "";
    *number = 0;
    if (!get_check_mib_var(name, &id))
        return "Cannot get internal MIB id for " + name + ".";
    bool have = false, differ = false;
    Candidate common;
    for (int p : basic_devices()) {
        const MorixRecord* r = session().devices()[p];
        if (!r->reachable || r->status != SR_OK)
            continue;
        std::string error;
        if (mib_var(id)->port_class == 0 || is_rip(name)) {
            Candidate v = node_value(r, name, is_rip(name) ? 1 : 0, "");
            if (!v.found && is_rip(name))
                return "Could not get parameter value for: " + name + " (Morix " + r->name +
                       ", port 1).";
            if (!v.found)
                v.text = v.raw = "ERROR";
            differ = !fold(v, &have, &common);
        } else {
            // A port variable: every selected port of the device.
            for (int port : selected_ports(p)) {
                int inst = 0;
                std::string inst_text;
                Candidate v;
                if (cvt_port_inst(r, id, port_kind, port, &inst, &inst_text))
                    v = node_value(r, name, inst, inst_text);
                if (!v.found)
                    return "Could not get parameter value for: " + name + " (Morix " + r->name +
                           ", port " + std::to_string(port) + ").";
                if ((differ = !fold(v, &have, &common)))
                    break;
            }
        }
        if (differ)
            break;
    }
    finish_common(have, differ, common, text, number);
    return "";
}

std::string get_specific_wan_edit_value(const std::string& name, std::string* text, int* number) {
    int id = 0;
    *text = "";
    *number = 0;
    if (!get_check_mib_var(name, &id))
        return "Cannot get internal MIB id for " + name + ".";
    bool have = false, differ = false;
    Candidate common;
    for (const WanChoice& c : wan_chosen) {
        const MorixRecord* r = session().devices()[c.mrx_pos];
        if (!r->reachable || r->status != SR_OK)
            continue;
        int itf = r->wan_if_index[c.module];
        int last = is_channel_var(name) ? chan_count(r, c.module) : 0;
        for (int ch = is_channel_var(name) ? 1 : 0; ch <= last && !differ; ++ch) {
            Candidate v =
                ch ? node_value(r, name, -1, chan_inst(itf, ch)) : node_value(r, name, itf, "");
            if (!v.found)
                return "Could not get parameter value for: " + name + " (Morix " + r->name +
                       ", port " + std::to_string(ch ? ch : itf) + ").";
            differ = !fold(v, &have, &common);
        }
        if (differ)
            break;
    }
    finish_common(have, differ, common, text, number);
    return "";
}

void free_basic_chains() {
    for (int p : basic_devices())
        free_prm_list(session().devices()[p]);
}

std::string field_label(int field_id) {
    const FieldView* v = field_view_of(field_id);
    return v ? v->label : "";
}

bool check_addr_field(std::string* value, const std::string& label) {
    std::string failure = ip_addr_fmt_failure(value, label);
    if (failure.empty())
        return true;
    page_warn(failure);
    return false;
}

int check_field_value(const std::string& name, const std::string& label, std::string* value) {
    int id = 0;
    if (!get_check_mib_var(name, &id)) {
        page_warn("Cannot get internal MIB id for " + name + ".");
        return -1;
    }
    if (value->empty()) {
        page_warn("Please enter a valid value for " + label + ".");
        return -1;
    }
    const MibVarEntry* e = mib_var(id);
    if (e->data_type == MDT_INTEGER && e->enum_id >= 0 && *value != set_to_blank) {
        std::string number;
        if (cvt_enum_str_num(id, *value, &number))
            *value = number;
    }
    if (is_number_data_type(e->data_type)) {
        remove_trail_blanks(value);
        // Also refuses a number beyond the type's range, which would wrap.
        if (check_set_number(e->data_type, *value) != NC_OK) {
            page_warn(label + " is in the wrong format.\nIt should be an integer.");
            return -1;
        }
    } else if (e->data_type == MDT_IP_ADDR && !check_addr_field(value, label)) {
        return -1;
    }
    return 0;
}

int read_textfield(int field_id, const std::string& text, const std::string& name,
                   const std::vector<int>& devs, int port_kind) {
    std::string value = text;
    if (check_field_value(name, field_label(field_id), &value) != 0)
        return -1;
    return set_param(name, value, devs, port_kind);
}

int read_optionmenu(int om_id, const std::string& text, const std::string& name,
                    const std::vector<int>& devs, int port_kind) {
    int id = 0;
    std::string value = text;
    if (!get_check_mib_var(name, &id)) {
        page_warn("Cannot get internal MIB id for " + name + ".");
        return -1;
    }
    int result = 0;
    std::string number;
    if (mib_var(id)->enum_id >= 0) {
        if (cvt_enum_str_num(id, value, &number))
            value = number;
        else
            result = -1;
    }
    if (value.empty()) {
        page_warn("Please enter a valid value for " + field_label(om_id) + ".");
        return -1;
    }
    return set_param(name, value, devs, port_kind) != 0 ? -1 : result;
}

int set_param(const std::string& name, const std::string& value, const std::vector<int>& devs,
              int port_kind) {
    int id = 0;
    if (!get_check_mib_var(name, &id))
        return -1;
    for (int p : devs) {
        MorixRecord* r = session().devices()[p];
        std::vector<int> ports = selected_ports(p);
        if (is_rip(name))
            add_prm_node(r, id, PT_EN, 1, 1, "", value.c_str(), 0);
        else
            build_prm(r, 0, static_cast<int>(ports.size()), ports, port_kind, id, value);
    }
    return 0;
}

int set_wan_edit_param(const std::string& name, const std::string& value, int mrx_pos, int module) {
    int id = 0;
    MorixRecord* r = session().devices()[mrx_pos];
    if (!get_check_mib_var(name, &id) || !r || module >= static_cast<int>(r->wan_if_index.size()))
        return -1;
    int itf = r->wan_if_index[module];
    if (!is_channel_var(name))
        return add_prm_node(r, id, PT_DS1INF, itf, itf, "", value.c_str(), 0) == 0 ? 0 : -1;
    for (int ch = 1; ch <= chan_count(r, module); ++ch)
        if (add_prm_node(r, id, PT_DS0CHAN, ch, -1, chan_inst(itf, ch).c_str(), value.c_str(), 0))
            return -1;
    return 0;
}
