// Set value encoding by catalogue data type and the printed answer texts.
#include <cstring>

#include "snmp_access/snmp_engine.h"
#include "snmp_access/snmp_values.h"
#include "snmp_test_util.h"

namespace {

class SnmpValues : public testing::Test {
  protected:
    void SetUp() override {
        mm_snmp_init();
        pdu = snmp_pdu_create(SNMP_MSG_SET);
    }
    void TearDown() override { snmp_free_pdu(pdu); }
    // Encodes one value and returns the variable added (null when refused).
    netsnmp_variable_list* encode(int type, const std::string& text, int* rc) {
        netsnmp_variable_list* before = pdu->variables;
        int n = 0;
        for (netsnmp_variable_list* v = before; v; v = v->next_variable)
            ++n;
        *rc = add_set_var(pdu, name, 3, type, text);
        netsnmp_variable_list* v = pdu->variables;
        for (int i = 0; i < n && v; ++i)
            v = v->next_variable;
        return v;
    }
    netsnmp_variable_list* value_of(u_char type, const void* data, size_t len) {
        snmp_pdu_add_variable(pdu, name, 3, type, data, len);
        netsnmp_variable_list* v = pdu->variables;
        while (v->next_variable)
            v = v->next_variable;
        return v;
    }
    netsnmp_pdu* pdu = nullptr;
    const oid name[3] = {1, 3, 6};
};

TEST_F(SnmpValues, AtoiLikeNumbers) {
    const std::pair<const char*, long> table[] = {{"  -42abc", -42},
                                                  {"+7", 7},
                                                  {"abc", 0},
                                                  {"", 0},
                                                  {"- 5", 0},
                                                  {"\t\n12 34", 12},
                                                  {"2147483647", 2147483647L},
                                                  {"4294967295", -1}}; // the low 32 bits
    for (const auto& [text, value] : table)
        EXPECT_EQ(mm_atol(text), value) << text;
}

TEST_F(SnmpValues, DottedIdentifiers) {
    oid out[64];
    size_t len = 0;
    EXPECT_EQ(parse_dotted_oid("1.3.6.1.4.1.32473", out, 64, &len), 1);
    EXPECT_EQ(len, 7u);
    EXPECT_EQ(out[6], 32473u);
    EXPECT_EQ(parse_dotted_oid(".1.3", out, 64, &len), 1);
    EXPECT_EQ(len, 2u);
    for (const char* bad : {"", ".", "1..3", "1.3.", "1.a", "1.4294967296", "-1.3"})
        EXPECT_EQ(parse_dotted_oid(bad, out, 64, &len), 0) << bad;
    std::string longest = "1";
    for (int i = 1; i < 64; ++i)
        longest += ".2";
    EXPECT_EQ(parse_dotted_oid(longest, out, 64, &len), 1);
    EXPECT_EQ(len, 64u);
    EXPECT_EQ(parse_dotted_oid(longest + ".3", out, 64, &len), 0);
}

// The engine reads request identifiers itself before asking the library:
// whatever it accepts must read exactly as the library reads it.
TEST_F(SnmpValues, DottedIdentifiersReadAsTheLibraryReadsThem) {
    std::string longest = "1";
    for (int i = 1; i < 64; ++i)
        longest += ".2";
    for (const std::string& text :
         {std::string("1.3.6.1.4.1.32473.1.3.10.0"), std::string(".1.3.6.1.2.1.1.2.0"),
          std::string("0.0"), std::string("1.3.6.1.2.1.2.2.1.6.1"),
          std::string("1.3.007.4294967295"), longest}) {
        oid own[64], lib[64];
        size_t own_len = 0, lib_len = 64;
        ASSERT_EQ(parse_dotted_oid(text, own, 64, &own_len), 1) << text;
        ASSERT_NE(read_objid(text.c_str(), lib, &lib_len), 0) << text;
        EXPECT_EQ(snmp_oid_compare(own, own_len, lib, lib_len), 0) << text;
    }
}

TEST_F(SnmpValues, SetValuesEncodedByDataType) {
    int rc = -9;
    netsnmp_variable_list* v = encode(1, "1.3.6.1.2", &rc);
    ASSERT_EQ(rc, 0);
    EXPECT_EQ(v->type, ASN_OBJECT_ID);
    EXPECT_EQ(v->val_len, 5 * sizeof(oid));
    EXPECT_EQ(v->val.objid[4], 2u);

    v = encode(2, std::string("a\0b", 3), &rc);
    EXPECT_EQ(v->type, ASN_OCTET_STR);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(v->val.string), v->val_len),
              std::string("a\0b", 3));
    v = encode(2, "", &rc);
    EXPECT_EQ(v->type, ASN_OCTET_STR);
    EXPECT_EQ(v->val_len, 0u);

    v = encode(3, "  -12 ", &rc);
    EXPECT_EQ(v->type, ASN_INTEGER);
    EXPECT_EQ(*v->val.integer, -12);

    v = encode(5, "10.1.300", &rc);
    EXPECT_EQ(v->type, ASN_IPADDRESS);
    ASSERT_EQ(v->val_len, 4u);
    EXPECT_EQ(std::memcmp(v->val.string, "\x0a\x01\x2c\x00", 4), 0); // 300 keeps its low byte

    const u_char tags[] = {ASN_COUNTER, ASN_GAUGE, ASN_TIMETICKS};
    for (int t = 6; t <= 8; ++t) {
        v = encode(t, "4294967295", &rc);
        EXPECT_EQ(v->type, tags[t - 6]);
        EXPECT_EQ(static_cast<unsigned long>(*v->val.integer), 4294967295ul);
    }
    v = encode(0, "ignored", &rc);
    EXPECT_EQ(v->type, ASN_NULL);
    v = encode(42, "ignored", &rc);
    EXPECT_EQ(v->type, ASN_NULL);
}

// A number outside its type's range, or not a whole number, is refused
// by the check and by the encoder alike: nothing wraps into another value.
TEST_F(SnmpValues, UnencodableValuesAddNothing) {
    struct Case {
        int type;
        const char* text;
        int check; // check_set_number
    };
    const Case cases[] = {
        {4, "1.2.3.4", NC_OK},
        {1, "1.3.x", NC_OK},
        {3, "4294967297", NC_OUT_OF_RANGE},
        {3, "2147483648", NC_OUT_OF_RANGE},
        {3, "-2147483649", NC_OUT_OF_RANGE},
        {3, "99999999999999999999999", NC_OUT_OF_RANGE},
        {3, "-12x", NC_NOT_NUMBER},
        {3, "", NC_NOT_NUMBER},
        {3, "- 5", NC_NOT_NUMBER},
        {6, "4294967296", NC_OUT_OF_RANGE},
        {7, "-1", NC_OUT_OF_RANGE},
        {8, "99999999999999", NC_OUT_OF_RANGE},
    };
    for (const Case& c : cases) {
        int rc = 0;
        EXPECT_EQ(check_set_number(c.type, c.text), c.check) << c.text;
        EXPECT_EQ(encode(c.type, c.text, &rc), nullptr) << c.text;
        EXPECT_EQ(rc, -1) << c.text;
    }
    EXPECT_EQ(pdu->variables, nullptr);
    for (const char* edge : {"-2147483648", "2147483647", " +0 "})
        EXPECT_EQ(check_set_number(3, edge), NC_OK) << edge;
    EXPECT_EQ(check_set_number(7, "4294967295"), NC_OK);
}

TEST_F(SnmpValues, AnswerTextsByType) {
    long i = -5;
    EXPECT_EQ(sprint_by_type(value_of(ASN_INTEGER, &i, sizeof i)), "-5");
    u_long big = 4000000000ul;
    EXPECT_EQ(sprint_by_type(value_of(ASN_COUNTER, &big, sizeof big)), "4000000000");
    EXPECT_EQ(sprint_by_type(value_of(ASN_GAUGE, &big, sizeof big)), "4000000000");
    EXPECT_EQ(sprint_by_type(value_of(ASN_TIMETICKS, &big, sizeof big)), "4000000000");
    u_long ticks = 8640000;
    EXPECT_EQ(sprint_by_type(value_of(ASN_TIMETICKS, &ticks, sizeof ticks)), "8640000");
    EXPECT_EQ(sprint_by_type(value_of(ASN_IPADDRESS, "\x0a\x00\xff\x01", 4)), "10.0.255.1");
    oid o[] = {1, 3, 6, 1, 4294967295u};
    EXPECT_EQ(sprint_by_type(value_of(ASN_OBJECT_ID, o, sizeof o)), "1.3.6.1.4294967295");
    EXPECT_EQ(sprint_by_type(value_of(ASN_NULL, nullptr, 0)), "NULL");
    EXPECT_EQ(sprint_by_type(value_of(SNMP_NOSUCHOBJECT, nullptr, 0)), "Variable has bad type");
    counter64 c64{0, 1};
    EXPECT_EQ(sprint_by_type(value_of(ASN_COUNTER64, &c64, sizeof c64)), "Variable has bad type");
}

TEST_F(SnmpValues, OctetStringsPrintedAsTextOrHex) {
    auto str = [&](const std::string& s) {
        return sprint_by_type(value_of(ASN_OCTET_STR, s.data(), s.size()));
    };
    EXPECT_EQ(str("Morix box"), "Morix box");
    EXPECT_EQ(str("a\tb\r\nc"), "a.b..c");
    EXPECT_EQ(str(""), "");
    EXPECT_EQ(str(std::string("\x00\x01\xab", 3)), "0001AB");
    std::string bytes;
    for (int k = 0; k < 18; ++k)
        bytes += static_cast<char>(k);
    EXPECT_EQ(str(bytes), "0001020304050607 08090A0B0C0D0E0F\n1011");
    EXPECT_EQ(str(bytes.substr(0, 16)), "0001020304050607 08090A0B0C0D0E0F\n");
    EXPECT_EQ(str("abc\x80"), "61626380");
    EXPECT_EQ(sprint_by_type(value_of(ASN_OPAQUE, "AB", 2)), "4142");
}

TEST_F(SnmpValues, ShortIpAddressDoesNotReadPastTheValue) {
    EXPECT_EQ(sprint_by_type(value_of(ASN_IPADDRESS, "\x0a\x01", 2)), "10.1.0.0");
}

} // namespace
