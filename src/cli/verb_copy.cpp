// mm_cli copy: the copy request from the arguments (source and destination
// devices, kind, port type, ports, parameters), checked and confirmed as
// the Copy window does (the confirmation and the reset question are
// answered by -y), then copied; the outcome printed as text or JSON.
#include <cstdio>

#include "cli/cli.h"
#include "cli/cli_outcome.h"
#include "devices/mrx_list.h"
#include "ops/copy.h"
#include "snmp_access/morix_record.h"
#include "snmp_access/session.h"
#include "ui/progress.h"

namespace {

bool reachable(const std::string& name) {
    int p = session().devices().position(name);
    return p >= 0 && session().devices()[p]->reachable;
}

// The copy refused before anything is read, when the source or a
// destination is not a reachable device of the list: every destination
// listed, those not reachable as such, the others as not sent.
Outcome unreachable_copy(const std::string& from, const std::vector<std::string>& to) {
    Outcome out;
    out.result = Result::refused;
    bool source = reachable(from);
    if (!source)
        out.warnings.push_back("mm_cli copy: " + from + " is not a reachable Morix of the list");
    for (const std::string& name : to) {
        if (!reachable(name))
            out.devices.push_back(
                {name, DeviceState::unreachable, name + " is not a reachable Morix of the list"});
        else
            out.devices.push_back({name, DeviceState::not_sent,
                                   "nothing was copied to " + name +
                                       (source ? ": another destination is not reachable"
                                               : ": the source is not reachable")});
    }
    return out;
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
        return cli_print_outcome("copy", unreachable_copy(from, cli_split(to, ',')));
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
    CopyRequest req;
    Outcome out = check_copy(in, &req);
    if (out.result == Result::done) {
        Question confirm{"Confirmation", cpy_conf_text(req.dst_names)};
        if (front_end_asker().ask(confirm)) {
            out = copy_with_reset(req, front_end_asker());
        } else {
            out.result = Result::cancelled;
            for (const std::string& name : req.dst_names)
                out.devices.push_back({name, DeviceState::cancelled,
                                       "the copy was not confirmed (give -y); nothing was "
                                       "copied to " +
                                           name});
        }
    }
    return cli_print_outcome("copy", out);
}
