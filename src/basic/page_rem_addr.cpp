// Remote Address page: one first address and mask handed out as
// consecutive addresses to the async ports or WAN channels of the devices.
#include "basic/port_pages.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/session.h"

namespace {

enum { RA_FIRST, RA_MASK, RA_LAST };
// The variables of the fields (the last address is shown only).
const VarTable rem_addr_fields = {"mrxpNetRemoteAddr", "mrxpSlipSubnetMask", "mrxpNetRemoteAddr"};
RemAddrSaved rem_saved;
bool first_changed = false, mask_changed = false;

int rem_read(BasicPage& p) {
    std::string first, mask, last;
    read_rem_addrs(&rem_saved, false, &first, &mask, &last);
    p.saved[RA_FIRST].text = first;
    p.saved[RA_MASK].text = mask;
    p.saved[RA_LAST].text = last;
    free_basic_chains();
    return 1;
}

const VarTable& scope_vars() {
    return rem_saved.chan ? rem_addr_conf_chan_vars : rem_addr_conf_port_vars;
}

// Checks the changed fields; the address nodes are built in rem_extra.
int rem_check(BasicPage& p) {
    first_changed = p.saved[RA_FIRST].changed;
    mask_changed = p.saved[RA_MASK].changed;
    p.saved[RA_FIRST].changed = p.saved[RA_MASK].changed = false;
    if (!first_changed && !mask_changed)
        return 0;
    std::string first = page_field_text(p, RA_FIRST), mask = page_field_text(p, RA_MASK);
    for (int d : basic_devices()) // each device with its own port count
        if (scope_fits(session().devices()[d], rem_saved.chan) &&
            check_remote_addr_for_overlap(
                first, port_scope_count(session().devices()[d], rem_saved.chan)) != 0) {
            page_warn("Last Remote Address Out of Range");
            return -1;
        }
    if (first_changed && !check_addr_field(&first, p.view.fields[RA_FIRST].label))
        return -1;
    if (mask_changed && !check_addr_field(&mask, p.view.fields[RA_MASK].label))
        return -1;
    return 0;
}

void rem_extra(BasicPage& p, const std::vector<int>& devs, int* failed) {
    std::string first = page_field_text(p, RA_FIRST), mask = page_field_text(p, RA_MASK);
    first = strip_blanks(&first);
    mask = strip_blanks(&mask);
    for (int d : devs) {
        if (!scope_fits(session().devices()[d], rem_saved.chan))
            continue;
        if (first_changed &&
            set_individual_port_params(scope_vars()[0], first, d, rem_saved.chan, 0) != 0)
            *failed = 1;
        if (mask_changed &&
            set_individual_port_params(scope_vars()[1], mask, d, rem_saved.chan, 1) != 0)
            *failed = 1;
    }
}

void rem_sent(BasicPage& p) {
    get_page_conf_value(p); // read the page again
}

} // namespace

BasicPage page_rem_addr = {
    "remote-address",
    "Remote Address",
    CAT_REM_ADDR,
    BW_PG_REM_ADDR,
    BW_SETUP_FORM,
    27,
    nullptr,
    EF_REM_ADDR,
    &rem_addr_fields,
    {{"first", "First Remote Address", BW_PG_REM_ADDR_FIRST_REM_ADDR_F, FK_TEXT, 0, 0, nullptr,
      FF_SINGLE | FF_SHOW_COMMON},
     {"mask", "Subnet Mask", BW_PG_REM_ADDR_SUBNET_MASK_F, FK_TEXT},
     {"last", "Last Remote Address", BW_PG_REM_ADDR_LAST_REM_ADDR_F, FK_SHOWN}},
    PS_DEVICE,
    0,
    {rem_read, nullptr, rem_check, rem_extra, rem_sent}};
