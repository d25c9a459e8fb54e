// General and General continued: the load host follow-up of the host
// fields, the time zone range, and the reset (code 1) after a change of the
// load host or of the configuration file.
#include "basic/basic_page.h"
#include "ops/reset_mask.h"

extern BasicPage page_gen_cont;

namespace {

enum { GEN_LOAD_HOST = 0, GEN_CONFIG_FILE = 7 };
std::vector<int> reset_codes;

void gen_populated(BasicPage&) {
    get_page_conf_value(page_gen_cont);
}

// Host fields of General continued that followed the old load host follow
// the new one.
int gen_check(BasicPage& p) {
    reset_codes.clear();
    if (!p.saved[GEN_LOAD_HOST].changed)
        return 0;
    const std::string& old_host = p.saved[GEN_LOAD_HOST].text;
    std::string new_host = page_field_text(p, GEN_LOAD_HOST);
    BasicPage& c = page_gen_cont;
    for (size_t i = 0; i < c.fields.size() && !c.first_time; ++i)
        if (c.fields[i].kind == FK_TEXT && c.saved[i].text == old_host &&
            page_field_text(c, i) == old_host)
            page_set_field(c, i, new_host);
    return 0;
}

void gen_extra(BasicPage& p, const std::vector<int>&, int*) {
    if (p.saved[GEN_LOAD_HOST].changed || p.saved[GEN_CONFIG_FILE].changed)
        reset_codes = {1};
}

void gen_sent(BasicPage& p) {
    if (!page_gen_cont.first_time)
        page_conf_apply(page_gen_cont);
    if (reset_codes.empty())
        return;
    std::vector<int> codes = reset_codes;
    codes.push_back(-1);
    reset_codes.clear();
    confirm_reset_q(win_parent(p.window), codes);
}

const std::vector<std::string> syslog_masks = {"emergency",
                                               "emergency,alert",
                                               "emergency,alert,critical",
                                               "emergency,alert,critical,error",
                                               "emergency,alert,critical,error,warning",
                                               "emergency,alert,critical,error,warning,notice",
                                               "emergency,alert,critical,error,warning,notice,info",
                                               "debug",
                                               "none"};

} // namespace

BasicPage page_gen = {
    "general",
    "General",
    CAT_GENERAL,
    BW_PG_GENERAL,
    BW_SETUP_FORM,
    17,
    "stdGeneral1.wh",
    EF_GENERAL,
    &gen_config_vars,
    {{"load-host", "Load Host Address", BW_PG_GENERAL_LOAD_HOST_ADDR_F, FK_TEXT},
     {"syslog-mask", "Syslog Mask", BW_PG_GENERAL_SYSLOG_MASK_F, FK_MASK, 0, 0, nullptr, 0,
      syslog_masks},
     {"daylight-savings", "Daylight Savings", BW_PG_GENERAL_DST_SAV_F, FK_OPTION},
     {"time-zone", "Time Zone (minutes)", BW_PG_GENERAL_TIME_ZONE_MIN_F, FK_TEXT, -720, 720,
      "The value specified must lie between -720 and 720"},
     {"security", "Security", BW_PG_GENERAL_SECURITY_F, FK_OPTION},
     {"vcli-security", "VCLI Security", BW_PG_GENERAL_VCLI_SECURITY_F, FK_OPTION},
     {"image", "Image Name", BW_PG_GENERAL_IMAGE_NAME_F, FK_TEXT},
     {"config-file", "Configuration File", BW_PG_GENERAL_CFG_FILE_F, FK_TEXT},
     {"load-dump-seq", "Load/Dump Sequence", BW_PG_GENERAL_LOAD_DUMP_SEQ_F, FK_TEXT}},
    PS_DEVICE,
    0,
    {nullptr, gen_populated, gen_check, gen_extra, gen_sent}};

BasicPage page_gen_cont = {
    "general-cont",
    "General (continued)",
    0,
    BW_GEN_CONT_FORM,
    BW_GEN_CONT_FORM,
    802,
    "stdGeneral2.wh",
    EF_GEN_CONT,
    &gen_config_cont_vars,
    {{"security-server-1", "Security Server 1", BW_PG_GEN_CONT_SEC_SRV_1_F, FK_TEXT},
     {"security-server-2", "Security Server 2", BW_PG_GEN_CONT_SEC_SRV_2_F, FK_TEXT},
     {"password", "Password", BW_PG_GEN_CONT_PASSWORD_F, FK_TEXT},
     {"time-server", "Time Server", BW_PG_GEN_CONT_TIME_SERVER_F, FK_TEXT},
     {"syslog-host", "Syslog Host", BW_PG_GEN_CONT_SYSLOG_HOST_F, FK_TEXT},
     {"name-server-1-type", "Name Server 1 Type", BW_PG_GEN_CONT_NS1_TYPE_F, FK_OPTION},
     {"name-server-1", "Name Server 1", BW_PG_GEN_CONT_NAME_SERVER_1_F, FK_TEXT},
     {"name-server-2-type", "Name Server 2 Type", BW_PG_GEN_CONT_NS2_TYPE_F, FK_OPTION},
     {"name-server-2", "Name Server 2", BW_PG_GEN_CONT_NAME_SERVER_2_F, FK_TEXT},
     {"dump-host", "Dump Host", BW_PG_GEN_CONT_DUMP_HOST_F, FK_TEXT},
     {"security-broadcast", "Security Broadcast", BW_PG_GEN_CONT_SEC_BCAST_F, FK_OPTION},
     {"dhcp-server-1", "DHCP Server 1", BW_PG_GEN_CONT_DHCP_SERVER_1_F, FK_TEXT},
     {"dhcp-server-2", "DHCP Server 2", BW_PG_GEN_CONT_DHCP_SERVER_2_F, FK_TEXT},
     {"dhcp-broadcast", "DHCP Broadcast", BW_PG_GEN_CONT_DHCP_BROADCAST_F, FK_OPTION}}};
