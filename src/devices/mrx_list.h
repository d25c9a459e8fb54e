// Device list commands of the main window: Add, Query, View, Delete, the
// SNMP settings dialog, the menu entries that follow the product types of
// the selection, the map of selected devices and the refused-sets warning.
#pragma once

#include "ui/widget_ids.h"

#include <functional>
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
// and its row at the same position; returns the index, or -1 (the record
// is freed) when the list is full.
int insert_mrx_row(MorixRecordPtr rec, bool select);
// Warning of a device that was not added, with its sysDescr when known.
void warn_not_added(int parent_id, int code, const std::string& name, const std::string& descr,
                    bool one_warning);
// The same as texts: records the device as refused and gives the warnings
// (one, or the refusal and the sysDescr apart).
std::vector<std::string> not_added(int code, const std::string& name, const std::string& descr,
                                   bool one_warning);
// A device identification refused during the run (unknown host, not a
// Morix, not supported): its name, identification code and sysDescr.
struct RefusedDevice {
    std::string name;
    int code = 0;
    std::string descr;
};
// Every device warn_not_added reported since the start of the run.
const std::vector<RefusedDevice>& refused_devices();

// What Add takes from the main window: the name or address typed and the
// community field (blank: the default community, written back).
struct AddMorixRequest {
    std::string name;
    std::string community;
};
// Identifies the device and lists it: done, failed (listed as unreachable,
// or not added), cancelled, refused (no name, a duplicate, a full list).
Result add_morix(const AddMorixRequest& req);
// Add for several devices: they are identified side by side, then each
// request takes Add's steps in order (the same warnings and list as adding
// them one after the other). The result of each, in order.
std::vector<Result> add_morixes(const std::vector<AddMorixRequest>& reqs);
void query_morix(const std::string& alt_community);
void view_morix();
// What the device information window shows of a device: its name and
// information text, and a line per group of modems with their revision.
struct DeviceInfoText {
    std::string label;
    std::string modems;
};
DeviceInfoText device_info_text(const MorixRecord& rec);
void display_mrx_info(int index);
void remove_mrx_info(const std::string& name);
void delete_morix();
int show_morix_list_dupl(int index);
int get_snmp_info_vals(int mode);
// What the SNMP settings window's Set takes: which settings to update and
// the three fields as typed (blank: the default, written back).
struct SnmpSettingsRequest {
    bool update_defaults = false;
    bool update_selected = false;
    std::string timeout, retries, community;
};
// done, or refused with a warning.
Result set_snmp_info_vals(const SnmpSettingsRequest& req);
void disable_main_menu_opt();
int set_mrx_lst();
int check_sel_set_mrxs(int dialog_id, const std::string& message, int force);

// Windows that show the device list register here; every listener runs
// after the list changed (a device added, queried, deleted, or the list
// replaced by a load or a discovery update).
void add_mrx_list_listener(std::function<void()> listener);
void mrx_list_changed();
