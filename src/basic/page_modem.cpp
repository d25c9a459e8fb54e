// Edit Modem in the Async Ports and Basic Dial Access pages: the modem
// information of the selected devices' configuration file is loaded the
// first time a page asks for the dialog, the dialog opens through the files
// layer, the page's Apply uploads what the dialog changed, and closing the
// setup window releases the local copies.
#include <algorithm>
#include <map>

#include "basic/modem_hooks.h"
#include "basic/port_pages.h"
#include "files/modem_dialog.h"
#include "files/modem_info.h"

extern BasicPage page_async, page_basic_dial, page_gen;

namespace {

int loaded = MW_NONE;                     // window kind whose modem information is loaded
std::map<std::string, MdmTexts> snapshot; // definitions as loaded or last applied

int kind_of_page() {
    return current_page() == &page_basic_dial ? MW_BASIC_DIAL : MW_ASYNC;
}

// The page's modem menu value (the async page's field).
FieldView* async_modem_type() {
    for (size_t i = 0; i < page_async.fields.size() && i < page_async.view.fields.size(); ++i)
        if (page_async.fields[i].widget == BW_ASYNC_MODEM_TYPE)
            return &page_async.view.fields[i];
    return nullptr;
}

std::string async_modem() {
    const FieldView* v = async_modem_type();
    return v ? v->value : "";
}

// Both pages shown again after the modem code changed their records.
void show_modem_pages() {
    if (!page_changed)
        return;
    page_changed(page_async);
    page_changed(page_basic_dial);
}

void set_modem_controls(int kind, bool on) {
    (kind == MW_ASYNC ? page_async : page_basic_dial).view.modem_editing = on;
    show_modem_pages();
}

// The configuration file name as applied and as typed in the General page.
void config_names(std::string* applied, std::string* typed) {
    for (size_t i = 0; i < page_gen.fields.size() && i < page_gen.saved.size(); ++i) {
        if (std::string(page_gen.fields[i].key) != "config-file")
            continue;
        *applied = page_gen.saved[i].text == set_to_blank ? "" : page_gen.saved[i].text;
        *typed = page_field_text(page_gen, i);
        if (*typed == set_to_blank)
            *typed = "";
    }
}

void take_snapshot() {
    snapshot.clear();
    for (const ModemDef& d : mdm_info.cfg_list)
        if (!d.duplicate)
            snapshot[d.name] = mdm_edit_texts(d);
}

// Both menus from the lists; a definition added, changed or removed since
// the last load or Apply is marked edited.
void rebuild_from_lists() {
    std::string current = async_modem(), chosen;
    std::vector<std::string> names = mdm_opt_entries(current, &chosen);
    std::vector<bool> edited(names.size(), false);
    for (size_t i = 0; i < names.size(); ++i) {
        ModemDef* d = chk_mdm_list(mdm_info.cfg_list, names[i]);
        auto was = snapshot.find(names[i]);
        edited[i] = d ? (was == snapshot.end() || was->second != mdm_edit_texts(*d)) : false;
    }
    rebuild_modem_menus(names, edited);
    if (loaded == MW_ASYNC && !chosen.empty() && async_modem_type())
        async_modem_type()->value = chosen;
    if (!mdm_info.org_mdm_typ_prm.empty())
        page_basic_dial.view.modem = mdm_info.org_mdm_typ_prm;
    show_modem_pages();
}

// Loads the modem information for the page's window; 1 when available.
int load_for(int kind) {
    if (loaded == kind)
        return 1;
    if (loaded != MW_NONE)
        mdm_close_act(0);
    loaded = MW_NONE;
    bool async = kind == MW_ASYNC;
    mdm_set_window(kind, async ? async_modem() : "", async ? BW_ASYNC_MODEM_TYPE : 0,
                   async ? async_chosen_ports() : std::vector<int>{});
    int on = mdm_init(BW_PARENT_SETUP);
    set_modem_controls(kind, on != 0);
    if (!on)
        return 0;
    loaded = kind;
    mdm_info.port_form_edited = 0;
    take_snapshot();
    rebuild_from_lists();
    return 1;
}

void open_edit_modem(int window, const std::string& modem) {
    int kind = kind_of_page();
    if (!load_for(kind))
        return;
    rebuild_from_lists();
    MdmEditOpen open;
    open.parent = window;
    open.name = kind == MW_ASYNC ? modem : mdm_info.org_mdm_typ_prm;
    config_names(&open.cfg_applied, &open.cfg_typed);
    mdm_edit_act(open);
}

struct HookSetter {
    HookSetter() { modem_hooks.edit_modem = open_edit_modem; }
} hook_setter;

} // namespace

int modem_page_apply(const BasicPage& p) {
    int kind = &p == &page_basic_dial ? MW_BASIC_DIAL : MW_ASYNC;
    if (loaded != kind)
        return 1;
    int on = mdm_apply_act(BW_PARENT_SETUP);
    mdm_info.port_form_edited = 0;
    if (!on) {
        set_modem_controls(kind, false);
        mdm_close_act(0);
        loaded = MW_NONE;
        return 0;
    }
    take_snapshot();
    rebuild_from_lists();
    return 1;
}

void modem_dialog_done() {
    if (loaded != MW_NONE)
        rebuild_from_lists();
}

int modem_pending() {
    return loaded != MW_NONE && (mdm_info.cfg_fil_upd_flag || mdm_info.port_form_edited);
}

void modem_window_closed() {
    if (loaded != MW_NONE)
        mdm_close_act(0);
    loaded = MW_NONE;
    snapshot.clear();
    set_modem_controls(MW_ASYNC, true);
    set_modem_controls(MW_BASIC_DIAL, true);
}
