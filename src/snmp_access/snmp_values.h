// Value texts of the request engine: Set values encoded from their text by
// catalogue data type, and answer values printed by their SNMP type. Both
// text forms are fixed because callers compare and convert them.
#pragma once

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <string>

constexpr int MAX_SET_OID_LEN = 64; // sub-identifiers of a Set value of type 1

// Reads a number the way atoi does: leading white space skipped, an optional
// sign, digits up to the first non-digit; no digits give 0. Values beyond 32
// bits are kept as their low 32 bits (as the device will store them).
long mm_atol(const std::string& text);

// Checks the text of a number that a Set carries against the range of its
// catalogue data type: INTEGER (3) takes -2147483648..2147483647, Counter,
// Gauge and TimeTicks (6, 7, 8) take 0..4294967295. The text must be a
// complete base-10 number (white space around it and a sign allowed).
// Every other data type passes. Set validation, script checks, basic pages,
// site defaults and the encoder below all use this one check.
enum NumberCheck { NC_OK = 0, NC_NOT_NUMBER = 1, NC_OUT_OF_RANGE = 2 };
int check_set_number(int data_type, const std::string& text);
// True for the data types check_set_number checks (3, 6, 7, 8).
bool is_number_data_type(int data_type);
// The refusal of a value of variable name: "" when it fits, "Invalid
// Integer Format" when it is not a number, and for a number out of range
// "Invalid Integer Format: NAME takes MIN to MAX, not TEXT".
std::string number_refusal(int data_type, const std::string& name, const std::string& text);

// Parses dotted decimal sub-identifiers (an optional leading dot) into out,
// at most max_len of them. Returns 1 and the length, or 0 for a malformed
// text or one with too many sub-identifiers.
int parse_dotted_oid(const std::string& text, oid* out, size_t max_len, size_t* len);

// Adds one Set variable whose value text is encoded by catalogue data type
// 1..8 (any other code sends NULL). Returns 0, or -1 when the text cannot be
// encoded for that type (data type 4 has no conversion at all; an object
// identifier value that does not parse; a number that check_set_number
// refuses, which would otherwise wrap): nothing is added then.
int add_set_var(netsnmp_pdu* pdu, const oid* name, size_t name_len, int data_type,
                const std::string& value);

// The text of an answer value by its type tag.
std::string sprint_by_type(const netsnmp_variable_list* var);
// Dotted decimal identifier without a leading dot.
std::string sprint_objid(const oid* name, size_t len);
// Hexadecimal dump: full groups of 16 bytes as "8 pairs, blank, 8 pairs,
// newline", the rest as pairs without separators.
std::string sprint_hex(const unsigned char* bytes, size_t len);
