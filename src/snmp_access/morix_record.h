// Device records (one per device of the device list) and parameter nodes
// (one per variable of a request).
#pragma once

#include <netinet/in.h>

#include <array>
#include <string>
#include <vector>

constexpr int MAX_MRX_SLOTS = 64;   // list slots, the last one always empty
constexpr int MAX_MRX_RECORDS = 63; // records a list may hold
constexpr int MAX_MDM_REVS = 7;

struct ParamNode {
    ParamNode* next = nullptr;
    std::string inst_str;      // instance text, used when instance is -1
    bool has_value = false;
    std::string value;         // Set input, Get/GetNext output
    bool has_next_oid = false;
    std::string next_oid;      // full identifier returned by GetNext
    int seq = 0;               // position in the chain when added
    int mib_index = 0;         // catalogue id
    int port_type = 0;
    int port_num = 0;
    int instance = 0;          // -1: inst_str holds the instance
    int status = 0;            // 0, 5, 7, 8, -1 or 17
};

struct MorixRecord {
    ParamNode* prm_list = nullptr;
    sockaddr_in addr{};
    std::string name;
    bool has_info = false;
    std::string info;
    std::string community;
    int timeout = 0;  // microseconds
    int retries = 0;
    int status = 0;
    int reachable = 0;
    int selected = 0;
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
    bool has_mac_addr = false;
    std::string mac_addr;
    std::array<std::string, MAX_MDM_REVS> modem_rev_ports;
    std::array<std::string, MAX_MDM_REVS> modem_revs;
    std::string csu_text;
    bool has_config_server = false;
    std::string config_server;
};

// The device list and the discovery list; null slots are empty.
extern std::array<MorixRecord*, MAX_MRX_SLOTS> host_info_list;
extern std::array<MorixRecord*, MAX_MRX_SLOTS> host_disc_list;

// Frees a record's parameter chain.
void free_prm_list(MorixRecord* rec);
// Frees a record and its chain.
void free_host_node(MorixRecord* rec);
// Frees every record of a list and empties all its slots.
void free_host_info_list(std::array<MorixRecord*, MAX_MRX_SLOTS>& list);
