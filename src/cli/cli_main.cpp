// mm_cli: global options, start-up without a display, the verb, the exit
// status.
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "catalogue/func_display.h"
#include "cli/cli.h"
#include "cli/cli_json.h"
#include "cli/cli_selection.h"
#include "devices/ident_memory.h"
#include "devices/mrx_list.h"
#include "devices/mrx_list_file.h"
#include "files/nf.h"
#include "snmp_access/morix_record.h"
#include "snmp_access/port_resolve.h"
#include "snmp_access/session.h"
#include "snmp_access/snmp_engine.h"
#include "ui/access.h"
#include "ui/app_globals.h"
#include "ui/diag.h"
#include "ui/program.h"
#include "ui/progress.h"
#include "ui/temp_files.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"
#include "ui_headless/ui_headless.h"

namespace {

struct GlobalOpts {
    std::vector<std::string> devices;
    std::string list_file, community;
    int timeout = -1, retries = -1;
    bool yes = false, debug = false, fresh = false;
    bool accept_no_undo = false;
};

const char* const USAGE_HEAD =
    "usage: mm_cli [-mrx NAME[,NAME...]] [-l FILE] [-c COMMUNITY] [-t SECONDS]\n"
    "              [-r RETRIES] [-fsmax BYTES] [-fresh] [-y] [--accept-no-undo]\n"
    "              [-debug] [--json]\n"
    "              VERB [ARGUMENTS]\n"
    "       mm_cli --help | mm_cli VERB --help | mm_cli --names KIND [PAGE]\n";

const char* const USAGE_BODY =
    "\nRuns one Morix Manager command on the listed devices, all of them\n"
    "selected, without a display. Standard output receives the command's\n"
    "report, or with --json one JSON document, and nothing else; standard\n"
    "error receives every warning and every failure's reason, naming the\n"
    "device. Questions are answered with Cancel unless -y is given. Exit\n"
    "status: 0 ran without a warning, 1 a failure or warning was reported,\n"
    "2 usage, 3 an existing file was not overwritten (give -y).\n"
    "\nGlobal options:\n"
    "  -mrx NAME[,NAME...]  add and identify these devices, in this order\n"
    "  -l FILE              load a Morix list file (a bare name is looked up\n"
    "                       in data/mrx_lists of the installation directory)\n"
    "  -c COMMUNITY         SNMP community of the run\n"
    "  -t SECONDS           SNMP time-out of the run\n"
    "  -r RETRIES           SNMP retries of the run\n"
    "  -fsmax BYTES         size bound of every file copy (default 16777216)\n"
    "  -fresh               identify every device afresh instead of using what\n"
    "                       was remembered of it (checked by one request)\n"
    "  -y                   answer every question with its OK button\n"
    "  --accept-no-undo     send values whose old value undo cannot write back\n"
    "                       (without it such a device is sent nothing)\n"
    "  -debug               dump records and the catalogue on standard error\n"
    "  --json               one JSON document on standard output instead of the\n"
    "                       text (show, status, list, info, discover, compare,\n"
    "                       page, modem list, script view, get-file, put-file,\n"
    "                       boot, reset, bcast, site-default, group, set,\n"
    "                       script create, script exec, undo, send-traps-here;\n"
    "                       events: one object per event and line); also\n"
    "                       after the verb\n"
    "  --names KIND [PAGE]  names for shell completion: verbs, vars, funcs,\n"
    "                       pages, fields PAGE\n"
    "\nVerbs:\n";

const char* const USAGE_TAIL =
    "\nTYPE is one of asy, syn, ptr, en, ds1inf, channels (default asy).\n"
    "PORTS is a port list such as 1-4,7 or all, read by every verb the same\n"
    "way for each device: all is every port of the type the device has, and\n"
    "a number it does not have is refused for that device, naming it.\n"
    "%s\n"
    "GUI_MM_DIR names the installation directory, as for gui_mm.\n";

// A usage error of the command line: the message and the synopsis only.
int usage_error(const std::string& message) {
    std::fprintf(stderr, "mm_cli: %s\n%sRun 'mm_cli --help' for the verbs and their options.\n",
                 message.c_str(), USAGE_HEAD);
    return CLI_USAGE;
}

void print_usage(std::FILE* out) {
    std::fputs(USAGE_HEAD, out);
    std::fputs(USAGE_BODY, out);
    for (const CliVerb* v = cli_verbs; v->name; ++v)
        std::fprintf(out, "  %s\n", v->usage);
    std::fprintf(out, "\nFields of the pages (page NAME FIELD=VALUE ...):\n%s",
                 page_field_help().c_str());
    std::fprintf(out, USAGE_TAIL, MODULE_NUMBER_RULE);
}

bool number_arg(const std::string& text, int max, int* out) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != text.npos)
        return false;
    *out = std::atoi(text.c_str());
    return *out <= max;
}

// Parses the global options; index receives the position of the verb.
bool parse_globals(int argc, char** argv, GlobalOpts* o, int* index, std::string* error) {
    int i = 1;
    for (; i < argc && argv[i][0] == '-'; ++i) {
        std::string a = argv[i];
        bool v = i + 1 < argc;
        if (a == "-y") {
            o->yes = true;
        } else if (a == "-debug") {
            o->debug = true;
        } else if (a == "-fresh") {
            o->fresh = true;
        } else if (a == "--accept-no-undo") {
            o->accept_no_undo = true;
        } else if (a == "--json") {
            cli_json = true;
        } else if (a == "-mrx" && v) {
            for (const std::string& n : cli_split(argv[++i], ','))
                o->devices.push_back(n);
        } else if (a == "-l" && v) {
            o->list_file = argv[++i];
        } else if (a == "-c" && v) {
            o->community = argv[++i];
        } else if (a == "-t" && v) {
            if (!number_arg(argv[++i], MAX_TIMEOUT_SECS, &o->timeout) || o->timeout < 1) {
                *error =
                    "-t needs a number of seconds from 1 to " + std::to_string(MAX_TIMEOUT_SECS);
                return false;
            }
        } else if (a == "-fsmax" && v) {
            if (!nf_set_max_bytes(argv[++i])) {
                *error = "-fsmax needs a number of bytes from 1 to " +
                         std::to_string(NF_MAX_BYTES_LIMIT);
                return false;
            }
        } else if (a == "-r" && v) {
            if (!number_arg(argv[++i], 100, &o->retries)) {
                *error = "-r needs a number of retries from 0 to 100";
                return false;
            }
        } else {
            *error = "unknown or incomplete option '" + a + "'";
            return false;
        }
    }
    *index = i;
    return true;
}

std::string list_path(const std::string& typed) {
    struct stat st;
    if (typed.find('/') != std::string::npos || stat(typed.c_str(), &st) == 0)
        return typed;
    return mm_path("data/mrx_lists", typed);
}

// Ctrl-C acts as the cancel button of the running operation; a second one
// ends the program, removing its temporary files as SIGTERM does.
volatile sig_atomic_t interrupted = 0;

void on_interrupt(int) {
    interrupted = 1;
    g_cancel_process = 1;
    temp_cleanup_on_signals();
}

// The devices of the run in the main window's list, every one selected.
// Returns the number of the list file's warnings (written to stderr).
int add_devices(const GlobalOpts& o) {
    int warned = 0;
    if (!o.list_file.empty()) {
        ListOutcome loaded =
            load_device_list({list_path(o.list_file), true, 0}, front_end_progress());
        for (const std::string& w : loaded.outcome.warnings)
            std::fprintf(stderr, "%s\n", w.c_str());
        warned = static_cast<int>(loaded.outcome.warnings.size());
    }
    std::vector<AddMorixRequest> adds;
    for (const std::string& name : o.devices)
        adds.push_back({name, o.community});
    if (!interrupted)
        for (const ListOutcome& added : add_morixes(adds))
            for (const std::string& w : added.outcome.warnings) {
                std::fprintf(stderr, "%s\n", w.c_str());
                ++warned;
            }
    for (MorixRecord* r : session().devices()) {
        if (!r)
            break;
        if (!o.community.empty())
            r->community = o.community;
        if (o.timeout > 0)
            r->timeout = o.timeout * 1000000;
        if (o.retries >= 0)
            r->retries = o.retries;
    }
    return warned;
}

int start_up(const GlobalOpts& o) {
    std::string note = resolve_mm_dir();
    debug_flag = o.debug ? 1 : 0;
    hl_answer_all(o.yes ? ASK_OK : ASK_CANCEL);
    if (gui_init() != 0) {
        std::fprintf(stderr, "mm_cli: cannot read the catalogue under %s\n", mm_dir.c_str());
        return CLI_FAILED;
    }
    // Every device of the run's list is selected, with the verb's parameters.
    window_readers.main_selection = cli_main_selection;
    mm_snmp_init();
    g_ident_use = o.fresh ? IDENT_FRESH : IDENT_LOADS_AND_ADDS;
    g_accept_no_undo = o.accept_no_undo ? 1 : 0;
    if (!o.community.empty())
        session().snmp_defaults().community = o.community;
    if (o.timeout > 0)
        session().snmp_defaults().timeout_secs = o.timeout;
    if (o.retries >= 0)
        session().snmp_defaults().retries = o.retries;
    if (!note.empty())
        cli_warn(note);
    return CLI_OK;
}

// On a terminal, the running operation's label and percentage on one
// line of standard error, rewritten in place and wiped at its end.
void show_progress(const std::string& label, int percent) {
    if (percent < 0)
        std::fputs("\r\033[K", stderr);
    else
        std::fprintf(stderr, "\r%s %d%%\033[K", label.c_str(), percent);
    std::fflush(stderr);
}

// The engine's progress in mm_cli: Ctrl-C cancels the run; on a terminal
// a run of many devices shows its label and count on standard error.
class CliProgress : public Progress {
  public:
    explicit CliProgress(bool on_terminal) : on_terminal_(on_terminal) {}
    void begin(const std::string& what, int total) override {
        what_ = what;
        total_ = total;
    }
    void step(int done, int total, const std::string& current) override {
        if (on_terminal_ && total_ > 1 && !what_.empty() && total > 0)
            show_progress(what_ + ": " + std::to_string(done) + " of " + std::to_string(total) +
                              (current.empty() ? "" : ", last " + current),
                          done * 100 / total);
    }
    bool cancelled() override { return interrupted != 0; }

  private:
    bool on_terminal_;
    std::string what_;
    int total_ = 0;
};

// --json anywhere among the verb's arguments; it is taken out of them.
void take_json_args(std::vector<std::string>* args) {
    for (size_t i = 0; i < args->size();)
        if ((*args)[i] == "--json") {
            cli_json = true;
            args->erase(args->begin() + static_cast<long>(i));
        } else {
            ++i;
        }
}

// Names for completion need the catalogue but no device.
int print_names(int argc, char** argv) {
    GlobalOpts o;
    if (start_up(o) != CLI_OK)
        return CLI_FAILED;
    return cli_print_names(argv[2], argc > 3 ? argv[3] : "") ? CLI_OK : CLI_USAGE;
}

// Runs the verb; warnings (those of adding the devices, warned_before,
// included) make a success a failure.
int run_verb(const CliVerb& verb, const std::vector<std::string>& args, int warned_before) {
    if (cli_json)
        cli_json_doc().begin_object().str("verb", verb.name);
    cli_selection_begin(verb.name);
    int status = verb.run(args);
    int warned = warned_before + cli_flush_warnings();
    if (interrupted) {
        std::fprintf(stderr, "mm_cli %s: interrupted (Ctrl-C); the operation was cancelled.\n",
                     verb.name);
        status = status == CLI_OK ? CLI_FAILED : status;
    }
    if (status == CLI_OK && warned > 0)
        status = CLI_FAILED;
    if (!cli_selection_refused().empty() && status == CLI_OK)
        status = CLI_FAILED;
    if (cli_json) {
        cli_selection_json(cli_json_doc());
        cli_json_doc().num("status", status).end_object();
        cli_json_flush();
    }
    return status;
}

} // namespace

int main(int argc, char** argv) {
    std::set_new_handler(mm_out_of_memory);
    set_diag_stream(stderr);
    GlobalOpts o;
    int index = 0;
    std::string error;
    if (argc >= 2 && std::string(argv[1]) == "--help") {
        print_usage(stdout);
        return CLI_OK;
    }
    if (argc >= 3 && std::string(argv[1]) == "--names")
        return print_names(argc, argv);
    if (!parse_globals(argc, argv, &o, &index, &error) || index >= argc) {
        // A bad global option before a verb: that verb's usage line.
        for (int i = index + 1; !error.empty() && i < argc; ++i)
            if (const CliVerb* named = find_cli_verb(argv[i]))
                return cli_usage_error(*named, error);
        return usage_error(error.empty() ? "no verb given" : error);
    }
    const CliVerb* verb = find_cli_verb(argv[index]);
    if (!verb)
        return usage_error(std::string("unknown verb '") + argv[index] + "'");
    std::vector<std::string> args(argv + index + 1, argv + argc);
    take_json_args(&args);
    if (cli_json && !verb->json)
        return cli_usage_error(*verb, "--json is not offered by this verb");
    if (args.size() == 1 && args[0] == "--help") {
        std::printf("usage: mm_cli [OPTIONS] %s\n", verb->usage);
        if (std::string(verb->usage).find("PORTS") != std::string::npos ||
            std::string(verb->usage).find("ports") != std::string::npos)
            std::printf("%s\n", MODULE_NUMBER_RULE);
        if (std::string(verb->name) == "page")
            std::printf("Fields of the pages:\n%s", page_field_help().c_str());
        return CLI_OK;
    }
    if (start_up(o) != CLI_OK)
        return CLI_FAILED;
    // The access rule holds for every verb: those that change devices stop
    // here, and the change pipeline and the upload refuse too.
    g_may_change = user_in_list(mm_path("bin/users.list"), mm_login_name()) == 1 ? 1 : 0;
    if (verb->changes_devices && !g_may_change) {
        std::fprintf(stderr, "%s\n", MSG_NO_ACCESS);
        return CLI_FAILED;
    }
    temp_cleanup_on_signals();
    bool on_terminal = isatty(STDERR_FILENO) == 1;
    if (on_terminal)
        hl_set_progress_listener(show_progress);
    CliProgress progress(on_terminal);
    set_front_end_progress(&progress);
    struct sigaction sa {};
    sa.sa_handler = on_interrupt;
    sigaction(SIGINT, &sa, nullptr);
    int warned = add_devices(o);
    warned += cli_flush_warnings();
    // Ctrl-C while the devices were identified: the verb does not run on a
    // list that lacks devices the operator named.
    if (interrupted) {
        for (const std::string& name : o.devices)
            if (!find_record(name))
                std::fprintf(stderr, "mm_cli: interrupted: %s was not added.\n", name.c_str());
        std::fprintf(stderr,
                     "mm_cli: interrupted while identifying the devices; %s was not "
                     "run.\n",
                     verb->name);
        free_host_info_list(session().devices());
        return CLI_FAILED;
    }
    int status = run_verb(*verb, args, warned);
    free_host_info_list(session().devices());
    return status;
}
