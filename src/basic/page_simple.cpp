// Pages without particular rules beyond their fields: IPX, AppleTalk, LAT
// and Snmp Traps.
#include <cstdio>

#include "basic/basic_page.h"
#include "ui/diag.h"

namespace {
constexpr const char* TRAP_RANGE = "The value must lie between 1 and 255";
PageField trap(const char* key, const char* label, int id) {
    return {key, label, id, FK_TEXT, 1, 255, TRAP_RANGE};
}
void traps_save_failed(BasicPage&) {
    diag_printf("An ERROR has occured!\n");
}
} // namespace

BasicPage page_ipx = {
    "ipx",          "IPX",
    CAT_IPX,        BW_PG_IPX,
    BW_SETUP_FORM,  24,
    "stdIPX.wh",    EF_IPX,
    &ipx_conf_vars, {{"frame-type", "Frame Type", BW_PG_IPX_FRAME_TYPE_F, FK_OPTION}}};

BasicPage page_at = {"appletalk",          "AppleTalk",
                     CAT_APPLETALK,        BW_PG_APPLETALK,
                     BW_SETUP_FORM,        22,
                     "stdAppleTalk.wh",    EF_APPLETALK,
                     &appletalk_conf_vars, {{"zone", "Zone", BW_PG_APPLETALK_ZONE_F, FK_TEXT}}};

BasicPage page_lat = {
    "lat",
    "LAT",
    CAT_LAT,
    BW_PG_LAT,
    BW_SETUP_FORM,
    25,
    "stdLAT.wh",
    EF_LAT,
    &lat_conf_vars,
    {{"server-name", "Server Name", BW_PG_LAT_SERVER_NAME_F, FK_TEXT, 0, 0, nullptr, FF_SINGLE},
     {"groups", "Groups", BW_PG_LAT_GROUPS_F, FK_TEXT},
     {"vcli-groups", "VCLI Groups", BW_PG_LAT_VCLI_GROUPS_F, FK_TEXT}}};

BasicPage page_traps = {
    "traps",
    "Snmp Traps",
    CAT_TRAPS,
    BW_PG_TRAPS,
    BW_SETUP_FORM,
    20,
    "stdSNMPSet.wh",
    EF_TRAPS,
    &trap_conf_vars,
    {{"call-begin", "Call Begin Trap", BW_PG_TRAPS_CALL_BEGIN_TRAP_F, FK_OPTION},
     trap("call-end", "Call End Threshold", 71),
     trap("unexpected-disconnect", "Unexpected Disconnect Threshold", 72),
     trap("call-inactivity", "Call Inactivity Threshold", 73),
     {"dial-link", "Dial Link Traps", BW_PG_TRAPS_DIAL_LINK_TRAPS_F, FK_OPTION},
     trap("bpv", "BPV Threshold", 75),
     trap("oof", "OOF Threshold", 76),
     trap("es", "ES Threshold", 77),
     trap("cv", "CV Threshold", 78),
     trap("esf", "ESF Threshold", 79),
     trap("ses", "SES Threshold", 80),
     trap("uas", "UAS Threshold", 81),
     trap("bes", "BES Threshold", 82),
     trap("lofc", "LOFC Threshold", 83),
     trap("css", "CSS Threshold", 84)},
    PS_DEVICE,
    0,
    {nullptr, nullptr, nullptr, nullptr, nullptr, traps_save_failed}};
