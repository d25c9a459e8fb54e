// The shared steps of the page pattern: reading a page's table into its
// saved record, filling and comparing its fields, and applying the changed
// fields through the basic-mode set funnel.
#include "basic/basic_page.h"
#include "snmp_access/session.h"

#include <algorithm>
#include <cstdlib>

#include "basic/set_basic.h"
#include "catalogue/mib_catalogue.h"
#include "devices/allow_sets.h"
#include "snmp_access/morix_record.h"

void (*page_changed)(BasicPage&) = nullptr;

namespace {

int var_id(const BasicPage& p, size_t i) {
    int id = -1;
    get_check_mib_var((*p.vars)[i], &id);
    return id;
}

std::string last_item(const std::string& text) {
    size_t comma = text.rfind(',');
    return comma == std::string::npos ? text : text.substr(comma + 1);
}

// The text a field shows for its saved value.
std::string saved_display(const BasicPage& p, size_t i) {
    const PageField& f = p.fields[i];
    const PageSaved& s = p.saved[i];
    if (f.kind == FK_OPTION) // the enumeration name (an enumeration may hold 0)
        return s.text == set_to_blank ? "" : s.text;
    if (f.kind == FK_MASK) {
        for (const std::string& o : f.options)
            if (!s.text.empty() && last_item(o) == last_item(s.text))
                return o;
        return "";
    }
    // An empty common value shows as an empty field.
    return s.text == set_to_blank ? "" : s.text;
}

bool integer_text(const std::string& t) {
    size_t start = !t.empty() && (t[0] == '-' || t[0] == '+') ? 1 : 0;
    return t.size() > start && t.find_first_not_of("0123456789", start) == std::string::npos;
}

// The range rule of a field; 0 when the text may go on to its checks.
int check_range(const PageField& f, const std::string& text) {
    if (f.lo >= f.hi)
        return 0;
    bool integer = integer_text(text);
    if (!integer && !(f.flags & FF_RANGE_ONLY))
        return 0; // the integer check names the field
    long v = integer ? std::strtol(text.c_str(), nullptr, 10) : 0;
    if (integer && v >= f.lo && v <= f.hi)
        return 0;
    page_warn(f.range_msg);
    return -1;
}

// One changed field into requests for devs. 0 or -1.
int read_field(BasicPage& p, size_t i, const std::vector<int>& devs) {
    const PageField& f = p.fields[i];
    const std::string& name = (*p.vars)[i];
    std::string text = page_field_text(p, i);
    if (check_range(f, text) != 0)
        return -1;
    if (p.scope == PS_DEVICE) {
        if (f.kind == FK_TEXT)
            return read_textfield(f.widget, text, name, devs, p.port_kind);
        if (f.kind == FK_OPTION)
            return read_optionmenu(f.widget, text, name, devs, p.port_kind);
        return set_param(name, text, devs, p.port_kind);
    }
    if (check_field_value(name, p.view.fields[i].label, &text) != 0)
        return -1;
    for (const WanChoice& c : wan_chosen)
        if (std::find(devs.begin(), devs.end(), c.mrx_pos) != devs.end() &&
            set_wan_edit_param(name, text, c.mrx_pos, c.module) != 0)
            return -1;
    return 0;
}

// The fields become the saved values (after they were sent).
void accept_fields(BasicPage& p) {
    for (size_t i = 0; i < p.fields.size(); ++i) {
        PageSaved& s = p.saved[i];
        s.changed = false;
        if (p.fields[i].kind == FK_OPTION) {
            std::string number;
            if (cvt_enum_str_num(var_id(p, i), page_field_text(p, i), &number))
                s.number = std::atoi(number.c_str());
        }
        if (p.fields[i].kind != FK_SHOWN) {
            s.text = page_field_text(p, i);
        }
    }
}

// What the change pipeline did, into the running outcome: each device's
// result (a failure stays), and the result code (the reset question was
// asked already); "Set complete." when nothing failed.
void page_took(const Outcome& sent, int error, int cancel) {
    Outcome* o = page_run_outcome();
    if (!o)
        return;
    for (const DeviceOutcome& d : sent.devices) {
        auto same = [&](const DeviceOutcome& e) { return e.device == d.device; };
        auto at = std::find_if(o->devices.begin(), o->devices.end(), same);
        if (at == o->devices.end())
            o->devices.push_back(d);
        else if (d.state != DeviceState::done || at->state == DeviceState::done)
            *at = d;
    }
    if (cancel)
        o->result = Result::cancelled;
    else if (o->result != Result::done)
        return;
    else if (sent.result != Result::done)
        o->result = sent.result; // refused by the access check, or failed
    else if (error)
        o->result = Result::failed;
    else if (o->report.empty())
        o->report = "Set complete.\n";
}

std::vector<int> page_devices(const BasicPage& p) {
    if (p.scope == PS_DEVICE)
        return basic_devices();
    std::vector<int> devs;
    for (const WanChoice& c : wan_chosen)
        if (std::find(devs.begin(), devs.end(), c.mrx_pos) == devs.end())
            devs.push_back(c.mrx_pos);
    return devs;
}

} // namespace

void page_window_init(BasicPage& p) {
    p.first_time = true;
    p.saved.assign(p.vars->size(), PageSaved{});
    p.view = PageView{};
    p.view.fields.resize(p.fields.size());
    for (size_t i = 0; i < p.fields.size(); ++i) {
        const PageField& f = p.fields[i];
        FieldView& v = p.view.fields[i];
        v.label = f.label;
        if (f.kind == FK_MASK) {
            v.items = f.options;
        } else if (f.kind == FK_OPTION) {
            const MibVarEntry* e = mib_var(var_id(p, i));
            if (e && e->enum_id >= 0 && e->enum_id < MAX_MIB_ENUMS)
                for (const EnumEntry& en : mib_enum_list[e->enum_id])
                    v.items.push_back(en.text);
        }
    }
}

FieldView* field_view_of(int id) {
    int widget = id >= BW_LABEL_OFFSET ? id - BW_LABEL_OFFSET : id;
    for (BasicPage* p : basic_pages())
        for (size_t i = 0; i < p->fields.size() && i < p->view.fields.size(); ++i)
            if (p->fields[i].widget == widget)
                return &p->view.fields[i];
    return nullptr;
}

void page_window_exit(BasicPage& p) {
    p.saved.assign(p.vars->size(), PageSaved{});
    p.first_time = true;
}

std::string page_field_text(const BasicPage& p, size_t i) {
    if (i >= p.view.fields.size())
        return "";
    const std::string& v = p.view.fields[i].value;
    if (p.fields[i].kind == FK_TOGGLE)
        return v == "1" ? "1" : "0";
    return v;
}

void page_set_field(BasicPage& p, size_t i, const std::string& text) {
    if (i >= p.view.fields.size())
        return;
    const PageField& f = p.fields[i];
    if (f.kind != FK_TOGGLE) {
        p.view.fields[i].value = text;
        return;
    }
    bool on = text == "1";
    p.view.fields[i].value = on ? "1" : "0";
    for (size_t j = 0; on && (f.flags & FF_RADIO) && j < p.fields.size(); ++j)
        if (j != i && (p.fields[j].flags & FF_RADIO) && (*p.vars)[j] == (*p.vars)[i])
            p.view.fields[j].value = "0";
}

void save_page_conf(BasicPage& p) {
    p.saved.assign(p.vars->size(), PageSaved{});
    std::string error;
    for (size_t i = 0; i < p.vars->size(); ++i) {
        PageSaved& s = p.saved[i];
        if (!error.empty()) {
            s.text = set_to_blank;
            continue;
        }
        error = p.scope == PS_WAN
                    ? get_specific_wan_edit_value((*p.vars)[i], &s.text, &s.number)
                    : get_specific_value((*p.vars)[i], p.port_kind, &s.text, &s.number);
        if (!error.empty()) {
            s.text = set_to_blank;
            s.number = 0;
        }
    }
    if (!error.empty()) {
        page_warn(error);
        if (p.hooks.save_failed)
            p.hooks.save_failed(p);
    }
}

void populate_page_conf(BasicPage& p) {
    bool several = basic_devices().size() > 1;
    for (size_t i = 0; i < p.fields.size(); ++i) {
        // A field of one device's own value stays blank for several.
        int flags = p.fields[i].flags;
        bool own = (flags & FF_SINGLE) && !(flags & FF_SHOW_COMMON) && several;
        page_set_field(p, i, own ? std::string() : saved_display(p, i));
        p.saved[i].changed = false;
    }
    edit_flags[p.edit_flag] = 0;
    if (p.hooks.populated)
        p.hooks.populated(p);
}

int get_page_conf_value(BasicPage& p) {
    if (!p.first_time)
        return 0;
    p.first_time = false;
    p.saved.assign(p.vars->size(), PageSaved{});
    int outer = reading_window;
    reading_window = p.window;
    if (p.hooks.read) {
        p.hooks.read(p);
    } else {
        get_values_from_mrx(*p.vars, p.port_kind);
        save_page_conf(p);
        for (int d : page_devices(p))
            free_prm_list(session().devices()[d]);
    }
    reading_window = outer;
    populate_page_conf(p);
    return 1;
}

int page_edited(BasicPage& p) {
    int edited = 0;
    for (size_t i = 0; i < p.fields.size() && i < p.saved.size(); ++i) {
        if (p.fields[i].kind == FK_SHOWN || !p.view.fields[i].sensitive)
            continue;
        std::string now = page_field_text(p, i);
        p.saved[i].changed =
            now != saved_display(p, i) && !(now.empty() && p.fields[i].kind != FK_TEXT);
        edited |= p.saved[i].changed ? 1 : 0;
    }
    edit_flags[p.edit_flag] = edited;
    if (edited)
        edit_param_flag = 1;
    return edited;
}

std::vector<int> settable_devices() {
    std::vector<MorixRecord*> recs;
    for (int p : basic_devices())
        if (session().devices()[p]->reachable)
            recs.push_back(session().devices()[p]);
    settable_many(recs);
    std::vector<int> devs;
    for (int p : basic_devices())
        if (check_morix_set(p))
            devs.push_back(p);
    if (devs.empty())
        page_warn("Could not set any parameters.\nThe value of the allow_snmp_sets "
                  "parameter is false. Morix ignored.");
    return devs;
}

namespace {

// A check stopped the Apply: nothing was sent.
int refuse_apply() {
    Outcome* o = page_run_outcome();
    if (o && o->result == Result::done)
        o->result = Result::refused;
    return 0;
}

} // namespace

int page_conf_apply(BasicPage& p) {
    if (!page_edited(p)) {
        if (p.hooks.sent)
            p.hooks.sent(p);
        return 1;
    }
    if (p.hooks.check && p.hooks.check(p) < 0)
        return refuse_apply();
    std::vector<int> all = settable_devices(), devs;
    for (int d : page_devices(p))
        if (std::find(all.begin(), all.end(), d) != all.end())
            devs.push_back(d);
    if (devs.empty())
        return refuse_apply();
    int failed = 0;
    for (size_t i = 0; i < p.fields.size(); ++i)
        if (p.saved[i].changed && read_field(p, i, devs) != 0)
            failed = 1;
    if (!failed && p.hooks.extra)
        p.hooks.extra(p, devs, &failed);
    if (failed) {
        for (int d : devs)
            free_prm_list(session().devices()[d]);
        return refuse_apply();
    }
    int error = 0, cancel = 0;
    Outcome sent = process_set_req_basic(devs, win_parent(p.window), &error, &cancel);
    page_took(sent, error, cancel);
    accept_fields(p);
    p.first_time = true;
    edit_flags[p.edit_flag] = 0;
    settings_edit_status();
    if (p.hooks.sent)
        p.hooks.sent(p);
    return 1;
}
