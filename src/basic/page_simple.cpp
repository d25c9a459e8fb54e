// Pages without particular rules beyond their fields: IPX, AppleTalk, LAT
// and Snmp Traps.
#include <cstdio>

#include "basic/basic_page.h"

namespace {
constexpr const char* TRAP_RANGE = "The value must lie between 1 and 255";
PageField trap(const char* key, const char* label, int id) {
    return {key, label, id, FK_TEXT, 1, 255, TRAP_RANGE};
}
void traps_save_failed(BasicPage&) {
    std::printf("An ERROR has occured!\n");
}
} // namespace

BasicPage page_ipx = {
    "ipx", "IPX",       CAT_IPX, 2903,           BW_SETUP_FORM,
    24,    "stdIPX.wh", EF_IPX,  &ipx_conf_vars, {{"frame-type", "Frame Type", 60, FK_OPTION}}};

BasicPage page_at = {"appletalk",          "AppleTalk",
                     CAT_APPLETALK,        2904,
                     BW_SETUP_FORM,        22,
                     "stdAppleTalk.wh",    EF_APPLETALK,
                     &appletalk_conf_vars, {{"zone", "Zone", 63, FK_TEXT}}};

BasicPage page_lat = {"lat",
                      "LAT",
                      CAT_LAT,
                      2905,
                      BW_SETUP_FORM,
                      25,
                      "stdLAT.wh",
                      EF_LAT,
                      &lat_conf_vars,
                      {{"server-name", "Server Name", 66, FK_TEXT, 0, 0, nullptr, FF_SINGLE},
                       {"groups", "Groups", 67, FK_TEXT},
                       {"vcli-groups", "VCLI Groups", 68, FK_TEXT}}};

BasicPage page_traps = {"traps",
                        "Snmp Traps",
                        CAT_TRAPS,
                        2906,
                        BW_SETUP_FORM,
                        20,
                        "stdSNMPSet.wh",
                        EF_TRAPS,
                        &trap_conf_vars,
                        {{"call-begin", "Call Begin Trap", 70, FK_OPTION},
                         trap("call-end", "Call End Threshold", 71),
                         trap("unexpected-disconnect", "Unexpected Disconnect Threshold", 72),
                         trap("call-inactivity", "Call Inactivity Threshold", 73),
                         {"dial-link", "Dial Link Traps", 74, FK_OPTION},
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
