// Report layouts of Show, byte for byte, from records filled by hand.
#include <gtest/gtest.h>

#include "catalogue/mib_catalogue.h"
#include "devices/long_op.h"
#include "ops/reset_mask.h"
#include "ops/show.h"
#include "snmp_access/morix_record.h"
#include "snmp_access/session.h"
#include "support/test_dirs.h"
#include "ui_headless/ui_headless.h"

namespace {

const std::string STARS(72, '*');

class ShowReport : public testing::Test {
  protected:
    void SetUp() override {
        staged = std::make_unique<StagedInstall>();
        testing::internal::CaptureStdout();
        ASSERT_EQ(read_mib_info("data/gui_mm_data"), 0);
        testing::internal::GetCapturedStdout();
        hl_reset();
    }
    void TearDown() override { free_host_info_list(host_info_list); }
    MorixRecord* device(const std::string& name, int status = 0) {
        MorixRecordPtr owned = new_host_node();
        MorixRecord* r = owned.get();
        r->name = name;
        r->reachable = 1;
        r->asy_ports = 8;
        host_info_list.insert(owned, mrx_lst_cnt);
        std::vector<MorixRecord*> chosen = session().selection();
        chosen.push_back(r);
        session().select(chosen);
        r->status = status;
        return r;
    }
    int id(const std::string& name) {
        int i = -1;
        get_check_mib_var(name, &i);
        return i;
    }
    void node(MorixRecord* r, const std::string& name, const std::string& value, int status = 0,
              int port_type = 0, int port = 0) {
        add_prm_node(r, id(name), port_type, port, port, "", value.c_str(), status);
    }
    std::unique_ptr<StagedInstall> staged;
};

TEST_F(ShowReport, TerseBlankLinesPortsStatusesAndEmptyValues) {
    MorixRecord* r = device("mrx1");
    struct Row {
        const char* name;
        const char* value;
        int status, port_type, port;
        const char* line;
    };
    const Row rows[] = {
        {"sysName", "", 0, 0, 0, "sysName : \"\""},
        {"mrxpMode", "3", 0, 1, 2, "mrxpMode (asy port 2) : ppp"},
        {"mrxpMode", "99", 0, 1, 3, "mrxpMode (asy port 3) : Enumeration conversion failed."},
        {"sysContact", "x", 5, 0, 0, "sysContact : Parameter does not exist."},
        {"sysContact", "x", 7, 0, 0,
         "sysContact : Invalid internal error code. Software error. - Parameter is read only."},
        {"sysContact", "x", 8, 0, 0,
         "sysContact : Invalid internal error code. Software error. - Parameter cannot be set "
         "to this value."},
        {"sysContact", "x", -1, 0, 0, "sysContact : Invalid internal error code. Software error."},
        {"RadiusPort", "1812", 0, 0, 0, "RadiusPort : 1812"},
        {"mrxInetAddr", "127.0.0.1", 0, 0, 0, "mrxInetAddr : 127.0.0.1"},
    };
    std::string want = "\n\n" + STARS + "\n\nMORIX : mrx1\n\n";
    int i = 0;
    for (const Row& row : rows) {
        node(r, row.name, row.value, row.status, row.port_type, row.port);
        want += (i++ % 4 == 0 ? "\n" : "") + std::string(row.line) + "\n";
    }
    device("mrx2", 4);
    want += "\n\n" + STARS + "\n\nMORIX : mrx2\n\n" +
            "Could not get parameter values. This may be due to a timeout.\n";
    want += "\n\n" + STARS + "\n\n";
    EXPECT_EQ(format_show_output(selected_reachable(), 0), want);
    EXPECT_EQ(r->prm_list, nullptr); // chains are freed
}

TEST_F(ShowReport, DetailedWithPortsAndDefaults) {
    MorixRecord* r = device("mrx1");
    const std::string d1 = "1700", d2 = "1";
    set_site_default(id("RadiusPort"), &d1);
    set_site_default(id("mrxNameServer1Type"), &d2);
    node(r, "mrxpMode", "3", 0, 1, 2);
    node(r, "RadiusPort", "1812");
    node(r, "mrxNameServer1Type", "1");
    node(r, "sysName", "");
    node(r, "sysContact", "", 5);
    std::string want = "\n\n" + STARS + "\n\nMORIX : mrx1\n\n";
    auto e = [&](const char* n) { return *mib_var(id(n)); };
    want += "Morix Parameter : mrxpMode (" + e("mrxpMode").oid_str + ", " + e("mrxpMode").oid_num +
            ")\nPort Number : asy 2\nDefault Value : cli\nValue : ppp(3)\n\n";
    want += "Morix Parameter : RadiusPort (" + e("RadiusPort").oid_str + ", " +
            e("RadiusPort").oid_num + ")\nDefault Value : 1700\nValue : 1812\n\n";
    std::string ns1;
    cvt_enum_num_str(id("mrxNameServer1Type"), "1", &ns1);
    want += "Morix Parameter : mrxNameServer1Type (" + e("mrxNameServer1Type").oid_str + ", " +
            e("mrxNameServer1Type").oid_num + ")\nDefault Value : " + ns1 + "\nValue : " + ns1 +
            "(1)\n\n";
    want += "Morix Parameter : sysName (" + e("sysName").oid_str + ", " + e("sysName").oid_num +
            ")\nDefault Value : \"\"\nValue : \"\"\n\n";
    want += "Morix Parameter : sysContact (" + e("sysContact").oid_str + ", " +
            e("sysContact").oid_num + ")\nValue : Parameter does not exist.\n";
    want += "\n\n" + STARS + "\n\n";
    EXPECT_EQ(format_show_output(selected_reachable(), 1), want);
}

TEST_F(ShowReport, CancelInTheMiddleOfThreeDevices) {
    node(device("a"), "sysName", "one");
    MorixRecord* b = device("b");
    node(b, "sysName", "two");
    node(b, "sysContact", "", 17);
    node(device("c"), "sysName", "three");
    {
        // Cancelled while the third device was due: only it is incomplete,
        // and the guard takes the dialog and the cursor down on its way out.
        hl_cancel_at(1);
        LongOperation op(W_MAIN_WINDOW, "Cancel Show", "", LO_BUSY | LO_FOLLOW_SNMP);
        EXPECT_TRUE(op.cancelled(66));
        op.at(2);
        EXPECT_EQ(hl_cursor_depth(), 1);
    }
    EXPECT_FALSE(hl_cancel_dialog_open());
    EXPECT_EQ(hl_cursor_depth(), 0);
    EXPECT_EQ(host_info_list[1]->status, 0);
    EXPECT_EQ(host_info_list[2]->status, 17);
    std::string want = "\n\n" + STARS + "\n\nMORIX : a\n\n\nsysName : one\n" + "\n\n" + STARS +
                       "\n\nMORIX : b\n\n\nsysName : two\n" + "\n\nOperation cancelled.\n\n\n" +
                       "\n\n" + STARS + "\n\n";
    EXPECT_EQ(format_show_output(selected_reachable(), 0), want);
}

TEST(ResetPorts, SlotsKeepFirstSeenOrderWithoutDuplicatesAndOverflowResetsAll) {
    ResetPorts ports;
    clear_input_ports(&ports);
    for (int p : {3, 1, 3, 2})
        save_port_to_be_reset(&ports, 1, p);
    save_port_to_be_reset(&ports, 0, 9); // not a port type: nothing saved
    EXPECT_EQ(ports[1].count, 3);
    EXPECT_EQ(ports[1].ports[0], 3u);
    EXPECT_EQ(ports[1].ports[2], 2u);
    EXPECT_EQ(ports[0].count, 0);
    MorixRecord r;
    r.asy_ports = 3;
    r.syn_ports = 300;
    for (int p = 1; p <= 200; ++p)
        save_port_to_be_reset(&ports, 2, p);
    EXPECT_EQ(ports[2].count, MAX_RESET_PORTS);
    testing::internal::CaptureStderr();
    check_all_ports_set(&r, &ports);
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(ports[1].all_ports, 1); // 3 of 3 async ports
    EXPECT_EQ(ports[2].all_ports, 1); // overflowed: the whole type
}

} // namespace
