// UI services whose logic does not depend on the toolkit; both the Motif and
// the headless implementation link this file.
#include <sys/stat.h>

#include <cstdarg>
#include <cstdio>

#include "ui/app_globals.h"
#include "ui/overwrite.h"
#include "ui/ui.h"

int g_cancel_process = 0;
int g_snmp_pct_done = 0;
int g_other_pct_done = 0;
int g_update_in_snmp = 0;

namespace {

void reset_cancel_state() {
    g_cancel_process = 0;
    g_snmp_pct_done = 0;
    g_other_pct_done = 0;
    g_update_in_snmp = 0;
}

const bool cancel_state_registered = add_state_reset(reset_cancel_state);

} // namespace

int vask_user(int parent_id, const std::string& title, const std::string& ok_label,
              const std::string& cancel_label, int default_ok, const char* format, ...) {
    char text[1025];
    va_list ap;
    va_start(ap, format);
    std::vsnprintf(text, sizeof text, format, ap);
    va_end(ap);
    return ask_user(parent_id, title, ok_label, cancel_label, default_ok, text);
}

Question overwrite_question(int kind, const std::string& path) {
    const char* word = kind == 1 ? "output text" : kind == 2 ? "script" : "Morix list";
    size_t slash = path.find_last_of('/');
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    return Question{"Overwrite",
                    std::string("The following ") + word + " already exists:\n\n    " + base +
                        "\n\nDo you want to overwrite it?",
                    "Overwrite", "Cancel", false};
}

bool may_overwrite(Asker& asker, int kind, const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) != 0 || asker.ask(overwrite_question(kind, path));
}

int check_if_overwrite(int parent_id, int kind, const std::string& path) {
    if (path.empty()) {
        display_warn(parent_id, "You did not specify a list file.");
        return 0;
    }
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return 1;
    Question q = overwrite_question(kind, path);
    int answer = ask_user(parent_id, q.title, q.ok_label, q.cancel_label, 0, q.text);
    return answer == ASK_CANCEL ? 0 : 1;
}

std::string warning_with(const std::string& shown, const std::string& text) {
    if (shown.empty())
        return text;
    if (text.empty())
        return shown;
    // The open box holds messages separated by blank lines; a message it
    // already holds is not added again (a refreshing window would grow the
    // box by one copy per refresh).
    for (size_t from = 0; from <= shown.size();) {
        size_t end = shown.find("\n\n", from);
        if (end == std::string::npos)
            end = shown.size();
        if (shown.compare(from, end - from, text) == 0)
            return shown;
        from = end + 2;
    }
    return shown + "\n\n" + text;
}
