// Editor command lines and the child process that runs them.
#include "files/editor_run.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

std::vector<std::string> split_editor_words(const std::string& text) {
    std::vector<std::string> words;
    std::string w;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n') {
            if (!w.empty())
                words.push_back(w);
            w.clear();
        } else {
            w += c;
        }
    }
    if (!w.empty())
        words.push_back(w);
    return words;
}

namespace {

bool executable_file(const std::string& p) {
    struct stat st;
    return stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(p.c_str(), X_OK) == 0;
}

// Options of the terminal programs we know: title option, geometry option,
// and the option after which the command follows.
struct TermStyle {
    const char* name;
    const char* title_opt;
    const char* geom_opt;
};
const TermStyle term_styles[] = {{"xterm", "-title", "-geometry"},
                                 {"uxterm", "-title", "-geometry"},
                                 {"lxterm", "-title", "-geometry"},
                                 {"rxvt", "-title", "-geometry"},
                                 {"urxvt", "-title", "-geometry"}};

std::string base_name(const std::string& p) {
    size_t s = p.find_last_of('/');
    return s == std::string::npos ? p : p.substr(s + 1);
}

} // namespace

std::string find_program(const std::string& name) {
    if (name.empty())
        return "";
    if (name.find('/') != std::string::npos)
        return executable_file(name) ? name : "";
    const char* path = getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        std::string cand = (dir.empty() ? "." : dir) + "/" + name;
        if (executable_file(cand))
            return cand;
        start = end + 1;
    }
    return "";
}

std::vector<std::string> editor_argv(const std::vector<std::string>& editor_words,
                                     const std::string& path, bool in_window,
                                     const std::string& term, const std::string& title,
                                     const std::function<std::string(const std::string&)>& lookup) {
    if (editor_words.empty())
        return {};
    std::vector<std::string> argv;
    if (!in_window && !term.empty()) {
        // TERM usually names a terminal type (xterm-256color, vt100); only
        // an installed program is run as the terminal.
        std::string prog = lookup(term);
        if (prog.empty())
            prog = lookup("x-terminal-emulator");
        if (prog.empty())
            prog = lookup("xterm");
        if (prog.empty())
            return {};
        const TermStyle* style = nullptr;
        for (const TermStyle& s : term_styles)
            if (base_name(prog) == s.name)
                style = &s;
        argv.push_back(prog);
        argv.push_back(style ? style->title_opt : "-T");
        argv.push_back(title);
        if (style) {
            argv.push_back(style->geom_opt);
            argv.push_back("80x10-0-0");
        }
        argv.push_back("-e");
    }
    argv.insert(argv.end(), editor_words.begin(), editor_words.end());
    argv.push_back(path);
    return argv;
}

int run_and_wait(const std::vector<std::string>& argv) {
    if (argv.empty())
        return -1;
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    // The child reports a failed exec through a close-on-exec pipe.
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return -1;
    pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return -1;
    }
    if (pid == 0) {
        close(fds[0]);
        execvp(args[0], args.data());
        int e = errno;
        ssize_t n = write(fds[1], &e, sizeof e);
        (void)n;
        _exit(127);
    }
    close(fds[1]);
    int err = 0;
    ssize_t got;
    do
        got = read(fds[0], &err, sizeof err);
    while (got < 0 && errno == EINTR);
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (got > 0 || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}
