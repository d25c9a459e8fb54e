// Remembered identification: what a successful identification learnt about
// a device, kept per device (address, community, port) in a small file of
// the data folder, and the one request that shows it still holds before it
// is used again.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "snmp_access/morix_record.h"

// Where identification may use what it remembered. List loads use it from
// IDENT_LOADS on, the devices added by name (mm_cli -mrx, gui_mm -mrx at
// start-up) at IDENT_LOADS_AND_ADDS; Query, the typed Add and discovery
// always identify afresh. Identification that does not use it forgets what
// was remembered of its devices.
enum IdentUse { IDENT_FRESH = 0, IDENT_LOADS = 1, IDENT_LOADS_AND_ADDS = 2 };
extern int g_ident_use;

// What a successful identification read, as it read it: enough to fill a
// record and its texts again through identification's own rules.
struct IdentFacts {
    std::string oid, descr; // sysObjectID, sysDescr
    bool has_major = false, has_minor = false;
    int major = 0, minor = -1;
    std::map<std::string, std::string> answers; // second-stage answers by name
    std::array<std::string, 4> wan_text;        // module revisions 1, 2; WAN types 1, 2
    int wan_count = 0;
    std::vector<int> wan_if_index, wan_chan_count, wan_module_type;
    int modem_count = 0;
    int allow_set = 0;
    std::array<std::string, MAX_MDM_REVS> modem_revs, modem_rev_ports;
};

// A device's answer to the check request: its uptime between two readings
// of the wall clock, and the checked values (absent ones left out; not
// kept in the file, where the facts predict them).
struct IdentSample {
    double sent = 0, received = 0; // wall seconds
    long long uptime = -1;         // sysUpTime, hundredths of a second
    std::map<std::string, std::string> values;
};

struct IdentEntry {
    std::string address, community; // dotted IPv4 address
    int port = 0;
    double identified = 0; // wall seconds of the identification
    IdentSample sample;    // the last answer to the check request
    IdentFacts facts;
};

// Bounds of the file: a damaged or foreign copy cannot size anything
// beyond them.
constexpr long IDENT_FILE_MAX_BYTES = 1 << 20;
constexpr int IDENT_MAX_ENTRIES = 256;
constexpr size_t IDENT_MAX_TEXT = 1024; // bytes of one value
// An identification is used for at most this long; then it is made again,
// so facts the check cannot see (the firmware of internal modems and WAN
// modules) are never older than a day.
constexpr double IDENT_MAX_AGE = 24 * 3600.0;
// Rate difference allowed between the device's uptime and the wall clock.
constexpr double IDENT_CLOCK_DRIFT = 0.001;

// The variables of the check request (those the catalogue lacks are left
// out), all scalars, in the order sent.
const std::vector<std::string>& ident_check_vars();
// The values of the check request that facts predict (mrxAllowSets as the
// flag's "1" or "2" reading); sysObjectID and sysUpTime are not in it.
std::map<std::string, std::string> ident_expected_values(const IdentFacts& facts);
// Whether the answer shows the entry still holds: the same sysObjectID and
// checked values, the uptime grown by the wall time between the two
// answers (a smaller one means a restart), and the entry younger than
// IDENT_MAX_AGE.
bool ident_still_holds(const IdentEntry& entry, const std::string& oid, const IdentSample& now);

// The wall clock of remembered identification; tests replace it (null:
// the system's).
using IdentClock = double (*)();
void set_ident_clock(IdentClock clock);
double ident_now();

// The file: a version line, then one block of lines per device. Reading
// checks every field against its bound and form; a file that fails is
// ignored as a whole, with one note on standard error, and replaced at the
// next write.
class IdentMemory {
  public:
    // Reads path (a missing file is an empty memory).
    explicit IdentMemory(const std::string& path);
    // The default file of the installation directory.
    static std::string default_path();
    const IdentEntry* find(const std::string& address, int port,
                           const std::string& community) const;
    // Stores entry in place of any of the same key; the oldest samples go
    // when IDENT_MAX_ENTRIES would be passed.
    void store(const IdentEntry& entry);
    // Forgets every entry of the address and port.
    void forget(const std::string& address, int port);
    // Writes the file when anything changed (temporary file and rename);
    // false (with a note) when it could not be written.
    bool save();
    const std::string& note() const { return note_; }
    bool empty() const { return entries_.empty(); }

  private:
    std::string path_, note_;
    std::vector<IdentEntry> entries_;
    bool changed_ = false;
};

// Encodes and decodes the file's text; decode gives false and a reason
// (with the line number) for anything outside the format or its bounds.
std::string encode_ident_file(const std::vector<IdentEntry>& entries);
bool decode_ident_file(const std::string& text, std::vector<IdentEntry>* entries,
                       std::string* reason);
