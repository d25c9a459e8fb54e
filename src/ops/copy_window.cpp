// The Copy window's choices and texts, and the check of the Copy button's
// input.
#include "catalogue/func_display.h"
#include "ops/copy.h"
#include "snmp_access/morix_record.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/session.h"
#include "ui/widget_ids.h"

int cpy_ind = CPY_MAIN;
int cpy_port_sel_ind = PT_ASY;
int g_cpy_bad_ports = 0;

namespace {

const std::vector<CopyChoice> kind_choices = {
    {W_CPY_MAIN_WINDOW_CHOICE_TB, CPY_MAIN, "Main Window Choice"},
    {W_CPY_MORIX_TB, CPY_MRX, "Morix"},
    {W_CPY_ASYNC_PORTS_TB, CPY_ASY, "Async Ports"},
    {W_CPY_SYNC_PORTS_TB, CPY_SYN, "Sync Ports"},
    {W_CPY_PRINTER_PORTS_TB, CPY_PTR, "Printer Ports"},
    {W_CPY_ETHERNET_PORTS_TB, CPY_ETH, "Ethernet Ports"},
    {W_CPY_WAN_INTERFACES_TB, CPY_DS1, "WAN Interfaces"},
    {W_CPY_CHANNELS_TB, CPY_CHN, "Channels"}};

const std::vector<CopyChoice> port_choices = {{W_CPY_ASYNC_TB, PT_ASY, "Async"},
                                              {W_CPY_SYNC_TB, PT_SYN, "Sync"},
                                              {W_CPY_PRINTER_TB, PT_PTR, "Printer"},
                                              {W_CPY_ETHERNET_TB, PT_EN, "Ethernet"},
                                              {W_CPY_WAN_INTERFACE_TB, PT_DS1INF, "WAN Interface"},
                                              {W_CPY_PORT_CHANNELS_TB, PT_CHANNELS, "Channels"}};

// Port type of each copy code (codes 3..7 have their own; 1 the selector).
constexpr int kind_port_type[9] = {0,      -1,    PT_NONE,   PT_ASY,     PT_SYN,
                                   PT_PTR, PT_EN, PT_DS1INF, PT_CHANNELS};

constexpr const char* MSG_SELECT =
    "To perform a copy, you must select one Morix from the\n'Copy From' list and one or more "
    "Morixes from the 'Copy To' list.";
constexpr const char* MSG_LIST_UPDATED =
    "\nThe main Morix list may have been updated. You must\nredisplay the current command "
    "window to update Morix Lists.\n";
constexpr const char* MSG_PORTS =
    "You must enter one port for the 'Copy From' Morix\nand one or more ports for the 'Copy "
    "To' Morix.";

} // namespace

const std::vector<CopyChoice>& cpy_kind_choices() {
    return kind_choices;
}

const std::vector<CopyChoice>& cpy_port_choices() {
    return port_choices;
}

int cpy_kind_toggle(int code) {
    for (const CopyChoice& c : kind_choices)
        if (c.code == code)
            return c.id;
    return W_CPY_MAIN_WINDOW_CHOICE_TB;
}

std::string cpy_kind_label(int code) {
    for (const CopyChoice& c : kind_choices)
        if (c.code == code && code != CPY_MAIN)
            return std::string("<all ") + c.label + " parameters>";
    return "";
}

std::string cpy_from_port_label(const std::string& keyword) {
    return "From Port (" + keyword + "):";
}

std::string cpy_to_port_label(const std::string& keyword) {
    return "To Ports (" + keyword + "):";
}

int make_cpy_request(const CopyInput& in, CopyRequest* req, std::string* msg) {
    const std::vector<std::string>& from = in.from;
    req->dst_names = in.to;
    if (from.size() != 1 || req->dst_names.empty()) {
        *msg = MSG_SELECT;
        return CRQ_WARN;
    }
    req->src_name = from[0];
    req->src_index = session().devices().position(req->src_name);
    if (req->src_index < 0) {
        *msg = MSG_LIST_UPDATED;
        return CRQ_OUTPUT;
    }
    req->code = in.code;
    if (req->code < CPY_MAIN || req->code > CPY_CHN) {
        *msg = "Invalid copy indicator. Software error.";
        return CRQ_WARN;
    }
    req->port_type = req->code == CPY_MAIN ? in.port_type : kind_port_type[req->code];
    const std::string &src = in.from_ports, &dst = in.to_ports;
    req->src_port_text = src;
    std::vector<int> src_ports;
    if (!src.empty())
        src_ports = parse_port_list(src, &req->src_all, &req->src_count);
    if (!dst.empty())
        req->dst_ports = parse_port_list(dst, &req->dst_all, &req->dst_count);
    req->src_port = src_ports.empty() ? 0 : src_ports[0];
    bool one_src = req->src_all == 0 && req->src_count == 1;
    bool some_dst = req->dst_all != 0 || req->dst_count > 0;
    if (req->code >= CPY_ASY && (!one_src || !some_dst)) {
        *msg = MSG_PORTS;
        return CRQ_WARN;
    }
    if (req->code != CPY_MRX && req->dst_all == 0 && req->dst_count > CPY_MAX_PORTS) {
        *msg = "You entered " + std::to_string(req->dst_count) +
               " ports for the 'Copy To' Morix.\nA copy writes at most " +
               std::to_string(CPY_MAX_PORTS) + " ports: enter fewer ports, or all.";
        return CRQ_WARN;
    }
    if (req->code == CPY_MAIN) {
        req->param_sel = in.param_sel;
        req->items = in.items;
        if (in.items.empty()) {
            *msg = in.param_sel ? "You must select at least one parameter."
                                : "You must select a parameter group.";
            return CRQ_WARN;
        }
    }
    return CRQ_OK;
}

std::string cpy_conf_text(const std::vector<std::string>& names) {
    std::string list = "    ";
    size_t line = 1;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            list += ", ";
        if (list.size() > 60 * line) {
            list += "\n    ";
            ++line;
        }
        list += names[i];
    }
    return "Parameter values will be copied to:\n\n" + list + "\n\nDo you want to continue?";
}

Outcome check_copy(const CopyInput& in, CopyRequest* req) {
    g_cpy_bad_ports = 0;
    Outcome out;
    std::string msg;
    switch (make_cpy_request(in, req, &msg)) {
    case CRQ_WARN:
        out.result = Result::refused;
        out.warnings.push_back(msg);
        break;
    case CRQ_OUTPUT:
        out.result = Result::refused;
        out.report = msg + "\n";
        break;
    default:
        break;
    }
    return out;
}
