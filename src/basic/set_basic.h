// The set funnel of the basic-mode windows: the check that a device may be
// set, sending the chains built for the devices, and the per-device report.
#pragma once

#include <vector>

#include "snmp_access/morix_record.h"

// 1 when the device at list position index is reachable and allows sets;
// otherwise warns over window and returns 0 (the device is skipped).
int check_morix_set(int index, int window);
// Sends the chains of the devices at the given list positions, reports
// each over window, offers the automatic reset when nothing failed and
// frees every chain. error and cancel receive the outcome.
void process_set_req_basic(const std::vector<int>& devices, int window, int* error, int* cancel);
// The report of one device; sets *error on any failure.
void process_set_req_res_basic(MorixRecord* rec, int window, int* error, int cancelled);
