// Hostile answers of a simulated device (fault words tamper=MODE and
// dsc_flood=N): well-formed messages whose content does not fit the
// request, and floods of discovery replies naming addresses where nothing
// answers.
#include <arpa/inet.h>

#include <cstring>

#include "sim_device.h"

namespace {

const char* const TAMPER_NAMES[] = {"none",  "rename", "reorder",    "drop_last",
                                    "extra", "empty",  "wrong_type", "same_name"};
const oid SYS_DESCR[] = {1, 3, 6, 1, 2, 1, 1, 1, 0};

std::vector<netsnmp_variable_list*> var_list(netsnmp_pdu* pdu) {
    std::vector<netsnmp_variable_list*> vars;
    for (netsnmp_variable_list* v = pdu->variables; v; v = v->next_variable)
        vars.push_back(v);
    return vars;
}

void relink(netsnmp_pdu* pdu, const std::vector<netsnmp_variable_list*>& vars) {
    pdu->variables = vars.empty() ? nullptr : vars[0];
    for (size_t i = 0; i < vars.size(); ++i)
        vars[i]->next_variable = i + 1 < vars.size() ? vars[i + 1] : nullptr;
}

} // namespace

int tamper_mode_of(const std::string& name) {
    for (int m = 0; m < static_cast<int>(std::size(TAMPER_NAMES)); ++m)
        if (name == TAMPER_NAMES[m])
            return m;
    return -1;
}

void tamper_answer(int mode, const netsnmp_pdu* req, netsnmp_pdu* resp) {
    std::vector<netsnmp_variable_list*> vars = var_list(resp);
    if (vars.empty())
        return;
    long seven = 7;
    switch (mode) {
    case TAMPER_RENAME:
        for (auto* v : vars)
            snmp_set_var_objid(v, SYS_DESCR, std::size(SYS_DESCR));
        break;
    case TAMPER_REORDER:
        relink(resp, std::vector<netsnmp_variable_list*>(vars.rbegin(), vars.rend()));
        break;
    case TAMPER_DROP_LAST:
        snmp_free_var(vars.back());
        vars.pop_back();
        relink(resp, vars);
        break;
    case TAMPER_EXTRA:
        snmp_pdu_add_variable(resp, SYS_DESCR, std::size(SYS_DESCR), ASN_OCTET_STR, "x", 1);
        break;
    case TAMPER_EMPTY:
        snmp_free_varbind(resp->variables);
        resp->variables = nullptr;
        break;
    case TAMPER_WRONG_TYPE: // strings become numbers, anything else a string
        for (auto* v : vars) {
            if (v->type == ASN_OCTET_STR)
                snmp_set_var_typed_value(v, ASN_INTEGER, &seven, sizeof seven);
            else
                snmp_set_var_typed_value(v, ASN_OCTET_STR, "7", 1);
        }
        break;
    case TAMPER_SAME_NAME: { // every answer named as its request
        const netsnmp_variable_list* q = req->variables;
        for (auto* v : vars) {
            if (!q)
                break;
            snmp_set_var_objid(v, q->name, q->name_length);
            q = q->next_variable;
        }
        break;
    }
    default:
        break;
    }
}

std::string flood_reply(const unsigned char* request, int i) {
    std::string r(reinterpret_cast<const char*>(request), 18);
    r[6] = static_cast<char>(0x81);
    std::string addr = "127.200." + std::to_string(i / 250) + "." + std::to_string(i % 250 + 1);
    in_addr a{};
    inet_pton(AF_INET, addr.c_str(), &a);
    r.append(reinterpret_cast<const char*>(&a.s_addr), 4);
    return r + std::string(4, '\0');
}
