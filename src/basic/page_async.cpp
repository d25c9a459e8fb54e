// Async Ports, Add Async Port and Basic Dial Access pages: page variables
// on the chosen async ports or on every channel, with the modem entry points.
#include "snmp_access/session.h"
#include "ui/widget_ids.h"
#include <algorithm>
#include <cstdio>

#include "basic/modem_hooks.h"
#include "basic/port_pages.h"
#include "catalogue/mib_catalogue.h"
#include "snmp_access/port_inst.h"

ModemHooks modem_hooks;
extern BasicPage page_async, page_async_add, page_basic_dial;

namespace {

constexpr int MAX_ASYNC = 127;

std::vector<int> chosen_ports; // of the Async Ports and Add Async Port pages
std::vector<std::string> modem_names;
std::vector<bool> changed;

std::vector<int> ports_of_field() {
    std::string text = page_async.view.ports;
    int all = 0, count = 0;
    std::vector<int> ports = parse_port_list(strip_blanks(&text), &all, &count);
    if (all || text.empty()) {
        ports.clear();
        for (int p = 1; p <= MAX_ASYNC; ++p)
            ports.push_back(p);
    }
    return ports;
}

bool chan_scope(const BasicPage& p) {
    return p.vars == &basic_dial_conf_vars;
}

// Reads the page's table on its ports and keeps the common values.
int read_common(BasicPage& p) {
    bool chan = chan_scope(p);
    if (!chan && chosen_ports.empty())
        chosen_ports = ports_of_field();
    read_port_vars(*p.vars, chan, chosen_ports);
    for (size_t i = 0; i < p.vars->size(); ++i)
        common_port_value((*p.vars)[i], chan, chosen_ports, &p.saved[i].text, &p.saved[i].number);
    free_basic_chains();
    return 1;
}

void list_rows(BasicPage& p) {
    std::vector<int> all;
    for (int q = 1; q <= MAX_ASYNC; ++q)
        all.push_back(q);
    read_port_vars(async_port_vars, false, all);
    p.view.rows.clear();
    for (int d : basic_devices()) {
        const MorixRecord* r = session().devices()[d];
        int id = -1;
        get_check_mib_var("mrxpMode", &id);
        for (const PortSlot& s : port_slots(r, id, false, all)) {
            std::vector<std::string> v;
            for (const std::string& name : async_port_vars) {
                int vid = -1;
                get_check_mib_var(name, &vid);
                std::vector<PortSlot> one = port_slots(r, vid, false, {s.port});
                std::string text = one.empty() ? "" : slot_value(r, name, one[0]);
                v.push_back(text.empty() ? "-" : text);
            }
            v.resize(4);
            // The columns of the list's heading (the list has a fixed font).
            char row[256];
            std::snprintf(row, sizeof row, "%-15s %-5d %-11s %-11s %-7s %s", r->name.c_str(),
                          s.port, v[0].c_str(), v[1].c_str(), v[2].c_str(), v[3].c_str());
            p.view.rows.push_back(row);
        }
    }
    free_basic_chains();
}

int async_read(BasicPage& p) {
    chosen_ports = ports_of_field();
    list_rows(p);
    read_common(p);
    size_t m = std::find(p.vars->begin(), p.vars->end(), "mrxpModemVar") - p.vars->begin();
    std::vector<std::string>& items = p.fields[m].options;
    items = modem_names;
    if (!p.saved[m].text.empty() && p.saved[m].text != set_to_blank &&
        std::find(items.begin(), items.end(), p.saved[m].text) == items.end())
        items.push_back(p.saved[m].text);
    p.view.fields[m].items = items;
    return 1;
}

int take_changed(BasicPage& p) {
    changed.assign(p.saved.size(), false);
    for (size_t i = 0; i < p.saved.size(); ++i) {
        changed[i] = p.saved[i].changed;
        p.saved[i].changed = false;
    }
    return 0;
}

// The changed fields checked and set on the page's ports of every device;
// ports a device lacks are left out for it, with a note.
void port_extra(BasicPage& p, const std::vector<int>& devs, int* failed) {
    bool chan = chan_scope(p);
    for (size_t i = 0; i < changed.size(); ++i) {
        if (!changed[i])
            continue;
        std::string value = page_field_text(p, i);
        if (check_field_value((*p.vars)[i], p.view.fields[i].label, &value) != 0)
            return void(*failed = 1);
        for (int d : devs)
            set_port_param((*p.vars)[i], value, d, chan, chosen_ports);
    }
    std::string note;
    for (int d : devs) {
        const MorixRecord* r = session().devices()[d];
        if (!chan && !chosen_ports.empty() && chosen_ports.back() > r->asy_ports &&
            chosen_ports.size() < MAX_ASYNC)
            note += r->name + " has " + std::to_string(r->asy_ports) +
                    " async ports; the ports above it were left out.\n";
        if (chan && !scope_fits(r, true))
            note += r->name + " has no WAN channels; left out.\n";
    }
    if (!note.empty())
        page_warn(note);
}

void reread(BasicPage& p) {
    get_page_conf_value(p);
}

// Apply of a page with Edit Modem: the modem changes go after the fields.
void modem_sent(BasicPage& p) {
    modem_page_apply(p);
    get_page_conf_value(p);
}

// Read Ports: the page read again for the ports of the field.
int async_action(BasicPage& p, int id) {
    if (id != BW_PORTS_READ)
        return 0;
    p.first_time = true;
    get_page_conf_value(p);
    return 1;
}

PageField opt(const char* key, const char* label, int id) {
    return {key, label, id, FK_OPTION};
}
PageField txt(const char* key, const char* label, int id) {
    return {key, label, id, FK_TEXT};
}

} // namespace

std::vector<int> async_chosen_ports() {
    return chosen_ports.empty() ? ports_of_field() : chosen_ports;
}

void rebuild_modem_menus(const std::vector<std::string>& names, const std::vector<bool>& edited) {
    modem_names = names;
    std::string marks;
    for (size_t i = 0; i < names.size() && i < edited.size(); ++i)
        if (edited[i])
            marks += (marks.empty() ? "Edited: " : ", ") + names[i];
    page_async.view.note = marks;
    page_basic_dial.view.modems = names;
    for (size_t i = 0; i < page_async.fields.size() && i < page_async.view.fields.size(); ++i)
        if (page_async.fields[i].widget == BW_ASYNC_MODEM_TYPE) {
            FieldView& v = page_async.view.fields[i];
            page_async.fields[i].options = names;
            if (!v.value.empty() && std::find(names.begin(), names.end(), v.value) == names.end())
                page_async.fields[i].options.push_back(v.value);
            v.items = page_async.fields[i].options;
        }
}

BasicPage page_async = {
    "async-ports",
    "Async Ports Edit",
    CAT_ASYNC,
    BW_PG_ASYNC,
    BW_SETUP_FORM,
    29,
    nullptr,
    EF_ASYNC,
    &async_port_cont_vars,
    {opt("mode", "Mode", BW_PG_ASYNC_MODE_F),
     opt("type", "Type", BW_PG_ASYNC_TYPE_F),
     opt("control-lines", "Control Lines", BW_PG_ASYNC_CONTROL_LINES_F),
     opt("in-flow", "Input Flow Control", BW_PG_ASYNC_IN_FLOW_CTL_F),
     opt("out-flow", "Output Flow Control", BW_PG_ASYNC_OUT_FLOW_CTL_F),
     opt("speed", "Speed", BW_PG_ASYNC_SPEED_F),
     opt("autobaud", "Autobaud", BW_PG_ASYNC_AUTOBAUD_F),
     {"modem-type", "Modem Type", BW_ASYNC_MODEM_TYPE, FK_MASK},
     txt("ppp-ncp", "PPP Protocols", BW_PG_ASYNC_PPP_PROTOCOLS_F),
     opt("ppp-dialup", "PPP Dial-up Address", BW_PG_ASYNC_PPP_DIAL_UP_ADDR_F),
     txt("at-node", "AppleTalk Node Id", BW_PG_ASYNC_APPLETALK_NODE_ID_F),
     txt("dedicated-addr", "Dedicated Address", BW_PG_ASYNC_DEDICATED_ADDRESS_F),
     txt("dedicated-port", "Dedicated Port", BW_PG_ASYNC_DEDICATED_PORT_F),
     txt("dedicated-args", "Dedicated Arguments", BW_PG_ASYNC_DED_ARGS_F)},
    PS_DEVICE,
    PT_ASY,
    {async_read, nullptr, take_changed, port_extra, modem_sent, nullptr, async_action}};

BasicPage page_async_add = {
    "async-add",
    "Add Async Port",
    0,
    BW_ADD_FORM,
    BW_ADD_FORM,
    803,
    "stdAsyncPort3.wh",
    EF_ADD_ASYNC,
    &add_async_port_vars,
    {txt("user", "Remote User", BW_A_APORT_REMOTE_USER_F),
     txt("password", "Remote Password", BW_A_APORT_REMOTE_PASSWORD_F),
     txt("cli-inactivity", "CLI Inactivity", BW_A_APORT_CLI_INACTIVITY_F),
     txt("inactivity", "Inactivity Timer", BW_A_APORT_INACTIVITY_TIMER_F),
     opt("input-activity", "Input Is Activity", BW_A_APORT_INPUT_IS_ACTIVITY_F),
     opt("output-activity", "Output Is Activity", BW_A_APORT_OUTPUT_IS_ACTIVITY_F),
     txt("lat-groups", "LAT Groups", BW_A_APORT_LAT_GROUPS_F)},
    PS_DEVICE,
    PT_ASY,
    {read_common, nullptr, take_changed, port_extra, reread}};

BasicPage page_basic_dial = {
    "basic-dial",
    "Basic Dial Access",
    CAT_BASIC_DIAL,
    BW_PG_DIAL,
    BW_SETUP_FORM,
    30,
    nullptr,
    EF_BASIC_DIAL,
    &basic_dial_conf_vars,
    {opt("mode", "Mode", BW_PG_DIAL_MODE_F),
     txt("dedicated-args", "Dedicated Arguments", BW_PG_DIAL_DED_ARGS_F),
     txt("at-node", "AppleTalk Node Id", BW_PG_DIAL_APPLETALK_NODE_ID_F),
     txt("cli-inactivity", "CLI Inactivity", BW_PG_DIAL_CLI_INACTIVITY_F),
     txt("inactivity", "Inactivity Timer", BW_PG_DIAL_INACTIVITY_TIMER_F),
     opt("input-activity", "Input Is Activity", BW_PG_DIAL_INPUT_IS_ACTIVITY_F),
     opt("output-activity", "Output Is Activity", BW_PG_DIAL_OUTPUT_IS_ACTIVITY_F)},
    PS_DEVICE,
    PT_DS0CHAN,
    {read_common, nullptr, take_changed, port_extra, modem_sent}};
