// Ports, instances and value formats: port type codes and their keywords,
// port counts of a device, which port types a catalogue variable accepts,
// port lists, port number to SNMP instance, the expansion of catalogue
// variables and management functions into parameter nodes, and the small
// text checks and formats the commands share.
#pragma once

#include <string>
#include <vector>

#include "snmp_access/morix_record.h"

// Port type codes (main window selector, ParamNode port_type).
enum PortType {
    PT_NONE = 0,
    PT_ASY = 1,
    PT_SYN = 2,
    PT_PTR = 3,
    PT_EN = 4,
    PT_DS1INF = 5,
    PT_CHANNELS = 6,
    PT_DS0CHAN = 8,
    PT_DS1INT = 9,
    PT_IMDM = 10
};

// Port requirement codes of check_rqr_port.
enum PortRqr {
    PRQ_ALL_MATCH = 12,
    PRQ_NO_PORT_PRMS = 13,
    PRQ_NONE_MATCH = 14,
    PRQ_SOME_MATCH = 15,
    PRQ_NO_FUNC = -6,
    PRQ_NO_PRM = -7
};

constexpr int PORT_NOT_FOUND = 16;  // build_prm: a requested port was not used
constexpr int DS1_INTERVALS = 96;   // intervals of a WAN interface
constexpr int MAX_PORT_LIST = 2048; // numbers one port list may give
constexpr int MAX_PORT_NUM = 1000000;

// Printed on standard error when a catalogue value lies outside the tables.
void print_invalid_data_indicator();

int cvt_port_opt_str(int code, std::string* text);
int cvt_port_str_opt(const std::string& text, int* code);
int get_num_ports(const MorixRecord* rec, int port_type);
// 1 when the variable's port class accepts the port type code.
int check_port_type(int mib_index, int port_type);
// 1 and the instance (number, or -1 with inst_text) of port p, or 0 when the
// port cannot be used on this device.
int cvt_port_inst(const MorixRecord* rec, int mib_index, int port_type, int port, int* instance,
                  std::string* inst_text);

// Port numbers of a port list ("1-4,7", "all"); all = 1 for the keyword.
std::vector<int> parse_port_list(const std::string& text, int* all, int* count);

// ---- Expansion into parameter nodes --------------------------------------

// Nodes for every channel of every WAN module ("ifindex.channel").
int handle_modelt(MorixRecord* rec, int mib_index, int port_type, const std::string& value);
// Nodes for the 96 intervals of one WAN interface ("interface.interval").
int handle_interval(MorixRecord* rec, int mib_index, int port_type, const std::string& value,
                    int interface);
// Nodes of one catalogue variable for a device; 0 or PORT_NOT_FOUND.
int build_prm(MorixRecord* rec, int all_ports, int port_count, const std::vector<int>& ports,
              int port_type, int mib_index, const std::string& value);
// A management function expanded for every selected, reachable device of
// the device list, or for one device; 0 or PORT_NOT_FOUND.
int build_mgmt_func_mult(int func_index, int all_ports, int port_count,
                         const std::vector<int>& ports, int port_type);
int build_mgmt_func_sng(int func_index, int all_ports, int port_count,
                        const std::vector<int>& ports, int port_type, MorixRecord* rec);

// ---- Port requirement of a selection (operator messages) -----------------

// Checks the items chosen in a parameter list (catalogue labels with
// param_sel 1, a management function name with 0) against the port type.
int check_rqr_port(const std::vector<std::string>& items, int param_sel, int port_type,
                   int* func_index);
// What the operator is told of a requirement code (-6/-7, 14, 15 and
// unknown codes have a message; 12 and 13 none), added to warnings.
void tell_rqr_port(int code, std::vector<std::string>* warnings);
// tell_rqr_port, and the typed port text parsed when port parameters take
// part (with warn_empty 1, an empty text is warned of too).
std::vector<int> process_rqr_port(int code, const std::string& text, int* all, int* count,
                                  int warn_empty, std::vector<std::string>* warnings);

// ---- Instances from the device -------------------------------------------

// Instance carried by the tail of a returned identifier ("1.5" gives 5).
int get_port_instance(const std::string& text);
// Walks a table variable with GetNext; the instances found (at most max).
int get_port_mib_var_nxt(MorixRecord* rec, const std::string& var_name, int* instances, int max,
                         int* count);
// Status number of one WAN channel, 0 when unknown.
int get_chan_status(MorixRecord* rec, int port);

// ---- Text checks and formats ---------------------------------------------

// Cuts trailing blanks from text itself, then checks dotted IPv4 syntax.
int check_ip_addr_fmt(std::string* text);
// As above; "" when the address is good, else the failure naming the field:
// "<label> : Invalid IP Address Format". The caller shows or prints it.
std::string ip_addr_fmt_failure(std::string* text, const std::string& label);
// out = address OR NOT mask; 0, or -1 (out "255.255.255.255" with fallback).
int get_bcast_addr(const std::string& address, const std::string& mask, std::string* out,
                   int fallback);
int check_time_fmt(const std::string& text);
std::string cvt_timeticks(unsigned long ticks);
int check_str_digits(const std::string& text);
int atoin(const std::string& text, int n);
// Removes trailing white space from text and returns it without leading
// white space.
std::string strip_blanks(std::string* text);
// Indexes 0..n-1 ordered so that the strings ascend in byte order.
std::vector<int> sort_strs(const std::vector<std::string>& strings);

// Removes every byte listed in chars from the file (through a work file
// beside it). 1 when at least one byte went and the file was replaced.
int filter_file_chars(const std::string& path, const std::vector<int>& chars);
// Inserts a carriage return before the line end of every non-empty line.
int add_file_line_cr(const std::string& path);
