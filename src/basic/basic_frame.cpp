// Frame services of the basic-mode pages: selection, edit flags, the
// sensitivity helpers and the toggle rules shared by the pages.
#include "basic/basic_frame.h"
#include "snmp_access/session.h"
#include "ui/widget_ids.h"

#include <algorithm>
#include <cstdlib>

#include "basic/basic_page.h"
#include "devices/mrx_list.h"
#include "snmp_access/morix_record.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/port_resolve.h"
#include "ui/diag.h"

int edit_flags[EF_COUNT];
int edit_param_flag = 0;
std::vector<WanChoice> wan_chosen;
int (*dialog_parent_of)(int window) = nullptr;
int reading_window = 0;

int page_dialog_parent() {
    return dialog_parent_of ? dialog_parent_of(reading_window) : W_MAIN_WINDOW;
}

extern BasicPage page_wan;

namespace {
Outcome* running = nullptr; // the outcome of the page command being run
} // namespace

PageRun::PageRun(Outcome& out) : outer_(running) {
    running = &out;
}

PageRun::~PageRun() {
    running = outer_;
}

Outcome* page_run_outcome() {
    return running;
}

void page_warn(const std::string& text) {
    if (running)
        running->warnings.push_back(text);
    else
        diag_printf("%s\n", text.c_str());
}

int win_parent(int window) {
    switch (window) {
    case BW_SETUP_FORM:
        return BW_PARENT_SETUP;
    case BW_GEN_CONT_FORM:
        return BW_PARENT_GEN_CONT;
    case BW_WAN_EDIT_FORM:
        return BW_PARENT_WAN_EDIT;
    default:
        return W_MAIN_WINDOW;
    }
}

void settings_edit_status() {
    for (int f : edit_flags)
        if (f)
            return;
    edit_param_flag = 0;
}

std::vector<int> basic_devices() {
    std::vector<int> devs;
    for (int i = 0; i < port_mrx_map.count && i < MAX_MRX_SLOTS; ++i) {
        int p = port_mrx_map.mrx_index[i];
        if (p >= 0 && p < MAX_MRX_SLOTS && session().devices()[p])
            devs.push_back(p);
    }
    return devs;
}

std::vector<std::string> port_list_rows(int port_kind) {
    std::vector<std::string> rows;
    for (int d : basic_devices()) {
        const MorixRecord* r = session().devices()[d];
        for (int p = 1; p <= get_num_ports(r, port_kind); ++p)
            rows.push_back(r->name + " " + std::to_string(p));
    }
    return rows;
}

int read_port_list(const std::vector<std::string>& rows) {
    PortSelection& m = port_mrx_map;
    m.port_total = m.ported_count = 0;
    for (int i = 0; i < MAX_MRX_SLOTS; ++i) {
        m.port_count[i] = 0;
        m.ported_index[i] = -1;
    }
    std::vector<int> devs = basic_devices();
    for (const std::string& row : rows) {
        size_t sp = row.rfind(' ');
        if (sp == std::string::npos)
            continue;
        int port = std::atoi(row.c_str() + sp + 1);
        for (int d : devs) {
            int& n = m.port_count[d];
            if (session().devices()[d]->name != row.substr(0, sp) || port < 1 ||
                n >= MAX_SEL_PORTS || std::find(m.ports[d], m.ports[d] + n, port) != m.ports[d] + n)
                continue;
            if (n == 0)
                m.ported_index[m.ported_count++] = d;
            m.ports[d][n++] = port;
            ++m.port_total;
        }
    }
    return m.port_total;
}

std::vector<int> selected_ports(int mrx_pos) {
    if (mrx_pos < 0 || mrx_pos >= MAX_MRX_SLOTS)
        return {};
    const int* p = port_mrx_map.ports[mrx_pos];
    return std::vector<int>(p, p + port_mrx_map.port_count[mrx_pos]);
}

std::vector<std::string> wan_chosen_rows() {
    std::vector<std::string> rows;
    for (int pos : page_wan.view.chosen)
        if (pos >= 1 && pos <= static_cast<int>(page_wan.view.rows.size()))
            rows.push_back(page_wan.view.rows[pos - 1]);
    return rows;
}

int read_wan_choice() {
    wan_chosen.clear();
    for (const std::string& row : wan_chosen_rows()) {
        // "%s %d ...": the device name has no blanks, the module number follows.
        size_t sp = row.find(' ');
        if (sp == std::string::npos)
            continue;
        std::string name = row.substr(0, sp);
        int module = std::atoi(row.c_str() + row.find_first_not_of(' ', sp));
        for (int p : basic_devices()) {
            const MorixRecord* r = session().devices()[p];
            if (r->name == name && module_if_index(*r, module) != 0)
                wan_chosen.push_back({p, module - 1});
        }
    }
    return static_cast<int>(wan_chosen.size());
}

void gray_out_widget(int id, bool sensitive) {
    FieldView* v = field_view_of(id);
    if (v && id >= BW_LABEL_OFFSET)
        v->label_sensitive = sensitive;
    else if (v)
        v->sensitive = sensitive;
}

void gray_out_text_widget(int id, bool blank, bool sensitive) {
    FieldView* v = field_view_of(id);
    if (v && blank)
        v->value.clear();
    gray_out_widget(id, sensitive);
}

int process_ipro_set(bool on[5], int pressed, int* code) {
    if (!on[0] && !on[1] && !on[2]) {
        if (pressed >= 0 && pressed < 5)
            on[pressed] = true;
        return 0;
    }
    // Rows of the protocol table by (t0, t1, t2) as bits t0=1, t1=2, t2=4.
    static const int base[8] = {0, 2, 1, 5, 4, 7, 6, 8};
    int b = base[(on[0] ? 1 : 0) | (on[1] ? 2 : 0) | (on[2] ? 4 : 0)];
    int column = (on[3] ? 1 : 0) + (on[4] ? 2 : 0);
    // The other columns count on from 9, 16 and 23 in the order of the rows.
    static const int rank[9] = {0, 0, 1, 0, 2, 3, 4, 5, 6};
    *code = column == 0 ? b : 9 + 7 * (column - 1) + rank[b];
    return 1;
}

// The CAS digit fields of the WAN edit page.

void check_sigproto_validity(int sigproto) {
    bool cas = sigproto == 12 || sigproto == 13;
    gray_out_widget(BW_WAN_DNIS, cas);
    gray_out_widget(BW_WAN_ANI, cas);
}

void clear_edit_flags() {
    std::fill(std::begin(edit_flags), std::end(edit_flags), 0);
    edit_param_flag = 0;
}
