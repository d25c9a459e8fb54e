// A run of the request engine over many records on the program's one
// thread: one library session per record (the library's single-session
// interface, which keeps each request's time-out and retries and matches
// answers to requests by their id), one request in flight per record, and
// a select() over the sessions' sockets that wakes at least every 100 ms to
// ask the run's Progress whether it was cancelled.
#include <sys/select.h>

#include <chrono>
#include <memory>

#include "snmp_access/snmp_call.h"

namespace {

constexpr long POLL_USEC = 100000; // longest wait between cancel checks
// Calls one task may chain (identification makes a few dozen at most).
constexpr int MAX_CALLS_PER_TASK = 4096;

using Clock = std::chrono::steady_clock;

// A task and the call in flight for it.
struct Slot {
    SnmpTask* task = nullptr;
    std::unique_ptr<SnmpCall> call;
    int calls = 0;
};

struct Run {
    Run(std::vector<SnmpTask>& t, Progress& p) : tasks(t), progress(p) {}
    std::vector<SnmpTask>& tasks;
    Progress& progress;
    std::string last; // the record finished last
    bool one = false; // a run of one task: progress by chunk
    std::vector<Slot> slots;
    size_t next = 0;
    int done = 0;
    bool cancelled = false;
    Clock::time_point polled = Clock::now();
};

void start_call(Run& run, Slot& s, int op) {
    s.call = std::make_unique<SnmpCall>();
    s.call->rec = s.task->rec;
    s.call->op = op;
    s.call->chunk_progress = run.one;
    s.call->progress = &run.progress;
    ++s.calls;
    call_begin(*s.call);
}

// Reports a finished record in a run of many: label, count and percentage.
void report_done(Run& run, const MorixRecord* rec) {
    ++run.done;
    if (run.one || run.cancelled)
        return;
    run.last = rec->name;
    run.progress.step(run.done, static_cast<int>(run.tasks.size()), run.last);
    if (run.progress.cancelled())
        run.cancelled = true;
}

// The call of the slot ended: the task's next call, or the task's end.
void after_call(Run& run, Slot& s) {
    while (s.call && s.call->done) {
        int op = s.task->then && s.calls < MAX_CALLS_PER_TASK ? s.task->then(s.task->rec) : 0;
        if (op != 0) {
            start_call(run, s, op);
            continue;
        }
        s.task->finished = !run.cancelled && !run.progress.cancelled();
        s.call.reset();
        report_done(run, s.task->rec);
        s.task = nullptr;
    }
}

// Starts tasks in list order while places are free (none after a cancel).
void fill_slots(Run& run) {
    for (Slot& s : run.slots) {
        while (!s.task && run.next < run.tasks.size() && !run.cancelled) {
            s.task = &run.tasks[run.next++];
            s.task->started = true;
            s.calls = 0;
            start_call(run, s, s.task->op);
            after_call(run, s);
        }
    }
}

// Waits at most POLL_USEC for answers and time-outs of the calls in flight
// and hands each call what the library reported for it.
void wait_once(Run& run) {
    int fds = 0;
    fd_set set;
    FD_ZERO(&set);
    timeval tv{0, POLL_USEC};
    // Each session lowers tv to its next retry or time-out, if sooner.
    for (Slot& s : run.slots) {
        int block = 0;
        if (s.call && s.call->sess)
            snmp_sess_select_info(s.call->sess, &fds, &set, &tv, &block);
    }
    if (tv.tv_sec > 0 || tv.tv_usec > POLL_USEC || tv.tv_usec < 0)
        tv = timeval{0, POLL_USEC};
    // Retries and time-outs are looked at once the earliest is due, not on
    // every answer.
    Clock::time_point due = Clock::now() + std::chrono::microseconds(tv.tv_usec);
    int n = select(fds, &set, nullptr, nullptr, &tv);
    bool timeouts = n <= 0 || Clock::now() >= due;
    for (Slot& s : run.slots) {
        if (!s.call || !s.call->sess)
            continue;
        if (n > 0)
            snmp_sess_read(s.call->sess, &set);
        if (timeouts)
            snmp_sess_timeout(s.call->sess);
    }
    for (Slot& s : run.slots) {
        // After a cancel only Set calls go on (to the end of their chunk);
        // the reads are ended by the cancel.
        if (run.cancelled && s.call && s.call->op != SNMP_OP_SET)
            continue;
        if (s.call && s.call->reply_kind != RK_NONE) {
            call_take_reply(*s.call);
            after_call(run, s);
        }
    }
}

// When 100 ms have passed since the last look: a run of many steps its
// progress again (a dialog redraws its scale); a run of one only asks
// whether it was cancelled, its steps staying those between chunks.
void poll_cancel(Run& run) {
    Clock::time_point now = Clock::now();
    if (now - run.polled < std::chrono::microseconds(POLL_USEC))
        return;
    run.polled = now;
    if (!run.one)
        run.progress.step(run.done, static_cast<int>(run.tasks.size()), run.last);
    if (run.progress.cancelled())
        run.cancelled = true;
}

// After a cancel: Get and GetNext calls end at once; Set calls end their
// chunk first (a Set on the wire is not taken back by going away).
void end_reads(Run& run) {
    for (Slot& s : run.slots) {
        if (!s.call || s.call->done || s.call->op == SNMP_OP_SET)
            continue;
        call_abandon(*s.call);
        after_call(run, s);
    }
}

bool in_flight(const Run& run) {
    for (const Slot& s : run.slots)
        if (s.task)
            return true;
    return false;
}

} // namespace

int mm_snmp_many(std::vector<SnmpTask>& tasks, const std::string& label, Progress& progress) {
    Run run(tasks, progress);
    run.one = tasks.size() == 1;
    run.slots.resize(std::min(tasks.size(), static_cast<size_t>(MM_SNMP_IN_FLIGHT)));
    for (SnmpTask& t : tasks)
        t.started = t.finished = false;
    if (tasks.empty())
        return 0;
    mm_snmp_init();
    // A run of many shows its progress and asks once before it sends.
    progress.begin(label, static_cast<int>(tasks.size()));
    if (!run.one) {
        progress.step(0, static_cast<int>(tasks.size()), "");
        if (progress.cancelled())
            run.cancelled = true;
    }
    if (!run.cancelled)
        fill_slots(run);
    // Every turn waits at most POLL_USEC; each call ends by its answers or
    // by its requests' time-outs, and a cancel ends the reads at once.
    while (in_flight(run)) {
        if (progress.cancelled())
            run.cancelled = true;
        if (run.cancelled)
            end_reads(run);
        if (!in_flight(run))
            break;
        wait_once(run);
        poll_cancel(run);
        fill_slots(run);
    }
    return run.cancelled || progress.cancelled() ? 1 : 0;
}

std::vector<char> mm_snmp_all(const std::vector<MorixRecord*>& recs, int op,
                              const std::string& label, Progress& progress) {
    std::vector<SnmpTask> tasks;
    std::vector<size_t> of;
    for (size_t i = 0; i < recs.size(); ++i) {
        if (!recs[i])
            continue;
        tasks.emplace_back();
        tasks.back().rec = recs[i];
        tasks.back().op = op;
        of.push_back(i);
    }
    mm_snmp_many(tasks, label, progress);
    std::vector<char> started(recs.size(), 0);
    for (size_t k = 0; k < tasks.size(); ++k)
        started[of[k]] = tasks[k].started ? 1 : 0;
    return started;
}

void mm_snmp(MorixRecord* rec, int op, Progress& progress) {
    if (!rec || rec->prm_count <= 0)
        return;
    std::vector<SnmpTask> one(1);
    one[0].rec = rec;
    one[0].op = op;
    mm_snmp_many(one, "", progress);
}
