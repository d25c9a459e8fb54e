// Device list commands of the main window: Add, Query, View, Delete, the
// SNMP settings dialog, the menu entries that follow the product types of
// the selection, the map of selected devices and the refused-sets warning.
#pragma once

#include "ui/widget_ids.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "snmp_access/morix_record.h"
#include "ui/outcome.h"

// Device information window ("mrx_info_box") and its parts.
// SNMP settings window fields and toggles.

// Selected, reachable devices for basic mode and, for the port pages, the
// ports chosen on them. Port counts and ports are indexed by list position.
constexpr int MAX_SEL_PORTS = 128;
struct PortSelection {
    int count = 0;
    int mrx_index[MAX_MRX_SLOTS];
    int port_count[MAX_MRX_SLOTS];
    int port_total = 0;
    int ported_count = 0;
    int ported_index[MAX_MRX_SLOTS]; // -1 for an empty slot
    int ports[MAX_MRX_SLOTS][MAX_SEL_PORTS];
};
extern PortSelection port_mrx_map;

// Dotted form of a record's address ("" when it has none).
std::string mrx_dotted_addr(const MorixRecord* rec);
// Dotted IPv4 addresses a name resolves to (without going past /etc/hosts
// when the network has no resolver).
std::vector<std::string> resolve_dotted(const std::string& name);

// Position of a record already in the list under text: by name (as_note
// empty), or by address (as_note receives the record's name). -1 if none.
int find_mrx_dupl(const std::string& text, std::string* as_note);

// Inserts an identified (0) or unreachable (11) record at its sorted place
// in the list; returns the index, or -1 (the record is freed) when the
// list is full. The front end shows the new row from the command's view.
int insert_mrx_record(MorixRecordPtr rec);
// Why a device was not added, as warnings: records the device as refused
// and gives one warning, or the refusal and the sysDescr apart.
std::vector<std::string> not_added(int code, const std::string& name, const std::string& descr,
                                   bool one_warning);
// A device identification refused during the run (unknown host, not a
// Morix, not supported): its name, identification code and sysDescr.
struct RefusedDevice {
    std::string name;
    int code = 0;
    std::string descr;
};
// Every device not_added reported since the start of the run.
const std::vector<RefusedDevice>& refused_devices();

// What the main window's device list shows after a list command: every
// row in list order, the rows to select, the row to bring into view.
struct DeviceListView {
    bool emptied = false;          // every row goes before rows are written
    std::vector<std::string> rows; // row i + 1 reads rows[i] (mrx_row_text)
    std::vector<int> selected;     // rows (from 1) to select
    int shown = 0;                 // row (from 1) scrolled to the bottom, list focused
    bool from_top = false;         // the first row is scrolled to the top
};
// The view of the list as it stands, nothing selected or shown.
DeviceListView device_list_view();
// A list command's outcome and what the main window shows of it: the list,
// and the name and community fields when the command writes them back.
struct ListOutcome {
    Outcome outcome;
    DeviceListView list;
    std::optional<std::string> name_field;
    std::optional<std::string> community_field;
};

// What Add takes from the main window: the name or address typed and the
// community field (blank: the default community, written back).
struct AddMorixRequest {
    std::string name;
    std::string community;
};
// Identifies the device and lists it: done, failed (listed as unreachable,
// or not added), cancelled, refused (no name, a duplicate, a full list).
ListOutcome add_morix(const AddMorixRequest& req);
// Add for several devices: they are identified side by side, then each
// request takes Add's steps in order (the same warnings and list as adding
// them one after the other). The outcome of each, in order.
std::vector<ListOutcome> add_morixes(const std::vector<AddMorixRequest>& reqs);
// What Query takes: the devices to identify again (list order) and the
// community to try when one does not answer to its own.
struct QueryRequest {
    std::vector<MorixRecord*> devices;
    std::string alt_community;
};
// Identifies the devices again: each stays listed (unreachable when it no
// longer answers) unless it turned out not to be a supported Morix; rows
// whose product changed move to their sorted places. The queried rows
// still listed are selected.
ListOutcome query_morixes(const QueryRequest& req);
// What the device information window shows of a device: its name and
// information text, and a line per group of modems with their revision.
struct DeviceInfoText {
    std::string label;
    std::string modems;
};
DeviceInfoText device_info_text(const MorixRecord& rec);
// A device left the list or stopped answering: tells the hook in force
// (the front end closes what it shows of the device).
void remove_mrx_info(const std::string& name);
void set_device_gone_hook(std::function<void(const std::string&)> hook);
// The rows a list command works on: the selected rows, or the only row of
// a list of one device.
std::vector<int> rows_of_selection(const std::vector<int>& selected, int listed);
extern const char* const k_select_a_morix;
// Takes the devices out of the list (each one's shown information closes).
Outcome delete_devices(const std::vector<MorixRecord*>& devices);
// What the SNMP settings window shows: the three fields (blank where the
// devices differ) and, in the outcome, the warning when they differ.
struct SnmpSettingsView {
    Outcome outcome;
    std::string timeout, retries, community;
};
// The settings of the devices (refused when there are none).
SnmpSettingsView snmp_settings_of(const std::vector<MorixRecord*>& devices);
// The program's settings for devices added from now on.
SnmpSettingsView snmp_default_settings();
// What the SNMP settings window's Set takes: which settings to update, the
// three fields as typed (blank: the default) and the devices to update.
struct SnmpSettingsRequest {
    bool update_defaults = false;
    bool update_selected = false;
    std::string timeout, retries, community;
    std::vector<MorixRecord*> devices;
};
// The outcome (done, or refused with a warning) and the number fields that
// were blank and take the default (empty: leave the field as typed).
struct SnmpSettingsOutcome {
    Outcome outcome;
    std::string timeout_filled, retries_filled;
};
SnmpSettingsOutcome change_snmp_settings(const SnmpSettingsRequest& req);
// Whether each product-specific entry of the main menu is available for
// the devices: every one of them has what the entry's command needs.
struct MenuEntryState {
    int id = 0;
    bool available = true;
};
std::vector<MenuEntryState> product_menu_states(const std::vector<MorixRecord*>& devices);
int set_mrx_lst();
// The devices that refuse sets, named in one warning (empty when none);
// with message added, go is 1 when force is set or another device allows
// sets.
struct RefusedSets {
    std::string warning;
    int go = 0;
};
RefusedSets refused_sets(const std::vector<MorixRecord*>& devices, const std::string& message,
                         int force);

// Windows that show the device list register here; every listener runs
// after the list changed (a device added, queried, deleted, or the list
// replaced by a load or a discovery update).
void add_mrx_list_listener(std::function<void()> listener);
void mrx_list_changed();
