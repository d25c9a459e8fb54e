// Device records (one per device of the device list) and parameter nodes
// (one per variable of a request), the device list table and its ordering.
#pragma once

#include <netinet/in.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

constexpr int MAX_MRX_SLOTS = 64;   // list slots, the last one always empty
constexpr int MAX_MRX_RECORDS = 63; // records a list may hold
constexpr int MAX_MDM_REVS = 7;
// The most seconds a record's time-out (kept in microseconds) can hold.
constexpr int MAX_TIMEOUT_SECS = 2147;
// The most retries of a record (the SNMP settings dialog's bound).
constexpr int MAX_RETRIES = 100;
constexpr int MAX_MORIX_SELECT = 50;      // names kept by the WAN-edit window
constexpr int MORIX_SELECT_NAME_MAX = 29; // characters of one such name

struct ParamNode {
    ParamNode* next = nullptr;
    std::string inst_str; // instance text, used when instance is -1
    bool has_value = false;
    std::string value; // Set input, Get/GetNext output
    bool has_next_oid = false;
    std::string next_oid; // full identifier returned by GetNext
    int seq = 0;          // position in the chain when added
    int mib_index = 0;    // catalogue id
    int port_type = 0;
    int port_num = 0;
    int instance = 0; // -1: inst_str holds the instance
    int status = 0;   // 0, 5, 7, 8, -1 or 17
};

// One device. A record owns its parameter chain alone: the destructor frees
// it, and records are never copied implicitly (cpy_host_node copies one
// explicitly, chain included). A record belongs either to a list slot or to
// a MorixRecordPtr, never to both.
struct MorixRecord {
    MorixRecord() = default;
    MorixRecord(const MorixRecord&) = delete;
    MorixRecord& operator=(const MorixRecord&) = delete;
    ~MorixRecord();

    ParamNode* prm_list = nullptr;
    sockaddr_in addr{};
    std::string name;
    bool has_info = false;
    std::string info;
    std::string community;
    int timeout = 0; // microseconds
    int retries = 0;
    int status = 0;
    int reachable = 0;
    int prm_count = 0;
    int asy_ports = 0;
    int syn_ports = 0;
    int para_ports = 0;
    int enet_ports = 0;
    int modem_count = 0;
    std::vector<int> wan_chan_count;
    int wan_count = 0;
    std::vector<int> wan_if_index;
    std::vector<int> wan_module_type;
    int platform = 0;
    int product_type = 0;
    int allow_set = 0;
    // The largest request (variables) the device accepted after it answered
    // tooBig; 0 until then. The request engine starts chunks at this size.
    int max_vars = 0;
    bool has_mac_addr = false;
    std::string mac_addr;
    std::array<std::string, MAX_MDM_REVS> modem_rev_ports;
    std::array<std::string, MAX_MDM_REVS> modem_revs;
    std::string csu_text;
    bool has_config_server = false;
    std::string config_server;
    // Last node of prm_list as add_prm_node left it, valid while prm_list is
    // still prm_tail_head (code that hands a chain over or empties prm_list
    // itself leaves a tail that is then not used).
    ParamNode* prm_tail = nullptr;
    ParamNode* prm_tail_head = nullptr;
};

using MorixRecordPtr = std::unique_ptr<MorixRecord>;
// A new empty record, owned by the caller until a list takes it.
MorixRecordPtr new_host_node();

// A table of device records in MAX_MRX_SLOTS slots. The table owns its
// records: one enters through insert or put and leaves through take, erase or
// clear; everything else reads plain pointers. Reading a slot outside the
// table gives null, as an empty slot does.
class DeviceList {
  public:
    using Slots = std::array<std::unique_ptr<MorixRecord>, MAX_MRX_SLOTS>;
    // Walks every slot, empty ones as null, so that `for (MorixRecord* r :
    // list)` loops stop at the first null as a packed list ends there.
    class iterator {
      public:
        explicit iterator(Slots::const_iterator it) : it_(it) {}
        MorixRecord* operator*() const { return it_->get(); }
        iterator& operator++() {
            ++it_;
            return *this;
        }
        bool operator!=(const iterator& o) const { return it_ != o.it_; }

      private:
        Slots::const_iterator it_;
    };

    MorixRecord* operator[](int index) const;
    iterator begin() const { return iterator(slots_.begin()); }
    iterator end() const { return iterator(slots_.end()); }
    // Records held (in a packed list: the records before the first null).
    int count() const { return count_; }
    const int& count_ref() const { return count_; }

    // Stores rec at index of a packed list, moving later records one slot
    // up; the list then owns it and rec is empty. Returns 0, or -1 (nothing
    // changed, rec still owns the record) when the list holds
    // MAX_MRX_RECORDS records or index lies outside 0..count().
    int insert(MorixRecordPtr& rec, int index);
    // Removes the record at index of a packed list, moving later records
    // down a slot; the caller owns it (null for an empty slot).
    MorixRecordPtr take(int index);
    // Stores rec in slot (freeing what the slot held); for lists with holes.
    void put(int slot, MorixRecordPtr rec);
    // Frees every record and empties every slot.
    void clear();
    // The first record of that name, or null.
    MorixRecord* find(const std::string& name) const;
    // Slot of the record of that name, or -1.
    int position(const std::string& name) const;
    // Called with each record that leaves the table (take, put over it,
    // clear) before it is freed or handed over.
    void on_leave(std::function<void(const MorixRecord*)> hook) { on_leave_ = std::move(hook); }

  private:
    void left(const MorixRecord* rec) const;
    Slots slots_;
    int count_ = 0;
    std::function<void(const MorixRecord*)> on_leave_;
};

// The device list (packed, sorted by product priority, then name) and the
// discovery list (slots as discovery filled them). mrx_lst_cnt reads the
// device list's count.
extern DeviceList host_info_list;
extern DeviceList host_disc_list;
extern const int& mrx_lst_cnt;

// The device-list record of that name, or null.
MorixRecord* find_record(const std::string& name);

// Names of the devices the WAN-edit window works on; an empty slot ends the
// filled ones.
extern std::array<std::string, MAX_MORIX_SELECT> morix_select;

// ---- Parameter chains ----------------------------------------------------

// Appends a node with seq = prm_count. inst_str and value are copied; a value
// of exactly two double quotes is stored as the empty text. Returns 0, or -5
// when inst_str or value is null (nothing is added).
int add_prm_node(MorixRecord* rec, int mib_index, int port_type, int port_num, int instance,
                 const char* inst_str, const char* value, int status);

// Looks the variable up by catalogue name and finds the first node of it
// whose instance matches (instance -1 nodes match on inst_str). value_out is
// the value, converted to its enumeration text when the variable has one;
// raw_out (may be null) receives the value as the device sent it when that
// is not empty. Returns 1 when found with status 0 and a usable value.
int get_prm_val(const MorixRecord* rec, const std::string& var_name, int instance,
                const std::string& inst_str, std::string* value_out, std::string* raw_out);

// One-variable Get of a scalar through the request engine; the value as
// get_prm_val gives it, or nothing. The chain is freed afterwards.
std::optional<std::string> get_mrx_prm_val_str(MorixRecord* rec, const std::string& var_name);

// Frees a record's parameter chain; prm_count and status become 0.
void free_prm_list(MorixRecord* rec);
// Frees a record and its chain.
void free_host_node(MorixRecord* rec);
// Frees every record of a list and empties all its slots (program end, list
// replacement).
void free_host_info_list(DeviceList& list);
// Frees the parameter chain of every device-list record that is selected and
// reachable; returns value.
int free_host_info_list(int value);

// The records of the device list that are selected and reachable, in list
// order: the devices a command works on after the selection check.
std::vector<MorixRecord*> selected_reachable();
// Whether the record is among the session's selected devices.
bool is_selected(const MorixRecord* rec);

// ---- Device list ordering ------------------------------------------------

// Index at which rec belongs in host_info_list.
int get_host_node_pos(const MorixRecord* rec);
// Copies a record's identity, settings, counts, WAN arrays and parameter
// chain into dst. dst gets a chain of its own (its previous chain is freed),
// so freeing either record never touches the other's nodes.
void cpy_host_node(MorixRecord* dst, const MorixRecord* src);

// ---- WAN-edit selection ----------------------------------------------------

// Stores name (cut to MORIX_SELECT_NAME_MAX characters) in a slot.
void set_morix_select(int slot, const std::string& name);
// 0 when the record's name is among the filled slots (or all slots are filled
// without a match), -1 when an empty slot comes first.
int get_valid_morix(const MorixRecord* rec);
