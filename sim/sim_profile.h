// Device profiles of the simulator: what one simulated device is (product
// type, release, ports, WAN modules, modems, interfaces, ARP entries,
// starting values) and the faults it injects.
#pragma once

#include <string>
#include <utility>
#include <vector>

// Enterprise arc of the device family; sysObjectID is E.1.3.N.
constexpr const char* SIM_ENTERPRISE = "1.3.6.1.4.1.32473";

struct WanModule {
    int if_index = 0;
    int module_type = 0;
    int channels = 0;
    std::string firmware;
};

struct IfRow {
    int index = 0;
    std::string descr;
    int type = 0;
    int mtu = 0;
    long speed = 0;
    std::string phys; // raw bytes
};

struct ArpRow {
    int if_index = 0;
    std::string net_addr; // dotted
    std::string phys;     // raw bytes
    int type = 3;         // dynamic
};

// One "set NAME[.INSTANCE] VALUE" line of a profile.
struct SetLine {
    std::string name;
    std::string instance; // empty: every instance of the variable
    std::string value;
    int line = 0;
};

// Faults a device or the load host injects; all off by default.
struct FaultSettings {
    int drop_pct = 0;                    // share of received datagrams silently dropped
    unsigned seed = 1;                   // seed of the drop decision
    int delay_ms = 0;                    // every reply leaves this much later
    int max_vars = 0;                    // >0: requests with more variables get tooBig
    bool toobig_index = false;           // tooBig carries the index of the first variable left out
    bool other_port = false;             // replies leave from a second port of the same address
    bool stray = false;                  // a reply with a wrong transaction id goes first
    std::vector<std::string> generr;     // NAME or NAME.INSTANCE answered with genErr
    int boot_silence_ms = 0;             // a Set of mrxcBoot goes unanswered and the device
                                         // answers nothing for this long (it reboots)
    bool reject_mode2 = false;           // load host: rejects open mode 2
    int abort_block = -1;                // load host: block number answered with an abort
    int abort_code = 3;                  // abort code used at abort_block
    bool eof_zero = false;               // load host: the end of a file is a return of 0 bytes
    int block = 512;                     // load host: bytes of data per read block (1..512)
    bool endless = false;                // load host: every read block is full, the file never ends
    bool after_close = false;            // load host: a closed read transfer goes on answering
    bool silent_close = false;           // load host: the close of a write is never answered
    int write_abort = -1;                // load host: every write block aborted with this code
    int tamper = 0;                      // TamperMode of every noError answer
    int dsc_flood = 0;                   // >0: discovery answered by this many replies
    std::vector<std::string> set_ignore; // NAME or NAME.INSTANCE: a Set is answered but not kept
    std::vector<std::string> set_refuse; // NAME or NAME.INSTANCE: a Set is answered badValue
    std::vector<std::string> file_change; // load host: files changed once after their first read
    bool store_damaged = false;           // load host: every upload is stored with a byte spoilt
    std::string reply_from; // load host: replies leave from this address (port 121), which
                            // serves further calls too
    int uptime_s = 0;       // the device has been up this long at start
    // Traps (sim_traps.cpp): where they go and what makes the device send them.
    int trap_port = 162;      // port of the trap hosts
    int calls = 0;            // >0: a call begins every this many seconds on the next async port
    bool disconnects = false; // every call that ends is cut unexpectedly
    int wan_errors = 0;       // bipolar violations a second on the first WAN module
    int trap_burst = 0;       // callBegin traps sent at start, one a millisecond
};

// How a tampering device spoils its noError answers (fault word tamper).
enum TamperMode {
    TAMPER_NONE,
    TAMPER_RENAME,     // every answer named sysDescr.0
    TAMPER_REORDER,    // answers in reverse order
    TAMPER_DROP_LAST,  // one answer too few
    TAMPER_EXTRA,      // one answer too many
    TAMPER_EMPTY,      // no answers at all
    TAMPER_WRONG_TYPE, // strings answered as numbers, everything else as strings
    TAMPER_SAME_NAME   // answers named as their requests (GetNext does not advance)
};
// The mode of a tamper word, -1 for none.
int tamper_mode_of(const std::string& name);

struct SimProfile {
    std::string path;
    int product_type = 0;      // N of E.1.3.N; 0 when sys_object_id is given
    std::string sys_object_id; // explicit sysObjectID (E.1.1, E.1.10, foreign)
    std::string sys_descr = "Simulated device";
    std::string sys_name;
    std::string sys_contact;
    std::string sys_location;
    int rel_major = 14;
    int rel_minor = 1;
    std::string community = "vantor";
    int allow_sets = 1;
    int asy_ports = 0;
    int syn_ports = 0;
    int ptr_ports = 0;
    int max_msg = 1472;
    bool device_objects = true; // false: the catalogue's enterprise objects are absent
    std::vector<WanModule> modules;
    std::vector<std::string> modems; // firmware revision per internal modem
    std::vector<IfRow> interfaces;
    std::vector<ArpRow> arp;
    std::vector<SetLine> sets;
    FaultSettings faults;
    // Live counters (sim_live.h): every Counter object advances by this
    // many per second of up time, or by its own rate when named here.
    long counter_rate = -1; // -1: the default of the product type
    std::vector<std::pair<std::string, long>> counter_rates;
    // -1: up time runs with the wall clock; else it advances this many
    // hundredths of a second per request taken (a clock tests can count).
    long clock_step = -1;
};

// Reads a profile file. Returns 0, or -1 with a message naming the file and
// line in *error.
int read_sim_profile(const std::string& path, SimProfile* profile, std::string* error);

// Applies one fault word (KEY or KEY=VALUE) to the settings. Returns 0, or
// -1 with a message.
int apply_fault_word(const std::string& word, FaultSettings* faults, std::string* error);

// Parses "aa:bb:cc" hex bytes (or "-" for none) into raw bytes; 0 or -1.
int parse_hex_bytes(const std::string& text, std::string* bytes);
