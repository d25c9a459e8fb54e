// Status members of the sessions: dial-up tunnels (DVS) on communication
// servers and multilink bundles.
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "catalogue/mib_catalogue.h"
#include "devices/long_op.h"
#include "ops/status.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/product_types.h"
#include "snmp_access/snmp_engine.h"
#include "ui/progress.h"

namespace {

// ---- dial-up tunnels -------------------------------------------------------

const std::vector<const char*> udas_sts_tun_vars = {
    "mrxTunnelUnitIndex",   "callSetupPortType",    "mrxTunnelState",
    "callSetupCallingTime", "mrxTunnelMnIPAddress", "mrxTunnelMnIPXAddress",
    "mrxTunnelHaAddress",   "mrxTunnelWanProtocol", "mrxTunnelWanAddress"};
const char* const tun_fmt = "%-15s %-16s %-15s %-18s %-16s %-15s %-14s %s\n";

// Text tables by numeric value; a value outside a table shows its last
// entry ("<Undefined>") instead of reading past it.
const std::vector<const char*> tun_port_types = {"<Undefined>", "asy", "sync",
                                                 "ta",          "mp",  "<Undefined>"};
const std::vector<const char*> tun_states = {"<Undefined>", "reserved", "pending", "regestered",
                                             "<Undefined>"};
const std::vector<const char*> tun_wan_protos = {"<Undefined>", "serial-line", "ppp", "framerelay",
                                                 "<Undefined>"};

std::string text_of(const std::vector<const char*>& table, const std::string& raw) {
    long v = !raw.empty() && check_str_digits(raw) && raw.size() < 6 ? std::atol(raw.c_str()) : -1;
    if (v < 0 || v >= static_cast<long>(table.size()))
        v = static_cast<long>(table.size()) - 1;
    return table[static_cast<size_t>(v)];
}

const char* const gre_labels[] = {"In Packets", "Out Packets", "In Dropped",     "Out Dropped",
                                  "In Bytes",   "Out Bytes",   "Checksum Errors"};

// ---- multilink ---------------------------------------------------------------

constexpr int MAX_MP_WALK = 1024; // interfaces walked at most
const char* const mp_row_fmt = "   %-29s %-40s %s";
const char* const mp_detail_labels[] = {"Tx Packets",   "Rx Packets",     "Fragmented Packets",
                                        "Lost Packets", "Lost Fragments", "Tx Fragments",
                                        "Rx Fragments", "Peak Links"};
const char* const mp_sts_i_vars[] = {"mpStatsTxPkts",   "mpStatsRxPkts",   "mpStatsFragPkts",
                                     "mpStatsLostPkts", "mpStatsFragLost", "mpStatsTxFrag",
                                     "mpStatsRxFrag",   "mpStatsPeakLink"};

// The bundles of the last list: interface index by row, and the device.
std::vector<int> mp_rows;
std::string mp_device;
// The rows of the window's multilink list, as listed.
std::vector<std::string> mp_items;

std::string word(std::string s) {
    for (char& ch : s)
        if (ch == ' ' || ch == '\t')
            ch = '_';
    return s.empty() ? "-" : s;
}

} // namespace

int sts_build_dvs(StatusCtx& c) {
    if (!check_comm_srv(c.rec)) {
        char buf[512];
        std::snprintf(buf, sizeof buf,
                      "'%s' is not available for the selected\nCommunication Server "
                      "device(s):\n%s.",
                      "DVS Status", c.rec->name.c_str());
        c.warnings.push_back(buf);
        return -1;
    }
    int max = c.rec->platform == 4 ? (c.rec->wan_chan_count.empty() ? 0 : c.rec->wan_chan_count[0])
                                   : c.rec->asy_ports;
    if (max > 0) {
        std::vector<int> found(static_cast<size_t>(max));
        int count = 0;
        get_port_mib_var_nxt(c.rec, "mrxTunnelUnitIndex", found.data(), max, &count);
        c.ports.assign(found.begin(), found.begin() + count);
    }
    for (const char* v : *c.m->vars)
        status_add(c, v, 0);
    for (int t : c.ports)
        for (const char* v : udas_sts_tun_vars)
            status_add(c, v, t);
    return 0;
}

void sts_layout_dvs(StatusCtx& c) {
    for (int i = 0; i < 7; ++i)
        display_prm_val(c, gre_labels[i], (*c.m->vars)[i], 0);
    c.tables =
        status_row(tun_fmt, {"Port", "Tunnel State", "Connect Time", "Mobile IP Addr",
                             "Mobile IPX Addr", "Home Agent", "WAN Protocol", "WAN Address"});
    if (c.ports.empty()) {
        c.tables += "No tunnels have been found.\n";
        return;
    }
    bool bad = false;
    for (int t : c.ports) {
        std::string v[9];
        for (int k = 0; k < 9; ++k) {
            v[k] = k == 1 || k == 2 || k == 7 ? status_raw(c, udas_sts_tun_vars[k], t)
                                              : status_val(c, udas_sts_tun_vars[k], t, "", "");
            bad = bad || v[k].empty();
        }
        c.tables +=
            status_row(tun_fmt, {text_of(tun_port_types, v[1]) + v[0], text_of(tun_states, v[2]),
                                 v[3], v[4], v[5], v[6], text_of(tun_wan_protos, v[7]), v[8]});
    }
    if (bad)
        c.warnings.push_back("Unable to get some of the status data for device(s):\n" +
                             c.rec->name);
}

int sts_build_mp(StatusCtx& c) {
    // The interfaces by a walk of ifType (bounded), then one GET of their
    // types; the bundles' endpoints and the async ports' users and
    // endpoints go into the main GET.
    std::vector<int> found(MAX_MP_WALK);
    int count = 0;
    get_port_mib_var_nxt(c.rec, "ifType", found.data(), MAX_MP_WALK, &count);
    for (int i = 0; i < count; ++i)
        status_add(c, "ifType", found[static_cast<size_t>(i)]);
    if (count > 0 && !front_end_progress().cancelled())
        mm_snmp(c.rec, SNMP_OP_GET);
    for (int i = 0; i < count && c.rec->status == 0; ++i)
        if (status_raw(c, "ifType", found[static_cast<size_t>(i)]) == "18")
            c.extra.push_back(found[static_cast<size_t>(i)]);
    int status = c.rec->status;
    free_prm_list(c.rec);
    c.rec->status = status;
    if (status != 0) {
        c.warnings.push_back(MSG_STS_FAILED + c.rec->name);
        return -1;
    }
    for (int b : c.extra)
        status_add(c, "mpEndPointValue", b);
    if (!c.extra.empty())
        for (int p = 1; p <= c.rec->asy_ports; ++p) {
            status_add(c, "mrxpPppUserRemote", p);
            status_add(c, "mpEndPointValue", p + 1);
        }
    if (c.extra.empty())
        status_add(c, "ifNumber", 0); // keeps the GET (and the reachability check)
    return 0;
}

void sts_layout_mp(StatusCtx& c) {
    mp_items.clear();
    mp_rows = c.extra;
    mp_device = c.rec->name;
    for (int b : c.extra) {
        std::string ep = status_val(c, "mpEndPointValue", b, "", "");
        std::string user, links;
        for (int p = 1; p <= c.rec->asy_ports && !ep.empty(); ++p) {
            if (status_val(c, "mpEndPointValue", p + 1, "", "") != ep)
                continue;
            links += (links.empty() ? "" : ",") + std::string("asy") + std::to_string(p);
            if (user.empty())
                user = status_val(c, "mrxpPppUserRemote", p, "", "");
        }
        std::string row = status_row(mp_row_fmt, {word(user), word(ep), word(links)});
        c.list_rows.push_back(row);
        mp_items.push_back(row);
        c.tables += row + "\n";
    }
    if (c.extra.empty())
        c.warnings.push_back("No Multilinks found.");
}

StatusOutcome run_mp_detail(int row) {
    const StatusMember& m = status_member(SM_MP);
    StatusOutcome out;
    out.member = SM_MP;
    out.list_rows = mp_items;
    Outcome& o = out.outcome;
    if (row < 1 || row > static_cast<int>(mp_rows.size())) {
        o.result = Result::refused;
        o.warnings.push_back("You must select a list item.");
        return out;
    }
    MorixRecord* rec = find_record(mp_device);
    if (!rec || !rec->reachable) {
        o.result = Result::failed;
        o.warnings.push_back(MSG_STS_FAILED + mp_device);
        o.devices.push_back({mp_device, DeviceState::unreachable, MSG_STS_FAILED + mp_device});
        return out;
    }
    out.title = std::string(m.title) + " : " + rec->name;
    const std::vector<std::string>& items = mp_items;
    std::istringstream in(items[static_cast<size_t>(row - 1)]);
    std::string w1, w2, w3;
    in >> w1 >> w2 >> w3;
    StatusCtx c;
    c.m = &m;
    c.rec = rec;
    int bundle = mp_rows[static_cast<size_t>(row - 1)];
    LongOperation busy;
    busy.busy();
    free_prm_list(rec);
    for (const char* v : mp_sts_i_vars)
        status_add(c, v, bundle);
    mm_snmp(rec, SNMP_OP_GET);
    if (rec->status != 0) {
        o.result = Result::failed;
        o.warnings.push_back(MSG_STS_FAILED + rec->name);
        o.devices.push_back({rec->name, DeviceState::unreachable, MSG_STS_FAILED + rec->name});
    } else {
        std::string text = "<" + w1 + "  " + w2 + "  " + w3 + ">\n";
        for (int i = 0; i < 8; ++i)
            display_prm_val(c, mp_detail_labels[i], mp_sts_i_vars[i], bundle);
        std::string rows;
        for (const std::string& item : items)
            rows += item + "\n";
        out.laid_out = true;
        out.fields = c.fields;
        out.tables = text;
        o.report = rows + "\n" + text + status_text(c);
        o.devices.push_back({rec->name, DeviceState::done, ""});
    }
    free_prm_list(rec);
    return out;
}
