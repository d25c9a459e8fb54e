// Port requirement of the operator's selection, and instance look-ups that
// ask the device (table walks, WAN channel status).
#include <cstdlib>

#include "catalogue/func_catalogue.h"
#include "catalogue/mib_catalogue.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"

namespace {

constexpr const char* MSG_NO_REFS =
    "Could not find internal references to a parameter group or parameter. Software error.";
constexpr const char* MSG_NO_PORTS = "You did not enter port numbers. The current operation\n"
                                     "will not process port related parameters.";
constexpr const char* MSG_SOME_MATCH =
    "The port type you selected does not match one or more port parameters\n"
    "specified in the main window. For example, if you selected a parameter group\n"
    "that includes asynchronous port parameters, you should not use the Enet Port(s)\n"
    "type here.\n\nThe current operation will process matching port parameters as well as\n"
    "non-port parameters. It will not use those port parameters that do not match.";
constexpr const char* MSG_NONE_MATCH =
    "The port type you selected does not match any port parameters specified\n"
    "in the main window. For example, if you selected a parameter group that includes\n"
    "only asynchronous port parameters, you should not use the Enet Port(s) type here.\n\n"
    "The current operation will process only non-port parameters.\n"
    "It will not use port parameters.";
constexpr const char* MSG_BAD_CODE = "Invalid internal error code. Software error.";

int port_match_code(const std::vector<int>& ids, int port_type) {
    int port_vars = 0, matching = 0;
    for (int id : ids) {
        const MibVarEntry* e = mib_var(id);
        if (!e || e->port_class == 0)
            continue;
        ++port_vars;
        if (check_port_type(id, port_type))
            ++matching;
    }
    if (port_vars == 0)
        return PRQ_NO_PORT_PRMS;
    if (matching == port_vars)
        return PRQ_ALL_MATCH;
    return matching == 0 ? PRQ_NONE_MATCH : PRQ_SOME_MATCH;
}

} // namespace

int check_rqr_port(const std::vector<std::string>& items, int param_sel, int port_type,
                   int* func_index) {
    std::vector<int> ids;
    if (param_sel == 1) {
        for (const std::string& label : items) {
            int id = 0;
            if (!get_check_mib_var(label, &id))
                return PRQ_NO_PRM;
            ids.push_back(id);
        }
        return port_match_code(ids, port_type);
    }
    int f = items.empty() ? -1 : find_func_by_name(items[0]);
    if (f < 0 || !mib_func_list[f])
        return PRQ_NO_FUNC;
    if (func_index)
        *func_index = f;
    return port_match_code(mib_func_list[f]->var_list, port_type);
}

void tell_rqr_port(int code, std::vector<std::string>* warnings) {
    switch (code) {
    case PRQ_NO_FUNC:
    case PRQ_NO_PRM:
        warnings->push_back(MSG_NO_REFS);
        break;
    case PRQ_ALL_MATCH:
    case PRQ_NO_PORT_PRMS:
        break;
    case PRQ_SOME_MATCH:
        warnings->push_back(MSG_SOME_MATCH);
        break;
    case PRQ_NONE_MATCH:
        warnings->push_back(MSG_NONE_MATCH);
        break;
    default:
        warnings->push_back(MSG_BAD_CODE);
        break;
    }
}

std::vector<int> process_rqr_port(int code, const std::string& text, int* all, int* count,
                                  int warn_empty, std::vector<std::string>* warnings) {
    *all = 0;
    *count = 0;
    std::vector<int> ports;
    if (code == PRQ_ALL_MATCH || code == PRQ_SOME_MATCH) {
        if (!text.empty())
            ports = parse_port_list(text, all, count);
        else if (warn_empty == 1)
            warnings->push_back(MSG_NO_PORTS);
    }
    tell_rqr_port(code, warnings);
    return ports;
}

int get_port_mib_var_nxt(MorixRecord* rec, const std::string& var_name, int* instances, int max,
                         int* count) {
    if (!rec || !instances || var_name.empty() || max < 1)
        return 0;
    for (int i = 0; i < max; ++i)
        instances[i] = 0;
    if (count)
        *count = 0;
    int id = 0;
    if (!get_check_mib_var(var_name, &id))
        return 0;
    const std::string prefix = mib_var(id)->oid_num + ".";
    int found = 0;
    // The walk starts at the column itself so that its first row is found
    // too; each step goes on from the instance the device returned.
    std::string tail;
    while (found < max) {
        free_prm_list(rec);
        add_prm_node(rec, id, 0, 0, -1, tail.c_str(), "", 0);
        mm_snmp(rec, SNMP_OP_GETNEXT);
        const ParamNode* n = rec->prm_list;
        if (rec->status != 0 || !n || n->status != 0 || !n->has_next_oid ||
            n->next_oid.compare(0, prefix.size(), prefix) != 0)
            break;
        tail = n->next_oid.substr(prefix.size());
        int inst = get_port_instance(tail);
        if (inst <= 0)
            break;
        instances[found++] = inst;
    }
    free_prm_list(rec);
    if (count)
        *count = found;
    return found;
}

int get_chan_status(MorixRecord* rec, int port) {
    int id = 0;
    const std::string name = "mrxt1ChanStatus";
    if (!rec || !get_check_mib_var(name, &id))
        return 0;
    free_prm_list(rec);
    build_prm(rec, 0, 1, std::vector<int>{port}, PT_DS1INT, id, "");
    int status = 0;
    const ParamNode* n = rec->prm_list;
    if (n) {
        mm_snmp(rec, SNMP_OP_GET);
        std::string text, number;
        if (rec->status == 0 && get_prm_val(rec, name, n->instance, n->inst_str, &text, nullptr)) {
            const MibVarEntry* e = mib_var(id);
            if (e->enum_id == -1)
                number = text;
            else if (!cvt_enum_str_num(id, text, &number))
                number.clear();
            status = std::atoi(number.c_str());
        }
    }
    free_prm_list(rec);
    return status;
}
