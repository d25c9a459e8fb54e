// mm_cli events: the traps the devices send, one line per event as it
// arrives (JSON Lines with --json), or the event log with --log.
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "cli/cli.h"
#include "cli/cli_json.h"
#include "events/event_json.h"
#include "events/event_log.h"
#include "events/trap_receiver.h"
#include "ui/app_globals.h"
#include "ui/ui.h"

namespace {

struct EventsArgs {
    int port = TRAP_PORT;
    long count = 0;  // 0: no bound
    int timeout = 0; // seconds without an event; 0: none
    bool log = false;
};

bool bounded_number(const std::string& text, long lo, long hi, long* out) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != text.npos)
        return false;
    *out = std::atol(text.c_str());
    return *out >= lo && *out <= hi;
}

int parse_events_args(const std::vector<std::string>& args, EventsArgs* a) {
    const CliVerb& verb = *find_cli_verb("events");
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& o = args[i];
        if (o == "--log") {
            a->log = true;
            continue;
        }
        if (i + 1 >= args.size())
            return cli_usage_error(verb, "unknown or incomplete option '" + o + "'");
        long v = 0;
        const std::string& value = args[++i];
        if (o == "--port" && bounded_number(value, 1, 65535, &v))
            a->port = static_cast<int>(v);
        else if (o == "--count" && bounded_number(value, 1, 100000000, &v))
            a->count = v;
        else if (o == "--timeout" && bounded_number(value, 1, 86400, &v))
            a->timeout = static_cast<int>(v);
        else
            return cli_usage_error(verb, "bad option or value: " + o + " " + value);
    }
    return CLI_OK;
}

void print_event(const TrapEvent& ev) {
    std::string line = cli_json ? event_to_json(ev) : event_text_line(ev);
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

int print_log(const EventsArgs& a) {
    std::vector<std::string> lines = read_event_log(event_log_folder());
    size_t first = a.count > 0 && lines.size() > static_cast<size_t>(a.count)
                       ? lines.size() - static_cast<size_t>(a.count)
                       : 0;
    long shown = 0, unreadable = 0;
    for (size_t i = first; i < lines.size(); ++i) {
        TrapEvent ev;
        if (!event_from_json(lines[i], &ev)) {
            ++unreadable;
            continue;
        }
        std::fputs(((cli_json ? lines[i] : event_text_line(ev)) + "\n").c_str(), stdout);
        ++shown;
    }
    if (unreadable > 0)
        std::fprintf(stderr, "mm_cli events: %ld lines of the event log could not be read\n",
                     unreadable);
    return shown > 0 ? CLI_OK : CLI_FAILED;
}

int64_t now_ms() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int receive_events(const EventsArgs& a) {
    TrapReceiver receiver;
    std::string message;
    if (receiver.open(a.port, &message) != 0) {
        std::fprintf(stderr, "mm_cli events: %s\n", message.c_str());
        return CLI_FAILED;
    }
    EventLog log(event_log_folder());
    receiver.set_log(&log);
    long printed = 0;
    // One receive() may bring more events than --count still asks for.
    receiver.on_event([&](const TrapEvent& ev) {
        if (a.count == 0 || printed < a.count)
            print_event(ev);
        ++printed;
    });
    std::fprintf(stderr, "mm_cli events: receiving traps on port %d\n", a.port);
    int64_t last = now_ms();
    while (!g_cancel_process && (a.count == 0 || receiver.total_events() < a.count)) {
        int wait = 500;
        if (a.timeout > 0) {
            int64_t left = last + a.timeout * 1000L - now_ms();
            if (left <= 0)
                break;
            wait = static_cast<int>(std::min<int64_t>(left, wait));
        }
        pollfd p{receiver.fd(), POLLIN, 0};
        if (poll(&p, 1, wait) > 0 && receiver.receive() > 0)
            last = now_ms();
    }
    std::fprintf(stderr, "mm_cli events: %s\n", receiver.counts_text().c_str());
    return receiver.total_events() > 0 ? CLI_OK : CLI_FAILED;
}

} // namespace

int verb_events(const std::vector<std::string>& args) {
    EventsArgs a;
    if (int rc = parse_events_args(args, &a))
        return rc;
    int status = a.log ? print_log(a) : receive_events(a);
    // Each event is a JSON document of its own (JSON Lines): the run's
    // closing document is not written.
    cli_json = false;
    return status;
}
