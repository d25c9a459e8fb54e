// The basic-mode windows. The page renderer shows a page's record in its
// widgets: only what differs from what it last showed, so input the
// operator typed since is kept until the record itself changes. Before any
// action the operator's input is read back into the records; the basic
// commands then work on the records alone, and their outcome is shown
// here (warnings in the window's box, "Set complete." as a message).
#include "frame/basic_window.h"

#include <cstdlib>
#include <map>

#include "basic/basic_page.h"
#include "basic/modem_hooks.h"
#include "catalogue/mib_catalogue.h"
#include "devices/mrx_list.h"
#include "devices/mrx_select.h"
#include "frame/func_lists.h"
#include "frame/render.h"
#include "frame/settings_window.h"
#include "snmp_access/morix_record.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

extern BasicPage page_gen, page_gen_cont, page_wan, page_wan_edit, page_async, page_async_add,
    page_basic_dial;

namespace {

constexpr const char* MSG_CHANGES = "You made changes to existing parameters.\nIf you close the "
                                    "window now, your changes\nwill not take effect.\n\n";

// The controls of a page that are not its fields.
struct PageControls {
    const BasicPage* page;
    int list = 0;   // the page's list
    int note = 0;   // the page's own label
    int ports = 0;  // the port list field
    int modems = 0; // a modem menu that is not a field
    int edit_modem = 0;
};
const PageControls controls[] = {
    {&page_wan, BW_WAN_LIST},
    {&page_wan_edit, 0, BW_WAN_EDIT_LABEL},
    {&page_async, BW_PORT_LIST, BW_MODEM_MARKS, BW_ASYNC_PORTS, 0, BW_ASYNC_EDIT_MODEM},
    {&page_basic_dial, 0, 0, 0, BW_DIAL_MODEM_NAME, BW_DIAL_EDIT_MODEM}};

PageControls controls_of(const BasicPage& p) {
    for (const PageControls& c : controls)
        if (c.page == &p)
            return c;
    return {&p};
}

std::map<const BasicPage*, PageView> on_screen; // what each page's widgets show

bool exists(int id) {
    return id != 0 && ui_exists(id, UI_BASIC);
}

void write_value(const PageField& f, const std::string& value) {
    if (f.kind == FK_OPTION || f.kind == FK_MASK) {
        if (value.empty())
            set_om_blank(f.widget, UI_BASIC);
        else
            set_option_menu_top_button(f.widget, value, UI_BASIC);
    } else if (f.kind == FK_TOGGLE) {
        ui_set_toggle(f.widget, value == "1", false, UI_BASIC);
    } else {
        ui_set_text(f.widget, value, UI_BASIC);
    }
}

void show_field(const PageField& f, const FieldView& v, FieldView& was, bool first) {
    int label = f.widget + BW_LABEL_OFFSET;
    if (first && get_widget_label(label, UI_BASIC).empty())
        set_widget_label(label, v.label, UI_BASIC);
    bool items = (f.kind == FK_OPTION || f.kind == FK_MASK) && (first || was.items != v.items);
    if (items)
        ui_set_option_items(f.widget, v.items, UI_BASIC);
    if (items || first || was.value != v.value)
        write_value(f, v.value);
    if (first || was.sensitive != v.sensitive)
        ui_set_sensitive(f.widget, v.sensitive, UI_BASIC);
    if ((first && !v.label_sensitive) || (!first && was.label_sensitive != v.label_sensitive))
        ui_set_sensitive(label, v.label_sensitive, UI_BASIC);
    was = v;
}

void show_controls(const PageControls& c, const PageView& v, PageView& was, bool first) {
    if (c.list && (first || was.rows != v.rows)) {
        ui_list_set_policy(c.list, LSP_EXTENDED, UI_BASIC); // several are chosen together
        ui_list_delete_all(c.list, UI_BASIC);
        for (const std::string& r : v.rows)
            ui_list_add_item(c.list, r, 0, UI_BASIC);
        was.chosen.clear();
    }
    if (c.list && was.chosen != v.chosen) {
        ui_list_deselect_all(c.list, UI_BASIC);
        for (int pos : v.chosen)
            ui_list_select_pos(c.list, pos, false, UI_BASIC);
    }
    if (c.note && (first || was.note != v.note))
        set_widget_label(c.note, v.note, UI_BASIC);
    if (c.ports && was.ports != v.ports)
        ui_set_text(c.ports, v.ports, UI_BASIC);
    if (c.modems && (first || was.modems != v.modems)) {
        ui_set_option_items(c.modems, v.modems, UI_BASIC);
        was.modem.clear();
    }
    if (c.modems && !v.modem.empty() && was.modem != v.modem)
        set_option_menu_top_button(c.modems, v.modem, UI_BASIC);
    if (c.edit_modem && (first || was.modem_editing != v.modem_editing))
        ui_set_sensitive(c.edit_modem, v.modem_editing, UI_BASIC);
    std::vector<FieldView> fields = was.fields;
    was = v;
    was.fields = fields;
}

void show_all() {
    for (BasicPage* p : basic_pages())
        show_page(*p);
}

void read_page(BasicPage& p) {
    auto at = on_screen.find(&p);
    if (at == on_screen.end())
        return; // not shown yet in this run: nothing of the operator's to read
    PageView& was = at->second;
    was.fields.resize(p.view.fields.size());
    for (size_t i = 0; i < p.fields.size() && i < p.view.fields.size(); ++i) {
        const PageField& f = p.fields[i];
        FieldView& v = p.view.fields[i];
        if (!exists(f.widget))
            continue;
        std::string label = get_widget_label(f.widget + BW_LABEL_OFFSET, UI_BASIC);
        if (!label.empty())
            v.label = was.fields[i].label = label;
        if (f.kind == FK_OPTION || f.kind == FK_MASK)
            v.value = ui_get_option(f.widget, UI_BASIC);
        else if (f.kind == FK_TOGGLE)
            v.value = ui_get_toggle(f.widget, UI_BASIC) ? "1" : "0";
        else
            v.value = ui_get_text(f.widget, UI_BASIC);
        was.fields[i].value = v.value;
    }
    PageControls c = controls_of(p);
    if (exists(c.list))
        p.view.chosen = was.chosen = ui_list_selected_pos(c.list, UI_BASIC);
    if (exists(c.ports))
        p.view.ports = was.ports = ui_get_text(c.ports, UI_BASIC);
    if (exists(c.modems))
        p.view.modem = was.modem = ui_get_option(c.modems, UI_BASIC);
}

// The outcome of a basic command over window parent.
void show_outcome(const Outcome& o, int parent) {
    render_outcome(o, OutputArea{parent});
    if (!o.report.empty())
        display_msg(parent, o.report.substr(0, o.report.find_last_not_of('\n') + 1));
    show_all();
}

void manage_new_frame(int form, const std::vector<int>& hide, const std::string& title) {
    for (int h : hide)
        ui_unmanage(h, UI_BASIC);
    ui_manage(form, UI_BASIC);
    set_hotspot(-1);
    set_dialog_title(BW_SETUP_FORM, "Setup: " + title, UI_BASIC);
}

// Opens a page (hides the others of its window) and reads it the first
// time it is shown.
void open_page(BasicPage& p) {
    if (p.category) {
        std::vector<int> hide;
        for (BasicPage* o : basic_pages())
            if (o != &p && o->category)
                hide.push_back(o->form);
        manage_new_frame(p.form, hide, p.title);
        for (int t = BW_CAT_FIRST; t <= BW_CAT_LAST; ++t)
            ui_set_toggle(t, t == p.category, false, UI_BASIC);
        gui_manage_top_form(BW_SETUP_FORM, UI_BASIC);
        set_current_page(&p);
    } else {
        gui_manage_top_form(p.window, UI_BASIC);
    }
    Outcome o;
    {
        PageRun run(o);
        get_page_conf_value(p);
    }
    show_outcome(o, win_parent(p.window));
}

// Runs a command of the page's record and shows its outcome over the
// page's window; the command's own return.
int page_command(BasicPage& p, int (*command)(BasicPage&)) {
    Outcome o;
    int r;
    {
        PageRun run(o);
        r = command(p);
    }
    show_outcome(o, win_parent(p.window));
    return r;
}

int cont_basic_close_conf(const std::string& text, int window) {
    return ask_user(window, "Question", "OK", "Cancel", 0,
                    text + "Do you want to close the window?") == ASK_OK;
}

void cont_basic_close(int window) {
    if (window == BW_SETUP_FORM) {
        clear_edit_flags();
        gui_unmanage_top_form(BW_WAN_EDIT_FORM, UI_BASIC);
        gui_unmanage_top_form(BW_GEN_CONT_FORM, UI_BASIC);
        modem_window_closed();
        basic_graceful_exit();
        set_current_page(nullptr);
    } else if (window == BW_WAN_EDIT_FORM) {
        edit_flags[EF_WAN_EDIT] = 0;
    } else if (window == BW_GEN_CONT_FORM) {
        populate_page_conf(page_gen_cont); // forget what OK did not keep
        show_page(page_gen_cont);
    }
    gui_unmanage_top_form(window, UI_BASIC);
}

// Close of a window: asks when a page of it holds changes.
void close_window(int window) {
    bool edited = false;
    for (BasicPage* p : basic_pages())
        if ((window == BW_SETUP_FORM || p->window == window) && !p->first_time)
            edited |= page_edited(*p) != 0;
    if (window == BW_SETUP_FORM)
        edited |= modem_pending() != 0;
    if (!edited || cont_basic_close_conf(MSG_CHANGES, win_parent(window)))
        cont_basic_close(window);
}

// OK of General continued: the fields are checked and kept for General's Apply.
int gen_cont_checks(BasicPage& p) {
    page_edited(p);
    for (size_t i = 0; i < p.fields.size(); ++i) {
        std::string value = page_field_text(p, i);
        if (p.saved[i].changed && p.fields[i].kind == FK_TEXT &&
            check_field_value((*p.vars)[i], p.view.fields[i].label, &value) != 0)
            return 0;
    }
    return 1;
}

// The window opens before its modules are read, as every page does.
void open_wan_edit() {
    if (read_wan_choice() != 0)
        gui_manage_top_form(BW_WAN_EDIT_FORM, UI_BASIC);
    Outcome o;
    int chosen;
    {
        PageRun run(o);
        chosen = choose_wan_edit();
    }
    show_outcome(o, chosen ? BW_PARENT_WAN_EDIT : BW_PARENT_SETUP);
}

// A page's cancel dialog sits over its window when that is open (else over
// the main window).
int dialog_parent(int window) {
    return window != 0 && ui_is_managed(window, UI_BASIC) ? win_parent(window) : W_MAIN_WINDOW;
}

void edit_modem(const std::string& modem) {
    if (modem_hooks.edit_modem)
        modem_hooks.edit_modem(BW_PARENT_SETUP, modem);
    else
        display_warn(BW_PARENT_SETUP, "Modem editing is not available.");
}

std::string async_modem() {
    for (size_t i = 0; i < page_async.fields.size(); ++i)
        if (page_async.fields[i].widget == BW_ASYNC_MODEM_TYPE)
            return page_field_text(page_async, i);
    return "";
}

constexpr size_t WE_SIGPROTO_FIELD = 6;

BasicPage* page_of_field(int id) {
    for (BasicPage* p : basic_pages())
        for (const PageField& f : p->fields)
            if (f.widget == id)
                return p;
    return nullptr;
}

// The enumeration number of an option menu's choice, 0 when blank.
int option_number(const BasicPage& p, size_t i) {
    int id = 0;
    std::string number;
    if (!get_check_mib_var((*p.vars)[i], &id) ||
        !cvt_enum_str_num(id, page_field_text(p, i), &number))
        return 0;
    return std::atoi(number.c_str());
}

int window_action(int id) {
    switch (id) {
    case BW_SETUP_APPLY:
        if (current_page())
            page_command(*current_page(), page_conf_apply);
        return 1;
    case BW_SETUP_CANCEL:
        if (current_page()) {
            populate_page_conf(*current_page());
            show_page(*current_page());
        }
        return 1;
    case BW_SETUP_CLOSE:
        close_window(BW_SETUP_FORM);
        return 1;
    case BW_GEN_MORE:
        open_page(page_gen_cont);
        return 1;
    case BW_GEN_CONT_OK:
        if (page_command(page_gen_cont, gen_cont_checks))
            gui_unmanage_top_form(BW_GEN_CONT_FORM, UI_BASIC);
        return 1;
    case BW_GEN_CONT_CANCEL:
        close_window(BW_GEN_CONT_FORM);
        return 1;
    case BW_WAN_EDIT_PB:
        open_wan_edit();
        return 1;
    case BW_WAN_EDIT_APPLY:
        page_command(page_wan_edit, page_conf_apply);
        return 1;
    case BW_WAN_EDIT_CLOSE:
        close_window(BW_WAN_EDIT_FORM);
        return 1;
    case BW_WAN_SIGPROTO:
        check_sigproto_validity(option_number(page_wan_edit, WE_SIGPROTO_FIELD));
        show_page(page_wan_edit);
        return 1;
    case BW_ASYNC_ADD_OPEN:
        page_async_add.first_time = true;
        open_page(page_async_add);
        return 1;
    case BW_ADD_OK:
        if (page_command(page_async_add, page_conf_apply))
            gui_unmanage_top_form(BW_ADD_FORM, UI_BASIC);
        return 1;
    case BW_ADD_CLOSE:
        if (!page_edited(page_async_add) || cont_basic_close_conf(MSG_CHANGES, BW_PARENT_SETUP))
            gui_unmanage_top_form(BW_ADD_FORM, UI_BASIC);
        return 1;
    case BW_ASYNC_EDIT_MODEM:
        edit_modem(async_modem());
        return 1;
    case BW_DIAL_EDIT_MODEM:
        edit_modem(page_basic_dial.view.modem);
        return 1;
    default:
        return 0;
    }
}

} // namespace

void show_page(BasicPage& p) {
    auto at = on_screen.find(&p);
    bool first = at == on_screen.end();
    PageView& was = on_screen[&p];
    was.fields.resize(p.view.fields.size());
    for (size_t i = 0; i < p.fields.size() && i < p.view.fields.size(); ++i)
        show_field(p.fields[i], p.view.fields[i], was.fields[i], first);
    show_controls(controls_of(p), p.view, was, first);
    if (p.view.bell) {
        ui_bell(50);
        p.view.bell = was.bell = false;
    }
}

void read_pages() {
    for (BasicPage* p : basic_pages())
        read_page(*p);
}

int basic_help_id(int id) {
    if (id == BW_SETUP_HELP && current_page())
        return current_page()->help_id;
    return id;
}

int basic_dispatch(int id) {
    page_changed = show_page;
    dialog_parent_of = dialog_parent;
    read_pages();
    if (id >= BW_CAT_FIRST && id <= BW_CAT_LAST) {
        // A radio box also reports the toggle it turned off.
        BasicPage* p = page_of_category(id);
        if (p && p != current_page() && ui_get_toggle(id, UI_BASIC))
            open_page(*p);
        return p != nullptr;
    }
    if (window_action(id))
        return 1;
    for (BasicPage* p : basic_pages()) {
        if (p->hooks.action && p->hooks.action(*p, id)) {
            show_page(*p);
            return 1;
        }
    }
    return page_of_field(id) != nullptr; // a field changed: compared at Apply
}

void process_setup_basic() {
    page_changed = show_page;
    dialog_parent_of = dialog_parent;
    basic_init();
    on_screen.clear(); // a new run: every control is written again
    if (!check_main_sel(W_MAIN_WINDOW, SEL_REACHABLE) || !init_4_configure(selected_reachable()))
        return;
    for (int t = BW_CAT_FIRST; t <= BW_CAT_LAST; ++t) {
        ui_set_toggle(t, false, false, UI_BASIC);
        ui_set_sensitive(t, category_allowed(t), UI_BASIC);
    }
    set_current_page(nullptr);
    open_page(page_gen);
    check_sel_set_mrxs(BW_PARENT_SETUP, "Morix(es) not settable. Morix parameters will not be set.",
                       0);
}
