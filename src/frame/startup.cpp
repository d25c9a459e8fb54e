#include "frame/startup.h"

#include <pwd.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "catalogue/line_scan.h"
#include "files/nf.h"
#include "frame/registry.h"
#include "ui/access.h"
#include "ui/app_globals.h"
#include "ui/ui.h"

CmdLineOpts g_cmd_opts;
int g_user_privileged = 0;

namespace {

// Copies the value that follows option i; an option whose value would be
// the last argument is ignored.
bool take_value(int argc, char** argv, int i, std::string* out) {
    if (i + 1 >= argc)
        return false;
    *out = argv[i + 1];
    return true;
}

// Scans one option argument; i points at it.
void scan_option(int argc, char** argv, int i, CmdLineOpts* opts, std::FILE* err) {
    const char* arg = argv[i];
    std::string value;
    switch (arg[1]) {
    case 'd':
        if (std::strcmp(arg, "-debug") == 0)
            debug_flag = 1;
        else if (std::strcmp(arg, "-dn") == 0)
            take_value(argc, argv, i, &opts->dsc_naddr_str);
        else if (std::strcmp(arg, "-ds") == 0)
            take_value(argc, argv, i, &opts->dsc_snmask_str);
        else if (std::strcmp(arg, "-dt") == 0 && take_value(argc, argv, i, &value))
            opts->dsc_timeout = std::atoi(value.c_str());
        break;
    case 'f':
        if (std::strcmp(arg, "-fsmax") == 0 && take_value(argc, argv, i, &value) &&
            !nf_set_max_bytes(value))
            std::fprintf(err, "%s%s\n", "Invalid file size bound (-fsmax): ", value.c_str());
        break;
    case 'n':
        if (std::strcmp(arg, "-nod") == 0)
            opts->dsc_flag = 0;
        break;
    case 'r':
        if (std::strcmp(arg, "-rrr") == 0)
            rrr_flag = 1;
        break;
    case 'm':
        if (std::strcmp(arg, "-mrx") == 0)
            take_value(argc, argv, i, &opts->mrx_name);
        break;
    case 'w':
        take_value(argc, argv, i, &opts->comm_str);
        break;
    default:
        std::fprintf(err, "%s-%c\n", "Invalid argument option: ", arg[1]);
        break;
    }
}

} // namespace

void scan_command_line(int argc, char** argv, CmdLineOpts* opts, std::FILE* err) {
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == nullptr || argv[i][0] != '-')
            continue;
        scan_option(argc, argv, i, opts, err);
    }
}

std::string resolve_mm_dir() {
    const char* dir = std::getenv("GUI_MM_DIR");
    if (dir != nullptr && *dir != '\0') {
        mm_dir = dir;
        return "";
    }
    mm_dir = mm_default_dir();
    // putenv keeps the pointer: the text lives for the whole run.
    static std::string env_text;
    env_text = "GUI_MM_DIR=" + mm_dir;
    putenv(env_text.data());
    return "The GUI_MM_DIR environment variable has not been defined.\nUsing the default "
           "directory '" +
           mm_dir + "'.";
}

void check_xenvironment(std::FILE* err) {
    const char* env = std::getenv("XENVIRONMENT");
    if (env == nullptr || *env == '\0')
        std::fputs(
            "The XENVIRONMENT environment variable is not set.\nResources may not be correct.\n",
            err);
}

std::string build_about_text() {
    char head[64];
    std::snprintf(head, sizeof head, "Morix Manager Version %s.\n", MM_VERSION);
    std::string text = head;
    text += "\nMorix Manager is an SNMP-based management tool for the Morix family\n"
            "of remote-access and communication servers. It supports devices\n"
            "running these software images:\n\n"
            "    Morix access server image, release 14.1\n"
            "    Morix concentrator image, release 14.1\n\n"
            "The Morix communication server image is not supported.\n";
    if (text.size() > 1024)
        text.resize(1024);
    return text;
}

// ---- access check ---------------------------------------------------------

std::string mm_login_name() {
    const passwd* pw = getpwuid(geteuid());
    std::string name = pw != nullptr && pw->pw_name != nullptr ? pw->pw_name : "";
    return name.substr(0, 8);
}

int user_in_list(const std::string& path, const std::string& login) {
    std::FILE* fp = open_file(path, "r").release(); // never a FIFO or a device
    if (fp == nullptr)
        return -1;
    std::string user = login.substr(0, 8);
    int found = 0;
    std::string piece;
    int c = 0;
    // A piece ends after 8 characters or at a line end; blanks are dropped.
    while (!found && (c = std::fgetc(fp)) != EOF) {
        bool end = c == '\n';
        if (!end)
            piece += static_cast<char>(c);
        if (!end && piece.size() < 8)
            continue;
        std::string word;
        for (char ch : piece)
            if (!std::isspace(static_cast<unsigned char>(ch)))
                word += ch;
        found = !word.empty() && word == user;
        piece.clear();
    }
    if (!found && !piece.empty()) {
        std::string word;
        for (char ch : piece)
            if (!std::isspace(static_cast<unsigned char>(ch)))
                word += ch;
        found = !word.empty() && word == user;
    }
    std::fclose(fp);
    return found;
}

bool is_restricted_id(int id) {
    for (int r : change_ids(UI_MAIN))
        if (r == id)
            return true;
    return false;
}

void gui_check_security(const std::string& login) {
    int found = user_in_list(mm_path("bin/users.list"), login);
    if (found == -1)
        display_warn(W_MAIN_WINDOW, "Could not open user access file.");
    if (found != 1)
        display_warn(W_MAIN_WINDOW, "You will not have access to commands that can\nchange current "
                                    "Morix configurations. Check\nthe users.list file.");
    g_user_privileged = found == 1 ? 1 : 0;
    g_may_change = g_user_privileged;
    if (g_user_privileged)
        return;
    for (int id : change_ids(UI_MAIN))
        ui_set_sensitive(id, false);
    for (int id : change_ids(UI_BASIC))
        ui_set_sensitive(id, false, UI_BASIC);
}

// ---- staged initialisation ----------------------------------------------

int init_progress_percent(int step) {
    if (step < 0 || step >= INIT_LAST_STEP || step % 4 != 0)
        return -1;
    return (step + 1) * 100 / (INIT_LAST_STEP + 1);
}

std::string init_progress_text(int percent) {
    char text[64];
    std::snprintf(text, sizeof text, "Initialization complete: %3d%%", percent);
    return text;
}
