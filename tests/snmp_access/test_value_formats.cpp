// Text checks and formats, instance extraction and the two file filters.
#include <sys/stat.h>
#include <unistd.h>

#include "snmp_access/port_inst.h"
#include "snmp_test_util.h"
#include "support/test_dirs.h"

namespace {

TEST(ValueFormats, IpAddressSyntax) {
    const std::pair<const char*, int> table[] = {
        {"1.2.3.4", 1},         {"10.0.0.255", 1}, {"0.0.0.0", 1},
        {"1.2.3", 0},           {"1.2.3.256", 0},  {"1.2.3.4.5", 0},
        {"255.255.255.255", 0}, {"1.2.3.a", 0},    {"1..2.3.4", 0},
        {" 1.2.3.4", 0},        {"1.2.3.-4", 0},   {"1.2.3.99999999999999999999", 0}};
    for (const auto& [text, ok] : table) {
        std::string t = text;
        EXPECT_EQ(check_ip_addr_fmt(&t), ok) << text;
    }
    std::string t = "1.2.3.4  \t";
    EXPECT_EQ(check_ip_addr_fmt(&t), 1);
    EXPECT_EQ(t, "1.2.3.4"); // trailing blanks go from the text itself
}

TEST(ValueFormats, IpFailureNamesTheField) {
    std::string bad = "1.2.3", good = "1.2.3.4 ";
    EXPECT_EQ(ip_addr_fmt_failure(&good, "Subnet Mask"), "");
    EXPECT_EQ(good, "1.2.3.4");
    EXPECT_EQ(ip_addr_fmt_failure(&bad, "Subnet Mask"), "Subnet Mask : Invalid IP Address Format");
}

TEST(ValueFormats, TimeSyntax) {
    for (const char* ok : {"23:59", "00:00", "+15", " 12:30 ", "+12:30", "+0"})
        EXPECT_EQ(check_time_fmt(ok), 1) << ok;
    for (const char* bad : {"24:00", "1:30", "+1a", "", "   ", "+", "12:3", "15", "12:60", "+23:60",
                            "ab:cd", "+ 5", "12:30x"})
        EXPECT_EQ(check_time_fmt(bad), 0) << bad;
}

TEST(ValueFormats, Timeticks) {
    const std::pair<unsigned long, const char*> table[] = {
        {8640000, "1 day, 0:00:00"},
        {99, "0:00:00"},
        {0, "0:00:00"},
        {2 * 8640000 + 360000 + 6100 + 199, "2 days, 1:01:02"},
        {4294967295ul, "497 days, 2:27:52"}};
    for (const auto& [ticks, text] : table)
        EXPECT_EQ(cvt_timeticks(ticks), text) << ticks;
}

TEST(ValueFormats, SmallTextHelpers) {
    EXPECT_EQ(check_str_digits("0123"), 1);
    EXPECT_EQ(check_str_digits(""), 0);
    EXPECT_EQ(check_str_digits("12 "), 0);
    EXPECT_EQ(check_str_digits("-1"), 0);
    EXPECT_EQ(atoin("12345", 3), 123);
    EXPECT_EQ(atoin("12345", 9), 12345);
    EXPECT_EQ(atoin("12345", 0), 0);
    std::string t = "  \tab c \n ";
    EXPECT_EQ(strip_blanks(&t), "ab c");
    EXPECT_EQ(t, "  \tab c");
    // Exchange sort: equal strings may change places.
    EXPECT_EQ(sort_strs({"b", "a", "C", "a", ""}), (std::vector<int>{4, 2, 3, 1, 0}));
    EXPECT_EQ(sort_strs({}), std::vector<int>{});
}

TEST(ValueFormats, PortInstanceFromIdentifierTail) {
    const std::pair<const char*, int> table[] = {
        {"1.5", 5}, {"3", 3},     {"3  ", 3},   {"x.5", 0},  {"", 0},
        {"0.5", 0}, {"2.a.7", 7}, {"2.0.7", 0}, {"2..7", 7}, {"1.3.6.1.4.1.32473", 32473}};
    for (const auto& [tail, port] : table)
        EXPECT_EQ(get_port_instance(tail), port) << tail;
}

class FileFilters : public testing::Test {
  protected:
    TempDir tmp;
    std::string path = tmp.file("mrx.cfg");
};

TEST_F(FileFilters, FilterRemovesListedBytesAndKeepsTheRest) {
    std::string content = "a\rb\x01"
                          "c\xff"
                          "d\r\n";
    write_file(path, content);
    chmod(path.c_str(), 0640);
    EXPECT_EQ(filter_file_chars(path, {'\r', 1, -1, 'd'}), 1);
    // 0xFF is data: what follows it is kept. 'd' stands after the end mark.
    EXPECT_EQ(read_file(path), "abc\xff"
                               "d\n");
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_NE(access((path + "tmp.cfg").c_str(), F_OK), 0);
    // Nothing to remove: 0 and the file unchanged.
    EXPECT_EQ(filter_file_chars(path, {'\r', -1}), 0);
    EXPECT_EQ(read_file(path), "abc\xff"
                               "d\n");
    EXPECT_EQ(filter_file_chars(tmp.file("missing"), {'a', -1}), 0);
}

TEST_F(FileFilters, WorkFileLinkIsNotFollowed) {
    write_file(path, "x\ry\n");
    std::string victim = tmp.file("victim");
    write_file(victim, "precious");
    ASSERT_EQ(symlink(victim.c_str(), (path + "tmp.cfg").c_str()), 0);
    EXPECT_EQ(filter_file_chars(path, {'\r', -1}), 1);
    EXPECT_EQ(read_file(victim), "precious");
    EXPECT_EQ(read_file(path), "xy\n");
}

TEST_F(FileFilters, CarriageReturnsBeforeLineEnds) {
    std::string longline(600, 'L');
    write_file(path, "%modem\n\nend\r\n" + longline + "\nlast");
    EXPECT_EQ(add_file_line_cr(path), 0);
    EXPECT_EQ(read_file(path), "%modem\r\n\r\nend\r\n" + longline + "\r\nlast");
    EXPECT_EQ(add_file_line_cr(tmp.file("missing")), -1);
}

} // namespace
