// The texts that device identification builds from the device's answers:
// the one-line summary, the information text of the View window, the
// software options and the firmware groups of the internal modems.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "snmp_access/morix_record.h"

// Answers of identification by catalogue name; a name that did not come
// back (or is not in the catalogue) is absent.
struct IdentAnswers {
    std::map<std::string, std::string> values;
    std::string get(const std::string& name) const;
    bool has(const std::string& name) const;
    // Present and not the number 0.
    bool has_count(const std::string& name) const;
};

// WAN module facts shown by the information text.
struct WanDisplay {
    std::string fw_rev[2];
    std::string wan_type[2];
};

// Names of the enabled software options for a mask of disabled ones.
std::string build_sw_options(unsigned long disabled_mask);
std::string build_mrx_summary(const IdentAnswers& a);
std::string build_mrx_info(const IdentAnswers& a, const WanDisplay& wan, bool compression_card,
                           int modem_count, int platform);
// Modem numbers as "1-3,5,7-8" (ascending input).
std::string mdm_port_ranges(const std::vector<int>& modems);
// Groups revision texts of modems 1..n by identical text in order of first
// appearance. Six groups are kept as they are; the modems of any further
// revisions are gathered in a seventh group "<Other revisions>".
void group_modem_revs(const std::vector<std::string>& revs,
                      std::array<std::string, MAX_MDM_REVS>* group_revs,
                      std::array<std::string, MAX_MDM_REVS>* group_ports);
