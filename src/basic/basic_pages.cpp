// The pages of the setup window (one row each), the frame's start and end
// of a run, page switching and the action callback of basic-mode widgets.
#include "ui/widget_ids.h"
#include <algorithm>
#include <cstdlib>

#include "basic/basic_page.h"
#include "basic/modem_hooks.h"
#include "catalogue/func_display.h"
#include "catalogue/mib_catalogue.h"
#include "devices/mrx_list.h"
#include "devices/mrx_select.h"
#include "snmp_access/morix_record.h"
#include "ui/ui.h"
#include "ui/window_state.h"

extern BasicPage page_gen, page_gen_cont, page_ip, page_ipx, page_at, page_lat, page_traps,
    page_wan, page_wan_edit, page_rem_addr, page_ppp_dial, page_async, page_async_add,
    page_basic_dial;

std::vector<BasicPage*>& basic_pages() {
    static std::vector<BasicPage*> pages = {
        &page_gen,      &page_gen_cont, &page_ip,        &page_ipx,       &page_at,
        &page_lat,      &page_traps,    &page_wan,       &page_wan_edit,  &page_rem_addr,
        &page_ppp_dial, &page_async,    &page_async_add, &page_basic_dial};
    return pages;
}

namespace {
BasicPage* shown = nullptr; // page of the setup window
constexpr const char* MSG_CHANGES = "You made changes to existing parameters.\nIf you close the "
                                    "window now, your changes\nwill not take effect.\n\n";
} // namespace

BasicPage* find_page(const std::string& name) {
    for (BasicPage* p : basic_pages())
        if (name == p->name)
            return p;
    return nullptr;
}

BasicPage* page_of_category(int category) {
    for (BasicPage* p : basic_pages())
        if (p->category == category)
            return p;
    return nullptr;
}

BasicPage* current_page() {
    return shown;
}

void basic_init() {
    for (BasicPage* p : basic_pages())
        page_window_init(*p);
}

void basic_graceful_exit() {
    for (BasicPage* p : basic_pages())
        page_window_exit(*p);
}

int init_4_configure() {
    basic_init();
    if (!check_main_sel(W_MAIN_WINDOW, SEL_REACHABLE) || set_mrx_lst() == 0)
        return 0;
    bool single = port_mrx_map.count == 1;
    for (BasicPage* p : basic_pages())
        for (const PageField& f : p->fields)
            if (f.flags & FF_SINGLE)
                gray_out_text_widget(f.widget, !single, single);
    std::fill(std::begin(edit_flags), std::end(edit_flags), 0);
    edit_param_flag = 0;
    // The WAN pages only for devices with WAN modules.
    bool wan = false;
    for (int d : basic_devices())
        wan |= host_info_list[d]->wan_count > 0;
    for (int t = BW_CAT_FIRST; t <= BW_CAT_LAST; ++t) {
        ui_set_toggle(t, false, false, UI_BASIC);
        ui_set_sensitive(t, page_of_category(t) != nullptr && (t != CAT_WAN || wan), UI_BASIC);
    }
    shown = nullptr;
    return 1;
}

void manage_new_frame(int form, const std::vector<int>& hide, const std::string& title) {
    for (int h : hide)
        ui_unmanage(h, UI_BASIC);
    ui_manage(form, UI_BASIC);
    set_hotspot(-1);
    set_dialog_title(BW_SETUP_FORM, "Setup: " + title, UI_BASIC);
}

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
        shown = &p;
    } else {
        gui_manage_top_form(p.window, UI_BASIC);
    }
    get_page_conf_value(p);
}

void cont_basic_close(int window) {
    if (window == BW_SETUP_FORM) {
        std::fill(std::begin(edit_flags), std::end(edit_flags), 0);
        edit_param_flag = 0;
        gui_unmanage_top_form(BW_WAN_EDIT_FORM, UI_BASIC);
        gui_unmanage_top_form(BW_GEN_CONT_FORM, UI_BASIC);
        modem_window_closed();
        basic_graceful_exit();
        shown = nullptr;
    } else if (window == BW_WAN_EDIT_FORM) {
        edit_flags[EF_WAN_EDIT] = 0;
    } else if (window == BW_GEN_CONT_FORM) {
        populate_page_conf(page_gen_cont); // forget what OK did not keep
    }
    gui_unmanage_top_form(window, UI_BASIC);
}

namespace {

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
void gen_cont_ok() {
    BasicPage& p = page_gen_cont;
    page_edited(p);
    for (size_t i = 0; i < p.fields.size(); ++i) {
        std::string kept;
        if (p.saved[i].changed && p.fields[i].kind == FK_TEXT &&
            read_txtfld_4_ok(p.fields[i].widget, (*p.vars)[i], p.fields[i].widget + BW_LABEL_OFFSET,
                             win_parent(p.window), &kept) != 0)
            return;
    }
    gui_unmanage_top_form(BW_GEN_CONT_FORM, UI_BASIC);
}

void open_wan_edit() {
    if (read_wan_choice() == 0) {
        display_warn(BW_PARENT_SETUP, "You must select at least one WAN.");
        return;
    }
    std::string rows;
    for (const std::string& r : page_list(BW_WAN_LIST).rows)
        rows += (rows.empty() ? "" : "\n") + r;
    set_widget_label(BW_WAN_EDIT_LABEL, rows, UI_BASIC);
    page_wan_edit.first_time = true;
    open_page(page_wan_edit);
}

} // namespace

namespace {

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

} // namespace

int basic_help_id(int id) {
    if (id == BW_SETUP_HELP && shown)
        return shown->help_id;
    return id;
}

int basic_dispatch(int id) {
    if (id >= BW_CAT_FIRST && id <= BW_CAT_LAST) {
        // A radio box also reports the toggle it turned off.
        BasicPage* p = page_of_category(id);
        if (p && p != shown && page_toggle(id))
            open_page(*p);
        return p != nullptr;
    }
    switch (id) {
    case BW_SETUP_APPLY:
        if (shown)
            page_conf_apply(*shown);
        return 1;
    case BW_SETUP_CANCEL:
        if (shown)
            populate_page_conf(*shown);
        return 1;
    case BW_SETUP_CLOSE:
        close_window(BW_SETUP_FORM);
        return 1;
    case BW_GEN_MORE:
        open_page(page_gen_cont);
        return 1;
    case BW_GEN_CONT_OK:
        gen_cont_ok();
        return 1;
    case BW_GEN_CONT_CANCEL:
        close_window(BW_GEN_CONT_FORM);
        return 1;
    case BW_WAN_EDIT_PB:
        open_wan_edit();
        return 1;
    case BW_WAN_EDIT_APPLY:
        page_conf_apply(page_wan_edit);
        return 1;
    case BW_WAN_EDIT_CLOSE:
        close_window(BW_WAN_EDIT_FORM);
        return 1;
    case BW_WAN_SIGPROTO:
        check_sigproto_validity(option_number(page_wan_edit, WE_SIGPROTO_FIELD));
        return 1;
    default:
        for (BasicPage* p : basic_pages())
            if (p->hooks.action && p->hooks.action(*p, id))
                return 1;
        return page_of_field(id) != nullptr; // a field changed: compared at Apply
    }
}

void process_setup_basic() {
    if (!init_4_configure())
        return;
    open_page(page_gen);
    check_sel_set_mrxs(BW_PARENT_SETUP, "Morix(es) not settable. Morix parameters will not be set.",
                       0);
}
