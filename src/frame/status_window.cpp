#include "frame/status_window.h"

#include <cstdlib>

#include "catalogue/mib_catalogue.h"
#include "devices/mrx_select.h"
#include "frame/render.h"
#include "frame/window_readers.h"
#include "snmp_access/port_inst.h"
#include "ui/ui.h"
#include "ui/window_state.h"

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

// The member on rec, its window emptied while the device is read.
void run_and_render(int member, MorixRecord* rec, const StatusInput& in) {
    status_busy = true;
    ui_set_text(status_obj(status_member(member).window, SO_TEXT), "");
    render_status(run_status(member, rec, in));
    status_busy = false;
}

} // namespace

void render_status(const StatusOutcome& out, bool clear) {
    const StatusMember& m = status_member(out.member);
    int text = status_obj(m.window, SO_TEXT);
    if (!out.title.empty())
        set_dialog_title(m.form, out.title);
    if (out.member == SM_MP && out.laid_out && clear) {
        int list = status_obj(m.window, SO_X1);
        ui_list_delete_all(list);
        for (const std::string& row : out.list_rows)
            ui_list_add_item(list, row, 0);
    }
    if (out.laid_out || clear) {
        ui_set_text(text, out.outcome.report);
        if (out.laid_out && clear)
            write_otp_msg(text, "", 0, 1);
    }
    Outcome warnings_only = out.outcome;
    warnings_only.report.clear();
    render_outcome(warnings_only, OutputArea{m.form, 0, true, true});
}

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

void status_update(int member, const StatusWindowView& v) {
    if (status_member(member).window == 1)
        member = v.x1 ? SM_SYN : SM_ASY;
    process_status(member, status_window_input(member, v));
}

void process_status(int member, const StatusInput& in) {
    const StatusMember& m = status_member(member);
    if (!check_main_sel(m.form, SEL_FIRST))
        return;
    MorixRecord* rec = first_sel_reachable();
    if (!rec)
        return;
    shown_member[m.window] = member;
    if (auto_state[m.window].timer != 0) {
        auto_state[m.window].member = member;
        auto_state[m.window].device = rec->name;
    }
    run_and_render(member, rec, in);
}

void status_auto_tick(int w) {
    auto_state[w].timer = 0;
    const AutoRefresh a = auto_state[w];
    int form = status_member(a.member >= 0 ? a.member : shown_member[w]).form;
    MorixRecord* rec = find_record(a.device);
    // Only looked at: a refresh never raises its window over the
    // operator's work.
    bool open = window_open(form);
    StatusWindowView v = read_status_window(w);
    if (a.member < 0 || !rec || !rec->reachable || !open || !v.auto_on) {
        stop_auto(w);
        ui_set_toggle(status_obj(w, SO_AUTO_TB), false, false);
        return;
    }
    // A command already at work (this window's or another's) keeps the
    // device's chain, and a warning or question waits for the operator:
    // this tick is skipped.
    if (!status_busy && rec->prm_count == 0 && !answer_pending())
        run_and_render(a.member, rec, status_window_input(a.member, v));
    arm_auto(w, v);
}

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
    run_and_render(member, rec, in);
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

int status_menu_command(int id) {
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
    open_status_window(member, read_status_window(status_member(member).window));
    return 1;
}

void status_mp_details(int row) {
    render_status(run_mp_detail(row), false);
}
