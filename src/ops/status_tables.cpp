// The members of the status family as data: variable tables, titles,
// progress texts, windows and their two functions.
#include "ops/status.h"
#include "ui/widget_ids.h"

namespace {

const std::vector<const char*> mrx_sts_vars = {
    "sysUpTime",     "cpuUtilization", "activeProcs",    "maxProcs",       "mostProcs",
    "cpuIRescheds",  "cpuTRescheds",   "contextISwtchs", "contextTSwtchs", "cpuIActivates",
    "cpuTActivates", "totalMbufs",     "freeMbufs",      "leastMbufs",     "deniedMbufs",
    "memorySize",    "freeMemory",     "minFreeMemory",  "usableMemory"};
const std::vector<const char*> mrx_asts_vars = {
    "totalInChars",          "totalOutChars",        "totalParityErrs",
    "totalOverrunErrs",      "totalFramingErrs",     "charPortInFlowState",
    "charPortOutFlowState",  "charPortInCharacters", "charPortOutCharacters",
    "charPortSessionNumber", "charPortOperStatus",   "mrxpCurrentUserName",
    "mrxpPortLoginTime",     "mrxpPortProto"};
const std::vector<const char*> mrx_ssts_vars = {"totalSyncInChars",
                                                "totalSyncOutChars",
                                                "totalSyncXmitUnderrunErrs",
                                                "totalSyncRecvOverrunErrs",
                                                "totalSyncFrameCheckErrs",
                                                "rs232SyncPortFrameCheckErrs",
                                                "rs232SyncPortTransmitUnderrunErrs",
                                                "rs232SyncPortReceiveOverrunErrs"};
const std::vector<const char*> mrx_ists_vars = {
    "ifDescr",        "ifType",         "ifMtu",           "ifSpeed",
    "ifOperStatus",   "ifLastChange",   "ifInOctets",      "ifInUcastPkts",
    "ifInNUcastPkts", "ifInDiscards",   "ifInErrors",      "ifInUnknownProtos",
    "ifOutOctets",    "ifOutUcastPkts", "ifOutNUcastPkts", "ifOutDiscards",
    "ifOutErrors",    "ifOutQLen"};
// The modem line has six value columns; the column after the total calls
// carries the total failures, so every column has its own counter.
const std::vector<const char*> imdm_sts_vars = {"mrxpModemTotalCalls", "mrxpModemTotalFailures",
                                                "mrxpModemRing",       "mrxpModemOffhook",
                                                "mrxpModemDcd",        "mrxpModemConsecFail"};
const std::vector<const char*> mrx_psts_vars = {"callSetupPortType", "callSetupPortNumber",
                                                "callSetupCalledNbr", "callSetupCallingNbr",
                                                "callSecurityCurrentUser"};
const std::vector<const char*> mrx_t1s_vars = {
    "mrxModuleLeds",      "mrxt1EngineBypass",     "mrxt1UnitId",     "mrxt1UnitSerialNumber",
    "mrxt1UpTime",        "dsx1CircuitIdentifier", "dsx1TimeElapsed", "dsx1ValidIntervals",
    "dsx1LoopbackConfig", "dsx1LineStatus"};
const std::vector<const char*> mrx_pri_csus_vars = {"mrxModelQLEDs",      "mrxt1EngineBypass",
                                                    "mrxt1UnitId",        "dsx1CircuitIdentifier",
                                                    "dsx1LoopbackConfig", "dsx1LineStatus"};
const std::vector<const char*> udas_sts_gre_vars = {
    "mrxGREInPackets", "mrxGREOutPackets", "mrxGREInDropped", "mrxGREOutDropped",
    "mrxGREInBytes",   "mrxGREOutBytes",   "mrxGREChecksum"};
const std::vector<const char*> mp_sts_l_vars = {"mrxpPppUserRemote", "mpEndPointValue"};

const StatusMember members[SM_COUNT] = {
    {"mrx", "Morix Status", "Getting status for", &mrx_sts_vars, 0, W_MRX_STAT_FORM,
     W_MRX_ST_UPDATE_PB, W_MRX_STAT_PB, sts_build_mrx, sts_layout_mrx},
    {"asy", "Morix Async Port Status", "Getting async port status for", &mrx_asts_vars, 1,
     W_ASY_STAT_FORM, W_ASY_ST_UPDATE_PB, W_ASY_STAT_PB, sts_build_ports, sts_layout_ports},
    {"syn", "Morix Sync Port Status", "Getting sync port status for", &mrx_ssts_vars, 1,
     W_ASY_STAT_FORM, W_ASY_ST_UPDATE_PB, 0, sts_build_ports, sts_layout_ports},
    {"itf", "Morix Interface Status", "Getting interface status for", &mrx_ists_vars, 2,
     W_ITF_STAT_FORM, W_ITF_ST_UPDATE_PB, W_ITF_STAT_PB, sts_build_itf, sts_layout_itf},
    {"imdm", "Morix Modem Calls Status", nullptr, &imdm_sts_vars, 3, W_IMDM_STAT_FORM,
     W_IMDM_ST_UPDATE_PB, W_IMDM_STAT_PB, sts_build_imdm, sts_layout_imdm},
    {"pri", "Morix PRI Channels Status", "Getting PRI status for", &mrx_psts_vars, 4,
     W_PRI_STAT_FORM, W_PRI_ST_UPDATE_PB, W_PRI_STAT_CB, sts_build_pri, sts_layout_pri},
    {"t1", "Morix T1 Internal CSU Status", "Getting T1 status for", &mrx_t1s_vars, 5,
     W_T1_STAT_FORM, W_T1_ST_UPDATE_PB, W_T1_STAT_CB, sts_build_csu, sts_layout_csu},
    {"pricsu", "Morix PRI Internal CSU Status", "Getting PRI Internal CSU status for",
     &mrx_pri_csus_vars, 6, W_CSU_STAT_FORM, W_PRI_CSU_ST_UPDATE_PB, 0, sts_build_csu,
     sts_layout_csu},
    {"dvs", "Morix DVS Status", "Getting status for", &udas_sts_gre_vars, 7, W_DVS_STAT_FORM,
     W_UDAS_ST_UPDATE_PB, W_DVS_STAT_PB, sts_build_dvs, sts_layout_dvs},
    {"mp", "Morix MP Status", nullptr, &mp_sts_l_vars, 8, W_MP_STAT_FORM, W_MP_ST_UPDATE_PB,
     W_MP_STAT_PB, sts_build_mp, sts_layout_mp},
};

} // namespace

const StatusMember& status_member(int id) {
    return members[id >= 0 && id < SM_COUNT ? id : 0];
}

int status_member_by_key(const std::string& key) {
    for (int i = 0; i < SM_COUNT; ++i)
        if (key == members[i].key)
            return i;
    return -1;
}

int status_member_of_update(int id) {
    for (int i = 0; i < SM_COUNT; ++i)
        if (members[i].update_id == id)
            return i;
    return -1;
}
