// The timer service over the toolkit's time-outs. A timer's action is kept
// here until it runs or is removed, so an id stays valid only until then.
#include <map>

#include "motif/motif_internal.h"
#include "ui/ui.h"

namespace {

struct TimerSlot {
    XtIntervalId xt = 0;
    std::function<void()> action;
};
std::map<int, TimerSlot> timers;
int next_timer = 0;

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
    slot.xt = XtAppAddTimeOut(app_context, static_cast<unsigned long>(ms < 0 ? 0 : ms), timer_cb,
                              reinterpret_cast<XtPointer>(static_cast<intptr_t>(id)));
    return id;
}

void ui_remove_timer(int timer_id) {
    auto it = timers.find(timer_id);
    if (it == timers.end())
        return;
    XtRemoveTimeOut(it->second.xt);
    timers.erase(it);
}
