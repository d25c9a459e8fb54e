#include "gui_harness.h"

#include <X11/Intrinsic.h>
#include <Xm/MessageB.h>
#include <Xm/PushB.h>
#include <Xm/ToggleB.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "frame/motif_internal.h"

namespace fs = std::filesystem;

namespace {

pid_t xvfb_pid = -1;
pid_t mwm_pid = -1;
std::string display_name;

long now_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Waits for pid at most ms milliseconds; the exit status, or -1.
int wait_for(pid_t pid, int ms) {
    long end = now_ms() + ms;
    int status = 0;
    while (now_ms() < end) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        usleep(20000);
    }
    return -1;
}

void kill_and_reap(pid_t pid) {
    kill(pid, SIGTERM);
    if (wait_for(pid, 3000) == -1) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

std::vector<char*> c_args(std::vector<std::string>& v) {
    std::vector<char*> out;
    for (std::string& s : v)
        out.push_back(s.data());
    out.push_back(nullptr);
    return out;
}

} // namespace

bool start_xvfb() {
    // Xvfb picks a free display itself and reports it on the pipe, so two
    // tests starting at the same time never share a server.
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    // -noreset: a server that resets when its last client leaves refuses
    // the connection of a program started at that moment.
    std::vector<std::string> argv = {"Xvfb",      "-displayfd", std::to_string(fds[1]),
                                     "-screen",   "0",          "1280x1024x24",
                                     "-nolisten", "tcp",        "-noreset"};
    xvfb_pid = fork();
    if (xvfb_pid == 0) {
        // The server goes with the test, even when the test crashes.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        close(fds[0]);
        int null_fd = open("/dev/null", O_WRONLY);
        dup2(null_fd, 1);
        dup2(null_fd, 2);
        auto a = c_args(argv);
        execvp("Xvfb", a.data());
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    pollfd p = {fds[0], POLLIN, 0};
    char c = 0;
    while (poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    if (number.empty()) {
        kill_and_reap(xvfb_pid);
        xvfb_pid = -1;
        return false;
    }
    display_name = ":" + number;
    setenv("DISPLAY", display_name.c_str(), 1);
    return true;
}

void stop_xvfb() {
    stop_mwm();
    if (xvfb_pid > 0)
        kill_and_reap(xvfb_pid);
    xvfb_pid = -1;
}

namespace {
// True once a window manager has announced itself on the root window.
bool mwm_running() {
    Display* dpy = XOpenDisplay(display_name.c_str());
    if (dpy == nullptr)
        return false;
    Atom info = XInternAtom(dpy, "_MOTIF_WM_INFO", True);
    bool found = false;
    if (info != None) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(dpy, DefaultRootWindow(dpy), info, 0, 2, False, AnyPropertyType,
                               &type, &format, &count, &after, &data) == Success)
            found = type != None && count > 0;
        if (data != nullptr)
            XFree(data);
    }
    XCloseDisplay(dpy);
    return found;
}
} // namespace

bool start_mwm() {
    if (display_name.empty())
        return false;
    mwm_pid = fork();
    if (mwm_pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        int null_fd = open("/dev/null", O_WRONLY);
        dup2(null_fd, 1);
        dup2(null_fd, 2);
        // The window manager does not raise a window because it took the
        // keyboard focus, so the stacking the tests see is the program's.
        execlp("mwm", "mwm", "-display", display_name.c_str(), "-xrm",
               "Mwm*keyboardFocusPolicy: pointer", static_cast<char*>(nullptr));
        _exit(127);
    }
    for (int i = 0; i < 100; ++i) {
        if (mwm_running())
            return true;
        if (waitpid(mwm_pid, nullptr, WNOHANG) == mwm_pid) {
            mwm_pid = -1;
            return false;
        }
        usleep(100000);
    }
    stop_mwm();
    return false;
}

void stop_mwm() {
    if (mwm_pid > 0)
        kill_and_reap(mwm_pid);
    mwm_pid = -1;
}

int stacking_index(Display* dpy, Window w) {
    Window root = DefaultRootWindow(dpy);
    // Climb to the child of the root that holds w (bounded: X trees are shallow).
    for (int depth = 0; depth < 32 && w != None; ++depth) {
        Window r = 0, parent = 0, *kids = nullptr;
        unsigned int n = 0;
        if (XQueryTree(dpy, w, &r, &parent, &kids, &n) == 0)
            return -1;
        if (kids != nullptr)
            XFree(kids);
        if (parent == root)
            break;
        w = parent;
    }
    Window r = 0, parent = 0, *kids = nullptr;
    unsigned int n = 0;
    XQueryTree(dpy, root, &r, &parent, &kids, &n);
    int index = -1;
    for (unsigned int i = 0; i < n; ++i)
        if (kids[i] == w)
            index = static_cast<int>(i);
    if (kids != nullptr)
        XFree(kids);
    return index;
}

const std::string& xvfb_display() {
    return display_name;
}

void pump(int ms) {
    long end = now_ms() + ms;
    while (now_ms() < end) {
        if (XtAppPending(app_context))
            XtAppProcessEvent(app_context, XtIMAll);
        else
            usleep(5000);
    }
}

bool pump_until(bool (*done)(), int ms) {
    long end = now_ms() + ms;
    while (!done() && now_ms() < end) {
        if (XtAppPending(app_context))
            XtAppProcessEvent(app_context, XtIMAll);
        else
            usleep(5000);
    }
    return done();
}

void press(int id) {
    XmPushButtonCallbackStruct cbs = {};
    cbs.reason = XmCR_ACTIVATE;
    cbs.click_count = 1;
    XtCallCallbacks(widgets[id], XmNactivateCallback, &cbs);
}

void set_toggle_notify(int id, bool state) {
    XmToggleButtonSetState(widgets[id], state ? True : False, True);
}

namespace {
void answer_cb(XtPointer client, XtIntervalId*) {
    int answer = static_cast<int>(reinterpret_cast<long>(client));
    if (g_ask_dialog == nullptr)
        return;
    Widget b = XmMessageBoxGetChild(g_ask_dialog,
                                    answer == 1 ? XmDIALOG_OK_BUTTON : XmDIALOG_CANCEL_BUTTON);
    XmPushButtonCallbackStruct cbs = {};
    cbs.reason = XmCR_ACTIVATE;
    XtCallCallbacks(b, XmNactivateCallback, &cbs);
}
} // namespace

void answer_later(int ms, int answer) {
    XtAppAddTimeOut(app_context, static_cast<unsigned long>(ms), answer_cb,
                    reinterpret_cast<XtPointer>(static_cast<long>(answer)));
}

int run_command(const std::vector<std::string>& argv_in, std::string* out) {
    std::vector<std::string> argv = argv_in;
    std::string tmp = (fs::temp_directory_path() / ("mm_cmd_" + std::to_string(getpid()))).string();
    pid_t pid = fork();
    if (pid == 0) {
        int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, 1);
        auto a = c_args(argv);
        execvp(a[0], a.data());
        _exit(127);
    }
    int status = wait_for(pid, 20000);
    if (status == -1)
        kill_and_reap(pid);
    if (out != nullptr) {
        std::ifstream in(tmp);
        std::ostringstream s;
        s << in.rdbuf();
        *out = s.str();
    }
    unlink(tmp.c_str());
    return status;
}

bool screenshot(const std::string& name) {
    if (top_level != nullptr) { // the program runs in this process
        XSync(XtDisplay(top_level), False);
        pump(150);
    }
    const char* build = std::getenv("MM_BUILD_DIR");
    fs::path dir = fs::path(build != nullptr ? build : ".") / "frame_screens";
    fs::create_directories(dir);
    return run_command({"import", "-window", "root", (dir / (name + ".png")).string()}) == 0;
}

int run_program(const std::vector<std::string>& args, const std::vector<std::string>& env,
                int timeout_ms, std::string* stderr_out, void (*during)()) {
    const char* prog = std::getenv("MM_GUI_MM");
    std::vector<std::string> argv = {prog != nullptr ? prog : "gui_mm"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::string err = (fs::temp_directory_path() / ("mm_err_" + std::to_string(getpid()))).string();
    pid_t pid = fork();
    if (pid == 0) {
        for (const std::string& e : env) {
            size_t eq = e.find('=');
            std::string name = e.substr(0, eq), value = e.substr(eq + 1);
            if (value.empty())
                unsetenv(name.c_str());
            else
                setenv(name.c_str(), value.c_str(), 1);
        }
        int fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, 2);
        auto a = c_args(argv);
        execv(a[0], a.data());
        _exit(127);
    }
    if (during != nullptr)
        during();
    int status = wait_for(pid, timeout_ms);
    if (status == -1)
        kill_and_reap(pid);
    std::ifstream in(err);
    std::ostringstream s;
    s << in.rdbuf();
    *stderr_out = s.str();
    unlink(err.c_str());
    return status;
}

std::string copy_stage_dir() {
    const char* build = std::getenv("MM_BUILD_DIR");
    std::string tmpl = (fs::temp_directory_path() / "mm_gui_XXXXXX").string();
    if (mkdtemp(tmpl.data()) == nullptr)
        return "";
    fs::copy(fs::path(build != nullptr ? build : ".") / "gui_mm_dir", tmpl,
             fs::copy_options::recursive);
    return tmpl;
}

void remove_tree(const std::string& dir) {
    std::error_code ec;
    fs::remove_all(dir, ec);
}
