// The pages of the setup window (one row each), the start and end of a
// run, and the basic command: a page read from the devices of a request,
// its fields changed and applied, as one outcome.
#include "snmp_access/session.h"
#include "ui/widget_ids.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "basic/basic_page.h"
#include "devices/mrx_list.h"
#include "snmp_access/morix_record.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/port_resolve.h"

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

extern BasicPage page_wan_edit;

namespace {
BasicPage* shown = nullptr; // page of the setup window
} // namespace

int page_field_index(const BasicPage& p, const std::string& key) {
    for (size_t i = 0; i < p.fields.size(); ++i)
        if (key == p.fields[i].key && p.fields[i].kind != FK_SHOWN)
            return static_cast<int>(i);
    return -1;
}

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

void set_current_page(BasicPage* p) {
    shown = p;
}

void basic_init() {
    for (BasicPage* p : basic_pages())
        page_window_init(*p);
}

void basic_graceful_exit() {
    for (BasicPage* p : basic_pages())
        page_window_exit(*p);
}

int init_4_configure(const std::vector<MorixRecord*>& devices) {
    basic_init();
    PortSelection& m = port_mrx_map;
    m.count = m.port_total = m.ported_count = 0;
    for (int i = 0; i < MAX_MRX_SLOTS; ++i) {
        m.mrx_index[i] = m.ported_index[i] = -1;
        m.port_count[i] = 0;
    }
    for (const MorixRecord* r : devices) {
        int pos = r && r->reachable ? session().devices().position(r->name) : -1;
        if (pos >= 0 && m.count < MAX_MRX_SLOTS)
            m.mrx_index[m.count++] = pos;
    }
    if (m.count == 0)
        return 0;
    bool single = m.count == 1;
    for (BasicPage* p : basic_pages())
        for (const PageField& f : p->fields)
            if (f.flags & FF_SINGLE)
                gray_out_text_widget(f.widget, !single, single);
    clear_edit_flags();
    shown = nullptr;
    return 1;
}

bool category_allowed(int category) {
    if (!page_of_category(category))
        return false;
    if (category != CAT_WAN)
        return true;
    for (int d : basic_devices())
        if (session().devices()[d]->wan_count > 0)
            return true;
    return false;
}

int choose_wan_edit() {
    if (read_wan_choice() == 0) {
        page_warn("You must select at least one WAN.");
        return 0;
    }
    std::string rows;
    for (const std::string& r : wan_chosen_rows())
        rows += (rows.empty() ? "" : "\n") + r;
    page_wan_edit.view.note = rows;
    page_wan_edit.first_time = true;
    get_page_conf_value(page_wan_edit);
    return 1;
}

namespace {

// The WAN list rows of the modules asked for (all when none is named).
void choose_modules(const PageRequest& req, BasicPage& wan) {
    wan.view.chosen.clear();
    for (size_t i = 0; i < wan.view.rows.size(); ++i) {
        char name[64] = {};
        int module = 0;
        std::sscanf(wan.view.rows[i].c_str(), "%63s %d", name, &module);
        bool take = req.modules.empty();
        for (const auto& [r, ifs] : req.modules)
            take |= r->name == name &&
                    std::find(ifs.begin(), ifs.end(), module_if_index(*r, module)) != ifs.end();
        if (take)
            wan.view.chosen.push_back(static_cast<int>(i) + 1);
    }
}

// Reads the page the way the window opens it: through the page it is
// opened from. 0 when it cannot be opened for the request.
int open_for(const PageRequest& req, BasicPage& p) {
    BasicPage &gen = *find_page("general"), &wan = *find_page("wan");
    BasicPage& async = *find_page("async-ports");
    if (&p == find_page("general-cont")) {
        get_page_conf_value(gen); // reads General continued with it
    } else if (&p == find_page("wan-edit")) {
        get_page_conf_value(wan);
        choose_modules(req, wan);
        return choose_wan_edit();
    } else if (&p == &async || &p == find_page("async-add")) {
        async.view.ports = req.ports;
        get_page_conf_value(async);
    }
    if (p.category && !category_allowed(p.category)) {
        page_warn(std::string("The ") + p.title + " page is not available for these Morixes.");
        return 0;
    }
    get_page_conf_value(p);
    return 1;
}

// The fields of the request put in as the operator would; a field the
// window does not offer for these devices is refused before anything is
// sent.
int put_fields(const PageRequest& req, BasicPage& p) {
    for (const auto& [key, value] : req.sets) {
        int i = page_field_index(p, key);
        if (i < 0 || !p.view.fields[i].sensitive) {
            page_warn("field '" + key + "' of page " + p.name +
                      (i < 0 ? " does not exist" : " cannot be changed for the selected Morixes") +
                      "; nothing was sent.");
            return 0;
        }
        page_set_field(p, static_cast<size_t>(i), value);
        if (p.fields[i].kind == FK_TOGGLE && p.hooks.action) // its rule, as a press runs it
            p.hooks.action(p, p.fields[i].widget);
    }
    return 1;
}

// Every device of the request listed: those the run said nothing of are done.
void list_devices(const PageRequest& req, Outcome& o) {
    std::vector<DeviceOutcome> all;
    for (const MorixRecord* r : req.devices) {
        auto same = [&](const DeviceOutcome& d) { return d.device == r->name; };
        auto at = std::find_if(o.devices.begin(), o.devices.end(), same);
        if (at != o.devices.end())
            all.push_back(*at);
        else if (!r->reachable)
            all.push_back({r->name, DeviceState::unreachable, r->name + ": not reachable"});
        else
            all.push_back(
                {r->name,
                 o.result == Result::cancelled ? DeviceState::cancelled : DeviceState::done, ""});
    }
    o.devices = all;
}

} // namespace

PageOutcome run_page(const PageRequest& req) {
    PageOutcome po;
    Outcome& o = po.outcome;
    {
        PageRun run(o);
        BasicPage* p = find_page(req.page);
        if (!p) {
            page_warn("There is no page '" + req.page + "'.");
            o.result = Result::refused;
            return po;
        }
        po.page = p;
        if (!init_4_configure(req.devices)) {
            page_warn("No reachable Morix was given.");
            o.result = Result::refused;
        } else if (!open_for(req, *p) || !put_fields(req, *p)) {
            o.result = Result::refused;
        } else if (!req.sets.empty()) {
            int ok = page_conf_apply(*p);
            if (ok && p == find_page("general-cont"))
                page_conf_apply(*find_page("general"));
            // The page as the devices now hold it: read again after a
            // change, its read values back after a refusal.
            if (!p->first_time && o.result == Result::refused)
                populate_page_conf(*p);
            else if (p->first_time)
                get_page_conf_value(*p);
        }
    }
    list_devices(req, o);
    bool all_done = std::all_of(o.devices.begin(), o.devices.end(), [](const DeviceOutcome& d) {
        return d.state == DeviceState::done;
    });
    // A read or change that warned did not do everything asked.
    if (o.result == Result::done && (!all_done || !o.warnings.empty()))
        o.result = Result::failed;
    return po;
}
