// The basic-mode windows' side of the change pipeline: the check that a
// device may be set, sending the chains built for the devices, and the
// per-device report as warnings.
#pragma once

#include <vector>

#include "snmp_access/morix_record.h"
#include "ui/outcome.h"

// 1 when the device at list position index is reachable and allows sets;
// otherwise warns (page_warn), lists it as refused in the running outcome
// and returns 0 (the device is skipped).
int check_morix_set(int index);
// Sends the chains of the devices at the given list positions through the
// change pipeline (its cancel dialog over window), warns each device's
// report lines (page_warn), offers the automatic reset when nothing failed
// (its failures warned too, and the outcome then failed) and frees every
// chain. error and cancel receive the outcome; returns the pipeline's
// outcome (per device, follow-ups). accept_no_undo: the
// caller's confirmation covers values undo cannot write back (they are
// sent without asking again).
Outcome process_set_req_basic(const std::vector<int>& devices, int window, int* error, int* cancel,
                              bool accept_no_undo = false);
