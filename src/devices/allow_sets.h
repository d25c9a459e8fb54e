// Whether devices accept SET requests (the device variable mrxAllowSets).
#pragma once

#include <vector>

#include "snmp_access/morix_record.h"

// Reads mrxAllowSets; allow_set becomes 0 only when the device answered "2".
// Returns the flag (0 without the variable in the catalogue).
int are_parameters_settable(MorixRecord* rec);
// The same in two steps around a Get of the chain: the request (false
// without the variable in the catalogue), then the flag from the answer
// (the chain is emptied).
bool settable_request(MorixRecord* rec);
void settable_take(MorixRecord* rec);
// Refreshes the flag of every record, asking them side by side.
void settable_many(const std::vector<MorixRecord*>& recs);
// Refreshes the flag of every selected, reachable device of the list;
// 1 when all of them allow sets.
int will_sel_mrx_allow_set();
