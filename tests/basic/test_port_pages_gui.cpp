// The port pages in the windowed program under a private X server and the
// window manager, with the real interface description: the Async Ports,
// Remote Address, PPP Dial Access and Basic Dial Access pages opened on a
// simulated device, the Add Async Port window, and Edit Modem of the async page opening the modem
// dialog on the demo load host's file. Every field of a page lies inside
// the setup window; screenshots in build/frame_screens/pages_*.png.
// gtest first: the X headers define macros that clash with its names.
#include <gtest/gtest.h>

#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "../frame/gui_harness.h"
#include "../frame/gui_run.h"
#include "basic/modem_hooks.h"
#include "basic/port_pages.h"
#include "files/modem_dialog.h"
#include "frame/motif_internal.h"
#include "frame/startup.h"
#include "support/sim_process.h"
#include "support/test_dirs.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

bool g_ready = false;
std::unique_ptr<SimProcess> g_sim;
const std::string A = "127.0.67.1", LH = "127.0.67.9";

void press_basic(int id) {
    XmPushButtonCallbackStruct cbs = {};
    cbs.reason = XmCR_ACTIVATE;
    XtCallCallbacks(widgets_basic[id], XmNactivateCallback, &cbs);
    pump(400);
}

// The rectangle of a widget on the screen.
struct Box {
    Position x = 0, y = 0;
    Dimension w = 0, h = 0;
};
Box box_of(Widget w) {
    Box b;
    XtTranslateCoords(w, 0, 0, &b.x, &b.y);
    XtVaGetValues(w, XmNwidth, &b.w, XmNheight, &b.h, nullptr);
    return b;
}

// Every field and label of the page shown lies inside its window.
void expect_fields_inside(const BasicPage& p) {
    Box win = box_of(XtParent(widgets_basic[p.window]));
    std::printf("window with page %s: %dx%d\n", p.name, win.w, win.h);
    for (const PageField& f : p.fields)
        for (int id : {f.widget, f.widget + BW_LABEL_OFFSET}) {
            Widget w = widgets_basic[id];
            if (!w || (f.kind == FK_TOGGLE && id != f.widget))
                continue;
            Box b = box_of(w);
            EXPECT_TRUE(XtIsManaged(w)) << p.name << " " << f.key;
            EXPECT_LE(b.x + b.w, win.x + win.w) << p.name << " " << f.key << " cut on the right";
            EXPECT_LE(b.y + b.h, win.y + win.h) << p.name << " " << f.key << " cut at the bottom";
            EXPECT_GT(b.w, 8) << p.name << " " << f.key;
        }
}

TEST(PortPagesGui, FourPagesOpenAndEditModemShowsTheDialog) {
    REQUIRE_GUI(g_ready);
    ui_list_select_pos(W_MRX_LIST, 1, false);
    press(W_SETUP_BTN);
    pump(500);
    ASSERT_TRUE(ui_is_managed(BW_SETUP_FORM, UI_BASIC));
    XmTextFieldSetString(widgets_basic[BW_ASYNC_PORTS], const_cast<char*>("1-4"));
    for (const char* name : {"async-ports", "remote-address", "ppp-dial", "basic-dial"}) {
        BasicPage* p = find_page(name);
        ASSERT_NE(p, nullptr) << name;
        ASSERT_NE(widgets_basic[p->form], nullptr) << name << " has no form";
        XmToggleButtonSetState(widgets_basic[p->category], True, True);
        pump(800);
        EXPECT_TRUE(ui_is_managed(p->form, UI_BASIC)) << name;
        EXPECT_EQ(current_page(), p);
        expect_fields_inside(*p);
        screenshot(std::string("pages_") + name);
    }
    // values read into the fields keep their dots (the address filters
    // take what the program puts there), and the async page's port rows
    char* mask = XmTextFieldGetString(widgets_basic[902]);
    EXPECT_EQ(std::string(mask).find('.') != std::string::npos || !*mask, true) << mask;
    XtFree(mask);
    EXPECT_EQ(ui_list_count(940, UI_BASIC), 32);

    XmToggleButtonSetState(widgets_basic[CAT_ASYNC], True, True);
    pump(500);
    press_basic(BW_ASYNC_EDIT_MODEM);
    pump(500);
    ASSERT_TRUE(widgets[W_MDM_DIALOG] && ui_is_managed(W_MDM_DIALOG)) << "no Edit Modem dialog";
    char* name = XmTextFieldGetString(widgets[W_MDM_NAME_TF]);
    EXPECT_STREQ(name, "demo_v90");
    XtFree(name);
    Box d = box_of(XtParent(widgets[W_MDM_DIALOG]));
    std::printf("Edit Modem dialog: %dx%d\n", d.w, d.h);
    screenshot("pages_edit_modem");
    press(W_MDM_CANCEL);
    pump(300);
    EXPECT_FALSE(ui_is_managed(W_MDM_DIALOG));

    // Add Async Port opens its own window with its fields read from ports 1-4
    BasicPage* add = find_page("async-add");
    ASSERT_NE(add, nullptr);
    press_basic(BW_ASYNC_ADD_OPEN);
    pump(800);
    ASSERT_TRUE(ui_is_managed(add->window, UI_BASIC)) << "no Add Async Port window";
    for (const PageField& f : add->fields)
        ASSERT_NE(widgets_basic[f.widget], nullptr) << "Add Async Port lacks " << f.key;
    expect_fields_inside(*add);
    screenshot("pages_async_add");
    answer_later(3000, ASK_OK);
    press_basic(182);
    EXPECT_FALSE(ui_is_managed(add->window, UI_BASIC));
    // Nothing was changed: no close question should come (answered only so
    // that a fault cannot hang the test).
    answer_later(3000, ASK_OK);
    press_basic(BW_SETUP_CLOSE);
    EXPECT_FALSE(ui_is_managed(BW_SETUP_FORM, UI_BASIC));
}

} // namespace

int main(int argc, char** argv) {
    // The load host serves copies of the demo configuration file and its
    // include file.
    TempDir tmp;
    std::string root = tmp.file("root"), demo = sim_profile("../loadhost/");
    mkdir(root.c_str(), 0755);
    for (const char* f : {"morix.cfg", "modems.inc"})
        write_file(root + "/" + f, read_file(demo + f));
    GuiTestRun run;
    run.sim.load_host = LH;
    run.sim.root = root;
    run.sim.devices = {{sim_profile("modelj.prof"), A}};
    run.sim.sets = {A + ":mrxPrefLoadAddr=" + LH, A + ":bootHost=" + LH};
    for (int port = 1; port <= 4; ++port)
        run.sim.sets.push_back(A + ":mrxpModemVar." + std::to_string(port) + "=demo_v90");
    run.first = A;
    run.privileged = true;
    run.env = {"TMPDIR=" + tmp.path()};
    run_gui_tests(argc, argv, run, &g_ready, &g_sim);
}
