// What the port pages share: the ports or channels of a device as node
// slots, reading page variables on them, their common value, and the
// consecutive remote addresses of the Remote Address and PPP Dial pages.
#pragma once

#include "ui/widget_ids.h"

#include <map>
#include <string>
#include <vector>

#include "basic/basic_page.h"
#include "snmp_access/morix_record.h"

// The port list field of the Async Ports page (ports the page edits; empty
// or "all": every port) and its Add Async Port button.

// One port or channel of a device as a variable's node sees it.
struct PortSlot {
    int port_type;
    int port;     // port or running channel number
    int instance; // -1: inst is the instance
    std::string inst;
};

// The slots of variable id on device r: with chan, every channel of the
// device's WAN modules (class 4: the first module; class 5: all of them,
// two-part instance or running channel number by the variable's instance
// type); else the given async ports that the device has.
std::vector<PortSlot> port_slots(const MorixRecord* r, int id, bool chan,
                                 const std::vector<int>& ports);
// Number of ports (async) or channels (chan) of a device.
int port_scope_count(const MorixRecord* r, bool chan);
// 1 when the device's platform class has ports of that kind.
int scope_fits(const MorixRecord* r, bool chan);
// Reads vars on the slots of the run's devices (device-wide variables on
// instance 0). 1 when at least one device answered.
int read_port_vars(const std::vector<std::string>& vars, bool chan, const std::vector<int>& ports);
// The value of name on one slot ("" when not read).
std::string slot_value(const MorixRecord* r, const std::string& name, const PortSlot& s);
// The common value of name over the devices and their slots (as
// get_specific_value: "" when they differ, set_to_blank when all empty).
void common_port_value(const std::string& name, bool chan, const std::vector<int>& ports,
                       std::string* text, int* number);
// Set nodes of name = value on every slot of device pos. 0 or -1.
int set_port_param(const std::string& name, const std::string& value, int pos, bool chan,
                   const std::vector<int>& ports);

// ---- Remote addresses ----------------------------------------------------
// Address as one 32-bit number, first part most significant; false when
// the text is not a dotted address.
bool addr_number(const std::string& text, unsigned long* out);
std::string addr_text(unsigned long n);
// "Last Remote Address Out of Range" when the fourth part of first plus
// the port count passes 255; 0 when it fits, -1 otherwise.
int check_remote_addr_for_overlap(const std::string& first, int ports);
// Nodes of name on every slot of device pos, from first on: consecutive
// addresses (same 0) or the same value (same 1). 0 or -1.
int set_individual_port_params(const std::string& name, const std::string& first, int pos,
                               bool chan, int same);

// Addresses and masks read per device and port ("0.0.0.0" for empty).
struct RemAddrSaved {
    std::map<int, std::vector<std::string>> addr, mask; // by device position
    bool chan = false;
};
// Reads the address and mask variables of the scope and walks them; fills
// the first, mask and last texts (empty when not consecutive or differing).
void read_rem_addrs(RemAddrSaved* saved, bool ppp_only, std::string* first, std::string* mask,
                    std::string* last);
// The consecutive-address walk of one device's values.
struct WalkResult {
    std::string first, mask, last;
    bool not_consecutive = false, masks_differ = false;
};
void walk_rem_addrs(const std::vector<std::string>& addr, const std::vector<std::string>& mask,
                    WalkResult* out);
