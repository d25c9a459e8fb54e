// mm_cli get-file and put-file: one whole copy between a load host and a
// local file through the remote file service; put-file reads the file
// back and compares. Standard output gets the byte count or the copy code
// with its explanation (the reason of a failure on standard error too,
// naming the load host); on a terminal the progress (bytes and blocks) is
// shown on one line of standard error, rewritten.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "cli/cli.h"
#include "cli/cli_json.h"
#include "cli/cli_outcome.h"
#include "files/nf.h"
#include "snmp_access/session.h"
#include "ui/app_globals.h"

namespace {

// Splits the verb's arguments into -t SECONDS and exactly three operands.
// Returns CLI_OK, or the usage error's status.
int file_operands(const CliVerb& verb, const std::vector<std::string>& args,
                  std::vector<std::string>* operands, int* timeout) {
    *timeout = session().snmp_defaults().timeout_secs;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-t" && i + 1 < args.size()) {
            const std::string& t = args[++i];
            if (t.empty() || t.size() > 4 || t.find_first_not_of("0123456789") != t.npos ||
                std::atoi(t.c_str()) < 1)
                return cli_usage_error(verb, "the time-out must be 1 to 9999 seconds");
            *timeout = std::atoi(t.c_str());
        } else if (!args[i].empty() && args[i][0] == '-') {
            return cli_usage_error(verb, "unexpected option '" + args[i] + "'");
        } else {
            operands->push_back(args[i]);
        }
    }
    if (operands->size() != 3)
        return cli_usage_error(verb, "three operands are needed");
    return CLI_OK;
}

// Copies, or with to_host an upload that is then read back and compared.
int run_copy(const char* verb, const std::string& src_host, const std::string& src_path,
             const std::string& dst_host, const std::string& dst_path, int timeout,
             bool to_host = false) {
    bool on_terminal = isatty(STDERR_FILENO) == 1;
    NfProgress progress;
    if (on_terminal) {
        progress = [](long bytes, long blocks) {
            std::fprintf(stderr, "\r%s", nf_progress_text(bytes, blocks).c_str());
            std::fflush(stderr);
        };
    }
    std::string text;
    long result =
        to_host ? nf_put_checked(src_path, dst_host, dst_path, timeout, progress, &text)
                : nf_copy_report(src_host, src_path, dst_host, dst_path, timeout, progress, &text);
    if (on_terminal)
        std::fprintf(stderr, "\r\033[K");
    const std::string& host = src_host.empty() ? dst_host : src_host;
    Outcome o;
    o.result = result >= 0 ? Result::done : Result::failed;
    o.report = text + "\n";
    DeviceState failed = src_host.empty() ? DeviceState::not_sent : DeviceState::unread;
    o.devices.push_back(
        {host, result >= 0 ? DeviceState::done : failed, result >= 0 ? "" : host + ": " + text});
    if (cli_json && result >= 0)
        cli_json_doc().num("bytes", result);
    return cli_print_outcome(verb, o);
}

} // namespace

int verb_get_file(const std::vector<std::string>& args) {
    std::vector<std::string> ops;
    int timeout = 0;
    if (int rc = file_operands(*find_cli_verb("get-file"), args, &ops, &timeout))
        return rc;
    return run_copy("get-file", ops[0], ops[1], "", ops[2], timeout);
}

int verb_put_file(const std::vector<std::string>& args) {
    std::vector<std::string> ops;
    int timeout = 0;
    if (int rc = file_operands(*find_cli_verb("put-file"), args, &ops, &timeout))
        return rc;
    return run_copy("put-file", "", ops[0], ops[1], ops[2], timeout, true);
}
