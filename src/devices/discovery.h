// Discovery of Morix devices the operator has not typed in: the discovery
// datagram exchange on UDP port 121 (network discovery, from the prompt and
// at start-up) and search-device discovery, which reads one agent's
// IP-to-media table and identifies every address found there.
#pragma once

#include "ui/widget_ids.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "devices/mrx_list.h"
#include "snmp_access/morix_record.h"
#include "ui/outcome.h"

// ---- Widget ids -------------------------------------------------------------

// The network discovery prompt (a labelled entry form with three fields).
// Its buttons (activate ids).

// The search-device discovery window (form 238).

// Help texts of the discovery prompt and of the file selection box that
// saves the discovered devices.
extern const char* const DSC_PROMPT_HELP;
extern const char* const DSC_SAVE_HELP;

// ---- The discovery exchange ---------------------------------------------------

constexpr int DSC_PORT = 121;          // the port Morix devices answer on
constexpr int DSC_REQUEST_LEN = 22;    // bytes of a request
constexpr int DSC_REPLY_BUF = 213;     // bytes of a reply that are read
constexpr int DSC_DEFAULT_TIMEOUT = 3; // seconds, for a time-out below 1
constexpr int MAX_DSC_ADDRS = 1024;    // addresses one search or broadcast may collect
constexpr int DSC_MARKS_PER_LINE = 80;
constexpr const char* DSC_DEFAULT_BCAST = "255.255.255.255";

// The 22-byte request; pid fills bytes 0..3 (big-endian).
std::vector<uint8_t> build_dsc_request(uint32_t pid);
// The device address carried by a reply (bytes 18..21 in dotted form), or
// "" when the reply is shorter than a request and carries none.
std::string dsc_reply_addr(const uint8_t* data, size_t length);
// False for an address no device can have: 0.0.0.0, 255.255.255.255, a
// multicast or reserved address (224.0.0.0 and above), and, when network is
// given (the target network's address), that network address and the
// target itself (then the network's broadcast address).
bool dsc_addr_usable(const std::string& dotted, const std::string& target,
                     const std::string& network);
// The address a reply names when it is usable for that target and network
// (as above), else "".
std::string dsc_take_reply(const uint8_t* data, size_t length, const std::string& target,
                           const std::string& network);
// Host name of a dotted address by reverse resolution, or the address
// itself when there is none.
std::string dsc_host_name(const std::string& dotted);

// One exchange: sends the request once to port 121 of address (broadcast
// allowed) and collects for the whole time-out (seconds) the name of every
// device that answers, in order of arrival, duplicates kept, replies that
// name no usable address (dsc_take_reply) left out. Collecting stops after
// MAX_DSC_ADDRS answers (*over set). An empty list means no responder (or a
// socket failure).
std::vector<std::string> disc(const std::string& address, int timeout,
                              const std::string& network = "", bool* over = nullptr);

// ---- Network discovery --------------------------------------------------------

// The prompt's three fields as typed.
struct DscPromptRequest {
    std::string address, mask, timeout;
};
// The prompt's fields once checked: address and mask without blanks (at
// most 24 characters each), the time-out's leading number of seconds.
struct DscPromptFields {
    std::string address, mask;
    int timeout = 0;
};
// Checks the prompt's fields: -1 when accepted (fields filled in), else the
// index of the refused field (0 address, 1 mask) with refusal filled in.
int check_dsc_prompt(const DscPromptRequest& req, DscPromptFields* fields, std::string* refusal);
// Header text of the work dialog for the given texts ("" meaning absent).
std::string dsc_header_text(const std::string& address, const std::string& mask,
                            bool default_bcast);
// Broadcast address for address and mask ("" = absent); allow_default is 1
// at start-up, where both absent give the default broadcast address. 0 with
// bcast and header filled in, or -1 with the warning in refusal (when given).
int dsc_bcast_for(const std::string& address, const std::string& mask, int allow_default,
                  std::string* bcast, std::string* header, std::string* refusal = nullptr);
// What one network discovery broadcasts to, and for how long.
struct NetDiscoveryRequest {
    std::string bcast;   // the broadcast address
    std::string header;  // the first lines of the work dialog
    std::string network; // the target network's address ("" when not known)
    int timeout = 0;     // seconds; below 1 DSC_DEFAULT_TIMEOUT
};
// The request for address and mask (see dsc_bcast_for): done with req
// filled in, or refused with "Invalid broadcast address." and the texts as
// its warning.
Outcome plan_net_discovery(const std::string& address, const std::string& mask, int timeout,
                           int allow_default, NetDiscoveryRequest* req);
// The work dialog's text while req runs.
std::string dsc_work_text(const NetDiscoveryRequest& req);
// Broadcasts, writes the responders to a temporary list file and loads it
// into the device list: the load's outcome, after a warning when more
// answers arrived than are used. failed with "No valid Morixes were
// discovered." (and the broadcast address when nothing answered) as its
// warning when no device was found.
// progress counts the devices loaded; the list's view is the load's.
ListOutcome run_net_discovery(const NetDiscoveryRequest& req, Progress& progress);
// Writes names as a device list file to a new, exclusively created file in
// dir (named after "tmp.dsc_list"); path receives its name. Returns the
// number of device lines written, or -1 when no file could be created.
int write_dsc_list_file(const std::string& dir, const std::vector<std::string>& names,
                        std::string* path);

// ---- Search-device discovery ---------------------------------------------------

// What "Discover" of the search-device window takes: the search device,
// time-out and retries as typed (blank: the defaults, written back), and
// whether devices that are no Morix or do not answer are reported too.
struct DiscoverRequest {
    std::string device, timeout, retries;
    bool verbose = false;
};
// Outcome of a search-device discovery.
enum DscSearchResult {
    DSC_FOUND = 0,     // at least one Morix was identified
    DSC_NONE = 1,      // the walk ran, no Morix was identified
    DSC_UNREAD = 2,    // the search device could not be read
    DSC_CANCELLED = 3, // the operator cancelled
    DSC_REFUSED = 4    // no search device was given
};
// What a search-device discovery returned: a DscSearchResult, the refusal
// as a warning, and the fields as the window shows them afterwards (the
// device without blanks; a time-out or retries that was blank or cut, the
// value used; "" leaves a field as typed).
struct DscSearchOutcome {
    Outcome outcome;
    int result = DSC_REFUSED;
    std::string device, timeout, retries;
};
// "Discover" of the search-device window: empties the output and the
// discovered table, then discovers through the search device.
DscSearchOutcome discover_morixes(const DiscoverRequest& req);
// How the search-device window follows a discovery as it runs: text added
// to the output (rewrite: the whole output replaced by text, for the
// running count and emptying), and a row for each Morix kept (clear: the
// rows emptied). Null members: nothing is shown, the text is still kept.
struct DscWindowSink {
    void (*output)(const std::string& text, bool rewrite) = nullptr;
    void (*row)(const std::string& row) = nullptr;
    void (*clear_rows)() = nullptr;
};
void set_dsc_window_sink(const DscWindowSink& sink);
// Empties the search-device window's output.
void dsc_output_clear();
// The discovery window's output as written since it was last emptied.
const std::string& dsc_output_text();
// Reads the search device's ipNetToMediaNetAddress column into addrs (at
// most MAX_DSC_ADDRS), writing the running count to the output. Returns 0
// when the walk ran (completely or not), -1 when the search device could
// not be read at all, 17 when the operator cancelled.
int dsc_collect_addrs(MorixRecord* search, std::vector<std::string>* addrs);
// Identifies every address and reports it; identified devices go into
// host_disc_list. Returns 1 when the operator cancelled.
int dsc_identify_addrs(const std::vector<std::string>& addrs, int timeout, int retries,
                       bool verbose = false);
// Number of filled slots of host_disc_list.
int dsc_mrx_count();
// Frees every record of host_disc_list and empties the window's list.
void free_dsc_mrx_lst();

// ---- Window actions --------------------------------------------------------------

// "Update": the main device list becomes the re-identified discovered
// devices. refused (nothing changed) when none was discovered, cancelled
// after a cancel; a warning per device not listed. The caller empties the
// list's rows (and closes the information window) first when there are
// discovered devices.
Outcome copy_dsc_mrx_lst(const DeviceList& table);
// OK of the "Save List" file selection: the discovered devices saved under
// the typed file name, asking through asker before replacing a file.
Outcome save_dsc_mrx_lst(const std::string& typed, Asker& asker);
