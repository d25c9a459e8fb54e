// Expansion of catalogue variables and management functions into the
// parameter nodes of device records.
#include <algorithm>

#include "catalogue/func_catalogue.h"
#include "catalogue/mib_catalogue.h"
#include "snmp_access/port_inst.h"
#include "ui/app_globals.h"

namespace {

constexpr const char* MSG_NO_NODE = "Could not add a parameter node, no memory .";
constexpr const char* MSG_NO_MODELT = "Parameter nodes not added for ModelT device";

void add_node_or_stop(MorixRecord* rec, int mib_index, int port_type, int port, int instance,
                      const std::string& inst_text, const std::string& value) {
    if (add_prm_node(rec, mib_index, port_type, port, instance, inst_text.c_str(), value.c_str(),
                     0) != 0)
        s_error(MSG_NO_NODE);
}

// One node for port p when it converts into an instance; else PORT_NOT_FOUND.
int add_port_node(MorixRecord* rec, int mib_index, int port_type, int port,
                  const std::string& value) {
    int instance = 0;
    std::string inst_text;
    if (port < 1 || !cvt_port_inst(rec, mib_index, port_type, port, &instance, &inst_text))
        return PORT_NOT_FOUND;
    add_node_or_stop(rec, mib_index, port_type, port, instance, inst_text, value);
    return 0;
}

} // namespace

int handle_modelt(MorixRecord* rec, int mib_index, int port_type, const std::string& value) {
    if (!rec)
        return 0;
    for (int k = 0; k < rec->wan_count; ++k) {
        if (k >= static_cast<int>(rec->wan_chan_count.size()) ||
            k >= static_cast<int>(rec->wan_if_index.size()))
            break;
        for (int c = 1; c <= rec->wan_chan_count[k]; ++c) {
            std::string inst = std::to_string(rec->wan_if_index[k]) + "." + std::to_string(c);
            if (add_prm_node(rec, mib_index, port_type, c, -1, inst.c_str(), value.c_str(), 0))
                return 0;
        }
    }
    return 1;
}

int handle_interval(MorixRecord* rec, int mib_index, int port_type, const std::string& value,
                    int interface) {
    if (!rec)
        return 0;
    for (int i = 1; i <= DS1_INTERVALS; ++i) {
        std::string inst = std::to_string(interface) + "." + std::to_string(i);
        if (add_prm_node(rec, mib_index, port_type, i, -1, inst.c_str(), value.c_str(), 0))
            return 0;
    }
    return 1;
}

int build_prm(MorixRecord* rec, int all_ports, int port_count, const std::vector<int>& ports,
              int port_type, int mib_index, const std::string& value) {
    const MibVarEntry* e = mib_var(mib_index);
    if (!rec || !e)
        return 0;
    if (e->port_class == 0) {
        add_node_or_stop(rec, mib_index, 0, 0, 0, "", value);
        return 0;
    }
    int result = 0;
    if (!all_ports) {
        int n = std::min(port_count, static_cast<int>(ports.size()));
        for (int i = 0; i < n; ++i)
            if (add_port_node(rec, mib_index, port_type, ports[i], value) != 0)
                result = PORT_NOT_FOUND;
        return result;
    }
    if (rec->platform == 5 && port_type != PT_IMDM) {
        int ok = 0;
        if (port_type == PT_DS1INT) {
            // The interval form takes the first given port as the interface;
            // without one, the device's first WAN interface.
            int itf = port_count > 0 && !ports.empty()
                          ? ports[0]
                          : (rec->wan_if_index.empty() ? 1 : rec->wan_if_index[0]);
            ok = handle_interval(rec, mib_index, port_type, value, itf);
        } else {
            ok = handle_modelt(rec, mib_index, port_type, value);
        }
        if (!ok)
            s_error(MSG_NO_MODELT);
        return 0;
    }
    int n = get_num_ports(rec, port_type);
    if (n < 1)
        return PORT_NOT_FOUND;
    for (int p = 1; p <= n; ++p)
        if (add_port_node(rec, mib_index, port_type, p, value) != 0)
            result = PORT_NOT_FOUND;
    return result;
}

namespace {

int build_func(int func_index, int all_ports, int port_count, const std::vector<int>& ports,
               int port_type, MorixRecord* one) {
    if (func_index < 0 || func_index >= MAX_MIB_FUNCS || !mib_func_list[func_index])
        return 0;
    int result = 0;
    for (int id : mib_func_list[func_index]->var_list) {
        if (!mib_var(id) || !check_port_type(id, port_type))
            continue;
        if (one) {
            if (build_prm(one, all_ports, port_count, ports, port_type, id, "") != 0)
                result = PORT_NOT_FOUND;
            continue;
        }
        for (MorixRecord* rec : host_info_list) {
            if (!rec)
                break;
            if (is_selected(rec) && rec->reachable &&
                build_prm(rec, all_ports, port_count, ports, port_type, id, "") != 0)
                result = PORT_NOT_FOUND;
        }
    }
    return result;
}

} // namespace

int build_mgmt_func_mult(int func_index, int all_ports, int port_count,
                         const std::vector<int>& ports, int port_type) {
    return build_func(func_index, all_ports, port_count, ports, port_type, nullptr);
}

int build_mgmt_func_sng(int func_index, int all_ports, int port_count,
                        const std::vector<int>& ports, int port_type, MorixRecord* rec) {
    if (!rec)
        return 0;
    return build_func(func_index, all_ports, port_count, ports, port_type, rec);
}
