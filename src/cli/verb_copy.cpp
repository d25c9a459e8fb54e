// mm_cli copy: the copy request from the arguments (source and destination
// devices, kind, port type, ports, parameters), checked and confirmed as
// the Copy window does (the confirmation is answered by -y), then copied.
#include <cstdio>

#include "cli/cli.h"
#include "devices/mrx_list.h"
#include "ops/copy.h"
#include "snmp_access/morix_record.h"
#include "snmp_access/session.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"
#include "ui_headless/ui_headless.h"

namespace {

// True when name is a reachable device of the list (else said on stderr).
bool reachable(const std::string& name) {
    int p = session().devices().position(name);
    if (p >= 0 && session().devices()[p]->reachable)
        return true;
    std::fprintf(stderr, "mm_cli copy: %s is not a reachable Morix of the list\n", name.c_str());
    return false;
}

} // namespace

int verb_copy(const std::vector<std::string>& args) {
    const CliVerb& verb = *find_cli_verb("copy");
    std::string from, to, from_port, to_ports, vars, func;
    int code = -1, port_type = 1;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (i + 1 >= args.size())
            return cli_usage_error(verb, "unexpected argument '" + a + "'");
        const std::string& v = args[++i];
        if (a == "--from")
            from = v;
        else if (a == "--to")
            to = v;
        else if (a == "--code")
            code = v.size() == 1 && v[0] >= '1' && v[0] <= '8' ? v[0] - '0' : 0;
        else if (a == "-p")
            port_type = cli_port_type(v);
        else if (a == "--from-port")
            from_port = v;
        else if (a == "--to-ports")
            to_ports = v;
        else if (a == "-v")
            vars = v;
        else if (a == "-f")
            func = v;
        else
            return cli_usage_error(verb, "unexpected argument '" + a + "'");
    }
    if (from.empty() || cli_split(to, ',').empty())
        return cli_usage_error(verb, "give --from and --to");
    if (code == 0)
        return cli_usage_error(verb, "--code takes a number from 1 to 8");
    if (port_type < 0)
        return cli_usage_error(verb, "unknown port type");
    if (!vars.empty() && !func.empty())
        return cli_usage_error(verb, "give -v or -f, not both");
    if (code < 0)
        code = vars.empty() && func.empty() ? CPY_MRX : CPY_MAIN;
    bool found = reachable(from);
    for (const std::string& name : cli_split(to, ','))
        found = reachable(name) && found;
    if (!found)
        return CLI_FAILED;
    CopyInput in;
    in.from = {from};
    std::vector<std::string> wanted = cli_split(to, ',');
    for (MorixRecord* r : session().devices()) { // destinations in list order
        if (!r)
            break;
        for (const std::string& w : wanted)
            if (w == r->name) {
                in.to.push_back(w);
                break;
            }
    }
    in.code = code;
    in.port_type = port_type;
    in.from_ports = from_port;
    in.to_ports = to_ports;
    in.param_sel = vars.empty() ? 0 : 1;
    if (code == CPY_MAIN)
        in.items = vars.empty() ? std::vector<std::string>{func} : cli_split(vars, ',');
    cli_watch_output(W_CPY_TEXT);
    ui_set_text(W_CPY_TEXT, "");
    g_cpy_bad_ports = 0;
    CopyRequest req;
    std::string msg;
    int result = -1;
    switch (make_cpy_request(in, &req, &msg)) {
    case CRQ_WARN:
        display_warn(W_CPY_FORM, msg);
        break;
    case CRQ_OUTPUT:
        write_otp_msg(W_CPY_TEXT, msg, 1, 1);
        break;
    default:
        if (gui_display_question(W_CPY_FORM, cpy_conf_text(req.dst_names), "",
                                 [&] { result = copy_build(req); }) &&
            result < 0)
            std::fprintf(stderr, "mm_cli copy: the copy was not confirmed (give -y)\n");
    }
    cli_flush_output();
    return result == COPY_DONE ? CLI_OK : CLI_FAILED;
}
