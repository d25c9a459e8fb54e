// PPP Dial Access page: the channel addresses together with the PPP
// settings of the channel group (dial-up address choice, protocols,
// multilink, MRRU, endpoint, remote user and password).
#include <cctype>
#include <cstdlib>

#include "basic/port_pages.h"
#include "basic/ppp_codes.h"
#include "ops/reset_mask.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/session.h"

namespace {

enum {
    PD_FIRST,
    PD_MASK,
    PD_LAST,
    PD_DIAL0, // dial-up toggles: negotiated, optional, required
    PD_NCP0 = PD_DIAL0 + 3,
    PD_MMP = PD_NCP0 + 5,
    PD_MRRU,
    PD_CLASS0, // endpoint classes 1, 2, 3, 4, 6
    PD_VALUE = PD_CLASS0 + 5,
    PD_USER,
    PD_PASSWD
};
const VarTable ppp_fields = {"mrxt1ChanIpAddr",    "gpSlipSubnetMask",   "mrxt1ChanIpAddr",
                             "gpNetPppDialupAddr", "gpNetPppDialupAddr", "gpNetPppDialupAddr",
                             "gpPPPNcp",           "gpPPPNcp",           "gpPPPNcp",
                             "gpPPPNcp",           "gpPPPNcp",           "mrxMMPEnable",
                             "gpMpMrru",           "gpMpEndpointClass",  "gpMpEndpointClass",
                             "gpMpEndpointClass",  "gpMpEndpointClass",  "gpMpEndpointClass",
                             "gpMpEndpointValue",  "gpPPPRemoteUser",    "gpPPPRemotePasswd"};
constexpr int W0 = 910; // widget of field 0; field i is W0 + i
RemAddrSaved ppp_saved;

std::string common(const std::string& name, int* number = nullptr) {
    std::string text;
    int n = 0;
    common_port_value(name, true, {}, &text, &n);
    if (number)
        *number = n;
    return text == set_to_blank ? "" : text;
}

int chosen(const BasicPage& p, int first, int count) {
    for (int i = 0; i < count; ++i)
        if (page_field_text(p, first + i) == "1")
            return i;
    return -1;
}

// The multilink fields follow the fifth protocol toggle; the endpoint
// value also needs a class other than the first.
void ppp_sensitivity(BasicPage& p) {
    bool ml = page_field_text(p, PD_NCP0 + 4) == "1";
    gray_out_widget(W0 + PD_MRRU, ml);
    for (int i = 0; i < 5; ++i)
        gray_out_widget(W0 + PD_CLASS0 + i, ml);
    bool value = ml && chosen(p, PD_CLASS0, 5) > 0;
    gray_out_widget(W0 + PD_VALUE, value);
    gray_out_widget(W0 + PD_VALUE + BW_LABEL_OFFSET, value);
}

int ppp_read(BasicPage& p) {
    std::string first, mask, last;
    read_rem_addrs(&ppp_saved, true, &first, &mask, &last);
    ppp_saved.chan = true;
    read_port_vars(ppp_dial_conf_vars, true, {});
    auto put = [&](int i, const std::string& t) { p.saved[i].text = t; };
    put(PD_FIRST, first);
    put(PD_MASK, mask);
    put(PD_LAST, last);
    int n = 0;
    common("gpNetPppDialupAddr", &n);
    int dial = dialup_toggle_of(n);
    for (int i = 0; i < 3; ++i)
        put(PD_DIAL0 + i, i == dial ? "1" : "0");
    common("gpPPPNcp", &n);
    bool on[5];
    ncp_toggles_of(n, on);
    for (int i = 0; i < 5; ++i)
        put(PD_NCP0 + i, on[i] ? "1" : "0");
    common("mrxMMPEnable", &n);
    put(PD_MMP, n == 1 ? "1" : "0");
    put(PD_MRRU, common("gpMpMrru"));
    common("gpMpEndpointClass", &n);
    int cls = endpoint_toggle_of(n);
    for (int i = 0; i < 5; ++i)
        put(PD_CLASS0 + i, i == cls ? "1" : "0");
    const char* source = n == 3 ? "mrxInetAddr" : n == 4 ? "macAddress" : "gpMpEndpointValue";
    put(PD_VALUE, n >= 2 && n != 5 ? common(source) : "");
    put(PD_USER, common("gpPPPRemoteUser"));
    put(PD_PASSWD, common("gpPPPRemotePasswd"));
    free_basic_chains();
    return 1;
}

std::vector<bool> changed; // the changed flags, taken over from the pattern
int reset_code = 0;

int ppp_check(BasicPage& p) {
    changed.assign(p.saved.size(), false);
    for (size_t i = 0; i < p.saved.size(); ++i) {
        changed[i] = p.saved[i].changed;
        p.saved[i].changed = false;
    }
    reset_code = 0;
    return 0;
}

bool any_changed(int first, int count) {
    for (int i = first; i < first + count; ++i)
        if (changed[i])
            return true;
    return false;
}

// A text field checked and set on every channel of devs; 0 or -1.
int set_text(BasicPage& p, int i, const std::vector<int>& devs) {
    std::string value = page_field_text(p, i);
    if (check_field_value(ppp_fields[i], p.view.fields[i].label, &value) != 0)
        return -1;
    for (int d : devs)
        set_port_param(ppp_fields[i], value, d, true, {});
    return 0;
}

void set_all(const std::string& name, int value, const std::vector<int>& devs) {
    for (int d : devs)
        set_port_param(name, std::to_string(value), d, true, {});
}

// The changed fields into requests in their order; *failed on a field error.
void ppp_extra(BasicPage& p, const std::vector<int>& devs, int* failed) {
    if (any_changed(PD_DIAL0, 3)) {
        set_all("gpNetPppDialupAddr", dialup_value_of(chosen(p, PD_DIAL0, 3)), devs);
        reset_code = 1;
    }
    if (changed[PD_MASK] && set_text(p, PD_MASK, devs) != 0)
        return void(*failed = 1);
    if (any_changed(PD_NCP0, 5)) {
        bool on[5];
        for (int i = 0; i < 5; ++i)
            on[i] = page_field_text(p, PD_NCP0 + i) == "1";
        int code = ncp_code_of(on);
        if (code == 0) {
            page_warn("Please enter a valid value for Protocols.");
            return void(*failed = 1);
        }
        set_all("gpPPPNcp", code, devs);
    }
    if (changed[PD_MMP]) {
        set_param("mrxMMPEnable", page_field_text(p, PD_MMP), devs, 0);
        page_warn("The Morixes you selected need to be rebooted for changes to take effect.");
    }
    if (changed[PD_MRRU]) {
        std::string t = page_field_text(p, PD_MRRU);
        char* end = nullptr;
        long v = std::strtol(t.c_str(), &end, 10);
        if (t.empty() || *end || v < 64 || v > 1600)
            page_warn("The value specified must lie between 64 and 1600");
        else if (set_text(p, PD_MRRU, devs) != 0)
            return void(*failed = 1);
    }
    int cls = endpoint_class_of(chosen(p, PD_CLASS0, 5));
    if (any_changed(PD_CLASS0, 5) && cls > 0)
        set_all("gpMpEndpointClass", cls, devs);
    if (changed[PD_VALUE] && (cls == 2 || cls == 6) &&
        endpoint_value_ok(cls, page_field_text(p, PD_VALUE)) && set_text(p, PD_VALUE, devs) != 0)
        return void(*failed = 1);
    for (int i : {PD_USER, PD_PASSWD})
        if (changed[i] && set_text(p, i, devs) != 0)
            return void(*failed = 1);
    if (!changed[PD_FIRST])
        return;
    std::string first = page_field_text(p, PD_FIRST);
    for (int d : devs)
        if (check_remote_addr_for_overlap(first, port_scope_count(session().devices()[d], true))) {
            page_warn("Last Remote Address Out of Range");
            return;
        }
    if (!check_addr_field(&first, p.view.fields[PD_FIRST].label))
        return void(*failed = 1);
    for (int d : devs)
        if (scope_fits(session().devices()[d], true))
            set_individual_port_params("mrxt1ChanIpAddr", first, d, true, 0);
}

void ppp_sent(BasicPage& p) {
    if (reset_code == 1)
        confirm_reset_q(W_MAIN_WINDOW, {1});
    reset_code = 0;
    get_page_conf_value(p);
}

// A protocol toggle keeps one of the first three set (the window rings
// when it turns one back on); the endpoint fields follow the toggles.
int ppp_action(BasicPage& p, int id) {
    if (id >= W0 + PD_NCP0 && id < W0 + PD_NCP0 + 5) {
        bool on[5];
        for (int i = 0; i < 5; ++i)
            on[i] = page_field_text(p, PD_NCP0 + i) == "1";
        int code = 0;
        if (!process_ipro_set(on, id - W0 - PD_NCP0, &code)) {
            page_set_field(p, id - W0, "1");
            p.view.bell = true;
        }
    } else if (id < W0 + PD_CLASS0 || id >= W0 + PD_CLASS0 + 5) {
        return 0;
    }
    ppp_sensitivity(p);
    return 1;
}

PageField toggle(const char* key, const char* label, int i, int flags = FF_RADIO) {
    return {key, label, W0 + i, FK_TOGGLE, 0, 0, nullptr, flags};
}

} // namespace

BasicPage page_ppp_dial = {
    "ppp-dial",
    "PPP Dial Access",
    CAT_PPP_DIAL,
    BW_PG_PPP,
    BW_SETUP_FORM,
    28,
    nullptr,
    EF_PPP_DIAL,
    &ppp_fields,
    {{"first", "First Remote Address", W0 + PD_FIRST, FK_TEXT, 0, 0, nullptr,
      FF_SINGLE | FF_SHOW_COMMON},
     {"mask", "Subnet Mask", W0 + PD_MASK, FK_TEXT},
     {"last", "Last Remote Address", W0 + PD_LAST, FK_SHOWN},
     toggle("dialup-negotiated", "Negotiated", PD_DIAL0),
     toggle("dialup-optional", "Optional", PD_DIAL0 + 1),
     toggle("dialup-required", "Required", PD_DIAL0 + 2),
     toggle("ncp-ip", "IP", PD_NCP0, 0),
     toggle("ncp-ipx", "IPX", PD_NCP0 + 1, 0),
     toggle("ncp-appletalk", "AppleTalk", PD_NCP0 + 2, 0),
     toggle("ncp-compression", "Compression", PD_NCP0 + 3, 0),
     toggle("ncp-multilink", "Multilink PPP", PD_NCP0 + 4, 0),
     toggle("multilink", "Multilink Enable", PD_MMP, 0),
     {"mrru", "MRRU", W0 + PD_MRRU, FK_TEXT},
     toggle("class-null", "Null", PD_CLASS0),
     toggle("class-local", "Local", PD_CLASS0 + 1),
     toggle("class-ip", "IP Address", PD_CLASS0 + 2),
     toggle("class-mac", "MAC Address", PD_CLASS0 + 3),
     toggle("class-directory", "Directory Number", PD_CLASS0 + 4),
     {"endpoint", "Endpoint Value", W0 + PD_VALUE, FK_TEXT},
     {"user", "Remote User", W0 + PD_USER, FK_TEXT},
     {"password", "Remote Password", W0 + PD_PASSWD, FK_TEXT}},
    PS_DEVICE,
    0,
    {ppp_read, ppp_sensitivity, ppp_check, ppp_extra, ppp_sent, nullptr, ppp_action}};
