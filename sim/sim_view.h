// The object view of one simulated device: every object identifier it
// answers, in lexicographic order, with its type, value and writability.
// Built once from the catalogue and the profile; Sets change values only.
#pragma once

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <string>
#include <vector>

#include "sim_profile.h"

using OidVec = std::vector<oid>;

struct SimValue {
    u_char type = ASN_NULL;
    long num = 0;      // INTEGER, Counter, Gauge, TimeTicks
    std::string bytes; // OCTET STRING, IpAddress (4 bytes)
    OidVec objid;      // OBJECT IDENTIFIER
};

// Built-in objects of MIB-II that every device has, whatever the catalogue.
enum BuiltinKind { BK_NONE = 0, BK_PLAIN, BK_UPTIME };

struct ViewEntry {
    OidVec name;          // full identifier with instance
    int cat_id = -1;      // catalogue id, or -1 for a built-in object
    std::string label;    // variable name, for logs and profile lookups
    std::string instance; // dotted instance text
    int port_code = 0;    // port type code the instance was built for
    bool writable = false;
    int enum_lo = 0, enum_hi = -1; // integer range of a built-in enumeration
    BuiltinKind builtin = BK_NONE;
    SimValue value;
};

struct DeviceView {
    std::vector<ViewEntry> entries; // sorted by name, unique

    ViewEntry* find(const oid* name, size_t len);
    ViewEntry* next(const oid* name, size_t len);
};

// What the view is built from besides the profile.
struct DeviceFacts {
    std::string address; // dotted device address
};

// Builds the view of a device. Returns 0, or -1 with a message (a profile
// "set" line that names no object or gives a value of the wrong kind).
int build_device_view(const SimProfile& profile, const DeviceFacts& facts, DeviceView* view,
                      std::string* error);

// Converts a value text to the given SNMP type. For an enumerated catalogue
// variable (enum_id >= 0) an enumeration name is accepted too. 0 or -1.
int value_from_text(u_char type, int enum_id, const std::string& text, SimValue* out);
// The zero value of a type (0, empty string, 0.0.0.0, 0.0).
SimValue zero_value(u_char type);
// A value as text (decimal, dotted, or the bytes of a string).
std::string value_to_text(const SimValue& v);
// Parses dotted decimal numbers ("1.3.6", a leading dot allowed). 0 or -1.
int parse_oid_text(const std::string& text, OidVec* out);
std::string oid_to_text(const oid* name, size_t len);

// SNMP type for a catalogue data type code.
u_char catalogue_asn_type(int data_type);
