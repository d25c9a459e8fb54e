// Device identification: asks a device who it is, decides whether it is a
// supported Morix, and fills its record.
#pragma once

#include <string>

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

// connect_morix after a reachability probe (see mrx_probe.h): a device that
// stayed silent is not reachable (result 11, status 4) without asking it
// again; any other probe result identifies it as usual.
int connect_morix_probed(MorixRecord* rec, int probe, std::string* product_name,
                         std::string* summary, std::string* info);

// Module interface indexes and module details of a device's WAN modules.
// Each returns "" or the text naming a value outside its bound (the query
// stops there).
std::string get_ds1_index(MorixRecord* rec);
std::string get_ds1_info(MorixRecord* rec);
// Firmware revision groups of the internal modems.
void get_imdm_revs(MorixRecord* rec);
// 0 when the device is its own configuration server, 9 when it is not, -1
// for a null record; message receives the operator text unless the result
// is 9.
int check_conf_serv(const MorixRecord* rec, std::string* message);
