// What a command returns to the front end that called it: one result code,
// the report, the warnings, what happened on each device asked for, and any
// question left for the front end to ask. The frame renders it into a
// window; mm_cli prints it as text or JSON and takes its exit status from
// the result code, never from the report's words.
#pragma once

#include <string>
#include <vector>

// The one result code of every command.
enum class Result {
    done = 0,      // everything asked was done
    failed = 1,    // a device or file could not be read or written
    cancelled = 2, // the operator cancelled or declined
    refused = 3    // the request itself was refused (a warning says why)
};

// What happened on one device of the request.
enum class DeviceState {
    done,        // everything asked of it was done
    unread,      // it answered, but not every value could be read
    unreachable, // it did not answer
    refused,     // the request was refused for it (nothing was sent)
    cancelled,   // the operator cancelled before it was served
    not_sent     // a change that was not sent to it (see reason)
};

// The text a front end shows for a state ("done", "unread", ...).
inline const char* device_state_name(DeviceState s) {
    switch (s) {
    case DeviceState::done:
        return "done";
    case DeviceState::unread:
        return "unread";
    case DeviceState::unreachable:
        return "unreachable";
    case DeviceState::refused:
        return "refused";
    case DeviceState::cancelled:
        return "cancelled";
    case DeviceState::not_sent:
        return "not sent";
    }
    return "unknown";
}

struct DeviceOutcome {
    std::string device; // the device's name in the list
    DeviceState state = DeviceState::done;
    std::string reason; // why, when not done: a sentence that names the device
};

// A question the command leaves to the front end, asked after it returns
// (the window asks it; mm_cli takes OK only with -y).
struct FollowUp {
    std::string kind;     // what answering OK starts, e.g. "reset"
    std::string question; // the question's text
};

struct Outcome {
    Result result = Result::done;
    std::string report;                 // the report text (the window, stdout)
    std::vector<std::string> warnings;  // each a sentence naming device and variable
    std::vector<DeviceOutcome> devices; // every device asked for, in list order
    std::vector<FollowUp> follow_ups;
};

// How a long command reports progress and learns of a cancel: the frame
// implements it over the cancel dialog, mm_cli over SIGINT and stderr.
class Progress {
  public:
    virtual ~Progress() = default;
    // A run of total steps named what begins (the label of its progress).
    virtual void begin(const std::string& what, int total) {
        (void)what;
        (void)total;
    }
    // done of total steps finished; current names what is being served.
    virtual void step(int done, int total, const std::string& current) = 0;
    // True once the operator has asked to stop.
    virtual bool cancelled() = 0;
};

// A question a command must have answered before it can go on (a boot that
// would drop calls, a file that would be overwritten). The frame asks it in
// a modal box over the window that started the command; mm_cli answers OK
// only with -y. Questions the command can leave until it returns are
// FollowUps instead.
struct Question {
    std::string title; // the box's title
    std::string text;  // the question
    std::string ok_label = "OK";
    std::string cancel_label = "Cancel";
    bool default_ok = false; // OK is the default button
};

class Asker {
  public:
    virtual ~Asker() = default;
    // True when the operator answered OK.
    virtual bool ask(const Question& question) = 0;
};
