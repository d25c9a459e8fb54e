// The Copy window's request and confirmation without a peer.
#include <gtest/gtest.h>

#include "catalogue/func_display.h"
#include "ops/copy.h"
#include "snmp_access/morix_record.h"
#include "ui_headless/ui_headless.h"

namespace {

TEST(CopyConf, FourteenTenCharacterNamesWrapAtAboutSixty) {
    std::vector<std::string> names;
    for (int i = 0; i < 14; ++i)
        names.push_back("morix-" + std::to_string(1000 + i));
    EXPECT_EQ(cpy_conf_text(names),
              "Parameter values will be copied to:\n\n"
              "    morix-1000, morix-1001, morix-1002, morix-1003, morix-1004, \n"
              "    morix-1005, morix-1006, morix-1007, morix-1008, morix-1009, \n"
              "    morix-1010, morix-1011, morix-1012, morix-1013\n\nDo you want to continue?");
}

TEST(CopyRequest, RefusalsOfTheInput) {
    MorixRecordPtr r = new_host_node();
    r->name = "src";
    host_info_list.insert(r, 0);
    const std::string ports = "You must enter one port for the 'Copy From' Morix\nand one";
    struct Case {
        const char* from; // selected source, "" for none
        int code;
        const char* src_ports;
        const char* dst_ports;
        int result;
        std::string msg; // start of the message
    };
    const Case cases[] = {
        {"", CPY_MRX, "", "", CRQ_WARN, "To perform a copy, you must select one Morix"},
        {"gone", CPY_MRX, "", "", CRQ_OUTPUT, "\nThe main Morix list may have been updated."},
        {"src", CPY_ASY, "all", "1", CRQ_WARN, ports},
        {"src", CPY_CHN, "1,2", "1", CRQ_WARN, ports},
        {"src", CPY_ASY, "1", "", CRQ_WARN, ports},
        {"src", CPY_ASY, "1", "1-129", CRQ_WARN, "You entered 129 ports for the 'Copy To'"},
        {"src", CPY_ASY, "1", "1-128", CRQ_OK, ""},
        {"src", CPY_MRX, "", "1-300", CRQ_OK, ""}, // ports are not used
        {"src", CPY_MAIN, "", "", CRQ_WARN, "You must select at least one parameter."},
        {"src", 9, "", "", CRQ_WARN, "Invalid copy indicator. Software error."},
    };
    for (const Case& c : cases) {
        hl_reset();
        CopyInput in;
        if (*c.from)
            in.from = {c.from};
        in.to = {"src"};
        in.code = c.code;
        in.from_ports = c.src_ports;
        in.to_ports = c.dst_ports;
        CopyRequest req;
        std::string msg;
        EXPECT_EQ(make_cpy_request(in, &req, &msg), c.result) << c.code << " " << c.dst_ports;
        EXPECT_EQ(msg.substr(0, c.msg.size()), c.msg);
    }
    free_host_info_list(host_info_list);
}

} // namespace
