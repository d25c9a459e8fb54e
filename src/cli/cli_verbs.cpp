// The verb table of mm_cli: adding a verb is one row here and one
// verb_<name>.cpp file with its handler.
#include "cli/cli.h"

int verb_show(const std::vector<std::string>& args);
int verb_set(const std::vector<std::string>& args);
int verb_get_file(const std::vector<std::string>& args);
int verb_put_file(const std::vector<std::string>& args);
int verb_site_default(const std::vector<std::string>& args);
int verb_group(const std::vector<std::string>& args);
int verb_script(const std::vector<std::string>& args);
int verb_compare(const std::vector<std::string>& args);
int verb_boot(const std::vector<std::string>& args);
int verb_reset(const std::vector<std::string>& args);
int verb_bcast(const std::vector<std::string>& args);
int verb_modems(const std::vector<std::string>& args);
int verb_copy(const std::vector<std::string>& args);
int verb_status(const std::vector<std::string>& args);
int verb_modem(const std::vector<std::string>& args);
int verb_edit_config(const std::vector<std::string>& args);
int verb_page(const std::vector<std::string>& args);
int verb_list(const std::vector<std::string>& args);
int verb_info(const std::vector<std::string>& args);
int verb_discover(const std::vector<std::string>& args);
int verb_undo(const std::vector<std::string>& args);
int verb_events(const std::vector<std::string>& args);
int verb_send_traps_here(const std::vector<std::string>& args);

const CliVerb cli_verbs[] = {
    {"show", "show [-d] [-p TYPE] [-P PORTS] (-v NAME[,NAME...] | -f FUNCTION)", false, true,
     verb_show},
    {"set", "set [-p TYPE] [-P PORTS] NAME=VALUE ...", true, true, verb_set},
    {"get-file", "get-file [-t SECONDS] HOST REMOTE-PATH LOCAL-PATH", false, true, verb_get_file},
    {"put-file", "put-file [-t SECONDS] LOCAL-PATH HOST REMOTE-PATH", true, true, verb_put_file},
    {"site-default", "site-default NAME [VALUE | --remove]", false, true, verb_site_default},
    {"group",
     "group list | show NAME | create NAME MEMBER... | modify NAME MEMBER... | delete NAME", false,
     true, verb_group},
    {"script",
     "script create FILE [-a] [--category device,asy,ptr,en,channels,ds1] [-w] [-v NAMES | -f "
     "FUNCTION] [--ports KIND=LIST ...] | script view FILE | script exec FILE [--ports KIND=LIST "
     "...]",
     true, true, verb_script},
    {"compare",
     "compare (--mrx A B [--code N] [-p TYPE] [-v NAMES | -f FUNCTION] [-P1 PORTS -P2 PORTS] | "
     "--mrx-file A FILE [-p TYPE] [-P PORTS] | --files F1 F2) [-o FILE]",
     false, true, verb_compare},
    {"boot",
     "boot OPTION [--load ADDR] [--dump ADDR] [--gateway ADDR] [--image NAME] [--time TIME] "
     "[--message TEXT]",
     true, true, verb_boot},
    {"reset",
     "reset CODE [-P PORTS] [-p asy|ptr]\n"
     "  CODE 97, 98, 99 reset every WAN module, modem or port of PORTS",
     true, true, verb_reset},
    {"bcast", "bcast OPTION MESSAGE", true, true, verb_bcast},
    {"modems", "modems [set available|busy DEVICE:MODEM[,...]]", true, true, verb_modems},
    {"copy",
     "copy --from A --to B[,C...] [--code N] [-p TYPE] [--from-port P] [--to-ports LIST]\n"
     "       [-v NAME[,NAME...] | -f FUNCTION]",
     true, true, verb_copy},
    {"status",
     "status MEMBER [-P PORTS] [--period current|total|intervals -I LIST] [--sort] [-R ROW]\n"
     "  MEMBER: mrx, asy, syn, itf, imdm, pri, t1, pricsu, dvs, mp\n"
     "  MEMBER t1, pricsu: -P names the WAN module (default 1)",
     false, true, verb_status},
    {"modem", "modem list | set NAME KEYWORD=VALUE... | remove NAME | defaults NAME", true, true,
     verb_modem},
    {"edit-config", "edit-config [--reset all|async|dialout|external-modem|lat|macros|pri[,...]]",
     true, true, verb_edit_config},
    {"page", "page NAME [--modules=DEVICE:MODULES,...] [-P PORTS] [FIELD=VALUE ...]", true, true,
     verb_page},
    {"list", "list [-o FILE]", false, true, verb_list},
    {"info", "info NAME", false, true, verb_info},
    {"discover", "discover [-dn ADDRESS -ds MASK | --search DEVICE] [-dt SECONDS] [-o FILE]", false,
     true, verb_discover},
    {"undo", "undo", true, true, verb_undo},
    {"events", "events [--port N] [--count N] [--timeout SECONDS] [--log]", false, true,
     verb_events},
    {"send-traps-here", "send-traps-here [--host 1|2] [--address ADDR] [--community TEXT]", true,
     true, verb_send_traps_here},
    {nullptr, nullptr, false, false, nullptr},
};
