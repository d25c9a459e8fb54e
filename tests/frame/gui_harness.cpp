#include "gui_harness.h"

#include <X11/Intrinsic.h>
#include <Xm/MessageB.h>
#include <Xm/PushB.h>
#include <Xm/ToggleB.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "motif/motif_internal.h"
#include "support/process.h"

namespace fs = std::filesystem;

namespace {

Process xvfb;
Process mwm;
std::string display_name;

long now_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

bool start_xvfb() {
    // Xvfb picks a free display itself and reports it on standard output,
    // so two tests starting at the same time never share a server.
    // -noreset: a server that resets when its last client leaves refuses
    // the connection of a program started at that moment.
    ProcessLaunch s;
    s.argv = {"Xvfb",         "-displayfd", "1",   "-screen", "0",
              "1280x1024x24", "-nolisten",  "tcp", "-noreset"};
    s.ready_text = "\n";
    s.ready_stream = READY_STDOUT;
    s.ready_timeout_ms = 10000;
    s.stop_timeout_ms = 3000;
    if (!xvfb.start(s))
        return false;
    std::string out = xvfb.out();
    display_name = ":" + out.substr(0, out.find('\n'));
    setenv("DISPLAY", display_name.c_str(), 1);
    return true;
}

void stop_xvfb() {
    stop_mwm();
    xvfb.stop();
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

bool start_mwm(bool click_to_type) {
    if (display_name.empty())
        return false;
    ProcessLaunch s;
    // The window manager does not raise a window because it took the
    // keyboard focus, so the stacking the tests see is the program's.
    s.argv = {"mwm", "-display", display_name};
    if (!click_to_type)
        s.argv.insert(s.argv.end(), {"-xrm", "Mwm*keyboardFocusPolicy: pointer"});
    s.stop_timeout_ms = 3000;
    if (!mwm.start(s))
        return false;
    for (int i = 0; i < 100; ++i) {
        if (mwm_running())
            return true;
        if (!mwm.running())
            return false;
        usleep(100000);
    }
    stop_mwm();
    return false;
}

void stop_mwm() {
    mwm.stop();
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

namespace {
bool never() {
    return false;
}
} // namespace

void pump(int ms) {
    pump_until(never, ms);
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

int run_command(const std::vector<std::string>& argv, std::string* out) {
    ProgramResult r = run_program(argv, 20000);
    if (out != nullptr)
        *out = r.out;
    return r.status;
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
    ProcessLaunch s;
    s.argv = {prog != nullptr ? prog : "gui_mm"};
    s.argv.insert(s.argv.end(), args.begin(), args.end());
    for (const std::string& e : env) {
        if (e.back() == '=')
            s.unset.push_back(e.substr(0, e.size() - 1));
        else
            s.env.push_back(e);
    }
    s.stop_timeout_ms = 3000;
    Process p(s);
    if (during != nullptr)
        during();
    int status = p.wait(timeout_ms);
    if (status == -2)
        p.stop();
    *stderr_out = p.err();
    return status < 0 ? -1 : status;
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
