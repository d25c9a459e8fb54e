// SNMPv1 traps encoded by the SNMP library for the tests to send.
#pragma once

#include <string>
#include <vector>

struct TestVar {
    std::string oid; // dotted
    char type;       // 'i' integer, 's' string, 'u' gauge
    std::string value;
};

std::string encode_trap(const std::string& community, const std::string& enterprise, int generic,
                        int specific, const std::vector<TestVar>& vars,
                        const std::string& agent = "127.0.0.1");
// A v1 GetRequest for sysUpTime.0: an SNMP message that is not a trap.
std::string encode_get(const std::string& community);
