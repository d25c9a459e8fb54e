// An event as one line of JSON (JSON Lines: mm_cli events --json and the
// event log), and back.
#pragma once

#include <string>

#include "events/trap_event.h"

// The event as one JSON object without a line end. Members: time, source,
// device (null when unknown), agent_addr, community_ok, enterprise,
// generic, generic_name, specific, uptime, vars (each name, oid, instance,
// value, enum_name: null when none).
std::string event_to_json(const TrapEvent& ev);

// Reads a line that event_to_json wrote (members in any order, unknown
// members passed over). False for anything else; *ev is then unspecified.
bool event_from_json(const std::string& line, TrapEvent* ev);
