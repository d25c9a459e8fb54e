// The rows of a Set: the row of a catalogue variable, the ports each
// device takes from the typed list, and which rows an action takes.
#include "catalogue/mib_catalogue.h"
#include "ops/set_cmd.h"
#include "ops/show.h"
#include "snmp_access/port_inst.h"

namespace {

constexpr const char* MSG_NO_PORTS = "You did not enter port numbers. The current operation\n"
                                     "will not process port related parameters.";
constexpr const char* MSG_MISMATCH =
    "The port type you selected does not match one or more port parameters\n"
    "specified in the main window. For example, if you selected a parameter group\n"
    "that includes asynchronous port parameters, you should not use the Enet Port(s)\n"
    "type here.\n\nThe current operation will process matching port parameters as well as\n"
    "non-port parameters. It will not use those port parameters that do not match.";

} // namespace

// ---- ports ------------------------------------------------------------------

const DevicePorts& SetPorts::of(const MorixRecord* r) const {
    static const DevicePorts none;
    for (const auto& d : per_device)
        if (d.first == r)
            return d.second;
    return none;
}

SetPorts set_ports_of(const std::string& text, const std::vector<MorixRecord*>& devices,
                      int port_type, PortPurpose purpose, std::vector<std::string>* refusals) {
    SetPorts sp;
    int count = 0;
    if (!text.empty())
        sp.ports = parse_port_list(text, &sp.all, &count);
    for (MorixRecord* r : devices) {
        DevicePorts d = resolve_ports(*r, port_type, sp.all, sp.ports, purpose);
        if (refusals && !d.refusal.empty())
            refusals->push_back(d.refusal);
        sp.per_device.emplace_back(r, d);
    }
    return sp;
}

// ---- rows -------------------------------------------------------------------

bool set_row_taken(const SetRow& row, bool have_ports, int port_type, RowTakeState* warn,
                   std::vector<std::string>* warnings) {
    const MibVarEntry* e = mib_var(row.mib_index);
    if (!e)
        return false;
    if (e->port_class == 0)
        return true;
    if (!have_ports) {
        if (!warn->warned_no_ports)
            warnings->push_back(MSG_NO_PORTS);
        warn->warned_no_ports = 1;
        return false;
    }
    if (check_port_type(row.mib_index, port_type))
        return true;
    if (!warn->warned_mismatch)
        warnings->push_back(MSG_MISMATCH);
    warn->warned_mismatch = 1;
    return false;
}

SetRow set_row_of(int mib_index) {
    SetRow row;
    row.mib_index = mib_index;
    const MibVarEntry* e = mib_var(mib_index);
    if (e && e->enum_id >= 0 && e->enum_id < MAX_MIB_ENUMS) {
        row.enumerated = true;
        for (const EnumEntry& en : mib_enum_list[e->enum_id])
            row.choices.push_back({en.value, en.text});
    }
    return row;
}
