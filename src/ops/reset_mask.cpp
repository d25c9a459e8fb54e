#include "ops/reset_mask.h"
#include "snmp_access/session.h"

#include <algorithm>
#include <cstdio>

#include "catalogue/mib_catalogue.h"
#include "devices/mrx_list.h"
#include "ops/control.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"
#include "ui/app_globals.h"
#include "ui/progress.h"
#include "ui/widget_ids.h"

std::array<uint32_t, MAX_MRX_SLOTS> g_auto_reset_mask{};
std::array<ResetPorts, MAX_MRX_SLOTS> g_input_port{};
std::function<int(int, const std::vector<int>&, int, const std::string&)> g_reset_runner;

const char* const MSG_RESET_Q =
    "The Morixes you selected need to be reset for changes to take effect.\n\n"
    "Do you want to reset now?";

namespace {

// mrxcReset value of reset map index r (2..8) at [r].
constexpr int mask_reset_code[9] = {0, 0, 13, 3, 12, 4, 5, 11, 10};
// mrxcReset value that resets every port of a type (0: none), by type code.
constexpr int all_ports_code[RESET_PORT_SLOTS] = {0, 7, 9, 6, 13, 16, 0};

// The reset question, asked through the front end's asker over parent.
bool ask_reset(int parent, const char* ok_label) {
    Question q = reset_question();
    q.ok_label = ok_label;
    set_question_parent(parent);
    bool ok = front_end_asker().ask(q);
    set_question_parent(W_MAIN_WINDOW);
    return ok;
}

bool add_reset_node(MorixRecord* rec, int code) {
    int id = 0;
    if (!get_check_mib_var("mrxcReset", &id)) {
        std::fprintf(stderr, "Cannot find reset MIB value\n");
        return false;
    }
    build_prm(rec, 0, 0, {}, PT_NONE, id, std::to_string(code));
    return true;
}

// The reset of the WAN module of interface index if_index: the module
// reset (mrxt1ResetPRI) at the instance reset code 97 uses for that
// module on this device. False when the device has no such module.
bool add_module_reset(MorixRecord* rec, int if_index) {
    int module = 0;
    int modules = std::min(rec->wan_count, static_cast<int>(rec->wan_if_index.size()));
    for (int m = 1; m <= modules && module == 0; ++m)
        if (rec->wan_if_index[m - 1] == if_index)
            module = m;
    int id = 0, inst = 0;
    // Devices whose interface index is the module's own number name it directly.
    int rc = module ? reset_instance(rec, RESET_PRI, PT_DS1INF, module, 1, &inst)
                    : reset_instance(rec, RESET_PRI, PT_DS1INF, if_index, 0, &inst);
    if (rc != RIE_OK || !get_check_mib_var("mrxt1ResetPRI", &id))
        return false;
    add_prm_node(rec, id, PT_DS1INF, module ? module : if_index, inst, "", "2", 0);
    return true;
}

void add_port_resets(MorixRecord* rec, const ResetPorts& ports, std::vector<std::string>* notes) {
    for (int t = PT_ASY; t <= PT_CHANNELS; ++t) {
        const ResetPortSlot& s = ports[t];
        if (t == PT_DS1INF) { // WAN interfaces: their modules, one by one
            for (int i = 0; i < s.count; ++i)
                if (!add_module_reset(rec, static_cast<int>(s.ports[i])))
                    notes->push_back("<" + rec->name + ">  No reset applies to WAN interface " +
                                     std::to_string(s.ports[i]) + ".");
            continue;
        }
        if (s.all_ports || ((t == PT_SYN || t == PT_PTR) && s.count > 0)) {
            if (all_ports_code[t] != 0)
                add_reset_node(rec, all_ports_code[t]);
            continue;
        }
        if (s.count == 0)
            continue;
        if (t != PT_ASY) {
            std::string kw;
            cvt_port_opt_str(t, &kw);
            notes->push_back("<" + rec->name + ">  No reset applies to single " + kw +
                             " ports: they take the new values without one.");
            continue;
        }
        int id = 0;
        if (!get_check_mib_var("charPortReset", &id))
            continue;
        for (int i = 0; i < s.count; ++i)
            build_prm(rec, 0, 1, {static_cast<int>(s.ports[i])}, t, id, "2");
    }
}

// Builds the automatic reset chain of rec: 1 when there is nothing to
// reset, 0 when the device cannot be reset, -1 when the chain is ready.
int build_auto_reset(MorixRecord* rec, std::vector<std::string>* notes) {
    int p = session().devices().position(rec->name);
    if (p < 0)
        return 0;
    uint32_t mask = g_auto_reset_mask[p];
    if (mask == 0)
        return 1;
    free_prm_list(rec);
    if (!rec->reachable || !rec->allow_set)
        return 0;
    for (int bit = 0; bit < 8; ++bit) {
        if (!(mask & (1u << bit)))
            continue;
        if (bit == 0)
            add_port_resets(rec, g_input_port[p], notes);
        else
            add_reset_node(rec, mask_reset_code[bit + 1]);
    }
    return rec->prm_list ? -1 : 1;
}

// One line naming the device and what its reset chain reset: the ports
// one by one, or the reset codes.
std::string reset_line(const MorixRecord& rec, bool took) {
    std::string ports, codes;
    for (const ParamNode* n = rec.prm_list; n; n = n->next) {
        const MibVarEntry* e = mib_var(n->mib_index);
        bool port = e != nullptr && std::string(e->name) == "charPortReset";
        std::string& to = port ? ports : codes;
        to += (to.empty() ? "" : ",") + (port ? std::to_string(n->port_num) : n->value);
    }
    std::string line = (took ? "Reset " : "Could not reset ") + rec.name + ":";
    if (!ports.empty())
        line += " ports " + ports;
    if (!codes.empty())
        line += std::string(ports.empty() ? "" : ";") + " reset codes " + codes;
    return line;
}

// Whether the device took every reset of its chain; the chain goes (its
// line added to report when one is given).
int take_auto_reset(MorixRecord* rec, std::string* report = nullptr) {
    int ok = rec->status == SR_OK;
    for (const ParamNode* n = rec->prm_list; n; n = n->next)
        ok = ok && n->status == NS_OK;
    if (report != nullptr)
        *report += reset_line(*rec, ok) + "\n";
    free_prm_list(rec);
    return ok;
}

} // namespace

int auto_reset_list(const std::vector<MorixRecord*>& recs, std::string* failed_names,
                    std::vector<std::string>* notes, std::string* report) {
    std::vector<std::string> ignored;
    if (!notes)
        notes = &ignored;
    // Every device's resets are sent side by side; the failures are named
    // in list order.
    std::vector<int> took(recs.size());
    std::vector<MorixRecord*> sent(recs.size(), nullptr);
    for (size_t i = 0; i < recs.size(); ++i) {
        took[i] = build_auto_reset(recs[i], notes);
        if (took[i] < 0)
            sent[i] = recs[i];
    }
    mm_snmp_all(sent, SNMP_OP_SET, "Resetting");
    int all_ok = 1;
    for (size_t i = 0; i < recs.size(); ++i) {
        MorixRecord* r = recs[i];
        if (took[i] < 0)
            took[i] = take_auto_reset(r, report);
        if (took[i])
            continue;
        all_ok = 0;
        if (failed_names) {
            if (!failed_names->empty())
                *failed_names += ", ";
            *failed_names += r->name;
        }
    }
    return all_ok;
}

void clear_reset_masks() {
    g_auto_reset_mask.fill(0);
}

void clear_input_ports(ResetPorts* ports) {
    for (ResetPortSlot& s : *ports)
        s = ResetPortSlot();
}

void save_port_to_be_reset(ResetPorts* ports, int port_type, int port) {
    if (port_type < PT_ASY || port_type > PT_CHANNELS)
        return;
    ResetPortSlot& s = (*ports)[port_type];
    for (int i = 0; i < s.count; ++i)
        if (s.ports[i] == static_cast<uint32_t>(port))
            return;
    if (s.count >= MAX_RESET_PORTS) {
        s.overflow = 1;
        return;
    }
    s.ports[s.count++] = static_cast<uint32_t>(port);
}

void check_all_ports_set(const MorixRecord* rec, ResetPorts* ports) {
    for (int t = PT_ASY; t <= PT_CHANNELS; ++t) {
        ResetPortSlot& s = (*ports)[t];
        int n = get_num_ports(rec, t);
        if (s.overflow) {
            std::fprintf(stderr, "%s: more than %d ports of one type to reset; all are reset\n",
                         rec->name.c_str(), MAX_RESET_PORTS);
            s.all_ports = 1;
        } else if (n > 0 && s.count == n) {
            s.all_ports = 1;
        }
    }
}

uint32_t build_reset_mask(MorixRecord* rec, ResetPorts* ports) {
    clear_input_ports(ports);
    if (!rec->reachable || !rec->allow_set || rec->status == SR_CANCELLED)
        return 0;
    uint32_t mask = 0;
    for (const ParamNode* n = rec->prm_list; n; n = n->next) {
        const MibVarEntry* e = mib_var(n->mib_index);
        if (n->status != NS_OK || !e || e->reset_map_idx <= 0 || e->reset_map_idx > 32)
            continue;
        mask |= 1u << (e->reset_map_idx - 1);
        save_port_to_be_reset(ports, n->port_type, n->port_num);
    }
    check_all_ports_set(rec, ports);
    return mask;
}

int does_user_want_reset(int parent) {
    if (g_confirm_auto_reset == 0)
        return 1;
    return ask_reset(parent, "Reset") ? 1 : 0;
}

std::string reset_warning_text(const std::string& names, bool timeout_text) {
    if (timeout_text)
        return "Could not reset the following Morixes. \nTry inceasing the SNMP timeout "
               "period:\n\n   " +
               names + "\n";
    return "Could not reset the following Morixes:\n\n   " + names + "\n";
}

Question reset_question() {
    return Question{"Reset Parameters", MSG_RESET_Q, "Reset", "Cancel", false};
}

int confirm_reset_q(int parent, const std::vector<int>& codes) {
    if (!ask_reset(parent, "OK"))
        return 0;
    for (int code : codes) {
        if (code == -1)
            break;
        std::vector<int> ports;
        if (code == 97)
            ports = {2};
        if (g_reset_runner)
            g_reset_runner(code, ports, parent, "Reset failed.");
        if (code == 1)
            break;
    }
    return 1;
}
