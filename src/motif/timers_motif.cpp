// The timer service over the toolkit's time-outs. A timer's action is kept
// here until it runs or is removed, so an id stays valid only until then.
#include <map>

#include "motif/motif_internal.h"
#include "ui/ui.h"

namespace {

struct TimerSlot {
    XtIntervalId xt = 0;
    std::function<void()> action;
    long due_ms = 0; // on the manual clock
};
std::map<int, TimerSlot> timers;
int next_timer = 0;
// The manual clock: off, timers run on the toolkit's real-time time-outs.
bool manual_clock = false;
long manual_now_ms = 0;

void timer_cb(XtPointer client, XtIntervalId*) {
    int id = static_cast<int>(reinterpret_cast<intptr_t>(client));
    auto it = timers.find(id);
    if (it == timers.end())
        return;
    std::function<void()> action = std::move(it->second.action);
    timers.erase(it);
    if (action)
        action();
}

} // namespace

int ui_add_timer(int ms, std::function<void()> action) {
    int id = ++next_timer;
    TimerSlot& slot = timers[id];
    slot.action = std::move(action);
    if (manual_clock) {
        slot.due_ms = manual_now_ms + (ms < 0 ? 0 : ms);
        return id;
    }
    slot.xt = XtAppAddTimeOut(app_context, static_cast<unsigned long>(ms < 0 ? 0 : ms), timer_cb,
                              reinterpret_cast<XtPointer>(static_cast<intptr_t>(id)));
    return id;
}

void ui_remove_timer(int timer_id) {
    auto it = timers.find(timer_id);
    if (it == timers.end())
        return;
    if (it->second.xt != 0)
        XtRemoveTimeOut(it->second.xt);
    timers.erase(it);
}

void use_manual_timer_clock(bool on) {
    manual_clock = on;
}

void advance_timer_clock(int ms) {
    manual_now_ms += ms < 0 ? 0 : ms;
    // The timers due by now run from the main loop, earliest first, as the
    // toolkit's own time-outs would have run.
    std::multimap<long, int> due;
    for (const auto& [id, slot] : timers)
        if (slot.xt == 0 && slot.due_ms <= manual_now_ms)
            due.emplace(slot.due_ms, id);
    for (const auto& [when, id] : due)
        timers[id].xt = XtAppAddTimeOut(app_context, 0, timer_cb,
                                        reinterpret_cast<XtPointer>(static_cast<intptr_t>(id)));
}
