#include "basic/basic_vars.h"

const VarTable gen_config_vars = {"mrxPrefLoadAddr",     "mrxSysLogMask",     "mrxDaylightSavings",
                                  "mrxTimeZone",         "mrxEnableSecurity", "mrxVcliSecurity",
                                  "mrxDefaultImageName", "mrxConfigFile",     "mrxLoadDumpSeq"};
const VarTable gen_config_cont_vars = {
    "mrxSecurServer1Addr", "mrxSecurServer2Addr", "mrxPassword",        "mrxTimeServerAddr",
    "mrxSysLogHost",       "mrxNameServer1Type",  "mrxNameServer1Addr", "mrxNameServer2Type",
    "mrxNameServer2Addr",  "mrxPrefDumpAddr",     "mrxSecurBcast",      "mrxDHCPServer1Addr",
    "mrxDHCPServer2Addr",  "mrxDHCPServerBcast"};
const VarTable async_port_vars = {"mrxpMode", "mrxpModemVar", "charPortOperStatus", "mrxpType"};
const VarTable async_port_cont_vars = {"mrxpMode",
                                       "mrxpType",
                                       "mrxpCtrlLines",
                                       "charPortInFlowType",
                                       "charPortOutFlowType",
                                       "rs232PortInSpeed",
                                       "rs232AsyncPortAutobaud",
                                       "mrxpModemVar",
                                       "mrxpPppNcp",
                                       "mrxpPppDialupAddr",
                                       "mrxpAtNodeid",
                                       "mrxpDedicatedAddr",
                                       "mrxpDedicatedPort",
                                       "mrxpDedicatedArgs"};
const VarTable add_async_port_vars = {
    "mrxpPppUserRemote",   "mrxpPppPasswordRemote", "mrxpCliInactivity",  "mrxpInactivityTimer",
    "mrxpInputIsActivity", "mrxpOutputIsActivity",  "mrxpLatAuthGroupVal"};
const VarTable sec_conf_vars = {"mrxpCliSecurity",
                                "mrxpIpxSecurity",
                                "mrxpAtSecurity",
                                "mrxpSlipSecure",
                                "mrxpPppSecurityProto",
                                "mrxpConnectSecurity",
                                "mrxpPortServerSecurity",
                                "mrxpType",
                                "mrxpMode"};
const VarTable sec_conf_vars_pri = {
    "gpSecurityCli",        "gpSecurityIpx",      "gpARAPSecurity",
    "gpNetSlipSecure",      "gpPPPSecurityProto", "gpSecurityConnect",
    "gpSecurityPortServer", "gpGenericMode",      "gpGenericMode"};
const VarTable radius_conf_vars = {"SecurityProtocol", "RadiusSecret", "RadiusAcctLevel",
                                   "EnableRadiusAcct", "RadiusPort",   "RadiusAcctPort"};
const VarTable sync_port_vars = {"mrxSyncMode", "charPortOperStatus"};
const VarTable sync_port_cont_vars = {"mrxSyncMode",          "mrxSyncClocking",
                                      "mrxSyncLocalAddr",     "mrxSyncRemoteAddr",
                                      "mrxSyncSubNetMask",    "mrxSyncPppNcp",
                                      "mrxSyncPppSecurity",   "mrxSyncPppSecurityProto",
                                      "mrxSyncPppUserRemote", "mrxSyncPppPasswdRemote"};
const VarTable appletalk_conf_vars = {"mrxAppleTalkZone"};
const VarTable ip_conf_vars = {"mrxInetAddr", "mrxSubnetMask", "interfaceRipRecvVersion",
                               "interfaceRipSendVersion", "mrxBcastAddr"};
const VarTable ipx_conf_vars = {"mrxIpxFrameType"};
const VarTable lat_conf_vars = {"mrxServerName", "mrxLatGroupVal", "mrxLatVcliGroupVal"};
const VarTable rem_addr_conf_chan_vars = {"mrxt1ChanIpAddr", "gpSlipSubnetMask"};
const VarTable rem_addr_conf_port_vars = {"mrxpNetRemoteAddr", "mrxpSlipSubnetMask"};
const VarTable wan_module_vars = {"mrxt1SwitchType"};
const VarTable wan_edit_conf_vars = {"mrxt1SwitchType",   "dsx1Fdl",        "mrxt1Ds1LineBuildout",
                                     "mrxt1dsx1LineType", "dsx1LineCoding", "mrxt1CasDnisDigits",
                                     "mrxt1ChanSigProto", "mrxt1ChanRing",  "mrxt1CasAniDigits"};
const VarTable trap_conf_vars = {
    "callBeginTrapObj",         "callEndTrapThresh", "unexpectDisconnectTrapThresh",
    "callInactivityCallThresh", "diallnkTrpEna",     "wanBpvThreshold",
    "wanOofThreshold",          "wanEsThreshold",    "wanCvThreshold",
    "wanEsfThreshold",          "wanSesThreshold",   "wanUasThreshold",
    "wanBesThreshold",          "wanLofcThreshold",  "wanCssThreshold"};
const VarTable basic_dial_conf_vars = {"gpGenericMode",          "gpGenericDedicatedArgs",
                                       "gpARAPAtNodeid",         "gpTimerCliInactivity",
                                       "gpTimerInactivityTimer", "gpTimerInputIsActivity",
                                       "gpTimerOutputIsActivity"};
const VarTable ppp_dial_conf_vars = {"gpNetPppDialupAddr", "mrxt1ChanIpAddr",   "gpSlipSubnetMask",
                                     "gpPPPNcp",           "mrxMMPEnable",      "gpMpMrru",
                                     "gpMpEndpointClass",  "gpMpEndpointValue", "gpPPPRemoteUser",
                                     "gpPPPRemotePasswd",  "mrxInetAddr",       "macAddress"};

const std::vector<NamedVarTable> basic_var_tables = {
    {"gen_config_vars", &gen_config_vars},
    {"gen_config_cont_vars", &gen_config_cont_vars},
    {"async_port_vars", &async_port_vars},
    {"async_port_cont_vars", &async_port_cont_vars},
    {"add_async_port_vars", &add_async_port_vars},
    {"sec_conf_vars", &sec_conf_vars},
    {"sec_conf_vars_pri", &sec_conf_vars_pri},
    {"radius_conf_vars", &radius_conf_vars},
    {"sync_port_vars", &sync_port_vars},
    {"sync_port_cont_vars", &sync_port_cont_vars},
    {"appletalk_conf_vars", &appletalk_conf_vars},
    {"ip_conf_vars", &ip_conf_vars},
    {"ipx_conf_vars", &ipx_conf_vars},
    {"lat_conf_vars", &lat_conf_vars},
    {"rem_addr_conf_chan_vars", &rem_addr_conf_chan_vars},
    {"rem_addr_conf_port_vars", &rem_addr_conf_port_vars},
    {"wan_module_vars", &wan_module_vars},
    {"wan_edit_conf_vars", &wan_edit_conf_vars},
    {"trap_conf_vars", &trap_conf_vars},
    {"basic_dial_conf_vars", &basic_dial_conf_vars},
    {"ppp_dial_conf_vars", &ppp_dial_conf_vars},
};
