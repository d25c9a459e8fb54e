// Shared pieces of the request engine benchmark: the list of instances a
// simulated device answers, timing, and running Net-SNMP's snmpget on the
// same identifiers in the same requests of 32.
#pragma once

#include <string>
#include <vector>

#include "snmp_access/morix_record.h"

// One variable instance a device answers.
struct BenchInstance {
    int mib_index = 0;
    int port_type = 0;
    int port_num = 0;
    int instance = 0;
    std::string inst_str;
    std::string oid; // full request identifier
};

// Persistent-state folder handed to the Net-SNMP tools (a private one).
extern std::string g_persist_dir;

// Wall and CPU seconds (own process and waited-for children).
struct Clock {
    double wall = 0, cpu_self = 0, cpu_children = 0;
    static Clock now();
    Clock operator-(const Clock& o) const;
};

// A record for a simulated ModelJ (32 async, 1 sync, 1 printer, 8 modems).
MorixRecord* bench_record(const std::string& address);
// Every catalogue instance the device answers (one Get pass over all
// catalogue variables expanded for all its ports; failures left out).
std::vector<BenchInstance> answered_instances(MorixRecord* rec);
// Adds the first n instances (cycling) to the record's chain.
void add_instances(MorixRecord* rec, const std::vector<BenchInstance>& all, int n);
// Fetches the identifiers with snmpget, 32 per process; number of processes
// that failed.
int snmpget_fetch(const std::string& address, const std::vector<BenchInstance>& all, int n,
                  int* requests);
// Instructions counted by callgrind for a command (whole process, or only
// inside toggle_fn when given); -1 when valgrind is not usable.
long long callgrind_instructions(const std::vector<std::string>& argv,
                                 const std::string& toggle_fn);
