// IP page: address, mask, RIP versions (instance 1) and the broadcast
// address, recomputed as address OR NOT mask whenever address or mask change.
#include <map>

#include "basic/basic_page.h"
#include "snmp_access/morix_record.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/session.h"

namespace {

enum { IP_ADDR, IP_MASK, IP_RECV, IP_SEND, IP_BCAST };
std::map<int, std::string> new_bcast; // by device list position

// Works out each device's broadcast address before requests are built (the
// address of each device when several share the page: one address field
// cannot stand for all of them).
int ip_check(BasicPage& p) {
    new_bcast.clear();
    if (!p.saved[IP_ADDR].changed && !p.saved[IP_MASK].changed)
        return 0;
    std::string mask = page_field_text(p, IP_MASK);
    std::string addr = page_field_text(p, IP_ADDR);
    for (int d : basic_devices()) {
        std::string a = addr;
        if (a.empty() || a == set_to_blank)
            a = get_mrx_prm_val_str(session().devices()[d], "mrxInetAddr").value_or("");
        std::string out;
        if (get_bcast_addr(a, mask, &out, 0) == 0)
            new_bcast[d] = out;
    }
    return 0;
}

void ip_extra(BasicPage& p, const std::vector<int>& devs, int* failed) {
    for (int d : devs) {
        auto it = new_bcast.find(d);
        if (it == new_bcast.end())
            continue;
        if (set_param("mrxBcastAddr", it->second, {d}, 0) != 0)
            *failed = 1;
        else if (devs.size() == 1)
            p.saved[IP_BCAST].text = it->second;
    }
    if (!new_bcast.empty() && devs.size() == 1)
        page_set_field(p, IP_BCAST, p.saved[IP_BCAST].text);
}

} // namespace

BasicPage page_ip = {
    "ip",
    "IP",
    CAT_IP,
    BW_PG_IP,
    BW_SETUP_FORM,
    23,
    "stdIP.wh",
    EF_IP,
    &ip_conf_vars,
    {{"address", "IP Address", BW_PG_IP_IP_ADDRESS_F, FK_TEXT, 0, 0, nullptr, FF_SINGLE},
     {"mask", "Subnet Mask", BW_PG_IP_SUBNET_MASK_F, FK_TEXT},
     {"rip-receive", "RIP Receive Version", BW_PG_IP_RIP_RECEIVE_VERSION_F, FK_OPTION},
     {"rip-send", "RIP Send Version", BW_PG_IP_RIP_SEND_VERSION_F, FK_OPTION},
     {"broadcast", "Broadcast Address", BW_PG_IP_BROADCAST_ADDRESS_F, FK_SHOWN}},
    PS_DEVICE,
    PT_EN,
    {nullptr, nullptr, ip_check, ip_extra, nullptr}};
