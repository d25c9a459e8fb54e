#include "devices/mrx_texts.h"

#include <cstdlib>

std::string IdentAnswers::get(const std::string& name) const {
    auto it = values.find(name);
    return it == values.end() ? std::string() : it->second;
}

bool IdentAnswers::has(const std::string& name) const {
    return values.count(name) != 0;
}

bool IdentAnswers::has_count(const std::string& name) const {
    return has(name) && !get(name).empty() && std::atoi(get(name).c_str()) != 0;
}

std::string build_sw_options(unsigned long disabled_mask) {
    static const struct {
        unsigned long bit;
        const char* text;
    } options[] = {{0x1, "admin"},
                   {0x4, " LAT"},
                   {0x8, " PPP"},
                   {0x10, " SLIP"},
                   {0x20, " SNMP"},
                   {0x40, " nameserver"},
                   {0x80, " fingerd"},
                   {0x100, " edit"},
                   {0x200, " appletalk"},
                   {0x400, " tn3270"},
                   {0x800, " dynamic_dial"},
                   {0x1000, " ftpd"},
                   {0x2000, " IPX"},
                   {0x4000, " vci"},
                   {0x10000, " dvs"},
                   {0x20000, " httpd"},
                   {0x40000, " l2tp"}};
    std::string text;
    for (const auto& o : options)
        if (!(disabled_mask & o.bit))
            text += o.text;
    return text;
}

namespace {

// ", <n> <what>" when the count is present and not 0.
std::string count_item(const IdentAnswers& a, const char* name, const char* what, const char* sep) {
    if (!a.has_count(name))
        return "";
    return std::string(sep) + a.get(name) + " " + what;
}

std::string or_na(const std::string& s) {
    return s.empty() ? "n/a" : s;
}

std::string or_none(const std::string& s) {
    return s.empty() ? "none" : s;
}

} // namespace

std::string build_mrx_summary(const IdentAnswers& a) {
    std::string s = a.get("sysDescr") + "  [" + a.get("totalPorts") + " async ports, ";
    s += count_item(a, "totalSyncPorts", "sync ports, ", "");
    s += count_item(a, "mrxpParaPorts", "printer port(s), ", "");
    s += count_item(a, "mrxt1Total", "Wan/s, ", "");
    return s + a.get("imageName") + "]";
}

std::string build_mrx_info(const IdentAnswers& a, const WanDisplay& wan, bool compression_card,
                           int modem_count, int platform) {
    std::string s = a.get("sysDescr") + "\n\n";
    s += "H/W Rev:  " + a.get("hwRev") + "\n";
    s += "ROM Rev:  " + a.get("romRev") + "\n";
    s += "Compression Card:  " +
         (compression_card ? a.get("compressionCardHwRev") : std::string("n/a")) + "\n";
    s += "Module F/W Rev 1:  " + or_na(wan.fw_rev[0]) + "\n";
    s += "Module F/W Rev 2:  " + or_na(wan.fw_rev[1]) + "\n";
    s += "WAN Type 1:  " + or_na(wan.wan_type[0]) + "\n";
    s += "WAN Type 2:  " + or_na(wan.wan_type[1]) + "\n";
    s += "Ports:  " + a.get("totalPorts") + " async ports";
    s += count_item(a, "totalSyncPorts", "sync ports", ", ");
    s += count_item(a, "mrxpParaPorts", "printer port(s)", ", ");
    s += count_item(a, "mrxt1Total", "Wan/s", ", ");
    s += "\n";
    s += "Inet Addr:  " + a.get("mrxInetAddr") + "\n";
    s += "Ethernet Addr:  " + a.get("ifPhysAddress") + "\n\n";
    s += "Boot From:  " + a.get("bootHost") + "\n";
    s += "Boot Image:  " + a.get("imageName") + "\n";
    s += "Subnet Mask:  " + a.get("mrxSubnetMask") + "\n";
    s += "Broadcast Addr:  " + a.get("mrxBcastAddr") + "\n";
    s += "Default Domain:  " + a.get("defaultDomain") + "\n";
    // Without the option mask the enabled options are not known.
    std::string options = "n/a";
    if (a.has("mrxModulesDisabled") && !a.get("mrxModulesDisabled").empty())
        options = or_none(
            build_sw_options(std::strtoul(a.get("mrxModulesDisabled").c_str(), nullptr, 10)));
    s += "Software Options:  " + options + "\n";
    s += "Proprietary Modem Code:   " +
         (compression_card ? a.get("mdmId56kProprietaryCode") : std::string("n/a")) + "\n";
    s += "\n\nInternal Modems F/W Rev:  ";
    if (modem_count < 1 && platform != 4)
        s += "n/a";
    return s;
}

std::string mdm_port_ranges(const std::vector<int>& modems) {
    std::string out;
    size_t i = 0;
    while (i < modems.size()) {
        size_t j = i;
        while (j + 1 < modems.size() && modems[j + 1] == modems[j] + 1)
            ++j;
        if (!out.empty())
            out += ",";
        out += std::to_string(modems[i]);
        if (j > i)
            out += "-" + std::to_string(modems[j]);
        i = j + 1;
    }
    return out;
}

void group_modem_revs(const std::vector<std::string>& revs,
                      std::array<std::string, MAX_MDM_REVS>* group_revs,
                      std::array<std::string, MAX_MDM_REVS>* group_ports) {
    constexpr int kept = MAX_MDM_REVS - 1;
    std::vector<std::string> texts;
    std::vector<std::vector<int>> members;
    for (size_t m = 0; m < revs.size(); ++m) {
        size_t g = 0;
        while (g < texts.size() && texts[g] != revs[m])
            ++g;
        if (g == texts.size() && g >= static_cast<size_t>(kept))
            g = kept; // further revisions share the last group
        if (g == texts.size()) {
            texts.push_back(g == static_cast<size_t>(kept) ? "<Other revisions>" : revs[m]);
            members.emplace_back();
        }
        members[g].push_back(static_cast<int>(m) + 1);
    }
    group_revs->fill("");
    group_ports->fill("");
    for (size_t g = 0; g < texts.size(); ++g)
        (*group_revs)[g] = texts[g];
    if (texts.size() < 2) {
        (*group_ports)[0] = "1-" + std::to_string(revs.size());
        return;
    }
    for (size_t g = 0; g < texts.size(); ++g)
        (*group_ports)[g] = mdm_port_ranges(members[g]);
}
