// MIB variable catalogue: the variables the program may show or set, their
// enumerations and site defaults, read once from the catalogue directory.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

constexpr int MAX_MIB_VARS = 768;
constexpr int MAX_MIB_ENUMS = 256;

// Catalogue data types (value type used when a variable is written).
enum MibDataType {
    MDT_OBJID = 1,
    MDT_OCTET_STR = 2,
    MDT_INTEGER = 3,
    MDT_NET_ADDR = 4,
    MDT_IP_ADDR = 5,
    MDT_COUNTER = 6,
    MDT_GAUGE = 7,
    MDT_TIMETICKS = 8
};

// Write types.
enum MibWriteType {
    MWT_READ_ONLY = 0,
    MWT_WRITABLE = 1,
    MWT_ASY_ONLY = 2,
    MWT_SYN_ONLY = 3,
    MWT_PTR_ONLY = 4,
    MWT_EN_ONLY = 5
};

// Internal codes.
enum MibInternalCode { MIC_ORDINARY = 0, MIC_INTERNAL = 1, MIC_NOT_TRANSFERABLE = 2 };

struct MibVarEntry {
    std::string name;    // shown to the user, used in scripts and group files
    std::string oid_str; // object name form of the identifier
    std::string oid_num; // dotted numeric identifier without instance
    int data_type = 0;
    int write_type = 0;
    int port_class = 0;
    int inst_type = 0;
    int enum_id = -1;
    std::string def_val;
    bool has_site_def = false;
    std::string site_def_val;
    int internal_code = 0;
    int reset_map_idx = 0;
};

// One enumerated value; an enumeration keeps its entries in file order.
struct EnumEntry {
    int value = 0;
    std::string text;
};

using EnumList = std::vector<EnumEntry>;

// mib_data_list[id] is null for an empty slot.
extern std::array<std::unique_ptr<MibVarEntry>, MAX_MIB_VARS> mib_data_list;
// mib_enum_list[id] is empty for an enumeration id without entries.
extern std::array<EnumList, MAX_MIB_ENUMS> mib_enum_list;

// Reads mib.dat, mib_site_def.dat and mib_enum.dat from mm_dir/directory.
// Returns 0, or -4 as soon as a file cannot be opened.
int read_mib_info(const std::string& directory);

// Single-file readers (used by read_mib_info; tests and fuzzers call them
// directly). Each returns 0, or -4 when the file cannot be opened.
int read_mib_dat(const std::string& path);
int read_mib_site_def_dat(const std::string& path);
int read_mib_enum_dat(const std::string& path);

// Empties both tables.
void clear_mib_info();

// Returns 1 and the id of the lowest slot whose name, OID string or OID
// number equals text exactly; 0 when none does. Answers from the name index.
int get_check_mib_var(const std::string& text, int* id);

// Rebuilds the name index from mib_data_list. The readers and
// clear_mib_info call it; code that fills slots itself calls it afterwards.
void rebuild_mib_index();

// Value number (decimal text) to enumeration name; 1 on success, 0 otherwise
// (name left untouched).
int cvt_enum_num_str(int id, const std::string& value, std::string* name);
// Enumeration name to value number written in decimal; 1 or 0.
int cvt_enum_str_num(int id, const std::string& name, std::string* value);

// 1 when the variable may be written for ports of the given port type code.
int check_mib_var_write(int id, int port_type);

// Copies source without any white-space character.
void remove_blanks(const std::string& source, std::string* destination);
// Removes white space from text into result; the warning saying so, or ""
// when nothing went.
std::string blanks_removed_warning(const std::string& text, std::string* result);
// Cuts all white space at the end of text.
void remove_trail_blanks(std::string* text);

// Replaces the site default of an entry with a copy of value, or clears it
// when value is null.
void set_site_default(int id, const std::string* value);

// Convenience: the entry in slot id, or null for an empty or invalid slot.
const MibVarEntry* mib_var(int id);
