#include "operator_x.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <Xm/Label.h>
#include <Xm/LabelG.h>
#include <Xm/List.h>
#include <Xm/RowColumn.h>
#include <Xm/Text.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <Xm/ToggleBG.h>

#include <chrono>
#include <climits>
#include <cstdlib>

#include "motif/motif_internal.h"
#include "ui/widget_ids.h"

namespace {

XErrorHandler g_previous_handler = nullptr;

// Windows come and go while the harness looks at them: a window gone
// between two requests is not an error of the program.
int tolerate_gone_windows(Display* d, XErrorEvent* e) {
    if (e->error_code == BadWindow || e->error_code == BadDrawable || e->error_code == BadMatch)
        return 0;
    return g_previous_handler != nullptr ? g_previous_handler(d, e) : 0;
}

Display* dpy() {
    static bool installed = false;
    if (!installed) {
        installed = true;
        g_previous_handler = XSetErrorHandler(tolerate_gone_windows);
    }
    return XtDisplay(top_level);
}

Window root() {
    return DefaultRootWindow(dpy());
}

long g_last_click = 0;

bool has_wm_state(Window w) {
    Atom state = XInternAtom(dpy(), "WM_STATE", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool found = XGetWindowProperty(dpy(), w, state, 0, 1, False, AnyPropertyType, &type, &format,
                                    &count, &after, &data) == Success &&
                 type != None;
    if (data != nullptr)
        XFree(data);
    return found;
}

std::vector<Window> children_of(Window w, Window* parent = nullptr) {
    Window r = 0, p = 0, *kids = nullptr;
    unsigned int n = 0;
    std::vector<Window> out;
    if (XQueryTree(dpy(), w, &r, &p, &kids, &n) != 0)
        out.assign(kids, kids + n);
    if (kids != nullptr)
        XFree(kids);
    if (parent != nullptr)
        *parent = p;
    return out;
}

// The window holding the WM_STATE property under w (frames are shallow).
Window client_under(Window w, int depth) {
    if (has_wm_state(w))
        return w;
    if (depth == 0)
        return 0;
    for (Window c : children_of(w))
        if (Window found = client_under(c, depth - 1))
            return found;
    return 0;
}

// The child of the root that holds w.
Window frame_of(Window w) {
    for (int depth = 0; depth < 32 && w != 0; ++depth) {
        Window parent = 0;
        children_of(w, &parent);
        if (parent == root() || parent == 0)
            return w;
        w = parent;
    }
    return w;
}

bool viewable(Window w) {
    XWindowAttributes a;
    return w != 0 && XGetWindowAttributes(dpy(), w, &a) != 0 && a.map_state == IsViewable;
}

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    bool holds(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
    bool inside(const Rect& o) const {
        return x >= o.x && y >= o.y && x + w <= o.x + o.w && y + h <= o.y + o.h;
    }
};

// Where w lies on the screen (a gadget by its place in its parent).
Rect rect_of(Widget w) {
    Rect r;
    Window win = XtWindowOfObject(w);
    if (win == 0)
        return r;
    Window child = 0;
    XTranslateCoordinates(dpy(), win, root(), 0, 0, &r.x, &r.y, &child);
    Position x = 0, y = 0;
    Dimension width = 0, height = 0;
    XtVaGetValues(w, XmNx, &x, XmNy, &y, XmNwidth, &width, XmNheight, &height, nullptr);
    if (!XtIsWidget(w)) {
        r.x += x;
        r.y += y;
    }
    r.w = width;
    r.h = height;
    return r;
}

std::string describe(const Rect& r) {
    return std::to_string(r.w) + "x" + std::to_string(r.h) + "+" + std::to_string(r.x) + "+" +
           std::to_string(r.y);
}

std::string title_of(Window w) {
    char* name = nullptr;
    std::string s;
    if (XFetchName(dpy(), w, &name) != 0 && name != nullptr)
        s = name;
    if (name != nullptr)
        XFree(name);
    return s;
}

bool is_input(Widget w) {
    return XmIsTextField(w) || XmIsText(w) || XmIsList(w) ||
           (XmIsRowColumn(w) && XtIsManaged(w) && [&] {
               unsigned char type = 0;
               XtVaGetValues(w, XmNrowColumnType, &type, nullptr);
               return type == XmMENU_OPTION;
           }());
}

bool managed_up(Widget w) {
    for (; w != nullptr && !XtIsShell(w); w = XtParent(w))
        if (!XtIsManaged(w))
            return false;
    return true;
}

} // namespace

long now_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::vector<TopWindow> top_windows() {
    std::vector<TopWindow> out;
    for (Window f : children_of(root())) {
        if (!viewable(f))
            continue;
        Window c = client_under(f, 3);
        if (c != 0)
            out.push_back({f, c, title_of(c)});
    }
    return out;
}

Widget shell_titled(const std::string& title) {
    std::vector<TopWindow> tops = top_windows();
    bool prefix = !title.empty() && title.back() == '*';
    std::string want = prefix ? title.substr(0, title.size() - 1) : title;
    for (auto it = tops.rbegin(); it != tops.rend(); ++it)
        if (prefix ? it->title.compare(0, want.size(), want) == 0 : it->title == title)
            if (Widget w = XtWindowToWidget(dpy(), it->client))
                return w;
    return nullptr;
}

std::vector<Widget> widgets_under(Widget root_widget) {
    std::vector<Widget> out{root_widget};
    for (size_t i = 0; i < out.size() && out.size() < 20000; ++i) {
        if (!XtIsComposite(out[i]))
            continue;
        WidgetList kids = nullptr;
        Cardinal n = 0;
        XtVaGetValues(out[i], XmNchildren, &kids, XmNnumChildren, &n, nullptr);
        out.insert(out.end(), kids, kids + n);
    }
    return out;
}

std::string label_of(Widget w) {
    if (!(XmIsLabel(w) || XmIsLabelGadget(w)))
        return "";
    XmString cs = nullptr;
    XtVaGetValues(w, XmNlabelString, &cs, nullptr);
    std::string s = cs != nullptr ? cvt_cps_str(cs) : "";
    if (cs != nullptr)
        XmStringFree(cs);
    return s;
}

Widget find_control(Widget shell, const std::string& label) {
    Widget fallback = nullptr;
    for (Widget w : widgets_under(shell)) {
        if (label_of(w) != label && XtName(w) != label)
            continue;
        if (managed_up(w) && viewable(XtWindowOfObject(w)))
            return w;
        if (fallback == nullptr)
            fallback = w;
    }
    return fallback;
}

Widget find_input(Widget shell, const std::string& label) {
    std::vector<Widget> all = widgets_under(shell);
    Widget text_label = nullptr;
    for (Widget w : all) {
        if (is_input(w) && XtName(w) == label && managed_up(w))
            return w;
        if (text_label == nullptr && label_of(w) == label && managed_up(w) && !is_input(w))
            text_label = w;
    }
    if (text_label == nullptr)
        return nullptr;
    // The nearest input right of the label on its row, else below it.
    Rect l = rect_of(text_label);
    Widget best = nullptr;
    long best_d = LONG_MAX;
    for (Widget w : all) {
        if (!is_input(w) || !managed_up(w) || XtParent(w) == text_label)
            continue;
        Rect r = rect_of(w);
        int mid = l.y + l.h / 2;
        long d = LONG_MAX;
        if (r.x >= l.x + l.w - 2 && mid >= r.y && mid < r.y + r.h)
            d = r.x - (l.x + l.w);
        else if (r.y >= l.y + l.h - 2 && r.x < l.x + l.w && r.x + r.w > l.x)
            d = 100000 + (r.y - l.y - l.h);
        if (d < best_d) {
            best_d = d;
            best = w;
        }
    }
    return best;
}

std::string why_not_natural_size(Widget shell) {
    Rect s = rect_of(shell);
    for (Widget w : widgets_under(shell)) {
        if (w == shell || XtParent(w) != shell || !XtIsManaged(w))
            continue;
        XtWidgetGeometry want = {};
        XtQueryGeometry(w, nullptr, &want);
        if (s.w + 2 < want.width || s.h + 2 < want.height)
            return "it is " + describe(s) + ", its contents ask for " + std::to_string(want.width) +
                   "x" + std::to_string(want.height);
    }
    return "";
}

namespace {

// A control whose place on the screen is its own: a label, button, toggle,
// text field or option menu (the parts of an option menu and of menus are
// the menu's).
bool is_laid_out_control(Widget w) {
    for (Widget p = XtParent(w); p != nullptr && !XtIsShell(p); p = XtParent(p))
        if (XmIsRowColumn(p) && is_input(p))
            return false;
    return XtIsWidget(w) && (XmIsLabel(w) || XmIsTextField(w) || is_input(w));
}

bool overlap(const Rect& a, const Rect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

} // namespace

std::string why_overlapping(Widget shell) {
    std::vector<std::pair<Widget, Rect>> shown;
    for (Widget w : widgets_under(shell)) {
        if (!is_laid_out_control(w) || !managed_up(w) || !viewable(XtWindow(w)))
            continue;
        Rect r = rect_of(w);
        for (const auto& [other, at] : shown)
            if (overlap(r, at))
                return "\"" + (label_of(w).empty() ? XtName(w) : label_of(w)) + "\" " +
                       describe(r) + " overlaps \"" +
                       (label_of(other).empty() ? XtName(other) : label_of(other)) + "\" " +
                       describe(at);
        shown.emplace_back(w, r);
    }
    return "";
}

std::string why_cancel_dialog_cut() {
    Widget dialog = widgets[W_CANCEL_DIALOG];
    if (dialog == nullptr || !managed_up(dialog) || !viewable(XtWindow(dialog)))
        return "";
    Widget shell = XtParent(dialog);
    Rect s = rect_of(shell);
    for (Widget w : widgets_under(shell)) {
        if (!is_laid_out_control(w) || !managed_up(w))
            continue;
        Rect r = rect_of(w);
        std::string name = "\"" + label_of(w) + "\" (" + describe(r) + ")";
        if (!r.inside(s))
            return name + " lies outside its window (" + describe(s) + ")";
        XtWidgetGeometry want{};
        XtQueryGeometry(w, nullptr, &want);
        // A label begun with ": " lost what the operation does.
        if (want.width > r.w || label_of(w).rfind(": ", 0) == 0)
            return name + " is cut";
    }
    return "";
}

std::string why_not_clickable(Widget w) {
    std::string name = "\"" + (label_of(w).empty() ? XtName(w) : label_of(w)) + "\"";
    if (!managed_up(w) || !viewable(XtWindowOfObject(w)))
        return name + " is not on screen";
    if (!XtIsSensitive(w))
        return name + " is insensitive";
    Widget shell = w;
    while (shell != nullptr && !XtIsShell(shell))
        shell = XtParent(shell);
    Rect r = rect_of(w), s = rect_of(shell);
    // A window the window manager still places is not clicked yet.
    static Widget last_widget = nullptr;
    static Rect last_rect;
    bool moved = w != last_widget || r.x != last_rect.x || r.y != last_rect.y;
    last_widget = w;
    last_rect = r;
    if (moved)
        return name + " is still moving";
    if (!r.inside(s))
        return name + " (" + describe(r) + ") lies outside its window (" + describe(s) + ")";
    int cx = r.x + r.w / 2, cy = r.y + r.h / 2;
    Screen* screen = DefaultScreenOfDisplay(dpy());
    if (cx < 0 || cy < 0 || cx >= WidthOfScreen(screen) || cy >= HeightOfScreen(screen))
        return name + " (" + describe(r) + ") lies off the screen";
    for (Widget p = XtParent(w); p != nullptr && p != shell; p = XtParent(p))
        if (!rect_of(p).holds(cx, cy))
            return name + " is scrolled out of view";
    int x = 0, y = 0;
    Window top = 0;
    XTranslateCoordinates(dpy(), root(), root(), cx, cy, &x, &y, &top);
    Window own = frame_of(XtWindowOfObject(w));
    if (top != own) {
        Window c = client_under(top, 3);
        std::string by = c != 0 ? "\"" + title_of(c) + "\"" : "a window without title";
        return name + " is covered by " + by;
    }
    return "";
}

std::string why_not_answerable(const std::string& title) {
    std::vector<TopWindow> tops = top_windows();
    const TopWindow* mine = nullptr;
    for (const TopWindow& t : tops)
        if (t.title == title)
            mine = &t;
    if (mine == nullptr)
        return "\"" + title + "\" is not on screen";
    if (mine != &tops.back())
        return "\"" + title + "\" is not on top (\"" + tops.back().title + "\" is above it)";
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(dpy(), &focus, &revert);
    for (Window w = focus; w != 0 && w != PointerRoot && w != root();) {
        if (w == mine->client)
            return "";
        Window parent = 0;
        children_of(w, &parent);
        w = parent;
    }
    std::string holder = "no window";
    if (focus != 0 && focus != PointerRoot)
        if (Window c = client_under(frame_of(focus), 3))
            holder = "\"" + title_of(c) + "\"";
    return "\"" + title + "\" is on top but has no keyboard focus (" + holder + " has it)";
}

int click_wait_ms() {
    long left = g_last_click + XtGetMultiClickTime(dpy()) + 30 - now_ms();
    return left > 0 ? static_cast<int>(left) : 0;
}

void click_at(Widget w, int x, int y, bool ctrl) {
    Rect r = rect_of(w);
    KeyCode control = XKeysymToKeycode(dpy(), XK_Control_L);
    XTestFakeMotionEvent(dpy(), -1, r.x + x, r.y + y, CurrentTime);
    if (ctrl)
        XTestFakeKeyEvent(dpy(), control, True, CurrentTime);
    XTestFakeButtonEvent(dpy(), 1, True, CurrentTime);
    XTestFakeButtonEvent(dpy(), 1, False, 20);
    if (ctrl)
        XTestFakeKeyEvent(dpy(), control, False, CurrentTime);
    XFlush(dpy());
    g_last_click = now_ms();
}

void click_widget(Widget w, bool ctrl) {
    Rect r = rect_of(w);
    click_at(w, r.w / 2, r.h / 2, ctrl);
}

void send_key(const std::string& name, bool shift) {
    KeySym ks = XStringToKeysym(name.c_str());
    KeyCode kc = XKeysymToKeycode(dpy(), ks);
    if (kc == 0)
        return;
    // Shifted when the keysym is on the key's second level.
    shift = shift || XkbKeycodeToKeysym(dpy(), kc, 0, 0) != ks;
    KeyCode sh = XKeysymToKeycode(dpy(), XK_Shift_L);
    if (shift)
        XTestFakeKeyEvent(dpy(), sh, True, CurrentTime);
    XTestFakeKeyEvent(dpy(), kc, True, CurrentTime);
    XTestFakeKeyEvent(dpy(), kc, False, CurrentTime);
    if (shift)
        XTestFakeKeyEvent(dpy(), sh, False, CurrentTime);
    XFlush(dpy());
}

void send_text(const std::string& text) {
    for (char c : text) {
        // Latin-1 keysyms equal the character codes.
        const char* name = XKeysymToString(static_cast<KeySym>(static_cast<unsigned char>(c)));
        if (name != nullptr)
            send_key(name);
    }
}
