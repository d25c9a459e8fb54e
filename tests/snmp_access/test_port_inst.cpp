// Port types, port counts, port classes, instance rules and port lists.
#include "snmp_access/port_inst.h"
#include "snmp_test_util.h"

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

const char* const INVALID = "\n\nInvalid data indicator. Software error.\n\n";

class PortTest : public SnmpAccessTest {
  protected:
    void SetUp() override {
        SnmpAccessTest::SetUp();
        r->asy_ports = 16;
        r->syn_ports = 2;
        r->para_ports = 1;
        r->enet_ports = 1;
        r->modem_count = 8;
        r->wan_count = 1;
        r->wan_if_index = {7};
        r->wan_chan_count = {23};
        r->platform = 1;
    }
    // Instance of port p for a variable of the given instance type.
    std::pair<int, std::string> inst(int inst_type, int port_type, int port, int* ok) {
        put_var({50, "v", "1.3.6.1.4.1.32473.2", 3, 1, inst_type});
        int instance = -99;
        std::string text = "junk";
        *ok = cvt_port_inst(r.rec, 50, port_type, port, &instance, &text);
        return {instance, text};
    }
    RecordHolder r;
};

TEST_F(PortTest, KeywordsConvertBothWays) {
    const std::pair<int, const char*> table[] = {{0, "none"},     {1, "asy"},     {2, "syn"},
                                                 {3, "ptr"},      {4, "en"},      {5, "ds1inf"},
                                                 {6, "channels"}, {8, "ds0chan"}, {9, "ds1int"}};
    for (const auto& [code, word] : table) {
        std::string text;
        EXPECT_EQ(cvt_port_opt_str(code, &text), 1);
        EXPECT_EQ(text, word);
        int back = -1;
        EXPECT_EQ(cvt_port_str_opt(word, &back), 1);
        EXPECT_EQ(back, code);
    }
    for (int code : {7, 10, 11, -1}) {
        std::string text = "keep";
        CaptureStderr();
        EXPECT_EQ(cvt_port_opt_str(code, &text), 0);
        EXPECT_EQ(GetCapturedStderr(), INVALID);
        EXPECT_EQ(text, "keep");
    }
    int code = 5;
    EXPECT_EQ(cvt_port_str_opt("ASY", &code), 0);
    EXPECT_EQ(code, 0);
}

TEST_F(PortTest, NumberOfPortsByType) {
    const struct {
        int platform, wan_count, code, count;
    } table[] = {{1, 1, 1, 16}, {1, 1, 2, 2},  {1, 1, 3, 1},  {1, 1, 4, 1},
                 {1, 1, 5, 1},  {1, 1, 6, 0},  {1, 1, 8, 24}, {1, 1, 9, 96},
                 {1, 1, 10, 8}, {4, 1, 8, 23}, {5, 1, 8, 23}, {5, 0, 8, 0}};
    for (const auto& t : table) {
        r->platform = t.platform;
        r->wan_count = t.wan_count;
        EXPECT_EQ(get_num_ports(r.rec, t.code), t.count) << t.platform << " " << t.code;
    }
    for (int code : {0, 7, 11}) {
        CaptureStderr();
        EXPECT_EQ(get_num_ports(r.rec, code), 0);
        EXPECT_EQ(GetCapturedStderr(), INVALID) << code;
    }
}

TEST_F(PortTest, PortClassesAcceptTheirPortTypes) {
    const std::vector<std::vector<int>> accepts = {{0, 1, 2, 3, 4, 5, 6, 8, 9, 10},
                                                   {1},
                                                   {2},
                                                   {3},
                                                   {1, 2},
                                                   {1, 3},
                                                   {1, 2, 4},
                                                   {8},
                                                   {9},
                                                   {5},
                                                   {6}};
    for (int pc = 0; pc <= 10; ++pc) {
        put_var({60, "pv", "1.3.6.1.4.1.32473.3", 3, pc, 1});
        for (int code = 0; code <= 10; ++code) {
            bool want =
                std::find(accepts[pc].begin(), accepts[pc].end(), code) != accepts[pc].end();
            if (pc == 0)
                want = true;
            EXPECT_EQ(check_port_type(60, code), want ? 1 : 0) << pc << " " << code;
        }
    }
    put_var({60, "pv", "1.3.6.1.4.1.32473.3", 3, 11, 1});
    CaptureStderr();
    EXPECT_EQ(check_port_type(60, 1), 0);
    EXPECT_EQ(GetCapturedStderr(), INVALID);
    EXPECT_EQ(check_port_type(61, 1), 0); // no such entry
}

TEST_F(PortTest, InstanceTypesMapPorts) {
    const struct {
        int platform, inst_type, port_type, port, instance;
        const char* text;
        int ok;
    } table[] = {
        {1, 0, 1, 99, 0, "", 1},
        {1, 1, 1, 3, 3, "", 1},
        {1, 2, 2, 1, 17, "", 1}, // sync after async
        {1, 3, 1, 3, 4, "", 1},
        {1, 4, 2, 2, 19, "", 1},
        {1, 5, 1, 3, 3, "", 1},
        {1, 5, 3, 1, 17, "", 1},
        {1, 6, 1, 3, 4, "", 1},
        {1, 6, 2, 1, 18, "", 1},
        {1, 6, 4, 1, 1, "", 1},
        {1, 6, 3, 1, 0, "", 1},
        {1, 7, 8, 5, -1, "7.5", 1},
        {1, 8, 8, 24, -1, "7.24", 1},
        {1, 9, 9, 7, 7, "", 1},
        {1, 9, 9, 8, -99, "junk", 0}, // another interface than the device's own
        {5, 9, 9, 200, 200, "", 1},
    };
    for (const auto& t : table) {
        r->platform = t.platform;
        int ok = -1;
        std::pair<int, std::string> got = inst(t.inst_type, t.port_type, t.port, &ok);
        SCOPED_TRACE(testing::Message() << t.inst_type << " " << t.port_type << " " << t.port);
        EXPECT_EQ(ok, t.ok);
        if (t.ok) {
            EXPECT_EQ(got, std::make_pair(t.instance, std::string(t.text)));
        }
    }
    int ok = -1;
    CaptureStderr();
    inst(10, 1, 1, &ok);
    EXPECT_EQ(GetCapturedStderr(), INVALID);
    EXPECT_EQ(ok, 0);
}

TEST_F(PortTest, PortBeyondTheDeviceIsRefusedExceptScalarsAndInterfaces) {
    r->asy_ports = 4;
    for (int t = 0; t <= 9; ++t) {
        int ok = 0;
        int port = t == 9 ? 7 : 5;
        inst(t, 1, port, &ok);
        EXPECT_EQ(ok, (t == 0 || t == 9) ? 1 : 0) << "instance type " << t;
    }
}

std::vector<int> ports_of(const std::string& text, int* all = nullptr) {
    int a = -1, count = -1;
    std::vector<int> v = parse_port_list(text, &a, &count);
    EXPECT_EQ(count, static_cast<int>(v.size()));
    if (all)
        *all = a;
    return v;
}

TEST_F(PortTest, PortLists) {
    const struct {
        const char* text;
        std::vector<int> ports;
        int all;
    } table[] = {
        {"1-3,5", {1, 2, 3, 5}, 0},
        {"5,1-2,2", {5, 1, 2}, 0},
        {"3-1", {}, 0},
        {" a l l ", {}, 1},
        {"ALL", {}, 1},
        {"All3", {3}, 0},
        {"aLL", {}, 0},
        {"7-", {7}, 0},
        {"7-,9", {9}, 0},
        {"2,2,2", {2}, 0},
        {"-4", {4}, 0},
        {"0,1", {0, 1}, 0},
        {"1 - 3", {1, 2, 3}, 0},
        {"4x5", {5}, 0},
        {"4x,5", {5}, 0},
        {"3-5-7", {3, 4, 5, 7}, 0},
        {",,3,,", {3}, 0},
        {"", {}, 0},
        {"2-2", {2}, 0},
    };
    for (const auto& t : table) {
        int all = -1;
        EXPECT_EQ(ports_of(t.text, &all), t.ports) << '"' << t.text << '"';
        EXPECT_EQ(all, t.all) << '"' << t.text << '"';
    }
}

TEST_F(PortTest, PortListBoundsHugeInput) {
    std::vector<int> v = ports_of("1-999999999999");
    EXPECT_EQ(v.size(), static_cast<size_t>(MAX_PORT_LIST));
    EXPECT_EQ(v.back(), MAX_PORT_LIST);
    EXPECT_EQ(ports_of("99999999999999999999"), std::vector<int>{MAX_PORT_NUM});
    std::string many;
    for (int i = 0; i < 5000; ++i)
        many += std::to_string(i) + ",";
    EXPECT_EQ(ports_of(many).size(), static_cast<size_t>(MAX_PORT_LIST));
}

} // namespace
