// The Events window: the traps the devices send, newest last, live while
// the window is open. Opening it starts the program's one trap receiver
// (port 162, or GUI_MM_TRAP_PORT), which then runs on a toolkit timer for
// the rest of the run, so that events keep reaching the log and the window
// shows them when it is opened again.
#include <cstdlib>
#include <memory>

#include "devices/mrx_select.h"
#include "events/event_log.h"
#include "events/trap_hosts.h"
#include "events/trap_receiver.h"
#include "frame/commands.h"
#include "frame/render.h"
#include "frame/set_render.h"
#include "ops/change.h"
#include "ui/ui.h"

namespace {

constexpr int POLL_MS = 250;

struct EventsWindow {
    std::unique_ptr<TrapReceiver> receiver;
    std::unique_ptr<EventLog> log;
    std::string state; // why nothing is received, when the port could not be had
    long shown_total = 0;
    long lines = 0;           // in the text area; past the kept events it is written afresh
    std::string device, kind; // the filter
};

EventsWindow& ew() {
    static EventsWindow w;
    return w;
}

int trap_port_setting() {
    const char* env = std::getenv("GUI_MM_TRAP_PORT");
    int port = env ? std::atoi(env) : 0;
    return port >= 1 && port <= 65535 ? port : TRAP_PORT;
}

bool shown(const TrapEvent& ev) {
    const EventsWindow& w = ew();
    bool device = w.device.empty() || ev.device.find(w.device) != std::string::npos ||
                  ev.source.find(w.device) != std::string::npos;
    return device && (w.kind.empty() || event_kind(ev).find(w.kind) != std::string::npos);
}

void show_state() {
    EventsWindow& w = ew();
    std::string text = w.state;
    if (w.receiver) {
        const ReceiverCounts& c = w.receiver->counts();
        long dropped = c.malformed + c.not_trap + c.flood_dropped + c.kernel_dropped;
        text = "Receiving traps on port " + std::to_string(w.receiver->port()) + ": " +
               std::to_string(c.events) + (c.events == 1 ? " event" : " events");
        if (dropped > 0)
            text += ", " + std::to_string(dropped) + " datagrams dropped";
        if (c.wrong_community > 0)
            text += ", " + std::to_string(c.wrong_community) + " with a wrong community";
    }
    set_widget_label(W_EV_STATE_LBL, text);
}

// The kept events that pass the filter, newest last.
void show_all() {
    EventsWindow& w = ew();
    std::string text;
    w.lines = 0;
    if (w.receiver)
        for (const TrapEvent& ev : w.receiver->events())
            if (shown(ev)) {
                text += event_text_line(ev) + "\n";
                ++w.lines;
            }
    ui_set_text(W_EV_TEXT, text);
    ui_text_show_position(W_EV_TEXT, static_cast<int>(text.size()));
    w.shown_total = w.receiver ? w.receiver->total_events() : 0;
    show_state();
}

// The events that came since the window was last written, appended.
void show_new() {
    EventsWindow& w = ew();
    const auto& kept = w.receiver->events();
    long fresh = w.receiver->total_events() - w.shown_total;
    if (fresh <= 0)
        return;
    // The text area holds no more lines than the receiver keeps events.
    if (fresh + w.lines > static_cast<long>(kept.size()))
        return show_all();
    for (size_t i = kept.size() - static_cast<size_t>(fresh); i < kept.size(); ++i)
        if (shown(kept[i])) {
            write_otp_msg(W_EV_TEXT, event_text_line(kept[i]), 1, 1);
            ++w.lines;
        }
    w.shown_total = w.receiver->total_events();
    show_state();
}

void poll_receiver() {
    EventsWindow& w = ew();
    if (!w.receiver)
        return;
    w.receiver->receive();
    if (ui_is_managed(W_EVENTS_FORM))
        show_new();
    ui_add_timer(POLL_MS, poll_receiver);
}

void start_receiver() {
    EventsWindow& w = ew();
    if (w.receiver)
        return;
    auto receiver = std::make_unique<TrapReceiver>();
    if (receiver->open(trap_port_setting(), &w.state) != 0) {
        display_warn(W_EVENTS_FORM, w.state);
        return;
    }
    w.state.clear();
    w.log = std::make_unique<EventLog>(event_log_folder());
    receiver->set_log(w.log.get());
    w.receiver = std::move(receiver);
    ui_add_timer(POLL_MS, poll_receiver);
}

} // namespace

int cmd_events_open(int) {
    gui_manage_top_form(W_EVENTS_FORM);
    start_receiver();
    show_all();
    return 1;
}

int cmd_events_filter(int) {
    ew().device = ui_get_text(W_EV_DEVICE_TF);
    ew().kind = ui_get_text(W_EV_KIND_TF);
    show_all();
    return 1;
}

int cmd_events_send_here(int) {
    if (!check_main_sel(W_EVENTS_FORM, SEL_REACHABLE))
        return 1;
    set_app_cursor(CURSOR_BUSY);
    ChangeOutcome change;
    Outcome out = send_traps_here(TrapHostsRequest(), selected_reachable(), &change);
    set_app_cursor(CURSOR_NORMAL);
    render_outcome(out, OutputArea{W_EVENTS_FORM, W_MAIN_OUTPUT, true, true});
    // The new trap settings take effect after the reset the change needs.
    render_reset_follow_up(change, out, W_EVENTS_FORM, W_MAIN_OUTPUT, false);
    return 1;
}
