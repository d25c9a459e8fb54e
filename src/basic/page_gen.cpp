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

BasicPage page_gen = {"general",
                      "General",
                      CAT_GENERAL,
                      2901,
                      BW_SETUP_FORM,
                      17,
                      "stdGeneral1.wh",
                      EF_GENERAL,
                      &gen_config_vars,
                      {{"load-host", "Load Host Address", 30, FK_TEXT},
                       {"syslog-mask", "Syslog Mask", 31, FK_MASK, 0, 0, nullptr, 0, syslog_masks},
                       {"daylight-savings", "Daylight Savings", 32, FK_OPTION},
                       {"time-zone", "Time Zone (minutes)", 33, FK_TEXT, -720, 720,
                        "The value specified must lie between -720 and 720"},
                       {"security", "Security", 34, FK_OPTION},
                       {"vcli-security", "VCLI Security", 35, FK_OPTION},
                       {"image", "Image Name", 36, FK_TEXT},
                       {"config-file", "Configuration File", 37, FK_TEXT},
                       {"load-dump-seq", "Load/Dump Sequence", 38, FK_TEXT}},
                      PS_DEVICE,
                      0,
                      {nullptr, gen_populated, gen_check, gen_extra, gen_sent}};

BasicPage page_gen_cont = {"general-cont",
                           "General (continued)",
                           0,
                           BW_GEN_CONT_FORM,
                           BW_GEN_CONT_FORM,
                           802,
                           "stdGeneral2.wh",
                           EF_GEN_CONT,
                           &gen_config_cont_vars,
                           {{"security-server-1", "Security Server 1", 301, FK_TEXT},
                            {"security-server-2", "Security Server 2", 302, FK_TEXT},
                            {"password", "Password", 303, FK_TEXT},
                            {"time-server", "Time Server", 304, FK_TEXT},
                            {"syslog-host", "Syslog Host", 305, FK_TEXT},
                            {"name-server-1-type", "Name Server 1 Type", 306, FK_OPTION},
                            {"name-server-1", "Name Server 1", 307, FK_TEXT},
                            {"name-server-2-type", "Name Server 2 Type", 308, FK_OPTION},
                            {"name-server-2", "Name Server 2", 309, FK_TEXT},
                            {"dump-host", "Dump Host", 310, FK_TEXT},
                            {"security-broadcast", "Security Broadcast", 311, FK_OPTION},
                            {"dhcp-server-1", "DHCP Server 1", 312, FK_TEXT},
                            {"dhcp-server-2", "DHCP Server 2", 313, FK_TEXT},
                            {"dhcp-broadcast", "DHCP Broadcast", 314, FK_OPTION}}};
