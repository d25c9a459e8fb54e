// Device identification: asks a device who it is, decides whether it is a
// supported Morix, and fills its record.
#pragma once

#include <string>
#include <vector>

#include "snmp_access/morix_record.h"

// Identification result codes.
enum ConnectResult {
    CR_OK = 0,
    CR_UNKNOWN_HOST = 6,
    CR_NOT_MORIX = 9,
    CR_NOT_SUPPORTED = 10,
    CR_NOT_REACHABLE = 11,
    CR_CANCELLED = 17
};

// Identifies rec (name, community, timeout, retries set; empty chain).
// product_name receives the product name on success; summary receives the
// one-line summary (0) or the device's sysDescr (9, 10); info the View text
// (0). alt_community, when not empty, is tried when the first one fails.
int connect_morix(MorixRecord* rec, std::string* product_name, std::string* summary,
                  std::string* info, const std::string& alt_community);

// One device of a many-device identification: the record (name,
// community, timeout, retries set; empty chain), a second community to try,
// and what connect_morix would give.
struct IdentItem {
    MorixRecord* rec = nullptr;
    std::string alt_community;
    int code = CR_CANCELLED;
    std::string product, summary, info;
};

// Identifies every item's record at once: each device's steps follow one
// another as in connect_morix and its requests are the same, while the
// devices are served side by side (see mm_snmp_many; label names the work
// in the cancel dialog). Returns 1 when the operator cancelled: items not
// finished then have code 17. remembered: a device's remembered
// identification (ident_memory.h) is checked with one request and used when
// it still holds, and a fresh success is remembered; otherwise (and in
// connect_morix) what was remembered of the devices is forgotten.
int connect_morix_many(std::vector<IdentItem>& items, const std::string& label,
                       bool remembered = false);

// connect_morix after a reachability probe (see mrx_probe.h): a device that
// stayed silent is not reachable (result 11, status 4) without asking it
// again; any other probe result identifies it as usual.
int connect_morix_probed(MorixRecord* rec, int probe, std::string* product_name,
                         std::string* summary, std::string* info);

// 0 when the device is its own configuration server, 9 when it is not, -1
// for a null record; message receives the operator text unless the result
// is 9.
int check_conf_serv(const MorixRecord* rec, std::string* message);
