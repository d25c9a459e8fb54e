#include "frame/set_window.h"

#include "catalogue/func_catalogue.h"
#include "catalogue/func_display.h"
#include "catalogue/mib_catalogue.h"
#include "devices/long_op.h"
#include "devices/mrx_select.h"
#include "devices/text_buf.h"
#include "ops/reset_mask.h"
#include "ops/show.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"
#include "ui/window_state.h"

std::vector<SetRow> set_wlist;
int set_port_sel_ind = PT_ASY;
int g_done_show_values = 0;

namespace {

constexpr const char* MSG_NO_REFS =
    "Could not find internal references to a parameter group or parameter. Software error.";
// The refusal of a parameter or group the catalogue does not hold, naming it.
std::string no_refs(const std::string& name) {
    return std::string(MSG_NO_REFS) + " - " + name + " is not in the catalogue.";
}

const std::string& row_name(const SetRow& row) {
    static const std::string none;
    const MibVarEntry* e = mib_var(row.mib_index);
    return e ? e->name : none;
}

int row_input(int row) {
    return set_row_id(row, set_wlist[row].enumerated ? SRP_OPTION : SRP_TEXT);
}

std::string keyword(int code) {
    std::string k;
    cvt_port_opt_str(code, &k);
    return k;
}

std::string node_place(const MorixRecord* r, const ParamNode* n) {
    if (n->port_type == 0)
        return "<" + r->name + ">";
    return "<" + r->name + " (" + keyword(n->port_type) + " port " + std::to_string(n->port_num) +
           ")>";
}

std::string shown_value(const SetRow& row, const std::string& raw) {
    std::string name;
    if (row.enumerated) {
        const MibVarEntry* e = mib_var(row.mib_index);
        if (e && cvt_enum_num_str(row.mib_index, raw, &name))
            return name;
        return raw;
    }
    return raw.empty() ? "\"\"" : raw;
}

// The differences text as written here.
std::string vd_text;

void set_vd_text(const std::string& text) {
    vd_text = text;
    ui_set_text(W_SET_VD_TEXT, text);
}

// Cuts the variable's section out of the differences text: from its header
// line to the next section's header, or to the end.
void remove_vd_entry(const SetRow& row) {
    std::string text = vd_text;
    size_t at = text.find("**** " + row_name(row) + " ****\n");
    if (at == std::string::npos)
        return;
    size_t next = text.find("\n**** ", at + 1);
    text.erase(at, next == std::string::npos ? std::string::npos : next + 1 - at);
    set_vd_text(text);
}

struct DeviceNodes {
    MorixRecord* rec;
    std::vector<const ParamNode*> nodes;
};

// The nodes of the row's variable per answered device; false when a device
// that should have had one has none (reported, row stopped).
bool collect_row_nodes(const SetRow& row, const std::vector<MorixRecord*>& answered, int all,
                       const std::vector<int>& ports, std::vector<DeviceNodes>* out,
                       std::string* msg) {
    for (MorixRecord* r : answered) {
        DeviceNodes d{r, {}};
        for (const ParamNode* n = r->prm_list; n; n = n->next)
            if (n->mib_index == row.mib_index)
                d.nodes.push_back(n);
        if (d.nodes.empty()) {
            if (!check_port_type(row.mib_index, set_port_sel_ind))
                return false;
            int have = get_num_ports(r, set_port_sel_ind);
            bool exists = all != 0;
            for (int p : ports)
                exists = exists || (p >= 1 && p <= have);
            if (!exists)
                continue;
            text_set_buf(row_name(row) + ": unable to get value for " + r->name, msg, 1);
            return false;
        }
        out->push_back(std::move(d));
    }
    return true;
}

void show_row_equal(int index, const std::string& value, std::string* msg) {
    SetRow& row = set_wlist[index];
    if (!row.enumerated) {
        // An empty value is an empty field: Apply must not send two quotes.
        ui_set_text(set_row_id(index, SRP_TEXT), value, UI_SET_ROWS);
        return;
    }
    for (const SetChoice& c : row.choices) {
        if (std::to_string(c.value) == value) {
            set_option_menu_top_button(set_row_id(index, SRP_OPTION), c.name, UI_SET_ROWS);
            return;
        }
    }
    set_om_blank(set_row_id(index, SRP_OPTION), UI_SET_ROWS);
    text_set_buf("SW Error: <" + row_name(row) + ">  No enum string for value " + value, msg, 1);
}

void show_row_differ(int index, const std::vector<DeviceNodes>& devs, std::string* diffs) {
    SetRow& row = set_wlist[index];
    ui_manage(set_row_id(index, SRP_VD_PB), UI_SET_ROWS);
    row.vd_shown = true;
    if (row.enumerated)
        set_om_blank(set_row_id(index, SRP_OPTION), UI_SET_ROWS);
    else
        ui_set_text(set_row_id(index, SRP_TEXT), "", UI_SET_ROWS);
    text_set_buf("", diffs, 1);
    text_set_buf("**** " + row_name(row) + " ****", diffs, 1);
    text_set_buf("", diffs, 1);
    for (const DeviceNodes& d : devs) {
        for (const ParamNode* n : d.nodes)
            if (n->status == NS_OK)
                text_set_buf(node_place(d.rec, n) + " : " + shown_value(row, n->value), diffs, 1);
        text_set_buf("", diffs, 1);
    }
}

void display_row(int index, const std::vector<MorixRecord*>& answered, int all,
                 const std::vector<int>& ports, std::string* msg, std::string* diffs) {
    SetRow& row = set_wlist[index];
    std::vector<DeviceNodes> devs;
    if (!collect_row_nodes(row, answered, all, ports, &devs, msg))
        return;
    const std::string* first = nullptr;
    bool differ = false;
    for (const DeviceNodes& d : devs)
        for (const ParamNode* n : d.nodes)
            if (n->status == NS_OK) {
                if (!first)
                    first = &n->value;
                else if (n->value != *first)
                    differ = true;
            }
    if (!first) {
        text_set_buf(row_name(row) + ": unable to get value.", msg, 1);
        text_set_buf("", msg, 1);
        return;
    }
    for (const DeviceNodes& d : devs)
        for (const ParamNode* n : d.nodes)
            if (n->status != NS_OK) {
                std::string where = n->port_type == 0 ? ""
                                                      : " (" + keyword(n->port_type) + " port " +
                                                            std::to_string(n->port_num) + ")";
                text_set_buf(row_name(row) + ": unable to get value for " + d.rec->name + where,
                             msg, 1);
                text_set_buf("", msg, 1);
            }
    if (row.vd_shown) {
        ui_unmanage(set_row_id(index, SRP_VD_PB), UI_SET_ROWS);
        row.vd_shown = false;
        remove_vd_entry(row);
    }
    if (differ)
        show_row_differ(index, devs, diffs);
    else
        show_row_equal(index, *first, msg);
}

// Fills the rows from the answers (all_rows, or only the marked rows).
void display_set_cur_val(const SetRequest& req, int all_rows, int all,
                         const std::vector<int>& ports, std::string* msg) {
    std::vector<MorixRecord*> answered;
    for (MorixRecord* r : selected_reachable()) {
        if (r->status == SR_TIMEOUT || r->status == SR_UNKNOWN_HOST)
            text_set_buf("Could not get values (probably due to a timeout) for: " + r->name, msg,
                         1);
        else
            answered.push_back(r);
    }
    if (answered.empty()) {
        text_set_buf("None of the selected Morixes could be reached.", msg, 1);
        return;
    }
    std::string diffs;
    RowTakeState quiet;
    quiet.warned_no_ports = quiet.warned_mismatch = 1;
    std::vector<std::string> none;
    bool have_ports = all != 0 || !ports.empty();
    for (int i = 0; i < static_cast<int>(set_wlist.size()); ++i) {
        bool marked = req.marked(i);
        if ((!all_rows && !marked) ||
            !set_row_taken(set_wlist[i], have_ports, set_port_sel_ind, &quiet, &none))
            continue;
        ui_set_read_only(row_input(i), !marked, UI_SET_ROWS);
        display_row(i, answered, all, ports, msg, &diffs);
    }
    if (!diffs.empty()) {
        vd_text += diffs;
        write_otp_msg(W_SET_VD_TEXT, diffs, 0, 0);
    }
}

} // namespace

std::string set_port_type_label(int code) {
    for (const PortTypeChoice& c : port_type_choices())
        if (c.code == code)
            return c.label;
    return "";
}

int set_port_type_code(const std::string& label) {
    for (const PortTypeChoice& c : port_type_choices())
        if (label == c.label)
            return c.code;
    return -1;
}

void create_set_widgets(int mib_index) {
    set_wlist.push_back(set_row_of(mib_index));
}

void free_set_widgets() {
    set_wlist.clear();
    ui_free_set_rows();
    set_vd_text("");
}

int process_set() {
    set_app_cursor(CURSOR_BUSY);
    if (!check_main_sel(W_MAIN_WINDOW, SEL_SHOW_SET)) {
        set_app_cursor(CURSOR_NORMAL);
        return 0;
    }
    free_set_widgets();
    ui_set_text(W_SET_PORT_TF, "");
    ui_set_text(W_SET_MSG, "");
    std::vector<int> ids;
    if (param_sel_flag) {
        for (const std::string& name : main_selection().params) {
            int id = 0;
            if (get_check_mib_var(name, &id))
                ids.push_back(id);
            else
                display_warn(W_MAIN_WINDOW, no_refs(name));
        }
    } else {
        std::vector<std::string> sel = main_selection().params;
        int f = sel.empty() ? -1 : find_func_by_name(sel[0]);
        if (f >= 0 && mib_func_list[f])
            ids = mib_func_list[f]->var_list;
        else
            display_warn(W_MAIN_WINDOW, no_refs(sel.empty() ? "(none)" : sel[0]));
    }
    std::vector<UiSetRow> rows;
    for (int id : ids) {
        if (!mib_var(id))
            continue;
        create_set_widgets(id);
        UiSetRow row{mib_var(id)->name, {}};
        for (const SetChoice& c : set_wlist.back().choices)
            row.choices.push_back(c.name);
        rows.push_back(std::move(row));
    }
    ui_build_set_rows(W_SET_FORM, rows);
    gui_manage_top_form(W_SET_FORM);
    set_option_menu_top_button(W_SET_PORT_OM, set_port_type_label(set_port_sel_ind));
    g_done_show_values = 0;
    set_widget_label(W_SET_SHOW_VALUES, "Show Values");
    set_app_cursor(CURSOR_NORMAL);
    return 1;
}

void sensitize_cb(int row, bool marked) {
    if (row < 0 || row >= static_cast<int>(set_wlist.size()))
        return;
    ui_set_read_only(row_input(row), !marked, UI_SET_ROWS);
    if (marked)
        set_focus(row_input(row), UI_SET_ROWS);
}

void set_row_action(int id, bool marked) {
    int row = id / SET_ROW_STRIDE;
    if (id % SET_ROW_STRIDE == SRP_TOGGLE)
        sensitize_cb(row, marked);
    else if (id % SET_ROW_STRIDE == SRP_VD_PB)
        val_dif_proc(row);
}

void mark_set_values_outdated() {
    if (g_done_show_values && window_open(W_SET_FORM))
        set_widget_label(W_SET_SHOW_VALUES, "* Show Values");
}

void set_port_type_changed(const std::string& label) {
    int code = set_port_type_code(label);
    if (code >= 0 && code != set_port_sel_ind) {
        set_port_sel_ind = code;
        mark_set_values_outdated();
    }
}

void reset_values_differ() {
    set_vd_text("");
    for (int i = 0; i < static_cast<int>(set_wlist.size()); ++i) {
        if (set_wlist[i].enumerated)
            set_om_blank(set_row_id(i, SRP_OPTION), UI_SET_ROWS);
        else
            ui_set_text(set_row_id(i, SRP_TEXT), "", UI_SET_ROWS);
        ui_unmanage(set_row_id(i, SRP_VD_PB), UI_SET_ROWS);
        set_wlist[i].vd_shown = false;
    }
}

void val_dif_proc(int row) {
    if (row < 0 || row >= static_cast<int>(set_wlist.size()))
        return;
    ui_fetch_dialog("set_vd_dialog", W_SET_VD_DIALOG);
    ui_manage(W_SET_VD_DIALOG);
    size_t at = vd_text.find("**** " + row_name(set_wlist[row]) + " ****");
    if (at != std::string::npos)
        ui_text_show_position(W_SET_VD_TEXT, static_cast<int>(at));
}

// ---- Show Values --------------------------------------------------------------

void get_set_cur_val(const SetRequest& req, int warned, int quiet_ports, int all_rows) {
    LongOperation op;
    op.busy();
    std::vector<MorixRecord*> recs = selected_reachable();
    std::vector<std::string> warnings;
    SetPorts sp = set_ports_of(req.ports, recs, set_port_sel_ind, PortPurpose::read,
                               quiet_ports ? nullptr : &warnings);
    std::string msg;
    text_set_buf("\n\n***** Show Operation *****", &msg, 1);
    text_set_buf(all_rows ? "Getting the following parameters..."
                          : "Getting the parameters that were just set...",
                 &msg, 1);
    RowTakeState warn;
    warn.warned_no_ports = warn.warned_mismatch = warned;
    bool have_ports = sp.all != 0 || !sp.ports.empty();
    int nonexistent = 0;
    for (int i = 0; i < static_cast<int>(set_wlist.size()); ++i) {
        bool marked = req.marked(i);
        if ((!all_rows && !marked) ||
            !set_row_taken(set_wlist[i], have_ports, set_port_sel_ind, &warn, &warnings))
            continue;
        if (all_rows)
            text_set_buf("\t" + row_name(set_wlist[i]), &msg, 1);
        for (MorixRecord* r : recs) {
            const DevicePorts& d = sp.of(r);
            if (build_prm(r, d.all, static_cast<int>(d.ports.size()), d.ports, set_port_sel_ind,
                          set_wlist[i].mib_index, ""))
                nonexistent = 1;
        }
    }
    text_set_buf("", &msg, 1);
    for (const std::string& w : warnings)
        display_warn(W_SET_FORM, w);
    op.open(W_SET_FORM, "Cancel Show Values", "", LO_FOLLOW_SNMP);
    op.at(get_sel_mrx_values());
    bool cancelled = op.close();
    if (cancelled) {
        text_set_buf("\nOperation cancelled.", &msg, 1);
    } else {
        display_set_cur_val(req, all_rows, sp.all, sp.ports, &msg);
    }
    free_host_info_list(0);
    if (!cancelled) {
        if (nonexistent && !quiet_ports)
            display_warn(W_SET_FORM, MSG_NONEXISTENT_PORTS);
        text_set_buf("Show values complete.", &msg, 1);
        g_done_show_values = 1;
        set_widget_label(W_SET_SHOW_VALUES, "Show Values");
    }
    write_otp_msg(W_SET_MSG, msg, 0, 1);
}
