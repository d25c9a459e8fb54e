// The frame's Motif services under a private X server, for what the
// headless services cannot show: the real interface description (every id
// and window), real key and pointer paths (tab groups, list search, field
// filters, raising), the dialogs and the drawn cancel scale. Command logic
// (modes, security, help, saving) is tested on the headless services.
// gtest first: the X headers define macros that clash with its names.
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <Xm/CascadeB.h>
#include <Xm/FileSB.h>
#include <Xm/Label.h>
#include <Xm/List.h>
#include <Xm/MessageB.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "catalogue/mib_catalogue.h"
#include "files/modem_dialog.h"
#include "frame/dispatch.h"
#include "frame/func_lists.h"
#include "frame/registry.h"
#include "frame/startup.h"
#include "gui_harness.h"
#include "motif/motif_internal.h"
#include "ops/site_prm.h"
#include "ui/app_globals.h"
#include "ui/ui.h"

namespace {

// The dialogs outside the window table, by service table.
struct Dlg {
    int id;
    int table;
    const char* name;
};
const Dlg k_dialogs[] = {
    {W_BOOT_DIALOG, UI_MAIN, "boot_dialog"}, {W_IMDM_DIALOG, UI_MAIN, "int_mdms_dialog"},
    {0, UI_BASIC, "gen_conf_form"},          {300, UI_BASIC, "a_gen_conf_form"},

    {181, UI_BASIC, "a_aport_main_form"},

    {620, UI_BASIC, "conf_wan_main_form"}};

std::vector<std::string> g_labels; // progress label values seen during start-up
long g_ready_ms = 0;
std::string g_install;

void watch_labels() {
    std::string text = get_widget_label(W_INIT_LABEL);
    if (ui_is_managed(W_INIT_FORM) && (g_labels.empty() || g_labels.back() != text))
        g_labels.push_back(text);
}

bool watched_init_done() {
    watch_labels();
    return g_init_done != 0;
}

// Sends a key press and release for keysym to a widget's window.
void send_key(Widget w, KeySym sym, unsigned int state = 0) {
    Display* dpy = XtDisplay(w);
    XEvent ev = {};
    ev.xkey.type = KeyPress;
    ev.xkey.display = dpy;
    ev.xkey.window = XtWindow(w);
    ev.xkey.root = DefaultRootWindow(dpy);
    ev.xkey.keycode = XKeysymToKeycode(dpy, sym);
    ev.xkey.state = state;
    ev.xkey.same_screen = True;
    ev.xkey.time = CurrentTime;
    XtDispatchEvent(&ev);
    ev.xkey.type = KeyRelease;
    XtDispatchEvent(&ev);
}

void type_text(Widget w, const std::string& text) {
    for (char c : text)
        send_key(w, c == ' ' ? XK_space : c == '-' ? XK_minus : static_cast<KeySym>(c));
}

} // namespace

TEST(GuiStartUp, ProgressLabelAndReadyState) {
    EXPECT_EQ(g_labels, (std::vector<std::string>{
                            "Initialization complete:   3%", "Initialization complete:  19%",
                            "Initialization complete:  34%", "Initialization complete:  50%",
                            "Initialization complete:  65%", "Initialization complete:  80%",
                            "Initialization complete:  96%"}));
    EXPECT_FALSE(ui_is_managed(W_INIT_FORM));
    EXPECT_EQ(ui_get_text(W_COMM_TF), "public");
    EXPECT_GT(ui_list_count(W_FUNC_LIST), 0);
    EXPECT_TRUE(ui_get_toggle(W_AUTO_RESET_TB));
    EXPECT_EQ(app_busy_count(), 0);
    EXPECT_EQ(mdm_entry_cnt, 0); // set to 7 before start-up
    EXPECT_EQ(XmGetFocusWidget(main_widget), widgets[W_MRX_NAME_TF]);
    std::printf("start-up to ready: %ld ms\n", g_ready_ms);
}

// The ids of the main window; its secondary windows and dialogs are each
// opened by an operator scenario (tests/operator, test_op_windows).
TEST(GuiStartUp, EveryIdAndWindowExists) {
    const int main_ids[] = {1,  2,  3,  4,  5,  7,  9,  10, 11, 12, 13,  14,  15,  16,  17,  18,
                            19, 20, 22, 23, 24, 25, 26, 28, 30, 31, 32,  33,  36,  37,  38,  39,
                            40, 44, 46, 47, 48, 50, 51, 52, 54, 56, 59,  61,  62,  63,  71,  74,
                            76, 79, 80, 81, 82, 83, 84, 85, 87, 88, 550, 641, 642, 730, 731, 756};
    for (int id : main_ids)
        EXPECT_TRUE(ui_exists(id)) << id;
    // Buttons sized by the creation set-up.
    Dimension w = 0, h = 0;
    XtVaGetValues(widgets[140], XmNwidth, &w, XmNheight, &h, nullptr);
    EXPECT_EQ(static_cast<int>(w), 125);
    EXPECT_EQ(static_cast<int>(h), 30);
    XtVaGetValues(widgets[256], XmNwidth, &w, nullptr);
    EXPECT_EQ(static_cast<int>(w), 118);
}

TEST(GuiDialogs, WarningsAccumulateUntilClosed) {
    display_warn(W_MAIN_WINDOW, "first");
    display_warn(W_MAIN_WINDOW, "second");
    EXPECT_EQ(warning_box_text(), "first\n\nsecond");
    EXPECT_TRUE(ui_is_managed(W_WARNING_BOX));
    pump(100);
    ASSERT_TRUE(screenshot("warning_box"));
    Widget ok = XmMessageBoxGetChild(widgets[W_WARNING_BOX], XmDIALOG_OK_BUTTON);
    XmPushButtonCallbackStruct cbs = {};
    cbs.reason = XmCR_ACTIVATE;
    XtCallCallbacks(ok, XmNactivateCallback, &cbs);
    pump(50);
    EXPECT_EQ(warning_box_text(), "");
    display_warn(W_MAIN_WINDOW, "third");
    EXPECT_EQ(warning_box_text(), "third");
    // A warning for another window moves the box there, keeping the text.
    gui_manage_top_form(W_BCAST_FORM);
    display_warn(W_BCAST_FORM, "fourth");
    EXPECT_EQ(warning_box_text(), "third\n\nfourth");
    EXPECT_EQ(get_shell_parent(widgets[W_BCAST_FORM]),
              get_shell_parent(XtParent(XtParent(widgets[W_WARNING_BOX]))));
    ok = XmMessageBoxGetChild(widgets[W_WARNING_BOX], XmDIALOG_OK_BUTTON);
    XtCallCallbacks(ok, XmNactivateCallback, &cbs);
    gui_unmanage_top_form(W_BCAST_FORM);
    pump(50);
}

TEST(GuiDialogs, NestedBusyOpensOneWorkDialogAfterTwoSeconds) {
    set_app_cursor(CURSOR_BUSY);
    pump(500);
    set_app_cursor(CURSOR_NORMAL); // short busy time: no work dialog
    EXPECT_FALSE(work_dialog_shown());
    pump(1800);
    EXPECT_FALSE(work_dialog_shown());

    set_app_cursor(CURSOR_BUSY);
    set_app_cursor(CURSOR_BUSY);
    EXPECT_EQ(app_busy_count(), 2);
    pump(1500);
    set_app_cursor(CURSOR_NORMAL); // the inner one ends; the outer goes on
    pump(1000);
    EXPECT_TRUE(work_dialog_shown());
    ASSERT_TRUE(screenshot("work_dialog"));
    set_app_cursor(CURSOR_NORMAL);
    EXPECT_FALSE(work_dialog_shown());
    EXPECT_EQ(app_busy_count(), 0);
}

TEST(GuiDialogs, CancelConfirmContinueThenCancel) {
    pop_cancel_dialog(1, W_MAIN_WINDOW, "Cancel Test", "", 1, 0, 1, 0);
    reset_cancel_dialog("Testing", "mrx1");
    // A label given while the dialog is being placed shows once it is mapped.
    EXPECT_TRUE(
        pump_until([] { return get_widget_label(W_CANCEL_LABEL) == "Testing Morix mrx1"; }, 5000));
    EXPECT_EQ(is_cancelled(50), 0);
    pump(100);
    ASSERT_TRUE(screenshot("cancel_dialog_50"));
    answer_later(300, ASK_CANCEL); // "Continue"
    press(W_CANCEL_BUTTON);
    EXPECT_EQ(is_cancelled(60), 0);
    EXPECT_TRUE(ui_is_managed(W_CANCEL_DIALOG));
    answer_later(300, ASK_OK); // "Cancel"
    press(W_CANCEL_BUTTON);
    EXPECT_EQ(is_cancelled(70), 1);
    EXPECT_FALSE(ui_is_managed(W_CANCEL_DIALOG));
    EXPECT_EQ(pop_cancel_dialog_down(), 1);
    reset_cancel_dialog(std::string(1100, 'x'), "");
    EXPECT_EQ(get_widget_label(W_CANCEL_LABEL), "App Error: Header doesn't fit");
}

namespace {
// Presses OK in the open warning box.
void close_warning_box() {
    if (widgets[W_WARNING_BOX] == nullptr)
        return;
    XmPushButtonCallbackStruct cbs = {};
    cbs.reason = XmCR_ACTIVATE;
    XtCallCallbacks(XmMessageBoxGetChild(widgets[W_WARNING_BOX], XmDIALOG_OK_BUTTON),
                    XmNactivateCallback, &cbs);
    pump(50);
}

// Sets the third choice of the open multiple-choice box.
void set_third_choice(XtPointer, XtIntervalId*) {
    Widget column = XtNameToWidget(g_ask_dialog, "*column");
    WidgetList kids = nullptr;
    Cardinal n = 0;
    XtVaGetValues(column, XmNchildren, &kids, XmNnumChildren, &n, nullptr);
    int toggle = 0;
    for (Cardinal i = 0; i < n; ++i)
        if (XmIsToggleButton(kids[i]) && toggle++ == 2)
            XmToggleButtonSetState(kids[i], True, True);
}
} // namespace

TEST(GuiDialogs, MultipleChoiceBoxNeedsAChoice) {
    int mask = -1;
    answer_later(300, ASK_OK); // nothing chosen: refused, the box stays
    XtAppAddTimeOut(app_context, 600, set_third_choice, nullptr);
    answer_later(900, ASK_OK);
    EXPECT_EQ(display_box(W_MAIN_WINDOW, "Reset",
                          "Reset after the change:", {"Modems", "Ports", "Morix"}, "", &mask),
              ASK_OK);
    EXPECT_EQ(mask, 4);
    EXPECT_NE(warning_box_text().find("You must select an item."), std::string::npos);
    close_warning_box();
    std::vector<std::string> values = {"10.0.0.0", ""};
    answer_later(300, ASK_CANCEL);
    EXPECT_EQ(display_prompt(W_MAIN_WINDOW, "Discover", {"Network:", "Mask:"}, &values),
              ASK_CANCEL);
    EXPECT_EQ(values[0], "10.0.0.0");
    answer_later(300, ASK_OK);
    EXPECT_EQ(display_prompt(W_MAIN_WINDOW, "Discover", {"Network:", "Mask:"}, &values), ASK_OK);
    EXPECT_EQ(values, (std::vector<std::string>{"10.0.0.0", ""}));
}

TEST(GuiLists, SearchByTypedKeysIgnoresCase) {
    set_toggle_notify(W_CUSTOMIZE_TB, true);
    ui_list_delete_all(W_FUNC_LIST);
    const char* items[] = {"aa", "bb", "cc", "ABcd", "dd", "ee", "ff", "abx", "gg"};
    for (const char* s : items)
        ui_list_add_item(W_FUNC_LIST, s, 0);
    Widget list = widgets[W_FUNC_LIST];
    pump(100);
    XmProcessTraversal(list, XmTRAVERSE_CURRENT);
    ASSERT_EQ(XmGetFocusWidget(list), list);
    send_key(list, XK_Escape);
    send_key(list, XK_a);
    send_key(list, XK_b);
    int top = 0;
    XtVaGetValues(list, XmNtopItemPosition, &top, nullptr);
    EXPECT_EQ(top, 4);
    EXPECT_EQ(list_search_prefix(), "ab");
    send_key(list, XK_q); // no item starts with "abq": bell, prefix kept
    EXPECT_EQ(list_search_prefix(), "ab");
    send_key(list, XK_BackSpace);
    EXPECT_EQ(list_search_prefix(), "a");
    set_toggle_notify(W_CUSTOMIZE_TB, false);
}

TEST(GuiFilters, LeadingBlankRefusedInNameField) {
    Widget tf = widgets[W_MRX_NAME_TF];
    XmTextFieldSetString(tf, const_cast<char*>(""));
    XmProcessTraversal(tf, XmTRAVERSE_CURRENT);
    type_text(tf, " ");
    EXPECT_EQ(ui_get_text(W_MRX_NAME_TF), "");
    type_text(tf, "ab");
    EXPECT_EQ(ui_get_text(W_MRX_NAME_TF), "ab");
    send_key(tf, XK_F9); // F9 empties an editable field
    EXPECT_EQ(ui_get_text(W_MRX_NAME_TF), "");
}

namespace {

unsigned char navigation_type(Widget w) {
    unsigned char type = XmNONE;
    XtVaGetValues(w, XmNnavigationType, &type, nullptr);
    return type;
}

// Every text field and list inside root, depth first.
void collect_inputs(Widget root, std::vector<Widget>* out) {
    if (XmIsTextField(root) || XmIsList(root))
        out->push_back(root);
    if (!XtIsComposite(root))
        return;
    WidgetList kids = nullptr;
    Cardinal n = 0;
    XtVaGetValues(root, XmNchildren, &kids, XmNnumChildren, &n, nullptr);
    for (Cardinal i = 0; i < n; ++i)
        collect_inputs(kids[i], out);
}

// Lets the window manager carry out the raises asked of it.
void settle() {
    XSync(XtDisplay(top_level), False);
    pump(300);
}

} // namespace

TEST(GuiTabGroups, MainWindowTabGoesFromNameToCommunityToList) {
    close_warning_box(); // a modal warning would take the keys
    for (int id : {W_MRX_NAME_TF, W_COMM_TF, W_MRX_LIST, W_CUSTOMIZE_TB, W_AUTO_RESET_TB})
        EXPECT_EQ(navigation_type(widgets[id]), XmEXCLUSIVE_TAB_GROUP) << id;
    Widget name = widgets[W_MRX_NAME_TF];
    XmProcessTraversal(name, XmTRAVERSE_CURRENT);
    ASSERT_EQ(XmGetFocusWidget(main_widget), name);
    send_key(name, XK_Tab);
    EXPECT_EQ(XmGetFocusWidget(main_widget), widgets[W_COMM_TF]);
    XmProcessTraversal(widgets[W_COMM_TF], XmTRAVERSE_NEXT_TAB_GROUP);
    EXPECT_EQ(XmGetFocusWidget(main_widget), widgets[W_MRX_LIST]);
    XmProcessTraversal(widgets[W_MRX_LIST], XmTRAVERSE_PREV_TAB_GROUP);
    EXPECT_EQ(XmGetFocusWidget(main_widget), widgets[W_COMM_TF]);
    XmProcessTraversal(name, XmTRAVERSE_CURRENT);
}

TEST(GuiTabGroups, EverySecondaryWindowRegistersItsInputControls) {
    close_warning_box();
    std::vector<Widget> roots;
    for (const WindowRow* w : staged_windows())
        roots.push_back(widgets[w->form]);
    for (int id : {151, 385, 432})
        roots.push_back(widgets[id]);
    for (const Dlg& d : k_dialogs)
        roots.push_back(d.table == UI_MAIN ? widgets[d.id] : widgets_basic[d.id]);
    int checked = 0;
    for (Widget root : roots) {
        ASSERT_NE(root, nullptr);
        std::vector<Widget> inputs;
        collect_inputs(root, &inputs);
        for (Widget w : inputs) {
            EXPECT_EQ(navigation_type(w), XmEXCLUSIVE_TAB_GROUP)
                << XtName(root) << "/" << XtName(w);
            ++checked;
        }
    }
    EXPECT_GT(checked, 30);
    // Tab moves between the three fields of the SNMP window.
    gui_manage_top_form(W_SNMP_FORM);
    pump(100);
    XmProcessTraversal(widgets[537], XmTRAVERSE_CURRENT);
    Widget shell = get_shell_parent(widgets[537]);
    ASSERT_EQ(XmGetFocusWidget(shell), widgets[537]);
    send_key(widgets[537], XK_Tab);
    EXPECT_EQ(XmGetFocusWidget(shell), widgets[538]);
    gui_unmanage_top_form(W_SNMP_FORM);
}

struct Rect {
    int x, y, w, h;
    bool meets(const Rect& o) const {
        return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h;
    }
};

// A window's rectangle on the screen; with frame set, that of the window
// manager's frame around it.
Rect screen_rect(Widget w, bool frame) {
    Display* dpy = XtDisplay(w);
    Window win = XtWindow(w), root = DefaultRootWindow(dpy);
    for (int depth = 0; frame && depth < 32; ++depth) {
        Window r = 0, parent = 0, *kids = nullptr;
        unsigned int n = 0;
        XQueryTree(dpy, win, &r, &parent, &kids, &n);
        if (kids != nullptr)
            XFree(kids);
        if (parent == root)
            break;
        win = parent;
    }
    XWindowAttributes a;
    XGetWindowAttributes(dpy, win, &a);
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(dpy, win, root, 0, 0, &x, &y, &child);
    return {x, y, a.width, a.height};
}

// In Customized mode the main window is at its widest; its menu bar then
// holds the one of Setup mode (same corner, same height). No secondary
// window opens over it.
TEST(GuiWindows, NoWindowOpensOverTheMenuBar) {
    if (!ui_get_toggle(W_CUSTOMIZE_TB))
        set_toggle_notify(W_CUSTOMIZE_TB, true);
    settle();
    Rect bar = screen_rect(widgets[W_MENU_BAR], false);
    ASSERT_GT(bar.w, 900);
    for (const WindowRow* row : staged_windows()) {
        const WindowRow& w = *row;
        gui_manage_top_form(w.form);
        settle();
        Rect r = screen_rect(get_shell_parent(widgets[w.form]), true);
        EXPECT_FALSE(r.meets(bar)) << w.place.form_name << " at " << r.x << "," << r.y;
        gui_unmanage_top_form(w.form);
    }
}

TEST(GuiWindows, ManageChildPlaceOffsetsClearsHotspotAndWork) {
    set_hotspot(1);
    ASSERT_FALSE(ui_get_text(BW_HOTSPOT_SETUP, UI_BASIC).empty());
    pop_delay_dialog(1, W_MAIN_WINDOW, "Working", "wait", 1);
    Widget form = widgets[W_BCAST_FORM];
    gui_manage_child_place(form, main_widget, 1);
    pump(1500);
    EXPECT_FALSE(work_dialog_shown());
    EXPECT_EQ(ui_get_text(BW_HOTSPOT_SETUP, UI_BASIC), "");
    EXPECT_EQ(last_hotspot, -1);
    EXPECT_TRUE(ui_is_managed(W_BCAST_FORM));
    // Where the windows are on the screen, inside the window manager's frames.
    Display* dpy = XtDisplay(top_level);
    int px = 0, py = 0, x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(dpy, XtWindow(top_level), DefaultRootWindow(dpy), 0, 0, &px, &py, &child);
    XTranslateCoordinates(dpy, XtWindow(XtParent(form)), DefaultRootWindow(dpy), 0, 0, &x, &y,
                          &child);
    EXPECT_EQ(x, px + 20);
    EXPECT_EQ(y, py + 20);
    gui_unmanage_top_form(W_BCAST_FORM);
}

TEST(GuiAccessors, SetDirectorySetsDirectoryAndFilter) {
    Widget box = widgets[W_FILE_SEL_BOX];
    ASSERT_NE(box, nullptr);
    XmString dir = nullptr, mask = nullptr;
    std::string saved = g_install + "/data/saved_text";
    set_directory(box, saved, "*.txt");
    // The box shows the folder in its own field and the pattern as filter.
    XtVaGetValues(box, XmNdirectory, &dir, XmNpattern, &mask, nullptr);
    EXPECT_EQ(cvt_cps_str(dir), saved + "/");
    EXPECT_EQ(cvt_cps_str(mask), "*.txt");
    XmStringFree(dir);
    XmStringFree(mask);
}

TEST(GuiAccessors, GetColorByNameFallsBackToBlack) {
    EXPECT_NE(get_color("white"), get_color("black"));
    EXPECT_EQ(get_color("no such colour"), BlackPixelOfScreen(XtScreen(top_level)));
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!start_xvfb() || !start_mwm()) {
        std::fprintf(stderr, "could not start Xvfb and mwm\n");
        return 1;
    }
    g_install = copy_stage_dir();
    std::ofstream(g_install + "/bin/users.list") << mm_login_name() << "\n";
    std::filesystem::create_directories(g_install + "/data/saved_text");
    setenv("GUI_MM_DIR", g_install.c_str(), 1);
    char a0[] = "gui_mm", a1[] = "-nod", a2[] = "-w", a3[] = "public";
    char* args[] = {a0, a1, a2, a3, nullptr};
    mdm_entry_cnt = 7; // step 23 resets it
    auto t0 = std::chrono::steady_clock::now();
    gui_start(4, args);
    bool ready = pump_until(watched_init_done, 30000);
    g_ready_ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0)
            .count();
    int rc = 1;
    if (ready)
        rc = RUN_ALL_TESTS();
    else
        std::fprintf(stderr, "start-up did not finish\n");
    stop_xvfb();
    remove_tree(g_install);
    std::fflush(stdout);
    _exit(rc);
}
