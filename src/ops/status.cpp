// The common frame of the status displays, the helpers the members share,
// and the windows' Update, automatic refresh and menu commands.
#include "ops/status.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "catalogue/mib_catalogue.h"
#include "devices/long_op.h"
#include "devices/mrx_select.h"
#include "ops/reset_mask.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"
#include "ui/window_state.h"

const char* const MSG_STS_FAILED = "Could not get status values for: ";
const char* const MSG_STS_NO_PORTS = "You must enter one or more port numbers.";

namespace {

// Automatic refresh of one window: the timer, the device and member shown.
struct AutoRefresh {
    int timer = 0;
    int member = -1;
    std::string device;
};
AutoRefresh auto_state[STATUS_WINDOWS];
// The member each window shows now (the async window shows sync too).
int shown_member[STATUS_WINDOWS] = {SM_MRX, SM_ASY,     SM_ITF, SM_IMDM, SM_PRI,
                                    SM_T1,  SM_PRI_CSU, SM_DVS, SM_MP};
bool status_busy = false;

constexpr int AUTO_MIN_SECS = 1, AUTO_MAX_SECS = 3600;

MorixRecord* first_sel_reachable() {
    for (MorixRecord* r : host_info_list) {
        if (!r)
            break;
        if (is_selected(r) && r->reachable)
            return r;
    }
    return nullptr;
}

int list_position(const MorixRecord* rec) {
    for (int p = 0; p < MAX_MRX_SLOTS && host_info_list[p]; ++p)
        if (host_info_list[p] == rec)
            return p;
    return 0;
}

void stop_auto(int w) {
    if (auto_state[w].timer != 0)
        ui_remove_timer(auto_state[w].timer);
    auto_state[w] = AutoRefresh();
}

int auto_period(const StatusWindowView& v) {
    std::string t = v.auto_secs;
    remove_trail_blanks(&t);
    std::string s = strip_blanks(&t);
    if (s.empty() || !check_str_digits(s) || s.size() > 5)
        return -1;
    int n = std::atoi(s.c_str());
    return n >= AUTO_MIN_SECS && n <= AUTO_MAX_SECS ? n : -1;
}

void arm_auto(int w, const StatusWindowView& v) {
    int secs = auto_period(v);
    if (secs < 0)
        return;
    auto_state[w].timer = ui_add_timer(secs * 1000, [w] { status_auto_tick(w); });
}

StatusWindowView read_window(int w) {
    return status_window_reader ? status_window_reader(w) : StatusWindowView{};
}

} // namespace

StatusWindowView (*status_window_reader)(int window) = nullptr;

// The toggle of window w changed: start (on the device shown) or stop.
void status_auto_toggled(int w, const StatusWindowView& v) {
    stop_auto(w);
    if (!v.auto_on)
        return;
    int form = status_member(shown_member[w]).form;
    if (auto_period(v) < 0) {
        display_warn(form, "You must enter a refresh period in seconds:\n(1 - 3600).");
        ui_set_toggle(status_obj(w, SO_AUTO_TB), false, false);
        return;
    }
    MorixRecord* r = first_sel_reachable();
    if (!r) {
        display_warn(form, "You must select a reachable Morix from the list.");
        ui_set_toggle(status_obj(w, SO_AUTO_TB), false, false);
        return;
    }
    auto_state[w].member = shown_member[w];
    auto_state[w].device = r->name;
    arm_auto(w, v);
}

// ---- shared pieces ---------------------------------------------------------

std::string status_val(const StatusCtx& c, const char* var, int instance,
                       const std::string& inst_str, const std::string& fallback) {
    std::string v;
    if (!get_prm_val(c.rec, var, instance, inst_str, &v, nullptr))
        return fallback;
    return v;
}

std::string status_raw(const StatusCtx& c, const char* var, int instance,
                       const std::string& inst_str) {
    std::string v, raw;
    if (!get_prm_val(c.rec, var, instance, inst_str, &v, &raw))
        return "";
    return raw.empty() ? v : raw;
}

void display_prm_val(StatusCtx& c, const std::string& label, const char* var, int instance,
                     const std::string& inst_str) {
    c.fields.emplace_back(label, status_val(c, var, instance, inst_str));
}

bool status_add(StatusCtx& c, const char* var, int instance, const std::string& inst_str) {
    int id = 0;
    if (!get_check_mib_var(var, &id))
        return false;
    add_prm_node(c.rec, id, 0, 0, instance, inst_str.c_str(), "", 0);
    return true;
}

std::string status_row(const char* format, const std::vector<std::string>& cols) {
    // Every conversion of the layouts is a %s; up to twelve columns.
    const char* a[12] = {};
    for (size_t i = 0; i < 12; ++i)
        a[i] = i < cols.size() ? cols[i].c_str() : "";
    char buf[1024];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    std::snprintf(buf, sizeof buf, format, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8],
                  a[9], a[10], a[11]);
#pragma GCC diagnostic pop
    return buf;
}

unsigned long status_counter(const std::string& text) {
    if (text.empty() || !check_str_digits(text) || text.size() > 10)
        return 0;
    unsigned long v = std::strtoul(text.c_str(), nullptr, 10);
    return v & 0xFFFFFFFFul;
}

std::string status_text(const StatusCtx& c) {
    std::string out;
    for (const auto& f : c.fields)
        out += f.first + ": " + f.second + "\n";
    if (!c.tables.empty())
        out += (out.empty() ? "" : "\n") + c.tables;
    return out;
}

// ---- the common frame ------------------------------------------------------

StatusInput status_window_input(int member, const StatusWindowView& v) {
    StatusInput in;
    in.list = v.input;
    in.sort = member == SM_PRI && v.x1;
    if (member == SM_T1 || member == SM_PRI_CSU)
        in.period = v.x3 ? 0 : v.x2 ? 2 : 1;
    if (member == SM_MP)
        in.mp_row = v.list_row;
    return in;
}

namespace {

int run_frame(int member, MorixRecord* rec, const StatusInput& in) {
    const StatusMember& m = status_member(member);
    int text_id = status_obj(m.window, SO_TEXT);
    status_busy = true;
    LongOperation op;
    op.busy();
    ui_set_text(text_id, "");
    set_dialog_title(m.form, std::string(m.title) + " : " + rec->name);
    StatusCtx c;
    c.m = &m;
    c.rec = rec;
    c.parent = m.form;
    c.in = in;
    free_prm_list(rec);
    op.open(m.form, "Cancel Status", "", LO_FOLLOW_SNMP);
    op.at(list_position(rec));
    op.progress(m.progress ? m.progress : "", rec->name);
    int go = m.build(c);
    if (go == 0 && !g_cancel_process)
        mm_snmp(rec, SNMP_OP_GET);
    bool cancelled = op.close();
    if (!cancelled && go == 0 && rec->status != 0) {
        display_warn(m.form, std::string(MSG_STS_FAILED) + rec->name);
    } else if (!cancelled && go == 0) {
        m.layout(c);
        if (in.fields_out)
            *in.fields_out = c.fields;
        if (in.tables_out)
            *in.tables_out = c.tables;
        ui_set_text(text_id, status_text(c));
        write_otp_msg(text_id, "", 0, 1);
    }
    for (const std::string& w : c.warnings)
        if (!cancelled)
            display_warn(m.form, w);
    // The chain goes in every case (a later command must not find it); a
    // cancelled device keeps its incomplete mark.
    free_prm_list(rec);
    if (cancelled)
        rec->status = SR_CANCELLED;
    op.idle();
    status_busy = false;
    if (cancelled)
        return STS_CANCELLED;
    if (go != 0)
        return STS_REFUSED;
    return rec->status != 0 ? STS_UNREAD : STS_DONE;
}

} // namespace

void status_update(int member, const StatusWindowView& v) {
    if (status_member(member).window == 1)
        member = v.x1 ? SM_SYN : SM_ASY;
    process_status(member, status_window_input(member, v));
}

int process_status(int member, const StatusInput& in) {
    const StatusMember& m = status_member(member);
    if (!check_main_sel(m.form, SEL_FIRST))
        return STS_REFUSED;
    MorixRecord* rec = first_sel_reachable();
    if (!rec)
        return STS_REFUSED;
    shown_member[m.window] = member;
    if (auto_state[m.window].timer != 0) {
        auto_state[m.window].member = member;
        auto_state[m.window].device = rec->name;
    }
    return run_frame(member, rec, in);
}

void status_auto_tick(int w) {
    auto_state[w].timer = 0;
    const AutoRefresh a = auto_state[w];
    int form = status_member(a.member >= 0 ? a.member : shown_member[w]).form;
    MorixRecord* rec = find_record(a.device);
    // Only looked at: a refresh never raises its window over the
    // operator's work.
    bool open = window_open(form);
    StatusWindowView v = read_window(w);
    if (a.member < 0 || !rec || !rec->reachable || !open || !v.auto_on) {
        stop_auto(w);
        ui_set_toggle(status_obj(w, SO_AUTO_TB), false, false);
        return;
    }
    // A command already at work (this window's or another's) keeps the
    // device's chain, and a warning or question waits for the operator:
    // this tick is skipped.
    if (!status_busy && rec->prm_count == 0 && !answer_pending())
        run_frame(a.member, rec, status_window_input(a.member, v));
    arm_auto(w, v);
}

// ---- windows ---------------------------------------------------------------

void open_status_window(int member, StatusWindowView v) {
    const StatusMember& m = status_member(member);
    if (!check_main_sel(m.form, SEL_FIRST))
        return;
    gui_manage_top_form(m.form);
    shown_member[m.window] = member;
    if (member == SM_T1 || member == SM_PRI_CSU) {
        int w = m.window;
        if (!v.x1 && !v.x2 && !v.x3) {
            ui_set_toggle(status_obj(w, SO_X1), true, false);
            v.x1 = true;
        }
    }
    if (member == SM_ASY || member == SM_SYN) {
        ui_set_toggle(status_obj(m.window, SO_X1), member == SM_SYN, false);
        v.x1 = member == SM_SYN;
    }
    MorixRecord* rec = first_sel_reachable();
    if (rec == nullptr)
        return;
    StatusInput in = status_window_input(member, v);
    in.opening = true;
    run_frame(member, rec, in);
}

void status_window_closed(int form) {
    for (int w = 0; w < STATUS_WINDOWS; ++w)
        if (status_member(shown_member[w]).form == form) {
            stop_auto(w);
            ui_set_toggle(status_obj(w, SO_AUTO_TB), false, false);
        }
}

void status_option_toggled(int w, int obj, bool set) {
    int id = status_obj(w, obj);
    if ((w == 5 || w == 6) && obj >= SO_X1 && obj <= SO_X3 && set) {
        // The period toggles are one choice; current and total clear the
        // interval numbers.
        for (int o = SO_X1; o <= SO_X3; ++o)
            if (status_obj(w, o) != id)
                ui_set_toggle(status_obj(w, o), false, false);
        if (obj != SO_X3)
            ui_set_text(status_obj(w, SO_INPUT), "");
    } else if (w == 1 && obj == SO_X1) {
        shown_member[1] = set ? SM_SYN : SM_ASY;
    }
}

int status_menu_command(int id, StatusWindowView (*view)(int window)) {
    int member = -1;
    for (int i = 0; i < SM_COUNT && member < 0; ++i)
        if (id != 0 && status_member(i).menu_id == id)
            member = i;
    if (member < 0)
        return 0;
    if (member == SM_T1) {
        // One internal CSU command: the PRI CSU on platform class 5, the
        // T1 CSU elsewhere (which refuses devices without a DS1 port).
        check_main_sel(W_MAIN_WINDOW, SEL_MARK_ONLY);
        MorixRecord* r = first_sel_reachable();
        if (r && r->platform == 5)
            member = SM_PRI_CSU;
    }
    open_status_window(member, view(status_member(member).window));
    return 1;
}
