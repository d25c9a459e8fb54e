// Product types of the Morix family: their display names, the platform
// class each belongs to, and the maker's enterprise arc that device
// identification checks.
#pragma once

#include <string>

// Object identifier prefix of the maker's private enterprise.
constexpr const char* MRX_ENTERPRISE_OID = "1.3.6.1.4.1.32473";

constexpr int PROD_TYPE_COUNT = 24;
constexpr int PT_UNKNOWN_PRODUCT = 1;
constexpr int PT_UNSUPPORTED = 21;
constexpr int PT_NOT_REACHABLE = 22;

// Display name of a product type ("" for an index outside the table).
const char* prod_type_str(int product_type);
// Device list priority of a product type (lower first); types without a
// priority sort after all others.
int get_prod_type_pri(int product_type);
// Platform class of product type number n.
int platform_of_product(int n);
// 1 when the record is a communication server (never supported), else 0.
struct MorixRecord;
int check_comm_srv(const MorixRecord* rec);
// Name shown in the device list for a record: the product name, "Unknown
// Product Type" for an empty one, "NOT REACHABLE" for an unreachable device.
std::string mrx_row_text(const MorixRecord* rec);
