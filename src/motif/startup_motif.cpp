// Start-up of the windowed program: toolkit and display, the interface
// description, the main window, the staged initialisation by 50 ms timers,
// and the two ways the program ends.
#include "ui/widget_ids.h"
#include <Mrm/MrmAppl.h>
#include <Xm/Label.h>
#include <Xm/MainW.h>
#include <Xm/Protocols.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "basic/basic_frame.h"
#include "devices/ident_memory.h"
#include "frame/commands.h"
#include "frame/dispatch.h"
#include "frame/fallback_resources.h"
#include "frame/gui_init.h"
#include "frame/registry.h"
#include "frame/startup.h"
#include "motif/motif_internal.h"
#include "ui/app_globals.h"
#include "ui/ui.h"

Widget top_level = nullptr;
Widget main_widget = nullptr;
XtAppContext app_context = nullptr;
MrmHierarchy mrm_hierarchy = nullptr;
XtTranslations text_translation_table = nullptr;
Pixel g_cancel_scale_fg = 0;
void (*g_init_done_hook)() = nullptr;
int g_init_done = 0;

namespace {

// Shell slots of the windows that get dialogs of their own.

struct AppVars {
    Pixel cancel_scale_fg;
};
AppVars g_app_vars;

XtResource app_resources[] = {
    {const_cast<char*>("cancelScaleFg"), const_cast<char*>("CancelScaleFg"),
     const_cast<char*>(XmRPixel), sizeof(Pixel), XtOffsetOf(AppVars, cancel_scale_fg),
     const_cast<char*>(XmRString), const_cast<char*>("XtDefaultForeground")}};

// The program's name picks the colour scheme unless -name says otherwise.
std::vector<char*> with_default_name(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    bool named = false;
    for (int i = 1; i < argc; ++i)
        named = named || std::strcmp(argv[i], "-name") == 0;
    if (!named) {
        args.insert(args.begin() + 1, const_cast<char*>("-name"));
        args.insert(args.begin() + 2, const_cast<char*>("gui_mm_color"));
    }
    args.push_back(nullptr);
    return args;
}

void open_toolkit(int* argc, char** argv) {
    MrmInitialize();
    XtSetLanguageProc(nullptr, nullptr, nullptr);
    XtToolkitInitialize();
    app_context = XtCreateApplicationContext();
    XtAppSetFallbackResources(app_context, fallback_resources());
    Display* dpy =
        XtOpenDisplay(app_context, nullptr, nullptr, "gui_mm_exe", nullptr, 0, argc, argv);
    if (dpy == nullptr)
        s_error("Failed to open the display.");
    top_level =
        XtVaAppCreateShell(nullptr, "gui_mm_exe", applicationShellWidgetClass, dpy, nullptr);
    XtGetApplicationResources(top_level, &g_app_vars, app_resources, XtNumber(app_resources),
                              nullptr, 0);
    g_cancel_scale_fg = g_app_vars.cancel_scale_fg;
}

void open_hierarchy() {
    std::string uid = mm_path("bin/gui_mm.uid");
    char* files[] = {const_cast<char*>(uid.c_str())};
    if (MrmOpenHierarchyPerDisplay(XtDisplay(top_level), 1, files, nullptr, &mrm_hierarchy) !=
        MrmSUCCESS)
        s_error("Cannot open hierarchy. Check GUI_MM_DIR environment variable for accuracy.");
}

void show_main_window() {
    fetch_widget("S_MAIN_WINDOW", top_level, W_MAIN_WINDOW);
    main_widget = widgets[W_MAIN_WINDOW];
    if (widgets[W_CUSTOM_AREA] != nullptr)
        XtUnmanageChild(widgets[W_CUSTOM_AREA]);
    XtManageChild(main_widget);
    XFlush(XtDisplay(top_level));
    XtRealizeWidget(top_level);
    XmUpdateDisplay(top_level);
    register_main_tab_groups();
    layout_main_window(0);
}

void fetch_and_init_to(XtPointer client, XtIntervalId*);

void arm_step(int step) {
    XtAppAddTimeOut(app_context, INIT_TIMER_MS, fetch_and_init_to,
                    reinterpret_cast<XtPointer>(static_cast<long>(step)));
}

void create_window(const WindowRow& w) {
    const Placement& p = w.place;
    create_top_popup(top_level, p.x, p.y, p.width, p.height, w.title, p.icon_name, p.shell_name,
                     p.shell, p.form_name, w.form);
}

void create_step_windows(int step) {
    for (const WindowRow* w : staged_windows())
        if (w->place.step == step)
            create_window(*w);
}

void recreate_window(int form_slot) {
    const WindowRow* w = window_of_form(form_slot);
    if (w != nullptr && w->place.step > 0)
        create_window(*w);
}

void finish_init();

// Steps 0 to 16: dialogs and the secondary windows.
bool init_step_early(int step) {
    switch (step) {
    case 0:
        fetch_widget("file_sel_box", main_widget, W_FILE_SEL_BOX);
        set_directory(widgets[W_FILE_SEL_BOX], mm_path("data/mrx_lists"));
        break;
    case 1:
        if (widgets[W_INIT_FORM] != nullptr)
            XtManageChild(widgets[W_INIT_FORM]);
        set_app_cursor(CURSOR_BUSY);
        break;
    case 2:
        fetch_widget("question_box", main_widget, W_QUESTION_BOX);
        break;
    case 3:
        fetch_widget("prompt_box", main_widget, W_NAME_PROMPT);
        fetch_widget("cancel_dialog", main_widget, W_CANCEL_DIALOG);
        break;
    case 4:
        fetch_widget("boot_dialog", main_widget, W_BOOT_DIALOG);
        break;
    case 6:
        create_step_windows(step);
        fetch_widget("set_vd_dialog", widgets[W_SET_SHELL], W_SET_VD_DIALOG);
        break;
    case 7:
        // The value dialog and the two status windows are built once more,
        // replacing those of step 6.
        fetch_widget("set_vd_dialog", widgets[W_SET_SHELL], W_SET_VD_DIALOG);
        recreate_window(W_MRX_STAT_FORM);
        recreate_window(W_MP_STAT_FORM);
        break;
    case 10:
        create_step_windows(step);
        fetch_widget("int_mdms_dialog", main_widget, W_IMDM_DIALOG);
        break;
    default:
        if (step > 16)
            return false;
        create_step_windows(step);
        break;
    }
    return true;
}

// Steps 17 to 25: the last windows, the basic-mode forms and the catalogue.
void init_step_late(int step) {
    switch (step) {
    case 17:
        create_step_windows(step);
        fetch_widget("scr_prt_dialog", widgets[W_SCR_CRT_SHELL], 385);
        break;
    case 18:
        create_step_windows(step);
        fetch_widget("scr_exe_prt_dialog", widgets[W_SCR_EXE_SHELL], 432);
        break;
    case 20:
        fetch_widget("gen_conf_form", main_widget, 0, UI_BASIC);
        break;
    case 21:
        fetch_widget("a_gen_conf_form", main_widget, 300, UI_BASIC);
        break;
    case 22:
        break;
    case 23:
        fetch_widget("a_aport_main_form", main_widget, 181, UI_BASIC);
        mdm_entry_cnt = 0;
        break;
    case 24:
        fetch_widget("conf_wan_main_form", main_widget, 620, UI_BASIC);
        // Warnings and questions of the basic windows name them by these
        // main-table slots.
        widgets[BW_PARENT_SETUP] = widgets_basic[BW_SETUP_FORM];
        widgets[BW_PARENT_GEN_CONT] = widgets_basic[BW_GEN_CONT_FORM];
        widgets[BW_PARENT_WAN_EDIT] = widgets_basic[BW_WAN_EDIT_FORM];
        break;
    case 25:
        if (gui_init() != 0)
            s_error("Cannot open data files.\nCheck file permissions and GUI_MM_DIR environment "
                    "variable.");
        gui_check_security(mm_login_name());
        finish_init();
        break;
    default:
        create_step_windows(step);
        break;
    }
}

void init_step_work(int step) {
    if (!init_step_early(step))
        init_step_late(step);
}

void fetch_and_init_to(XtPointer client, XtIntervalId*) {
    int step = static_cast<int>(reinterpret_cast<long>(client));
    XFlush(XtDisplay(top_level));
    init_step_work(step);
    if (step >= INIT_LAST_STEP)
        return;
    int percent = init_progress_percent(step);
    if (percent >= 0 && widgets[W_INIT_LABEL] != nullptr) {
        set_widget_label(W_INIT_LABEL, init_progress_text(percent));
        XmUpdateDisplay(widgets[W_INIT_LABEL]);
    }
    arm_step(step + 1);
}

void init_display() {
    if (!g_cmd_opts.comm_str.empty())
        ui_set_text(W_COMM_TF, g_cmd_opts.comm_str);
    if (!g_cmd_opts.mrx_name.empty()) {
        ui_set_text(W_MRX_NAME_TF, g_cmd_opts.mrx_name);
        dispatch_main(W_ADD_PB);
        if (ui_list_count(W_MRX_LIST) > 0)
            ui_set_text(W_MRX_NAME_TF, "");
    }
    set_focus(W_MRX_NAME_TF);
    main_focus_widget = widgets[W_MRX_NAME_TF];
    set_app_cursor(CURSOR_NORMAL);
    if (g_cmd_opts.dsc_flag == 1)
        cmd_startup_discovery(g_cmd_opts.dsc_naddr_str, g_cmd_opts.dsc_snmask_str,
                              g_cmd_opts.dsc_timeout);
    g_cmd_opts.dsc_naddr_str.clear();
    g_cmd_opts.dsc_snmask_str.clear();
}

void finish_init() {
    if (widgets[W_INIT_FORM] != nullptr)
        XtUnmanageChild(widgets[W_INIT_FORM]);
    g_customized_mode = 1;
    enter_setup_mode();
    init_display();
    // After start-up only list loads use remembered identification.
    g_ident_use = IDENT_LOADS;
    g_init_done = 1;
    set_commands_available(true);
    if (g_init_done_hook != nullptr)
        g_init_done_hook();
}

} // namespace

int gui_start(int argc, char** argv) {
    g_ident_use = IDENT_LOADS_AND_ADDS;
    std::fill(widgets, widgets + MAX_WIDGETS, nullptr);
    std::fill(widgets_basic, widgets_basic + MAX_WIDGETS_BASIC, nullptr);
    std::string warning = resolve_mm_dir();
    check_xenvironment(stderr);
    // The toolkit keeps pointers into the argument list for the whole run.
    static std::vector<char*> args;
    args = with_default_name(argc, argv);
    int n = static_cast<int>(args.size()) - 1;
    open_toolkit(&n, args.data());
    open_hierarchy();
    register_callback_names();
    scan_command_line(n, args.data(), &g_cmd_opts, stderr);
    show_main_window();
    set_commands_available(false);
    if (!warning.empty())
        display_warn(W_MAIN_WINDOW, warning);
    fetch_widget("init_fd", widgets[W_LAYOUT_FORM], W_INIT_FORM);
    XtUnmanageChild(widgets[W_INIT_FORM]);
    arm_step(0);
    return 0;
}

int gui_main(int argc, char** argv) {
    gui_start(argc, argv);
    XtAppMainLoop(app_context);
    return 0;
}

// ---- fetching windows -------------------------------------------------------

int fetch_widget(const char* name, Widget parent, int slot, int table) {
    Widget* tab = table == UI_BASIC ? widgets_basic : widgets;
    if (tab[slot] != nullptr) {
        XtUnmanageChild(tab[slot]);
        XtDestroyWidget(tab[slot]);
        tab[slot] = nullptr;
    }
    Widget w = table == UI_MAIN ? create_dynamically(name, parent, slot) : nullptr;
    if (w == nullptr) {
        MrmType cls;
        if (MrmFetchWidget(mrm_hierarchy, const_cast<char*>(name), parent, &w, &cls) != MrmSUCCESS)
            s_error("Widget fetch failed.");
        // The dialogs built in code keep the toolkit's own traversal; the
        // main window registers its controls in its own order.
        if (!(table == UI_MAIN && slot == W_MAIN_WINDOW))
            register_tab_groups(w);
        set_dialog_keys(w);
    }
    hide_dot_files(w);
    tab[slot] = w;
    watch_slot(w, slot, table);
    install_focus_handlers(w);
    return 1;
}

int create_top_popup(Widget parent, int x, int y, int width, int height, const char* title,
                     const char* icon_name, const char* shell_name, int shell_slot,
                     const char* form_name, int form_slot) {
    Arg args[8];
    int n = 0;
    XtSetArg(args[n], XmNx, x), ++n;
    XtSetArg(args[n], XmNy, y), ++n;
    XtSetArg(args[n], XmNwidth, width), ++n;
    XtSetArg(args[n], XmNheight, height), ++n;
    XtSetArg(args[n], XmNtitle, title), ++n;
    XtSetArg(args[n], XmNiconName, icon_name), ++n;
    XtSetArg(args[n], XmNdeleteResponse, XmUNMAP), ++n;
    if (widgets[shell_slot] != nullptr) {
        XtDestroyWidget(widgets[shell_slot]);
        widgets[shell_slot] = nullptr;
        widgets[form_slot] = nullptr;
    }
    Widget shell = XtCreatePopupShell(shell_name, topLevelShellWidgetClass, parent, args, n);
    widgets[shell_slot] = shell;
    watch_slot(shell, shell_slot, UI_MAIN);
    XtRealizeWidget(shell);
    fetch_widget(form_name, shell, form_slot);
    return 1;
}

// ---- ending -------------------------------------------------------------------

namespace {

[[noreturn]] void close_and_exit(int status) {
    if (mrm_hierarchy != nullptr)
        MrmCloseHierarchy(mrm_hierarchy);
    mrm_hierarchy = nullptr;
    if (top_level != nullptr) {
        for (int i = 0; i < MAX_WIDGETS; ++i) {
            Widget w = widgets[i];
            if (w != nullptr && XtIsShell(w) && w != top_level && w != main_widget)
                XtDestroyWidget(w);
        }
        if (main_widget != nullptr)
            XtDestroyWidget(main_widget);
        XtDestroyWidget(top_level);
        XFlush(XtDisplay(top_level));
    }
    std::fflush(stdout);
    std::exit(status);
}

} // namespace

void process_exit() {
    close_and_exit(0);
}

void exit_gracefully(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    // A failure must not look like success to whoever started the program.
    close_and_exit(1);
}

void s_error(const std::string& message) {
    std::fprintf(stderr, "\n\n%s\n\n", message.c_str());
    std::fflush(stderr);
    std::exit(1);
}
